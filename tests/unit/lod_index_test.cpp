// The level-of-detail index of the fast line: its blocks against the values
// they summarise while values are appended, edited, inserted, removed and
// dropped from the front, and the strokes drawn with it against those of
// visiting every point (a kind derived from the fast line keeps that visit)
// for nulls under each TreatNulls, values that are not finite, clamped
// pixels, inverted axes, one pixel column, empty ranges and data changed
// between paints.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <memory>
#include <random>
#include <string>
#include <vector>

#include "axes/chart_axis.h"
#include "canvas/canvas3d.h"
#include "panel/chart.h"
#include "platform/recording_canvas.h"
#include "series/fast_line_series.h"
#include "series/lod_index.h"

namespace sextant::testing {
namespace {

const double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kInf = std::numeric_limits<double>::infinity();

// ---- The index against the values ------------------------------------------

// What a walk over From..To reports: the smallest and largest finite value,
// whether a value that is not finite or a null lies in the range, and how
// many values were read one by one.
struct TSummary {
  double Lo = HUGE_VAL;
  double Hi = -HUGE_VAL;
  bool NonFinite = false;
  bool Null = false;
  int PointsRead = 0;
};

TSummary WalkSummary(const TLodIndex& Index, const std::vector<double>& Values,
                     const std::vector<TColor>& Colors, int From, int To) {
  TSummary s;
  auto point = [&](int i) {
    const double v = Values[static_cast<std::size_t>(i)];
    if (std::isfinite(v)) {
      s.Lo = std::min(s.Lo, v);
      s.Hi = std::max(s.Hi, v);
    } else {
      s.NonFinite = true;
    }
    if (i < static_cast<int>(Colors.size()) && Colors[static_cast<std::size_t>(i)] == clNone) s.Null = true;
    ++s.PointsRead;
    return true;
  };
  Index.Walk(
      From, To,
      [&](const TLodNode& Node, std::uint8_t Flags) {
        s.Lo = std::min(s.Lo, Node.Lo);
        s.Hi = std::max(s.Hi, Node.Hi);
        s.NonFinite |= (Flags & lodNonFinite) != 0;
        s.Null |= (Flags & lodNull) != 0;
        return TLodStep::Take;
      },
      point);
  return s;
}

TSummary Direct(const std::vector<double>& Values, const std::vector<TColor>& Colors, int From, int To) {
  TSummary s;
  for (int i = From; i <= To; ++i) {
    const double v = Values[static_cast<std::size_t>(i)];
    if (std::isfinite(v)) {
      s.Lo = std::min(s.Lo, v);
      s.Hi = std::max(s.Hi, v);
    } else {
      s.NonFinite = true;
    }
    if (i < static_cast<int>(Colors.size()) && Colors[static_cast<std::size_t>(i)] == clNone) s.Null = true;
  }
  return s;
}

// A list of values with the journal a value list keeps, and its index.
struct TIndexedValues {
  std::vector<double> Values;
  std::vector<TColor> Colors;
  TValueChanges Changes;
  TLodIndex Index;

  void Sync() {
    Index.Sync(Values.data(), static_cast<int>(Values.size()), Colors.empty() ? nullptr : Colors.data(),
               static_cast<int>(Colors.size()), Changes);
  }
  void Append(double V) { Values.push_back(V); }
  void Edit(int I, double V) {
    Values[static_cast<std::size_t>(I)] = V;
    Changes.Edited(I);
  }
  void Insert(int I, double V) {
    Values.insert(Values.begin() + I, V);
    if (!Colors.empty() && I < static_cast<int>(Colors.size())) Colors.insert(Colors.begin() + I, clKelColor);
    Changes.Moved(I);
  }
  void Erase(int I, int N) {
    Values.erase(Values.begin() + I, Values.begin() + I + N);
    if (I < static_cast<int>(Colors.size()))
      Colors.erase(Colors.begin() + I, Colors.begin() + std::min<int>(I + N, static_cast<int>(Colors.size())));
    Changes.Moved(I);
  }
  void DropFront(int N) {
    Values.erase(Values.begin(), Values.begin() + N);
    Colors.erase(Colors.begin(), Colors.begin() + std::min<int>(N, static_cast<int>(Colors.size())));
    Changes.DroppedFront(N);
  }
  void SetNull(int I, bool Null) {
    if (Colors.size() <= static_cast<std::size_t>(I)) Colors.resize(static_cast<std::size_t>(I) + 1, clKelColor);
    Colors[static_cast<std::size_t>(I)] = Null ? clNone : clKelColor;
    Changes.Edited(I);
  }
};

// A walk that splits every block hands the range over as spans of the
// lowest level, in order and without gaps; a span lies within one block (at
// most 64 values) and carries every flag its own values call for, so that a
// span without flags can be read without looking at each value.
void ExpectSpansCover(const TIndexedValues& D, int From, int To, const std::string& Where) {
  int next = From;
  int spans = 0;
  bool ordered = true;
  bool flagsHold = true;
  D.Index.WalkSpans(
      From, To, [](const TLodNode&, std::uint8_t) { return TLodStep::Split; },
      [&](int First, int Last, std::uint8_t Flags) {
        ordered &= First == next && Last >= First && Last - First < 64;
        next = Last + 1;
        ++spans;
        for (int i = First; i <= Last; ++i) {
          const auto at = static_cast<std::size_t>(i);
          if (!std::isfinite(D.Values[at])) flagsHold &= (Flags & lodNonFinite) != 0;
          if (at < D.Colors.size() && D.Colors[at] == clNone) flagsHold &= (Flags & lodNull) != 0;
        }
        return true;
      });
  EXPECT_TRUE(ordered) << Where;
  EXPECT_EQ(next, To + 1) << Where;
  EXPECT_LE(spans, (To - From) / 64 + 2) << Where;
  EXPECT_TRUE(flagsHold) << Where;
}

// Every range of a few random ones reports what the values hold, reading
// at most the values of two partial blocks per level one by one, in order
// as spans and unordered.
void ExpectIndexMatches(const TIndexedValues& D, std::mt19937& Rng, const std::string& Step) {
  const int n = static_cast<int>(D.Values.size());
  ASSERT_EQ(D.Index.Count(), n) << Step;
  if (n == 0) return;
  std::uniform_int_distribution<int> pick(0, n - 1);
  std::vector<std::pair<int, int>> ranges = {{0, n - 1}, {n - 1, n - 1}, {0, 0}};
  for (int k = 0; k < 40; ++k) {
    int a = pick(Rng), b = pick(Rng);
    if (a > b) std::swap(a, b);
    ranges.push_back({a, b});
  }
  const bool anyNonFinite =
      std::any_of(D.Values.begin(), D.Values.end(), [](double V) { return !std::isfinite(V); });
  for (auto [a, b] : ranges) {
    const TSummary got = WalkSummary(D.Index, D.Values, D.Colors, a, b);
    const TSummary want = Direct(D.Values, D.Colors, a, b);
    const std::string where = Step + " range " + std::to_string(a) + ".." + std::to_string(b);
    EXPECT_EQ(got.Lo, want.Lo) << where;
    EXPECT_EQ(got.Hi, want.Hi) << where;
    EXPECT_EQ(got.NonFinite, want.NonFinite) << where;
    EXPECT_EQ(got.Null, want.Null) << where;
    EXPECT_LE(got.PointsRead, 2 * 64) << where;
    ExpectSpansCover(D, a, b, where);
    // The unordered form: the same extremes, or a refusal where a block it
    // reads holds a value that is not finite (nulls do not count here).
    double lo = HUGE_VAL, hi = -HUGE_VAL;
    if (D.Index.RangeMinMax(D.Values.data(), a, b, lodNonFinite, lo, hi)) {
      EXPECT_FALSE(want.NonFinite) << where;
      EXPECT_EQ(lo, want.Lo) << where;
      EXPECT_EQ(hi, want.Hi) << where;
    } else {
      EXPECT_TRUE(anyNonFinite) << where;  // refused with nothing to refuse
    }
    lo = HUGE_VAL, hi = -HUGE_VAL;
    if (D.Index.RangeMinMax(D.Values.data(), a, b, lodNonFinite | lodNull, lo, hi)) {
      EXPECT_FALSE(want.NonFinite || want.Null) << where;
      EXPECT_EQ(lo, want.Lo) << where;
    }
  }
}

TEST(LodIndex, BlocksFollowEveryKindOfChange) {
  std::mt19937 rng(77);
  std::uniform_real_distribution<double> value(-1000, 1000);
  TIndexedValues d;
  d.Sync();
  EXPECT_EQ(d.Index.Count(), 0);

  const std::vector<std::pair<std::string, std::function<void()>>> steps = {
      {"first load", [&] { for (int i = 0; i < 70000; ++i) d.Append(value(rng)); }},
      {"append a few", [&] { for (int i = 0; i < 5; ++i) d.Append(value(rng)); }},
      {"append past a top block", [&] { for (int i = 0; i < 300000; ++i) d.Append(value(rng)); }},
      {"edit a new extreme", [&] { d.Edit(12345, 1e6); }},
      {"edit it back down", [&] { d.Edit(12345, 0.5); }},
      {"edit far apart", [&] { d.Edit(3, -5e5); d.Edit(360000, 7e5); }},
      {"not finite", [&] { d.Edit(100, kNaN); d.Edit(200000, kInf); d.Edit(200001, -kInf); }},
      {"insert in the middle", [&] { d.Insert(5000, 2e6); }},
      {"erase in the middle", [&] { d.Erase(4000, 3000); }},
      {"nulls", [&] { d.SetNull(17, true); d.SetNull(250000, true); }},
      {"null off", [&] { d.SetNull(17, false); }},
      {"drop part of a block", [&] { d.DropFront(10); }},
      {"drop many blocks", [&] { d.DropFront(100000); }},
      {"append after dropping", [&] { for (int i = 0; i < 1000; ++i) d.Append(value(rng)); }},
      {"drop and append unseen", [&] { for (int i = 0; i < 200; ++i) d.Append(value(rng)); d.DropFront(150); }},
      {"shrink to a few", [&] { d.Erase(20, static_cast<int>(d.Values.size()) - 20); }},
      {"drop everything", [&] { d.DropFront(static_cast<int>(d.Values.size())); }},
      {"load again", [&] { for (int i = 0; i < 1000; ++i) d.Append(i % 7 == 0 ? kNaN : value(rng)); }},
      {"clear", [&] { d.Erase(0, static_cast<int>(d.Values.size())); }},
  };
  for (const auto& [name, step] : steps) {
    step();
    d.Sync();
    ExpectIndexMatches(d, rng, name);
    EXPECT_FALSE(d.Changes.Any()) << name;
  }
}

// The smallest and largest value of a span, taken four at a time, against
// a loop over the values: every length around the step and offsets that
// leave the values unaligned, starting from extremes already given.
TEST(LodIndex, SpanMinMaxIsThatOfEveryValue) {
  std::mt19937 rng(5);
  std::uniform_real_distribution<double> value(-1e3, 1e3);
  std::vector<double> values(200);
  for (double& v : values) v = value(rng);
  values[37] = -0.0;
  values[38] = 0.0;
  const struct {
    double lo, hi;
  } starts[] = {{HUGE_VAL, -HUGE_VAL}, {-5e3, 5e3}, {0, 0}};
  for (const auto& start : starts)
    for (int first = 0; first < 5; ++first)
      for (int length = 1; length <= 70; ++length) {
        const int last = first + length - 1;
        double lo = start.lo, hi = start.hi;
        TLodIndex::SpanMinMax(values.data(), first, last, lo, hi);
        double wantLo = start.lo, wantHi = start.hi;
        for (int i = first; i <= last; ++i) {
          wantLo = std::min(wantLo, values[static_cast<std::size_t>(i)]);
          wantHi = std::max(wantHi, values[static_cast<std::size_t>(i)]);
        }
        EXPECT_EQ(lo, wantLo) << first << ".." << last << " from " << start.lo;
        EXPECT_EQ(hi, wantHi) << first << ".." << last << " from " << start.hi;
      }
}

TEST(LodIndex, MemoryIsAFewPercentOfThePoints) {
  TIndexedValues d;
  const int n = 1000000;
  for (int i = 0; i < n; ++i) d.Append(std::sin(i * 0.001));
  d.Sync();
  const double pointBytes = 2.0 * sizeof(double) * n;  // X and Y
  EXPECT_GT(d.Index.MemoryBytes(), 0u);
  EXPECT_LT(d.Index.MemoryBytes(), 0.05 * pointBytes);
}

// ---- Strokes against visiting every point ----------------------------------

// Derived kinds keep the visit of every point: the reference.
class TPerPointLine : public TFastLineSeries {};

enum TData {
  dWalk,      // random walk, many points per column
  dNulls,     // walk with 5 % null points, some in runs
  dNonFinite, // walk with NaN and infinities
  dLevels,    // four Y levels: extremes often on the pen's own pixel
  dFlat,      // one value: every point on one pixel
  dAllNull    // every point null
};

enum TAxes {
  aPlain,
  aInvertedY,
  aInvertedX,
  aClamped,     // vertical axis far narrower than the data
  aPaged,       // bottom axis on a middle part
  aOneColumn,   // bottom axis so wide that the data fill one pixel column
  aEmpty        // bottom axis beyond the data: nothing visible
};

struct TStrokeCase {
  std::string Name;
  TData Data;
  TAxes Axes;
  TDrawAllPointsStyle Style;
  TTreatNullsStyle Nulls;
  bool Stairs = false;
};

void Fill(TFastLineSeries& S, TData Data, int Count, unsigned Seed) {
  std::mt19937 rng(Seed);
  std::uniform_real_distribution<double> step(-1, 1);
  std::uniform_int_distribution<int> pct(0, 99);
  double y = 50;
  S.BeginUpdate();
  bool nullRun = false;
  for (int i = 0; i < Count; ++i) {
    y += step(rng);
    double v = y;
    TColor color = clKelColor;
    const int r = pct(rng);
    switch (Data) {
      case dWalk: break;
      case dNulls:
        if (r < 2) nullRun = !nullRun;
        if (nullRun || r > 96) color = clNone;
        break;
      case dNonFinite: {
        const double specials[] = {kNaN, kInf, -kInf};
        if (r < 3) v = specials[r];
        break;
      }
      case dLevels: v = r % 4; break;
      case dFlat: v = 7; break;
      case dAllNull: color = clNone; break;
    }
    S.AddXY(i, v, "", color);
  }
  S.EndUpdate();
}

struct TPaint {
  std::vector<TRecordKind> Kinds;
  std::vector<std::pair<TPointF, TPointF>> Lines;
  int OldX = 0;
  int OldY = 0;
  bool Searched = false;
};

// Two charts showing the same data, one drawn by the fast line, the other
// by the reference kind.
class TTwin {
 public:
  TTwin() {
    for (int k = 0; k < 2; ++k) {
      Charts[k] = std::make_unique<TChart>();
      Charts[k]->SetBounds(0, 0, 300, 200);
      Charts[k]->SetView3D(false);
      Series[k] = k == 0 ? new TFastLineSeries() : new TPerPointLine();
      Charts[k]->AddSeries(Series[k]);
    }
  }
  ~TTwin() { ICanvasState.reset(); }
  TFastLineSeries& Fast() { return *Series[0]; }
  void Both(const std::function<void(TFastLineSeries&, TChart&)>& Change) {
    for (int k = 0; k < 2; ++k) Change(*Series[k], *Charts[k]);
  }
  TPaint Paint(int K) {
    ICanvasState.reset();
    TRecordingCanvas rec;
    Charts[K]->Draw(&rec, {0, 0, Charts[K]->Width(), Charts[K]->Height()});
    TPaint p;
    p.Kinds = rec.Kinds();
    p.Lines = rec.Lines();
    p.OldX = Series[K]->OldX;
    p.OldY = Series[K]->OldY;
    p.Searched = Series[K]->SearchedColumns();
    ICanvasState.reset();
    return p;
  }
  // Paints both and requires the same strokes; returns the strokes drawn.
  std::size_t ExpectSame(const std::string& Step, bool Searched = true) {
    const TPaint fast = Paint(0);
    const TPaint ref = Paint(1);
    EXPECT_FALSE(ref.Searched) << Step;
    EXPECT_EQ(fast.Searched, Searched) << Step;
    EXPECT_EQ(fast.Kinds, ref.Kinds) << Step;
    EXPECT_EQ(fast.Lines.size(), ref.Lines.size()) << Step;
    const std::size_t n = std::min(fast.Lines.size(), ref.Lines.size());
    for (std::size_t i = 0; i < n; ++i) {
      if (!(fast.Lines[i] == ref.Lines[i])) {
        ADD_FAILURE() << Step << ": line " << i << " (" << fast.Lines[i].first.X << ","
                      << fast.Lines[i].first.Y << ")-(" << fast.Lines[i].second.X << ","
                      << fast.Lines[i].second.Y << ") instead of (" << ref.Lines[i].first.X << ","
                      << ref.Lines[i].first.Y << ")-(" << ref.Lines[i].second.X << ","
                      << ref.Lines[i].second.Y << ")";
        break;
      }
    }
    EXPECT_EQ(fast.OldX, ref.OldX) << Step;
    EXPECT_EQ(fast.OldY, ref.OldY) << Step;
    return ref.Lines.size();
  }

 private:
  std::unique_ptr<TChart> Charts[2];
  TFastLineSeries* Series[2] = {nullptr, nullptr};
};

void Configure(TFastLineSeries& S, TChart& C, const TStrokeCase& K, int Count) {
  S.SetDrawAllPoints(false);
  S.SetDrawAllPointsStyle(K.Style);
  S.SetTreatNulls(K.Nulls);
  S.SetStairs(K.Stairs);
  C.LeftAxis()->SetInverted(K.Axes == aInvertedY);
  C.BottomAxis()->SetInverted(K.Axes == aInvertedX);
  if (K.Axes == aClamped) C.LeftAxis()->SetMinMax(49.5, 50.5);
  if (K.Axes == aPaged) C.BottomAxis()->SetMinMax(Count * 0.3 + 0.25, Count * 0.7 + 0.5);
  if (K.Axes == aOneColumn) C.BottomAxis()->SetMinMax(-1e9, 1e9);
  if (K.Axes == aEmpty) C.BottomAxis()->SetMinMax(Count * 2.0, Count * 3.0);
}

class LodStrokes : public ::testing::TestWithParam<TStrokeCase> {};

TEST_P(LodStrokes, SameAsVisitingEveryPoint) {
  const TStrokeCase& k = GetParam();
  const int count = 20000;
  TTwin twin;
  twin.Both([&](TFastLineSeries& S, TChart& C) {
    Fill(S, k.Data, count, 900 + static_cast<unsigned>(k.Data));
    Configure(S, C, k, count);
  });
  // An empty range draws nothing of the series.
  twin.ExpectSame(k.Name, k.Axes != aEmpty);
  if (k.Axes == aEmpty)
    EXPECT_EQ(twin.Fast().FirstValueIndex(), -1);
  else
    EXPECT_GE(twin.Fast().FirstValueIndex(), 0);
}

std::vector<TStrokeCase> StrokeCases() {
  std::vector<TStrokeCase> cases;
  const std::pair<const char*, TData> data[] = {{"walk", dWalk},     {"nulls", dNulls},
                                                {"nonFinite", dNonFinite}, {"levels", dLevels},
                                                {"flat", dFlat},     {"allNull", dAllNull}};
  const std::pair<const char*, TAxes> axes[] = {{"plain", aPlain},       {"invertedY", aInvertedY},
                                                {"invertedX", aInvertedX}, {"clamped", aClamped},
                                                {"paged", aPaged},       {"oneColumn", aOneColumn},
                                                {"empty", aEmpty}};
  const std::pair<const char*, TTreatNullsStyle> nulls[] = {
      {"dontPaint", tnDontPaint}, {"skip", tnSkip}, {"ignore", tnIgnore}};
  for (const auto& [dn, d] : data)
    for (const auto& [an, a] : axes)
      for (TDrawAllPointsStyle style : {daFirst, daMinMax})
        for (const auto& [nn, n] : nulls) {
          const bool hasNulls = d == dNulls || d == dAllNull;
          if (!hasNulls && n != tnIgnore) continue;  // nulls change nothing there
          const std::string name = std::string(dn) + "_" + an + (style == daFirst ? "_daFirst_" : "_daMinMax_") + nn;
          cases.push_back({name, d, a, style, n});
          if (a == aPlain) cases.push_back({name + "_stairs", d, a, style, n, true});
        }
  return cases;
}

INSTANTIATE_TEST_SUITE_P(Data, LodStrokes, ::testing::ValuesIn(StrokeCases()),
                         [](const ::testing::TestParamInfo<TStrokeCase>& info) { return info.param.Name; });

// Changes between paints: each leaves the index with stale blocks unless it
// invalidates them, so every paint is compared again.
TEST(LodStrokesAfterChanges, EveryChangeIsSeenByTheNextPaint) {
  for (TDrawAllPointsStyle style : {daFirst, daMinMax}) {
    SCOPED_TRACE(style == daFirst ? "daFirst" : "daMinMax");
    TTwin twin;
    const TStrokeCase k{"changes", dNulls, aPlain, style, tnDontPaint};
    twin.Both([&](TFastLineSeries& S, TChart& C) {
      Fill(S, dNulls, 30000, 5);
      Configure(S, C, k, 30000);
    });
    twin.ExpectSame("first paint");
    EXPECT_GT(twin.Fast().LodMemoryBytes(), 0u);
    const std::vector<std::pair<std::string, std::function<void(TFastLineSeries&)>>> steps = {
        {"append in order", [](TFastLineSeries& S) { for (int i = 0; i < 500; ++i) S.AddXY(30000 + i, 50 + i % 9); }},
        {"new extreme in place", [](TFastLineSeries& S) { S.YValues()->SetValue(15000, 500); }},
        {"extreme removed in place", [](TFastLineSeries& S) { S.YValues()->SetValue(15000, 50); }},
        {"insert inside", [](TFastLineSeries& S) { S.AddXY(12000.5, -300); }},
        {"delete one", [](TFastLineSeries& S) { S.Delete(20000); }},
        {"delete a range", [](TFastLineSeries& S) { S.Delete(1000, 2500); }},
        // Among the points appended in order, which hold no null yet: a
        // spike that the nulls then hide.
        {"spike", [](TFastLineSeries& S) { for (int i = S.Count() - 300; i < S.Count() - 200; ++i) S.YValues()->SetValue(i, 120); }},
        {"null set", [](TFastLineSeries& S) { for (int i = S.Count() - 300; i < S.Count() - 200; ++i) S.SetNull(i); }},
        {"null cleared", [](TFastLineSeries& S) { for (int i = S.Count() - 300; i < S.Count() - 250; ++i) S.SetNull(i, false); }},
        {"not finite in place", [](TFastLineSeries& S) { S.YValues()->SetValue(9000, kNaN); S.YValues()->SetValue(9500, kInf); }},
        {"exchange two Y values", [](TFastLineSeries& S) { S.YValues()->Exchange(100, 25000); }},
        {"colour each point", [](TFastLineSeries& S) { S.SetColorEachPoint(true); }},
        {"colour each point off", [](TFastLineSeries& S) { S.SetColorEachPoint(false); }},
        {"clear and load again", [](TFastLineSeries& S) { S.Clear(); Fill(S, dWalk, 25000, 9); }},
        {"append after clear", [](TFastLineSeries& S) { for (int i = 0; i < 64; ++i) S.AddXY(25000 + i, -i); }},
    };
    for (const auto& [name, step] : steps) {
      twin.Both([&](TFastLineSeries& S, TChart&) { step(S); });
      // Each point's own colour with ColorEachPoint may be the palette's:
      // those paints visit every point.
      twin.ExpectSame(name, name != "colour each point");
    }
  }
}

// The index is built on the first paint that needs it.
TEST(LodIndexLifetime, BuiltOnlyWhenDrawingReduced) {
  TTwin twin;
  twin.Both([](TFastLineSeries& S, TChart&) { Fill(S, dWalk, 5000, 3); });
  twin.Paint(0);
  EXPECT_EQ(twin.Fast().LodMemoryBytes(), 0u);
  twin.Both([](TFastLineSeries& S, TChart&) { S.SetDrawAllPoints(false); });
  twin.Paint(0);
  EXPECT_GT(twin.Fast().LodMemoryBytes(), 0u);
}

}  // namespace
}  // namespace sextant::testing

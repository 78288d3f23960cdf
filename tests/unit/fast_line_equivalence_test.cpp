// With DrawAllPoints off the fast line finds its pixel columns by searching
// the ordered X list instead of converting every point. These tests paint
// the same data twice, once with the search and once through a kind derived
// from the fast line (which visits every point with DrawValue), and require
// the same canvas operations, the same strokes and the same final pen.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "axes/chart_axis.h"
#include "canvas/canvas3d.h"
#include "panel/chart.h"
#include "platform/recording_canvas.h"
#include "series/fast_line_series.h"

namespace sextant::testing {
namespace {

// Derived kinds keep the visit of every point: the reference.
class TPerPointLine : public TFastLineSeries {};

enum TData {
  dWalk,        // random walk, many points per column
  dWalkNaN,     // random walk with 5 % NaN values
  dLevels,      // four Y levels: extremes often on the pen's own pixel
  dExtremes,    // walk with huge, infinite and NaN values (clamped pixels)
  dXNaN,        // NaN among the X values: no search possible
  dXRepeats,    // every X three times
  dSparse       // fewer points than pixel columns
};

struct TCase {
  std::string Name;
  TData Data;
  int Count;
  TDrawAllPointsStyle Style;
  bool Stairs = false;
  bool InvertedY = false;
  bool FastPen = false;
  bool NarrowY = false;  // vertical axis far narrower than the data: clamping
  bool Paged = false;    // bottom axis on a middle part: the range starts later
  bool InvertedX = false;
};

void Fill(TFastLineSeries& Series, TData Data, int Count) {
  std::mt19937 rng(1234 + static_cast<unsigned>(Data) * 77 + static_cast<unsigned>(Count));
  std::uniform_real_distribution<double> step(-1, 1);
  std::uniform_int_distribution<int> pct(0, 99);
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  double y = 50;
  Series.BeginUpdate();
  for (int i = 0; i < Count; ++i) {
    double x = i;
    y += step(rng);
    double v = y;
    const int r = pct(rng);
    switch (Data) {
      case dWalk:
      case dSparse: break;
      case dWalkNaN: v = r < 5 ? nan : y; break;
      case dLevels: v = r % 4; break;
      case dExtremes: {
        const double specials[] = {1e300, -1e300, inf, -inf, nan, 1e9, -1e9};
        if (r < 7) v = specials[r];
        break;
      }
      case dXNaN:
        if (r < 2) x = nan;
        break;
      case dXRepeats: x = i / 3; break;
    }
    Series.AddXY(x, v);
  }
  Series.EndUpdate();
}

struct TPainted {
  std::vector<TRecordKind> Kinds;
  std::vector<std::pair<TPointF, TPointF>> Lines;
  int OldX = 0;
  int OldY = 0;
  bool Searched = false;
};

TPainted Paint(const TCase& C, bool Reference) {
  ICanvasState.reset();
  TChart chart;
  chart.SetBounds(0, 0, C.Data == dSparse ? 600.0f : 300.0f, 200);
  chart.SetView3D(false);
  TFastLineSeries* s = Reference ? new TPerPointLine() : new TFastLineSeries();
  chart.AddSeries(s);
  Fill(*s, C.Data, C.Count);
  s->SetDrawAllPoints(false);
  s->SetDrawAllPointsStyle(C.Style);
  s->SetStairs(C.Stairs);
  s->SetFastPen(C.FastPen);
  chart.LeftAxis()->SetInverted(C.InvertedY);
  chart.BottomAxis()->SetInverted(C.InvertedX);
  if (C.NarrowY) chart.LeftAxis()->SetMinMax(49, 51);
  if (C.Paged) chart.BottomAxis()->SetMinMax(C.Count * 0.3 + 0.25, C.Count * 0.7 + 0.5);
  TRecordingCanvas rec;
  chart.Draw(&rec, {0, 0, chart.Width(), chart.Height()});
  TPainted result;
  result.Kinds = rec.Kinds();
  result.Lines = rec.Lines();
  result.OldX = s->OldX;
  result.OldY = s->OldY;
  result.Searched = s->SearchedColumns();
  ICanvasState.reset();
  return result;
}

std::string Show(const std::pair<TPointF, TPointF>& L) {
  return "(" + std::to_string(L.first.X) + "," + std::to_string(L.first.Y) + ")-(" +
         std::to_string(L.second.X) + "," + std::to_string(L.second.Y) + ")";
}

class FastLineEquivalence : public ::testing::TestWithParam<TCase> {};

TEST_P(FastLineEquivalence, SameStrokesAsVisitingEveryPoint) {
  const TCase& c = GetParam();
  const TPainted ref = Paint(c, true);
  const TPainted fast = Paint(c, false);
  EXPECT_FALSE(ref.Searched);
  // The search runs wherever the X list allows it, in either drawing
  // direction.
  const bool expected = c.Data != dXNaN;
  EXPECT_EQ(fast.Searched, expected);
  ASSERT_GT(ref.Lines.size(), 2u);
  EXPECT_EQ(fast.Kinds, ref.Kinds);
  ASSERT_EQ(fast.Lines.size(), ref.Lines.size());
  for (std::size_t i = 0; i < ref.Lines.size(); ++i) {
    ASSERT_TRUE(fast.Lines[i] == ref.Lines[i])
        << "line " << i << ": " << Show(fast.Lines[i]) << " instead of " << Show(ref.Lines[i]);
  }
  EXPECT_EQ(fast.OldX, ref.OldX);
  EXPECT_EQ(fast.OldY, ref.OldY);
}

std::vector<TCase> Cases() {
  std::vector<TCase> cases;
  const struct {
    const char* name;
    TData data;
    int count;
  } sets[] = {{"walk", dWalk, 20000},         {"walkNaN", dWalkNaN, 20000},
              {"levels", dLevels, 20000},     {"extremes", dExtremes, 20000},
              {"xNaN", dXNaN, 5000},          {"xRepeats", dXRepeats, 9000},
              {"sparse", dSparse, 300}};
  for (const auto& set : sets) {
    for (TDrawAllPointsStyle style : {daFirst, daMinMax}) {
      const std::string base = std::string(set.name) + (style == daFirst ? "_daFirst" : "_daMinMax");
      cases.push_back({base, set.data, set.count, style});
      cases.push_back({base + "_stairs", set.data, set.count, style, true});
      cases.push_back({base + "_invertedY", set.data, set.count, style, false, true});
      cases.push_back({base + "_fastPen", set.data, set.count, style, false, false, true});
      cases.push_back({base + "_narrowY", set.data, set.count, style, false, false, false, true});
      cases.push_back({base + "_paged", set.data, set.count, style, false, false, false, false, true});
      cases.push_back(
          {base + "_invertedX", set.data, set.count, style, false, false, false, false, false, true});
    }
  }
  return cases;
}

INSTANTIATE_TEST_SUITE_P(RandomData, FastLineEquivalence, ::testing::ValuesIn(Cases()),
                         [](const ::testing::TestParamInfo<TCase>& info) { return info.param.Name; });

// ---- Values on the pixel borders ---------------------------------------------
//
// The column search starts from the X value at a column's border (the
// axis' inverse mapping) and the daMinMax gather from the Y value at the
// border of the pen's pixel; both are confirmed by real conversions. These
// cases place X and Y values on the computed borders and a few units of
// the last place around them, on fixed axes, so that every confirmation and
// correction runs, in both directions, on tiny and huge ranges too.

struct TBorderCase {
  std::string Name;
  double XMin, XMax;  // bottom axis
  double YMin, YMax;  // left axis
  TDrawAllPointsStyle Style;
  bool InvertedX = false;
  bool InvertedY = false;
  bool Paged = false;      // data reach past both ends of the bottom axis
  bool NonFinite = false;  // rare NaN and infinite Y values (inside blocks)
  bool Log = false;        // logarithmic axes: the search is not used
};

// The value at pixel position P (a half pixel for a border) of a linear
// axis, by the conversion's own terms in extended precision.
double ValueAt(const TChartAxis& A, bool Vertical, double P) {
  long double distance;
  if (Vertical)
    distance = A.Inverted() ? P - A.IStartPos : A.IEndPos - P;
  else
    distance = A.Inverted() ? A.IEndPos - P : P - A.IStartPos;
  const long double v = static_cast<long double>(A.IMinimum) + distance / A.IAxisSizeRange;
  constexpr long double kMax = std::numeric_limits<double>::max();
  return static_cast<double>(std::clamp(v, -kMax, kMax));
}

// The value K units of the last place from V (K may be negative).
double Ulps(double V, int K) {
  for (; K > 0; --K) V = std::nextafter(V, HUGE_VAL);
  for (; K < 0; ++K) V = std::nextafter(V, -HUGE_VAL);
  return V;
}

struct TBorderPaint {
  TPainted Painted;
  bool SameLayout = false;  // the axes mapped as when the data were made
};

TBorderPaint PaintBorders(const TBorderCase& C, bool Reference) {
  ICanvasState.reset();
  TChart chart;
  chart.SetBounds(0, 0, 300, 200);
  chart.SetView3D(false);
  TFastLineSeries* s = Reference ? new TPerPointLine() : new TFastLineSeries();
  chart.AddSeries(s);
  s->SetDrawAllPoints(false);
  s->SetDrawAllPointsStyle(C.Style);
  TChartAxis* h = chart.BottomAxis();
  TChartAxis* v = chart.LeftAxis();
  h->SetLogarithmic(C.Log);
  v->SetLogarithmic(C.Log);
  h->SetInverted(C.InvertedX);
  v->SetInverted(C.InvertedY);
  h->SetMinMax(C.XMin, C.XMax);
  v->SetMinMax(C.YMin, C.YMax);
  TRecordingCanvas rec;
  chart.Draw(&rec, {0, 0, chart.Width(), chart.Height()});  // lays the axes out
  const auto layout = [&] {
    return std::vector<double>{double(h->IStartPos), double(h->IEndPos), h->IMinimum, h->IAxisSizeRange,
                               double(v->IStartPos), double(v->IEndPos), v->IMinimum, v->IAxisSizeRange};
  };
  const std::vector<double> before = layout();

  std::mt19937 rng(4321);
  std::uniform_real_distribution<double> unit(0, 1);
  std::uniform_int_distribution<int> pct(0, 99);
  std::vector<double> xs, ys;
  const int first = std::min(h->IStartPos, h->IEndPos) - (C.Paged ? 20 : 0);
  const int last = std::max(h->IStartPos, h->IEndPos) + (C.Paged ? 20 : 0);
  const int top = std::min(v->IStartPos, v->IEndPos);
  const int bottom = std::max(v->IStartPos, v->IEndPos);
  // Y values of one column: mostly on the borders of three neighbouring
  // rows (so that the extremes of a column often share the pen's pixel) or
  // a few units of the last place from them.
  auto y = [&](int Row) {
    const int r = pct(rng);
    if (C.NonFinite && r < 1) return unit(rng) < 0.5 ? std::numeric_limits<double>::quiet_NaN()
                                                     : std::numeric_limits<double>::infinity();
    if (C.Log) return C.YMin * std::pow(C.YMax / C.YMin, unit(rng));
    const int row = r < 90 ? Row + pct(rng) % 3 - 1 : top + static_cast<int>(unit(rng) * (bottom - top));
    const double border = ValueAt(*v, true, row + 0.5);
    return r < 70 ? Ulps(border, pct(rng) % 7 - 3) : ValueAt(*v, true, row + unit(rng));
  };
  for (int c = first; c <= last; ++c) {
    std::vector<double> column;
    if (C.Log) {
      for (int k = 0; k < 6; ++k) column.push_back(C.XMin * std::pow(C.XMax / C.XMin, (c - first + unit(rng)) / (last - first + 1)));
    } else {
      // The border after column c and a few units around it, plus points
      // inside the column.
      const double border = ValueAt(*h, false, C.InvertedX ? c - 0.5 : c + 0.5);
      for (int k = -2; k <= 2; ++k) column.push_back(Ulps(border, k));
      for (int k = 0; k < 3 + pct(rng) % 8; ++k) column.push_back(ValueAt(*h, false, c + unit(rng) - 0.5));
    }
    xs.insert(xs.end(), column.begin(), column.end());
    const int row = top + 1 + (c * 7) % std::max(1, bottom - top - 2);
    for (std::size_t k = 0; k < column.size(); ++k) ys.push_back(y(row));
  }
  // The X values in order; their Y values stay with their column.
  std::sort(xs.begin(), xs.end());
  s->AddArrays(xs, ys);
  chart.Draw(&rec, {0, 0, chart.Width(), chart.Height()});
  TBorderPaint result;
  result.SameLayout = layout() == before;
  TRecordingCanvas final;
  chart.Draw(&final, {0, 0, chart.Width(), chart.Height()});
  result.Painted.Kinds = final.Kinds();
  result.Painted.Lines = final.Lines();
  result.Painted.OldX = s->OldX;
  result.Painted.OldY = s->OldY;
  result.Painted.Searched = s->SearchedColumns();
  ICanvasState.reset();
  return result;
}

class FastLineBorders : public ::testing::TestWithParam<TBorderCase> {};

TEST_P(FastLineBorders, SameStrokesAsVisitingEveryPoint) {
  const TBorderCase& c = GetParam();
  const TBorderPaint ref = PaintBorders(c, true);
  const TBorderPaint fast = PaintBorders(c, false);
  // The data sit on the borders only if the layout did not move.
  EXPECT_TRUE(fast.SameLayout);
  EXPECT_FALSE(ref.Painted.Searched);
  EXPECT_EQ(fast.Painted.Searched, !c.Log);
  ASSERT_GT(ref.Painted.Lines.size(), 2u);
  EXPECT_EQ(fast.Painted.Kinds, ref.Painted.Kinds);
  ASSERT_EQ(fast.Painted.Lines.size(), ref.Painted.Lines.size());
  for (std::size_t i = 0; i < ref.Painted.Lines.size(); ++i) {
    ASSERT_TRUE(fast.Painted.Lines[i] == ref.Painted.Lines[i])
        << "line " << i << ": " << Show(fast.Painted.Lines[i]) << " instead of " << Show(ref.Painted.Lines[i]);
  }
  EXPECT_EQ(fast.Painted.OldX, ref.Painted.OldX);
  EXPECT_EQ(fast.Painted.OldY, ref.Painted.OldY);
}

std::vector<TBorderCase> BorderCases() {
  const struct {
    const char* name;
    double xMin, xMax, yMin, yMax;
  } ranges[] = {
      {"unit", 0, 1000, -50, 50},
      {"offset", 1e6, 1e6 + 3, 7.25, 7.5},        // few units of the last place per pixel
      {"tiny", 1, 1 + 1e-11, -1e-11, 1e-11},      // just above a zero range
      {"huge", -4e307, 4e307, -8e307, 8e307},     // distances near the largest double
      {"overflowing", -1e308, 1e308, -1e308, 1e308},  // distances beyond it
  };
  std::vector<TBorderCase> cases;
  for (const auto& r : ranges)
    for (TDrawAllPointsStyle style : {daFirst, daMinMax}) {
      const std::string base = std::string(r.name) + (style == daFirst ? "_daFirst" : "_daMinMax");
      const TBorderCase plain{base, r.xMin, r.xMax, r.yMin, r.yMax, style};
      cases.push_back(plain);
      TBorderCase k = plain;
      k.Name = base + "_invertedX", k.InvertedX = true, cases.push_back(k);
      k = plain, k.Name = base + "_invertedY", k.InvertedY = true, cases.push_back(k);
      k = plain, k.Name = base + "_invertedXY", k.InvertedX = k.InvertedY = true, cases.push_back(k);
      k = plain, k.Name = base + "_paged", k.Paged = true, cases.push_back(k);
      k = plain, k.Name = base + "_nonFinite", k.NonFinite = true, cases.push_back(k);
    }
  for (TDrawAllPointsStyle style : {daFirst, daMinMax}) {
    TBorderCase k{std::string("log") + (style == daFirst ? "_daFirst" : "_daMinMax"), 1, 1e6, 0.5, 5e3, style};
    k.Log = true;
    cases.push_back(k);
  }
  return cases;
}

INSTANTIATE_TEST_SUITE_P(Borders, FastLineBorders, ::testing::ValuesIn(BorderCases()),
                         [](const ::testing::TestParamInfo<TBorderCase>& info) { return info.param.Name; });

// Stale order: values written in place can break the ascending order that
// the X list promises; the search is then not used and nothing changes.
TEST(FastLineEquivalenceOrder, ValuesWrittenOutOfOrderTurnTheSearchOff) {
  TCase c{"rewritten", dWalk, 4000, daMinMax};
  for (bool reference : {true, false}) {
    ICanvasState.reset();
    TChart chart;
    chart.SetBounds(0, 0, 300, 200);
    chart.SetView3D(false);
    TFastLineSeries* s = reference ? new TPerPointLine() : new TFastLineSeries();
    chart.AddSeries(s);
    Fill(*s, c.Data, c.Count);
    s->SetDrawAllPoints(false);
    s->SetDrawAllPointsStyle(daMinMax);
    TRecordingCanvas rec;
    chart.Draw(&rec, {0, 0, 300, 200});
    EXPECT_EQ(s->SearchedColumns(), !reference);
    s->XValues()->SetValue(100, 3500.5);  // far ahead of its neighbours
    chart.Draw(&rec, {0, 0, 300, 200});
    EXPECT_FALSE(s->SearchedColumns());
    ICanvasState.reset();
  }
}

}  // namespace
}  // namespace sextant::testing

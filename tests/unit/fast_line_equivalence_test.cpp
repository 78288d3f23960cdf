// With DrawAllPoints off the fast line finds its pixel columns by searching
// the ordered X list instead of converting every point. These tests paint
// the same data twice, once with the search and once through a kind derived
// from the fast line (which visits every point with DrawValue), and require
// the same canvas operations, the same strokes and the same final pen.
#include <gtest/gtest.h>

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

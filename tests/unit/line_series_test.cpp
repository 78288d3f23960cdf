// The line series: its segments, stairs, the three null treatments and
// non-finite points, the visible range with the neighbours outside it,
// pointers on top, margins, hit testing, the legend symbol and 3D depth.
#include <cmath>
#include <limits>

#include "kinds_fixture.h"
#include "marks/series_pointer.h"
#include "series/line_series.h"

namespace sextant::testing {
namespace {

using LineSeriesTest = KindTest<TLineSeries>;
using Segment = std::pair<TPointF, TPointF>;

std::vector<Segment> LinesOf(const std::vector<const TRecordedOp*>& Ops) {
  std::vector<Segment> result;
  for (const TRecordedOp* op : Ops) result.emplace_back(op->P1, op->P2);
  return result;
}

TEST_F(LineSeriesTest, ConnectsThePointsInTheSeriesColourWithoutPointers) {
  series->SetSeriesColor(0xFF102030);
  for (int i = 0; i < 4; ++i) series->AddXY(i, i * i);
  Paint();
  const auto lines = LinesOf(Ops(rkDrawLine));
  ASSERT_EQ(lines.size(), 3u);
  for (int i = 0; i < 3; ++i) {
    EXPECT_EQ(lines[i].first, Pixel(i, i * i));
    EXPECT_EQ(lines[i].second, Pixel(i + 1, (i + 1) * (i + 1)));
  }
  EXPECT_EQ(Ops(rkDrawLine)[0]->Stroke.Color, 0xFF102030u);
  EXPECT_TRUE(Ops(rkFillRect).empty());
  EXPECT_FALSE(series->Pointer()->Visible());
}

TEST_F(LineSeriesTest, PointersAreDrawnAfterTheWholeLine) {
  for (int i = 0; i < 4; ++i) series->AddXY(i, 10 + i);
  series->Pointer()->SetVisible(true);
  Paint();
  std::size_t lastLine = 0, firstFill = SIZE_MAX, fills = 0;
  for (std::size_t i = ranges[0].first; i < ranges[0].second; ++i) {
    if (rec.Ops()[i].Kind == rkDrawLine) lastLine = i;
    if (rec.Ops()[i].Kind == rkFillRect) {
      firstFill = std::min(firstFill, i);
      ++fills;
    }
  }
  EXPECT_EQ(fills, 4u);
  EXPECT_LT(lastLine, firstFill);
}

TEST_F(LineSeriesTest, StairsGoThroughTheCorner) {
  series->AddXY(0, 0);
  series->AddXY(10, 5);
  struct Case {
    bool inverted;
    TPointF corner;
  };
  Paint();
  const TPointF a = Pixel(0, 0), b = Pixel(10, 5);
  const Case cases[] = {{false, {b.X, a.Y}}, {true, {a.X, b.Y}}};
  series->SetStairs(true);
  for (const Case& c : cases) {
    series->SetInvertedStairs(c.inverted);
    Paint();
    const auto lines = LinesOf(Ops(rkDrawLine));
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_EQ(lines[0], (Segment{a, c.corner}));
    EXPECT_EQ(lines[1], (Segment{c.corner, b}));
    // Both legs are hit, the first point's index.
    EXPECT_EQ(series->Clicked(static_cast<int>((a.X + c.corner.X) / 2), static_cast<int>((a.Y + c.corner.Y) / 2)), 0);
    EXPECT_EQ(series->Clicked(static_cast<int>((b.X + c.corner.X) / 2), static_cast<int>((b.Y + c.corner.Y) / 2)), 0);
  }
}

// Point 2 of 0..4 is null (or not a number): which segments are drawn.
TEST_F(LineSeriesTest, NullAndNonFinitePointsBreakBridgeOrJoinTheLine) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  struct Case {
    TTreatNullsStyle treat;
    bool nonFinite;
    std::vector<std::pair<int, int>> segments;
  } cases[] = {
      {tnDontPaint, false, {{0, 1}, {3, 4}}},
      {tnSkip, false, {{0, 1}, {1, 3}, {3, 4}}},
      {tnIgnore, false, {{0, 1}, {1, 2}, {2, 3}, {3, 4}}},
      {tnIgnore, true, {{0, 1}, {3, 4}}},
      {tnSkip, true, {{0, 1}, {3, 4}}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.treat) * 10 + c.nonFinite);
    series->Clear();
    for (int i = 0; i < 5; ++i) {
      if (i == 2 && c.nonFinite)
        series->AddXY(i, nan);
      else if (i == 2)
        series->AddNullXY(i, 7);
      else
        series->AddXY(i, i + 10);
    }
    series->SetTreatNulls(c.treat);
    Paint();
    const auto lines = LinesOf(Ops(rkDrawLine));
    ASSERT_EQ(lines.size(), c.segments.size());
    for (std::size_t k = 0; k < lines.size(); ++k) {
      const auto [from, to] = c.segments[k];
      EXPECT_EQ(lines[k].first, Pixel(from, series->YValue(from))) << k;
      EXPECT_EQ(lines[k].second, Pixel(to, series->YValue(to))) << k;
    }
  }
}

// A zoomed axis: the line runs from the point before the visible range to
// the first point beyond it, clipped to the plot.
TEST_F(LineSeriesTest, VisibleRangeIncludesTheNeighboursOutsideThePlot) {
  for (int i = 0; i < 10; ++i) series->AddXY(i, i % 3);
  chart.BottomAxis()->SetMinMax(2.5, 5.5);
  Paint();
  const auto ops = Ops(rkDrawLine);
  // Points 3, 4 and 5 are inside: segments 2-3, 3-4, 4-5 and 5-6.
  ASSERT_EQ(ops.size(), 4u);
  EXPECT_EQ(ops.front()->P1, Pixel(2, 2));
  EXPECT_EQ(ops.back()->P2, Pixel(6, 0));
  ASSERT_TRUE(ops.front()->Clip.has_value());
  const TRectF& r = chart.ChartRect;
  // (The clip of a series narrows the left edge by one pixel.)
  EXPECT_EQ(ops.front()->Clip->Left, r.Left + 1);
  EXPECT_EQ(ops.front()->Clip->Right, r.Right);
}

TEST_F(LineSeriesTest, ClickedFindsPointersThenSegments) {
  series->AddXY(0, 0);
  series->AddXY(10, 0);
  series->AddXY(20, 100);
  Paint();
  const TPointF a = Pixel(0, 0), b = Pixel(10, 0);
  const int y = static_cast<int>(a.Y);
  const int midX = static_cast<int>((a.X + b.X) / 2);
  EXPECT_EQ(series->Clicked(midX, y), 0);
  EXPECT_EQ(series->Clicked(midX, y - 1), -1);
  series->SetClickTolerance(2);
  EXPECT_EQ(series->Clicked(midX, y - 2), 0);
  EXPECT_EQ(series->Clicked(midX, y - 4), -1);
  // With pointers, the box of point 1 wins over the segment it ends.
  series->Pointer()->SetVisible(true);
  Paint();
  const TPointF b2 = Pixel(10, 0);
  EXPECT_EQ(series->Clicked(static_cast<int>(b2.X) - 3, static_cast<int>(b2.Y)), 1);
  // A hidden line pen: only the pointers are hit.
  series->LinePen()->SetVisible(false);
  Paint();
  const TPointF a3 = Pixel(0, 0), b3 = Pixel(10, 0);
  EXPECT_EQ(series->Clicked(static_cast<int>((a3.X + b3.X) / 2), static_cast<int>(a3.Y)), -1);
  EXPECT_TRUE(Ops(rkDrawLine).empty());
}

TEST_F(LineSeriesTest, MarginsOfPenAndPointer) {
  series->AddXY(0, 0);
  series->AddXY(10, 100);
  struct Case {
    float width;
    bool pointer;
    int margin;
  } cases[] = {{1, false, 2}, {4, false, 3}, {1, true, 5}, {8, true, 5}, {14, true, 8}};
  for (const Case& c : cases) {
    series->LinePen()->SetWidth(c.width);
    series->Pointer()->SetVisible(c.pointer);
    Paint();
    const TChartAxis* h = chart.BottomAxis();
    EXPECT_EQ(h->CalcXPosValue(0) - h->IStartPos, c.margin) << c.width << " " << c.pointer;
  }
}

TEST_F(LineSeriesTest, LegendSymbolIsALineWithThePointerInTheMiddle) {
  series->AddXY(0, 1);
  series->SetSeriesColor(0xFF446688);
  auto ops = LegendSymbolOps(series, TRectF{10, 20, 30, 31});
  std::vector<TRecordedOp> lines;
  for (const TRecordedOp& op : ops)
    if (op.Kind == rkDrawLine) lines.push_back(op);
  ASSERT_EQ(lines.size(), 1u);
  EXPECT_EQ(lines[0].P1, (TPointF{10, 25}));
  EXPECT_EQ(lines[0].P2, (TPointF{30, 25}));
  EXPECT_EQ(lines[0].Stroke.Color, 0xFF446688u);
  series->Pointer()->SetVisible(true);
  ops = LegendSymbolOps(series, TRectF{10, 20, 30, 31});
  int rects = 0;
  for (const TRecordedOp& op : ops)
    if (op.Kind == rkFillRect) {
      ++rects;
      EXPECT_EQ(op.Rect, (TRectF{16, 21, 25, 30}));
    }
  EXPECT_EQ(rects, 1);
}

// In 3D the line lies in the middle of the series' depth slot.
TEST_F(LineSeriesTest, In3DTheLineIsDrawnAtItsDepth) {
  chart.SetView3D(true);
  series->AddXY(0, 0);
  series->AddXY(10, 10);
  Paint();
  ASSERT_GT(series->MiddleZ, 0);
  const auto lines = LinesOf(Ops(rkDrawLine));
  ASSERT_EQ(lines.size(), 1u);
  const TPointF a = Pixel(0, 0);
  const TPointF want = chart.Canvas()->Calculate3DPosition(a.X, a.Y, static_cast<float>(series->MiddleZ));
  EXPECT_NEAR(lines[0].first.X, want.X, 0.01);
  EXPECT_NEAR(lines[0].first.Y, want.Y, 0.01);
  EXPECT_NE(lines[0].first, a);
  // The hit test takes the pixel back to the series' plane.
  const TPointF b = Pixel(10, 10);
  const TPointF mid = chart.Canvas()->Calculate3DPosition((a.X + b.X) / 2, (a.Y + b.Y) / 2,
                                                         static_cast<float>(series->MiddleZ));
  EXPECT_EQ(series->Clicked(KelRound(mid.X), KelRound(mid.Y)), 0);
}

}  // namespace
}  // namespace sextant::testing

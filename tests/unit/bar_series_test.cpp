// Bar series, vertical and horizontal: bar rectangles from the origin, the
// room of a point and the margins that keep the end bars whole, the four
// MultiBar modes, origins, null and non-finite points, hit testing, marks
// at the bar's end or centre, the legend box, styles, colours and 3D.
#include <cmath>
#include <limits>

#include "canvas/brush.h"
#include "canvas/gradient.h"
#include "kinds_fixture.h"
#include "marks/mark_positions.h"
#include "marks/series_marks.h"
#include "series/bar_series.h"
#include "series/horiz_bar_series.h"

namespace sextant::testing {
namespace {

using BarSeriesTest = KindTest<TBarSeries>;
using HorizBarSeriesTest = KindTest<THorizBarSeries>;

// The expected bar across [centre + Offset, centre + Offset + Width].
std::pair<float, float> Across(float Centre, double Offset, double Width) {
  return {static_cast<float>(KelRound(Centre + Offset)), static_cast<float>(KelRound(Centre + Offset + Width))};
}

TEST_F(BarSeriesTest, BarsStandOnTheOriginWithSeventyPercentOfTheirRoom) {
  const double values[] = {30, 10, 50, 20};
  for (int i = 0; i < 4; ++i) series->AddXY(i, values[i]);
  Paint();
  const double slot = series->SlotSize();
  EXPECT_NEAR(slot, Pixel(1, 0).X - Pixel(0, 0).X, 1.0);
  EXPECT_NEAR(series->BarSize(), slot * 0.7, 1e-9);
  const auto fills = Ops(rkFillRect);
  ASSERT_EQ(fills.size(), 4u);
  for (int i = 0; i < 4; ++i) {
    const auto [l, r] = Across(Pixel(i, 0).X, -slot * 0.35, slot * 0.7);
    EXPECT_EQ(fills[i]->Rect, (TRectF{l, Pixel(i, values[i]).Y, r, Pixel(i, 0).Y})) << i;
  }
  EXPECT_EQ(Ops(rkDrawRect).size(), 4u);
  EXPECT_EQ(Ops(rkDrawRect)[0]->Stroke.Color, 0xFF000000u);
  // The value axis reaches the origin.
  EXPECT_LE(chart.LeftAxis()->Minimum(), 0);
}

// Half a point's room at each end: the end bars are whole, and the room
// is the axis length divided by the number of points.
TEST_F(BarSeriesTest, MarginsKeepTheEndBarsWhole) {
  for (int n : {1, 2, 5, 13}) {
    SCOPED_TRACE(n);
    series->Clear();
    for (int i = 0; i < n; ++i) series->AddXY(i * 10, 5 + i);
    for (int width : {70, 100}) {
      series->SetBarWidthPercent(width);
      Paint();
      const TChartAxis* h = chart.BottomAxis();
      TRectF first, last;
      ASSERT_TRUE(series->BarBounds(0, first));
      ASSERT_TRUE(series->BarBounds(n - 1, last));
      EXPECT_GE(first.Left, h->IStartPos - 1);
      EXPECT_LE(last.Right, h->IEndPos + 1);
      EXPECT_NEAR(series->SlotSize(), static_cast<double>(h->IAxisSize) / n, 1.5);
    }
  }
}

struct MultiCase {
  TMultiBar Mode;
  // Value ends (low, high) of series a and b at point 0, and whether the
  // bars sit side by side.
  double ALow, AHigh, BLow, BHigh;
  bool Side;
};

TEST_F(BarSeriesTest, MultiBarModesShareThePointsPlace) {
  auto* b = Add<TBarSeries>();
  series->AddXY(0, 30);
  series->AddXY(1, 10);
  b->AddXY(0, 10);
  b->AddXY(1, 30);
  const MultiCase cases[] = {
      {mbNone, 0, 30, 0, 10, false},
      {mbSide, 0, 30, 0, 10, true},
      {mbStacked, 0, 30, 30, 40, false},
      {mbStacked100, 0, 75, 75, 100, false},
  };
  for (const MultiCase& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.Mode));
    b->SetMultiBar(c.Mode);
    EXPECT_EQ(series->MultiBar(), c.Mode);
    Paint();
    const auto fa = Ops(rkFillRect, 0), fb = Ops(rkFillRect, 1);
    ASSERT_EQ(fa.size(), 2u);
    ASSERT_EQ(fb.size(), 2u);
    const TRectF ra = fa[0]->Rect, rb = fb[0]->Rect;
    EXPECT_EQ(ra.Top, Pixel(0, c.AHigh).Y);
    EXPECT_EQ(ra.Bottom, Pixel(0, c.ALow).Y);
    EXPECT_EQ(rb.Top, Pixel(0, c.BHigh).Y);
    EXPECT_EQ(rb.Bottom, Pixel(0, c.BLow).Y);
    const double slot = series->SlotSize();
    const float centre = Pixel(0, 0).X;
    if (c.Side) {
      const auto [al, ar] = Across(centre, -slot * 0.35, slot * 0.35);
      const auto [bl, br] = Across(centre, 0, slot * 0.35);
      EXPECT_EQ(ra.Left, al);
      EXPECT_EQ(ra.Right, ar);
      EXPECT_EQ(rb.Left, bl);
      EXPECT_EQ(rb.Right, br);
      EXPECT_EQ(ra.Right, rb.Left);  // adjacent, no gap or overlap
    } else {
      EXPECT_EQ(ra.Left, rb.Left);
      EXPECT_EQ(ra.Right, rb.Right);
      EXPECT_EQ(ra.Right - ra.Left, Across(centre, -slot * 0.35, slot * 0.7).second -
                                        Across(centre, -slot * 0.35, slot * 0.7).first);
    }
  }
  // Stacked 100 %: the value axis spans 0 .. 100.
  EXPECT_EQ(b->MaxYValue(), 100);
  EXPECT_EQ(series->MinYValue(), 0);
}

TEST_F(BarSeriesTest, OriginOffsetAndNegativeValues) {
  series->AddXY(0, -20);
  series->AddXY(1, 40);
  Paint();
  TRectF r;
  ASSERT_TRUE(series->BarBounds(0, r));
  EXPECT_EQ(r.Top, Pixel(0, 0).Y);
  EXPECT_EQ(r.Bottom, Pixel(0, -20).Y);
  series->SetYOrigin(10);
  Paint();
  ASSERT_TRUE(series->BarBounds(1, r));
  EXPECT_EQ(r.Bottom, Pixel(1, 10).Y);
  series->SetUseYOrigin(false);
  Paint();
  ASSERT_TRUE(series->BarBounds(1, r));
  EXPECT_EQ(r.Bottom, static_cast<float>(chart.LeftAxis()->CalcYPosValue(chart.LeftAxis()->Minimum())));
  series->SetOffsetPercent(50);
  Paint();
  ASSERT_TRUE(series->BarBounds(1, r));
  const double slot = series->SlotSize();
  EXPECT_EQ(r.Left, Across(Pixel(1, 0).X, -slot * 0.35 + slot * 0.35, slot * 0.7).first);
}

TEST_F(BarSeriesTest, NullAndNonFinitePointsHaveNoBar) {
  series->AddXY(0, 10);
  series->AddNullXY(1, 20);
  series->AddXY(2, std::numeric_limits<double>::quiet_NaN());
  series->AddXY(3, 30);
  Paint();
  EXPECT_EQ(Ops(rkFillRect).size(), 2u);
  TRectF r;
  EXPECT_FALSE(series->BarBounds(1, r));
  EXPECT_FALSE(series->BarBounds(2, r));
  EXPECT_LT(chart.LeftAxis()->Maximum(), 40);
  // A finite value at an infinite position is no drawable point either:
  // no bar, and its value stays out of the value axis' range.
  series->AddXY(std::numeric_limits<double>::infinity(), 1000);
  Paint();
  EXPECT_EQ(Ops(rkFillRect).size(), 2u);
  EXPECT_FALSE(series->BarBounds(4, r));
  EXPECT_LT(chart.LeftAxis()->Maximum(), 40);
}

TEST_F(BarSeriesTest, ClickedFindsTheBarRectangle) {
  series->AddXY(0, 10);
  series->AddXY(1, 20);
  Paint();
  TRectF r;
  ASSERT_TRUE(series->BarBounds(1, r));
  const int cx = static_cast<int>((r.Left + r.Right) / 2), cy = static_cast<int>((r.Top + r.Bottom) / 2);
  struct Case {
    int x, y, expected;
  } cases[] = {{cx, cy, 1},
               {static_cast<int>(r.Left), cy, 1},
               {static_cast<int>(r.Right), static_cast<int>(r.Top), 1},
               {static_cast<int>(r.Left) - 1, cy, -1},
               {cx, static_cast<int>(r.Top) - 1, -1}};
  for (const Case& c : cases) EXPECT_EQ(series->Clicked(c.x, c.y), c.expected) << c.x << "," << c.y;
  // Between two bars.
  TRectF r0;
  ASSERT_TRUE(series->BarBounds(0, r0));
  EXPECT_EQ(series->Clicked(static_cast<int>((r0.Right + r.Left) / 2), cy + 50), -1);
}

TEST_F(BarSeriesTest, MarksStandOnTheBarEndOrInItsMiddle) {
  series->AddXY(0, 30);
  series->AddXY(1, -20);
  series->Marks()->SetVisible(true);
  Paint();
  TRectF up, down;
  ASSERT_TRUE(series->BarBounds(0, up));
  ASSERT_TRUE(series->BarBounds(1, down));
  const TSeriesMarkPosition* p0 = series->Marks()->Positions()->Position(0);
  const TSeriesMarkPosition* p1 = series->Marks()->Positions()->Position(1);
  ASSERT_TRUE(p0 && p1);
  // Above the rising bar (the box's bottom row on the bar's top edge, as a
  // mark stands on its point), centred on it; below the falling one, right
  // under its bottom edge.
  EXPECT_EQ(p0->LeftTop.Y + p0->Height - 1, up.Top);
  EXPECT_NEAR(p0->LeftTop.X + p0->Width / 2.0, (up.Left + up.Right) / 2, 1);
  EXPECT_EQ(p1->LeftTop.Y, down.Bottom + 1);
  series->SetMarksLocation(mlCenter);
  Paint();
  p0 = series->Marks()->Positions()->Position(0);
  EXPECT_NEAR(p0->LeftTop.Y + p0->Height / 2.0, (up.Top + up.Bottom) / 2, 1);
  EXPECT_NEAR(p0->LeftTop.X + p0->Width / 2.0, (up.Left + up.Right) / 2, 1);
}

TEST_F(BarSeriesTest, StylesGradientAndPointColours) {
  series->AddXY(0, 10);
  series->AddXY(1, 20, "", 0xFF00AA00);
  series->AddXY(2, 30);
  series->SetSeriesColor(0xFFAA0000);
  Paint();
  auto fills = Ops(rkFillRect);
  ASSERT_EQ(fills.size(), 3u);
  EXPECT_EQ(fills[0]->Fill.Color, 0xFFAA0000u);
  EXPECT_EQ(fills[1]->Fill.Color, 0xFF00AA00u);
  EXPECT_EQ(fills[2]->Fill.Color, 0xFFAA0000u);
  EXPECT_EQ(fills[0]->XRadius, 0);
  series->SetBarStyle(bsRoundRectangle);
  series->SetRoundSize(10);
  Paint();
  fills = Ops(rkFillRect);
  ASSERT_EQ(fills.size(), 3u);
  EXPECT_EQ(fills[0]->XRadius, 5);
  series->SetBarStyle(bsRectangle);
  series->Gradient()->SetVisible(true);
  Paint();
  fills = Ops(rkFillRect);
  ASSERT_EQ(fills.size(), 3u);
  for (const TRecordedOp* op : fills) EXPECT_EQ(op->Fill.Kind, THostBrushKind::Gradient);
}

TEST_F(BarSeriesTest, LegendSymbolIsAFramedBox) {
  series->AddXY(0, 1);
  series->SetSeriesColor(0xFF0055FF);
  const auto ops = LegendSymbolOps(series, TRectF{10, 20, 30, 30});
  int fills = 0, frames = 0;
  for (const TRecordedOp& op : ops) {
    if (op.Kind == rkFillRect) {
      ++fills;
      EXPECT_EQ(op.Rect, (TRectF{10, 20, 30, 30}));
      EXPECT_EQ(op.Fill.Color, 0xFF0055FFu);
    }
    if (op.Kind == rkDrawRect) {
      ++frames;
      EXPECT_EQ(op.Stroke.Color, 0xFF000000u);
    }
  }
  EXPECT_EQ(fills, 1);
  EXPECT_EQ(frames, 1);
}

TEST_F(BarSeriesTest, In3DEachBarIsABoxThroughTheSeriesDepth) {
  chart.SetView3D(true);
  series->AddXY(0, 10);
  series->AddXY(1, 20);
  Paint();
  ASSERT_GT(series->EndZ, series->StartZ);
  // Top, side and front of each bar.
  const auto faces = Ops(rkFillPath);
  ASSERT_EQ(faces.size(), 6u);
  TRectF r;
  ASSERT_TRUE(series->BarBounds(0, r));
  TCanvas3D* c = chart.Canvas();
  const TPointF tl = c->Calculate3DPosition(r.Left, r.Top, static_cast<float>(series->StartZ));
  const TPointF br = c->Calculate3DPosition(r.Right, r.Bottom, static_cast<float>(series->StartZ));
  EXPECT_EQ(faces[2]->Path.Bounds(), (TRectF{tl.X, tl.Y, br.X, br.Y}));
  // The front face is hit through the projection.
  const TPointF mid = c->Calculate3DPosition((r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2,
                                             static_cast<float>(series->StartZ));
  EXPECT_EQ(series->Clicked(KelRound(mid.X), KelRound(mid.Y)), 0);
}

TEST_F(HorizBarSeriesTest, BarsGrowAlongTheHorizontalAxis) {
  series->Add(30);
  series->Add(-10);
  series->Add(20);
  EXPECT_EQ(series->YValue(2), 2);
  Paint();
  const double slot = series->SlotSize();
  const auto fills = Ops(rkFillRect);
  ASSERT_EQ(fills.size(), 3u);
  for (int i = 0; i < 3; ++i) {
    const double v = series->XValue(i);
    const auto [t, b] = Across(Pixel(0, i).Y, -slot * 0.35, slot * 0.7);
    const float x0 = Pixel(0, 0).X, x1 = Pixel(v, 0).X;
    EXPECT_EQ(fills[i]->Rect, (TRectF{std::min(x0, x1), t, std::max(x0, x1), b})) << i;
  }
  // The vertical axis leaves half a bar's room at its ends, the horizontal
  // one reaches the origin.
  const TChartAxis* v = chart.LeftAxis();
  TRectF top;
  ASSERT_TRUE(series->BarBounds(2, top));
  EXPECT_GE(top.Top, v->IStartPos - 1);
  EXPECT_LE(chart.BottomAxis()->Minimum(), -10);
  // Hit test and marks right of a bar growing to the right.
  EXPECT_EQ(series->Clicked(static_cast<int>(top.Right) - 1, static_cast<int>((top.Top + top.Bottom) / 2)), 2);
  series->Marks()->SetVisible(true);
  Paint();
  ASSERT_TRUE(series->BarBounds(0, top));
  const TSeriesMarkPosition* p = series->Marks()->Positions()->Position(0);
  ASSERT_TRUE(p);
  EXPECT_GT(p->LeftTop.X, top.Right);
  EXPECT_NEAR(p->LeftTop.Y + p->Height / 2.0, (top.Top + top.Bottom) / 2, 1);
}

TEST_F(HorizBarSeriesTest, StackedAlongTheValueAxis) {
  auto* b = Add<THorizBarSeries>();
  series->Add(10);
  b->Add(5);
  // A vertical bar series on the same axes does not join the stack.
  auto* vertical = Add<TBarSeries>();
  vertical->AddXY(0, 100);
  series->SetMultiBar(mbStacked);
  EXPECT_EQ(b->MultiBar(), mbStacked);
  EXPECT_EQ(vertical->MultiBar(), mbNone);
  vertical->SetActive(false);
  Paint();
  TRectF ra, rb;
  ASSERT_TRUE(series->BarBounds(0, ra));
  ASSERT_TRUE(b->BarBounds(0, rb));
  EXPECT_EQ(rb.Left, ra.Right);
  EXPECT_EQ(rb.Right, Pixel(15, 0).X);
}

}  // namespace
}  // namespace sextant::testing

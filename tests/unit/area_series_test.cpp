// The area series: the filled polygon down to the axis minimum or the
// origin, stacking (absolute and 100 %), pieces split at null points,
// stairs, gradient and transparency, hit testing inside the area, the
// legend symbol and the depth in 3D.
#include <limits>

#include "canvas/brush.h"
#include "canvas/gradient.h"
#include "kinds_fixture.h"
#include "series/area_series.h"

namespace sextant::testing {
namespace {

using AreaSeriesTest = KindTest<TAreaSeries>;

std::vector<TPointF> Vertices(const TRecordedOp& Op) {
  std::vector<TPointF> result;
  for (const THostPathCommand& c : Op.Path.Commands())
    if (c.Op == THostPathCommand::MoveTo || c.Op == THostPathCommand::LineTo) result.push_back(c.A);
  return result;
}

TEST_F(AreaSeriesTest, FillsDownToTheAxisMinimumAndDrawsTheLineOnTop) {
  series->SetSeriesColor(0xFF2040C0);
  series->AddXY(0, 10);
  series->AddXY(1, 30);
  series->AddXY(2, 20);
  Paint();
  const auto fills = Ops(rkFillPath);
  ASSERT_EQ(fills.size(), 1u);
  const float base = static_cast<float>(chart.LeftAxis()->CalcYPosValue(chart.LeftAxis()->Minimum()));
  const std::vector<TPointF> want{Pixel(0, 10), Pixel(1, 30), Pixel(2, 20), {Pixel(2, 20).X, base},
                                  {Pixel(0, 10).X, base}};
  EXPECT_EQ(Vertices(*fills[0]), want);
  EXPECT_EQ(fills[0]->Fill.Color, 0xFF2040C0u);
  // The fill has no outline of its own; the line is drawn after it.
  EXPECT_TRUE(Ops(rkDrawPath).empty());
  const auto lines = Ops(rkDrawLine);
  ASSERT_EQ(lines.size(), 2u);
  EXPECT_GT(lines[0] - &rec.Ops()[0], fills[0] - &rec.Ops()[0]);
}

TEST_F(AreaSeriesTest, OriginIsTheBaseAndPartOfTheRange) {
  series->AddXY(0, 10);
  series->AddXY(1, 30);
  series->SetUseYOrigin(true);
  for (double origin : {15.0, -50.0}) {
    series->SetYOrigin(origin);
    Paint();
    const auto fills = Ops(rkFillPath);
    ASSERT_EQ(fills.size(), 1u);
    const float base = Pixel(0, origin).Y;
    const auto v = Vertices(*fills[0]);
    ASSERT_EQ(v.size(), 4u);
    EXPECT_EQ(v[2].Y, base) << origin;
    EXPECT_EQ(v[3].Y, base) << origin;
    EXPECT_LE(chart.LeftAxis()->Minimum(), std::min(origin, 10.0));
  }
}

TEST_F(AreaSeriesTest, StackedAreasStartOnTheOnesBefore) {
  auto* upper = Add<TAreaSeries>();
  const double a[] = {10, 20, 30}, b[] = {5, 15, 5};
  for (int i = 0; i < 3; ++i) {
    series->AddXY(i, a[i]);
    upper->AddXY(i, b[i]);
  }
  upper->SetMultiArea(maStacked);
  EXPECT_EQ(series->MultiArea(), maStacked);  // one setting for all the chart's areas
  Paint();
  const auto lower = Ops(rkFillPath, 0), top = Ops(rkFillPath, 1);
  ASSERT_EQ(lower.size(), 1u);
  ASSERT_EQ(top.size(), 1u);
  // The lower area from 0, the upper from the lower's top to the sum.
  // (A stacked area's bottom follows the stack below point by point; for
  // the first area that is 0 everywhere.)
  const std::vector<TPointF> wantLower{Pixel(0, 10), Pixel(1, 20), Pixel(2, 30),
                                       Pixel(2, 0),  Pixel(1, 0),  Pixel(0, 0)};
  EXPECT_EQ(Vertices(*lower[0]), wantLower);
  const std::vector<TPointF> wantUpper{Pixel(0, 15), Pixel(1, 35), Pixel(2, 35),
                                       Pixel(2, 30), Pixel(1, 20), Pixel(0, 10)};
  EXPECT_EQ(Vertices(*top[0]), wantUpper);
  EXPECT_GE(chart.LeftAxis()->Maximum(), 35);
  EXPECT_LT(chart.LeftAxis()->Maximum(), 40);
  // Marks and clicks use the stacked top.
  EXPECT_EQ(upper->CalcYPos(1), static_cast<int>(Pixel(1, 35).Y));
}

TEST_F(AreaSeriesTest, Stacked100ScalesEveryIndexToOneHundred) {
  auto* upper = Add<TAreaSeries>();
  series->AddXY(0, 1);
  series->AddXY(1, 3);
  upper->AddXY(0, 3);
  upper->AddXY(1, 1);
  series->SetMultiArea(maStacked100);
  Paint();
  const auto lower = Ops(rkFillPath, 0), top = Ops(rkFillPath, 1);
  ASSERT_EQ(lower.size(), 1u);
  ASSERT_EQ(top.size(), 1u);
  const auto v = Vertices(*lower[0]);
  ASSERT_EQ(v.size(), 4u);
  EXPECT_EQ(v[0], Pixel(0, 25));
  EXPECT_EQ(v[1], Pixel(1, 75));
  const auto u = Vertices(*top[0]);
  ASSERT_EQ(u.size(), 4u);
  EXPECT_EQ(u[0], Pixel(0, 100));
  EXPECT_EQ(u[1], Pixel(1, 100));
  EXPECT_EQ(upper->MaxYValue(), 100);
  EXPECT_EQ(series->MinYValue(), 0);
}

TEST_F(AreaSeriesTest, NullOrNonFinitePointsSplitTheArea) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  for (bool nonFinite : {false, true}) {
    series->Clear();
    for (int i = 0; i < 5; ++i) {
      if (i == 2)
        nonFinite ? series->AddXY(i, nan) : series->AddNullXY(i, 50);
      else
        series->AddXY(i, 10 + i);
    }
    Paint();
    const auto fills = Ops(rkFillPath);
    ASSERT_EQ(fills.size(), 2u) << nonFinite;
    EXPECT_EQ(Vertices(*fills[0])[1], Pixel(1, 11));
    EXPECT_EQ(Vertices(*fills[1])[0], Pixel(3, 13));
  }
  // Skipped nulls: one piece bridging the null point.
  series->SetTreatNulls(tnSkip);
  series->SetNull(2, true);
  series->YValues()->SetValue(2, 12);
  Paint();
  ASSERT_EQ(Ops(rkFillPath).size(), 1u);
  EXPECT_EQ(Vertices(*Ops(rkFillPath)[0]).size(), 6u);
}

TEST_F(AreaSeriesTest, StairsFillUnderTheSteps) {
  series->AddXY(0, 10);
  series->AddXY(1, 20);
  series->SetStairs(true);
  Paint();
  const auto fills = Ops(rkFillPath);
  ASSERT_EQ(fills.size(), 1u);
  const TPointF a = Pixel(0, 10), b = Pixel(1, 20);
  const auto v = Vertices(*fills[0]);
  ASSERT_EQ(v.size(), 5u);
  EXPECT_EQ(v[0], a);
  EXPECT_EQ(v[1], (TPointF{b.X, a.Y}));
  EXPECT_EQ(v[2], b);
}

TEST_F(AreaSeriesTest, GradientAndTransparencyReachTheFill) {
  series->AddXY(0, 10);
  series->AddXY(1, 20);
  series->Brush()->Gradient()->SetVisible(true);
  series->Brush()->Gradient()->SetStartColor(0xFFFF0000);
  series->Brush()->Gradient()->SetEndColor(0xFF0000FF);
  Paint();
  ASSERT_EQ(Ops(rkFillPath).size(), 1u);
  const TRecordedOp* fill = Ops(rkFillPath)[0];
  EXPECT_EQ(fill->Fill.Kind, THostBrushKind::Gradient);
  ASSERT_GE(fill->Fill.Gradient.Points.size(), 2u);
  EXPECT_EQ(fill->Fill.Gradient.Points.front().Color, 0xFFFF0000u);
  series->Brush()->Gradient()->SetVisible(false);
  series->SetTransparency(50);
  Paint();
  EXPECT_EQ(Ops(rkFillPath)[0]->Fill.Kind, THostBrushKind::Solid);
  EXPECT_NEAR(Ops(rkFillPath)[0]->Opacity, 0.5, 0.01);
}

TEST_F(AreaSeriesTest, ClickedInsideTheArea) {
  series->AddXY(0, 0);
  series->AddXY(10, 100);
  series->AddXY(20, 100);
  series->SetUseYOrigin(true);
  Paint();
  struct Case {
    double x, y;
    int expected;
  } cases[] = {{5, 20, 0}, {5, 45, 0}, {5, 60, -1}, {15, 90, 1}, {15, 99, 1}, {15, 110, -1}};
  for (const Case& c : cases) {
    const TPointF p = Pixel(c.x, c.y);
    EXPECT_EQ(series->Clicked(static_cast<int>(p.X), static_cast<int>(p.Y)), c.expected) << c.x << "," << c.y;
  }
}

TEST_F(AreaSeriesTest, LegendSymbolIsAFilledBox) {
  series->AddXY(0, 1);
  series->SetSeriesColor(0xFF55AA00);
  const auto ops = LegendSymbolOps(series, TRectF{10, 20, 30, 30});
  int fills = 0;
  for (const TRecordedOp& op : ops)
    if (op.Kind == rkFillRect) {
      ++fills;
      EXPECT_EQ(op.Rect, (TRectF{10, 20, 30, 30}));
      EXPECT_EQ(op.Fill.Color, 0xFF55AA00u);
    }
  EXPECT_EQ(fills, 1);
}

TEST_F(AreaSeriesTest, In3DTheAreaLiesAtItsDepth) {
  chart.SetView3D(true);
  series->AddXY(0, 10);
  series->AddXY(1, 20);
  Paint();
  ASSERT_GT(series->MiddleZ, 0);
  const auto fills = Ops(rkFillPath);
  ASSERT_EQ(fills.size(), 1u);
  const TPointF a = Pixel(0, 10);
  const TPointF want = chart.Canvas()->Calculate3DPosition(a.X, a.Y, static_cast<float>(series->MiddleZ));
  EXPECT_EQ(Vertices(*fills[0])[0], want);
}

}  // namespace
}  // namespace sextant::testing

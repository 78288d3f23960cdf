// A chart in the orthogonal 3D view on the recording canvas: the bottom
// axis' labels and the grid are drawn, the depth takes the room the flat
// plot had, the walls are polygons with depth, each series stands in its
// own depth slot, thick walls push the axes out, text at depth 0 follows
// the view offsets, and hit tests and label bounds use the projection.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>

#include "axes/axis_labels.h"
#include "axes/chart_axis.h"
#include "canvas/brush.h"
#include "marks/series_marks.h"
#include "chart_layout_fixture.h"

using namespace sextant;
using sextant::testing::LayoutTest;

namespace {

constexpr TColor kGrid = 0xFFC0C0C0;
constexpr TColor kLeftWall = 0xFFFFFF80;

// The points of a recorded path (its moves and lines).
std::vector<TPointF> PathPoints(const THostPath& Path) {
  std::vector<TPointF> points;
  for (const THostPathCommand& c : Path.Commands())
    if (c.Op == THostPathCommand::MoveTo || c.Op == THostPathCommand::LineTo) points.push_back(c.A);
  return points;
}

class View3DChart : public LayoutTest {
 protected:
  View3DChart() { chart.SetView3D(true); }

  // X 0 .. 9 with Y 10 .. 19.
  TFastLineSeries* AddSeries(TColor Color) {
    TFastLineSeries* s = AddLine(10);
    s->SetSeriesColor(Color);
    return s;
  }
  // The screen shift of depth Z in the last paint's projection.
  TPointF Shift(int Z) {
    const TPointF o = chart.Canvas()->Calculate3DPosition(0.0f, 0.0f, 0.0f);
    const TPointF p = chart.Canvas()->Calculate3DPosition(0.0f, 0.0f, static_cast<float>(Z));
    return {p.X - o.X, p.Y - o.Y};
  }
  std::vector<const TRecordedOp*> FillsOf(TColor Color) const {
    std::vector<const TRecordedOp*> result;
    for (const TRecordedOp* op : rec.OpsOf(rkFillPath))
      if (op->Fill.Color == Color) result.push_back(op);
    return result;
  }
  bool HasLine(TPointF A, TPointF B, TColor Color) const {
    for (const TRecordedOp* op : LinesOf(Color))
      if ((op->P1 == A && op->P2 == B) || (op->P1 == B && op->P2 == A)) return true;
    return false;
  }
};

TEST_F(View3DChart, DefaultChartShowsItsBottomLabelsAndGridWithDepth) {
  AddSeries(0xFF0000FF);
  Paint();
  const int W = chart.Width3D();
  const int H = chart.Height3D();
  ASSERT_GT(W, 0);
  EXPECT_EQ(H, W);  // 45 degrees

  // The bottom axis is drawn once, by the walls: its labels stand below
  // the plot, one per tick.
  TChartAxis* bottom = chart.BottomAxis();
  ASSERT_GE(bottom->Tick.size(), 3u);
  const TRecordedOp* zero = TextOp("0");
  ASSERT_NE(zero, nullptr);
  EXPECT_GT(zero->Rect.Top, chart.ChartRect.Bottom);
  EXPECT_EQ(bottom->Items()->Count(), static_cast<int>(bottom->Tick.size()));

  // Grid of the bottom axis: on the back wall and along the bottom wall
  // from the front to the back; of the left axis: on the back wall and
  // along the left wall.
  const TRectF& r = chart.ChartRect;
  const float top = static_cast<float>(KelRound(r.Top + 1)), low = static_cast<float>(KelRound(r.Bottom));
  const float left = static_cast<float>(KelRound(r.Left + 1)), right = static_cast<float>(KelRound(r.Right));
  const float w = static_cast<float>(W), h = static_cast<float>(H);
  int vertical = 0;
  for (int P : bottom->Tick) {
    if (!(bottom->IStartPos < P && P < bottom->IEndPos)) continue;
    const float x = static_cast<float>(P);
    EXPECT_TRUE(HasLine({x + w, top - h}, {x + w, low - h}, kGrid)) << P;
    EXPECT_TRUE(HasLine({x, low}, {x + w, low - h}, kGrid)) << P;
    ++vertical;
  }
  EXPECT_GE(vertical, 2);
  TChartAxis* leftAxis = chart.LeftAxis();
  int horizontal = 0;
  for (int P : leftAxis->Tick) {
    if (!(leftAxis->IStartPos < P && P < leftAxis->IEndPos)) continue;
    const float y = static_cast<float>(P);
    EXPECT_TRUE(HasLine({left + w, y - h}, {right + w, y - h}, kGrid)) << P;
    EXPECT_TRUE(HasLine({left, y}, {left + w, y - h}, kGrid)) << P;
    ++horizontal;
  }
  EXPECT_GE(horizontal, 2);
}

TEST_F(View3DChart, DepthTakesTheRoomOfTheFlatPlot) {
  const struct {
    int angle;
    int series;
    int percent;
  } cases[] = {{45, 1, 15}, {45, 3, 15}, {30, 2, 100}, {60, 2, 100}, {80, 1, 100}, {135, 2, 100}};
  // Label room of a fixed size: the taller flat plot may get other labels.
  chart.LeftAxis()->Labels()->SetSize(30);
  for (const auto& c : cases) {
    SCOPED_TRACE("angle " + std::to_string(c.angle) + ", " + std::to_string(c.series) + " series");
    chart.FreeAllSeries();
    for (int i = 0; i < c.series; ++i) AddSeries(0xFF000000 + i);
    chart.SetChart3DPercent(c.percent);
    chart.View3DOptions()->SetOrthoAngle(c.angle);
    chart.SetView3D(false);
    Paint();
    const TRectF flat = chart.ChartRect;
    chart.SetView3D(true);
    Paint();
    const TRectF deep = chart.ChartRect;
    const int W = chart.Width3D(), H = chart.Height3D();
    const double r = chart.View3DOptions()->OrthoRatio();
    EXPECT_EQ(W, c.series * chart.SeriesWidth3D());
    EXPECT_EQ(H, c.series * chart.SeriesHeight3D());
    EXPECT_EQ(chart.SeriesHeight3D(), KelRound(chart.SeriesWidth3D() * r));
    EXPECT_GT(W, 0);
    // The back of the box ends where the flat plot ended.
    const TPointF back = Shift(W);
    EXPECT_FLOAT_EQ(back.Y, static_cast<float>(-W * r));
    EXPECT_FLOAT_EQ(deep.Top - H, flat.Top);
    EXPECT_FLOAT_EQ(deep.Bottom, flat.Bottom);
    if (c.angle <= 90) {
      EXPECT_FLOAT_EQ(back.X, static_cast<float>(W));
      EXPECT_FLOAT_EQ(deep.Right + W, flat.Right);
      EXPECT_FLOAT_EQ(deep.Left, flat.Left);
    } else {
      // Depth to the left, and a pixel for the visible left wall.
      EXPECT_FLOAT_EQ(back.X, static_cast<float>(-W));
      EXPECT_FLOAT_EQ(deep.Left - W - 1, flat.Left);
      EXPECT_FLOAT_EQ(deep.Right, flat.Right);
    }
  }
}

TEST_F(View3DChart, WallsArePlanesWithDepth) {
  AddSeries(0xFF0000FF);
  Paint();
  const float w = static_cast<float>(chart.Width3D()), h = static_cast<float>(chart.Height3D());
  const TRectF& r = chart.ChartRect;
  // The box's front: the flat back wall's rectangle.
  const float L = r.Left, T = static_cast<float>(KelRound(r.Top)), R = r.Right + 1;
  const float B = static_cast<float>(KelRound(r.Bottom) + 1);

  const auto leftFills = FillsOf(kLeftWall);
  ASSERT_EQ(leftFills.size(), 1u);
  EXPECT_EQ(PathPoints(leftFills[0]->Path),
            (std::vector<TPointF>{{L, T}, {L + w, T - h}, {L + w, B - h}, {L, B}}));

  const auto floorFills = FillsOf(claWhite);
  ASSERT_EQ(floorFills.size(), 1u);
  EXPECT_EQ(PathPoints(floorFills[0]->Path),
            (std::vector<TPointF>{{L, B}, {R, B}, {R + w, B - h}, {L + w, B - h}}));

  // The back wall is transparent: its frame only, at the back.
  bool backFrame = false;
  for (const TRecordedOp* op : rec.OpsOf(rkDrawPath))
    backFrame |= PathPoints(op->Path) ==
                 std::vector<TPointF>{{L + w, T - h}, {R + w, T - h}, {R + w, B - h}, {L + w, B - h}};
  EXPECT_TRUE(backFrame);

  // Without walls the bottom axis still shows.
  chart.SetView3DWalls(false);
  Paint();
  EXPECT_TRUE(FillsOf(kLeftWall).empty());
  EXPECT_NE(TextOp("0"), nullptr);
}

TEST_F(View3DChart, EachSeriesStandsInItsOwnDepthSlot) {
  TFastLineSeries* first = AddSeries(0xFF0000FF);
  TFastLineSeries* second = AddSeries(0xFF00FF00);
  first->Marks();  // marks that exist take the series' depth
  Paint();
  const int slot = chart.SeriesWidth3D();
  ASSERT_GT(slot, 0);
  // The first series at the back, the second in front of it.
  EXPECT_EQ(first->StartZ, slot);
  EXPECT_EQ(first->EndZ, 2 * slot);
  EXPECT_EQ(first->MiddleZ, (3 * slot) / 2);
  EXPECT_EQ(second->StartZ, 0);
  EXPECT_EQ(second->MiddleZ, slot / 2);
  EXPECT_EQ(first->Marks()->ZPosition(), first->MiddleZ);

  // Every segment joins the points moved by the series' depth, and the
  // back series is drawn before the front one.
  std::size_t lastOfFirst = 0, firstOfSecond = rec.Ops().size();
  for (TFastLineSeries* s : {first, second}) {
    const TPointF d = Shift(s->MiddleZ);
    const auto lines = LinesOf(s->SeriesColor());
    ASSERT_EQ(lines.size(), 9u);
    for (int i = 1; i < 10; ++i) {
      const TRecordedOp* op = lines[static_cast<std::size_t>(i - 1)];
      EXPECT_EQ(op->P1, (TPointF{s->CalcXPos(i - 1) + d.X, s->CalcYPos(i - 1) + d.Y}));
      EXPECT_EQ(op->P2, (TPointF{s->CalcXPos(i) + d.X, s->CalcYPos(i) + d.Y}));
    }
    if (s == first) lastOfFirst = IndexOf(lines.back());
    if (s == second) firstOfSecond = IndexOf(lines.front());
  }
  EXPECT_LT(lastOfFirst, firstOfSecond);

  // A fixed slot and depth: the second series at the back (slot 0 of 1).
  second->SetZOrder(1);
  first->SetZOrder(0);
  second->SetDepth(4);
  Paint();
  EXPECT_EQ(first->StartZ, slot);
  EXPECT_EQ(second->StartZ, 0);
  EXPECT_EQ(second->EndZ, 4);
  EXPECT_EQ(second->MiddleZ, 2);

  // Without separate slots both share the one slot.
  chart.SetApplyZOrder(false);
  Paint();
  EXPECT_EQ(chart.Width3D(), slot);
  EXPECT_EQ(first->StartZ, 0);
  EXPECT_EQ(second->StartZ, 0);

  // A flat chart has no depth at all.
  chart.SetView3D(false);
  Paint();
  EXPECT_EQ(first->MiddleZ, 0);
  EXPECT_EQ(second->EndZ, 0);
}

TEST_F(View3DChart, ThickWallsPushTheAxesOutAndDarkenTheirOuterFaces) {
  AddSeries(0xFF0000FF);
  Paint();
  // Gaps between the plot and the bottom and left labels.
  const float below = TextOp("0")->Rect.Top - chart.ChartRect.Bottom;
  const float beside = chart.ChartRect.Left - TextOp("10")->Rect.Right;
  chart.Walls()->SetSize(5);
  Paint();
  EXPECT_EQ(chart.CalcWallSize(chart.LeftAxis()), 5);
  EXPECT_EQ(chart.CalcWallSize(chart.BottomAxis()), 5);
  EXPECT_EQ(chart.CalcWallSize(chart.TopAxis()), 0);
  // The labels stand outside the walls' thickness.
  EXPECT_EQ(TextOp("0")->Rect.Top - chart.ChartRect.Bottom, below + 5);
  EXPECT_EQ(chart.ChartRect.Left - TextOp("10")->Rect.Right, beside + 5);

  // The left wall is a box: the face towards the plot in the wall colour,
  // its top and front darker.
  EXPECT_EQ(FillsOf(kLeftWall).size(), 1u);
  EXPECT_EQ(FillsOf(ApplyDark(kLeftWall, 32)).size(), 1u);
  EXPECT_EQ(FillsOf(ApplyDark(kLeftWall, 48)).size(), 1u);
  chart.LeftWall()->SetDark3D(false);
  Paint();
  EXPECT_EQ(FillsOf(kLeftWall).size(), 3u);
}

TEST_F(View3DChart, TextAtTheFrontFollowsTheViewOffsets) {
  AddSeries(0xFF0000FF);
  Paint();
  const TRectF at = TextOp("0")->Rect;
  chart.View3DOptions()->SetHorizOffset(10);
  chart.View3DOptions()->SetVertOffset(-4);
  Paint();
  EXPECT_EQ(TextOp("0")->Rect.Left, at.Left + 10);
  EXPECT_EQ(TextOp("0")->Rect.Top, at.Top - 4);
}

TEST_F(View3DChart, HitTestsAndLabelBoundsUseTheProjection) {
  TFastLineSeries* s = AddSeries(0xFF0000FF);
  s->SetVertAxis(aRightAxis);
  Paint();
  // A click on the drawn point finds it.
  const TPointF d = Shift(s->MiddleZ);
  ASSERT_NE(d.X, 0);
  EXPECT_EQ(s->Clicked(KelRound(s->CalcXPos(4) + d.X), KelRound(s->CalcYPos(4) + d.Y)), 4);

  // The right axis stands at the back: its labels' saved bounds are where
  // they are drawn.
  TChartAxis* right = chart.RightAxis();
  ASSERT_GT(right->Items()->Count(), 0);
  for (int i = 0; i < right->Items()->Count(); ++i) {
    TAxisItem* item = right->Items()->Items(i);
    const TRectF bounds = PolygonBounds(item->RotatedBounds);
    const TRecordedOp* text = TextOp(item->Text());
    ASSERT_NE(text, nullptr);
    EXPECT_GE(text->Rect.Left, bounds.Left - 1) << item->Text();
    EXPECT_LE(text->Rect.Right, bounds.Right + 1) << item->Text();
    EXPECT_GE(text->Rect.Top, bounds.Top - 1) << item->Text();
    EXPECT_LE(text->Rect.Bottom, bounds.Bottom + 1) << item->Text();
  }
}

}  // namespace

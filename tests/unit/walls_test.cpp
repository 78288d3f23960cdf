// Chart walls: defaults, the flat back wall's rectangle and drawing, when
// walls are drawn, and the back wall's part in series colours and the
// background colour.
#include <gtest/gtest.h>

#include "canvas/brush.h"
#include "canvas/pen.h"
#include "canvas/shadow.h"
#include "chart_layout_fixture.h"

using namespace sextant;
using sextant::testing::LayoutTest;

namespace {

class WallsTest : public LayoutTest {};

TEST_F(WallsTest, Defaults) {
  struct {
    const char* name;
    TCustomChartWall* wall;
    TColor color;
    bool visible;
    bool transparent;
  } cases[] = {
      {"back", chart.BackWall(), claSilver, true, true},
      {"left", chart.LeftWall(), 0xFFFFFF80, true, false},
      {"bottom", chart.BottomWall(), claWhite, true, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    EXPECT_EQ(c.wall->Color(), c.color);
    EXPECT_EQ(c.wall->DefaultColor(), c.color);
    EXPECT_EQ(c.wall->Visible(), c.visible);
    EXPECT_EQ(c.wall->Transparent(), c.transparent);
    EXPECT_FALSE(c.wall->AutoHide());
    EXPECT_TRUE(c.wall->Dark3D());
    EXPECT_EQ(c.wall->StartPosition(), 0);
    EXPECT_EQ(c.wall->EndPosition(), 100);
    EXPECT_EQ(c.wall->Size(), 0);
  }
  // The back wall's shadow is there but hidden, dark grey, size kept.
  const TKelShadow* shadow = chart.BackWall()->Shadow();
  EXPECT_FALSE(shadow->Visible());
  EXPECT_EQ(shadow->Color(), claDarkGray);
  EXPECT_EQ(shadow->Size(), 3);
  EXPECT_FALSE(chart.BackWall()->Emboss()->Visible());
  EXPECT_EQ(chart.BackWall()->Emboss()->Color(), claDarkGray);
  EXPECT_TRUE(chart.BackWall()->DefaultTransparent());
  // The right wall: created on first access, hidden.
  EXPECT_FALSE(chart.Walls()->HasRight());
  TChartRightWall* right = chart.RightWall();
  EXPECT_TRUE(chart.Walls()->HasRight());
  EXPECT_FALSE(right->Visible());
  EXPECT_FALSE(right->DefaultVisible());
  EXPECT_EQ(right->Color(), claSilver);
  // A wall of no particular kind has no colour of its own.
  TChartWall plain(&chart);
  EXPECT_EQ(plain.Color(), clKelColor);
}

TEST_F(WallsTest, WallsSettingsForAll) {
  TChartWalls* walls = chart.Walls();
  EXPECT_TRUE(walls->Visible());
  walls->Hide();
  EXPECT_FALSE(chart.BackWall()->Visible());
  EXPECT_FALSE(chart.LeftWall()->Visible());
  EXPECT_FALSE(chart.BottomWall()->Visible());
  EXPECT_FALSE(walls->Visible());
  walls->Show();
  EXPECT_TRUE(walls->Visible());
  EXPECT_FALSE(walls->HasRight());  // not created by Show
  walls->SetSize(4);
  EXPECT_EQ(chart.LeftWall()->Size(), 4);
  EXPECT_EQ(walls->Size(), 4);
}

struct RectCase {
  const char* name;
  int start, end;
  TRectF expected;
};

TEST_F(WallsTest, BackWallRectangle) {
  const TRectF chartRect{40, 20, 340, 220};
  const RectCase cases[] = {
      // The whole height: one pixel wider to the right and one lower.
      {"full", 0, 100, {40, 20, 341, 221}},
      // Half-way up and not extended.
      {"end 50", 0, 50, {40, 20, 341, 120}},
      {"start 50", 50, 100, {40, 120, 341, 221}},
      {"start 25 end 75", 25, 75, {40, 70, 341, 170}},
  };
  for (const RectCase& c : cases)
    EXPECT_EQ(BackWallRect(chartRect, c.start, c.end, 0), c.expected) << c.name;
  // A bottom wall thickness extends the bottom.
  EXPECT_EQ(BackWallRect(chartRect, 0, 100, 5), (TRectF{40, 20, 341, 226}));
}

TEST_F(WallsTest, TheFlatBackWallIsAFrameAroundThePlot) {
  AddPoints({{0, 0}, {10, 10}});
  Paint();
  const TRectF r = chart.ChartRect;
  const TRecordedOp* frame = nullptr;
  for (const TRecordedOp* op : rec.OpsOf(rkDrawRect))
    if (op->Rect == TRectF{r.Left, r.Top, r.Right + 1, r.Bottom + 1}) frame = op;
  ASSERT_NE(frame, nullptr);
  EXPECT_EQ(frame->Stroke.Color, claBlack);
  EXPECT_EQ(frame->Stroke.Thickness, 1);
  // Transparent: not filled; no shadow.
  for (const TRecordedOp* op : rec.OpsOf(rkFillRect)) EXPECT_NE(op->Rect, frame->Rect);
  EXPECT_EQ(rec.Count(rkFillPath), 0u);
  // Drawn before the axes.
  const auto axisLines = LinesOf(claBlack);
  ASSERT_FALSE(axisLines.empty());
  EXPECT_LT(IndexOf(frame), IndexOf(axisLines.front()));

  // Half-way up.
  chart.BackWall()->SetEndPosition(50);
  Paint();
  const TRectF half = BackWallRect(chart.ChartRect, 0, 50, 0);
  EXPECT_EQ(half.Bottom, KelRound(r.Bottom) - KelRound((r.Bottom - r.Top) * 0.5));
  bool found = false;
  for (const TRecordedOp* op : rec.OpsOf(rkDrawRect)) found |= op->Rect == half;
  EXPECT_TRUE(found);
}

TEST_F(WallsTest, AFilledBackWall) {
  AddPoints({{0, 0}, {10, 10}});
  TChartBackWall* wall = chart.BackWall();
  wall->SetTransparent(false);
  wall->SetColor(0xFF102030);
  Paint();
  const TRectF r = chart.ChartRect;
  const TRectF expected{r.Left, r.Top, r.Right + 1, r.Bottom + 1};
  bool filled = false;
  for (const TRecordedOp* op : rec.OpsOf(rkFillRect))
    filled |= op->Rect == expected && op->Fill.Color == 0xFF102030;
  EXPECT_TRUE(filled);
  // The background colour is now the wall's.
  EXPECT_EQ(chart.GetBackColor(), 0xFF102030u);
  wall->SetVisible(false);
  EXPECT_EQ(chart.GetBackColor(), chart.Color());
}

// A series that does not use axes (like a pie).
class NoAxesSeries : public TFastLineSeries {
 public:
  bool UseAxis() const override { return false; }
};

TEST_F(WallsTest, WhenWallsAreDrawn) {
  auto frames = [this] {
    int n = 0;
    const TRectF r = chart.ChartRect;
    for (const TRecordedOp* op : rec.OpsOf(rkDrawRect))
      n += op->Rect == TRectF{r.Left, r.Top, r.Right + 1, r.Bottom + 1};
    return n;
  };
  Paint();  // no series: the walls are drawn
  EXPECT_EQ(frames(), 1);
  auto* s = new NoAxesSeries();
  s->AddXY(0, 1);
  chart.AddSeries(s);
  Paint();  // only series without axes: no walls
  EXPECT_EQ(frames(), 0);
  s->SetActive(false);
  Paint();  // no active series: walls again
  EXPECT_EQ(frames(), 1);
  s->SetActive(true);
  AddPoints({{0, 0}, {1, 1}});
  Paint();  // one series with axes is enough
  EXPECT_EQ(frames(), 1);
  chart.BackWall()->SetAutoHide(true);
  Paint();
  EXPECT_EQ(frames(), 0);
  chart.BackWall()->SetAutoHide(false);
  chart.SetView3DWalls(false);
  Paint();
  EXPECT_EQ(frames(), 0);
}

TEST_F(WallsTest, SeriesColoursAvoidTheBackWallColour) {
  // Palette 13 starts with 0xFF4466A3; a back wall of that colour makes
  // the first series take the second palette colour.
  chart.BackWall()->SetColor(0xFF4466A3);
  TFastLineSeries* s = AddPoints({{0, 0}});
  EXPECT_EQ(s->SeriesColor(), 0xFFF39C35u);
  EXPECT_FALSE(chart.IsFreeSeriesColor(0xFF4466A3, true, nullptr));
  EXPECT_TRUE(chart.IsFreeSeriesColor(0xFF4466A3, false, nullptr));
}

}  // namespace

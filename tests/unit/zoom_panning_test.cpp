// Zoom and panning with the mouse: clicked parts and click events, the
// panning drag, the zoom drag and its rectangle, zoom operations and undo
// (with and without history), wheel panning and zoom, saved scales, the
// cursor of a plain move and the mouse leave.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "axes/axis_labels.h"
#include "axes/chart_axis.h"
#include "canvas/pen.h"
#include "canvas/text_selection.h"
#include "panel/titles.h"
#include "chart_fixture.h"
#include "panel/zoom_panning.h"

using namespace sextant;
using sextant::testing::BlankChartTest;
using sextant::testing::LogTool;

namespace {

constexpr TMouseButton L = TMouseButton::mbLeft;
constexpr TMouseButton R = TMouseButton::mbRight;

class ZoomPanTest : public BlankChartTest {
 protected:
  ZoomPanTest() {
    line = AddLine(100);
    chart.SetAllowZoom(false);
    chart.SetAllowPanning(pmHorizontal);
    chart.OnScroll = [this](TPersistent*) { ++scrolls; };
  }
  // Each paint records afresh.
  void Paint() {
    rec.ClearOps();
    BlankChartTest::Paint();
  }
  void Down(TMouseButton B, float X, float Y, TShiftState S = 0) { chart.HostMouseDown(B, S, X, Y); }
  void MoveTo(float X, float Y, TShiftState S = 0) { chart.HostMouseMove(S, X, Y); }
  void Up(TMouseButton B, float X, float Y) { chart.HostMouseUp(B, 0, X, Y); }
  void Drag(TMouseButton B, float X0, float Y0, float X1, float Y1) {
    Down(B, X0, Y0);
    MoveTo(X1, Y1);
    Up(B, X1, Y1);
  }
  void Paged() {
    chart.SetMaxPointsPerPage(10);
    chart.SetPage(10);
    Paint();
  }
  // Draws of a rectangle with the zoom pen (silver, 3 pixels).
  int ZoomRectangles() const {
    int n = 0;
    for (const TRecordedOp* op : rec.OpsOf(rkDrawRect))
      if (op->Stroke.Color == 0xFFC0C0C0u && op->Stroke.Thickness == 3) ++n;
    return n;
  }
  TChartAxis* Bottom() { return chart.BottomAxis(); }

  TFastLineSeries* line = nullptr;
  int scrolls = 0;
};

// ---- Panning -----------------------------------------------------------------------------

TEST_F(ZoomPanTest, RightDragMovesTheHorizontalAxes) {
  line->SetHorizAxis(aBothHorizAxis);
  Paint();
  TChartAxis* top = chart.TopAxis();
  const double d = Bottom()->CalcPosPoint(300) - Bottom()->CalcPosPoint(250);
  const double dTop = top->CalcPosPoint(300) - top->CalcPosPoint(250);
  const double bMin = Bottom()->IMinimum, bMax = Bottom()->IMaximum;
  const double tMin = top->IMinimum, tMax = top->IMaximum;
  ASSERT_GT(d, 0);

  Down(R, 300, 200);
  EXPECT_TRUE(chart.Panning()->Active());
  EXPECT_EQ(host.Captures, 1);
  const int before = host.Invalidates;
  MoveTo(250, 260);
  EXPECT_DOUBLE_EQ(Bottom()->Minimum(), bMin + d);
  EXPECT_DOUBLE_EQ(Bottom()->Maximum(), bMax + d);
  EXPECT_DOUBLE_EQ(top->Minimum(), tMin + dTop);
  EXPECT_DOUBLE_EQ(top->Maximum(), tMax + dTop);
  EXPECT_FALSE(Bottom()->Automatic());
  EXPECT_TRUE(chart.LeftAxis()->Automatic());
  EXPECT_TRUE(chart.RightAxis()->Automatic());
  EXPECT_EQ(scrolls, 1);
  EXPECT_GT(host.Invalidates, before);
  EXPECT_FALSE(chart.RestoredAxisScales);

  // The same position again does nothing.
  MoveTo(250, 260);
  EXPECT_EQ(scrolls, 1);
  // Without a paint in between the next move measures from the same layout.
  MoveTo(240, 100);
  EXPECT_NEAR(Bottom()->Minimum(),
              bMin + (Bottom()->CalcPosPoint(250) - Bottom()->CalcPosPoint(240)), 1e-12);
  Up(R, 240, 100);
  EXPECT_FALSE(chart.Panning()->Active());
  EXPECT_EQ(host.Releases, 1);
}

TEST_F(ZoomPanTest, VerticalAndBothModes) {
  Paint();
  const double lMin = chart.LeftAxis()->IMinimum;
  const double d = chart.LeftAxis()->CalcPosPoint(100) - chart.LeftAxis()->CalcPosPoint(150);
  chart.SetAllowPanning(pmVertical);
  Drag(R, 200, 100, 260, 150);
  EXPECT_TRUE(Bottom()->Automatic());
  EXPECT_DOUBLE_EQ(chart.LeftAxis()->Minimum(), lMin + d);
  chart.SetAllowPanning(pmBoth);
  Paint();
  Drag(R, 200, 100, 260, 150);
  EXPECT_FALSE(Bottom()->Automatic());
  chart.SetAllowPanning(pmNone);
  Down(R, 200, 100);
  EXPECT_FALSE(chart.Panning()->Active());
}

TEST_F(ZoomPanTest, LeftDragWithZoomOffDoesNothing) {
  Paint();
  Down(L, 100, 100);
  EXPECT_FALSE(chart.Zoom()->Active());
  EXPECT_FALSE(chart.Panning()->Active());
  MoveTo(250, 220);
  Paint();
  Up(L, 250, 220);
  Paint();
  EXPECT_EQ(ZoomRectangles(), 0);
  EXPECT_TRUE(Bottom()->Automatic());
  EXPECT_TRUE(chart.LeftAxis()->Automatic());
  EXPECT_FALSE(chart.Zoomed());
  EXPECT_EQ(scrolls, 0);
}

TEST_F(ZoomPanTest, WhichPressesStartPanning) {
  Paint();
  const TRectF plot = chart.ChartRect;
  // A press on the line (no click events: series are not hit-tested).
  const TPointF onLine{static_cast<float>(line->CalcXPos(50)),
                       static_cast<float>(line->CalcYPos(50))};
  const TRectF axis = Bottom()->AxisRect();
  const TPointF onAxis{(axis.Left + axis.Right) / 2, (axis.Top + axis.Bottom) / 2};
  const struct {
    const char* name;
    TPointF p;
    bool pans;
  } cases[] = {
      {"line", onLine, true},
      {"plot", {plot.Left + 5, plot.Top + 5}, true},
      {"plot edge", {plot.Right, plot.Bottom}, true},
      {"axis", onAxis, true},
      {"outside", {plot.Right + 5, plot.Top - 5}, false},
      {"corner", {1, 1}, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_FALSE(PointInRect(Bottom()->AxisRect(), c.p) && !c.pans);
    Down(R, c.p.X, c.p.Y);
    EXPECT_EQ(chart.Panning()->Active(), c.pans);
    Up(R, c.p.X, c.p.Y);
  }
  // Without any active series the plot area is no clicked part.
  line->SetActive(false);
  Down(R, plot.Left + 5, plot.Top + 5);
  EXPECT_FALSE(chart.Panning()->Active());
}

TEST_F(ZoomPanTest, ClickEventsAndHandledClicks) {
  Paint();
  const TPointF onLine{static_cast<float>(line->CalcXPos(50)),
                       static_cast<float>(line->CalcYPos(50))};
  std::vector<std::string> log;
  chart.OnClickSeries = [&](TPersistent*, TChartSeries* s, int index, TMouseButton, TShiftState,
                            int, int) {
    log.push_back("series " + std::to_string(index) + (s == line ? " line" : ""));
  };
  chart.OnClickBackground = [&](TPersistent*, TMouseButton, TShiftState, int, int) {
    log.push_back("background");
  };
  line->OnClick = [&](TChartSeries*, int) { log.push_back("click"); };
  line->OnDblClick = [&](TChartSeries*, int) { log.push_back("dblclick"); };

  // Handlers leave CancelMouse set: handled, no panning, no background.
  Down(R, onLine.X, onLine.Y);
  ASSERT_EQ(log.size(), 2u);
  EXPECT_EQ(log[0], "click");
  EXPECT_EQ(log[1].rfind("series ", 0), 0u);
  EXPECT_NE(log[1].find(" line"), std::string::npos);
  EXPECT_FALSE(chart.Panning()->Active());
  EXPECT_FALSE(chart.CancelMouse());
  Up(R, onLine.X, onLine.Y);

  // A handler that clears CancelMouse lets panning start.
  log.clear();
  chart.OnClickSeries = [&](TPersistent*, TChartSeries*, int, TMouseButton, TShiftState, int,
                            int) { chart.SetCancelMouse(false); };
  Down(R, onLine.X, onLine.Y, ssDouble);
  EXPECT_EQ(log, std::vector<std::string>{"dblclick"});
  EXPECT_TRUE(chart.Panning()->Active());
  Up(R, onLine.X, onLine.Y);

  // The plot background (away from the line): OnClickBackground first;
  // handled, so no panning.
  log.clear();
  const TRectF plot = chart.ChartRect;
  Down(R, plot.Left + 5, plot.Top + 5);
  EXPECT_EQ(log, std::vector<std::string>{"background"});
  EXPECT_FALSE(chart.Panning()->Active());
  Up(R, 0, 0);
  // Outside everything: only the final OnClickBackground.
  log.clear();
  Down(R, 1, 1);
  EXPECT_EQ(log, std::vector<std::string>{"background"});
  Up(R, 0, 0);

  // An axis click.
  int axisClicks = 0;
  chart.OnClickAxis = [&](TPersistent*, TChartAxis* a, TMouseButton, TShiftState, int, int) {
    axisClicks += a == Bottom();
    chart.SetCancelMouse(false);
  };
  chart.OnClickBackground = nullptr;
  const TRectF axis = Bottom()->AxisRect();
  Down(R, (axis.Left + axis.Right) / 2, axis.Top);
  EXPECT_EQ(axisClicks, 1);
  EXPECT_TRUE(chart.Panning()->Active());
  Up(R, 0, 0);
}

TEST_F(ZoomPanTest, ToolThatTakesThePressStopsPanningAndPressesDuringADragReachNoTool) {
  Paint();
  std::vector<std::string> log;
  auto* tool = new LogTool("T", log);
  tool->SetParentChart(&chart);
  tool->CancelOn = cmeDown;
  Down(R, 200, 150);
  EXPECT_FALSE(chart.Panning()->Active());
  tool->CancelOn = -1;
  Down(R, 200, 150);
  EXPECT_TRUE(chart.Panning()->Active());
  log.clear();
  Down(L, 210, 150);
  EXPECT_TRUE(log.empty());
  // The tools see the release after panning ended.
  tool->OnMouse = [&](TChartMouseEvent e) {
    if (e == cmeUp) log.push_back(chart.Panning()->Active() ? "active" : "ended");
  };
  Up(R, 200, 150);
  EXPECT_EQ(log.back(), "ended");
}

TEST_F(ZoomPanTest, VetoedScrollStillRaisesOnScrollAndRepaints) {
  Paint();
  int asked = 0;
  chart.OnAllowScroll = [&](TPersistent*, TChartAxis*, double&, double&, bool& allow) {
    ++asked;
    allow = false;
  };
  const int before = host.Invalidates;
  Drag(R, 300, 200, 250, 200);
  EXPECT_EQ(asked, 2);  // bottom and top
  EXPECT_TRUE(Bottom()->Automatic());
  EXPECT_EQ(scrolls, 1);
  EXPECT_GT(host.Invalidates, before);

  // A handler may change the ends.
  chart.OnAllowScroll = [&](TPersistent*, TChartAxis* a, double& lo, double& hi, bool&) {
    if (a == Bottom()) {
      lo = 5;
      hi = 7;
    }
  };
  Drag(R, 300, 200, 250, 200);
  EXPECT_EQ(Bottom()->Minimum(), 5);
  EXPECT_EQ(Bottom()->Maximum(), 7);
  // Ends that are no numbers are refused.
  chart.OnAllowScroll = [&](TPersistent*, TChartAxis*, double& lo, double&, bool&) {
    lo = std::numeric_limits<double>::quiet_NaN();
  };
  Paint();
  Drag(R, 300, 200, 250, 200);
  EXPECT_EQ(Bottom()->Minimum(), 5);
}

TEST_F(ZoomPanTest, InsideBoundsPanningEndsOutsideThePlot) {
  chart.Panning()->SetInsideBounds(true);
  Paint();
  const TRectF plot = chart.ChartRect;
  Down(R, plot.Left + 20, plot.Top + 20);
  EXPECT_TRUE(chart.Panning()->Active());
  EXPECT_EQ(host.Captures, 0);
  MoveTo(plot.Right + 10, plot.Top + 20);
  EXPECT_FALSE(chart.Panning()->Active());
  EXPECT_TRUE(Bottom()->Automatic());
  // A mouse leave ends an inside-bounds drag too.
  Down(R, plot.Left + 20, plot.Top + 20);
  chart.HostMouseLeave();
  EXPECT_FALSE(chart.Panning()->Active());
}

TEST_F(ZoomPanTest, PanningAfterPagingKeepsTheAxisAndUndoRestoresIt) {
  Paged();
  EXPECT_EQ(Bottom()->Minimum(), 90);
  Drag(R, 300, 200, 250, 200);
  const double panned = Bottom()->Minimum();
  EXPECT_GT(panned, 90);
  chart.SetPage(3);
  Paint();
  EXPECT_EQ(Bottom()->Minimum(), panned);
  // Undo without history: the automatic axis comes back and pages again.
  int undos = 0;
  chart.OnUndoZoom = [&](TPersistent*) { ++undos; };
  chart.UndoZoom();
  EXPECT_EQ(undos, 1);
  EXPECT_TRUE(Bottom()->Automatic());
  EXPECT_TRUE(chart.RestoredAxisScales);
  Paint();
  EXPECT_EQ(Bottom()->Minimum(), 20);
  EXPECT_EQ(Bottom()->Maximum(), 29);
}

TEST_F(ZoomPanTest, NonFiniteEndKeepsTheOldEnd) {
  const double big = std::numeric_limits<double>::max();
  Bottom()->SetMinMax(big / 2, big);
  Paint();
  const double lo = Bottom()->IMinimum;
  const double hi = Bottom()->IMaximum;
  ASSERT_TRUE(std::isfinite(hi));
  Drag(R, 300, 200, 100, 200);  // moves right by more than the doubles hold
  EXPECT_TRUE(std::isfinite(Bottom()->Minimum()));
  EXPECT_TRUE(std::isfinite(Bottom()->Maximum()));
  EXPECT_EQ(Bottom()->Maximum(), hi);
  EXPECT_GT(Bottom()->Minimum(), lo);
}

// ---- Wheel ------------------------------------------------------------------------------

TEST_F(ZoomPanTest, WheelStepsMoveTheHorizontalAxes) {
  Paged();
  std::vector<std::string> log;
  auto* tool = new LogTool("T", log);
  tool->SetParentChart(&chart);
  host.CursorPosition = {120.4f, 80.6f};
  chart.HostMouseWheel(0, 120);
  EXPECT_NEAR(Bottom()->Minimum(), 90.27, 1e-12);
  EXPECT_NEAR(Bottom()->Maximum(), 99.27, 1e-12);
  EXPECT_TRUE(chart.LeftAxis()->Automatic());
  EXPECT_EQ(log, std::vector<std::string>{"T:WheelUp(120,120,81)"});

  // Inverted: a turn up moves down and tells the tools "down".
  chart.Panning()->SetMouseWheel(pmwInverted);
  chart.HostMouseWheel(0, 120);
  EXPECT_NEAR(Bottom()->Minimum(), 90.27 - 0.27, 1e-12);
  EXPECT_EQ(log.back(), "T:WheelDown(120,120,81)");

  // A veto keeps the axis.
  chart.OnAllowScroll = [](TPersistent*, TChartAxis*, double&, double&, bool& allow) {
    allow = false;
  };
  const double before = Bottom()->Minimum();
  chart.HostMouseWheel(0, -120);
  EXPECT_EQ(Bottom()->Minimum(), before);

  // With panning on both axes the wheel moves the vertical ones.
  chart.OnAllowScroll = nullptr;
  chart.SetAllowPanning(pmBoth);
  chart.Panning()->SetMouseWheel(pmwNormal);
  const double leftMin = chart.LeftAxis()->Minimum();
  const double leftRange = chart.LeftAxis()->Maximum() - leftMin;
  chart.HostMouseWheel(0, 120);
  EXPECT_NEAR(chart.LeftAxis()->Minimum(), leftMin + leftRange * 0.03, 1e-12);
}

TEST_F(ZoomPanTest, WheelZoomAndViewZoom) {
  Paint();
  chart.Panning()->SetMouseWheel(pmwNone);
  // No wheel setting applies: nothing moves.
  chart.HostMouseWheel(0, 120);
  EXPECT_TRUE(Bottom()->Automatic());

  chart.SetAllowZoom(true);
  chart.Zoom()->SetMouseWheel(pmwNormal);
  const double lo = Bottom()->CalcPosPoint(Bottom()->IStartPos);
  const double hi = Bottom()->CalcPosPoint(Bottom()->IEndPos);
  chart.HostMouseWheel(0, 120);
  EXPECT_NEAR(Bottom()->Minimum(), lo + (hi - lo) * 0.1, 1e-9);
  EXPECT_NEAR(Bottom()->Maximum(), hi - (hi - lo) * 0.1, 1e-9);
  EXPECT_TRUE(chart.Zoomed());

  chart.SetAllowZoom(false);
  chart.SetZoomWheel(pmwNormal);
  chart.HostMouseWheel(0, 120);
  EXPECT_DOUBLE_EQ(chart.View3DOptions()->Zoom(), 100);  // 2D: no view zoom
  chart.SetView3D(true);
  chart.HostMouseWheel(0, 120);
  EXPECT_DOUBLE_EQ(chart.View3DOptions()->Zoom(), 110);
  chart.HostMouseWheel(0, -120);
  EXPECT_DOUBLE_EQ(chart.View3DOptions()->Zoom(), 99);
}

// ---- Zoom ---------------------------------------------------------------------------------

class ZoomTest : public ZoomPanTest {
 protected:
  ZoomTest() {
    chart.SetAllowZoom(true);
    chart.OnZoom = [this](TPersistent*) { ++zooms; };
    chart.OnUndoZoom = [this](TPersistent*) { ++undos; };
    Paint();
  }
  int zooms = 0;
  int undos = 0;
};

TEST_F(ZoomTest, DragRightZoomsDragLeftUndoes) {
  const double x0 = Bottom()->CalcPosPoint(100), x1 = Bottom()->CalcPosPoint(200);
  const double yTop = chart.LeftAxis()->CalcPosPoint(80);
  const double yBottom = chart.LeftAxis()->CalcPosPoint(180);
  Down(L, 100, 80);
  EXPECT_TRUE(chart.Zoom()->Active());
  MoveTo(200, 180);
  EXPECT_EQ(chart.Zoom()->X1, 200);
  // Each paint during the drag shows the rectangle.
  Paint();
  ASSERT_GE(ZoomRectangles(), 1);
  const TRecordedOp* r = nullptr;
  for (const TRecordedOp* op : rec.OpsOf(rkDrawRect))
    if (op->Stroke.Thickness == 3) r = op;
  EXPECT_EQ(r->Rect, (TRectF{100, 80, 200, 180}));
  Up(L, 200, 180);
  EXPECT_FALSE(chart.Zoom()->Active());
  EXPECT_EQ(zooms, 1);
  EXPECT_TRUE(chart.Zoomed());
  EXPECT_DOUBLE_EQ(Bottom()->Minimum(), x0);
  EXPECT_DOUBLE_EQ(Bottom()->Maximum(), x1);
  EXPECT_DOUBLE_EQ(chart.LeftAxis()->Minimum(), yBottom);
  EXPECT_DOUBLE_EQ(chart.LeftAxis()->Maximum(), yTop);
  Paint();
  EXPECT_EQ(ZoomRectangles(), 0);

  // Right to left undoes.
  Drag(L, 200, 180, 100, 80);
  EXPECT_EQ(undos, 1);
  EXPECT_FALSE(chart.Zoomed());
  EXPECT_TRUE(Bottom()->Automatic());
  EXPECT_TRUE(chart.LeftAxis()->Automatic());
  // ... unless up-left drags zoom too.
  Paint();
  chart.Zoom()->SetUpLeftZooms(true);
  Drag(L, 200, 180, 100, 80);
  EXPECT_EQ(zooms, 2);
  EXPECT_DOUBLE_EQ(Bottom()->Minimum(), x0);
}

TEST_F(ZoomTest, MinimumPixelsThreshold) {
  const struct {
    float dx, dy;
    bool zooms;
  } cases[] = {{16, 50, false}, {50, 16, false}, {17, 17, true}, {-16, 40, false}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.dx);
    const int before = zooms + undos;
    Drag(L, 150, 100, 150 + c.dx, 100 + c.dy);
    EXPECT_EQ(zooms + undos > before, c.zooms);
    chart.UndoZoom();
    Paint();
  }
  // Directions: a horizontal zoom needs only the horizontal distance.
  chart.Zoom()->SetDirection(tzdHorizontal);
  const double leftMin = chart.LeftAxis()->Minimum();
  Drag(L, 150, 100, 200, 101);
  EXPECT_TRUE(chart.Zoomed());
  EXPECT_EQ(chart.LeftAxis()->Minimum(), leftMin);
  EXPECT_TRUE(chart.LeftAxis()->Automatic());
  chart.UndoZoom();
  Paint();
  chart.Zoom()->SetDirection(tzdVertical);
  Down(L, 150, 100);
  EXPECT_EQ(chart.Zoom()->X0, KelRound(chart.ChartRect.Left));
  EXPECT_EQ(chart.Zoom()->X1, KelRound(chart.ChartRect.Right));
  Up(L, 151, 160);
  EXPECT_TRUE(chart.Zoomed());
  EXPECT_TRUE(Bottom()->Automatic());
}

TEST_F(ZoomTest, KeyShiftAndButton) {
  chart.Zoom()->SetKeyShift(ssCtrl);
  Down(L, 100, 100);
  EXPECT_FALSE(chart.Zoom()->Active());
  Up(L, 100, 100);
  Down(L, 100, 100, ssCtrl | ssShift);
  EXPECT_TRUE(chart.Zoom()->Active());
  Up(L, 100, 100);
  chart.Zoom()->SetKeyShift(0);
  chart.Zoom()->SetMouseButton(R);
  chart.SetAllowPanning(pmNone);
  Down(L, 100, 100);
  EXPECT_FALSE(chart.Zoom()->Active());
  Down(R, 100, 100);
  EXPECT_TRUE(chart.Zoom()->Active());
  // Only the zoom button ends the drag.
  Up(L, 150, 150);
  EXPECT_TRUE(chart.Zoom()->Active());
  Up(R, 150, 150);
  EXPECT_FALSE(chart.Zoom()->Active());
}

TEST_F(ZoomTest, KeepAspectRatioCorrectsTheEndPoint) {
  chart.Zoom()->SetKeepAspectRatio(true);
  const TRectF plot = chart.ChartRect;
  const double a = plot.Width() / plot.Height();
  ASSERT_GT(a, 1);
  Down(L, 100, 100);
  // Taller than the plot's shape: the height decides, the width follows.
  MoveTo(130, 160);
  ASSERT_GT(a, 30.0 / 60);
  const int w = KelRound(60 * a);
  EXPECT_EQ(chart.Zoom()->X1, 100 + w);
  EXPECT_EQ(chart.Zoom()->Y1, 100 + KelRound(w / a));
  // Wider than the plot's shape: the width decides.
  MoveTo(300, 110);
  const int h = KelRound(200 / a);
  EXPECT_EQ(chart.Zoom()->Y1, 100 + h);
  EXPECT_EQ(chart.Zoom()->X1, 100 + KelRound(a * h));
  Up(L, 0, 0);  // the corrected corner is kept
  EXPECT_TRUE(chart.Zoomed());
  EXPECT_DOUBLE_EQ(Bottom()->Maximum(), Bottom()->CalcPosPoint(100 + KelRound(a * h)));
}

// Positions far outside the control (or no numbers at all) reach the
// handlers bounded to +-32767 (NaN as 0): the corners of a zoom drag, the
// aspect correction and the panning steps stay within the int pixels.
TEST_F(ZoomTest, FarPositionsAreBoundedToThePixelRange) {
  const float big = std::numeric_limits<float>::max();
  const float nan = std::numeric_limits<float>::quiet_NaN();
  struct {
    const char* name;
    float x0, y0, x1, y1;
    int endX, endY;  // the zoom's end corner after the release
  } cases[] = {
      {"far beyond the right and bottom", 100, 100, 1e9f, big, 32767, 32767},
      {"far beyond the left and top", 100, 100, -big, -1e12f, -32767, -32767},
      {"not a number", 100, 100, nan, nan, 0, 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Paint();
    Down(L, c.x0, c.y0);
    ASSERT_TRUE(chart.Zoom()->Active());
    MoveTo(c.x1, c.y1);
    Up(L, c.x1, c.y1);
    EXPECT_FALSE(chart.Zoom()->Active());
    EXPECT_EQ(chart.Zoom()->X1, c.endX);
    EXPECT_EQ(chart.Zoom()->Y1, c.endY);
    for (TChartAxis* a : {Bottom(), chart.LeftAxis()}) {
      EXPECT_TRUE(std::isfinite(a->Minimum()) && std::isfinite(a->Maximum()));
      EXPECT_LE(a->Minimum(), a->Maximum());
    }
    chart.UndoZoom();
  }
  // A very flat plot makes the aspect correction multiply by its ratio.
  chart.Zoom()->SetKeepAspectRatio(true);
  chart.SetBounds(0, 0, 32767, 40);
  Paint();
  Down(L, 100, 20);
  MoveTo(-big, big);
  EXPECT_GE(chart.Zoom()->X1, -32767);
  EXPECT_LE(chart.Zoom()->X1, 32767);
  EXPECT_GE(chart.Zoom()->Y1, -32767);
  EXPECT_LE(chart.Zoom()->Y1, 32767);
  Up(L, -big, big);
  EXPECT_FALSE(chart.Zoom()->Active());
}

TEST_F(ZoomTest, HistoryUndoesOneZoomAtATime) {
  chart.Zoom()->SetHistory(true);
  TChartAxis* custom = chart.AddCustomAxis();
  custom->SetHorizontal(true);
  custom->SetMinMax(1, 2);
  Paint();
  chart.ZoomRect({100, 60, 250, 200});
  const double b1Min = Bottom()->Minimum(), b1Max = Bottom()->Maximum();
  const double l1Min = chart.LeftAxis()->Minimum(), l1Max = chart.LeftAxis()->Maximum();
  ASSERT_EQ(chart.Zoom()->AxesHistory().size(), 1u);
  EXPECT_EQ(chart.Zoom()->AxesHistory()[0].CustomCount, 1);
  EXPECT_EQ(chart.Zoom()->AxesHistory()[0].CustomMinMax, (std::vector<double>{1, 2}));
  Paint();
  custom->SetMinMax(3, 4);
  chart.ZoomRect({120, 80, 200, 150});
  EXPECT_NE(Bottom()->Minimum(), b1Min);
  ASSERT_EQ(chart.Zoom()->AxesHistory().size(), 2u);

  chart.UndoZoom();
  EXPECT_EQ(Bottom()->Minimum(), b1Min);
  EXPECT_EQ(Bottom()->Maximum(), b1Max);
  EXPECT_EQ(chart.LeftAxis()->Minimum(), l1Min);
  EXPECT_EQ(chart.LeftAxis()->Maximum(), l1Max);
  EXPECT_EQ(custom->Minimum(), 3);  // custom axes keep their range
  EXPECT_EQ(chart.Zoom()->AxesHistory().size(), 1u);
  EXPECT_FALSE(chart.Zoomed());

  // The last snapshot goes with the saved scales.
  chart.UndoZoom();
  EXPECT_TRUE(chart.Zoom()->AxesHistory().empty());
  EXPECT_TRUE(Bottom()->Automatic());
  chart.Zoom()->SetHistory(false);
  EXPECT_TRUE(chart.Zoom()->AxesHistory().empty());
}

TEST_F(ZoomTest, ZoomPercentAndDirection) {
  const double lo = Bottom()->CalcPosPoint(Bottom()->IStartPos);
  const double hi = Bottom()->CalcPosPoint(Bottom()->IEndPos);
  const double vLo = chart.LeftAxis()->CalcPosPoint(chart.LeftAxis()->IEndPos);
  const double vHi = chart.LeftAxis()->CalcPosPoint(chart.LeftAxis()->IStartPos);
  chart.ZoomPercent(90);
  EXPECT_NEAR(Bottom()->Minimum(), lo - (hi - lo) * 0.1, 1e-9);
  EXPECT_NEAR(Bottom()->Maximum(), hi + (hi - lo) * 0.1, 1e-9);
  EXPECT_NEAR(chart.LeftAxis()->Minimum(), vLo - (vHi - vLo) * 0.1, 1e-9);
  chart.UndoZoom();
  Paint();
  chart.Zoom()->SetDirection(tzdHorizontal);
  chart.ZoomPercent(110);
  EXPECT_NEAR(Bottom()->Minimum(), lo + (hi - lo) * 0.1, 1e-9);
  EXPECT_TRUE(chart.LeftAxis()->Automatic());
}

TEST_F(ZoomTest, AnimatedZoomEndsAtTheTarget) {
  chart.Zoom()->SetAnimated(true);
  std::vector<double> seen;
  chart.OnZoom = [&](TPersistent*) { seen.push_back(Bottom()->Minimum()); };
  chart.DoZoom(1, 2, 10, 20, 30, 40, 50, 60);
  ASSERT_EQ(seen.size(), 1u);
  EXPECT_EQ(Bottom()->Minimum(), 10);
  EXPECT_EQ(Bottom()->Maximum(), 20);
  EXPECT_EQ(chart.TopAxis()->Minimum(), 1);
  EXPECT_EQ(chart.LeftAxis()->Maximum(), 40);
  EXPECT_EQ(chart.RightAxis()->Minimum(), 50);
}

TEST_F(ZoomTest, SavedScalesRoundTrip) {
  chart.LeftAxis()->SetMinMax(-5, 50);
  chart.SaveScales();
  ASSERT_EQ(chart.SavedScales().size(), static_cast<std::size_t>(chart.Axes().Count()));
  EXPECT_FALSE(chart.SavedScales()[2].Automatic);
  EXPECT_EQ(chart.SavedScales()[2].Minimum, -5);
  EXPECT_TRUE(chart.SavedScales()[0].Automatic);
  Bottom()->SetMinMax(3, 4);
  chart.LeftAxis()->SetMinMax(1, 2);
  chart.RestoreScales();
  EXPECT_TRUE(Bottom()->Automatic());
  EXPECT_TRUE(Bottom()->AutomaticMinimum());
  EXPECT_FALSE(chart.LeftAxis()->Automatic());
  EXPECT_EQ(chart.LeftAxis()->Minimum(), -5);
  EXPECT_EQ(chart.LeftAxis()->Maximum(), 50);
  EXPECT_TRUE(chart.SavedScales().empty());
}

// ---- Plain moves and leaving ----------------------------------------------------------------

TEST_F(ZoomPanTest, PlainMoveCursorAndSeriesEnterLeave) {
  Paint();
  chart.SetOriginalCursor(crDefault);
  host.CurrentCursor = crCross;
  MoveTo(5, 5);
  EXPECT_EQ(host.CurrentCursor, crDefault);

  int enters = 0, leaves = 0;
  line->OnMouseEnter = [&](TChartSeries*) { ++enters; };
  line->OnMouseLeave = [&](TChartSeries*) { ++leaves; };
  line->SetCursor(crHandPoint);
  const float x = static_cast<float>(line->CalcXPos(40));
  const float y = static_cast<float>(line->CalcYPos(40));
  MoveTo(x, y);
  EXPECT_EQ(host.CurrentCursor, crHandPoint);
  EXPECT_EQ(enters, 1);
  EXPECT_TRUE(line->IsMouseInside);
  MoveTo(x + 1, y);
  EXPECT_EQ(enters, 1);
  MoveTo(5, 5);
  EXPECT_EQ(leaves, 1);
  EXPECT_FALSE(line->IsMouseInside);
  EXPECT_EQ(host.CurrentCursor, crDefault);
}

TEST_F(ZoomPanTest, TitlePressStartsPanning) {
  chart.Title()->SetText("TChart");
  Paint();
  const TRectF r = chart.Title()->TitleRect();
  ASSERT_GT(r.Width(), 0);
  Down(R, (r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
  EXPECT_TRUE(chart.Panning()->Active());
  Up(R, 0, 0);
  TChartTitle* clicked = nullptr;
  chart.OnClickTitle = [&](TPersistent*, TChartTitle* t, TMouseButton, TShiftState, int, int) {
    clicked = t;
  };
  Down(R, (r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2);
  EXPECT_EQ(clicked, chart.Title());
  EXPECT_FALSE(chart.Panning()->Active());
}

TEST_F(ZoomPanTest, HoverMakesAnAxisLabelBold) {
  Paint();
  TAxisItems* items = Bottom()->Items();
  ASSERT_GT(items->Count(), 1);
  const auto& c = items->Items(1)->RotatedBounds;
  const float x = (c[0].X + c[2].X) / 2;
  const float y = (c[0].Y + c[2].Y) / 2;
  const std::string text = items->Items(1)->Text();
  auto drawnBold = [&] {
    for (const TRecordedOp* op : rec.OpsOf(rkRenderLayout))
      if (op->Text == text) return op->Font.Bold;
    ADD_FAILURE() << "label " << text << " not drawn";
    return false;
  };
  EXPECT_FALSE(drawnBold());
  int before = host.Invalidates;
  MoveTo(x, y);
  EXPECT_EQ(Bottom()->Labels()->Selected()->HoverIndex(), 1);
  EXPECT_GT(host.Invalidates, before);
  Paint();
  EXPECT_TRUE(drawnBold());
  // Off the label: plain again.
  MoveTo(x, chart.ChartRect.Top + 5);
  EXPECT_EQ(Bottom()->Labels()->Selected()->HoverIndex(), -1);
  Paint();
  EXPECT_FALSE(drawnBold());
  // Leaving the control resets the hover.
  MoveTo(x, y);
  chart.HostMouseLeave();
  EXPECT_EQ(Bottom()->Labels()->Selected()->HoverIndex(), -1);
  // Without the chart's hover nothing is highlighted.
  chart.Hover()->SetVisible(false);
  MoveTo(x, y);
  EXPECT_EQ(Bottom()->Labels()->Selected()->HoverIndex(), -1);
}

TEST_F(ZoomPanTest, MouseLeaveReachesTheTools) {
  Paint();
  std::vector<std::string> log;
  auto* tool = new LogTool("T", log);
  tool->SetParentChart(&chart);
  Down(R, 200, 150);
  chart.HostMouseLeave();
  EXPECT_EQ(log.back(), "T:MouseLeave");
  // Without InsideBounds the drag goes on with the mouse captured.
  EXPECT_TRUE(chart.Panning()->Active());
}

}  // namespace

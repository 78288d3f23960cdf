// Tools: joining and leaving a chart, class tests, axis and series binding,
// and the dispatch of mouse, wheel, key, drag-and-drop and leave events
// from the chart control to its tools.
#include "tools/chart_tool.h"

#include <gtest/gtest.h>

#include "chart_fixture.h"
#include "panel/zoom_panning.h"

using namespace sextant;
using sextant::testing::BlankChartTest;
using sextant::testing::StandInHost;
using sextant::testing::LogTool;

namespace {

class AxisToolX : public TKelCustomToolAxis {
 public:
  using TKelCustomToolAxis::TKelCustomToolAxis;
  bool ClassIncludes(const TKelCustomTool* Tool) const override {
    if (typeid(*this) == typeid(AxisToolX)) return dynamic_cast<const AxisToolX*>(Tool) != nullptr;
    return TKelCustomToolAxis::ClassIncludes(Tool);
  }
};
class AxisToolY : public TKelCustomToolAxis {
 public:
  using TKelCustomToolAxis::TKelCustomToolAxis;
};
class AxisToolXX : public AxisToolX {
 public:
  using AxisToolX::AxisToolX;
};

// ---- Joining and leaving -----------------------------------------------------------

TEST_F(BlankChartTest, ToolsJoinOnceAndLeave) {
  std::vector<std::string> log;
  auto* a = new LogTool("A", log);
  a->SetParentChart(&chart);
  a->SetParentChart(&chart);
  chart.Tools().Add(a);
  ASSERT_EQ(chart.Tools().Count(), 1);
  EXPECT_EQ(a->ParentChart(), &chart);

  int before = host.Invalidates;
  a->SetParentChart(nullptr);
  EXPECT_EQ(chart.Tools().Count(), 0);
  EXPECT_GT(host.Invalidates, before);

  // Joining another chart leaves the first.
  TChart other;
  chart.Tools().Add(a);
  other.Tools().Add(a);
  EXPECT_EQ(chart.Tools().Count(), 0);
  EXPECT_EQ(other.Tools().IndexOf(a), 0);

  // A destroyed tool leaves its chart, which repaints.
  chart.Tools().Add(a);
  before = host.Invalidates;
  delete a;
  EXPECT_EQ(chart.Tools().Count(), 0);
  EXPECT_GT(host.Invalidates, before);
}

TEST_F(BlankChartTest, ToolListAddCreateActivateAndClear) {
  std::vector<std::string> log;
  bool freedA = false, freedB = false;
  auto* a = new LogTool("A", log);
  a->DestroyedFlag = &freedA;
  auto* b = new LogTool("B", log);
  b->DestroyedFlag = &freedB;
  chart.Tools().Add(a);
  chart.Tools().Add(b);
  TKelCustomToolAxis* owned = chart.Tools().Add<TKelCustomToolAxis>();
  EXPECT_EQ(owned->Owner(), &chart);
  EXPECT_EQ(chart.Tools().Count(), 3);
  EXPECT_EQ(chart.Tools().Items(2), owned);

  chart.Tools().SetActive(false);
  for (TKelCustomTool* t : chart.Tools()) EXPECT_FALSE(t->Active());
  chart.Tools().SetActive(true);

  chart.Tools().Clear();
  EXPECT_TRUE(freedA);
  EXPECT_TRUE(freedB);
  EXPECT_EQ(chart.Tools().Count(), 0);
  EXPECT_EQ(chart.ComponentCount(), 0);  // the owned tool is gone from the chart's components
}

TEST(ToolClasses, SameClass) {
  std::vector<std::string> log;
  TKelCustomTool plain;
  LogTool l1("1", log), l2("2", log);
  TKelCustomToolAxis axisTool;
  TKelCustomToolSeries seriesTool;
  AxisToolX x;
  AxisToolXX xx;
  AxisToolY y;
  struct {
    const TKelCustomTool* a;
    const TKelCustomTool* b;
    bool same;
  } cases[] = {
      {&l1, &l2, true},          {&plain, &l1, true},  // every tool is a plain tool
      {&l1, &plain, true},       {&l1, &axisTool, false},
      {&axisTool, &x, true},     {&x, &axisTool, true},
      {&x, &xx, true},           {&x, &y, false},  // siblings
      {&axisTool, &seriesTool, false}, {&x, nullptr, false},
  };
  for (auto& c : cases) EXPECT_EQ(c.a->SameClass(c.b), c.same) << typeid(*c.a).name();
}

// ---- Axis and series binding ---------------------------------------------------

TEST_F(BlankChartTest, AxisToolBindsToTheAxisChart) {
  auto* tool = new TKelCustomToolAxis();
  tool->SetAxis(chart.LeftAxis());
  EXPECT_EQ(tool->Axis(), chart.LeftAxis());
  EXPECT_EQ(tool->ParentChart(), &chart);
  EXPECT_EQ(chart.Tools().Count(), 1);

  // The same axis again: nothing; unless the tool moved to another chart.
  TChart other;
  tool->SetParentChart(&other);
  tool->SetAxis(chart.LeftAxis());
  EXPECT_EQ(tool->ParentChart(), &chart);
  EXPECT_EQ(other.Tools().Count(), 0);

  auto* copy = new TKelCustomToolAxis();
  copy->Assign(tool);
  EXPECT_EQ(copy->Axis(), chart.LeftAxis());
  delete copy;

  tool->SetAxis(nullptr);
  EXPECT_EQ(tool->ParentChart(), nullptr);
  EXPECT_EQ(chart.Tools().Count(), 0);
  delete tool;
}

TEST_F(BlankChartTest, SeriesToolForgetsAFreedSeries) {
  auto* tool = new TKelCustomToolSeries();
  chart.Tools().Add(tool);
  auto* s1 = AddLine(3);
  auto* s2 = AddLine(3);
  tool->SetSeries(s1);
  EXPECT_EQ(tool->Series(), s1);
  tool->SetSeries(s2);
  delete s1;  // no longer bound: nothing changes
  EXPECT_EQ(tool->Series(), s2);
  delete s2;
  EXPECT_EQ(tool->Series(), nullptr);

  // The tool may also go first.
  auto* s3 = AddLine(3);
  tool->SetSeries(s3);
  delete tool;
  delete s3;
}

TEST_F(BlankChartTest, SeriesToolAxes) {
  auto* tool = new TKelCustomToolSeries();
  EXPECT_EQ(tool->GetHorizAxis(), nullptr);  // no chart, no series
  chart.Tools().Add(tool);
  EXPECT_EQ(tool->GetHorizAxis(), chart.BottomAxis());
  EXPECT_EQ(tool->GetVertAxis(), chart.LeftAxis());

  auto* s = AddLine(3);
  s->SetHorizAxis(aTopAxis);
  s->SetVertAxis(aRightAxis);
  EXPECT_EQ(tool->GetHorizAxis(), chart.TopAxis());
  EXPECT_EQ(tool->GetVertAxis(), chart.RightAxis());

  TChartAxis* customH = chart.AddCustomAxis();
  customH->SetHorizontal(true);
  TChartAxis* customV = chart.AddCustomAxis();
  s->SetCustomHorizAxis(customH);
  s->SetHorizAxis(aCustomHorizAxis);
  s->SetCustomVertAxis(customV);
  s->SetVertAxis(aCustomVertAxis);
  EXPECT_EQ(tool->GetHorizAxis(), customH);
  EXPECT_EQ(tool->GetVertAxis(), customV);

  // With a bound series its own axes answer.
  auto* bound = AddLine(3);
  tool->SetSeries(bound);
  EXPECT_EQ(tool->GetHorizAxis(), chart.BottomAxis());
  EXPECT_EQ(tool->GetVertAxis(), chart.LeftAxis());
}

// ---- Event dispatch ---------------------------------------------------------------

class DispatchTest : public BlankChartTest {
 protected:
  DispatchTest() {
    a = new LogTool("A", log);
    b = new LogTool("B", log);
    chart.Tools().Add(a);
    chart.Tools().Add(b);
  }
  std::vector<std::string> log;
  LogTool* a;
  LogTool* b;
};

TEST_F(DispatchTest, MouseDownReachesActiveToolsInOrderWithRoundedPositions) {
  chart.HostMouseDown(TMouseButton::mbRight, 0, 10.5f, 11.5f);
  EXPECT_EQ(log, (std::vector<std::string>{"A:MouseDown(R,10,12)", "B:MouseDown(R,10,12)"}));
  log.clear();
  a->SetActive(false);
  chart.HostMouseDown(TMouseButton::mbLeft, 0, 3, 4);
  EXPECT_EQ(log, std::vector<std::string>{"B:MouseDown(L,3,4)"});
}

TEST_F(DispatchTest, CancelMouseStopsLaterToolsAndIsClearedAfterwards) {
  a->CancelOn = cmeDown;
  chart.HostMouseDown(TMouseButton::mbLeft, 0, 1, 2);
  EXPECT_EQ(log, std::vector<std::string>{"A:MouseDown(L,1,2)"});
  EXPECT_FALSE(chart.CancelMouse());

  log.clear();
  a->CancelOn = cmeMove;
  chart.HostMouseMove(0, 5, 6);
  EXPECT_EQ(log, std::vector<std::string>{"A:MouseMove(L,5,6)"});
}

TEST_F(DispatchTest, PressesDuringADragReachNoTool) {
  chart.Panning()->Activate(1, 1);
  chart.HostMouseDown(TMouseButton::mbLeft, 0, 1, 2);
  EXPECT_TRUE(log.empty());
  chart.Panning()->SetActive(false);
  chart.Zoom()->Activate(1, 1);
  chart.HostMouseDown(TMouseButton::mbLeft, 0, 1, 2);
  EXPECT_TRUE(log.empty());
}

TEST_F(DispatchTest, MouseUpComesAfterThePanningDragEnded) {
  std::vector<bool> panningSeen;
  a->OnMouse = [&](TChartMouseEvent) { panningSeen.push_back(chart.Panning()->Active()); };
  chart.Panning()->Activate(1, 1);
  chart.HostMouseUp(TMouseButton::mbMiddle, 0, 7.5f, 8.5f);  // any button ends panning
  EXPECT_EQ(log, (std::vector<std::string>{"A:MouseUp(M,8,8)", "B:MouseUp(M,8,8)"}));
  EXPECT_EQ(panningSeen, std::vector<bool>{false});
  EXPECT_EQ(host.Releases, 1);
  // Panning confined to the chart rectangle holds no capture to release.
  chart.Panning()->SetInsideBounds(true);
  chart.Panning()->Activate(1, 1);
  chart.HostMouseUp(TMouseButton::mbRight, 0, 0, 0);
  EXPECT_FALSE(chart.Panning()->Active());
  EXPECT_EQ(host.Releases, 1);
}

TEST_F(DispatchTest, MouseMoveReportsTheLeftButton) {
  chart.HostMouseMove(ssRight, 2.5f, 3.5f);
  EXPECT_EQ(log, (std::vector<std::string>{"A:MouseMove(L,2,4)", "B:MouseMove(L,2,4)"}));
}

TEST(ToolDispatch, MouseMoveWithoutHostCanvasReachesNoTool) {
  struct NoCanvasHost : StandInHost {
    IHostCanvas* ControlCanvas() override { return nullptr; }
  } host;
  TChart chart;
  chart.SetHostControl(&host);
  std::vector<std::string> log;
  chart.Tools().Add(new LogTool("A", log));
  chart.HostMouseMove(0, 1, 1);
  EXPECT_TRUE(log.empty());
}

TEST_F(DispatchTest, WheelDirectionPositionAndCancel) {
  host.CursorPosition = {33.5f, 40.5f};
  chart.HostMouseWheel(0, 120);
  chart.HostMouseWheel(0, -120);
  EXPECT_EQ(log, (std::vector<std::string>{"A:WheelUp(120,34,40)", "B:WheelUp(120,34,40)",
                                           "A:WheelDown(-120,34,40)", "B:WheelDown(-120,34,40)"}));
  // The panning wheel setting can invert the direction.
  log.clear();
  chart.Panning()->SetMouseWheel(pmwInverted);
  a->CancelWheel = true;
  chart.HostMouseWheel(0, 120);
  EXPECT_EQ(log, std::vector<std::string>{"A:WheelDown(120,34,40)"});
  // Without panning, the zoom wheel setting decides.
  log.clear();
  a->CancelWheel = false;
  chart.SetAllowPanning(pmNone);
  chart.Zoom()->SetMouseWheel(pmwInverted);
  chart.HostMouseWheel(0, -1);
  EXPECT_EQ(log, (std::vector<std::string>{"A:WheelUp(-1,34,40)", "B:WheelUp(-1,34,40)"}));
}

TEST_F(DispatchTest, KeysReachEveryActiveToolWithoutCharacter) {
  std::uint16_t key = 65;
  char16_t ch = u'a';
  a->ReplaceKey = 66;
  b->SetActive(false);
  auto* c = new LogTool("C", log);
  chart.Tools().Add(c);
  chart.HostKeyDown(key, ch, 0);
  chart.HostKeyUp(key, ch, ssShift);
  EXPECT_EQ(log, (std::vector<std::string>{"A:KeyDown(65,0)", "C:KeyDown(66,0)",
                                           "A:KeyUp(66,0)", "C:KeyUp(66,0)"}));
  EXPECT_EQ(key, 66);  // a tool may change the key
}

TEST_F(DispatchTest, MouseLeaveAndDragDrop) {
  chart.HostMouseLeave();
  EXPECT_EQ(log, (std::vector<std::string>{"A:MouseLeave", "B:MouseLeave"}));
  log.clear();
  a->SetActive(false);
  bool accept = false;
  chart.BroadcastDragDropEvent(cdeDrop, nullptr, 4, 5, dsDragMove, accept, nullptr);
  EXPECT_EQ(log, std::vector<std::string>{"B:Drag1(4,5)"});
  EXPECT_TRUE(accept);
}

}  // namespace

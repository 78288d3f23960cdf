// Elements that leave the chart from their own event handlers while the
// chart paints: series destroyed or removed from their drawing and mark
// events, tools destroyed from their paint events. The paint completes
// without them and the next paint draws what is left.
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "chart_fixture.h"
#include "axes/chart_axis.h"
#include "marks/series_marks.h"
#include "tools/axis_scroll_bar.h"

namespace sextant::testing {
namespace {

// A 2D chart with series A, B, C (marks on) that logs which series drew
// their values and when the paint finished.
struct TScene {
  TScene() {
    ICanvasState.reset();
    chart.SetBounds(0, 0, 400, 300);
    chart.SetHostControl(&host);
    chart.SetView3D(false);
    for (const char* name : {"A", "B", "C"}) {
      auto* s = new TFastLineSeries();
      for (int i = 0; i < 5; ++i) s->AddXY(i, 10 + i);
      chart.AddSeries(s);
      s->SetName(name);
      s->Marks()->SetVisible(true);
      s->BeforeDrawValues = [this](TChartSeries* x) { log.push_back("before " + x->Name()); };
      s->AfterDrawValues = [this](TChartSeries* x) { log.push_back("after " + x->Name()); };
      series.push_back(s);
    }
    chart.OnBeforeDrawChart = [this](TPersistent*) { log.push_back("paint pass"); };
    chart.OnAfterDraw = [this](TPersistent*) { log.push_back("chart drawn"); };
  }
  ~TScene() { ICanvasState.reset(); }

  void Paint() {
    log.clear();
    chart.HostPaint(rec);
  }
  // The series whose values were drawn in the last pass of the last paint
  // (a series leaving the chart makes the paint start again).
  std::vector<std::string> Drawn() const {
    std::vector<std::string> result;
    for (const std::string& entry : log) {
      if (entry == "paint pass") result.clear();
      if (entry.rfind("after ", 0) == 0) result.push_back(entry.substr(6));
    }
    return result;
  }

  StandInHost host;
  TRecordingCanvas rec;
  TChart chart;
  std::vector<TFastLineSeries*> series;  // A, B, C; freed by the chart
  std::vector<std::string> log;
};

enum class TLeave { Destroy, Remove };
enum class TFrom { BeforeDrawValues, AfterDrawValues, MarkText };

TEST(PaintRemoval, SeriesLeavingFromItsOwnEventIsDroppedAndThePaintCompletes) {
  struct Case {
    const char* name;
    TLeave leave;
    TFrom from;
  };
  const Case cases[] = {
      {"destroyed before its values", TLeave::Destroy, TFrom::BeforeDrawValues},
      {"removed before its values", TLeave::Remove, TFrom::BeforeDrawValues},
      {"destroyed after its values", TLeave::Destroy, TFrom::AfterDrawValues},
      {"removed after its values", TLeave::Remove, TFrom::AfterDrawValues},
      {"destroyed from its first mark text", TLeave::Destroy, TFrom::MarkText},
      {"removed from its first mark text", TLeave::Remove, TFrom::MarkText},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    TScene scene;
    TFastLineSeries* b = scene.series[1];
    std::unique_ptr<TChartSeries> removed;  // B after a removal: alive, ours to free
    bool left = false;
    auto leave = [&](TChartSeries* s) {
      if (left) return;
      left = true;
      if (c.leave == TLeave::Destroy) {
        delete s;
      } else {
        scene.chart.RemoveSeries(s);
        removed.reset(s);
      }
    };
    switch (c.from) {
      case TFrom::BeforeDrawValues:
        b->BeforeDrawValues = [&](TChartSeries* s) { leave(s); };
        break;
      case TFrom::AfterDrawValues:
        b->AfterDrawValues = [&](TChartSeries* s) {
          scene.log.push_back("after B");
          leave(s);
        };
        break;
      case TFrom::MarkText:
        b->OnGetMarkText = [&](TChartSeries* s, int, std::string&) { leave(s); };
        break;
    }
    scene.Paint();
    ASSERT_TRUE(left);
    EXPECT_EQ(scene.Drawn(), (std::vector<std::string>{"A", "C"}));
    ASSERT_FALSE(scene.log.empty());
    EXPECT_EQ(scene.log.back(), "chart drawn");
    EXPECT_EQ(scene.chart.SeriesCount(), 2);
    if (removed) {
      EXPECT_EQ(removed->ParentChart(), nullptr);
    }

    // The legend of the final pass lists the two that are left.
    int legendTexts = 0;
    for (const TRecordedOp* op : scene.rec.OpsOf(rkRenderLayout)) legendTexts += op->Text == "B";
    EXPECT_EQ(legendTexts, 0);

    // The next paint draws the two that are left, in one pass.
    scene.Paint();
    EXPECT_EQ(std::count(scene.log.begin(), scene.log.end(), "paint pass"), 1);
    EXPECT_EQ(scene.Drawn(), (std::vector<std::string>{"A", "C"}));
    EXPECT_EQ(scene.log.back(), "chart drawn");
  }
}

// Tools destroyed from their own paint events: the tools after them still
// get the event, and the paint completes.
TEST(PaintRemoval, ToolDestroyedFromItsOwnEventLeavesTheOthersTheirEvents) {
  const TChartToolEvent events[] = {cteBeforeDraw, cteBeforeDrawAxes, cteBeforeDrawSeries,
                                    cteAfterDrawSeries, cteAfterDraw};
  for (TChartToolEvent event : events) {
    SCOPED_TRACE(::testing::Message() << "event " << int(event));
    TScene scene;
    std::vector<std::string> toolLog;
    auto* first = new LogTool("T1", toolLog);
    auto* second = new LogTool("T2", toolLog);
    first->SetParentChart(&scene.chart);
    second->SetParentChart(&scene.chart);
    bool destroyed = false;
    first->DestroyedFlag = &destroyed;
    first->OnChartEvent = [&, event](TChartToolEvent e) {
      if (e == event && !destroyed) delete first;
    };
    scene.Paint();
    EXPECT_TRUE(destroyed);
    EXPECT_EQ(scene.chart.Tools().Count(), 1);
    EXPECT_EQ(scene.log.back(), "chart drawn");
    // T2 heard every paint phase, including the one that destroyed T1.
    int heard = 0;
    for (const std::string& entry : toolLog)  // chart events only, not the per-series "T2:SeriesBefore(A)"
      heard += entry.rfind("T2:", 0) == 0 && entry.find('(') == std::string::npos;
    EXPECT_EQ(heard, 5);
  }
}

// The scroll bar destroyed from its OnSetPosition while it follows the axis
// at the start of a paint.
TEST(PaintRemoval, ScrollBarDestroyedFromOnSetPositionDuringAPaint) {
  TScene scene;
  auto* bar = new TAxisScrollBarTool();
  bar->SetParentChart(&scene.chart);
  scene.Paint();  // the axis gets its range
  scene.chart.BottomAxis()->SetMinMax(1, 2);
  bool called = false;
  bar->OnSetPosition = [&](TPersistent*, int) {
    called = true;
    delete bar;
  };
  scene.Paint();
  EXPECT_TRUE(called);
  EXPECT_EQ(scene.chart.Tools().Count(), 0);
  EXPECT_EQ(scene.Drawn(), (std::vector<std::string>{"A", "B", "C"}));
  EXPECT_EQ(scene.log.back(), "chart drawn");
  scene.Paint();
  EXPECT_EQ(scene.log.back(), "chart drawn");
}

// A custom axis removed from each of its own drawing events: the paint
// completes, the series on it goes back to the left axis, the axis is freed.
TEST(PaintRemoval, CustomAxisRemovedFromItsOwnEventDuringAPaint) {
  enum TAxisEvent { DrawAxis, DrawLabel, NextLabelValue, DrawGrids };
  const struct {
    const char* name;
    TAxisEvent event;
  } cases[] = {{"OnDrawAxis", DrawAxis}, {"OnDrawLabel", DrawLabel},
               {"OnNextLabelValue", NextLabelValue}, {"OnDrawGrids", DrawGrids}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TScene scene;
    TChartAxis* axis = scene.chart.AddCustomAxis();
    TFastLineSeries* onAxis = scene.series[2];
    onAxis->SetVertAxis(aCustomVertAxis);
    onAxis->SetCustomVertAxis(axis);
    int calls = 0;
    auto remove = [&] {
      if (++calls == 1) scene.chart.RemoveCustomAxis(axis);
    };
    switch (c.event) {
      case DrawAxis: axis->OnDrawAxis = [&](TChartAxis*) { remove(); }; break;
      case DrawLabel:
        axis->OnDrawLabel = [&](TChartAxis*, int, int, int, std::string&, bool&) { remove(); };
        break;
      case NextLabelValue:
        axis->OnNextLabelValue = [&](TChartAxis*, int, double&, bool&) { remove(); };
        break;
      case DrawGrids: axis->OnDrawGrids = [&](TChartAxis*) { remove(); }; break;
    }
    scene.Paint();
    ASSERT_EQ(calls, 1);  // called once, never again after the removal
    EXPECT_EQ(scene.chart.CustomAxesCount(), 0);
    EXPECT_EQ(scene.chart.Axes().IndexOf(axis), -1);
    EXPECT_EQ(onAxis->CustomVertAxis(), nullptr);
    EXPECT_EQ(onAxis->GetVertAxis(), scene.chart.LeftAxis());
    EXPECT_EQ(scene.Drawn(), (std::vector<std::string>{"A", "B", "C"}));
    EXPECT_EQ(scene.log.back(), "chart drawn");
    scene.Paint();
    EXPECT_EQ(std::count(scene.log.begin(), scene.log.end(), "paint pass"), 1);
  }

  // Outside a paint the axis is freed at once.
  TScene scene;
  TChartAxis* axis = scene.chart.AddCustomAxis();
  scene.chart.RemoveCustomAxis(axis);
  EXPECT_EQ(scene.chart.CustomAxesCount(), 0);
  EXPECT_EQ(scene.chart.Axes().IndexOf(axis), -1);
  TChartAxis stranger(nullptr);
  scene.chart.RemoveCustomAxis(&stranger);  // not one of the chart's: left alone
  scene.chart.RemoveCustomAxis(scene.chart.LeftAxis());
  EXPECT_GE(scene.chart.Axes().IndexOf(scene.chart.LeftAxis()), 0);
}

}  // namespace
}  // namespace sextant::testing

// The axis panel: the series list and its events, axis visibility, the
// automatic axis ranges, series margins and axis offsets, the drawing order
// of one paint (tool events, user events and canvas calls) and destruction.
#include "panel/axis_panel.h"

#include <gtest/gtest.h>

#include <limits>
#include <memory>
#include <stdexcept>
#include <vector>

#include "chart_fixture.h"

using namespace sextant;
using sextant::testing::BlankChartTest;
using sextant::testing::LogTool;

namespace {

// Records the series events the chart sends to its listeners.
struct SeriesListener : IKelEventListener {
  std::vector<std::string>* log = nullptr;
  void KelEvent(TKelEvent& e) override {
    if (auto* se = dynamic_cast<TKelSeriesEvent*>(&e)) {
      static const char* names[] = {"seAdd",      "seRemove",      "seChangeTitle",
                                    "seChangeColor", "seSwap",     "seChangeActive",
                                    "seDataChanged", "seAfterRemove"};
      log->push_back(std::string(names[se->Event]) + "(" + se->Series->Name() + ")");
    }
  }
};

// A line that asks to be drawn in reverse list order with the others.
class DescendingLine : public TFastLineSeries {
 public:
  using TFastLineSeries::TFastLineSeries;
  bool DrawSeriesAscending() const override { return false; }
};

TFastLineSeries* NamedLine(const char* name, std::initializer_list<std::pair<double, double>> xy,
                           TComponent* owner = nullptr) {
  auto* s = new TFastLineSeries(owner);
  s->SetName(name);
  for (auto& p : xy) s->AddXY(p.first, p.second);
  return s;
}

// ---- Series list -------------------------------------------------------------

TEST_F(BlankChartTest, AddingAndRemovingSeriesRaisesEventsInOrder) {
  std::vector<std::string> log;
  SeriesListener listener;
  listener.log = &log;
  chart.AddListener(&listener);
  chart.OnAddSeries = [&](TPersistent*, TChartSeries* s) { log.push_back("OnAdd(" + s->Name() + ")"); };
  chart.OnRemoveSeries = [&](TPersistent*, TChartSeries* s) {
    log.push_back("OnRemove(" + s->Name() + ")");
  };
  auto* a = NamedLine("A", {{0, 1}});
  EXPECT_EQ(chart.AddSeries(a), a);
  EXPECT_EQ(a->ParentChart(), &chart);
  chart.AddSeries(a);  // already there: nothing
  ASSERT_EQ(chart.SeriesCount(), 1);
  EXPECT_EQ(chart.Series(0), a);

  const int before = host.Invalidates;
  chart.RemoveSeries(a);
  EXPECT_GT(host.Invalidates, before);
  EXPECT_EQ(chart.SeriesCount(), 0);
  EXPECT_EQ(a->ParentChart(), nullptr);
  // seChangeColor comes from the series taking its palette colour.
  const std::vector<std::string> expected = {"seChangeColor(A)", "seAdd(A)",       "OnAdd(A)",
                                             "seRemove(A)",      "OnRemove(A)", "seAfterRemove(A)"};
  EXPECT_EQ(log, expected);

  // Removing what is not there does nothing; a removed series can come back.
  log.clear();
  chart.RemoveSeries(a);
  chart.RemoveSeries(-1);
  chart.RemoveSeries(5);
  EXPECT_TRUE(log.empty());
  chart.AddSeries(a);
  EXPECT_EQ(chart.SeriesCount(), 1);

  // DoNotBroadcast silences the listeners but not the user events.
  log.clear();
  chart.DoNotBroadcast = true;
  chart.RemoveSeries(0);
  EXPECT_EQ(log, std::vector<std::string>{"OnRemove(A)"});
  chart.RemoveListener(&listener);
  delete a;
}

TEST_F(BlankChartTest, SeriesMoveBetweenChartsAndIndexesAreChecked) {
  auto* a = NamedLine("A", {{0, 1}});
  auto* b = NamedLine("B", {{0, 1}});
  chart.AddSeries(a);
  chart.AddSeries(b);
  TChart other;
  other.AddSeries(a);
  EXPECT_EQ(chart.SeriesCount(), 1);
  EXPECT_EQ(chart.Series(0), b);
  EXPECT_EQ(other.Series(0), a);
  EXPECT_EQ(a->ParentChart(), &other);
  EXPECT_EQ(chart.SeriesList().IndexOf(a), -1);
  try {
    chart.Series(1);
    FAIL() << "no exception";
  } catch (const ChartException& e) {
    EXPECT_STREQ(e.what(), "Series index 1 out of bounds (0 to 0).");
  }
  EXPECT_THROW(chart.GetSeries(-1), ChartException);
}

TEST_F(BlankChartTest, SeriesQueries) {
  auto* a = NamedLine("A", {{0, 1}, {1, 2}});
  auto* b = NamedLine("B", {{0, 1}, {1, 2}, {2, 3}});
  auto* c = NamedLine("C", {{0, 1}, {1, 2}, {2, 3}});
  auto* d = NamedLine("D", {{0, 1}, {1, 2}, {2, 3}, {3, 4}});
  for (auto* s : {a, b, c, d}) chart.AddSeries(s);
  d->SetActive(false);
  EXPECT_EQ(chart.CountActiveSeries(), 3);
  EXPECT_EQ(chart.GetMaxValuesCount(), 3);  // the inactive series does not count
  EXPECT_EQ(chart.GetAxisSeries(chart.BottomAxis()), a);
  EXPECT_EQ(chart.GetAxisSeriesMaxPoints(chart.BottomAxis()), b);  // equal counts: the earlier
  EXPECT_EQ(chart.GetAxisSeries(chart.TopAxis()), nullptr);
  // Without an active series on the axis, inactive ones answer.
  d->SetHorizAxis(aTopAxis);
  EXPECT_EQ(chart.GetAxisSeries(chart.TopAxis()), d);
  EXPECT_EQ(chart.GetAxisSeriesMaxPoints(chart.TopAxis()), d);
}

TEST_F(BlankChartTest, FreeAllSeriesFreesSeriesNotOwnedBySeries) {
  TComponent form;
  auto* a = NamedLine("A", {{0, 1}}, &form);
  auto* b = new DescendingLine(&form);
  auto* standalone = NamedLine("Owner", {});  // not in the chart
  auto* sub = NamedLine("Sub", {{0, 1}}, standalone);
  chart.AddSeries(a);
  chart.AddSeries(b);
  chart.AddSeries(sub);
  ASSERT_EQ(form.ComponentCount(), 2);
  // Of one kind only.
  chart.FreeAllSeries([](TChartSeries* s) { return dynamic_cast<DescendingLine*>(s) != nullptr; });
  EXPECT_EQ(chart.SeriesCount(), 2);
  EXPECT_EQ(form.ComponentCount(), 1);
  chart.FreeAllSeries();
  EXPECT_EQ(form.ComponentCount(), 0);
  ASSERT_EQ(chart.SeriesCount(), 1);  // the series owned by a series stays
  EXPECT_EQ(chart.Series(0), sub);
  delete standalone;  // frees sub, which leaves the chart
  EXPECT_EQ(chart.SeriesCount(), 0);
}

TEST(AxisPanelLifetime, DestroyingTheChartFreesItsSeriesAndTools) {
  TComponent form;
  auto* chart = new TChart(&form);
  auto* a = NamedLine("A", {{0, 1}}, &form);
  chart->AddSeries(a);
  auto* standalone = NamedLine("Owner", {});
  auto* sub = NamedLine("Sub", {{0, 1}}, standalone);
  chart->AddSeries(sub);
  std::vector<std::string> log;
  bool toolFreed = false;
  auto* tool = new LogTool("T", log);
  tool->DestroyedFlag = &toolFreed;
  chart->Tools().Add(tool);
  auto* axisTool = new TKelCustomToolAxis(&form);
  axisTool->SetAxis(chart->LeftAxis());
  EXPECT_EQ(axisTool->ParentChart(), chart);
  ASSERT_EQ(form.ComponentCount(), 3);

  delete chart;
  EXPECT_EQ(form.ComponentCount(), 0);  // series and axis tool freed and gone from the form
  EXPECT_TRUE(toolFreed);
  // A series owned by another series is only detached.
  EXPECT_EQ(sub->ParentChart(), nullptr);
  delete standalone;
}

// ---- Axis visibility and ranges -------------------------------------------------

TEST_F(BlankChartTest, AxisVisibilityFollowsTheSeries) {
  auto visible = [this] {
    std::string v;
    for (TChartAxis* a : chart.Axes()) v += a->IsVisible ? '1' : '0';
    return v;  // bottom, top, left, right, depth, depth-top
  };
  Paint();
  EXPECT_EQ(visible(), "111100");  // an empty chart shows the four standard axes
  auto* s = AddLine(3);
  Paint();
  EXPECT_EQ(visible(), "101000");
  s->SetHorizAxis(aTopAxis);
  s->SetVertAxis(aRightAxis);
  Paint();
  EXPECT_EQ(visible(), "010100");
  s->SetActive(false);  // no active series at all
  Paint();
  EXPECT_EQ(visible(), "111100");
  chart.SetAxisVisible(false);
  Paint();
  EXPECT_EQ(visible(), "000000");
  chart.SetAxisVisible(true);
  chart.LeftAxis()->SetVisible(false);
  Paint();
  EXPECT_EQ(visible(), "110100");
}

TEST_F(BlankChartTest, AutomaticRangesComeFromTheAssociatedSeries) {
  EXPECT_EQ(chart.MaxXValue(chart.BottomAxis()), 0);  // no series
  auto* a = NamedLine("A", {{0, 5}, {4, 7}});
  auto* b = NamedLine("B", {{10, -2}, {12, 3}});
  auto* c = NamedLine("C", {{-50, 100}});
  auto* empty = NamedLine("E", {});
  for (auto* s : {a, b, c, empty}) chart.AddSeries(s);
  c->SetActive(false);
  TChartAxis* bottom = chart.BottomAxis();
  TChartAxis* left = chart.LeftAxis();
  EXPECT_EQ(chart.MinXValue(bottom), 0);
  EXPECT_EQ(chart.MaxXValue(bottom), 12);
  EXPECT_EQ(chart.MinYValue(left), -2);
  EXPECT_EQ(chart.MaxYValue(left), 7);
  b->INoAxisMinMax = true;  // excluded from scaling
  EXPECT_EQ(chart.MaxXValue(bottom), 4);
  // An inactive series counts only when no active one uses the axis.
  c->SetHorizAxis(aTopAxis);
  EXPECT_EQ(chart.MinXValue(chart.TopAxis()), -50);
  // A paint stores the automatic ends.
  Paint();
  EXPECT_EQ(bottom->Minimum(), 0);
  EXPECT_EQ(bottom->Maximum(), 4);
  EXPECT_EQ(left->Minimum(), 5);
  EXPECT_EQ(left->Maximum(), 7);
}

TEST_F(BlankChartTest, AutomaticRangesComeFromTheFiniteValues) {
  const double inf = std::numeric_limits<double>::infinity();
  const double nan = std::numeric_limits<double>::quiet_NaN();
  struct {
    const char* name;
    std::vector<double> values;  // Y of points at X = 0, 1, ...
    double min, max;             // the series alone
    double withOtherMin, withOtherMax;  // with a second series at Y = -4
  } cases[] = {
      {"infinity among numbers", {1, inf, 3}, 1, 3, -4, 3},
      {"both infinities", {-inf, 2, 5, inf}, 2, 5, -4, 5},
      {"NaN and an infinity", {nan, -inf, 7}, 7, 7, -4, 7},
      // No finite value: the series gives no end at all.
      {"only infinities", {inf, -inf}, 0, 0, -4, -4},
      // Values that are all NaN give no end either (not the 0 of their
      // empty statistics).
      {"only NaN", {nan, nan}, 0, 0, -4, -4},
      {"huge but finite", {-1.7e308, 1.7e308}, -1.7e308, 1.7e308, -1.7e308, 1.7e308},
  };
  TChartAxis* left = chart.LeftAxis();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    chart.FreeAllSeries();
    auto* s = new TFastLineSeries();
    for (std::size_t i = 0; i < c.values.size(); ++i) s->AddXY(static_cast<double>(i), c.values[i]);
    chart.AddSeries(s);
    EXPECT_EQ(chart.MinYValue(left), c.min);
    EXPECT_EQ(chart.MaxYValue(left), c.max);
    Paint();
    EXPECT_EQ(left->Minimum(), c.min);
    EXPECT_EQ(left->Maximum(), c.max);
    auto* other = new TFastLineSeries();
    other->AddXY(0, -4);
    chart.AddSeries(other);
    EXPECT_EQ(chart.MinYValue(left), c.withOtherMin);
    EXPECT_EQ(chart.MaxYValue(left), c.withOtherMax);
  }
}

TEST_F(BlankChartTest, SeriesMarginsPlaceTheEndsTwoPixelsInside) {
  AddLine(5);  // X 0..4, Y 10..14
  Paint();
  TChartAxis* bottom = chart.BottomAxis();
  TChartAxis* left = chart.LeftAxis();
  EXPECT_EQ(bottom->CalcXPosValue(0), bottom->IStartPos + 2);
  EXPECT_EQ(bottom->CalcXPosValue(4), bottom->IEndPos - 2);
  EXPECT_EQ(left->CalcYPosValue(14), left->IStartPos + 2);
  EXPECT_EQ(left->CalcYPosValue(10), left->IEndPos - 2);
  EXPECT_EQ(bottom->Minimum(), 0);  // the stored ends stay unwidened
  // An explicit scale takes no series margins.
  bottom->SetMinMax(0, 4);
  Paint();
  EXPECT_EQ(bottom->CalcXPosValue(0), bottom->IStartPos);
  EXPECT_EQ(chart.Width3D(), 0);  // flat chart: no depth
}

TEST_F(BlankChartTest, AxisOffsetsAddToTheEnds) {
  struct {
    bool horizontal, inverted;
    int minAt, maxAt;  // expected pixel offsets from IStartPos / IEndPos
  } cases[] = {{true, false, +5, -3}, {true, true, -5, +3}, {false, false, -5, +3},
               {false, true, +5, -3}};
  for (auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.horizontal << c.inverted);
    TChartAxis* axis = c.horizontal ? chart.BottomAxis() : chart.LeftAxis();
    axis->SetMinMax(0, 10);
    axis->SetMinimumOffset(5);
    axis->SetMaximumOffset(3);
    axis->SetInverted(c.inverted);
    Paint();
    // Which end the minimum lies at: start for horizontal, end for
    // vertical, swapped when inverted.
    const bool minAtStart = c.horizontal != c.inverted;
    const int minBase = minAtStart ? axis->IStartPos : axis->IEndPos;
    const int maxBase = minAtStart ? axis->IEndPos : axis->IStartPos;
    EXPECT_EQ(axis->CalcPosValue(0), minBase + c.minAt);
    EXPECT_EQ(axis->CalcPosValue(10), maxBase + c.maxAt);
  }
}

// ---- Drawing order ---------------------------------------------------------------

class DrawOrderTest : public BlankChartTest {
 protected:
  DrawOrderTest() {
    tool = new LogTool("T", log);
    chart.Tools().Add(tool);
    chart.OnBeforeDrawChart = [this](TPersistent*) { log.push_back("OnBeforeDrawChart"); };
    chart.OnBeforeDrawAxes = [this](TPersistent*) { log.push_back("OnBeforeDrawAxes"); };
    chart.OnBeforeDrawSeries = [this](TPersistent*) { log.push_back("OnBeforeDrawSeries"); };
    chart.OnAfterDraw = [this](TPersistent*) { log.push_back("OnAfterDraw"); };
  }
  std::vector<std::string> log;
  LogTool* tool;
};

TEST_F(DrawOrderTest, OnePaintWithTheAxesBehind) {
  auto* s = AddLine(5);
  s->SetName("S");
  // Canvas state seen at each paint phase.
  std::vector<std::string> seen;
  tool->OnChartEvent = [&](TChartToolEvent e) {
    if (e == cteBeforeDraw) {
      // The panel background is painted first.
      ASSERT_GE(rec.Count(rkFillRect), 1u);
      EXPECT_EQ(rec.OpsOf(rkFillRect)[0]->Rect, (TRectF{0, 0, 400, 300}));
      EXPECT_FALSE(chart.AutoRepaint());
      // The axis ranges are still those of construction.
      EXPECT_EQ(chart.BottomAxis()->Maximum(), 0);
    }
    if (e == cteBeforeDrawSeries) {
      // The axes (line, ticks, grid) are drawn before the series; from
      // here on only the series' lines are counted.
      EXPECT_GT(rec.Count(rkDrawLine), 0u);
      rec.ClearOps();
    }
    if (e == cteAfterDrawSeries) {
      EXPECT_EQ(rec.Count(rkDrawLine), 4u);
      EXPECT_FALSE(rec.ClipRect().has_value());  // the series clip is removed
      // The series is drawn clipped to the chart rectangle, one pixel
      // taller at top and bottom (the canvas moves the cube's top-left in
      // by one and its bottom up by one).
      const TRectF r = chart.ChartRect;
      for (const TRecordedOp* op : rec.OpsOf(rkDrawLine)) {
        ASSERT_TRUE(op->Clip.has_value());
        EXPECT_EQ(*op->Clip, (TRectF{r.Left + 1, r.Top, r.Right, r.Bottom}));
      }
    }
  };
  Paint();
  const std::vector<std::string> expected = {
      "T:BeforeDraw",         "OnBeforeDrawChart",  "T:BeforeDrawAxes",  "OnBeforeDrawAxes",
      "T:BeforeDrawSeries",   "OnBeforeDrawSeries", "T:SeriesBefore(S)", "T:SeriesAfter(S)",
      "T:AfterDrawSeries",    "T:AfterDraw",        "OnAfterDraw"};
  EXPECT_EQ(log, expected);
  EXPECT_TRUE(chart.AutoRepaint());
  EXPECT_EQ(chart.BottomAxis()->Maximum(), 4);
}

TEST_F(DrawOrderTest, AxesInFrontAndHiddenAxes) {
  AddLine(5)->SetName("S");
  chart.SetAxisBehind(false);
  Paint();
  std::vector<std::string> expected = {
      "T:BeforeDraw",       "OnBeforeDrawChart", "T:BeforeDrawSeries", "OnBeforeDrawSeries",
      "T:SeriesBefore(S)",  "T:SeriesAfter(S)",  "T:AfterDrawSeries",  "T:BeforeDrawAxes",
      "OnBeforeDrawAxes",   "T:AfterDraw",       "OnAfterDraw"};
  EXPECT_EQ(log, expected);

  // Without axes the tool event still comes, the axes' own event not.
  log.clear();
  chart.SetAxisVisible(false);
  Paint();
  expected.erase(expected.begin() + 8);
  EXPECT_EQ(log, expected);
}

TEST_F(DrawOrderTest, SeriesOrderInactiveEmptyAndUnclipped) {
  auto* a = new DescendingLine();  // the first series decides the order
  a->SetName("A");
  a->AddXY(0, 1);
  a->AddXY(1, 2);
  chart.AddSeries(a);
  AddLine(3)->SetName("B");
  AddLine(0)->SetName("Empty");
  AddLine(3)->SetName("Off");
  chart.Series(3)->SetActive(false);
  tool->OnChartEvent = nullptr;
  Paint();
  std::vector<std::string> series;
  for (auto& l : log)
    if (l.find("Series") != std::string::npos && l.find('(') != std::string::npos)
      series.push_back(l);
  // Reverse list order; the empty series draws nothing, the inactive one is skipped.
  const std::vector<std::string> expected = {"T:SeriesBefore(B)", "T:SeriesAfter(B)",
                                             "T:SeriesBefore(A)", "T:SeriesAfter(A)"};
  EXPECT_EQ(series, expected);
  EXPECT_EQ(rec.Count(rkIntersectClip), 2u);

  rec.ClearOps();
  chart.SetClipPoints(false);
  Paint();
  EXPECT_EQ(rec.Count(rkIntersectClip), 0u);
  EXPECT_GT(rec.Count(rkDrawLine), 0u);
}

TEST_F(DrawOrderTest, ChangesDuringAPaintRequestNoRepaint) {
  tool->OnChartEvent = [this](TChartToolEvent e) {
    if (e == cteBeforeDraw) chart.SetColor(0xFF102030);
  };
  const int before = host.Invalidates;
  Paint();
  EXPECT_EQ(host.Invalidates, before);
  EXPECT_EQ(chart.Color(), 0xFF102030u);
  EXPECT_TRUE(chart.AutoRepaint());

  // A handler that throws leaves AutoRepaint as it was.
  chart.OnBeforeDrawChart = [](TPersistent*) { throw std::runtime_error("handler"); };
  EXPECT_THROW(Paint(), std::runtime_error);
  EXPECT_TRUE(chart.AutoRepaint());
}

}  // namespace

// Bad input: every argument the engine refuses raises ChartException (or
// AxisException) with its exact message and changes nothing; every other
// out-of-range argument is clamped or at least leaves a paint that raises
// nothing and draws only finite coordinates within the pixel bound; and a
// paint of the application's chart with NaN, infinite, huge, subnormal,
// equal, descending, missing or a million points raises nothing and keeps
// every coordinate sound.
#include <gtest/gtest.h>

#include <cctype>
#include <climits>
#include <cmath>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "canvas/gradient.h"
#include "canvas/kel_exceptions.h"
#include "canvas/pen.h"
#include "canvas/shadow.h"
#include "chart_fixture.h"
#include "marks/series_marks.h"
#include "marks/series_pointer.h"
#include "panel/legend.h"
#include "platform/manual_timer.h"
#include "tools/axis_scroll_bar.h"

using namespace sextant;
using sextant::testing::BlankChartTest;

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kMax = std::numeric_limits<double>::max();
constexpr double kDenorm = std::numeric_limits<double>::denorm_min();

// Everything a refused call must leave as it was.
struct TChartState {
  int seriesCount, pointCount, axisCount, toolCount, perPage, page;
  std::vector<double> x, y;
  double bottomMin, bottomMax, leftMin, leftMax;
  bool bottomAutomatic;
  bool operator==(const TChartState&) const = default;
};

// Exact message and no change, else a failure naming the case.
void ExpectRefused(const char* name, const std::function<void()>& call, const std::string& message,
                   const std::function<TChartState()>& state) {
  SCOPED_TRACE(name);
  const TChartState before = state();
  try {
    call();
    ADD_FAILURE() << "no exception";
  } catch (const ChartException& e) {
    EXPECT_EQ(std::string(e.what()), message);
  } catch (const std::exception& e) {
    ADD_FAILURE() << "not a ChartException: " << e.what();
  }
  EXPECT_TRUE(state() == before) << "the refused call changed the chart";
}

// Every coordinate recorded by the last paint is finite and within Bound:
// the pixel bound for ordinary data. Settings of extreme size place boxes
// at the bound that reach beyond it by their own (bounded) sizes: there a
// bound of a million pixels, far beyond any control but far below what an
// overflowed int (2^31) or an unbounded size gives, and texts only finite.
void ExpectSoundCoordinates(const TRecordingCanvas& rec, float Bound = 32767) {
  int bad = 0;
  std::string first;
  auto check = [&](float v, const TRecordedOp& op) {
    const bool bounded = Bound <= 32767 || op.Kind != rkRenderLayout;
    if (std::isfinite(v) && (!bounded || std::fabs(v) <= Bound)) return;
    if (bad++ == 0) first = std::string(RecordKindName(op.Kind)) + " " + std::to_string(v) + " \"" + op.Text + "\"";
  };
  for (const TRecordedOp& op : rec.Ops()) {
    switch (op.Kind) {
      case rkDrawLine:
      case rkDrawArc:
        for (float v : {op.P1.X, op.P1.Y, op.P2.X, op.P2.Y}) check(v, op);
        break;
      case rkDrawPolyline:
      case rkDrawConnectedLines:
        for (const TPointF& p : op.Points) check(p.X, op), check(p.Y, op);
        break;
      case rkFillPath:
      case rkDrawPath:
        for (const THostPathCommand& c : op.Path.Commands())
          for (float v : {c.A.X, c.A.Y, c.B.X, c.B.Y}) check(v, op);
        break;
      case rkFillRect:
      case rkDrawRect:
      case rkFillEllipse:
      case rkDrawEllipse:
      case rkRenderLayout:
      case rkIntersectClip:
      case rkDrawBitmap:
        for (float v : {op.Rect.Left, op.Rect.Top, op.Rect.Right, op.Rect.Bottom}) check(v, op);
        break;
      default:
        break;
    }
  }
  EXPECT_EQ(bad, 0) << "coordinates outside +-32767 or not finite, first: " << first;
}

void ExpectSoundAxes(const TChart& chart) {
  for (const TChartAxis* a : chart.Axes()) {
    EXPECT_TRUE(std::isfinite(a->Minimum()) && std::isfinite(a->Maximum())) << a->AxisID();
    EXPECT_LE(a->Minimum(), a->Maximum()) << a->AxisID();
  }
  EXPECT_GE(chart.ChartRect.Width(), 0);
  EXPECT_GE(chart.ChartRect.Height(), 0);
}

// The application's chart: a fast line of 100 points with value marks on
// circular callouts, 10 points a page on the last page, a scroll bar under
// the bottom axis, a title; 400 x 300.
class BadInputTest : public BlankChartTest {
 public:
  // Open to the case tables below.
  using BlankChartTest::chart;
  using BlankChartTest::rec;

  BadInputTest() {
    line = AddLine(0);
    TSeriesMarks& marks = *line->Marks();
    marks.SetVisible(true);
    marks.SetAutoPosition(true);
    marks.SetClip(true);
    marks.SetStyle(smsValue);
    marks.SetTransparent(true);
    marks.Callout()->SetVisible(true);
    marks.Callout()->SetStyle(psCircle);
    marks.Callout()->SetSize(15);
    for (int i = 0; i < 100; ++i) line->AddXY(i, 10 + (i * 37) % 23);
    chart.Legend()->SetVisible(false);
    chart.Title()->SetCaption("Title");
    chart.SetMaxPointsPerPage(10);
    chart.SetPage(chart.NumPages());
    bar = chart.Tools().Add<TAxisScrollBarTool>();
    bar->SetAxis(chart.BottomAxis());
    bar->SetThumbSize(20);
    bar->SetMinThumbSize(1);
    bar->SetPosition(60);
  }

  // Paints afresh; a paint never raises.
  void PaintChecked() {
    rec.ClearOps();
    try {
      chart.HostPaint(rec);
    } catch (const std::exception& e) {
      ADD_FAILURE() << "paint raised " << e.what();
    }
  }

  TChartState State() const {
    TChartState s{chart.SeriesCount(), line->Count(), chart.Axes().Count(), chart.Tools().Count(),
                  chart.MaxPointsPerPage(), chart.Page(), {}, {}, chart.BottomAxis()->Minimum(),
                  chart.BottomAxis()->Maximum(), chart.LeftAxis()->Minimum(),
                  chart.LeftAxis()->Maximum(), chart.BottomAxis()->Automatic()};
    for (int i = 0; i < line->Count(); ++i) {
      s.x.push_back(line->XValues()->Value(i));
      s.y.push_back(line->YValues()->Value(i));
    }
    return s;
  }

  TFastLineSeries* line = nullptr;
  TAxisScrollBarTool* bar = nullptr;
};

// ---- Refused arguments: exact messages, nothing changed ------------------------------

TEST_F(BadInputTest, RefusedIndicesAndCountsRaiseTheirMessageAndChangeNothing) {
  PaintChecked();
  chart.BottomAxis()->SetMinMax(90, 99);
  chart.LeftAxis()->SetMinMax(1e308, 1.5e308);
  TChartSeries* s = line;
  TChartAxis* bottom = chart.BottomAxis();
  const struct {
    const char* name;
    std::function<void()> call;
    std::string message;
  } cases[] = {
      // Specified messages, at the extremes of the argument.
      {"MaxPointsPerPage -1", [&] { chart.SetMaxPointsPerPage(-1); }, "MaxPointsPerPage must be >= 0"},
      {"MaxPointsPerPage INT_MIN", [&] { chart.SetMaxPointsPerPage(INT_MIN); }, "MaxPointsPerPage must be >= 0"},
      {"Delete Count", [&] { s->Delete(100); }, "Series Delete: ValueIndex 100 out of bounds (0 to 99)."},
      {"Delete INT_MIN", [&] { s->Delete(INT_MIN); },
       "Series Delete: ValueIndex -2147483648 out of bounds (0 to 99)."},
      {"Delete INT_MAX", [&] { s->Delete(INT_MAX); },
       "Series Delete: ValueIndex 2147483647 out of bounds (0 to 99)."},
      {"Minimum above Maximum", [&] { bottom->SetMinimum(99.5); }, "Axis Minimum Value must be <= Maximum"},
      {"Minimum NaN", [&] { bottom->SetMinimum(kNaN); }, "Axis Minimum Value must be <= Maximum"},
      {"Maximum below Minimum", [&] { bottom->SetMaximum(-kMax); }, "Axis Maximum Value must be >= Minimum"},
      {"Maximum NaN", [&] { bottom->SetMaximum(kNaN); }, "Axis Maximum Value must be >= Minimum"},
      // Ends that are no finite numbers.
      {"SetMinMax NaN", [&] { bottom->SetMinMax(kNaN, 5); }, "Axis Minimum and Maximum must be finite numbers"},
      {"SetMinMax infinite maximum", [&] { bottom->SetMinMax(0, kInf); },
       "Axis Minimum and Maximum must be finite numbers"},
      {"SetMinMax both infinite", [&] { bottom->SetMinMax(-kInf, kInf); },
       "Axis Minimum and Maximum must be finite numbers"},
      {"Minimum -inf", [&] { bottom->SetMinimum(-kInf); }, "Axis Minimum and Maximum must be finite numbers"},
      {"Maximum +inf", [&] { bottom->SetMaximum(kInf); }, "Axis Minimum and Maximum must be finite numbers"},
      {"Scroll by infinity", [&] { bottom->Scroll(kInf); }, "Axis Scroll offset must keep Minimum and Maximum finite"},
      {"Scroll by NaN", [&] { bottom->Scroll(kNaN); }, "Axis Scroll offset must keep Minimum and Maximum finite"},
      {"Scroll beyond the doubles", [&] { chart.LeftAxis()->Scroll(1e308); },
       "Axis Scroll offset must keep Minimum and Maximum finite"},
      // Indices of the engine's lists.
      {"Series -1", [&] { chart.Series(-1); }, "Series index -1 out of bounds (0 to 0)."},
      {"Series 1", [&] { chart.Series(1); }, "Series index 1 out of bounds (0 to 0)."},
      {"XValue -1", [&] { s->XValue(-1); }, "Value index -1 out of bounds (0 to 99)"},
      {"YValue Count", [&] { s->YValue(100); }, "Value index 100 out of bounds (0 to 99)"},
      {"CalcXPos Count", [&] { s->CalcXPos(100); }, "Value index 100 out of bounds (0 to 99)"},
      {"GetMarkText -1", [&] { s->GetMarkText(-1); }, "Value index -1 out of bounds (0 to 99)"},
      {"Delete range negative start", [&] { s->Delete(-1, 2); },
       "Series Delete: Start -1 and Quantity 2 must not be negative."},
      {"Delete range negative quantity", [&] { s->Delete(1, INT_MIN); },
       "Series Delete: Start 1 and Quantity -2147483648 must not be negative."},
      {"SwapValueIndex", [&] { s->SwapValueIndex(0, 100); },
       "Series SwapValueIndex: 0 and 100 must lie within the points."},
      {"ValueColor -1", [&] { s->SetValueColor(-1, claRed); }, "Series ValueColor: ValueIndex -1 must not be negative."},
      {"SetNull INT_MIN", [&] { s->SetNull(INT_MIN); },
       "Series ValueColor: ValueIndex -2147483648 must not be negative."},
      {"XLabel -1", [&] { s->SetXLabel(-1, "x"); }, "Label index -1 must be >= 0"},
      {"Axes 6", [&] { chart.Axes()[6]; }, "Axis index 6 out of bounds (0 to 5)."},
      {"Axes -1", [&] { chart.Axes().Items(-1); }, "Axis index -1 out of bounds (0 to 5)."},
      {"CustomAxis 0", [&] { chart.CustomAxis(0); }, "Custom axis index 0 out of bounds (0 to -1)."},
      {"Tools 1", [&] { chart.Tools().Items(1); }, "Tool index 1 out of bounds (0 to 0)."},
      {"Tools -1", [&] { chart.Tools().Items(-1); }, "Tool index -1 out of bounds (0 to 0)."},
      {"Components", [&] { chart.Components(chart.ComponentCount()); },
       "Component index " + std::to_string(chart.ComponentCount()) + " out of bounds (0 to " +
           std::to_string(chart.ComponentCount() - 1) + ")."},
      {"Axis items", [&] { chart.TopAxis()->Items()->Items(0); }, "Axis item index 0 out of bounds (0 to -1)."},
      {"Marks item -1", [&] { s->Marks()->Item(-1); }, "Marks item index -1 is negative."},
      {"Gradient colour", [&] { chart.Gradient()->Colors()->At(100); },
       "Gradient colour index 100 out of bounds (0 to 1)."},
      {"Title line -1", [&] { chart.Title()->Lines()->Strings(-1); }, "List index -1 out of bounds (0 to 0)."},
  };
  for (const auto& c : cases) ExpectRefused(c.name, c.call, c.message, [this] { return State(); });
  PaintChecked();
  ExpectSoundAxes(chart);
}

// ---- Clamped or harmless arguments ---------------------------------------------------

TEST_F(BadInputTest, ClampedArguments) {
  // The page is clamped to 1 .. NumPages; transparency to 0 .. 100; a
  // gradient offset to 0 .. 1 (not a number gives 0).
  chart.SetPage(INT_MIN);
  EXPECT_EQ(chart.Page(), 1);
  chart.SetPage(INT_MAX);
  EXPECT_EQ(chart.Page(), 10);
  chart.SetPage(0);
  EXPECT_EQ(chart.Page(), 1);
  line->SetTransparency(1000);
  EXPECT_EQ(line->Transparency(), 100);
  line->SetTransparency(INT_MIN);
  EXPECT_EQ(line->Transparency(), 0);
  const struct {
    double offset, stored;
  } offsets[] = {{kNaN, 0}, {-5, 0}, {7, 1}, {kInf, 1}, {0.25, 0.25}};
  for (const auto& o : offsets) {
    TKelGradientColors colors;
    EXPECT_EQ(colors.Add(claRed, o.offset)->Offset(), o.stored) << o.offset;
  }
  // Mouse positions beyond the bound reach the handlers bounded.
  chart.SetAllowZoom(true);
  PaintChecked();
  chart.HostMouseDown(TMouseButton::mbLeft, 0, 100, 100);
  chart.HostMouseMove(0, 1e30f, -1e30f);
  EXPECT_EQ(chart.Zoom()->X1, 32767);
  EXPECT_EQ(chart.Zoom()->Y1, -32767);
  chart.HostMouseUp(TMouseButton::mbLeft, 0, 1e30f, -1e30f);
  EXPECT_FALSE(chart.Zoom()->Active());
}

// Settings of any size, not specified to raise: stored (or clamped), and
// the next paint raises nothing and draws only sound coordinates. Each
// case starts from a fresh chart.
struct TSettingCase {
  const char* name;
  std::function<void(BadInputTest&)> set;
};

class ExtremeSettingTest : public BadInputTest, public ::testing::WithParamInterface<TSettingCase> {};

TEST_P(ExtremeSettingTest, PaintsSoundly) {
  PaintChecked();
  try {
    GetParam().set(*this);
  } catch (const std::exception& e) {
    ADD_FAILURE() << "setting raised " << e.what();
  }
  PaintChecked();
  ExpectSoundAxes(chart);
  ExpectSoundCoordinates(rec, 1e6f);
  EXPECT_EQ(line->Count(), 100);
}

const float fNaN = std::numeric_limits<float>::quiet_NaN();

const TSettingCase kSettingCases[] = {
      {"increment -1", [](BadInputTest& t) { t.chart.LeftAxis()->SetIncrement(-1); }},
      {"increment NaN", [](BadInputTest& t) { t.chart.LeftAxis()->SetIncrement(kNaN); }},
      {"increment infinite", [](BadInputTest& t) { t.chart.LeftAxis()->SetIncrement(kInf); }},
      {"increment tiny", [](BadInputTest& t) { t.chart.LeftAxis()->SetIncrement(kDenorm); }},
      {"label angle INT_MIN", [](BadInputTest& t) { t.chart.LeftAxis()->Labels()->SetAngle(INT_MIN); }},
      {"label separation INT_MIN", [](BadInputTest& t) { t.chart.BottomAxis()->Labels()->SetSeparation(INT_MIN); }},
      {"label separation INT_MAX", [](BadInputTest& t) { t.chart.BottomAxis()->Labels()->SetSeparation(INT_MAX); }},
      {"minor ticks INT_MAX",
       [](BadInputTest& t) {
         t.chart.LeftAxis()->SetMinorTickCount(INT_MAX);
         t.chart.LeftAxis()->MinorGrid()->SetVisible(true);
       }},
      {"grid every INT_MIN",
       [](BadInputTest& t) {
         t.chart.LeftAxis()->Grid()->SetDrawEvery(INT_MIN);
         t.chart.LeftAxis()->Grid()->SetCentered(true);
       }},
      {"label font huge", [](BadInputTest& t) { t.chart.LeftAxis()->Labels()->Font()->SetSize(1e30f); }},
      {"label font NaN", [](BadInputTest& t) { t.chart.BottomAxis()->Labels()->Font()->SetSize(fNaN); }},
      {"label font negative", [](BadInputTest& t) { t.chart.BottomAxis()->Labels()->Font()->SetSize(-5); }},
      {"title font huge", [](BadInputTest& t) { t.chart.Title()->Font()->SetSize(1e30f); }},
      {"marks font NaN", [](BadInputTest& t) { t.line->Marks()->Font()->SetSize(fNaN); }},
      {"legend font huge",
       [](BadInputTest& t) {
         t.chart.Legend()->SetVisible(true);
         t.chart.Legend()->Font()->SetSize(1e9f);
       }},
      {"line pen width -1", [](BadInputTest& t) { t.line->Pen()->SetWidth(-1); }},
      {"line pen width NaN", [](BadInputTest& t) { t.line->Pen()->SetWidth(fNaN); }},
      {"line pen width huge", [](BadInputTest& t) { t.line->Pen()->SetWidth(1e30f); }},
      {"axis pen width huge", [](BadInputTest& t) { t.chart.LeftAxis()->Axis()->SetWidth(1e30f); }},
      {"border width INT_MAX", [](BadInputTest& t) { t.chart.SetBorderWidth(INT_MAX); }},
      {"bevel width INT_MAX", [](BadInputTest& t) { t.chart.SetBevelWidth(INT_MAX); }},
      {"bevel width negative", [](BadInputTest& t) { t.chart.SetBevelWidth(-5); }},
      {"border round INT_MAX", [](BadInputTest& t) { t.chart.SetBorderRound(INT_MAX); }},
      {"margins INT_MIN",
       [](BadInputTest& t) {
         t.chart.SetMarginLeft(INT_MIN);
         t.chart.SetMarginTop(INT_MIN);
       }},
      {"shadow INT_MAX",
       [](BadInputTest& t) {
         t.chart.Shadow()->SetSize(INT_MAX);
         t.chart.Shadow()->SetVisible(true);
       }},
      {"legend position and spacing",
       [](BadInputTest& t) {
         t.chart.Legend()->SetVisible(true);
         t.chart.Legend()->SetTopPos(1000000000);
         t.chart.Legend()->SetVertSpacing(INT_MAX);
         t.chart.Legend()->SetMaxNumRows(INT_MIN);
       }},
      {"palette index negative", [](BadInputTest& t) { t.chart.SetColorPaletteIndex(INT_MIN); }},
      {"palette index beyond", [](BadInputTest& t) { t.chart.SetColorPaletteIndex(1000); }},
      {"points per page INT_MAX", [](BadInputTest& t) { t.chart.SetMaxPointsPerPage(INT_MAX); }},
      {"scaled last page",
       [](BadInputTest& t) {
         t.chart.SetMaxPointsPerPage(INT_MAX / 2);
         t.chart.SetScaleLastPage(false);
         t.chart.Pages().SetAutoScale(true);
       }},
      {"bounds NaN", [](BadInputTest& t) { t.chart.SetBounds(0, 0, fNaN, fNaN); }},
      {"bounds negative", [](BadInputTest& t) { t.chart.SetBounds(0, 0, -1e9f, -1e9f); }},
      {"bounds huge", [](BadInputTest& t) { t.chart.SetBounds(0, 0, 1e9f, 3e38f); }},
      {"zoom percent 0", [](BadInputTest& t) { t.chart.ZoomPercent(0); }},
      {"zoom percent NaN", [](BadInputTest& t) { t.chart.ZoomPercent(kNaN); }},
      {"zoom percent huge negative", [](BadInputTest& t) { t.chart.ZoomPercent(-1e308); }},
      {"zoom rectangle huge", [](BadInputTest& t) { t.chart.ZoomRect({-1e30f, -1e30f, 1e30f, 1e30f}); }},
      {"zoom targets not finite", [](BadInputTest& t) { t.chart.DoZoom(kNaN, 1, kNaN, kInf, 0, 1, -kInf, 2); }},
      {"animated steps INT_MIN",
       [](BadInputTest& t) {
         t.chart.Zoom()->SetAnimated(true);
         t.chart.Zoom()->SetAnimatedSteps(INT_MIN);
         t.chart.ZoomPercent(110);
       }},
      {"scroll bar position INT_MIN", [](BadInputTest& t) { t.bar->SetPosition(INT_MIN); }},
      {"scroll bar position INT_MAX", [](BadInputTest& t) { t.bar->SetPosition(INT_MAX); }},
      {"scroll bar ensure visible", [](BadInputTest& t) { t.bar->EnsureVisible(INT_MIN); t.bar->EnsureVisible(INT_MAX); }},
      {"scroll bar sizes INT_MAX",
       [](BadInputTest& t) {
         t.bar->SetSize(INT_MAX);
         t.bar->SetMargin(INT_MAX);
         t.bar->SetThumbSize(INT_MAX);
       }},
      {"scroll bar sizes negative",
       [](BadInputTest& t) {
         t.bar->SetSize(INT_MIN);
         t.bar->SetThumbSize(-5);
         t.bar->SetMinThumbSize(INT_MAX);
       }},
      {"marks callout huge", [](BadInputTest& t) { t.line->Marks()->SetArrowLength(INT_MAX); }},
};

INSTANTIATE_TEST_SUITE_P(Cases, ExtremeSettingTest, ::testing::ValuesIn(kSettingCases),
                         [](const ::testing::TestParamInfo<TSettingCase>& info) {
                           std::string name;
                           for (const char* c = info.param.name; *c; ++c)
                             if (std::isalnum(static_cast<unsigned char>(*c))) name += *c;
                           return name;
                         });

// ---- Paints of bad data --------------------------------------------------------------

TEST_F(BadInputTest, PaintsOfBadDataRaiseNothingAndDrawSoundCoordinates) {
  struct TDataSet {
    const char* name;
    std::function<void(TChartSeries*)> fill;
  };
  auto points = [](std::vector<std::pair<double, double>> xy) {
    return [xy](TChartSeries* s) {
      for (const auto& [x, y] : xy) s->AddXY(x, y);
    };
  };
  const TDataSet sets[] = {
      {"all NaN", points({{kNaN, kNaN}, {kNaN, kNaN}, {kNaN, kNaN}})},
      {"some NaN", points({{0, 1}, {1, kNaN}, {kNaN, 3}, {3, 4}, {4, kNaN}})},
      {"infinities", points({{0, kInf}, {1, -kInf}, {kInf, 2}, {-kInf, 3}, {4, 5}})},
      {"largest doubles", points({{-1e308, 1e308}, {0, -1e308}, {1e308, 1e308}, {2, -kMax}, {3, kMax}})},
      {"subnormals", points({{0, kDenorm}, {kDenorm, 2 * kDenorm}, {2 * kDenorm, 0}, {3 * kDenorm, -kDenorm}})},
      {"all equal", [](TChartSeries* s) { for (int i = 0; i < 30; ++i) s->AddXY(i, 7); }},
      {"single point", points({{5, 5}})},
      {"empty", points({})},
      {"X all equal", [](TChartSeries* s) { for (int i = 0; i < 30; ++i) s->AddXY(3, i); }},
      {"descending X",
       [](TChartSeries* s) {
         s->XValues()->SetOrder(loNone);
         for (int i = 0; i < 30; ++i) s->AddXY(30 - i, i % 7);
       }},
      {"a million points of one value",
       [](TChartSeries* s) {
         s->BeginUpdate();
         for (int i = 0; i < 1000000; ++i) s->AddXY(i, 42);
         s->EndUpdate();
       }},
  };
  for (const TDataSet& set : sets) {
    // Paged like the application, then the whole series at once (marks
    // only while there are few points).
    for (bool paged : {true, false}) {
      SCOPED_TRACE(std::string(set.name) + (paged ? ", paged" : ", whole"));
      line->Clear();
      line->XValues()->SetOrder(loAscending);
      set.fill(line);
      chart.SetMaxPointsPerPage(paged ? 10 : 0);
      chart.SetPage(chart.NumPages());
      line->Marks()->SetVisible(paged || line->Count() <= 1000);
      chart.BottomAxis()->SetAutomatic(true);
      PaintChecked();
      ExpectSoundAxes(chart);
      ExpectSoundCoordinates(rec);
      // The scroll bar follows the bad data as well.
      PaintChecked();
      ExpectSoundCoordinates(rec);
    }
  }
}

}  // namespace

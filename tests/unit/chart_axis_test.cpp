// Axis scale and the mapping between values and pixels: the conversion
// forms with their rounding and clamping, the inverse, the scale setters
// and their errors, scrolling, widening by pixel margins and round scales.
#include "axes/chart_axis.h"

#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>

#include "chart_fixture.h"

using namespace sextant;
using sextant::testing::BlankChartTest;

namespace {

// Axes laid out over pixels 100..300 in both directions.
class AxisTest : public BlankChartTest {
 protected:
  AxisTest() { SetSpan(100, 300); }

  void SetSpan(float from, float to) {
    chart.ChartRect = {from, from, to, to};
    chart.ReCalcWidthHeight();
  }
  // Fixes the scale and lays the axis out as a paint would.
  void Layout(TChartAxis* axis, double min, double max) {
    axis->SetMinMax(min, max);
    axis->InternalCalcPositions();
    axis->AdjustMaxMin();
  }
};

struct MapCase {
  const char* name;
  bool horizontal;
  bool inverted;
  bool fast;
  double min, max, value;
  int pixel;
};

const double NaN = std::numeric_limits<double>::quiet_NaN();

const MapCase kMapCases[] = {
    {"middle horizontal", true, false, false, 0, 100, 50, 200},
    {"vertical 75", false, false, false, 0, 100, 75, 150},
    {"horizontal minimum", true, false, false, 0, 100, 0, 100},
    {"vertical minimum at bottom", false, false, false, 0, 100, 0, 300},
    {"tie 200.5 to even", true, false, false, 0, 100, 50.25, 200},
    {"tie 201.5 to even", true, false, false, 0, 100, 50.75, 202},
    {"vertical tie 150.5 to even", false, false, false, 0, 100, 74.75, 150},
    {"inverted horizontal minimum at end", true, true, false, 0, 100, 0, 300},
    {"inverted horizontal 25", true, true, false, 0, 100, 25, 250},
    {"inverted vertical 75", false, true, false, 0, 100, 75, 250},
    {"huge horizontal clamps", true, false, false, 0, 10, 1e9, 32767},
    {"huge vertical clamps", false, false, false, 0, 10, 1e9, -32767},
    {"huge negative horizontal clamps", true, false, false, 0, 10, -1e9, -32767},
    {"NaN horizontal", true, false, false, 0, 10, NaN, 32767},
    {"NaN vertical", false, false, false, 0, 10, NaN, 32767},
    {"infinity horizontal", true, false, false, 0, 10,
     std::numeric_limits<double>::infinity(), 32767},
    // FastCalc clamps the distance, not the sum.
    {"fast middle", true, false, true, 0, 100, 50, 200},
    {"fast vertical", false, false, true, 0, 100, 75, 150},
    {"fast huge horizontal", true, false, true, 0, 10, 1e9, 100 + 32767},
    {"fast huge vertical", false, false, true, 0, 10, 1e9, 300 - 32767},
    {"fast inverted", true, true, true, 0, 100, 25, 250},
    {"fast NaN", true, false, true, 0, 10, NaN, 100 + 32767},
};

TEST_F(AxisTest, ValueToPixelTable) {
  for (const MapCase& c : kMapCases) {
    SCOPED_TRACE(c.name);
    chart.Axes().SetFastCalc(c.fast);
    TChartAxis* axis = c.horizontal ? chart.BottomAxis() : chart.LeftAxis();
    axis->SetInverted(c.inverted);
    Layout(axis, c.min, c.max);
    EXPECT_EQ(axis->CalcPosValue(c.value), c.pixel);
    // The direction forms give the same answer as the axis' own form.
    if (c.horizontal)
      EXPECT_EQ(axis->CalcXPosValue(c.value), c.pixel);
    else
      EXPECT_EQ(axis->CalcYPosValue(c.value), c.pixel);
  }
}

TEST_F(AxisTest, LayoutInvariants) {
  SetSpan(100, 301);
  TChartAxis* axis = chart.BottomAxis();
  Layout(axis, 2, 12);
  EXPECT_EQ(axis->IStartPos, 100);
  EXPECT_EQ(axis->IEndPos, 301);
  EXPECT_EQ(axis->IAxisSize, 201);
  EXPECT_EQ(axis->ICenterPos, 200);  // 401 / 2 truncated
  EXPECT_EQ(axis->IRange, 10.0L);
  EXPECT_FALSE(axis->IRangeZero);
  EXPECT_DOUBLE_EQ(axis->IAxisSizeRange, 20.1);

  // Start and end positions are percentages of the chart rectangle.
  SetSpan(100, 300);
  axis->SetStartPosition(10);
  axis->SetEndPosition(90);
  axis->InternalCalcPositions();
  EXPECT_EQ(axis->IStartPos, 120);
  EXPECT_EQ(axis->IEndPos, 280);
}

TEST_F(AxisTest, ZeroRangeMapsEverythingToTheCentre) {
  for (TChartAxis* axis : {chart.BottomAxis(), chart.LeftAxis()}) {
    Layout(axis, 5, 5);
    EXPECT_TRUE(axis->IRangeZero);
    EXPECT_EQ(axis->IAxisSizeRange, 0);
    for (double v : {5.0, -1e9, 1e9, NaN}) EXPECT_EQ(axis->CalcPosValue(v), 200);
    EXPECT_EQ(axis->CalcSizeValue(3), 0);
  }
}

TEST_F(AxisTest, PixelToValueIsTheInverse) {
  for (bool horizontal : {true, false})
    for (bool inverted : {false, true}) {
      SCOPED_TRACE(::testing::Message() << "horizontal " << horizontal << " inverted " << inverted);
      TChartAxis* axis = horizontal ? chart.BottomAxis() : chart.LeftAxis();
      axis->SetInverted(inverted);
      Layout(axis, -3, 7);
      for (int pixel = 100; pixel <= 300; pixel += 7)
        EXPECT_EQ(axis->CalcPosValue(axis->CalcPosPoint(pixel)), pixel);
      // The start pixel is the minimum horizontally, the maximum vertically.
      const double atStart = axis->CalcPosPoint(100);
      if (horizontal != inverted)
        EXPECT_DOUBLE_EQ(atStart, -3);
      else
        EXPECT_DOUBLE_EQ(atStart, 7);
    }
  TChartAxis* axis = chart.BottomAxis();
  Layout(axis, 0, 10);
  EXPECT_DOUBLE_EQ(axis->CalcPosPoint(150), 7.5);  // inverted: (300 - 150) x 10 / 200
  SetSpan(100, 100);                                // an axis of size 0
  axis->SetInverted(false);
  Layout(axis, 0, 10);
  EXPECT_EQ(axis->CalcPosPoint(100), 0);
}

TEST_F(AxisTest, SizeOfAValueInterval) {
  TChartAxis* axis = chart.BottomAxis();
  Layout(axis, 0, 100);
  struct {
    double finish, start;
    int size;
  } cases[] = {{10, 0, 20}, {0, 10, 20}, {0.25, 0, 0}, {0.75, 0, 2}, {3, 3, 0}, {1e12, 0, 2147483647}};
  for (auto& c : cases) EXPECT_EQ(axis->CalcSizeValue(c.finish, c.start), c.size) << c.finish;
  EXPECT_EQ(axis->CalcSizeValue(25), 50);
}

TEST_F(AxisTest, SetMinMaxExchangesAndFixesTheScale) {
  TChartAxis* axis = chart.BottomAxis();
  ASSERT_TRUE(axis->Automatic());
  axis->SetMinMax(10, 5);
  EXPECT_EQ(axis->Minimum(), 5);
  EXPECT_EQ(axis->Maximum(), 10);
  EXPECT_FALSE(axis->Automatic());
  EXPECT_FALSE(axis->AutomaticMinimum());
  EXPECT_FALSE(axis->AutomaticMaximum());
  // A paint keeps the explicit scale.
  Paint();
  EXPECT_EQ(axis->Minimum(), 5);
  EXPECT_EQ(axis->IMinimum, 5);
  EXPECT_EQ(axis->IMaximum, 10);
}

TEST_F(AxisTest, MinimumAndMaximumSettersRefuseCrossingEnds) {
  TChartAxis* axis = chart.LeftAxis();
  axis->SetMinMax(0, 10);
  const int before = host.Invalidates;
  try {
    axis->SetMinimum(11);
    FAIL() << "no exception";
  } catch (const AxisException& e) {
    EXPECT_STREQ(e.what(), "Axis Minimum Value must be <= Maximum");
  }
  try {
    axis->SetMaximum(-1);
    FAIL() << "no exception";
  } catch (const AxisException& e) {
    EXPECT_STREQ(e.what(), "Axis Maximum Value must be >= Minimum");
  }
  EXPECT_THROW(axis->SetMinimum(NaN), AxisException);
  EXPECT_EQ(axis->Minimum(), 0);
  EXPECT_EQ(axis->Maximum(), 10);
  EXPECT_EQ(host.Invalidates, before);

  // Valid values are stored; the setters leave Automatic alone.
  axis->SetAutomatic(true);
  axis->SetMinimum(10);
  axis->SetMaximum(20);
  EXPECT_EQ(axis->Minimum(), 10);
  EXPECT_EQ(axis->Maximum(), 20);
  EXPECT_TRUE(axis->Automatic());
  EXPECT_GT(host.Invalidates, before);
}

TEST_F(AxisTest, AutomaticFlags) {
  TChartAxis* axis = chart.BottomAxis();
  axis->SetAutomaticMinimum(false);
  EXPECT_FALSE(axis->Automatic());
  EXPECT_TRUE(axis->AutomaticMaximum());
  axis->SetAutomaticMinimum(true);  // both ends automatic again
  EXPECT_TRUE(axis->Automatic());
  axis->SetAutomaticMaximum(false);
  axis->SetAutomaticMinimum(true);  // the other end is still fixed
  EXPECT_FALSE(axis->Automatic());
  axis->SetAutomatic(false);
  EXPECT_FALSE(axis->AutomaticMinimum());
  axis->SetAutomatic(true);
  EXPECT_TRUE(axis->AutomaticMinimum());
  EXPECT_TRUE(axis->AutomaticMaximum());
}

TEST_F(AxisTest, ScrollMovesBothEndsWithinTheDataWhenAsked) {
  AddLine(100);  // X from 0 to 99
  TChartAxis* axis = chart.BottomAxis();
  axis->SetMinMax(89, 99);
  axis->Scroll(1, true);  // already at the last value
  EXPECT_EQ(axis->Minimum(), 89);
  EXPECT_EQ(axis->Maximum(), 99);
  axis->Scroll(0, true);
  EXPECT_EQ(axis->Minimum(), 89);
  axis->Scroll(-1.5, true);
  EXPECT_EQ(axis->Minimum(), 87.5);
  EXPECT_EQ(axis->Maximum(), 97.5);
  axis->Scroll(3, false);  // moves anyway
  EXPECT_EQ(axis->Minimum(), 90.5);
  EXPECT_EQ(axis->Maximum(), 100.5);

  axis->SetMinMax(0, 10);
  axis->Scroll(-1, true);  // already at the first value
  EXPECT_EQ(axis->Minimum(), 0);

  // Scrolling makes an automatic axis explicit.
  TChartAxis* left = chart.LeftAxis();
  ASSERT_TRUE(left->Automatic());
  const int before = host.Invalidates;
  left->Scroll(2, false);
  EXPECT_FALSE(left->Automatic());
  EXPECT_FALSE(left->AutomaticMinimum());
  EXPECT_FALSE(left->AutomaticMaximum());
  EXPECT_GT(host.Invalidates, before);
}

TEST_F(AxisTest, MarginsWidenTheScaleInsideTheSpan) {
  TChartAxis* h = chart.BottomAxis();
  Layout(h, 0, 100);
  h->AdjustMaxMinRect({2, 0, 3, 0});
  EXPECT_EQ(h->IStartPos, 100);  // the span is unchanged
  EXPECT_EQ(h->IEndPos, 300);
  EXPECT_EQ(h->CalcPosValue(0), 102);
  EXPECT_EQ(h->CalcPosValue(100), 297);
  EXPECT_NEAR(static_cast<double>(h->IRange), 100.0 * 200 / 195, 1e-9);
  EXPECT_EQ(h->Minimum(), 0);  // the stored ends keep the unwidened values
  EXPECT_EQ(h->Maximum(), 100);

  TChartAxis* v = chart.LeftAxis();
  Layout(v, 0, 100);
  v->AdjustMaxMinRect({0, 2, 0, 4});
  EXPECT_EQ(v->CalcPosValue(100), 102);  // top margin at the maximum
  EXPECT_EQ(v->CalcPosValue(0), 296);
  EXPECT_LT(v->IMinimum, 0);
  EXPECT_GT(v->IMaximum, 100);

  // Margins that leave no span keep the scale instead of collapsing it.
  Layout(h, 0, 100);
  h->AdjustMaxMinRect({150, 0, 60, 0});
  EXPECT_EQ(h->IMinimum, 0);
  EXPECT_EQ(h->IMaximum, 100);
}

TEST_F(AxisTest, RoundScalesUseTheIncrement) {
  auto* s = new TFastLineSeries();
  s->AddXY(0, 3);
  s->AddXY(1, 97);
  chart.AddSeries(s);
  SetSpan(100, 110);  // 10 pixels: the step of 97 / 11 grows to 10
  TChartAxis* axis = chart.LeftAxis();
  // Labels counted as 1 pixel: room for ten of them.
  axis->Labels()->SetGridIgnoresLabelSize(true);
  axis->InternalCalcPositions();
  axis->AdjustMaxMin();
  EXPECT_EQ(axis->IMinimum, 3);
  EXPECT_EQ(axis->IMaximum, 97);
  EXPECT_DOUBLE_EQ(axis->CalcIncrement(), 10);

  axis->SetMaximumRound(true);
  axis->SetMinimumRound(true);
  // The automatic ends are not rounded before the margins widened them.
  axis->AdjustMaxMin();
  EXPECT_EQ(axis->IMinimum, 3);
  EXPECT_EQ(axis->IMaximum, 97);
  axis->CalcRoundScales();
  EXPECT_EQ(axis->IMinimum, 0);
  EXPECT_EQ(axis->IMaximum, 100);
  EXPECT_EQ(axis->IRange, 100.0L);
  EXPECT_EQ(axis->Minimum(), 3);  // the stored ends are not rounded

  // An explicit scale is not rounded.
  axis->SetMinMax(3, 97);
  axis->AdjustMaxMin();
  axis->CalcRoundScales();
  EXPECT_EQ(axis->IMaximum, 97);
  EXPECT_EQ(axis->IMinimum, 3);
  // A desired increment is used as the start step.
  axis->SetIncrement(25);
  EXPECT_DOUBLE_EQ(axis->CalcIncrement(), 25);
}

TEST_F(AxisTest, RoundedEndsHoldTheWidenedScaleOnEveryPaint) {
  // Data 13 .. 88 on the left axis of the 400 x 300 chart: the line's
  // margins widen it to 12.56 .. 88.44, which rounds to 10 .. 90.
  auto* s = new TFastLineSeries();
  s->AddXY(0, 13);
  s->AddXY(1, 88);
  chart.AddSeries(s);
  TChartAxis* left = chart.LeftAxis();
  struct {
    bool roundMin, roundMax;
    double minimum, maximum;
  } cases[] = {{true, true, 10, 90}, {true, false, 10, 0}, {false, true, 0, 90}};
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << "round min " << c.roundMin << " max " << c.roundMax);
    left->SetMinimumRound(c.roundMin);
    left->SetMaximumRound(c.roundMax);
    for (int paint = 1; paint <= 3; ++paint) {
      SCOPED_TRACE(paint);
      Paint();
      // An end that is not rounded keeps its widened value: the data end
      // lies the line's 2 pixels inside it.
      if (c.roundMin)
        EXPECT_EQ(left->IMinimum, c.minimum);
      else
        EXPECT_EQ(left->CalcYPosValue(13), left->IEndPos - 2);
      if (c.roundMax)
        EXPECT_EQ(left->IMaximum, c.maximum);
      else
        EXPECT_EQ(left->CalcYPosValue(88), left->IStartPos + 2);
      EXPECT_EQ(left->Minimum(), 13);
      EXPECT_EQ(left->Maximum(), 88);
    }
  }
  // The labels of the rounded scale reach both ends.
  ASSERT_GT(left->Items()->Count(), 1);
}

// ---- Scales near the limits of the pixels and of the doubles ----

TEST_F(AxisTest, ZeroRangeCentreBeyondThePixelBoundIsClamped) {
  // A span far beyond the bound (start and end positions of 50000 % and
  // 100000 % of the 200 pixels): its centre is no pixel the checked forms
  // may give.
  for (TChartAxis* axis : {chart.BottomAxis(), chart.LeftAxis()}) {
    axis->SetStartPosition(50000);
    axis->SetEndPosition(100000);
    Layout(axis, 5, 5);
    ASSERT_EQ(axis->ICenterPos, 150100);
    EXPECT_EQ(axis->CalcPosValue(5), 32767);
    EXPECT_EQ(axis->CalcXPosValue(5), 32767);
    EXPECT_EQ(axis->CalcYPosValue(5), 32767);
  }
}

TEST_F(AxisTest, SpanPositionsFarBeyondTheRectangleDoNotOverflow) {
  struct {
    double start, end;
  } cases[] = {{0, 1e12}, {-1e12, 100}, {-1e300, 1e300}, {0, 3e7}};
  TChartAxis* axis = chart.BottomAxis();
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.start << " .. " << c.end << " %");
    axis->SetStartPosition(c.start);
    axis->SetEndPosition(c.end);
    Layout(axis, 0, 10);
    // The ends stay within half the int range, so size and centre are sums
    // that cannot overflow.
    EXPECT_LT(axis->IStartPos, axis->IEndPos);
    EXPECT_GE(axis->IStartPos, -(INT_MAX / 2));
    EXPECT_LE(axis->IEndPos, INT_MAX / 2);
    EXPECT_EQ(axis->IAxisSize, axis->IEndPos - axis->IStartPos);
    EXPECT_GT(axis->IAxisSize, 0);
    for (double v : {0.0, 5.0, 10.0, 1e300}) {
      EXPECT_LE(axis->CalcPosValue(v), 32767);
      EXPECT_GE(axis->CalcPosValue(v), -32767);
    }
  }
}

TEST_F(AxisTest, PixelsBeyondAHugeRangeGiveTheLargestDouble) {
  const double kMax = std::numeric_limits<double>::max();
  for (bool horizontal : {true, false}) {
    SCOPED_TRACE(horizontal ? "horizontal" : "vertical");
    TChartAxis* axis = horizontal ? chart.BottomAxis() : chart.LeftAxis();
    Layout(axis, -1.7e308, 1.7e308);
    // Past the start pixel lies the minimum side horizontally, the maximum
    // side vertically.
    const double beforeStart = axis->CalcPosPoint(0);
    const double afterEnd = axis->CalcPosPoint(400);
    EXPECT_EQ(beforeStart, horizontal ? -kMax : kMax);
    EXPECT_EQ(afterEnd, horizontal ? kMax : -kMax);
    for (int pixel : {-32767, 32767, 100, 200, 300}) EXPECT_TRUE(std::isfinite(axis->CalcPosPoint(pixel))) << pixel;
    EXPECT_DOUBLE_EQ(axis->CalcPosPoint(200), 0);
  }
}

TEST_F(AxisTest, ValuesAcrossNearlyAllDoublesMapInsideTheSpan) {
  // Value - Minimum leaves the doubles for such a range; the pixel does not.
  struct {
    double value;
    int horizontal, vertical;
  } cases[] = {{1.7e308, 300, 100}, {-1.7e308, 100, 300}, {0, 200, 200}, {8.5e307, 250, 150}};
  for (bool fast : {false, true}) {
    chart.Axes().SetFastCalc(fast);
    Layout(chart.BottomAxis(), -1.7e308, 1.7e308);
    Layout(chart.LeftAxis(), -1.7e308, 1.7e308);
    for (const auto& c : cases) {
      SCOPED_TRACE(::testing::Message() << c.value << (fast ? " fast" : " checked"));
      EXPECT_EQ(chart.BottomAxis()->CalcPosValue(c.value), c.horizontal);
      EXPECT_EQ(chart.LeftAxis()->CalcPosValue(c.value), c.vertical);
    }
  }
}

TEST_F(AxisTest, MarginsBeyondTheIntPixelsLeaveTheScaleUnwidened) {
  // Offsets of any size reach AdjustMaxMinRect as margins.
  const TRectF cases[] = {{2e9f, 0, -2e9f, 0}, {-2e9f, 0, -2e9f, 0}, {0, 0, 3e9f, 0}, {-3e9f, 0, 0, 0}};
  TChartAxis* h = chart.BottomAxis();
  for (const TRectF& r : cases) {
    SCOPED_TRACE(::testing::Message() << r.Left << ", " << r.Right);
    Layout(h, 0, 100);
    h->AdjustMaxMinRect(r);
    EXPECT_EQ(h->IStartPos, 100);
    EXPECT_EQ(h->IEndPos, 300);
    EXPECT_EQ(h->IMinimum, 0);
    EXPECT_EQ(h->IMaximum, 100);
  }
}

TEST_F(AxisTest, AnAutomaticEndIsTakenFromTheDataEvenAcrossAFixedOne) {
  AddLine(11);  // X 0..10, Y 10..20
  struct {
    const char* name;
    bool vertical, automaticMaximum;
    double fixedMin, fixedMax;
    double minimum, maximum;  // after a paint
  } cases[] = {
      // The automatic maximum lies below the fixed minimum: inverted scale.
      {"left, maximum below the fixed minimum", true, true, 50, 60, 50, 20},
      {"bottom, minimum above the fixed maximum", false, false, -50, -20, 0, -20},
      // On the right side of the fixed end it is taken as it is.
      {"left, maximum above the fixed minimum", true, true, 0, 200, 0, 20},
      {"bottom, minimum below the fixed maximum", false, false, -50, 40, 0, 40},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    TChartAxis* axis = c.vertical ? chart.LeftAxis() : chart.BottomAxis();
    axis->SetMinMax(c.fixedMin, c.fixedMax);
    if (c.automaticMaximum)
      axis->SetAutomaticMaximum(true);
    else
      axis->SetAutomaticMinimum(true);
    Paint();
    EXPECT_EQ(axis->Minimum(), c.minimum);
    EXPECT_EQ(axis->Maximum(), c.maximum);
    // The internal scale keeps the order of the stored ends through the
    // widening by the line's margins.
    EXPECT_EQ(axis->IMinimum > axis->IMaximum, c.minimum > c.maximum);
    // An inverted scale shows no labels.
    EXPECT_EQ(axis->Items()->Count() == 0, c.minimum > c.maximum) << axis->Items()->Count();
    axis->SetAutomatic(true);
  }
}

TEST_F(AxisTest, LeftAxisFixedAt50To60WithAnAutomaticMaximumAndData10To30) {
  auto* s = new TFastLineSeries();
  s->AddXY(0, 10);
  s->AddXY(1, 30);
  chart.AddSeries(s);
  TChartAxis* left = chart.LeftAxis();
  left->SetMinMax(50, 60);
  left->SetAutomaticMaximum(true);
  Paint();
  EXPECT_EQ(left->Maximum(), 30);
  EXPECT_EQ(left->Minimum(), 50);
  // The automatic end got the line's 2 pixels; the fixed end got none: 30
  // is drawn 2 pixels below the top, 50 on the bottom end.
  EXPECT_EQ(left->CalcYPosValue(30), left->IStartPos + 2);
  EXPECT_EQ(left->CalcYPosValue(50), left->IEndPos);
  EXPECT_EQ(left->Items()->Count(), 0);
  EXPECT_TRUE(left->Tick.empty());
}

TEST_F(AxisTest, RoundedEndsBeyondTheDoublesKeepTheirValues) {
  const double kMax = std::numeric_limits<double>::max();
  auto* s = new TFastLineSeries();
  s->AddXY(0, -kMax);
  s->AddXY(1, kMax);
  chart.AddSeries(s);
  TChartAxis* left = chart.LeftAxis();
  left->SetMaximumRound(true);
  left->SetMinimumRound(true);
  for (double increment : {0.0, 1e308, 3e307}) {
    SCOPED_TRACE(increment);
    left->SetIncrement(increment);
    Paint();
    // Rounded outwards to a multiple of the increment the ends would pass
    // the largest double: they keep the values of the data.
    EXPECT_EQ(left->IMinimum, -kMax);
    EXPECT_EQ(left->IMaximum, kMax);
  }
}

TEST(AxisSetUp, StandardAndCustomAxes) {
  TChart chart;
  const char* ids[] = {"Bottom", "Top", "Left", "Right", "Depth", "DepthTop"};
  ASSERT_EQ(chart.Axes().Count(), 6);
  for (int i = 0; i < 6; ++i) {
    EXPECT_EQ(chart.Axes()[i]->AxisID(), ids[i]);
    EXPECT_TRUE(chart.Axes()[i]->ResizeChart());
  }
  struct {
    TChartAxis* axis;
    bool horizontal, otherSide, visible, depth;
    double z;
  } setUp[] = {{chart.BottomAxis(), true, false, true, false, 0},
               {chart.TopAxis(), true, true, true, false, 100},
               {chart.LeftAxis(), false, false, true, false, 0},
               {chart.RightAxis(), false, true, true, false, 100},
               {chart.DepthAxis(), false, true, false, true, 0},
               {chart.DepthTopAxis(), false, false, false, true, 0}};
  for (auto& s : setUp) {
    SCOPED_TRACE(s.axis->AxisID());
    EXPECT_EQ(s.axis->Horizontal(), s.horizontal);
    EXPECT_EQ(s.axis->OtherSide(), s.otherSide);
    EXPECT_EQ(s.axis->Visible(), s.visible);
    EXPECT_EQ(s.axis->IsDepthAxis(), s.depth);
    EXPECT_EQ(s.axis->ZPosition(), s.z);
    EXPECT_TRUE(s.axis->Automatic());
  }
  TChartAxis* custom = chart.AddCustomAxis();
  EXPECT_EQ(chart.Axes().Count(), 7);
  EXPECT_EQ(chart.Axes()[6], custom);
  EXPECT_FALSE(custom->ResizeChart());
  EXPECT_EQ(chart.CustomAxesCount(), 1);
}

TEST(AxisSetUp, AssignCopiesTheScaleSettings) {
  TChart chart;
  TChartAxis* source = chart.BottomAxis();
  source->SetMinMax(3, 8);
  source->SetInverted(true);
  source->SetMinimumOffset(4);
  TChartAxis* custom = chart.AddCustomAxis();
  custom->Assign(source);
  EXPECT_EQ(custom->Minimum(), 3);
  EXPECT_EQ(custom->Maximum(), 8);
  EXPECT_FALSE(custom->Automatic());
  EXPECT_TRUE(custom->Inverted());
  EXPECT_TRUE(custom->Horizontal());
  EXPECT_EQ(custom->MinimumOffset(), 4);
  EXPECT_TRUE(custom->AxisID().empty());  // identity is not copied
  EXPECT_THROW(custom->Assign(chart.Border()), ChartException);
}

}  // namespace

// Axis increments: the step for a number of labels (start, the raise to 1
// for a handful of points, the round-step search and its termination), the
// step for a label size, and the increment measured from label texts.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "axes/axis_math.h"
#include "chart_layout_fixture.h"

using namespace sextant;
using sextant::testing::LayoutTest;

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

class IncrementTest : public LayoutTest {
 protected:
  // One paint aims the chart's canvas at the control's canvas, so that
  // texts can be measured outside a paint.
  IncrementTest() { Paint(); }

  // The bottom axis over Pixels pixels showing Min..Max.
  TChartAxis* Axis(double Min, double Max, int Pixels = 700) {
    TChartAxis* a = chart.BottomAxis();
    chart.ChartRect = {100, 100, 100.0f + Pixels, 300};
    chart.ReCalcWidthHeight();
    a->InternalCalcPositions();
    a->IMinimum = Min;
    a->IMaximum = Max;
    a->InternalCalcRange();
    return a;
  }
};

struct LabelsCase {
  const char* name;
  double min, max;
  int labels;         // MaxNumLabels
  int separation;     // Labels.Separation
  double increment;   // the axis' desired Increment
  double expected;
};

TEST_F(IncrementTest, StepForANumberOfLabels) {
  const LabelsCase cases[] = {
      // 1000 / 11 = 90.9 gives 11 labels, one too many: the next round step.
      {"0..1000 ten labels", 0, 1000, 10, 10, 0, 100},
      // 9.2 / 22 = 0.418 gives 22 labels; 0.5 gives 18 <= 21.
      {"9.2 over 21 labels", 0, 9.2, 21, 10, 0, 0.5},
      {"0..1 ten labels", 0, 1, 10, 10, 0, 0.1},
      {"negative range part", -50, 50, 4, 10, 0, 50},
      // Without separation the plain share of the range, not a round step.
      {"separation 0", 0, 1000, 10, 0, 0, 1000.0 / 11},
      {"separation 0, 9.2", 0, 9.2, 21, 0, 0, 9.2 / 22},
      // A desired increment grows by max(20 %, itself): 25, 50, 75, 100.
      {"desired increment grows", 0, 1000, 10, 10, 25, 100},
      {"desired increment fits", 0, 1000, 50, 10, 25, 25},
      {"desired increment, separation 0", 0, 1000, 10, 0, 25, 25},
      // A zero range starts (and stays) at 1.
      {"zero range", 5, 5, 10, 10, 0, 1},
      // No room for any label: the smallest positive double.
      {"no labels", 0, 1000, 0, 10, 0, MinAxisIncrement},
      {"negative count", 0, 1000, -3, 10, 0, MinAxisIncrement},
  };
  for (const LabelsCase& c : cases) {
    SCOPED_TRACE(c.name);
    TChartAxis* a = Axis(c.min, c.max);
    a->Labels()->SetSeparation(c.separation);
    a->SetIncrement(c.increment);
    EXPECT_DOUBLE_EQ(a->CalcLabelsIncrement(c.labels), c.expected);
  }
}

TEST_F(IncrementTest, StepForALabelSize) {
  // Labels 30 pixels wide over 700 pixels: 30 + 3 (10 %) = 33, 700 / 33
  // rounds to 21 labels; the step becomes 0.5.
  TChartAxis* a = Axis(0, 9.2, 700);
  ASSERT_EQ(a->IAxisSize, 700);
  EXPECT_DOUBLE_EQ(a->CalcXYIncrement(30), 0.5);
  EXPECT_DOUBLE_EQ(a->CalcXYIncrement(30), a->CalcLabelsIncrement(21));
  // Without a size, or on an axis without pixels, room for one label.
  EXPECT_DOUBLE_EQ(a->CalcXYIncrement(0), a->CalcLabelsIncrement(1));
  a = Axis(0, 9.2, 0);
  EXPECT_DOUBLE_EQ(a->CalcXYIncrement(30), a->CalcLabelsIncrement(1));
}

struct FewPointsCase {
  const char* name;
  int points;       // X = 0 .. 4 spread over that many points
  int labels;
  double expected;
};

TEST_F(IncrementTest, AHandfulOfPointsNeverGetsFractionalSteps) {
  const FewPointsCase cases[] = {
      // 4 / 11 = 0.36 would give 0.5; five points on the axis raise it to 1.
      {"five points", 5, 10, 1},
      {"exactly N points", 10, 10, 1},
      // More points than labels: no raise.
      {"many points", 20, 10, 0.5},
  };
  for (const FewPointsCase& c : cases) {
    SCOPED_TRACE(c.name);
    chart.FreeAllSeries();
    auto* s = new TFastLineSeries();
    for (int i = 0; i < c.points; ++i) s->AddXY(4.0 * i / (c.points - 1), i);
    chart.AddSeries(s);
    TChartAxis* a = Axis(0, 4);
    EXPECT_DOUBLE_EQ(a->CalcLabelsIncrement(c.labels), c.expected);
    // The vertical axis is not the positional axis of the series.
    TChartAxis* left = chart.LeftAxis();
    left->IMinimum = 0;
    left->IMaximum = 4;
    left->InternalCalcRange();
    EXPECT_DOUBLE_EQ(left->CalcLabelsIncrement(c.labels), 0.5);
  }
  // A range below 1.1 is never raised.
  chart.FreeAllSeries();
  AddPoints({{0, 0}, {0.5, 1}, {1, 2}});
  EXPECT_DOUBLE_EQ(Axis(0, 1)->CalcLabelsIncrement(10), 0.1);
}

struct EndlessCase {
  const char* name;
  double min, max;
  double increment;
};

TEST_F(IncrementTest, TheSearchEndsForAnyRange) {
  const EndlessCase cases[] = {
      {"NaN maximum", 0, kNaN, 0},
      {"NaN minimum", kNaN, 1, 0},
      {"infinite range", -kInf, kInf, 0},
      {"infinite maximum", 0, kInf, 0},
      {"largest doubles", -1.7e308, 1.7e308, 0},
      {"tiny range", 0, 1e-300, 0},
      {"subnormal range", 4.9406564584124654e-324, 1e-323, 0},
      {"huge range, desired increment", 0, 1e300, 1},
      {"infinite range, desired increment", 0, kInf, 1},
  };
  for (const EndlessCase& c : cases) {
    SCOPED_TRACE(c.name);
    TChartAxis* a = Axis(c.min, c.max);
    a->SetIncrement(c.increment);
    const double step = a->CalcLabelsIncrement(10);
    // Never zero, negative or NaN (a NaN start ends as a finite step).
    EXPECT_TRUE(step > 0) << step;
    if (std::isfinite(c.max - c.min) && c.max > c.min) {
      EXPECT_LE(static_cast<long double>(c.max - c.min) / step, 10.5L);
    }
  }
}

// The increment measured from the label texts: the two ends and a middle
// value with decimals. With font size 10 a character is 5 pixels wide.
TEST_F(IncrementTest, MeasuredFromTheWidestLabel) {
  TChartAxis* a = Axis(0, 100, 88);
  a->Labels()->Font()->SetSize(10);
  // The middle value 50 is halved to 25 and to 12.5: "12.5" is 20 pixels,
  // + 2 (10 %) = 22, 88 / 22 = 4 labels: 100 / 5 = 20 gives 5 labels, too
  // many, so 50. (Measuring "50" instead would allow 5 labels and give 20.)
  EXPECT_EQ(a->LabelWidth(12.5), 20);
  EXPECT_EQ(a->LabelWidth(100), 15);
  EXPECT_DOUBLE_EQ(a->CalcIncrement(), 50);

  // A vertical axis measures the label height: 12.5 pixels per line.
  TChartAxis* left = chart.LeftAxis();
  EXPECT_EQ(left->LabelHeight(12.5), 14);  // the default font's "W" height
  // Turned labels swap what is measured.
  a->Labels()->SetAngle(90);
  EXPECT_EQ(a->LabelWidth(12.5), 12);  // one line of size 10: 12.5 -> 12
  left->Labels()->SetAngle(90);
  EXPECT_EQ(left->LabelHeight(100), 16);  // "100" at size 11: 16.5 -> 16
}

TEST_F(IncrementTest, GridIgnoresLabelSizeCountsOnePixel) {
  // Ten pixels of room for 1-pixel labels: ten labels, step 100.
  TChartAxis* a = Axis(0, 1000, 10);
  a->Labels()->SetGridIgnoresLabelSize(true);
  EXPECT_EQ(a->LabelWidth(123456), 1);
  EXPECT_DOUBLE_EQ(a->CalcIncrement(), 100);
}

TEST_F(IncrementTest, AlternateLabelsHalveTheStep) {
  TChartAxis* a = Axis(0, 1000, 10);
  a->Labels()->SetGridIgnoresLabelSize(true);
  a->Labels()->SetAlternate(true);
  EXPECT_DOUBLE_EQ(a->CalcIncrement(), 50);
}

TEST_F(IncrementTest, DesiredIncrementMeasuresTheLabelsNearTheEnds) {
  // With Increment 1000 on 0..1e6 the labels near the ends are
  // "1,000,000", "999,000", "0" and "1,000": the widest has 9 characters
  // (45 pixels at size 10, + 4 (4.5 rounds to even) = 49): 500 pixels give
  // 10 labels.
  TChartAxis* a = Axis(0, 1e6, 500);
  a->Labels()->Font()->SetSize(10);
  a->SetIncrement(1000);
  EXPECT_EQ(a->LabelWidth(1e6), 45);
  EXPECT_DOUBLE_EQ(a->CalcIncrement(), a->CalcLabelsIncrement(10));
}

}  // namespace

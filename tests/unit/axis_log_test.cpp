// Logarithmic axes on the recording canvas: the mapping and its inverse,
// the automatic range over positive values, labels at the powers with the
// minor ticks between them, exponent labels, panning and wheel steps in
// log space, and the refused settings.
#include <gtest/gtest.h>

#include <cmath>
#include <set>
#include <string>
#include <vector>

#include "axes/chart_axis.h"
#include "chart_layout_fixture.h"

using namespace sextant;
using sextant::testing::LayoutTest;

namespace {

using Texts = std::vector<std::string>;

class LogAxisTest : public LayoutTest {
 protected:
  static Texts ItemTexts(TChartAxis* axis) {
    Texts texts;
    for (int i = 0; i < axis->Items()->Count(); ++i) texts.push_back(axis->Items()->Items(i)->Text());
    return texts;
  }
  // A line (X, Y) = (i, Ys[i]) on a logarithmic left axis.
  TFastLineSeries* LogLeft(const std::vector<double>& ys) {
    std::vector<std::pair<double, double>> points;
    for (std::size_t i = 0; i < ys.size(); ++i) points.emplace_back(static_cast<double>(i), ys[i]);
    TFastLineSeries* s = AddPoints(points);
    chart.LeftAxis()->SetLogarithmic(true);
    return s;
  }
  TChartAxis* Left() { return chart.LeftAxis(); }
  TChartAxis* Bottom() { return chart.BottomAxis(); }
};

TEST_F(LogAxisTest, EqualRatiosTakeEqualPixels) {
  LogLeft({1, 1000});
  Paint();
  // The scale without the line's pixel margins: exactly 1 .. 1000.
  TChartAxis* a = Left();
  a->IMinimum = 1;
  a->IMaximum = 1000;
  a->InternalCalcRange();
  const double size = a->IAxisSize;
  struct {
    double value;
    double fromBottom;  // share of the axis from its bottom end
  } cases[] = {{1, 0}, {10, 1.0 / 3}, {100, 2.0 / 3}, {1000, 1}, {std::sqrt(10.0), 1.0 / 6}, {2, std::log10(2.0) / 3}};
  for (const auto& c : cases) {
    SCOPED_TRACE(c.value);
    const int p = a->CalcYPosValue(c.value);
    EXPECT_EQ(p, KelRound(a->IEndPos - c.fromBottom * size));
    // Back from the pixel: within the value change of one pixel.
    const double back = a->CalcPosPoint(p);
    EXPECT_NEAR(std::log(back), std::log(c.value), std::log(1000.0) / size);
  }
  // Values without a logarithm lie beyond the minimum end (the bottom).
  EXPECT_EQ(a->CalcYPosValue(0), KelMaxPixelPos);
  EXPECT_EQ(a->CalcYPosValue(-5), KelMaxPixelPos);
}

TEST_F(LogAxisTest, HorizontalAndInvertedForms) {
  AddPoints({{1, 1}, {100, 2}});
  Bottom()->SetLogarithmic(true);
  Paint();
  TChartAxis* b = Bottom();
  // The scale without the line's pixel margins.
  auto exact = [b] {
    b->IMinimum = 1;
    b->IMaximum = 100;
    b->InternalCalcRange();
  };
  exact();
  EXPECT_EQ(b->CalcXPosValue(1), b->IStartPos);
  EXPECT_EQ(b->CalcXPosValue(100), b->IEndPos);
  EXPECT_EQ(b->CalcXPosValue(10), KelRound((b->IStartPos + b->IEndPos) * 0.5));
  EXPECT_EQ(b->CalcXPosValue(0), -KelMaxPixelPos);
  EXPECT_NEAR(b->CalcPosPoint(b->IEndPos), 100, 1e-9);
  b->SetInverted(true);
  Paint();
  exact();
  EXPECT_EQ(b->CalcXPosValue(1), b->IEndPos);
  EXPECT_EQ(b->CalcXPosValue(100), b->IStartPos);
  EXPECT_NEAR(b->CalcPosPoint(b->IStartPos), 100, 1e-9);
}

TEST_F(LogAxisTest, AutomaticRangeTakesOnlyPositiveValuesAndTheirPointsAlone) {
  TFastLineSeries* s = LogLeft({-5, 0, 2, 50, 800});
  s->SetSeriesColor(0xFF112233u);
  Paint();
  EXPECT_DOUBLE_EQ(Left()->Minimum(), 2);
  EXPECT_DOUBLE_EQ(Left()->Maximum(), 800);
  // The line joins only the three positive points: nothing is drawn at
  // the pixel bound where the others would land.
  int points = 0;
  for (TRecordKind kind : {rkDrawLine, rkDrawPolyline, rkDrawConnectedLines}) {
    for (const TRecordedOp* op : rec.OpsOf(kind)) {
      if (op->Stroke.Color != 0xFF112233u) continue;
      std::vector<TPointF> pts = op->Points;
      if (kind == rkDrawLine) pts = {op->P1, op->P2};
      for (const TPointF& p : pts) {
        ++points;
        EXPECT_GE(p.Y, Left()->IStartPos);
        EXPECT_LE(p.Y, Left()->IEndPos);
      }
    }
  }
  EXPECT_GT(points, 0);
}

TEST_F(LogAxisTest, AZeroMinimumShowsOnePowerBelowTheMaximum) {
  LogLeft({5, 10});
  Left()->SetMinMax(0, 1000);
  Paint();
  EXPECT_DOUBLE_EQ(Left()->IMinimum, 100);
  EXPECT_DOUBLE_EQ(Left()->IMaximum, 1000);
}

TEST_F(LogAxisTest, LabelsStandAtThePowersOfTheBase) {
  struct {
    double lo, hi;
    bool exponent;
    Texts texts;
  } cases[] = {
      {1, 1e4, false, {"10,000", "1,000", "100", "10", "1"}},
      {3, 4e3, false, {"1,000", "100", "10"}},
      // Digits the pattern would drop: the exponent form.
      {1e-4, 1, false, {"1", "0.1", "0.01", "0.001", "1E-4"}},
      {1e-2, 1e2, true, {"10\u00B2", "10\u00B9", "10\u2070", "10\u207B\u00B9", "10\u207B\u00B2"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.lo);
    chart.FreeAllSeries();
    LogLeft({c.lo, c.hi});
    Left()->Labels()->SetExponent(c.exponent);
    Paint();
    EXPECT_EQ(ItemTexts(Left()), c.texts);
  }
}

TEST_F(LogAxisTest, CrowdedPowersAreLabelledEveryFewPowers) {
  AddPoints({{1, 1}, {1e40, 2}});
  Bottom()->SetLogarithmic(true);
  Bottom()->Labels()->SetExponent(true);
  Paint();
  const Texts texts = ItemTexts(Bottom());
  ASSERT_GE(texts.size(), 3u);
  ASSERT_LT(texts.size(), 41u);
  // Equal steps of powers, on multiples of the step: the values divide.
  const double first = Bottom()->Items()->Items(0)->Value();
  const double second = Bottom()->Items()->Items(1)->Value();
  const long long step = std::llround(std::log10(first / second));
  EXPECT_GT(step, 1);
  for (int i = 0; i < Bottom()->Items()->Count(); ++i) {
    const long long k = std::llround(std::log10(Bottom()->Items()->Items(i)->Value()));
    EXPECT_EQ(k % step, 0) << texts[i];
  }
}

TEST_F(LogAxisTest, MinorTicksAtTwoToNineTimesEachPower) {
  LogLeft({1, 100});
  Left()->MinorTicks()->SetColor(0xFF00FF00u);
  Paint();
  std::set<int> drawn;
  for (const TRecordedOp* op : LinesOf(0xFF00FF00u)) drawn.insert(KelRound(op->P1.Y));
  std::set<int> expected;
  for (double power : {1.0, 10.0})
    for (int m = 2; m <= 9; ++m) expected.insert(Left()->CalcYPosValue(m * power));
  EXPECT_EQ(drawn, expected);
}

TEST_F(LogAxisTest, WithinOnePowerTheLabelsAreValueSteps) {
  LogLeft({2, 8});
  Paint();
  const Texts texts = ItemTexts(Left());
  ASSERT_GE(texts.size(), 3u);
  // Not powers, but the ordinary round steps placed by the mapping.
  EXPECT_EQ(texts.front(), "8");
  EXPECT_EQ(texts.back(), "2");
}

TEST_F(LogAxisTest, RoundedEndsGoToTheNextPowers) {
  LogLeft({3, 420});
  Left()->SetMinimumRound(true);
  Left()->SetMaximumRound(true);
  Paint();
  EXPECT_DOUBLE_EQ(Left()->IMinimum, 1);
  EXPECT_DOUBLE_EQ(Left()->IMaximum, 1000);
}

class LogPanTest : public LogAxisTest {
 protected:
  LogPanTest() {
    AddPoints({{1, 1}, {1000, 2}});
    Bottom()->SetLogarithmic(true);
    chart.SetAllowZoom(false);
    chart.SetAllowPanning(pmHorizontal);
    Paint();
  }
};

TEST_F(LogPanTest, ADragMovesBothEndsByTheSameFactor) {
  TChartAxis* b = Bottom();
  const double lo = b->IMinimum;
  const double hi = b->IMaximum;
  // About one power of ten of pixels: dragging right by it shows one
  // power lower.
  const int third = b->CalcXPosValue(10) - b->CalcXPosValue(1);
  const double factor = b->CalcPosPoint(200) / b->CalcPosPoint(200 + third);
  EXPECT_NEAR(factor, 0.1, 0.01);
  const float y = 150;
  chart.HostMouseDown(TMouseButton::mbRight, 0, 200, y);
  chart.HostMouseMove(0, 200.0f + third, y);
  chart.HostMouseUp(TMouseButton::mbRight, 0, 200.0f + third, y);
  EXPECT_NEAR(b->Minimum(), lo * factor, 1e-12 * lo);
  EXPECT_NEAR(b->Maximum(), hi * factor, 1e-12 * hi);
  // A long drag never crosses zero.
  Paint();
  chart.HostMouseDown(TMouseButton::mbRight, 0, 20, y);
  chart.HostMouseMove(0, 380, y);
  chart.HostMouseUp(TMouseButton::mbRight, 0, 380, y);
  EXPECT_GT(b->Minimum(), 0);
  EXPECT_LT(b->Minimum(), b->Maximum());
}

TEST_F(LogPanTest, WheelStepsAndZoomWorkInLogSpace) {
  TChartAxis* b = Bottom();
  double lo = b->IMinimum;
  double hi = b->IMaximum;
  chart.Panning()->SetMouseWheel(pmwNormal);
  chart.HostMouseWheel(0, 120);
  // 3 % of the logarithmic range up: both ends times the same factor.
  const double f = std::pow(hi / lo, 0.03);
  EXPECT_NEAR(b->Minimum(), lo * f, 1e-12 * lo);
  EXPECT_NEAR(b->Maximum(), hi * f, 1e-12 * hi);
  Paint();
  lo = b->IMinimum;
  hi = b->IMaximum;
  chart.ZoomPercent(125);
  // A quarter of the logarithmic range off each end.
  const double z = std::pow(hi / lo, 0.25);
  EXPECT_NEAR(b->Minimum(), lo * z, 1e-9 * lo);
  EXPECT_NEAR(b->Maximum(), hi / z, 1e-9 * hi);
}

TEST(LogAxisSettings, BadSettingsAreRefusedWithTheirMessages) {
  sextant::testing::StandInHost host;
  TChart chart;
  chart.SetHostControl(&host);
  TChartAxis* a = chart.LeftAxis();
  auto message = [](auto&& action) {
    try {
      action();
    } catch (const AxisException& e) {
      return std::string(e.what());
    }
    return std::string("no exception");
  };
  const std::string base = "Axis Logarithmic Base should be <> 1 and > 0";
  const std::string ends = "Logarithmic Axis Min and Max values should be >= 0";
  for (double b : {1.0, 0.0, -2.0, std::nan("")}) {
    SCOPED_TRACE(b);
    EXPECT_EQ(message([&] { a->SetLogarithmicBase(b); }), base);
  }
  EXPECT_DOUBLE_EQ(a->LogarithmicBase(), 10);
  a->SetLogarithmicBase(2);
  EXPECT_DOUBLE_EQ(a->LogarithmicBase(), 2);

  a->SetMinMax(-1, 10);
  EXPECT_EQ(message([&] { a->SetLogarithmic(true); }), ends);
  EXPECT_FALSE(a->Logarithmic());
  a->SetMinMax(0, 10);
  a->SetLogarithmic(true);
  EXPECT_EQ(message([&] { a->SetMinMax(-1, 10); }), ends);
  EXPECT_EQ(message([&] { a->SetMinimum(-0.5); }), ends);
  EXPECT_DOUBLE_EQ(a->Minimum(), 0);

  auto* s = new TFastLineSeries();
  s->AddXY(45000, 1);
  s->XValues()->SetDateTime(true);
  chart.AddSeries(s);
  EXPECT_EQ(message([&] { chart.BottomAxis()->SetLogarithmic(true); }), "DateTime Axis cannot be Logarithmic");
  EXPECT_FALSE(chart.BottomAxis()->Logarithmic());
}

}  // namespace

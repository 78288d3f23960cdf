// Exponent notation of labels: texts in exponent form written as powers of
// ten with raised digits, on its own and on an ordinary value axis.
#include <gtest/gtest.h>

#include <string>

#include "axes/chart_axis.h"
#include "axes/exponent_text.h"
#include "chart_layout_fixture.h"

using namespace sextant;

namespace {

TEST(ExponentText, ExponentFormsBecomePowersOfTen) {
  struct {
    const char* in;
    const char* out;
  } cases[] = {
      {"1.5E+03", "1.5\u00D710\u00B3"},
      {"1E-6", "10\u207B\u2076"},
      {"-2.25e+12", "-2.25\u00D710\u00B9\u00B2"},
      {"1E+0", "10\u2070"},
      {"3E-00", "3\u00D710\u2070"},
      {"$4.5E+07 kg", "$4.5\u00D710\u2077 kg"},
      // No exponent form: unchanged.
      {"1,000", "1,000"},
      {"Energy", "Energy"},
      {"E+5", "E+5"},
      {"2E", "2E"},
  };
  for (const auto& c : cases) EXPECT_EQ(SuperscriptExponent(c.in), c.out) << c.in;
  EXPECT_EQ(PowerText("2", 10), "2\u00B9\u2070");
  EXPECT_EQ(PowerText("10", -3), "10\u207B\u00B3");
}

class ExponentLabelsTest : public sextant::testing::LayoutTest {};

TEST_F(ExponentLabelsTest, AValueAxisDrawsItsExponentFormRaised) {
  AddPoints({{0, 0}, {1, 3000}});
  TChartAxis* left = chart.LeftAxis();
  left->SetAxisValuesFormat("0.0E+0");
  Paint();
  EXPECT_EQ(left->LabelValue(1500), "1.5E+3");
  left->Labels()->SetExponent(true);
  Paint();
  EXPECT_EQ(left->LabelValue(1500), "1.5\u00D710\u00B3");
  // The drawn label is the raised text.
  bool drawn = false;
  for (int i = 0; i < left->Items()->Count(); ++i)
    drawn |= left->Items()->Items(i)->Text() == "3.0\u00D710\u00B3";
  EXPECT_TRUE(drawn);
  EXPECT_EQ(TextOps("3.0E+3").size(), 0u);
}

}  // namespace

// Value labels that would read the same with the axis' pattern: more
// decimals, the exponent form for huge and tiny scales, and labels kept
// apart and inside the control, on the recording canvas (400 x 300 chart,
// a character 5.5 pixels wide).
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "chart_layout_fixture.h"

using namespace sextant;
using sextant::testing::LayoutTest;

namespace {

using Texts = std::vector<std::string>;

class LabelFormatTest : public LayoutTest {
 protected:
  // One line from (Low, Low) to (High, High), or both axes fixed to
  // Low .. High.
  void Show(double low, double high, bool fixed = false) {
    AddPoints({{low, low}, {high, high}});
    if (fixed) {
      chart.LeftAxis()->SetMinMax(low, high);
      chart.BottomAxis()->SetMinMax(low, high);
    }
    Paint();
  }
  static Texts ItemTexts(TChartAxis* axis) {
    Texts texts;
    for (int i = 0; i < axis->Items()->Count(); ++i) texts.push_back(axis->Items()->Items(i)->Text());
    return texts;
  }
  // The drawn text boxes of the left or bottom axis' labels (those left of
  // or below the plot), in label order.
  std::vector<TRectF> DrawnBoxes(TChartAxis* axis) const {
    std::vector<TRectF> boxes;
    const TRectF& plot = chart.ChartRect;
    for (const std::string& text : ItemTexts(axis))
      for (const TRecordedOp* op : TextOps(text))
        if (axis->Horizontal() ? op->Rect.Top >= plot.Bottom : op->Rect.Right <= plot.Left)
          boxes.push_back(op->Rect);
    return boxes;
  }
};

TEST_F(LabelFormatTest, LabelsThatWouldAllReadZeroGetTheDecimalsOfTheStep) {
  Show(1e-5, 5e-5);
  // "#,##0.###" writes every one of these values as "0".
  EXPECT_EQ(ItemTexts(chart.LeftAxis()),
            (Texts{"0.00005", "0.000045", "0.00004", "0.000035", "0.00003", "0.000025", "0.00002",
                   "0.000015", "0.00001"}));
  EXPECT_EQ(chart.LeftAxis()->LabelValue(0.0000125), "0.000013");
  // The bottom axis has less room: a label every 1e-5.
  EXPECT_EQ(ItemTexts(chart.BottomAxis()),
            (Texts{"0.00005", "0.00004", "0.00003", "0.00002", "0.00001"}));
}

TEST_F(LabelFormatTest, TheAxisPatternIsKeptWhileNeighboursReadDifferently) {
  struct {
    const char* format;
    double low, high;
    Texts left;
  } cases[] = {
      // Steps the pattern can write: unchanged.
      {"#,##0.###", 0, 100, {"100", "90", "80", "70", "60", "50", "40", "30", "20", "10", "0"}},
      {"0.0", 0, 1, {"1.0", "0.9", "0.8", "0.7", "0.6", "0.5", "0.4", "0.3", "0.2", "0.1", "0.0"}},
      // A pattern of the user's, too fine for the step: '#' places added
      // after its last place, its text kept.
      {"0 'mV'", 0, 1, {"1 mV", "0.9 mV", "0.8 mV", "0.7 mV", "0.6 mV", "0.5 mV", "0.4 mV", "0.3 mV",
                        "0.2 mV", "0.1 mV", "0 mV"}},
      // Long texts of a pattern that reads differently stay as chosen.
      {"#,##0", 1e12, 3e12, {"3,000,000,000,000", "2,800,000,000,000", "2,600,000,000,000",
                             "2,400,000,000,000", "2,200,000,000,000", "2,000,000,000,000",
                             "1,800,000,000,000", "1,600,000,000,000", "1,400,000,000,000",
                             "1,200,000,000,000", "1,000,000,000,000"}},
      // A pattern with its own exponent is never changed.
      {"0.0E0", 1e-5, 5e-5, {"5.0E-5", "4.5E-5", "4.0E-5", "3.5E-5", "3.0E-5", "2.5E-5", "2.0E-5",
                             "1.5E-5", "1.0E-5"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.format);
    chart.FreeAllSeries();
    chart.LeftAxis()->SetAxisValuesFormat(c.format);
    Show(c.low, c.high);
    EXPECT_EQ(ItemTexts(chart.LeftAxis()), c.left);
  }
}

TEST_F(LabelFormatTest, HugeAndTinyScalesSwitchToTheExponentForm) {
  struct {
    const char* name;
    double low, high;
    bool fixed;
    Texts left;
  } cases[] = {
      {"around 1e300", 1e300, 5e300, false,
       {"5E+300", "4.5E+300", "4E+300", "3.5E+300", "3E+300", "2.5E+300", "2E+300", "1.5E+300", "1E+300"}},
      // Zero reads "0", not "0E+0".
      {"fixed -1e300 .. 1e300", -1e300, 1e300, true,
       {"8E+299", "6E+299", "4E+299", "2E+299", "0", "-2E+299", "-4E+299", "-6E+299", "-8E+299", "-1E+300"}},
      // "3,000,000,000,000" would be 17 characters.
      {"around 1e12", 1e12, 3e12, false,
       {"3E+12", "2.8E+12", "2.6E+12", "2.4E+12", "2.2E+12", "2E+12", "1.8E+12", "1.6E+12", "1.4E+12",
        "1.2E+12", "1E+12"}},
      // A range this small counts as zero: one label, told apart from 0.
      {"around 1e-300", 1e-300, 5e-300, false, {"5E-300"}},
      // Nine characters in the fixed form are fine.
      {"a single 3e-7", 3e-7, 3e-7, false, {"0.0000003"}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    chart.FreeAllSeries();
    chart.LeftAxis()->SetAutomatic(true);
    chart.BottomAxis()->SetAutomatic(true);
    Show(c.low, c.high, c.fixed);
    EXPECT_EQ(ItemTexts(chart.LeftAxis()), c.left);
  }
}

TEST_F(LabelFormatTest, LabelsNeverOverlapAndStayInsideTheControl) {
  struct {
    const char* name;
    double low, high;
    bool fixed;
  } cases[] = {
      {"tiny steps", 1e-5, 5e-5, false},       {"fixed -1e300 .. 1e300", -1e300, 1e300, true},
      {"huge", 1e300, 5e300, false},           {"a million", 0, 1e6, false},
      {"fine steps near 1", 1, 1.00001, false}, {"nearly all doubles", -1.7e308, 1.7e308, true},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    chart.FreeAllSeries();
    chart.LeftAxis()->SetAutomatic(true);
    chart.BottomAxis()->SetAutomatic(true);
    Show(c.low, c.high, c.fixed);
    for (TChartAxis* axis : {chart.LeftAxis(), chart.BottomAxis()}) {
      SCOPED_TRACE(axis->AxisID());
      const Texts texts = ItemTexts(axis);
      ASSERT_GE(texts.size(), 2u);
      EXPECT_EQ(std::set<std::string>(texts.begin(), texts.end()).size(), texts.size());
      const std::vector<TRectF> boxes = DrawnBoxes(axis);
      ASSERT_EQ(boxes.size(), texts.size());
      for (std::size_t i = 0; i < boxes.size(); ++i) {
        const TRectF& b = boxes[i];
        EXPECT_GE(b.Left, 0) << texts[i];
        EXPECT_LE(b.Right, 400) << texts[i];
        EXPECT_GE(b.Top, 0) << texts[i];
        EXPECT_LE(b.Bottom, 300) << texts[i];
        if (i == 0) continue;
        const TRectF& p = boxes[i - 1];
        // Along the axis the box lies wholly past its neighbour.
        if (axis->Horizontal())
          EXPECT_LE(b.Right, p.Left) << texts[i - 1] << " / " << texts[i];
        else
          EXPECT_GE(b.Top, p.Bottom) << texts[i - 1] << " / " << texts[i];
      }
    }
  }
}

TEST_F(LabelFormatTest, TheLastBottomLabelMovesInsideTheControlOffItsTick) {
  Show(1e-5, 5e-5);
  TChartAxis* bottom = chart.BottomAxis();
  ASSERT_GT(bottom->Items()->Count(), 0);
  // "0.00005" is 38.5 pixels wide; centred on its tick at 385 it would end
  // at 404: it moves left to end at the control's edge.
  const TAxisItem* last = bottom->Items()->Items(0);
  EXPECT_EQ(last->Text(), "0.00005");
  EXPECT_EQ(bottom->Tick.front(), 385);
  EXPECT_EQ(last->LabelPos(), 380);
  const std::vector<TRectF> boxes = DrawnBoxes(bottom);
  ASSERT_FALSE(boxes.empty());
  EXPECT_LE(boxes.front().Right, 400);
  EXPECT_GT(boxes.front().Right, 399);
  // Its tick stays where the value is.
  EXPECT_EQ(bottom->Tick.front(), bottom->CalcXPosValue(5e-5));
}

TEST_F(LabelFormatTest, WithoutSeparationLabelsArePlacedAsComputed) {
  chart.BottomAxis()->Labels()->SetSeparation(0);
  Show(1e-5, 5e-5);
  TChartAxis* bottom = chart.BottomAxis();
  ASSERT_GT(bottom->Items()->Count(), 0);
  EXPECT_EQ(bottom->Items()->Items(0)->LabelPos(), bottom->Tick.front());
  EXPECT_EQ(static_cast<std::size_t>(bottom->Items()->Count()), bottom->Tick.size());
}

}  // namespace

namespace {

TEST_F(LabelFormatTest, AlternateLabelsAreKeptApartWithinTheirRow) {
  chart.BottomAxis()->Labels()->SetAlternate(true);
  Show(0, 100);
  TChartAxis* bottom = chart.BottomAxis();
  // Neighbours stand in different rows and may share a stretch of the
  // axis: none is left out.
  ASSERT_GE(bottom->Items()->Count(), 3);
  EXPECT_EQ(static_cast<std::size_t>(bottom->Items()->Count()), bottom->Tick.size());
  const std::vector<TRectF> boxes = DrawnBoxes(bottom);
  ASSERT_EQ(boxes.size(), bottom->Tick.size());
  for (std::size_t i = 2; i < boxes.size(); ++i) EXPECT_LE(boxes[i].Right, boxes[i - 2].Left) << i;
}

}  // namespace

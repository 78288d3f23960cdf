// Chart titles: defaults, placement above and below the plot, the room
// they take, alignment, frames, custom positions and the drawing passes.
#include <gtest/gtest.h>

#include "canvas/font.h"
#include "canvas/pen.h"
#include "chart_layout_fixture.h"

using namespace sextant;
using sextant::testing::LayoutTest;

namespace {

class TitlesTest : public LayoutTest {
 protected:
  TitlesTest() { AddPoints({{0, 0}, {10, 10}}); }
  // Without titles: {13, 13, 387, 287} less the bottom axis (labels 14,
  // line and ticks 7) and the left axis.
  static constexpr float kAxesBottom = 21;
};

TEST_F(TitlesTest, Defaults) {
  EXPECT_FALSE(chart.HasTitle());  // created on first access
  TChartTitle* title = chart.Title();
  EXPECT_TRUE(chart.HasTitle());
  EXPECT_TRUE(title->AdjustFrame());
  EXPECT_EQ(title->VertMargin(), 5);
  EXPECT_TRUE(title->OnTop());
  EXPECT_EQ(title->Alignment(), taCenter);
  EXPECT_EQ(title->TextAlign(), taCenter);
  EXPECT_EQ(title->DefaultTextAlign(), taCenter);
  EXPECT_TRUE(title->Transparent());
  EXPECT_TRUE(title->DefaultTransparent());
  EXPECT_TRUE(title->IDraw2D);
  EXPECT_EQ(title->Font()->Color(), claBlue);
  EXPECT_EQ(title->Font()->DefaultColor(), claBlue);
  EXPECT_FALSE(title->ShouldDraw());  // no lines yet

  TChartFootTitle* foot = chart.Foot();
  EXPECT_FALSE(foot->OnTop());
  EXPECT_EQ(foot->Font()->Color(), claRed);
  EXPECT_EQ(foot->Font()->DefaultColor(), claRed);
  EXPECT_TRUE(foot->Font()->Italic());
  EXPECT_EQ(foot->Font()->DefaultStyle(), fsItalic);
  EXPECT_NE(chart.SubTitle(), title);
  EXPECT_FALSE(chart.SubFoot()->OnTop());
}

TEST_F(TitlesTest, TitleAboveThePlotTakesItsRoom) {
  chart.Title()->SetCaption("TChart");
  Paint();
  // "TChart": 33 x 14, centred over the chart (ChartXCenter 200), at the
  // top of the chart rectangle.
  EXPECT_EQ(chart.Title()->TitleRect(), (TRectF{184, 13, 217, 27}));
  const TRecordedOp* text = TextOp("TChart");
  ASSERT_NE(text, nullptr);
  EXPECT_EQ(text->TextColor, claBlue);
  EXPECT_EQ(text->Rect.Top, 13);
  EXPECT_NEAR((text->Rect.Left + text->Rect.Right) / 2, 200, 0.5);
  // Transparent: no fill and no frame around the text.
  for (const TRecordedOp* op : rec.OpsOf(rkDrawRect)) EXPECT_NE(op->Rect.Top, 13);
  // The plot starts VertMargin (5) below the box.
  EXPECT_EQ(chart.ChartRect.Top, 27 + 5);
}

TEST_F(TitlesTest, AnEmptyTitleTakesNoRoom) {
  Paint();
  const TRectF without = chart.ChartRect;
  EXPECT_EQ(without.Top, 13);
  chart.Title()->SetCaption("");
  chart.Foot()->Lines()->Clear();
  Paint();
  EXPECT_EQ(chart.ChartRect, without);
  // A hidden title takes no room either.
  chart.Title()->SetCaption("TChart");
  chart.Title()->SetVisible(false);
  Paint();
  EXPECT_EQ(chart.ChartRect, without);
  EXPECT_TRUE(TextOps("TChart").empty());
}

TEST_F(TitlesTest, FeetBelowThePlotAndTheOrderOfTitles) {
  chart.Title()->SetCaption("title");
  chart.SubTitle()->SetCaption("sub");
  chart.Foot()->SetCaption("foot");
  chart.SubFoot()->SetCaption("subfoot");
  Paint();
  const TRectF title = chart.Title()->TitleRect();
  const TRectF sub = chart.SubTitle()->TitleRect();
  const TRectF foot = chart.Foot()->TitleRect();
  const TRectF subFoot = chart.SubFoot()->TitleRect();
  EXPECT_EQ(title.Top, 13);
  EXPECT_EQ(sub.Top, title.Bottom + 5);  // the sub-title under the title
  EXPECT_EQ(foot.Bottom, 287);
  EXPECT_EQ(subFoot.Bottom, foot.Top - 5);  // the sub-foot above the foot
  EXPECT_EQ(chart.ChartRect.Top, sub.Bottom + 5);
  EXPECT_EQ(chart.ChartRect.Bottom, subFoot.Top - 5 - kAxesBottom);
  const TRecordedOp* text = TextOp("foot");
  ASSERT_NE(text, nullptr);
  EXPECT_EQ(text->TextColor, claRed);
  EXPECT_TRUE(text->Font.Italic);
  // Drawing order: title, sub-title, foot, sub-foot.
  EXPECT_LT(IndexOf(TextOp("title")), IndexOf(TextOp("sub")));
  EXPECT_LT(IndexOf(TextOp("sub")), IndexOf(TextOp("foot")));
  EXPECT_LT(IndexOf(TextOp("foot")), IndexOf(TextOp("subfoot")));
}

TEST_F(TitlesTest, AlignmentAndAdjustFrame) {
  TChartTitle* title = chart.Title();
  title->SetCaption("TChart");  // 33 wide
  struct {
    TAlignment alignment;
    bool adjust;
    TRectF expected;
  } cases[] = {
      // x = Round(400 x 0.02) + the 1-pixel bevel = 9.
      {taLeftJustify, true, {9, 13, 42, 27}},
      {taRightJustify, true, {400 - 33 - 9, 13, 400 - 9, 27}},
      {taCenter, true, {184, 13, 217, 27}},
      // Not adjusted: the panel width less the side margins.
      {taCenter, false, {9, 13, 400 - 9, 27}},
  };
  for (const auto& c : cases) {
    title->SetAlignment(c.alignment);
    title->SetAdjustFrame(c.adjust);
    Paint();
    EXPECT_EQ(title->TitleRect(), c.expected) << int(c.alignment) << " " << c.adjust;
    EXPECT_EQ(chart.ChartRect.Top, 27 + 5);
  }
}

TEST_F(TitlesTest, AFramedTitleKeepsHalfItsPenFromThePlot) {
  TChartTitle* title = chart.Title();
  title->SetCaption("TChart");
  title->SetTransparent(false);
  title->Pen()->SetWidth(3);  // p = Round(3) div 2 = 1
  Paint();
  const TRectF box = title->TitleRect();
  EXPECT_EQ(box.Top, 13 + 1);
  EXPECT_GT(box.Height(), 14);  // frame and margins
  EXPECT_EQ(chart.ChartRect.Top, box.Bottom + 5 + 1);
  // The frame is drawn around the box.
  bool framed = false;
  for (const TRecordedOp* op : rec.OpsOf(rkDrawRect)) framed |= op->Rect == box;
  EXPECT_TRUE(framed);
}

TEST_F(TitlesTest, ACustomPositionedTitleIsDrawnAfterTheSeriesAndTakesNoRoom) {
  Paint();
  const TRectF without = chart.ChartRect;
  TChartTitle* title = chart.Title();
  title->SetCaption("TChart");
  title->SetLeft(20);  // turns CustomPosition on
  title->SetTop(40);
  EXPECT_TRUE(title->CustomPosition());
  Paint();
  EXPECT_EQ(chart.ChartRect, without);
  EXPECT_EQ(title->TitleRect(), (TRectF{20, 40, 53, 54}));
  const TRecordedOp* text = TextOp("TChart");
  ASSERT_NE(text, nullptr);
  EXPECT_EQ(text->Rect.Top, 40);
  // After the series' line.
  const auto lines = LinesOf(chart.Series(0)->SeriesColor());
  ASSERT_FALSE(lines.empty());
  EXPECT_GT(IndexOf(text), IndexOf(lines.back()));
}

TEST_F(TitlesTest, ClickedOnlyInsideAVisibleTitle) {
  TChartTitle* title = chart.Title();
  title->SetCaption("TChart");
  Paint();
  EXPECT_TRUE(title->Clicked(200, 20));
  EXPECT_FALSE(title->Clicked(200, 30));
  title->SetVisible(false);
  EXPECT_FALSE(title->Clicked(200, 20));
}

}  // namespace

// The legend: defaults, when it is drawn, placement on the four sides and
// the room it takes, series and value items, rows, custom positions,
// drawing passes and hit testing.
#include <gtest/gtest.h>

#include "canvas/font.h"
#include "canvas/pen.h"
#include "canvas/shadow.h"
#include "chart_layout_fixture.h"

using namespace sextant;
using sextant::testing::LayoutTest;

namespace {

// A visible legend. The item "Series A" (8 characters, 44 pixels) with a
// 20-pixel symbol and a 2-pixel gap is 66 wide; the box adds a space (6)
// inside each side and the 1-pixel frame: 80 x (14 + 2 x 2 + 2) = 80 x 20.
class LegendTest : public LayoutTest {
 protected:
  LegendTest() { legend()->SetVisible(true); }
  TChartLegend* legend() const { return chart.Legend(); }
  TFastLineSeries* AddSeriesA() {
    TFastLineSeries* s = AddPoints({{0, 0}, {10, 10}});
    s->SetTitle("Series A");
    return s;
  }
  std::vector<std::string> ItemTexts() const {
    std::vector<std::string> texts;
    for (const TLegendItem& item : legend()->Items()) {
      std::string text;
      for (const std::string& column : item.Columns) text += (text.empty() ? "" : "|") + column;
      texts.push_back(text);
    }
    return texts;
  }
};

TEST_F(LegendTest, Defaults) {
  TChart fresh;
  TChartLegend* l = fresh.Legend();
  EXPECT_TRUE(l->Visible());
  EXPECT_EQ(l->Alignment(), laRight);
  EXPECT_TRUE(l->Vertical());
  EXPECT_FALSE(l->CheckBoxes());
  EXPECT_EQ(l->CheckBoxesStyle(), cbsCheck);
  EXPECT_TRUE(l->CurrentPage());
  EXPECT_FALSE(l->DividingLines()->Visible());
  EXPECT_EQ(l->DividingLines()->EndStyle(), esFlat);
  EXPECT_EQ(l->DividingLines()->DefaultEnd(), esFlat);
  EXPECT_FALSE(l->DrawBehind());
  EXPECT_EQ(l->FirstValue(), 0);
  EXPECT_FALSE(l->FontSeriesColor());
  EXPECT_EQ(l->GlobalTransparency(), 0);
  EXPECT_EQ(l->HorizJustify(), ljAutomatic);
  EXPECT_EQ(l->HorizMargin(), 0);
  EXPECT_FALSE(l->Inverted());
  EXPECT_EQ(l->LeftPercent(), 0);
  EXPECT_EQ(l->LegendStyle(), lsAuto);
  EXPECT_EQ(l->InternalLegendStyle(), lsSeries);
  EXPECT_EQ(l->MaxNumRows(), 0);
  EXPECT_EQ(l->PositionUnits(), muPixels);
  EXPECT_TRUE(l->ResizeChart());
  EXPECT_FALSE(l->HasSelected());
  EXPECT_EQ(l->Series(), nullptr);
  EXPECT_TRUE(l->Symbol()->Visible());
  EXPECT_EQ(l->TextStyle(), ltsLeftValue);
  EXPECT_EQ(l->TextSymbolGap(), 2);
  EXPECT_FALSE(l->HasTitle());
  EXPECT_EQ(l->TopPos(), 10);
  EXPECT_EQ(l->TopPercent(), 0);
  EXPECT_EQ(l->VertMargin(), 0);
  EXPECT_EQ(l->VertSpacing(), 0);
  EXPECT_TRUE(l->IDraw2D);
  EXPECT_TRUE(l->Shadow()->Visible());
  // The legend's title: bold, transparent, flat, silver shadow of size 2.
  TLegendTitle* title = l->Title();
  EXPECT_TRUE(title->Font()->Bold());
  EXPECT_TRUE(title->Transparent());
  EXPECT_TRUE(title->IDraw2D);
  EXPECT_EQ(title->Shadow()->Color(), claSilver);
  EXPECT_EQ(title->Shadow()->Size(), 2);
}

TEST_F(LegendTest, ShouldDraw) {
  EXPECT_FALSE(legend()->ShouldDraw());  // no active series
  legend()->SetCheckBoxes(true);
  EXPECT_TRUE(legend()->ShouldDraw());
  legend()->SetCheckBoxes(false);
  TFastLineSeries* s = AddSeriesA();
  EXPECT_TRUE(legend()->ShouldDraw());
  s->SetActive(false);
  EXPECT_FALSE(legend()->ShouldDraw());
  s->SetActive(true);
  legend()->SetVisible(false);
  EXPECT_FALSE(legend()->ShouldDraw());
}

TEST_F(LegendTest, AVisibleLegendMovesTheRightEdgeOfThePlot) {
  AddSeriesA();
  legend()->SetVisible(false);
  Paint();
  EXPECT_EQ(chart.ChartRect.Right, 387);  // hidden: the full width
  EXPECT_EQ(rec.Count(rkDrawRect), 1u);     // only the back wall
  legend()->SetVisible(true);
  Paint();
  // Top: 10 % of the chart height (274) below the top.
  EXPECT_EQ(legend()->RectLegend(), (TRectF{307, 40, 387, 60}));
  // The plot ends at the legend less 3 % of the chart width (374 -> 11).
  EXPECT_EQ(chart.ChartRect.Right, 307 - 11);
  // A framed white box with the symbol and the title of the series.
  bool framed = false, filled = false;
  for (const TRecordedOp* op : rec.OpsOf(rkDrawRect)) framed |= op->Rect == legend()->RectLegend();
  for (const TRecordedOp* op : rec.OpsOf(rkFillRect))
    filled |= op->Rect == legend()->RectLegend() && op->Fill.Color == claWhite;
  EXPECT_TRUE(framed);
  EXPECT_TRUE(filled);
  const TRecordedOp* text = TextOp("Series A");
  ASSERT_NE(text, nullptr);
  EXPECT_EQ(text->Rect.Left, 307 + 1 + 6 + 20 + 2);
  EXPECT_EQ(text->Rect.Top, 40 + 1 + 2);
  // The fast line's symbol: a line in the series' colour across the symbol.
  int symbols = 0;
  for (const TRecordedOp* op : LinesOf(chart.Series(0)->SeriesColor()))
    symbols += op->P1.X == 314 && op->P2.X == 334 && op->P1.Y == op->P2.Y;
  EXPECT_EQ(symbols, 1);
  // A fixed margin instead of 3 %.
  legend()->SetHorizMargin(4);
  Paint();
  EXPECT_EQ(chart.ChartRect.Right, 307 - 4);
}

TEST_F(LegendTest, TheOtherSides) {
  AddSeriesA();
  legend()->SetVisible(false);
  Paint();
  const TRectF without = chart.ChartRect;
  const float leftAxisRoom = without.Left - 13;
  const float bottomAxisRoom = 287 - without.Bottom;
  legend()->SetVisible(true);

  legend()->SetAlignment(laLeft);
  Paint();
  EXPECT_EQ(legend()->RectLegend(), (TRectF{13, 40, 93, 60}));
  EXPECT_EQ(chart.ChartRect.Left, 93 + 11 + leftAxisRoom);

  // Horizontal legends are centred and take 4 % of the chart height (274
  // -> 11) more.
  legend()->SetAlignment(laTop);
  Paint();
  EXPECT_EQ(legend()->RectLegend(), (TRectF{160, 14, 240, 34}));
  EXPECT_EQ(chart.ChartRect.Top, 34 + 11);
  EXPECT_EQ(chart.ChartRect.Left, without.Left);

  // At the bottom the legend's own shadow (3) keeps it higher.
  legend()->SetAlignment(laBottom);
  Paint();
  EXPECT_EQ(legend()->RectLegend(), (TRectF{160, 263, 240, 283}));
  EXPECT_EQ(chart.ChartRect.Bottom, 263 - 11 - bottomAxisRoom);

  legend()->SetHorizJustify(ljLeft);
  Paint();
  EXPECT_EQ(legend()->RectLegend().Left, 13);
  legend()->SetHorizJustify(ljRight);
  Paint();
  EXPECT_EQ(legend()->RectLegend().Right, 387);
}

TEST_F(LegendTest, NoRoomWithoutResizeChartOrAtACustomPosition) {
  AddSeriesA();
  legend()->SetResizeChart(false);
  Paint();
  EXPECT_EQ(chart.ChartRect.Right, 387);
  EXPECT_EQ(legend()->RectLegend(), (TRectF{307, 40, 387, 60}));
  legend()->SetResizeChart(true);
  legend()->SetLeft(50);
  legend()->SetTop(70);
  EXPECT_TRUE(legend()->CustomPosition());
  Paint();
  EXPECT_EQ(chart.ChartRect.Right, 387);
  EXPECT_EQ(legend()->RectLegend(), (TRectF{50, 70, 130, 90}));
  // In percent of the panel.
  legend()->SetPositionUnits(muPercent);
  legend()->SetLeftPercent(50);
  legend()->SetTopPercent(10);
  Paint();
  EXPECT_EQ(legend()->RectLegend().TopLeft(), (TPointF{200, 30}));
}

TEST_F(LegendTest, SeriesItems) {
  TFastLineSeries* a = AddSeriesA();
  TFastLineSeries* b = AddPoints({{0, 1}});
  b->SetName("Line2");  // untitled: its name
  TFastLineSeries* c = AddPoints({{0, 2}});
  c->SetTitle("C");
  c->SetActive(false);  // inactive: not listed
  Paint();
  EXPECT_EQ(ItemTexts(), (std::vector<std::string>{"Series A", "Line2"}));
  EXPECT_EQ(legend()->Items()[0].Series, a);
  EXPECT_EQ(legend()->Items()[0].ValueIndex, -1);
  legend()->SetInverted(true);
  Paint();
  EXPECT_EQ(ItemTexts(), (std::vector<std::string>{"Line2", "Series A"}));
  // With check boxes every series is listed, so that it can be switched on.
  legend()->SetInverted(false);
  legend()->SetCheckBoxes(true);
  Paint();
  EXPECT_EQ(ItemTexts(), (std::vector<std::string>{"Series A", "Line2", "C"}));
  // Rows one under the other.
  EXPECT_EQ(legend()->Items()[1].Rect.Top, legend()->Items()[0].Rect.Bottom);
}

TEST_F(LegendTest, ValueItemsOfTheCurrentPage) {
  TFastLineSeries* s = AddPoints({});
  for (int i = 0; i < 10; ++i) s->AddXY(i, i * 10, "p" + std::to_string(i));
  legend()->SetLegendStyle(lsValues);
  chart.SetMaxPointsPerPage(3);
  chart.SetPage(2);
  Paint();
  EXPECT_EQ(ItemTexts(), (std::vector<std::string>{"30|p3", "40|p4", "50|p5"}));
  EXPECT_EQ(legend()->Items()[0].ValueIndex, 3);
  legend()->SetFirstValue(1);
  Paint();
  EXPECT_EQ(ItemTexts(), (std::vector<std::string>{"40|p4", "50|p5"}));
  legend()->SetFirstValue(0);

  struct {
    TLegendTextStyle style;
    const char* first;  // the item of point 3
  } styles[] = {
      {ltsPlain, "p3"},          {ltsLeftValue, "30|p3"},   {ltsRightValue, "p3|30"},
      {ltsValue, "30"},          {ltsXValue, "3"},          {ltsXAndValue, "3|30"},
      // 30 of the total 450.
      {ltsPercent, "6.67 %"},    {ltsLeftPercent, "6.67 %|p3"}, {ltsXAndPercent, "3|6.67 %"},
  };
  for (const auto& c : styles) {
    legend()->SetTextStyle(c.style);
    Paint();
    ASSERT_FALSE(legend()->Items().empty());
    EXPECT_EQ(ItemTexts().front(), c.first) << int(c.style);
  }
  // All points when the page does not matter (as many as fit).
  legend()->SetTextStyle(ltsValue);
  legend()->SetCurrentPage(false);
  Paint();
  EXPECT_EQ(legend()->Items().size(), 10u);
  // The value boxes take the point colours.
  const TRecordedOp* first = nullptr;
  for (const TRecordedOp* op : rec.OpsOf(rkFillRect))
    if (op->Rect.Left == legend()->Items()[0].Rect.Left) first = op;
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(first->Fill.Color, s->SeriesColor());
}

TEST_F(LegendTest, RowsAreLimitedToTheRoom) {
  TFastLineSeries* s = AddPoints({});
  for (int i = 0; i < 100; ++i) s->AddXY(i, i);
  legend()->SetLegendStyle(lsValues);
  Paint();
  // From y = 40 down to the bottom (287): (287 - 40 - 2 - 4) / 14 = 17 rows.
  EXPECT_EQ(legend()->Items().size(), 17u);
  EXPECT_LE(legend()->RectLegend().Bottom, 287);
  legend()->SetMaxNumRows(5);
  Paint();
  EXPECT_EQ(legend()->Items().size(), 5u);
}

TEST_F(LegendTest, HorizontalLegendsWrapIntoRows) {
  for (int i = 0; i < 8; ++i) AddPoints({{0, double(i)}})->SetTitle("Series " + std::to_string(i));
  legend()->SetAlignment(laTop);
  Paint();
  // Items of 66 pixels with 6 between them in 374 - 2 - 12 pixels: 5 per row.
  ASSERT_EQ(legend()->Items().size(), 8u);
  EXPECT_EQ(legend()->Items()[4].Rect.Top, legend()->Items()[0].Rect.Top);
  EXPECT_EQ(legend()->Items()[5].Rect.Top, legend()->Items()[0].Rect.Bottom);
  EXPECT_EQ(legend()->Items()[1].Rect.Left, legend()->Items()[0].Rect.Right + 6);
  EXPECT_EQ(legend()->RectLegend().Height(), 2 + 4 + 2 * 14);
}

TEST_F(LegendTest, TitleDrawingPassesAndHover) {
  AddSeriesA();
  legend()->Title()->SetText("Legend");
  Paint();
  // The title row adds its height; its text is bold.
  EXPECT_EQ(legend()->RectLegend().Height(), 20 + 14);
  ASSERT_NE(TextOp("Legend"), nullptr);
  EXPECT_TRUE(TextOp("Legend")->Font.Bold);
  // Drawn after the series by default, before them with DrawBehind.
  const auto series = LinesOf(chart.Series(0)->SeriesColor());
  EXPECT_GT(IndexOf(TextOp("Series A")), IndexOf(series.front()));
  legend()->SetDrawBehind(true);
  Paint();
  EXPECT_LT(IndexOf(TextOp("Series A")), IndexOf(LinesOf(chart.Series(0)->SeriesColor()).back()));
  // The hovered item is drawn in the hover font.
  EXPECT_FALSE(TextOp("Series A")->Font.Bold);
  legend()->Selected()->SetHoverIndex(0);
  Paint();
  EXPECT_TRUE(TextOp("Series A")->Font.Bold);
}

TEST_F(LegendTest, ClickedGivesTheItemUnderThePoint) {
  AddSeriesA();
  AddPoints({{0, 1}})->SetTitle("B");
  Paint();
  const TRectF first = legend()->Items()[0].Rect;
  const TRectF second = legend()->Items()[1].Rect;
  EXPECT_EQ(legend()->Clicked(KelRound(first.Left + 3), KelRound(first.Top + 3)), 0);
  EXPECT_EQ(legend()->Clicked(KelRound(second.Left + 3), KelRound(second.Bottom - 3)), 1);
  EXPECT_EQ(legend()->Clicked(5, 5), -1);
  legend()->SetVisible(false);
  EXPECT_EQ(legend()->Clicked(KelRound(first.Left + 3), KelRound(first.Top + 3)), -1);
}

}  // namespace

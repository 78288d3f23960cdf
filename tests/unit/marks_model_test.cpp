// The marks model: defaults, creation with the series and its chart,
// positions (read, Put, Automatic, DeleteMany, MoveTo, UsePosition), per-point
// items, the texts of every mark style, percentages, the hit test, resetting
// and keeping positions in step with deleted and cleared points.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "canvas/brush.h"
#include "canvas/font.h"
#include "canvas/gradient.h"
#include "canvas/pen.h"
#include "canvas/shadow.h"
#include "marks_fixture.h"

namespace sextant::testing {
namespace {

// ---- Defaults and creation ----------------------------------------------------------

TEST(MarksDefaults, MarksStartHiddenPaleYellowRoundedAndCentred) {
  TFastLineSeries series;
  EXPECT_FALSE(series.HasMarks());
  TSeriesMarks* m = series.Marks();
  ASSERT_TRUE(series.HasMarks());
  EXPECT_EQ(m, series.Marks());  // created once
  EXPECT_EQ(m->ParentSeries(), &series);

  EXPECT_EQ(m->Style(), smsLabelOrValue);
  EXPECT_EQ(m->TextAlign(), taCenter);
  EXPECT_EQ(m->DefaultTextAlign(), taCenter);
  EXPECT_EQ(m->Margins()->Left(), 20);
  EXPECT_EQ(m->Margins()->Right(), 20);
  EXPECT_EQ(m->Margins()->DefaultHoriz(), 20);
  EXPECT_EQ(m->Margins()->Top(), 5);
  EXPECT_EQ(m->Margins()->Bottom(), 5);
  EXPECT_EQ(m->RoundSize(), 4);
  EXPECT_EQ(m->ShapeStyle(), fosRoundRectangle);
  EXPECT_EQ(m->Color(), 0xFFFFFFE1u);
  EXPECT_EQ(m->BackColor(), 0xFFFFFFE1u);
  EXPECT_FALSE(m->Visible());
  EXPECT_FALSE(m->DefaultVisible());
  EXPECT_FALSE(m->Transparent());

  const TKelGradient* g = m->Brush()->Gradient();
  EXPECT_EQ(g->DefaultDirection(), gdRightLeft);
  EXPECT_EQ(g->Direction(), gdRightLeft);
  EXPECT_EQ(g->DefaultStartColor(), 0xFFC0C0C0u);
  EXPECT_EQ(g->StartColor(), 0xFFC0C0C0u);
  EXPECT_EQ(g->EndColor(), 0xFFFFFFFFu);
  EXPECT_FALSE(g->Visible());

  EXPECT_TRUE(m->Shadow()->Visible());
  EXPECT_EQ(m->Shadow()->Color(), 0xFF808080u);
  EXPECT_EQ(m->Shadow()->Size(), 3);
  EXPECT_EQ(m->Emboss()->Color(), 0xFF808080u);
  EXPECT_EQ(m->Emboss()->Size(), 3);

  const TAutomaticText* a = m->Automatic();
  EXPECT_TRUE(a->Hide() && a->Move() && a->Resize() && a->Rotate() && a->Trim() && a->Wrap());
  EXPECT_TRUE(m->AutoPosition());
  EXPECT_EQ(m->Angle(), 0);
  EXPECT_FALSE(m->Clip());
  EXPECT_EQ(m->DrawEvery(), 1);
  EXPECT_FALSE(m->FontSeriesColor());
  EXPECT_FALSE(m->MultiLine());
  EXPECT_FALSE(m->OnTop());
  EXPECT_EQ(m->UseImages(), miSymbol);
  EXPECT_TRUE(m->UseSeriesTransparency());
  EXPECT_FALSE(m->SoftClip());
  EXPECT_EQ(m->ZPosition(), 0);
  EXPECT_EQ(m->Items()->Count(), 0);
  EXPECT_EQ(m->Positions()->Count(), 0);
  // Created on first access only.
  EXPECT_FALSE(m->HasCallout());
  EXPECT_FALSE(m->HasSymbol());
  EXPECT_FALSE(m->HasTail());
}

TEST(MarksDefaults, CalloutSymbolAndTailDefaults) {
  TFastLineSeries series;
  TSeriesMarks* m = series.Marks();
  EXPECT_EQ(m->ArrowLength(), 8);
  ASSERT_TRUE(m->HasCallout());
  TMarksCallout* c = m->Callout();
  EXPECT_EQ(c->Length(), 8);
  EXPECT_EQ(c->DefaultLength(), 8);
  EXPECT_FALSE(c->Visible());
  EXPECT_FALSE(c->DefaultVisible());
  EXPECT_EQ(c->Arrow(), m->Arrow());
  EXPECT_EQ(c->Arrow()->Color(), claWhite);
  EXPECT_EQ(c->Arrow()->Width(), 1);
  EXPECT_TRUE(c->Arrow()->Visible());
  EXPECT_EQ(c->ArrowHead(), ahNone);
  EXPECT_EQ(c->ArrowHeadSize(), 8);
  EXPECT_EQ(c->Distance(), 0);
  EXPECT_EQ(c->Style(), psRectangle);
  EXPECT_EQ(c->Color(), claBlack);
  EXPECT_EQ(c->Brush()->DefaultColor(), claBlack);
  EXPECT_TRUE(c->FullGradient());
  EXPECT_TRUE(c->DefaultFullGradient());
  EXPECT_FALSE(c->Draw3D());
  EXPECT_TRUE(c->InflateMargins());
  EXPECT_TRUE(c->CenterPixel());
  EXPECT_EQ(c->HorizSize(), 4);
  EXPECT_EQ(c->VertSize(), 4);
  EXPECT_EQ(c->ParentSeries(), &series);
  EXPECT_FALSE(c->Shadow()->Visible());
  EXPECT_EQ(c->Shadow()->Size(), 3);

  TSeriesMarksSymbol* s = m->Symbol();
  EXPECT_FALSE(s->Visible());
  EXPECT_FALSE(s->Transparent());
  EXPECT_EQ(s->Shadow()->Size(), 1);
  EXPECT_EQ(s->Emboss()->Size(), 1);

  TMarksTail* t = m->Tail();
  EXPECT_TRUE(t->AutoAlign());
  EXPECT_FALSE(t->CustomPoint());
  EXPECT_EQ(t->Height(), 8);
  EXPECT_EQ(t->Width(), 8);
  EXPECT_EQ(t->Align(), ttaCenter);
  EXPECT_EQ(t->Margin(), 0);
  EXPECT_FALSE(t->Visible());
  EXPECT_EQ(t->Edge(), tteBottom);
  EXPECT_EQ(t->Series(), &series);
}

TEST(MarksDefaults, PointerSizesStayPositiveAndSizeSetsBoth) {
  TFastLineSeries series;
  TMarksCallout* c = series.Marks()->Callout();
  c->SetSize(15);
  EXPECT_EQ(c->HorizSize(), 15);
  EXPECT_EQ(c->VertSize(), 15);
  c->SetVertSize(20);
  EXPECT_EQ(c->Size(), 20);
  c->SetHorizSize(0);
  EXPECT_EQ(c->HorizSize(), 1);
  c->SetColor(0xFF123456);
  EXPECT_EQ(c->Brush()->Color(), 0xFF123456u);
}

class MarksChart : public MarksChartTest {};

TEST_F(MarksChart, MarksFollowTheSeriesChart) {
  TSeriesMarks* m = series->Marks();
  EXPECT_EQ(m->Parent(), static_cast<IShapePanel*>(&chart));
  EXPECT_EQ(m->Callout()->Parent(), static_cast<IShapePanel*>(&chart));
  TMarksItem* item = m->Item(2);
  EXPECT_EQ(item->Parent(), static_cast<IShapePanel*>(&chart));

  {
    TChart other;
    series->SetParentChart(&other);
    EXPECT_EQ(m->Parent(), static_cast<IShapePanel*>(&other));
    EXPECT_EQ(m->Callout()->Parent(), static_cast<IShapePanel*>(&other));
    EXPECT_EQ(item->Parent(), static_cast<IShapePanel*>(&other));
    other.RemoveSeries(series);
    // Removed by the chart: the marks no longer point at it.
    EXPECT_EQ(m->Parent(), nullptr);
    EXPECT_EQ(item->Parent(), nullptr);
  }
  chart.AddSeries(series);
  EXPECT_EQ(m->Parent(), static_cast<IShapePanel*>(&chart));
}

TEST_F(MarksChart, SettersRepaintOnlyOnChange) {
  TSeriesMarks* m = series->Marks();
  struct Case {
    const char* name;
    std::function<void(bool)> set;
  };
  const std::vector<Case> cases = {
      {"Clip", [m](bool v) { m->SetClip(v); }},
      {"OnTop", [m](bool v) { m->SetOnTop(v); }},
      {"MultiLine", [m](bool v) { m->SetMultiLine(v); }},
      {"SoftClip", [m](bool v) { m->SetSoftClip(v); }},
      {"FontSeriesColor", [m](bool v) { m->SetFontSeriesColor(v); }},
      {"AutoPosition", [m](bool v) { m->SetAutoPosition(!v); }},
      {"Visible", [m](bool v) { m->SetVisible(v); }},
      {"Style", [m](bool v) { m->SetStyle(v ? smsValue : smsLabel); }},
      {"ArrowLength", [m](bool v) { m->SetArrowLength(v ? 12 : 9); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    c.set(true);
    host.Invalidates = 0;
    c.set(true);
    EXPECT_EQ(host.Invalidates, 0);
    c.set(false);
    EXPECT_GT(host.Invalidates, 0);
  }
}

// ---- Positions ------------------------------------------------------------------------

TEST(MarkPosition, BoundsAndOffsetLeaveTheCalloutStart) {
  TSeriesMarkPosition p;
  p.LeftTop = {10, 20};
  p.Width = 30;
  p.Height = 14;
  p.ArrowFrom = {25, 50};
  p.ArrowTo = {25, 34};
  p.MidPoint = {1, 1};
  EXPECT_EQ(p.Bounds(), (TRectF{10, 20, 40, 34}));

  p.Offset({3, -4});
  EXPECT_EQ(p.LeftTop, (TPointF{13, 16}));
  EXPECT_EQ(p.ArrowTo, (TPointF{28, 30}));
  EXPECT_EQ(p.ArrowFrom, (TPointF{25, 50}));
  EXPECT_EQ(p.MidPoint, (TPointF{1, 1}));  // no bend in use

  p.HasMid = true;
  p.Offset({1, 1});
  EXPECT_EQ(p.MidPoint, (TPointF{2, 2}));

  TSeriesMarkPosition copy;
  copy.Assign(&p);
  EXPECT_EQ(copy.Bounds(), p.Bounds());
  EXPECT_EQ(copy.ArrowFrom, p.ArrowFrom);
  EXPECT_TRUE(copy.HasMid);
}

TEST(MarkPositions, ReadingNeverCreatesAndPutKeepsTheCopiedCustomFlag) {
  TSeriesMarksPositions list(nullptr);
  EXPECT_EQ(list.Position(3), nullptr);
  EXPECT_EQ(list[-1], nullptr);
  EXPECT_EQ(list.Count(), 0);

  TSeriesMarkPosition automatic;
  automatic.LeftTop = {5, 6};
  automatic.Width = 7;
  list.Put(3, &automatic);
  EXPECT_EQ(list.Count(), 4);
  EXPECT_EQ(list[0], nullptr);  // the gap stays empty
  ASSERT_NE(list[3], nullptr);
  EXPECT_FALSE(list[3]->Custom);  // the copied flag wins
  EXPECT_EQ(list[3]->LeftTop, (TPointF{5, 6}));
  EXPECT_FALSE(list.ExistCustom());

  TSeriesMarkPosition custom;
  custom.Custom = true;
  list.Put(1, &custom);
  EXPECT_TRUE(list[1]->Custom);
  EXPECT_TRUE(list.ExistCustom());
  list.Automatic(1);
  list.Automatic(9);  // no entry: nothing
  EXPECT_FALSE(list[1]->Custom);
  EXPECT_FALSE(list.ExistCustom());

  list.Put(-2, &custom);  // ignored
  list.Put(6, nullptr);
  EXPECT_EQ(list.Count(), 4);
  EXPECT_EQ(list.Filled(), (std::vector<int>{1, 3}));
}

TEST(MarkPositions, DeleteManyRemovesWhatTheListHolds) {
  // Slots 0..5 with entries at 0, 1, 3, 4, 5 (Width = the original index).
  struct Case {
    int index, count;
    std::vector<int> left;    // Width of the remaining slots, -1 for empty
    std::vector<int> filled;  // the non-empty slots afterwards
  };
  const std::vector<Case> cases = {
      {1, 2, {0, 3, 4, 5}, {0, 1, 2, 3}},
      {3, 10, {0, 1, -1}, {0, 1}},
      {2, 1, {0, 1, 3, 4, 5}, {0, 1, 2, 3, 4}},
      {6, 1, {0, 1, -1, 3, 4, 5}, {0, 1, 3, 4, 5}},
      {-1, 1, {0, 1, -1, 3, 4, 5}, {0, 1, 3, 4, 5}},
      {0, 0, {0, 1, -1, 3, 4, 5}, {0, 1, 3, 4, 5}},
      {0, 6, {}, {}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.index << "," << c.count);
    TSeriesMarksPositions list(nullptr);
    for (int i : {5, 0, 3, 1, 4}) list.Ensure(i).Width = i;
    ASSERT_EQ(list.Filled(), (std::vector<int>{0, 1, 3, 4, 5}));
    list.DeleteMany(c.index, c.count);
    ASSERT_EQ(list.Count(), static_cast<int>(c.left.size()));
    for (int i = 0; i < list.Count(); ++i) {
      if (c.left[i] < 0) {
        EXPECT_EQ(list[i], nullptr);
      } else {
        ASSERT_NE(list[i], nullptr);
        EXPECT_EQ(list[i]->Width, c.left[i]);
      }
    }
    EXPECT_EQ(list.Filled(), c.filled);
  }
}

TEST(MarkPositions, MoveToCentresTheBoxWithItsBottomRowOnThePoint) {
  TFastLineSeries series;
  TSeriesMarks* m = series.Marks();
  struct Case {
    int width, height;
    float x, y;
    TPointF leftTop;
  };
  const std::vector<Case> cases = {
      {38, 14, 100, 200, {81, 187}},
      {39, 14, 100, 200, {81, 187}},  // 39 div 2 = 19
      {1, 1, 5, 5, {5, 5}},
  };
  for (const Case& c : cases) {
    TSeriesMarkPosition p;
    p.Width = c.width;
    p.Height = c.height;
    m->Positions()->MoveTo(p, c.x, c.y);
    EXPECT_EQ(p.LeftTop, c.leftTop);
    EXPECT_EQ(p.ArrowFrom, (TPointF{c.x, c.y}));
    EXPECT_EQ(p.ArrowTo, (TPointF{c.x, c.y}));
    EXPECT_EQ(p.Bounds().Bottom, c.y + 1);  // the bottom row is the point's row
  }
  // The symbol box keeps its size and follows the top-left.
  m->Symbol()->SetShapeBounds({0, 0, 10, 10});
  TSeriesMarkPosition p;
  p.Width = 20;
  p.Height = 10;
  m->Positions()->MoveTo(p, 50, 60);
  EXPECT_EQ(m->Symbol()->ShapeBounds(), (TRectF{42, 53, 52, 63}));
}

TEST(MarkPositions, UsePositionStoresFreshOrReusesTheCustomOne) {
  TFastLineSeries series;
  TSeriesMarks* m = series.Marks();
  TSeriesMarkPosition fresh;
  fresh.LeftTop = {10, 10};
  fresh.Width = 30;
  fresh.Height = 14;
  fresh.ArrowFrom = {25, 31};
  fresh.ArrowTo = {25, 23};

  m->UsePosition(2, fresh);
  ASSERT_NE(m->Positions()->Position(2), nullptr);
  EXPECT_EQ(m->Positions()->Position(2)->LeftTop, (TPointF{10, 10}));
  EXPECT_EQ(m->Positions()->Position(1), nullptr);

  // Pinned: the next fresh layout is replaced by the stored one.
  TSeriesMarkPosition* stored = m->Positions()->Position(2);
  stored->Custom = true;
  stored->LeftTop = {100, 200};
  TSeriesMarkPosition next;
  next.LeftTop = {1, 1};
  next.Width = 99;
  next.ArrowFrom = {7, 7};
  m->UsePosition(2, next);
  EXPECT_EQ(next.LeftTop, (TPointF{100, 200}));
  EXPECT_EQ(next.Width, 30);
  EXPECT_EQ(next.ArrowFrom, (TPointF{25, 31}));
  EXPECT_FALSE(next.Custom);  // the working copy
  EXPECT_TRUE(stored->Custom);
  EXPECT_EQ(stored->Width, 30);

  // With ArrowFix the callout starts at the fresh point.
  TSeriesMarkPosition fixed;
  fixed.ArrowFix = true;
  fixed.ArrowFrom = {8, 9};
  m->UsePosition(2, fixed);
  EXPECT_EQ(fixed.ArrowFrom, (TPointF{8, 9}));
  EXPECT_EQ(fixed.LeftTop, (TPointF{100, 200}));
}

// ---- Items ------------------------------------------------------------------------------

TEST(MarksItems, ItemsAreCreatedOnAccessAsCopiesButMarkItemNeverCreates) {
  TFastLineSeries series;
  TSeriesMarks* m = series.Marks();
  m->SetColor(0xFF00FF00);
  m->Font()->SetSize(20);
  m->SetTransparent(true);

  EXPECT_EQ(m->MarkItem(3), m);
  EXPECT_EQ(m->Items()->Count(), 0);

  TMarksItem* item = m->Item(3);
  EXPECT_EQ(m->Items()->Count(), 4);
  EXPECT_EQ(m->Items()->Existing(1), nullptr);
  EXPECT_EQ(m->MarkItem(3), item);
  EXPECT_EQ(m->Item(3), item);
  EXPECT_EQ(item->Color(), 0xFF00FF00u);
  EXPECT_EQ(item->Font()->Size(), 20);
  EXPECT_TRUE(item->Transparent());
  EXPECT_EQ(item->TextAlign(), taCenter);
  EXPECT_FALSE(item->ICustomText);
  EXPECT_EQ(item->Text(), "");
  EXPECT_THROW(m->Item(-1), ChartException);
}

TEST(MarksItems, AnItemTextReplacesTheGeneratedText) {
  TFastLineSeries series;
  series.Add(5);
  series.Add(6);
  TMarksItem* item = series.Marks()->Item(1);
  item->Lines()->Add("first");
  item->Lines()->Add("second");
  EXPECT_TRUE(item->ICustomText);
  EXPECT_EQ(series.GetMarkText(1), "first\r\nsecond");
  EXPECT_EQ(series.GetMarkText(0), "5");

  item->SetCustomText("");
  EXPECT_FALSE(item->ICustomText);
  EXPECT_FALSE(item->HasLines());
  EXPECT_EQ(series.GetMarkText(1), "6");

  item->SetCustomText("pinned");
  EXPECT_EQ(series.GetMarkText(1), "pinned");
}

// ---- Texts ------------------------------------------------------------------------------

class MarkTexts : public ::testing::Test {
 protected:
  MarkTexts() {
    series.Add(1234.5, "A");
    series.Add(-250);
    series.Add(500, "C");
    series.SetName("Series1");
  }
  std::string Text(TSeriesMarksStyle style, int index, bool multiLine = false) {
    series.Marks()->SetStyle(style);
    series.Marks()->SetMultiLine(multiLine);
    return series.GetMarkText(index);
  }
  TFastLineSeries series;
};

TEST_F(MarkTexts, EveryStyle) {
  // Absolute total 1984.5.
  struct Case {
    TSeriesMarksStyle style;
    int index;
    bool multiLine;
    std::string text;
  };
  const std::vector<Case> cases = {
      {smsValue, 0, false, "1,234.5"},
      {smsValue, 1, false, "-250"},
      {smsPercent, 0, false, "62.21 %"},
      {smsLabel, 0, false, "A"},
      {smsLabel, 1, false, ""},
      {smsLabelPercent, 0, false, "A 62.21 %"},
      {smsLabelPercent, 1, false, "-250 12.6 %"},
      {smsLabelPercent, 0, true, "A\r62.21 %"},
      {smsLabelValue, 0, false, "A 1,234.5"},
      {smsLabelValue, 1, false, "-250"},
      {smsLegend, 0, false, "1,234.5 A"},
      {smsLegend, 0, true,
       "1,234.5\x06"
       "A"},
      {smsLegend, 1, false, "-250"},
      {smsPercentTotal, 2, false, "25.2 % of 1,984.5"},
      {smsPercentTotal, 2, true, "25.2 %\rof 1,984.5"},
      {smsLabelPercentTotal, 2, false, "C 25.2 % of 1,984.5"},
      {smsXValue, 2, false, "2"},
      {smsXY, 2, false, "2 500"},
      {smsXY, 2, true, "2\r500"},
      {smsSeriesTitle, 0, false, "Series1"},
      {smsPointIndex, 2, false, "2"},
      {smsPercentRelative, 0, false, "100 %"},
      {smsPercentRelative, 2, false, "40.5 %"},
      {smsPercentRelative, 1, false, "-20.25 %"},
      {smsLabelPercentValue, 0, false, "A 62.21 % 1,234.5"},
      {smsLabelOrValue, 0, false, "A"},
      {smsLabelOrValue, 1, false, "-250"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << "style " << int(c.style) << " index " << c.index);
    EXPECT_EQ(Text(c.style, c.index, c.multiLine), c.text);
  }
}

TEST_F(MarkTexts, SeriesTitleWinsOverTheName) {
  series.SetTitle("Sales");
  EXPECT_EQ(Text(smsSeriesTitle, 1), "Sales");
}

TEST_F(MarkTexts, RelativePercentOfAZeroFirstValueIsZero) {
  TFastLineSeries s;
  s.Add(0);
  s.Add(7);
  s.Marks()->SetStyle(smsPercentRelative);
  EXPECT_EQ(s.GetMarkText(1), "0 %");
  EXPECT_EQ(s.GetMarkText(0), "100 %");
}

TEST_F(MarkTexts, FormatsComeFromTheSeries) {
  series.SetValueFormat("0.00");
  series.SetPercentFormat("0.0%");
  EXPECT_EQ(Text(smsValue, 0), "1234.50");
  EXPECT_EQ(Text(smsPercent, 2), "25.2%");
  EXPECT_EQ(series.MarkPercent(2, true), "25.2% of 1984.50");
}

TEST(MarkPercent, AllZeroValuesGiveOneHundredPercent) {
  TFastLineSeries series;
  for (int i = 0; i < 3; ++i) series.Add(0);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(series.MarkPercent(i), "100 %");
  EXPECT_EQ(series.MarkPercent(1, true), "100 % of 0");
}

TEST(MarkPercent, PercentTextsAreNotReadAsFormats) {
  TFastLineSeries series;
  series.Add(10);
  series.SetPercentFormat("0 %s%d");
  EXPECT_EQ(series.MarkPercent(0, true), "100 %s%d of 10");
}

TEST_F(MarkTexts, OnGetMarkTextIsCalledLast) {
  std::vector<int> calls;
  series.OnGetMarkText = [&](TChartSeries* sender, int index, std::string& text) {
    EXPECT_EQ(sender, &series);
    calls.push_back(index);
    text = "<" + text + ">";
  };
  EXPECT_EQ(Text(smsValue, 2), "<500>");
  series.Marks()->Item(0)->SetCustomText("own");
  EXPECT_EQ(series.GetMarkText(0), "<own>");
  EXPECT_EQ(calls, (std::vector<int>{2, 0}));
}

TEST_F(MarkTexts, LabelOrValueIsTheDefault) {
  EXPECT_EQ(series.GetMarkText(0), "A");
  EXPECT_EQ(series.GetMarkText(1), "-250");
  EXPECT_EQ(series.GetMarkValue(2), 500);
  EXPECT_EQ(series.GetMarkLabel(2), "C");
  EXPECT_EQ(series.GetMarkLabel(1), "");
}

TEST_F(MarksChart, ValueOfOneThousandTwoHundredThirtyFourAndAHalf) {
  series->Add(1234.5);
  series->Marks()->SetStyle(smsValue);
  EXPECT_EQ(series->GetMarkText(0), "1,234.5");
}

TEST_F(MarksChart, TextWidthMeasuresTheMarkTextInTheMarksFont) {
  // The axes measure marks while the chart paints.
  series->Add(1234.5);
  series->Add(8);
  TSeriesMarks* m = series->Marks();
  m->SetStyle(smsValue);
  m->Item(1)->SetCustomText("ab\r\nabcd");
  std::vector<int> widths;
  chart.OnAfterDraw = [&](TPersistent*) {
    widths.push_back(m->TextWidth(0));
    widths.push_back(m->TextWidth(1));
    m->Font()->SetSize(22);
    widths.push_back(m->TextWidth(0));
    widths.push_back(m->TextWidth(1));  // the item keeps its own font
  };
  Paint();
  EXPECT_EQ(widths, (std::vector<int>{TextWidthOf("1,234.5"), TextWidthOf("abcd"),
                                      KelRound(7 * 11.0), TextWidthOf("abcd")}));

  TFastLineSeries alone;
  alone.Add(1);
  EXPECT_EQ(alone.Marks()->TextWidth(0), 0);
}

// ---- Hit test, reset, delete, clear -------------------------------------------------------

TEST_F(MarksChart, ClickedFindsTheMarkUnderThePoint) {
  for (int i = 0; i < 5; ++i) series->AddXY(i, 10 + 10 * i);
  ApplyApplicationMarks(series->Marks());
  Paint();
  const TSeriesMarkPosition* p = series->Marks()->Positions()->Position(3);
  ASSERT_NE(p, nullptr);
  const TRectF b = p->Bounds();
  series->IClickedPart = scpNone;
  EXPECT_EQ(series->Marks()->Clicked(TPointF{b.Left + 2, b.Top + 2}), 3);
  EXPECT_EQ(series->IClickedPart, scpMark);
  EXPECT_EQ(series->Marks()->Clicked(KelRound(b.Right), KelRound(b.Bottom)), 3);  // edges count
  EXPECT_EQ(series->Marks()->Clicked(-50, -50), -1);

  series->Marks()->Item(3)->SetVisible(false);
  EXPECT_EQ(series->Marks()->Clicked(TPointF{b.Left + 2, b.Top + 2}), -1);
}

TEST_F(MarksChart, ResetPositionsMakesEveryPositionAutomatic) {
  for (int i = 0; i < 4; ++i) series->AddXY(i, 10 + i);
  ApplyApplicationMarks(series->Marks());
  Paint();
  TSeriesMarksPositions* positions = series->Marks()->Positions();
  positions->Position(1)->Custom = true;
  positions->Position(3)->Custom = true;
  ASSERT_TRUE(positions->ExistCustom());
  host.Invalidates = 0;
  series->Marks()->ResetPositions();
  EXPECT_FALSE(positions->ExistCustom());
  EXPECT_GT(host.Invalidates, 0);
}

TEST_F(MarksChart, DeletingAndClearingPointsKeepsPositionsAndItemsAligned) {
  for (int i = 0; i < 6; ++i) series->AddXY(i, 10 + i);
  ApplyApplicationMarks(series->Marks());
  Paint();
  TSeriesMarks* m = series->Marks();
  ASSERT_EQ(m->Positions()->Count(), 6);
  std::vector<float> x;
  for (int i = 0; i < 6; ++i) x.push_back(m->Positions()->Position(i)->ArrowFrom.X);
  m->Item(4)->SetColor(0xFF0000FF);

  series->Delete(1);  // points 2..5 move to 1..4
  ASSERT_EQ(m->Positions()->Count(), 5);
  EXPECT_EQ(m->Positions()->Position(1)->ArrowFrom.X, x[2]);
  EXPECT_EQ(m->Positions()->Position(4)->ArrowFrom.X, x[5]);
  EXPECT_EQ(m->Items()->Existing(3)->Color(), 0xFF0000FFu);

  series->Delete(0, 2);  // old points 3..5 remain
  ASSERT_EQ(m->Positions()->Count(), 3);
  EXPECT_EQ(m->Positions()->Position(0)->ArrowFrom.X, x[3]);
  EXPECT_EQ(m->Items()->Existing(1)->Color(), 0xFF0000FFu);

  series->Clear();
  EXPECT_EQ(m->Positions()->Count(), 0);
  EXPECT_EQ(m->Items()->Count(), 0);
}

TEST_F(MarksChart, ClearKeepsItemsWhileTheyAreBeingLoaded) {
  series->Add(1);
  TSeriesMarks* m = series->Marks();
  m->Item(0);
  m->Positions()->Ensure(0);
  m->Items()->ILoadingItems = true;
  series->Clear();
  EXPECT_EQ(m->Positions()->Count(), 0);
  EXPECT_EQ(m->Items()->Count(), 1);
}

}  // namespace
}  // namespace sextant::testing

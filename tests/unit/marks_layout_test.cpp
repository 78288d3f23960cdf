// Marks in a paint: the application's marks with their callouts, the draw
// step, automatic placement and anti-overlap, skipped points, clipping,
// custom positions, drawing order, and the pointer and callout forms.
#include <gtest/gtest.h>

#include <algorithm>
#include <optional>
#include <string>
#include <vector>

#include "canvas/brush.h"
#include "canvas/pen.h"
#include "canvas/shadow.h"
#include "marks_fixture.h"

namespace sextant::testing {
namespace {

class MarksLayout : public MarksChartTest {
 protected:
  // Points far apart (no two marks overlap): X 0..n-1, Y alternating low
  // and high.
  void AddSpreadPoints(int n) {
    for (int i = 0; i < n; ++i) series->AddXY(i, i % 2 ? 80 : 20);
  }
  // Transparent value marks without a callout.
  void PlainMarks() {
    TSeriesMarks* m = series->Marks();
    m->SetVisible(true);
    m->SetStyle(smsValue);
    m->SetTransparent(true);
  }
  const TSeriesMarkPosition& Stored(int i) const {
    const TSeriesMarkPosition* p = series->Marks()->Positions()->Position(i);
    EXPECT_NE(p, nullptr) << "no stored position for " << i;
    static const TSeriesMarkPosition none;
    return p ? *p : none;
  }
  static std::vector<TRecordKind> KindsOf(const std::vector<const TRecordedOp*>& ops) {
    std::vector<TRecordKind> kinds;
    for (const TRecordedOp* op : ops) kinds.push_back(op->Kind);
    return kinds;
  }
};

// ---- The application's marks ------------------------------------------------------------

TEST_F(MarksLayout, ApplicationMarksDrawLineCircleAndTextAboveEachPoint) {
  AddSpreadPoints(3);
  ApplyApplicationMarks(series->Marks());
  Paint();

  const std::vector<const TRecordedOp*> ops = MarkOps();
  const std::vector<TRecordKind> one = {rkDrawLine, rkFillEllipse, rkDrawEllipse, rkRenderLayout};
  std::vector<TRecordKind> expected;
  for (int i = 0; i < 3; ++i) expected.insert(expected.end(), one.begin(), one.end());
  ASSERT_EQ(KindsOf(ops), expected);

  for (int i = 0; i < 3; ++i) {
    SCOPED_TRACE(i);
    const float X = PixelOf(i).X, Y = PixelOf(i).Y;
    const std::string text = i % 2 ? "80" : "20";
    const int W = TextWidthOf(text);
    const TRecordedOp& line = *ops[4 * i];
    EXPECT_EQ(line.P1, (TPointF{X, Y}));
    EXPECT_EQ(line.P2, (TPointF{X, Y - 8}));
    EXPECT_EQ(line.Stroke.Color, claWhite);

    const TRectF circle{X - 15, Y - 15, X + 15, Y + 15};
    EXPECT_EQ(ops[4 * i + 1]->Rect, circle);
    EXPECT_EQ(ops[4 * i + 1]->Fill.Color, 0xFFFFFFE1u);
    EXPECT_EQ(ops[4 * i + 2]->Rect, circle);
    EXPECT_EQ(ops[4 * i + 2]->Stroke.Color, claBlack);

    const TRecordedOp& label = *ops[4 * i + 3];
    EXPECT_EQ(label.Text, text);
    EXPECT_EQ(label.TextColor, claBlack);
    // Centred in the box (the centre rounded to a whole pixel).
    EXPECT_EQ(label.Rect.Left, KelRound(X - W / 2 + W * 0.5) - W / 2);
    EXPECT_EQ(label.Rect.Top, Y - TextHeight - 7);

    const TRectF box = Stored(i).Bounds();
    EXPECT_EQ(box, (TRectF{X - W / 2, Y - TextHeight - 7, X - W / 2 + W, Y - 7}));
    EXPECT_EQ(Stored(i).ArrowFrom, (TPointF{X, Y}));
    EXPECT_EQ(Stored(i).ArrowTo, (TPointF{X, Y - 8}));
    EXPECT_FALSE(Stored(i).Custom);
  }
}

TEST_F(MarksLayout, ValueTextsUseThousandsSeparators) {
  series->AddXY(0, 1234.5);
  series->AddXY(1, 10);
  ApplyApplicationMarks(series->Marks());
  Paint();
  EXPECT_EQ(MarkTexts(), (std::vector<std::string>{"1,234.5", "10"}));
}

TEST_F(MarksLayout, LabelOrValueShowsTheLabelWhenThereIsOne) {
  series->AddXY(0, 20, "first");
  series->AddXY(1, 80);
  series->Marks()->SetVisible(true);  // default style: label or value
  Paint();
  EXPECT_EQ(MarkTexts(), (std::vector<std::string>{"first", "80"}));
}

TEST_F(MarksLayout, HiddenMarksDrawNothing) {
  AddSpreadPoints(3);
  series->Marks()->SetStyle(smsValue);
  Paint();
  EXPECT_TRUE(MarkOps().empty());
  EXPECT_EQ(series->Marks()->Positions()->Count(), 0);
}

// ---- Draw step ----------------------------------------------------------------------------

TEST_F(MarksLayout, DrawStepThinsMarksToAboutOnePerTwoPixels) {
  struct Case {
    int points;
    float plotWidth;
    int drawEvery;
    int step;
  };
  const std::vector<Case> cases = {
      {1000, 400, 1, 5},                     // a = 200: round(1000 / 200)
      {1000, 401, 1, 5},                     // round(4.99)
      {100, 400, 1, 1},                      // a >= n
      {100, 400, 3, 3},  {1000, 400, 7, 7},  // DrawEvery wins when larger
      {500, 400, 1, 2},                      // round(2.5) to even
      {300, 400, 1, 2},                      // round(1.5) to even
      {1000, 0, 2, 2},                       // no plot
  };
  TSeriesMarks* m = series->Marks();
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.points << " points, " << c.plotWidth << " pixels");
    series->Clear();
    for (int i = 0; i < c.points; ++i) series->AddXY(i, i);
    Paint();  // all points visible
    ASSERT_EQ(series->FirstValueIndex(), 0);
    ASSERT_EQ(series->LastValueIndex(), c.points - 1);
    chart.ChartRect = {0, 0, c.plotWidth, 300};
    chart.ReCalcWidthHeight();
    m->SetDrawEvery(c.drawEvery);
    EXPECT_EQ(m->CalcEvery(), c.step);
  }
  series->CalcVisiblePoints = false;
  EXPECT_EQ(m->CalcEvery(), 2);
}

TEST_F(MarksLayout, OnlyEveryStepthPointGetsAMark) {
  for (int i = 0; i < 1000; ++i) series->AddXY(i, i % 7);
  PlainMarks();
  series->Marks()->SetAutoPosition(false);  // every candidate is drawn
  Paint();
  const int step = series->Marks()->CalcEvery();
  ASSERT_GT(step, 1);
  std::vector<int> laidOut;
  for (int i = 0; i < series->Marks()->Positions()->Count(); ++i)
    if (series->Marks()->Positions()->Position(i)) laidOut.push_back(i);
  std::vector<int> expected;
  for (int i = 0; i < 1000; i += step) expected.push_back(i);
  EXPECT_EQ(laidOut, expected);
  EXPECT_EQ(MarkOps(rkRenderLayout).size(), expected.size());
}

// ---- Anti-overlap -------------------------------------------------------------------------

TEST_F(MarksLayout, LaterMarkAtTheSameLevelMovesDownOntoTheEarlier) {
  FixAxes(0, 100, 0, 100);
  series->AddXY(50, 50);
  series->AddXY(51, 50);
  PlainMarks();
  Paint();
  const TRectF first = Stored(0).Bounds();
  const TRectF second = Stored(1).Bounds();
  EXPECT_EQ(first.Top, PixelOf(0).Y - TextHeight + 1);  // where it was placed
  EXPECT_EQ(second.Top, first.Bottom);
  EXPECT_EQ(second.Left, PixelOf(1).X - TextWidthOf("50") / 2);  // no sideways move
  EXPECT_EQ(MarkOps(rkRenderLayout).size(), 2u);
  EXPECT_EQ(MarkOps(rkRenderLayout)[1]->Rect.Top, first.Bottom);
}

TEST_F(MarksLayout, LaterMarkAboveAnEarlierOneMovesUpOntoIt) {
  FixAxes(0, 100, 0, 100);
  series->AddXY(50, 40);
  series->AddXY(51, 42);
  PlainMarks();
  Paint();
  const float dy = PixelOf(0).Y - PixelOf(1).Y;
  ASSERT_GT(dy, 0);
  ASSERT_LT(dy, TextHeight);  // the natural boxes overlap
  const TRectF lower = Stored(0).Bounds();
  const TRectF upper = Stored(1).Bounds();
  EXPECT_EQ(upper.Bottom, lower.Top);
  EXPECT_EQ(MarkOps(rkRenderLayout).size(), 2u);
}

TEST_F(MarksLayout, MarksAreMovedOffEarlierMarksBeyondAGap) {
  FixAxes(0, 100, 0, 100);
  series->AddXY(50, 50);
  series->AddXY(50.5, 50);
  series->AddXY(51, 50);
  series->SetNull(1);  // no mark between them
  PlainMarks();
  Paint();
  EXPECT_EQ(series->Marks()->Positions()->Position(1), nullptr);
  EXPECT_EQ(Stored(2).Bounds().Top, Stored(0).Bounds().Bottom);
}

TEST_F(MarksLayout, WithoutAutoPositionOverlappingMarksStayWhereTheyAre) {
  FixAxes(0, 100, 0, 100);
  series->AddXY(50, 50);
  series->AddXY(51, 50);
  PlainMarks();
  series->Marks()->SetAutoPosition(false);
  Paint();
  EXPECT_EQ(Stored(0).Bounds().Top, Stored(1).Bounds().Top);
  EXPECT_EQ(Stored(1).Bounds().Top, PixelOf(1).Y - TextHeight + 1);
  EXPECT_EQ(MarkOps(rkRenderLayout).size(), 2u);
}

// A series whose overlap rule cannot move a mark.
class StuckSeries : public TFastLineSeries {
 public:
  TPointF MarkOverlap(int, const TRectF&, const TRectF&) const override { return {0, 0}; }
};

TEST_F(MarksLayout, AMarkThatCannotBePlacedIsNotDrawn) {
  series->SetActive(false);
  auto* stuck = new StuckSeries();
  chart.AddSeries(stuck);
  Watch(stuck);
  FixAxes(0, 100, 0, 100);
  stuck->AddXY(50, 50);
  stuck->AddXY(51, 50);
  stuck->AddXY(90, 50);  // far away: drawn
  stuck->Marks()->SetVisible(true);
  stuck->Marks()->SetStyle(smsValue);
  stuck->Marks()->SetTransparent(true);
  Paint();
  EXPECT_EQ(MarkTexts(), (std::vector<std::string>{"50", "50"}));
  ASSERT_NE(stuck->Marks()->Positions()->Position(2), nullptr);
  EXPECT_NEAR(MarkOps(rkRenderLayout)[1]->Rect.Left,
              stuck->Marks()->Positions()->Position(2)->LeftTop.X, 1);
  EXPECT_EQ(stuck->Marks()->Positions()->Position(1), nullptr);
}

// ---- Skipped points -----------------------------------------------------------------------

TEST_F(MarksLayout, NullPointsAndEmptyTextsGetNoMarkAndNoCallout) {
  AddSpreadPoints(5);
  series->SetNull(1);
  TextHook = [](int index, std::string& text) {
    if (index == 3) text.clear();
  };
  ApplyApplicationMarks(series->Marks());
  Paint();
  EXPECT_EQ(MarkTexts(), (std::vector<std::string>{"20", "20", "20"}));
  EXPECT_EQ(MarkOps(rkDrawLine).size(), 3u);
  EXPECT_EQ(MarkOps(rkFillEllipse).size(), 3u);
  for (const TRecordedOp* op : MarkOps(rkDrawLine)) {
    EXPECT_NE(op->P1.X, PixelOf(1).X);
    EXPECT_NE(op->P1.X, PixelOf(3).X);
  }
  EXPECT_EQ(series->Marks()->Positions()->Position(1), nullptr);
  EXPECT_EQ(series->Marks()->Positions()->Position(3), nullptr);
}

TEST_F(MarksLayout, SoftClipLeavesOutPointsOutsideThePlot) {
  FixAxes(0, 10.5, 0, 100);
  for (int i = 0; i < 13; ++i) series->AddXY(i, 50 + (i % 2) * 30);
  PlainMarks();
  Paint();
  ASSERT_EQ(series->LastValueIndex(), 11);  // the first point beyond the edge
  EXPECT_NE(series->Marks()->Positions()->Position(11), nullptr);

  series->Marks()->Clear();
  series->Marks()->SetSoftClip(true);
  Paint();
  EXPECT_EQ(series->Marks()->Positions()->Position(11), nullptr);
  EXPECT_NE(series->Marks()->Positions()->Position(10), nullptr);
}

TEST_F(MarksLayout, WithoutTouchingTheCalloutAMarkSitsOnItsPoint) {
  AddSpreadPoints(3);
  PlainMarks();
  Paint();
  EXPECT_FALSE(series->Marks()->HasCallout());
  EXPECT_EQ(KindsOf(MarkOps()),
            (std::vector<TRecordKind>{rkRenderLayout, rkRenderLayout, rkRenderLayout}));
  for (int i = 0; i < 3; ++i) {
    const TRectF box = Stored(i).Bounds();
    EXPECT_EQ(box.Bottom - 1, PixelOf(i).Y);  // bottom row on the point's row
    EXPECT_EQ(Stored(i).ArrowTo, PixelOf(i));
    EXPECT_EQ(MarkOps(rkRenderLayout)[i]->Rect.Top, box.Top);
  }
}

// ---- Clipping -------------------------------------------------------------------------------

TEST_F(MarksLayout, ClipCutsAMarkAtThePlotTop) {
  series->AddXY(0, 10);
  series->AddXY(1, 100);  // the top of the automatic range
  ApplyApplicationMarks(series->Marks());
  Paint();
  const TRectF plot = chart.ChartRect;
  const std::vector<const TRecordedOp*> texts = MarkOps(rkRenderLayout);
  ASSERT_EQ(texts.size(), 2u);
  const TRecordedOp& top = *texts[1];
  ASSERT_TRUE(top.Clip.has_value());
  // The chart rectangle widened by one pixel at top and bottom, narrowed
  // again by the canvas at the top, the bottom and the left.
  EXPECT_EQ(*top.Clip, (TRectF{plot.Left + 1, plot.Top, plot.Right, plot.Bottom}));
  EXPECT_LT(top.Rect.Top, top.Clip->Top);  // partly above: cut
  EXPECT_TRUE(texts[0]->Clip.has_value());
  // The clip ends with the marks.
  EXPECT_FALSE(rec.ClipRect().has_value());

  series->Marks()->SetClip(false);
  Paint();
  for (const TRecordedOp* op : MarkOps()) EXPECT_FALSE(op->Clip.has_value());
}

// ---- Custom positions ---------------------------------------------------------------------

TEST_F(MarksLayout, CustomPositionKeepsItsBoxAndCalloutOnLaterPaints) {
  AddSpreadPoints(5);
  ApplyApplicationMarks(series->Marks());
  Paint();
  const TPointF point = PixelOf(2);
  TSeriesMarkPosition* p = series->Marks()->Positions()->Position(2);
  ASSERT_NE(p, nullptr);
  const int W = p->Width, H = p->Height;
  // The mark-centering command.
  p->Custom = true;
  p->LeftTop = {point.X - 12, point.Y - 5};

  // The point moves and its text grows.
  FixAxes(-2, 6, 0, 120);
  TextHook = [](int index, std::string& text) {
    if (index == 2) text = "123456789";
  };
  Paint();
  ASSERT_NE(PixelOf(2), point);
  const std::vector<const TRecordedOp*> ops = MarkOps();
  ASSERT_EQ(ops.size(), 20u);
  const TRecordedOp& line = *ops[8];
  EXPECT_EQ(line.P1, point);
  EXPECT_EQ(line.P2, (TPointF{point.X, point.Y - 8}));
  EXPECT_EQ(ops[9]->Rect, (TRectF{point.X - 15, point.Y - 15, point.X + 15, point.Y + 15}));
  const TRecordedOp& label = *ops[11];
  EXPECT_EQ(label.Text, "123456789");
  const float left = point.X - 12;
  const int centre = KelRound(left + W * 0.5f);
  EXPECT_EQ(label.Rect.Left, centre - TextWidthOf("123456789") / 2);
  EXPECT_EQ(label.Rect.Top, point.Y - 5);

  // The stored entry is unchanged and still custom.
  EXPECT_TRUE(p->Custom);
  EXPECT_EQ(p->Width, W);
  EXPECT_EQ(p->Height, H);
  EXPECT_EQ(p->LeftTop, (TPointF{point.X - 12, point.Y - 5}));
  // Automatic marks follow their points.
  EXPECT_EQ(Stored(1).ArrowFrom, PixelOf(1));
}

TEST_F(MarksLayout, MarksFollowTheProjectionIn3D) {
  AddSpreadPoints(3);
  ApplyApplicationMarks(series->Marks());
  // Where each text sits in its box, in the flat chart.
  Paint();
  ASSERT_EQ(MarkOps(rkRenderLayout).size(), 3u);
  std::vector<TPointF> textInBox;
  for (int i = 0; i < 3; ++i) {
    const TRectF text = MarkOps(rkRenderLayout)[i]->Rect;
    textInBox.push_back({text.Left - Stored(i).Bounds().Left, text.Top - Stored(i).Bounds().Top});
  }

  chart.SetView3D(true);
  Paint();
  ASSERT_EQ(MarkOps(rkRenderLayout).size(), 3u);
  ASSERT_EQ(MarkOps(rkDrawLine).size(), 3u);
  ASSERT_EQ(MarkOps(rkFillEllipse).size(), 3u);
  // The series stands in the middle of its depth slot: its marks move with
  // the projection of that depth.
  const int z = series->MiddleZ;
  ASSERT_GT(z, 0);
  TCanvas3D* canvas = chart.Canvas();
  for (int i = 0; i < 3; ++i) {
    const TPointF projected = canvas->Calculate3DPosition(PixelOf(i), static_cast<float>(z));
    const TPointF shift{projected.X - PixelOf(i).X, projected.Y - PixelOf(i).Y};
    EXPECT_GT(shift.X, 0);
    EXPECT_LT(shift.Y, 0);
    // The callout runs up from the projected point to the box's bottom.
    const TRecordedOp& line = *MarkOps(rkDrawLine)[i];
    EXPECT_EQ(line.P1, projected);
    EXPECT_EQ(line.P1.X, line.P2.X);
    EXPECT_EQ(line.P1.Y - line.P2.Y, 8);
    const TRectF circle = MarkOps(rkFillEllipse)[i]->Rect;
    EXPECT_EQ(circle.Left + 15, KelRound(line.P1.X));
    // The stored box is the layout in the series' plane; drawn, it moves
    // by the projection like its callout, and its text is not moved twice.
    const TRectF stored = Stored(i).Bounds();
    EXPECT_EQ(stored.Bottom + shift.Y, line.P2.Y + 1);
    const TRectF text = MarkOps(rkRenderLayout)[i]->Rect;
    EXPECT_EQ(text.Left, stored.Left + shift.X + textInBox[i].X) << i;
    EXPECT_EQ(text.Top, stored.Top + shift.Y + textInBox[i].Y) << i;
  }
}

// ---- Drawing order ----------------------------------------------------------------------------

TEST_F(MarksLayout, MarksFollowTheirSeriesOrComeAfterAllSeriesOnTop) {
  AddSpreadPoints(3);
  PlainMarks();
  TextHook = [](int index, std::string& text) { text = "mark" + std::to_string(index); };
  auto* second = new TFastLineSeries();
  chart.AddSeries(second);
  for (int i = 0; i < 3; ++i) second->AddXY(i, 50);
  std::size_t secondBegin = 0, secondEnd = 0;
  second->BeforeDrawValues = [&](TChartSeries*) { secondBegin = rec.Ops().size(); };
  second->AfterDrawValues = [&](TChartSeries*) { secondEnd = rec.Ops().size(); };

  auto firstMarkOp = [&]() -> std::size_t {
    for (std::size_t i = 0; i < rec.Ops().size(); ++i)
      if (rec.Ops()[i].Kind == rkRenderLayout && rec.Ops()[i].Text == "mark0") return i;
    return npos;
  };
  Paint();
  ASSERT_NE(firstMarkOp(), npos);
  EXPECT_LT(firstMarkOp(), secondBegin);

  series->Marks()->SetOnTop(true);
  Paint();
  ASSERT_NE(firstMarkOp(), npos);
  EXPECT_GE(firstMarkOp(), secondEnd);
}

// ---- Callout forms ----------------------------------------------------------------------------

TEST_F(MarksLayout, ArrowHeadsPointAtThePointAndReplaceThePointer) {
  AddSpreadPoints(1);
  series->AddXY(1, 80);
  ApplyApplicationMarks(series->Marks());
  TMarksCallout* c = series->Marks()->Callout();

  c->SetArrowHead(ahLine);
  Paint();
  const TPointF X = PixelOf(0);
  std::vector<const TRecordedOp*> lines = MarkOps(rkDrawLine);
  ASSERT_EQ(lines.size(), 6u);  // shaft and two head lines per mark
  for (int k = 0; k < 3; ++k) EXPECT_EQ(lines[k]->P2, X);
  EXPECT_TRUE(MarkOps(rkFillEllipse).empty());

  c->SetArrowHead(ahSolid);
  Paint();
  EXPECT_TRUE(MarkOps(rkDrawLine).empty());
  ASSERT_EQ(MarkOps(rkFillPath).size(), 2u);
  EXPECT_EQ(MarkOps(rkFillPath)[0]->Fill.Color, 0xFFFFFFE1u);
  EXPECT_TRUE(MarkOps(rkFillEllipse).empty());
}

TEST_F(MarksLayout, ACalloutWithABendDrawsTwoLines) {
  AddSpreadPoints(2);
  ApplyApplicationMarks(series->Marks());
  Paint();
  TSeriesMarkPosition* p = series->Marks()->Positions()->Position(0);
  p->Custom = true;
  p->HasMid = true;
  p->MidPoint = {p->ArrowFrom.X + 20, p->ArrowFrom.Y - 4};
  Paint();
  const std::vector<const TRecordedOp*> lines = MarkOps(rkDrawLine);
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_EQ(lines[0]->P1, p->ArrowFrom);
  EXPECT_EQ(lines[0]->P2, p->MidPoint);
  EXPECT_EQ(lines[1]->P1, p->MidPoint);
  EXPECT_EQ(lines[1]->P2, p->ArrowTo);
  // The bend of a pinned mark does not leak into the next mark's layout.
  EXPECT_FALSE(Stored(1).HasMid);
}

TEST_F(MarksLayout, CheckedArrowColourAvoidsThePointColour) {
  AddSpreadPoints(1);
  ApplyApplicationMarks(series->Marks());
  series->SetSeriesColor(claWhite);
  Paint();
  ASSERT_EQ(MarkOps(rkDrawLine).size(), 1u);
  EXPECT_EQ(MarkOps(rkDrawLine)[0]->Stroke.Color, claWhite);

  KelCheckMarkArrowColor = true;
  Paint();
  KelCheckMarkArrowColor = false;
  ASSERT_EQ(MarkOps(rkDrawLine).size(), 1u);
  EXPECT_EQ(MarkOps(rkDrawLine)[0]->Stroke.Color, claBlack);
}

TEST_F(MarksLayout, CalloutLengthAndDistanceRaiseTheBox) {
  AddSpreadPoints(1);
  ApplyApplicationMarks(series->Marks());
  series->Marks()->SetArrowLength(20);
  series->Marks()->Callout()->SetDistance(5);
  Paint();
  const TPointF X = PixelOf(0);
  EXPECT_EQ(Stored(0).Bounds().Bottom, X.Y - 25 + 1);
  EXPECT_EQ(Stored(0).ArrowFrom, (TPointF{X.X, X.Y - 5}));
  EXPECT_EQ(Stored(0).ArrowTo, (TPointF{X.X, X.Y - 25}));
  ASSERT_EQ(MarkOps(rkDrawLine).size(), 1u);
  EXPECT_EQ(MarkOps(rkDrawLine)[0]->P1, Stored(0).ArrowFrom);
}

// ---- Framed boxes, symbol, tail -----------------------------------------------------------------

TEST_F(MarksLayout, FramedMarksIncludeFrameAndMarginsAndOverlapWithTheirShadow) {
  series->AddXY(0, 20);
  series->Marks()->SetVisible(true);
  series->Marks()->SetStyle(smsValue);
  Paint();
  // Text 11 x 14; frame 2; margins 20 % and 5 % of the 14 pixel text block.
  const TSeriesMarkPosition& p = Stored(0);
  EXPECT_EQ(p.Width, 11 + 2 + 2 * KelRound(0.2 * 14 * 2));
  EXPECT_EQ(p.Height, 14 + 2 + KelRound(0.05 * 14 * 2));
  const TRectF total = series->Marks()->TotalBounds(0, p);
  EXPECT_EQ(total.Right, p.Bounds().Right + 1 + 3);  // pen and shadow
  EXPECT_EQ(total.Bottom, p.Bounds().Bottom + 1 + 3);
  // A rounded box with its shadow, then the text.
  EXPECT_EQ(KindsOf(MarkOps()).back(), rkRenderLayout);
  EXPECT_FALSE(MarkOps(rkDrawRect).empty());
}

TEST_F(MarksLayout, AVisibleSymbolWidensTheBoxAndIsDrawnInsideIt) {
  AddSpreadPoints(1);
  PlainMarks();
  series->Marks()->Symbol()->SetVisible(true);
  Paint();
  const TSeriesMarkPosition& p = Stored(0);
  EXPECT_EQ(p.Width, TextWidthOf("20") + TextHeight - 4);
  const std::vector<const TRecordedOp*> rects = MarkOps(rkFillRect);
  ASSERT_FALSE(rects.empty());
  const TRectF square = rects.back()->Rect;
  const float w = 0.5f;  // half the symbol's pen; the transparent mark's pen counts too
  EXPECT_EQ(square.Left, p.LeftTop.X + 4 + w + 0.5f);
  EXPECT_EQ(square.Width(), TextHeight);
  EXPECT_EQ(rects.back()->Fill.Color, series->SeriesColor());
}

TEST_F(MarksLayout, AVisibleTailDrawsTheBoxOutlineWithThePointer) {
  AddSpreadPoints(1);
  series->Marks()->SetVisible(true);
  series->Marks()->SetStyle(smsValue);
  series->Marks()->Tail()->SetVisible(true);
  Paint();
  const std::vector<const TRecordedOp*> paths = MarkOps(rkFillPath);
  ASSERT_FALSE(paths.empty());
  const TRectF box = Stored(0).Bounds();
  const std::array<TPointF, 7> outline = series->Marks()->Tail()->OutlinePoints(box);
  EXPECT_EQ(outline[4], (TPointF{(box.Left + box.Right) / 2, box.Bottom + 8}));
  EXPECT_EQ(KindsOf(MarkOps()).back(), rkRenderLayout);
}

// ---- Pointer forms ------------------------------------------------------------------------------

class PointerForms : public MarksChartTest {
 protected:
  PointerForms() { chart.Canvas()->SetCanvas(&rec); }
  ~PointerForms() override { chart.Canvas()->SetCanvas(nullptr); }
  // Draws the pointer of Style around (100, 100) with half-sizes 6 x 4.
  void DrawStyle(TSeriesPointerStyle Style) {
    TMarksCallout* c = series->Marks()->Callout();
    rec.ClearOps();
    c->PrepareCanvas(*chart.Canvas(), c->Color());
    c->DrawPointer(*chart.Canvas(), false, 100, 100, 6, 4, claRed, Style);
  }
  static std::vector<TPointF> PathPoints(const THostPath& Path) {
    std::vector<TPointF> points;
    for (const THostPathCommand& c : Path.Commands())
      if (c.Op == THostPathCommand::MoveTo || c.Op == THostPathCommand::LineTo)
        points.push_back(c.A);
    return points;
  }
};

TEST_F(PointerForms, EveryStyleDrawsInsideItsBox) {
  struct Case {
    TSeriesPointerStyle style;
    TRecordKind kind;   // the op that draws it
    std::size_t count;  // ops of that kind, or path points
  };
  const std::vector<Case> cases = {
      {psTriangle, rkFillPath, 3},     {psDownTriangle, rkFillPath, 3},
      {psLeftTriangle, rkFillPath, 3}, {psRightTriangle, rkFillPath, 3},
      {psDiamond, rkFillPath, 4},      {psHexagon, rkFillPath, 6},
      {psArrow, rkFillPath, 7},        {psCross, rkDrawLine, 2},
      {psDiagCross, rkDrawLine, 2},    {psStar, rkDrawLine, 4},
      {psSmallDot, rkFillEllipse, 1},  {psDonut, rkFillPath, 0},
  };
  const TRectF box{94, 96, 106, 104};
  for (const Case& c : cases) {
    SCOPED_TRACE(int(c.style));
    DrawStyle(c.style);
    const std::vector<const TRecordedOp*> ops = rec.OpsOf(c.kind);
    ASSERT_FALSE(ops.empty());
    for (const TRecordedOp* op : ops) {
      std::vector<TPointF> points;
      if (c.kind == rkFillPath) points = PathPoints(op->Path);
      if (c.kind == rkDrawLine) points = {op->P1, op->P2};
      if (c.kind == rkFillEllipse) points = {op->Rect.TopLeft(), op->Rect.BottomRight()};
      for (TPointF p : points) EXPECT_TRUE(PointInRect(box, p)) << p.X << "," << p.Y;
    }
    if (c.kind == rkFillPath && c.count > 0) {
      ASSERT_EQ(ops.size(), 1u);
      EXPECT_EQ(PathPoints(ops[0]->Path).size(), c.count);
      EXPECT_EQ(rec.Count(rkDrawPath), 1u);  // outlined too
    } else if (c.kind == rkDrawLine) {
      EXPECT_EQ(ops.size(), c.count);
    }
  }
}

TEST_F(PointerForms, RectangleCircleAndNothing) {
  DrawStyle(psRectangle);
  ASSERT_EQ(rec.Count(rkFillRect), 1u);
  EXPECT_EQ(rec.Last(rkFillRect)->Rect, (TRectF{94, 96, 107, 105}));
  EXPECT_EQ(rec.Last(rkDrawRect)->Rect, (TRectF{94, 96, 107, 105}));

  DrawStyle(psCircle);
  ASSERT_EQ(rec.Count(rkFillEllipse), 1u);
  EXPECT_EQ(rec.Last(rkFillEllipse)->Rect, (TRectF{94, 96, 106, 104}));
  EXPECT_EQ(rec.Last(rkDrawEllipse)->Rect, (TRectF{94, 96, 106, 104}));

  DrawStyle(psNothing);
  EXPECT_TRUE(rec.Ops().empty());

  series->Marks()->Callout()->SetCenterPixel(false);
  DrawStyle(psRectangle);
  EXPECT_EQ(rec.Last(rkFillRect)->Rect, (TRectF{95, 97, 107, 105}));
}

TEST_F(PointerForms, PrepareCanvasColoursPenAndFill) {
  struct Case {
    const char* name;
    TColor brush;
    TColor pen;
    int darkPen;
    bool penVisible;
    TColor fill;
    std::optional<TColor> stroke;  // none: no outline
  };
  const TColor c = 0xFF0A0B0C;
  const std::vector<Case> cases = {
      {"own colours", 0xFF112233, claBlack, 0, true, 0xFF112233, claBlack},
      {"pen without colour", 0xFF112233, clKelColor, 0, true, 0xFF112233, c},
      {"darker pen keeps its alpha", 0xFF405060, 0x80000000, 16, true, 0xFF405060, 0x80304050},
      {"brighter pen", 0xFF405060, 0x80000000, -16, true, 0xFF405060, 0x80506070},
      {"brush without colour", clKelColor, claBlack, 0, true, c, claBlack},
      {"invisible pen", 0xFF112233, claBlack, 0, false, 0xFF112233, std::nullopt},
  };
  TMarksCallout* callout = series->Marks()->Callout();
  for (const Case& k : cases) {
    SCOPED_TRACE(k.name);
    callout->SetColor(k.brush);
    callout->Pen()->SetColor(k.pen);
    callout->SetDarkPen(k.darkPen);
    callout->Pen()->SetVisible(k.penVisible);
    rec.ClearOps();
    callout->PrepareCanvas(*chart.Canvas(), c);
    chart.Canvas()->Rectangle(0, 0, 10, 10);
    ASSERT_EQ(rec.Count(rkFillRect), 1u);
    EXPECT_EQ(rec.Last(rkFillRect)->Fill.Color, k.fill);
    if (k.stroke) {
      ASSERT_EQ(rec.Count(rkDrawRect), 1u);
      EXPECT_EQ(rec.Last(rkDrawRect)->Stroke.Color, *k.stroke);
    } else {
      EXPECT_EQ(rec.Count(rkDrawRect), 0u);
    }
  }
}

TEST_F(PointerForms, AVisibleShadowIsDrawnFirst) {
  TMarksCallout* c = series->Marks()->Callout();
  c->Shadow()->SetVisible(true);
  c->SetColor(0xFF00FF00);
  DrawStyle(psCircle);
  const std::vector<TRecordKind> kinds = rec.Kinds();
  const std::vector<TRecordKind> drawing(kinds.end() - 3, kinds.end());
  EXPECT_EQ(drawing, (std::vector<TRecordKind>{rkFillPath, rkFillEllipse, rkDrawEllipse}));
  EXPECT_EQ(rec.Last(rkFillEllipse)->Fill.Color, 0xFF00FF00u);
  EXPECT_EQ(rec.Last(rkFillEllipse)->Rect, (TRectF{94, 96, 106, 104}));
}

}  // namespace
}  // namespace sextant::testing

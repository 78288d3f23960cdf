// The axis scroll bar tool: defaults and binding, bar geometry, thumb
// position and length, drawing, the position <-> axis mapping, clicks,
// drags, resize grips, hover feedback and auto-repeat on the manual clock.
#include "tools/axis_scroll_bar.h"

#include <gtest/gtest.h>

#include <cmath>
#include <functional>

#include "axes/chart_axis.h"
#include "canvas/brush.h"
#include "canvas/pen.h"
#include "chart_fixture.h"
#include "platform/manual_timer.h"
#include "tools/thumb_bitmaps.h"

using namespace sextant;
using sextant::testing::BlankChartTest;

namespace {

// Remembers how many operations were recorded when the paint reached
// cteAfterDraw, so that a later tool's drawing can be picked out.
class MarkTool : public TKelCustomTool {
 public:
  explicit MarkTool(TRecordingCanvas& Rec) : FRec(Rec) {}
  void ChartEvent(TChartToolEvent Event) override {
    if (Event == cteAfterDraw) Mark = FRec.Ops().size();
  }
  std::size_t Mark = 0;

 private:
  TRecordingCanvas& FRec;
};

class ScrollBarTest : public BlankChartTest {
 protected:
  ScrollBarTest() {
    line = AddLine(0);
    mark = new MarkTool(rec);
    mark->SetParentChart(&chart);
    tool = new TAxisScrollBarTool();
    tool->SetParentChart(&chart);
  }

  void Fill(int n) {
    for (int i = 0; i < n; ++i) line->AddXY(i, 10 + i % 7);
  }
  // 100 points X = 0 .. 99, the bottom axis fixed at 0 .. 9, painted.
  void NoPaging() {
    Fill(100);
    chart.BottomAxis()->SetMinMax(0, 9);
    Paint();
  }
  // 100 points, 10 per page, on the last page; painted twice so that the
  // bar has seen the page range.
  void LastPage() {
    Fill(100);
    chart.SetMaxPointsPerPage(10);
    chart.SetPage(10);
    Paint();
    Paint();
  }
  std::vector<const TRecordedOp*> ToolOps(TRecordKind Kind) const {
    std::vector<const TRecordedOp*> result;
    for (std::size_t i = mark->Mark; i < rec.Ops().size(); ++i)
      if (rec.Ops()[i].Kind == Kind) result.push_back(&rec.Ops()[i]);
    return result;
  }
  TPointF TrackPoint(float Along) const {
    const TRectF m = tool->MainRectangle();
    return {Along, (m.Top + m.Bottom) / 2};
  }
  void Press(TPointF P) {
    tool->ChartMouseEvent(cmeDown, TMouseButton::mbLeft, 0, KelRound(P.X), KelRound(P.Y));
  }
  void Move(float X, float Y) {
    tool->ChartMouseEvent(cmeMove, TMouseButton::mbLeft, 0, KelRound(X), KelRound(Y));
  }
  void Release() { tool->ChartMouseEvent(cmeUp, TMouseButton::mbLeft, 0, 0, 0); }
  TChartAxis* Bottom() { return chart.BottomAxis(); }

  TFastLineSeries* line = nullptr;
  MarkTool* mark = nullptr;           // freed by the chart
  TAxisScrollBarTool* tool = nullptr;  // freed by the chart
};

// ---- Defaults and binding ----------------------------------------------------------

TEST(ScrollBarDefaults, PlainBarAndAxisTool) {
  TKelScrollBar bar;
  EXPECT_EQ(bar.DrawStyle(), dsAlways);
  EXPECT_EQ(bar.InitialDelay(), 250);
  EXPECT_EQ(bar.Size(), 18);
  EXPECT_EQ(bar.MinThumbSize(), 4);
  EXPECT_EQ(bar.Position(), 0);
  EXPECT_EQ(bar.RoundSize(), 0);
  EXPECT_EQ(bar.Max, 0);
  EXPECT_FALSE(bar.AllowResize());
  EXPECT_TRUE(bar.AutoRepeat());
  EXPECT_TRUE(bar.Arrows());
  EXPECT_TRUE(bar.FirstTime);
  EXPECT_EQ(bar.Bevel(), bvRaised);
  EXPECT_EQ(bar.In(), spNone);
  EXPECT_EQ(bar.ArrowBrush()->BackColor(), 0xFFA9A9A9u);
  EXPECT_EQ(bar.DisabledArrow()->BackColor(), 0xFFFFFFFFu);
  EXPECT_EQ(bar.Brush()->Color(), 0xFFFFFFFFu);
  EXPECT_EQ(bar.BackColor(), 0x00F0F0F0u);
  EXPECT_EQ(bar.Pen()->Color(), 0xFFA9A9A9u);
  EXPECT_TRUE(bar.Pen()->Visible());
  EXPECT_EQ(bar.Pen()->Width(), 1);
  EXPECT_EQ(bar.ThumbSize(), 0);
  EXPECT_EQ(bar.Thumb()->Style(), stsCustom);
  EXPECT_EQ(bar.ThumbBrush()->Color(), 0xFFC0C0C0u);
  EXPECT_EQ(bar.ThumbBrush()->BackColor(), 0xFFC0C0C0u);
  EXPECT_FALSE(bar.Thumb()->Pen()->Visible());
  EXPECT_EQ(bar.Timer(), nullptr);

  TAxisScrollBarTool tool;
  EXPECT_TRUE(tool.AllowResize());
  EXPECT_EQ(tool.Margin(), 5);
  EXPECT_EQ(tool.Max, 1000);
  EXPECT_EQ(tool.Axis(), nullptr);
  EXPECT_EQ(tool.CurrentCount(), 0);
}

TEST_F(ScrollBarTest, BindsTheBottomAxisAndReservesRoom) {
  EXPECT_EQ(tool->Axis(), Bottom());
  EXPECT_TRUE(tool->Horizontal());
  EXPECT_EQ(Bottom()->IExtraSpace, 18 + 5);

  int sizeChanges = 0;
  tool->OnChangeSize = [&](TPersistent*) { ++sizeChanges; };
  tool->SetSize(20);
  tool->SetSize(20);
  EXPECT_EQ(sizeChanges, 1);
  EXPECT_EQ(Bottom()->IExtraSpace, 25);
  tool->SetMargin(7);
  EXPECT_EQ(Bottom()->IExtraSpace, 27);

  tool->SetAxis(chart.LeftAxis());
  EXPECT_EQ(Bottom()->IExtraSpace, 0);
  EXPECT_EQ(chart.LeftAxis()->IExtraSpace, 27);
  EXPECT_FALSE(tool->Horizontal());

  tool->SetActive(false);
  EXPECT_EQ(chart.LeftAxis()->IExtraSpace, 0);
  tool->SetActive(true);
  EXPECT_EQ(chart.LeftAxis()->IExtraSpace, 27);

  // Moving to another chart lets the old axis go and binds the new bottom axis.
  TChart other;
  tool->SetParentChart(&other);
  EXPECT_EQ(chart.LeftAxis()->IExtraSpace, 0);
  EXPECT_EQ(tool->Axis(), other.BottomAxis());
  EXPECT_EQ(other.BottomAxis()->IExtraSpace, 27);
  EXPECT_EQ(chart.Tools().IndexOf(tool), -1);
  tool->SetParentChart(&chart);
  EXPECT_EQ(tool->Axis(), Bottom());
  EXPECT_EQ(other.BottomAxis()->IExtraSpace, 0);
}

TEST_F(ScrollBarTest, DestroyedToolGivesTheRoomBack) {
  delete tool;
  tool = nullptr;
  EXPECT_EQ(Bottom()->IExtraSpace, 0);
  EXPECT_EQ(chart.Tools().Count(), 1);  // the mark tool
}

TEST_F(ScrollBarTest, AssignCopiesSettingsAndAxis) {
  TAxisScrollBarTool source;
  source.SetParentChart(&chart);
  source.SetAxis(chart.LeftAxis());
  source.SetMargin(9);
  source.SetSize(12);
  source.SetArrows(false);
  source.SetBevel(bvLowered);
  source.SetRoundSize(4);
  source.SetInitialDelay(400);
  source.SetMinThumbSize(2);
  source.SetThumbSize(15);
  source.SetAllowResize(false);
  source.SetAutoRepeat(false);
  source.SetBackColor(0xFF102030);
  source.ArrowBrush()->SetBackColor(0xFF00FF00);
  source.SetDrawStyle(dsWhenNeeded);
  tool->Assign(&source);
  EXPECT_EQ(tool->Axis(), chart.LeftAxis());
  EXPECT_EQ(tool->Margin(), 9);
  EXPECT_EQ(tool->Size(), 12);
  EXPECT_FALSE(tool->Arrows());
  EXPECT_EQ(tool->Bevel(), bvLowered);
  EXPECT_EQ(tool->RoundSize(), 4);
  EXPECT_EQ(tool->InitialDelay(), 400);
  EXPECT_EQ(tool->MinThumbSize(), 2);
  EXPECT_EQ(tool->ThumbSize(), 15);
  EXPECT_FALSE(tool->AllowResize());
  EXPECT_FALSE(tool->AutoRepeat());
  EXPECT_EQ(tool->BackColor(), 0xFF102030u);
  EXPECT_EQ(tool->ArrowBrush()->BackColor(), 0xFF00FF00u);
  EXPECT_EQ(tool->DrawStyle(), dsWhenNeeded);
  EXPECT_EQ(Bottom()->IExtraSpace, 0);
  EXPECT_EQ(chart.LeftAxis()->IExtraSpace, 12 + 9);
  source.SetParentChart(nullptr);
}

// ---- Geometry ------------------------------------------------------------------------

struct GeometryCase {
  const char* axis;
  int start, end, posAxis, posLabels;
  TRectF main, dec, inc, track;
};

TEST_F(ScrollBarTest, BarRectanglesForEachSide) {
  const GeometryCase cases[] = {
      // Bottom: area 247..256 across, moved down by 5 + 9.
      {"Bottom", 50, 350, 250, 256, {50, 270, 350, 288}, {50, 270, 68, 288},
       {332, 270, 350, 288}, {68, 270, 332, 288}},
      // Top (far side): area 30..43, bottom set to top - 18, moved up by 5 + 13.
      {"Top", 50, 350, 40, 30, {50, -6, 350, 12}, {50, -6, 68, 12}, {332, -6, 350, 12},
       {68, -6, 332, 12}},
      // Left: area 55..63, moved left by 5 + 8.
      {"Left", 20, 220, 60, 55, {31, 20, 50, 220}, {31, 20, 50, 38}, {31, 202, 50, 220},
       {31, 38, 50, 202}},
      // Right (far side): area 337..345, right set to left + 18, moved right by 13.
      {"Right", 20, 220, 340, 345, {349, 20, 368, 220}, {349, 20, 368, 38},
       {349, 202, 368, 220}, {349, 38, 368, 202}},
  };
  for (const GeometryCase& c : cases) {
    SCOPED_TRACE(c.axis);
    TChartAxis* axis = nullptr;
    for (TChartAxis* a : chart.Axes())
      if (a->AxisID() == c.axis) axis = a;
    ASSERT_NE(axis, nullptr);
    tool->SetAxis(axis);
    axis->IsVisible = true;
    axis->IStartPos = c.start;
    axis->IEndPos = c.end;
    axis->PosAxis = c.posAxis;
    axis->PosLabels = c.posLabels;
    ASSERT_TRUE(tool->ShouldDraw(tool->R));
    EXPECT_EQ(tool->MainRectangle(), c.main);
    EXPECT_EQ(tool->DecRectangle(), c.dec);
    EXPECT_EQ(tool->IncRectangle(), c.inc);
    EXPECT_EQ(tool->ScrollRectangle(), c.track);
    axis->IsVisible = false;
    EXPECT_FALSE(tool->ShouldDraw(tool->R));
  }
  tool->SetArrows(false);
  EXPECT_EQ(tool->ScrollRectangle(), tool->MainRectangle());
}

TEST_F(ScrollBarTest, ArrowTriangles) {
  tool->R = {50, 261, 350, 270};
  using P3 = std::array<TPointF, 3>;
  // Size 18: a = 3, h = 9.
  EXPECT_EQ(tool->DecArrowPoints(), (P3{TPointF{53, 279}, TPointF{65, 273}, TPointF{65, 285}}));
  EXPECT_EQ(tool->IncArrowPoints(), (P3{TPointF{347, 279}, TPointF{335, 273}, TPointF{335, 285}}));
  tool->SetHorizontal(false);
  tool->R = {42, 20, 50, 220};
  EXPECT_EQ(tool->DecArrowPoints(), (P3{TPointF{34, 32}, TPointF{40, 23}, TPointF{46, 32}}));
  EXPECT_EQ(tool->IncArrowPoints(), (P3{TPointF{34, 208}, TPointF{40, 217}, TPointF{46, 208}}));
}

TEST(ScrollBarThumb, PositionAndLength) {
  struct Case {
    int total, current, position, thumbSize, minSize;
    float begin, end;
  };
  // Horizontal bar from 50 to 350 with 18-pixel arrows: track 68 .. 332 (L = 264).
  const Case cases[] = {
      {1000, 91, 0, 0, 4, 68, 93},       // proportional: Round(91 x 0.264) = 24
      {1000, 91, 100, 0, 4, 94, 119},    // begin 68 + Round(26.4)
      {1000, 5, 0, 0, 4, 68, 73},        // MinThumbSize wins over Round(1.32)
      {1000, 1000, 0, 20, 4, 68, 89},    // fixed: 20 + 1 pixels
      {1000, 1000, 60, 20, 4, 68 + 60 * 264, 332},  // far beyond: only the end clamps
      {1000, 900, 50, 20, 4, 68 + 131, 68 + 131 + 21},  // u = 264 / 101: Round(130.7)
      {1000, 91, -10, 0, 4, 68, 68 - 3 + 25},  // begin raised to the track start
      {1000, 91, 990, 0, 4, 68 + 261, 332},    // end lowered to the track end
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.position);
    TKelScrollBar bar;
    bar.SetHorizontal(true);
    bar.R = {50, 261, 350, 270};
    bar.Max = c.total;
    bar.ThumbLength = c.current;
    bar.SetPosition(c.position);
    bar.SetThumbSize(c.thumbSize);
    bar.SetMinThumbSize(c.minSize);
    bar.CalcThumbPosition();
    EXPECT_FLOAT_EQ(bar.ThumbBegin, c.begin);
    EXPECT_FLOAT_EQ(bar.ThumbEnd, c.end);
  }
}

TEST(ScrollBarThumb, NarrowHorizontalThumbIsTwoPixelsWide) {
  TKelScrollBar bar;
  bar.SetHorizontal(true);
  bar.R = {50, 261, 350, 270};
  bar.ThumbBegin = 100;
  bar.ThumbEnd = 101;
  EXPECT_EQ(bar.ThumbRectangle(), (TRectF{100, 271, 102, 287}));
  bar.ThumbEnd = 110;
  EXPECT_EQ(bar.ThumbRectangle(), (TRectF{100, 271, 110, 287}));
  bar.SetHorizontal(false);
  bar.R = {42, 20, 50, 220};
  bar.ThumbBegin = 60;
  bar.ThumbEnd = 61;
  EXPECT_EQ(bar.ThumbRectangle(), (TRectF{32, 60, 50, 61}));
}

// ---- Drawing -------------------------------------------------------------------------

TEST_F(ScrollBarTest, OnePixelThumbIsDrawnTwoPixelsWide) {
  // A plain bar with its own reference rectangle: 1 of 1000 on 264 pixels.
  auto* bar = new TKelScrollBar();
  bar->SetParentChart(&chart);
  tool->SetActive(false);
  bar->SetHorizontal(true);
  bar->R = {50, 200, 350, 210};
  bar->Max = 1000;
  bar->ThumbLength = 1;
  bar->SetMinThumbSize(0);
  bar->SetBevel(bvNone);
  Fill(10);
  Paint();
  std::vector<const TRecordedOp*> thumbs;
  for (const TRecordedOp* op : ToolOps(rkFillRect))
    if (op->Fill.Color == 0xFFC0C0C0u) thumbs.push_back(op);
  ASSERT_EQ(thumbs.size(), 1u);
  EXPECT_EQ(thumbs[0]->Rect, (TRectF{68, 211, 70, 227}));
}

TEST_F(ScrollBarTest, DrawsBarArrowsThumbAndBevel) {
  Fill(100);
  Paint();
  // The axis shows the whole extent: Position 0 = T - C, both arrows disabled.
  EXPECT_EQ(tool->Position(), 0);
  EXPECT_EQ(tool->CurrentCount(), 1000);
  const TRectF main = tool->MainRectangle();
  auto rects = ToolOps(rkDrawRect);
  ASSERT_GE(rects.size(), 3u);
  EXPECT_EQ(rects[0]->Rect, main);
  EXPECT_EQ(rects[0]->Stroke.Color, 0xFFA9A9A9u);
  EXPECT_EQ(rects[1]->Rect, tool->DecRectangle());
  EXPECT_EQ(rects[2]->Rect, tool->IncRectangle());
  auto arrows = ToolOps(rkFillPath);
  ASSERT_EQ(arrows.size(), 2u);
  EXPECT_EQ(arrows[0]->Fill.Color, 0xFFFFFFFFu);
  EXPECT_EQ(arrows[1]->Fill.Color, 0xFFFFFFFFu);
  // Thumb: the whole track (C = T), filled silver, then a raised bevel.
  auto fills = ToolOps(rkFillRect);
  const TRecordedOp* thumb = nullptr;
  for (const TRecordedOp* op : fills)
    if (op->Fill.Color == 0xFFC0C0C0u) thumb = op;
  ASSERT_NE(thumb, nullptr);
  EXPECT_EQ(thumb->Rect, tool->ThumbRectangle());
  auto bevel = ToolOps(rkDrawPath);
  ASSERT_EQ(bevel.size(), 2u);
  EXPECT_EQ(bevel[0]->Stroke.Color, 0xFFFFFFFFu);
  EXPECT_EQ(bevel[1]->Stroke.Color, 0xFFA0A0A0u);

  // Inside the extent the dec arrow becomes enabled after a move right.
  Bottom()->SetMinMax(10, 19);
  Paint();
  Paint();
  ASSERT_GT(tool->Position(), 0);
  arrows = ToolOps(rkFillPath);
  ASSERT_EQ(arrows.size(), 2u);
  EXPECT_EQ(arrows[0]->Fill.Color, 0xFFA9A9A9u);
  EXPECT_EQ(arrows[1]->Fill.Color, 0xFFA9A9A9u);

  // A rounded bar without arrows: one rounded rectangle and no triangles.
  tool->SetArrows(false);
  tool->SetRoundSize(6);
  Paint();
  rects = ToolOps(rkDrawRect);
  ASSERT_GE(rects.size(), 1u);
  EXPECT_EQ(rects[0]->XRadius, 3);
  EXPECT_TRUE(ToolOps(rkFillPath).empty());
}

TEST_F(ScrollBarTest, InactiveToolReservesNothingAndDrawsNothing) {
  Fill(100);
  tool->SetActive(false);
  EXPECT_EQ(Bottom()->IExtraSpace, 0);
  Paint();
  EXPECT_TRUE(ToolOps(rkDrawRect).empty());
  EXPECT_TRUE(ToolOps(rkFillPath).empty());
}

TEST_F(ScrollBarTest, ThumbStylesLoadThePictures) {
  const struct {
    TScrollThumbStyle style;
    int w, h;
  } cases[] = {{stsThumb1, 17, 16}, {stsThumb2, 12, 12}, {stsThumb3, 29, 13}, {stsThumb4, 9, 10}};
  for (const auto& c : cases) {
    tool->Thumb()->SetStyle(c.style);
    const TKelPicture* picture = tool->Thumb()->Image();
    ASSERT_FALSE(picture->IsEmpty());
    EXPECT_EQ(picture->Bitmap()->Width(), c.w);
    EXPECT_EQ(picture->Bitmap()->Height(), c.h);
    EXPECT_EQ(tool->ThumbSize(), c.w);
    EXPECT_EQ(tool->Size(), c.h);
    EXPECT_EQ(Bottom()->IExtraSpace, c.h + 5);
    // The pictures have an opaque frame pixel somewhere on the first row.
    bool opaque = false;
    for (int x = 0; x < c.w; ++x) opaque |= (picture->Bitmap()->Pixel(x, 0) >> 24) == 0xFF;
    EXPECT_TRUE(opaque);
  }
  int w = 0, h = 0;
  EXPECT_FALSE(KelBitmapResourceSize("KelThumb5", w, h));
  EXPECT_EQ(KelLoadBitmapResource("KelThumb5", nullptr), nullptr);

  // The picture is drawn instead of the brush, stretched 1 pixel short.
  Fill(100);
  Paint();
  auto bitmaps = ToolOps(rkDrawBitmap);
  ASSERT_EQ(bitmaps.size(), 1u);
  TRectF expected = tool->ThumbRectangle();
  expected.Right -= 1;
  EXPECT_EQ(bitmaps[0]->Rect, expected);

  tool->Thumb()->SetStyle(stsCustom);
  EXPECT_TRUE(tool->Thumb()->Image()->IsEmpty());
}

// ---- Position and axis -----------------------------------------------------------------

TEST_F(ScrollBarTest, PositionBeforeTheFirstPaintMovesNoAxis) {
  Fill(100);
  chart.SetMaxPointsPerPage(10);
  chart.SetPage(10);
  tool->SetThumbSize(20);
  tool->SetMinThumbSize(1);
  std::vector<int> seen;
  tool->OnSetPosition = [&](TPersistent*, int v) { seen.push_back(v); };
  tool->SetPosition(60);
  EXPECT_EQ(tool->Position(), 60);
  EXPECT_TRUE(Bottom()->Automatic());
  EXPECT_EQ(seen, std::vector<int>{60});

  // First paint: no range yet at cteBeforeDraw; the thumb starts 60 track
  // lengths beyond the track and only its end is clamped.
  Paint();
  EXPECT_EQ(tool->Position(), 60);
  EXPECT_TRUE(Bottom()->Automatic());
  EXPECT_EQ(tool->CurrentCount(), 1000);
  const TRectF track = tool->ScrollRectangle();
  EXPECT_FLOAT_EQ(tool->ThumbEnd, track.Right);
  EXPECT_FLOAT_EQ(tool->ThumbBegin, track.Left + 60 * track.Width());

  // Later paints: the automatic axis gives position 0 and stays automatic.
  Paint();
  EXPECT_EQ(tool->Position(), 0);
  EXPECT_TRUE(Bottom()->Automatic());
  EXPECT_EQ(Bottom()->Minimum(), 90);
  EXPECT_EQ(Bottom()->Maximum(), 99);
  EXPECT_FLOAT_EQ(tool->ThumbBegin, track.Left);
  EXPECT_FLOAT_EQ(tool->ThumbEnd, track.Left + 21);
}

TEST_F(ScrollBarTest, WholeExtentShownEveryScrollKeepsTheAxis) {
  LastPage();
  EXPECT_EQ(tool->CurrentCount(), 1000);
  EXPECT_EQ(tool->Position(), 0);
  const TRectF main = tool->MainRectangle();
  const TPointF points[] = {{main.Left + 2, (main.Top + main.Bottom) / 2},
                            {main.Right - 2, (main.Top + main.Bottom) / 2},
                            TrackPoint((main.Left + main.Right) / 2)};
  for (TPointF p : points) {
    Press(p);
    Release();
  }
  // A thumb drag as well.
  Press(TrackPoint(tool->ThumbBegin + 5));
  EXPECT_EQ(tool->In(), spThumb);
  Move(tool->ThumbBegin + 100, TrackPoint(0).Y);
  Release();
  EXPECT_TRUE(Bottom()->Automatic());
  EXPECT_EQ(Bottom()->Minimum(), 90);
  EXPECT_EQ(Bottom()->Maximum(), 99);
  EXPECT_EQ(tool->Position(), 0);
}

TEST_F(ScrollBarTest, TrackClickMovesByAQuarterOfTheVisibleCount) {
  NoPaging();
  EXPECT_EQ(tool->CurrentCount(), 91);  // Round(1000 x 9 / 99)
  EXPECT_EQ(tool->DeltaMain(), 22);
  EXPECT_EQ(tool->Position(), 0);
  int scrolled = 0;
  tool->OnScrolled = [&](TPersistent*) { ++scrolled; };
  Press(TrackPoint(tool->ThumbEnd + 10));
  EXPECT_EQ(tool->Position(), 22);
  EXPECT_EQ(scrolled, 1);
  EXPECT_NEAR(Bottom()->Minimum(), 2.178, 1e-12);
  EXPECT_NEAR(Bottom()->Maximum(), 11.178, 1e-12);
  EXPECT_FALSE(Bottom()->Automatic());
  Release();
  Paint();
  EXPECT_EQ(tool->Position(), 22);
  // Left of the thumb (clear of its grip): back by 22 to 0, not below.
  ASSERT_GT(tool->ThumbBegin - 4, tool->DecRectangle().Right);
  Press(TrackPoint(tool->ThumbBegin - 4));
  EXPECT_EQ(tool->Position(), 0);
  EXPECT_NEAR(Bottom()->Minimum(), 0, 1e-12);
  Release();
  // A click on the thumb itself moves nothing.
  Press(TrackPoint((tool->ThumbBegin + tool->ThumbEnd) / 2));
  EXPECT_EQ(tool->In(), spThumb);
  EXPECT_EQ(tool->Position(), 0);
}

TEST_F(ScrollBarTest, ArrowsAtTheEnds) {
  NoPaging();
  // Dec arrow at position 0: nothing, and the timer stays off.
  int scrolled = 0;
  tool->OnScrolled = [&](TPersistent*) { ++scrolled; };
  Press(TrackPoint(tool->DecRectangle().Left + 3));
  EXPECT_EQ(tool->In(), spArrowDec);
  EXPECT_EQ(tool->Position(), 0);
  EXPECT_EQ(scrolled, 0);
  EXPECT_TRUE(tool->Timer() == nullptr || !tool->Timer()->Enabled());
  EXPECT_EQ(Bottom()->Minimum(), 0);
  Release();

  // Inc arrow: one unit, the axis by 0.1 % of the extent.
  Press(TrackPoint(tool->IncRectangle().Right - 3));
  EXPECT_EQ(tool->In(), spArrowInc);
  EXPECT_EQ(tool->Position(), 1);
  EXPECT_NEAR(Bottom()->Minimum(), 0.099, 1e-12);
  EXPECT_NEAR(Bottom()->Maximum(), 9.099, 1e-12);
  ASSERT_NE(tool->Timer(), nullptr);
  EXPECT_TRUE(tool->Timer()->Enabled());
  Release();
  EXPECT_FALSE(tool->Timer()->Enabled());

  // At the far end the inc arrow sets T - C and stops the timer.
  tool->SetPosition(1000 - 91);
  Paint();
  Press(TrackPoint(tool->IncRectangle().Right - 3));
  EXPECT_EQ(tool->Position(), 909);
  EXPECT_FALSE(tool->Timer()->Enabled());
}

TEST_F(ScrollBarTest, SubUnitThumbDragsAccumulate) {
  NoPaging();
  // 0.4 units per pixel: one and two pixels stay below a unit, three reach it.
  tool->Max = KelRound(tool->ScrollRectangle().Width() * 0.4);
  const double unitsPerPixel = tool->Max / tool->ScrollRectangle().Width();
  ASSERT_LT(2 * unitsPerPixel, 1);
  ASSERT_GE(3 * unitsPerPixel, 1);
  Paint();
  Paint();
  ASSERT_EQ(tool->Position(), 0);
  const float y = std::floor(TrackPoint(0).Y);
  const float x0 = std::floor((tool->ThumbBegin + tool->ThumbEnd) / 2);
  Press({x0, y});
  ASSERT_EQ(tool->In(), spThumb);
  Move(x0 + 1, y);  // 0.38 unit
  Move(x0 + 2, y);  // 0.76 unit
  EXPECT_EQ(tool->Position(), 0);
  EXPECT_EQ(Bottom()->Minimum(), 0);
  Move(x0 + 3, y);  // 1.2 units from the press point
  EXPECT_EQ(tool->Position(), 1);
  EXPECT_NEAR(Bottom()->Minimum(), 99.0 / tool->Max, 1e-12);
  EXPECT_EQ(tool->OldPoint.X, x0 + 3);
  Move(x0 + 4, y);  // 0.4 from the new point: nothing
  EXPECT_EQ(tool->Position(), 1);
  Move(x0 - 10, y);  // back left: 13 pixels = -5.2 units, clamped at 0
  EXPECT_EQ(tool->Position(), 0);
  Release();
  EXPECT_EQ(tool->In(), spNone);
}

TEST_F(ScrollBarTest, PageChangeAfterAPaintMakesTheAxisExplicit) {
  LastPage();
  EXPECT_TRUE(Bottom()->Automatic());
  chart.SetPage(9);
  Paint();
  // The old range 90 .. 99 against the new extent 80 .. 89.
  EXPECT_EQ(tool->Position(), 1111);
  EXPECT_FALSE(Bottom()->Automatic());
  EXPECT_NEAR(Bottom()->Minimum(), 89.999, 1e-9);
  EXPECT_NEAR(Bottom()->Maximum(), 98.999, 1e-9);
  // Paging no longer moves the axis: the bar only snaps it to its units of
  // the new extent (0 .. 9).
  chart.SetPage(1);
  Paint();
  EXPECT_FALSE(Bottom()->Automatic());
  EXPECT_NEAR(Bottom()->Minimum(), 90, 1e-9);
  EXPECT_EQ(tool->Position(), 10000);
}

TEST_F(ScrollBarTest, VerticalPositionRoundTripKeepsTheAxis) {
  // Y values 10 .. 16: a vertical bar on the left axis.
  Fill(100);
  tool->SetAxis(chart.LeftAxis());
  chart.LeftAxis()->SetMinMax(12, 14);
  Paint();
  Paint();
  Paint();
  // Position from the top: Round(1000 x (16 - 14) / 6) = 333.
  EXPECT_EQ(tool->Position(), 333);
  EXPECT_NEAR(chart.LeftAxis()->Maximum(), 16 - 333 * 6.0 / 1000, 1e-12);
  const double max = chart.LeftAxis()->Maximum();
  Paint();
  EXPECT_EQ(chart.LeftAxis()->Maximum(), max);
  EXPECT_NEAR(chart.LeftAxis()->Maximum() - chart.LeftAxis()->Minimum(), 2, 1e-12);
}

TEST_F(ScrollBarTest, SeriesOnBothAxesMovesTheOppositeAxis) {
  NoPaging();
  line->SetHorizAxis(aBothHorizAxis);
  tool->ChangeAxisMinMax(3, 12);
  EXPECT_EQ(chart.TopAxis()->Minimum(), 3);
  EXPECT_EQ(chart.TopAxis()->Maximum(), 12);
  line->SetHorizAxis(aBottomAxis);
  tool->ChangeAxisMinMax(4, 13);
  EXPECT_EQ(chart.TopAxis()->Minimum(), 3);
}

TEST_F(ScrollBarTest, NoRangeOrNoExtentIsSafe) {
  // No data: the extent is zero; no axis range: nothing moves.
  tool->SetPosition(5);
  tool->Reposition();
  tool->InflateThumbLength(true, 10);
  EXPECT_EQ(tool->CurrentCount(), 0);
  EXPECT_TRUE(Bottom()->Automatic());
  // One point: range 0 .. 0 after a paint.
  Fill(1);
  Paint();
  Paint();
  EXPECT_EQ(tool->CurrentCount(), 0);
  // Extent zero with an axis range: position 0, which puts the axis at the
  // data.
  Bottom()->SetMinMax(-1, 1);
  tool->SetPosition(7);
  tool->Reposition();
  EXPECT_EQ(tool->Position(), 0);
  EXPECT_EQ(Bottom()->Minimum(), 0);
  EXPECT_EQ(Bottom()->Maximum(), 2);
  // Without a total count positions map to nothing.
  tool->Max = 0;
  tool->SetPosition(3);
  tool->InflateThumbLength(true, 5);
  EXPECT_EQ(Bottom()->Minimum(), 0);
  EXPECT_EQ(Bottom()->Maximum(), 2);
  EXPECT_EQ(tool->CalcDelta(5, 5), 0);
}

TEST(ScrollBarPlain, EnsureVisibleCalcDeltaAndInflate) {
  TKelScrollBar bar;
  bar.Max = 100;
  bar.ThumbLength = 10;
  bar.EnsureVisible(25);
  EXPECT_EQ(bar.Position(), 16);
  bar.EnsureVisible(20);
  EXPECT_EQ(bar.Position(), 16);
  bar.EnsureVisible(3);
  EXPECT_EQ(bar.Position(), 3);

  bar.SetHorizontal(true);
  bar.R = {0, 0, 236, 10};  // track 18 .. 218: 200 pixels
  EXPECT_DOUBLE_EQ(bar.CalcDelta(30, 10), 10);
  EXPECT_DOUBLE_EQ(bar.CalcDelta(10, 30), -10);
  EXPECT_DOUBLE_EQ(bar.CalcDelta(7, 7), 0);
  bar.R = {0, 0, 30, 10};  // arrows overlap: no track
  EXPECT_DOUBLE_EQ(bar.CalcDelta(30, 10), 0);

  bar.InflateThumbLength(true, -30.4);
  EXPECT_EQ(bar.ThumbLength, 1);
  bar.InflateThumbLength(false, 4.6);
  EXPECT_EQ(bar.ThumbLength, 6);
}

// ---- Resize grips -------------------------------------------------------------------------

TEST_F(ScrollBarTest, IncGripNeverInvertsTheRange) {
  NoPaging();
  const TRectF thumb = tool->ThumbRectangle();
  const float y = (thumb.Top + thumb.Bottom) / 2;
  // On the grip: strictly inside vertically, within 3 pixels of the end.
  Press({thumb.Right - 2, y});
  ASSERT_EQ(tool->In(), spResizeInc);
  float x = thumb.Right - 2;
  double lastMax = Bottom()->Maximum();
  for (int i = 0; i < 40; ++i) {
    x -= 2;  // 2 pixels = 7.6 units = 0.75 axis units
    Move(x, y);
    EXPECT_GT(Bottom()->Maximum(), Bottom()->Minimum());
    EXPECT_LE(Bottom()->Maximum(), lastMax);
    lastMax = Bottom()->Maximum();
  }
  EXPECT_EQ(Bottom()->Minimum(), 0);
  EXPECT_GT(Bottom()->Maximum(), 0);
  EXPECT_LT(Bottom()->Maximum(), 0.76);
  Release();

  // The dec grip moves the minimum.
  Paint();
  const TRectF t2 = tool->ThumbRectangle();
  Press({t2.Left + 1, y});
  ASSERT_EQ(tool->In(), spResizeDec);
  const double rangeBefore = Bottom()->Maximum() - Bottom()->Minimum();
  Move(t2.Left - 10, y);
  EXPECT_LT(Bottom()->Minimum(), 0);
  EXPECT_GT(Bottom()->Maximum() - Bottom()->Minimum(), rangeBefore);
  Release();
  // Not strictly inside across the thumb: no grip.
  Press({t2.Right - 1, t2.Top});
  EXPECT_NE(tool->In(), spResizeInc);
}

// ---- Hover --------------------------------------------------------------------------------

TEST_F(ScrollBarTest, HoverOutlinesAndGripCursor) {
  NoPaging();
  tool->SetPosition(100);
  Paint();
  Paint();
  ASSERT_GE(tool->Position(), 1);
  const TRectF dec = tool->DecRectangle();
  const float y = (dec.Top + dec.Bottom) / 2;
  int before = host.Invalidates;
  Move(dec.Left + 4, y);
  EXPECT_TRUE(tool->DecOutline());
  EXPECT_GT(host.Invalidates, before);
  // The repaint shows the outline: a silver 2-pixel path on the arrow.
  Paint();
  bool outlined = false;
  for (const TRecordedOp* op : ToolOps(rkDrawPath))
    outlined |= op->Stroke.Color == 0xFFC0C0C0u && op->Stroke.Thickness == 2;
  EXPECT_TRUE(outlined);
  EXPECT_TRUE(tool->DecOutline());
  before = host.Invalidates;
  Move(dec.Left + 4, y);  // still over it: no new repaint
  EXPECT_EQ(host.Invalidates, before);
  Move((dec.Right + tool->IncRectangle().Left) / 2, y - 100);
  EXPECT_FALSE(tool->DecOutline());
  EXPECT_GT(host.Invalidates, before);

  // Over a resize grip: split cursor and CancelMouse.
  const TRectF thumb = tool->ThumbRectangle();
  chart.SetCancelMouse(false);
  Move(thumb.Right - 1, (thumb.Top + thumb.Bottom) / 2);
  EXPECT_EQ(host.CurrentCursor, crHSplit);
  EXPECT_TRUE(chart.CancelMouse());
}

// ---- Auto-repeat --------------------------------------------------------------------------

TEST_F(ScrollBarTest, AutoRepeatOnTheManualClock) {
  NoPaging();
  const TPointF inc = TrackPoint(tool->IncRectangle().Right - 3);
  Press(inc);
  ASSERT_EQ(tool->Position(), 1);
  IHostTimer* timer = tool->Timer();
  ASSERT_NE(timer, nullptr);
  EXPECT_EQ(timer->Interval(), 250);
  TManualClock& clock = TManualClock::Instance();
  clock.Advance(249);
  EXPECT_EQ(tool->Position(), 1);
  clock.Advance(1);
  EXPECT_EQ(tool->Position(), 2);
  EXPECT_EQ(timer->Interval(), 50);
  clock.Advance(49);
  EXPECT_EQ(tool->Position(), 2);
  clock.Advance(1);
  EXPECT_EQ(tool->Position(), 3);
  clock.Advance(500);
  EXPECT_EQ(tool->Position(), 13);
  Release();
  EXPECT_FALSE(timer->Enabled());
  clock.Advance(1000);
  EXPECT_EQ(tool->Position(), 13);

  // Repeats stop at the end of the range.
  tool->SetPosition(905);
  Press(inc);
  EXPECT_EQ(tool->Position(), 906);
  clock.Advance(250 + 50 * 10);
  EXPECT_EQ(tool->Position(), 909);
  EXPECT_FALSE(timer->Enabled());
  Release();

  // Without AutoRepeat a click does not arm the timer.
  tool->SetAutoRepeat(false);
  tool->SetPosition(10);
  Press(TrackPoint(tool->DecRectangle().Left + 3));
  EXPECT_EQ(tool->Position(), 9);
  EXPECT_FALSE(timer->Enabled());
  Release();
}

// A bar switched off or moved to another chart during a held click never
// sees the release: it ends the drag itself, and the repeat stops.
TEST_F(ScrollBarTest, SwitchedOffOrMovedDuringAHeldClickEndsTheDrag) {
  TChart other;
  const struct {
    const char* name;
    std::function<void()> leave, back;
  } cases[] = {
      {"switched off", [&] { tool->SetActive(false); }, [&] { tool->SetActive(true); }},
      {"moved to another chart", [&] { tool->SetAxis(other.BottomAxis()); },
       [&] { tool->SetAxis(chart.BottomAxis()); }},
  };
  NoPaging();
  TManualClock& clock = TManualClock::Instance();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    tool->SetPosition(10);
    Paint();
    Press(TrackPoint(tool->IncRectangle().Right - 3));
    ASSERT_NE(tool->In(), spNone);
    ASSERT_TRUE(tool->Timer() && tool->Timer()->Enabled());
    c.leave();
    EXPECT_EQ(tool->In(), spNone);
    EXPECT_FALSE(tool->Timer()->Enabled());
    const int position = tool->Position();
    clock.Advance(1000);
    EXPECT_EQ(tool->Position(), position);
    c.back();
    Paint();
    // Back on: a move without a press drags nothing.
    const double min = chart.BottomAxis()->Minimum();
    Move(tool->MainRectangle().Left + 5, TrackPoint(0).Y);
    EXPECT_EQ(chart.BottomAxis()->Minimum(), min);
  }
}

TEST_F(ScrollBarTest, HeldTrackClickInsideTheThumbKeepsTheTimerWithoutEffect) {
  NoPaging();
  // A click right of the thumb, held: the thumb moves under the point.
  tool->Max = 1000;
  const float x = tool->ThumbEnd + 10;
  Press(TrackPoint(x));
  EXPECT_EQ(tool->Position(), 22);
  TManualClock& clock = TManualClock::Instance();
  // The geometry is that of the last paint: the repeats continue until release.
  clock.Advance(300);
  EXPECT_EQ(tool->Position(), 66);
  Paint();  // now the thumb lies under the point
  const float mid = (tool->ThumbBegin + tool->ThumbEnd) / 2;
  tool->OldPoint = TrackPoint(mid);
  const int at = tool->Position();
  clock.Advance(200);
  EXPECT_EQ(tool->Position(), at);
  EXPECT_TRUE(tool->Timer()->Enabled());
  Release();
  EXPECT_FALSE(tool->Timer()->Enabled());
}

}  // namespace

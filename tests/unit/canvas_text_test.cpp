// The canvas text pipeline: rounding, alignment, measuring, the cached
// layout, shadow / emboss / outline, rotated labels and font application.
#include <gtest/gtest.h>

#include <cmath>

#include "canvas/shadow.h"
#include "canvas_fixture.h"

using namespace sextant;
using sextant::testing::CanvasTest;

namespace {

class CanvasText : public CanvasTest {
 protected:
  // A font where one code point is Size * 0.5 wide and Size * 1.25 high.
  void UseFont(float size, TColor color = claBlack) {
    TKelFont f;
    f.SetSize(size);
    f.SetColor(color);
    Canvas.AssignFont(&f);
  }
  std::vector<const TRecordedOp*> Rendered() const { return Rec.OpsOf(rkRenderLayout); }
};

}  // namespace

TEST_F(CanvasText, TextOutRoundsTheReferenceToEven) {
  UseFont(10);
  Canvas.TextOut(10.5f, 20.5f, "ab");
  ASSERT_EQ(Rendered().size(), 1u);
  const TRecordedOp& op = *Rendered()[0];
  EXPECT_EQ(op.Rect, (TRectF{10, 20, 20, 32.5f}));
  EXPECT_EQ(op.Text, "ab");
  EXPECT_EQ(op.TextColor, claBlack);
  EXPECT_FLOAT_EQ(op.Opacity, 1);
  Canvas.TextOut(11.5f, -0.5f, "ab");
  EXPECT_EQ(Rendered()[1]->Rect.TopLeft(), (TPointF{12, 0}));
}

TEST_F(CanvasText, AlignmentCodes) {
  UseFont(14);  // "x" is 7 wide, 17.5 (rounded 18) high
  struct Case {
    int Align;
    TPointF TopLeft;
  } cases[] = {
      {0, {50, 40}}, {2, {43, 40}}, {6, {47, 40}}, {8, {50, 22}}, {10, {43, 22}}, {14, {47, 22}},
  };
  for (const Case& c : cases) {
    Rec.ClearOps();
    Canvas.SetTextAlign(c.Align);
    Canvas.TextOut(50, 40, "x");
    ASSERT_EQ(Rendered().size(), 1u);
    EXPECT_EQ(Rendered()[0]->Rect.TopLeft(), c.TopLeft) << "align " << c.Align;
  }
  // With code 14 the text's bottom sits on Y (within the rounding of the height).
  EXPECT_NEAR(Rendered()[0]->Rect.Bottom, 40, 0.5);
}

TEST_F(CanvasText, MeasuringRoundsAndIncludesVisibleShadowSizes) {
  UseFont(11);
  EXPECT_EQ(Canvas.TextWidth("abc"), 16);  // 16.5 -> 16
  EXPECT_EQ(Canvas.TextHeight("abc"), 14);  // 13.75 -> 14
  EXPECT_EQ(Canvas.TextSize("abc"), (TPointF{16.5f, 13.75f}));
  EXPECT_EQ(Canvas.FontHeight(), Canvas.TextHeight("W"));
  EXPECT_EQ(Canvas.TextWidth(""), 0);

  TKelFont f;
  f.SetSize(10);
  f.Shadow()->SetHorizSize(-3);
  f.Shadow()->SetVertSize(2);
  f.Emboss()->SetSize(1);  // invisible: not counted
  Canvas.AssignFont(&f);
  EXPECT_EQ(Canvas.TextWidth("ab"), 13);
  EXPECT_EQ(Canvas.TextHeight("ab"), 14);  // 12.5 -> 12, + 2
  f.Emboss()->SetVisible(true);
  Canvas.AssignFont(&f);
  EXPECT_EQ(Canvas.TextSize("ab"), (TPointF{14, 15.5f}));
}

TEST_F(CanvasText, OneLayoutIsCreatedAndReused) {
  UseFont(10);
  Canvas.TextOut(0, 0, "a");
  Canvas.TextWidth("bb");
  Canvas.SetTextAlign(6);
  Canvas.TextOut(5, 5, "c");
  Canvas.RotateLabel(5, 5, "d", 30);
  EXPECT_EQ(Rec.LayoutsCreated(), 1);
  EXPECT_EQ(Rec.Count(rkCreateTextLayout), 1u);
}

TEST_F(CanvasText, TextIsDrawnInTheFontColourAndCurrentOpacity) {
  UseFont(10, claRed);
  Canvas.BeginBlending({}, 50);
  Canvas.TextOut(0, 0, "a");
  Canvas.EndBlending(nullptr);
  EXPECT_EQ(Rendered()[0]->TextColor, claRed);
  EXPECT_FLOAT_EQ(Rendered()[0]->Opacity, 0.5f);
  EXPECT_EQ(Rec.Fill().Color, claRed);
}

TEST_F(CanvasText, ShadowAndEmbossAreDrawnFirst) {
  TKelFont f;
  f.SetSize(10);
  f.SetColor(claBlue);
  f.Shadow()->SetColor(claSilver);
  f.Shadow()->SetHorizSize(2);
  f.Shadow()->SetVertSize(-3);
  f.Shadow()->SetTransparency(0);
  f.Emboss()->SetVisible(true);
  f.Emboss()->SetColor(claWhite);
  f.Emboss()->SetSize(1);
  f.Emboss()->SetTransparency(50);
  Canvas.AssignFont(&f);
  Canvas.TextOut(100, 100, "a");
  const auto r = Rendered();
  ASSERT_EQ(r.size(), 3u);
  // Shadow: right by 2; a negative vertical size keeps the shadow at Y and
  // moves the text down by 3.
  EXPECT_EQ(r[0]->Rect.TopLeft(), (TPointF{102, 100}));
  EXPECT_EQ(r[0]->TextColor, claSilver);
  EXPECT_FLOAT_EQ(r[0]->Opacity, 1);
  // Emboss goes the other way, blended.
  EXPECT_EQ(r[1]->Rect.TopLeft(), (TPointF{99, 102}));
  EXPECT_EQ(r[1]->TextColor, claWhite);
  EXPECT_FLOAT_EQ(r[1]->Opacity, 0.5f);
  EXPECT_EQ(r[2]->Rect.TopLeft(), (TPointF{100, 103}));
  EXPECT_EQ(r[2]->TextColor, claBlue);
  EXPECT_EQ(Canvas.Transparency(), 0);
}

TEST_F(CanvasText, InvisibleOrSizelessShadowsDrawNothing) {
  TKelFont f;
  f.Shadow();               // visible, no size
  f.Emboss()->SetSize(3);  // sized, invisible
  Canvas.AssignFont(&f);
  Canvas.TextOut(0, 0, "a");
  EXPECT_EQ(Rendered().size(), 1u);
}

TEST_F(CanvasText, OutlineIsThePathTranslatedAfterTheText) {
  TKelFont f;
  f.SetSize(10);
  f.OutLine()->Show();
  f.OutLine()->SetColor(claRed);
  f.OutLine()->SetWidth(2);
  Canvas.AssignFont(&f);
  Canvas.SetTextAlign(2);
  Canvas.TextOut(30, 40, "ab");
  const auto kinds = Rec.Kinds();
  ASSERT_EQ(Rec.Count(rkTextToPath), 1u);
  EXPECT_EQ(Rec.Last(rkTextToPath)->Rect, (TRectF{0, 0, 10000, 10000}));
  ASSERT_EQ(Rec.Count(rkDrawPath), 1u);
  const TRecordedOp& path = *Rec.Last(rkDrawPath);
  EXPECT_EQ(path.Path.Bounds(), (TRectF{20, 40, 30, 52.5f}));
  EXPECT_EQ(path.Stroke.Color, claRed);
  EXPECT_FLOAT_EQ(path.Stroke.Thickness, 2);
  EXPECT_EQ(Canvas.Pen()->Color(), claRed);  // the outline pen became current
  EXPECT_LT(std::find(kinds.begin(), kinds.end(), rkRenderLayout),
            std::find(kinds.begin(), kinds.end(), rkDrawPath));
}

TEST_F(CanvasText, FailedPathConversionOnlyDropsTheOutline) {
  TKelFont f;
  f.OutLine()->Show();
  Canvas.AssignFont(&f);
  Rec.FailTextToPath = true;
  Canvas.TextOut(0, 0, "a");
  EXPECT_EQ(Rec.Count(rkRenderLayout), 1u);
  EXPECT_EQ(Rec.Count(rkDrawPath), 0u);
}

TEST_F(CanvasText, RotateLabelTurnsAboutTheReference) {
  UseFont(10);
  const TKelMatrix before = Rec.Matrix();
  Canvas.RotateLabel(100, 50, "a", 90);
  ASSERT_EQ(Rendered().size(), 1u);
  const TRecordedOp& op = *Rendered()[0];
  EXPECT_EQ(op.Rect.TopLeft(), (TPointF{100, 50}));  // laid out unrotated
  // The reference stays put; a point to its right ends up above it.
  const TPointF ref = op.Matrix.Map({100, 50});
  EXPECT_NEAR(ref.X, 100, 1e-4);
  EXPECT_NEAR(ref.Y, 50, 1e-4);
  const TPointF right = op.Matrix.Map({110, 50});
  EXPECT_NEAR(right.X, 100, 1e-4);
  EXPECT_NEAR(right.Y, 40, 1e-4);
  EXPECT_EQ(Rec.Matrix(), before);

  Rec.ClearOps();
  Canvas.RotateLabel(10, 10, "a", 0);
  EXPECT_EQ(Rec.Count(rkSetMatrix), 0u);
  EXPECT_EQ(Rendered()[0]->Rect.TopLeft(), (TPointF{10, 10}));
}

TEST_F(CanvasText, AssignFontSetsTheHostFontWithZoom) {
  TKelFont f;
  f.SetFamily("Arial");
  f.SetSize(12);
  f.SetStyle(fsBold);
  Canvas.AssignFont(&f);
  EXPECT_EQ(Rec.Font().Family, "Arial");
  EXPECT_FLOAT_EQ(Rec.Font().Size, 12);
  EXPECT_TRUE(Rec.Font().Bold);

  TView3DOptions options;
  options.SetFontZoom(50);
  Canvas.InitWindow(&Rec, &options, claWhite, false, {0, 0, 100, 100});
  Canvas.AssignFont(&f);
  EXPECT_FLOAT_EQ(Rec.Font().Size, 6);
  Canvas.AssignFontSize(&f, 1);
  EXPECT_FLOAT_EQ(Rec.Font().Size, 1);  // never below 1
  options.SetZoomText(ztNo);
  Canvas.InitWindow(&Rec, &options, claWhite, false, {0, 0, 100, 100});
  Canvas.AssignFont(&f);
  EXPECT_FLOAT_EQ(Rec.Font().Size, 12);
}

TEST_F(CanvasText, MonochromeTextIsBlack) {
  Canvas.SetMonochrome(true);
  UseFont(10, claRed);
  Canvas.TextOut(0, 0, "a");
  EXPECT_EQ(Rendered()[0]->TextColor, claBlack);
}

TEST_F(CanvasText, BoldTextIsWiderInTheRecordingMetrics) {
  TKelFont f;
  f.SetSize(10);
  f.SetStyle(fsBold);
  Canvas.AssignFont(&f);
  EXPECT_EQ(Canvas.TextWidth("abcd"), 24);
}

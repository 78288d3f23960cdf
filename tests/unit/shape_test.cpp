// Shapes: defaults and setters, outline by style, rotation, shadow and emboss,
// bevel, blending, background picture, callout outlines, child shapes,
// hit testing and copying.
#include "canvas/shape.h"

#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "canvas/brush.h"
#include "canvas/corners.h"
#include "canvas/pen.h"
#include "canvas/shadow.h"
#include "shape_test_support.h"

using namespace sextant;
using sextant::testing::ExpectNear;
using sextant::testing::PathPoints;
using sextant::testing::ShapePanel;

namespace {

constexpr TRectF kBox{10, 20, 110, 70};

class ShapeTest : public sextant::testing::ShapeFixture {
 protected:
  ShapeTest() : shape(&panel) { Reset(); }
  TKelCustomShape shape;
};

// ---- Defaults and setters ------------------------------------------------------------

TEST_F(ShapeTest, ConstructionDefaults) {
  EXPECT_EQ(shape.Color(), 0xFFFFFFFFu);
  EXPECT_EQ(shape.RoundSize(), 16);
  EXPECT_EQ(shape.ShapeStyle(), fosRectangle);
  EXPECT_TRUE(shape.AutoSize());
  EXPECT_EQ(shape.Bevel(), bvNone);
  EXPECT_EQ(shape.BevelWidth(), 2);
  EXPECT_EQ(shape.ChildLayout(), slTopBottom);
  EXPECT_EQ(shape.Alignment(), taLeftJustify);
  EXPECT_EQ(shape.Angle(), 0);
  EXPECT_FALSE(shape.Transparent());
  EXPECT_FALSE(shape.DefaultTransparent());
  EXPECT_EQ(shape.Transparency(), 0);
  EXPECT_FALSE(shape.Draw3D());
  EXPECT_TRUE(shape.Visible());
  EXPECT_TRUE(shape.DefaultVisible());
  EXPECT_EQ(shape.ShapeBounds(), TRectF{});
  EXPECT_EQ(shape.Parent(), &panel);

  EXPECT_EQ(shape.Pen()->Color(), claBlack);
  EXPECT_FLOAT_EQ(shape.Pen()->Width(), 1);
  EXPECT_EQ(shape.Pen()->Style(), psSolid);
  EXPECT_TRUE(shape.Pen()->Visible());
  EXPECT_EQ(shape.Frame(), shape.Pen());
  EXPECT_EQ(shape.Brush()->Style(), THostBrushKind::Solid);

  const TKelShadow* s = shape.Shadow();
  EXPECT_TRUE(s->Visible());
  EXPECT_EQ(s->Color(), claBlack);
  EXPECT_EQ(s->HorizSize(), 3);
  EXPECT_EQ(s->VertSize(), 3);
  EXPECT_EQ(s->DefaultSize(), 3);
  EXPECT_EQ(s->Direction(), sdRightBottom);
  EXPECT_EQ(s->Transparency(), 50);
  EXPECT_EQ(shape.ShadowColor(), claBlack);
  EXPECT_EQ(shape.ShadowSize(), 3);

  // Created on first use.
  EXPECT_FALSE(shape.HasEmboss());
  EXPECT_FALSE(shape.HasCorners());
  EXPECT_FALSE(shape.HasPicture());
  EXPECT_FALSE(shape.HasShapeCallout());
  EXPECT_EQ(shape.Children()->Count(), 0);
  const TKelEmboss* e = shape.Emboss();
  EXPECT_TRUE(shape.HasEmboss());
  EXPECT_FALSE(e->Visible());
  EXPECT_EQ(e->Color(), claBlack);
  EXPECT_EQ(e->Size(), 3);
  EXPECT_EQ(e->Direction(), sdLeftTop);
  const TShapeCallout* c = shape.ShapeCallout();
  EXPECT_EQ(c->Side(), csNone);
  EXPECT_EQ(c->Position(), 50);
  EXPECT_EQ(c->PointPosition(), 50);
  EXPECT_EQ(c->Size(), 25);
  EXPECT_EQ(c->Width(), 20);
  EXPECT_EQ(panel.invalidations, 0);  // creating sub-objects repaints nothing
}

TEST_F(ShapeTest, SettersRepaintOnlyOnChange) {
  struct Case {
    const char* name;
    std::function<void()> set;
  };
  const std::vector<Case> cases = {
      {"Alignment", [&] { shape.SetAlignment(taCenter); }},
      {"Angle", [&] { shape.SetAngle(45); }},
      {"AutoSize", [&] { shape.SetAutoSize(false); }},
      {"Bevel", [&] { shape.SetBevel(bvRaised); }},
      {"BevelWidth", [&] { shape.SetBevelWidth(4); }},
      {"ChildLayout", [&] { shape.SetChildLayout(slLeftRight); }},
      {"Color", [&] { shape.SetColor(0xFF102030); }},
      {"Draw3D", [&] { shape.SetDraw3D(true); }},
      {"RoundSize", [&] { shape.SetRoundSize(8); }},
      {"ShapeStyle", [&] { shape.SetShapeStyle(fosEllipse); }},
      {"Transparent", [&] { shape.SetTransparent(true); }},
      {"Transparency", [&] { shape.SetTransparency(30); }},
      {"Visible", [&] { shape.SetVisible(false); }},
      {"ShapeBounds", [&] { shape.SetShapeBounds(kBox); }},
      {"Width", [&] { shape.SetWidth(40); }},
      {"Height", [&] { shape.SetHeight(30); }},
      {"ShadowSize", [&] { shape.SetShadowSize(5); }},
      {"ShadowColor", [&] { shape.SetShadowColor(claRed); }},
      {"Pen width", [&] { shape.Pen()->SetWidth(2); }},
      {"Brush style", [&] { shape.Brush()->SetStyle(THostBrushKind::None); }},
      {"Font size", [&] { shape.Font()->SetSize(30); }},
      {"Corner style", [&] { shape.Corners()->LeftTop()->SetStyle(cosBevel); }},
      {"Emboss size", [&] { shape.Emboss()->SetSize(1); }},
      {"Callout side", [&] { shape.ShapeCallout()->SetSide(csTop); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    panel.invalidations = 0;
    c.set();
    EXPECT_EQ(panel.invalidations, 1);
    c.set();
    EXPECT_EQ(panel.invalidations, 1);
  }
}

TEST_F(ShapeTest, WithoutPanelSettersStoreAndDrawNothing) {
  TKelCustomShape lone;
  lone.SetVisible(false);
  lone.SetColor(claRed);
  EXPECT_FALSE(lone.Visible());
  EXPECT_EQ(lone.Color(), claRed);
  lone.SetShapeBounds(kBox);
  lone.Draw();
  lone.Draw(kBox, 0);
  EXPECT_TRUE(rec.Ops().empty());
}

TEST_F(ShapeTest, PositiveRoundSizeSwitchesToRoundRectangle) {
  struct Case {
    int size;
    TChartObjectShapeStyle style;
  };
  for (const Case& c : {Case{16, fosRectangle}, Case{0, fosRectangle}, Case{-4, fosRectangle},
                        Case{1, fosRoundRectangle}, Case{30, fosRoundRectangle}}) {
    TKelCustomShape s(&panel);
    s.SetRoundSize(c.size);
    EXPECT_EQ(s.RoundSize(), c.size);
    EXPECT_EQ(s.ShapeStyle(), c.style) << "RoundSize " << c.size;
  }
  // An ellipse changed to a positive round size becomes a round rectangle.
  shape.SetShapeStyle(fosEllipse);
  shape.SetRoundSize(5);
  EXPECT_EQ(shape.ShapeStyle(), fosRoundRectangle);
}

TEST_F(ShapeTest, InitOperationsSetValueAndDefaultWithoutRepaint) {
  shape.InitTransparent(true);
  shape.InitVisible(false);
  EXPECT_TRUE(shape.Transparent());
  EXPECT_TRUE(shape.DefaultTransparent());
  EXPECT_FALSE(shape.Visible());
  EXPECT_FALSE(shape.DefaultVisible());
  EXPECT_EQ(panel.invalidations, 0);
  shape.Show();
  EXPECT_TRUE(shape.Visible());
  shape.Hide();
  EXPECT_FALSE(shape.Visible());
  EXPECT_EQ(panel.invalidations, 2);
}

TEST_F(ShapeTest, WidthHeightAndMoveTo) {
  shape.SetShapeBounds(kBox);
  EXPECT_FLOAT_EQ(shape.Width(), 100);
  EXPECT_FLOAT_EQ(shape.Height(), 50);
  shape.SetWidth(40);
  shape.SetHeight(30);
  EXPECT_EQ(shape.ShapeBounds(), (TRectF{10, 20, 50, 50}));
  panel.invalidations = 0;
  shape.MoveTo(-5.5f, 7);
  EXPECT_EQ(shape.ShapeBounds(), (TRectF{-5.5f, 7, 34.5f, 37}));
  shape.MoveTo(TPointF{1, 2});
  EXPECT_EQ(shape.ShapeBounds(), (TRectF{1, 2, 41, 32}));
  EXPECT_EQ(panel.invalidations, 2);
}

// ---- Outline by style ------------------------------------------------------------------

TEST_F(ShapeTest, DefaultShapeDrawsShadowFillAndFrame) {
  shape.SetColor(0xFF112233);
  shape.Draw(&panel, kBox, 0, 0);
  EXPECT_EQ(DrawingKinds(), (std::vector<TRecordKind>{rkFillPath, rkFillRect, rkDrawRect}));

  // Shadow: the box moved right-down by 3, half transparent, black.
  const TRecordedOp* shadow = rec.Last(rkFillPath);
  ASSERT_EQ(shadow->Path.Commands().size(), 1u);
  EXPECT_EQ(shadow->Path.Commands()[0].Op, THostPathCommand::RoundRect);
  EXPECT_EQ(shadow->Path.Bounds(), (TRectF{13, 23, 113, 73}));
  EXPECT_FLOAT_EQ(shadow->Opacity, 0.5f);
  EXPECT_EQ(shadow->Fill.Gradient.Points.back().Color, claBlack);

  const TRecordedOp* fill = rec.Last(rkFillRect);
  EXPECT_EQ(fill->Rect, kBox);
  EXPECT_EQ(fill->Fill.Color, 0xFF112233u);
  EXPECT_FLOAT_EQ(fill->XRadius, 0);
  EXPECT_FLOAT_EQ(fill->Opacity, 1);
  const TRecordedOp* frame = rec.Last(rkDrawRect);
  EXPECT_EQ(frame->Rect, kBox);
  EXPECT_EQ(frame->Stroke.Color, claBlack);
  EXPECT_FLOAT_EQ(frame->Stroke.Thickness, 1);
  EXPECT_FLOAT_EQ(frame->XRadius, 0);  // square corners despite RoundSize 16
  EXPECT_EQ(shape.RotatedBounds()[0], (TPointF{10, 20}));
  EXPECT_EQ(shape.RotatedBounds()[2], (TPointF{110, 70}));
}

TEST_F(ShapeTest, DrawUsesShapeBoundsAndAngleOnTheParentPanel) {
  shape.Shadow()->SetVisible(false);
  shape.SetShapeBounds(kBox);
  shape.Draw();
  ASSERT_NE(rec.Last(rkDrawRect), nullptr);
  EXPECT_EQ(rec.Last(rkDrawRect)->Rect, kBox);
  Reset();
  shape.Draw(TRectF{0, 0, 5, 6}, 0);
  EXPECT_EQ(rec.Last(rkDrawRect)->Rect, (TRectF{0, 0, 5, 6}));
}

TEST_F(ShapeTest, RoundRectangleUsesRoundSize) {
  shape.Shadow()->SetVisible(false);
  shape.SetRoundSize(12);
  shape.Draw(&panel, kBox, 0, 0);
  const TRecordedOp* frame = rec.Last(rkDrawRect);
  ASSERT_NE(frame, nullptr);
  // The canvas' rounded rectangle takes the corner size as ellipse
  // diameters: radius RoundSize div 2.
  EXPECT_FLOAT_EQ(frame->XRadius, 6);
  EXPECT_FLOAT_EQ(frame->YRadius, 6);
  EXPECT_EQ(frame->Rect, kBox);
}

TEST_F(ShapeTest, RoundRectangleWithCornersDrawsTheCornersPath) {
  shape.Shadow()->SetVisible(false);
  shape.SetRoundSize(12);
  shape.Corners()->LeftTop()->SetStyle(cosNone);
  shape.Draw(&panel, kBox, 0, 0);
  EXPECT_EQ(DrawingKinds(), (std::vector<TRecordKind>{rkFillPath, rkDrawPath}));
  const THostPath expected = shape.Corners()->GetPath(kBox, 12, 12);
  EXPECT_EQ(PathPoints(rec.Last(rkDrawPath)->Path), PathPoints(expected));
  EXPECT_EQ(PathPoints(expected).front(), (TPointF{10, 20}));  // the square corner
}

TEST_F(ShapeTest, EllipseDrawsTheRoundedBoxAndAnEllipticShadow) {
  shape.SetShapeStyle(fosEllipse);
  shape.Draw(&panel, TRectF{10.4f, 20.6f, 110.5f, 70.5f}, 0, 0);
  EXPECT_EQ(DrawingKinds(), (std::vector<TRecordKind>{rkFillPath, rkFillEllipse, rkDrawEllipse}));
  EXPECT_EQ(rec.Last(rkDrawEllipse)->Rect, (TRectF{10, 21, 110, 70}));
  const TRecordedOp* shadow = rec.Last(rkFillPath);
  ASSERT_EQ(shadow->Path.Commands().size(), 1u);
  EXPECT_EQ(shadow->Path.Commands()[0].Op, THostPathCommand::Ellipse);
  EXPECT_EQ(shadow->Path.Bounds(), (TRectF{13.4f, 23.6f, 113.5f, 73.5f}));
}

TEST_F(ShapeTest, Draw3DDrawsWithDepthPrimitives) {
  shape.Shadow()->SetVisible(false);
  shape.SetDraw3D(true);
  struct Case {
    TChartObjectShapeStyle style;
    std::vector<TRecordKind> kinds;
  };
  for (const Case& c : {Case{fosRectangle, {rkFillPath, rkDrawPath}},
                        Case{fosEllipse, {rkFillEllipse, rkDrawEllipse}},
                        Case{fosRoundRectangle, {rkFillRect, rkDrawRect}}}) {
    Reset();
    shape.SetShapeStyle(c.style);
    shape.Draw(&panel, kBox, 7, 0);
    EXPECT_EQ(DrawingKinds(), c.kinds) << int(c.style);
  }
  // The flat canvas projects nothing: the rectangle is the four corners and
  // the ellipse gets its one pixel wider box.
  Reset();
  shape.SetShapeStyle(fosRectangle);
  shape.Draw(&panel, kBox, 7, 0);
  EXPECT_EQ(PathPoints(rec.Last(rkDrawPath)->Path),
            (std::vector<TPointF>{{10, 20}, {110, 20}, {110, 70}, {10, 70}}));
  Reset();
  shape.SetShapeStyle(fosEllipse);
  shape.Draw(&panel, kBox, 7, 0);
  EXPECT_EQ(rec.Last(rkDrawEllipse)->Rect, (TRectF{10, 20, 111, 71}));
}

TEST_F(ShapeTest, TurnedShapeDrawsTurnedPolygonAndNoBevel) {
  shape.SetBevel(bvRaised);
  shape.SetShapeStyle(fosRoundRectangle);
  shape.Draw(&panel, kBox, 0, 30);
  // Shadow as a turned polygon, then the box as a turned polygon; no bevel.
  EXPECT_EQ(DrawingKinds(), (std::vector<TRecordKind>{rkFillPath, rkFillPath, rkDrawPath}));
  const auto expected = TKelShadow::RotateRectangle(kBox, 30);
  const std::vector<TPointF> outline = PathPoints(rec.Last(rkDrawPath)->Path);
  ASSERT_EQ(outline.size(), 4u);
  for (int i = 0; i < 4; ++i) {
    ExpectNear(outline[i], expected[i], 1e-4f);
    ExpectNear(shape.RotatedBounds()[i], expected[i], 1e-4f);
  }
  // Counter-clockwise on screen: the right-top corner rises.
  EXPECT_LT(outline[1].Y, 20);
  const auto shadowExpected = TKelShadow::RotateRectangle(TRectF{13, 23, 113, 73}, 30);
  const std::vector<TPointF> shadow = PathPoints(rec.OpsOf(rkFillPath)[0]->Path);
  ASSERT_EQ(shadow.size(), 4u);
  ExpectNear(shadow[0], shadowExpected[0], 1e-4f);
}

TEST_F(ShapeTest, PointsFormDrawsThePolygonGiven) {
  shape.Shadow()->SetVisible(false);
  const std::vector<TPointF> pts{{0, 0}, {50, 5}, {40, 40}};
  shape.Draw(&panel, kBox, 0, 0, pts);
  EXPECT_EQ(DrawingKinds(), (std::vector<TRecordKind>{rkFillPath, rkDrawPath}));
  EXPECT_EQ(PathPoints(rec.Last(rkDrawPath)->Path), pts);
  // Transparent: nothing at all.
  Reset();
  shape.SetTransparent(true);
  shape.Draw(&panel, kBox, 0, 0, pts);
  EXPECT_TRUE(DrawingKinds().empty());
}

TEST_F(ShapeTest, TransparentShapeDrawsNothingAndLeavesTheBrushClear) {
  shape.SetTransparent(true);
  shape.SetBevel(bvRaised);
  shape.Emboss()->SetVisible(true);
  shape.Draw(&panel, kBox, 0, 0);
  EXPECT_TRUE(DrawingKinds().empty());
  EXPECT_EQ(panel.Canvas()->Brush()->Style(), THostBrushKind::None);
}

// ---- Shadow and emboss ---------------------------------------------------------------------

TEST_F(ShapeTest, BrushStyleNoneCastsNoShadow) {
  shape.Brush()->SetStyle(THostBrushKind::None);
  shape.Emboss()->SetVisible(true);
  shape.Draw(&panel, kBox, 0, 0);
  EXPECT_EQ(DrawingKinds(), (std::vector<TRecordKind>{rkDrawRect}));
}

TEST_F(ShapeTest, ShadowThenEmbossGrownByWidePens) {
  shape.Emboss()->SetVisible(true);
  shape.Emboss()->SetSize(2);
  struct Case {
    float penWidth;
    TRectF shadow, emboss;
  };
  const std::vector<Case> cases = {
      // Width 1: the box itself, moved.
      {1, {13, 23, 113, 73}, {8, 18, 108, 68}},
      // Width 3: round(1.5) = 2 outwards for the shadow, inwards for the emboss.
      {3, {11, 21, 115, 75}, {10, 20, 106, 66}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.penWidth);
    Reset();
    shape.Pen()->SetWidth(c.penWidth);
    shape.Draw(&panel, kBox, 0, 0);
    const auto paths = rec.OpsOf(rkFillPath);
    ASSERT_EQ(paths.size(), 2u);
    EXPECT_EQ(paths[0]->Path.Bounds(), c.shadow);
    EXPECT_EQ(paths[1]->Path.Bounds(), c.emboss);
  }
  EXPECT_DOUBLE_EQ(shape.Shadow()->ZPosition(), 2);
  shape.Draw(&panel, kBox, 5, 0);
  EXPECT_DOUBLE_EQ(shape.Shadow()->ZPosition(), 7);
}

TEST_F(ShapeTest, ShadowRoundedOnlyForRoundRectangles) {
  shape.SetRoundSize(10);
  shape.Draw(&panel, kBox, 0, 0);
  const THostPathCommand& c = rec.Last(rkFillPath)->Path.Commands().front();
  EXPECT_EQ(c.Op, THostPathCommand::RoundRect);
  EXPECT_FLOAT_EQ(c.C.X, 10);
  // A shadow that should not draw (size 0) draws nothing.
  Reset();
  shape.SetShadowSize(0);
  shape.Draw(&panel, kBox, 0, 0);
  EXPECT_EQ(rec.Count(rkFillPath), 0u);
}

// ---- Bevel -------------------------------------------------------------------------------

TEST_F(ShapeTest, BevelColoursAndWidth) {
  shape.Shadow()->SetVisible(false);
  constexpr TColor white = 0xFFFFFFFF, grey = 0xFFA0A0A0;
  struct Case {
    TPanelBevel bevel;
    TRectF box;
    int bevelWidth;
    int lines;
    TColor topLeft, bottomRight;
  };
  const std::vector<Case> cases = {
      {bvRaised, kBox, 2, 2, white, grey},
      {bvLowered, kBox, 2, 2, grey, white},
      {bvRaised, kBox, 5, 5, white, grey},
      {bvRaised, {10, 20, 110, 22}, 5, 1, white, grey},  // half the height
      {bvLowered, {10, 20, 13, 70}, 5, 2, grey, white},  // round(1.5) = 2
      {bvNone, kBox, 2, 0, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << "bevel " << c.bevel << " width " << c.bevelWidth);
    Reset();
    shape.SetBevel(c.bevel);
    shape.SetBevelWidth(static_cast<std::uint8_t>(c.bevelWidth));
    shape.Draw(&panel, c.box, 0, 0);
    const auto paths = rec.OpsOf(rkDrawPath);
    ASSERT_EQ(paths.size(), static_cast<std::size_t>(2 * c.lines));
    for (int i = 0; i < c.lines; ++i) {
      EXPECT_EQ(paths[2 * i]->Stroke.Color, c.topLeft);
      EXPECT_EQ(paths[2 * i + 1]->Stroke.Color, c.bottomRight);
    }
    if (c.lines > 0) {
      // The outer top-left line runs up the left edge and along the top.
      const TRectF& b = c.box;
      EXPECT_EQ(PathPoints(paths[0]->Path),
                (std::vector<TPointF>{{b.Left, b.Bottom - 1}, {b.Left, b.Top}, {b.Right - 1, b.Top}}));
    }
    // The bevel comes after the frame.
    EXPECT_EQ(rec.Kinds().back() == rkDrawPath, c.lines > 0);
  }
}

// ---- Blending and picture ---------------------------------------------------------------------

TEST_F(ShapeTest, TransparencyBlendsTheWholeBox) {
  shape.SetTransparency(40);
  shape.Draw(&panel, kBox, 0, 0);
  EXPECT_FLOAT_EQ(rec.Last(rkFillRect)->Opacity, 0.6f);
  EXPECT_FLOAT_EQ(rec.Last(rkDrawRect)->Opacity, 0.6f);
  // Shadow transparency 50 inside 40: 100 - round(60 * 50 / 100) = 70.
  EXPECT_FLOAT_EQ(rec.Last(rkFillPath)->Opacity, 0.3f);
  EXPECT_EQ(panel.Canvas()->Transparency(), 0);
}

TEST_F(ShapeTest, PictureIsStretchedIntoTheBoxUnderTheFrame) {
  shape.Shadow()->SetVisible(false);
  TRecordingBitmap bitmap(8, 4, 1);
  shape.Picture()->SetBitmap(&bitmap);
  shape.Draw(&panel, kBox, 0, 0);
  EXPECT_EQ(DrawingKinds(), (std::vector<TRecordKind>{rkDrawBitmap, rkDrawRect}));
  const TRecordedOp* pic = rec.Last(rkDrawBitmap);
  EXPECT_EQ(pic->Bitmap, &bitmap);
  EXPECT_EQ(pic->Rect, kBox);
  EXPECT_EQ(pic->SrcRect, (TRectF{0, 0, 8, 4}));
  // An empty picture is not valid: the brush fills as usual.
  Reset();
  TRecordingBitmap empty(0, 0, 1);
  shape.Picture()->SetBitmap(&empty);
  shape.Draw(&panel, kBox, 0, 0);
  EXPECT_EQ(DrawingKinds(), (std::vector<TRecordKind>{rkFillRect, rkDrawRect}));
}

TEST_F(ShapeTest, InvisiblePenDrawsNoFrame) {
  shape.Shadow()->SetVisible(false);
  shape.Pen()->SetVisible(false);
  shape.Draw(&panel, kBox, 0, 0);
  EXPECT_EQ(DrawingKinds(), (std::vector<TRecordKind>{rkFillRect}));
}

// ---- Callout outline ----------------------------------------------------------------------

TEST(ShapeCalloutTest, SquareOutlineWithoutSide) {
  TShapeCallout c;
  EXPECT_EQ(c.OutlinePoints({0, 0, 100, 40}, 0),
            (std::vector<TPointF>{{0, 0}, {100, 0}, {100, 40}, {0, 40}}));
  // Not normalised input is normalised.
  EXPECT_EQ(c.OutlinePoints({100, 40, 0, 0}, 0),
            (std::vector<TPointF>{{0, 0}, {100, 0}, {100, 40}, {0, 40}}));
}

TEST(ShapeCalloutTest, PointerOnEachSide) {
  // Box 100 x 40: base 20 % of the side, centred at Position %, tip at
  // PointPosition %, Size % of the other dimension outside.
  struct Case {
    TShapeCalloutSide side;
    std::vector<TPointF> points;
  };
  const std::vector<Case> cases = {
      {csTop, {{0, 0}, {40, 0}, {50, -10}, {60, 0}, {100, 0}, {100, 40}, {0, 40}}},
      {csRight, {{0, 0}, {100, 0}, {100, 16}, {125, 20}, {100, 24}, {100, 40}, {0, 40}}},
      {csBottom, {{0, 0}, {100, 0}, {100, 40}, {60, 40}, {50, 50}, {40, 40}, {0, 40}}},
      {csLeft, {{0, 0}, {100, 0}, {100, 40}, {0, 40}, {0, 24}, {-25, 20}, {0, 16}}},
  };
  for (const Case& k : cases) {
    TShapeCallout c;
    c.SetSide(k.side);
    const std::vector<TPointF> pts = c.OutlinePoints({0, 0, 100, 40}, 0);
    ASSERT_EQ(pts.size(), k.points.size()) << int(k.side);
    for (std::size_t i = 0; i < pts.size(); ++i) ExpectNear(pts[i], k.points[i], 1e-4f);
  }
}

TEST(ShapeCalloutTest, PointerKeptClearOfRoundedCorners) {
  TShapeCallout c;
  c.SetSide(csTop);
  c.SetPosition(0);        // base centre at the very corner
  c.SetPointPosition(10);  // tip at 10 % of the side
  c.SetWidth(30);
  c.SetSize(50);
  const std::vector<TPointF> pts = c.OutlinePoints({0, 0, 100, 40}, 8);
  // Starts after the top-left arc; the base (30 long) begins where the
  // straight part does.
  ExpectNear(pts[0], {8, 0}, 1e-4f);
  ExpectNear(pts[1], {8, 0}, 1e-4f);
  ExpectNear(pts[2], {10, -20}, 1e-4f);
  ExpectNear(pts[3], {38, 0}, 1e-4f);
  // Rounded corners: arcs of radius 8 about the inner corner points, the
  // outline is closed without repeating the first point.
  ExpectNear(pts[4], {92, 0}, 1e-4f);
  EXPECT_NE(pts.back(), pts.front());
  for (const TPointF& p : pts) {
    if (p.X < 8 && p.Y < 8) {
      EXPECT_NEAR(std::hypot(p.X - 8, p.Y - 8), 8, 1e-3);
    }
  }
  // A base longer than the straight part is cut to it.
  c.SetWidth(100);
  const std::vector<TPointF> wide = c.OutlinePoints({0, 0, 100, 40}, 8);
  ExpectNear(wide[1], {8, 0}, 1e-4f);
  ExpectNear(wide[3], {92, 0}, 1e-4f);
}

TEST_F(ShapeTest, CalloutOutlineIsDrawnAsOnePolygon) {
  shape.Shadow()->SetVisible(false);
  shape.ShapeCallout()->SetSide(csBottom);
  shape.Draw(&panel, {0, 0, 100, 40}, 0, 0);
  EXPECT_EQ(DrawingKinds(), (std::vector<TRecordKind>{rkFillPath, rkDrawPath}));
  EXPECT_EQ(PathPoints(rec.Last(rkDrawPath)->Path),
            shape.ShapeCallout()->OutlinePoints({0, 0, 100, 40}, 0));
  // A round rectangle rounds the callout's corners with RoundSize.
  Reset();
  shape.SetRoundSize(6);
  shape.Draw(&panel, {0, 0, 100, 40}, 0, 0);
  EXPECT_EQ(PathPoints(rec.Last(rkDrawPath)->Path),
            shape.ShapeCallout()->OutlinePoints({0, 0, 100, 40}, 6));
}

// ---- Hit test ----------------------------------------------------------------------------

TEST_F(ShapeTest, ClickedShapeStraightAndTurned) {
  const TRectF box{0, 0, 100, 20};  // centre (50, 10)
  struct Case {
    int angle;
    TPointF p;
    bool inside;
  };
  const std::vector<Case> cases = {
      {0, {0, 0}, true},       // edges are inside
      {0, {100, 20}, true},
      {0, {50, 10}, true},
      {0, {101, 10}, false},
      {0, {50, 21}, false},
      {360, {95, 15}, true},   // a full turn is straight
      {30, {50, 10}, true},    // the centre stays
      {30, {95, 15}, false},   // right-bottom corner area turned away
      {30, {90, -10}, true},   // the right end rose
      {30, {10, 30}, true},    // the left end sank
      {30, {10, -5}, false},
      {90, {50, 50}, true},    // upright: 20 wide, 100 tall
      {90, {5, 10}, false},
      {-30, {90, 30}, true},   // clockwise: the right end sank
  };
  for (const Case& c : cases) {
    shape.SetAngle(c.angle);
    EXPECT_EQ(shape.ClickedShape(c.p, box), c.inside)
        << "angle " << c.angle << " point " << c.p.X << "," << c.p.Y;
  }
}

// ---- Children ----------------------------------------------------------------------------

TEST_F(ShapeTest, ChildrenSizeTheBoxByLayout) {
  auto addChild = [&](float w, float h, bool visible = true) {
    TKelCustomShape* c = shape.Children()->Add();
    c->SetAutoSize(false);
    c->SetShapeBounds({0, 0, w, h});
    c->SetVisible(visible);
    return c;
  };
  addChild(30, 10);
  addChild(50, 5);
  addChild(70, 70, false);  // invisible: ignored
  shape.MoveTo(100, 200);
  shape.CalcBounds(&panel);
  EXPECT_EQ(shape.ShapeBounds(), (TRectF{100, 200, 150, 215}));
  shape.SetChildLayout(slLeftRight);
  shape.CalcBounds(&panel);
  EXPECT_EQ(shape.ShapeBounds(), (TRectF{100, 200, 180, 210}));
  // A box of fixed size keeps it, however often it is measured.
  shape.SetAutoSize(false);
  shape.CalcBounds(&panel);
  shape.CalcBounds(&panel);
  EXPECT_EQ(shape.ShapeBounds(), (TRectF{100, 200, 180, 210}));
}

TEST_F(ShapeTest, ChildrenAreDrawnInTheirLaidOutBoxes) {
  shape.Shadow()->SetVisible(false);
  for (float h : {10.0f, 5.0f}) {
    TKelCustomShape* c = shape.Children()->Add();
    c->Shadow()->SetVisible(false);
    c->SetAutoSize(false);
    c->SetShapeBounds({0, 0, 30, h});
  }
  EXPECT_EQ(shape.Children()->Items(0)->Parent(), &panel);
  shape.MoveTo(100, 200);
  shape.CalcBounds(&panel);
  shape.Draw();
  const auto frames = rec.OpsOf(rkDrawRect);
  ASSERT_EQ(frames.size(), 3u);
  EXPECT_EQ(frames[0]->Rect, (TRectF{100, 200, 130, 215}));
  EXPECT_EQ(frames[1]->Rect, (TRectF{100, 200, 130, 210}));
  EXPECT_EQ(frames[2]->Rect, (TRectF{100, 210, 130, 215}));
  EXPECT_EQ(shape.Children()->Items(1)->ShapeBounds(), (TRectF{100, 210, 130, 215}));

  shape.SetChildLayout(slLeftRight);
  shape.CalcBounds(&panel);
  Reset();
  shape.Draw();
  const auto side = rec.OpsOf(rkDrawRect);
  ASSERT_EQ(side.size(), 3u);
  EXPECT_EQ(side[2]->Rect, (TRectF{130, 200, 160, 205}));
}

TEST_F(ShapeTest, ChildListOperations) {
  TKelShapes* list = shape.Children();
  EXPECT_THROW(list->Items(0), ChartException);
  TKelCustomShape* a = list->Add();
  TKelCustomShape* b = list->Add(std::make_unique<TKelCustomShape>());
  EXPECT_EQ(b->Parent(), &panel);  // placed on the owner's panel
  EXPECT_EQ((*list)[0], a);
  EXPECT_EQ(list->Count(), 2);
  list->Delete(0);
  EXPECT_EQ(list->Items(0), b);
  EXPECT_THROW(list->Delete(1), ChartException);
  EXPECT_THROW(list->Items(-1), ChartException);
  ShapePanel other;
  shape.SetParent(&other);
  EXPECT_EQ(b->Parent(), &other);
  list->Clear();
  EXPECT_EQ(list->Count(), 0);
}

// ---- Copying -------------------------------------------------------------------------------

TEST_F(ShapeTest, AssignCopiesTheShapeSettings) {
  TKelCustomShape src(&panel);
  src.SetAlignment(taRightJustify);
  src.SetAngle(15);
  src.SetAutoSize(false);
  src.SetBevel(bvLowered);
  src.SetBevelWidth(5);
  src.SetChildLayout(slLeftRight);
  src.SetColor(0xFF445566);
  src.Corners()->RightTop()->SetStyle(cosBevel);
  src.Font()->SetSize(33);
  src.SetRoundSize(9);
  src.SetShapeStyle(fosEllipse);
  src.Emboss()->SetVisible(true);
  src.Shadow()->SetColor(claRed);
  src.ShapeCallout()->SetSide(csLeft);
  src.SetTransparent(true);
  src.SetTransparency(20);
  src.Brush()->SetStyle(THostBrushKind::None);
  src.Pen()->SetWidth(4);
  src.SetVisible(false);
  src.SetDraw3D(true);
  src.SetShapeBounds(kBox);
  src.Children()->Add()->SetColor(claBlue);

  shape.Assign(&src);
  EXPECT_EQ(shape.Alignment(), taRightJustify);
  EXPECT_EQ(shape.Angle(), 15);
  EXPECT_FALSE(shape.AutoSize());
  EXPECT_EQ(shape.Bevel(), bvLowered);
  EXPECT_EQ(shape.BevelWidth(), 5);
  EXPECT_EQ(shape.ChildLayout(), slLeftRight);
  EXPECT_EQ(shape.Color(), 0xFF445566u);
  ASSERT_TRUE(shape.HasCorners());
  EXPECT_EQ(shape.Corners()->RightTop()->Style(), cosBevel);
  EXPECT_FLOAT_EQ(shape.Font()->Size(), 33);
  EXPECT_EQ(shape.RoundSize(), 9);
  EXPECT_EQ(shape.ShapeStyle(), fosEllipse);
  ASSERT_TRUE(shape.HasEmboss());
  EXPECT_TRUE(shape.Emboss()->Visible());
  EXPECT_EQ(shape.Shadow()->Color(), claRed);
  EXPECT_EQ(shape.ShapeCallout()->Side(), csLeft);
  EXPECT_TRUE(shape.Transparent());
  EXPECT_EQ(shape.Transparency(), 20);
  EXPECT_EQ(shape.Brush()->Style(), THostBrushKind::None);
  EXPECT_FLOAT_EQ(shape.Pen()->Width(), 4);
  EXPECT_FALSE(shape.Visible());
  // Not copied: depth drawing and the box.
  EXPECT_FALSE(shape.Draw3D());
  EXPECT_EQ(shape.ShapeBounds(), TRectF{});
  // Children are copies, not shared.
  ASSERT_EQ(shape.Children()->Count(), 1);
  EXPECT_NE(shape.Children()->Items(0), src.Children()->Items(0));
  EXPECT_EQ(shape.Children()->Items(0)->Color(), claBlue);

  // A source without the optional parts frees them.
  TKelCustomShape plain(&panel);
  shape.Assign(&plain);
  EXPECT_FALSE(shape.HasCorners());
  EXPECT_FALSE(shape.HasEmboss());
  EXPECT_FALSE(shape.HasShapeCallout());
  EXPECT_EQ(shape.Children()->Count(), 0);
}

TEST_F(ShapeTest, AssignFromOtherClassesFails) {
  TKelShadow shadow;
  EXPECT_THROW(shape.Assign(&shadow), ChartException);
  // A brush-and-pen element gives what it has.
  TKelCustomShapeBrushPen bp(&panel);
  bp.Pen()->SetColor(claRed);
  bp.SetVisible(false);
  shape.Assign(&bp);
  EXPECT_EQ(shape.Pen()->Color(), claRed);
  EXPECT_FALSE(shape.Visible());
}

// A shape family of its own, to check the virtual constructor.
class TTaggedShape : public TKelCustomShape {
 public:
  using TKelCustomShape::TKelCustomShape;
  std::unique_ptr<TKelCustomShape> Create(IShapePanel* Parent) const override {
    return std::make_unique<TTaggedShape>(Parent);
  }
  TKelShapeClass GetChildClass() const override {
    return [](IShapePanel* Parent) -> std::unique_ptr<TKelCustomShape> {
      return std::make_unique<TTaggedShape>(Parent);
    };
  }
};

TEST_F(ShapeTest, ChildrenKeepTheirClassWhenCopied) {
  TTaggedShape owner(&panel);
  EXPECT_NE(dynamic_cast<TTaggedShape*>(owner.Children()->Add()), nullptr);
  shape.Children()->Assign(owner.Children());
  EXPECT_NE(dynamic_cast<TTaggedShape*>(shape.Children()->Items(0)), nullptr);
  EXPECT_EQ(shape.Children()->Items(0)->Parent(), &panel);
}

}  // namespace

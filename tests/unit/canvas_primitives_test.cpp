// Canvas primitives on the recording host: lines, areas with the fill
// protocol, pen and brush application, gradients, arrows and frames.
#include <gtest/gtest.h>

#include "canvas/corners.h"
#include "canvas/shadow.h"
#include "canvas_fixture.h"

using namespace sextant;
using sextant::testing::CanvasTest;

using CanvasPrimitives = CanvasTest;

namespace {

std::vector<TPointF> PathPoints(const THostPath& p) {
  std::vector<TPointF> pts;
  for (const auto& c : p.Commands()) {
    if (c.Op == THostPathCommand::MoveTo || c.Op == THostPathCommand::LineTo) pts.push_back(c.A);
  }
  return pts;
}

bool IsClosed(const THostPath& p) {
  return !p.Commands().empty() && p.Commands().back().Op == THostPathCommand::Close;
}

}  // namespace

TEST_F(CanvasPrimitives, RectangleFillsThenOutlinesTheGivenSides) {
  TKelBrush b;
  b.SetColor(claRed);
  Canvas.AssignBrush(&b, claRed);
  Canvas.Rectangle(30, 20, 10, 5);  // not normalised
  EXPECT_EQ(Rec.Kinds(), (std::vector<TRecordKind>{rkFillRect, rkDrawRect}));
  for (const TRecordedOp* op : {Rec.Last(rkFillRect), Rec.Last(rkDrawRect)}) {
    EXPECT_EQ(op->Rect, (TRectF{30, 20, 10, 5}));
    EXPECT_EQ(op->XRadius, 0);
    EXPECT_EQ(op->Corners, hcAll);
    EXPECT_EQ(op->CornerType, THostCornerType::Round);
    EXPECT_FLOAT_EQ(op->Opacity, 1);
  }
  EXPECT_EQ(Rec.Last(rkFillRect)->Fill.Color, claRed);
  EXPECT_EQ(Rec.Last(rkDrawRect)->Stroke.Color, claBlack);
}

TEST_F(CanvasPrimitives, InvisiblePenSkipsOutlinesButNotLines) {
  TKelPen visible;
  visible.SetColor(claBlue);
  Canvas.AssignVisiblePen(&visible);
  TKelHiddenPen hidden;
  Canvas.AssignVisiblePen(&hidden);
  EXPECT_EQ(Canvas.Pen()->Style(), psClear);
  Canvas.Rectangle(0, 0, 10, 10);
  Canvas.Ellipse(0, 0, 10, 10);
  const TPointF tri[3] = {{0, 0}, {5, 0}, {0, 5}};
  Canvas.Polygon(tri);
  Canvas.RoundRect(0, 0, 10, 10, 4, 4);
  EXPECT_EQ(Rec.Count(rkDrawRect), 0u);
  EXPECT_EQ(Rec.Count(rkDrawEllipse), 0u);
  EXPECT_EQ(Rec.Count(rkDrawPath), 0u);
  Canvas.MoveTo(0, 0);
  Canvas.LineTo(5, 5);
  ASSERT_EQ(Rec.Count(rkDrawLine), 1u);
  EXPECT_EQ(Rec.Last(rkDrawLine)->Stroke.Kind, THostBrushKind::Solid);
  EXPECT_EQ(Rec.Last(rkDrawLine)->Stroke.Color, claBlue);  // the earlier pen's colour stays
}

TEST_F(CanvasPrimitives, BrushNoneFillsNothing) {
  TKelBrush b;
  b.SetStyle(THostBrushKind::None);
  Canvas.AssignBrush(&b, claRed);
  Canvas.Rectangle(0, 0, 10, 10);
  Canvas.FillRect({0, 0, 10, 10});
  Canvas.Ellipse(0, 0, 4, 4);
  EXPECT_EQ(Rec.Kinds(), (std::vector<TRecordKind>{rkDrawRect, rkDrawEllipse}));
}

TEST_F(CanvasPrimitives, AssignBrushForms) {
  TKelBrush b;  // colour 0x00FFFFFF
  b.SetBackColor(0xFFA9A9A9);
  Canvas.AssignBrush(&b);
  Canvas.FillRect({0, 0, 5, 5});
  EXPECT_EQ(Rec.Last(rkFillRect)->Fill.Color, 0xFFA9A9A9u);
  EXPECT_EQ(Canvas.Brush()->BackColor(), clKelColor);

  Canvas.AssignBrush(&b, claYellow);
  Canvas.FillRect({0, 0, 5, 5});
  EXPECT_EQ(Rec.Last(rkFillRect)->Fill.Color, claYellow);

  Canvas.AssignBrushColor(&b, claRed, claBlue);
  EXPECT_EQ(Canvas.Brush()->Color(), claRed);
  EXPECT_EQ(Canvas.Brush()->BackColor(), claBlue);

  Canvas.SetMonochrome(true);
  Canvas.AssignBrush(&b, claYellow);
  EXPECT_EQ(Canvas.Brush()->Color(), claWhite);
}

TEST_F(CanvasPrimitives, AGradientLastsOneFill) {
  TKelBrush b;
  b.Gradient()->SetStartColor(claRed);
  b.Gradient()->SetEndColor(claBlue);
  b.Gradient()->SetVisible(true);
  ASSERT_EQ(b.Style(), THostBrushKind::Gradient);
  Canvas.AssignBrush(&b, claYellow);
  Canvas.FillRect({0, 0, 10, 10});
  Canvas.FillRect({0, 0, 10, 10});
  const auto fills = Rec.OpsOf(rkFillRect);
  ASSERT_EQ(fills.size(), 2u);
  EXPECT_EQ(fills[0]->Fill.Kind, THostBrushKind::Gradient);
  ASSERT_EQ(fills[0]->Fill.Gradient.Points.size(), 2u);
  EXPECT_EQ(fills[0]->Fill.Gradient.Points[0].Color, claRed);
  EXPECT_EQ(fills[0]->Fill.Gradient.Points[1].Color, claBlue);
  EXPECT_EQ(fills[1]->Fill.Kind, THostBrushKind::Solid);
  EXPECT_EQ(fills[1]->Fill.Color, claYellow);
  // Assigning again brings the gradient back for one more fill.
  Canvas.AssignBrush(&b, claYellow);
  Canvas.FillRect({0, 0, 10, 10});
  EXPECT_EQ(Rec.Last(rkFillRect)->Fill.Kind, THostBrushKind::Gradient);
}

TEST_F(CanvasPrimitives, PictureBrushFillsWithItsBitmapOnce) {
  TRecordingBitmap bmp(3, 3, 1);
  TKelBrush b;
  b.Image()->SetBitmap(&bmp);
  Canvas.AssignBrush(&b, claRed);
  Canvas.FillRect({0, 0, 3, 3});
  Canvas.FillRect({0, 0, 3, 3});
  const auto fills = Rec.OpsOf(rkFillRect);
  EXPECT_EQ(fills[0]->Fill.Kind, THostBrushKind::Bitmap);
  EXPECT_EQ(fills[0]->Fill.Bitmap, &bmp);
  EXPECT_EQ(fills[1]->Fill.Kind, THostBrushKind::Solid);
}

TEST(PrepareGradient, DirectionTable) {
  struct Case {
    TGradientDirection Dir;
    TPointF Start, Stop;
    THostGradientStyle Style;
    bool Reversed;
  } cases[] = {
      {gdTopBottom, {0.5f, 0}, {0.5f, 1}, THostGradientStyle::Linear, false},
      {gdBottomTop, {0.5f, 0}, {0.5f, 1}, THostGradientStyle::Linear, true},
      {gdLeftRight, {0, 0.5f}, {1, 0.5f}, THostGradientStyle::Linear, false},
      {gdRightLeft, {0, 0.5f}, {1, 0.5f}, THostGradientStyle::Linear, true},
      {gdFromTopLeft, {0, 0}, {1, 1}, THostGradientStyle::Linear, false},
      {gdDiagonalDown, {0, 0}, {1, 1}, THostGradientStyle::Linear, true},
      {gdFromBottomLeft, {0, 1}, {1, 0}, THostGradientStyle::Linear, false},
      {gdDiagonalUp, {0, 1}, {1, 0}, THostGradientStyle::Linear, true},
      {gdFromCenter, {0, 0}, {0, 1}, THostGradientStyle::Radial, false},
      {gdRadial, {0, 0}, {0, 1}, THostGradientStyle::Radial, false},
  };
  for (const Case& c : cases) {
    TKelGradient g;
    g.SetDirection(c.Dir);
    g.SetStartColor(claRed);
    g.Colors()->Add(claYellow, 0.2);
    g.SetEndColor(claBlue);
    g.SetRadialX(10);
    g.SetRadialY(-20);
    g.SetAngle(30);
    THostGradient h;
    TKelCanvas3D::PrepareGradient(g, h);
    SCOPED_TRACE(int(c.Dir));
    EXPECT_EQ(h.StartPosition, c.Start);
    EXPECT_EQ(h.StopPosition, c.Stop);
    EXPECT_EQ(h.Style, c.Style);
    ASSERT_EQ(h.Points.size(), 3u);
    if (c.Reversed) {
      EXPECT_EQ(h.Points[0], (THostGradientPoint{claBlue, 0}));
      EXPECT_EQ(h.Points[1].Color, claYellow);
      EXPECT_FLOAT_EQ(h.Points[1].Offset, 0.8f);
      EXPECT_EQ(h.Points[2], (THostGradientPoint{claRed, 1}));
    } else {
      EXPECT_EQ(h.Points[0], (THostGradientPoint{claRed, 0}));
      EXPECT_FLOAT_EQ(h.Points[1].Offset, 0.2f);
      EXPECT_EQ(h.Points[2], (THostGradientPoint{claBlue, 1}));
    }
    if (c.Style == THostGradientStyle::Radial) {
      EXPECT_FLOAT_EQ(h.RadialCenter.X, 0.6f);
      EXPECT_FLOAT_EQ(h.RadialCenter.Y, 0.3f);
      EXPECT_FLOAT_EQ(h.RadialAngle, 30);
    }
  }
}

TEST_F(CanvasPrimitives, PenMapsOntoTheHostStroke) {
  struct Case {
    TPenStyle Style;
    THostStrokeDash Dash;
  } styles[] = {{psSolid, THostStrokeDash::Solid},     {psDash, THostStrokeDash::Dash},
                {psDot, THostStrokeDash::Dot},         {psDashDot, THostStrokeDash::DashDot},
                {psDashDotDot, THostStrokeDash::DashDotDot}};
  for (const Case& c : styles) {
    TKelPen p;
    p.SetStyle(c.Style);
    Canvas.AssignVisiblePen(&p);
    EXPECT_EQ(Rec.Stroke().Dash, c.Dash) << int(c.Style);
  }
  // Other styles keep the dash as it was.
  TKelPen frame;
  frame.SetStyle(psInsideFrame);
  Canvas.AssignVisiblePen(&frame);
  EXPECT_EQ(Rec.Stroke().Dash, THostStrokeDash::DashDotDot);

  TKelPen p;
  p.SetWidth(0);
  p.SetJoinStyle(jsMitter);
  p.SetEndStyle(esFlat);
  p.SetColor(claRed);
  Canvas.AssignVisiblePen(&p);
  EXPECT_FLOAT_EQ(Rec.Stroke().Thickness, 0.1f);
  EXPECT_EQ(Rec.Stroke().Join, THostStrokeJoin::Miter);
  EXPECT_EQ(Rec.Stroke().Cap, THostStrokeCap::Flat);
  EXPECT_EQ(Rec.Stroke().Color, claRed);

  p.SetEndStyle(esSquare);
  p.SetJoinStyle(jsBevel);
  p.SetSmallDots(true);
  p.SetSmallSpace(2);
  Canvas.AssignVisiblePenColor(&p, claBlue);
  EXPECT_EQ(Rec.Stroke().Cap, THostStrokeCap::Round);
  EXPECT_EQ(Rec.Stroke().Join, THostStrokeJoin::Bevel);
  EXPECT_EQ(Rec.Stroke().Dash, THostStrokeDash::Custom);
  EXPECT_EQ(Rec.Stroke().CustomDash, (std::vector<float>{1, 3}));
  EXPECT_EQ(Rec.Stroke().Color, claBlue);

  Canvas.Pen()->SetVisible(false);
  EXPECT_EQ(Rec.Stroke().Kind, THostBrushKind::None);
}

TEST_F(CanvasPrimitives, GradientPenStrokesWithTheGradient) {
  TKelPen p;
  p.Fill()->Gradient()->SetDirection(gdLeftRight);
  p.Fill()->Gradient()->SetVisible(true);
  Canvas.AssignVisiblePen(&p);
  EXPECT_EQ(Rec.Stroke().Kind, THostBrushKind::Gradient);
  EXPECT_EQ(Rec.Stroke().Gradient.StopPosition, (TPointF{1, 0.5f}));
}

TEST_F(CanvasPrimitives, PenZoomAndMonochrome) {
  TView3DOptions options;
  options.SetPenZoom(250);
  Canvas.InitWindow(&Rec, &options, claWhite, false, {0, 0, 10, 10});
  TKelPen p;
  p.SetWidth(1);
  Canvas.AssignVisiblePen(&p);
  EXPECT_FLOAT_EQ(Canvas.Pen()->Width(), 2);  // 2.5 rounds to even
  options.SetPenZoom(10);
  Canvas.InitWindow(&Rec, &options, claWhite, false, {0, 0, 10, 10});
  Canvas.AssignVisiblePen(&p);
  EXPECT_FLOAT_EQ(Canvas.Pen()->Width(), 1);  // at least 1

  Canvas.SetMonochrome(true);
  Canvas.AssignVisiblePenColor(&p, claRed);
  EXPECT_EQ(Rec.Stroke().Color, claBlack);
}

TEST_F(CanvasPrimitives, LinesMoveThePenPosition) {
  Canvas.MoveTo(1, 2);
  Canvas.LineTo(3, 4);
  Canvas.LineTo(TPointF{5, 6});
  Canvas.Line(7, 8, 9, 10);
  Canvas.DoHorizLine(0, 20, 5);
  Canvas.DoVertLine(3, 0, 9);
  Canvas.FastLineTo(11, 12);
  using Seg = std::pair<TPointF, TPointF>;
  EXPECT_EQ(Rec.Lines(), (std::vector<Seg>{{{1, 2}, {3, 4}},
                                           {{3, 4}, {5, 6}},
                                           {{7, 8}, {9, 10}},
                                           {{0, 5}, {20, 5}},
                                           {{3, 0}, {3, 9}},
                                           {{3, 9}, {11, 12}}}));
  EXPECT_EQ(Canvas.PenPosition(), (TPointF{11, 12}));
}

TEST_F(CanvasPrimitives, PolylineAndPolygonPaths) {
  const TPointF pts[3] = {{0, 0}, {10, 5}, {20, 0}};
  Canvas.Polyline(pts);
  ASSERT_EQ(Rec.Count(rkDrawPath), 1u);
  EXPECT_EQ(PathPoints(Rec.Last(rkDrawPath)->Path), (std::vector<TPointF>(pts, pts + 3)));
  EXPECT_FALSE(IsClosed(Rec.Last(rkDrawPath)->Path));

  Rec.ClearOps();
  Canvas.Polygon(pts);
  EXPECT_EQ(Rec.Kinds(), (std::vector<TRecordKind>{rkFillPath, rkDrawPath}));
  EXPECT_TRUE(IsClosed(Rec.Last(rkFillPath)->Path));
  EXPECT_TRUE(IsClosed(Rec.Last(rkDrawPath)->Path));

  Rec.ClearOps();
  Canvas.Polyline({});
  Canvas.Polygon({});
  Canvas.PolygonWithZ({}, 3);
  EXPECT_TRUE(Rec.Ops().empty());
}

TEST_F(CanvasPrimitives, FastLineUsesTheNativeListOnlyOnNamedCanvases) {
  const TPointF pts[3] = {{0, 0}, {10, 5}, {20, 0}};
  Canvas.SetFastLine(true);
  Canvas.Polyline(pts);
  EXPECT_EQ(Rec.Count(rkDrawPolyline), 0u);
  EXPECT_EQ(Rec.Count(rkDrawPath), 1u);

  for (const char* name : {"TCanvasD2D", "TCanvasGdiplus", "TCanvasGpu"}) {
    TRecordingCanvas native;
    native.SetClassName(name);
    Canvas.SetCanvas(&native);
    Canvas.Polyline(pts);
    ASSERT_EQ(native.Count(rkDrawPolyline), 1u) << name;
    EXPECT_EQ(native.Last(rkDrawPolyline)->Points, (std::vector<TPointF>(pts, pts + 3)));
    Canvas.SetFastLine(false);
    Canvas.Polyline(pts);
    EXPECT_EQ(native.Count(rkDrawPath), 1u) << name;
    Canvas.SetFastLine(true);
  }
  // A host of any name that says its polyline is a native line list.
  TRecordingCanvas native;
  native.NativePolyline = true;
  Canvas.SetCanvas(&native);
  Canvas.Polyline(pts);
  EXPECT_EQ(native.Count(rkDrawPolyline), 1u);
  EXPECT_EQ(native.Count(rkDrawPath), 0u);
  Canvas.SetCanvas(&Rec);
}

TEST_F(CanvasPrimitives, EllipsesAndRoundRects) {
  Canvas.Ellipse(TRectF{0.4f, 0.6f, 10.5f, 11.5f});
  EXPECT_EQ(Rec.Last(rkFillEllipse)->Rect, (TRectF{0, 1, 10, 12}));
  EXPECT_EQ(Rec.Last(rkDrawEllipse)->Rect, (TRectF{0, 1, 10, 12}));

  Canvas.EllipseWithZ(0, 0, 10, 10, 5);
  EXPECT_EQ(Rec.Last(rkFillEllipse)->Rect, (TRectF{0, 0, 11, 11}));

  Canvas.RoundRect(0, 0, 20, 10, 7, 5);
  EXPECT_FLOAT_EQ(Rec.Last(rkFillRect)->XRadius, 3);
  EXPECT_FLOAT_EQ(Rec.Last(rkDrawRect)->YRadius, 2);

  Canvas.RoundRect(TRectF{0.5f, 1.5f, 20.2f, 10.7f}, 8, 8);
  EXPECT_EQ(Rec.Last(rkDrawRect)->Rect, (TRectF{0, 2, 20, 11}));
  EXPECT_FLOAT_EQ(Rec.Last(rkDrawRect)->XRadius, 4);

  Rec.ClearOps();
  TKelCorners corners;
  Canvas.RoundRect(TRectF{0, 0, 20, 10}, 4, 4, &corners);
  EXPECT_EQ(Rec.Kinds(), (std::vector<TRecordKind>{rkFillPath, rkDrawPath}));
  EXPECT_TRUE(IsClosed(Rec.Last(rkDrawPath)->Path));
}

TEST_F(CanvasPrimitives, DepthRectanglesAreFourPointPolygons) {
  Canvas.RectangleWithZ({1, 2, 11, 12}, 7);
  EXPECT_EQ(Rec.Kinds(), (std::vector<TRecordKind>{rkFillPath, rkDrawPath}));
  EXPECT_EQ(PathPoints(Rec.Last(rkDrawPath)->Path),
            (std::vector<TPointF>{{1, 2}, {11, 2}, {11, 12}, {1, 12}}));
  Canvas.RectangleY(1, 2, 11, 0, 5);
  EXPECT_EQ(PathPoints(Rec.Last(rkDrawPath)->Path),
            (std::vector<TPointF>{{1, 2}, {11, 2}, {11, 2}, {1, 2}}));
  Canvas.HorizLine3D(0, 10, 4, 3);
  EXPECT_EQ(Rec.Lines().back(), (std::pair<TPointF, TPointF>{{0, 4}, {10, 4}}));
}

TEST_F(CanvasPrimitives, Frame3DShrinksByItsWidth) {
  TRectF r{10, 10, 50, 40};
  Canvas.Frame3D(r, claWhite, claGray, 2);
  EXPECT_EQ(r, (TRectF{12, 12, 48, 38}));
  const auto paths = Rec.OpsOf(rkDrawPath);
  ASSERT_EQ(paths.size(), 4u);
  EXPECT_EQ(PathPoints(paths[0]->Path), (std::vector<TPointF>{{10, 39}, {10, 10}, {49, 10}}));
  EXPECT_EQ(paths[0]->Stroke.Color, claWhite);
  EXPECT_EQ(PathPoints(paths[1]->Path), (std::vector<TPointF>{{49, 10}, {49, 39}, {9, 39}}));
  EXPECT_EQ(paths[1]->Stroke.Color, claGray);
  EXPECT_EQ(PathPoints(paths[2]->Path), (std::vector<TPointF>{{11, 38}, {11, 11}, {48, 11}}));
  EXPECT_FLOAT_EQ(paths[3]->Stroke.Thickness, 1);
  EXPECT_EQ(paths[3]->Stroke.Dash, THostStrokeDash::Solid);
}

TEST_F(CanvasPrimitives, ArrowFilledAndOutlined) {
  Canvas.Arrow(true, {0, 0}, {100, 0}, 20, 10, 0, 50);
  ASSERT_EQ(Rec.Count(rkFillPath), 1u);
  const auto pts = PathPoints(Rec.Last(rkFillPath)->Path);
  ASSERT_EQ(pts.size(), 7u);
  EXPECT_EQ(pts[3], (TPointF{100, 0}));  // the tip
  EXPECT_NEAR(pts[2].X, 90, 1e-4);
  EXPECT_NEAR(std::fabs(pts[2].Y), 10, 1e-4);
  EXPECT_NEAR(std::fabs(pts[0].Y), 5, 1e-4);  // shaft half of the head

  Rec.ClearOps();
  Canvas.Arrow(false, {0, 0}, {0, 50}, 10, 10, 0);
  const auto lines = Rec.Lines();
  ASSERT_EQ(lines.size(), 3u);
  for (const auto& l : lines) EXPECT_EQ(l.second, (TPointF{0, 50}));

  Rec.ClearOps();
  Canvas.Arrow(true, {5, 5}, {5, 5}, 10, 10, 0);
  EXPECT_TRUE(Rec.Ops().empty());
}

TEST_F(CanvasPrimitives, BitmapsDrawWholeWithOpacityAndQuality) {
  TRecordingBitmap bmp(8, 4, 1);
  Canvas.Draw(10, 20, bmp);
  EXPECT_EQ(Rec.Last(rkDrawBitmap)->SrcRect, (TRectF{0, 0, 8, 4}));
  EXPECT_EQ(Rec.Last(rkDrawBitmap)->Rect, (TRectF{10, 20, 18, 24}));
  EXPECT_FALSE(Rec.Last(rkDrawBitmap)->HighSpeed);
  Canvas.SetStretchQuality(sqLow);
  Canvas.BeginBlending({}, 50);
  Canvas.StretchDraw({0, 0, 80, 40}, bmp);
  Canvas.EndBlending(nullptr);
  EXPECT_TRUE(Rec.Last(rkDrawBitmap)->HighSpeed);
  EXPECT_FLOAT_EQ(Rec.Last(rkDrawBitmap)->Opacity, 0.5f);
}

TEST_F(CanvasPrimitives, ElementaryGradientFillIsOpaqueAndOneShot) {
  Canvas.BeginBlending({}, 50);
  Canvas.GradientFill({0, 0, 10, 10}, claRed, claBlue, gdLeftRight);
  Canvas.EndBlending(nullptr);
  const TRecordedOp& op = *Rec.Last(rkFillRect);
  EXPECT_FLOAT_EQ(op.Opacity, 1);
  EXPECT_EQ(op.Fill.Kind, THostBrushKind::Gradient);
  EXPECT_EQ(op.Fill.Gradient.Points,
            (std::vector<THostGradientPoint>{{claRed, 0}, {claBlue, 1}}));
  EXPECT_EQ(op.Fill.Gradient.Style, THostGradientStyle::Linear);
  EXPECT_EQ(op.Fill.Gradient.StopPosition, (TPointF{1, 0.5f}));
  EXPECT_EQ(Rec.Fill().Kind, THostBrushKind::Solid);

  Canvas.GradientFill({0, 0, 10, 10}, claRed, claBlue, gdRadial, 50, 20, 0);
  EXPECT_EQ(Rec.Last(rkFillRect)->Fill.Gradient.Style, THostGradientStyle::Radial);
  EXPECT_FLOAT_EQ(Rec.Last(rkFillRect)->Fill.Gradient.RadialCenter.X, 0.7f);
}

TEST_F(CanvasPrimitives, GradientFillSplitsAroundAMiddleColour) {
  struct Case {
    TGradientDirection Dir;
    TRectF First, Second;
    TColor FirstStart, FirstEnd, SecondStart, SecondEnd;
  } cases[] = {
      {gdTopBottom, {0, 0, 20, 5}, {0, 5, 20, 10}, claBlue, claYellow, claRed, claBlue},
      {gdBottomTop, {0, 0, 20, 5}, {0, 5, 20, 10}, claRed, claBlue, claBlue, claYellow},
      {gdLeftRight, {0, 0, 10, 10}, {10, 0, 20, 10}, claBlue, claYellow, claRed, claBlue},
      {gdRightLeft, {0, 0, 10, 10}, {10, 0, 20, 10}, claRed, claBlue, claBlue, claYellow},
  };
  for (const Case& c : cases) {
    Rec.ClearOps();
    TKelGradient g;
    g.SetDirection(c.Dir);
    g.SetStartColor(claRed);
    g.SetMidColor(claBlue);
    g.SetEndColor(claYellow);
    Canvas.GradientFill(g, {0, 0, 20, 10});
    const auto fills = Rec.OpsOf(rkFillRect);
    ASSERT_EQ(fills.size(), 2u) << int(c.Dir);
    EXPECT_EQ(fills[0]->Rect, c.First) << int(c.Dir);
    EXPECT_EQ(fills[1]->Rect, c.Second) << int(c.Dir);
    EXPECT_EQ(fills[0]->Fill.Gradient.Points[0].Color, c.FirstStart) << int(c.Dir);
    EXPECT_EQ(fills[0]->Fill.Gradient.Points[1].Color, c.FirstEnd) << int(c.Dir);
    EXPECT_EQ(fills[1]->Fill.Gradient.Points[0].Color, c.SecondStart) << int(c.Dir);
    EXPECT_EQ(fills[1]->Fill.Gradient.Points[1].Color, c.SecondEnd) << int(c.Dir);
  }
  // Diagonals ignore the middle colour: one fill.
  Rec.ClearOps();
  TKelGradient g;
  g.SetDirection(gdDiagonalUp);
  g.SetMidColor(claBlue);
  Canvas.GradientFill(g, {0, 0, 20, 10});
  EXPECT_EQ(Rec.Count(rkFillRect), 1u);
}

TEST_F(CanvasPrimitives, MonochromeGradientFillUsesOpaqueGreys) {
  Canvas.SetMonochrome(true);
  TKelGradient g;
  g.SetStartColor(RGB(30, 60, 90));
  g.SetEndColor(RGB(255, 0, 0));
  Canvas.GradientFill(g, {0, 0, 10, 10});
  const auto& pts = Rec.Last(rkFillRect)->Fill.Gradient.Points;
  EXPECT_EQ(pts[0].Color, RGB(60, 60, 60));
  EXPECT_EQ(pts[1].Color, RGB(85, 85, 85));
}

TEST_F(CanvasPrimitives, GradientDrawFillsThroughTheCanvasGradient) {
  TKelGradient g;  // hidden, but drawing it fills with it
  g.SetStartColor(claRed);
  g.SetEndColor(claBlue);
  g.SubGradient()->SetVisible(true);
  g.SubGradient()->SetTransparency(30);
  g.Draw(Canvas, {0, 0, 10, 10});
  const auto fills = Rec.OpsOf(rkFillRect);
  ASSERT_EQ(fills.size(), 2u);
  EXPECT_EQ(fills[0]->Fill.Kind, THostBrushKind::Gradient);
  EXPECT_EQ(fills[0]->Fill.Gradient.Points.front().Color, claRed);
  EXPECT_FLOAT_EQ(fills[0]->Opacity, 1);
  EXPECT_EQ(fills[1]->Fill.Kind, THostBrushKind::Gradient);  // the sub-gradient
  EXPECT_FLOAT_EQ(fills[1]->Opacity, 0.7f);
  EXPECT_EQ(Canvas.Transparency(), 0);

  Rec.ClearOps();
  g.Draw(Canvas, {0, 0, 10, 10}, 6);
  EXPECT_EQ(Rec.OpsOf(rkFillRect)[0]->XRadius, 3);

  Rec.ClearOps();
  Canvas.Pen()->SetStyle(psSolid);
  g.Draw(Canvas, {0, 0}, {5, 0}, {0, 5});
  EXPECT_EQ(Rec.Kinds(), (std::vector<TRecordKind>{rkFillPath}));
}

TEST_F(CanvasPrimitives, PieAndDonutPaths) {
  Canvas.Pie({0, 0, 20, 20}, 0, 90);
  const auto& pie = Rec.Last(rkFillPath)->Path.Commands();
  ASSERT_GE(pie.size(), 4u);
  EXPECT_EQ(pie[0].A, (TPointF{10, 10}));
  EXPECT_EQ(pie[1].A, (TPointF{20, 10}));
  EXPECT_EQ(pie[2].Op, THostPathCommand::Arc);
  EXPECT_FLOAT_EQ(pie[2].C.Y, 90);
  Canvas.Donut({0, 0, 20, 20}, 0, 90, 50);
  const auto& donut = Rec.Last(rkFillPath)->Path.Commands();
  int arcs = 0;
  for (const auto& c : donut) arcs += c.Op == THostPathCommand::Arc;
  EXPECT_EQ(arcs, 2);
  // Host arc angles turn clockwise on screen: 90 degrees is straight down.
  ASSERT_EQ(donut[2].Op, THostPathCommand::LineTo);
  EXPECT_NEAR(donut[2].A.X, 10, 1e-4);
  EXPECT_NEAR(donut[2].A.Y, 15, 1e-4);
  EXPECT_FLOAT_EQ(donut[3].C.X, 90);
  EXPECT_FLOAT_EQ(donut[3].C.Y, -90);
  Canvas.Arc(0, 0, 20, 10, 10, 40);
  EXPECT_EQ(Rec.Last(rkDrawArc)->P1, (TPointF{10, 5}));
  EXPECT_EQ(Rec.Last(rkDrawArc)->P2, (TPointF{10, 5}));
  EXPECT_FLOAT_EQ(Rec.Last(rkDrawArc)->SweepAngle, 30);
}

TEST_F(CanvasPrimitives, NothingIsDrawnWithoutAHostCanvas) {
  TKelCanvas3D bare;
  bare.Rectangle(0, 0, 1, 1);
  bare.LineTo(3, 3);
  bare.TextOut(0, 0, "a");
  EXPECT_EQ(bare.TextWidth("abc"), 0);
  EXPECT_EQ(bare.PenPosition(), (TPointF{3, 3}));
  bare.UnClipRectangle();
}

// Canvas state: blending, clipping, projection in 2D, entities, front
// plane, buffered display, reset, view options and the unit helpers.
#include <gtest/gtest.h>

#include <functional>

#include "canvas_fixture.h"

using namespace sextant;
using sextant::testing::CanvasTest;

using CanvasState = CanvasTest;

TEST_F(CanvasState, BlendingNestsMultiplicatively) {
  struct Case {
    int Outer, Inner, Expected;
  } cases[] = {{50, 50, 75}, {0, 30, 30}, {20, 0, 20}, {100, 10, 100}, {10, 10, 19}};
  for (const Case& c : cases) {
    Canvas.BeginBlending({}, static_cast<std::uint8_t>(c.Outer));
    EXPECT_EQ(Canvas.BeginBlending({}, static_cast<std::uint8_t>(c.Inner)), nullptr);
    EXPECT_EQ(Canvas.Transparency(), c.Expected) << c.Outer << " in " << c.Inner;
    Canvas.EndBlending(nullptr);
    EXPECT_EQ(Canvas.Transparency(), c.Outer);
    Canvas.EndBlending(nullptr);
    EXPECT_EQ(Canvas.Transparency(), 0);
  }
  Canvas.EndBlending(nullptr);  // nothing saved: nothing happens
  EXPECT_EQ(Canvas.Transparency(), 0);

  Canvas.BeginBlending({}, 50);
  Canvas.BeginBlending({}, 50);
  Canvas.MoveTo(0, 0);
  Canvas.LineTo(1, 1);
  EXPECT_FLOAT_EQ(Rec.Last(rkDrawLine)->Opacity, 0.25f);
  Canvas.EndBlending(nullptr);
  Canvas.EndBlending(nullptr);
}

TEST_F(CanvasState, ClipAndUnclip) {
  Canvas.ClipRectangle({10, 10, 100, 100});
  EXPECT_EQ(Rec.Kinds(), (std::vector<TRecordKind>{rkSaveState, rkIntersectClip}));
  EXPECT_EQ(Rec.ClipRect(), (TRectF{10, 10, 100, 100}));
  Canvas.UnClipRectangle();
  EXPECT_FALSE(Rec.ClipRect().has_value());
  EXPECT_EQ(Rec.Last(rkRestoreState)->State, Rec.Last(rkSaveState)->State);

  Rec.ClearOps();
  Canvas.UnClipRectangle();  // no saved state
  EXPECT_TRUE(Rec.Ops().empty());
}

TEST_F(CanvasState, ClipsDoNotNest) {
  Canvas.ClipRectangle({0, 0, 100, 100});
  Canvas.ClipRectangle({50, 50, 200, 200});
  EXPECT_EQ(Rec.ClipRect(), (TRectF{50, 50, 100, 100}));
  Canvas.UnClipRectangle();
  EXPECT_EQ(Rec.ClipRect(), (TRectF{0, 0, 100, 100}));  // the first clip stays
  Canvas.UnClipRectangle();
  EXPECT_EQ(Rec.ClipRect(), (TRectF{0, 0, 100, 100}));
}

TEST_F(CanvasState, ClipFormsAllClipRectangles) {
  Canvas.ClipCube({10, 20, 110, 220}, 0, 5);
  EXPECT_EQ(Rec.Last(rkIntersectClip)->Rect, (TRectF{11, 21, 110, 219}));
  Canvas.UnClipRectangle();
  Canvas.ClipEllipse({1, 2, 3, 4});
  EXPECT_EQ(Rec.Last(rkIntersectClip)->Rect, (TRectF{1, 2, 3, 4}));
  Canvas.UnClipRectangle();
  Canvas.ClipRectangle({1, 2, 3, 4}, 5, 5);
  EXPECT_EQ(Rec.Last(rkIntersectClip)->Rect, (TRectF{1, 2, 3, 4}));
  Canvas.UnClipRectangle();
  const TPointF pts[3] = {{5, 9}, {1, 3}, {8, 4}};
  Canvas.ClipPolygon(pts);
  EXPECT_EQ(Rec.Last(rkIntersectClip)->Rect, (TRectF{1, 3, 8, 9}));
  Canvas.UnClipRectangle();
}

TEST_F(CanvasState, ProjectionIn2D) {
  EXPECT_EQ(Canvas.Calculate3DPosition(100, 50, 30), (TPointF{100, 50}));
  EXPECT_EQ(Canvas.Calculate3DPosition(100.0f, 50.0f, 30.0f), (TPointF{100, 50}));

  TView3DOptions options;
  options.SetHorizOffset(7);
  Canvas.InitWindow(&Rec, &options, claWhite, false, {0, 0, 400, 300});
  Canvas.Projection(20, {0, 0, 400, 300}, {40, 30, 360, 270});
  EXPECT_EQ(Canvas.XCenter(), 200);
  EXPECT_EQ(Canvas.YCenter(), 150);
  EXPECT_EQ(Canvas.ZCenter(), 10);
  EXPECT_EQ(Canvas.Calculate3DPosition(100.0f, 50.0f, 30.0f), (TPointF{107, 50}));
  EXPECT_EQ(Canvas.Calculate3DPosition(TPointF{100, 50}, 30), (TPointF{107, 50}));
  EXPECT_EQ(Canvas.Calculate3DPosition(100, 50, 30), (TPointF{100, 50}));
  int x = 100, y = 50;
  Canvas.Calc3DPos(x, y, 30);
  EXPECT_EQ(x, 100);
  EXPECT_EQ(y, 50);
  Canvas.Calculate2DPosition(x, y, 30);
  EXPECT_EQ(x, 100);

  // Depth lines follow the float projection.
  Canvas.LineWithZ(0, 0, 10, 0, 3);
  EXPECT_EQ(Rec.Lines().back(), (std::pair<TPointF, TPointF>{{7, 0}, {17, 0}}));
  EXPECT_EQ(Canvas.CalcRect3D({0, 0, 10, 10}, 1), (TRectF{7, 0, 17, 10}));
}

TEST_F(CanvasState, FrontPlaneNests) {
  Canvas.InitWindow(&Rec, nullptr, claWhite, true, {0, 0, 10, 10});
  EXPECT_TRUE(Canvas.Is3D());
  Canvas.FrontPlaneBegin();
  Canvas.FrontPlaneBegin();
  EXPECT_FALSE(Canvas.Is3D());
  Canvas.FrontPlaneEnd();
  EXPECT_FALSE(Canvas.Is3D());
  Canvas.FrontPlaneEnd();
  EXPECT_TRUE(Canvas.Is3D());
  Canvas.FrontPlaneEnd();  // unbalanced: ignored
  EXPECT_TRUE(Canvas.Is3D());
}

TEST_F(CanvasState, EntitiesComposeTheirTransform) {
  Canvas.EndEntity();  // nothing open: nothing happens
  EXPECT_TRUE(Rec.Ops().empty());

  Canvas.BeginEntity("Axes");
  EXPECT_TRUE(Rec.Ops().empty());
  EXPECT_EQ(Canvas.EntityDepth(), 1u);

  TKelTransform t;
  t.Translate = {10, 20};
  t.Rotate = 90;
  t.Origin = {5, 5};
  Canvas.BeginEntity("Series", nullptr, &t);
  EXPECT_EQ(Rec.Kinds(), (std::vector<TRecordKind>{rkBeginScene, rkSetMatrix}));
  // (0, 0) -> translated (10, 20) -> turned about (5, 5) counter-clockwise.
  const TPointF p = Rec.Matrix().Map({0, 0});
  EXPECT_NEAR(p.X, 20, 1e-4);
  EXPECT_NEAR(p.Y, 0, 1e-4);
  Canvas.EndEntity();
  EXPECT_EQ(Rec.Matrix(), TKelMatrix::Identity());
  EXPECT_EQ(Rec.SceneDepth(), 0);
  Canvas.EndEntity();
  EXPECT_EQ(Canvas.EntityDepth(), 0u);

  Rec.ClearOps();
  t.Enabled = false;
  Canvas.BeginEntity("Off", nullptr, &t);
  Canvas.EndEntity();
  EXPECT_TRUE(Rec.Ops().empty());
}

TEST_F(CanvasState, ScaleAboutTheOrigin) {
  TKelTransform t;
  t.Scale = {2, 3};
  t.Origin = {10, 10};
  Canvas.BeginEntity("S", nullptr, &t);
  EXPECT_EQ(Rec.Matrix().Map({11, 11}), (TPointF{12, 13}));
  Canvas.EndEntity();
}

TEST_F(CanvasState, BufferedDisplay) {
  TRecordingCanvas screen;
  screen.SetScale(2);
  Canvas.SetUseBuffer(true);
  const TRectF r = Canvas.InitWindow(&screen, nullptr, 0x00FFFFFF, false, {5.4f, 6.6f, 105.4f, 56.6f});
  EXPECT_EQ(r, (TRectF{0, 0, 100, 50}));
  ASSERT_NE(Canvas.Bitmap(), nullptr);
  EXPECT_EQ(screen.Count(rkCreateBitmap), 1u);
  EXPECT_EQ(Canvas.Bitmap()->Width(), 200);
  EXPECT_FLOAT_EQ(Canvas.Bitmap()->BitmapScale(), 2);
  auto& bitmapCanvas = static_cast<TRecordingCanvas&>(const_cast<IHostBitmap*>(Canvas.Bitmap())->Canvas());
  EXPECT_EQ(Canvas.ReferenceCanvas(), &bitmapCanvas);
  EXPECT_EQ(bitmapCanvas.SceneDepth(), 1);
  EXPECT_EQ(static_cast<const TRecordingBitmap*>(Canvas.Bitmap())->ClearCount(), 1);  // alpha 0: cleared

  Canvas.MoveTo(0, 0);
  Canvas.LineTo(5, 5);
  EXPECT_EQ(bitmapCanvas.Count(rkDrawLine), 1u);
  EXPECT_EQ(screen.Count(rkDrawLine), 0u);

  Canvas.ShowImage(&screen, &Rec, {5.4f, 6.6f, 105.4f, 56.6f});
  EXPECT_EQ(bitmapCanvas.SceneDepth(), 0);
  ASSERT_EQ(screen.Count(rkDrawBitmap), 1u);
  const TRecordedOp& shown = *screen.Last(rkDrawBitmap);
  EXPECT_EQ(shown.Rect, (TRectF{5, 7, 105, 57}));
  EXPECT_EQ(shown.SrcRect, (TRectF{0, 0, 200, 100}));
  EXPECT_TRUE(shown.HighSpeed);
  EXPECT_FLOAT_EQ(shown.Opacity, 1);
  EXPECT_FALSE(Canvas.Dirty());
  EXPECT_EQ(Canvas.ReferenceCanvas(), &Rec);

  EXPECT_TRUE(Canvas.ReDrawBitmap());
  EXPECT_EQ(Rec.Last(rkDrawBitmap)->Rect.TopLeft(), (TPointF{0, 0}));
  Canvas.Invalidate();
  EXPECT_FALSE(Canvas.ReDrawBitmap());

  // The second paint resizes the same bitmap.
  Canvas.InitWindow(&screen, nullptr, claWhite, false, {0, 0, 10, 10});
  EXPECT_EQ(screen.Count(rkCreateBitmap), 1u);
  EXPECT_EQ(Canvas.Bitmap()->Width(), 20);
  Canvas.ShowImage(&screen, &screen, {0, 0, 10, 10});

  Canvas.SetUseBuffer(false);
  EXPECT_EQ(Canvas.Bitmap(), nullptr);
  EXPECT_EQ(Canvas.ReferenceCanvas(), nullptr);
  EXPECT_TRUE(Canvas.Dirty());
}

TEST_F(CanvasState, ShowImageWithoutBufferOnlySwitchesTheReference) {
  TRecordingCanvas other;
  Canvas.ShowImage(&Rec, &other, {0, 0, 10, 10});
  EXPECT_TRUE(Rec.Ops().empty());
  EXPECT_EQ(Canvas.ReferenceCanvas(), &other);
  EXPECT_EQ(Canvas.GetPixel(1, 1), 0xFFFFFFFFu);
  Canvas.SetPixel(1, 1, claRed);  // no buffer: nothing
}

TEST_F(CanvasState, ResetStateRestoresDefaults) {
  TKelPen p;
  p.SetColor(claRed);
  p.SetWidth(3);
  p.SetStyle(psDash);
  Canvas.AssignVisiblePen(&p);
  TKelBrush b;
  b.Gradient()->SetVisible(true);
  Canvas.AssignBrush(&b, claBlue);
  TKelFont f;
  f.SetFamily("Arial");
  f.SetSize(20);
  f.SetStyle(fsBold);
  f.SetColor(claRed);
  Canvas.AssignFont(&f);
  Canvas.SetTextAlign(14);

  Canvas.ResetState();
  EXPECT_EQ(Canvas.Pen()->Color(), claBlack);
  EXPECT_FLOAT_EQ(Canvas.Pen()->Width(), 1);
  EXPECT_EQ(Canvas.Pen()->Style(), psSolid);
  EXPECT_EQ(Canvas.Brush()->Color(), claWhite);
  EXPECT_EQ(Canvas.Brush()->Style(), THostBrushKind::Solid);
  EXPECT_FALSE(Canvas.Gradient()->Visible());
  EXPECT_EQ(Canvas.Font()->Color(), claBlack);
  EXPECT_EQ(Canvas.Font()->Style(), 0);
  EXPECT_EQ(Canvas.Font()->Family(), KelDefaultFontName());
  EXPECT_FLOAT_EQ(Canvas.Font()->Size(), static_cast<float>(KelDefaultFontSize()));
  EXPECT_EQ(Canvas.TextAlign(), 0);
  EXPECT_EQ(Rec.Stroke().Color, claBlack);
  EXPECT_FLOAT_EQ(Rec.Stroke().Thickness, 1);
  EXPECT_EQ(Rec.Stroke().Dash, THostStrokeDash::Solid);
  EXPECT_EQ(Rec.Fill().Color, claWhite);
  EXPECT_EQ(Rec.Fill().Kind, THostBrushKind::Solid);
  EXPECT_EQ(Rec.Font().Family, KelDefaultFontName());
  EXPECT_FALSE(Rec.Font().Bold);
  EXPECT_EQ(Canvas.GetBackMode(), cbmNone);
  EXPECT_EQ(Canvas.GetBackColor(), 0u);
}

TEST_F(CanvasState, CapabilitiesAndCanvasKinds) {
  EXPECT_FALSE(Canvas.GetSupportsFullRotation());
  EXPECT_FALSE(Canvas.GetSupportsXORMode());
  EXPECT_FALSE(Canvas.GetIsNoBMPGrid());
  EXPECT_TRUE(Canvas.IsAliased());
  EXPECT_TRUE(Canvas.SupportsAlpha());
  EXPECT_FALSE(Canvas.SupportsID);
  EXPECT_EQ(Canvas.Description(), "GDI");
  EXPECT_FALSE(Canvas.CanvasIsD2D());
  TRecordingCanvas gdip;
  gdip.SetClassName("TCanvasGdiplus");
  Canvas.SetCanvas(&gdip);
  EXPECT_TRUE(Canvas.CanvasIsGDIP());
  EXPECT_FALSE(Canvas.CanvasIsGPU());

  // A new host receives the current pen, brush and font.
  TKelPen pen;
  pen.SetColor(claRed);
  pen.SetWidth(3);
  Canvas.AssignVisiblePen(&pen);
  TKelFont font;
  font.SetFamily("Arial");
  Canvas.AssignFont(&font);
  TRecordingCanvas fresh;
  Canvas.SetCanvas(&fresh);
  EXPECT_EQ(fresh.Stroke().Color, claRed);
  EXPECT_FLOAT_EQ(fresh.Stroke().Thickness, 3);
  EXPECT_EQ(fresh.Font().Family, "Arial");
  EXPECT_EQ(fresh.Fill().Color, claWhite);

  ASSERT_EQ(KelCanvasClasses().size(), 1u);
  EXPECT_EQ(KelCanvasClasses()[0].ClassName, "TKelCanvas3D");
  auto made = KelCanvasClasses()[0].Create();
  ASSERT_NE(dynamic_cast<TKelCanvas3D*>(made.get()), nullptr);
}

// The host converts its state once per change: assigning the pen, brush
// or font already in force must not hand it a change.
TEST_F(CanvasState, TheHostSeesOnlyRealStateChanges) {
  TKelPen pen;
  pen.SetColor(claRed);
  TKelBrush brush;
  brush.SetColor(claBlue);
  TKelFont font;
  font.SetFamily("Arial");
  struct TCase {
    const char* Name;
    std::function<void()> Assign;
  };
  const TCase cases[] = {
      {"pen", [&] { Canvas.AssignVisiblePen(&pen); }},
      {"brush", [&] { Canvas.AssignBrush(&brush, claBlue); }},
      {"font", [&] { Canvas.AssignFont(&font); }},
      {"text colour", [&] { Canvas.TextOut(5, 5, "ab"); }},
  };
  for (const TCase& c : cases) {
    c.Assign();
    const int after = Rec.StateChanges();
    c.Assign();
    c.Assign();
    EXPECT_EQ(Rec.StateChanges(), after) << c.Name;
  }
  // A real change is handed on.
  const int before = Rec.StateChanges();
  pen.SetColor(claYellow);
  Canvas.AssignVisiblePen(&pen);
  EXPECT_EQ(Rec.StateChanges(), before + 1);
  EXPECT_EQ(Rec.Stroke().Color, claYellow);
}

TEST_F(CanvasState, MonochromeMarksDirtyAndAsksForARepaint) {
  TView3DOptions options;
  int invalidated = 0;
  options.OnInvalidate = [&](TPersistent*) { ++invalidated; };
  Canvas.InitWindow(&Rec, &options, claWhite, false, {0, 0, 10, 10});
  Canvas.ShowImage(nullptr, &Rec, {});
  Canvas.SetMonochrome(true);
  Canvas.SetMonochrome(true);
  EXPECT_EQ(invalidated, 1);
  EXPECT_TRUE(Canvas.Dirty());
}

TEST(View3DOptions, DefaultsAndEvents) {
  TView3DOptions o;
  EXPECT_EQ(o.Elevation(), 345);
  EXPECT_EQ(o.Rotation(), 345);
  EXPECT_EQ(o.FontZoom(), 100);
  EXPECT_EQ(o.PenZoom(), 100);
  EXPECT_TRUE(o.Orthogonal());
  EXPECT_EQ(o.OrthoAngle(), 45);
  EXPECT_EQ(o.Perspective(), 15);
  EXPECT_EQ(o.Zoom(), 100);
  EXPECT_EQ(o.ZoomText(), ztAuto);
  EXPECT_EQ(o.ZoomPen(), zpAuto);

  std::vector<std::string> log;
  o.OnInvalidate = [&](TPersistent*) { log.push_back("invalidate"); };
  o.OnScrolled = [&](TPersistent*) { log.push_back("scrolled"); };
  o.OnChangedZoom = [&](TPersistent* s, int z) {
    log.push_back("zoom " + std::to_string(z) + " was " +
                  std::to_string(static_cast<TView3DOptions*>(s)->Zoom()));
  };
  o.SetHorizOffset(2.5);
  EXPECT_EQ(o.HorizOffset(), 2);
  o.SetHorizOffset(2.5);
  o.SetZoom(110.5);
  o.SetTilt(3);
  EXPECT_EQ(log, (std::vector<std::string>{"scrolled", "invalidate", "zoom 110 was 100.000000",
                                           "invalidate", "invalidate"}));
}

TEST(CanvasHelpers, BoundsPathsAndPolygons) {
  EXPECT_EQ(PolygonBounds({}), TRectF{});
  const TPointF tri[3] = {{2, 8}, {6, 1}, {-1, 4}};
  EXPECT_EQ(PolygonBounds(tri), (TRectF{-1, 1, 6, 8}));
  EXPECT_EQ(RectFromTriangle(tri[0], tri[1], tri[2]), (TRectF{-1, 1, 6, 8}));
  EXPECT_TRUE(PointsPath({}, true).IsEmpty());
  const THostPath open = PointsPath(tri, false);
  ASSERT_EQ(open.Commands().size(), 3u);
  EXPECT_EQ(open.Commands()[0].Op, THostPathCommand::MoveTo);
  EXPECT_EQ(PointsPath(tri, true).Commands().back().Op, THostPathCommand::Close);

  const TPointF square[4] = {{0, 0}, {10, 0}, {10, 10}, {0, 10}};
  EXPECT_TRUE(PointInPolygon({5, 5}, square));
  EXPECT_FALSE(PointInPolygon({15, 5}, square));
  EXPECT_FALSE(PointInPolygon({5, 5}, {}));
  const std::array<TPointF, 4> quad{TPointF{0, 0}, TPointF{10, 0}, TPointF{10, 10}, TPointF{0, 10}};
  EXPECT_EQ(KelCull(quad), KelCull(quad[0], quad[1], quad[2]));
}

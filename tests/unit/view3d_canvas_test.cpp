// The canvas' orthogonal 3D projection: known points for the view options
// (angle, zoom about the box centre, offsets, angles outside 0 .. 180, a
// view that is not orthogonal), the integer form and its inverse, the
// front plane, and the depth primitives that project (ellipses, clip).
#include <gtest/gtest.h>

#include <cmath>

#include "canvas_fixture.h"

using namespace sextant;
using sextant::testing::CanvasTest;

namespace {

// The plot of a 400 x 300 window: centre (200, 150); depth 20, centre 10.
constexpr TRectF kBounds{0, 0, 400, 300};
constexpr TRectF kPlot{40, 30, 360, 270};
constexpr int kDepth = 20;

class View3DCanvas : public CanvasTest {
 protected:
  void Aim(bool Is3D) {
    Canvas.InitWindow(&Rec, &Options, claWhite, Is3D, kBounds);
    Canvas.Projection(kDepth, kBounds, kPlot);
  }
  TView3DOptions Options;
};

TEST_F(View3DCanvas, KnownPointsOfTheOrthogonalView) {
  const double rise60 = std::tan(60 * M_PI / 180);
  const struct {
    const char* name;
    int angle;
    double zoom, horiz, vert;
    TPointF at;  // projection of (100, 50, 30)
  } cases[] = {
      {"45 degrees: right and up by the depth", 45, 100, 0, 0, {130, 20}},
      {"135 degrees: to the left", 135, 100, 0, 0, {70, 20}},
      {"0 degrees: sideways only", 0, 100, 0, 0, {130, 50}},
      {"90 degrees: straight up, steeply", 90, 100, 0, 0, {130, static_cast<float>(50 - 30 * std::tan(M_PI / 2))}},
      {"60 degrees: rises tan(60) per pixel", 60, 100, 0, 0, {130, static_cast<float>(50 - 30 * rise60)}},
      {"offsets move every point", 45, 100, 7, -3, {137, 17}},
      {"zoom 50 about the box centre", 45, 50, 0, 0, {170, 80}},
      {"270 is taken as 180", 270, 100, 0, 0, {70, 50}},
      {"-30 is taken as 0", -30, 100, 0, 0, {130, 50}},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    Options.SetOrthoAngle(c.angle);
    Options.SetZoom(c.zoom);
    Options.SetHorizOffset(c.horiz);
    Options.SetVertOffset(c.vert);
    Aim(true);
    EXPECT_TRUE(Canvas.IsOrthogonal());
    const TPointF p = Canvas.Calculate3DPosition(100.0f, 50.0f, 30.0f);
    EXPECT_FLOAT_EQ(p.X, c.at.X);
    EXPECT_FLOAT_EQ(p.Y, c.at.Y);
    // The centre of the box stays where it is (plus the offsets) at any zoom.
    const TPointF centre = Canvas.Calculate3DPosition(200.0f, 150.0f, 10.0f);
    const TPointF centreAtFull = {static_cast<float>(200 + 10 * Canvas.OrthoX() + c.horiz),
                                  static_cast<float>(150 - 10 * Canvas.OrthoY() + c.vert)};
    EXPECT_FLOAT_EQ(centre.X, centreAtFull.X);
    EXPECT_FLOAT_EQ(centre.Y, centreAtFull.Y);
  }
}

TEST_F(View3DCanvas, ViewThatIsNotOrthogonalHasNoDepthShift) {
  Options.SetOrthogonal(false);
  Aim(true);
  EXPECT_FALSE(Canvas.IsOrthogonal());
  EXPECT_EQ(Canvas.Calculate3DPosition(100.0f, 50.0f, 30.0f), (TPointF{100, 50}));
}

TEST_F(View3DCanvas, IntegerFormRoundsAndTheInverseFindsThePlanePoint) {
  Options.SetOrthoAngle(60);
  Options.SetZoom(150);
  Options.SetHorizOffset(4);
  Aim(true);
  for (const TPoint3D p : {TPoint3D{100, 50, 30}, TPoint3D{0, 0, 0}, TPoint3D{359, 269, 20},
                           TPoint3D{-40, 400, 7}}) {
    SCOPED_TRACE(std::to_string(p.X) + "," + std::to_string(p.Y) + "," + std::to_string(p.Z));
    const TPointF f = Canvas.Calculate3DPosition(static_cast<float>(p.X), static_cast<float>(p.Y),
                                                 static_cast<float>(p.Z));
    int x = p.X, y = p.Y;
    Canvas.Calc3DPos(x, y, p.Z);
    EXPECT_EQ(x, KelRound(f.X));
    EXPECT_EQ(y, KelRound(f.Y));
    // Back onto the plane at depth Z: within the rounding of a pixel
    // zoomed by 1.5.
    Canvas.Calculate2DPosition(x, y, p.Z);
    EXPECT_LE(std::abs(x - p.X), 1);
    EXPECT_LE(std::abs(y - p.Y), 1);
  }
}

TEST_F(View3DCanvas, FrontPlaneDrawsWithoutDepth) {
  Aim(true);
  Canvas.FrontPlaneBegin();
  EXPECT_EQ(Canvas.Calculate3DPosition(100.0f, 50.0f, 30.0f), (TPointF{100, 50}));
  int x = 100, y = 50;
  Canvas.Calc3DPos(x, y, 30);
  EXPECT_EQ(x, 100);
  EXPECT_EQ(y, 50);
  Canvas.FrontPlaneEnd();
  EXPECT_EQ(Canvas.Calculate3DPosition(100.0f, 50.0f, 30.0f), (TPointF{130, 20}));
}

TEST_F(View3DCanvas, DepthPrimitivesDrawProjected) {
  Aim(true);
  Rec.ClearOps();
  // A circle facing the viewer stays a circle, moved by its depth.
  Canvas.EllipseWithZ(10, 10, 20, 20, 5);
  ASSERT_NE(Rec.Last(rkFillEllipse), nullptr);
  EXPECT_EQ(Rec.Last(rkFillEllipse)->Rect, (TRectF{15, 5, 25, 15}));
  // Text at depth moves to its projected, rounded position.
  Canvas.TextOut3D(10, 40, 3, "A");
  ASSERT_NE(Rec.Last(rkRenderLayout), nullptr);
  EXPECT_EQ(Rec.Last(rkRenderLayout)->Rect.TopLeft(), (TPointF{13, 37}));
  // A plane along the depth (x = 10) is a parallelogram.
  Canvas.RectangleZ(10, 40, 60, 0, 20);
  const TRecordedOp* plane = Rec.Last(rkFillPath);
  ASSERT_NE(plane, nullptr);
  EXPECT_EQ(plane->Path.Bounds(), (TRectF{10, 20, 30, 60}));

  // The clip of a box is the bounding rectangle of its projection, inset
  // like the flat clip.
  Canvas.ClipCube({40, 30, 360, 270}, 0, 20);
  ASSERT_NE(Rec.Last(rkIntersectClip), nullptr);
  EXPECT_EQ(Rec.Last(rkIntersectClip)->Rect, (TRectF{41, 11, 380, 269}));
  Canvas.UnClipRectangle();
}

TEST(View3DOptionsRatio, RiseOfOnePixelOfDepth) {
  const struct {
    int angle;
    double ratio;
    int side;
  } cases[] = {{45, 1, 1}, {0, 0, 1}, {30, std::tan(M_PI / 6), 1}, {135, 1, -1},
               {180, 0, -1}, {200, 0, -1}, {-10, 0, 1}};
  for (const auto& c : cases) {
    TView3DOptions o;
    o.SetOrthoAngle(c.angle);
    EXPECT_NEAR(o.OrthoRatio(), c.ratio, 1e-12) << c.angle;
    EXPECT_EQ(o.OrthoSide(), c.side) << c.angle;
  }
  TView3DOptions steep;
  steep.SetOrthoAngle(90);
  EXPECT_TRUE(std::isfinite(steep.OrthoRatio()));
  EXPECT_GT(steep.OrthoRatio(), 1e15);
}

}  // namespace

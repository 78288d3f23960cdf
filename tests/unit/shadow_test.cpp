// Shadows and embosses: settings, offset rectangles, turning, and drawing
// through the canvas' SmoothShadow.
#include <gtest/gtest.h>

#include <cmath>

#include "canvas/shadow.h"
#include "canvas_fixture.h"

using namespace sextant;
using sextant::testing::CanvasTest;

TEST(Shadow, DefaultsAndSize) {
  TKelShadow s;
  EXPECT_FALSE(s.Clip());
  EXPECT_EQ(s.Color(), claSilver);
  EXPECT_EQ(s.Direction(), sdRightBottom);
  EXPECT_EQ(s.HorizSize(), 0);
  EXPECT_EQ(s.VertSize(), 0);
  EXPECT_TRUE(s.Smooth());
  EXPECT_EQ(s.Transparency(), 50);
  EXPECT_TRUE(s.Visible());
  EXPECT_EQ(s.BlurSize(), 4);
  EXPECT_FALSE(s.ShouldDraw());  // visible but without a size

  s.SetHorizSize(-5);
  s.SetVertSize(3);
  EXPECT_EQ(s.Size(), 5);
  EXPECT_TRUE(s.ShouldDraw());
  s.SetSize(2);
  EXPECT_EQ(s.HorizSize(), 2);
  EXPECT_EQ(s.VertSize(), 2);
  s.SetVisible(false);
  EXPECT_FALSE(s.ShouldDraw());

  TKelEmboss e;
  EXPECT_FALSE(e.Visible());
  EXPECT_FALSE(e.DefaultVisible());
  EXPECT_EQ(e.Direction(), sdLeftTop);
}

TEST(Shadow, InitValuesSetsDefaultsSilently) {
  int count = 0;
  TKelShadow s([&](TPersistent*) { ++count; });
  s.InitValues(false, 0xFF808080, 3);
  EXPECT_EQ(count, 0);
  EXPECT_FALSE(s.Visible());
  EXPECT_FALSE(s.DefaultVisible());
  EXPECT_EQ(s.Color(), 0xFF808080u);
  EXPECT_EQ(s.DefaultColor(), 0xFF808080u);
  EXPECT_EQ(s.Size(), 3);
  EXPECT_EQ(s.DefaultSize(), 3);
  s.SetColor(0xFF808080);
  EXPECT_EQ(count, 0);
  s.SetColor(claRed);
  EXPECT_EQ(count, 1);
}

TEST(Shadow, AssignSkipsClip) {
  TKelShadow src;
  src.SetClip(true);
  src.SetColor(claRed);
  src.SetDirection(sdCenter);
  src.SetHorizSize(4);
  src.SetVertSize(6);
  src.SetSmooth(false);
  src.SetSmoothBlur(2);
  src.SetTransparency(10);
  src.SetVisible(false);
  TKelShadow dst;
  dst.Assign(&src);
  EXPECT_FALSE(dst.Clip());
  EXPECT_EQ(dst.Color(), claRed);
  EXPECT_EQ(dst.Direction(), sdCenter);
  EXPECT_EQ(dst.HorizSize(), 4);
  EXPECT_EQ(dst.VertSize(), 6);
  EXPECT_FALSE(dst.Smooth());
  EXPECT_EQ(dst.SmoothBlur(), 2);
  EXPECT_EQ(dst.Transparency(), 10);
  EXPECT_FALSE(dst.Visible());
}

TEST(Shadow, OffsetRectangleByDirection) {
  const TRectF r{10, 20, 30, 40};
  struct Case {
    TShadowDirection Dir;
    int H, V;
    TRectF Expected;
  } cases[] = {
      {sdLeftTop, 3, 2, {7, 18, 27, 38}},     {sdLeftBottom, 3, 2, {7, 22, 27, 42}},
      {sdRightTop, 3, 2, {13, 18, 33, 38}},   {sdRightBottom, 3, 2, {13, 22, 33, 42}},
      {sdCenter, -3, 2, {7, 18, 33, 42}},     {sdRightBottom, -3, -2, {7, 18, 27, 38}},
  };
  for (const Case& c : cases) {
    TKelShadow s;
    s.SetDirection(c.Dir);
    s.SetHorizSize(c.H);
    s.SetVertSize(c.V);
    EXPECT_EQ(s.OffsetRectangle(r), c.Expected) << int(c.Dir) << " " << c.H << "," << c.V;
  }
}

TEST(Shadow, RotateRectangleTurnsCornersAboutTheCentre) {
  const auto p = TKelShadow::RotateRectangle({0, 0, 4, 2}, 90);
  // Centre (2, 1); counter-clockwise on screen.
  const TPointF expected[4] = {{1, 3}, {1, -1}, {3, -1}, {3, 3}};
  for (int i = 0; i < 4; ++i) {
    EXPECT_NEAR(p[i].X, expected[i].X, 1e-5) << i;
    EXPECT_NEAR(p[i].Y, expected[i].Y, 1e-5) << i;
  }
  const auto same = TKelShadow::RotateRectangle({0, 0, 4, 2}, 0);
  EXPECT_EQ(same[2], (TPointF{4, 2}));
}

using ShadowDraw = CanvasTest;

TEST_F(ShadowDraw, NothingWithoutColourOrSize) {
  TKelShadow noColor;
  noColor.SetSize(3);
  noColor.SetColor(0);
  noColor.Draw(Canvas, {0, 0, 10, 10});
  TKelShadow noSize;
  noSize.Draw(Canvas, {0, 0, 10, 10});
  noSize.DrawEllipse(Canvas, {0, 0, 10, 10});
  const TPointF pts[3] = {{0, 0}, {5, 0}, {0, 5}};
  noSize.Draw(Canvas, pts);
  EXPECT_EQ(Rec.Count(rkFillPath), 0u);
  EXPECT_EQ(Canvas.Transparency(), 0);
}

TEST_F(ShadowDraw, RectangleShadowFillsWithShadowGradientAndBlends) {
  TKelShadow s;
  s.SetSize(3);
  s.SetColor(0xFF404040);
  Canvas.Pen()->SetColor(claRed);
  Canvas.Pen()->SetStyle(psDash);
  s.Draw(Canvas, {10, 10, 50, 30});
  ASSERT_EQ(Rec.Count(rkFillPath), 1u);
  const TRecordedOp& op = *Rec.Last(rkFillPath);
  EXPECT_FLOAT_EQ(op.Opacity, 0.5f);  // transparency 50
  EXPECT_EQ(op.Fill.Kind, THostBrushKind::Gradient);
  ASSERT_EQ(op.Fill.Gradient.Points.size(), 3u);
  EXPECT_EQ(op.Fill.Gradient.Points[0].Color, 0x00404040u);
  EXPECT_FLOAT_EQ(op.Fill.Gradient.Points[1].Offset, 0.1f);
  EXPECT_EQ(op.Fill.Gradient.Points[2].Color, 0xFF404040u);
  // Round size 0: the default rounded rectangle of radius 4, offset by (3, 3).
  ASSERT_EQ(op.Path.Commands().size(), 1u);
  const THostPathCommand& cmd = op.Path.Commands()[0];
  EXPECT_EQ(cmd.Op, THostPathCommand::RoundRect);
  EXPECT_EQ(cmd.A, (TPointF{13, 13}));
  EXPECT_EQ(cmd.B, (TPointF{53, 33}));
  EXPECT_EQ(cmd.C, (TPointF{4, 4}));
  // Afterwards: opaque again, host fill solid, pen as it was.
  EXPECT_EQ(Canvas.Transparency(), 0);
  EXPECT_EQ(Rec.Fill().Kind, THostBrushKind::Solid);
  EXPECT_EQ(Canvas.Pen()->Color(), claRed);
  EXPECT_EQ(Canvas.Pen()->Style(), psDash);
}

TEST_F(ShadowDraw, WorkingTransparencyFallsBackToTheCanvas) {
  TKelShadow s;
  s.SetSize(2);
  s.SetTransparency(0);
  Canvas.BeginBlending({}, 40);
  s.Draw(Canvas, {0, 0, 10, 10}, 0, 5);
  Canvas.EndBlending(nullptr);
  // 40 inside 40 gives 64.
  EXPECT_NEAR(Rec.Last(rkFillPath)->Opacity, 0.36f, 1e-6);
  EXPECT_EQ(Rec.Last(rkFillPath)->Path.Commands()[0].C, (TPointF{5, 5}));

  TKelShadow opaque;
  opaque.SetSize(2);
  opaque.SetTransparency(0);
  opaque.Draw(Canvas, {0, 0, 10, 10});
  EXPECT_FLOAT_EQ(Rec.Last(rkFillPath)->Opacity, 1.0f);
}

TEST_F(ShadowDraw, TurnedRectangleIsAFourPointPolygon) {
  TKelShadow s;
  s.SetSize(2);
  s.Draw(Canvas, {0, 0, 4, 2}, 90);
  const auto& cmds = Rec.Last(rkFillPath)->Path.Commands();
  ASSERT_EQ(cmds.size(), 5u);
  EXPECT_EQ(cmds[0].Op, THostPathCommand::MoveTo);
  EXPECT_EQ(cmds[4].Op, THostPathCommand::Close);
  EXPECT_NEAR(cmds[0].A.X, 3, 1e-5);  // (1, 3) moved by (2, 2)
  EXPECT_NEAR(cmds[0].A.Y, 5, 1e-5);
}

TEST_F(ShadowDraw, PolygonShadowMovesByTheSizesWhateverTheDirection) {
  TKelShadow s;
  s.SetDirection(sdLeftTop);
  s.SetHorizSize(3);
  s.SetVertSize(4);
  const TPointF pts[3] = {{0, 0}, {10, 0}, {0, 10}};
  s.Draw(Canvas, pts);
  const auto& cmds = Rec.Last(rkFillPath)->Path.Commands();
  ASSERT_EQ(cmds.size(), 4u);
  EXPECT_EQ(cmds[0].A, (TPointF{3, 4}));
  EXPECT_EQ(cmds[1].A, (TPointF{13, 4}));
  EXPECT_EQ(cmds[2].A, (TPointF{3, 14}));
}

TEST_F(ShadowDraw, EllipseAndPieShadows) {
  TKelShadow s;
  s.SetSize(1);
  s.DrawEllipse(Canvas, {0, 0, 10, 10});
  ASSERT_EQ(Rec.Last(rkFillPath)->Path.Commands().size(), 1u);
  EXPECT_EQ(Rec.Last(rkFillPath)->Path.Commands()[0].Op, THostPathCommand::Ellipse);
  EXPECT_EQ(Rec.Last(rkFillPath)->Path.Commands()[0].A, (TPointF{1, 1}));

  s.DrawEllipse(Canvas, {0, 0, 10, 10}, 0, 90);
  bool hasArc = false;
  for (const auto& c : Rec.Last(rkFillPath)->Path.Commands()) hasArc |= c.Op == THostPathCommand::Arc;
  EXPECT_TRUE(hasArc);
}

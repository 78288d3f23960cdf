// The Qt host canvas, checked on the pixels of a QImage the way a person
// would look at them: colours, crisp one-pixel lines and frames, smooth
// ellipses, readable text, clipping, opacity, gradients and bitmaps.
#include "platform/qt/qt_canvas.h"
#include "platform/qt/qt_conversions_p.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

#include <cmath>
#include <vector>

#include "qt_test_app.h"

namespace sextant {
namespace {

constexpr TColor kWhite = 0xFFFFFFFF;
constexpr TColor kRed = 0xFFFF0000;
constexpr TColor kBlue = 0xFF0000FF;
constexpr TColor kBlack = 0xFF000000;

class QtCanvasTest : public ::testing::Test {
 protected:
  QtCanvasTest() : FImage(100, 80, QImage::Format_ARGB32_Premultiplied) {
    FImage.fill(Qt::white);
    FPainter.begin(&FImage);
    FCanvas = std::make_unique<TQtHostCanvas>(FPainter);
    EXPECT_TRUE(FCanvas->BeginScene());
  }
  ~QtCanvasTest() override { Finish(); }

  // Ends drawing so that the pixels can be read.
  void Finish() {
    if (!FCanvas) return;
    FCanvas->EndScene();
    FCanvas.reset();
    FPainter.end();
  }
  TColor Px(int x, int y) const { return FImage.pixelColor(x, y).rgba(); }
  int Red(int x, int y) const { return FImage.pixelColor(x, y).red(); }

  void SolidFill(TColor c) {
    ChangeFill(*FCanvas, [&](THostFill& f) {
      f.Kind = THostBrushKind::Solid;
      f.Color = c;
    });
  }
  void SolidStroke(TColor c, float thickness = 1) {
    ChangeStroke(*FCanvas, [&](THostStroke& s) {
      s.Kind = THostBrushKind::Solid;
      s.Color = c;
      s.Thickness = thickness;
    });
  }

  QImage FImage;
  QPainter FPainter;
  std::unique_ptr<TQtHostCanvas> FCanvas;
};

TEST_F(QtCanvasTest, IdentifiesItselfAndItsScale) {
  EXPECT_EQ(FCanvas->ClassName(), "TQtCanvas");
  EXPECT_FLOAT_EQ(FCanvas->Scale(), 1);
}

TEST_F(QtCanvasTest, FillRectCoversExactlyItsPixels) {
  SolidFill(kRed);
  FCanvas->FillRect({10, 10, 30, 20}, 0, 0, hcAll, 1, THostCornerType::Round);
  Finish();
  EXPECT_EQ(Px(10, 10), kRed);
  EXPECT_EQ(Px(29, 19), kRed);
  EXPECT_EQ(Px(20, 15), kRed);
  EXPECT_EQ(Px(9, 15), kWhite);
  EXPECT_EQ(Px(30, 15), kWhite);
  EXPECT_EQ(Px(20, 9), kWhite);
  EXPECT_EQ(Px(20, 20), kWhite);
}

TEST_F(QtCanvasTest, OnePixelVerticalLineCoversExactlyOneColumn) {
  SolidStroke(kBlack);
  FCanvas->DrawLine({10, 5}, {10, 40}, 1);
  Finish();
  for (int y = 5; y <= 40; ++y) {
    EXPECT_EQ(Px(10, y), kBlack) << "y " << y;
    EXPECT_EQ(Px(9, y), kWhite) << "y " << y;
    EXPECT_EQ(Px(11, y), kWhite) << "y " << y;
  }
  EXPECT_EQ(Px(10, 3), kWhite);
  EXPECT_EQ(Px(10, 42), kWhite);
}

TEST_F(QtCanvasTest, OnePixelHorizontalLineCoversExactlyOneRow) {
  SolidStroke(kBlack);
  ChangeStroke(*FCanvas, [&](THostStroke& s) { s.Cap = THostStrokeCap::Flat; });
  FCanvas->DrawLine({5, 20}, {60, 20}, 1);
  Finish();
  for (int x = 6; x <= 58; ++x) {
    EXPECT_EQ(Px(x, 20), kBlack) << "x " << x;
    EXPECT_EQ(Px(x, 19), kWhite) << "x " << x;
    EXPECT_EQ(Px(x, 21), kWhite) << "x " << x;
  }
}

TEST_F(QtCanvasTest, ThreePixelLineIsCentredOnItsCoordinate) {
  SolidStroke(kBlack, 3);
  FCanvas->DrawLine({20, 10}, {20, 50}, 1);
  Finish();
  EXPECT_EQ(Px(19, 30), kBlack);
  EXPECT_EQ(Px(20, 30), kBlack);
  EXPECT_EQ(Px(21, 30), kBlack);
  EXPECT_EQ(Px(18, 30), kWhite);
  EXPECT_EQ(Px(22, 30), kWhite);
}

TEST_F(QtCanvasTest, OutlinedRectangleHasCrispEdgesAndAnEmptyInside) {
  SolidStroke(kBlack);
  FCanvas->DrawRect({10, 10, 40, 30}, 0, 0, hcAll, 1, THostCornerType::Round);
  Finish();
  for (int y = 10; y <= 30; ++y) {
    EXPECT_EQ(Px(10, y), kBlack) << y;
    EXPECT_EQ(Px(40, y), kBlack) << y;
    EXPECT_EQ(Px(9, y), kWhite) << y;
    if (y > 10 && y < 30) {
      EXPECT_EQ(Px(11, y), kWhite) << y;
      EXPECT_EQ(Px(39, y), kWhite) << y;
    }
    EXPECT_EQ(Px(41, y), kWhite) << y;
  }
  for (int x = 10; x <= 40; ++x) {
    EXPECT_EQ(Px(x, 10), kBlack) << x;
    EXPECT_EQ(Px(x, 30), kBlack) << x;
    EXPECT_EQ(Px(x, 9), kWhite) << x;
    EXPECT_EQ(Px(x, 31), kWhite) << x;
  }
  EXPECT_EQ(Px(25, 20), kWhite);
  EXPECT_EQ(Px(11, 11), kWhite);
}

// The raised bevel of a panel: a white polyline on the top and left edges and
// a grey one on the right and bottom edges of (0, 0, 60, 40), drawn as the
// engine's 3D frame draws it.
TEST_F(QtCanvasTest, BevelPolylinesLandOnTheEdgePixels) {
  SolidFill(0xFFF0F0F0);
  FCanvas->FillRect({0, 0, 60, 40}, 0, 0, hcAll, 1, THostCornerType::Round);
  const TPointF topLeft[] = {{0, 39}, {0, 0}, {59, 0}};
  const TPointF bottomRight[] = {{59, 0}, {59, 39}, {-1, 39}};
  SolidStroke(kWhite);
  FCanvas->DrawPolyline(topLeft, 3, 1);
  SolidStroke(0xFFA0A0A0);
  FCanvas->DrawPolyline(bottomRight, 3, 1);
  Finish();
  for (int y = 0; y < 39; ++y) EXPECT_EQ(Px(0, y), kWhite) << y;
  for (int x = 0; x < 59; ++x) EXPECT_EQ(Px(x, 0), kWhite) << x;
  for (int y = 0; y <= 39; ++y) EXPECT_EQ(Px(59, y), 0xFFA0A0A0u) << y;
  for (int x = 0; x <= 59; ++x) EXPECT_EQ(Px(x, 39), 0xFFA0A0A0u) << x;
  EXPECT_EQ(Px(1, 1), 0xFFF0F0F0u);
  EXPECT_EQ(Px(58, 38), 0xFFF0F0F0u);
  EXPECT_EQ(Px(60, 20), kWhite);  // nothing beyond the frame
  EXPECT_EQ(Px(30, 40), kWhite);
}

TEST_F(QtCanvasTest, PolylineIgnoresThicknessAndDashes) {
  SolidStroke(kBlack, 5);
  ChangeStroke(*FCanvas, [&](THostStroke& s) { s.Dash = THostStrokeDash::Dot; });
  const TPointF pts[] = {{10, 10}, {50, 10}};
  FCanvas->DrawPolyline(pts, 2, 1);
  Finish();
  for (int x = 10; x <= 50; ++x) EXPECT_EQ(Px(x, 10), kBlack) << x;
  EXPECT_EQ(Px(30, 9), kWhite);
  EXPECT_EQ(Px(30, 11), kWhite);
}

TEST_F(QtCanvasTest, EllipseIsFilledAndAntialiased) {
  SolidFill(kBlue);
  FCanvas->FillEllipse({10, 10, 70, 70}, 1);
  Finish();
  EXPECT_EQ(Px(40, 40), kBlue);
  EXPECT_EQ(Px(11, 11), kWhite);  // outside the circle, inside its box
  EXPECT_EQ(Px(69, 69), kWhite);
  // Smooth edge: some pixels on the rim are between white and blue.
  int blended = 0;
  for (int y = 10; y < 70; ++y)
    for (int x = 10; x < 70; ++x) {
      const int r = Red(x, y);
      if (r > 20 && r < 235) ++blended;
    }
  EXPECT_GT(blended, 40);
}

TEST_F(QtCanvasTest, DiagonalStrokesAreAntialiased) {
  SolidStroke(kBlack);
  FCanvas->DrawLine({10, 10}, {80, 40}, 1);
  Finish();
  int grey = 0;
  for (int y = 8; y < 43; ++y)
    for (int x = 8; x < 83; ++x) {
      const int r = Red(x, y);
      if (r > 20 && r < 235) ++grey;
    }
  EXPECT_GT(grey, 30);
}

TEST_F(QtCanvasTest, ClipRestrictsDrawingUntilRestored) {
  const auto state = FCanvas->SaveState();
  FCanvas->IntersectClipRect({20, 20, 40, 30});
  SolidFill(kRed);
  FCanvas->FillRect({0, 0, 100, 80}, 0, 0, hcAll, 1, THostCornerType::Round);
  FCanvas->RestoreState(state);
  SolidFill(kBlue);
  FCanvas->FillRect({0, 60, 100, 80}, 0, 0, hcAll, 1, THostCornerType::Round);
  Finish();
  EXPECT_EQ(Px(20, 20), kRed);
  EXPECT_EQ(Px(39, 29), kRed);
  EXPECT_EQ(Px(19, 25), kWhite);
  EXPECT_EQ(Px(40, 25), kWhite);
  EXPECT_EQ(Px(30, 30), kWhite);
  EXPECT_EQ(Px(5, 70), kBlue);  // outside the old clip: the clip is gone
}

TEST_F(QtCanvasTest, RestoringAStateDiscardsTheStatesSavedAfterIt) {
  const auto outer = FCanvas->SaveState();
  FCanvas->IntersectClipRect({0, 0, 50, 80});
  const auto inner = FCanvas->SaveState();
  FCanvas->IntersectClipRect({0, 0, 10, 10});
  FCanvas->RestoreState(outer);  // both clips gone
  FCanvas->RestoreState(inner);  // already discarded: nothing happens
  FCanvas->RestoreState(12345);  // unknown: nothing happens
  SolidFill(kRed);
  FCanvas->FillRect({0, 0, 100, 80}, 0, 0, hcAll, 1, THostCornerType::Round);
  Finish();
  EXPECT_EQ(Px(90, 70), kRed);
}

TEST_F(QtCanvasTest, HandlesOfAnotherCanvasRestoreNothing) {
  QImage other(10, 10, QImage::Format_ARGB32_Premultiplied);
  QPainter otherPainter(&other);
  TQtHostCanvas otherCanvas(otherPainter);
  const auto foreign = otherCanvas.SaveState();
  const auto own = FCanvas->SaveState();
  EXPECT_NE(foreign, own);
  FCanvas->IntersectClipRect({0, 0, 5, 5});
  FCanvas->RestoreState(foreign);  // not ours: the clip stays
  SolidFill(kRed);
  FCanvas->FillRect({0, 0, 100, 80}, 0, 0, hcAll, 1, THostCornerType::Round);
  FCanvas->RestoreState(own);
  Finish();
  EXPECT_EQ(Px(2, 2), kRed);
  EXPECT_EQ(Px(50, 50), kWhite);
}

TEST_F(QtCanvasTest, RestoreBringsBackTheMatrix) {
  const auto state = FCanvas->SaveState();
  FCanvas->SetMatrix(TKelMatrix::Translation(50, 0));
  EXPECT_EQ(FCanvas->Matrix(), TKelMatrix::Translation(50, 0));
  SolidFill(kRed);
  FCanvas->FillRect({0, 0, 10, 10}, 0, 0, hcAll, 1, THostCornerType::Round);
  FCanvas->RestoreState(state);
  EXPECT_EQ(FCanvas->Matrix(), TKelMatrix::Identity());
  SolidFill(kBlue);
  FCanvas->FillRect({0, 0, 10, 10}, 0, 0, hcAll, 1, THostCornerType::Round);
  Finish();
  EXPECT_EQ(Px(55, 5), kRed);
  EXPECT_EQ(Px(5, 5), kBlue);
}

TEST_F(QtCanvasTest, OpacityBlendsWithWhatIsBelow) {
  SolidFill(kBlack);
  FCanvas->FillRect({0, 0, 20, 20}, 0, 0, hcAll, 0.5f, THostCornerType::Round);
  SolidFill(0x80000000);  // half-transparent colour at full opacity
  FCanvas->FillRect({30, 0, 50, 20}, 0, 0, hcAll, 1, THostCornerType::Round);
  SolidFill(kBlack);
  FCanvas->FillRect({60, 0, 80, 20}, 0, 0, hcAll, 0, THostCornerType::Round);
  Finish();
  EXPECT_NEAR(Red(10, 10), 128, 2);
  EXPECT_NEAR(Red(40, 10), 128, 2);
  EXPECT_EQ(Px(70, 10), kWhite);
}

TEST_F(QtCanvasTest, LinearGradientFollowsTheShapeBounds) {
  ChangeFill(*FCanvas, [&](THostFill& f) {
    f.Kind = THostBrushKind::Gradient;
    f.Gradient.Points = {{kRed, 0}, {kBlue, 1}};
    f.Gradient.StartPosition = {0, 0.5f};
    f.Gradient.StopPosition = {1, 0.5f};
  });
  FCanvas->FillRect({0, 0, 40, 10}, 0, 0, hcAll, 1, THostCornerType::Round);
  FCanvas->FillRect({50, 20, 90, 30}, 0, 0, hcAll, 1, THostCornerType::Round);
  Finish();
  for (int dx : {0, 50}) {
    const int dy = dx ? 20 : 0;
    EXPECT_GT(FImage.pixelColor(dx + 0, dy + 5).red(), 230) << dx;
    EXPECT_LT(FImage.pixelColor(dx + 0, dy + 5).blue(), 25) << dx;
    EXPECT_GT(FImage.pixelColor(dx + 39, dy + 5).blue(), 230) << dx;
    EXPECT_NEAR(FImage.pixelColor(dx + 20, dy + 5).red(), 124, 10) << dx;
  }
}

TEST_F(QtCanvasTest, RadialGradientIsCentredOnTheShape) {
  ChangeFill(*FCanvas, [&](THostFill& f) {
    f.Kind = THostBrushKind::Gradient;
    f.Gradient.Style = THostGradientStyle::Radial;
    f.Gradient.Points = {{kRed, 0}, {kBlue, 1}};
  });
  FCanvas->FillRect({20, 20, 60, 60}, 0, 0, hcAll, 1, THostCornerType::Round);
  Finish();
  EXPECT_GT(FImage.pixelColor(40, 40).red(), 220);
  EXPECT_GT(FImage.pixelColor(21, 40).blue(), 200);
  EXPECT_GT(FImage.pixelColor(40, 59).blue(), 200);
}

TEST_F(QtCanvasTest, NoneAndResourceKindsPaintNothing) {
  ChangeFill(*FCanvas, [&](THostFill& f) {
    f.Kind = THostBrushKind::None;
    f.Color = kRed;
  });
  FCanvas->FillRect({0, 0, 50, 50}, 0, 0, hcAll, 1, THostCornerType::Round);
  ChangeFill(*FCanvas, [&](THostFill& f) { f.Kind = THostBrushKind::Resource; });
  FCanvas->FillEllipse({0, 0, 50, 50}, 1);
  ChangeStroke(*FCanvas, [&](THostStroke& s) { s.Kind = THostBrushKind::None; });
  FCanvas->DrawLine({0, 10}, {50, 10}, 1);
  Finish();
  for (int x = 0; x < 50; x += 5) EXPECT_EQ(Px(x, 10), kWhite) << x;
}

TEST_F(QtCanvasTest, CornerTypesShapeTheCorners) {
  // Probes near the top-left corner of (0, 0, 40, 40) with radius 10:
  // a is inside a convex rounding but cut away by the other types,
  // b is cut away only by the square notch.
  const struct {
    THostCornerType type;
    bool aFilled, bFilled;
  } cases[] = {
      {THostCornerType::Round, true, true},
      {THostCornerType::Bevel, false, true},
      {THostCornerType::InnerRound, false, true},
      {THostCornerType::InnerLine, false, false},
  };
  for (const auto& c : cases) {
    QImage image(40, 40, QImage::Format_ARGB32_Premultiplied);
    image.fill(Qt::white);
    {
      QPainter painter(&image);
      TQtHostCanvas canvas(painter);
      ChangeFill(canvas, [&](THostFill& f) { f.Color = kRed; });
      canvas.FillRect({0, 0, 40, 40}, 10, 10, hcAll, 1, c.type);
    }
    const auto filled = [&](int x, int y) { return image.pixelColor(x, y).green() < 30; };
    EXPECT_FALSE(filled(0, 0)) << int(c.type);
    EXPECT_TRUE(filled(20, 20)) << int(c.type);
    EXPECT_EQ(filled(3, 6), c.aFilled) << int(c.type);
    EXPECT_EQ(filled(7, 8), c.bFilled) << int(c.type);
    // Only the chosen corners are shaped.
    QImage one(40, 40, QImage::Format_ARGB32_Premultiplied);
    one.fill(Qt::white);
    {
      QPainter painter(&one);
      TQtHostCanvas canvas(painter);
      ChangeFill(canvas, [&](THostFill& f) { f.Color = kRed; });
      canvas.FillRect({0, 0, 40, 40}, 10, 10, hcBottomRight, 1, c.type);
    }
    EXPECT_EQ(QColor(one.pixelColor(0, 0)).rgba(), kRed) << int(c.type);
    EXPECT_NE(QColor(one.pixelColor(39, 39)).rgba(), kRed) << int(c.type);
  }
}

TEST_F(QtCanvasTest, PathsAreFilledAndStroked) {
  THostPath triangle;
  triangle.MoveTo({10, 10});
  triangle.LineTo({60, 10});
  triangle.LineTo({10, 60});
  triangle.ClosePath();
  SolidFill(kRed);
  FCanvas->FillPath(triangle, 1);
  THostPath box;
  box.MoveTo({70, 10});
  box.LineTo({90, 10});
  box.LineTo({90, 30});
  box.LineTo({70, 30});
  box.ClosePath();
  SolidStroke(kBlack);
  FCanvas->DrawPath(box, 1);
  Finish();
  EXPECT_EQ(Px(20, 20), kRed);
  EXPECT_EQ(Px(50, 50), kWhite);
  // Axis-aligned path outlines are crisp.
  for (int y = 10; y <= 30; ++y) EXPECT_EQ(Px(70, y), kBlack) << y;
  EXPECT_EQ(Px(80, 20), kWhite);
  EXPECT_EQ(Px(69, 20), kWhite);
}

TEST_F(QtCanvasTest, ArcFollowsTheHostAngleConvention) {
  // A quarter arc from 3 o'clock turning clockwise on screen goes down to
  // 6 o'clock: the lower right quarter.
  SolidStroke(kBlack, 2);
  FCanvas->DrawArc({50, 40}, {30, 30}, 0, 90, 1);
  Finish();
  int lowerRight = 0, upperRight = 0;
  for (int y = 5; y < 75; ++y)
    for (int x = 50; x < 85; ++x) {
      if (Red(x, y) >= 128) continue;
      if (y > 41) ++lowerRight;
      if (y < 38) ++upperRight;  // rows 38..41 hold the stroke's start
    }
  EXPECT_GT(lowerRight, 30);
  EXPECT_EQ(upperRight, 0);
}

TEST_F(QtCanvasTest, TextRendersInItsColourAndBoldIsWider) {
  auto layout = FCanvas->CreateTextLayout();
  THostFont font;
  font.Family = "DejaVu Sans";
  font.Size = 16;
  layout->BeginUpdate();
  layout->SetTopLeft({5, 5});
  layout->SetMaxSize({10000, 10000});
  layout->SetText("Hello");
  layout->SetFont(font);
  layout->SetColor(kRed);
  layout->SetOpacity(1);
  layout->EndUpdate();
  const TRectF plain = layout->TextRect();
  FCanvas->RenderLayout(*layout);

  font.Bold = true;
  layout->SetFont(font);
  const TRectF bold = layout->TextRect();
  Finish();

  EXPECT_FLOAT_EQ(plain.Left, 5);
  EXPECT_FLOAT_EQ(plain.Top, 5);
  EXPECT_GT(plain.Width(), 20);
  EXPECT_GT(plain.Height(), 14);  // a 16 px font is about 19 px high
  EXPECT_LT(plain.Height(), 25);
  EXPECT_GT(bold.Width(), plain.Width());

  int red = 0, outside = 0;
  for (int y = 0; y < FImage.height(); ++y)
    for (int x = 0; x < FImage.width(); ++x) {
      const QColor c = FImage.pixelColor(x, y);
      const bool inked = c.green() < 200;
      const bool inRect = x >= plain.Left - 1 && x <= plain.Right + 1 && y >= plain.Top - 1 && y <= plain.Bottom + 1;
      if (inked && !inRect) ++outside;
      if (c.red() > 200 && c.green() < 80 && c.blue() < 80) ++red;
    }
  EXPECT_GT(red, 20);
  EXPECT_EQ(outside, 0);
}

TEST_F(QtCanvasTest, TextOpacityLightensTheText) {
  auto layout = FCanvas->CreateTextLayout();
  THostFont font;
  font.Size = 20;
  font.Bold = true;
  layout->SetFont(font);
  layout->SetText("MMMM");
  layout->SetColor(kBlack);
  layout->SetOpacity(0.25f);
  layout->SetTopLeft({0, 0});
  FCanvas->RenderLayout(*layout);
  Finish();
  int darkest = 255;
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 100; ++x) darkest = std::min(darkest, Red(x, y));
  EXPECT_LT(darkest, 235);  // drawn...
  EXPECT_GT(darkest, 170);  // ...at a quarter of full strength
}

// A text's opacity is its own, as every primitive's is: a translucent
// shape drawn before does not lighten it.
TEST_F(QtCanvasTest, TextOpacityIgnoresTheShapeBefore) {
  SolidFill(kRed);
  FCanvas->FillRect({90, 70, 100, 80}, 0, 0, hcAll, 0.25f, THostCornerType::Round);
  auto layout = FCanvas->CreateTextLayout();
  THostFont font;
  font.Size = 20;
  font.Bold = true;
  layout->SetFont(font);
  layout->SetText("MMMM");
  layout->SetColor(kBlack);
  layout->SetOpacity(1);
  layout->SetTopLeft({0, 0});
  FCanvas->RenderLayout(*layout);
  Finish();
  int darkest = 255;
  for (int y = 0; y < 30; ++y)
    for (int x = 0; x < 80; ++x) darkest = std::min(darkest, Red(x, y));
  EXPECT_LT(darkest, 10);  // full strength
  EXPECT_GT(Red(95, 75), 250);  // the shape itself stayed translucent red on white
  EXPECT_LT(FImage.pixelColor(95, 75).green(), 220);
}

TEST_F(QtCanvasTest, LayoutMeasuresLinesAndSurvivesTheCanvas) {
  std::unique_ptr<IHostTextLayout> layout = FCanvas->CreateTextLayout();
  Finish();  // the canvas is gone; the layout still measures
  THostFont font;
  font.Size = 12;
  layout->SetFont(font);
  layout->SetText("W");
  const float one = layout->TextRect().Height();
  layout->SetText("W\rW");
  EXPECT_NEAR(layout->TextRect().Height(), 2 * one, 0.01);
  layout->SetText("W\r\nW\nW");
  EXPECT_NEAR(layout->TextRect().Height(), 3 * one, 0.01);
  layout->SetText("");
  EXPECT_FLOAT_EQ(layout->TextRect().Width(), 0);
  layout->SetText("WWWWWWWWWW");
  layout->SetMaxSize({30, 10000});
  EXPECT_FLOAT_EQ(layout->TextRect().Width(), 30);
}

TEST_F(QtCanvasTest, TextToPathGivesOutlinesInTheArea) {
  THostPath path;
  THostFont font;
  font.Size = 20;
  ASSERT_TRUE(FCanvas->TextToPath(path, "AB", font, {10, 20, 10000, 10000}));
  ASSERT_FALSE(path.IsEmpty());
  const TRectF b = path.Bounds();
  EXPECT_GE(b.Left, 10);
  EXPECT_GE(b.Top, 20);
  EXPECT_LT(b.Right, 60);
  EXPECT_LT(b.Bottom, 50);
  SolidFill(kBlack);
  FCanvas->FillPath(path, 1);
  Finish();
  int inked = 0;
  for (int y = 20; y < 50; ++y)
    for (int x = 10; x < 60; ++x) inked += Red(x, y) < 128;
  EXPECT_GT(inked, 40);
}

TEST_F(QtCanvasTest, BitmapsDrawWithTheirOwnCanvasAndOpacity) {
  std::unique_ptr<IHostBitmap> bitmap = FCanvas->CreateBitmap(20, 10, 1);
  ASSERT_EQ(bitmap->Width(), 20);
  ASSERT_EQ(bitmap->Height(), 10);
  EXPECT_EQ(bitmap->Pixel(0, 0), 0u);  // transparent when created
  IHostCanvas& bc = bitmap->Canvas();
  ASSERT_TRUE(bc.BeginScene());
  ChangeFill(bc, [&](THostFill& f) {
    f.Kind = THostBrushKind::Solid;
    f.Color = kRed;
  });
  bc.FillRect({0, 0, 10, 10}, 0, 0, hcAll, 1, THostCornerType::Round);
  bc.EndScene();
  EXPECT_EQ(bitmap->Pixel(5, 5), kRed);
  EXPECT_EQ(bitmap->Pixel(15, 5), 0u);
  bitmap->SetPixel(15, 5, kBlue);
  EXPECT_EQ(bitmap->Pixel(15, 5), kBlue);
  EXPECT_EQ(bitmap->Pixel(-1, 5), 0u);  // outside: no colour, no crash
  bitmap->SetPixel(100, 100, kBlue);

  FCanvas->DrawBitmap(*bitmap, {0, 0, 20, 10}, {0, 0, 20, 10}, 1, true);
  FCanvas->DrawBitmap(*bitmap, {0, 0, 20, 10}, {0, 40, 20, 50}, 0.5f, false);
  Finish();
  EXPECT_EQ(Px(5, 5), kRed);
  EXPECT_EQ(Px(15, 5), kBlue);
  EXPECT_EQ(Px(17, 5), kWhite);  // transparent parts show what is below
  EXPECT_NEAR(FImage.pixelColor(5, 45).green(), 128, 2);
  EXPECT_EQ(FImage.pixelColor(5, 45).red(), 255);

  bitmap->Clear(kBlue);
  EXPECT_EQ(bitmap->Pixel(5, 5), kBlue);
  bitmap->SetSize(0, 0);
  EXPECT_TRUE(bitmap->IsEmpty());
  EXPECT_FALSE(bitmap->Canvas().BeginScene());
}

TEST_F(QtCanvasTest, BitmapFillTilesFromTheShapeCorner) {
  TQtBitmap tile(2, 1);
  tile.SetPixel(0, 0, kRed);
  tile.SetPixel(1, 0, kBlue);
  ChangeFill(*FCanvas, [&](THostFill& f) {
    f.Kind = THostBrushKind::Bitmap;
    f.Bitmap = &tile;
  });
  FCanvas->FillRect({11, 0, 21, 4}, 0, 0, hcAll, 1, THostCornerType::Round);
  Finish();
  EXPECT_EQ(Px(11, 0), kRed);
  EXPECT_EQ(Px(12, 0), kBlue);
  EXPECT_EQ(Px(13, 3), kRed);
}

TEST(QtCanvasConversions, FontSizeWeightSlantAndStretchReachQFont) {
  THostFont f;
  f.Size = 11;
  QFont q = ToQFont(f, 96);
  EXPECT_EQ(q.pixelSize(), 11);
  EXPECT_EQ(q.weight(), QFont::Normal);
  EXPECT_EQ(q.style(), QFont::StyleNormal);
  EXPECT_EQ(q.stretch(), QFont::Unstretched);

  f.Size = 10.5f;
  q = ToQFont(f, 96);
  EXPECT_DOUBLE_EQ(q.pointSizeF(), 10.5 * 72 / 96);
  q = ToQFont(f, 144);
  EXPECT_DOUBLE_EQ(q.pointSizeF(), 10.5 * 72 / 144);

  const struct {
    int weight, slant, stretch;
    bool bold, italic;
    int qtWeight;
    QFont::Style style;
    int qtStretch;
  } cases[] = {
      {0, 0, 0, false, false, 100, QFont::StyleNormal, QFont::UltraCondensed},
      {3, 0, 4, false, false, 350, QFont::StyleNormal, QFont::Unstretched},
      {7, 0, 4, false, false, 700, QFont::StyleNormal, QFont::Unstretched},
      {10, 2, 8, false, false, 950, QFont::StyleOblique, QFont::UltraExpanded},
      {4, 1, 2, false, false, 400, QFont::StyleItalic, QFont::Condensed},
      {4, 0, 4, true, true, 700, QFont::StyleItalic, QFont::Unstretched},
      {9, 0, 6, true, false, 900, QFont::StyleNormal, QFont::Expanded},
      {-5, 7, 99, false, false, 100, QFont::StyleOblique, QFont::UltraExpanded},  // clamped
  };
  for (const auto& c : cases) {
    THostFont h;
    h.Weight = c.weight;
    h.Slant = c.slant;
    h.Stretch = c.stretch;
    h.Bold = c.bold;
    h.Italic = c.italic;
    h.Underline = true;
    h.StrikeOut = c.bold;
    const QFont font = ToQFont(h, 96);
    EXPECT_EQ(font.weight(), c.qtWeight) << c.weight;
    EXPECT_EQ(font.style(), c.style) << c.slant;
    EXPECT_EQ(font.stretch(), c.qtStretch) << c.stretch;
    EXPECT_TRUE(font.underline());
    EXPECT_EQ(font.strikeOut(), c.bold);
  }
}

TEST(QtCanvasConversions, MatrixRoundTripsThroughQTransform) {
  const TKelMatrix m = TKelMatrix::Rotation(30) * TKelMatrix::Translation(5, 7);
  const QTransform q = ToQTransform(m);
  const QPointF p = q.map(QPointF(3, 4));
  const TPointF k = m.Map({3, 4});
  EXPECT_NEAR(p.x(), k.X, 1e-4);
  EXPECT_NEAR(p.y(), k.Y, 1e-4);
  EXPECT_EQ(ToKelMatrix(q), m);
}

// HiDPI: on an image with s device pixels per pixel a stroke of width w at
// x covers the device pixels of the same pixels as at scale 1, fully and
// only those: a 1-pixel line is a crisp band of s device pixels.
class QtCanvasScaleTest : public ::testing::TestWithParam<int> {
 protected:
  QtCanvasScaleTest() : FScale(GetParam()), FImage(100 * FScale, 80 * FScale, QImage::Format_ARGB32_Premultiplied) {
    FImage.setDevicePixelRatio(FScale);
    FImage.fill(Qt::white);
    FPainter.begin(&FImage);
    FCanvas = std::make_unique<TQtHostCanvas>(FPainter);
    EXPECT_TRUE(FCanvas->BeginScene());
    ChangeStroke(*FCanvas, [&](THostStroke& s) {
      s.Kind = THostBrushKind::Solid;
      s.Color = kBlack;
      s.Thickness = 1;
    });
  }
  void Finish() {
    FCanvas->EndScene();
    FCanvas.reset();
    FPainter.end();
  }
  // Device columns that are black in device row y, between the device
  // columns of pixels from and to (inclusive).
  std::vector<int> BlackColumns(int y, int from, int to) const {
    std::vector<int> result;
    for (int x = from * FScale; x < (to + 1) * FScale; ++x)
      if (FImage.pixelColor(x, y).rgba() == kBlack) result.push_back(x);
      else EXPECT_EQ(FImage.pixelColor(x, y).rgba(), kWhite) << "blurred at device column " << x;
    return result;
  }
  std::vector<int> BlackRows(int x, int from, int to) const {
    std::vector<int> result;
    for (int y = from * FScale; y < (to + 1) * FScale; ++y)
      if (FImage.pixelColor(x, y).rgba() == kBlack) result.push_back(y);
      else EXPECT_EQ(FImage.pixelColor(x, y).rgba(), kWhite) << "blurred at device row " << y;
    return result;
  }
  // The device pixels of pixels first .. last.
  std::vector<int> Band(int first, int last) const {
    std::vector<int> result;
    for (int d = first * FScale; d < (last + 1) * FScale; ++d) result.push_back(d);
    return result;
  }

  int FScale;
  QImage FImage;
  QPainter FPainter;
  std::unique_ptr<TQtHostCanvas> FCanvas;
};

TEST_P(QtCanvasScaleTest, ReportsTheDeviceScale) {
  EXPECT_FLOAT_EQ(FCanvas->Scale(), static_cast<float>(FScale));
}

TEST_P(QtCanvasScaleTest, OnePixelLinesAndFramesCoverTheirPixelsCrisply) {
  FCanvas->DrawLine({10, 5}, {10, 40}, 1);                                       // vertical
  FCanvas->DrawRect({30, 5, 50, 40}, 0, 0, hcAll, 1, THostCornerType::Round);    // frame
  const TPointF bevel[] = {{60, 39}, {60, 0}, {70, 0}};                          // polyline
  FCanvas->DrawPolyline(bevel, 3, 1);
  ChangeStroke(*FCanvas, [&](THostStroke& s) { s.Thickness = 3; });
  FCanvas->DrawLine({80, 5}, {80, 40}, 1);
  Finish();
  const int y = 20 * FScale;
  EXPECT_EQ(BlackColumns(y, 8, 12), Band(10, 10));
  std::vector<int> frame = Band(30, 30);
  for (int d : Band(50, 50)) frame.push_back(d);
  EXPECT_EQ(BlackColumns(y, 28, 52), frame);
  EXPECT_EQ(BlackColumns(y, 58, 62), Band(60, 60));
  EXPECT_EQ(BlackColumns(y, 76, 84), Band(79, 81));
  // Horizontal edges: the frame's top and bottom, the polyline's top.
  std::vector<int> rows = Band(5, 5);
  for (int d : Band(40, 40)) rows.push_back(d);
  EXPECT_EQ(BlackRows(40 * FScale, 3, 42), rows);
  EXPECT_EQ(BlackRows(65 * FScale, 0, 3), Band(0, 0));
}

TEST_P(QtCanvasScaleTest, AntialiasedStrokesSitOnTheSamePixels) {
  // A closed triangle is not axis-aligned (antialiased); its vertical edge
  // still covers its pixel column exactly.
  THostPath path;
  path.MoveTo({20, 10});
  path.LineTo({20, 60});
  path.LineTo({70, 60});
  path.ClosePath();
  FCanvas->DrawPath(path, 1);
  Finish();
  EXPECT_EQ(BlackColumns(40 * FScale, 18, 22), Band(20, 20));
}

INSTANTIATE_TEST_SUITE_P(Scales, QtCanvasScaleTest, ::testing::Values(1, 2, 3));

}  // namespace
}  // namespace sextant

// The Qt canvas holds an opaque rectangle fill back until the next drawing
// and drops it when the next fill hides it. Whatever comes next, the pixels
// must be those of painting every primitive in its order.
#include "platform/qt/qt_canvas.h"
#include "platform/qt/qt_pending_fill_p.h"

#include <QImage>
#include <QPainter>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>

#include "qt_test_app.h"

namespace sextant {
namespace {

constexpr TColor kWhite = 0xFFFFFFFF;
constexpr TColor kRed = 0xFFFF0000;
constexpr TColor kBlue = 0xFF0000FF;
constexpr TColor kBlack = 0xFF000000;

void Fill(IHostCanvas& c, TColor colour, const TRectF& r, float opacity = 1) {
  ChangeFill(c, [&](THostFill& f) {
    f.Kind = THostBrushKind::Solid;
    f.Color = colour;
  });
  c.FillRect(r, 0, 0, hcAll, opacity, THostCornerType::Round);
}

void Stroke(IHostCanvas& c, TColor colour) {
  ChangeStroke(c, [&](THostStroke& s) {
    s.Kind = THostBrushKind::Solid;
    s.Color = colour;
    s.Thickness = 1;
  });
}

class QtHeldFillTest : public ::testing::Test {
 protected:
  QtHeldFillTest() : FImage(60, 40, QImage::Format_ARGB32_Premultiplied) {
    FImage.fill(Qt::white);
    FPainter.begin(&FImage);
    FCanvas = std::make_unique<TQtHostCanvas>(FPainter);
    EXPECT_TRUE(FCanvas->BeginScene());
    FSkippedBefore = HiddenFillsSkipped();
  }
  void Finish() {
    if (!FCanvas) return;
    FCanvas->EndScene();
    FCanvas.reset();
    FPainter.end();
  }
  std::uint64_t Skipped() const { return HiddenFillsSkipped() - FSkippedBefore; }
  TColor Px(int x, int y) const { return FImage.pixelColor(x, y).rgba(); }

  QImage FImage;
  QPainter FPainter;
  std::unique_ptr<TQtHostCanvas> FCanvas;
  std::uint64_t FSkippedBefore = 0;
};

TEST_F(QtHeldFillTest, AFillHiddenByTheNextOneIsNotPainted) {
  Fill(*FCanvas, kRed, {10, 10, 30, 30});
  Fill(*FCanvas, kBlue, {5, 5, 40, 35});
  Fill(*FCanvas, kRed, {5, 5, 40, 35});  // the very same rectangle hides it too
  Finish();
  EXPECT_EQ(Skipped(), 2u);
  for (int y = 5; y < 35; ++y)
    for (int x = 5; x < 40; ++x) ASSERT_EQ(Px(x, y), kRed) << x << "," << y;
  EXPECT_EQ(Px(4, 20), kWhite);
  EXPECT_EQ(Px(40, 20), kWhite);
}

// Fills that do not hide the held one completely leave it painted beneath.
struct TUncoveredCase {
  const char* Name;
  TRectF Second;
  TColor SecondColour;
  float SecondOpacity;
  int X, Y;  // a pixel of the first fill, where its red must show
};

class QtHeldFillUncovered : public QtHeldFillTest, public ::testing::WithParamInterface<TUncoveredCase> {};

TEST_P(QtHeldFillUncovered, PaintsTheHeldFillFirst) {
  const TUncoveredCase& c = GetParam();
  Fill(*FCanvas, kRed, {10, 10, 30, 30});
  Fill(*FCanvas, c.SecondColour, c.Second, c.SecondOpacity);
  Finish();
  EXPECT_EQ(Skipped(), 0u);
  EXPECT_GT(FImage.pixelColor(c.X, c.Y).red(), 100);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, QtHeldFillUncovered,
    ::testing::Values(TUncoveredCase{"Overlapping", {20, 5, 50, 35}, kBlue, 1, 12, 20},
                      TUncoveredCase{"Inside", {12, 12, 28, 28}, kBlue, 1, 10, 10},
                      // Red beneath translucent blue: purple, not pure blue.
                      TUncoveredCase{"Translucent", {0, 0, 60, 40}, 0x800000FF, 1, 20, 20},
                      TUncoveredCase{"PartlyOpaque", {0, 0, 60, 40}, kBlue, 0.5f, 20, 20}),
    [](const auto& info) { return std::string(info.param.Name); });

// Every other drawing paints the held fill before it draws: a black mark
// drawn over the fill stays on top.
struct TNextDrawing {
  const char* Name;
  std::function<void(IHostCanvas&)> Draw;
};

class QtHeldFillThenDrawing : public QtHeldFillTest, public ::testing::WithParamInterface<TNextDrawing> {};

TEST_P(QtHeldFillThenDrawing, LeavesTheDrawingOnTop) {
  Fill(*FCanvas, kRed, {10, 10, 30, 30});
  GetParam().Draw(*FCanvas);
  Finish();
  int dark = 0;
  for (int y = 10; y < 30; ++y)
    for (int x = 10; x < 30; ++x) dark += FImage.pixelColor(x, y).red() < 64;
  EXPECT_GT(dark, 3);
  EXPECT_EQ(Px(11, 11), kRed);
}

INSTANTIATE_TEST_SUITE_P(
    Cases, QtHeldFillThenDrawing,
    ::testing::Values(
        TNextDrawing{"SmallerFill", [](IHostCanvas& c) { Fill(c, kBlack, {18, 18, 22, 22}); }},
        TNextDrawing{"Line", [](IHostCanvas& c) { Stroke(c, kBlack); c.DrawLine({20, 15}, {20, 25}, 1); }},
        TNextDrawing{"Rectangle", [](IHostCanvas& c) {
                       Stroke(c, kBlack);
                       c.DrawRect({20, 20, 24, 24}, 0, 0, hcAll, 1, THostCornerType::Round);
                     }},
        TNextDrawing{"Ellipse", [](IHostCanvas& c) { ChangeFill(c, [](THostFill& f) { f.Color = kBlack; }); c.FillEllipse({16, 16, 24, 24}, 1); }},
        TNextDrawing{"ConnectedLines", [](IHostCanvas& c) {
                       Stroke(c, kBlack);
                       const TPointF pts[] = {{20, 15}, {20, 25}, {21, 25}};
                       c.DrawConnectedLines(pts, 3, 1);
                     }},
        TNextDrawing{"Polyline", [](IHostCanvas& c) {
                       Stroke(c, kBlack);
                       const TPointF pts[] = {{20, 15}, {20, 25}};
                       c.DrawPolyline(pts, 2, 1);
                     }},
        TNextDrawing{"Path", [](IHostCanvas& c) {
                       ChangeFill(c, [](THostFill& f) { f.Color = kBlack; });
                       THostPath path;
                       path.MoveTo({18, 18});
                       path.LineTo({23, 18});
                       path.LineTo({23, 23});
                       path.ClosePath();
                       c.FillPath(path, 1);
                     }},
        TNextDrawing{"Bitmap", [](IHostCanvas& c) {
                       std::unique_ptr<IHostBitmap> b = c.CreateBitmap(4, 4, 1);
                       b->Clear(kBlack);
                       c.DrawBitmap(*b, {0, 0, 4, 4}, {18, 18, 22, 22}, 1, true);
                     }},
        TNextDrawing{"Text", [](IHostCanvas& c) {
                       std::unique_ptr<IHostTextLayout> t = c.CreateTextLayout();
                       THostFont font;
                       font.Size = 12;
                       font.Bold = true;
                       t->SetFont(font);
                       t->SetColor(kBlack);
                       t->SetText("MW");
                       t->SetTopLeft({13, 13});
                       c.RenderLayout(*t);
                     }}),
    [](const auto& info) { return std::string(info.param.Name); });

TEST_F(QtHeldFillTest, IsPaintedUnderTheClipOfItsTime) {
  // Held inside a clip that a restore removes: only the clipped part shows.
  const IHostCanvas::StateHandle saved = FCanvas->SaveState();
  FCanvas->IntersectClipRect({10, 10, 20, 20});
  Fill(*FCanvas, kRed, {0, 0, 60, 40});
  FCanvas->RestoreState(saved);
  // Held without a clip, then a clip: a covering fill inside the clip
  // does not hide what lies outside it.
  Fill(*FCanvas, kBlue, {30, 0, 60, 40});
  FCanvas->IntersectClipRect({40, 0, 60, 40});
  Fill(*FCanvas, kRed, {0, 0, 60, 40});
  Finish();
  EXPECT_EQ(Skipped(), 0u);
  EXPECT_EQ(Px(15, 15), kRed);
  EXPECT_EQ(Px(25, 25), kWhite);
  EXPECT_EQ(Px(35, 20), kBlue);
  EXPECT_EQ(Px(45, 20), kRed);
}

TEST_F(QtHeldFillTest, IsPaintedInTheTransformOfItsTime) {
  Fill(*FCanvas, kRed, {0, 0, 20, 20});
  FCanvas->SetMatrix(TKelMatrix::Translation(20, 0));
  Fill(*FCanvas, kBlue, {0, 0, 20, 20});  // the same numbers, elsewhere on the device
  Finish();
  EXPECT_EQ(Skipped(), 0u);
  EXPECT_EQ(Px(10, 10), kRed);
  EXPECT_EQ(Px(30, 10), kBlue);
}

TEST_F(QtHeldFillTest, ABitmapShowsItsHeldFillToEveryReader) {
  std::unique_ptr<IHostBitmap> bitmap = FCanvas->CreateBitmap(10, 10, 1);
  IHostCanvas& bc = bitmap->Canvas();
  ASSERT_TRUE(bc.BeginScene());
  Fill(bc, kRed, {0, 0, 10, 10});
  EXPECT_EQ(bitmap->Pixel(5, 5), kRed);  // read while its scene is open
  Fill(bc, kBlue, {0, 0, 10, 10});
  FCanvas->DrawBitmap(*bitmap, {0, 0, 10, 10}, {0, 0, 10, 10}, 1, true);
  Fill(bc, kRed, {0, 0, 10, 10});
  bitmap->SetPixel(1, 1, kBlack);  // the held fill must not paint over it later
  Fill(bc, kBlue, {0, 0, 5, 5});
  bitmap->Clear(kWhite);  // nor over a clear
  bc.EndScene();
  Finish();
  EXPECT_EQ(Px(5, 5), kBlue);
  EXPECT_EQ(bitmap->Pixel(1, 1), kWhite);
  EXPECT_EQ(bitmap->Pixel(8, 8), kWhite);
}

}  // namespace
}  // namespace sextant

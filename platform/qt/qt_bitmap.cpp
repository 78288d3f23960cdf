// The Qt host bitmap and the canvas that draws into it.
#include <QPainter>

#include <algorithm>
#include <cmath>

#include "platform/qt/qt_canvas.h"
#include "platform/qt/qt_conversions_p.h"

namespace sextant {

TQtImageCanvas::~TQtImageCanvas() { Close(); }

QPainter* TQtImageCanvas::ActivePainter() {
  if (FPainter) return FPainter;
  QImage& image = FOwner.FImage;
  if (image.isNull()) return nullptr;
  FOwnPainter = std::make_unique<QPainter>();
  if (!FOwnPainter->begin(&image)) {
    FOwnPainter.reset();
    return nullptr;
  }
  FPainter = FOwnPainter.get();
  FPainter->setWorldTransform(ToQTransform(FMatrix));
  return FPainter;
}

bool TQtImageCanvas::BeginScene() {
  if (!ActivePainter()) return false;
  ++FSceneDepth;
  return true;
}

void TQtImageCanvas::EndScene() {
  if (FSceneDepth > 0 && --FSceneDepth == 0) Close();
}

void TQtImageCanvas::SetMatrix(const TKelMatrix& m) {
  FMatrix = m;
  if (FPainter) FPainter->setWorldTransform(ToQTransform(m));
}

void TQtImageCanvas::Close() {
  if (!FPainter) return;
  FlushPendingFill();
  FMatrix = ToKelMatrix(FPainter->worldTransform());
  ForgetStates();
  FOwnPainter->end();
  FOwnPainter.reset();
  FPainter = nullptr;
  FSceneDepth = 0;
}

TQtBitmap::TQtBitmap(int width, int height, float scale)
    : FScale(std::isfinite(scale) && scale > 0 ? scale : 1), FCanvas(std::make_unique<TQtImageCanvas>(*this)) {
  SetSize(width, height);
}

TQtBitmap::~TQtBitmap() { FCanvas.reset(); }

void TQtBitmap::SetSize(int width, int height) {
  FCanvas->Close();
  width = std::max(0, width);
  height = std::max(0, height);
  if (width == 0 || height == 0) {
    FImage = QImage();
    return;
  }
  FImage = QImage(width, height, QImage::Format_ARGB32_Premultiplied);
  if (FImage.isNull()) return;  // too large to allocate: an empty bitmap
  FImage.setDevicePixelRatio(FScale);
  FImage.fill(Qt::transparent);
}

void TQtBitmap::Clear(TColor color) {
  if (FImage.isNull()) return;
  FCanvas->FlushPendingFill();
  // Also fine while a painter is open: the raster painter writes straight
  // into the same, unshared pixel buffer.
  FImage.fill(ToQColor(color));
}

TColor TQtBitmap::Pixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= FImage.width() || y >= FImage.height()) return 0;
  FCanvas->FlushPendingFill();
  return FImage.pixelColor(x, y).rgba();
}

void TQtBitmap::SetPixel(int x, int y, TColor color) {
  if (x < 0 || y < 0 || x >= FImage.width() || y >= FImage.height()) return;
  FCanvas->FlushPendingFill();
  FImage.setPixelColor(x, y, ToQColor(color));
}

}  // namespace sextant

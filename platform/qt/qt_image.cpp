#include "platform/qt/qt_image_p.h"

#include "platform/qt/qt_canvas.h"
#include "platform/qt/qt_conversions_p.h"

namespace sextant {

QImage HostBitmapImage(const IHostBitmap& bitmap) {
  if (const auto* own = dynamic_cast<const TQtBitmap*>(&bitmap)) return own->Image();
  QImage image(bitmap.Width(), bitmap.Height(), QImage::Format_ARGB32);
  for (int y = 0; y < bitmap.Height(); ++y)
    for (int x = 0; x < bitmap.Width(); ++x) image.setPixelColor(x, y, ToQColor(bitmap.Pixel(x, y)));
  return image;
}

}  // namespace sextant

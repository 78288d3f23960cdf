// Host bitmaps as QImages, for drawing them and for bitmap brushes.
// Internal: not installed.
#pragma once

#include <QImage>

#include "platform/host_canvas.h"

namespace sextant {

// The pixels of a host bitmap as an image of the same size: a bitmap of the
// Qt host shares its own image (no copy); any other is copied pixel by pixel.
QImage HostBitmapImage(const IHostBitmap& bitmap);

}  // namespace sextant

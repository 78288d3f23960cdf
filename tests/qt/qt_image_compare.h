// Pixel comparisons shared by the Qt canvas tests.
#pragma once

#include <QImage>

namespace sextant::testing {

// The pixels in which two images of the same size differ.
inline int Differences(const QImage& A, const QImage& B) {
  int n = 0;
  for (int y = 0; y < A.height(); ++y)
    for (int x = 0; x < A.width(); ++x) n += A.pixel(x, y) != B.pixel(x, y);
  return n;
}

}  // namespace sextant::testing

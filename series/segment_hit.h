// Hit testing of drawn lines: whether a pixel lies on a one-pixel segment
// within a tolerance. Shared by the series kinds that draw connected lines.
#pragma once

#include "platform/kel_types.h"

namespace sextant {

// Whether pixel P lies on the segment A..B within Tolerance pixels: inside
// the segment's bounding box grown by the tolerance, and closer to the line
// than Tolerance + 1 pixels measured across the segment's main direction,
// so that every pixel a one-pixel line covers is a hit at tolerance 0.
bool PointOnSegment(TPoint P, TPoint A, TPoint B, int Tolerance);

}  // namespace sextant

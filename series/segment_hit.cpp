#include "series/segment_hit.h"

#include <algorithm>
#include <cmath>

namespace sextant {

bool PointOnSegment(TPoint P, TPoint A, TPoint B, int Tolerance) {
  // 64-bit: pixels and tolerance may be anywhere in the int range.
  const long long t = Tolerance;
  if (P.X < std::min<long long>(A.X, B.X) - t || P.X > std::max<long long>(A.X, B.X) + t ||
      P.Y < std::min<long long>(A.Y, B.Y) - t || P.Y > std::max<long long>(A.Y, B.Y) + t)
    return false;
  const double dx = static_cast<double>(B.X) - A.X;
  const double dy = static_cast<double>(B.Y) - A.Y;
  const double major = std::max(std::fabs(dx), std::fabs(dy));
  if (major == 0) return true;  // a degenerate segment: its grown box decided
  const double cross =
      std::fabs(dy * (static_cast<double>(P.X) - A.X) - dx * (static_cast<double>(P.Y) - A.Y));
  return cross < (static_cast<double>(t) + 1) * major;
}

}  // namespace sextant

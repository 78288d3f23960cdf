#include "axes/axis_math.h"

#include <cmath>
#include <limits>

namespace sextant {

// The step is scaled into 1..10 by repeated multiplication with 0.1 or 10,
// mapped to 2, 5 or 10, and scaled back with the same factors in reverse.
// This is the same sequence of multiplications as the natural recursion
// (next(S) = next(S x 0.1) x 10 for S >= 10, next(S x 10) x 0.1 for S < 1),
// so the results are identical to it, but the depth is a loop counter and
// values that would never reach 1..10 (0, negative, NaN) are caught first.
double KelNextStep(double OldStep) {
  if (!(OldStep > 0) || std::isinf(OldStep)) return 1;  // NaN, <= 0, infinite
  double s = OldStep;
  int scale = 0;  // power of ten taken out
  while (s >= 10) {
    s *= 0.1;
    ++scale;
  }
  while (s < 1) {
    s *= 10;
    --scale;
  }
  double result = s < 2 ? 2 : (s < 5 ? 5 : 10);
  for (; scale > 0; --scale) result *= 10;
  for (; scale < 0; ++scale) result *= 0.1;
  // Among subnormal values the repeated x 0.1 loses almost all precision
  // and can land on (or below) the old step; a step search would then never
  // advance. The next representable value keeps the sequence increasing.
  if (!(result > OldStep)) result = std::nextafter(OldStep, std::numeric_limits<double>::infinity());
  return result;
}

}  // namespace sextant

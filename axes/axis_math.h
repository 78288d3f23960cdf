// Small numeric helpers of the axes: the round label steps and the
// increment limits.
#pragma once

namespace sextant {

// The smallest positive double: the lowest increment an axis ever uses.
inline constexpr double MinAxisIncrement = 4.9406564584124654e-324;
// The smallest range of a logarithmic axis' labels.
inline constexpr double MinAxisRange = 1e-10;

// The next larger round step after OldStep: 1, 2 or 5 times a power of ten
// (0.3 -> 0.5, 1 -> 2, 2 -> 5, 5 -> 10, 7 -> 10, 45 -> 50). An exact 1, 2 or
// 5 always advances. Infinite, NaN, zero and negative steps give 1. The
// result is always greater than a finite positive OldStep; past the largest
// double it is +infinity.
double KelNextStep(double OldStep);

}  // namespace sextant

// Which data points can be drawn. A point whose X or Y is not a finite
// number (NaN, +Inf or -Inf) has no place on a scale: it is never drawn,
// never widens an automatic axis range and takes no part in a series'
// statistics. A line breaks at such a point, as it does at a null point
// drawn with tnDontPaint.
#pragma once

namespace sextant {

// True when V is a finite number. (V - V is 0 for every finite V and NaN
// for NaN and both infinities; no library call, so loops stay vectorisable.)
inline bool IsFiniteValue(double V) { return V - V == 0; }

// True when the point (X, Y) can be drawn.
inline bool IsFinitePoint(double X, double Y) { return IsFiniteValue(X) && IsFiniteValue(Y); }

}  // namespace sextant

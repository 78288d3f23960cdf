// The point series: a pointer (symbol) on every point, no line. A scatter
// plot: the X values need not be distinct, and the symbol's half-sizes
// widen the axes so that points at the ends are drawn whole.
#pragma once

#include "series/custom_series.h"

namespace sextant {

class TPointSeries : public TCustomSeries {
 public:
  explicit TPointSeries(TComponent* AOwner = nullptr);
};

}  // namespace sextant

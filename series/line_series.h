// The line series: the points connected by the line pen, optionally as
// stairs, with a pointer on every point when Pointer()->Visible() is set
// (hidden by default). The line and the pointers are drawn in one paint,
// the pointers on top.
#pragma once

#include "series/custom_series.h"

namespace sextant {

class TLineSeries : public TCustomSeries {
 public:
  explicit TLineSeries(TComponent* AOwner = nullptr);
};

}  // namespace sextant

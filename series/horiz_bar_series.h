// Horizontal bars: the positions (Y) run along the vertical axis and the
// values (X) along the horizontal one, so Add(Value) appends a bar below
// the previous one's position. Everything else is the bar series'.
#pragma once

#include "series/bar_series.h"

namespace sextant {

class THorizBarSeries : public TCustomBarSeries {
 public:
  explicit THorizBarSeries(TComponent* AOwner = nullptr);
};

}  // namespace sextant

// TChart: the chart control the application places on its window. It adds
// nothing to TCustomChart but its name.
#pragma once

#include "panel/custom_chart.h"

namespace sextant {

class TChart : public TCustomChart {
 public:
  explicit TChart(TComponent* AOwner = nullptr) : TCustomChart(AOwner) {}
};

}  // namespace sextant

// TChart: the chart control the application places on its window.
// It adds nothing to the chart levels below it but a public constructor.
#pragma once

#include "panel/kel_panel_extended.h"

namespace sextant {

class TChart : public TCustomKelPanelExtended {
 public:
  explicit TChart(TComponent* AOwner = nullptr) : TCustomKelPanelExtended(AOwner) {}
};

}  // namespace sextant

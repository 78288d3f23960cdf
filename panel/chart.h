// TChart: the chart control the application places on its window.
#pragma once

#include "panel/kel_panel_extended.h"

namespace sextant {

class TChart : public TCustomKelPanelExtended {
 public:
  explicit TChart(TComponent* AOwner = nullptr) : TCustomKelPanelExtended(AOwner) {}

 protected:
  // The drawing of one paint: the panel background, border and bevels.
  void InternalDraw(const TRectF& UserRectangle) override;
};

}  // namespace sextant

// The chart's hover settings: whether elements under the mouse (axis
// labels, legend items, series) are highlighted at all. Each element keeps
// its own hover format and hovered index (TTextSelection for texts).
#pragma once

#include "canvas/kel_persistent.h"

namespace sextant {

class TChartHover : public TPersistent {
 public:
  explicit TChartHover(TNotifyEvent OnChange = nullptr) : OnChange(std::move(OnChange)) {}
  void Assign(const TPersistent* Source) override {
    const auto* src = dynamic_cast<const TChartHover*>(Source);
    if (!src) AssignError(Source);
    SetVisible(src->FVisible);
  }
  // Created visible: hovering is on.
  bool Visible() const { return FVisible; }
  void SetVisible(bool Value) {
    if (FVisible == Value) return;
    FVisible = Value;
    CallEvent(OnChange, this);
  }
  TNotifyEvent OnChange;

 private:
  bool FVisible = true;
};

}  // namespace sextant

#include "canvas/automatic_text.h"

namespace sextant {

void TAutomaticText::Assign(const TPersistent* Source) {
  const auto* src = dynamic_cast<const TAutomaticText*>(Source);
  if (!src) AssignError(Source);
  if (src == this) return;
  FHide = src->FHide;
  FMove = src->FMove;
  FResize = src->FResize;
  FRotate = src->FRotate;
  FTrim = src->FTrim;
  FWrap = src->FWrap;
  CallEvent(OnChange, this);
}

void TAutomaticText::Set(bool& Variable, bool Value) {
  if (Variable == Value) return;
  Variable = Value;
  CallEvent(OnChange, this);
}

}  // namespace sextant

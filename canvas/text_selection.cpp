#include "canvas/text_selection.h"

#include "canvas/font.h"

namespace sextant {

TTextSelection::TTextSelection(IShapePanel* Panel, const TCustomTextShape* Format)
    : FPanel(Panel), FHover(std::make_unique<TTextShape>(Panel)) {
  if (Format) FHover->Assign(Format);
  TKelFont* font = FHover->Font();
  font->InitStyle(static_cast<TFontStyles>(font->Style() | fsBold));
}

TTextSelection::~TTextSelection() = default;

void TTextSelection::Assign(const TPersistent* Source) {
  const auto* src = dynamic_cast<const TTextSelection*>(Source);
  if (!src) AssignError(Source);
  if (src != this) FHover->Assign(src->FHover.get());
}

void TTextSelection::SetHover(const TTextShape* Value) {
  if (Value) FHover->Assign(Value);
}

void TTextSelection::SetHoverIndex(int Value) {
  if (FHoverIndex == Value) return;
  FHoverIndex = Value;
  if (FHover->Visible() && FPanel) FPanel->Invalidate();
}

}  // namespace sextant

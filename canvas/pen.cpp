#include "canvas/pen.h"

#include "canvas/brush.h"
#include "canvas/gradient.h"

namespace sextant {

TKelPen::TKelPen(TNotifyEvent OnChange) : OnChange(std::move(OnChange)) {}

TKelPen::~TKelPen() = default;

void TKelPen::Changed() { CallEvent(OnChange, this); }

void TKelPen::Assign(const TPersistent* Source) {
  const auto* src = dynamic_cast<const TKelPen*>(Source);
  if (!src) {
    AssignError(Source);
  }
  if (src == this) return;
  // The fill notifies through this pen; one notification for the whole copy.
  TNotifyEvent saved = std::move(OnChange);
  OnChange = nullptr;
  FVisible = src->FVisible;
  FSmallDots = src->FSmallDots;
  FSmallSpace = src->FSmallSpace;
  FEndStyle = src->FEndStyle;
  FJoinStyle = src->FJoinStyle;
  if (src->FFill) {
    Fill()->Assign(src->FFill.get());
  } else {
    FFill.reset();
  }
  FWidth = src->FWidth;
  FStyle = src->FStyle;
  OnChange = std::move(saved);
  Changed();
}

void TKelPen::SetMode(TPenMode Value) {
  if (FMode == Value) return;
  FMode = Value;
  Changed();
}

void TKelPen::SetStyle(TPenStyle Value) {
  if (FStyle == Value) return;
  FStyle = Value;
  Changed();
}

void TKelPen::SetWidth(float Value) {
  if (FWidth == Value) return;
  FWidth = Value;
  Changed();
}

void TKelPen::SetEndStyle(TPenEndStyle Value) {
  if (FEndStyle == Value) return;
  FEndStyle = Value;
  Changed();
}

void TKelPen::SetJoinStyle(TPenJoinStyle Value) {
  if (FJoinStyle == Value) return;
  FJoinStyle = Value;
  Changed();
}

void TKelPen::SetSmallDots(bool Value) {
  if (FSmallDots == Value) return;
  FSmallDots = Value;
  Changed();
}

void TKelPen::SetSmallSpace(int Value) {
  if (FSmallSpace == Value) return;
  FSmallSpace = Value;
  Changed();
}

void TKelPen::SetVisible(bool Value) {
  if (FVisible == Value) return;
  FVisible = Value;
  Changed();
}

TColor TKelPen::Color() const { return Fill()->Color(); }

void TKelPen::SetColor(TColor Value) {
  // The fill notifies through this pen when the colour changes.
  Fill()->SetColor(Value);
}

TKelBrush* TKelPen::Fill() const {
  if (!FFill) {
    auto* self = const_cast<TKelPen*>(this);
    FFill = std::make_unique<TKelBrush>([self](TPersistent* Sender) { CallEvent(self->OnChange, Sender); });
    FFill->InitColor(claBlack);
  }
  return FFill.get();
}

void TKelPen::SetFill(const TKelBrush* Value) {
  if (Value) {
    Fill()->Assign(Value);
  } else if (FFill) {
    FFill.reset();
    Changed();
  }
}

int TKelPen::HalfWidth() const {
  if (!FVisible || FWidth <= 1) return 0;
  return KelRound(FWidth * 0.5);
}

bool TKelPen::IsGradientVisible() const {
  return FFill && FFill->HasGradientObject() && FFill->Gradient()->Visible();
}

void TKelPen::InitColor(TColor Value) {
  SetColor(Value);
  Fill()->InitColor(Value);
}

void TKelPen::InitEndStyle(TPenEndStyle Value) {
  FEndStyle = Value;
  FDefaultEnd = Value;
}

void TKelPen::InitVisible(bool Value) {
  FVisible = Value;
  FDefaultVisible = Value;
}

void TKelPen::InitWidth(float Value) {
  FWidth = Value;
  FDefaultWidth = Value;
}

void TKelPen::InitJoinStyle(TPenJoinStyle Value) {
  FJoinStyle = Value;
  FDefaultJoin = Value;
}

TKelHiddenPen::TKelHiddenPen(TNotifyEvent OnChange) : TKelPen(std::move(OnChange)) {
  InitVisible(false);
}

// The variant colours are set before the owner's callback is attached: an
// owner still under construction is not called back.
TDarkGrayPen::TDarkGrayPen(TNotifyEvent OnChange) {
  InitColor(claDarkGray);
  this->OnChange = std::move(OnChange);
}

TWhitePen::TWhitePen(TNotifyEvent OnChange) {
  InitColor(claWhite);
  this->OnChange = std::move(OnChange);
}

}  // namespace sextant

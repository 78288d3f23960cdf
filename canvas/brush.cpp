#include "canvas/brush.h"

#include "canvas/gradient.h"

namespace sextant {

// ---- TKelPicture ---------------------------------------------------------

TKelPicture::TKelPicture(TNotifyEvent OnChange) : OnChange(std::move(OnChange)) {}

void TKelPicture::Assign(const TPersistent* Source) {
  const auto* src = dynamic_cast<const TKelPicture*>(Source);
  if (!src) AssignError(Source);
  if (src == this || FBitmap == src->FBitmap) return;
  FBitmap = src->FBitmap;
  CallEvent(OnChange, this);
}

void TKelPicture::SetBitmap(const IHostBitmap* Value) {
  if (FBitmap.get() == Value) return;
  // Aliasing constructor with an empty owner: a pointer that owns nothing.
  FBitmap = std::shared_ptr<const IHostBitmap>(std::shared_ptr<const IHostBitmap>(), Value);
  CallEvent(OnChange, this);
}

void TKelPicture::SetOwnedBitmap(std::unique_ptr<IHostBitmap> Value) {
  FBitmap = std::shared_ptr<const IHostBitmap>(std::move(Value));
  CallEvent(OnChange, this);
}

bool TKelPicture::IsEmpty() const { return !FBitmap || FBitmap->IsEmpty(); }

// ---- TKelBrush -------------------------------------------------------------

TKelBrush::TKelBrush(TNotifyEvent OnChange) : OnChange(std::move(OnChange)) {
  InitColor(clKelColor);
}

TKelBrush::~TKelBrush() = default;

void TKelBrush::Changed() { CallEvent(OnChange, this); }

void TKelBrush::Assign(const TPersistent* Source) {
  const auto* src = dynamic_cast<const TKelBrush*>(Source);
  if (!src) AssignError(Source);
  if (src == this) return;
  TNotifyEvent saved = std::move(OnChange);
  OnChange = nullptr;
  if (src->FImage) {
    Image()->Assign(src->FImage.get());
  } else {
    FImage.reset();
  }
  FBackColor = src->FBackColor;
  FHatchStyle = src->FHatchStyle;
  if (src->FGradient) {
    Gradient()->Assign(src->FGradient.get());
  } else {
    FGradient.reset();
  }
  FKind = src->FKind;
  FColor = src->FColor;
  FBitmap = src->FBitmap;
  OnChange = std::move(saved);
  Changed();
}

void TKelBrush::SetStyle(THostBrushKind Value) {
  if (FKind == Value) return;
  FKind = Value;
  Changed();
}

void TKelBrush::SetColor(TColor Value) {
  if (FColor == Value) return;
  FColor = Value;
  Changed();
}

void TKelBrush::SetBackColor(TColor Value) {
  if (FBackColor == Value) return;
  FBackColor = Value;
  Changed();
}

void TKelBrush::SetHatchStyle(THatchStyle Value) {
  if (FHatchStyle == Value) return;
  FHatchStyle = Value;
  Changed();
}

void TKelBrush::SetBitmap(const IHostBitmap* Value) {
  if (FBitmap == Value) return;
  FBitmap = Value;
  Changed();
}

TKelGradient* TKelBrush::Gradient() const {
  if (!FGradient) {
    auto* self = const_cast<TKelBrush*>(this);
    FGradient = std::make_unique<TKelGradient>([self](TPersistent* Sender) { CallEvent(self->OnChange, Sender); });
    FGradient->IBrush = self;
  }
  return FGradient.get();
}

void TKelBrush::SetGradient(const TKelGradient* Value) {
  if (Value) {
    Gradient()->Assign(Value);
  } else if (FGradient) {
    FGradient.reset();
    Changed();
  }
}

TKelPicture* TKelBrush::Image() const {
  if (!FImage) {
    auto* self = const_cast<TKelBrush*>(this);
    FImage = std::make_unique<TKelPicture>([self](TPersistent* Sender) { CallEvent(self->OnChange, Sender); });
  }
  return FImage.get();
}

void TKelBrush::SetImage(const TKelPicture* Value) {
  if (Value) {
    Image()->Assign(Value);
  } else if (FImage) {
    FImage.reset();
    Changed();
  }
}

void TKelBrush::InitColor(TColor Value) {
  FColor = Value;
  FDefaultColor = Value;
}

void TKelBrush::Clear() {
  TNotifyEvent saved = std::move(OnChange);
  OnChange = nullptr;
  FKind = THostBrushKind::None;
  FImage.reset();
  FGradient.reset();
  OnChange = std::move(saved);
  Changed();
}

bool TKelBrush::HasGradient() const { return FGradient && FGradient->Visible(); }

}  // namespace sextant

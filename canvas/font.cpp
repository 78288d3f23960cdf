#include "canvas/font.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "canvas/brush.h"
#include "canvas/gradient.h"
#include "canvas/pen.h"
#include "canvas/shadow.h"
#include "platform/platform_services.h"

namespace sextant {

// ---- Default font ------------------------------------------------------------

namespace {

struct TDefaultFontState {
  bool Ready = false;
  std::string Name;
  int Size = 0;
};

TDefaultFontState& DefaultFontState() {
  static TDefaultFontState state;
  return state;
}

}  // namespace

void KelDefaultFont() {
  TDefaultFontState& s = DefaultFontState();
  if (const ISystemFontService* service = KelPlatform().FontService) {
    s.Name = service->DefaultFontFamily();
    s.Size = KelRound(service->DefaultFontSize());
  } else {
    s.Name = KelMsg_DefaultFontName;
    s.Size = std::stoi(KelMsg_DefaultFontSize);
  }
  s.Ready = true;
}

const std::string& KelDefaultFontName() {
  if (!DefaultFontState().Ready) KelDefaultFont();
  return DefaultFontState().Name;
}

int KelDefaultFontSize() {
  if (!DefaultFontState().Ready) KelDefaultFont();
  return DefaultFontState().Size;
}

// ---- TKelFont ------------------------------------------------------------------

TKelFont::TKelFont(TNotifyEvent OnChange)
    : OnChange(std::move(OnChange)),
      FFamily(KelDefaultFontName()),
      FSize(static_cast<float>(KelDefaultFontSize())) {
  FBrush = std::make_unique<TKelBrush>([this](TPersistent*) { Changed(); });
  FBrush->InitColor(claBlack);
}

TKelFont::~TKelFont() = default;

void TKelFont::Changed() { CallEvent(OnChange, this); }

void TKelFont::Assign(const TPersistent* Source) {
  const auto* src = dynamic_cast<const TKelFont*>(Source);
  if (!src) AssignError(Source);
  if (src == this) return;
  TNotifyEvent saved = std::move(OnChange);
  OnChange = nullptr;
  FBrush->Assign(src->FBrush.get());
  FDefaultFont = src->FDefaultFont;
  FDepth = src->FDepth;
  if (src->FEmboss) {
    Emboss()->Assign(src->FEmboss.get());
  } else {
    FEmboss.reset();
  }
  FInterCharSize = src->FInterCharSize;
  if (src->FOutLine) {
    OutLine()->Assign(src->FOutLine.get());
  } else {
    FOutLine.reset();
  }
  FQuality = src->FQuality;
  if (src->FShadow) {
    Shadow()->Assign(src->FShadow.get());
  } else {
    FShadow.reset();
  }
  FFamily = src->FFamily;
  FSize = src->FSize;
  FStyle = src->FStyle;
  FWeight = src->FWeight;
  FSlant = src->FSlant;
  FStretch = src->FStretch;
  OnChange = std::move(saved);
  Changed();
}

void TKelFont::SetFamily(const std::string& Value) {
  if (FFamily == Value) return;
  FFamily = Value;
  Changed();
}

void TKelFont::SetSize(float Value) {
  // A size that is not a number is the default size; sizes beyond the
  // pixel bound are clamped to it (no text can be taller).
  if (std::isnan(Value)) Value = static_cast<float>(KelDefaultFontSize());
  const float M = static_cast<float>(KelMaxPixelPos);
  Value = std::clamp(Value, -M, M);
  if (FSize == Value) return;
  FSize = Value;
  Changed();
}

void TKelFont::SetHeight(int Value) { SetSize(static_cast<float>(Value * -72.0 / 96.0)); }

void TKelFont::SetStyle(TFontStyles Value) {
  if (FStyle == Value) return;
  FStyle = Value;
  Changed();
}

void TKelFont::SetWeight(int Value) {
  Value = std::clamp(Value, 0, 10);
  if (FWeight == Value) return;
  FWeight = Value;
  Changed();
}

void TKelFont::SetSlant(int Value) {
  Value = std::clamp(Value, 0, 2);
  if (FSlant == Value) return;
  FSlant = Value;
  Changed();
}

void TKelFont::SetStretch(int Value) {
  Value = std::clamp(Value, 0, 8);
  if (FStretch == Value) return;
  FStretch = Value;
  Changed();
}

THostFont TKelFont::HostFont() const {
  THostFont f;
  f.Family = FFamily;
  f.Size = FSize;
  f.Bold = (FStyle & fsBold) != 0;
  f.Italic = (FStyle & fsItalic) != 0;
  f.Underline = (FStyle & fsUnderline) != 0;
  f.StrikeOut = (FStyle & fsStrikeOut) != 0;
  f.Weight = FWeight;
  f.Slant = FSlant;
  f.Stretch = FStretch;
  return f;
}

void TKelFont::SetBrush(const TKelBrush* Value) {
  if (Value) FBrush->Assign(Value);
}

TColor TKelFont::Color() const { return FBrush->Color(); }
void TKelFont::SetColor(TColor Value) { FBrush->SetColor(Value); }
TKelGradient* TKelFont::Gradient() const { return FBrush->Gradient(); }
void TKelFont::SetGradient(const TKelGradient* Value) { FBrush->SetGradient(Value); }
TKelPicture* TKelFont::Picture() const { return FBrush->Image(); }
void TKelFont::SetPicture(const TKelPicture* Value) { FBrush->SetImage(Value); }

void TKelFont::SetDefaultFont(bool Value) {
  if (FDefaultFont == Value) return;
  FDefaultFont = Value;
  Changed();
}

void TKelFont::SetDepth(double Value) {
  if (FDepth == Value) return;
  FDepth = Value;
  Changed();
}

void TKelFont::SetInterCharSize(int Value) {
  if (FInterCharSize == Value) return;
  FInterCharSize = Value;
  Changed();
}

void TKelFont::SetQuality(TFontQuality Value) {
  if (FQuality == Value) return;
  FQuality = Value;
  Changed();
}

TKelHiddenPen* TKelFont::OutLine() const {
  if (!FOutLine) {
    auto* self = const_cast<TKelFont*>(this);
    FOutLine = std::make_unique<TKelHiddenPen>([self](TPersistent*) { self->Changed(); });
  }
  return FOutLine.get();
}

void TKelFont::SetOutLine(const TKelHiddenPen* Value) {
  if (Value) {
    OutLine()->Assign(Value);
  } else if (FOutLine) {
    FOutLine.reset();
    Changed();
  }
}

TKelEmboss* TKelFont::Emboss() const {
  if (!FEmboss) {
    auto* self = const_cast<TKelFont*>(this);
    FEmboss = std::make_unique<TKelEmboss>([self](TPersistent*) { self->Changed(); });
  }
  return FEmboss.get();
}

void TKelFont::SetEmboss(const TKelEmboss* Value) {
  if (Value) {
    Emboss()->Assign(Value);
  } else if (FEmboss) {
    FEmboss.reset();
    Changed();
  }
}

TKelShadow* TKelFont::Shadow() const {
  if (!FShadow) {
    auto* self = const_cast<TKelFont*>(this);
    FShadow = std::make_unique<TKelShadow>([self](TPersistent*) { self->Changed(); });
  }
  return FShadow.get();
}

void TKelFont::SetShadow(const TKelShadow* Value) {
  if (Value) {
    Shadow()->Assign(Value);
  } else if (FShadow) {
    FShadow.reset();
    Changed();
  }
}

void TKelFont::InitColor(TColor Value) {
  FBrush->InitColor(Value);  // never notifies
  IDefColor = Value;
}

void TKelFont::InitStyle(TFontStyles Value) {
  FStyle = Value;
  IDefStyle = Value;
}

}  // namespace sextant

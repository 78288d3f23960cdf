#include "canvas/gradient.h"

#include <algorithm>
#include <cmath>

#include "canvas/brush.h"
#include "canvas/canvas3d.h"

namespace sextant {

namespace {

// Detaches a callback for the lifetime of the guard.
class TDetach {
 public:
  explicit TDetach(TNotifyEvent& Event) : FEvent(Event), FSaved(std::move(Event)) { FEvent = nullptr; }
  ~TDetach() { FEvent = std::move(FSaved); }
  TDetach(const TDetach&) = delete;
  TDetach& operator=(const TDetach&) = delete;

 private:
  TNotifyEvent& FEvent;
  TNotifyEvent FSaved;
};

}  // namespace

// ---- TKelGradientColor --------------------------------------------------------

void TKelGradientColor::SetColor(TColor Value) {
  if (FColor == Value) return;
  FColor = Value;
  FOwner->Changed();
}

void TKelGradientColor::SetOffset(double Value) {
  if (FOffset == Value) return;
  FOffset = Value;
  FOwner->Changed();
}

void TKelGradientColor::SetTransparency(std::uint8_t Value) { SetColor(ColorFrom(FColor, Value)); }

// ---- TKelGradientColors -------------------------------------------------------

TKelGradientColors::TKelGradientColors(TNotifyEvent OnChange) : OnChange(std::move(OnChange)) {}

TKelGradientColors::~TKelGradientColors() = default;

void TKelGradientColors::Changed() { CallEvent(OnChange, this); }

void TKelGradientColors::Assign(const TPersistent* Source) {
  const auto* src = dynamic_cast<const TKelGradientColors*>(Source);
  if (!src) AssignError(Source);
  if (src == this) return;
  FItems.clear();
  for (const auto& item : src->FItems) {
    auto copy = std::unique_ptr<TKelGradientColor>(new TKelGradientColor(this));
    copy->FColor = item->FColor;
    copy->FOffset = item->FOffset;
    FItems.push_back(std::move(copy));
  }
  Changed();
}

TKelGradientColor* TKelGradientColors::Items(std::size_t Index) {
  if (Index >= FItems.size()) {
    while (FItems.size() <= Index) {
      FItems.push_back(std::unique_ptr<TKelGradientColor>(new TKelGradientColor(this)));
    }
    Changed();
  }
  return FItems[Index].get();
}

TKelGradientColor* TKelGradientColors::Add(TColor Color, double Offset) {
  if (std::isnan(Offset) || Offset < 0) {
    Offset = 0;
  } else if (Offset > 1) {
    Offset = 1;
  }
  auto pos = std::find_if(FItems.begin(), FItems.end(),
                          [Offset](const auto& item) { return item->FOffset > Offset; });
  auto item = std::unique_ptr<TKelGradientColor>(new TKelGradientColor(this));
  item->FOffset = Offset;
  item->FColor = Color;
  TKelGradientColor* result = item.get();
  FItems.insert(pos, std::move(item));
  Changed();
  return result;
}

void TKelGradientColors::Delete(std::size_t Index) {
  if (Index >= FItems.size()) return;
  FItems.erase(FItems.begin() + static_cast<std::ptrdiff_t>(Index));
  Changed();
}

void TKelGradientColors::Clear() {
  if (FItems.empty()) return;
  FItems.clear();
  Changed();
}

// ---- TCustomKelGradient -------------------------------------------------------

TCustomKelGradient::TCustomKelGradient(TNotifyEvent OnChange) : OnChange(std::move(OnChange)) {
  InitDefaults();
}

TCustomKelGradient::~TCustomKelGradient() = default;

void TCustomKelGradient::Changed() { CallEvent(OnChange, this); }

void TCustomKelGradient::Assign(const TPersistent* Source) {
  const auto* src = dynamic_cast<const TCustomKelGradient*>(Source);
  if (!src) AssignError(Source);
  if (src == this) return;
  {
    TDetach detach(OnChange);
    FAngle = src->FAngle;
    FBalance = src->FBalance;
    FDirection = src->FDirection;
    FRadialX = src->FRadialX;
    FRadialY = src->FRadialY;
    Colors()->Assign(src->Colors());
    FStartIsEnd = src->FStartIsEnd;
    if (src->FSubGradient) {
      SubGradient()->Assign(src->FSubGradient.get());
    } else {
      FSubGradient.reset();
    }
    SetVisible(src->FVisible);
  }
  Changed();
}

void TCustomKelGradient::SetAngle(int Value) {
  if (FAngle == Value) return;
  FAngle = Value;
  Changed();
}

void TCustomKelGradient::SetBalance(int Value) {
  if (FBalance == Value) return;
  FBalance = Value;
  Changed();
}

void TCustomKelGradient::SetDirection(TGradientDirection Value) {
  if (FDirection == Value) return;
  FDirection = Value;
  Changed();
}

void TCustomKelGradient::SetRadialX(int Value) {
  if (FRadialX == Value) return;
  FRadialX = Value;
  Changed();
}

void TCustomKelGradient::SetRadialY(int Value) {
  if (FRadialY == Value) return;
  FRadialY = Value;
  Changed();
}

void TCustomKelGradient::SetStartIsEnd(bool Value) {
  if (FStartIsEnd == Value) return;
  FStartIsEnd = Value;
  Changed();
}

void TCustomKelGradient::SetVisible(bool Value) {
  if (FVisible == Value) return;
  FVisible = Value;
  // The owning brush fills with the gradient exactly while it is visible.
  if (IBrush) IBrush->SetStyle(Value ? THostBrushKind::Gradient : THostBrushKind::Solid);
  Changed();
}

void TCustomKelGradient::SetCustomTargetRectangle(const TRectF& Value) {
  if (FCustomTargetRectangle == Value) return;
  FCustomTargetRectangle = Value;
  Changed();
}

TKelGradientColors* TCustomKelGradient::Colors() const {
  if (!FColors) {
    auto* self = const_cast<TCustomKelGradient*>(this);
    FColors = std::make_unique<TKelGradientColors>();
    self->ResetColors();
    FColors->OnChange = [self](TPersistent*) { self->Changed(); };
  }
  return FColors.get();
}

void TCustomKelGradient::SetColors(const TKelGradientColors* Value) {
  if (Value) {
    Colors()->Assign(Value);
  } else if (FColors) {
    FColors.reset();
    Changed();
  }
}

TSubGradient* TCustomKelGradient::SubGradient() const {
  if (!FSubGradient) {
    auto* self = const_cast<TCustomKelGradient*>(this);
    FSubGradient = std::make_unique<TSubGradient>([self](TPersistent* Sender) { CallEvent(self->OnChange, Sender); });
  }
  return FSubGradient.get();
}

void TCustomKelGradient::SetSubGradient(const TSubGradient* Value) {
  if (Value) {
    SubGradient()->Assign(Value);
  } else if (FSubGradient) {
    FSubGradient.reset();
    Changed();
  }
}

TColor TCustomKelGradient::StartColor() const {
  if (!FColors) return IDefStart;
  return FColors->Count() == 0 ? 0 : FColors->At(0).Color();
}

TColor TCustomKelGradient::EndColor() const {
  if (!FColors) return IDefEnd;
  return FColors->Count() == 0 ? 0 : FColors->At(FColors->Count() - 1).Color();
}

TColor TCustomKelGradient::MidColor() const {
  if (!FColors) return IDefMid;
  return FColors->Count() >= 3 ? FColors->At(1).Color() : 0;
}

void TCustomKelGradient::SetStartColor(TColor Value) { Colors()->Items(0)->SetColor(Value); }

void TCustomKelGradient::SetEndColor(TColor Value) {
  TKelGradientColors* c = Colors();
  c->Items(c->Count() == 0 ? 0 : c->Count() - 1)->SetColor(Value);
  if (FStartIsEnd) c->Items(0)->SetColor(Value);
}

void TCustomKelGradient::SetMidColor(TColor Value) {
  TKelGradientColors* c = Colors();
  if (Value != 0) {
    if (c->Count() <= 2) {
      // A new middle stop between the first and the last.
      auto item = std::unique_ptr<TKelGradientColor>(new TKelGradientColor(c));
      item->FOffset = 0.5;
      item->FColor = Value;
      c->FItems.insert(c->FItems.begin() + std::min<std::ptrdiff_t>(1, c->FItems.size()), std::move(item));
      IMidColor = Value;
      c->Changed();
      return;
    }
    TKelGradientColor* mid = c->Items(1);
    if (mid->Color() == Value) return;
    IMidColor = Value;
    mid->SetColor(Value);
  } else if (c->Count() > 2) {
    c->Delete(1);
  }
}

void TCustomKelGradient::UseMiddleColor() { SetMidColor(IMidColor); }

void TCustomKelGradient::InitDefaults() {
  FVisible = false;
  FDirection = gdTopBottom;
  IDefDirection = gdTopBottom;
  IDefStart = 0xFFFFFFFF;
  IDefEnd = 0xFFFFFF00;
  IDefMid = 0;
  IDefVisible = false;
  IMidColor = 0xFFFFFFFF;
  if (FColors) ResetColors();
  FBalance = 50;
  FAngle = 0;
  FRadialX = 0;
  FRadialY = 0;
}

void TCustomKelGradient::ResetColors() {
  if (!FColors) return;
  TDetach detach(FColors->OnChange);
  FColors->FItems.clear();
  FColors->Add(IDefStart, 0);
  if (IDefMid != 0) FColors->Add(IDefMid, 0.5);
  FColors->Add(IDefEnd, 1);
}

void TCustomKelGradient::InitDirection(TGradientDirection Value) {
  FDirection = Value;
  IDefDirection = Value;
}

void TCustomKelGradient::InitColors(TColor Start, TColor Mid, TColor End) {
  IDefStart = Start;
  IDefMid = Mid;
  IDefEnd = End;
  if (Mid != 0) IMidColor = Mid;
  ResetColors();
}

void TCustomKelGradient::InitVisible(bool Value) {
  FVisible = Value;
  IDefVisible = Value;
}

// ---- Drawing ---------------------------------------------------------------------

void TCustomKelGradient::CopyIntoCanvas(TCanvas3D& Canvas) const {
  TKelGradient* g = Canvas.Gradient();
  g->Assign(this);
  // Drawing a gradient means filling with it: the canvas brush takes the
  // gradient kind for the next fill even when this gradient is hidden.
  g->SetVisible(true);
  Canvas.Brush()->SetStyle(THostBrushKind::Gradient);
}

void TCustomKelGradient::Draw(TCanvas3D& Canvas, const TRectF& Rect, int RoundRectSize) {
  CopyIntoCanvas(Canvas);
  if (RoundRectSize < 1) {
    Canvas.FillRect(Rect);
  } else {
    Canvas.RoundRect(Rect, RoundRectSize, RoundRectSize);
  }
  if (FSubGradient && FSubGradient->Visible()) DrawSubGradient(Canvas, Rect, RoundRectSize);
}

void TCustomKelGradient::Draw(TCanvas3D& Canvas, std::span<const TPointF> Points, bool Is3D, int Depth) {
  CopyIntoCanvas(Canvas);
  if (Is3D) {
    Canvas.PolygonWithZ(Points, Depth);
  } else {
    Canvas.Polygon(Points);
  }
}

void TCustomKelGradient::Draw(TCanvas3D& Canvas, TPointF P0, TPointF P1, TPointF P2) {
  CopyIntoCanvas(Canvas);
  Canvas.Pen()->SetStyle(psClear);
  const TPointF pts[3] = {P0, P1, P2};
  Canvas.Polygon(pts);
}

void TCustomKelGradient::Draw(TCanvas3D& Canvas, TPointF P0, TPointF P1, TPointF P2, TPointF P3,
                              int Depth) {
  CopyIntoCanvas(Canvas);
  Canvas.Pen()->SetStyle(psClear);
  const TPointF pts[4] = {Canvas.Calculate3DPosition(P0, static_cast<float>(Depth)),
                          Canvas.Calculate3DPosition(P1, static_cast<float>(Depth)),
                          Canvas.Calculate3DPosition(P2, static_cast<float>(Depth)),
                          Canvas.Calculate3DPosition(P3, static_cast<float>(Depth))};
  Canvas.Polygon(pts);
}

void TCustomKelGradient::DrawSubGradient(TCanvas3D& Canvas, const TRectF& Rect, int RoundRectSize) {
  TSubGradient* sub = SubGradient();
  TKelBlend* blend = Canvas.BeginBlending(Rect, sub->Transparency());
  // Blending ends also when drawing fails.
  struct TEnd {
    TCanvas3D& C;
    TKelBlend* B;
    ~TEnd() { C.EndBlending(B); }
  } end{Canvas, blend};
  if (sub->Direction() == gdRadial) {
    sub->DrawRadial(Canvas, Rect);
  } else {
    sub->Draw(Canvas, Rect, RoundRectSize);
  }
}

void TCustomKelGradient::DrawRadial(TCanvas3D& Canvas, const TRectF& Rect) {
  Canvas.GradientFill(Rect, StartColor(), EndColor(), gdRadial, FBalance, FRadialX, FRadialY);
  if (FSubGradient && FSubGradient->Visible()) DrawSubGradient(Canvas, Rect, 0);
}

// ---- TSubGradient -----------------------------------------------------------------

TSubGradient::TSubGradient(TNotifyEvent OnChange) : TCustomKelGradient(std::move(OnChange)) {}

void TSubGradient::Assign(const TPersistent* Source) {
  if (const auto* src = dynamic_cast<const TSubGradient*>(Source)) FTransparency = src->FTransparency;
  TCustomKelGradient::Assign(Source);
}

void TSubGradient::SetTransparency(std::uint8_t Value) {
  if (FTransparency == Value) return;
  FTransparency = Value;
  Changed();
}

}  // namespace sextant

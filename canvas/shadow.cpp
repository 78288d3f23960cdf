#include "canvas/shadow.h"

#include <cmath>
#include <cstdlib>
#include <vector>

#include "canvas/canvas3d.h"

namespace sextant {

TKelShadow::TKelShadow(TNotifyEvent OnChange) : OnChange(std::move(OnChange)) {}

void TKelShadow::Changed() { CallEvent(OnChange, this); }

void TKelShadow::Assign(const TPersistent* Source) {
  const auto* src = dynamic_cast<const TKelShadow*>(Source);
  if (!src) AssignError(Source);
  if (src == this) return;
  FColor = src->FColor;
  FDirection = src->FDirection;
  FHorizSize = src->FHorizSize;
  FSmooth = src->FSmooth;
  FSmoothBlur = src->FSmoothBlur;
  FTransparency = src->FTransparency;
  FVertSize = src->FVertSize;
  FVisible = src->FVisible;
  Changed();
}

#define KEL_SHADOW_SETTER(Name, Type, Field) \
  void TKelShadow::Set##Name(Type Value) {   \
    if (Field == Value) return;              \
    Field = Value;                           \
    Changed();                               \
  }

KEL_SHADOW_SETTER(Clip, bool, FClip)
KEL_SHADOW_SETTER(Color, TColor, FColor)
KEL_SHADOW_SETTER(Direction, TShadowDirection, FDirection)
KEL_SHADOW_SETTER(Smooth, bool, FSmooth)
KEL_SHADOW_SETTER(SmoothBlur, int, FSmoothBlur)
KEL_SHADOW_SETTER(Transparency, std::uint8_t, FTransparency)
KEL_SHADOW_SETTER(Visible, bool, FVisible)
KEL_SHADOW_SETTER(BlurSize, int, FBlurSize)
KEL_SHADOW_SETTER(ZPosition, double, FZPosition)

#undef KEL_SHADOW_SETTER

// The offsets are pixel lengths: clamped to +-KelMaxPixelPos, so that
// shapes moved by them stay within the int pixels.
void TKelShadow::SetHorizSize(int Value) {
  Value = KelBoundPixel(Value);
  if (FHorizSize == Value) return;
  FHorizSize = Value;
  Changed();
}

void TKelShadow::SetVertSize(int Value) {
  Value = KelBoundPixel(Value);
  if (FVertSize == Value) return;
  FVertSize = Value;
  Changed();
}

int TKelShadow::Size() const { return std::max(std::abs(FHorizSize), std::abs(FVertSize)); }

void TKelShadow::SetSize(int Value) {
  Value = KelBoundPixel(Value);
  if (FHorizSize == Value && FVertSize == Value) return;
  FHorizSize = Value;
  FVertSize = Value;
  Changed();
}

void TKelShadow::InitValues(bool AVisible, TColor AColor, int ASize) {
  FVisible = AVisible;
  FDefaultVisible = AVisible;
  FColor = AColor;
  FDefaultColor = AColor;
  FHorizSize = ASize;
  FVertSize = ASize;
  FDefaultSize = ASize;
}

bool TKelShadow::ShouldDraw() const { return FVisible && (FHorizSize != 0 || FVertSize != 0); }

TRectF TKelShadow::OffsetRectangle(const TRectF& R) const {
  const float h = static_cast<float>(FHorizSize);
  const float v = static_cast<float>(FVertSize);
  TRectF r = R;
  switch (FDirection) {
    case sdLeftTop:
      r = {R.Left - h, R.Top - v, R.Right - h, R.Bottom - v};
      break;
    case sdLeftBottom:
      r = {R.Left - h, R.Top + v, R.Right - h, R.Bottom + v};
      break;
    case sdRightTop:
      r = {R.Left + h, R.Top - v, R.Right + h, R.Bottom - v};
      break;
    case sdRightBottom:
      r = {R.Left + h, R.Top + v, R.Right + h, R.Bottom + v};
      break;
    case sdCenter:
      InflateRectF(r, std::fabs(h), std::fabs(v));
      break;
  }
  return r;
}

std::array<TPointF, 4> TKelShadow::RotateRectangle(const TRectF& R, double Angle) {
  const double cx = (R.Left + R.Right) * 0.5;
  const double cy = (R.Top + R.Bottom) * 0.5;
  const double a = KelDegToRad(Angle);
  const double c = std::cos(a);
  const double s = std::sin(a);
  auto turn = [&](double x, double y) {
    const double dx = x - cx;
    const double dy = y - cy;
    return TPointF{static_cast<float>(cx + dx * c + dy * s), static_cast<float>(cy - dx * s + dy * c)};
  };
  return {turn(R.Left, R.Top), turn(R.Right, R.Top), turn(R.Right, R.Bottom), turn(R.Left, R.Bottom)};
}

bool TKelShadow::PrepareCanvas(TCanvas3D& Canvas, const TRectF& Rect) {
  if (FColor == 0 || (FHorizSize == 0 && FVertSize == 0)) return false;
  ITransp = FTransparency != 0 ? FTransparency : Canvas.Transparency();
  if (ITransp > 0) {
    IBlend = Canvas.BeginBlending(Rect, ITransp);
    IBlending = true;
  }
  return true;
}

void TKelShadow::FinishBlending(TCanvas3D& Canvas) {
  if (!IBlending) return;
  IBlending = false;
  Canvas.EndBlending(IBlend);
  IBlend = nullptr;
}

void TKelShadow::Draw(TCanvas3D& Canvas, const TRectF& Rect, double Angle, int RoundSize) {
  const TPenStyle oldStyle = Canvas.Pen()->Style();
  const TColor oldColor = Canvas.Pen()->Color();
  if (PrepareCanvas(Canvas, Rect)) {
    const TRectF r = OffsetRectangle(Rect);
    if (Angle != 0) {
      const auto pts = RotateRectangle(r, Angle);
      Canvas.SmoothShadow(*this, r, false, 0, pts, 0, 0, 360);
    } else {
      Canvas.SmoothShadow(*this, r, false, 0, {}, RoundSize, 0, 360);
    }
    FinishBlending(Canvas);
  }
  Canvas.Pen()->SetStyle(oldStyle);
  Canvas.Pen()->SetColor(oldColor);
}

void TKelShadow::Draw(TCanvas3D& Canvas, std::span<const TPointF> Points) {
  if (Points.empty()) return;
  std::vector<TPointF> moved(Points.begin(), Points.end());
  for (TPointF& p : moved) {
    p.X += static_cast<float>(FHorizSize);
    p.Y += static_cast<float>(FVertSize);
  }
  // Only canvases without alpha support need the area to blend.
  const TRectF bounds = Canvas.SupportsAlpha() ? TRectF{} : PolygonBounds(moved);
  if (!PrepareCanvas(Canvas, bounds)) return;
  Canvas.SmoothShadow(*this, bounds, false, 0, moved, 0, 0, 360);
  FinishBlending(Canvas);
}

void TKelShadow::DrawEllipse(TCanvas3D& Canvas, const TRectF& Rect, double StartAngle,
                             double EndAngle, int DonutPercent) {
  const TRectF r = OffsetRectangle(Rect);
  if (!PrepareCanvas(Canvas, r)) return;
  Canvas.SmoothShadow(*this, r, true, DonutPercent, {}, 0, StartAngle, EndAngle);
  FinishBlending(Canvas);
}

TKelEmboss::TKelEmboss(TNotifyEvent OnChange) : TKelShadow(std::move(OnChange)) {
  InitDefaultVisible(false);
  InitDirection(sdLeftTop);
}

}  // namespace sextant

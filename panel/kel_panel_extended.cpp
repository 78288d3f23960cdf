#include "panel/kel_panel_extended.h"

#include <algorithm>

#include "canvas/brush.h"
#include "canvas/canvas3d.h"
#include "canvas/gradient.h"
#include "canvas/pen.h"
#include "canvas/shadow.h"
#include "platform/host_canvas.h"

namespace sextant {

// ===========================================================================
// TBackImage
// ===========================================================================

TBackImage::TBackImage(TNotifyEvent OnChange) : FOnChange(std::move(OnChange)) {}
TBackImage::~TBackImage() = default;

void TBackImage::Changed() { CallEvent(FOnChange, this); }

void TBackImage::SetBitmap(const IHostBitmap* Value) {
  if (FBitmap != Value) {
    FBitmap = Value;
    Changed();
  }
}

bool TBackImage::Valid() const { return FBitmap && !FBitmap->IsEmpty(); }

void TBackImage::SetMode(TKelBackImageMode Value) {
  if (FMode != Value) {
    FMode = Value;
    Changed();
  }
}

void TBackImage::SetInside(bool Value) {
  if (FInside != Value) {
    FInside = Value;
    Changed();
  }
}

void TBackImage::SetHighQuality(bool Value) {
  if (FHighQuality != Value) {
    FHighQuality = Value;
    Changed();
  }
}

void TBackImage::Assign(const TPersistent* Source) {
  if (auto* s = dynamic_cast<const TBackImage*>(Source)) {
    FBitmap = s->FBitmap;
    FMode = s->FMode;
    FInside = s->FInside;
    FHighQuality = s->FHighQuality;
    Left = s->Left;
    Top = s->Top;
    Right = s->Right;
    Bottom = s->Bottom;
    Changed();
    return;
  }
  AssignError(Source);
}

// ===========================================================================
// TCustomKelPanelExtended
// ===========================================================================

TCustomKelPanelExtended::TCustomKelPanelExtended(TComponent* AOwner) : TCustomKelPanel(AOwner) {
  FZoom = std::make_unique<TKelZoom>([this](TPersistent* s) { CanvasChanged(s); });
}

TCustomKelPanelExtended::~TCustomKelPanelExtended() = default;

TColor TCustomKelPanelExtended::GetBackColor() const {
  if (FGradient && FGradient->Visible()) return FGradient->StartColor();
  return TCustomKelPanel::GetBackColor();
}

bool TCustomKelPanelExtended::AllowZoom() const { return FZoom->Allow(); }
void TCustomKelPanelExtended::SetAllowZoom(bool Value) { FZoom->SetAllow(Value); }
void TCustomKelPanelExtended::SetZoom(const TKelZoom* Value) { FZoom->Assign(Value); }

TKelGradient* TCustomKelPanelExtended::Gradient() {
  if (!FGradient)
    FGradient = std::make_unique<TKelGradient>([this](TPersistent* s) { CanvasChanged(s); });
  return FGradient.get();
}

void TCustomKelPanelExtended::SetGradient(const TKelGradient* Value) {
  if (!Value) {
    FGradient.reset();
    Invalidate();
    return;
  }
  Gradient()->Assign(Value);
}

TBackImage* TCustomKelPanelExtended::BackImage() {
  if (!FBackImage)
    FBackImage = std::make_unique<TBackImage>([this](TPersistent* s) { CanvasChanged(s); });
  return FBackImage.get();
}

void TCustomKelPanelExtended::SetBackImage(const TBackImage* Value) {
  if (!Value) {
    FBackImage.reset();
    Invalidate();
    return;
  }
  BackImage()->Assign(Value);
}

bool TCustomKelPanelExtended::CanClip() const {
  if (Canvas()->SupportsFullRotation() && View3D()) return false;
  if (FPrinting) return KelClipWhenPrinting;
  if (Canvas()->Metafiling()) return KelClipWhenMetafiling;
  return true;
}

void TCustomKelPanelExtended::CancelInsideBoundsPanning() {
  if (Panning()->InsideBounds()) Panning()->SetActive(false);
}

// ---- Background ------------------------------------------------------------

void TCustomKelPanelExtended::PanelPaint(const TRectF& UserRect) {
  TCanvas3D& c = *Canvas();
  TRectF R = UserRect;
  c.BeginEntity("Panel");
  c.FrontPlaneBegin();
  if (Color() != 0) {
    c.Brush()->SetStyle(THostBrushKind::Solid);
    c.Brush()->SetColor(Color());
    c.Pen()->SetStyle(psClear);
    c.Gradient()->SetVisible(false);
    c.EraseBackground(R);
    // The panel's shadow and emboss take their room out of the rectangle.
    if (Shadow()->ShouldDraw()) {
      const int h = Shadow()->HorizSize(), v = Shadow()->VertSize();
      // In floating point: a shadow of any size cannot overflow.
      const float hf = static_cast<float>(h) + 1, vf = static_cast<float>(v) + 1;
      if (h > 0) R.Right -= hf; else R.Left -= hf;
      if (v > 0) R.Bottom -= vf; else R.Top -= vf;
      c.Pen()->SetStyle(psClear);
      Shadow()->Draw(c, R, 0, BorderRound());
    }
    if (Emboss()->ShouldDraw()) {
      const int h = Emboss()->HorizSize(), v = Emboss()->VertSize();
      if (h > 0) R.Left += h + 1; else R.Right -= h + 1;
      if (v > 0) R.Top += v + 1; else R.Bottom -= v + 1;
      c.Pen()->SetStyle(psClear);
      Emboss()->Draw(c, R, 0, BorderRound());
    }
  }
  FillPanelRect(R);
  if (FBackImage && FBackImage->Valid() && !FBackImage->Inside()) {
    DrawBackImage(R);
    if (FGradient && FGradient->Visible()) {
      bool translucent = false;
      for (std::size_t i = 0; i < FGradient->Colors()->Count(); ++i)
        if (ColorAlpha(FGradient->Colors()->Items(i)->Color()) != 0xFF) translucent = true;
      if (translucent) FillPanelRect(R);
    }
  }
  DrawPanelBevels(R);
  c.FrontPlaneEnd();
  c.EndEntity();
}

void TCustomKelPanelExtended::FillPanelRect(const TRectF& Rect) {
  if (!Border()->Visible() && Color() == 0) return;
  TCanvas3D& c = *Canvas();
  c.FrontPlaneBegin();
  c.AssignVisiblePen(Border());
  if (FGradient && FGradient->Visible())
    c.Gradient()->Assign(FGradient.get());
  else
    c.Gradient()->SetVisible(false);
  c.Brush()->SetImage(nullptr);
  c.Brush()->SetStyle(Color() == 0 ? THostBrushKind::None : THostBrushKind::Solid);
  c.Brush()->SetColor(Color());
  if (FGradient && FGradient->Visible() && Color() != 0)
    c.Brush()->SetStyle(THostBrushKind::Gradient);
  TRectF R = Rect;
  if (Border()->Visible()) {
    FixBorderWidth(R);
  } else {
    R.Right += 1;
    R.Bottom += 1;
  }
  if (BorderRound() > 0)
    c.RoundRect(R, BorderRound(), BorderRound());
  else
    c.Rectangle(R);
  c.FrontPlaneEnd();
}

int TCustomKelPanelExtended::FixBorderWidth(TRectF& Rect) {
  if (Border()->SmallDots()) return 1;
  const int w = KelRound(Border()->Width() - 1);
  if (w <= 0) return w;
  Rect.Left += w / 2 + (w % 2 != 0 ? 1 : 0);
  Rect.Top += w / 2 + (w % 2 != 0 ? 1 : 0);
  Rect.Right -= w / 2;
  Rect.Bottom -= w / 2;
  return w / 2;
}

void TCustomKelPanelExtended::DrawBevel(TRectF& R, TPanelBevel Kind, int BevelWidthValue) {
  if (Kind == bvNone) return;
  const TColor light = 0xFFFFFFFF, dark = 0xFFA0A0A0;
  const int n = KelRound(std::min({R.Width() / 2.0, R.Height() / 2.0,
                                   static_cast<double>(BevelWidthValue)}));
  TCanvas3D& c = *Canvas();
  if (BorderRound() > 0) {
    c.Pen()->SetColor(Kind == bvRaised ? light : dark);
    c.Brush()->SetStyle(THostBrushKind::None);
    InflateRectF(R, -1, -1);
    c.RoundRect(R, BorderRound(), BorderRound());
    InflateRectF(R, -static_cast<float>(n), -static_cast<float>(n));
  } else if (Kind == bvRaised) {
    c.Frame3D(R, light, dark, n);
  } else {
    c.Frame3D(R, dark, light, n);
  }
}

void TCustomKelPanelExtended::DrawPanelBevels(TRectF Rect) {
  if (BevelInner() == bvNone && BevelOuter() == bvNone && BorderWidth() <= 0) return;
  TCanvas3D& c = *Canvas();
  TKelPen* pen = c.Pen();
  pen->SetVisible(true);
  pen->SetStyle(psSolid);
  pen->SetWidth(1);
  pen->SetMode(pmCopy);
  pen->SetSmallDots(false);
  c.FrontPlaneBegin();
  if (Border()->Visible()) {
    const int d = FixBorderWidth(Rect);
    const float shrink = Border()->SmallDots() ? d : d + 1;
    InflateRectF(Rect, -shrink, -shrink);
  }
  DrawBevel(Rect, BevelOuter(), BevelWidth());
  if (BorderWidth() > 0) {
    // Like the bevels, at most as many frames as fit into the rectangle.
    const int n = KelRound(std::min({Rect.Width() / 2.0, Rect.Height() / 2.0,
                                     static_cast<double>(BorderWidth())}));
    c.Frame3D(Rect, Color(), Color(), n);
  }
  DrawBevel(Rect, BevelInner(), BevelWidth());
  c.FrontPlaneEnd();
}

void TCustomKelPanelExtended::DrawBackImage(const TRectF& Rect) {
  if (!FBackImage || !FBackImage->Valid()) return;
  TCanvas3D& c = *Canvas();
  const IHostBitmap& bmp = *FBackImage->Bitmap();
  const auto oldQuality = c.StretchQuality();
  c.SetStretchQuality(FBackImage->HighQuality() ? sqHigh : sqLow);
  const float w = static_cast<float>(bmp.Width()), h = static_cast<float>(bmp.Height());
  if (FBackImage->Mode() == pbmStretch) {
    c.StretchDraw(Rect, bmp);
  } else {
    FillPanelRect(Rect);
    const bool clip = CanClip();
    if (clip) c.ClipRectangle(Rect);
    switch (FBackImage->Mode()) {
      case pbmTile:
        for (float y = Rect.Top; y < Rect.Bottom; y += h)
          for (float x = Rect.Left; x < Rect.Right; x += w) c.StretchDraw({x, y, x + w, y + h}, bmp);
        break;
      case pbmCenter: {
        const float x = (Rect.Left + Rect.Right - w) * 0.5f;
        const float y = (Rect.Top + Rect.Bottom - h) * 0.5f;
        c.StretchDraw({x, y, x + w, y + h}, bmp);
        break;
      }
      case pbmCustom: {
        const float cw = FBackImage->Right ? static_cast<float>(FBackImage->Right) : w;
        const float ch = FBackImage->Bottom ? static_cast<float>(FBackImage->Bottom) : h;
        const float x = static_cast<float>(FBackImage->Left), y = static_cast<float>(FBackImage->Top);
        c.StretchDraw({x, y, x + cw, y + ch}, bmp);
        break;
      }
      default:
        break;
    }
    if (clip) c.UnClipRectangle();
  }
  c.SetStretchQuality(oldQuality);
}

}  // namespace sextant

// Third level of the chart control: panel background (gradient and
// background image) and the zoom and panning settings.
#pragma once

#include <functional>
#include <memory>

#include "panel/kel_panel.h"
#include "panel/zoom_panning.h"

namespace sextant {

class TKelGradient;
class IHostBitmap;

enum TKelBackImageMode { pbmStretch, pbmTile, pbmCenter, pbmCustom };

// The panel's background picture and how it is placed.
class TBackImage : public TPersistent {
 public:
  explicit TBackImage(TNotifyEvent OnChange = nullptr);
  ~TBackImage() override;
  void Assign(const TPersistent* Source) override;

  // The picture's bitmap (not owned); empty means no picture.
  const IHostBitmap* Bitmap() const { return FBitmap; }
  void SetBitmap(const IHostBitmap* Value);
  bool Valid() const;
  TKelBackImageMode Mode() const { return FMode; }
  void SetMode(TKelBackImageMode Value);
  bool Inside() const { return FInside; }
  void SetInside(bool Value);
  bool HighQuality() const { return FHighQuality; }
  void SetHighQuality(bool Value);
  int Left = 0, Top = 0, Right = 0, Bottom = 0;  // pbmCustom placement

 private:
  void Changed();
  TNotifyEvent FOnChange;
  const IHostBitmap* FBitmap = nullptr;
  TKelBackImageMode FMode = pbmStretch;
  bool FInside = false;
  bool FHighQuality = true;
};

class TCustomKelPanelExtended : public TCustomKelPanel {
 public:
  explicit TCustomKelPanelExtended(TComponent* AOwner = nullptr);
  ~TCustomKelPanelExtended() override;

  TColor GetBackColor() const override;

  TPanningMode AllowPanning() const { return FAllowPanning; }
  // Stored directly; requests no repaint.
  void SetAllowPanning(TPanningMode Value) { FAllowPanning = Value; }
  bool AllowZoom() const;
  void SetAllowZoom(bool Value);
  TMouseButton ScrollMouseButton() const { return FScrollMouse; }
  void SetScrollMouseButton(TMouseButton Value) { FScrollMouse = Value; }
  TKelZoom* Zoom() const { return FZoom.get(); }
  void SetZoom(const TKelZoom* Value);
  TMouseWheelStyle ZoomWheel() const { return FZoomWheel; }
  void SetZoomWheel(TMouseWheelStyle Value) { FZoomWheel = Value; }
  bool Zoomed() const { return FZoomed; }

  // Panel gradient and background image, created on first use.
  TKelGradient* Gradient();
  void SetGradient(const TKelGradient* Value);
  bool HasGradient() const { return FGradient != nullptr; }
  TBackImage* BackImage();
  void SetBackImage(const TBackImage* Value);
  bool HasBackImage() const { return FBackImage != nullptr; }

  std::function<void(TPersistent*)> OnAfterDraw;
  std::function<void(TPersistent*)> OnScroll;
  std::function<void(TPersistent*)> OnUndoZoom;
  std::function<void(TPersistent*)> OnZoom;

  // Whether clipping is allowed for the current output.
  bool CanClip() const;

 protected:
  // Background, shadow, emboss, border and bevels of the whole panel.
  virtual void PanelPaint(const TRectF& UserRect);
  virtual void FillPanelRect(const TRectF& Rect);
  // Inner bevels and border frame; replaceable by descendants.
  virtual void DrawPanelBevels(TRectF Rect);
  // Moves Rect inwards by the border pen width; returns the half width used.
  int FixBorderWidth(TRectF& Rect);
  void DrawBackImage(const TRectF& Rect);
  void CancelInsideBoundsPanning() override;

  bool FZoomed = false;

 private:
  void DrawBevel(TRectF& R, TPanelBevel Kind, int Width);

  TPanningMode FAllowPanning = pmBoth;
  std::unique_ptr<TKelGradient> FGradient;
  TMouseButton FScrollMouse = TMouseButton::mbRight;
  std::unique_ptr<TKelZoom> FZoom;
  TMouseWheelStyle FZoomWheel = pmwNone;
  std::unique_ptr<TBackImage> FBackImage;
};

// Clipping allowed while printing or drawing into a metafile.
inline constexpr bool KelClipWhenPrinting = true;
inline constexpr bool KelClipWhenMetafiling = true;

}  // namespace sextant

// The first two levels of the chart control.
//
// TCustomPanelNoCaption is the host control with a background colour: it
// receives the host's notifications (paint, resize, mouse, keys) through
// IHostControlClient and asks the host for repaints through IHostControl.
// TCustomKelPanel adds the canvas, the chart rectangle and its margins, the
// 3D switch, border and bevels, the paint entry and the event listeners.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "canvas/kel_component.h"
#include "platform/kel_types.h"
#include "canvas/kel_units.h"
#include "canvas/shape_panel.h"
#include "panel/kel_event.h"
#include "platform/host_control.h"

namespace sextant {

class IHostCanvas;
class TCanvas3D;
class TKelCanvas3D;
class TKelEmboss;
class TKelFont;
class TKelHiddenPen;
class TKelPen;
class TKelPicture;
class TKelShadow;
class TView3DOptions;
class TKelPanning;
class TKelBrush;

using TMouseEvent = std::function<void(TPersistent* Sender, TMouseButton Button,
                                       TShiftState Shift, float X, float Y)>;
using TMouseMoveEvent = std::function<void(TPersistent* Sender, TShiftState Shift, float X,
                                           float Y)>;
using TMouseWheelEvent = std::function<void(TPersistent* Sender, TShiftState Shift,
                                            int WheelDelta, bool& Handled)>;
using TKeyEvent = std::function<void(TPersistent* Sender, std::uint16_t& Key,
                                     char16_t& KeyChar, TShiftState Shift)>;

// Raised by a handler to stop the current operation without a message
// (the host's silent abort).
class EAbort : public std::exception {
 public:
  const char* what() const noexcept override { return "Operation aborted"; }
};

class TCustomPanelNoCaption : public TComponent, public IHostControlClient {
 public:
  explicit TCustomPanelNoCaption(TComponent* AOwner = nullptr);
  ~TCustomPanelNoCaption() override;

  TColor Color() const { return FColor; }
  void SetColor(TColor Value);

  // Requests a repaint from the host (the panel level adds AutoRepaint).
  virtual void Invalidate();

  // ---- Host control geometry and binding ----
  void SetHostControl(IHostControl* Host);
  IHostControl* HostControl() const { return FHost; }
  void SetBounds(float ALeft, float ATop, float AWidth, float AHeight);
  float Left() const { return FLeft; }
  float Top() const { return FTop; }
  float Width() const { return FWidth; }
  float Height() const { return FHeight; }

  // Host events, raised by the host-level handling of each notification.
  TMouseEvent OnMouseDown;
  TMouseMoveEvent OnMouseMove;
  TMouseEvent OnMouseUp;
  TMouseWheelEvent OnMouseWheel;
  std::function<void(TPersistent*)> OnDblClick;
  std::function<void(TPersistent*)> OnMouseLeave;
  std::function<void(TPersistent*)> OnResize;
  TKeyEvent OnKeyDown;
  TKeyEvent OnKeyUp;

  // ---- IHostControlClient: the host's notifications ----
  void HostPaint(IHostCanvas& Canvas) override;
  void HostResize(float AWidth, float AHeight) override;
  void HostMouseDown(TMouseButton Button, TShiftState Shift, float X, float Y) override;
  void HostMouseMove(TShiftState Shift, float X, float Y) override;
  void HostMouseUp(TMouseButton Button, TShiftState Shift, float X, float Y) override;
  void HostMouseWheel(TShiftState Shift, int WheelDelta) override;
  void HostDblClick() override;
  void HostMouseLeave() override;
  void HostKeyDown(std::uint16_t& Key, char16_t& KeyChar, TShiftState Shift) override;
  void HostKeyUp(std::uint16_t& Key, char16_t& KeyChar, TShiftState Shift) override;

 protected:
  // Overridable handlers of the host notifications. The base versions raise
  // the host events above.
  virtual void Paint();
  virtual void Resize();
  virtual void MouseDown(TMouseButton Button, TShiftState Shift, float X, float Y);
  virtual void MouseMove(TShiftState Shift, float X, float Y);
  virtual void MouseUp(TMouseButton Button, TShiftState Shift, float X, float Y);
  virtual void MouseWheel(TShiftState Shift, int WheelDelta, bool& Handled);
  virtual void DblClick();
  virtual void DoMouseLeave();
  virtual void KeyDown(std::uint16_t& Key, char16_t& KeyChar, TShiftState Shift);
  virtual void KeyUp(std::uint16_t& Key, char16_t& KeyChar, TShiftState Shift);

  // The host canvas of the paint in progress (null outside a paint).
  IHostCanvas* PaintingCanvas() const { return FPaintCanvas; }

  TColor FColor = 0xFFF0F0F0;

 private:
  IHostControl* FHost = nullptr;
  IHostCanvas* FPaintCanvas = nullptr;
  float FLeft = 0, FTop = 0, FWidth = 0, FHeight = 0;
};

class TCustomKelPanel : public TCustomPanelNoCaption, public IShapePanel {
 public:
  explicit TCustomKelPanel(TComponent* AOwner = nullptr);
  ~TCustomKelPanel() override;

  // ---- Repaint ----
  void Invalidate() override;
  bool AutoRepaint() const { return FAutoRepaint; }
  void SetAutoRepaint(bool Value) { FAutoRepaint = Value; }
  // The host's own repaint request; does not mark the canvas dirty.
  void Repaint();
  // Reports changes of every owned settings object.
  virtual void CanvasChanged(TPersistent* Sender);

  // ---- Shared property helpers: store and Invalidate only on a change ----
  void SetBooleanProperty(bool& Variable, bool Value) override;
  void SetIntegerProperty(int& Variable, int Value);
  void SetColorProperty(TColor& Variable, TColor Value);
  void SetDoubleProperty(double& Variable, double Value);
  void SetSingleProperty(float& Variable, float Value) override;
  void SetStringProperty(std::string& Variable, const std::string& Value);

  // ---- Drawing ----
  void Draw();
  virtual void Draw(IHostCanvas* UserCanvas, const TRectF& UserRect);
  virtual TRectF GetRectangle() const;
  virtual TColor GetBackColor() const;
  TCanvas3D* Canvas() const override { return FCanvas.get(); }
  // Replaces the canvas (the panel owns it unless IsEmbedded).
  void SetInternalCanvas(std::unique_ptr<TCanvas3D> NewCanvas);

  // The chart rectangle and derived sizes of the last paint.
  TRectF ChartBounds() const { return FChartBounds; }
  TRectF ChartRect;  // inner rectangle where axes and series are drawn
  int ChartWidth() const { return FChartWidth; }
  int ChartHeight() const { return FChartHeight; }
  int ChartXCenter() const { return FChartXCenter; }
  int ChartYCenter() const { return FChartYCenter; }
  int Width3D() const { return FWidth3D; }
  int Height3D() const { return FHeight3D; }
  void SetChartRect(const TRectF& Value);
  bool CustomChartRect() const { return FCustomChartRect; }
  void SetCustomChartRect(bool Value);
  void ReCalcWidthHeight();
  int BorderSize() const;

  // ---- Settings ----
  bool ApplyZOrder() const { return FApplyZOrder; }
  void SetApplyZOrder(bool Value) { SetBooleanProperty(FApplyZOrder, Value); }
  TPanelBevel BevelInner() const { return FBevelInner; }
  void SetBevelInner(TPanelBevel Value);
  TPanelBevel BevelOuter() const { return FBevelOuter; }
  void SetBevelOuter(TPanelBevel Value);
  int BevelWidth() const { return FBevelWidth; }
  void SetBevelWidth(int Value);
  int BorderWidth() const { return FBorderWidth; }
  void SetBorderWidth(int Value) { SetIntegerProperty(FBorderWidth, Value); }
  int BorderRound() const { return FBorderRound; }
  void SetBorderRound(int Value);
  TKelHiddenPen* Border() const { return FBorder.get(); }
  void SetBorder(const TKelPen* Value);
  TKelShadow* Shadow() const { return FShadow.get(); }
  void SetShadow(const TKelShadow* Value);
  TKelEmboss* Emboss() const { return FEmboss.get(); }
  void SetEmboss(const TKelEmboss* Value);
  TView3DOptions* View3DOptions() const { return FView3DOptions.get(); }
  void SetView3DOptions(const TView3DOptions* Value);
  bool View3D() const override { return FView3D; }
  void SetView3D(bool Value);
  TKelPanning* Panning() const { return FPanning.get(); }
  void SetPanning(const TKelPanning* Value);

  int MarginLeft() const { return KelRound(FMargins.Left); }
  int MarginTop() const { return KelRound(FMargins.Top); }
  int MarginRight() const { return KelRound(FMargins.Right); }
  int MarginBottom() const { return KelRound(FMargins.Bottom); }
  void SetMarginLeft(int Value) { SetSingleProperty(FMargins.Left, static_cast<float>(Value)); }
  void SetMarginTop(int Value) { SetSingleProperty(FMargins.Top, static_cast<float>(Value)); }
  void SetMarginRight(int Value) { SetSingleProperty(FMargins.Right, static_cast<float>(Value)); }
  void SetMarginBottom(int Value) { SetSingleProperty(FMargins.Bottom, static_cast<float>(Value)); }
  TKelUnits MarginUnits() const { return FMarginUnits; }
  void SetMarginUnits(TKelUnits Value);

  bool PrintProportional() const { return FPrintProportional; }
  int PrintResolution() const { return FPrintResolution; }
  bool Printing() const { return FPrinting; }
  TRectF PrintMargins{15, 15, 15, 15};

  TCursor OriginalCursor() const { return FOriginalCursor; }
  void SetOriginalCursor(TCursor Value) { FOriginalCursor = Value; }
  bool CancelMouse() const { return FCancelMouse; }
  void SetCancelMouse(bool Value) { FCancelMouse = Value; }

  // The panel's default font, created on first use (or the theme's).
  TKelFont* DefaultFont();
  TCustomKelPanel* Theme = nullptr;
  // Copies Font into the canvas, substituting the default font when Font
  // is marked as default.
  void TryAssignFont(TKelFont* Font) override;
  // The same through the 3D font path when the view is 3D.
  void PrepareFont3D(TKelFont* Font) override;

  // ---- Texts ----
  static int LinesOfText(const std::string& Text);
  // Width of the widest line and total height of a text split at
  // KelLineSeparator, measured with the canvas' current font.
  TPointF MultiLineTextSize(const std::string& Text, int TextFormat, int& NumLines) override;
  int MultiLineTextWidth(const std::string& Text, int& NumLines);

  // ---- Listeners ----
  void AddListener(IKelEventListener* Listener);
  void RemoveListener(IKelEventListener* Listener);
  int ListenerCount() const { return static_cast<int>(IEventListeners.size()); }
  void BroadcastKelEvent(TKelEvent& Event);
  // Creates an event of class E only when there is a listener.
  template <typename E>
  void BroadcastKelEventClass() {
    if (IEventListeners.empty()) return;
    E event;
    BroadcastKelEvent(event);
  }

  // ---- Loading ----
  // Reads the stored description through ReadProperties with AutoRepaint
  // off, switches it on again (also when reading fails) and invalidates.
  void ReadState(const std::function<void()>& ReadProperties);
  TPointF InitialSize;

  bool IsEmbedded = false;
  bool DontShowImage = false;

  // Height and width of the 3D depth (computed by the axis panel).
  int FWidth3D = 0;
  int FHeight3D = 0;

 protected:
  // The drawing of the content; nothing at this level.
  virtual void InternalDraw(const TRectF& UserRectangle);
  void ApplyMargins();
  void Paint() override;
  void Resize() override;
  void MouseDown(TMouseButton Button, TShiftState Shift, float X, float Y) override;
  void MouseMove(TShiftState Shift, float X, float Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, float X, float Y) override;
  void DblClick() override;
  void DoMouseLeave() override;
  void Loaded() override;
  void SendMouseEvent(TKelMouseEventKind Kind, TMouseButton Button, TShiftState Shift, float X,
                      float Y);
  // Takes the control's current host canvas; true when it is usable.
  bool RefreshHostCanvas();
  // Hook for the extended level: ends a panning drag inside the bounds.
  virtual void CancelInsideBoundsPanning() {}

  TRectF FChartBounds;
  int FChartWidth = 0, FChartHeight = 0, FChartXCenter = 0, FChartYCenter = 0;
  IHostCanvas* FHostCanvas = nullptr;
  bool FPrinting = false;
  bool FCancelMouse = false;

 private:
  void ViewChanged(TPersistent* Sender);

  bool FApplyZOrder = true;
  bool FAutoRepaint = true;
  TPanelBevel FBevelInner = bvNone;
  TPanelBevel FBevelOuter = bvRaised;
  int FBevelWidth = 1;
  int FBorderWidth = 0;
  std::unique_ptr<TKelHiddenPen> FBorder;
  int FBorderRound = 0;
  std::unique_ptr<TKelEmboss> FEmboss;
  std::unique_ptr<TKelFont> FGlobalFont;
  TRectF FMargins{3, 4, 3, 4};
  TKelUnits FMarginUnits = muPercent;
  TCursor FOriginalCursor = crDefault;
  std::unique_ptr<TKelPanning> FPanning;
  bool FPrintProportional = true;
  int FPrintResolution = 0;
  std::unique_ptr<TKelShadow> FShadow;
  bool FView3D = true;
  std::unique_ptr<TView3DOptions> FView3DOptions;
  std::vector<IKelEventListener*> IEventListeners;
  TRectF ICachedChartRect;
  std::string IDefaultCanvas;
  bool FCustomChartRect = false;
  std::unique_ptr<TCanvas3D> FCanvas;
};

}  // namespace sextant

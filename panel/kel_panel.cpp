#include "panel/kel_panel.h"

#include <algorithm>
#include <cmath>

#include "canvas/canvas3d.h"
#include "canvas/font.h"
#include "canvas/pen.h"
#include "canvas/shadow.h"
#include "panel/zoom_panning.h"
#include "platform/host_canvas.h"

namespace sextant {

// ===========================================================================
// TCustomPanelNoCaption
// ===========================================================================

TCustomPanelNoCaption::TCustomPanelNoCaption(TComponent* AOwner) : TComponent(AOwner) {}

TCustomPanelNoCaption::~TCustomPanelNoCaption() = default;

void TCustomPanelNoCaption::SetColor(TColor Value) {
  if (FColor != Value) {
    FColor = Value;
    Invalidate();
  }
}

void TCustomPanelNoCaption::Invalidate() {
  if (FHost) FHost->InvalidateControl();
}

void TCustomPanelNoCaption::SetHostControl(IHostControl* Host) { FHost = Host; }

void TCustomPanelNoCaption::SetBounds(float ALeft, float ATop, float AWidth, float AHeight) {
  const bool resized = AWidth != FWidth || AHeight != FHeight;
  FLeft = ALeft;
  FTop = ATop;
  FWidth = std::max(0.0f, AWidth);
  FHeight = std::max(0.0f, AHeight);
  if (resized) Resize();
}

void TCustomPanelNoCaption::HostPaint(IHostCanvas& Canvas) {
  // The host canvas is valid only for the duration of this call.
  FPaintCanvas = &Canvas;
  struct Reset {
    IHostCanvas*& c;
    ~Reset() { c = nullptr; }
  } reset{FPaintCanvas};
  Paint();
}

void TCustomPanelNoCaption::HostResize(float AWidth, float AHeight) {
  SetBounds(FLeft, FTop, AWidth, AHeight);
}

// A mouse position as the handlers see it: within +-KelMaxPixelPos like
// every pixel (a position far outside the control means the same as one
// at the bound), 0 for a coordinate that is not a number. The zoom and
// panning arithmetic on rounded positions then cannot overflow.
void TCustomPanelNoCaption::HostMouseDown(TMouseButton Button, TShiftState Shift, float X,
                                          float Y) {
  MouseDown(Button, Shift, KelBoundCoordinate(X), KelBoundCoordinate(Y));
}

void TCustomPanelNoCaption::HostMouseMove(TShiftState Shift, float X, float Y) {
  MouseMove(Shift, KelBoundCoordinate(X), KelBoundCoordinate(Y));
}

void TCustomPanelNoCaption::HostMouseUp(TMouseButton Button, TShiftState Shift, float X,
                                        float Y) {
  MouseUp(Button, Shift, KelBoundCoordinate(X), KelBoundCoordinate(Y));
}

void TCustomPanelNoCaption::HostMouseWheel(TShiftState Shift, int WheelDelta) {
  bool handled = false;
  MouseWheel(Shift, WheelDelta, handled);
}

void TCustomPanelNoCaption::HostDblClick() {
  try {
    DblClick();
  } catch (const EAbort&) {
    // A handler asked to abort the double-click silently.
  }
}

void TCustomPanelNoCaption::HostMouseLeave() { DoMouseLeave(); }

void TCustomPanelNoCaption::HostKeyDown(std::uint16_t& Key, char16_t& KeyChar,
                                        TShiftState Shift) {
  KeyDown(Key, KeyChar, Shift);
}

void TCustomPanelNoCaption::HostKeyUp(std::uint16_t& Key, char16_t& KeyChar, TShiftState Shift) {
  KeyUp(Key, KeyChar, Shift);
}

void TCustomPanelNoCaption::Paint() {}

void TCustomPanelNoCaption::Resize() { CallEvent(OnResize, this); }

void TCustomPanelNoCaption::MouseDown(TMouseButton Button, TShiftState Shift, float X, float Y) {
  CallEvent(OnMouseDown, this, Button, Shift, X, Y);
}

void TCustomPanelNoCaption::MouseMove(TShiftState Shift, float X, float Y) {
  CallEvent(OnMouseMove, this, Shift, X, Y);
}

void TCustomPanelNoCaption::MouseUp(TMouseButton Button, TShiftState Shift, float X, float Y) {
  CallEvent(OnMouseUp, this, Button, Shift, X, Y);
}

void TCustomPanelNoCaption::MouseWheel(TShiftState Shift, int WheelDelta, bool& Handled) {
  CallEvent(OnMouseWheel, this, Shift, WheelDelta, Handled);
}

void TCustomPanelNoCaption::DblClick() { CallEvent(OnDblClick, this); }

void TCustomPanelNoCaption::DoMouseLeave() { CallEvent(OnMouseLeave, this); }

void TCustomPanelNoCaption::KeyDown(std::uint16_t& Key, char16_t& KeyChar, TShiftState Shift) {
  CallEvent(OnKeyDown, this, Key, KeyChar, Shift);
}

void TCustomPanelNoCaption::KeyUp(std::uint16_t& Key, char16_t& KeyChar, TShiftState Shift) {
  CallEvent(OnKeyUp, this, Key, KeyChar, Shift);
}

// ===========================================================================
// TCustomKelPanel
// ===========================================================================

TCustomKelPanel::TCustomKelPanel(TComponent* AOwner) : TCustomPanelNoCaption(AOwner) {
  // A control created on a form starts no larger than 400 x 250; the stored
  // size replaces this while loading.
  if (auto* form = dynamic_cast<const IHostForm*>(AOwner)) {
    SetBounds(0, 0, std::min(400.0f, form->FormClientWidth()),
              std::min(250.0f, form->FormClientHeight()));
  }
  FCanvas = std::make_unique<TKelCanvas3D>();
  auto changed = [this](TPersistent* Sender) { CanvasChanged(Sender); };
  FView3DOptions = std::make_unique<TView3DOptions>(this);
  FView3DOptions->OnInvalidate = [this](TPersistent* Sender) { ViewChanged(Sender); };
  FPanning = std::make_unique<TKelPanning>();
  FShadow = std::make_unique<TKelShadow>(changed);
  FEmboss = std::make_unique<TKelEmboss>(changed);
  FBorder = std::make_unique<TKelHiddenPen>(changed);
}

TCustomKelPanel::~TCustomKelPanel() {
  Destroying();
  if (IsEmbedded) FCanvas.release();  // the embedding chart owns it
}

void TCustomKelPanel::ViewChanged(TPersistent*) { Invalidate(); }

void TCustomKelPanel::CanvasChanged(TPersistent*) { Invalidate(); }

void TCustomKelPanel::Invalidate() {
  if (!FAutoRepaint) return;
  if (FCanvas) FCanvas->Invalidate();
  TCustomPanelNoCaption::Invalidate();
}

void TCustomKelPanel::Repaint() {
  if (HostControl()) HostControl()->RepaintControl();
}

void TCustomKelPanel::SetBooleanProperty(bool& Variable, bool Value) {
  if (Variable != Value) {
    Variable = Value;
    Invalidate();
  }
}

void TCustomKelPanel::SetIntegerProperty(int& Variable, int Value) {
  if (Variable != Value) {
    Variable = Value;
    Invalidate();
  }
}

void TCustomKelPanel::SetColorProperty(TColor& Variable, TColor Value) {
  if (Variable != Value) {
    Variable = Value;
    Invalidate();
  }
}

void TCustomKelPanel::SetDoubleProperty(double& Variable, double Value) {
  // Unordered values (NaN) count as a change.
  if (!(Variable == Value)) {
    Variable = Value;
    Invalidate();
  }
}

void TCustomKelPanel::SetSingleProperty(float& Variable, float Value) {
  if (!(Variable == Value)) {
    Variable = Value;
    Invalidate();
  }
}

void TCustomKelPanel::SetStringProperty(std::string& Variable, const std::string& Value) {
  if (Variable != Value) {
    Variable = Value;
    Invalidate();
  }
}

void TCustomKelPanel::SetBevelInner(TPanelBevel Value) {
  if (FBevelInner != Value) {
    FBevelInner = Value;
    Invalidate();
  }
}

void TCustomKelPanel::SetBevelOuter(TPanelBevel Value) {
  if (FBevelOuter != Value) {
    FBevelOuter = Value;
    Invalidate();
  }
}

void TCustomKelPanel::SetBevelWidth(int Value) {
  SetIntegerProperty(FBevelWidth, std::clamp(Value, 0, 255));
}

void TCustomKelPanel::SetBorderRound(int Value) {
  if (FBorderRound != Value) {
    FBorderRound = Value;
    if (!IsLoading()) Invalidate();
  }
}

void TCustomKelPanel::SetBorder(const TKelPen* Value) { FBorder->Assign(Value); }
void TCustomKelPanel::SetShadow(const TKelShadow* Value) { FShadow->Assign(Value); }
void TCustomKelPanel::SetEmboss(const TKelEmboss* Value) { FEmboss->Assign(Value); }
void TCustomKelPanel::SetView3DOptions(const TView3DOptions* Value) {
  FView3DOptions->Assign(Value);
}
void TCustomKelPanel::SetPanning(const TKelPanning* Value) { FPanning->Assign(Value); }

void TCustomKelPanel::SetView3D(bool Value) {
  if (FView3D != Value) {
    FView3D = Value;
    Invalidate();
    BroadcastKelEventClass<TKelView3DEvent>();
  }
}

void TCustomKelPanel::SetMarginUnits(TKelUnits Value) {
  if (FMarginUnits != Value) {
    FMarginUnits = Value;
    Invalidate();
  }
}

void TCustomKelPanel::SetChartRect(const TRectF& Value) {
  SetCustomChartRect(true);
  ChartRect = Value;
  Invalidate();
}

void TCustomKelPanel::SetCustomChartRect(bool Value) {
  FCustomChartRect = Value;
  ICachedChartRect = TRectF{};
}

void TCustomKelPanel::SetInternalCanvas(std::unique_ptr<TCanvas3D> NewCanvas) {
  if (!NewCanvas) return;
  FCanvas = std::move(NewCanvas);
  if (FHostCanvas) FCanvas->SetCanvas(FHostCanvas);
  Invalidate();
}

TKelFont* TCustomKelPanel::DefaultFont() {
  if (Theme && Theme != this) return Theme->DefaultFont();
  if (!FGlobalFont)
    FGlobalFont = std::make_unique<TKelFont>([this](TPersistent* s) { CanvasChanged(s); });
  return FGlobalFont.get();
}

void TCustomKelPanel::TryAssignFont(TKelFont* Font) {
  if (Font && Font->DefaultFont())
    FCanvas->AssignFont(DefaultFont());
  else if (Font)
    FCanvas->AssignFont(Font);
}

void TCustomKelPanel::PrepareFont3D(TKelFont* Font) {
  // The flat canvas has no separate 3D font path: both go through AssignFont.
  TryAssignFont(Font);
}

TRectF TCustomKelPanel::GetRectangle() const { return {0, 0, Width(), Height()}; }

TColor TCustomKelPanel::GetBackColor() const { return Color(); }

int TCustomKelPanel::BorderSize() const {
  long long result = FBorderWidth;
  if (FBevelInner != bvNone) result += FBevelWidth;
  if (FBevelOuter != bvNone) result += FBevelWidth;
  if (FBorder->Visible()) result += KelRound(FBorder->Width());
  return KelBoundPixel(result);
}

// ---- Paint entry -----------------------------------------------------------

bool TCustomKelPanel::RefreshHostCanvas() {
  IHostCanvas* c = PaintingCanvas();
  if (!c && HostControl()) c = HostControl()->ControlCanvas();
  if (c && c == FHostCanvas) return true;
  FHostCanvas = c;
  if (!c) return false;
  FCanvas->SetCanvas(c);
  return true;
}

void TCustomKelPanel::Paint() {
  TCustomPanelNoCaption::Paint();
  if (FPrinting) return;
  // The host here has no paint-to-with-effects mode: a paint request either
  // re-shows the cached image or draws the whole chart.
  if (!FCanvas->ReDrawBitmap()) Draw();
  // Aim the canvas at the control's canvas again; the painting canvas is
  // only valid during this paint.
  FHostCanvas = HostControl() ? HostControl()->ControlCanvas() : nullptr;
  FCanvas->SetCanvas(FHostCanvas);
}

void TCustomKelPanel::Draw() {
  if (RefreshHostCanvas()) Draw(FHostCanvas, GetRectangle());
}

// Every pixel coordinate of the layout stays within +-KelMaxPixelPos: a
// larger drawing rectangle is cut to that square (a coordinate that is not
// a number counts as 0), so that no size, margin or position computed from
// it can overflow.
void TCustomKelPanel::Draw(IHostCanvas* UserCanvas, const TRectF& UserRect) {
  if (FCustomChartRect && IsRectEmpty(ICachedChartRect)) ICachedChartRect = ChartRect;
  if (InitialSize.X == 0) InitialSize.X = Width();
  if (InitialSize.Y == 0) InitialSize.Y = Height();
  const TRectF rect = KelBoundRect(UserRect);
  FChartBounds = FCanvas->InitWindow(UserCanvas, FView3DOptions.get(), Color(), FView3D, rect);
  ApplyMargins();
  if (FCustomChartRect) {
    ChartRect = ICachedChartRect;
    if (FPrinting) {
      ChartRect.Left += FChartBounds.Left;
      ChartRect.Right += FChartBounds.Left;
      ChartRect.Top += FChartBounds.Top;
      ChartRect.Bottom += FChartBounds.Top;
    }
  }
  ReCalcWidthHeight();
  InternalDraw(FChartBounds);
  if (!DontShowImage) FCanvas->ShowImage(UserCanvas, FHostCanvas, rect);
}

void TCustomKelPanel::InternalDraw(const TRectF&) {}

void TCustomKelPanel::ApplyMargins() {
  const int W = KelRound(FChartBounds.Width());
  const int H = KelRound(FChartBounds.Height());
  const float B = static_cast<float>(BorderSize());
  auto pixels = [this](float margin, int size) -> float {
    const int m = KelRound(margin);
    // The product in 64 bits: a huge control times a percentage overflows int.
    if (FMarginUnits == muPercent) return static_cast<float>(static_cast<long long>(m) * size) * 0.01f;
    return static_cast<float>(m);
  };
  ChartRect.Left = FChartBounds.Left + B + pixels(FMargins.Left, W);
  ChartRect.Top = FChartBounds.Top + B + pixels(FMargins.Top, H);
  ChartRect.Right = FChartBounds.Right - B - pixels(FMargins.Right, W);
  ChartRect.Bottom = FChartBounds.Bottom - B - pixels(FMargins.Bottom, H);

  if (FShadow->Visible()) {
    const int h = FShadow->HorizSize(), v = FShadow->VertSize();
    if (h > 0) ChartRect.Right -= h; else ChartRect.Left -= h;
    if (v > 0) ChartRect.Bottom -= v; else ChartRect.Top -= v;
  }
  if (FEmboss->Visible()) {
    const int h = FEmboss->HorizSize(), v = FEmboss->VertSize();
    if (h > 0) ChartRect.Left += h; else ChartRect.Right += h;
    if (v > 0) ChartRect.Top += v; else ChartRect.Bottom += v;
  }
}

void TCustomKelPanel::ReCalcWidthHeight() {
  // Room taken by huge titles, legends or borders may push the rectangle
  // past the pixel bound: it is kept within it (as every pixel).
  ChartRect = KelBoundRect(ChartRect);
  ChartRect.Left = std::max(ChartRect.Left, FChartBounds.Left);
  ChartRect.Top = std::max(ChartRect.Top, FChartBounds.Top);
  if (ChartRect.Right < ChartRect.Left) ChartRect.Right = ChartRect.Left + 1;
  if (ChartRect.Bottom < ChartRect.Top) ChartRect.Bottom = ChartRect.Top + 1;
  FChartWidth = KelRound(ChartRect.Right - ChartRect.Left);
  FChartHeight = KelRound(ChartRect.Bottom - ChartRect.Top);
  FChartXCenter = KelRound((ChartRect.Left + ChartRect.Right) * 0.5f);
  FChartYCenter = KelRound((ChartRect.Top + ChartRect.Bottom) * 0.5f);
}

// ---- Texts -----------------------------------------------------------------

int TCustomKelPanel::LinesOfText(const std::string& Text) {
  int separators = 0;
  bool textAfterLast = false;
  for (std::size_t i = 0; i < Text.size(); ++i) {
    if (Text[i] == KelLineSeparator) {
      ++separators;
      textAfterLast = false;
      if (i + 1 < Text.size() && Text[i + 1] == '\n') ++i;  // part of the separator
    } else {
      textAfterLast = true;
    }
  }
  if (separators == 0) return 1;
  return separators + (textAfterLast ? 1 : 0);
}

TPointF TCustomKelPanel::MultiLineTextSize(const std::string& Text, int /*TextFormat*/,
                                           int& NumLines) {
  // Rich-text measurement is not available; every format is measured as
  // plain text.
  NumLines = 0;
  TPointF result{0, 0};
  if (Text.empty()) return result;
  const float lineHeight = static_cast<float>(FCanvas->TextHeight("W"));
  std::size_t start = 0;
  while (start < Text.size()) {
    std::size_t end = Text.find(KelLineSeparator, start);
    const bool last = end == std::string::npos;
    if (last) end = Text.size();
    const std::string line = Text.substr(start, end - start);
    result.X = std::max(result.X, static_cast<float>(FCanvas->TextWidth(line)));
    result.Y += lineHeight;
    ++NumLines;
    if (last) break;
    start = end + 1;
    if (start < Text.size() && Text[start] == '\n') ++start;
  }
  return result;
}

int TCustomKelPanel::MultiLineTextWidth(const std::string& Text, int& NumLines) {
  return KelRound(MultiLineTextSize(Text, 0, NumLines).X);
}

// ---- Listeners -------------------------------------------------------------

void TCustomKelPanel::AddListener(IKelEventListener* Listener) {
  if (!Listener) return;
  if (std::find(IEventListeners.begin(), IEventListeners.end(), Listener) ==
      IEventListeners.end())
    IEventListeners.push_back(Listener);
}

void TCustomKelPanel::RemoveListener(IKelEventListener* Listener) {
  IEventListeners.erase(std::remove(IEventListeners.begin(), IEventListeners.end(), Listener),
                        IEventListeners.end());
}

void TCustomKelPanel::BroadcastKelEvent(TKelEvent& Event) {
  if (IsDestroying()) return;
  Event.Sender = this;
  const bool isMouse = dynamic_cast<TKelMouseEvent*>(&Event) != nullptr;
  // A listener may remove itself while being called: walk a copy.
  const auto listeners = IEventListeners;
  for (IKelEventListener* l : listeners) {
    l->KelEvent(Event);
    if (isMouse && FCancelMouse) break;
  }
}

// ---- Mouse -----------------------------------------------------------------

void TCustomKelPanel::SendMouseEvent(TKelMouseEventKind Kind, TMouseButton Button,
                                     TShiftState Shift, float X, float Y) {
  if (IEventListeners.empty()) return;  // no event object without a listener
  TKelMouseEvent e;
  e.Event = Kind;
  e.Button = Button;
  e.Shift = Shift;
  e.X = X;
  e.Y = Y;
  BroadcastKelEvent(e);
}

void TCustomKelPanel::MouseDown(TMouseButton Button, TShiftState Shift, float X, float Y) {
  FCancelMouse = false;
  TCustomPanelNoCaption::MouseDown(Button, Shift, X, Y);
  if (!FCancelMouse) SendMouseEvent(meDown, Button, Shift, X, Y);
  if (IHostControl* host = HostControl()) {
    if (host->CanFocus() && !host->IsFocused() && host->HasParent()) host->SetFocus();
  }
}

void TCustomKelPanel::MouseUp(TMouseButton Button, TShiftState Shift, float X, float Y) {
  FCancelMouse = false;
  TCustomPanelNoCaption::MouseUp(Button, Shift, X, Y);
  SendMouseEvent(meUp, Button, Shift, X, Y);
}

void TCustomKelPanel::MouseMove(TShiftState Shift, float X, float Y) {
  FCancelMouse = false;
  TCustomPanelNoCaption::MouseMove(Shift, X, Y);
  RefreshHostCanvas();
  SendMouseEvent(meMove, TMouseButton::mbLeft, Shift, X, Y);  // a move reports no button
}

void TCustomKelPanel::DblClick() {
  FCancelMouse = false;
  TCustomPanelNoCaption::DblClick();
  if (FCancelMouse) throw EAbort();
}

void TCustomKelPanel::DoMouseLeave() {
  if (HostControl()) HostControl()->SetCursor(FOriginalCursor);
  CancelInsideBoundsPanning();
  BroadcastKelEventClass<TMouseLeaveEvent>();
  TCustomPanelNoCaption::DoMouseLeave();
}

// ---- Loading ---------------------------------------------------------------

void TCustomKelPanel::ReadState(const std::function<void()>& ReadProperties) {
  BeginLoading();
  const bool old = FAutoRepaint;
  FAutoRepaint = false;
  try {
    if (ReadProperties) ReadProperties();
  } catch (...) {
    FAutoRepaint = old;
    throw;
  }
  FAutoRepaint = old;
  Invalidate();
}

void TCustomKelPanel::Loaded() {
  TComponent::Loaded();
  // A stored canvas class name is read and discarded, so the canvas is the
  // flat one unless it is missing or unavailable.
  IDefaultCanvas.clear();
  if (!FCanvas || !FCanvas->IsAvailable()) SetInternalCanvas(std::make_unique<TKelCanvas3D>());
  if (HostControl()) FOriginalCursor = HostControl()->Cursor();
  InitialSize = {Width(), Height()};
}

void TCustomKelPanel::Resize() {
  if (!IsLoading()) Invalidate();
  TCustomPanelNoCaption::Resize();
}

}  // namespace sextant

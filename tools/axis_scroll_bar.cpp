// Contents:
//   [Thumb]      TScrollBarThumb
//   [Bar]        TKelScrollBar: settings, position space, geometry
//   [Drawing]    TKelScrollBar::Draw
//   [Mouse]      clicks, drags, hover, auto-repeat
//   [AxisTool]   TAxisScrollBarTool: binding, axis <-> position
#include "tools/axis_scroll_bar.h"

#include <algorithm>
#include <cmath>
#include <string>
#include <typeinfo>

#include "axes/chart_axis.h"
#include "canvas/brush.h"
#include "canvas/canvas3d.h"
#include "canvas/gradient.h"
#include "canvas/pen.h"
#include "panel/axis_panel.h"
#include "platform/platform_services.h"
#include "tools/thumb_bitmaps.h"

namespace sextant {

namespace {

// Interval of the auto-repeat after its first, longer delay.
constexpr int KelScrollRepeatInterval = 50;
// Pixels from a thumb end within which a press grabs that end.
constexpr float KelResizeGripSize = 3;

// A data extent this small counts as none (no division by it).
bool ExtentIsZero(double Extent) { return std::fabs(Extent) <= 1e-12; }

}  // namespace

// ===========================================================================
// [Thumb] TScrollBarThumb
// ===========================================================================

TScrollBarThumb::TScrollBarThumb(TKelScrollBar* Scroll) : IScroll(Scroll) {
  FBrush->InitColor(claSilver);
  FBrush->SetBackColor(claSilver);
  FPen->InitVisible(false);
}

TKelPicture* TScrollBarThumb::Image() const { return FBrush->Image(); }
TKelGradient* TScrollBarThumb::Gradient() const { return FBrush->Gradient(); }

void TScrollBarThumb::SetSize(int Value) {
  Value = std::clamp(Value, 0, KelMaxPixelPos);
  if (FSize == Value) return;
  FSize = Value;
  if (IScroll) IScroll->Repaint();
}

void TScrollBarThumb::SetStyle(TScrollThumbStyle Value) {
  if (FStyle == Value) return;
  FStyle = Value;
  if (Value == stsCustom) {
    FBrush->Image()->Clear();
  } else {
    static const char* const names[] = {"KelThumb1", "KelThumb2", "KelThumb3", "KelThumb4"};
    IHostCanvas* host = nullptr;
    if (FParent && FParent->Canvas()) host = FParent->Canvas()->ReferenceCanvas();
    FBrush->Image()->SetOwnedBitmap(KelLoadBitmapResource(names[Value - stsThumb1], host));
    const TKelPicture* picture = FBrush->Image();
    if (!picture->IsEmpty()) {
      SetSize(picture->Bitmap()->Width());
      if (IScroll) IScroll->SetSize(picture->Bitmap()->Height());
    }
  }
  if (IScroll) IScroll->CanvasChanged(this);
}

void TScrollBarThumb::Assign(const TPersistent* Source) {
  TKelCustomShapeBrushPen::Assign(Source);
  if (const auto* s = dynamic_cast<const TScrollBarThumb*>(Source)) {
    if (s == this) return;
    // The picture came with the brush: the style is taken over as it is.
    FStyle = s->FStyle;
    SetSize(s->FSize);
  }
}

// ===========================================================================
// [Bar] TKelScrollBar
// ===========================================================================

TKelScrollBar::TKelScrollBar(TComponent* AOwner) : TKelCustomTool(AOwner) {
  FThumb = std::make_unique<TScrollBarThumb>(this);
  TNotifyEvent changed = [this](TPersistent* Sender) { CanvasChanged(Sender); };
  FArrowBrush = std::make_unique<TKelBrush>(changed);
  FArrowBrush->SetBackColor(claDarkGray);
  FDisabledArrow = std::make_unique<TKelBrush>(changed);
  FDisabledArrow->SetBackColor(claWhite);
  Brush()->InitColor(claWhite);
  Brush()->SetBackColor(0x00F0F0F0);
  Pen()->InitColor(claDarkGray);
}

// The timer goes first so that no callback reaches a half-destroyed bar;
// leaving the chart is the tool level's part.
TKelScrollBar::~TKelScrollBar() {
  FTimer.reset();
  FThumb.reset();
  FArrowBrush.reset();
  FDisabledArrow.reset();
}

bool TKelScrollBar::ClassIncludes(const TKelCustomTool* Tool) const {
  if (typeid(*this) == typeid(TKelScrollBar))
    return dynamic_cast<const TKelScrollBar*>(Tool) != nullptr;
  return TKelCustomTool::ClassIncludes(Tool);
}

void TKelScrollBar::Assign(const TPersistent* Source) {
  if (const auto* s = dynamic_cast<const TKelScrollBar*>(Source)) {
    if (s != this) {
      SetAllowResize(s->FAllowResize);
      FArrowBrush->Assign(s->FArrowBrush.get());
      SetArrows(s->FArrows);
      FAutoRepeat = s->FAutoRepeat;
      SetBackColor(s->BackColor());
      SetBevel(s->FBevel);
      FDisabledArrow->Assign(s->FDisabledArrow.get());
      SetDrawStyle(s->FDrawStyle);
      if (s->Brush()->HasGradientObject())
        Gradient()->Assign(s->Gradient());
      FInitial = s->FInitial;
      SetMinThumbSize(s->FMinSize);
      SetRoundSize(s->FRoundSize);
      SetSize(s->FSize);
      FThumb->Assign(s->FThumb.get());
    }
  }
  TKelCustomTool::Assign(Source);
}

std::string TKelScrollBar::Description() const { return "Scroll Bar"; }

int TKelScrollBar::TotalCount() const { return Max; }
int TKelScrollBar::CurrentCount() const { return ThumbLength; }
int TKelScrollBar::DeltaMain() const { return CurrentCount() / 4; }
int TKelScrollBar::GetPosition() const { return FPosition; }

void TKelScrollBar::SetPosition(int Value) {
  SetIntegerProperty(FPosition, Value);
  // The handler may destroy the bar or take it out of its chart.
  TElementWatch watch(this);
  CallEvent(OnSetPosition, this, Value);
  ElementGone(watch);
}

void TKelScrollBar::InflateThumbLength(bool, double Delta) {
  ThumbLength = std::max(1, ThumbLength + KelRound(Delta));
}

void TKelScrollBar::SetSize(int Value) {
  Value = std::clamp(Value, 0, KelMaxPixelPos);
  if (FSize == Value) return;
  FSize = Value;
  Repaint();
  TElementWatch watch(this);
  CallEvent(OnChangeSize, this);
  ElementGone(watch);
}

bool TKelScrollBar::ShouldDraw(TRectF&) { return TotalCount() > 0; }

void TKelScrollBar::EnsureVisible(int Index) {
  const int P = GetPosition();
  if (Index < P)
    SetPosition(Index);
  else if (Index >= P + CurrentCount())
    SetPosition(Index - CurrentCount() + 1);
}

void TKelScrollBar::SetArrowBrush(const TKelBrush* Value) {
  if (Value) FArrowBrush->Assign(Value);
}

void TKelScrollBar::SetDisabledArrow(const TKelBrush* Value) {
  if (Value) FDisabledArrow->Assign(Value);
}

TColor TKelScrollBar::BackColor() const { return Brush()->BackColor(); }
void TKelScrollBar::SetBackColor(TColor Value) { Brush()->SetBackColor(Value); }

void TKelScrollBar::SetBevel(TPanelBevel Value) {
  if (FBevel == Value) return;
  FBevel = Value;
  Repaint();
}

void TKelScrollBar::SetDrawStyle(TKelScrollBarDrawStyle Value) {
  if (FDrawStyle == Value) return;
  FDrawStyle = Value;
  Repaint();
}

TKelGradient* TKelScrollBar::Gradient() const { return Brush()->Gradient(); }

void TKelScrollBar::SetGradient(const TKelGradient* Value) { Brush()->SetGradient(Value); }

void TKelScrollBar::SetThumb(const TScrollBarThumb* Value) {
  if (Value) FThumb->Assign(Value);
}

void TKelScrollBar::EndDrag() {
  FIn = spNone;
  FirstTime = true;
  StopTimer();
}

void TKelScrollBar::SetActive(bool Value) {
  TKelCustomTool::SetActive(Value);
  if (!Value) EndDrag();
}

void TKelScrollBar::SetParentChart(TCustomAxisPanel* Value) {
  if (Value != ParentChart()) EndDrag();
  TKelCustomTool::SetParentChart(Value);
  FThumb->SetParent(Value);
  if (Value) Value->Invalidate();
}

void TKelScrollBar::ChartEvent(TChartToolEvent Event) {
  TKelCustomTool::ChartEvent(Event);
  if (Event == cteAfterDraw) Draw();
}

void TKelScrollBar::ChartMouseEvent(TChartMouseEvent Event, TMouseButton, TShiftState, int X,
                                    int Y) {
  switch (Event) {
    case cmeDown:
      ProcessClick({static_cast<float>(X), static_cast<float>(Y)});
      break;
    case cmeMove:
      MouseMove(X, Y);
      break;
    case cmeUp:
      MouseUp();
      break;
  }
}

// ---- Geometry -----------------------------------------------------------------

TRectF TKelScrollBar::MainRectangle() const {
  const float S = static_cast<float>(FSize);
  if (FHorizontal) return {R.Left, R.Bottom, R.Right, R.Bottom + S};
  return {R.Right - S - 1, R.Top, R.Right, R.Bottom};
}

TRectF TKelScrollBar::ScrollRectangle() const {
  TRectF r = MainRectangle();
  const float n = static_cast<float>(ArrowSize());
  if (FHorizontal) {
    r.Left += n;
    r.Right -= n;
  } else {
    r.Top += n;
    r.Bottom -= n;
  }
  return r;
}

TRectF TKelScrollBar::DecRectangle() const {
  const float S = static_cast<float>(FSize);
  if (FHorizontal) return {R.Left, R.Bottom, R.Left + S, R.Bottom + S};
  return {R.Right - S - 1, R.Top, R.Right, R.Top + S};
}

TRectF TKelScrollBar::IncRectangle() const {
  const float S = static_cast<float>(FSize);
  if (FHorizontal) return {R.Right - S, R.Bottom, R.Right, R.Bottom + S};
  return {R.Right - S - 1, R.Bottom - S, R.Right, R.Bottom};
}

TRectF TKelScrollBar::ThumbRectangle() const {
  const float S = static_cast<float>(FSize);
  if (FHorizontal) {
    TRectF r{ThumbBegin, R.Bottom + 1, ThumbEnd, R.Bottom + S - 1};
    // A sliver is drawn at least 2 pixels wide.
    if (r.Right - r.Left < 2) r.Right += 1;
    return r;
  }
  return {R.Right - S, ThumbBegin, R.Right, ThumbEnd};
}

std::array<TPointF, 3> TKelScrollBar::DecArrowPoints() const {
  const TRectF D = DecRectangle();
  const float S = static_cast<float>(FSize);
  const float a = static_cast<float>(FSize / 6);
  const float h = static_cast<float>(FSize / 2);
  if (FHorizontal)
    return {TPointF{D.Left + a, D.Top + h}, TPointF{D.Left + S - a, D.Top + a},
            TPointF{D.Left + S - a, D.Bottom - a}};
  return {TPointF{D.Left + a, D.Top + S - 2 * a}, TPointF{D.Left + h, D.Top + a},
          TPointF{D.Left + S - a, D.Top + S - 2 * a}};
}

std::array<TPointF, 3> TKelScrollBar::IncArrowPoints() const {
  const TRectF D = IncRectangle();
  const float S = static_cast<float>(FSize);
  const float a = static_cast<float>(FSize / 6);
  const float h = static_cast<float>(FSize / 2);
  if (FHorizontal)
    return {TPointF{D.Right - a, D.Top + h}, TPointF{D.Right - S + a, D.Top + a},
            TPointF{D.Right - S + a, D.Bottom - a}};
  return {TPointF{D.Left + a, D.Bottom - S + 2 * a}, TPointF{D.Left + h, D.Bottom - a},
          TPointF{D.Left + S - a, D.Bottom - S + 2 * a}};
}

void TKelScrollBar::CalcThumbPosition() {
  const int T = TotalCount();
  if (T == 0) return;
  const int C = CurrentCount();
  const int P = GetPosition();
  const double n = ArrowSize();
  const double start = FHorizontal ? R.Left : R.Top;
  const double end = FHorizontal ? R.Right : R.Bottom;
  const double L = (end - start) - 2 * n;
  double u;
  int length;
  if (ThumbSize() != 0) {
    length = ThumbSize();
    // Positions beyond the last full page still get their own pixels.
    u = L / std::max(1.0, static_cast<double>(T) - C + 1);
  } else {
    u = L / T;
    length = std::max(FMinSize, KelRound(C * u));
  }
  double begin = start + n + KelRound(P * u);
  double finish = begin + length + 1;
  if (begin < start + n) begin = start + n;
  if (finish > end - n) finish = end - n;
  // Positions far beyond the track (the position is stored unclamped)
  // still give a thumb within the pixel bound.
  const double M = KelMaxPixelPos;
  ThumbBegin = static_cast<float>(std::clamp(begin, -M, M));
  ThumbEnd = static_cast<float>(std::clamp(finish, -M, M));
}

// ===========================================================================
// [Drawing]
// ===========================================================================

void TKelScrollBar::DrawArrowOutline(const std::array<TPointF, 3>& Points) {
  TCanvas3D* c = ParentChart()->Canvas();
  c->Brush()->SetStyle(THostBrushKind::None);
  TKelPen* pen = c->Pen();
  pen->SetStyle(psSolid);
  pen->SetColor(claSilver);
  pen->SetWidth(2);
  pen->SetVisible(true);
  c->Polygon(Points);
}

void TKelScrollBar::Draw() {
  TCustomAxisPanel* chart = ParentChart();
  if (!chart || !ShouldDraw(R)) return;
  TCanvas3D* c = chart->Canvas();
  const int T = TotalCount();
  const int C = CurrentCount();
  const int P = GetPosition();

  c->AssignVisiblePen(Pen());
  c->AssignBrush(Brush());
  const TRectF main = MainRectangle();
  if (FRoundSize != 0)
    c->RoundRect(main, FRoundSize, FRoundSize);
  else
    c->Rectangle(main);

  if (FArrows) {
    c->Rectangle(DecRectangle());
    c->Rectangle(IncRectangle());
    c->Pen()->SetStyle(psClear);
    const bool decDisabled = FIn == spArrowDec || P == 0;
    const bool incDisabled = FIn == spArrowInc || P == T - C;
    c->AssignBrush(decDisabled ? FDisabledArrow.get() : FArrowBrush.get());
    c->Polygon(DecArrowPoints());
    c->AssignBrush(incDisabled ? FDisabledArrow.get() : FArrowBrush.get());
    c->Polygon(IncArrowPoints());
    // The hover outline is part of the picture while the mouse rests on an
    // enabled arrow; an arrow that became disabled loses it.
    if (FDecOutline && P >= 1)
      DrawArrowOutline(DecArrowPoints());
    else
      FDecOutline = false;
    if (FIncOutline && P < T - C)
      DrawArrowOutline(IncArrowPoints());
    else
      FIncOutline = false;
  }

  if (T == 0) return;
  CalcThumbPosition();
  const TRectF thumb = ThumbRectangle();
  // Only the part of the thumb on the track is painted: a position beyond
  // the track (before the first paint, or after the axis moved past the
  // page) puts the thumb past the track's end, where it would cover the
  // inc arrow or the panel. The thumb's own rectangle stays as computed.
  c->ClipRectangle(ScrollRectangle());
  DrawThumb(thumb);
  c->UnClipRectangle();
}

void TKelScrollBar::DrawThumb(const TRectF& Thumb) {
  TCanvas3D* c = ParentChart()->Canvas();
  const TKelBrush* thumbBrush = FThumb->Brush();
  if (thumbBrush->HasImage() && !thumbBrush->Image()->IsEmpty()) {
    TRectF r = Thumb;
    r.Right -= 1;
    c->StretchDraw(r, *thumbBrush->Image()->Bitmap());
  } else {
    c->AssignVisiblePen(FThumb->Pen());
    c->AssignBrush(thumbBrush);
    TRectF r = Thumb;
    if (FThumb->Pen()->Visible()) {
      const float half = FThumb->Pen()->Width() * 0.5f;
      InflateRectF(r, -half, -half);
    }
    if (FArrows || FRoundSize == 0)
      c->Rectangle(r);
    else
      c->RoundRect(r, FRoundSize, FRoundSize);
  }
  if (FBevel != bvNone) {
    TRectF r = Thumb;
    r.Right -= 1;
    const double w = std::min({static_cast<double>(r.Width()) / 2,
                               static_cast<double>(r.Height()) / 2, 1.0});
    const TColor light = claWhite;
    const TColor dark = 0xFFA0A0A0;
    if (FBevel == bvRaised)
      c->Frame3D(r, light, dark, KelRound(w));
    else
      c->Frame3D(r, dark, light, KelRound(w));
  }
}

// ===========================================================================
// [Mouse]
// ===========================================================================

bool TKelScrollBar::OverResizeGrip(TPointF P, bool Inc) const {
  if (!FAllowResize) return false;
  const TRectF t = ThumbRectangle();
  if (FHorizontal) {
    if (!(t.Top < P.Y && P.Y < t.Bottom)) return false;
    return std::fabs(P.X - (Inc ? t.Right : t.Left)) < KelResizeGripSize;
  }
  if (!(t.Left < P.X && P.X < t.Right)) return false;
  return std::fabs(P.Y - (Inc ? t.Bottom : t.Top)) < KelResizeGripSize;
}

void TKelScrollBar::ProcessClick(TPointF P) {
  OldPoint = P;
  FIn = spNone;
  if (FArrows && PointInRect(DecRectangle(), P)) {
    FIn = spArrowDec;
    ApplyScroll(-1, true);
  } else if (FArrows && PointInRect(IncRectangle(), P)) {
    FIn = spArrowInc;
    ApplyScroll(1, true);
  } else if (OverResizeGrip(P, true)) {
    FIn = spResizeInc;
  } else if (OverResizeGrip(P, false)) {
    FIn = spResizeDec;
  } else if (PointInRect(ThumbRectangle(), P)) {
    FIn = spThumb;
  } else if (PointInRect(MainRectangle(), P)) {
    const float c = FHorizontal ? P.X : P.Y;
    if (c < ThumbBegin)
      ApplyScroll(-DeltaMain(), true);
    else if (c > ThumbEnd)
      ApplyScroll(DeltaMain(), true);
  }
}

double TKelScrollBar::CalcDelta(double New, double Old) const {
  if (New == Old) return 0;
  const TRectF track = ScrollRectangle();
  const double length = FHorizontal ? track.Width() : track.Height();
  // A track without length has no position per pixel.
  if (!(length > 0)) return 0;
  const double d = TotalCount() * std::fabs(New - Old) / length;
  return New < Old ? -d : d;
}

void TKelScrollBar::MouseMove(int X, int Y) {
  const TPointF P{static_cast<float>(X), static_cast<float>(Y)};
  auto along = [this](TPointF p) { return FHorizontal ? p.X : p.Y; };
  if (FIn == spResizeInc || FIn == spResizeDec) {
    const double d = CalcDelta(along(P), along(OldPoint));
    if (std::fabs(d) >= 1) {
      InflateThumbLength(FIn == spResizeInc, d);
      OldPoint = P;
      Repaint();
    }
    return;
  }
  if (FIn == spThumb) {
    // Smaller moves add up against the unchanged OldPoint.
    const double d = CalcDelta(along(P), along(OldPoint));
    if (std::fabs(d) >= 1) {
      ApplyScroll(d, false);
      OldPoint = P;
    }
    return;
  }
  // Hover feedback: shown and removed by repainting.
  const int T = TotalCount();
  const int C = CurrentCount();
  const int Pos = GetPosition();
  if (FArrows) {
    const bool overDec = PointInRect(DecRectangle(), P);
    if (overDec && Pos >= 1 && !FDecOutline) {
      FDecOutline = true;
      Repaint();
    } else if (!overDec && FDecOutline) {
      FDecOutline = false;
      Repaint();
    }
    const bool overInc = PointInRect(IncRectangle(), P);
    if (overInc && Pos < T - C && !FIncOutline) {
      FIncOutline = true;
      Repaint();
    } else if (!overInc && FIncOutline) {
      FIncOutline = false;
      Repaint();
    }
  }
  if (OverResizeGrip(P, true) || OverResizeGrip(P, false)) {
    if (TCustomAxisPanel* chart = ParentChart()) {
      if (IHostControl* host = chart->HostControl()) host->SetCursor(FHorizontal ? crHSplit : crVSplit);
      chart->SetCancelMouse(true);
    }
  }
}

void TKelScrollBar::MouseUp() {
  EndDrag();
  Repaint();
}

void TKelScrollBar::StopTimer() {
  if (FTimer) FTimer->SetEnabled(false);
}

void TKelScrollBar::ApplyScroll(double Delta, bool IsClick) {
  const int T = TotalCount();
  const int C = CurrentCount();
  const int P = GetPosition();
  if (Delta >= 0) {
    if (P + Delta - 1 < static_cast<double>(T) - C) {
      DoChange(P + Delta, IsClick);
    } else {
      DoChange(static_cast<double>(T) - C, IsClick);
      StopTimer();
    }
    return;
  }
  Delta = std::max(Delta, -static_cast<double>(P));
  if (1 + Delta >= P) {
    StopTimer();  // already at the start
    return;
  }
  DoChange(P + Delta, IsClick);
}

void TKelScrollBar::DoChange(double Value, bool IsClick) {
  TElementWatch watch(this);
  SetPosition(KelRound(Value));
  if (ElementGone(watch)) return;
  CallEvent(OnScrolled, this);
  if (ElementGone(watch)) return;
  if (IsClick && FirstTime && FAutoRepeat) {
    if (!FTimer) {
      FTimer = KelCreateTimer();
      FTimer->OnTimer = [this] { DoTimer(); };
    }
    FTimer->SetInterval(FInitial);
    FTimer->SetEnabled(true);
  }
}

void TKelScrollBar::DoTimer() {
  // Repeats the click at the same point (which re-arms the timer), then
  // continues at the repeat rate.
  ProcessClick(OldPoint);
  if (FTimer && FTimer->Interval() > KelScrollRepeatInterval)
    FTimer->SetInterval(KelScrollRepeatInterval);
}

// ===========================================================================
// [AxisTool] TAxisScrollBarTool
// ===========================================================================

TAxisScrollBarTool::TAxisScrollBarTool(TComponent* AOwner) : TKelScrollBar(AOwner) {
  FAllowResize = true;
  FMargin = 5;
  Max = 1000;
}

// The axis gives its room back, unless the chart (and with it the axis) is
// going away.
TAxisScrollBarTool::~TAxisScrollBarTool() {
  TCustomAxisPanel* chart = ParentChart();
  if (FAxis && chart && !chart->IsDestroying() && FAxis->ParentChart() == chart)
    FAxis->IExtraSpace = 0;
  FAxis = nullptr;
}

bool TAxisScrollBarTool::ClassIncludes(const TKelCustomTool* Tool) const {
  if (typeid(*this) == typeid(TAxisScrollBarTool))
    return dynamic_cast<const TAxisScrollBarTool*>(Tool) != nullptr;
  return TKelScrollBar::ClassIncludes(Tool);
}

void TAxisScrollBarTool::Assign(const TPersistent* Source) {
  if (const auto* s = dynamic_cast<const TAxisScrollBarTool*>(Source)) {
    if (s != this) {
      SetAxis(s->FAxis);
      SetMargin(s->FMargin);
    }
  }
  TKelScrollBar::Assign(Source);
}

std::string TAxisScrollBarTool::Description() const { return "Axis Scroll Bar"; }

std::string TAxisScrollBarTool::LongDescription() const {
  return "Displays a scroll bar next to an axis to move or resize the axis range.";
}

void TAxisScrollBarTool::SetAxis(TChartAxis* Value) {
  if (Value == FAxis && (!FAxis || FAxis->ParentChart() == ParentChart())) return;
  if (FAxis) FAxis->IExtraSpace = 0;
  FAxis = Value;
  SetParentChart(Value ? Value->ParentChart() : nullptr);
  if (FAxis) SetHorizontal(FAxis->Horizontal());
  PrepareMargin();
}

void TAxisScrollBarTool::SetParentChart(TCustomAxisPanel* Value) {
  // An axis of another chart is let go (giving its room back) before the
  // tool moves, so that the tool never keeps an axis it cannot reach.
  if (FAxis && FAxis->ParentChart() != Value) {
    FAxis->IExtraSpace = 0;
    FAxis = nullptr;
  }
  TKelScrollBar::SetParentChart(Value);
  if (!Value) return;
  if (!FAxis)
    SetAxis(Value->BottomAxis());
  else
    SetHorizontal(FAxis->Horizontal());
}

void TAxisScrollBarTool::SetMargin(int Value) {
  SetIntegerProperty(FMargin, KelBoundPixel(Value));
  PrepareMargin();
}

void TAxisScrollBarTool::SetActive(bool Value) {
  TKelScrollBar::SetActive(Value);
  PrepareMargin();
}

void TAxisScrollBarTool::SetSize(int Value) {
  TKelScrollBar::SetSize(Value);
  PrepareMargin();
}

void TAxisScrollBarTool::PrepareMargin() {
  if (FAxis) FAxis->IExtraSpace = Active() ? KelBoundPixel(static_cast<long long>(FSize) + FMargin) : 0;
}

void TAxisScrollBarTool::ChartEvent(TChartToolEvent Event) {
  TKelScrollBar::ChartEvent(Event);
  if (Event == cteBeforeDraw && FAxis) Reposition();
}

bool TAxisScrollBarTool::GetAxisLimits(double& DataMin, double& DataMax, double& ARange) const {
  DataMin = DataMax = ARange = 0;
  if (!FAxis) return false;
  if (const TCustomAxisPanel* chart = FAxis->ParentChart()) {
    if (FAxis->Horizontal()) {
      DataMin = chart->MinXValue(FAxis);
      DataMax = chart->MaxXValue(FAxis);
    } else {
      DataMin = chart->MinYValue(FAxis);
      DataMax = chart->MaxYValue(FAxis);
    }
  }
  ARange = FAxis->Maximum() - FAxis->Minimum();
  return true;
}

int TAxisScrollBarTool::CurrentCount() const {
  double dataMin, dataMax, range;
  if (!GetAxisLimits(dataMin, dataMax, range)) return 0;
  const double extent = dataMax - dataMin;
  if (ExtentIsZero(extent)) return 0;
  return KelRound(Max * range / extent);
}

void TAxisScrollBarTool::SetPosition(int Value) {
  TElementWatch watch(this);
  TKelScrollBar::SetPosition(Value);
  if (ElementGone(watch)) return;
  double dataMin, dataMax, range;
  if (!GetAxisLimits(dataMin, dataMax, range) || range == 0 || Max == 0) return;
  const double extent = dataMax - dataMin;
  double m = dataMin + Value * extent / Max;
  // Vertical positions count down from the top of the extent.
  if (!FAxis->Horizontal()) m = dataMax - (m - dataMin) - range;
  if (!std::isfinite(m) || !std::isfinite(m + range)) return;
  if (FAxis->Automatic() && m == FAxis->Minimum() && m + range == FAxis->Maximum()) return;
  ChangeAxisMinMax(m, m + range);
}

void TAxisScrollBarTool::Reposition() {
  double dataMin, dataMax, range;
  if (!GetAxisLimits(dataMin, dataMax, range) || range == 0) return;
  const double extent = dataMax - dataMin;
  if (ExtentIsZero(extent)) {
    SetPosition(0);
    return;
  }
  if (FAxis->Horizontal())
    SetPosition(KelRound(Max * (FAxis->Minimum() - dataMin) / extent));
  else
    SetPosition(KelRound(Max * (dataMax - FAxis->Maximum()) / extent));
}

void TAxisScrollBarTool::InflateThumbLength(bool IsInc, double Delta) {
  double dataMin, dataMax, range;
  if (!GetAxisLimits(dataMin, dataMax, range) || Max == 0) return;
  double d = Delta * (dataMax - dataMin) / Max;
  double lo = FAxis->Minimum();
  double hi = FAxis->Maximum();
  if (hi - lo == 0 || !std::isfinite(d)) return;
  if (!FAxis->Horizontal()) {
    IsInc = !IsInc;
    d = -d;
  }
  // A step that would bring one end to or past the other is ignored.
  if (IsInc) {
    if (lo < hi + d) hi += d;
  } else {
    if (hi > lo + d) lo += d;
  }
  ChangeAxisMinMax(lo, hi);
  Reposition();
}

void TAxisScrollBarTool::ChangeAxisMinMax(double AMin, double AMax) {
  // Ends beyond the doubles (a thumb stretched over a huge extent) leave
  // the axis as it is.
  if (!FAxis || !std::isfinite(AMin) || !std::isfinite(AMax)) return;
  FAxis->SetMinMax(AMin, AMax);
  TCustomAxisPanel* chart = FAxis->ParentChart();
  if (!chart) return;
  TChartAxis* opposite = nullptr;
  if (FAxis == chart->BottomAxis()) opposite = chart->TopAxis();
  else if (FAxis == chart->TopAxis()) opposite = chart->BottomAxis();
  else if (FAxis == chart->LeftAxis()) opposite = chart->RightAxis();
  else if (FAxis == chart->RightAxis()) opposite = chart->LeftAxis();
  if (!opposite) return;
  for (TChartSeries* s : chart->SeriesList()) {
    if (!s->AssociatedToAxis(FAxis)) continue;
    const bool both = FAxis->Horizontal() ? s->HorizAxis() == aBothHorizAxis
                                          : s->VertAxis() == aBothVertAxis;
    if (both) {
      opposite->SetMinMax(AMin, AMax);
      return;
    }
  }
}

bool TAxisScrollBarTool::ShouldDraw(TRectF& Rect) {
  if (!FAxis || !FAxis->IsVisible) return false;
  Rect = FAxis->AxisRect();
  const float S = static_cast<float>(FSize);
  if (FAxis->Horizontal()) {
    const float D = static_cast<float>(FMargin) + Rect.Bottom - Rect.Top;
    if (FAxis->OtherSide()) {
      Rect.Bottom = Rect.Top - S;
      Rect.Top -= D;
      Rect.Bottom -= D;
    } else {
      Rect.Top += D;
      Rect.Bottom += D;
    }
  } else {
    // Vertical labels reach beyond PosLabels by their width, which the
    // axis area leaves out.
    const float D = static_cast<float>(FAxis->MaxLabelsWidth() + FMargin) + Rect.Right - Rect.Left;
    if (FAxis->OtherSide()) {
      Rect.Right = Rect.Left + S;
      Rect.Left += D;
      Rect.Right += D;
    } else {
      Rect.Left -= D;
      Rect.Right -= D;
    }
  }
  return true;
}

}  // namespace sextant

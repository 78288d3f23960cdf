// The chart control's mouse and wheel handling: clicked parts and click
// events, panning and zoom drags, zoom operations and their undo, wheel
// scrolling, and the cursor and hover updates of a plain move.
//
// Contents:
//   [Clicked]   clicked-part detection
//   [Down]      mouse down, click events, start of zoom and panning
//   [Move]      mouse move: panning drag, zoom drag, cursor and hover
//   [Up]        mouse up, zoom end
//   [Zoom]      zoom operations, saved scales, undo
//   [Wheel]     wheel panning and zoom
//   [Leave]     mouse leave
#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <limits>

#include "canvas/brush.h"
#include "canvas/canvas3d.h"
#include "canvas/pen.h"
#include "canvas/text_selection.h"
#include "panel/custom_chart.h"

namespace sextant {

// ===========================================================================
// [Clicked]
// ===========================================================================

void TCustomChart::CalcClickedPart(TPointF Pos, TChartClickedPart& Part) {
  Part = TChartClickedPart{};
  const int x = KelRound(Pos.X);
  const int y = KelRound(Pos.Y);
  TChartLegend* legend = Legend();
  auto legendHit = [&](bool Custom) {
    if (!legend->Visible() || legend->CustomPosition() != Custom) return false;
    const int item = legend->Clicked(x, y);
    if (item == -1) return false;
    Part.Part = cpLegend;
    Part.PointIndex = item;
    return true;
  };
  if (legendHit(true)) return;

  // Series, last to first, only those somebody listens to.
  for (int i = SeriesCount() - 1; i >= 0; --i) {
    TChartSeries* s = Series(i);
    if (!s->Active() || !(s->OnClick || s->OnDblClick || OnClickSeries)) continue;
    const int index = s->Clicked(x, y);
    if (index != -1) {
      Part.Part = cpSeries;
      Part.ASeries = s;
      Part.PointIndex = index;
      return;
    }
  }

  for (TChartAxis* a : Axes()) {
    if (a->IsVisible && PointInRect(a->AxisRect(), Pos)) {
      Part.Part = cpAxis;
      Part.AAxis = a;
      return;
    }
  }

  if (legendHit(false)) return;
  TChartTitle* const candidates[] = {HasTitle() ? Title() : nullptr,
                                     HasSubTitle() ? SubTitle() : nullptr,
                                     HasFoot() ? Foot() : nullptr,
                                     HasSubFoot() ? SubFoot() : nullptr};
  const TChartClickedPartStyle parts[] = {cpTitle, cpSubTitle, cpFoot, cpSubFoot};
  for (int i = 0; i < 4; ++i) {
    if (candidates[i] && candidates[i]->Clicked(x, y)) {
      Part.Part = parts[i];
      Part.ATitle = candidates[i];
      return;
    }
  }

  if (PointInRect(ChartRect, Pos) && CountActiveSeries() > 0) Part.Part = cpChartRect;
}

// ===========================================================================
// [Down]
// ===========================================================================

void TCustomChart::MouseDown(TMouseButton Button, TShiftState Shift, float X, float Y) {
  TCustomAxisPanel::MouseDown(Button, Shift, X, Y);
  // While a drag is in progress further presses are ignored.
  if (FCancelMouse || Zoom()->Active() || Panning()->Active()) return;
  FCancelMouse = false;
  BroadcastMouseEvent(cmeDown, Button, Shift, KelRound(X), KelRound(Y));
  // A tool that took the press skips the chart's own handling.
  if (!FCancelMouse) MouseDownClick(Button, Shift, X, Y);
  FCancelMouse = false;
}

void TCustomChart::MouseDownClick(TMouseButton Button, TShiftState Shift, float X, float Y) {
  TChartClickedPart part;
  CalcClickedPart({X, Y}, part);
  const int x = KelRound(X);
  const int y = KelRound(Y);
  bool handled = false;
  // A click event handler that leaves CancelMouse set handles the click.
  auto raise = [&](auto& Event, auto&&... Args) {
    if (!Event) return;
    FCancelMouse = true;
    Event(this, Args...);
    handled = FCancelMouse;
  };
  switch (part.Part) {
    case cpLegend:
      raise(OnClickLegend, Button, Shift, x, y);
      break;
    case cpAxis:
      raise(OnClickAxis, part.AAxis, Button, Shift, x, y);
      if (!handled) handled = CheckZoomPanning(Button, Shift, X, Y);
      break;
    case cpSeries:
    case cpSeriesPointer: {
      TChartSeries* s = part.ASeries;
      FCancelMouse = false;
      // The series' own click events: a double click raises OnDblClick.
      if (Shift & ssDouble)
        CallEvent(s->OnDblClick, s, part.PointIndex);
      else
        CallEvent(s->OnClick, s, part.PointIndex);
      handled = FCancelMouse;
      raise(OnClickSeries, s, part.PointIndex, Button, Shift, x, y);
      if (!handled) handled = CheckZoomPanning(Button, Shift, X, Y);
      break;
    }
    case cpTitle:
    case cpSubTitle:
    case cpFoot:
    case cpSubFoot:
      raise(OnClickTitle, part.ATitle, Button, Shift, x, y);
      if (!handled) handled = CheckZoomPanning(Button, Shift, X, Y);
      break;
    case cpChartRect:
      raise(OnClickBackground, Button, Shift, x, y);
      if (!handled) handled = CheckZoomPanning(Button, Shift, X, Y);
      break;
    case cpSeriesMarks:
    case cpAxisTitle:
    case cpNone:
      break;
  }
  if (!handled) raise(OnClickBackground, Button, Shift, x, y);
}

bool TCustomChart::ActiveSeriesCanZoomScroll() const {
  bool anyActive = false;
  for (const TChartSeries* s : SeriesList()) {
    if (!s->Active()) continue;
    anyActive = true;
    if (s->CanZoomScroll()) return true;
  }
  return !anyActive;
}

bool TCustomChart::CheckZoomPanning(TMouseButton Button, TShiftState Shift, float X, float Y) {
  if (!ActiveSeriesCanZoomScroll()) return false;
  bool started = false;
  TKelZoom* zoom = Zoom();
  if (zoom->Allow() && Button == zoom->MouseButton() &&
      (Shift & zoom->KeyShift()) == zoom->KeyShift()) {
    if (zoom->Direction() == tzdVertical) X = ChartRect.Left;
    if (zoom->Direction() == tzdHorizontal) Y = ChartRect.Top;
    zoom->Activate(KelRound(X), KelRound(Y));
    if (zoom->Direction() == tzdVertical) zoom->X1 = KelRound(ChartRect.Right);
    if (zoom->Direction() == tzdHorizontal) zoom->Y1 = KelRound(ChartRect.Bottom);
    if (zoom->X0 != zoom->X1 || zoom->Y0 != zoom->Y1) TryDrawZoom();
    started = true;
  }
  if (AllowPanning() != pmNone && Button == ScrollMouseButton() &&
      (Shift & KelScrollKeyShift) == KelScrollKeyShift) {
    Panning()->Activate(KelRound(X), KelRound(Y));
    if (!Panning()->InsideBounds() && HostControl() && HostControl()->HasParent())
      HostControl()->CaptureMouse();
    started = true;
  }
  if (started && HostControl()) HostControl()->SetCursor(OriginalCursor());
  return started;
}

// ===========================================================================
// [Move]
// ===========================================================================

void TCustomChart::MouseMove(TShiftState Shift, float X, float Y) {
  TCustomAxisPanel::MouseMove(Shift, X, Y);
  if (!Canvas()->ReferenceCanvas()) return;
  if (!IsDesigning())
    BroadcastMouseEvent(cmeMove, TMouseButton::mbLeft, Shift, KelRound(X), KelRound(Y));
  // A tool that set CancelMouse keeps this move to itself.
  if (FCancelMouse) return;
  if (Zoom()->Active())
    ZoomMove(X, Y);
  else if (Panning()->Active())
    PanningMove(X, Y);
  else
    CheckMouseCursorAndHover(X, Y);
}

void TCustomChart::PanningMove(float X, float Y) {
  TKelPanning* pan = Panning();
  if (pan->InsideBounds() && !PointInRect(ChartRect, X, Y)) {
    pan->SetActive(false);
    return;
  }
  if (X == static_cast<float>(pan->X1) && Y == static_cast<float>(pan->Y1)) return;
  SaveScalesOnce();
  const int x = KelRound(X);
  const int y = KelRound(Y);
  const bool movedH = PanAxis(true, x, pan->X1);
  const bool movedV = PanAxis(false, y, pan->Y1);
  pan->X1 = x;
  pan->Y1 = y;
  if (movedH || movedV) {
    CallEvent(OnScroll, this);
    Invalidate();
  }
}

bool TCustomChart::PanAxis(bool Horizontal, int New, int Old) {
  if (New == Old) return false;
  const TPanningMode mode = Horizontal ? pmHorizontal : pmVertical;
  if (AllowPanning() != mode && AllowPanning() != pmBoth) return false;
  // Walk a copy: an event handler may add axes.
  const std::vector<TChartAxis*> axes(Axes().begin(), Axes().end());
  for (TChartAxis* a : axes)
    if (!a->IsDepthAxis() && a->Horizontal() == Horizontal) ProcessPanning(a, Old, New);
  return true;
}

void TCustomChart::ProcessPanning(TChartAxis* Axis, int P0, int P1) {
  // The ends of the last layout (the stored ends with pixel offsets).
  const double lo = Axis->MinimumOffset() != 0 ? Axis->Minimum() : Axis->IMinimum;
  const double hi = Axis->MaximumOffset() != 0 ? Axis->Maximum() : Axis->IMaximum;
  // The value under the old pixel minus the value under the new one.
  const double d = Axis->CalcPosPoint(P0) - Axis->CalcPosPoint(P1);
  double newMin = lo + d;
  double newMax = hi + d;
  if (Axis->Logarithmic()) {
    // In log space: both ends scaled by the ratio of the two values, so
    // the scale moves by the dragged pixels and never crosses zero.
    const double ratio = Axis->CalcPosPoint(P0) / Axis->CalcPosPoint(P1);
    newMin = lo * ratio;
    newMax = hi * ratio;
    // A move that would invert the scale is not applied.
    if (!(ratio > 0) || !(newMin <= newMax)) return;
  }
  // An end that would leave the doubles keeps its old value.
  if (!std::isfinite(newMin)) newMin = lo;
  if (!std::isfinite(newMax)) newMax = hi;
  bool allow = true;
  if (OnAllowScroll) OnAllowScroll(this, Axis, newMin, newMax, allow);
  if (!allow) return;
  // A handler may have produced ends that are no numbers: those are refused.
  if (!std::isfinite(newMin) || !std::isfinite(newMax)) return;
  Axis->SetMinMax(newMin, newMax);
}

void TCustomChart::ZoomMove(float X, float Y) {
  TKelZoom* zoom = Zoom();
  if (zoom->Direction() == tzdVertical) X = ChartRect.Right;
  if (zoom->Direction() == tzdHorizontal) Y = ChartRect.Bottom;
  if (X == static_cast<float>(zoom->X1) && Y == static_cast<float>(zoom->Y1)) return;
  TryDrawZoom();  // removes the old rectangle
  if (zoom->KeepAspectRatio()) {
    CorrectAspectRatio(ChartRect, X, Y);
  } else {
    zoom->X1 = KelRound(X);
    zoom->Y1 = KelRound(Y);
  }
  if (!zoom->FullRepaint()) TryDrawZoom();
}

void TCustomChart::CorrectAspectRatio(const TRectF& Rect, float X, float Y) {
  TKelZoom* zoom = Zoom();
  const double h = Rect.Height();
  const double a = h == 0 ? 1.0 : Rect.Width() / h;
  const double dx = X - zoom->X0;
  const double dy = Y - zoom->Y0;
  const double e = dy == 0 ? 1.0 : std::fabs(dx) / std::fabs(dy);
  if (a > e) {
    // Summed in 64 bits and bounded: a very flat or very tall rectangle
    // gives corners far outside it.
    const int w = KelRound(dy * a);
    zoom->X1 = KelBoundPixel(static_cast<long long>(zoom->X0) + w);
    zoom->Y1 = KelBoundPixel(static_cast<long long>(zoom->Y0) + KelRound(w / a));
  } else {
    zoom->Y1 = KelBoundPixel(static_cast<long long>(zoom->Y0) + KelRound(dx / a));
    zoom->X1 = KelBoundPixel(static_cast<long long>(zoom->X0) +
                             KelRound(a * (static_cast<double>(zoom->Y1) - zoom->Y0)));
  }
}

void TCustomChart::TryDrawZoom() {
  if (!Zoom()->FullRepaint() && Canvas()->GetSupportsXORMode())
    DrawZoomRectangle();
  else
    Invalidate();
}

void TCustomChart::DrawZoomRectangleIfActive() {
  if (Zoom()->Active()) DrawZoomRectangle();
}

void TCustomChart::DrawZoomRectangle() {
  TCanvas3D* c = Canvas();
  TKelZoom* zoom = Zoom();
  const bool copyMode = zoom->FullRepaint() || !c->GetSupportsXORMode();
  if (zoom->HasBrush()) {
    const TKelBrush* b = zoom->Brush();
    TColor back = GetBackColor();
    if (!zoom->FullRepaint()) back ^= b->Color();
    c->AssignBrush(b, b->Color(), back);
  } else {
    c->Brush()->SetStyle(THostBrushKind::None);
  }
  if (copyMode) {
    TKelPen* pen = zoom->Pen();
    pen->SetMode(pmCopy);
    c->AssignVisiblePen(pen);
  }
  c->Rectangle(static_cast<float>(zoom->X0), static_cast<float>(zoom->Y0),
               static_cast<float>(zoom->X1), static_cast<float>(zoom->Y1));
}

// Cursor and hover of a plain move.
void TCustomChart::CheckMouseCursorAndHover(float X, float Y) {
  const int x = KelRound(X);
  const int y = KelRound(Y);
  TChartLegend* legend = Legend();
  // The legend's cursor: a hand while its hover settings show.
  const TCursor cursor =
      legend->HasSelected() && legend->Selected()->Hover()->Visible() ? crHandPoint : crDefault;
  int item = legend->Visible() ? legend->Clicked(x, y) : -1;
  if (item != -1) {
    if (cursor != crDefault && HostControl()) HostControl()->SetCursor(cursor);
  } else if (!CheckMouseSeries(x, y) && !CheckMouseAxes(x, y) && HostControl()) {
    HostControl()->SetCursor(OriginalCursor());
  }
  // The series take no part in hovering yet (no series has hover
  // settings), so with no item under the mouse the legend hovers nothing.
  if (Hover()->Visible() && legend->HasSelected()) legend->Selected()->SetHoverIndex(item);
}

bool TCustomChart::CheckMouseAxes(int X, int Y) {
  if (!Hover()->Visible()) return false;
  const TPointF p{static_cast<float>(X), static_cast<float>(Y)};
  bool result = false;
  for (TChartAxis* a : Axes()) {
    if (!a->IsVisible) continue;
    TTextSelection* selected = a->Labels()->Selected();
    if (!selected->Hover()->Visible()) continue;
    TAxisItems* items = a->Items();
    int hovered = -1;
    for (int i = 0; i < items->Count(); ++i) {
      if (PointInPolygon(p, items->Items(i)->RotatedBounds)) {
        hovered = i;
        break;
      }
    }
    selected->SetHoverIndex(hovered);
    if (hovered != -1) {
      result = true;
      break;
    }
  }
  return result;
}

bool TCustomChart::CheckMouseSeries(int X, int Y) {
  bool result = false;
  for (int i = SeriesCount() - 1; i >= 0; --i) {
    TChartSeries* s = Series(i);
    if (s->Active() && s->CheckMouse(X, Y)) result = true;
  }
  return result;
}

// ===========================================================================
// [Up]
// ===========================================================================

void TCustomChart::MouseUp(TMouseButton Button, TShiftState Shift, float X, float Y) {
  FCancelMouse = false;
  TCustomAxisPanel::MouseUp(Button, Shift, X, Y);
  if (Zoom()->Active() && Button == Zoom()->MouseButton()) ZoomEnd(X, Y);
  // Panning ends with any button.
  if (Panning()->Active()) {
    Panning()->SetActive(false);
    if (!Panning()->InsideBounds() && HostControl() && HostControl()->HasParent())
      HostControl()->ReleaseMouse();
  }
  BroadcastMouseEvent(cmeUp, Button, Shift, KelRound(X), KelRound(Y));
}

void TCustomChart::ZoomEnd(float X, float Y) {
  TKelZoom* zoom = Zoom();
  zoom->SetActive(false);
  TryDrawZoom();
  Canvas()->Pen()->SetMode(pmCopy);
  const TKelZoomDirection dir = zoom->Direction();
  if (!zoom->KeepAspectRatio()) {
    if (dir != tzdVertical) zoom->X1 = KelRound(X);
    if (dir != tzdHorizontal) zoom->Y1 = KelRound(Y);
  }
  const int minimum = zoom->MinimumPixels();
  const bool counts =
      (dir == tzdVertical || std::llabs(static_cast<long long>(zoom->X1) - zoom->X0) > minimum) &&
      (dir == tzdHorizontal || std::llabs(static_cast<long long>(zoom->Y1) - zoom->Y0) > minimum);
  if (!counts) return;
  const bool forward = dir == tzdVertical ? zoom->Y0 < zoom->Y1 : zoom->X0 < zoom->X1;
  if (zoom->UpLeftZooms() || forward)
    CalcZoomPoints();
  else
    UndoZoom();
  Invalidate();
}

// ===========================================================================
// [Zoom]
// ===========================================================================

void TCustomChart::CalcZoomPoints() {
  TKelZoom* zoom = Zoom();
  zoom->Check();
  TChartSeries* last = nullptr;
  for (TChartSeries* s : SeriesList())
    if (s->Active() && s->CanZoomScroll()) last = s;
  double topMin, topMax, bottomMin, bottomMax, leftMin, leftMax, rightMin, rightMax;
  if (last && last->FZoomSeries) {
    topMin = bottomMin = last->XScreenToValue(zoom->X0);
    topMax = bottomMax = last->XScreenToValue(zoom->X1);
    leftMin = rightMin = last->YScreenToValue(zoom->Y1);
    leftMax = rightMax = last->YScreenToValue(zoom->Y0);
  } else {
    topMin = TopAxis()->CalcPosPoint(zoom->X0);
    topMax = TopAxis()->CalcPosPoint(zoom->X1);
    bottomMin = BottomAxis()->CalcPosPoint(zoom->X0);
    bottomMax = BottomAxis()->CalcPosPoint(zoom->X1);
    leftMin = LeftAxis()->CalcPosPoint(zoom->Y1);
    leftMax = LeftAxis()->CalcPosPoint(zoom->Y0);
    rightMin = RightAxis()->CalcPosPoint(zoom->Y1);
    rightMax = RightAxis()->CalcPosPoint(zoom->Y0);
  }
  DoZoom(topMin, topMax, bottomMin, bottomMax, leftMin, leftMax, rightMin, rightMax);
  if (zoom->History()) AddZoomSnapshot();
}

void TCustomChart::AddZoomSnapshot() {
  TZoomSnapshot snap;
  const TChartAxis* axes[4] = {LeftAxis(), TopAxis(), RightAxis(), BottomAxis()};
  for (int i = 0; i < 4; ++i) {
    snap.AxesMinMax[2 * i] = axes[i]->Minimum();
    snap.AxesMinMax[2 * i + 1] = axes[i]->Maximum();
  }
  snap.CustomCount = CustomAxesCount();
  for (int i = 0; i < CustomAxesCount(); ++i) {
    snap.CustomMinMax.push_back(CustomAxis(i)->Minimum());
    snap.CustomMinMax.push_back(CustomAxis(i)->Maximum());
  }
  Zoom()->AxesHistory().push_back(std::move(snap));
}

// Sets an axis to a zoom target; targets that are no finite numbers leave
// the axis as it is.
static void ZoomAxis(TChartAxis* Axis, double AMin, double AMax) {
  if (std::isfinite(AMin) && std::isfinite(AMax)) Axis->SetMinMax(AMin, AMax);
}

void TCustomChart::DoZoom(double TopMin, double TopMax, double BottomMin, double BottomMax,
                          double LeftMin, double LeftMax, double RightMin, double RightMax) {
  SaveScalesOnce();
  TKelZoom* zoom = Zoom();
  const bool vertical = zoom->Direction() != tzdHorizontal;
  const bool horizontal = zoom->Direction() != tzdVertical;
  if (zoom->Animated()) {
    // Each step moves every affected axis a third of the remaining way.
    auto step = [](TChartAxis* Axis, double AMin, double AMax) {
      ZoomAxis(Axis, Axis->Minimum() + (AMin - Axis->Minimum()) / AnimatedZoomFactor,
               Axis->Maximum() - (Axis->Maximum() - AMax) / AnimatedZoomFactor);
    };
    for (int i = 1; i < zoom->AnimatedSteps(); ++i) {
      if (vertical) {
        step(LeftAxis(), LeftMin, LeftMax);
        step(RightAxis(), RightMin, RightMax);
      }
      if (horizontal) {
        step(TopAxis(), TopMin, TopMax);
        step(BottomAxis(), BottomMin, BottomMax);
      }
      Repaint();
    }
  }
  if (vertical) {
    ZoomAxis(LeftAxis(), LeftMin, LeftMax);
    ZoomAxis(RightAxis(), RightMin, RightMax);
  }
  if (horizontal) {
    ZoomAxis(TopAxis(), TopMin, TopMax);
    ZoomAxis(BottomAxis(), BottomMin, BottomMax);
  }
  FZoomed = true;
  CallEvent(OnZoom, this);
}

void TCustomChart::ZoomRect(const TRectF& Rect) {
  TKelZoom* zoom = Zoom();
  zoom->X0 = KelRound(Rect.Left);
  zoom->Y0 = KelRound(Rect.Top);
  zoom->X1 = KelRound(Rect.Right);
  zoom->Y1 = KelRound(Rect.Bottom);
  CalcZoomPoints();
}

void TCustomChart::ZoomPercent(double Percent) {
  const TKelZoomDirection dir = Zoom()->Direction();
  double ends[4][2];
  TChartAxis* axes[4] = {LeftAxis(), RightAxis(), TopAxis(), BottomAxis()};
  for (int i = 0; i < 4; ++i) {
    TChartAxis* a = axes[i];
    const bool horizontal = a->Horizontal();
    // Vertical axes: the end pixel (bottom) holds the minimum.
    const double lo = a->CalcPosPoint(horizontal ? a->IStartPos : a->IEndPos);
    const double hi = a->CalcPosPoint(horizontal ? a->IEndPos : a->IStartPos);
    const bool affected = horizontal ? dir != tzdVertical : dir != tzdHorizontal;
    const double d = affected ? (hi - lo) * (Percent - 100) * 0.01 : 0;
    ends[i][0] = lo + d;
    ends[i][1] = hi - d;
    if (a->Logarithmic() && lo > 0 && hi > 0) {
      // The same share of the logarithmic range at both ends.
      const double f = affected ? std::pow(hi / lo, (Percent - 100) * 0.01) : 1;
      ends[i][0] = lo * f;
      ends[i][1] = hi / f;
    }
  }
  DoZoom(ends[2][0], ends[2][1], ends[3][0], ends[3][1], ends[0][0], ends[0][1], ends[1][0],
         ends[1][1]);
  Invalidate();
}

void TCustomChart::UndoZoom() {
  TKelZoom* zoom = Zoom();
  std::vector<TZoomSnapshot>* history = zoom->HasHistory() ? &zoom->AxesHistory() : nullptr;
  if (zoom->History() && history && history->size() > 1) {
    // Back to the scales of the zoom before the last one (standard axes).
    const TZoomSnapshot& snap = (*history)[history->size() - 2];
    TChartAxis* axes[4] = {LeftAxis(), TopAxis(), RightAxis(), BottomAxis()};
    for (int i = 0; i < 4; ++i) ZoomAxis(axes[i], snap.AxesMinMax[2 * i], snap.AxesMinMax[2 * i + 1]);
    history->pop_back();
  } else {
    if (zoom->History() && history && history->size() == 1) history->pop_back();
    if (!RestoredAxisScales) {
      RestoreScales();
      RestoredAxisScales = true;
    }
  }
  FZoomed = false;
  CallEvent(OnUndoZoom, this);
  Invalidate();
}

void TCustomChart::SaveScalesOnce() {
  if (!RestoredAxisScales) return;
  SaveScales();
  RestoredAxisScales = false;
}

void TCustomChart::SaveScales() {
  FSavedScales.clear();
  for (const TChartAxis* a : Axes()) {
    TAxisSavedScale s;
    // Depth axes keep an empty entry so that entries follow the axis list.
    if (!a->IsDepthAxis()) {
      s.Automatic = a->Automatic();
      s.AutomaticMinimum = a->AutomaticMinimum();
      s.AutomaticMaximum = a->AutomaticMaximum();
      s.Minimum = a->Minimum();
      s.Maximum = a->Maximum();
    }
    FSavedScales.push_back(s);
  }
}

void TCustomChart::RestoreScales() {
  const int n = std::min(Axes().Count(), static_cast<int>(FSavedScales.size()));
  for (int i = 0; i < n; ++i) {
    TChartAxis* a = Axes()[i];
    if (a->IsDepthAxis()) continue;
    const TAxisSavedScale& s = FSavedScales[static_cast<std::size_t>(i)];
    a->SetMinMax(s.Minimum, s.Maximum);
    a->SetAutomatic(s.Automatic);
    a->SetAutomaticMinimum(s.AutomaticMinimum);
    a->SetAutomaticMaximum(s.AutomaticMaximum);
  }
  FSavedScales.clear();
}

// ===========================================================================
// [Wheel]
// ===========================================================================

void TCustomChart::MouseWheel(TShiftState Shift, int WheelDelta, bool& Handled) {
  TCustomAxisPanel::MouseWheel(Shift, WheelDelta, Handled);
  // The direction follows the wheel setting that applies: panning first,
  // then zoom, then the 3D view zoom.
  bool up = WheelDelta > 0;
  if (Panning()->MouseWheel() != pmwNone && AllowPanning() != pmNone && !IsDesigning()) {
    if (Panning()->MouseWheel() == pmwInverted) up = !up;
    if (AllowPanning() == pmHorizontal)
      ScrollHorizontalAxes(up);
    else
      ScrollVerticalAxes(up);
  } else if (Zoom()->Allow() && Zoom()->MouseWheel() != pmwNone) {
    if (Zoom()->MouseWheel() == pmwInverted) up = !up;
    ZoomPercent(up ? 110 : 90);
  } else if (ZoomWheel() != pmwNone && (View3D() || Canvas()->SupportsFullRotation())) {
    if (ZoomWheel() == pmwInverted) up = !up;
    View3DOptions()->SetZoom(View3DOptions()->Zoom() * (up ? 1.1 : 0.9));
  }
  TPointF pos{0, 0};
  if (HostControl()) pos = HostControl()->CursorPos();
  FCancelMouse = false;
  BroadcastWheelEvent(up ? wmeUp : wmeDown, WheelDelta, KelRound(pos.X), KelRound(pos.Y));
}

// A wheel step on a logarithmic axis moves it by 3 % of its logarithmic
// range: both ends times the same factor.
void TCustomChart::ScrollLogAxis(TChartAxis* Axis, bool Up) {
  const double lo = Axis->IMinimum;
  const double hi = Axis->IMaximum;
  if (!(lo > 0) || !(hi > lo)) return;
  double f = std::pow(hi / lo, 0.03);
  if (!Up) f = 1 / f;
  double newMin = lo * f;
  double newMax = hi * f;
  if (!std::isfinite(newMin) || !std::isfinite(newMax)) return;
  bool allow = true;
  if (OnAllowScroll) OnAllowScroll(this, Axis, newMin, newMax, allow);
  if (!allow || !std::isfinite(newMin) || !std::isfinite(newMax)) return;
  Axis->SetMinMax(newMin, newMax);
}

void TCustomChart::ScrollHorizontalAxes(bool Up) { ScrollAxes(true, Up); }
void TCustomChart::ScrollVerticalAxes(bool Up) { ScrollAxes(false, Up); }

void TCustomChart::ScrollAxes(bool Horizontal, bool Up) {
  SaveScalesOnce();
  const std::vector<TChartAxis*> axes(Axes().begin(), Axes().end());
  for (TChartAxis* a : axes) {
    if (a->IsDepthAxis() || a->Horizontal() != Horizontal) continue;
    if (a->Logarithmic()) {
      ScrollLogAxis(a, Up);
      continue;
    }
    double o = (a->Maximum() - a->Minimum()) * 3 * 0.01;
    if (!Up) o = -o;
    // A range too wide to move within the doubles stays where it is.
    if (!std::isfinite(o) || !std::isfinite(a->Minimum() + o) || !std::isfinite(a->Maximum() + o))
      continue;
    bool allow = true;
    if (OnAllowScroll) {
      double newMin = a->Minimum() + o;
      double newMax = a->Maximum() + o;
      OnAllowScroll(this, a, newMin, newMax, allow);
    }
    if (allow) a->Scroll(o, false);
  }
}

// ===========================================================================
// [Leave]
// ===========================================================================

void TCustomChart::DoMouseLeave() {
  TCustomAxisPanel::DoMouseLeave();
  for (TChartAxis* a : Axes())
    if (a->Items()->HasSelected()) a->Items()->Selected()->SetHoverIndex(-1);
  if (Legend()->HasSelected()) Legend()->Selected()->SetHoverIndex(-1);
  BroadcastToolEvent(cteMouseLeave);
}

}  // namespace sextant

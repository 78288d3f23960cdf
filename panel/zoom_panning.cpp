#include "panel/zoom_panning.h"

#include <utility>

#include "canvas/brush.h"
#include "canvas/pen.h"

namespace sextant {

void TZoomPanning::Activate(int X, int Y) {
  X0 = X1 = X;
  Y0 = Y1 = Y;
  FActive = true;
}

void TZoomPanning::Check() {
  if (X1 < X0) std::swap(X0, X1);
  if (Y1 < Y0) std::swap(Y0, Y1);
}

void TKelPanning::Assign(const TPersistent* Source) {
  if (auto* s = dynamic_cast<const TKelPanning*>(Source)) {
    FInsideBounds = s->FInsideBounds;
    FMouseWheel = s->FMouseWheel;
    return;
  }
  AssignError(Source);
}

TKelZoom::TKelZoom(TNotifyEvent OnChange) : FOnChange(std::move(OnChange)) {}
TKelZoom::~TKelZoom() = default;

std::vector<TZoomSnapshot>& TKelZoom::AxesHistory() {
  if (!FAxesHistory) FAxesHistory = std::make_unique<std::vector<TZoomSnapshot>>();
  return *FAxesHistory;
}

TKelBrush* TKelZoom::Brush() {
  if (!FBrush) {
    FBrush = std::make_unique<TKelBrush>(FOnChange);
    FBrush->InitColor(claWhite);
    FBrush->SetStyle(THostBrushKind::None);
  }
  return FBrush.get();
}

void TKelZoom::SetBrush(const TKelBrush* Value) {
  if (!Value) {
    FBrush.reset();
    return;
  }
  Brush()->Assign(Value);
}

TKelPen* TKelZoom::Pen() {
  if (!FPen) {
    FPen = std::make_unique<TKelPen>(FOnChange);
    FPen->InitColor(claSilver);
    FPen->InitWidth(3);
    FPen->InitEndStyle(esFlat);
  }
  return FPen.get();
}

void TKelZoom::SetPen(const TKelPen* Value) {
  if (!Value) {
    FPen.reset();
    return;
  }
  Pen()->Assign(Value);
}

void TKelZoom::SetHistory(bool Value) {
  FHistory = Value;
  if (!Value && FAxesHistory) FAxesHistory->clear();
}

void TKelZoom::Assign(const TPersistent* Source) {
  if (auto* s = dynamic_cast<const TKelZoom*>(Source)) {
    FAllow = s->FAllow;
    FAnimated = s->FAnimated;
    FAnimatedSteps = s->FAnimatedSteps;
    SetBrush(s->FBrush.get());
    FDirection = s->FDirection;
    FFullRepaint = s->FFullRepaint;
    SetHistory(s->FHistory);
    FKeepAspect = s->FKeepAspect;
    FKeyShift = s->FKeyShift;
    FMouseButton = s->FMouseButton;
    SetPen(s->FPen.get());
    return;
  }
  AssignError(Source);
}

}  // namespace sextant

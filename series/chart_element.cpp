#include "series/chart_element.h"

#include "canvas/brush.h"
#include "canvas/pen.h"
#include "panel/axis_panel.h"  // ParentChart

namespace sextant {

TCustomChartElement::TCustomChartElement(TComponent* AOwner) : TComponent(AOwner) {
  // Both settings objects report their changes through CanvasChanged, which
  // turns them into a repaint request of the chart.
  TNotifyEvent changed = [this](TPersistent* Sender) { CanvasChanged(Sender); };
  FBrush = std::make_unique<TKelBrush>(changed);
  FPen = std::make_unique<TKelPen>(changed);
}

TCustomChartElement::~TCustomChartElement() {
  // Callers that watch this element across an event learn that it is gone.
  for (TElementWatch* w = FWatches; w; w = w->FNext) w->FElement = nullptr;
  FPen.reset();
  FBrush.reset();
  // Derived levels have already detached from the chart in their own
  // destructors; at this level this only forgets the reference.
  SetParentChart(nullptr);
}

void TCustomChartElement::Assign(const TPersistent* Source) {
  const auto* other = dynamic_cast<const TCustomChartElement*>(Source);
  if (!other) {
    TComponent::Assign(Source);
    return;
  }
  SetActive(other->FActive);
  FBrush->Assign(other->FBrush.get());
  FPen->Assign(other->FPen.get());
  FTag = other->FTag;
  FTagObject = other->FTagObject;
}

void TCustomChartElement::SetActive(bool Value) { SetBooleanProperty(FActive, Value); }

void TCustomChartElement::SetBrush(const TKelBrush* Value) {
  if (Value) FBrush->Assign(Value);
}

void TCustomChartElement::SetPen(const TKelPen* Value) {
  if (Value) FPen->Assign(Value);
}

void TCustomChartElement::SetParentChart(TCustomAxisPanel* Value) { FParent = Value; }

void TCustomChartElement::Repaint() {
  if (FParent) FParent->Invalidate();
}

void TCustomChartElement::CanvasChanged(TPersistent*) { Repaint(); }

void TCustomChartElement::SetBooleanProperty(bool& Variable, bool Value) {
  if (Variable != Value) {
    Variable = Value;
    Repaint();
  }
}

void TCustomChartElement::SetColorProperty(TColor& Variable, TColor Value) {
  if (Variable != Value) {
    Variable = Value;
    Repaint();
  }
}

void TCustomChartElement::SetIntegerProperty(int& Variable, int Value) {
  if (Variable != Value) {
    Variable = Value;
    Repaint();
  }
}

// For floating values "differs" includes unordered: a NaN on either side
// always counts as a change.
void TCustomChartElement::SetDoubleProperty(double& Variable, double Value) {
  if (!(Variable == Value)) {
    Variable = Value;
    Repaint();
  }
}

void TCustomChartElement::SetSingleProperty(float& Variable, float Value) {
  if (!(Variable == Value)) {
    Variable = Value;
    Repaint();
  }
}

void TCustomChartElement::SetStringProperty(std::string& Variable, const std::string& Value) {
  if (Variable != Value) {
    Variable = Value;
    Repaint();
  }
}

// ---- Watching an element across its events ----------------------------------

TElementWatch::TElementWatch(TCustomChartElement* Element)
    : FElement(Element), FChart(Element->ParentChart()), FNext(Element->FWatches) {
  Element->FWatches = this;
}

TElementWatch::~TElementWatch() {
  if (!FElement) return;
  // Watches end in reverse order of their start, so this one is innermost.
  TElementWatch** link = &FElement->FWatches;
  while (*link && *link != this) link = &(*link)->FNext;
  if (*link) *link = FNext;
}

bool ElementGone(const TElementWatch& Watch) {
  if (!Watch.Gone()) return false;
  if (TElementGoneCatcher::Active()) throw EElementGone{};
  return true;
}

}  // namespace sextant

#include "tools/chart_tool.h"

#include <typeinfo>

#include "axes/chart_axis.h"
#include "panel/axis_panel.h"

namespace sextant {

// ===========================================================================
// TKelCustomTool
// ===========================================================================

TKelCustomTool::TKelCustomTool(TComponent* AOwner) : TCustomChartElement(AOwner) {}

// Leaves the chart here: the element's destructor runs after this class'
// part is gone and would only clear the reference.
TKelCustomTool::~TKelCustomTool() { SetParentChart(nullptr); }

void TKelCustomTool::SetParentChart(TCustomAxisPanel* Value) {
  TCustomAxisPanel* old = ParentChart();
  if (Value == old) return;
  if (old) {
    auto& items = old->FTools.FItems;
    for (auto it = items.begin(); it != items.end(); ++it)
      if (*it == this) {
        items.erase(it);
        break;
      }
    if (!Value) old->Invalidate();
  }
  TCustomChartElement::SetParentChart(Value);
  // Joining copies nothing: charts here have no theme chart to copy from.
  if (Value && Value->FTools.IndexOf(this) < 0) Value->FTools.FItems.push_back(this);
}

bool TKelCustomTool::SameClass(const TKelCustomTool* Tool) const {
  if (!Tool) return false;
  return ClassIncludes(Tool) || Tool->ClassIncludes(this);
}

// Each class answers for itself only when it is the tool's exact class;
// otherwise the question goes down to the exact-class comparison.
bool TKelCustomTool::ClassIncludes(const TKelCustomTool* Tool) const {
  if (!Tool) return false;
  if (typeid(*this) == typeid(TKelCustomTool)) return true;  // every tool is one
  return typeid(*Tool) == typeid(*this);
}

// ===========================================================================
// TKelCustomToolAxis
// ===========================================================================

void TKelCustomToolAxis::SetAxis(TChartAxis* Value) {
  if (Value == FAxis && (!FAxis || FAxis->ParentChart() == ParentChart())) return;
  FAxis = Value;
  SetParentChart(Value ? Value->ParentChart() : nullptr);
  Repaint();
}

bool TKelCustomToolAxis::ClassIncludes(const TKelCustomTool* Tool) const {
  if (typeid(*this) == typeid(TKelCustomToolAxis))
    return dynamic_cast<const TKelCustomToolAxis*>(Tool) != nullptr;
  return TKelCustomTool::ClassIncludes(Tool);
}

void TKelCustomToolAxis::Assign(const TPersistent* Source) {
  if (auto* s = dynamic_cast<const TKelCustomToolAxis*>(Source)) FAxis = s->FAxis;
  TKelCustomTool::Assign(Source);
}

// ===========================================================================
// TKelCustomToolSeries
// ===========================================================================

bool TKelCustomToolSeries::ClassIncludes(const TKelCustomTool* Tool) const {
  if (typeid(*this) == typeid(TKelCustomToolSeries))
    return dynamic_cast<const TKelCustomToolSeries*>(Tool) != nullptr;
  return TKelCustomTool::ClassIncludes(Tool);
}

void TKelCustomToolSeries::SetSeries(TChartSeries* Value) {
  if (Value == FSeries) return;
  if (FSeries) {
    FSeries->RemoveFreeNotification(this);
    RemoveFreeNotification(FSeries);
  }
  FSeries = Value;
  if (FSeries) FreeNotification(FSeries);
}

void TKelCustomToolSeries::Notification(TComponent* AComponent, TOperation Operation) {
  TKelCustomTool::Notification(AComponent, Operation);
  // The bound series is being destroyed: forget it.
  if (Operation == opRemove && AComponent == FSeries) FSeries = nullptr;
}

// The first axis of the given candidates that has active series; the
// first candidate when none has.
static TChartAxis* FirstAxisWithSeries(const TCustomAxisPanel* Chart, TChartAxis* First,
                                       TChartAxis* Second, bool Horizontal) {
  if (Chart->AxisHasActiveSeries(First)) return First;
  if (Chart->AxisHasActiveSeries(Second)) return Second;
  for (int i = 0; i < Chart->CustomAxesCount(); ++i) {
    TChartAxis* a = Chart->CustomAxis(i);
    if (a->Horizontal() == Horizontal && Chart->AxisHasActiveSeries(a)) return a;
  }
  return First;
}

TChartAxis* TKelCustomToolSeries::GetHorizAxis() const {
  if (FSeries) return FSeries->GetHorizAxis();
  const TCustomAxisPanel* chart = ParentChart();
  if (!chart) return nullptr;
  return FirstAxisWithSeries(chart, chart->BottomAxis(), chart->TopAxis(), true);
}

TChartAxis* TKelCustomToolSeries::GetVertAxis() const {
  if (FSeries) return FSeries->GetVertAxis();
  const TCustomAxisPanel* chart = ParentChart();
  if (!chart) return nullptr;
  return FirstAxisWithSeries(chart, chart->LeftAxis(), chart->RightAxis(), false);
}

}  // namespace sextant

#include "axes/axis_labels.h"

#include "axes/chart_axis.h"
#include "canvas/canvas3d.h"
#include "canvas/font.h"
#include "canvas/kel_exceptions.h"

namespace sextant {

// ---- [Pens] --------------------------------------------------------------------

TChartAxisPen::TChartAxisPen(TNotifyEvent OnChange) {
  // Defaults first, then the owner's callback: an owner under construction
  // is not called back.
  InitWidth(2);
  InitEndStyle(esFlat);
  this->OnChange = std::move(OnChange);
}

void TChartAxisPen::Assign(const TPersistent* Source) {
  TKelPen::Assign(Source);
  if (const auto* src = dynamic_cast<const TChartAxisPen*>(Source)) FLineMode = src->FLineMode;
}

void TChartAxisPen::SetLineMode(TPenLineMode Value) {
  if (FLineMode == Value) return;
  FLineMode = Value;
  Changed();
}

TAxisGridPen::TAxisGridPen(TNotifyEvent OnChange) {
  InitColor(claSilver);
  this->OnChange = std::move(OnChange);
}

void TAxisGridPen::Assign(const TPersistent* Source) {
  TKelPen::Assign(Source);
  if (const auto* src = dynamic_cast<const TAxisGridPen*>(Source)) {
    FCentered = src->FCentered;
    FDrawAlways = src->FDrawAlways;
    FDrawEvery = src->FDrawEvery;
    FZ = src->FZ;
  }
}

void TAxisGridPen::SetCentered(bool Value) {
  if (FCentered == Value) return;
  FCentered = Value;
  Changed();
}

void TAxisGridPen::SetDrawAlways(bool Value) {
  if (FDrawAlways == Value) return;
  FDrawAlways = Value;
  Changed();
}

void TAxisGridPen::SetDrawEvery(int Value) {
  if (FDrawEvery == Value) return;
  FDrawEvery = Value;
  Changed();
}

void TAxisGridPen::SetZ(double Value) {
  if (FZ == Value) return;
  FZ = Value;
  Changed();
}

void TAxisGridPen::InitZ(double Value) {
  FZ = Value;
  IDefaultZ = Value;
}

// ---- [Shapes] ------------------------------------------------------------------

TAxisLabelsFormat::TAxisLabelsFormat(IShapePanel* Parent) : TTextShape(Parent) {
  InitTextAlignment(taCenter);
  InitTransparent(true);
}

std::unique_ptr<TKelCustomShape> TAxisLabelsFormat::Create(IShapePanel* Parent) const {
  return std::make_unique<TAxisLabelsFormat>(Parent);
}

TChartAxisTitle::TChartAxisTitle(IShapePanel* Parent, int DefaultAngle)
    : TTextShape(Parent), IDefaultAngle(DefaultAngle) {
  InitTextAlignment(taCenter);
  InitTransparent(true);
  FAngle = DefaultAngle;
}

std::unique_ptr<TKelCustomShape> TChartAxisTitle::Create(IShapePanel* Parent) const {
  return std::make_unique<TChartAxisTitle>(Parent, IDefaultAngle);
}

void TChartAxisTitle::Assign(const TPersistent* Source) {
  TTextShape::Assign(Source);
  if (const auto* src = dynamic_cast<const TChartAxisTitle*>(Source)) FPosition = src->FPosition;
}

// ---- [Items] -------------------------------------------------------------------

TAxisItem::~TAxisItem() = default;

void TAxisItem::SetText(const std::string& Value) {
  if (FText == Value) return;
  FText = Value;
  IAxisItems->Changed();
}

void TAxisItem::SetValue(double Value) {
  if (FValue == Value) return;
  FValue = Value;
  IAxisItems->Changed();
}

TAxisLabelsFormat* TAxisItem::Format() {
  if (!FFormat) {
    FFormat = std::make_unique<TAxisLabelsFormat>(IAxisItems->Panel());
    FFormat->Assign(IAxisItems->Format());
  }
  return FFormat.get();
}

TAxisLabelsFormat* TAxisItem::DrawFormat() {
  return FFormat ? FFormat.get() : IAxisItems->Format();
}

TAxisItems::TAxisItems(TChartAxis* Axis, IShapePanel* Panel)
    : IAxis(Axis), IPanel(Panel), FFormat(std::make_unique<TAxisLabelsFormat>(Panel)) {}

TAxisItems::~TAxisItems() = default;

void TAxisItems::Assign(const TPersistent* Source) {
  const auto* src = dynamic_cast<const TAxisItems*>(Source);
  if (!src) AssignError(Source);
  if (src == this) return;
  FAuto = src->FAuto;
  FFormat->Assign(src->FFormat.get());
  FItems.clear();
  for (const auto& item : src->FItems) {
    TAxisItem* copy = Add(item->Value(), item->Text());
    if (item->HasFormat()) copy->Format()->Assign(item->FFormat.get());
  }
  Changed();
}

void TAxisItems::Changed() {
  if (IPanel) IPanel->Invalidate();
}

void TAxisItems::SetAutomatic(bool Value) {
  if (FAuto == Value) return;
  FAuto = Value;
  Changed();
}

TTextSelection* TAxisItems::Selected() {
  if (!FSelected) FSelected = std::make_unique<TTextSelection>(IPanel, FFormat.get());
  return FSelected.get();
}

TAxisItem* TAxisItems::Items(int Index) const {
  if (Index < 0 || Index >= Count())
    KelRaiseIndex("Axis item", Index, Count() - 1);
  return FItems[static_cast<std::size_t>(Index)].get();
}

TAxisItem* TAxisItems::Add(double Value, const std::string& Text) {
  auto item = std::make_unique<TAxisItem>(this);
  // Set directly: adding is one change, reported once below.
  item->FValue = Value;
  item->FText = Text;
  FItems.push_back(std::move(item));
  Changed();
  return FItems.back().get();
}

void TAxisItems::Delete(int Index) {
  Items(Index);  // range check
  FItems.erase(FItems.begin() + Index);
  Changed();
}

void TAxisItems::InitCalcRect() {
  if (IPanel) IPanel->PrepareFont3D(FFormat->Font());
}

int TAxisItems::Clicked(int X, int Y) const {
  const TPointF p{static_cast<float>(X), static_cast<float>(Y)};
  for (int i = 0; i < Count(); ++i)
    if (PointInPolygon(p, FItems[static_cast<std::size_t>(i)]->RotatedBounds)) return i;
  return -1;
}

void TAxisItems::Clear() {
  if (FItems.empty()) return;
  FItems.clear();
  Changed();
}

// ---- [Labels] ------------------------------------------------------------------

TAxisLabels::TAxisLabels(TChartAxis* Axis, TNotifyEvent OnChange)
    : FOnChange(std::move(OnChange)), FAxis(Axis), FAutomatic(std::make_unique<TAutomaticText>(FOnChange)) {
  FAutomatic->InitTrim(false);  // axis labels are not trimmed unless asked
}

TAxisLabels::~TAxisLabels() = default;

void TAxisLabels::Assign(const TPersistent* Source) {
  const auto* src = dynamic_cast<const TAxisLabels*>(Source);
  if (!src) AssignError(Source);
  if (src == this) return;
  FAlign = src->FAlign;
  FAlternate = src->FAlternate;
  FAngle = src->FAngle;
  FAutomatic->Assign(src->FAutomatic.get());
  FBehind = src->FBehind;
  FGridIgnoresSize = src->FGridIgnoresSize;
  FMargin = src->FMargin;
  FOnAxis = src->FOnAxis;
  FSeparation = src->FSeparation;
  FSize = src->FSize;
  FStyle = src->FStyle;
  FExponent = src->FExponent;
  FMultiLine = src->FMultiLine;
  FRoundFirst = src->FRoundFirst;
  FPosition = src->FPosition;
  FUseImages = src->FUseImages;
  if (Format() && src->Format()) Format()->Assign(src->Format());
  CallEvent(FOnChange, this);
}

TAxisLabelsFormat* TAxisLabels::Format() const { return FAxis->Items()->Format(); }

TKelFont* TAxisLabels::Font() const { return Format()->Font(); }

void TAxisLabels::SetFont(const TKelFont* Value) { Format()->SetFont(Value); }

bool TAxisLabels::Visible() const { return Format()->Visible(); }

void TAxisLabels::SetVisible(bool Value) { Format()->SetVisible(Value); }

TTextSelection* TAxisLabels::Selected() { return FAxis->Items()->Selected(); }

}  // namespace sextant

// The marks model: settings, per-point items and positions, mark texts and
// the hit test.
//
// Contents
//   [Settings]      TAutomaticText, TSeriesMarksSymbol, TMarksTail
//   [Items]         TMarksItem, TMarksItems
//   [Shape]         TSeriesMarkShape
//   [Marks]         TSeriesMarks: construction, properties, positions,
//                   Clear / Delete, Clicked, TextWidth
//   [Series texts]  TChartSeries: Marks, GetMarkText, the mark styles,
//                   MarkPercent
#include "marks/series_marks.h"

#include <algorithm>
#include <cmath>

#include "axes/chart_axis.h"
#include "axes/value_format.h"
#include "canvas/brush.h"
#include "canvas/canvas3d.h"
#include "canvas/gradient.h"
#include "canvas/kel_exceptions.h"
#include "canvas/shadow.h"
#include "panel/axis_panel.h"
#include "series/chart_series.h"

namespace sextant {

namespace {

IShapePanel* ChartOf(const TChartSeries* Series) {
  if (!Series || !Series->ParentChart()) return nullptr;
  return Series->ParentChart();
}

// Pattern with "%s" place holders filled in order with A and B (the user's
// texts are never read as a format).
std::string FillPattern(const char* Pattern, const std::string& A, const std::string& B) {
  std::string result;
  const std::string* args[] = {&A, &B};
  int next = 0;
  for (const char* p = Pattern; *p; ++p) {
    if (p[0] == '%' && p[1] == 's' && next < 2) {
      result += *args[next++];
      ++p;
    } else {
      result.push_back(*p);
    }
  }
  return result;
}

}  // namespace

// ---- [Settings] ------------------------------------------------------------------

TSeriesMarksSymbol::TSeriesMarksSymbol(IShapePanel* Parent) : TKelCustomShape(Parent) {
  InitVisible(false);
  InitShadow(Shadow());
}

std::unique_ptr<TKelCustomShape> TSeriesMarksSymbol::Create(IShapePanel* Parent) const {
  return std::make_unique<TSeriesMarksSymbol>(Parent);
}

void TSeriesMarksSymbol::InitShadow(TKelShadow* AShadow) {
  if (AShadow) AShadow->InitValues(AShadow->Visible(), claBlack, 1);
}

void TSeriesMarksSymbol::InitEmboss(TKelEmboss* AEmboss) {
  if (AEmboss) AEmboss->InitValues(AEmboss->Visible(), claBlack, 1);
}

void TMarksTail::Assign(const TPersistent* Source) {
  const auto* src = dynamic_cast<const TMarksTail*>(Source);
  if (!src) AssignError(Source);
  if (src == this) return;
  FAutoAlign = src->FAutoAlign;
  FCustomPoint = src->FCustomPoint;
  FCustomPointPos = src->FCustomPointPos;
  FHeight = src->FHeight;
  FAlign = src->FAlign;
  FMargin = src->FMargin;
  FVisible = src->FVisible;
  FWidth = src->FWidth;
  FEdge = src->FEdge;
  CallEvent(OnChange, this);
}

std::array<TPointF, 7> TMarksTail::OutlinePoints(const TRectF& Box) const {
  const TRectF b = OrientRectangle(Box);
  const float L = b.Left, T = b.Top, R = b.Right, B = b.Bottom;
  const float half = FWidth * 0.5f;
  const bool horizontalEdge = FEdge == tteTop || FEdge == tteBottom;
  // Centre of the tail's base along its edge.
  const float start = horizontalEdge ? L : T;
  const float end = horizontalEdge ? R : B;
  float c;
  switch (FAlign) {
    case ttaLeft: c = start + FMargin + half; break;
    case ttaRight: c = end - FMargin - half; break;
    default: c = (start + end) * 0.5f; break;
  }
  auto tip = [&](TPointF Natural) { return FCustomPoint ? FCustomPointPos : Natural; };
  switch (FEdge) {
    case tteTop:
      return {TPointF{L, T}, TPointF{c - half, T}, tip({c, T - FHeight}), TPointF{c + half, T},
              TPointF{R, T}, TPointF{R, B},        TPointF{L, B}};
    case tteRight:
      return {TPointF{L, T},        TPointF{R, T}, TPointF{R, c - half}, tip({R + FHeight, c}),
              TPointF{R, c + half}, TPointF{R, B}, TPointF{L, B}};
    case tteLeft:
      return {TPointF{L, T},        TPointF{R, T},         TPointF{R, B},       TPointF{L, B},
              TPointF{L, c + half}, tip({L - FHeight, c}), TPointF{L, c - half}};
    default:
      return {TPointF{L, T},         TPointF{R, T},        TPointF{R, B}, TPointF{c + half, B},
              tip({c, B + FHeight}), TPointF{c - half, B}, TPointF{L, B}};
  }
}

// ---- [Items] ---------------------------------------------------------------------

TMarksItem::~TMarksItem() = default;

std::unique_ptr<TKelCustomShape> TMarksItem::Create(IShapePanel* Parent) const {
  return std::make_unique<TMarksItem>(Parent);
}

void TMarksItem::Assign(const TPersistent* Source) {
  TCustomTextShape::Assign(Source);
  if (const auto* item = dynamic_cast<const TMarksItem*>(Source)) {
    if (item == this) return;
    if (item->FLines) {
      Lines()->Assign(item->FLines.get());
    } else {
      FLines.reset();
    }
    ICustomText = item->ICustomText;
  } else if (dynamic_cast<const TCustomTextShape*>(Source)) {
    // The marks' text is the text of the mark being drawn, not a setting.
    SetText("");
  }
}

TKelStringList* TMarksItem::Lines() {
  if (!FLines)
    FLines =
        std::make_unique<TKelStringList>([this](TPersistent* Sender) { LinesChanged(Sender); });
  return FLines.get();
}

void TMarksItem::SetLines(const TKelStringList* Value) {
  if (!Value || Value->Count() == 0) {
    SetCustomText("");
    return;
  }
  Lines()->Assign(Value);
}

std::string TMarksItem::CustomText() const {
  if (!FLines) return {};
  std::string text = FLines->Text();
  if (text.size() >= 2 && text.compare(text.size() - 2, 2, "\r\n") == 0)
    text.resize(text.size() - 2);
  return text;
}

void TMarksItem::SetCustomText(const std::string& Value) {
  if (Value.empty()) {
    FLines.reset();
    ICustomText = false;
    SetText("");
    Repaint();
    return;
  }
  Lines()->SetText(Value);
}

// The list reports every change; the list itself stays alive here (it is
// the caller of this callback).
void TMarksItem::LinesChanged(TPersistent*) {
  ICustomText = true;
  Repaint();
}

TMarksItem* TMarksItems::Item(int Index) {
  if (Index < 0)
    throw ChartException("Marks item index " + std::to_string(Index) + " is negative.");
  const auto index = static_cast<std::size_t>(Index);
  if (FItems.size() <= index) FItems.resize(index + 1);
  auto& item = FItems[index];
  if (!item) {
    item = std::make_unique<TMarksItem>(FMarks ? FMarks->Parent() : nullptr);
    if (FMarks) item->Assign(FMarks);
  }
  return item.get();
}

TMarksItem* TMarksItems::Existing(int Index) const {
  if (Index < 0 || Index >= Count()) return nullptr;
  return FItems[static_cast<std::size_t>(Index)].get();
}

void TMarksItems::DeleteMany(int Index, int Count) {
  if (Index < 0 || Index >= this->Count() || Count <= 0) return;
  const int last = std::min(this->Count(), Index + Count);
  FItems.erase(FItems.begin() + Index, FItems.begin() + last);
}

void TMarksItems::SetParent(IShapePanel* Value) {
  for (auto& item : FItems)
    if (item) item->SetParent(Value);
}

// ---- [Shape] ---------------------------------------------------------------------

void TSeriesMarkShape::Assign(const TPersistent* Source) {
  TCustomTextShape::Assign(Source);
  if (const auto* src = dynamic_cast<const TSeriesMarkShape*>(Source))
    FMarkerStyle = src->FMarkerStyle;
}

std::unique_ptr<TKelCustomShape> TSeriesMarkShape::Create(IShapePanel* Parent) const {
  return std::make_unique<TSeriesMarkShape>(Parent, FMarks);
}

void TSeriesMarkShape::SetStyle(TSeriesMarksStyle Value) {
  if (FMarkerStyle == Value) return;
  FMarkerStyle = Value;
  if (FParent) {
    FParent->Invalidate();
  } else if (FMarks && FMarks->ParentSeries()) {
    FMarks->ParentSeries()->Repaint();
  }
}

// ---- [Marks] ---------------------------------------------------------------------

TSeriesMarks::TSeriesMarks(TChartSeries* Series)
    : TSeriesMarkShape(ChartOf(Series), this),
      FAutomatic(std::make_unique<TAutomaticText>([this](TPersistent*) { Repaint(); })),
      FItems(std::make_unique<TMarksItems>(this)),
      FPositions(std::make_unique<TSeriesMarksPositions>(this)),
      FParentSeries(Series) {
  // Defaults on the inherited text box; nothing is notified.
  FMarkerStyle = smsLabelOrValue;
  InitTextAlignment(taCenter);
  Margins()->InitHoriz(20);
  FRoundSize = 4;
  FShapeStyle = fosRoundRectangle;
  FColor = 0xFFFFFFE1;
  InitVisible(false);
  InitGradient(FBrush->Gradient());
  InitShadow(Shadow());
}

TSeriesMarks::~TSeriesMarks() = default;

void TSeriesMarks::InitGradient(TCustomKelGradient* Gradient) {
  if (!Gradient) return;
  Gradient->InitDirection(gdRightLeft);
  Gradient->InitColors(0xFFC0C0C0, 0, 0xFFFFFFFF);
}

void TSeriesMarks::InitShadow(TKelShadow* AShadow) {
  if (AShadow) AShadow->InitValues(true, 0xFF808080, 3);
}

void TSeriesMarks::InitEmboss(TKelEmboss* AEmboss) {
  if (AEmboss) AEmboss->InitValues(AEmboss->Visible(), 0xFF808080, 3);
}

std::unique_ptr<TKelCustomShape> TSeriesMarks::Create(IShapePanel* Parent) const {
  auto marks = std::make_unique<TSeriesMarks>(FParentSeries);
  marks->SetParent(Parent);
  return marks;
}

TKelShapeClass TSeriesMarks::GetChildClass() const {
  return [](IShapePanel* Parent) -> std::unique_ptr<TKelCustomShape> {
    return std::make_unique<TSeriesMarkShape>(Parent, nullptr);
  };
}

void TSeriesMarks::Assign(const TPersistent* Source) {
  TSeriesMarkShape::Assign(Source);
  const auto* src = dynamic_cast<const TSeriesMarks*>(Source);
  if (!src || src == this) return;
  FMarksAngle = src->FMarksAngle;
  FAutomatic->Assign(src->FAutomatic.get());
  if (src->FCallout) {
    Callout()->Assign(src->FCallout.get());
  } else {
    FCallout.reset();
  }
  FClip = src->FClip;
  FDrawEvery = src->FDrawEvery;
  FFontSeriesColor = src->FFontSeriesColor;
  FMultiLine = src->FMultiLine;
  FOnTop = src->FOnTop;
  FUseImages = src->FUseImages;
  FUseSeriesTransparency = src->FUseSeriesTransparency;
  FSoftClip = src->FSoftClip;
  if (src->FSymbol) {
    Symbol()->Assign(src->FSymbol.get());
  } else {
    FSymbol.reset();
  }
  if (src->FTail) {
    Tail()->Assign(src->FTail.get());
  } else {
    FTail.reset();
  }
  FZPosition = src->FZPosition;
  Repaint();
}

void TSeriesMarks::SetParent(IShapePanel* Value) {
  TSeriesMarkShape::SetParent(Value);
  if (FCallout) FCallout->SetParent(Value);
  if (FSymbol) FSymbol->SetParent(Value);
  FItems->SetParent(Value);
}

void TSeriesMarks::SetAutomatic(const TAutomaticText* Value) {
  if (Value) FAutomatic->Assign(Value);
}

TMarksCallout* TSeriesMarks::Callout() {
  if (!FCallout) FCallout = std::make_unique<TMarksCallout>(FParentSeries);
  return FCallout.get();
}

void TSeriesMarks::SetCallout(const TMarksCallout* Value) {
  if (Value) Callout()->Assign(Value);
}

TSeriesMarksSymbol* TSeriesMarks::Symbol() {
  if (!FSymbol) FSymbol = std::make_unique<TSeriesMarksSymbol>(FParent);
  return FSymbol.get();
}

void TSeriesMarks::SetSymbol(const TSeriesMarksSymbol* Value) {
  if (Value) Symbol()->Assign(Value);
}

TMarksTail* TSeriesMarks::Tail() {
  if (!FTail)
    FTail = std::make_unique<TMarksTail>(FParentSeries, [this](TPersistent*) { Repaint(); });
  return FTail.get();
}

void TSeriesMarks::SetTail(const TMarksTail* Value) {
  if (Value) Tail()->Assign(Value);
}

TCustomTextShape* TSeriesMarks::MarkItem(int Index) const {
  if (TMarksItem* item = FItems->Existing(Index)) return item;
  return const_cast<TSeriesMarks*>(this);
}

void TSeriesMarks::UsePosition(int Index, TSeriesMarkPosition& Position) {
  if (Index < 0) return;
  TSeriesMarkPosition& stored = FPositions->Ensure(Index);
  if (!stored.Custom) {
    stored.Assign(&Position);
    return;
  }
  // A custom position fixes the box and the callout ends; with ArrowFix the
  // callout still starts at the point's fresh position.
  const bool fix = stored.ArrowFix || Position.ArrowFix;
  const TPointF freshFrom = Position.ArrowFrom;
  Position.Assign(&stored);
  if (fix) Position.ArrowFrom = freshFrom;
  Position.Custom = false;
}

void TSeriesMarks::ResetPositions() {
  for (int i = 0; i < FPositions->Count(); ++i) FPositions->Automatic(i);
  if (FParentSeries) FParentSeries->Repaint();
}

void TSeriesMarks::Clear() {
  FPositions->Clear();
  if (!FItems->ILoadingItems) FItems->Clear();
}

void TSeriesMarks::Delete(int Index) { DeleteMany(Index, 1); }

void TSeriesMarks::DeleteMany(int Index, int Count) {
  FPositions->DeleteMany(Index, Count);
  FItems->DeleteMany(Index, Count);
}

int TSeriesMarks::Clicked(int X, int Y) {
  const int every = CalcEvery();
  const TPointF p{static_cast<float>(X), static_cast<float>(Y)};
  const std::vector<int>& filled = FPositions->Filled();
  for (auto it = filled.rbegin(); it != filled.rend(); ++it) {
    const int i = *it;
    if (i % every != 0) continue;
    const TSeriesMarkPosition* pos = FPositions->Position(i);
    const TMarksItem* item = FItems->Existing(i);
    if (item && !item->Visible()) continue;
    const TPointF lt = ConvertTo2D(*pos, pos->LeftTop);
    const TRectF box{lt.X, lt.Y, lt.X + static_cast<float>(pos->Width),
                     lt.Y + static_cast<float>(pos->Height)};
    if (MarkItem(i)->ClickedShape(p, box)) {
      if (FParentSeries) FParentSeries->IClickedPart = scpMark;
      return i;
    }
  }
  return -1;
}

int TSeriesMarks::TextWidth(int ValueIndex) {
  TCustomAxisPanel* chart = FParentSeries ? FParentSeries->ParentChart() : nullptr;
  if (!chart || !chart->Canvas()) return 0;
  chart->TryAssignFont(MarkItem(ValueIndex)->Font());
  int lines = 0;
  return chart->MultiLineTextWidth(FParentSeries->GetMarkText(ValueIndex), lines);
}

// ---- [Series texts] --------------------------------------------------------------

TSeriesMarks* TChartSeries::Marks() {
  if (!FMarks) FMarks = std::make_unique<TSeriesMarks>(this);
  return FMarks.get();
}

void TChartSeries::SetMarks(const TSeriesMarks* Value) {
  if (Value) Marks()->Assign(Value);
}

double TChartSeries::GetMarkValue(int ValueIndex) const {
  return FMandatoryValueList->Value(ValueIndex);
}

std::string TChartSeries::GetMarkLabel(int ValueIndex) const { return XLabel(ValueIndex); }

std::string TChartSeries::MarkPercent(int ValueIndex, bool AddTotal) const {
  const double total = FMandatoryValueList->TotalABS();
  const double percent = total == 0 ? 100.0 : std::fabs(GetMarkValue(ValueIndex)) * 100.0 / total;
  std::string text = FormatFloat(FPercentFormat, percent);
  if (!AddTotal) return text;
  const bool multiLine = FMarks && FMarks->MultiLine();
  return FillPattern(multiLine ? KelMsg_DefaultPercentOf2 : KelMsg_DefaultPercentOf, text,
                     FormatFloat(FValueFormat, total));
}

std::string TChartSeries::GetMarkTextStyle(bool MultiLine, int ValueIndex,
                                           TSeriesMarksStyle Style) const {
  const std::string separator = MultiLine ? std::string(1, KelLineSeparator) : std::string(" ");
  auto value = [&] { return FormatFloat(FValueFormat, GetMarkValue(ValueIndex)); };
  auto labelOrValue = [&] {
    std::string label = GetMarkLabel(ValueIndex);
    return label.empty() ? value() : label;
  };
  // The positional value reads like a label of the series' horizontal axis
  // (its format, OnGetAxisLabel, multi-line labels), so a mark and the axis
  // under it agree; a series without a chart has only its own format.
  auto xValue = [&] {
    const double x = FNotMandatoryValueList->Value(ValueIndex);
    if (FGetHorizAxis) return FGetHorizAxis->LabelValue(x);
    return FormatFloat(FValueFormat, x);
  };

  switch (Style) {
    case smsValue: return value();
    case smsPercent: return MarkPercent(ValueIndex, false);
    case smsLabel: return GetMarkLabel(ValueIndex);
    case smsLabelPercent: return labelOrValue() + separator + MarkPercent(ValueIndex, false);
    case smsLabelValue: {
      const std::string label = GetMarkLabel(ValueIndex);
      return label.empty() ? value() : label + separator + value();
    }
    case smsLegend: {
      // The legend's text of the point in its default value-then-label
      // columns.
      std::string text = value();
      const std::string label = GetMarkLabel(ValueIndex);
      if (!label.empty()) text += KelColumnSeparator + label;
      if (!MultiLine)
        for (char& c : text)
          if (c == KelColumnSeparator) c = ' ';
      return text;
    }
    case smsPercentTotal: return MarkPercent(ValueIndex, true);
    case smsLabelPercentTotal: return labelOrValue() + separator + MarkPercent(ValueIndex, true);
    case smsXValue: return xValue();
    case smsXY: return xValue() + separator + value();
    case smsSeriesTitle: return FTitle.empty() ? Name() : FTitle;
    case smsPointIndex: return std::to_string(ValueIndex);
    case smsPercentRelative: {
      double percent = 100;
      if (ValueIndex != 0) {
        const double first = GetMarkValue(0);
        percent = first == 0 ? 0 : GetMarkValue(ValueIndex) * 100.0 / first;
      }
      return FormatFloat(FPercentFormat, percent);
    }
    case smsLabelPercentValue:
      return labelOrValue() + separator + MarkPercent(ValueIndex, false) + separator + value();
    case smsLabelOrValue: return labelOrValue();
  }
  return {};
}

std::string TChartSeries::GetMarkText(int ValueIndex) {
  std::string text;
  const TMarksItem* item = FMarks ? FMarks->Items()->Existing(ValueIndex) : nullptr;
  if (item && item->ICustomText) {
    text = item->CustomText();
  } else {
    text = GetMarkTextStyle(FMarks && FMarks->MultiLine(), ValueIndex,
                            FMarks ? FMarks->Style() : smsLabelOrValue);
  }
  if (OnGetMarkText) {
    // The handler may destroy the series or take it out of its chart.
    TElementWatch watch(this);
    OnGetMarkText(this, ValueIndex, text);
    ElementGone(watch);
  }
  return text;
}

}  // namespace sextant

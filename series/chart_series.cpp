// Series data: adding, ordered insertion, deleting and clearing points,
// per-point colours and labels, null points, update blocks, sample values,
// the visible index range and the forwards to the series' axes.
//
// Contents
//   [TCustomChartSeries]  title, active flag, chart membership
//   [Values]              reads, adding, deleting, clearing
//   [Colours]             series colour, point colours, null points
//   [Notification]        update blocks, NotifyValue, order
//   [Samples]             FillSampleValues and the random walk
//   [Axes]                axis resolution and value <-> pixel forwards
//   [Visible range]       CalcFirstLastVisibleIndex
//   [Drawing]             the generic drawing loop and the paint hooks
#include "series/chart_series.h"

#include <algorithm>
#include <chrono>
#include <climits>
#include <cmath>
#include <cstdio>
#include <ctime>
#include <utility>

#include "axes/chart_axis.h"
#include "axes/value_format.h"
#include "canvas/brush.h"
#include "canvas/canvas3d.h"
#include "marks/series_marks.h"
#include "series/finite_point.h"
#include "panel/axis_panel.h"
#include "series/kel_random.h"

namespace sextant {

namespace {

std::string FormatMessage(const char* Format, int A, int B) {
  char buf[160];
  std::snprintf(buf, sizeof buf, Format, A, B);
  return buf;
}

// Today's date in the host's local time as a date-time value: whole days
// since 30 December 1899.
double KelToday() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  using namespace std::chrono;
  const year_month_day ymd{year{local.tm_year + 1900}, month{static_cast<unsigned>(local.tm_mon + 1)},
                           day{static_cast<unsigned>(local.tm_mday)}};
  // 25569 days lie between 30 December 1899 and 1 January 1970.
  return static_cast<double>(sys_days{ymd}.time_since_epoch().count()) + 25569.0;
}

}  // namespace

// ---- [TCustomChartSeries] ------------------------------------------------

TCustomChartSeries::TCustomChartSeries(TComponent* AOwner) : TCustomChartElement(AOwner) {}

TCustomChartSeries::~TCustomChartSeries() = default;

void TCustomChartSeries::SetTitle(const std::string& Value) {
  SetStringProperty(FTitle, Value);
  if (FParent)
    if (auto* series = dynamic_cast<TChartSeries*>(this))
      FParent->BroadcastSeriesEvent(series, seChangeTitle);
}

int TCustomChartSeries::SeriesIndex() const {
  if (!FParent) return -1;
  return FParent->SeriesList().IndexOf(dynamic_cast<const TChartSeries*>(this));
}

void TCustomChartSeries::SetActive(bool Value) {
  if (FActive == Value) return;
  FActive = Value;
  Repaint();
  if (FParent)
    if (auto* series = dynamic_cast<TChartSeries*>(this))
      FParent->BroadcastSeriesEvent(series, seChangeActive);
}

void TCustomChartSeries::CalcHorizMargins(int& LeftMargin, int& RightMargin) {
  LeftMargin = 0;
  RightMargin = 0;
}

void TCustomChartSeries::CalcVerticalMargins(int& TopMargin, int& BottomMargin) {
  TopMargin = 0;
  BottomMargin = 0;
}

// The series has no legend shape of its own yet, so there is nothing to
// hand the chart to.
void TCustomChartSeries::Added() {}

// The chart has already taken the series out of its list; only the
// reference is forgotten (going through SetParentChart would ask the chart
// to remove it again).
void TCustomChartSeries::Removed() { FParent = nullptr; }

// ---- [Values] --------------------------------------------------------------

TChartSeries::TChartSeries(TComponent* AOwner) : TCustomChartSeries(AOwner) {
  FLabels = std::make_unique<TLabelsList>([this] { Repaint(); });
  FX = TChartValueList::Create(this, "X");
  FX->SetOrder(loAscending);
  FY = TChartValueList::Create(this, "Y");
  FMandatoryValueList = FY;
  FNotMandatoryValueList = FX;
}

TChartSeries::~TChartSeries() {
  // Leave the chart while this level's overrides still run, so that the
  // chart's list never holds a destroyed series.
  if (FParent) SetParentChart(nullptr);
}

int TChartSeries::Count() const { return FX->Count(); }

double TChartSeries::XValue(int Index) const { return FX->Value(Index); }

double TChartSeries::YValue(int Index) const { return FY->Value(Index); }

int TChartSeries::AddXY(double AXValue, double AYValue, const std::string& ALabel, TColor AColor) {
  FX->SetTempValue(AXValue);
  FY->SetTempValue(AYValue);
  if (OnBeforeAdd && !OnBeforeAdd(this)) return -1;

  // The loading loop's case: only X and Y, both of the base list class, and
  // no colour or label among the points. The same steps as below, without
  // virtual dispatch or the colour and label bookkeeping.
  if (FYMandatory && FValuesList.PlainXY() && !FColors && AColor == clKelColor && ALabel.empty() &&
      FLabels->Count() == 0) {
    const int Index = FX->AddOrderedValue(AXValue);
    FY->InsertValueUnchecked(Index, AYValue);
    FLabels->IAnyEmpty = true;
    if (IUpdating == 0) NotifyNewValue(this, Index);
    return Index;
  }
  return AddStagedValues(ALabel, AColor);
}

// Adds the point whose values are staged in every list's TempValue.
int TChartSeries::AddStagedValues(const std::string& ALabel, TColor AColor) {
  // The positional list decides the index (it keeps its order); every other
  // list inserts its staged value at that index.
  int Index;
  if (FYMandatory) {
    Index = FX->AddChartValue();
    FY->InsertChartValue(Index, FY->TempValue());
  } else {
    Index = FY->AddChartValue();
    FX->InsertChartValue(Index, FX->TempValue());
  }
  for (int i = 2; i < FValuesList.Count(); ++i) {
    TChartValueList* list = FValuesList.Get(i);
    list->InsertChartValue(Index, list->TempValue());
  }

  // Colours cost nothing until some point has one of its own.
  if (FColors) {
    auto& colors = *FColors;
    if (static_cast<int>(colors.size()) >= Index)
      colors.insert(colors.begin() + Index, AColor);
    else if (AColor != clKelColor) {
      colors.resize(static_cast<std::size_t>(Index), clKelColor);
      colors.push_back(AColor);
    }
  } else if (AColor != clKelColor) {
    FColors = std::make_unique<std::vector<TColor>>(static_cast<std::size_t>(Count() - 1), clKelColor);
    FColors->insert(FColors->begin() + Index, AColor);
  }

  if (!ALabel.empty() || FLabels->Count() > 0)
    FLabels->InsertLabel(Index, ALabel);
  else
    FLabels->IAnyEmpty = true;

  if (IUpdating == 0) NotifyNewValue(this, Index);
  return Index;
}

int TChartSeries::Add(double AValue, const std::string& ALabel, TColor AColor) {
  if (FYMandatory) return AddXY(FX->Count(), AValue, ALabel, AColor);
  return AddXY(AValue, FY->Count(), ALabel, AColor);
}

int TChartSeries::AddX(double AXValue, const std::string& ALabel, TColor AColor) {
  return AddXY(AXValue, FX->Count(), ALabel, AColor);
}

int TChartSeries::AddY(double AYValue, const std::string& ALabel, TColor AColor) {
  return AddXY(FX->Count(), AYValue, ALabel, AColor);
}

int TChartSeries::AddNull(double Value) { return Add(Value, "", clNone); }

int TChartSeries::AddNullLabel(const std::string& ALabel) {
  return Add(FDefaultNull, ALabel, clNone);
}

int TChartSeries::AddNullXY(double X, double Y, const std::string& ALabel) {
  return AddXY(X, Y, ALabel, clNone);
}

// Copying is AddXY's loading case (only X and Y, both plain lists, no
// OnBeforeAdd, no labels) for points with the default colour.
bool TChartSeries::CanCopyPoints() const {
  return FYMandatory && FValuesList.PlainXY() && !OnBeforeAdd && FLabels->Count() == 0;
}

// What AddXY does besides the values: a colour list that reaches the end
// takes the default colour for each new point; no label is stored.
void TChartSeries::AfterCopiedPoints(int OldCount) {
  if (FColors && static_cast<int>(FColors->size()) >= OldCount)
    FColors->resize(static_cast<std::size_t>(Count()), clKelColor);
  FLabels->IAnyEmpty = true;
}

void TChartSeries::AddArrays(std::span<const double> X, std::span<const double> Y) {
  if (X.size() != Y.size())
    throw ChartException(FormatMessage("Series AddArrays: %d X values and %d Y values.",
                                       static_cast<int>(X.size()), static_cast<int>(Y.size())));
  if (X.size() > static_cast<std::size_t>(INT32_MAX - Count()))
    throw ChartException(FormatMessage("Series AddArrays: %d more points do not fit (%d held).",
                                       static_cast<int>(std::min<std::size_t>(X.size(), INT32_MAX)), Count()));
  const int n = static_cast<int>(X.size());
  BeginUpdate();
  try {
    int copied = 0;
    if (CanCopyPoints() && n > 0) {
      const int old = Count();
      copied = FX->AppendValues(X.data(), n, true);
      FY->AppendValues(Y.data(), copied, false);
      if (copied > 0) AfterCopiedPoints(old);
    }
    for (int i = copied; i < n; ++i) AddXY(X[static_cast<std::size_t>(i)], Y[static_cast<std::size_t>(i)]);
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

void TChartSeries::AddArrays(std::span<const double> Y) {
  if (Y.size() > static_cast<std::size_t>(INT32_MAX - Count()))
    throw ChartException(FormatMessage("Series AddArrays: %d more points do not fit (%d held).",
                                       static_cast<int>(std::min<std::size_t>(Y.size(), INT32_MAX)), Count()));
  const int n = static_cast<int>(Y.size());
  BeginUpdate();
  try {
    int copied = 0;
    // X = Count, Count + 1, ... is ascending; it is appended whole when the
    // X list keeps no order or its last value does not exceed Count.
    const int old = Count();
    const bool inOrder = FX->Order() == loNone ||
                         (FX->Order() == loAscending && (old == 0 || !(FX->Data()[old - 1] > old)));
    if (CanCopyPoints() && inOrder && n > 0) {
      FX->Reserve(static_cast<std::size_t>(old) + static_cast<std::size_t>(n));
      constexpr int kChunk = 4096;
      double xs[kChunk];
      for (int start = 0; start < n; start += kChunk) {
        const int m = std::min(kChunk, n - start);
        for (int j = 0; j < m; ++j) xs[j] = static_cast<double>(old + start + j);
        FX->AppendValues(xs, m, false);
      }
      FY->AppendValues(Y.data(), n, false);
      AfterCopiedPoints(old);
      copied = n;
    }
    for (int i = copied; i < n; ++i) AddY(Y[static_cast<std::size_t>(i)]);
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
}

void TChartSeries::ReservePoints(int Quantity) {
  if (Quantity < 0)
    throw ChartException(FormatMessage("Series ReservePoints: %d is not a number of points.", Quantity, 0));
  const std::size_t length = static_cast<std::size_t>(Count()) + static_cast<std::size_t>(Quantity);
  for (const auto& list : FValuesList) list->Reserve(length);
}

void TChartSeries::Delete(int ValueIndex) {
  if (ValueIndex < 0 || ValueIndex >= Count())
    throw ChartException(FormatMessage(KelMsg_SeriesDelete, ValueIndex, Count() - 1));
  for (const auto& list : FValuesList) list->Delete(ValueIndex);
  if (FColors && static_cast<int>(FColors->size()) > ValueIndex)
    FColors->erase(FColors->begin() + ValueIndex);
  FLabels->DeleteLabel(ValueIndex);
  MarksDeleted(ValueIndex, 1);
  NotifyValue(veDelete, ValueIndex);
  if (FActive) Repaint();
}

void TChartSeries::Delete(int Start, int Quantity, bool RemoveGap) {
  // A negative start or quantity would address memory before the lists.
  if (Start < 0 || Quantity < 0)
    throw ChartException(FormatMessage(KelMsg_SeriesDeleteRange, Start, Quantity));
  const int count = Count();
  if (Start >= count) return;
  Quantity = std::min(Quantity, count - Start);

  for (const auto& list : FValuesList) list->Delete(Start, Quantity);
  if (FColors) {
    const int size = static_cast<int>(FColors->size());
    if (size > Start)
      FColors->erase(FColors->begin() + Start, FColors->begin() + std::min(size, Start + Quantity));
    if (FColors->empty()) FColors.reset();
  }
  FLabels->DeleteLabels(Start, Quantity);
  MarksDeleted(Start, Quantity);
  NotifyValue(veDelete, -1);
  if (FActive) Repaint();
  if (RemoveGap) FNotMandatoryValueList->FillSequence();
}

void TChartSeries::Clear() {
  FFirstVisibleIndex = -1;
  FLastVisibleIndex = -1;
  ClearLists();
  CallEvent(OnClearValues, this);
  NotifyValue(veClear, 0);
  if (FActive && FParent && !FParent->IsDestroying()) Repaint();
}

void TChartSeries::ClearLists() {
  for (const auto& list : FValuesList) list->ClearValues();
  FColors.reset();
  FLabels->Clear();
  MarksCleared();
}

void TChartSeries::SetXLabel(int ValueIndex, const std::string& Value) {
  FLabels->SetLabels(ValueIndex, Value);
}

double TChartSeries::MinXValue() const { return FiniteExtent().MinX; }
double TChartSeries::MaxXValue() const { return FiniteExtent().MaxX; }
double TChartSeries::MinYValue() const { return FiniteExtent().MinY; }
double TChartSeries::MaxYValue() const { return FiniteExtent().MaxY; }
bool TChartSeries::OnLogScales(double X, double Y) const {
  if (FGetHorizAxis && FGetHorizAxis->Logarithmic() && !(X > 0)) return false;
  if (FGetVertAxis && FGetVertAxis->Logarithmic() && !(Y > 0)) return false;
  return true;
}

bool TChartSeries::HasFinitePoint() const { return FiniteExtent().Any; }

// When neither list holds a value that is not finite, every point is
// drawable and the lists' own statistics are the extremes. Otherwise one
// pass over the points takes the finite pairs only; it runs again only
// after a list's statistics were recomputed, i.e. once per change.
const TChartSeries::TFiniteExtent& TChartSeries::FiniteExtent() const {
  // Reading the counts brings both lists' statistics (and revisions) up to date.
  const int nonFiniteX = FX->NonFiniteCount();
  const int nonFiniteY = FY->NonFiniteCount();
  if (IExtentX == FX && IExtentY == FY && IExtentRevisionX == FX->StatsRevision() &&
      IExtentRevisionY == FY->StatsRevision())
    return IExtent;
  TFiniteExtent e;
  const int n = std::min(FX->Count(), FY->Count());
  if (nonFiniteX == 0 && nonFiniteY == 0) {
    e.Any = n > 0;
    e.MinX = FX->MinValue();
    e.MaxX = FX->MaxValue();
    e.MinY = FY->MinValue();
    e.MaxY = FY->MaxValue();
  } else {
    const double* xs = FX->Data();
    const double* ys = FY->Data();
    for (int i = 0; i < n; ++i) {
      const double x = xs[i], y = ys[i];
      if (!IsFinitePoint(x, y)) continue;
      if (!e.Any) {
        e.MinX = e.MaxX = x;
        e.MinY = e.MaxY = y;
        e.Any = true;
        continue;
      }
      e.MinX = std::min(e.MinX, x);
      e.MaxX = std::max(e.MaxX, x);
      e.MinY = std::min(e.MinY, y);
      e.MaxY = std::max(e.MaxY, y);
    }
  }
  IExtent = e;
  IExtentX = FX;
  IExtentY = FY;
  IExtentRevisionX = FX->StatsRevision();
  IExtentRevisionY = FY->StatsRevision();
  return IExtent;
}

// ---- [Colours] -------------------------------------------------------------

TColor TChartSeries::SeriesColor() const { return FColor == clKelColor ? ISeriesColor : FColor; }

void TChartSeries::SetSeriesColor(TColor Value) {
  if (FColor == clKelColor && Value == ISeriesColor) return;
  SetColorProperty(FColor, Value);
  ISeriesColor = Value;
  if (FParent) FParent->BroadcastSeriesEvent(this, seChangeColor);
}

void TChartSeries::SetColorEachPoint(bool Value) {
  if (FColorEachPoint == Value) return;
  FColorEachPoint = Value;
  NotifyColorChange(-1);
}

TColor TChartSeries::InternalColor(int ValueIndex) const {
  if (FColors && ValueIndex >= 0 && ValueIndex < static_cast<int>(FColors->size()))
    return (*FColors)[static_cast<std::size_t>(ValueIndex)];
  return clKelColor;
}

TColor TChartSeries::GetValueColor(int ValueIndex) const {
  const TColor own = InternalColor(ValueIndex);
  if (own != clKelColor) return own;
  if (!FColorEachPoint || ValueIndex < 0) return SeriesColor();
  if (FParent) return FParent->GetDefaultColor(ValueIndex);
  if (KelColorPalette.empty()) return SeriesColor();
  return KelColorPalette[static_cast<std::size_t>(ValueIndex) % KelColorPalette.size()];
}

TColor& TChartSeries::ColorEntry(int ValueIndex) {
  if (!FColors) FColors = std::make_unique<std::vector<TColor>>();
  const auto index = static_cast<std::size_t>(ValueIndex);
  if (FColors->size() <= index) FColors->resize(index + 1, clKelColor);
  return (*FColors)[index];
}

void TChartSeries::SetValueColor(int ValueIndex, TColor Value) {
  if (ValueIndex < 0)
    throw ChartException(FormatMessage(KelMsg_SeriesValueColor, ValueIndex, 0));
  if (!FColors && Value == clKelColor) return;
  // Colouring a point beyond the end first appends null points up to it.
  // An OnBeforeAdd that refuses them leaves everything as it was.
  while (Count() <= ValueIndex)
    if (AddNullLabel("") < 0) return;
  ColorEntry(ValueIndex) = Value;
  NotifyColorChange(ValueIndex);
}

void TChartSeries::SetNull(int ValueIndex, bool Null) {
  SetValueColor(ValueIndex, Null ? clNone : clKelColor);
}

void TChartSeries::NotifyColorChange(int) { Repaint(); }

void TChartSeries::SetTransparency(int Value) {
  SetIntegerProperty(FTransparency, std::clamp(Value, 0, 100));
}

void TChartSeries::SetTreatNulls(TTreatNullsStyle Value) {
  if (FTreatNulls == Value) return;
  FTreatNulls = Value;
  Repaint();
}

void TChartSeries::SetValueFormat(const std::string& Value) { SetStringProperty(FValueFormat, Value); }

void TChartSeries::SetPercentFormat(const std::string& Value) {
  SetStringProperty(FPercentFormat, Value);
}

// ---- [Notification] --------------------------------------------------------

void TChartSeries::EndUpdate() {
  if (IUpdating == 0) return;
  if (--IUpdating == 0) RefreshSeries();
}

void TChartSeries::RefreshSeries() {
  NotifyValue(veRefresh, 0);
  if (FParent) FParent->BroadcastSeriesEvent(this, seDataChanged);
}

// Value changes would be passed on to series fed from this one and, for a
// detail series, to its parent. Neither kind of link exists in this engine,
// so outside update blocks there is no one to tell; repainting is asked for
// by the operations themselves.
void TChartSeries::NotifyValue(TValueEvent, int) {}

void TChartSeries::InternalNotifyNewValue(int ValueIndex) {
  CallEvent(OnAfterAdd, this, ValueIndex);
  NotifyValue(veAdd, ValueIndex);
}

void TChartSeries::NotifyNewValue(TChartSeries*, int ValueIndex) {
  InternalNotifyNewValue(ValueIndex);
  if (FActive) Repaint();
}

void TChartSeries::CheckOrder() {
  bool sorted = false;
  if (FMandatoryValueList->Order() != loNone) {
    FMandatoryValueList->Sort();
    if (FNotMandatoryValueList->ValueSource().empty()) FNotMandatoryValueList->FillSequence();
    sorted = true;
  }
  if (FNotMandatoryValueList->Order() != loNone) {
    FNotMandatoryValueList->Sort();
    sorted = true;
  }
  if (sorted) Repaint();
}

void TChartSeries::SwapValueIndex(int Index1, int Index2) {
  const int count = Count();
  if (Index1 < 0 || Index2 < 0 || Index1 >= count || Index2 >= count)
    throw ChartException(FormatMessage("Series SwapValueIndex: %d and %d must lie within the points.",
                                       Index1, Index2));
  for (const auto& list : FValuesList) list->Exchange(Index1, Index2);
  if (FColors) {
    const int size = static_cast<int>(FColors->size());
    // Entries beyond the list read as clKelColor; only a real entry moves.
    if (Index1 < size || Index2 < size) {
      ColorEntry(std::max(Index1, Index2));
      std::swap((*FColors)[static_cast<std::size_t>(Index1)], (*FColors)[static_cast<std::size_t>(Index2)]);
    }
  }
  FLabels->Exchange(Index1, Index2);
}

// ---- [Samples] ---------------------------------------------------------------

void TChartSeries::FillSampleValues(int NumValues) {
  if (NumValues == 0) {
    NumValues = INumSampleValues;
    if (NumValues <= 0) NumValues = NumSampleValues();
  }
  Clear();
  RandSeed = static_cast<std::uint32_t>(Random(7774444));
  BeginUpdate();
  try {
    if (NumValues > 0) ReservePoints(NumValues);
    AddSampleValues(NumValues, false);
    CheckOrder();
  } catch (...) {
    EndUpdate();
    throw;
  }
  EndUpdate();
  ManualData = false;
}

TChartSeries::TSeriesRandomBounds TChartSeries::RandomBounds(int NumValues) {
  TSeriesRandomBounds result;
  double MinY = 0;
  double MaxY = 1000;
  double MinX;
  double MaxX;
  if (FParent && FGetHorizAxis && FGetVertAxis && FParent->GetMaxValuesCount() > 0) {
    MinY = FParent->MinYValue(FGetVertAxis);
    MaxY = FParent->MaxYValue(FGetVertAxis);
    if (MaxY == MinY) MaxY = MaxY == 0 ? 1000 : 2 * MinY;
    MinX = FParent->MinXValue(FGetHorizAxis);
    MaxX = FParent->MaxXValue(FGetHorizAxis);
    if (MaxX == MinX) MaxX = MaxX == 0 ? NumValues - 1 : 2 * MinX;
    if (!FYMandatory) {
      std::swap(MinX, MinY);
      std::swap(MaxX, MaxY);
    }
  } else if (FX->DateTime()) {
    MinX = KelToday();
    MaxX = MinX + NumValues - 1;
  } else {
    MinX = 0;
    MaxX = NumValues - 1;
  }
  result.StepX = MaxX - MinX;
  if (NumValues > 1) result.StepX /= NumValues - 1;
  double dif = MaxY - MinY;
  if (std::isnan(dif) || dif > 2147483647.0)
    dif = 2147483647.0;
  else if (dif < -2147483647.0)
    dif = -2147483647.0;
  result.DifY = dif;
  // Formed left to right at extended precision, stored as a double.
  result.tmpY = static_cast<double>(static_cast<long double>(Random(100)) * result.DifY * 0.01L + MinY);
  result.tmpX = MinX;
  result.MinY = MinY;
  return result;
}

void TChartSeries::AddSampleValues(int NumValues, bool OnlyMandatory) {
  TSeriesRandomBounds B = RandomBounds(NumValues);
  const double A = B.DifY * 0.25;
  for (int t = 0; t < NumValues; ++t) {
    const auto r = static_cast<long double>(Random(100));
    // A random walk step between -A/2 and almost +A/2, reflected at zero.
    // Extended precision keeps the steps exact multiples of A/100.
    const long double next = r * A * 0.01L + B.tmpY - A * 0.5L;
    B.tmpY = static_cast<double>(std::fabs(next));
    if (OnlyMandatory) {
      Add(B.tmpY);
    } else {
      if (FYMandatory)
        AddXY(B.tmpX, B.tmpY);
      else
        AddXY(B.tmpY, B.tmpX);
      B.tmpX += B.StepX;
    }
  }
}

// ---- [Axes] ------------------------------------------------------------------

void TChartSeries::SetParentChart(TCustomAxisPanel* Value) {
  if (Value == FParent) return;
  // The old chart's RemoveSeries calls Removed, which forgets it.
  if (FParent) FParent->RemoveSeries(this);
  TCustomChartSeries::SetParentChart(Value);
  MarksChartChanged();
  if (Value)
    Value->InternalAddSeries(this);
  else
    RecalcGetAxis();
}

void TChartSeries::Added() {
  TCustomChartSeries::Added();
  if (FParent && FColor == clKelColor) SetSeriesColor(FParent->GetFreeSeriesColor(true, nullptr));
  RecalcGetAxis();
}

void TChartSeries::Removed() {
  TCustomChartSeries::Removed();
  MarksChartChanged();
  RecalcGetAxis();
}

void TChartSeries::RecalcGetAxis() {
  if (!FParent) {
    FGetHorizAxis = nullptr;
    FGetVertAxis = nullptr;
    return;
  }
  switch (FHorizAxis) {
    case aTopAxis:
      FGetHorizAxis = FParent->TopAxis();
      break;
    case aCustomHorizAxis:
      FGetHorizAxis = FCustomHorizAxis ? FCustomHorizAxis : FParent->BottomAxis();
      break;
    default:
      FGetHorizAxis = FParent->BottomAxis();
  }
  switch (FVertAxis) {
    case aRightAxis:
      FGetVertAxis = FParent->RightAxis();
      break;
    case aCustomVertAxis:
      FGetVertAxis = FCustomVertAxis ? FCustomVertAxis : FParent->LeftAxis();
      break;
    default:
      FGetVertAxis = FParent->LeftAxis();
  }
}

void TChartSeries::SetHorizAxis(THorizAxis Value) {
  if (FHorizAxis == Value) return;
  FHorizAxis = Value;
  RecalcGetAxis();
  Repaint();
}

void TChartSeries::SetVertAxis(TVertAxis Value) {
  if (FVertAxis == Value) return;
  FVertAxis = Value;
  RecalcGetAxis();
  Repaint();
}

void TChartSeries::SetCustomHorizAxis(TChartAxis* Value) {
  if (FCustomHorizAxis == Value) return;
  FCustomHorizAxis = Value;
  RecalcGetAxis();
  Repaint();
}

void TChartSeries::SetCustomVertAxis(TChartAxis* Value) {
  if (FCustomVertAxis == Value) return;
  FCustomVertAxis = Value;
  RecalcGetAxis();
  Repaint();
}

bool TChartSeries::AssociatedToAxis(const TChartAxis* Axis) const {
  if (!UseAxis() || !Axis) return false;
  if (Axis->IsDepthAxis()) return true;
  if (Axis->Horizontal()) return FHorizAxis == aBothHorizAxis || Axis == FGetHorizAxis;
  return FVertAxis == aBothVertAxis || Axis == FGetVertAxis;
}

TAxisLabelStyle TChartSeries::AxisLabelStyle(const TChartAxis* Axis) const {
  if (!Axis || HasZValues || Axis->IsDepthAxis()) return talValue;
  // The positional axis: horizontal for a vertical series, vertical else.
  if (Axis->Horizontal() != FYMandatory) return talValue;
  if (HasPointLabels()) return talPointValue;
  for (const std::string& text : FLabels->List)
    if (!text.empty()) return talText;
  return talValue;
}

std::string TChartSeries::AxisMarkText(int ValueIndex) const {
  // With marks, the axis shows the marks' own text (their style and events).
  if (FMarks) return const_cast<TChartSeries*>(this)->GetMarkText(ValueIndex);
  std::string text = XLabel(ValueIndex);
  if (text.empty()) text = FormatFloat(FValueFormat, FMandatoryValueList->Value(ValueIndex));
  return text;
}

int TChartSeries::CalcXPosValue(double Value) const {
  return FGetHorizAxis ? FGetHorizAxis->CalcXPosValue(Value) : 0;
}

int TChartSeries::CalcYPosValue(double Value) const {
  return FGetVertAxis ? FGetVertAxis->CalcYPosValue(Value) : 0;
}

int TChartSeries::CalcPosValue(double Value) const {
  return FYMandatory ? CalcYPosValue(Value) : CalcXPosValue(Value);
}

int TChartSeries::CalcXPos(int ValueIndex) const { return CalcXPosValue(XValue(ValueIndex)); }

int TChartSeries::CalcYPos(int ValueIndex) const { return CalcYPosValue(YValue(ValueIndex)); }

double TChartSeries::XScreenToValue(int ScreenPos) const {
  return FGetHorizAxis ? FGetHorizAxis->CalcPosPoint(ScreenPos) : 0;
}

double TChartSeries::YScreenToValue(int ScreenPos) const {
  return FGetVertAxis ? FGetVertAxis->CalcPosPoint(ScreenPos) : 0;
}

int TChartSeries::CalcXSizeValue(double Value) const {
  return FGetHorizAxis ? FGetHorizAxis->CalcSizeValue(Value) : 0;
}

int TChartSeries::CalcYSizeValue(double Value) const {
  return FGetVertAxis ? FGetVertAxis->CalcSizeValue(Value) : 0;
}

// ---- [Visible range] -----------------------------------------------------------

namespace {

// The lowest index whose value is >= MinV, by binary search: on a list that
// is ascending and holds no NaN (IsAscending) this is exactly the index a
// scan up from 0 finds. -1 when no value qualifies (also when MinV itself
// is NaN). Other lists are scanned: ordered insertion appends a NaN where
// it arrives, so a NaN may sit anywhere and only the scan finds the first
// drawable point after it.
int FirstAtOrAbove(const double* Values, int Count, double MinV) {
  int lo = 0;
  int hi = Count;
  while (lo < hi) {
    const int mid = lo + (hi - lo) / 2;
    if (Values[mid] >= MinV)
      hi = mid;
    else
      lo = mid + 1;
  }
  return lo < Count ? lo : -1;
}

}  // namespace

void TChartSeries::CalcFirstLastVisibleIndex() {
  FFirstVisibleIndex = -1;
  FLastVisibleIndex = -1;
  const int count = Count();
  if (count == 0) return;
  const int L = count - 1;
  TChartValueList* P = FNotMandatoryValueList;
  TChartAxis* axis = FYMandatory ? FGetHorizAxis : FGetVertAxis;
  if (!CalcVisiblePoints || P->Order() == loNone || !FParent || !axis) {
    FFirstVisibleIndex = 0;
    FLastVisibleIndex = L;
    return;
  }

  // Edge pixels moved by the axis offsets, kept inside the int range.
  auto edge = [](long long Pixel) {
    return static_cast<int>(std::clamp<long long>(Pixel, INT_MIN, INT_MAX));
  };
  const TRectF& chartRect = FParent->ChartRect;
  const int left = KelRound(chartRect.Left);
  const int top = KelRound(chartRect.Top);
  const int right = KelRound(chartRect.Right);
  const int bottom = KelRound(chartRect.Bottom);
  const int minOffset = axis->MinimumOffset();
  const int maxOffset = axis->MaximumOffset();
  const bool inverted = axis->Inverted();
  double MinV;
  double MaxV;
  if (FYMandatory) {
    if (minOffset == 0 && maxOffset == 0) {
      MinV = axis->CalcPosPoint(inverted ? right : left);
      MaxV = axis->CalcPosPoint(inverted ? left : right);
    } else {
      MinV = axis->CalcPosPoint(edge(static_cast<long long>(inverted ? right : left) + minOffset - 1));
      MaxV = axis->CalcPosPoint(edge(static_cast<long long>(inverted ? left : right) - maxOffset + 1));
    }
  } else {
    // A horizontal series: its positions run along the vertical axis, whose
    // minimum lies at the bottom. The offsets move the edges the mirrored
    // way of the horizontal case.
    if (minOffset == 0 && maxOffset == 0) {
      MinV = axis->CalcPosPoint(inverted ? top : bottom);
      MaxV = axis->CalcPosPoint(inverted ? bottom : top);
    } else {
      MinV = axis->CalcPosPoint(edge(static_cast<long long>(inverted ? top : bottom) - minOffset + 1));
      MaxV = axis->CalcPosPoint(edge(static_cast<long long>(inverted ? bottom : top) + maxOffset - 1));
    }
  }

  const double* v = P->Data();
  int first = -1;
  if (P->Order() == loAscending && P->IsAscending()) {
    first = FirstAtOrAbove(v, count, MinV);
  } else {
    for (int i = 0; i < count; ++i)
      if (v[i] >= MinV) {
        first = i;
        break;
      }
  }
  if (first < 0) return;

  int last;
  if (!(v[L] > MaxV)) {
    last = L;  // also when unordered
  } else {
    // Up to and including the first point at or beyond the maximum edge,
    // so that a line towards it can be drawn. A NaN on the way is not
    // beyond the edge: the drawable points after it stay in the range.
    last = first;
    if (P->Order() == loAscending && P->IsAscending())
      last = static_cast<int>(std::lower_bound(v + first, v + L, MaxV) - v);  // same index, O(log n)
    else
      while (last < L && !(v[last] >= MaxV)) ++last;
    if (!DrawBetweenPoints)
      while (last > 0 && v[last] > MaxV) --last;
  }
  FFirstVisibleIndex = first;
  FLastVisibleIndex = last;
}

// ---- [Drawing] -------------------------------------------------------------------

TCanvas3D* TChartSeries::ChartCanvas() const { return FParent ? FParent->Canvas() : nullptr; }

// The chart decides this at the start of each paint from the same settings:
// a 3D view seen from behind.
bool TChartSeries::ChartInvertedRotation() const {
  if (!FParent || !FParent->View3D()) return false;
  const TView3DOptions* options = FParent->View3DOptions();
  if (!options) return false;
  return options->Orthogonal() ? options->OrthoAngle() > 90 : options->Rotation() < 180;
}

bool TChartSeries::DrawValuesForward() const {
  if (FYMandatory) {
    const bool inverted = FGetHorizAxis && FGetHorizAxis->Inverted();
    return ChartInvertedRotation() ? inverted : !inverted;
  }
  return !(FGetVertAxis && FGetVertAxis->Inverted());
}

int TChartSeries::FirstDisplayedIndex() const {
  return DrawValuesForward() ? FFirstVisibleIndex : FLastVisibleIndex;
}

int TChartSeries::LastDisplayedIndex() const {
  return DrawValuesForward() ? FLastVisibleIndex : FFirstVisibleIndex;
}

void TChartSeries::DrawAllValues() {
  if (FFirstVisibleIndex < 0) return;
  TCanvas3D* canvas = ChartCanvas();
  const bool entities = canvas && canvas->SupportsID;
  auto drawOne = [&](int i) {
    if (entities) {
      canvas->BeginEntity(Name() + "_" + std::to_string(i));
      DrawValue(i);
      canvas->EndEntity();
    } else {
      DrawValue(i);
    }
  };
  if (DrawValuesForward()) {
    for (int i = FFirstVisibleIndex; i <= FLastVisibleIndex; ++i) drawOne(i);
  } else {
    for (int i = FLastVisibleIndex; i >= FFirstVisibleIndex; --i) drawOne(i);
  }
}

// The base series has no point shape; series kinds draw their points here.
void TChartSeries::DrawValue(int) {}

void TChartSeries::BroadcastEvent(TChartToolEvent Event) {
  if (!FParent) return;
  TChartTools& tools = FParent->Tools();
  // By index: a tool may leave the chart while handling the event.
  for (int i = 0; i < tools.Count(); ++i) {
    TKelCustomTool* tool = tools.Items(i);
    if (tool->Active()) tool->SeriesEvent(Event, this);
  }
}

// The handlers may destroy the series or take it out of the chart: then
// nothing of the series is touched afterwards.
void TChartSeries::DoBeforeDrawValues() {
  BroadcastEvent(cteBeforeDrawSeries);
  TElementWatch watch(this);
  CallEvent(BeforeDrawValues, this);
  ElementGone(watch);
}

void TChartSeries::DoAfterDrawValues() {
  BroadcastEvent(cteAfterDrawSeries);
  TElementWatch watch(this);
  CallEvent(AfterDrawValues, this);
  ElementGone(watch);
}

// The generic legend symbol: the rectangle filled with the series brush in
// the series colour.
void TChartSeries::PrepareLegendCanvas() {
  TCanvas3D* canvas = ChartCanvas();
  if (!canvas) return;
  canvas->AssignVisiblePenColor(FPen.get(), SeriesColor());
  canvas->AssignBrush(FBrush.get(), SeriesColor());
}

void TChartSeries::DrawLegendShape(const TRectF& Rect) {
  TCanvas3D* canvas = ChartCanvas();
  if (!canvas) return;
  canvas->AssignBrush(FBrush.get(), SeriesColor());
  canvas->Rectangle(Rect.Left, Rect.Top, Rect.Right, Rect.Bottom);
}

int TChartSeries::Clicked(int, int) { return -1; }

// ---- Mouse over the series -----------------------------------------------------

bool TChartSeries::IsPainted(int ValueIndex) const {
  return FTreatNulls == tnIgnore || !IsNull(ValueIndex);
}

bool TChartSeries::CheckMouse(int X, int Y) {
  IClickedPart = scpNone;
  const bool wantsMouse = FCursor != 0 || OnMouseEnter || OnMouseLeave;
  if (!wantsMouse && !HoverEnabled()) return false;
  const int index = Clicked(X, Y);
  if (index == -1) {
    if (IsMouseInside) {
      IsMouseInside = false;
      CallEvent(OnMouseLeave, this);
    }
    return false;
  }
  if (FCursor != 0 && IsPainted(index)) {
    if (TCustomAxisPanel* chart = ParentChart())
      if (IHostControl* host = chart->HostControl()) host->SetCursor(static_cast<TCursor>(FCursor));
  }
  if (!IsMouseInside) {
    IsMouseInside = true;
    CallEvent(OnMouseEnter, this);
  }
  return wantsMouse;
}

}  // namespace sextant

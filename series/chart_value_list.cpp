#include "series/chart_value_list.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "axes/value_format.h"
#include "platform/platform_services.h"
#include "series/finite_point.h"
#include "series/kel_sort.h"

namespace sextant {

std::int32_t KelDefaultCapacity = 1000;

namespace {

std::string IndexMessage(const char* what, int index, int last) {
  char buf[96];
  std::snprintf(buf, sizeof buf, "%s index %d out of bounds (0 to %d)", what, index, last);
  return buf;
}

}  // namespace

// ---- TChartValueList ---------------------------------------------------------

TChartValueList::TChartValueList(IChartValueListOwner* AOwner, const std::string& AName)
    : FName(AName), FOwner(AOwner) {}

void TChartValueList::Assign(const TPersistent* Source) {
  const auto* src = dynamic_cast<const TChartValueList*>(Source);
  if (!src) AssignError(Source);
  SetOrder(src->FOrder);
  FDateTime = src->FDateTime;
  FValueSource = src->FValueSource;
}

void TChartValueList::RaiseIndex(int Index) const {
  throw ChartException(IndexMessage("Value", Index, FCount - 1));
}

namespace {

// Growth step of a storage of the given length: KelDefaultCapacity values,
// so that small lists never reallocate per point; past that size the
// length itself (the storage doubles), so that a million additions copy
// the data about ten times instead of a thousand. A step below one (a
// misconfigured KelDefaultCapacity) still grows by one.
std::size_t GrowthStep(std::size_t Length) {
  const std::size_t step = KelDefaultCapacity > 0 ? static_cast<std::size_t>(KelDefaultCapacity) : 1;
  return std::max(step, Length);
}

}  // namespace

// Storage growth at the back, for appending and for inserting in the second
// half. The storage length (the block's; unused room is never written) is
// not observable through values or notifications.
void TChartValueList::GrowForOne() {
  if (FValue.back_room() > 0) return;
  // Room left at the front by values removed there (a ring window) is
  // taken back once it is as large as the values: moving them then costs
  // less than one move per removed value.
  if (FValue.front_room() >= FValue.size() && FValue.front_room() > 0) {
    FValue.reclaim_front();
    if (FValue.back_room() > 0) return;
  }
  FValue.reserve(FValue.size() + GrowthStep(FValue.capacity()));
}

// Front room grows with the values the same way, so that prepending (points
// added in descending X order) moves every value a few times in all, not
// once per point.
void TChartValueList::GrowFront() {
  if (FValue.front_room() > 0) return;
  FValue.reserve_front(GrowthStep(FValue.size()));
}

void TChartValueList::SetOrder(TChartListOrder AValue) {
  if (FOrder == AValue) return;
  FOrder = AValue;
  IInOrder = ComputeInOrder();
}

bool TChartValueList::FitsOrder(int Index) const {
  const double* data = FValue.data();
  const double v = data[Index];
  if (std::isnan(v)) return false;
  const bool hasBefore = Index > 0;
  const bool hasAfter = Index < FCount - 1;
  if (FOrder == loDescending)
    return (!hasBefore || data[Index - 1] >= v) && (!hasAfter || v >= data[Index + 1]);
  return (!hasBefore || data[Index - 1] <= v) && (!hasAfter || v <= data[Index + 1]);
}

bool TChartValueList::ComputeInOrder() const {
  const double* data = FValue.data();
  for (int i = 0; i < FCount; ++i) {
    if (std::isnan(data[i])) return false;
    if (i > 0 && (FOrder == loDescending ? data[i] > data[i - 1] : data[i] < data[i - 1])) return false;
  }
  return true;
}

int TChartValueList::AppendValues(const double* Values, int N, bool KeepOrder) {
  if (N <= 0) return 0;
  const auto n = static_cast<std::size_t>(N);
  if (FValue.back_room() < n && FValue.front_room() >= FValue.size() && FValue.front_room() > 0)
    FValue.reclaim_front();
  if (FValue.back_room() < n) FValue.reserve(FValue.size() + std::max(n, GrowthStep(FValue.capacity())));
  double* out = FValue.end_unchecked();
  int k = 0;
  if (!KeepOrder || FOrder == loNone) {
    std::memcpy(out, Values, n * sizeof(double));
    k = N;
  } else {
    // One pass copies and checks: a value is appended unless the one before
    // it is greater (less, for loDescending); a NaN is always appended.
    bool hasLast = FCount > 0;
    double last = hasLast ? FValue.data()[FCount - 1] : 0;
    const bool ascending = FOrder == loAscending;
    for (; k < N; ++k) {
      const double v = Values[k];
      if (hasLast && (ascending ? last > v : last < v)) break;
      out[k] = v;
      last = v;
      hasLast = true;
    }
  }
  if (k == 0) return 0;
  const int first = FCount;
  FValue.appended_unchecked(static_cast<std::size_t>(k));
  FCount += k;
  if (FOrder != loNone) {
    if (KeepOrder) {
      for (int i = 0; i < k && IInOrder; ++i)
        if (std::isnan(Values[i])) IInOrder = false;
    } else {
      for (int i = first; i < FCount && IInOrder; ++i) CheckOrderAt(i);
    }
  }
  SetModified(true);
  return k;
}

int TChartValueList::AddChartValue() { return AddOrderedValue(FTempValue); }

int TChartValueList::AddChartValue(double Value) {
  FTempValue = Value;
  return AddChartValue();
}

void TChartValueList::ClearValues() {
  FCount = 0;
  FValue.release();
  FModified = true;
  IInOrder = true;
  Rewritten();
  if (FWatcher) FWatcher->Moved(0);
}

void TChartValueList::InsertChartValue(int ValueIndex, double AValue) {
  if (ValueIndex < 0 || ValueIndex > FCount)
    throw ChartException(IndexMessage("Value", ValueIndex, FCount));
  InsertValueUnchecked(ValueIndex, AValue);
}

void TChartValueList::Delete(int ValueIndex) { Delete(ValueIndex, 1); }

void TChartValueList::Delete(int Start, int Quantity) {
  if (Quantity <= 0) return;
  if (Start < 0 || Start >= FCount) RaiseIndex(Start);
  Quantity = std::min(Quantity, FCount - Start);
  FValue.erase(static_cast<std::size_t>(Start), static_cast<std::size_t>(Start + Quantity));
  FCount -= Quantity;
  Rewritten();
  // Values removed from the front leave the indices of the others shifted
  // but their blocks intact (a ring window).
  if (FWatcher) {
    if (Start == 0)
      FWatcher->DroppedFront(Quantity);
    else
      FWatcher->Moved(Start);
  }
  SetModified(true);
}

void TChartValueList::SetValue(int Index, double AValue) {
  if (static_cast<unsigned>(Index) >= static_cast<unsigned>(FCount)) RaiseIndex(Index);
  FValue[static_cast<std::size_t>(Index)] = AValue;
  CheckOrderAt(Index);
  FModified = true;
  Rewritten();
  if (FWatcher) FWatcher->Edited(Index);
  if (FOwner) FOwner->NotifyValue(veModify, Index);
}

void TChartValueList::ChangeModified(bool AValue) {
  FModified = AValue;
  if (AValue && FOwner) FOwner->NotifyValue(veModify, -1);
}

// One pass: the first finite value initialises minimum, maximum and
// totals; each further one either lowers the minimum or else may raise the
// maximum, and is added to the totals. Values that are not finite numbers
// (NaN, +Inf, -Inf) are counted and otherwise skipped: they have no place
// on a scale, one infinity would make every total infinite, and a NaN
// would make the result depend on where it sits. A list without any finite
// value has all statistics 0, like an empty list. The ascending flag still
// sees the infinities (they are ordered), not NaN.
void TChartValueList::RecalcStats() {
  if (static_cast<std::size_t>(FCount) > FValue.size()) FCount = static_cast<std::int32_t>(FValue.size());
  const double* data = FValue.data();
  // Values only appended since the last pass: the pass goes on from where
  // it stopped, with the same state, so the result is that of a full pass.
  TStatsPass p;
  if (IStatsAppendOnly && IStatsPass.Count <= FCount) p = IStatsPass;
  for (int i = p.Count; i < FCount; ++i) {
    const double v = data[i];
    if (std::isnan(v)) {
      p.Ascending = p.Descending = false;
      ++p.NonFinite;
      continue;
    }
    if (p.HasPrevious && v < p.Previous) p.Ascending = false;
    if (p.HasPrevious && v > p.Previous) p.Descending = false;
    p.Previous = v;
    p.HasPrevious = true;
    if (!IsFiniteValue(v)) {
      ++p.NonFinite;
      continue;
    }
    if (p.First) {
      p.Min = p.Max = p.Total = v;
      p.TotalAbs = std::fabs(v);
      p.First = false;
      continue;
    }
    if (v < p.Min)
      p.Min = v;
    else if (v > p.Max)
      p.Max = v;
    p.Total += v;
    p.TotalAbs += std::fabs(v);
  }
  p.Count = FCount;
  IStatsPass = p;
  IStatsAppendOnly = true;
  FMinValue = p.First ? 0 : p.Min;
  FMaxValue = p.First ? 0 : p.Max;
  FTotal = p.First ? 0 : p.Total;
  FTotalABS = p.First ? 0 : p.TotalAbs;
  INonFinite = p.NonFinite;
  IAscending = p.Ascending;
  IInOrder = FOrder == loDescending ? p.Descending : p.Ascending;
  ++IRevision;
  FModified = false;
}

int TChartValueList::NonFiniteCount() {
  if (FModified) RecalcStats();
  return INonFinite;
}

bool TChartValueList::IsAscending() {
  if (FModified) RecalcStats();
  return IAscending;
}

double TChartValueList::MaxValue() {
  if (FModified) RecalcStats();
  return FMaxValue;
}

double TChartValueList::MinValue() {
  if (FModified) RecalcStats();
  return FMinValue;
}

double TChartValueList::Total() {
  if (FModified) RecalcStats();
  return FTotal;
}

double TChartValueList::TotalABS() {
  if (FModified) RecalcStats();
  return FTotalABS;
}

double TChartValueList::Range() {
  if (FModified) RecalcStats();
  return FMaxValue - FMinValue;
}

int TChartValueList::Locate(double AValue, int FirstIndex, int LastIndex) const {
  FirstIndex = std::max(FirstIndex, 0);
  LastIndex = std::min(LastIndex, FCount - 1);
  const double* data = FValue.data();
  for (int i = FirstIndex; i <= LastIndex; ++i)
    if (data[i] == AValue) return i;
  return -1;
}

void TChartValueList::Exchange(int Index1, int Index2) {
  if (static_cast<unsigned>(Index1) >= static_cast<unsigned>(FCount)) RaiseIndex(Index1);
  if (static_cast<unsigned>(Index2) >= static_cast<unsigned>(FCount)) RaiseIndex(Index2);
  std::swap(FValue[static_cast<std::size_t>(Index1)], FValue[static_cast<std::size_t>(Index2)]);
  // Only the neighbourhoods of the two places changed.
  if (IInOrder && FOrder != loNone) IInOrder = FitsOrder(Index1) && FitsOrder(Index2);
  FModified = true;
  Rewritten();
  if (FWatcher) {
    FWatcher->Edited(Index1);
    FWatcher->Edited(Index2);
  }
  if (FOwner) FOwner->NotifyValue(veModify, Index1);
}

void TChartValueList::FillSequence() {
  double* data = FValue.data();
  for (int i = 0; i < FCount; ++i) data[i] = i;
  IInOrder = FOrder != loDescending || FCount < 2;
  FModified = true;
  Rewritten();
  if (FWatcher && FCount > 0) FWatcher->Edited(0, FCount - 1);
  if (FOwner) FOwner->NotifyValue(veModify, 0);
}

// The same values in another order: the statistics stay valid, but not
// the ascending flag (Sort relies on it). An ascending list, rotated, is
// ascending only when its first value, now the last, is not below the one
// before it, i.e. when all its values are equal.
void TChartValueList::Scroll() {
  if (FCount < 2) return;
  double* data = FValue.data();
  std::rotate(data, data + 1, data + FCount);
  ++IRevision;  // the values now pair with other points
  Rewritten();
  if (FWatcher) FWatcher->Edited(0, FCount - 1);
  if (!FModified && IAscending) IAscending = !(data[FCount - 1] < data[FCount - 2]);
  // Likewise for the order kept on insertion: the old first value now
  // follows the old last one.
  if (IInOrder && FOrder != loNone)
    IInOrder = FOrder == loDescending ? !(data[FCount - 1] > data[FCount - 2]) : !(data[FCount - 1] < data[FCount - 2]);
}

namespace {

// Comparison of two positions, both in range (see CompareValueIndex).
inline int CompareValues(const double* data, TChartListOrder order, int a, int b) {
  if (a == b) return 0;
  const double va = data[a];
  const double vb = data[b];
  const bool nanA = std::isnan(va);
  const bool nanB = std::isnan(vb);
  if (nanA || nanB) {
    if (nanA && nanB) return b > a ? -1 : 0;
    return nanA ? 1 : -1;
  }
  if (va < vb) return order == loDescending ? 1 : -1;
  if (va > vb) return order == loDescending ? -1 : 1;
  return b > a ? -1 : 0;
}

}  // namespace

// -1 when value[a] goes before value[b], +1 when after, the sign inverted
// for loDescending. Equal values give -1 when b > a, else 0 (never inverted):
// a pair that is already in place is never swapped, so sorting a sorted list
// moves nothing.
//
// NaN values are placed after every number in both orders and keep their
// relative order like equal values. (Treating "unordered" as "less" in both
// directions would not be an order at all: the numbers around a NaN could
// end up unsorted.) A position compared with itself is always 0.
int TChartValueList::CompareValueIndex(int a, int b) const {
  if (static_cast<unsigned>(a) >= static_cast<unsigned>(FCount)) RaiseIndex(a);
  if (static_cast<unsigned>(b) >= static_cast<unsigned>(FCount)) RaiseIndex(b);
  return CompareValues(FValue.data(), FOrder, a, b);
}

void TChartValueList::Sort() {
  if (FOrder == loNone || FCount < 2) return;
  // Sorting never swaps a pair that is already in place, so an ascending
  // list of numbers stays exactly as it is: the sort is skipped (sample
  // values and data added in order arrive like that).
  if (FOrder == loAscending && IsAscending()) return;
  // The owner's swap changes this list's storage in place (the length stays),
  // so the data pointer is re-read on every comparison through this.
  auto compare = [this](int a, int b) { return CompareValues(FValue.data(), FOrder, a, b); };
  if (FOwner) {
    KelSort(0, FCount - 1, compare, [this](int a, int b) { FOwner->SwapValueIndex(a, b); });
  } else {
    KelSort(0, FCount - 1, compare, [this](int a, int b) {
      std::swap(FValue[static_cast<std::size_t>(a)], FValue[static_cast<std::size_t>(b)]);
    });
    Rewritten();
    if (FWatcher) FWatcher->Edited(0, FCount - 1);
  }
}

std::string TChartValueList::ValueToString(int Index) const {
  return KelFloatToStr(Value(Index), KelPlatform().FormatSettings);
}

// ---- TChartValueLists --------------------------------------------------------

TChartValueList* TChartValueLists::Add(std::unique_ptr<TChartValueList> List) {
  FItems.push_back(std::move(List));
  FPlainXY = FItems.size() == 2 && FItems[0]->IsPlain() && FItems[1]->IsPlain();
  return FItems.back().get();
}

TChartValueList* TChartValueLists::Get(int Index) const {
  if (Index < 0 || Index >= Count())
    throw ChartException(IndexMessage("Value list", Index, Count() - 1));
  return FItems[static_cast<std::size_t>(Index)].get();
}

int TChartValueLists::IndexOf(const TChartValueList* List) const {
  for (int i = 0; i < Count(); ++i)
    if (FItems[static_cast<std::size_t>(i)].get() == List) return i;
  return -1;
}

}  // namespace sextant

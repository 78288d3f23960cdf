// Value lists: the growable lists of doubles that hold a series' data (the X
// list, the Y list and any further lists a series kind adds), with the order
// kept on insertion, lazily cached statistics and the change notification
// back to the owning series.
#pragma once

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <typeinfo>
#include <vector>

#include "canvas/kel_persistent.h"
#include "series/value_changes.h"
#include "series/value_storage.h"

namespace sextant {

class TChartValueList;
class TChartValueLists;

// Order that a value list keeps on insertion and restores with Sort.
enum TChartListOrder { loNone, loAscending, loDescending };

// What changed in a series' values (reported through NotifyValue).
enum TValueEvent { veClear, veAdd, veDelete, veRefresh, veModify };

// Growth step of every value list's storage (values, not bytes).
extern std::int32_t KelDefaultCapacity;

// The storage of one value list: its size() is Count (the values), its
// capacity() the list's storage length.
using TChartValues = TValueStorage;

// What a value list needs from the series that owns it. The series
// implements this; the lists never own their owner.
class IChartValueListOwner {
 public:
  // A value list changed (veModify with the index, or -1 for "several").
  virtual void NotifyValue(TValueEvent ValueEvent, int ValueIndex) = 0;
  // Exchanges two points in every list of the series (used by Sort).
  virtual void SwapValueIndex(int Index1, int Index2) = 0;
  // The owning list of value lists, into which Create registers new lists.
  virtual TChartValueLists& ValuesList() = 0;

 protected:
  ~IChartValueListOwner() = default;
};

// One list of double values.
class TChartValueList : public TPersistent {
 public:
  // A list that is not registered anywhere (the caller owns it). Use Create
  // to make a list that its series owns.
  TChartValueList(IChartValueListOwner* AOwner, const std::string& AName);
  ~TChartValueList() override = default;
  TChartValueList(const TChartValueList&) = delete;
  TChartValueList& operator=(const TChartValueList&) = delete;

  // Creates a list of type T (TChartValueList or a kind derived from it)
  // and appends it to AOwner's ValuesList(), which owns it from then on.
  // The returned pointer stays valid as long as the owner's lists do.
  template <typename T = TChartValueList, typename... Args>
  static T* Create(IChartValueListOwner* AOwner, const std::string& AName, Args&&... args);

  void Assign(const TPersistent* Source) override;

  // Inserts TempValue where it keeps Order and returns its index.
  virtual int AddChartValue();
  // What AddChartValue and InsertChartValue do in this class, without the
  // virtual dispatch, for callers that know the list is of this class
  // (IsPlain): the series' loading loop.
  inline int AddOrderedValue(double Value);
  inline void InsertValueUnchecked(int ValueIndex, double Value);
  // True when the list is of this class itself, not of a kind that
  // overrides its operations.
  bool IsPlain() const { return typeid(*this) == typeid(TChartValueList); }
  // Appends Values[0..N) at memory speed, as AddOrderedValue (KeepOrder)
  // or InsertValueUnchecked at the end would add them one by one, and
  // returns how many were appended: with KeepOrder, the values from the
  // first on that AddOrderedValue would append (it stops before the first
  // one that it would insert further down); otherwise all N.
  int AppendValues(const double* Values, int N, bool KeepOrder);
  // Stores Value into TempValue, then AddChartValue().
  virtual int AddChartValue(double Value);
  // Count := 0, the storage is released and the statistics are stale.
  virtual void ClearValues();
  // Inserts Value at ValueIndex (0..Count), moving the tail up one place.
  virtual void InsertChartValue(int ValueIndex, double Value);
  // Removes one value.
  virtual void Delete(int ValueIndex);
  // Removes Quantity values from Start on (cut to the end of the list).
  virtual void Delete(int Start, int Quantity);

  int Count() const { return FCount; }

  // Range-checked reads and writes: an index outside 0..Count-1 raises
  // ChartException "Value index %d out of bounds (0 to %d)".
  double Value(int Index) const {
    if (static_cast<unsigned>(Index) >= static_cast<unsigned>(FCount)) RaiseIndex(Index);
    return FValue[static_cast<std::size_t>(Index)];
  }
  void SetValue(int Index, double AValue);
  double Items(int Index) const { return Value(Index); }
  void SetItems(int Index, double AValue) { SetValue(Index, AValue); }

  // Unchecked access for loops that already know their index range: the
  // first Count entries are the values. Valid until the next change of the
  // list's length.
  const double* Data() const { return FValue.data(); }

  double First() const { return Value(0); }
  double Last() const { return Value(FCount - 1); }

  // Cached statistics of the finite values, recomputed first when stale
  // (NaN and infinities are left out; see the .cpp).
  double MaxValue();
  double MinValue();
  double Total();
  double TotalABS();
  double Range();
  // True when every value is a number and each is >= the one before (an
  // empty list is ascending). Cached with the statistics and recomputed with
  // them, once per change; drawing uses it to search the X list instead of
  // visiting every point.
  bool IsAscending();
  // How many values are not finite numbers (NaN, +Inf, -Inf); cached with
  // the statistics.
  int NonFiniteCount();
  // Changes whenever the statistics were recomputed or the values moved
  // within the list (Scroll), so that a cache built from the values (the
  // series' extent over its drawable points) knows when it is stale. Read
  // it after a statistic, which brings the cache up to date first.
  std::uint64_t StatsRevision() const { return IRevision; }
  // Recomputes the statistics in one pass (Count is first cut to the
  // storage length if it were ever larger).
  void RecalcStats();

  bool Modified() const { return FModified; }
  // Only on a change; becoming stale tells the owner NotifyValue(veModify, -1).
  void SetModified(bool AValue) {
    if (FModified != AValue) ChangeModified(AValue);
  }

  // The first index in 0..Count-1 (or FirstIndex..LastIndex, cut to the
  // list) whose value equals Value exactly, or -1.
  int Locate(double AValue) const { return Locate(AValue, 0, FCount - 1); }
  int Locate(double AValue, int FirstIndex, int LastIndex) const;

  // Swaps two values and tells the owner NotifyValue(veModify, Index1).
  void Exchange(int Index1, int Index2);
  // Every value := its index; tells the owner NotifyValue(veModify, 0).
  void FillSequence();
  // Rotates the values one place towards index 0; the first becomes last.
  void Scroll();
  // With an Order, sorts the whole series by this list (the owner's
  // SwapValueIndex moves every list; without owner only this list moves).
  void Sort();
  // Sort comparison of the values at two positions (see the .cpp).
  int CompareValueIndex(int a, int b) const;

  // The value at Index as the shortest text that reads back to the same
  // double, with the host's decimal separator.
  std::string ValueToString(int Index) const;

  bool DateTime() const { return FDateTime; }
  void SetDateTime(bool AValue) { FDateTime = AValue; }
  // Sets DateTime and its remembered default together.
  void InitDateTime(bool AValue) {
    FDateTime = AValue;
    IDefDateTime = AValue;
  }
  bool DefaultDateTime() const { return IDefDateTime; }

  const std::string& Name() const { return FName; }
  void SetName(const std::string& AValue) { FName = AValue; }
  TChartListOrder Order() const { return FOrder; }
  void SetOrder(TChartListOrder AValue);
  const std::string& ValueSource() const { return FValueSource; }
  void SetValueSource(const std::string& AValue) { FValueSource = AValue; }
  double TempValue() const { return FTempValue; }
  void SetTempValue(double AValue) { FTempValue = AValue; }
  IChartValueListOwner* Owner() const { return FOwner; }

  // Makes the storage length at least Length values (never shrinks).
  void Reserve(std::size_t Length) { FValue.reserve(Length); }
  // Current storage length (at least Count). Exposed for tests and
  // diagnostics; no behaviour depends on it.
  std::size_t Capacity() const { return FValue.capacity(); }

  // A reader of the values (a drawing index) that wants to hear which
  // values changed in place or moved; null when none. Not owned: the
  // reader unregisters before it goes.
  void SetChangeWatcher(TValueChanges* Watcher) { FWatcher = Watcher; }
  TValueChanges* ChangeWatcher() const { return FWatcher; }

  // Slot for an attached object and an internal flag; the engine does not
  // use them itself.
  void* IData = nullptr;
  bool Internal = false;

 protected:
  // Makes room for one more value at the back (grows the storage when
  // the back is full).
  void GrowForOne();
  // The same at the front, for inserting in the first half of the list.
  void GrowFront();
  // Inserts Value at Index (0..Count) without any check or notification.
  void InsertAt(int Index, double AValue) {
    if (Index == FCount) {  // appending: the common case
      if (FValue.back_room() == 0) GrowForOne();
      FValue.push_back_unchecked(AValue);
    } else {
      const auto at = static_cast<std::size_t>(Index);
      if (FValue.inserts_at_front(at)) {
        if (FValue.front_room() == 0) GrowFront();
      } else if (FValue.back_room() == 0) {
        GrowForOne();
      }
      FValue.insert_unchecked(at, AValue);
      Rewritten();
      if (FWatcher) FWatcher->Moved(Index);
    }
    ++FCount;
  }
  // Whether the value at Index is in order with its neighbours (a NaN
  // never is). With IInOrder set before a change at Index, checking the
  // changed places this way tells exactly whether it still holds.
  bool FitsOrder(int Index) const;
  // After the value at Index was inserted or written: IInOrder still holds
  // only when that value fits between its neighbours.
  void CheckOrderAt(int Index) {
    if (IInOrder && FOrder != loNone && !FitsOrder(Index)) IInOrder = false;
  }
  // Whether the whole list holds no NaN and follows Order (one pass).
  bool ComputeInOrder() const;
  [[noreturn]] void RaiseIndex(int Index) const;
  void ChangeModified(bool AValue);

  std::int32_t FCount = 0;
  bool FDateTime = false;
  double FMaxValue = 0;
  double FMinValue = 0;
  std::string FName;
  TChartListOrder FOrder = loNone;
  IChartValueListOwner* FOwner = nullptr;  // the series; not owned
  double FTempValue = 0;
  double FTotal = 0;
  double FTotalABS = 0;
  std::string FValueSource;
  bool IDefDateTime = false;
  bool FModified = true;
  bool IAscending = true;  // cached with the statistics
  // The values hold no NaN and follow Order (non-decreasing for
  // loAscending, non-increasing for loDescending), so that ordered
  // insertion can search for its place. Meaningful only with an Order; kept
  // exact by every change (a change that cannot tell cheaply clears it, and
  // the statistics pass sets it again).
  bool IInOrder = true;
  int INonFinite = 0;      // likewise
  std::uint64_t IRevision = 0;
  TChartValues FValue;  // the storage
  TValueChanges* FWatcher = nullptr;  // not owned
  // The state of the statistics pass after its last value, so that values
  // appended later continue it (IStatsAppendOnly: nothing else changed).
  struct TStatsPass {
    int Count = 0;
    bool First = true, Ascending = true, Descending = true, HasPrevious = false;
    int NonFinite = 0;
    double Min = 0, Max = 0, Total = 0, TotalAbs = 0, Previous = 0;
  };
  TStatsPass IStatsPass;
  bool IStatsAppendOnly = false;
  // A change other than appending: the next statistics pass starts over.
  void Rewritten() { IStatsAppendOnly = false; }
};

// Ordered insertion: the place is the one a scan down from the end finds,
// so appending values that are already in order costs one comparison each.
// Comparisons with NaN are "unordered": a value that cannot be compared
// with the last one is appended. When the list is known to be in order
// (IInOrder: no NaN), the values the scan would pass form a suffix, and a
// binary search finds the same place (after every value equal to Value)
// without walking the list.
inline int TChartValueList::AddOrderedValue(double Value) {
  int index = FCount;
  if (FOrder != loNone && FCount > 0) {
    const double* data = FValue.data();
    int t = FCount - 1;
    if (FOrder == loAscending) {
      // Append unless the last value is greater (last <= v or unordered).
      if (data[t] > Value) {
        if (IInOrder) {
          index = static_cast<int>(std::upper_bound(data, data + t, Value) - data);
        } else {
          while (t >= 0 && Value < data[t]) --t;
          index = t + 1;  // after every value equal to Value
        }
      }
    } else {
      // Append unless the last value is less (last >= v or unordered).
      if (data[t] < Value) {
        if (IInOrder) {
          index = static_cast<int>(std::upper_bound(data, data + t, Value, std::greater<double>()) - data);
        } else {
          while (t >= 0 && (Value > data[t] || std::isunordered(Value, data[t]))) --t;
          index = t + 1;
        }
      }
    }
  }
  // A NaN (always appended) ends the known order.
  if (std::isnan(Value)) IInOrder = false;
  InsertAt(index, Value);
  SetModified(true);
  return index;
}

inline void TChartValueList::InsertValueUnchecked(int ValueIndex, double Value) {
  InsertAt(ValueIndex, Value);
  CheckOrderAt(ValueIndex);
  SetModified(true);
}

// The owning, ordered list of a series' value lists: index 0 is X, index 1
// is Y, further series kinds append more.
class TChartValueLists {
 public:
  TChartValueLists() = default;
  TChartValueLists(const TChartValueLists&) = delete;
  TChartValueLists& operator=(const TChartValueLists&) = delete;

  // Takes ownership and returns the list.
  TChartValueList* Add(std::unique_ptr<TChartValueList> List);
  // The list at Index; raises ChartException outside 0..Count-1.
  TChartValueList* Get(int Index) const;
  TChartValueList* operator[](int Index) const { return Get(Index); }
  int Count() const { return static_cast<int>(FItems.size()); }
  int IndexOf(const TChartValueList* List) const;
  // Frees all lists.
  void Clear() {
    FItems.clear();
    FPlainXY = false;
  }
  // True when there are exactly two lists (X and Y) and both are of the
  // base list class, so that adding a point needs no virtual dispatch.
  bool PlainXY() const { return FPlainXY; }

  auto begin() const { return FItems.begin(); }
  auto end() const { return FItems.end(); }

 private:
  std::vector<std::unique_ptr<TChartValueList>> FItems;
  bool FPlainXY = false;
};

template <typename T, typename... Args>
T* TChartValueList::Create(IChartValueListOwner* AOwner, const std::string& AName, Args&&... args) {
  if (!AOwner) throw ChartException("Value list \"" + AName + "\" needs an owner");
  auto list = std::make_unique<T>(AOwner, AName, std::forward<Args>(args)...);
  T* result = list.get();
  AOwner->ValuesList().Add(std::move(list));
  result->ClearValues();
  return result;
}

}  // namespace sextant

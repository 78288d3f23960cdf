// Fuzz target: sequences of value-list operations on a two-list series (an
// X list with an order, a Y list without), checked after every step against
// a plain model of the same data in two std::vectors.
//
// Checks: equal counts and equal values (bit for bit, NaN equal to NaN);
// ordered insertion at the position the insertion rule gives (after the
// last value not above it, scanning from the end; the list finds it by
// binary search where it knows its values to be in order), which keeps an
// ordered list ordered; out-of-range indices raise ChartException with the exact
// message and change nothing; Sort keeps the points (X, Y pairs) together,
// orders the numbers and puts NaN last, and leaves an already sorted series
// as it is; the statistics of the finite values equal the model's (exactly while they were
// computed in the model's order, within rounding after a Scroll, which
// keeps them).
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstring>
#include <limits>
#include <string>
#include <vector>

#include "fuzz/fuzz_support.h"
#include "series/chart_value_list.h"

using namespace sextant;

namespace {

constexpr int kMaxCount = 3000;

class TFuzzSeries : public IChartValueListOwner {
 public:
  TFuzzSeries() {
    X = TChartValueList::Create(this, "X");
    Y = TChartValueList::Create(this, "Y");
  }
  void NotifyValue(TValueEvent, int) override {}
  void SwapValueIndex(int a, int b) override {
    ++Swaps;
    for (const auto& list : Lists) list->Exchange(a, b);
  }
  TChartValueLists& ValuesList() override { return Lists; }

  TChartValueLists Lists;
  TChartValueList* X = nullptr;
  TChartValueList* Y = nullptr;
  int Swaps = 0;
};

struct TModel {
  std::vector<double> X, Y;
  TChartListOrder Order = loNone;
  // Statistics of each list were last computed over the current order of
  // its values (false after a Scroll, which keeps the cached statistics).
  bool ExactStats[2] = {true, true};
};

double PickValue(TFuzzInput& in) {
  const std::uint8_t k = in.Byte();
  switch (k % 8) {
    case 0:
    case 1:
    case 2:
      return static_cast<int>(k / 8) - 16;  // small integers: many equal values
    case 3:
      return (static_cast<int>(in.Byte()) - 128) / 4.0;
    case 4: {
      static const double kSpecial[] = {std::numeric_limits<double>::quiet_NaN(),
                                        std::numeric_limits<double>::infinity(),
                                        -std::numeric_limits<double>::infinity(),
                                        -0.0,
                                        0.0,
                                        std::numeric_limits<double>::max(),
                                        -std::numeric_limits<double>::max(),
                                        std::numeric_limits<double>::denorm_min(),
                                        1e300,
                                        -1e300};
      return kSpecial[(k / 8) % std::size(kSpecial)];
    }
    case 5:
      return static_cast<double>(static_cast<std::int32_t>(in.U32())) / 1024.0;
    default:
      return in.RawDouble();
  }
}

std::string Show(const std::vector<double>& v) {
  std::string s;
  for (std::size_t i = 0; i < v.size() && i < 40; ++i) s += FuzzShow(v[i]) + " ";
  if (v.size() > 40) s += "...";
  return s;
}

void CheckList(const TChartValueList& list, const std::vector<double>& model, const char* step) {
  FUZZ_CHECK(list.Count() == static_cast<int>(model.size()),
             std::string(step) + ": " + list.Name() + " count " + std::to_string(list.Count()) + ", model " +
                 std::to_string(model.size()));
  FUZZ_CHECK(list.Capacity() >= static_cast<std::size_t>(list.Count()), step);
  const double* data = list.Data();
  for (std::size_t i = 0; i < model.size(); ++i)
    FUZZ_CHECK(std::memcmp(&data[i], &model[i], sizeof(double)) == 0 || FuzzSameDouble(data[i], model[i]),
               std::string(step) + ": " + list.Name() + "[" + std::to_string(i) + "] " + FuzzShow(data[i]) +
                   ", model " + FuzzShow(model[i]) + "\n  model: " + Show(model));
}

void CheckAll(const TFuzzSeries& s, const TModel& m, const char* step) {
  CheckList(*s.X, m.X, step);
  CheckList(*s.Y, m.Y, step);
}

std::string IndexMessage(int index, int last) {
  char buf[96];
  std::snprintf(buf, sizeof buf, "Value index %d out of bounds (0 to %d)", index, last);
  return buf;
}

// Runs Action, which must raise ChartException with exactly Message.
template <typename F>
void ExpectError(F action, const std::string& message, const char* step) {
  try {
    action();
  } catch (const ChartException& e) {
    FUZZ_CHECK(message == e.what(), std::string(step) + ": message \"" + e.what() + "\", expected \"" + message + "\"");
    return;
  }
  FUZZ_CHECK(false, std::string(step) + ": no exception, expected \"" + message + "\"");
}

// The insertion position of ordered insertion: append unless the last value
// is beyond v; otherwise scan down from the end past every value beyond v
// (for descending lists also past values v cannot be compared with).
int ModelAddIndex(const std::vector<double>& x, TChartListOrder order, double v) {
  const int n = static_cast<int>(x.size());
  if (order == loNone || n == 0) return n;
  int t = n - 1;
  if (order == loAscending) {
    if (!(x[t] > v)) return n;
    while (t >= 0 && v < x[t]) --t;
  } else {
    if (!(x[t] < v)) return n;
    while (t >= 0 && (v > x[t] || std::isunordered(v, x[t]))) --t;
  }
  return t + 1;
}

// Numbers in Order, every NaN after them.
bool IsSorted(const std::vector<double>& x, TChartListOrder order) {
  bool nanSeen = false;
  for (std::size_t i = 0; i < x.size(); ++i) {
    if (std::isnan(x[i])) {
      nanSeen = true;
      continue;
    }
    if (nanSeen) return false;
    if (i > 0 && (order == loAscending ? x[i] < x[i - 1] : x[i] > x[i - 1])) return false;
  }
  return true;
}

// The points as bit patterns, in a canonical order: equal multisets of
// points give equal results.
std::vector<std::pair<std::uint64_t, std::uint64_t>> PointBits(const std::vector<double>& x,
                                                                const std::vector<double>& y) {
  std::vector<std::pair<std::uint64_t, std::uint64_t>> p(x.size());
  for (std::size_t i = 0; i < x.size(); ++i) {
    std::memcpy(&p[i].first, &x[i], sizeof(double));
    std::memcpy(&p[i].second, &y[i], sizeof(double));
  }
  std::sort(p.begin(), p.end());
  return p;
}

// The statistics leave out every value that is not finite (NaN, +-Inf).
void CheckStats(TChartValueList& list, const std::vector<double>& model, bool exact) {
  double mn = 0, mx = 0, total = 0, totalAbs = 0;
  bool first = true;
  int nonFinite = 0;
  for (double v : model) {
    if (!std::isfinite(v)) {
      ++nonFinite;
      continue;
    }
    if (first) {
      mn = mx = total = v;
      totalAbs = std::fabs(v);
      first = false;
      continue;
    }
    mn = std::min(mn, v);
    mx = std::max(mx, v);
    total += v;
    totalAbs += std::fabs(v);
  }
  const std::string ctx = list.Name() + " of " + Show(model);
  FUZZ_CHECK(list.NonFiniteCount() == nonFinite, "NonFiniteCount " + std::to_string(list.NonFiniteCount()) +
                                                      ", model " + std::to_string(nonFinite) + ": " + ctx);
  const double lmin = list.MinValue();
  const double lmax = list.MaxValue();
  FUZZ_CHECK(lmin == mn, "MinValue " + FuzzShow(lmin) + ", model " + FuzzShow(mn) + ": " + ctx);
  FUZZ_CHECK(lmax == mx, "MaxValue " + FuzzShow(lmax) + ", model " + FuzzShow(mx) + ": " + ctx);
  FUZZ_CHECK(FuzzSameDouble(list.Range(), mx - mn), "Range: " + ctx);
  const double ltotal = list.Total();
  const double ltotalAbs = list.TotalABS();
  if (exact) {
    FUZZ_CHECK(FuzzSameDouble(ltotal, total), "Total " + FuzzShow(ltotal) + ", model " + FuzzShow(total) + ": " + ctx);
    FUZZ_CHECK(FuzzSameDouble(ltotalAbs, totalAbs),
               "TotalABS " + FuzzShow(ltotalAbs) + ", model " + FuzzShow(totalAbs) + ": " + ctx);
  } else if (totalAbs < 1e300) {
    // Summed in another order: equal within rounding (no partial sum can overflow).
    const double tolerance = totalAbs * 1e-12 * static_cast<double>(model.size() + 1);
    FUZZ_CHECK(std::fabs(ltotal - total) <= tolerance, "Total after Scroll " + FuzzShow(ltotal) + ", model " +
                                                            FuzzShow(total) + ": " + ctx);
    FUZZ_CHECK(std::fabs(ltotalAbs - totalAbs) <= tolerance, "TotalABS after Scroll: " + ctx);
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
  TFuzzInput in(Data, Size);
  static const std::int32_t kCapacities[] = {1000, 1, 2, 3, 7, 64, 0, -5};
  const std::int32_t savedCapacity = KelDefaultCapacity;
  KelDefaultCapacity = kCapacities[in.Byte() % std::size(kCapacities)];

  TFuzzSeries s;
  TModel m;
  m.Order = static_cast<TChartListOrder>(in.Byte() % 3);
  s.X->SetOrder(m.Order);

  for (int step = 0; step < 2000 && !in.Empty(); ++step) {
    const int n = static_cast<int>(m.X.size());
    const std::uint8_t op = in.Byte() % 14;
    const bool onX = in.Byte() & 1;
    TChartValueList* list = onX ? s.X : s.Y;
    std::vector<double>& ml = onX ? m.X : m.Y;
    const char* name = "";
    switch (op) {
      case 0:
      case 1: {  // add a point, ordered by X
        name = "AddXY";
        if (n >= kMaxCount) break;
        const double x = PickValue(in);
        const double y = PickValue(in);
        const bool sortedBefore = m.Order != loNone && IsSorted(m.X, m.Order) &&
                                  std::none_of(m.X.begin(), m.X.end(), [](double v) { return std::isnan(v); });
        const int index = s.X->AddChartValue(x);
        const int expected = ModelAddIndex(m.X, m.Order, x);
        FUZZ_CHECK(index == expected, "AddChartValue(" + FuzzShow(x) + ") at " + std::to_string(index) +
                                          ", expected " + std::to_string(expected) + " in " + Show(m.X));
        s.Y->InsertChartValue(index, y);
        m.X.insert(m.X.begin() + index, x);
        m.Y.insert(m.Y.begin() + index, y);
        if (sortedBefore && !std::isnan(x))
          FUZZ_CHECK(IsSorted(m.X, m.Order), "ordered insertion keeps the order: " + Show(m.X));
        m.ExactStats[0] = m.ExactStats[1] = true;
        break;
      }
      case 2: {  // insert at an index, maybe out of range
        name = "InsertChartValue";
        if (n >= kMaxCount) break;
        const int index = in.SmallIn(0, 255) % (n + 4) - 2;
        const double x = PickValue(in);
        const double y = PickValue(in);
        if (index < 0 || index > n) {
          ExpectError([&] { s.X->InsertChartValue(index, x); }, IndexMessage(index, n), name);
          ExpectError([&] { s.Y->InsertChartValue(index, y); }, IndexMessage(index, n), name);
        } else {
          s.X->InsertChartValue(index, x);
          s.Y->InsertChartValue(index, y);
          m.X.insert(m.X.begin() + index, x);
          m.Y.insert(m.Y.begin() + index, y);
          m.ExactStats[0] = m.ExactStats[1] = true;
        }
        break;
      }
      case 3: {  // delete one point
        name = "Delete";
        const int index = in.IntIn(-2, n + 1);
        if (index < 0 || index >= n) {
          ExpectError([&] { s.X->Delete(index); }, IndexMessage(index, n - 1), name);
        } else {
          s.X->Delete(index);
          s.Y->Delete(index);
          m.X.erase(m.X.begin() + index);
          m.Y.erase(m.Y.begin() + index);
          m.ExactStats[0] = m.ExactStats[1] = true;
        }
        break;
      }
      case 4: {  // delete a range
        name = "Delete range";
        const int start = in.IntIn(-2, n + 1);
        const int quantity = in.IntIn(-1, n + 2);
        if (quantity <= 0) {
          s.X->Delete(start, quantity);
          s.Y->Delete(start, quantity);
        } else if (start < 0 || start >= n) {
          ExpectError([&] { s.Y->Delete(start, quantity); }, IndexMessage(start, n - 1), name);
        } else {
          s.X->Delete(start, quantity);
          s.Y->Delete(start, quantity);
          const int cut = std::min(quantity, n - start);
          m.X.erase(m.X.begin() + start, m.X.begin() + start + cut);
          m.Y.erase(m.Y.begin() + start, m.Y.begin() + start + cut);
          m.ExactStats[0] = m.ExactStats[1] = true;
        }
        break;
      }
      case 5: {  // exchange two values of one list
        name = "Exchange";
        const int a = in.IntIn(-1, n);
        const int b = in.IntIn(-1, n);
        if (a < 0 || a >= n) {
          ExpectError([&] { list->Exchange(a, b); }, IndexMessage(a, n - 1), name);
        } else if (b < 0 || b >= n) {
          ExpectError([&] { list->Exchange(a, b); }, IndexMessage(b, n - 1), name);
        } else {
          list->Exchange(a, b);
          std::swap(ml[static_cast<std::size_t>(a)], ml[static_cast<std::size_t>(b)]);
          m.ExactStats[onX ? 0 : 1] = true;
        }
        break;
      }
      case 6: {  // sort the series by X
        name = "Sort";
        const auto before = PointBits(m.X, m.Y);
        const bool alreadySorted = m.Order != loNone && IsSorted(m.X, m.Order);
        const std::vector<double> oldX = m.X, oldY = m.Y;
        s.Swaps = 0;
        s.X->Sort();
        m.X.assign(s.X->Data(), s.X->Data() + s.X->Count());
        m.Y.assign(s.Y->Data(), s.Y->Data() + s.Y->Count());
        FUZZ_CHECK(PointBits(m.X, m.Y) == before, "Sort keeps every point: " + Show(oldX) + " -> " + Show(m.X));
        if (m.Order == loNone) {
          FUZZ_CHECK(s.Swaps == 0, "Sort without an order does nothing");
        } else {
          FUZZ_CHECK(IsSorted(m.X, m.Order), "Sort orders the list: " + Show(oldX) + " -> " + Show(m.X));
          if (alreadySorted)
            CheckList(*s.X, oldX, "Sort of a sorted series moves nothing"), CheckList(*s.Y, oldY, "Sort");
        }
        if (s.Swaps > 0) m.ExactStats[0] = m.ExactStats[1] = true;
        break;
      }
      case 7: {  // rotate one list by one place
        name = "Scroll";
        list->Scroll();
        if (ml.size() >= 2) {
          std::rotate(ml.begin(), ml.begin() + 1, ml.end());
          m.ExactStats[onX ? 0 : 1] = false;
        }
        break;
      }
      case 8: {  // write one value
        name = "SetValue";
        const int index = in.IntIn(-1, n);
        const double v = PickValue(in);
        if (index < 0 || index >= n) {
          ExpectError([&] { list->SetValue(index, v); }, IndexMessage(index, n - 1), name);
          ExpectError([&] { (void)list->Value(index); }, IndexMessage(index, n - 1), name);
        } else {
          list->SetValue(index, v);
          ml[static_cast<std::size_t>(index)] = v;
          FUZZ_CHECK(FuzzSameDouble(list->Value(index), v), "Value reads back");
          m.ExactStats[onX ? 0 : 1] = true;
        }
        break;
      }
      case 9:  // clear both lists
        name = "ClearValues";
        if ((in.Byte() & 7) != 0) break;  // keep the lists long most of the time
        s.X->ClearValues();
        s.Y->ClearValues();
        m.X.clear();
        m.Y.clear();
        m.ExactStats[0] = m.ExactStats[1] = true;
        break;
      case 10:  // 0, 1, 2 ... in one list
        name = "FillSequence";
        list->FillSequence();
        for (std::size_t i = 0; i < ml.size(); ++i) ml[i] = static_cast<double>(i);
        m.ExactStats[onX ? 0 : 1] = true;
        break;
      case 11:  // statistics
        name = "statistics";
        CheckStats(*list, ml, m.ExactStats[onX ? 0 : 1]);
        break;
      case 12: {  // locate a value in a range
        name = "Locate";
        const double v = (n > 0 && (in.Byte() & 1)) ? ml[static_cast<std::size_t>(in.IntIn(0, n - 1))] : PickValue(in);
        const int first = in.IntIn(-2, n + 1);
        const int last = in.IntIn(-2, n + 1);
        int expected = -1;
        for (int i = std::max(first, 0); i <= std::min(last, n - 1); ++i)
          if (ml[static_cast<std::size_t>(i)] == v) {
            expected = i;
            break;
          }
        FUZZ_CHECK(list->Locate(v, first, last) == expected, "Locate " + FuzzShow(v));
        int whole = -1;
        for (int i = 0; i < n; ++i)
          if (ml[static_cast<std::size_t>(i)] == v) {
            whole = i;
            break;
          }
        FUZZ_CHECK(list->Locate(v) == whole, "Locate " + FuzzShow(v) + " in the whole list");
        break;
      }
      default:  // another order for X (the values stay where they are)
        name = "SetOrder";
        m.Order = static_cast<TChartListOrder>(in.Byte() % 3);
        s.X->SetOrder(m.Order);
        break;
    }
    CheckAll(s, m, name);
  }
  // The statistics of what is left.
  CheckStats(*s.X, m.X, m.ExactStats[0]);
  CheckStats(*s.Y, m.Y, m.ExactStats[1]);
  KelDefaultCapacity = savedCapacity;
  return 0;
}

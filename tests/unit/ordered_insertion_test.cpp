// Ordered insertion finds its place by binary search where the list knows
// its values to be in order, and the storage keeps room at both ends so
// that prepending moves nothing. These tests hold both to the scan from the
// end (the rule the place is defined by) and to a plain vector model, over
// long random sequences of every operation that can change the order.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "series/chart_value_list.h"
#include "series/fast_line_series.h"
#include "series/value_storage.h"

namespace sextant::testing {
namespace {

const double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kInf = std::numeric_limits<double>::infinity();

class TTwoLists : public IChartValueListOwner {
 public:
  TTwoLists() {
    X = TChartValueList::Create(this, "X");
    Y = TChartValueList::Create(this, "Y");
  }
  void NotifyValue(TValueEvent, int) override {}
  void SwapValueIndex(int a, int b) override {
    for (const auto& list : Lists) list->Exchange(a, b);
  }
  TChartValueLists& ValuesList() override { return Lists; }
  TChartValueLists Lists;
  TChartValueList* X = nullptr;
  TChartValueList* Y = nullptr;
};

// The place the scan from the end gives, written out on its own.
int ScanIndex(const std::vector<double>& x, TChartListOrder order, double v) {
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

bool SameBits(const double* a, const std::vector<double>& b) {
  return b.empty() || std::memcmp(a, b.data(), b.size() * sizeof(double)) == 0;
}

// Values with many ties, both infinities and now and then a NaN.
double PickValue(std::mt19937& rng, int nanPercent) {
  const int r = static_cast<int>(rng() % 100);
  if (r < nanPercent) return kNaN;
  if (r < nanPercent + 2) return kInf;
  if (r < nanPercent + 4) return -kInf;
  if (r < 50) return static_cast<double>(rng() % 20);  // ties
  return static_cast<double>(rng() % 100000) / 7.0;
}

struct TSequence {
  const char* Name;
  TChartListOrder Order;
  int NaNPercent;
  int OtherOpsPercent;  // share of operations other than adding
  unsigned Seed;
};

TEST(OrderedInsertion, PlaceEqualsTheScanFromTheEndUnderEveryChange) {
  const std::vector<TSequence> sequences = {
      {"ascending, adds only", loAscending, 0, 0, 1},
      {"descending, adds only", loDescending, 0, 0, 2},
      {"ascending with NaN", loAscending, 1, 0, 3},
      {"descending with NaN", loDescending, 1, 0, 4},
      {"ascending, every operation", loAscending, 0, 25, 5},
      {"descending, every operation", loDescending, 0, 25, 6},
      {"ascending, every operation and NaN", loAscending, 1, 25, 7},
      {"descending, every operation and NaN", loDescending, 1, 25, 8},
  };
  for (const TSequence& seq : sequences) {
    SCOPED_TRACE(seq.Name);
    TTwoLists lists;
    lists.X->SetOrder(seq.Order);
    std::vector<double> mx, my;
    TChartListOrder order = seq.Order;
    std::mt19937 rng(seq.Seed);
    for (int step = 0; step < 6000; ++step) {
      const int n = static_cast<int>(mx.size());
      const bool other = static_cast<int>(rng() % 100) < seq.OtherOpsPercent && n > 2;
      if (!other) {
        const double x = PickValue(rng, seq.NaNPercent);
        const double y = step;
        const int expected = ScanIndex(mx, order, x);
        const int index = lists.X->AddChartValue(x);
        ASSERT_EQ(index, expected) << "step " << step << ", value " << x;
        lists.Y->InsertChartValue(index, y);
        mx.insert(mx.begin() + index, x);
        my.insert(my.begin() + index, y);
      } else {
        const int i = static_cast<int>(rng() % static_cast<unsigned>(n));
        const int j = static_cast<int>(rng() % static_cast<unsigned>(n));
        switch (rng() % 11) {
          case 0:  // a value written in place, in or out of order
            lists.X->SetValue(i, mx[static_cast<std::size_t>(j)] + (rng() % 3 == 0 ? 0.5 : 0));
            mx[static_cast<std::size_t>(i)] = lists.X->Value(i);
            break;
          case 1:  // inserted at a place of the caller's choosing
            lists.X->InsertChartValue(i, PickValue(rng, seq.NaNPercent));
            lists.Y->InsertChartValue(i, -1);
            mx.insert(mx.begin() + i, lists.X->Value(i));
            my.insert(my.begin() + i, -1);
            break;
          case 2:
            lists.X->Exchange(i, j);
            std::swap(mx[static_cast<std::size_t>(i)], mx[static_cast<std::size_t>(j)]);
            break;
          case 3: {
            const int quantity = 1 + static_cast<int>(rng() % 4);
            lists.X->Delete(i, quantity);
            lists.Y->Delete(i, quantity);
            const int cut = std::min(quantity, n - i);
            mx.erase(mx.begin() + i, mx.begin() + i + cut);
            my.erase(my.begin() + i, my.begin() + i + cut);
            break;
          }
          case 4:
            lists.X->Scroll();
            std::rotate(mx.begin(), mx.begin() + 1, mx.end());
            break;
          case 5:
            lists.X->Sort();
            mx.assign(lists.X->Data(), lists.X->Data() + lists.X->Count());
            my.assign(lists.Y->Data(), lists.Y->Data() + lists.Y->Count());
            break;
          case 6:  // the statistics pass, which knows the order exactly
            (void)lists.X->MaxValue();
            break;
          case 7:
            order = static_cast<TChartListOrder>(rng() % 3);
            lists.X->SetOrder(order);
            break;
          case 8:
            if (rng() % 8 == 0) {
              lists.X->FillSequence();
              for (std::size_t k = 0; k < mx.size(); ++k) mx[k] = static_cast<double>(k);
            }
            break;
          case 9:
            if (rng() % 16 == 0) {
              lists.X->ClearValues();
              lists.Y->ClearValues();
              mx.clear();
              my.clear();
            }
            break;
          default:  // the order the sequence started with, back again
            order = seq.Order;
            lists.X->SetOrder(order);
            break;
        }
      }
      ASSERT_EQ(lists.X->Count(), static_cast<int>(mx.size())) << "step " << step;
      ASSERT_TRUE(SameBits(lists.X->Data(), mx)) << "step " << step;
      ASSERT_TRUE(SameBits(lists.Y->Data(), my)) << "step " << step;
    }
  }
}

// Equal values: a new value goes after every value equal to it, in both
// orders and wherever the run of equal values lies.
TEST(OrderedInsertion, EqualValuesGoAfterTheirRun) {
  struct Case {
    const char* Name;
    TChartListOrder Order;
    std::vector<double> Values;
    double Added;
    int Index;
  };
  const std::vector<Case> cases = {
      {"ascending, run in the middle", loAscending, {1, 2, 2, 2, 5, 9}, 2, 4},
      {"ascending, run at the start", loAscending, {3, 3, 3, 4, 8}, 3, 3},
      {"ascending, below everything", loAscending, {3, 3, 4}, -1, 0},
      {"ascending, minus infinity", loAscending, {-kInf, -kInf, 0, 1}, -kInf, 2},
      {"descending, run in the middle", loDescending, {9, 5, 5, 5, 2, 1}, 5, 4},
      {"descending, run at the start", loDescending, {7, 7, 3}, 7, 2},
      {"descending, above everything", loDescending, {7, 7, 3}, 8, 0},
      {"descending, infinity", loDescending, {kInf, kInf, 0}, kInf, 2},
  };
  for (const Case& c : cases) {
    TTwoLists lists;
    lists.X->SetOrder(c.Order);
    for (double v : c.Values) lists.X->AddChartValue(v);
    ASSERT_TRUE(SameBits(lists.X->Data(), c.Values)) << c.Name;
    EXPECT_EQ(lists.X->AddChartValue(c.Added), c.Index) << c.Name;
    EXPECT_EQ(ScanIndex(c.Values, c.Order, c.Added), c.Index) << c.Name << " (the scan agrees)";
  }
}

// A series filled in descending and in random X order holds the same
// points as one filled in ascending order, each Y with its X.
TEST(OrderedInsertion, SeriesFilledInAnyOrderHoldsTheSamePoints) {
  constexpr int kCount = 5000;
  std::vector<int> ascending(kCount), descending(kCount), shuffled(kCount);
  for (int i = 0; i < kCount; ++i) ascending[i] = descending[kCount - 1 - i] = shuffled[i] = i;
  std::mt19937 rng(99);
  std::shuffle(shuffled.begin(), shuffled.end(), rng);
  TFastLineSeries reference;
  for (int x : ascending) reference.AddXY(x, x * 0.5);
  for (const auto* order : {&descending, &shuffled}) {
    TFastLineSeries s;
    for (int x : *order) s.AddXY(x, x * 0.5);
    ASSERT_EQ(s.Count(), kCount);
    EXPECT_EQ(std::memcmp(s.XValues()->Data(), reference.XValues()->Data(), kCount * sizeof(double)), 0);
    EXPECT_EQ(std::memcmp(s.YValues()->Data(), reference.YValues()->Data(), kCount * sizeof(double)), 0);
  }
}

// ---- The storage ----------------------------------------------------------------

// Inserting and erasing anywhere, with whichever side moves, keeps the
// values of a plain vector; the block never shrinks.
TEST(ValueStorage, InsertAndEraseAnywhereKeepTheValues) {
  TValueStorage storage;
  std::vector<double> model;
  std::mt19937 rng(5);
  for (int step = 0; step < 20000; ++step) {
    const std::size_t n = model.size();
    if (n == 0 || rng() % 3 != 0) {
      // Biased towards both ends, where the rooms matter.
      const unsigned r = rng() % 4;
      const std::size_t index = r == 0 ? 0 : r == 1 ? n : static_cast<std::size_t>(rng() % (n + 1));
      const double v = static_cast<double>(step);
      if (index == n) {
        if (storage.back_room() == 0) storage.reserve(n + 1 + n / 2);
        storage.push_back_unchecked(v);
      } else {
        if (storage.inserts_at_front(index)) {
          if (storage.front_room() == 0) storage.reserve_front(1 + n / 2);
        } else if (storage.back_room() == 0) {
          storage.reserve(n + 1 + n / 2);
        }
        storage.insert_unchecked(index, v);
      }
      model.insert(model.begin() + static_cast<std::ptrdiff_t>(index), v);
    } else {
      const std::size_t first = rng() % n;
      const std::size_t last = std::min(n, first + 1 + rng() % 3);
      const std::size_t before = storage.capacity();
      storage.erase(first, last);
      EXPECT_EQ(storage.capacity(), before);
      model.erase(model.begin() + static_cast<std::ptrdiff_t>(first), model.begin() + static_cast<std::ptrdiff_t>(last));
    }
    ASSERT_EQ(storage.size(), model.size()) << "step " << step;
    ASSERT_EQ(storage.front_room() + storage.size() + storage.back_room(), storage.capacity());
    ASSERT_TRUE(SameBits(storage.data(), model)) << "step " << step;
  }
  storage.release();
  EXPECT_EQ(storage.size(), 0u);
  EXPECT_EQ(storage.capacity(), 0u);
}

// Prepending through a value list moves the values already there only
// when the front room is used up, and that room grows with the list: a
// hundred thousand prepends move the block a handful of times.
TEST(ValueStorage, PrependingMovesTheValuesOnlyWhenTheFrontRoomGrows) {
  TTwoLists lists;
  lists.X->SetOrder(loDescending);  // every larger value goes first
  int moves = 0;
  const double* previousFirst = nullptr;
  for (int i = 0; i < 100000; ++i) {
    ASSERT_EQ(lists.X->AddChartValue(i), 0);
    const double* first = lists.X->Data();
    // In place, the old first value now sits right after the new one.
    if (previousFirst && first + 1 != previousFirst) ++moves;
    previousFirst = first;
  }
  EXPECT_LT(moves, 20);
  EXPECT_EQ(lists.X->First(), 99999);
  EXPECT_EQ(lists.X->Last(), 0);
  // Deleting at the front moves nothing either: the values stay in place.
  const double* second = lists.X->Data() + 1;
  lists.X->Delete(0);
  EXPECT_EQ(lists.X->Data(), second);
  EXPECT_EQ(lists.X->First(), 99998);
}

}  // namespace
}  // namespace sextant::testing

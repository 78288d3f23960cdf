#include "series/chart_value_list.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <set>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "series/kel_sort.h"

using namespace sextant;

namespace {

constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();
constexpr double kInf = std::numeric_limits<double>::infinity();

// A minimal series: an ascending X list and an unordered Y list, counting
// notifications and swapping every list on SwapValueIndex.
class TestSeries : public IChartValueListOwner {
 public:
  TestSeries() {
    X = TChartValueList::Create(this, "X");
    X->SetOrder(loAscending);
    Y = TChartValueList::Create(this, "Y");
  }
  void NotifyValue(TValueEvent e, int index) override { events.emplace_back(e, index); }
  void SwapValueIndex(int a, int b) override {
    ++swaps;
    for (const auto& list : lists) list->Exchange(a, b);
  }
  TChartValueLists& ValuesList() override { return lists; }

  int AddXY(double x, double y) {
    const int index = X->AddChartValue(x);
    Y->InsertChartValue(index, y);
    return index;
  }

  TChartValueLists lists;
  TChartValueList* X = nullptr;
  TChartValueList* Y = nullptr;
  std::vector<std::pair<TValueEvent, int>> events;
  int swaps = 0;
};

std::vector<double> Values(const TChartValueList& list) {
  return std::vector<double>(list.Data(), list.Data() + list.Count());
}

// Equality that treats NaN as equal to NaN.
bool SameValues(const std::vector<double>& a, const std::vector<double>& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (!(a[i] == b[i] || (std::isnan(a[i]) && std::isnan(b[i])))) return false;
  return true;
}

std::string Show(const std::vector<double>& v) {
  std::string s;
  for (double d : v) s += std::to_string(d) + " ";
  return s;
}

// Runs Action, expecting a ChartException with exactly Message.
template <typename F>
void ExpectChartError(F action, const std::string& message) {
  try {
    action();
    ADD_FAILURE() << "no exception, expected: " << message;
  } catch (const ChartException& e) {
    EXPECT_EQ(std::string(e.what()), message);
  }
}

// Restores the global growth step after a test changes it.
struct CapacityGuard {
  std::int32_t saved = KelDefaultCapacity;
  ~CapacityGuard() { KelDefaultCapacity = saved; }
};

}  // namespace

// ---- Creation ---------------------------------------------------------------

TEST(ChartValueList, CreateRegistersInTheOwnersLists) {
  TestSeries s;
  ASSERT_EQ(s.lists.Count(), 2);
  EXPECT_EQ(s.lists.Get(0), s.X);
  EXPECT_EQ(s.lists[1], s.Y);
  EXPECT_EQ(s.lists.IndexOf(s.Y), 1);
  EXPECT_EQ(s.X->Name(), "X");
  EXPECT_EQ(s.X->Owner(), &s);
  EXPECT_EQ(s.X->Count(), 0);
  EXPECT_TRUE(s.X->Modified());
  EXPECT_EQ(s.Y->Order(), loNone);
  EXPECT_TRUE(s.events.empty());
  ExpectChartError([&] { s.lists.Get(2); }, "Value list index 2 out of bounds (0 to 1)");
  ExpectChartError([] { TChartValueList::Create(nullptr, "Z"); }, "Value list \"Z\" needs an owner");
}

// ---- Ordered insertion ------------------------------------------------------

TEST(ChartValueList, OrderedInsertion) {
  struct Case {
    const char* name;
    TChartListOrder order;
    std::vector<double> added;
    std::vector<int> indices;
    std::vector<double> stored;
  };
  const Case cases[] = {
      {"ascending 3 1 2", loAscending, {3, 1, 2}, {0, 0, 1}, {1, 2, 3}},
      {"ascending in order", loAscending, {1, 2, 3, 4}, {0, 1, 2, 3}, {1, 2, 3, 4}},
      {"ascending equal goes after", loAscending, {1, 3, 2, 2, 1}, {0, 1, 1, 2, 1}, {1, 1, 2, 2, 3}},
      {"descending 1 3 2", loDescending, {1, 3, 2}, {0, 0, 1}, {3, 2, 1}},
      {"descending equal goes after", loDescending, {3, 1, 2, 2}, {0, 1, 1, 2}, {3, 2, 2, 1}},
      {"none keeps arrival order", loNone, {3, 1, 2}, {0, 1, 2}, {3, 1, 2}},
      // NaN: a value unordered with the last one is appended; an ascending
      // scan stops at a NaN, a descending scan passes over it.
      {"ascending NaN appended", loAscending, {1, 3, kNaN, 2}, {0, 1, 2, 3}, {1, 3, kNaN, 2}},
      {"ascending scan stops at NaN", loAscending, {1, kNaN, 3, 2}, {0, 1, 2, 2}, {1, kNaN, 2, 3}},
      {"descending scan passes NaN", loDescending, {5, kNaN, 1, 3}, {0, 1, 2, 1}, {5, 3, kNaN, 1}},
      {"ascending infinities", loAscending, {kInf, 0, -kInf}, {0, 0, 0}, {-kInf, 0, kInf}},
  };
  for (const auto& c : cases) {
    TestSeries s;
    s.X->SetOrder(c.order);
    std::vector<int> indices;
    for (double v : c.added) indices.push_back(s.X->AddChartValue(v));
    EXPECT_EQ(indices, c.indices) << c.name;
    EXPECT_TRUE(SameValues(Values(*s.X), c.stored)) << c.name << ": " << Show(Values(*s.X));
  }
}

TEST(ChartValueList, EqualValueGoesAfterExistingOnes) {
  TestSeries s;
  s.AddXY(1, 10);
  s.AddXY(2, 20);
  s.AddXY(3, 30);
  EXPECT_EQ(s.AddXY(2, 21), 2);
  EXPECT_EQ(s.AddXY(2, 22), 3);
  EXPECT_EQ(Values(*s.Y), (std::vector<double>{10, 20, 21, 22, 30}));
}

TEST(ChartValueList, AddChartValueUsesTempValue) {
  TestSeries s;
  s.X->SetTempValue(7);
  EXPECT_EQ(s.X->AddChartValue(), 0);
  EXPECT_EQ(s.X->AddChartValue(5), 0);
  EXPECT_EQ(s.X->TempValue(), 5);
  EXPECT_EQ(Values(*s.X), (std::vector<double>{5, 7}));
}

TEST(ChartValueList, InsertChartValueShiftsTheTail) {
  TestSeries s;
  for (double v : {1, 2, 3}) s.Y->AddChartValue(v);
  s.Y->InsertChartValue(0, 0);
  s.Y->InsertChartValue(4, 9);
  s.Y->InsertChartValue(2, 5);
  EXPECT_EQ(Values(*s.Y), (std::vector<double>{0, 1, 5, 2, 3, 9}));
  ExpectChartError([&] { s.Y->InsertChartValue(7, 1); }, "Value index 7 out of bounds (0 to 6)");
  ExpectChartError([&] { s.Y->InsertChartValue(-1, 1); }, "Value index -1 out of bounds (0 to 6)");
  EXPECT_EQ(s.Y->Count(), 6);
}

// ---- Storage ----------------------------------------------------------------

TEST(ChartValueList, StorageGrowsInBlocksThenGeometrically) {
  CapacityGuard guard;
  TestSeries s;
  EXPECT_EQ(s.Y->Capacity(), 0u);
  s.Y->AddChartValue(0);
  EXPECT_EQ(s.Y->Capacity(), 1000u);
  for (int i = 1; i < 1000; ++i) s.Y->AddChartValue(i);
  EXPECT_EQ(s.Y->Capacity(), 1000u);
  s.Y->AddChartValue(1000);
  EXPECT_EQ(s.Y->Capacity(), 2000u);

  // A million appends reallocate a handful of times, not a thousand.
  std::set<std::size_t> capacities;
  for (int i = 1001; i < 1000000; ++i) {
    s.Y->AddChartValue(i);
    capacities.insert(s.Y->Capacity());
  }
  EXPECT_LT(capacities.size(), 15u);
  ASSERT_EQ(s.Y->Count(), 1000000);
  EXPECT_LE(s.Y->Capacity(), 2100000u);
  for (int i : {0, 1, 999, 1000, 123456, 999999}) EXPECT_EQ(s.Y->Value(i), i);

  s.Y->ClearValues();
  EXPECT_EQ(s.Y->Count(), 0);
  EXPECT_EQ(s.Y->Capacity(), 0u);
}

TEST(ChartValueList, GrowthStepFollowsTheGlobalAndSurvivesANonPositiveOne) {
  CapacityGuard guard;
  KelDefaultCapacity = 3;
  TestSeries s;
  s.Y->AddChartValue(1);
  EXPECT_EQ(s.Y->Capacity(), 3u);
  KelDefaultCapacity = 0;
  for (int i = 0; i < 10; ++i) s.Y->AddChartValue(i);
  EXPECT_EQ(s.Y->Count(), 11);
  EXPECT_GE(s.Y->Capacity(), 11u);
  EXPECT_EQ(s.Y->Last(), 9);
}

TEST(ChartValueList, ClearValuesEmptiesWithoutNotification) {
  TestSeries s;
  for (double v : {1, 2, 3}) s.X->AddChartValue(v);
  s.X->MaxValue();
  s.events.clear();
  s.X->ClearValues();
  EXPECT_EQ(s.X->Count(), 0);
  EXPECT_TRUE(s.X->Modified());
  EXPECT_TRUE(s.events.empty());
  EXPECT_EQ(s.X->MaxValue(), 0);
}

// ---- Range-checked access ---------------------------------------------------

TEST(ChartValueList, OutOfRangeAccessRaisesAndChangesNothing) {
  TestSeries s;
  for (double v : {1, 2, 3}) s.X->AddChartValue(v);
  s.X->MaxValue();
  s.events.clear();
  const auto before = Values(*s.X);

  struct Case {
    const char* name;
    std::function<void(TChartValueList&)> action;
    const char* message;
  };
  const Case cases[] = {
      {"read -1", [](TChartValueList& l) { l.Value(-1); }, "Value index -1 out of bounds (0 to 2)"},
      {"read Count", [](TChartValueList& l) { l.Value(3); }, "Value index 3 out of bounds (0 to 2)"},
      {"Items", [](TChartValueList& l) { l.Items(1000000); }, "Value index 1000000 out of bounds (0 to 2)"},
      {"write", [](TChartValueList& l) { l.SetValue(3, 9); }, "Value index 3 out of bounds (0 to 2)"},
      {"SetItems", [](TChartValueList& l) { l.SetItems(-5, 9); }, "Value index -5 out of bounds (0 to 2)"},
      {"Exchange", [](TChartValueList& l) { l.Exchange(0, 3); }, "Value index 3 out of bounds (0 to 2)"},
      {"Delete", [](TChartValueList& l) { l.Delete(3); }, "Value index 3 out of bounds (0 to 2)"},
      {"Delete range", [](TChartValueList& l) { l.Delete(-1, 2); }, "Value index -1 out of bounds (0 to 2)"},
      {"Compare", [](TChartValueList& l) { l.CompareValueIndex(0, 7); }, "Value index 7 out of bounds (0 to 2)"},
      {"ValueToString", [](TChartValueList& l) { l.ValueToString(3); }, "Value index 3 out of bounds (0 to 2)"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ExpectChartError([&] { c.action(*s.X); }, c.message);
    EXPECT_EQ(Values(*s.X), before);
    EXPECT_FALSE(s.X->Modified());
    EXPECT_TRUE(s.events.empty());
  }

  TChartValueList empty(nullptr, "E");
  ExpectChartError([&] { empty.First(); }, "Value index 0 out of bounds (0 to -1)");
  ExpectChartError([&] { empty.Last(); }, "Value index -1 out of bounds (0 to -1)");
}

TEST(ChartValueList, ReadsAndWrites) {
  TestSeries s;
  for (double v : {4, 5, 6}) s.Y->AddChartValue(v);
  EXPECT_EQ(s.Y->First(), 4);
  EXPECT_EQ(s.Y->Last(), 6);
  EXPECT_EQ(s.Y->Items(1), 5);
  EXPECT_EQ(s.Y->Data()[2], 6);
  s.Y->MaxValue();
  s.events.clear();
  s.Y->SetValue(1, 50);
  EXPECT_EQ(s.Y->Value(1), 50);
  EXPECT_TRUE(s.Y->Modified());
  EXPECT_EQ(s.Y->MaxValue(), 50);
  s.Y->SetItems(0, -1);
  EXPECT_EQ(s.Y->MinValue(), -1);
  const std::vector<std::pair<TValueEvent, int>> expected{{veModify, 1}, {veModify, 0}};
  EXPECT_EQ(s.events, expected);
}

// ---- Statistics -------------------------------------------------------------

TEST(ChartValueList, Statistics) {
  struct Case {
    const char* name;
    std::vector<double> values;
    double min, max, total, totalAbs;
  };
  const Case cases[] = {
      {"empty", {}, 0, 0, 0, 0},
      {"one", {-2.5}, -2.5, -2.5, -2.5, 2.5},
      {"mixed", {3, -1, 2}, -1, 3, 4, 6},
      {"rising", {1, 5, 9}, 1, 9, 15, 15},
      {"falling", {9, 5, 1}, 1, 9, 15, 15},
      {"NaN first is skipped", {kNaN, 2, -5, kNaN, 4}, -5, 4, 1, 11},
      {"NaN last is skipped", {2, -5, 4, kNaN}, -5, 4, 1, 11},
      {"only NaN", {kNaN, kNaN}, 0, 0, 0, 0},
      // Infinities are no finite numbers either: skipped like NaN.
      {"infinity is skipped", {1, kInf, -3}, -3, 1, -2, 4},
      {"minus infinity first is skipped", {-kInf, 2, kNaN, 7}, 2, 7, 9, 9},
      {"only infinities", {kInf, -kInf, kNaN}, 0, 0, 0, 0},
  };
  for (const auto& c : cases) {
    TestSeries s;
    for (double v : c.values) s.Y->AddChartValue(v);
    EXPECT_EQ(s.Y->MinValue(), c.min) << c.name;
    EXPECT_EQ(s.Y->MaxValue(), c.max) << c.name;
    EXPECT_EQ(s.Y->Total(), c.total) << c.name;
    EXPECT_EQ(s.Y->TotalABS(), c.totalAbs) << c.name;
    if (std::isfinite(c.max)) {
      EXPECT_EQ(s.Y->Range(), c.max - c.min) << c.name;
    }
  }
}

TEST(ChartValueList, StatisticsAreRecomputedOncePerChange) {
  TestSeries s;
  for (double v : {1, 2, 3}) s.Y->AddChartValue(v);
  // Stale from creation on: adding does not notify again.
  EXPECT_TRUE(s.events.empty());
  EXPECT_EQ(s.Y->MaxValue(), 3);
  EXPECT_FALSE(s.Y->Modified());
  EXPECT_EQ(s.Y->Total(), 6);  // served from the cache
  EXPECT_FALSE(s.Y->Modified());

  // The first change after a computation marks the cache stale and tells
  // the owner once; further changes before the next read do not.
  s.Y->AddChartValue(10);
  s.Y->AddChartValue(-4);
  s.Y->Delete(0);
  const std::vector<std::pair<TValueEvent, int>> once{{veModify, -1}};
  EXPECT_EQ(s.events, once);
  EXPECT_EQ(s.Y->MaxValue(), 10);
  EXPECT_EQ(s.Y->MinValue(), -4);
  EXPECT_EQ(s.Y->Total(), 11);

  s.Y->SetModified(false);  // no change: nothing
  s.Y->SetModified(true);
  s.Y->SetModified(true);
  EXPECT_EQ(s.events.size(), 2u);
  EXPECT_EQ(s.events.back(), std::make_pair(veModify, -1));
}

TEST(ChartValueList, RecalcStatsRefreshesTheCache) {
  TestSeries s;
  for (double v : {2, 8}) s.Y->AddChartValue(v);
  s.Y->RecalcStats();
  EXPECT_FALSE(s.Y->Modified());
  EXPECT_EQ(s.Y->Range(), 6);
  EXPECT_EQ(s.Y->Count(), 2);
}

TEST(ChartValueList, AscendingIsCachedWithTheStatistics) {
  const struct {
    std::vector<double> values;
    bool ascending;
  } cases[] = {
      {{}, true},
      {{5}, true},
      {{1, 2, 2, 3}, true},
      {{-kInf, 0, kInf}, true},
      {{1, 3, 2}, false},
      {{1, kNaN, 2}, false},
      {{kNaN}, false},
  };
  for (const auto& c : cases) {
    TestSeries s;
    for (double v : c.values) s.Y->AddChartValue(v);  // unordered list: stored as given
    EXPECT_EQ(s.Y->IsAscending(), c.ascending) << ::testing::PrintToString(c.values);
    EXPECT_FALSE(s.Y->Modified());
  }
  // A write in place is a change: the flag follows it.
  TestSeries s;
  for (double v : {1, 2, 3}) s.X->AddChartValue(v);
  EXPECT_TRUE(s.X->IsAscending());
  s.X->SetValue(0, 7);
  EXPECT_FALSE(s.X->IsAscending());
  s.X->SetValue(0, 0);
  EXPECT_TRUE(s.X->IsAscending());
}

// Scroll keeps the cached statistics but not the ascending flag: a sorted
// list rotated is no longer sorted (unless all its values are equal), and
// Sort, which skips a list known to be ascending, must sort it again.
TEST(ChartValueList, ScrollOfAnAscendingListClearsTheFlag) {
  const struct {
    std::vector<double> values;
    std::vector<double> scrolled;
    bool ascending;
  } cases[] = {
      {{1, 2, 3}, {2, 3, 1}, false},
      {{2.7389574364729982e-285, 5}, {5, 2.7389574364729982e-285}, false},
      {{4, 4, 4}, {4, 4, 4}, true},
      {{-kInf, 0, kInf}, {0, kInf, -kInf}, false},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::PrintToString(c.values));
    TestSeries s;
    for (double v : c.values) s.AddXY(v, v);
    ASSERT_TRUE(s.X->IsAscending());
    s.X->Scroll();
    s.Y->Scroll();
    EXPECT_EQ(Values(*s.X), c.scrolled);
    EXPECT_FALSE(s.X->Modified());  // the statistics are kept
    EXPECT_EQ(s.X->IsAscending(), c.ascending);
    s.X->Sort();
    EXPECT_EQ(Values(*s.X), c.values);
    EXPECT_EQ(Values(*s.Y), c.values);  // the points stay together
  }
}

// ---- Deleting ---------------------------------------------------------------

TEST(ChartValueList, DeleteRanges) {
  struct Case {
    int start, quantity;
    std::vector<double> expected;
  };
  const Case cases[] = {
      {7, 100, {0, 1, 2, 3, 4, 5, 6}},
      {2, 3, {0, 1, 5, 6, 7, 8, 9}},
      {0, 10, {}},
      {9, 1, {0, 1, 2, 3, 4, 5, 6, 7, 8}},
      {4, 0, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9}},
      {12, 0, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9}},
      {3, -2, {0, 1, 2, 3, 4, 5, 6, 7, 8, 9}},
  };
  for (const auto& c : cases) {
    TestSeries s;
    for (int i = 0; i < 10; ++i) s.Y->AddChartValue(i);
    s.Y->Delete(c.start, c.quantity);
    EXPECT_EQ(Values(*s.Y), c.expected) << c.start << "," << c.quantity;
  }
  TestSeries s;
  for (int i = 0; i < 4; ++i) s.Y->AddChartValue(i);
  s.Y->Delete(1);
  EXPECT_EQ(Values(*s.Y), (std::vector<double>{0, 2, 3}));
  ExpectChartError([&] { s.Y->Delete(3, 1); }, "Value index 3 out of bounds (0 to 2)");
  EXPECT_EQ(Values(*s.Y), (std::vector<double>{0, 2, 3}));
}

// ---- Locate, Exchange, FillSequence, Scroll ---------------------------------

TEST(ChartValueList, Locate) {
  TestSeries s;
  for (double v : {5.0, 7.0, kNaN, 5.0, 9.0}) s.Y->AddChartValue(v);
  EXPECT_EQ(s.Y->Locate(5), 0);
  EXPECT_EQ(s.Y->Locate(5, 1, 4), 3);
  EXPECT_EQ(s.Y->Locate(9, 0, 3), -1);
  EXPECT_EQ(s.Y->Locate(9, -10, 100), 4);
  EXPECT_EQ(s.Y->Locate(8), -1);
  EXPECT_EQ(s.Y->Locate(kNaN), -1);
  EXPECT_EQ(s.Y->Locate(5, 3, 1), -1);
}

TEST(ChartValueList, ExchangeFillSequenceAndScroll) {
  TestSeries s;
  for (double v : {1, 2, 3, 4}) s.Y->AddChartValue(v);
  s.Y->MaxValue();
  s.events.clear();

  s.Y->Exchange(3, 0);
  EXPECT_EQ(Values(*s.Y), (std::vector<double>{4, 2, 3, 1}));
  EXPECT_TRUE(s.Y->Modified());
  ASSERT_EQ(s.events.size(), 1u);
  EXPECT_EQ(s.events[0], std::make_pair(veModify, 3));

  s.Y->Scroll();
  EXPECT_EQ(Values(*s.Y), (std::vector<double>{2, 3, 1, 4}));
  EXPECT_EQ(s.Y->Count(), 4);

  s.Y->FillSequence();
  EXPECT_EQ(Values(*s.Y), (std::vector<double>{0, 1, 2, 3}));
  EXPECT_EQ(s.events.back(), std::make_pair(veModify, 0));
  EXPECT_EQ(s.Y->MaxValue(), 3);

  TChartValueList one(nullptr, "one");
  one.Scroll();
  one.AddChartValue(8);
  one.Scroll();
  EXPECT_EQ(Values(one), (std::vector<double>{8}));
}

// ---- Sorting ----------------------------------------------------------------

TEST(ChartValueList, CompareValueIndexRules) {
  struct Case {
    TChartListOrder order;
    std::vector<double> values;
    int a, b, expected;
  };
  const Case cases[] = {
      {loAscending, {1, 2}, 0, 1, -1},       {loAscending, {1, 2}, 1, 0, 1},
      {loDescending, {1, 2}, 0, 1, 1},       {loDescending, {1, 2}, 1, 0, -1},
      {loAscending, {3, 3}, 0, 1, -1},       {loAscending, {3, 3}, 1, 0, 0},
      {loDescending, {3, 3}, 0, 1, -1},      {loDescending, {3, 3}, 1, 0, 0},
      {loAscending, {3, 3}, 1, 1, 0},        {loAscending, {kNaN, 1}, 0, 0, 0},
      {loAscending, {kNaN, 1}, 0, 1, 1},     {loAscending, {kNaN, 1}, 1, 0, -1},
      {loDescending, {kNaN, 1}, 0, 1, 1},    {loDescending, {kNaN, 1}, 1, 0, -1},
      {loAscending, {kNaN, kNaN}, 0, 1, -1}, {loAscending, {kNaN, kNaN}, 1, 0, 0},
  };
  for (const auto& c : cases) {
    TChartValueList list(nullptr, "L");
    list.SetOrder(c.order);
    for (double v : c.values) list.InsertChartValue(list.Count(), v);
    EXPECT_EQ(list.CompareValueIndex(c.a, c.b), c.expected)
        << "order " << c.order << " " << Show(c.values) << " (" << c.a << "," << c.b << ")";
  }
}

namespace {

// The model: the values in order, NaN after every number.
std::vector<double> ModelSorted(std::vector<double> v, TChartListOrder order) {
  std::stable_sort(v.begin(), v.end(), [order](double a, double b) {
    if (std::isnan(a)) return false;
    if (std::isnan(b)) return true;
    return order == loDescending ? a > b : a < b;
  });
  return v;
}

}  // namespace

TEST(ChartValueList, SortOrdersTheSeriesAndKeepsListsAligned) {
  std::mt19937 gen(12345);
  for (TChartListOrder order : {loAscending, loDescending}) {
    for (int n : {0, 1, 2, 3, 5, 17, 64, 100, 257, 1000}) {
      TestSeries s;
      s.X->SetOrder(loNone);  // collect in arrival order
      std::vector<double> xs;
      for (int i = 0; i < n; ++i) {
        const unsigned r = gen() % 23;
        const double x = r == 0 ? kNaN : static_cast<double>(r % 7);  // duplicates and NaNs
        xs.push_back(x);
        s.AddXY(x, i);  // Y remembers the arrival index
      }
      s.X->SetOrder(order);
      s.X->Sort();

      const auto sx = Values(*s.X);
      const auto sy = Values(*s.Y);
      ASSERT_TRUE(SameValues(sx, ModelSorted(xs, order))) << "n=" << n << ": " << Show(sx);
      // Every Y still stands next to its own X, and each point is there once.
      std::vector<bool> seen(static_cast<std::size_t>(n), false);
      for (int i = 0; i < n; ++i) {
        const auto origin = static_cast<std::size_t>(sy[static_cast<std::size_t>(i)]);
        ASSERT_LT(origin, seen.size());
        EXPECT_FALSE(seen[origin]);
        seen[origin] = true;
        EXPECT_TRUE(SameValues({sx[static_cast<std::size_t>(i)]}, {xs[origin]}));
      }
      // Sorting a sorted series moves nothing.
      const int swaps = s.swaps;
      s.X->Sort();
      EXPECT_EQ(s.swaps, swaps) << "n=" << n;
      EXPECT_EQ(Values(*s.Y), sy);
    }
  }
}

TEST(ChartValueList, SortIsDeterministicAndLeavesEqualValuesInPlaceWhenSorted) {
  auto run = [] {
    TestSeries s;
    s.X->SetOrder(loNone);
    const double xs[] = {2, 1, 2, kNaN, 1, 2, 0, kNaN, 1};
    for (int i = 0; i < 9; ++i) s.AddXY(xs[i], i);
    s.X->SetOrder(loAscending);
    s.X->Sort();
    return std::make_pair(Values(*s.X), Values(*s.Y));
  };
  const auto first = run();
  EXPECT_TRUE(SameValues(first.first, {0, 1, 1, 1, 2, 2, 2, kNaN, kNaN}));
  EXPECT_EQ(run().second, first.second);

  TestSeries s;
  for (double x : {1, 1, 1, 2, 2}) s.AddXY(x, s.X->Count());
  s.X->Sort();
  EXPECT_EQ(s.swaps, 0);
  EXPECT_EQ(Values(*s.Y), (std::vector<double>{0, 1, 2, 3, 4}));
}

TEST(ChartValueList, SortWithoutOrderOrOwner) {
  TestSeries s;
  for (double y : {3, 1, 2}) s.Y->AddChartValue(y);
  s.Y->Sort();  // loNone: nothing
  EXPECT_EQ(Values(*s.Y), (std::vector<double>{3, 1, 2}));
  EXPECT_EQ(s.swaps, 0);

  TChartValueList alone(nullptr, "alone");
  for (double v : {3.0, kNaN, 1.0, 2.0}) alone.InsertChartValue(alone.Count(), v);
  alone.SetOrder(loDescending);
  alone.Sort();
  EXPECT_TRUE(SameValues(Values(alone), {3, 2, 1, kNaN}));
}

// ---- KelSort ----------------------------------------------------------------

TEST(KelSort, SortsRandomArraysOfManySizes) {
  std::mt19937 gen(7);
  for (int n = 0; n <= 300; ++n) {
    for (unsigned spread : {3u, 1000u}) {
      std::vector<int> v(static_cast<std::size_t>(n));
      for (int& x : v) x = static_cast<int>(gen() % spread);
      auto expected = v;
      std::sort(expected.begin(), expected.end());
      KelSort(
          0, n - 1,
          [&v](int a, int b) {
            if (v[static_cast<std::size_t>(a)] < v[static_cast<std::size_t>(b)]) return -1;
            if (v[static_cast<std::size_t>(a)] > v[static_cast<std::size_t>(b)]) return 1;
            return b > a ? -1 : 0;
          },
          [&v](int a, int b) { std::swap(v[static_cast<std::size_t>(a)], v[static_cast<std::size_t>(b)]); });
      ASSERT_EQ(v, expected) << "n=" << n << " spread=" << spread;
    }
  }
}

TEST(KelSort, LargeAndPatternedInputs) {
  for (int pattern = 0; pattern < 4; ++pattern) {
    const int n = 100000;
    std::vector<int> v(n);
    for (int i = 0; i < n; ++i)
      v[static_cast<std::size_t>(i)] = pattern == 0 ? i : pattern == 1 ? n - i : pattern == 2 ? 5 : (i * 7919) % 1009;
    auto expected = v;
    std::sort(expected.begin(), expected.end());
    KelSort(
        0, n - 1,
        [&v](int a, int b) {
          const int x = v[static_cast<std::size_t>(a)], y = v[static_cast<std::size_t>(b)];
          return x < y ? -1 : x > y ? 1 : (b > a ? -1 : 0);
        },
        [&v](int a, int b) { std::swap(v[static_cast<std::size_t>(a)], v[static_cast<std::size_t>(b)]); });
    EXPECT_EQ(v, expected) << "pattern " << pattern;
  }
}

TEST(KelSort, SortsOnlyTheGivenRangeAndStaysInsideIt) {
  std::vector<int> v{9, 8, 7, 6, 5, 4, 3, 2, 1, 0};
  int outside = 0;
  auto inRange = [&outside](int i) {
    if (i < 2 || i > 6) ++outside;
  };
  KelSort(
      2, 6,
      [&](int a, int b) {
        inRange(a);
        inRange(b);
        return v[static_cast<std::size_t>(a)] < v[static_cast<std::size_t>(b)] ? -1 : 1;
      },
      [&](int a, int b) {
        inRange(a);
        inRange(b);
        std::swap(v[static_cast<std::size_t>(a)], v[static_cast<std::size_t>(b)]);
      });
  EXPECT_EQ(v, (std::vector<int>{9, 8, 3, 4, 5, 6, 7, 2, 1, 0}));
  EXPECT_EQ(outside, 0);
}

TEST(KelSort, InconsistentComparisonTerminatesInsideTheRange) {
  // "Less" in every direction (what a NaN gives with plain comparisons):
  // the scans must not run off the range, and the sort must end.
  for (int n : {2, 3, 10, 1000}) {
    int calls = 0;
    // An index outside the range ends the sort at once (instead of reading
    // out of bounds or scanning forever).
    auto check = [n](int i) {
      if (i < 0 || i >= n) throw std::out_of_range("index " + std::to_string(i));
    };
    EXPECT_NO_THROW(KelSort(
        0, n - 1,
        [&](int a, int b) {
          check(a);
          check(b);
          ++calls;
          return -1;
        },
        [&](int a, int b) {
          check(a);
          check(b);
        }));
    EXPECT_GT(calls, 0) << n;
  }
}

// ---- Texts, Assign, flags ---------------------------------------------------

TEST(ChartValueList, ValueToStringIsShortestRoundTrip) {
  TestSeries s;
  for (double v : {0.1, 1234.5, 1e300, -2.0}) s.Y->AddChartValue(v);
  EXPECT_EQ(s.Y->ValueToString(0), "0.1");
  EXPECT_EQ(s.Y->ValueToString(1), "1234.5");
  EXPECT_EQ(s.Y->ValueToString(2), "1e+300");
  EXPECT_EQ(s.Y->ValueToString(3), "-2");
}

TEST(ChartValueList, AssignCopiesSettingsNotValues) {
  TestSeries a, b;
  a.Y->SetOrder(loDescending);
  a.Y->SetDateTime(true);
  a.Y->SetValueSource("Price");
  a.Y->AddChartValue(1);
  b.Y->Assign(a.Y);
  EXPECT_EQ(b.Y->Order(), loDescending);
  EXPECT_TRUE(b.Y->DateTime());
  EXPECT_EQ(b.Y->ValueSource(), "Price");
  EXPECT_EQ(b.Y->Count(), 0);
  EXPECT_EQ(b.Y->Name(), "Y");

  struct Other : TPersistent {};
  Other other;
  EXPECT_THROW(b.Y->Assign(&other), ChartException);
  EXPECT_THROW(b.Y->Assign(nullptr), ChartException);
}

TEST(ChartValueList, InitDateTimeSetsValueAndDefault) {
  TChartValueList list(nullptr, "X");
  list.InitDateTime(true);
  EXPECT_TRUE(list.DateTime());
  EXPECT_TRUE(list.DefaultDateTime());
  list.SetDateTime(false);
  EXPECT_TRUE(list.DefaultDateTime());
  list.SetName("T");
  EXPECT_EQ(list.Name(), "T");
}

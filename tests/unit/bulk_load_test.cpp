// Adding many points at once (AddArrays) against AddXY for each point in
// one update block: the same values, order, colours, labels, statistics
// and notifications, whatever the order of the X values and of the list.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "series/fast_line_series.h"

namespace sextant::testing {
namespace {

const double kNaN = std::numeric_limits<double>::quiet_NaN();

// Records what the series reports about its values.
class TCountingLine : public TFastLineSeries {
 public:
  void NotifyValue(TValueEvent Event, int Index) override {
    Events.push_back({Event, Index});
    TFastLineSeries::NotifyValue(Event, Index);
  }
  std::vector<std::pair<TValueEvent, int>> Events;
};

struct TBulkCase {
  std::string Name;
  std::vector<double> X;  // empty: the Y-only form
  std::vector<double> Y;
  std::function<void(TCountingLine&)> Before;  // existing points and settings
};

void Snapshot(TCountingLine& S, std::vector<std::string>& Out) {
  Out.clear();
  for (int i = 0; i < S.Count(); ++i) {
    const double x = S.XValue(i), y = S.YValue(i);
    Out.push_back(std::to_string(x) + "," + std::to_string(y) + "," + std::to_string(S.InternalColor(i)) +
                  "," + S.XLabel(i));
  }
  Out.push_back("minX " + std::to_string(S.XValues()->MinValue()) + " maxX " +
                std::to_string(S.XValues()->MaxValue()) + " minY " + std::to_string(S.YValues()->MinValue()) +
                " maxY " + std::to_string(S.YValues()->MaxValue()) + " total " +
                std::to_string(S.YValues()->Total()) + " asc " + std::to_string(S.XValues()->IsAscending()));
}

class BulkLoad : public ::testing::TestWithParam<TBulkCase> {};

TEST_P(BulkLoad, SameAsAddXYInOneUpdateBlock) {
  const TBulkCase& c = GetParam();
  TCountingLine bulk, each;
  int afterAdd[2] = {0, 0};
  TCountingLine* both[2] = {&bulk, &each};
  for (int k = 0; k < 2; ++k) {
    if (c.Before) c.Before(*both[k]);
    both[k]->OnAfterAdd = [&afterAdd, k](TChartSeries*, int) { ++afterAdd[k]; };
    both[k]->Events.clear();
  }
  if (c.X.empty())
    bulk.AddArrays(c.Y);
  else
    bulk.AddArrays(c.X, c.Y);
  each.BeginUpdate();
  for (std::size_t i = 0; i < c.Y.size(); ++i) {
    if (c.X.empty())
      each.AddY(c.Y[i]);
    else
      each.AddXY(c.X[i], c.Y[i]);
  }
  each.EndUpdate();

  std::vector<std::string> a, b;
  Snapshot(bulk, a);
  Snapshot(each, b);
  EXPECT_EQ(a, b);
  EXPECT_EQ(afterAdd[0], 0);
  EXPECT_EQ(afterAdd[1], 0);
  EXPECT_EQ(bulk.Events, each.Events);
  ASSERT_FALSE(bulk.Events.empty());
  EXPECT_EQ(bulk.Events.back().first, veRefresh);
}

std::vector<TBulkCase> BulkCases() {
  std::vector<double> ramp, walk;
  for (int i = 0; i < 5000; ++i) {
    ramp.push_back(i * 0.5);
    walk.push_back(std::sin(i * 0.01) * 100);
  }
  std::vector<double> tailBack = ramp;
  tailBack[4000] = 3.0;  // one point far back: the rest from there are inserted in order
  std::vector<double> withNaN = ramp;
  withNaN[10] = kNaN;
  std::vector<double> down(ramp.rbegin(), ramp.rend());
  auto existing = [](TCountingLine& S) {
    for (int i = 0; i < 10; ++i) S.AddXY(i - 20.0, i);
  };
  return {
      {"ascending", ramp, walk, nullptr},
      {"ascendingAfterPoints", ramp, walk, existing},
      {"startsBelowTheLastX", ramp, walk, [](TCountingLine& S) { S.AddXY(100, 1); }},
      {"tailOutOfOrder", tailBack, walk, nullptr},
      {"nanInX", withNaN, walk, nullptr},
      {"descendingIntoAscendingList", down, walk, nullptr},
      {"descendingList", down, walk, [](TCountingLine& S) { S.XValues()->SetOrder(loDescending); }},
      {"unorderedList", down, walk, [](TCountingLine& S) { S.XValues()->SetOrder(loNone); }},
      {"colourListReachingTheEnd", ramp, walk,
       [](TCountingLine& S) { S.AddXY(-1, 1, "", 0xFF123456); }},
      {"nullPointsBefore", ramp, walk, [](TCountingLine& S) { S.AddNullXY(-1, 1); S.AddXY(-0.5, 2); }},
      {"labelsBefore", ramp, walk, [](TCountingLine& S) { S.AddXY(-1, 1, "first"); }},
      {"onBeforeAddRefusesOdd", ramp, walk,
       [](TCountingLine& S) {
         S.OnBeforeAdd = [](TChartSeries* Sender) {
           return static_cast<long long>(Sender->XValues()->TempValue() * 2) % 2 == 0;
         };
       }},
      {"yOnly", {}, walk, nullptr},
      {"yOnlyAfterPoints", {}, walk, existing},
      {"yOnlyBelowTheLastX", {}, walk, [](TCountingLine& S) { S.AddXY(50000, 1); }},
      {"yOnlyDescendingList", {}, walk,
       [](TCountingLine& S) { S.XValues()->SetOrder(loDescending); S.AddXY(3, 3); }},
      {"empty", {}, {}, existing},
  };
}

INSTANTIATE_TEST_SUITE_P(Cases, BulkLoad, ::testing::ValuesIn(BulkCases()),
                         [](const ::testing::TestParamInfo<TBulkCase>& info) { return info.param.Name; });

TEST(BulkLoadErrors, ArraysOfDifferentLengthsChangeNothing) {
  TCountingLine s;
  s.AddXY(1, 1);
  const std::vector<double> x{1, 2, 3}, y{1, 2};
  try {
    s.AddArrays(x, y);
    FAIL() << "no exception";
  } catch (const ChartException& e) {
    EXPECT_STREQ(e.what(), "Series AddArrays: 3 X values and 2 Y values.");
  }
  EXPECT_EQ(s.Count(), 1);
  EXPECT_FALSE(s.IsUpdating());
}

TEST(BulkLoadNotification, InsideAnOpenBlockNothingIsRefreshed) {
  TCountingLine s;
  const std::vector<double> y{1, 2, 3};
  s.BeginUpdate();
  s.Events.clear();
  s.AddArrays(y);
  for (const auto& e : s.Events) EXPECT_NE(e.first, veRefresh);
  EXPECT_TRUE(s.IsUpdating());
  s.EndUpdate();
  EXPECT_EQ(s.Events.back().first, veRefresh);
  EXPECT_EQ(s.Count(), 3);
}

// Statistics computed between appends go on from where they stopped; they
// equal a pass over all values.
TEST(BulkLoadStatistics, AppendedBatchesContinueTheStatistics) {
  TCountingLine s, whole;
  std::vector<double> all;
  for (int batch = 0; batch < 20; ++batch) {
    std::vector<double> y;
    for (int i = 0; i < 333; ++i) y.push_back(std::cos((batch * 333 + i) * 0.37) * (batch + 1));
    if (batch == 7) y[5] = kNaN;
    if (batch == 9) y[0] = std::numeric_limits<double>::infinity();
    s.AddArrays(y);
    all.insert(all.end(), y.begin(), y.end());
    EXPECT_EQ(s.YValues()->MinValue(), [&] {
      double m = HUGE_VAL;
      for (double v : all)
        if (std::isfinite(v)) m = std::min(m, v);
      return m;
    }()) << batch;
  }
  whole.AddArrays(all);
  EXPECT_EQ(s.YValues()->MinValue(), whole.YValues()->MinValue());
  EXPECT_EQ(s.YValues()->MaxValue(), whole.YValues()->MaxValue());
  EXPECT_EQ(s.YValues()->Total(), whole.YValues()->Total());
  EXPECT_EQ(s.YValues()->TotalABS(), whole.YValues()->TotalABS());
  EXPECT_EQ(s.YValues()->NonFiniteCount(), 2);
  EXPECT_TRUE(s.XValues()->IsAscending());
  // An edit in place starts the pass over.
  s.YValues()->SetValue(100, -1e9);
  EXPECT_EQ(s.YValues()->MinValue(), -1e9);
}

}  // namespace
}  // namespace sextant::testing

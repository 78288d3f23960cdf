// Sample values: the random walk of FillSampleValues, its bounds from the
// chart, the reseed of the generator and the single refresh at the end.
#include <gtest/gtest.h>

#include <chrono>
#include <cmath>
#include <cstdint>
#include <ctime>
#include <vector>

#include "series/chart_series.h"
#include "series/kel_random.h"
#include "series_fixture.h"

using namespace sextant;
using namespace sextant::testing;

namespace {

// The walk the series must produce, computed in whole steps: with a Y
// range of D the step unit is D / 400 (a quarter of the range, in
// hundredths, halved), so every value is an integer number of units.
// Y(-1) = 4 * r0 units (r0 * D / 100), Y(k) = |r + Y(k-1) - 50|.
std::vector<long long> ExpectedWalkUnits(ReferenceRandom& rnd, int n, long long startUnits) {
  std::vector<long long> units;
  long long y = startUnits;
  for (int k = 0; k < n; ++k) {
    const long long r = rnd.Next(100);
    y = std::llabs(r + y - 50);
    units.push_back(y);
  }
  return units;
}

double TodayAsDateTime() {
  const std::time_t now = std::time(nullptr);
  std::tm local{};
  localtime_r(&now, &local);
  // Whole days between 30 December 1899 and the local date, by civil rules.
  using namespace std::chrono;
  const sys_days day = sys_days{year{local.tm_year + 1900} / (local.tm_mon + 1) / local.tm_mday};
  const sys_days base = sys_days{year{1899} / 12 / 30};
  return static_cast<double>((day - base).count());
}

}  // namespace

TEST_F(LineSeriesChartTest, FillSampleValuesHundredPointsProperties) {
  series->FillSampleValues(100);
  ASSERT_EQ(series->Count(), 100);
  for (int i = 0; i < 100; ++i) {
    EXPECT_EQ(series->XValue(i), i);
    EXPECT_GE(series->YValue(i), 0);
  }
  // Each value is |previous + step| with a step of 2.5 * (r - 50), r in 0..99.
  for (int i = 1; i < 100; ++i) {
    const double prev = series->YValue(i - 1);
    const double y = series->YValue(i);
    bool explained = false;
    for (double step : {y - prev, -y - prev}) {
      const double units = step / 2.5;
      if (units == std::floor(units) && step >= -125 && step <= 122.5) explained = true;
    }
    EXPECT_TRUE(explained) << "point " << i << ": " << prev << " -> " << y;
  }
  EXPECT_EQ(series->Labels()->Count(), 0);
  EXPECT_FALSE(series->HasColors());
  EXPECT_EQ(series->FirstValueIndex(), -1);
  EXPECT_EQ(series->LastValueIndex(), -1);
  EXPECT_FALSE(series->ManualData);
}

TEST_F(LineSeriesChartTest, FillSampleValuesIsTheGeneratorsWalk) {
  for (std::uint32_t seed : {0u, 1u, 12345u, 0xDEADBEEFu, 4294967295u}) {
    RandSeed = seed;
    series->FillSampleValues(100);
    ReferenceRandom rnd{seed};
    rnd.seed = static_cast<std::uint32_t>(rnd.Next(7774444));  // the reseed
    const long long start = 4LL * rnd.Next(100);                 // 10 * r0 = 4 units of 2.5
    const std::vector<long long> units = ExpectedWalkUnits(rnd, 100, start);
    ASSERT_EQ(series->Count(), 100);
    for (int i = 0; i < 100; ++i) ASSERT_EQ(series->YValue(i), units[i] * 2.5) << "seed " << seed << " point " << i;
    EXPECT_EQ(RandSeed, rnd.seed) << "the generator advanced exactly once per value";
  }
}

TEST_F(LineSeriesChartTest, FillSampleValuesReplacesTheDataAndRefreshesOnce) {
  series->AddXY(500, 1, "old", claRed);
  SeriesEventLog log;
  chart.AddListener(&log);
  int afterAdds = 0;
  series->OnAfterAdd = [&](TChartSeries*, int) { ++afterAdds; };
  host.Invalidates = 0;
  series->FillSampleValues(10);
  EXPECT_EQ(series->Count(), 10);
  EXPECT_EQ(series->XValue(0), 0);
  EXPECT_EQ(series->Labels()->Count(), 0);
  EXPECT_FALSE(series->HasColors());
  EXPECT_EQ(afterAdds, 0);
  EXPECT_EQ(log.CountOf(seDataChanged), 1);
  EXPECT_FALSE(series->IsUpdating());
  chart.RemoveListener(&log);
}

TEST(SampleValues, CountRules) {
  struct Case {
    int requested;
    int preferred;
    int expected;
  };
  const std::vector<Case> cases = {{0, 0, 25}, {0, 7, 7}, {0, -3, 25}, {3, 7, 3}, {1, 0, 1}, {-4, 0, 0}};
  for (const Case& c : cases) {
    TChartSeries s;
    s.INumSampleValues = c.preferred;
    s.FillSampleValues(c.requested);
    EXPECT_EQ(s.Count(), c.expected) << c.requested << "/" << c.preferred;
  }
}

TEST(SampleValues, SinglePointStartsAtZero) {
  TChartSeries s;
  s.FillSampleValues(1);
  ASSERT_EQ(s.Count(), 1);
  EXPECT_EQ(s.XValue(0), 0);
}

TEST(SampleValues, DateTimeXStartsToday) {
  TChartSeries s;
  s.XValues()->SetDateTime(true);
  const double before = TodayAsDateTime();
  s.FillSampleValues(3);
  const double after = TodayAsDateTime();
  ASSERT_EQ(s.Count(), 3);
  // (A run across midnight may see either day.)
  EXPECT_TRUE(s.XValue(0) == before || s.XValue(0) == after) << s.XValue(0);
  EXPECT_EQ(s.XValue(1), s.XValue(0) + 1);
  EXPECT_EQ(s.XValue(2), s.XValue(0) + 2);
}

TEST_F(LineSeriesChartTest, SampleBoundsComeFromTheChartsData) {
  // Another series fixes the chart's ranges: X 10..20, Y 100..300.
  auto* other = new TChartSeries();
  chart.AddSeries(other);
  other->AddXY(10, 100);
  other->AddXY(20, 300);
  const TChartSeries::TSeriesRandomBounds bounds = [&] {
    RandSeed = 99;
    return series->RandomBounds(5);
  }();
  ReferenceRandom rnd{99};
  const int r0 = rnd.Next(100);
  EXPECT_EQ(bounds.tmpX, 10);
  EXPECT_EQ(bounds.StepX, 2.5);  // (20 - 10) / 4
  EXPECT_EQ(bounds.MinY, 100);
  EXPECT_EQ(bounds.DifY, 200);
  EXPECT_EQ(bounds.tmpY, r0 * 2.0 + 100);

  RandSeed = 4242;
  series->FillSampleValues(5);
  rnd.seed = 4242;
  rnd.seed = static_cast<std::uint32_t>(rnd.Next(7774444));
  // Units of 0.5 (a quarter of 200, in hundredths): start 2 * r0 + 100.
  const long long start = 4LL * rnd.Next(100) + 200;
  const std::vector<long long> units = ExpectedWalkUnits(rnd, 5, start);
  ASSERT_EQ(series->Count(), 5);
  for (int i = 0; i < 5; ++i) {
    EXPECT_EQ(series->XValue(i), 10 + 2.5 * i);
    EXPECT_EQ(series->YValue(i), units[i] * 0.5);
  }
}

TEST_F(LineSeriesChartTest, SampleBoundsWidenDegenerateRanges) {
  auto* other = new TChartSeries();
  chart.AddSeries(other);
  other->AddXY(0, 0);  // one point: X and Y ranges are empty at 0
  RandSeed = 1;
  TChartSeries::TSeriesRandomBounds b = series->RandomBounds(11);
  EXPECT_EQ(b.tmpX, 0);
  EXPECT_EQ(b.StepX, 1);     // MaxX := NumValues - 1
  EXPECT_EQ(b.DifY, 1000);   // MaxY := 1000
  other->Clear();
  other->AddXY(4, 50);       // non-zero: the range becomes 4..8 and 50..100
  b = series->RandomBounds(5);
  EXPECT_EQ(b.tmpX, 4);
  EXPECT_EQ(b.StepX, 1);
  EXPECT_EQ(b.MinY, 50);
  EXPECT_EQ(b.DifY, 50);
}

TEST_F(LineSeriesChartTest, HugeYRangesAreClampedToInt32) {
  auto* other = new TChartSeries();
  chart.AddSeries(other);
  other->AddXY(0, -1e300);
  other->AddXY(1, 1e300);
  RandSeed = 3;
  const TChartSeries::TSeriesRandomBounds b = series->RandomBounds(10);
  EXPECT_EQ(b.DifY, 2147483647.0);
  EXPECT_EQ(b.MinY, -1e300);
  series->FillSampleValues(20);
  for (int i = 0; i < series->Count(); ++i) EXPECT_TRUE(std::isfinite(series->YValue(i)));
}

// With a range like 0.7 the steps are no longer exact in binary: the walk
// is formed left to right at extended precision and only the result is
// rounded to double. Plain double arithmetic would drift from it.
TEST_F(LineSeriesChartTest, WalkArithmeticIsExtendedPrecisionLeftToRight) {
  auto* other = new TChartSeries();
  chart.AddSeries(other);
  other->AddXY(0, 0);
  other->AddXY(1, 0.7);
  RandSeed = 4242;
  series->FillSampleValues(200);

  ReferenceRandom rnd{4242};
  rnd.seed = static_cast<std::uint32_t>(rnd.Next(7774444));
  const double D = 0.7;
  const double A = D * 0.25;
  const int r0 = rnd.Next(100);
  double y = static_cast<double>(static_cast<long double>(r0) * D * 0.01L + 0.0L);
  double yDouble = static_cast<double>(r0) * D * 0.01 + 0.0;
  int differences = 0;
  ASSERT_EQ(series->Count(), 200);
  for (int i = 0; i < 200; ++i) {
    const int r = rnd.Next(100);
    y = static_cast<double>(std::fabs(static_cast<long double>(r) * A * 0.01L + y - A * 0.5L));
    const double plain = std::fabs(static_cast<double>(r) * A * 0.01 + yDouble - A * 0.5);
    differences += plain != y;
    yDouble = y;  // compare one step at a time
    ASSERT_EQ(series->YValue(i), y) << "point " << i;
  }
  EXPECT_GT(differences, 0) << "the case must tell extended from double arithmetic";
}

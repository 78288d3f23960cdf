// The visible index range of a series: the points whose X falls inside the
// horizontal axis (plus one beyond the right edge for line series), found
// by binary search on ordered X and checked against the plain scan.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <random>
#include <utility>
#include <vector>

#include "series/chart_series.h"
#include "series/fast_line_series.h"
#include "series_fixture.h"

using namespace sextant;
using namespace sextant::testing;

namespace {

// The range exactly as the scan from index 0 defines it.
std::pair<int, int> ScanRange(const std::vector<double>& P, double MinV, double MaxV, bool DrawBetween) {
  if (P.empty()) return {-1, -1};
  const int L = static_cast<int>(P.size()) - 1;
  int first = -1;
  for (int i = 0; i <= L; ++i)
    if (P[i] >= MinV) {
      first = i;
      break;
    }
  if (first < 0) return {-1, -1};
  if (!(P[L] > MaxV)) return {first, L};
  int last = first;
  while (last < L && P[last] < MaxV) ++last;
  if (!DrawBetween)
    while (last > 0 && P[last] > MaxV) --last;
  return {first, last};
}

class VisibleRangeTest : public LineSeriesChartTest {
 protected:
  void SetUp() override {
    // A base series (points only, nothing drawn between them) next to the
    // fast line, on the same axes.
    points = new TChartSeries();
    chart.AddSeries(points);
  }

  void Fill(const std::vector<double>& xs) {
    series->Clear();
    points->Clear();
    for (double x : xs) {
      series->AddXY(x, 1);
      points->AddXY(x, 1);
    }
  }

  // Shows Min..Max on the bottom axis without repainting: the pixel span
  // of the last paint stays, only the scale changes.
  void Window(double Min, double Max) {
    TChartAxis* axis = chart.BottomAxis();
    axis->IMinimum = Min;
    axis->IMaximum = Max;
    axis->InternalCalcRange();
  }

  double EdgeValue(float Edge) const { return chart.BottomAxis()->CalcPosPoint(KelRound(Edge)); }
  double MinEdge() const { return EdgeValue(chart.ChartRect.Left); }
  double MaxEdge() const { return EdgeValue(chart.ChartRect.Right); }

  static std::pair<int, int> RangeOf(TChartSeries* s) {
    s->CalcFirstLastVisibleIndex();
    return {s->FirstValueIndex(), s->LastValueIndex()};
  }

  TChartSeries* points = nullptr;  // owned by the chart
};

std::vector<double> Sequence(int n) {
  std::vector<double> v;
  for (int i = 0; i < n; ++i) v.push_back(i);
  return v;
}

}  // namespace

TEST_F(VisibleRangeTest, PageOfTheLastTenPoints) {
  Fill(Sequence(100));
  chart.BottomAxis()->SetMinMax(89.5, 99.5);
  Paint();
  EXPECT_DOUBLE_EQ(MinEdge(), 89.5);
  EXPECT_EQ(RangeOf(series), std::make_pair(90, 99));
  EXPECT_EQ(RangeOf(points), std::make_pair(90, 99));
}

TEST_F(VisibleRangeTest, LineSeriesIncludeOnePointBeyondTheRightEdge) {
  Fill(Sequence(100));
  chart.BottomAxis()->SetMinMax(80, 90);
  Paint();
  const double maxV = MaxEdge();
  int firstAtOrBeyond = 0;
  while (firstAtOrBeyond < 99 && firstAtOrBeyond < maxV) ++firstAtOrBeyond;
  EXPECT_EQ(RangeOf(series), std::make_pair(80, firstAtOrBeyond));
  // Without lines between points the range stops at the edge.
  int lastInside = 99;
  while (lastInside > 0 && lastInside > maxV) --lastInside;
  EXPECT_EQ(RangeOf(points), std::make_pair(80, lastInside));
}

TEST_F(VisibleRangeTest, WindowsAgainstTheScan) {
  Fill(Sequence(100));
  Paint();
  const std::vector<double> P = Sequence(100);
  const std::vector<std::pair<double, double>> windows = {
      {89.5, 99.5}, {80, 90}, {-10, 5}, {95, 200}, {200, 300}, {-50, -10}, {10.25, 10.75}, {0, 99}, {42, 42.0001}};
  for (auto [lo, hi] : windows) {
    Window(lo, hi);
    EXPECT_EQ(RangeOf(series), ScanRange(P, MinEdge(), MaxEdge(), true)) << lo << ".." << hi;
    EXPECT_EQ(RangeOf(points), ScanRange(P, MinEdge(), MaxEdge(), false)) << lo << ".." << hi;
  }
  // Fixed points of the table above.
  Window(200, 300);
  EXPECT_EQ(RangeOf(series), std::make_pair(-1, -1));
  Window(-50, -10);
  EXPECT_EQ(RangeOf(series), std::make_pair(0, 0));
  Window(10.25, 10.75);
  EXPECT_EQ(RangeOf(series), std::make_pair(11, 11));
  EXPECT_EQ(RangeOf(points), std::make_pair(11, 10));  // nothing between the edges
}

TEST_F(VisibleRangeTest, BinarySearchEqualsTheScanOnSortedDataWithDuplicates) {
  std::mt19937 gen(20240611);
  for (int round = 0; round < 20; ++round) {
    // Sorted values with runs of duplicates.
    std::vector<double> P;
    double x = std::uniform_real_distribution<double>(-50, 50)(gen);
    const int n = std::uniform_int_distribution<int>(1, 300)(gen);
    for (int i = 0; i < n; ++i) {
      P.push_back(x);
      const int kind = std::uniform_int_distribution<int>(0, 3)(gen);
      if (kind == 1) x += 1;
      if (kind >= 2) x += std::uniform_real_distribution<double>(0, 3)(gen);
    }
    Fill(P);
    if (round == 0) Paint();
    for (int w = 0; w < 50; ++w) {
      double lo, hi;
      if (w % 3 == 0) {
        // Edges exactly on stored values (often duplicated ones).
        lo = P[std::uniform_int_distribution<std::size_t>(0, P.size() - 1)(gen)];
        hi = P[std::uniform_int_distribution<std::size_t>(0, P.size() - 1)(gen)];
      } else {
        lo = std::uniform_real_distribution<double>(P.front() - 10, P.back() + 10)(gen);
        hi = std::uniform_real_distribution<double>(P.front() - 10, P.back() + 10)(gen);
      }
      if (lo > hi) std::swap(lo, hi);
      if (lo == hi) hi = lo + 1;
      Window(lo, hi);
      ASSERT_EQ(RangeOf(series), ScanRange(P, MinEdge(), MaxEdge(), true))
          << "round " << round << " window " << lo << ".." << hi;
      ASSERT_EQ(RangeOf(points), ScanRange(P, MinEdge(), MaxEdge(), false))
          << "round " << round << " window " << lo << ".." << hi;
    }
  }
}

TEST_F(VisibleRangeTest, InvertedAxisAndOffsets) {
  Fill(Sequence(100));
  Paint();
  Window(30, 40);
  const auto plain = RangeOf(series);
  chart.BottomAxis()->SetInverted(true);
  EXPECT_EQ(RangeOf(series), plain);  // the edges swap with the direction
  chart.BottomAxis()->SetInverted(false);

  // Offsets move the edges: MinV at Left + offset - 1, MaxV at Right - offset + 1.
  chart.BottomAxis()->SetMinimumOffset(57);
  chart.BottomAxis()->SetMaximumOffset(113);
  const TChartAxis* axis = chart.BottomAxis();
  const double minV = axis->CalcPosPoint(KelRound(chart.ChartRect.Left) + 57 - 1);
  const double maxV = axis->CalcPosPoint(KelRound(chart.ChartRect.Right) - 113 + 1);
  EXPECT_EQ(RangeOf(series), ScanRange(Sequence(100), minV, maxV, true));
  EXPECT_NE(RangeOf(series), plain);

  // Offsets at the ends of the int range stay defined (edges saturate).
  chart.BottomAxis()->SetMinimumOffset(2147483647);
  chart.BottomAxis()->SetMaximumOffset(-2147483647 - 1);
  const double farMin = axis->CalcPosPoint(2147483647);
  EXPECT_EQ(RangeOf(series), ScanRange(Sequence(100), farMin, axis->CalcPosPoint(2147483647), true));
}

TEST_F(VisibleRangeTest, UnorderedOrUncalculatedListsShowEverything) {
  Fill({5, 1, 9});
  Paint();
  Window(100, 200);
  series->XValues()->SetOrder(loNone);
  EXPECT_EQ(RangeOf(series), std::make_pair(0, 2));
  series->XValues()->SetOrder(loAscending);
  EXPECT_EQ(RangeOf(series), std::make_pair(-1, -1));
  series->CalcVisiblePoints = false;
  EXPECT_EQ(RangeOf(series), std::make_pair(0, 2));
  series->Clear();
  EXPECT_EQ(RangeOf(series), std::make_pair(-1, -1));
  // Without a chart there is no axis: every point.
  TChartSeries loose;
  loose.AddXY(1, 1);
  loose.AddXY(2, 1);
  EXPECT_EQ(RangeOf(&loose), std::make_pair(0, 1));
}

TEST_F(VisibleRangeTest, NaNValuesNeverLeadOutsideTheList) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  // Ordered insertion appends a NaN where it arrives.
  Fill({0, 1, 2, nan, 4, 5, nan, 7, 8, 9});
  ASSERT_TRUE(std::isnan(series->XValue(3)));
  Paint();
  for (auto [lo, hi] : std::vector<std::pair<double, double>>{{-5, 20}, {3.5, 6}, {4.5, 8.5}, {8.5, 30}, {20, 30}}) {
    Window(lo, hi);
    const auto [first, last] = RangeOf(series);
    if (first == -1) {
      EXPECT_EQ(last, -1);
      continue;
    }
    ASSERT_GE(first, 0);
    ASSERT_LE(last, 9);
    // The documented result: a value at or above the minimum edge whose
    // predecessor is not.
    EXPECT_GE(series->XValue(first), MinEdge());
    if (first > 0) {
      EXPECT_FALSE(series->XValue(first - 1) >= MinEdge());
    }
  }
  // A NaN edge (an axis with a NaN scale) finds nothing.
  Window(nan, 10);
  EXPECT_EQ(RangeOf(series), std::make_pair(-1, -1));
  // All values NaN: nothing qualifies.
  Fill({nan, nan, nan});
  Window(0, 10);
  EXPECT_EQ(RangeOf(series), std::make_pair(-1, -1));
  // On data without NaN the same windows agree with the scan.
  Fill({0, 1, 2, 4, 5, 7, 8, 9});
  for (auto [lo, hi] : std::vector<std::pair<double, double>>{{-5, 20}, {3.5, 6}, {4.5, 8.5}, {8.5, 30}}) {
    Window(lo, hi);
    EXPECT_EQ(RangeOf(series), ScanRange({0, 1, 2, 4, 5, 7, 8, 9}, MinEdge(), MaxEdge(), true));
  }
  // And painting such data never crashes.
  Fill({0, nan, 2, std::numeric_limits<double>::infinity(), 4});
  EXPECT_NO_THROW(Paint());
}

TEST_F(VisibleRangeTest, FastLineWithoutDrawAllPointsStartsAtThePixelColumn) {
  // 1000 dense points near 0..1 and one far point at 10.
  std::vector<double> xs;
  for (int i = 0; i < 1000; ++i) xs.push_back(i * 0.001);
  xs.push_back(10);
  Fill(xs);
  Paint();
  Window(5, 20);  // only the far point is inside
  EXPECT_EQ(RangeOf(series), std::make_pair(1000, 1000));
  series->SetDrawAllPoints(false);
  const int column = chart.BottomAxis()->CalcXPosValue(xs[999]);
  int start = 999;
  while (start > 0 && chart.BottomAxis()->CalcXPosValue(xs[start - 1]) == column) --start;
  ASSERT_LT(start, 990) << "the column must hold several points for this test";
  EXPECT_EQ(RangeOf(series), std::make_pair(start, 1000));

  // A collapsed range at index 0 leaves nothing to draw.
  Fill({3});
  Window(0, 10);
  EXPECT_EQ(RangeOf(series).first, -1);
  series->SetDrawAllPoints(true);
  EXPECT_EQ(RangeOf(series), std::make_pair(0, 0));
}

// The last index is searched only while the X list really is ascending; a
// value written out of order in place makes it scan from the first index,
// as the plain definition does.
TEST_F(VisibleRangeTest, LastIndexScansWhenValuesWereWrittenOutOfOrder) {
  Fill(Sequence(100));
  Paint();
  series->XValues()->SetValue(55, 100.5);  // a step back follows at 56
  ASSERT_FALSE(series->XValues()->IsAscending());
  Window(40, 70);
  const auto [first, last] = RangeOf(series);
  EXPECT_EQ(first, 40);
  // The scan stops at the first value at or beyond the right edge: the
  // written one, not the first of the ordered tail.
  EXPECT_EQ(last, 55);
  // Put back in order, the search finds the same index as the scan.
  series->XValues()->SetValue(55, 55);
  ASSERT_TRUE(series->XValues()->IsAscending());
  Window(40, 70);
  EXPECT_EQ(RangeOf(series), ScanRange(Sequence(100), MinEdge(), MaxEdge(), true));
}

// Paging: the page count, page clamping and its events, the points of the
// current page, and the axis ranges a page gives.
#include <gtest/gtest.h>

#include <limits>
#include <vector>

#include "chart_fixture.h"

using namespace sextant;
using sextant::testing::BlankChartTest;

namespace {

struct PageListener : IKelEventListener {
  int pageEvents = 0;
  void KelEvent(TKelEvent& e) override {
    if (dynamic_cast<TChartChangePage*>(&e)) ++pageEvents;
  }
};

class PagingTest : public BlankChartTest {
 protected:
  // A line of n points with X = 2 i and Y = 1000 - i.
  TFastLineSeries* AddPoints(int n) {
    auto* s = new TFastLineSeries();
    for (int i = 0; i < n; ++i) s->AddXY(2.0 * i, 1000 - i);
    chart.AddSeries(s);
    return s;
  }
};

TEST_F(PagingTest, NumberOfPages) {
  struct {
    int points, perPage, pages;
  } cases[] = {{100, 10, 10}, {95, 10, 10}, {101, 10, 11}, {5, 10, 1},
               {0, 10, 1},    {100, 0, 1},  {-1, 10, 1}};  // -1: no series at all
  for (auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.points << " points, " << c.perPage << " per page");
    chart.FreeAllSeries();
    if (c.points >= 0) AddPoints(c.points);
    chart.SetMaxPointsPerPage(c.perPage);
    EXPECT_EQ(chart.NumPages(), c.pages);
  }
}

TEST_F(PagingTest, PagesCountTheLongestActiveSeriesOnTheAxis) {
  AddPoints(30);
  auto* longer = AddPoints(55);
  chart.SetMaxPointsPerPage(10);
  EXPECT_EQ(chart.NumPages(), 6);
  longer->SetActive(false);
  EXPECT_EQ(chart.NumPages(), 3);
  longer->SetActive(true);
  longer->SetHorizAxis(aTopAxis);  // the top axis counts as well
  EXPECT_EQ(chart.NumPages(), 6);
}

TEST_F(PagingTest, PageIsClampedAndAnnounced) {
  AddPoints(100);
  PageListener listener;
  chart.AddListener(&listener);
  int pageChanges = 0;
  chart.OnPageChange = [&](TPersistent*) { ++pageChanges; };
  chart.SetMaxPointsPerPage(10);
  EXPECT_EQ(listener.pageEvents, 1);
  struct {
    int set, page;
  } cases[] = {{11, 10}, {0, 1}, {-5, 1}, {4, 4}, {10, 10}, {1000, 10}};
  int expectedChanges = 0;
  int previous = chart.Page();
  for (auto& c : cases) {
    const int invalidates = host.Invalidates;
    chart.SetPage(c.set);
    EXPECT_EQ(chart.Page(), c.page) << c.set;
    const bool changed = c.page != previous;
    expectedChanges += changed;
    EXPECT_EQ(host.Invalidates > invalidates, changed) << c.set;
    previous = c.page;
  }
  EXPECT_EQ(pageChanges, expectedChanges);
  EXPECT_EQ(listener.pageEvents, 1 + expectedChanges);

  chart.NextPage();  // already on the last page
  EXPECT_EQ(chart.Page(), 10);
  chart.PreviousPage();
  EXPECT_EQ(chart.Page(), 9);
  chart.NextPage();
  EXPECT_EQ(chart.Page(), 10);
  chart.SetPage(1);
  chart.PreviousPage();
  EXPECT_EQ(chart.Page(), 1);
  chart.RemoveListener(&listener);
}

TEST_F(PagingTest, NegativePointsPerPageIsRefused) {
  AddPoints(100);
  chart.SetMaxPointsPerPage(10);
  chart.SetPage(7);
  try {
    chart.SetMaxPointsPerPage(-1);
    FAIL() << "no exception";
  } catch (const ChartException& e) {
    EXPECT_STREQ(e.what(), "MaxPointsPerPage must be >= 0");
  }
  EXPECT_EQ(chart.MaxPointsPerPage(), 10);
  EXPECT_EQ(chart.Page(), 7);
}

TEST_F(PagingTest, FewerPagesMoveTheCurrentPageToTheLast) {
  AddPoints(100);
  PageListener listener;
  chart.AddListener(&listener);
  chart.SetMaxPointsPerPage(10);
  chart.SetPage(9);
  chart.SetMaxPointsPerPage(50);
  EXPECT_EQ(chart.Page(), 2);
  chart.SetMaxPointsPerPage(50);  // unchanged: still announced
  EXPECT_EQ(listener.pageEvents, 4);
  // With paging off the page steps do nothing.
  chart.SetMaxPointsPerPage(0);
  EXPECT_EQ(chart.Page(), 1);
  chart.NextPage();
  EXPECT_EQ(chart.Page(), 1);
  chart.RemoveListener(&listener);
}

TEST_F(PagingTest, PointsOfTheCurrentPage) {
  struct {
    int points, perPage, page, first, last;
  } cases[] = {
      {100, 10, 10, 90, 99}, {100, 10, 1, 0, 9},  {95, 10, 10, 90, 94},
      {95, 10, 12, 80, 89},  // left on page 12 when there were more points
      {3, 10, 5, 0, 2},      {20, 10, 5, 10, 19}, {0, 10, 1, -1, -1},
      {7, 0, 1, 0, 6},
  };
  for (auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.points << " points, page " << c.page);
    chart.FreeAllSeries();
    // Set the page while the data is long enough, then cut the data.
    const int needed = std::max(c.points, c.page * c.perPage);
    auto* s = AddPoints(needed);
    chart.SetMaxPointsPerPage(c.perPage);
    chart.SetPage(c.page);
    ASSERT_EQ(chart.Page(), c.page);
    if (needed > c.points) s->Delete(c.points, needed - c.points);
    int first = -2, last = -2;
    chart.CalcFirstLastPage(s, first, last);
    EXPECT_EQ(first, c.first);
    EXPECT_EQ(last, c.last);
  }
}

TEST_F(PagingTest, BottomAxisShowsThePage) {
  auto* s = AddPoints(100);
  chart.SetMaxPointsPerPage(10);
  chart.SetPage(10);
  Paint();
  TChartAxis* bottom = chart.BottomAxis();
  EXPECT_EQ(bottom->Minimum(), 180);  // x(90)
  EXPECT_EQ(bottom->Maximum(), 198);  // x(99)
  // The first and last point of the page are drawn 2 pixels inside.
  EXPECT_EQ(s->CalcXPos(90), bottom->IStartPos + 2);
  EXPECT_EQ(s->CalcXPos(99), bottom->IEndPos - 2);
  chart.SetPage(1);
  Paint();
  EXPECT_EQ(bottom->Minimum(), 0);
  EXPECT_EQ(bottom->Maximum(), 18);
  // The vertical axis spans all points.
  EXPECT_EQ(chart.LeftAxis()->Minimum(), 901);
  EXPECT_EQ(chart.LeftAxis()->Maximum(), 1000);

  // An explicit scale is not moved by paging.
  bottom->SetMinMax(3, 5);
  chart.SetPage(4);
  Paint();
  EXPECT_EQ(bottom->Minimum(), 3);
  EXPECT_EQ(bottom->Maximum(), 5);
}

TEST_F(PagingTest, PartialLastPageScaledAsFull) {
  auto* s = AddPoints(95);
  chart.SetMaxPointsPerPage(10);
  chart.SetPage(10);
  TChartAxis* bottom = chart.BottomAxis();
  EXPECT_EQ(chart.MaxXValue(bottom), 188);  // x(94)
  chart.SetScaleLastPage(false);
  EXPECT_EQ(chart.MinXValue(bottom), 180);
  EXPECT_EQ(chart.MaxXValue(bottom), 180 + 10 * (188 - 180) / 5.0);
  // A last page whose points share one X value.
  s->Clear();
  for (int i = 0; i < 90; ++i) s->AddXY(i, i);
  s->AddXY(500, 1);
  s->AddXY(500, 2);
  EXPECT_EQ(chart.MaxXValue(bottom), 500 + 10 / 2.0);
  // A full page is not extended.
  chart.SetPage(9);
  EXPECT_EQ(chart.MaxXValue(bottom), 89);
}

TEST_F(PagingTest, PageEndsAreFiniteAndOrdered) {
  const double inf = std::numeric_limits<double>::infinity();
  const double nan = std::numeric_limits<double>::quiet_NaN();
  struct {
    const char* name;
    std::vector<double> x;  // X of the page's points (one page of 4)
    bool scaleLastPage;
    double min, max;
  } cases[] = {
      {"descending", {9, 7, 5, 3}, true, 3, 9},
      {"infinite first", {-inf, 2, 4, 6}, true, 2, 6},
      {"NaN last", {1, 2, 3, nan}, true, 1, 3},
      {"no finite value", {nan, inf, -inf, nan}, true, 0, 0},
      // A partial last page scaled as a full one: the scaled end would
      // pass the largest double, so the last value stays the end.
      {"scaled beyond the doubles", {-1.7e308, 1.7e308}, false, -1.7e308, 1.7e308},
      // 10 + 4 x (8 - 10) / 2 = 6: the scaled end lies below the first value.
      {"descending partial page scaled", {10, 8}, false, 6, 10},
  };
  TChartAxis* bottom = chart.BottomAxis();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    chart.FreeAllSeries();
    auto* s = new TFastLineSeries();
    s->XValues()->SetOrder(loNone);
    for (double x : c.x) s->AddXY(x, 1);
    chart.AddSeries(s);
    chart.SetMaxPointsPerPage(4);
    chart.SetScaleLastPage(c.scaleLastPage);
    chart.SetPage(1);
    EXPECT_EQ(chart.MinXValue(bottom), c.min);
    EXPECT_EQ(chart.MaxXValue(bottom), c.max);
    Paint();
    EXPECT_LE(bottom->Minimum(), bottom->Maximum());
  }
}

TEST_F(PagingTest, AutoScaleIgnoresValuesThatAreNoFiniteNumbers) {
  auto* s = new TFastLineSeries();
  const double inf = std::numeric_limits<double>::infinity();
  const double ys[] = {std::numeric_limits<double>::quiet_NaN(), 5, -inf, 3, inf, 8};
  for (int i = 0; i < 6; ++i) s->AddXY(i, ys[i]);
  chart.AddSeries(s);
  chart.SetMaxPointsPerPage(3);
  chart.Pages().SetAutoScale(true);
  TChartAxis* left = chart.LeftAxis();
  chart.SetPage(1);  // NaN, 5, -inf
  EXPECT_EQ(chart.MinYValue(left), 5);
  EXPECT_EQ(chart.MaxYValue(left), 5);
  chart.SetPage(2);  // 3, inf, 8
  EXPECT_EQ(chart.MinYValue(left), 3);
  EXPECT_EQ(chart.MaxYValue(left), 8);
}

TEST_F(PagingTest, AutoScaleLimitsTheOtherAxesToThePage) {
  AddPoints(25);  // Y = 1000 - i
  auto* other = AddPoints(12);
  chart.SetMaxPointsPerPage(10);
  chart.SetPage(3);  // points 20..24; the shorter series has no third page
  TChartAxis* left = chart.LeftAxis();
  EXPECT_EQ(chart.MinYValue(left), 976);  // all points of both series
  EXPECT_EQ(chart.MaxYValue(left), 1000);
  chart.Pages().SetAutoScale(true);
  EXPECT_EQ(chart.MinYValue(left), 976);
  EXPECT_EQ(chart.MaxYValue(left), 980);
  chart.SetPage(2);  // points 10..19 of the first, 10..11 of the second
  EXPECT_EQ(chart.MaxYValue(left), 990);
  other->SetActive(false);
  EXPECT_EQ(chart.MinYValue(left), 981);
}

}  // namespace

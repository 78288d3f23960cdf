// Points whose X or Y is NaN or infinite in a series' statistics and in
// the automatic axis ranges: only the drawable points (X and Y both finite)
// count, so a point with a NaN X lends nothing to the vertical range and a
// point with a NaN Y nothing to the horizontal one; a series without a
// drawable point takes no part in a range at all.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <vector>

#include "axes/chart_axis.h"
#include "canvas/canvas3d.h"
#include "panel/chart.h"
#include "platform/recording_canvas.h"
#include "series/fast_line_series.h"

namespace sextant::testing {
namespace {

const double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kInf = std::numeric_limits<double>::infinity();

using Points = std::vector<std::pair<double, double>>;

struct TExtent {
  double MinX, MaxX, MinY, MaxY;
  bool Any;
  bool operator==(const TExtent&) const = default;
};

TExtent ExtentOf(const TChartSeries& S) {
  return {S.MinXValue(), S.MaxXValue(), S.MinYValue(), S.MaxYValue(), S.HasFinitePoint()};
}

std::string Show(const TExtent& E) {
  return "X " + std::to_string(E.MinX) + ".." + std::to_string(E.MaxX) + " Y " + std::to_string(E.MinY) + ".." +
         std::to_string(E.MaxY) + (E.Any ? "" : " (none)");
}

TEST(NonFiniteData, SeriesExtremesComeFromTheDrawablePoints) {
  struct Case {
    const char* Name;
    Points Data;
    TExtent Expected;
  };
  const std::vector<Case> cases = {
      {"finite", {{0, 1}, {1, 5}, {2, 3}}, {0, 2, 1, 5, true}},
      {"NaN Y keeps its X out", {{0, 1}, {1, 5}, {10, kNaN}}, {0, 1, 1, 5, true}},
      {"NaN X keeps its Y out", {{0, 1}, {kNaN, 100}, {2, 5}}, {0, 2, 1, 5, true}},
      {"infinite X at both ends", {{-kInf, -50}, {0, 1}, {2, 5}, {kInf, 50}}, {0, 2, 1, 5, true}},
      {"infinite Y at both ends", {{0, kInf}, {1, 2}, {2, -kInf}}, {1, 1, 2, 2, true}},
      {"huge but finite", {{0, -1.7e308}, {1, 1.7e308}}, {0, 1, -1.7e308, 1.7e308, true}},
      {"nothing drawable", {{0, kNaN}, {kNaN, 3}, {kInf, kInf}}, {0, 0, 0, 0, false}},
      {"empty", {}, {0, 0, 0, 0, false}},
  };
  for (const Case& c : cases) {
    TFastLineSeries s;
    for (auto [x, y] : c.Data) s.AddXY(x, y);
    const TExtent got = ExtentOf(s);
    EXPECT_EQ(got, c.Expected) << c.Name << ": " << Show(got);
  }
}

// The extremes are cached; every way of changing the values brings them up
// to date, also moving the values of one list against the other.
TEST(NonFiniteData, SeriesExtremesFollowEveryChange) {
  TFastLineSeries s;
  for (auto [x, y] : Points{{0, 1}, {1, 5}, {2, 3}}) s.AddXY(x, y);
  EXPECT_EQ(ExtentOf(s), (TExtent{0, 2, 1, 5, true}));
  s.YValues()->SetValue(1, kNaN);
  EXPECT_EQ(ExtentOf(s), (TExtent{0, 2, 1, 3, true})) << Show(ExtentOf(s));
  s.XValues()->SetValue(2, kInf);
  EXPECT_EQ(ExtentOf(s), (TExtent{0, 0, 1, 1, true})) << Show(ExtentOf(s));
  // Y becomes NaN, 3, 1 against X 0, 1, +Inf: only (1, 3) is drawable.
  s.YValues()->Scroll();
  EXPECT_EQ(ExtentOf(s), (TExtent{1, 1, 3, 3, true})) << Show(ExtentOf(s));
  s.Delete(1);
  EXPECT_EQ(ExtentOf(s), (TExtent{0, 0, 0, 0, false})) << Show(ExtentOf(s));
  s.AddXY(-7, 8);
  EXPECT_EQ(ExtentOf(s), (TExtent{-7, -7, 8, 8, true})) << Show(ExtentOf(s));
  s.Clear();
  EXPECT_EQ(ExtentOf(s), (TExtent{0, 0, 0, 0, false})) << Show(ExtentOf(s));
}

struct TRanges {
  double BottomMin, BottomMax, LeftMin, LeftMax;
  bool operator==(const TRanges&) const = default;
};

std::string Show(const TRanges& R) {
  return "bottom " + std::to_string(R.BottomMin) + ".." + std::to_string(R.BottomMax) + " left " +
         std::to_string(R.LeftMin) + ".." + std::to_string(R.LeftMax);
}

// The automatic axis ends after one paint of a chart with these series.
TRanges PaintedRanges(const std::vector<Points>& Series) {
  ICanvasState.reset();
  TChart chart;
  chart.SetBounds(0, 0, 400, 300);
  chart.SetView3D(false);
  for (const Points& points : Series) {
    auto* s = new TFastLineSeries();
    chart.AddSeries(s);
    for (auto [x, y] : points) s->AddXY(x, y);
  }
  TRecordingCanvas rec;
  chart.Draw(&rec, {0, 0, 400, 300});
  const TRanges r{chart.BottomAxis()->Minimum(), chart.BottomAxis()->Maximum(), chart.LeftAxis()->Minimum(),
                  chart.LeftAxis()->Maximum()};
  ICanvasState.reset();
  return r;
}

Points DrawableOnly(const Points& P) {
  Points result;
  for (auto [x, y] : P)
    if (std::isfinite(x) && std::isfinite(y)) result.emplace_back(x, y);
  return result;
}

// Each chart gets the same ends as the chart of its drawable points alone.
TEST(NonFiniteData, AutomaticAxesSpanTheDrawablePoints) {
  struct Case {
    const char* Name;
    std::vector<Points> Series;
  };
  const std::vector<Case> cases = {
      {"NaN Y far right", {{{0, 1}, {1, 5}, {2, 3}, {10, kNaN}}}},
      {"NaN X with a high Y", {{{0, 1}, {kNaN, 100}, {2, 5}, {3, 2}}}},
      {"infinite X with far Ys", {{{-kInf, -50}, {0, 1}, {2, 5}, {kInf, 50}}}},
      {"infinite Ys", {{{0, kInf}, {1, 2}, {2, -kInf}, {3, 4}}}},
      {"a series with nothing drawable beside one that is finite",
       {{{1, 3}, {2, 7}, {4, 5}}, {{0, kNaN}, {kNaN, 0}, {9, kInf}}}},
      {"two series, each with points that cannot be drawn",
       {{{1, 3}, {2, kNaN}, {kInf, 9}}, {{-kInf, -9}, {kNaN, 20}, {5, 6}}}},
  };
  for (const Case& c : cases) {
    std::vector<Points> drawable;
    for (const Points& p : c.Series) {
      if (!DrawableOnly(p).empty()) drawable.push_back(DrawableOnly(p));
    }
    const TRanges got = PaintedRanges(c.Series);
    const TRanges expected = PaintedRanges(drawable);
    EXPECT_EQ(got, expected) << c.Name << ": " << Show(got) << " instead of " << Show(expected);
  }
}

// Nothing drawable at all: the axes keep finite ends and no line is drawn.
TEST(NonFiniteData, SeriesWithoutDrawablePointsLeavesTheAxesFinite) {
  for (const Points& p : std::vector<Points>{{{0, kNaN}, {1, kNaN}}, {{kNaN, 1}, {kInf, 2}}, {{kInf, -kInf}}}) {
    const TRanges r = PaintedRanges({p});
    for (double v : {r.BottomMin, r.BottomMax, r.LeftMin, r.LeftMax}) EXPECT_TRUE(std::isfinite(v)) << Show(r);
  }
}

// With paging and AutoScale the vertical range is that of the current
// page's drawable points.
TEST(NonFiniteData, PageScaleTakesThePagesDrawablePoints) {
  ICanvasState.reset();
  TChart chart;
  chart.SetBounds(0, 0, 400, 300);
  chart.SetView3D(false);
  auto* s = new TFastLineSeries();
  chart.AddSeries(s);
  for (auto [x, y] : Points{{0, 1}, {1, 5}, {kNaN, 50}, {3, 2}, {4, kInf}, {5, 4}}) s->AddXY(x, y);
  chart.SetMaxPointsPerPage(3);
  chart.Pages().SetAutoScale(true);
  struct Case {
    int Page;
    double LeftMin, LeftMax;
  };
  for (const Case& c : {Case{1, 1, 5}, Case{2, 2, 4}}) {
    chart.Pages().SetCurrent(c.Page);
    TRecordingCanvas rec;
    chart.Draw(&rec, {0, 0, 400, 300});
    EXPECT_EQ(chart.LeftAxis()->Minimum(), c.LeftMin) << "page " << c.Page;
    EXPECT_EQ(chart.LeftAxis()->Maximum(), c.LeftMax) << "page " << c.Page;
  }
  ICanvasState.reset();
}

}  // namespace
}  // namespace sextant::testing

// The ring window keeps the last Capacity points of a live series: values
// after each batch, the strokes of the reduced fast line while blocks drop
// off the front of its index, and the refused capacities.
#include <gtest/gtest.h>

#include <cmath>
#include <memory>
#include <random>
#include <vector>

#include "axes/chart_axis.h"
#include "canvas/canvas3d.h"
#include "panel/chart.h"
#include "platform/recording_canvas.h"
#include "series/fast_line_series.h"
#include "series/ring_window.h"

namespace sextant::testing {
namespace {

class TPerPointLine : public TFastLineSeries {};

std::vector<std::pair<TPointF, TPointF>> PaintLines(TChart& Chart) {
  ICanvasState.reset();
  TRecordingCanvas rec;
  Chart.Draw(&rec, {0, 0, Chart.Width(), Chart.Height()});
  ICanvasState.reset();
  return rec.Lines();
}

std::unique_ptr<TChart> MakeChart(TFastLineSeries* S, TDrawAllPointsStyle Style) {
  auto chart = std::make_unique<TChart>();
  chart->SetBounds(0, 0, 300, 200);
  chart->SetView3D(false);
  chart->AddSeries(S);
  S->SetDrawAllPoints(false);
  S->SetDrawAllPointsStyle(Style);
  return chart;
}

TEST(RingWindow, KeepsTheLastPointsAndDrawsThemLikeAFreshSeries) {
  for (TDrawAllPointsStyle style : {daFirst, daMinMax}) {
    auto* live = new TFastLineSeries();
    auto liveChart = MakeChart(live, style);
    TRingWindow window(*live, 10000);
    std::mt19937 rng(11);
    std::uniform_real_distribution<double> step(-1, 1);
    std::vector<double> allX, allY;
    double y = 0;
    // Batches of several sizes, one larger than the window.
    const int batches[] = {3000, 3000, 3000, 3000, 1, 63, 64, 65, 25000, 700, 7000};
    for (int b : batches) {
      std::vector<double> xs, ys;
      for (int i = 0; i < b; ++i) {
        y += step(rng);
        xs.push_back(static_cast<double>(allX.size()));
        ys.push_back(y);
        allX.push_back(xs.back());
        allY.push_back(y);
      }
      window.Append(xs, ys);
      const int kept = static_cast<int>(std::min<std::size_t>(allX.size(), 10000));
      ASSERT_EQ(live->Count(), kept);
      const std::size_t first = allX.size() - static_cast<std::size_t>(kept);
      EXPECT_EQ(live->XValue(0), allX[first]);
      EXPECT_EQ(live->YValue(kept - 1), allY.back());
      EXPECT_EQ(live->YValues()->MinValue(),
                *std::min_element(allY.begin() + static_cast<std::ptrdiff_t>(first), allY.end()));

      auto* fresh = new TPerPointLine();
      auto freshChart = MakeChart(fresh, style);
      fresh->AddArrays(std::span<const double>(allX).subspan(first), std::span<const double>(allY).subspan(first));
      const auto want = PaintLines(*freshChart);
      const auto got = PaintLines(*liveChart);
      EXPECT_TRUE(live->SearchedColumns());
      ASSERT_EQ(got.size(), want.size()) << "batch of " << b;
      for (std::size_t i = 0; i < got.size(); ++i) ASSERT_TRUE(got[i] == want[i]) << "batch of " << b << " line " << i;
    }
    // The storage takes its front room back: it stays near the window.
    EXPECT_LT(live->XValues()->Capacity(), 4u * 10000u);
  }
}

TEST(RingWindow, YOnlyContinuesTheXValues) {
  TFastLineSeries s;
  TRingWindow window(s, 4);
  const std::vector<double> a{1, 2, 3}, b{4, 5, 6, 7, 8, 9};
  window.Append(a);
  window.Append(b);
  ASSERT_EQ(s.Count(), 4);
  for (int i = 0; i < 4; ++i) {
    EXPECT_EQ(s.XValue(i), 5 + i);
    EXPECT_EQ(s.YValue(i), 6 + i);
  }
}

TEST(RingWindow, RefusesAnEmptyWindow) {
  TFastLineSeries s;
  for (int capacity : {0, -5}) {
    try {
      TRingWindow window(s, capacity);
      FAIL() << capacity;
    } catch (const ChartException& e) {
      EXPECT_EQ(std::string(e.what()), "Ring window: capacity " + std::to_string(capacity) + " must be at least 1.");
    }
  }
}

}  // namespace
}  // namespace sextant::testing

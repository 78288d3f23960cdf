// A chart created with defaults is drawn in the orthogonal 3D view: what a
// person sees in the rendered image is the bottom axis' labels under the
// plot, a left wall with depth, the floor and the grid on the back wall.
#include <QImage>
#include <gtest/gtest.h>

#include <algorithm>
#include <set>

#include "axes/chart_axis.h"
#include "panel/chart.h"
#include "platform/qt/chart_render.h"
#include "series/fast_line_series.h"
#include "qt_test_app.h"

namespace sextant {
namespace {

constexpr TColor kLeftWall = 0xFFFFFF80;
constexpr TColor kFloor = 0xFFFFFFFF;
constexpr TColor kGrid = 0xFFC0C0C0;

TColor Px(const QImage& image, int x, int y) { return image.pixelColor(x, y).rgba(); }

bool Dark(TColor c) { return GetRValue(c) < 110 && GetGValue(c) < 110 && GetBValue(c) < 110; }

// Longest run of Color in row y.
int LongestRun(const QImage& image, int y, TColor Color) {
  int best = 0, run = 0;
  for (int x = 0; x < image.width(); ++x) {
    run = Px(image, x, y) == Color ? run + 1 : 0;
    best = std::max(best, run);
  }
  return best;
}

TEST(View3DRender, DefaultChartShowsBottomLabelsWallsWithDepthAndGrid) {
  TChart chart;
  ASSERT_TRUE(chart.View3D());
  auto* series = new TFastLineSeries(&chart);
  chart.AddSeries(series);
  for (int i = 0; i < 20; ++i) series->AddXY(i, 50 + (i % 5) * 10);
  // Large enough for the default depth (1.5 % of the plot's width) to span
  // more than a handful of pixels.
  const QImage image = RenderChartImage(chart, QSize(1280, 800), 1);
  ASSERT_FALSE(image.isNull());

  const TRectF r = chart.ChartRect;
  const int W = chart.Width3D(), H = chart.Height3D();
  ASSERT_GT(W, 10);
  const int left = KelRound(r.Left), right = KelRound(r.Right);
  const int top = KelRound(r.Top), bottom = KelRound(r.Bottom);

  // Bottom labels: dark text below the plot (under the floor's front edge
  // and the axis line), in several separate groups along the axis.
  std::set<int> groups;
  for (int x = left - 5; x < right + 5; ++x)
    for (int y = bottom + 8; y < std::min(image.height(), bottom + 30); ++y)
      if (Dark(Px(image, x, y))) groups.insert(x / 20);
  EXPECT_GE(groups.size(), 5u);

  // The left wall has depth: half-way down, its yellow spans the depth.
  EXPECT_GE(LongestRun(image, (top + bottom) / 2, kLeftWall), W - 3);
  // It is a parallelogram: above the front's top edge, only its slanted
  // part shows, right of the plot's left edge.
  int yellowAbove = 0;
  for (int x = 0; x < image.width(); ++x)
    if (Px(image, x, top - H / 2) == kLeftWall) {
      EXPECT_GT(x, left) << x;
      ++yellowAbove;
    }
  EXPECT_GT(yellowAbove, 0);

  // The floor: white across the plot's width half-way into the depth, but
  // for its grid lines running to the back.
  int white = 0;
  for (int x = left; x < right; ++x) white += Px(image, x, bottom - H / 2) == kFloor;
  EXPECT_GE(white, (right - left) * 8 / 10);

  // The vertical grid on the back wall, at the bottom axis' ticks moved
  // by the depth.
  int gridColumns = 0;
  for (int P : chart.BottomAxis()->Tick) {
    const int x = P + W;
    if (x <= left + W + 2 || x >= right + W - 2) continue;
    int silver = 0;
    for (int y = top - H + 2; y < bottom - H - 2; ++y) silver += Px(image, x, y) == kGrid;
    if (silver > (bottom - top) / 2) ++gridColumns;
  }
  EXPECT_GE(gridColumns, 2);
}

}  // namespace
}  // namespace sextant

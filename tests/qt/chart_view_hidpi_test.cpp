// TChartView on a screen of device pixel ratio 2 (Qt scale factor 2): the
// chart keeps its layout in device-independent pixels, its 1-pixel lines are
// crisp 2-device-pixel lines, and the widget shows exactly what rendering the
// chart into an image of ratio 2 gives.
#include <QByteArray>
#include <QtGlobal>

// Before the test application starts (the environment's SetUp).
static const bool kScaleFactorSet = qputenv("QT_SCALE_FACTOR", QByteArray("2"));

#include <QTest>
#include <QVBoxLayout>
#include <gtest/gtest.h>

#include <memory>

#include "marks/series_marks.h"
#include "panel/chart.h"
#include "platform/qt/chart_render.h"
#include "platform/qt/chart_view.h"
#include "series/fast_line_series.h"
#include "qt_test_app.h"

namespace sextant {
namespace {

TEST(ChartViewHiDpi, LayoutInLogicalPixelsCrispLinesSameAsExport) {
  ASSERT_TRUE(kScaleFactorSet);
  QWidget window;
  auto* layout = new QVBoxLayout(&window);
  layout->setContentsMargins(0, 0, 0, 0);
  auto* view = new TChartView;
  layout->addWidget(view);
  TChart* chart = view->Chart();
  chart->SetView3D(false);
  auto* series = new TFastLineSeries(chart);
  chart->AddSeries(series);
  for (int i = 0; i < 8; ++i) series->AddXY(i, 10);
  series->Marks()->SetVisible(true);
  int draws = 0;
  chart->OnAfterDraw = [&](TPersistent*) { ++draws; };

  window.resize(400, 250);
  window.show();
  ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
  ASSERT_TRUE(QTest::qWaitFor([&] { return draws > 0; }));
  EXPECT_EQ(view->devicePixelRatioF(), 2);
  EXPECT_EQ(chart->Width(), 400);  // device-independent pixels
  EXPECT_EQ(chart->Height(), 250);

  const QImage shown = view->grab().toImage();
  ASSERT_EQ(shown.size(), QSize(800, 500));
  // The raised bevel: 2 device columns white on the left, 2 grey on the right.
  for (int y : {40, 100, 400, 460}) {
    EXPECT_EQ(shown.pixelColor(0, y).rgba(), 0xFFFFFFFFu) << y;
    EXPECT_EQ(shown.pixelColor(1, y).rgba(), 0xFFFFFFFFu) << y;
    EXPECT_EQ(shown.pixelColor(2, y).rgba(), 0xFFF0F0F0u) << y;
    EXPECT_EQ(shown.pixelColor(797, y).rgba(), 0xFFF0F0F0u) << y;
    EXPECT_EQ(shown.pixelColor(798, y).rgba(), 0xFFA0A0A0u) << y;
    EXPECT_EQ(shown.pixelColor(799, y).rgba(), 0xFFA0A0A0u) << y;
  }

  const QImage exported =
      RenderChartImage(*chart, {400, 250}, 2).convertToFormat(shown.format());
  ASSERT_EQ(exported.size(), shown.size());
  int different = 0;
  for (int y = 0; y < shown.height(); ++y)
    for (int x = 0; x < shown.width(); ++x)
      if (shown.pixel(x, y) != exported.pixel(x, y)) ++different;
  EXPECT_EQ(different, 0);
}

}  // namespace
}  // namespace sextant

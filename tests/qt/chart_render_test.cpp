// Rendering a chart outside its widget: images of the requested size and
// device pixel ratio, the layout kept in device-independent pixels, crisp
// 1-pixel lines that cover exactly ratio device pixels, text drawn at the
// device resolution, any paint device, PNG files, and refusals of unusable
// sizes and ratios.
#include "platform/qt/chart_render.h"

#include <QDir>
#include <QImage>
#include <QPainter>
#include <QPixmap>
#include <QTemporaryDir>
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <vector>

#include "marks/series_marks.h"
#include "panel/chart.h"
#include "series/fast_line_series.h"
#include "qt_test_app.h"

namespace sextant {
namespace {

constexpr TColor kPanel = 0xFFF0F0F0;      // the panel's default colour
constexpr TColor kHighlight = 0xFFFFFFFF;  // raised bevel, top and left
constexpr TColor kShadow = 0xFFA0A0A0;     // raised bevel, right and bottom
constexpr TColor kLine = 0xFF0000FF;
constexpr int kWidth = 400;
constexpr int kHeight = 250;

TColor Px(const QImage& image, int x, int y) { return image.pixelColor(x, y).rgba(); }

// A flat chart with one horizontal line: every stroke is axis-aligned.
class ChartRenderTest : public ::testing::Test {
 protected:
  ChartRenderTest() {
    FChart.SetView3D(false);
    FSeries = new TFastLineSeries(&FChart);
    FChart.AddSeries(FSeries);
    FSeries->SetSeriesColor(kLine);
    for (int i = 0; i < 10; ++i) FSeries->AddXY(i, i == 0 ? 0 : 10);
  }

  // Device rows of device column x holding the series line colour.
  static std::vector<int> LineRows(const QImage& image, int x) {
    std::vector<int> rows;
    for (int y = 0; y < image.height(); ++y)
      if (Px(image, x, y) == kLine) rows.push_back(y);
    return rows;
  }

  TChart FChart;
  TFastLineSeries* FSeries;  // shown by the chart, which frees it
};

TEST_F(ChartRenderTest, ImagesHaveTheRequestedSizeTimesTheRatio) {
  const struct {
    QSize size;
    qreal ratio;
    QSize device;
  } cases[] = {
      {{400, 250}, 1, {400, 250}},
      {{400, 250}, 2, {800, 500}},
      {{400, 250}, 1.5, {600, 375}},
      {{101, 33}, 3, {303, 99}},
  };
  for (const auto& c : cases) {
    const QImage image = RenderChartImage(FChart, c.size, c.ratio);
    EXPECT_EQ(image.size(), c.device) << c.ratio;
    EXPECT_EQ(image.devicePixelRatio(), c.ratio);
    EXPECT_EQ(image.deviceIndependentSize().toSize(), c.size);
  }
}

// The panel's raised bevel is a 1-pixel line along each edge and the flat
// series a 1-pixel horizontal line: at ratio r each covers exactly r device
// pixels, at r times the place it has at ratio 1.
TEST_F(ChartRenderTest, OnePixelLinesCoverExactlyRatioDevicePixels) {
  const QImage one = RenderChartImage(FChart, {kWidth, kHeight}, 1);
  const QImage two = RenderChartImage(FChart, {kWidth, kHeight}, 2);
  ASSERT_FALSE(one.isNull());
  ASSERT_FALSE(two.isNull());
  for (const auto& [image, r] : {std::pair{&one, 1}, std::pair{&two, 2}}) {
    const int w = kWidth * r;
    for (int y : {40 * r, 125 * r, 200 * r}) {
      for (int x = 0; x < r; ++x) EXPECT_EQ(Px(*image, x, y), kHighlight) << "ratio " << r << " x " << x;
      EXPECT_EQ(Px(*image, r, y), kPanel) << "ratio " << r;
      for (int x = w - r; x < w; ++x) EXPECT_EQ(Px(*image, x, y), kShadow) << "ratio " << r << " x " << x;
      EXPECT_EQ(Px(*image, w - r - 1, y), kPanel) << "ratio " << r;
    }
  }
  const std::vector<int> rowsOne = LineRows(one, kWidth / 2);
  ASSERT_EQ(rowsOne.size(), 1u);
  EXPECT_EQ(LineRows(two, kWidth), (std::vector<int>{2 * rowsOne[0], 2 * rowsOne[0] + 1}));
  // Nothing blurred next to the line.
  EXPECT_EQ(Px(two, kWidth, 2 * rowsOne[0] - 1), kPanel);
  EXPECT_EQ(Px(two, kWidth, 2 * rowsOne[0] + 2), kPanel);
}

// Text (the marks' values) is rasterised at the device resolution: at ratio
// 2 it is not a pixel-doubled copy of the ratio 1 drawing, and it sits at
// twice the place.
TEST_F(ChartRenderTest, TextIsDrawnAtTheDeviceResolutionInTheSameLayout) {
  FSeries->Marks()->SetVisible(true);
  const QImage one = RenderChartImage(FChart, {kWidth, kHeight}, 1);
  const QImage two = RenderChartImage(FChart, {kWidth, kHeight}, 2);
  // Dark pixels: mark texts and frames.
  const auto darkBounds = [](const QImage& image) {
    QRect bounds;
    for (int y = 0; y < image.height(); ++y)
      for (int x = 0; x < image.width(); ++x)
        if (qGray(image.pixel(x, y)) < 64) bounds |= QRect(x, y, 1, 1);
    return bounds;
  };
  const QRect b1 = darkBounds(one), b2 = darkBounds(two);
  ASSERT_FALSE(b1.isEmpty());
  EXPECT_NEAR(b2.left(), 2 * b1.left(), 2);
  EXPECT_NEAR(b2.top(), 2 * b1.top(), 2);
  EXPECT_NEAR(b2.right(), 2 * b1.right() + 1, 2);
  EXPECT_NEAR(b2.bottom(), 2 * b1.bottom() + 1, 2);
  // A doubled bitmap has uniform 2 x 2 blocks; glyph edges drawn at the
  // device resolution do not.
  int mixedBlocks = 0;
  for (int y = b2.top() & ~1; y + 1 <= b2.bottom(); y += 2)
    for (int x = b2.left() & ~1; x + 1 <= b2.right(); x += 2) {
      const QRgb p = two.pixel(x, y);
      if (two.pixel(x + 1, y) != p || two.pixel(x, y + 1) != p || two.pixel(x + 1, y + 1) != p) ++mixedBlocks;
    }
  EXPECT_GT(mixedBlocks, 50);
}

TEST_F(ChartRenderTest, AnyPaintDeviceAtItsOwnRatio) {
  QPixmap pixmap(2 * kWidth, 2 * kHeight);
  pixmap.setDevicePixelRatio(2);
  pixmap.fill(Qt::black);
  RenderChart(FChart, pixmap, QSizeF(kWidth, kHeight));
  const QImage image = pixmap.toImage();
  EXPECT_EQ(Px(image, 0, 100), kHighlight);
  EXPECT_EQ(Px(image, 1, 100), kHighlight);
  EXPECT_EQ(Px(image, 2, 100), kPanel);
  EXPECT_EQ(Px(image, 2 * kWidth - 1, 100), kShadow);
}

TEST_F(ChartRenderTest, PainterTargetPlacesAndClipsTheChart) {
  QImage image(300, 200, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::black);
  {
    QPainter painter(&image);
    painter.setPen(Qt::red);
    RenderChart(FChart, painter, QRectF(50, 30, 200, 120));
    // The painter comes back as it was handed over.
    EXPECT_EQ(painter.pen().color(), QColor(Qt::red));
    EXPECT_FALSE(painter.hasClipping());
    EXPECT_TRUE(painter.transform().isIdentity());
  }
  EXPECT_EQ(Px(image, 50, 100), kHighlight);  // left bevel at the target's left
  EXPECT_EQ(Px(image, 249, 100), kShadow);    // right bevel inside the target
  EXPECT_EQ(Px(image, 100, 30), kHighlight);  // top bevel
  EXPECT_EQ(Px(image, 49, 100), 0xFF000000u);  // nothing outside
  EXPECT_EQ(Px(image, 250, 100), 0xFF000000u);
  EXPECT_EQ(Px(image, 100, 29), 0xFF000000u);
  EXPECT_EQ(Px(image, 100, 150), 0xFF000000u);
  EXPECT_EQ(FChart.Width(), 200);  // a chart of its own takes the size drawn at
  EXPECT_EQ(FChart.Height(), 120);
}

TEST_F(ChartRenderTest, UnusableSizesAndRatiosRenderNothing) {
  const qreal nan = std::numeric_limits<qreal>::quiet_NaN();
  const qreal inf = std::numeric_limits<qreal>::infinity();
  const struct {
    QSize size;
    qreal ratio;
  } cases[] = {
      {{0, 250}, 1}, {{400, 0}, 1}, {{-5, 20}, 1},   {{400, 250}, 0},       {{400, 250}, -2},
      {{400, 250}, nan}, {{400, 250}, inf}, {{40000, 10}, 1}, {{20000, 10}, 2},
  };
  for (const auto& c : cases)
    EXPECT_TRUE(RenderChartImage(FChart, c.size, c.ratio).isNull())
        << c.size.width() << "x" << c.size.height() << " at " << c.ratio;

  QImage image(50, 50, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::black);
  RenderChart(FChart, image, QSizeF(nan, 20));
  RenderChart(FChart, image, QSizeF(0, 20));
  QPainter inactive;
  RenderChart(FChart, inactive, QRectF(0, 0, 20, 20));
  EXPECT_EQ(Px(image, 0, 0), 0xFF000000u);
}

TEST_F(ChartRenderTest, SavesPngFilesAndReportsFailures) {
  QTemporaryDir dir;
  ASSERT_TRUE(dir.isValid());
  const QString file = dir.filePath("chart.png");
  ASSERT_TRUE(SaveChartPng(FChart, file, {kWidth, kHeight}, 2));
  const QImage saved(file);
  EXPECT_EQ(saved.size(), QSize(2 * kWidth, 2 * kHeight));
  EXPECT_EQ(Px(saved, 1, 100), kHighlight);
  EXPECT_EQ(Px(saved, 2, 100), kPanel);

  EXPECT_TRUE(SaveChartPng(FChart, dir.filePath("default.png"), {kWidth, kHeight}));
  EXPECT_EQ(QImage(dir.filePath("default.png")).size(), QSize(kWidth, kHeight));
  EXPECT_FALSE(SaveChartPng(FChart, dir.filePath("no/such/folder/chart.png"), {kWidth, kHeight}));
  EXPECT_FALSE(SaveChartPng(FChart, dir.filePath("empty.png"), {0, 0}));
  EXPECT_FALSE(QDir(dir.path()).exists("empty.png"));
}

}  // namespace
}  // namespace sextant

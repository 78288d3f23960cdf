// Saving charts to files: PNG, JPEG and BMP by suffix with the same pixels
// as the rendered image (JPEG within its loss), white behind transparent
// areas where the format has no alpha, SVG and PDF documents that decode to
// the same picture, and clear refusals of unknown suffixes, unusable sizes
// and unwritable files.
#include "platform/qt/chart_export.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>
#include <QImageReader>
#include <QPainter>
#include <QProcess>
#include <QRegularExpression>
#include <QStandardPaths>
#include <QSvgRenderer>
#include <QTemporaryDir>
#include <QXmlStreamReader>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <limits>

#include "marks/series_marks.h"
#include "panel/chart.h"
#include "platform/qt/chart_render.h"
#include "series/fast_line_series.h"
#include "qt_test_app.h"

namespace sextant {
namespace {

const QSize kSize(320, 200);

// How far two images of the same size are apart, over the colour channels.
struct TDifference {
  double Mean = 0;           // mean absolute channel difference
  double FarFraction = 0;    // fraction of pixels with a channel off by more than kFar
  static constexpr int kFar = 64;
};

TDifference Compare(const QImage& a, const QImage& b) {
  TDifference d;
  const QImage x = a.convertToFormat(QImage::Format_ARGB32);
  const QImage y = b.convertToFormat(QImage::Format_ARGB32);
  if (x.size() != y.size()) return {255, 1};
  long long sum = 0, far = 0;
  for (int row = 0; row < x.height(); ++row) {
    const QRgb* p = reinterpret_cast<const QRgb*>(x.constScanLine(row));
    const QRgb* q = reinterpret_cast<const QRgb*>(y.constScanLine(row));
    for (int col = 0; col < x.width(); ++col) {
      const int dr = std::abs(qRed(p[col]) - qRed(q[col]));
      const int dg = std::abs(qGreen(p[col]) - qGreen(q[col]));
      const int db = std::abs(qBlue(p[col]) - qBlue(q[col]));
      sum += dr + dg + db;
      if (dr > TDifference::kFar || dg > TDifference::kFar || db > TDifference::kFar) ++far;
    }
  }
  const double pixels = double(x.width()) * x.height();
  d.Mean = sum / (3 * pixels);
  d.FarFraction = far / pixels;
  return d;
}

// A flat chart with two lines and marks: straight strokes, text and fills.
class ChartExportTest : public ::testing::Test {
 protected:
  ChartExportTest() {
    FChart.SetView3D(false);
    auto* sales = new TFastLineSeries(&FChart);
    auto* trend = new TFastLineSeries(&FChart);
    FChart.AddSeries(sales);
    FChart.AddSeries(trend);
    sales->SetSeriesColor(0xFFD02020);
    trend->SetSeriesColor(0xFF2050D0);
    const double values[] = {12, 15, 14, 19, 23, 22, 27, 30};
    for (int i = 0; i < 8; ++i) {
      sales->AddXY(i, values[i]);
      trend->AddXY(i, 12 + 2.4 * i);
    }
    sales->Marks()->SetVisible(true);
  }

  QString Path(const QString& name) const { return FDir.filePath(name); }

  QTemporaryDir FDir;
  TChart FChart;
};

TEST_F(ChartExportTest, RasterFormatsFollowTheSuffixAndMatchTheRenderedImage) {
  const struct {
    const char* name;
    qreal ratio;
    QByteArray format;     // what the written bytes decode as
    double maxMean;        // mean channel difference to the rendered image
    double maxFar;         // fraction of pixels far off
  } cases[] = {
      {"chart.png", 1, "png", 0, 0},
      {"chart.PNG", 2, "png", 0, 0},
      {"chart.bmp", 1, "bmp", 0, 0},
      {"chart.bmp", 2, "bmp", 0, 0},
      {"chart.jpg", 1, "jpeg", 3, 0.01},
      {"chart.jpeg", 2, "jpeg", 3, 0.01},
      {"chart.JpG", 1.5, "jpeg", 3, 0.01},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.name) + " ratio " + std::to_string(c.ratio));
    const QString file = Path(QString::number(c.ratio) + c.name);
    QString error = "untouched";
    ASSERT_TRUE(SaveChartImage(FChart, file, kSize, c.ratio, &error)) << error.toStdString();
    EXPECT_EQ(error, "untouched");  // success leaves the message alone

    QImageReader reader(file);
    reader.setDecideFormatFromContent(true);
    EXPECT_EQ(reader.format(), c.format);
    const QImage written = reader.read();
    ASSERT_FALSE(written.isNull()) << reader.errorString().toStdString();
    const QImage rendered = RenderChartImage(FChart, kSize, c.ratio);
    ASSERT_EQ(written.size(), rendered.size());
    const TDifference d = Compare(written, rendered);
    EXPECT_LE(d.Mean, c.maxMean);
    EXPECT_LE(d.FarFraction, c.maxFar);
  }
}

TEST_F(ChartExportTest, TheJpegToleranceStillSeesADifferentChart) {
  // The tolerance above is tight enough to notice a changed series.
  ASSERT_TRUE(SaveChartImage(FChart, Path("before.jpg"), kSize));
  FChart.Series(0)->AddXY(8, 5);
  const QImage after = RenderChartImage(FChart, kSize, 1);
  const TDifference d = Compare(QImage(Path("before.jpg")), after);
  EXPECT_TRUE(d.Mean > 3 || d.FarFraction > 0.01) << d.Mean << " " << d.FarFraction;
}

TEST_F(ChartExportTest, FormatsWithoutAlphaShowWhiteWhereTheChartIsTransparent) {
  FChart.SetColor(0);  // no panel background: the corners stay transparent
  const QImage rendered = RenderChartImage(FChart, kSize, 1);
  ASSERT_EQ(qAlpha(rendered.pixel(5, 5)), 0);
  const struct {
    const char* name;
    QRgb corner;
    int tolerance;
  } cases[] = {
      {"clear.png", 0x00000000, 0},
      {"clear.bmp", 0xFFFFFFFF, 0},
      {"clear.jpg", 0xFFFFFFFF, 8},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    ASSERT_TRUE(SaveChartImage(FChart, Path(c.name), kSize));
    const QImage image = QImage(Path(c.name)).convertToFormat(QImage::Format_ARGB32);
    const QRgb p = image.pixel(5, 5);
    EXPECT_EQ(qAlpha(p), qAlpha(c.corner));
    if (qAlpha(c.corner) == 0) continue;
    EXPECT_NEAR(qRed(p), qRed(c.corner), c.tolerance);
    EXPECT_NEAR(qGreen(p), qGreen(c.corner), c.tolerance);
    EXPECT_NEAR(qBlue(p), qBlue(c.corner), c.tolerance);
  }
}

TEST_F(ChartExportTest, FormatOfTheSuffix) {
  const struct {
    const char* name;
    std::optional<TChartImageFormat> format;
  } cases[] = {
      {"a.png", TChartImageFormat::Png},   {"dir.x/a.PnG", TChartImageFormat::Png},
      {"a.jpg", TChartImageFormat::Jpeg},  {"a.jpeg", TChartImageFormat::Jpeg},
      {"a.JPEG", TChartImageFormat::Jpeg}, {"a.bmp", TChartImageFormat::Bmp},
      {"a.tar.bmp", TChartImageFormat::Bmp}, {"a.gif", std::nullopt},
      {"a.svg", std::nullopt},             {"a.png.txt", std::nullopt},
      {"png", std::nullopt},               {"a.", std::nullopt},
      {"", std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(ChartImageFormatOf(c.name), c.format) << c.name;
}

TEST_F(ChartExportTest, RefusalsSayWhyAndWriteNothing) {
  const qreal nan = std::numeric_limits<double>::quiet_NaN();
  const struct {
    const char* name;
    QSize size;
    qreal ratio;
    const char* message;  // the start of the error
  } cases[] = {
      {"chart.gif", kSize, 1, "Cannot save \"%1\": unknown image format \".gif\" (use .png, .jpg, .jpeg or .bmp)"},
      {"chart.svg", kSize, 1, "Cannot save \"%1\": unknown image format \".svg\""},
      {"chart", kSize, 1, "Cannot save \"%1\": the file name has no suffix (use .png, .jpg, .jpeg or .bmp)"},
      {"empty.png", QSize(0, 200), 1, "Cannot save a chart of 0 x 200 pixels"},
      {"negative.jpg", QSize(320, -5), 1, "Cannot save a chart of 320 x -5 pixels"},
      {"huge.bmp", QSize(40000, 10), 1, "Cannot save a chart of 40000 x 10 pixels"},
      {"zero.png", kSize, 0, "Cannot save a chart at device pixel ratio 0"},
      {"nan.png", kSize, nan, "Cannot save a chart at device pixel ratio nan"},
      {"toolarge.png", QSize(20000, 100), 2, "Cannot render a chart of 20000 x 100 pixels at ratio 2"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const QString file = Path(c.name);
    QString error;
    EXPECT_FALSE(SaveChartImage(FChart, file, c.size, c.ratio, &error));
    const QString expected = QString(c.message).contains("%1") ? QString(c.message).arg(file) : QString(c.message);
    EXPECT_TRUE(error.startsWith(expected)) << error.toStdString() << "\n  expected " << expected.toStdString();
    EXPECT_FALSE(QFileInfo::exists(file));
    EXPECT_FALSE(SaveChartImage(FChart, file, c.size, c.ratio));  // no error pointer: just false
  }
}

TEST_F(ChartExportTest, UnwritableFilesAreReportedByEveryFormat) {
  const QString dir = Path("missing-folder");
  const struct {
    const char* name;
    bool (*save)(TCustomKelPanel&, const QString&, QString*);
  } cases[] = {
      {"chart.png", [](TCustomKelPanel& c, const QString& f, QString* e) { return SaveChartImage(c, f, kSize, 1, e); }},
      {"chart.jpg", [](TCustomKelPanel& c, const QString& f, QString* e) { return SaveChartImage(c, f, kSize, 1, e); }},
      {"chart.svg", [](TCustomKelPanel& c, const QString& f, QString* e) { return SaveChartSvg(c, f, kSize, e); }},
      {"chart.pdf", [](TCustomKelPanel& c, const QString& f, QString* e) { return SaveChartPdf(c, f, kSize, e); }},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const QString file = dir + "/" + c.name;
    QString error;
    EXPECT_FALSE(c.save(FChart, file, &error));
    EXPECT_TRUE(error.startsWith("Cannot write \"" + file + "\": ")) << error.toStdString();
    EXPECT_GT(error.size(), ("Cannot write \"" + file + "\": ").size());  // with the reason
  }
  EXPECT_FALSE(QFileInfo::exists(dir));
}

TEST_F(ChartExportTest, DocumentsRefuseUnusableSizes) {
  for (const QSize size : {QSize(0, 0), QSize(-3, 100), QSize(100, 40000)}) {
    for (const char* name : {"bad.svg", "bad.pdf"}) {
      const QString file = Path(name);
      QString error;
      const bool saved = QString(name).endsWith("svg") ? SaveChartSvg(FChart, file, size, &error)
                                                       : SaveChartPdf(FChart, file, size, &error);
      EXPECT_FALSE(saved) << name;
      EXPECT_EQ(error, QString("Cannot save a chart of %1 x %2 pixels").arg(size.width()).arg(size.height()));
      EXPECT_FALSE(QFileInfo::exists(file)) << name;
    }
  }
}

TEST_F(ChartExportTest, SvgIsAVectorDocumentOfThePicture) {
  const QString file = Path("chart.svg");
  QString error;
  ASSERT_TRUE(SaveChartSvg(FChart, file, kSize, &error)) << error.toStdString();

  // Well-formed XML whose root is an svg element of the chart's size, drawn
  // with vector elements only.
  QFile in(file);
  ASSERT_TRUE(in.open(QIODevice::ReadOnly));
  QXmlStreamReader xml(&in);
  int paths = 0, images = 0;
  QString rootName, viewBox, width, height;
  while (!xml.atEnd()) {
    if (xml.readNext() != QXmlStreamReader::StartElement) continue;
    if (rootName.isEmpty()) {
      rootName = xml.name().toString();
      viewBox = xml.attributes().value("viewBox").toString();
      width = xml.attributes().value("width").toString();
      height = xml.attributes().value("height").toString();
    }
    if (xml.name() == u"path" || xml.name() == u"polyline" || xml.name() == u"rect") ++paths;
    if (xml.name() == u"image") ++images;
  }
  EXPECT_FALSE(xml.hasError()) << xml.errorString().toStdString();
  EXPECT_EQ(rootName, "svg");
  EXPECT_EQ(viewBox, "0 0 320 200");
  EXPECT_EQ(width, "320");  // pixels, not millimetres
  EXPECT_EQ(height, "200");
  EXPECT_GT(paths, 20);  // frame, grid, lines, mark boxes, text outlines
  EXPECT_EQ(images, 0);

  // Qt's own SVG renderer draws it as the chart draws itself.
  QSvgRenderer renderer(file);
  ASSERT_TRUE(renderer.isValid());
  EXPECT_EQ(renderer.viewBox(), QRect(QPoint(0, 0), kSize));
  EXPECT_EQ(renderer.defaultSize(), kSize);
  QImage drawn(kSize, QImage::Format_ARGB32_Premultiplied);
  drawn.fill(Qt::transparent);
  {
    QPainter painter(&drawn);
    renderer.render(&painter, QRectF(QPointF(0, 0), QSizeF(kSize)));
  }
  const TDifference d = Compare(drawn, RenderChartImage(FChart, kSize, 1));
  EXPECT_LE(d.Mean, 4) << d.FarFraction;
  EXPECT_LE(d.FarFraction, 0.02) << d.Mean;
}

// Runs a poppler tool; empty output when it is missing or fails.
QByteArray Poppler(const QString& tool, const QStringList& args) {
  const QString program = QStandardPaths::findExecutable(tool);
  if (program.isEmpty()) return {};
  QProcess process;
  process.start(program, args);
  if (!process.waitForFinished(60000) || process.exitCode() != 0) return {};
  return process.readAllStandardOutput();
}

TEST_F(ChartExportTest, PdfIsOnePageOfTheChartsSizeShowingThePicture) {
  const QSize size(480, 240);  // 5 x 2.5 inches at 96 per inch
  const QString file = Path("chart.pdf");
  QString error;
  ASSERT_TRUE(SaveChartPdf(FChart, file, size, &error)) << error.toStdString();

  QFile in(file);
  ASSERT_TRUE(in.open(QIODevice::ReadOnly));
  const QByteArray bytes = in.readAll();
  EXPECT_TRUE(bytes.startsWith("%PDF-"));
  EXPECT_TRUE(bytes.trimmed().endsWith("%%EOF"));
  EXPECT_EQ(bytes.count("/Type /Page\n") + bytes.count("/Type /Page "), 1);
  EXPECT_TRUE(bytes.contains("/Count 1"));

  // The page decodes: one page of 360 x 180 points that renders at 96 dots
  // per inch to the image the chart renders.
  if (QStandardPaths::findExecutable("pdfinfo").isEmpty()) GTEST_SKIP() << "poppler-utils not installed";
  const QString info = QString::fromUtf8(Poppler("pdfinfo", {file}));
  EXPECT_TRUE(info.contains(QRegularExpression("Pages:\\s+1\n"))) << info.toStdString();
  EXPECT_TRUE(info.contains(QRegularExpression("Page size:\\s+360 x 180 pts"))) << info.toStdString();

  const QString prefix = Path("page");
  Poppler("pdftoppm", {"-r", "96", "-png", "-singlefile", file, prefix});
  const QImage page(prefix + ".png");
  ASSERT_EQ(page.size(), size);
  const TDifference d = Compare(page, RenderChartImage(FChart, size, 1));
  EXPECT_LE(d.Mean, 4) << d.FarFraction;
  EXPECT_LE(d.FarFraction, 0.02) << d.Mean;
}

}  // namespace
}  // namespace sextant

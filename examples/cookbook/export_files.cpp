// Cookbook: saving a chart as PNG, JPEG, BMP, SVG or PDF.
//   export_files OUT.png     (also writes OUT.png.svg and OUT.png.pdf)
#include <QGuiApplication>

#include <cstdio>

#include <sextant/panel/chart.h>
#include <sextant/panel/legend.h>
#include <sextant/panel/titles.h>
#include <sextant/platform/qt/chart_export.h>
#include <sextant/platform/qt/qt_services.h>
#include <sextant/series/bar_series.h>

using namespace sextant;

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  QGuiApplication app(argc, argv);
  InstallQtPlatformServices(nullptr);

  TChart chart;
  chart.SetView3D(false);
  chart.Legend()->SetVisible(false);  // one series: no legend
  chart.Title()->SetCaption("Exported");
  auto* bars = new TBarSeries(&chart);
  chart.AddSeries(bars);
  const double sales[] = {4, 7, 5, 9, 6};
  for (double v : sales) bars->Add(v);

  const QString file = QString::fromLocal8Bit(argv[1]);
  QString error;
  // The format follows the suffix (.png, .jpg, .bmp); ratio 2 for a sharp
  // image on high-density screens.
  if (!SaveChartImage(chart, file, QSize(640, 400), 2, &error) ||
      !SaveChartSvg(chart, file + ".svg", QSize(640, 400), &error) ||
      !SaveChartPdf(chart, file + ".pdf", QSize(640, 400), &error)) {
    std::fprintf(stderr, "%s\n", error.toLocal8Bit().constData());
    return 1;
  }
  return 0;
}

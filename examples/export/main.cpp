// export_example: a chart configured in code and saved as an image or a
// document, with no window and no display.
//
//   export_example [FILE] [--ratio R] [--size WxH]
//
// The suffix of FILE chooses the format: .png, .jpg/.jpeg and .bmp images,
// .svg and .pdf vector documents. FILE defaults to chart.png, the ratio
// (device pixels per pixel, images only) to 2 and the size
// (device-independent pixels) to 640x400. Exit codes: 0 written, 1 not
// written, 2 wrong command line.
#include <QGuiApplication>
#include <QString>

#include <cmath>
#include <cstdio>
#include <string>

#include <sextant/marks/series_marks.h>
#include <sextant/panel/chart.h>
#include <sextant/platform/qt/chart_export.h>
#include <sextant/platform/qt/qt_services.h>
#include <sextant/series/fast_line_series.h>

namespace {

int Usage() {
  std::fprintf(stderr, "usage: export_example [FILE] [--ratio R] [--size WxH]\n");
  return 2;
}

}  // namespace

int main(int argc, char** argv) {
  QString file = "chart.png";
  double ratio = 2;
  int width = 640, height = 400;
  for (int i = 1; i < argc; ++i) {
    const std::string arg = argv[i];
    if (arg == "--ratio" && i + 1 < argc) {
      if (std::sscanf(argv[++i], "%lf", &ratio) != 1 || !(ratio > 0)) return Usage();
    } else if (arg == "--size" && i + 1 < argc) {
      if (std::sscanf(argv[++i], "%dx%d", &width, &height) != 2 || width <= 0 || height <= 0) return Usage();
    } else if (!arg.empty() && arg[0] != '-') {
      file = QString::fromLocal8Bit(argv[i]);
    } else {
      return Usage();
    }
  }

  // No window is ever shown: the offscreen platform needs no display.
  if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", QByteArray("offscreen"));
  QGuiApplication app(argc, argv);
  // Without a TChartView nothing installs the host services: fonts then
  // follow the system as in a window.
  sextant::InstallQtPlatformServices(nullptr);

  sextant::TChart chart;  // a chart of its own, not shown anywhere
  chart.SetView3D(false);
  auto* monthly = new sextant::TFastLineSeries(&chart);
  auto* trend = new sextant::TFastLineSeries(&chart);
  chart.AddSeries(monthly);
  chart.AddSeries(trend);
  const double sales[] = {12, 15, 14, 19, 23, 22, 27, 30, 26, 24, 29, 35};
  for (int month = 0; month < 12; ++month) {
    monthly->AddXY(month + 1, sales[month]);
    trend->AddXY(month + 1, 12 + 1.9 * month);
  }
  monthly->Marks()->SetVisible(true);  // each value written at its point

  const QSize size(width, height);
  const QString suffix = file.section('.', -1).toLower();
  QString error;
  bool written;
  if (suffix == "svg")
    written = sextant::SaveChartSvg(chart, file, size, &error);
  else if (suffix == "pdf")
    written = sextant::SaveChartPdf(chart, file, size, &error);
  else
    written = sextant::SaveChartImage(chart, file, size, ratio, &error);
  if (!written) {
    std::fprintf(stderr, "export_example: %s\n", error.toLocal8Bit().constData());
    return 1;
  }
  if (suffix == "svg" || suffix == "pdf")
    std::printf("export_example: wrote %s (%d x %d pixels)\n", file.toLocal8Bit().constData(), width, height);
  else
    std::printf("export_example: wrote %s (%d x %d device pixels)\n", file.toLocal8Bit().constData(),
                static_cast<int>(std::ceil(width * ratio)), static_cast<int>(std::ceil(height * ratio)));
  return 0;
}

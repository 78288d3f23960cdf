// quick_example: the chart in a Qt Quick window, declared in QML as
// ChartView (module Sextant 1.0) and filled from C++.
//
//   quick_example                    opens the window
//   quick_example --screenshot FILE  saves the window's first frame as an
//                                    image and exits (0 written, 1 not)
#include <QGuiApplication>
#include <QQmlApplicationEngine>
#include <QQuickWindow>
#include <QTimer>
#include <QUrl>

#include <cmath>
#include <cstdio>
#include <cstring>

#include <sextant/axes/chart_axis.h>
#include <sextant/panel/chart.h>
#include <sextant/platform/qt/quick/chart_quick_item.h>
#include <sextant/series/fast_line_series.h>

namespace {

void FillChart(sextant::TChart& chart) {
  chart.SetView3D(false);
  auto* wave = new sextant::TFastLineSeries(&chart);  // freed by the chart
  auto* envelope = new sextant::TFastLineSeries(&chart);
  chart.AddSeries(wave);
  chart.AddSeries(envelope);
  for (int i = 0; i <= 400; ++i) {
    const double x = i * 0.05;
    wave->AddXY(x, std::sin(x * 2) * std::exp(-x / 12));
    envelope->AddXY(x, std::exp(-x / 12));
  }
  chart.SetAllowPanning(sextant::pmHorizontal);
}

}  // namespace

int main(int argc, char** argv) {
  const char* screenshot = nullptr;
  if (argc == 3 && std::strcmp(argv[1], "--screenshot") == 0) screenshot = argv[2];
  else if (argc != 1) {
    std::fprintf(stderr, "usage: quick_example [--screenshot FILE]\n");
    return 2;
  }

  QGuiApplication app(argc, argv);
  sextant::RegisterChartQmlTypes();  // ChartView in "import Sextant 1.0"
  QQmlApplicationEngine engine;
  engine.load(QUrl(QStringLiteral("qrc:/sextant-quick-example/main.qml")));
  if (engine.rootObjects().isEmpty()) return 1;
  auto* window = qobject_cast<QQuickWindow*>(engine.rootObjects().first());
  auto* view = window ? window->findChild<sextant::TChartQuickItem*>("chart") : nullptr;
  if (!view) return 1;
  FillChart(*view->Chart());

  if (screenshot) {
    // The first frame after the chart was filled.
    QObject::connect(window, &QQuickWindow::frameSwapped, &app, [&] {
      const bool saved = window->grabWindow().save(QString::fromLocal8Bit(screenshot));
      std::printf("quick_example: %s %s\n", saved ? "wrote" : "could not write", screenshot);
      app.exit(saved ? 0 : 1);
    }, Qt::SingleShotConnection);
  }
  return app.exec();
}

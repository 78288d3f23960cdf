// embed_example: a Qt window with a caption and a chart of two series.
//
//   embed_example                      opens the window
//   embed_example --exit-after-paint   exits once the chart has painted
//                                      (exit code 0; 1 when no paint came)
#include <QApplication>
#include <QLabel>
#include <QTimer>
#include <QVBoxLayout>
#include <QWidget>

#include <cmath>
#include <cstdio>
#include <cstring>

#include <sextant/panel/chart.h>
#include <sextant/platform/qt/chart_view.h>
#include <sextant/series/fast_line_series.h>

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  const bool exitAfterPaint = argc > 1 && std::strcmp(argv[1], "--exit-after-paint") == 0;

  QWidget window;
  window.setWindowTitle("Sextant embedded");
  auto* layout = new QVBoxLayout(&window);
  layout->addWidget(new QLabel("Two waves in a TChartView:"));
  auto* view = new sextant::TChartView;  // owned by the window, owns its chart
  layout->addWidget(view);

  sextant::TChart* chart = view->Chart();
  chart->SetView3D(false);
  auto* sine = new sextant::TFastLineSeries(chart);  // the chart frees its series
  auto* cosine = new sextant::TFastLineSeries(chart);
  chart->AddSeries(sine);
  chart->AddSeries(cosine);
  for (int i = 0; i <= 200; ++i) {
    const double x = i * 0.05;
    sine->AddXY(x, std::sin(x));
    cosine->AddXY(x, 0.5 * std::cos(x));
  }

  // Chart events are plain std::function members.
  chart->OnMouseDown = [](sextant::TPersistent*, sextant::TMouseButton, sextant::TShiftState, float x, float y) {
    std::printf("clicked at %.0f, %.0f\n", x, y);
  };
  chart->OnAfterDraw = [&](sextant::TPersistent*) {
    if (!exitAfterPaint) return;
    std::printf("embed_example: painted a %.0f x %.0f chart\n", chart->Width(), chart->Height());
    QTimer::singleShot(0, &app, [] { QApplication::exit(0); });
  };
  if (exitAfterPaint) QTimer::singleShot(30000, &app, [] { QApplication::exit(1); });

  window.resize(640, 420);
  window.show();
  return app.exec();
}

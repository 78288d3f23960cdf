// Cookbook: live data, a window over the last 100 readings. In a program a
// QTimer calls Tick; here ten seconds of ticks run at once.
//   live_data OUT.png
#include <QGuiApplication>

#include <cmath>

#include <sextant/panel/chart.h>
#include <sextant/panel/legend.h>
#include <sextant/panel/titles.h>
#include <sextant/platform/qt/chart_export.h>
#include <sextant/platform/qt/qt_services.h>
#include <sextant/series/fast_line_series.h>

using namespace sextant;

namespace {

constexpr int kWindow = 100;

// One new reading: appended, the oldest dropped once the window is full.
// The bottom axis is automatic, so it follows the data.
void Tick(TFastLineSeries& series, int n) {
  series.AddXY(n, 50 + 30 * std::sin(n * 0.05) + 5 * std::sin(n * 0.9));
  if (series.Count() > kWindow) series.Delete(0);
}

}  // namespace

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  QGuiApplication app(argc, argv);
  InstallQtPlatformServices(nullptr);

  TChart chart;
  chart.SetView3D(false);
  chart.Legend()->SetVisible(false);  // one series: no legend
  chart.Title()->SetCaption("Last 100 readings");
  auto* series = new TFastLineSeries(&chart);
  chart.AddSeries(series);
  for (int n = 0; n < 250; ++n) Tick(*series, n);  // QTimer: connect(&timer, &QTimer::timeout, ...)

  return SaveChartImage(chart, argv[1], QSize(640, 400)) ? 0 : 1;
}

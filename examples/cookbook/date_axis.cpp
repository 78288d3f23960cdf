// Cookbook: a date-time bottom axis from std::chrono time points.
//   date_axis OUT.png
#include <QGuiApplication>

#include <chrono>
#include <cmath>

#include <sextant/axes/chart_axis.h>
#include <sextant/axes/date_time.h>
#include <sextant/panel/chart.h>
#include <sextant/panel/legend.h>
#include <sextant/panel/titles.h>
#include <sextant/platform/qt/chart_export.h>
#include <sextant/platform/qt/qt_services.h>
#include <sextant/series/line_series.h>

using namespace sextant;

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  QGuiApplication app(argc, argv);
  InstallQtPlatformServices(nullptr);

  TChart chart;
  chart.SetView3D(false);
  chart.Legend()->SetVisible(false);  // one series: no legend
  chart.Title()->SetCaption("Temperature, one reading an hour");
  auto* line = new TLineSeries(&chart);
  chart.AddSeries(line);
  // The X values are date-times: days since 30 December 1899 (UTC).
  line->XValues()->SetDateTime(true);

  using namespace std::chrono;
  const system_clock::time_point start = sys_days{year{2024} / March / 1};
  for (int h = 0; h < 72; ++h) {
    const double t = DateTimeFromTimePoint(start + hours(h));
    line->AddXY(t, 12 + 6 * std::sin((h - 9) * 3.14159 / 12));
  }
  // An own format; leave it empty for one that fits the label step.
  chart.BottomAxis()->SetDateTimeFormat("dd mmm hh:mm");
  // chart.BottomAxis()->SetDateTimeLocal(true);  // local time instead of UTC

  return SaveChartImage(chart, argv[1], QSize(640, 400)) ? 0 : 1;
}

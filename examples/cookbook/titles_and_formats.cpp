// Cookbook: a chart title, axis titles and label formats.
//   titles_and_formats OUT.png
#include <QGuiApplication>

#include <sextant/axes/chart_axis.h>
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
  chart.Title()->SetCaption("Monthly revenue");
  chart.BottomAxis()->Title()->SetCaption("Month");
  chart.LeftAxis()->Title()->SetCaption("Revenue (EUR)");
  // Number format patterns: thousands separators, no decimals, a unit.
  chart.LeftAxis()->SetAxisValuesFormat("#,##0 '€'");
  chart.BottomAxis()->SetAxisValuesFormat("0");

  auto* line = new TLineSeries(&chart);
  chart.AddSeries(line);
  const double revenue[] = {12500, 13900, 13100, 15800, 17200, 16400, 18900, 21000};
  for (int month = 0; month < 8; ++month) line->AddXY(month + 1, revenue[month]);

  return SaveChartImage(chart, argv[1], QSize(640, 400)) ? 0 : 1;
}

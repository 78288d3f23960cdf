// Cookbook: a million points, loaded in bulk and drawn one stroke per
// pixel column.
//   many_points OUT.png
#include <QGuiApplication>

#include <cmath>

#include <sextant/panel/chart.h>
#include <sextant/panel/legend.h>
#include <sextant/panel/titles.h>
#include <sextant/platform/qt/chart_export.h>
#include <sextant/platform/qt/qt_services.h>
#include <sextant/series/fast_line_series.h>

using namespace sextant;

int main(int argc, char** argv) {
  if (argc != 2) return 2;
  QGuiApplication app(argc, argv);
  InstallQtPlatformServices(nullptr);

  constexpr int kPoints = 1000000;
  TChart chart;
  chart.SetView3D(false);
  chart.Legend()->SetVisible(false);  // one series: no legend
  chart.Title()->SetCaption("1,000,000 points");
  auto* series = new TFastLineSeries(&chart);
  series->SetDrawAllPoints(false);            // one vertical stroke per pixel column
  series->SetDrawAllPointsStyle(daMinMax);    // from its lowest to its highest point
  chart.AddSeries(series);

  chart.SetAutoRepaint(false);     // no repaint request per point
  series->ReservePoints(kPoints);  // one allocation for the whole load
  for (int i = 0; i < kPoints; ++i) series->AddXY(i, std::sin(i * 1e-5) * 10 + std::sin(i * 0.37));
  chart.SetAutoRepaint(true);

  return SaveChartImage(chart, argv[1], QSize(640, 400)) ? 0 : 1;
}

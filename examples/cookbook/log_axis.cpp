// Cookbook: a logarithmic axis with labels as powers of ten.
//   log_axis OUT.png
#include <QGuiApplication>

#include <cmath>

#include <sextant/axes/axis_labels.h>
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
  chart.Title()->SetCaption("Growth over six decades");
  auto* line = new TLineSeries(&chart);
  chart.AddSeries(line);
  for (int i = 0; i <= 60; ++i) line->AddXY(i, std::pow(10.0, i / 10.0) * (1.2 + std::sin(i * 0.7) * 0.2));

  TChartAxis* left = chart.LeftAxis();
  left->SetLogarithmic(true);         // values <= 0 would not be drawn
  left->Labels()->SetExponent(true);  // "10³" instead of "1,000"
  left->Grid()->SetVisible(true);
  left->MinorTicks()->SetVisible(true);  // 2 .. 9 times each power

  return SaveChartImage(chart, argv[1], QSize(640, 400)) ? 0 : 1;
}

// Cookbook: the legend's position, a series' colour and line width.
//   legend_and_colours OUT.png
#include <QGuiApplication>

#include <cmath>

#include <sextant/canvas/pen.h>
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
  chart.Title()->SetCaption("Two signals");
  chart.Legend()->SetVisible(true);
  chart.Legend()->SetAlignment(laBottom);  // laLeft, laRight (default), laTop, laBottom

  auto* sine = new TLineSeries(&chart);
  sine->SetTitle("sine");
  sine->SetSeriesColor(0xFF1F77B4);  // 0xAARRGGBB
  sine->LinePen()->SetWidth(3);
  auto* cosine = new TLineSeries(&chart);
  cosine->SetTitle("cosine");
  cosine->SetSeriesColor(0xFFD62728);
  cosine->LinePen()->SetStyle(psDash);
  chart.AddSeries(sine);
  chart.AddSeries(cosine);
  for (int i = 0; i <= 60; ++i) {
    sine->AddXY(i * 0.1, std::sin(i * 0.1));
    cosine->AddXY(i * 0.1, std::cos(i * 0.1));
  }

  return SaveChartImage(chart, argv[1], QSize(640, 400)) ? 0 : 1;
}

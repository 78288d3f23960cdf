// Pieces shared by the two peer benchmark programs (one built against Qt 6
// with our chart, Qt Charts and QCustomPlot, one against Qt 5 with
// QCustomPlot and Qwt): the pen every line is drawn with, the image every
// paint goes into, a check that a paint really drew the line, and the two
// plain QPainter floors. The code compiles against either Qt version.
#pragma once

#include <QColor>
#include <QImage>
#include <QPen>
#include <benchmark/benchmark.h>

#include <memory>
#include <string>

#include "bench_walk.h"

namespace sextant::bench {

// The colour our benchmark chart gives its fast line (the first colour of
// the chart's default palette); the Qt 6 program checks that our series
// really draws in it.
inline constexpr unsigned KLineColour = 0xFF4466A3u;

// The pen of every line: 1 pixel, solid, in KLineColour.
QPen LinePen();

// "qt5" or "qt6": the Qt version the program is built against, part of
// the names of the benchmarks that run in both programs.
const char* QtTag();

// A new image of the chart's size for the paints.
QImage ChartImage();

// True when at least MinPixels pixels of the image are in the line colour.
// The benchmarks check their first paint with it, so that a peer that drew
// nothing (wrong range, hidden series) cannot pass as fast.
bool DrewTheLine(const QImage& Image, int MinPixels);

// Saves the image as <Name>.png (slashes become underscores) into the
// folder named by the environment variable SEXTANT_PEERS_IMAGES, when it is
// set; for looking at what each benchmark draws.
void SaveImageIfAsked(const QImage& Image, const std::string& Name);

// Puts the checksum of every grid size's walk into the benchmark context
// (keys "walk_<N>"), so that the run script can check that all programs
// drew the same data.
void AddWalkChecksums();

// Charts of the large sizes take long to load: a benchmark keeps the chart
// of its last key (benchmark name) for the repetitions of the same
// benchmark and builds a new one, dropping the old, when the key changes.
// Make returns a std::unique_ptr<T>.
void AddCacheRelease(void (*Release)());
template <class T, class Make>
T& KeepLast(const std::string& Key, Make&& MakeChart) {
  static std::unique_ptr<T> chart;
  static std::string chartKey;
  static const bool registered = (AddCacheRelease([] {
                                    chart.reset();
                                    chartKey.clear();
                                  }),
                                  true);
  (void)registered;
  if (!chart || chartKey != Key) {
    chart.reset();
    chart = MakeChart();
    chartKey = Key;
  }
  return *chart;
}
// A chart of one benchmark with the image it paints into. Its first paint
// is checked (and saved when asked) once, when the chart is new.
class TKeptChart {
 public:
  virtual ~TKeptChart() = default;
  // One full repaint into Image.
  virtual void Paint(QImage& Image) = 0;

  QImage Image = ChartImage();
  bool Checked = false;
  std::string Error;  // why the benchmark is skipped; empty when it runs
};

// A first paint that takes longer than this is not repeated: the benchmark
// reports "skipped (>30 s)".
inline constexpr double KSlowPaintSeconds = 30;

// The timed loop of a paint benchmark: the first paint of a new chart
// (untimed) must draw the line (see DrewTheLine) and take at most
// KSlowPaintSeconds, else the benchmark is skipped with the reason; then
// one paint per iteration.
void TimePaints(benchmark::State& State, TKeptChart& Chart, const std::string& Name, long N);

// Drops every kept chart; called before the Qt application ends (widgets
// must not outlive it).
void ReleaseKeptCharts();

// The plain QPainter floors over the whole image, aliased, with LinePen():
//  "Line/floor_minmax_<qt>/<N>": per pixel column the smallest and largest
//    Y of its points (and the last point of the column before, so that the
//    columns join), one vertical line each, drawn with one drawLines;
//  "Line/floor_polyline_<qt>/<N>": every point mapped to the image, one
//    drawPolyline.
// Both include clearing the image and mapping the values.
void RegisterFloorBenchmarks();

// QCustomPlot: one graph with adaptive sampling, nothing antialiased
// ("Line/qcustomplot_<qt>/<N>"), loading 1,000,000 points with setData
// ("Load/qcustomplot_<qt>/1000000"), and the 1,000-point chart with a title
// ("FullChart/qcustomplot_<qt>/1000").
void RegisterQCustomPlotBenchmarks();

}  // namespace sextant::bench

// Shared pieces of the engine benchmarks: the line modes of the paint grid,
// and a chart of 817 x 433 (the application's chart size) on the stand-in
// host control. The data are the random walks of
// bench_walk.h.
#pragma once

#include <string>
#include <vector>

#include "bench_walk.h"
#include "panel/chart.h"
#include "platform/stand_in_host.h"
#include "series/fast_line_series.h"

namespace sextant::bench {

// The fast line modes of the paint grid.
enum TLineMode {
  lmSegments,     // defaults: one LineTo per point
  lmPolyline,     // flAll: one polyline
  lmDaFirst,      // DrawAllPoints off, daFirst
  lmDaMinMax,     // DrawAllPoints off, daMinMax
  lmStairs,       // segments as stairs
  lmNullIgnore,   // 5 % null points, tnIgnore
  lmNullSkip,     // 5 % null points, tnSkip
  lmNullDontPaint // 5 % null points, tnDontPaint
};
inline const std::vector<TLineMode> KAllModes{lmSegments,   lmPolyline,   lmDaFirst, lmDaMinMax,
                                              lmStairs,     lmNullIgnore, lmNullSkip,
                                              lmNullDontPaint};
const char* ModeName(TLineMode Mode);
bool ModeHasNulls(TLineMode Mode);
void ConfigureMode(TFastLineSeries& Series, TLineMode Mode);

// A 2D chart of the application's size with one fast line series (owned by
// the chart).
class TBenchChart {
 public:
  TBenchChart();
  // Loads the first N walk points (inside an update block) and sets the mode.
  void Load(long N, TLineMode Mode);
  TChart& Chart() { return FChart; }
  TFastLineSeries& Series() { return *FSeries; }
  TStandInHost& Host() { return FHost; }

 private:
  TStandInHost FHost;
  TChart FChart;
  TFastLineSeries* FSeries;
};

// Starts a right-button drag in the middle of the plot of a painted chart
// (horizontal panning, zoom off, as the application configures it); false
// when the chart did not start panning.
bool StartPan(TBenchChart& Bench);
// One mouse move of the drag: one pixel right on even steps, back on odd
// ones, so the view stays where it is over many steps.
void PanStep(TBenchChart& Bench, long Step);

// Engine start-up state as the application sets it, with a fixed random
// seed instead of the counter.
void InitializeEngineForBench();

// "Paint/<canvas>/<mode>/<N>".
std::string PaintName(const char* Canvas, TLineMode Mode, long N);

}  // namespace sextant::bench

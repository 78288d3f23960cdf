// The Qt 5 peer benchmark program: QCustomPlot and Qwt (Debian builds both
// against Qt 5, which cannot share a program with our Qt 6 chart) and the
// QPainter floors under Qt 5, on the offscreen platform, then Google
// Benchmark's usual command line.
#include <benchmark/benchmark.h>

#include <QApplication>

#include <cstdlib>

#include "peer_common.h"

namespace sextant::bench {
void RegisterQwtBenchmarks();
}  // namespace sextant::bench

int main(int argc, char** argv) {
  using namespace sextant::bench;
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  int qtArgc = 1;
  QApplication application(qtArgc, argv);
  AddWalkChecksums();
  RegisterQCustomPlotBenchmarks();
  RegisterQwtBenchmarks();
  RegisterFloorBenchmarks();
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  ReleaseKeptCharts();
  benchmark::Shutdown();
  return 0;
}

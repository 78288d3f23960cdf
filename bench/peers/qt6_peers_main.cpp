// The Qt 6 peer benchmark program: our chart, Qt Charts, QCustomPlot built
// for Qt 6 and the QPainter floors, on the offscreen platform, then Google
// Benchmark's usual command line. `make bench-peers` runs it together with
// the Qt 5 program (bench/peers/qt5) and prints one table.
#include <benchmark/benchmark.h>

#include <cstdlib>

#include "bench_data.h"
#include "peer_common.h"
#include "platform/qt/qt_application.h"

namespace sextant::bench {
void RegisterQt6PeerBenchmarks();
}  // namespace sextant::bench

int main(int argc, char** argv) {
  using namespace sextant::bench;
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  int qtArgc = 1;
  sextant::TQtApplication application(qtArgc, argv);
  application.Initialize();
  InitializeEngineForBench();
  AddWalkChecksums();
  RegisterQt6PeerBenchmarks();
  RegisterQCustomPlotBenchmarks();
  RegisterFloorBenchmarks();
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  ReleaseKeptCharts();
  benchmark::Shutdown();
  return 0;
}

// The benchmark program: the engine's start-up state with a fixed seed, a
// Qt application on the offscreen platform when the Qt host is built, then
// Google Benchmark's usual command line (--benchmark_filter, --benchmark_out
// ...).
#include <benchmark/benchmark.h>

#include <cstdlib>

#include "bench_data.h"

#ifdef SEXTANT_BENCH_QT
#include "platform/qt/qt_application.h"
#endif

namespace sextant::bench {
void RegisterEngineBenchmarks();
#ifdef SEXTANT_BENCH_QT
void RegisterQtBenchmarks();
#endif
}  // namespace sextant::bench

int main(int argc, char** argv) {
  using namespace sextant::bench;
#ifdef SEXTANT_BENCH_QT
  // No window is shown: everything paints into images.
  setenv("QT_QPA_PLATFORM", "offscreen", 0);
  int qtArgc = 1;
  sextant::TQtApplication application(qtArgc, argv);
  application.Initialize();
#endif
  InitializeEngineForBench();
  RegisterEngineBenchmarks();
#ifdef SEXTANT_BENCH_QT
  RegisterQtBenchmarks();
#endif
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}

// Full paints through the Qt canvas into an offscreen image of the chart's
// size (antialiasing as the Qt canvas decides it: crisp axis-aligned strokes,
// antialiased slanted ones), and the application's own chart.
#include <benchmark/benchmark.h>

#include <QImage>
#include <QPainter>

#include "app/unit1.h"
#include "bench_data.h"
#include "panel/chart.h"
#include "platform/qt/qt_canvas.h"
#include "platform/recording_canvas.h"

namespace sextant::bench {

namespace {

// One paint as the chart widget does it: a painter on the device, a Qt
// host canvas around it, the chart's paint entry.
void PaintInto(TChart& Chart, QImage& Image) {
  QPainter painter(&Image);
  TQtHostCanvas canvas(painter);
  Chart.HostPaint(canvas);
}

void BM_PaintQt(benchmark::State& State, TLineMode Mode, long N) {
  TBenchChart bench;
  bench.Load(N, Mode);
  QImage image(KChartWidth, KChartHeight, QImage::Format_ARGB32_Premultiplied);
  PaintInto(bench.Chart(), image);
  for (auto _ : State) PaintInto(bench.Chart(), image);
  State.SetItemsProcessed(State.iterations() * N);
}

// A pan step painted through the Qt canvas (see BM_PanStepRecording).
void BM_PanStepQt(benchmark::State& State) {
  TBenchChart bench;
  bench.Load(1000000, lmDaMinMax);
  QImage image(KChartWidth, KChartHeight, QImage::Format_ARGB32_Premultiplied);
  PaintInto(bench.Chart(), image);
  if (!StartPan(bench)) {
    State.SkipWithError("the chart did not start panning");
    return;
  }
  long step = 0;
  for (auto _ : State) {
    PanStep(bench, step++);
    PaintInto(bench.Chart(), image);
  }
}

// The application's window as FormCreate configures it (100 sample points,
// 10 per page, last page, marks with callouts, the scroll bar), its chart
// painted on its own.
void BM_DemoChart(benchmark::State& State, bool Qt) {
  TForm1 form;
  TChart& chart = *form.Chart1;
  const int w = static_cast<int>(chart.Width());
  const int h = static_cast<int>(chart.Height());
  QImage image(w, h, QImage::Format_ARGB32_Premultiplied);
  TRecordingCanvas rec;
  rec.SetRecording(false);
  auto paint = [&] {
    if (Qt)
      PaintInto(chart, image);
    else
      chart.HostPaint(rec);
  };
  paint();
  for (auto _ : State) paint();
  State.counters["width"] = w;
  State.counters["height"] = h;
}

}  // namespace

void RegisterQtBenchmarks() {
  benchmark::RegisterBenchmark("DemoChart/recording", BM_DemoChart, false)->Unit(benchmark::kMicrosecond);
  benchmark::RegisterBenchmark("DemoChart/qt", BM_DemoChart, true)->Unit(benchmark::kMicrosecond);
  benchmark::RegisterBenchmark("PanStep/qt/daMinMax/1000000", BM_PanStepQt)->Unit(benchmark::kMillisecond);
  for (TLineMode mode : KAllModes)
    for (long n : KGridSizes)
      benchmark::RegisterBenchmark(PaintName("qt", mode, n).c_str(), BM_PaintQt, mode, n)
          ->Unit(benchmark::kMillisecond);
}

}  // namespace sextant::bench

// Engine benchmarks: loading data, sample values, the value-to-pixel
// conversion, and full paints through the recording canvas with recording
// switched off (the engine's own cost, no rasterising).
#include <benchmark/benchmark.h>

#include <algorithm>
#include <array>
#include <memory>
#include <random>
#include <vector>

#include "axes/chart_axis.h"
#include "marks/series_marks.h"
#include "marks/series_pointer.h"
#include "bench_data.h"
#include "platform/recording_canvas.h"

namespace sextant::bench {

namespace {

constexpr long KLoadCount = 1000000;

// AddXY of 1,000,000 ordered points into an empty series of a chart, with
// or without an update block around them.
// Reserve: the caller announces the count first (ReservePoints), so the
// lists allocate once instead of growing.
void BM_AddXY(benchmark::State& State, bool UpdateBlock, bool Reserve) {
  const TWalk& w = RandomWalk(KLoadCount);
  TBenchChart bench;
  TFastLineSeries& s = bench.Series();
  for (auto _ : State) {
    State.PauseTiming();
    s.Clear();
    State.ResumeTiming();
    if (Reserve) s.ReservePoints(static_cast<int>(KLoadCount));
    if (UpdateBlock) s.BeginUpdate();
    for (long i = 0; i < KLoadCount; ++i) s.AddXY(w.X[static_cast<std::size_t>(i)], w.Y[static_cast<std::size_t>(i)]);
    if (UpdateBlock) s.EndUpdate();
    benchmark::DoNotOptimize(s.Count());
  }
  State.SetItemsProcessed(State.iterations() * KLoadCount);
}

// AddXY of 200,000 points in ascending, descending or random X order (the
// numbers 0 .. N-1, shuffled with a fixed seed) inside an update block: the
// cost of finding each point's place and making room for it. Descending
// order prepends every point.
enum TAddOrder { aoAscending, aoDescending, aoRandom };
constexpr long KOrderCount = 200000;

const std::vector<double>& OrderedXs(TAddOrder Order) {
  static const std::array<std::vector<double>, 3> orders = [] {
    std::vector<double> asc(KOrderCount), desc(KOrderCount), random(KOrderCount);
    for (long i = 0; i < KOrderCount; ++i) {
      asc[static_cast<std::size_t>(i)] = static_cast<double>(i);
      desc[static_cast<std::size_t>(i)] = static_cast<double>(KOrderCount - 1 - i);
    }
    random = asc;
    std::mt19937 rng(2024);
    std::shuffle(random.begin(), random.end(), rng);
    return std::array<std::vector<double>, 3>{asc, desc, random};
  }();
  return orders[Order];
}

void BM_AddXYInOrder(benchmark::State& State, TAddOrder Order) {
  const std::vector<double>& xs = OrderedXs(Order);
  TBenchChart bench;
  TFastLineSeries& s = bench.Series();
  for (auto _ : State) {
    State.PauseTiming();
    s.Clear();
    State.ResumeTiming();
    s.BeginUpdate();
    for (double x : xs) s.AddXY(x, x * 0.5);
    s.EndUpdate();
    benchmark::DoNotOptimize(s.Count());
  }
  State.SetItemsProcessed(State.iterations() * KOrderCount);
}

void BM_FillSampleValues(benchmark::State& State) {
  TBenchChart bench;
  for (auto _ : State) {
    bench.Series().FillSampleValues(static_cast<int>(KLoadCount));
    benchmark::DoNotOptimize(bench.Series().Count());
  }
  State.SetItemsProcessed(State.iterations() * KLoadCount);
}

// The horizontal axis' conversion of 1,000,000 values, after one paint laid
// the axis out.
void BM_CalcXPosValue(benchmark::State& State) {
  TBenchChart bench;
  bench.Load(KLoadCount, lmSegments);
  TRecordingCanvas rec;
  rec.SetRecording(false);
  bench.Chart().HostPaint(rec);
  const TChartAxis* axis = bench.Series().GetHorizAxis();
  const std::vector<double>& xs = RandomWalk(KLoadCount).X;
  for (auto _ : State) {
    long sum = 0;
    for (double x : xs) sum += axis->CalcXPosValue(x);
    benchmark::DoNotOptimize(sum);
  }
  State.SetItemsProcessed(State.iterations() * KLoadCount);
}

// The recording canvas batches connected lines like the Qt canvas, so the
// engine takes the same path as for the real host.
void BM_PaintRecording(benchmark::State& State, TLineMode Mode, long N) {
  TBenchChart bench;
  bench.Load(N, Mode);
  TRecordingCanvas rec;
  rec.SetRecording(false);
  rec.BatchLines = true;
  bench.Chart().HostPaint(rec);  // first paint: layout objects created
  for (auto _ : State) bench.Chart().HostPaint(rec);
  State.SetItemsProcessed(State.iterations() * N);
}

// One step of a right-button drag over 1,000,000 points in min/max mode:
// the mouse move (the axis shifts by one pixel) and the paint it asks for.
void BM_PanStepRecording(benchmark::State& State) {
  TBenchChart bench;
  bench.Load(KLoadCount, lmDaMinMax);
  TRecordingCanvas rec;
  rec.SetRecording(false);
  rec.BatchLines = true;
  bench.Chart().HostPaint(rec);
  if (!StartPan(bench)) {
    State.SkipWithError("the chart did not start panning");
    return;
  }
  long step = 0;
  for (auto _ : State) {
    PanStep(bench, step++);
    bench.Chart().HostPaint(rec);
  }
}

// The application's marks (transparent value texts over circular callouts,
// anti-overlap on). With N points over the whole plot the draw step thins
// them to about half the plot width; with a view of 400 points every point
// gets a mark, so anti-overlap compares 400 marks pairwise.
void ConfigureAppMarks(TChartSeries& Series) {
  TSeriesMarks& m = *Series.Marks();
  m.SetVisible(true);
  m.SetAutoPosition(true);
  m.SetTextAlign(taCenter);
  m.SetClip(true);
  m.SetStyle(smsValue);
  m.SetTransparent(true);
  m.Callout()->SetVisible(true);
  m.Callout()->SetStyle(psCircle);
  m.Callout()->SetColor(m.Color());
  m.Callout()->SetSize(15);
}

void BM_PaintWithMarks(benchmark::State& State, long N, long Visible) {
  TBenchChart bench;
  bench.Load(N, lmDaMinMax);
  ConfigureAppMarks(bench.Series());
  if (Visible < N) bench.Chart().BottomAxis()->SetMinMax(0, static_cast<double>(Visible - 1));
  TRecordingCanvas rec;
  rec.SetRecording(false);
  rec.BatchLines = true;
  bench.Chart().HostPaint(rec);
  for (auto _ : State) bench.Chart().HostPaint(rec);
}

}  // namespace

void RegisterEngineBenchmarks() {
  benchmark::RegisterBenchmark("Marks/recording/1000000", BM_PaintWithMarks, 1000000L, 1000000L)
      ->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("Marks/recording/400_visible", BM_PaintWithMarks, 1000000L, 400L)
      ->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("AddXY/1000000/ordered", BM_AddXY, false, false)->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("AddXY/1000000/ordered/update_block", BM_AddXY, true, false)
      ->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("AddXY/1000000/ordered/update_block/reserved", BM_AddXY, true, true)
      ->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("AddXY/ascending/200000", BM_AddXYInOrder, aoAscending)
      ->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("AddXY/descending/200000", BM_AddXYInOrder, aoDescending)
      ->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("AddXY/random/200000", BM_AddXYInOrder, aoRandom)->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("FillSampleValues/1000000", BM_FillSampleValues)->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("CalcXPosValue/1000000", BM_CalcXPosValue)->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("PanStep/recording/daMinMax/1000000", BM_PanStepRecording)
      ->Unit(benchmark::kMillisecond);
  for (TLineMode mode : KAllModes)
    for (long n : KGridSizes)
      benchmark::RegisterBenchmark(PaintName("recording", mode, n).c_str(), BM_PaintRecording, mode, n)
          ->Unit(benchmark::kMillisecond);
}

}  // namespace sextant::bench

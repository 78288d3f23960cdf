// Our chart and Qt Charts drawing the random walks, in the same Qt 6
// program as QCustomPlot for Qt 6 and the QPainter floors.
//
//  - Ours: the benchmarks' chart of 817 x 433 with one fast line
//    (`daMinMax` with DrawAllPoints off, and the default segments), painted
//    as the chart widget paints it, through the Qt canvas switched to aliased
//    drawing (the other charts draw without antialiasing here).
//  - Qt Charts: a QChart with one QLineSeries (legend hidden, no
//    animation) in a QGraphicsScene, the scene rendered into the image. The
//    series keeps the mapped path of its points between paints; a repaint
//    strokes it.
#include <benchmark/benchmark.h>

#include <QCoreApplication>
#include <QGraphicsScene>
#include <QList>
#include <QPainter>
#include <QPointF>
#include <QtCharts/QChart>
#include <QtCharts/QLegend>
#include <QtCharts/QLineSeries>

#include <memory>
#include <string>
#include <vector>

#include "bench_data.h"
#include "canvas/pen.h"
#include "panel/legend.h"
#include "panel/titles.h"
#include "peer_common.h"
#include "platform/qt/qt_canvas.h"

namespace sextant::bench {

namespace {

// ---- Ours ---------------------------------------------------------------------

class TOurChart : public TKeptChart {
 public:
  TOurChart(long N, TLineMode Mode, bool Title, bool Antialiased) : FAntialiased(Antialiased) {
    FBench.Load(N, Mode);
    FBench.Chart().Legend()->SetVisible(false);
    if (Title) FBench.Chart().Title()->SetText("Random walk");
  }

  // The pen the series draws with; the peers are given the same.
  bool DrawsWithLinePen() const {
    TFastLineSeries& s = const_cast<TBenchChart&>(FBench).Series();
    return s.SeriesColor() == KLineColour && s.LinePen()->Width() == 1;
  }

  void Paint(QImage& Image) override {
    QPainter painter(&Image);
    TQtHostCanvas canvas(painter);
    canvas.SetAntialiased(FAntialiased);
    FBench.Chart().HostPaint(canvas);
  }
  TBenchChart& Bench() { return FBench; }

 private:
  TBenchChart FBench;
  bool FAntialiased;
};

void BM_OursLine(benchmark::State& State, long N, TLineMode Mode, bool Title, bool Antialiased,
                 std::string Name) {
  TOurChart& chart = KeepLast<TOurChart>(
      Name, [&] { return std::make_unique<TOurChart>(N, Mode, Title, Antialiased); });
  if (!chart.DrawsWithLinePen()) {
    State.SkipWithError("our series does not draw with the peers' pen");
    return;
  }
  TimePaints(State, chart, Name, N);
}

// AddXY of 1,000,000 ordered points into an empty series of a chart inside
// an update block (the values come from the walk's arrays).
void BM_OursLoad(benchmark::State& State, long N) {
  const TWalk& w = RandomWalk(N);
  TBenchChart bench;
  TFastLineSeries& s = bench.Series();
  for (auto _ : State) {
    State.PauseTiming();
    s.Clear();
    State.ResumeTiming();
    s.BeginUpdate();
    for (long i = 0; i < N; ++i) s.AddXY(w.X[static_cast<std::size_t>(i)], w.Y[static_cast<std::size_t>(i)]);
    s.EndUpdate();
    benchmark::DoNotOptimize(s.Count());
  }
  State.SetItemsProcessed(State.iterations() * N);
}

// AddArrays of 1,000,000 ordered points into an empty series of a chart.
void BM_OursBulkLoad(benchmark::State& State, long N) {
  const TWalk& w = RandomWalk(N);
  TBenchChart bench;
  TFastLineSeries& s = bench.Series();
  for (auto _ : State) {
    State.PauseTiming();
    s.Clear();
    State.ResumeTiming();
    s.AddArrays(w.X, w.Y);
    benchmark::DoNotOptimize(s.Count());
  }
  State.SetItemsProcessed(State.iterations() * N);
}

// One right-button pan step over the whole series: the mouse move and the
// paint it asks for.
void BM_OursPan(benchmark::State& State, long N, std::string Name) {
  TOurChart& chart = KeepLast<TOurChart>(Name, [&] { return std::make_unique<TOurChart>(N, lmDaMinMax, false, false); });
  chart.Paint(chart.Image);  // the layout the mouse converts with
  if (!StartPan(chart.Bench())) {
    State.SkipWithError("panning did not start");
    return;
  }
  long step = 0;
  for (auto _ : State) {
    PanStep(chart.Bench(), step++);
    chart.Paint(chart.Image);
  }
  chart.Bench().Chart().HostMouseUp(TMouseButton::mbRight, ssRight, 0, 0);
  State.SetItemsProcessed(State.iterations() * N);
}

// Streaming: 1,000 points appended to the series (bulk) and a repaint.
void BM_OursStream(benchmark::State& State, long N, std::string Name) {
  TOurChart& chart = KeepLast<TOurChart>(Name, [&] { return std::make_unique<TOurChart>(N, lmDaMinMax, false, false); });
  TFastLineSeries& s = chart.Bench().Series();
  chart.Paint(chart.Image);
  constexpr int kBatch = 1000;
  std::vector<double> xs(kBatch), ys(kBatch);
  double x = s.XValues()->Last() + 1;
  double y = s.YValues()->Last();
  for (auto _ : State) {
    for (int i = 0; i < kBatch; ++i) {
      xs[static_cast<std::size_t>(i)] = x++;
      y += (i % 7) * 0.01 - 0.03;
      ys[static_cast<std::size_t>(i)] = y;
    }
    s.AddArrays(xs, ys);
    chart.Paint(chart.Image);
  }
  State.SetItemsProcessed(State.iterations() * kBatch);
}

// ---- Qt Charts -----------------------------------------------------------------

// The walk as the series takes it.
QList<QPointF> SeriesPoints(long N) {
  const TWalk& w = RandomWalk(N);
  QList<QPointF> points;
  points.reserve(static_cast<qsizetype>(N));
  for (long i = 0; i < N; ++i) points.append(QPointF(w.X[static_cast<std::size_t>(i)], w.Y[static_cast<std::size_t>(i)]));
  return points;
}

class TQtChartsChart : public TKeptChart {
 public:
  explicit TQtChartsChart(long N) {
    FChart = new QChart();  // owned by the scene
    FChart->legend()->hide();
    FChart->setAnimationOptions(QChart::NoAnimation);
    FSeries = new QLineSeries();  // owned by the chart once added
    FSeries->setPen(LinePen());
    // Data first: the default axes take the range of the series' points.
    if (N > 0) FSeries->replace(SeriesPoints(N));
    FChart->addSeries(FSeries);
    FChart->createDefaultAxes();
    FScene.addItem(FChart);
    FChart->setGeometry(0, 0, KChartWidth, KChartHeight);
    QCoreApplication::processEvents();  // the chart's layout
  }

  // Replaces all points at once (the series' bulk load), then lets the
  // chart handle what it posted.
  void Load(const QList<QPointF>& Points) {
    FSeries->replace(Points);
    QCoreApplication::processEvents();
  }

  void Paint(QImage& Image) override {
    QPainter painter(&Image);
    painter.setRenderHint(QPainter::Antialiasing, false);
    const QRectF area(0, 0, KChartWidth, KChartHeight);
    FScene.render(&painter, area, area);
  }

 private:
  QGraphicsScene FScene;
  QChart* FChart;
  QLineSeries* FSeries;
};

void BM_QtChartsLine(benchmark::State& State, long N, std::string Name) {
  TimePaints(State, KeepLast<TQtChartsChart>(Name, [&] { return std::make_unique<TQtChartsChart>(N); }), Name, N);
}

void BM_QtChartsLoad(benchmark::State& State, long N) {
  TQtChartsChart chart(1000);
  const QList<QPointF> points = SeriesPoints(N);
  for (auto _ : State) chart.Load(points);
  State.SetItemsProcessed(State.iterations() * N);
}

}  // namespace

void RegisterQt6PeerBenchmarks() {
  for (long n : KGridSizes) {
    for (TLineMode mode : {lmDaMinMax, lmSegments}) {
      const std::string name = std::string("Line/ours_") + ModeName(mode) + "/" + std::to_string(n);
      benchmark::RegisterBenchmark(name.c_str(), BM_OursLine, n, mode, false, false, name)
          ->Unit(benchmark::kMillisecond);
    }
  }
  benchmark::RegisterBenchmark("FullChart/ours/1000", BM_OursLine, 1000L, lmSegments, true, false,
                               std::string("FullChart/ours/1000"))
      ->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("FullChart/ours_antialiased/1000", BM_OursLine, 1000L, lmSegments, true, true,
                               std::string("FullChart/ours_antialiased/1000"))
      ->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("Load/ours_addxy/1000000", BM_OursLoad, 1000000L)->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("Load/ours_bulk/1000000", BM_OursBulkLoad, 1000000L)->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("Line/ours_daMinMax/100000000", BM_OursLine, KLargeSize, lmDaMinMax, false, false,
                               std::string("Line/ours_daMinMax/100000000"))
      ->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("Pan/ours_daMinMax/100000000", BM_OursPan, KLargeSize,
                               std::string("Pan/ours_daMinMax/100000000"))
      ->Unit(benchmark::kMillisecond);
  benchmark::RegisterBenchmark("Stream/ours_daMinMax/10000000", BM_OursStream, 10000000L,
                               std::string("Stream/ours_daMinMax/10000000"))
      ->Unit(benchmark::kMillisecond);

  // A paint of Qt Charts at 1,000,000 points and more takes seconds: one
  // paint per repetition.
  for (long n : KGridSizes) {
    const std::string name = "Line/qtcharts/" + std::to_string(n);
    auto* b = benchmark::RegisterBenchmark(name.c_str(), BM_QtChartsLine, n, name)->Unit(benchmark::kMillisecond);
    if (n >= 1000000) b->Iterations(1);
  }
  benchmark::RegisterBenchmark("Load/qtcharts/1000000", BM_QtChartsLoad, 1000000L)->Unit(benchmark::kMillisecond);
}

}  // namespace sextant::bench

// QCustomPlot drawing the random walks: one graph in the line pen, adaptive
// sampling on (its large-data mode, also its default), no element
// antialiased, the widget never shown. A repaint is toPainter: the whole
// plot (layout, axes, grid, the graph sampled anew) drawn with a QCPPainter
// on the image at 817 x 433. (replot() into the widget's layer buffers and
// rendering the widget into the image took a little longer here.)
#include <benchmark/benchmark.h>

#include <QPainter>
#include <QVector>
#include <qcustomplot.h>

#include <memory>
#include <string>

#include "peer_common.h"

namespace sextant::bench {

namespace {

class TQcpChart : public TKeptChart {
 public:
  TQcpChart(long N, bool Title) {
    FPlot.resize(KChartWidth, KChartHeight);
    FPlot.setNotAntialiasedElements(QCP::aeAll);
    FGraph = FPlot.addGraph();
    FGraph->setPen(LinePen());
    FGraph->setAdaptiveSampling(true);
    if (Title) {
      FPlot.plotLayout()->insertRow(0);
      FPlot.plotLayout()->addElement(0, 0, new QCPTextElement(&FPlot, QStringLiteral("Random walk")));
    }
    if (N > 0) {
      Load(N);
      FPlot.rescaleAxes();
    }
  }

  // setData with keys and values in the plot's own containers (made
  // outside), sorted.
  void Load(const QVector<double>& Keys, const QVector<double>& Values) { FGraph->setData(Keys, Values, true); }
  void Load(long N) {
    QVector<double> keys, values;
    Columns(N, keys, values);
    Load(keys, values);
  }

  static void Columns(long N, QVector<double>& Keys, QVector<double>& Values) {
    const TWalk& w = RandomWalk(N);
    Keys = QVector<double>(w.X.begin(), w.X.end());
    Values = QVector<double>(w.Y.begin(), w.Y.end());
  }

  void Paint(QImage& Image) override {
    QCPPainter painter(&Image);
    FPlot.toPainter(&painter, KChartWidth, KChartHeight);
  }
  QCPGraph* Graph() { return FGraph; }

 private:
  QCustomPlot FPlot;
  QCPGraph* FGraph = nullptr;
};

void BM_QcpLine(benchmark::State& State, long N, bool Title, std::string Name) {
  TimePaints(State, KeepLast<TQcpChart>(Name, [&] { return std::make_unique<TQcpChart>(N, Title); }), Name, N);
}

// Streaming: addData of 1,000 sorted points and a replot into the same
// image.
void BM_QcpStream(benchmark::State& State, long N, std::string Name) {
  TQcpChart& chart = KeepLast<TQcpChart>(Name, [&] { return std::make_unique<TQcpChart>(N, false); });
  chart.Paint(chart.Image);
  constexpr int kBatch = 1000;
  QVector<double> keys(kBatch), values(kBatch);
  const TWalk& w = RandomWalk(N);
  double x = w.X.back() + 1;
  double y = w.Y.back();
  for (auto _ : State) {
    for (int i = 0; i < kBatch; ++i) {
      keys[i] = x++;
      y += (i % 7) * 0.01 - 0.03;
      values[i] = y;
    }
    chart.Graph()->addData(keys, values, true);
    chart.Paint(chart.Image);
  }
  State.SetItemsProcessed(State.iterations() * kBatch);
}

void BM_QcpLoad(benchmark::State& State, long N) {
  TQcpChart chart(0, false);
  QVector<double> keys, values;
  TQcpChart::Columns(N, keys, values);
  for (auto _ : State) chart.Load(keys, values);
  State.SetItemsProcessed(State.iterations() * N);
}

}  // namespace

void RegisterQCustomPlotBenchmarks() {
  const std::string tag = QtTag();
  for (long n : KGridSizes) {
    const std::string name = "Line/qcustomplot_" + tag + "/" + std::to_string(n);
    benchmark::RegisterBenchmark(name.c_str(), BM_QcpLine, n, false, name)->Unit(benchmark::kMillisecond);
  }
  const std::string full = "FullChart/qcustomplot_" + tag + "/1000";
  benchmark::RegisterBenchmark(full.c_str(), BM_QcpLine, 1000L, true, full)->Unit(benchmark::kMillisecond);
  const std::string large = "Line/qcustomplot_" + tag + "/100000000";
  benchmark::RegisterBenchmark(large.c_str(), BM_QcpLine, KLargeSize, false, large)->Unit(benchmark::kMillisecond);
  const std::string stream = "Stream/qcustomplot_" + tag + "/10000000";
  benchmark::RegisterBenchmark(stream.c_str(), BM_QcpStream, 10000000L, stream)->Unit(benchmark::kMillisecond);
  const std::string load = "Load/qcustomplot_" + tag + "/1000000";
  benchmark::RegisterBenchmark(load.c_str(), BM_QcpLoad, 1000000L)->Unit(benchmark::kMillisecond);
}

}  // namespace sextant::bench

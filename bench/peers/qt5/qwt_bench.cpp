// Qwt drawing the random walks: one curve in the line pen with the
// FilterPoints paint attribute (its large-data mode: points that fall on the
// same pixel as the one before are dropped), not antialiased, the whole plot
// (scales, canvas, curve) rendered by QwtPlotRenderer into an 817 x 433
// image. The renderer lays the plot out and maps every point again in each
// paint.
#include <benchmark/benchmark.h>

#include <QPainter>
#include <qwt_plot.h>
#include <qwt_plot_curve.h>
#include <qwt_plot_renderer.h>

#include <algorithm>
#include <memory>
#include <string>

#include "peer_common.h"

namespace sextant::bench {

namespace {

class TQwtChart : public TKeptChart {
 public:
  explicit TQwtChart(long N) {
    FPlot.resize(KChartWidth, KChartHeight);
    FCurve = new QwtPlotCurve();  // owned by the plot once attached
    FCurve->setPen(LinePen());
    FCurve->setPaintAttribute(QwtPlotCurve::FilterPoints, true);
    FCurve->setRenderHint(QwtPlotItem::RenderAntialiased, false);
    FCurve->attach(&FPlot);
    if (N > 0) {
      Load(N);
      // The axes span the data exactly, as the other charts' do (Qwt's
      // automatic scales would start the value axis at 0).
      const TWalk& w = RandomWalk(N);
      const auto [lo, hi] = std::minmax_element(w.Y.begin(), w.Y.end());
      FPlot.setAxisScale(QwtPlot::xBottom, w.X.front(), w.X.back());
      FPlot.setAxisScale(QwtPlot::yLeft, *lo, *hi);
      FPlot.replot();
    }
  }

  // setSamples copies the values into the curve's own arrays.
  void Load(long N) {
    const TWalk& w = RandomWalk(N);
    FCurve->setSamples(w.X.data(), w.Y.data(), static_cast<int>(N));
  }

  void Paint(QImage& Image) override {
    QPainter painter(&Image);
    FRenderer.render(&FPlot, &painter, QRectF(0, 0, KChartWidth, KChartHeight));
  }

 private:
  QwtPlot FPlot;
  QwtPlotCurve* FCurve = nullptr;
  QwtPlotRenderer FRenderer;
};

void BM_QwtLine(benchmark::State& State, long N, std::string Name) {
  TimePaints(State, KeepLast<TQwtChart>(Name, [&] { return std::make_unique<TQwtChart>(N); }), Name, N);
}

void BM_QwtLoad(benchmark::State& State, long N) {
  TQwtChart chart(0);
  RandomWalk(N);
  for (auto _ : State) chart.Load(N);
  State.SetItemsProcessed(State.iterations() * N);
}

}  // namespace

void RegisterQwtBenchmarks() {
  for (long n : KGridSizes) {
    const std::string name = "Line/qwt/" + std::to_string(n);
    benchmark::RegisterBenchmark(name.c_str(), BM_QwtLine, n, name)->Unit(benchmark::kMillisecond);
  }
  benchmark::RegisterBenchmark("Load/qwt/1000000", BM_QwtLoad, 1000000L)->Unit(benchmark::kMillisecond);
}

}  // namespace sextant::bench

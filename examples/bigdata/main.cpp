// bigdata_example: ten million points in one fast line series, drawn with at
// most one vertical stroke per pixel column (DrawAllPoints off, daMinMax),
// with a scroll bar under the bottom axis and the time of every paint
// printed.
//
//   bigdata_example                      opens the window; drag with the
//                                        right mouse button or turn the
//                                        wheel to pan, use the scroll bar
//   bigdata_example --exit-after-paint   paints the whole range, checks
//                                        that the data and the left axis
//                                        span about -17 .. 17, shows a
//                                        1 % window, pans it with a drag,
//                                        the wheel and the scroll bar,
//                                        moves it through the data, exits
//                                        (exit code 4 when the Y range is
//                                        wrong, 3 when it did not pan)
#include <QApplication>
#include <QElapsedTimer>
#include <QMouseEvent>
#include <QTimer>
#include <QWheelEvent>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <span>

#include <sextant/axes/chart_axis.h>
#include <sextant/panel/chart.h>
#include <sextant/platform/qt/chart_view.h>
#include <sextant/series/fast_line_series.h>
#include <sextant/tools/axis_scroll_bar.h>

namespace {

// 100,000,000 points take 1.6 GB (X and Y) plus 30 MB of the fast line's
// level-of-detail index; --points N shows another count.
int kPoints = 100'000'000;

// The signal, point after point (see the data below).
struct TSignal {
  double Noise = 0;
  unsigned Seed = 12345;
  double Next(long long i) {
    Seed = Seed * 1664525u + 1013904223u;
    // A step of -0.5 .. 0.5: signed, since unsigned arithmetic would wrap
    // below 0 to about 4e9.
    const int step = static_cast<int>((Seed >> 8) % 2001) - 1000;
    Noise = 0.98 * Noise + step * 0.0005;
    return std::sin(i * 2e-6) * 10 + std::sin(i * 3e-4) + Noise;
  }
};

// Appends Count points from X = First on, in blocks through AddArrays.
void AddSignal(sextant::TFastLineSeries* Series, TSignal& Signal, long long First, long long Count) {
  constexpr int kBlock = 1 << 16;
  static double xs[kBlock], ys[kBlock];
  for (long long done = 0; done < Count;) {
    const int n = static_cast<int>(std::min<long long>(kBlock, Count - done));
    for (int k = 0; k < n; ++k) {
      xs[k] = static_cast<double>(First + done + k);
      ys[k] = Signal.Next(First + done + k);
    }
    Series->AddArrays(std::span<const double>(xs, static_cast<std::size_t>(n)),
                      std::span<const double>(ys, static_cast<std::size_t>(n)));
    done += n;
  }
}

// The data: a slow sine of amplitude 10, a faster one of amplitude 1 and
// noise that stays within about +-8, so every Y lies well inside +-20 and
// the extremes reach beyond +-8.
constexpr double kMaxAbsY = 20;
constexpr double kMinReach = 8;

// True when Low .. High is the range the data should have.
bool PlausibleYRange(double Low, double High) {
  return Low > -kMaxAbsY && Low < -kMinReach && High < kMaxAbsY && High > kMinReach;
}

// Sends a mouse event to the view as the window system would.
void SendMouse(QWidget* view, QEvent::Type type, Qt::MouseButton button, Qt::MouseButtons buttons, QPointF pos) {
  QMouseEvent event(type, pos, view->mapToGlobal(pos), button, buttons, Qt::NoModifier);
  QApplication::sendEvent(view, &event);
}

// The automated run: every step repaints at once and prints its time and
// the bottom axis range it shows.
// Returns 0, or the exit code of the first check that failed.
int RunSteps(sextant::TChartView* view, sextant::TAxisScrollBarTool* scroll, const int& lastPaintMs,
             TSignal& signal) {
  sextant::TChart* chart = view->Chart();
  sextant::TChartAxis* bottom = chart->BottomAxis();

  // The whole range is painted: the data's Y extremes and the left axis
  // that the first paint scaled from them.
  const sextant::TChartSeries* series = chart->Series(0);
  const sextant::TChartAxis* left = chart->LeftAxis();
  std::printf("bigdata_example: data Y %.2f .. %.2f, left axis %.2f .. %.2f\n", series->MinYValue(),
              series->MaxYValue(), left->Minimum(), left->Maximum());
  if (!PlausibleYRange(series->MinYValue(), series->MaxYValue()) ||
      !PlausibleYRange(left->Minimum(), left->Maximum())) {
    std::fprintf(stderr, "bigdata_example: Y range outside -%.0f .. %.0f or not reaching +-%.0f\n", kMaxAbsY,
                 kMaxAbsY, kMinReach);
    return 4;
  }

  const auto report = [&](const char* what) {
    view->repaint();
    std::printf("bigdata_example: paint %s: %d ms (x %.0f .. %.0f)\n", what, lastPaintMs, bottom->Minimum(),
                bottom->Maximum());
  };

  // A window of 1 % of the points.
  const double window = kPoints / 100.0;
  bottom->SetMinMax(0, window);
  report("of a 1 % window");

  // A right-button drag from the middle to the left pans forwards.
  const QPointF from(view->width() / 2.0, view->height() / 2.0);
  SendMouse(view, QEvent::MouseButtonPress, Qt::RightButton, Qt::RightButton, from);
  for (int i = 1; i <= 5; ++i)
    SendMouse(view, QEvent::MouseMove, Qt::NoButton, Qt::RightButton, from - QPointF(40.0 * i, 0));
  SendMouse(view, QEvent::MouseButtonRelease, Qt::RightButton, Qt::NoButton, from - QPointF(200, 0));
  report("after a right-button drag");
  const double afterDrag = bottom->Minimum();
  if (!(afterDrag > 0)) return 3;

  QWheelEvent wheel(from, view->mapToGlobal(from), QPoint(), QPoint(0, -120), Qt::NoButton, Qt::NoModifier,
                    Qt::NoScrollPhase, false);
  QApplication::sendEvent(view, &wheel);
  report("after a wheel turn");

  // A click on the scroll bar's increment arrow.
  const sextant::TRectF arrow = scroll->IncRectangle();
  const QPointF onArrow((arrow.Left + arrow.Right) / 2, (arrow.Top + arrow.Bottom) / 2);
  SendMouse(view, QEvent::MouseButtonPress, Qt::LeftButton, Qt::LeftButton, onArrow);
  SendMouse(view, QEvent::MouseButtonRelease, Qt::LeftButton, Qt::NoButton, onArrow);
  report("after a scroll bar arrow click");
  if (!(bottom->Minimum() > afterDrag)) return 3;

  // The window moved through the data, as dragging the thumb would.
  for (double start : {0.25 * kPoints, 0.5 * kPoints, 0.99 * kPoints}) {
    bottom->SetMinMax(start, start + window);
    report("of a 1 % window further on");
  }
  bottom->SetAutomatic(true);
  report("of the whole range again");

  // Streaming: batches of 1,000 new points, each followed by a paint.
  auto* line = static_cast<sextant::TFastLineSeries*>(chart->Series(0));
  for (int batch = 0; batch < 5; ++batch) {
    AddSignal(line, signal, line->Count(), 1000);
    report("after appending 1,000 points");
  }
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  QApplication app(argc, argv);
  bool automated = false;
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--exit-after-paint") == 0) automated = true;
    if (std::strcmp(argv[i], "--points") == 0 && i + 1 < argc) kPoints = std::max(2, std::atoi(argv[++i]));
  }

  sextant::TChartView view;
  view.setWindowTitle(QString("Sextant: %L1 points").arg(kPoints));
  sextant::TChart* chart = view.Chart();
  chart->SetView3D(false);
  auto* series = new sextant::TFastLineSeries(chart);
  series->SetDrawAllPoints(false);  // one vertical stroke per pixel column ...
  series->SetDrawAllPointsStyle(sextant::daMinMax);  // ... from minimum to maximum
  chart->AddSeries(series);
  // A scroll bar below the bottom axis (freed by the chart).
  auto* scroll = new sextant::TAxisScrollBarTool;
  scroll->SetParentChart(chart);
  scroll->SetAxis(chart->BottomAxis());

  QElapsedTimer timer;
  timer.start();
  TSignal signal;
  series->ReservePoints(kPoints);  // one allocation for the whole load
  series->BeginUpdate();  // one refresh for the whole load
  AddSignal(series, signal, 0, kPoints);
  series->EndUpdate();
  std::printf("bigdata_example: %d points added in %lld ms\n", kPoints, static_cast<long long>(timer.elapsed()));

  // The time of each paint: from the start of the chart's drawing to its end.
  QElapsedTimer paintTimer;
  int lastPaintMs = 0;
  int paints = 0;
  chart->OnBeforeDrawChart = [&](sextant::TPersistent*) { paintTimer.start(); };
  chart->OnAfterDraw = [&](sextant::TPersistent*) {
    lastPaintMs = static_cast<int>(paintTimer.elapsed());
    if (++paints == 1) {
      std::printf("bigdata_example: first paint (whole range): %d ms\n", lastPaintMs);
      if (automated)
        QTimer::singleShot(0, &app, [&] {
          const int failed = RunSteps(&view, scroll, lastPaintMs, signal);
          if (failed == 3) std::fprintf(stderr, "bigdata_example: the chart did not pan\n");
          QApplication::exit(failed);
        });
    } else if (!automated) {
      std::printf("bigdata_example: paint: %d ms\n", lastPaintMs);
    }
  };
  if (automated) QTimer::singleShot(60000, &app, [] { QApplication::exit(1); });

  // Interactively, the data go on: 1,000 new points every 50 ms.
  QTimer stream;
  if (!automated) {
    QObject::connect(&stream, &QTimer::timeout, [&] { AddSignal(series, signal, series->Count(), 1000); });
    stream.start(50);
  }

  view.resize(1000, 500);
  view.show();
  return app.exec();
}

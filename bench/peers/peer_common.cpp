#include "peer_common.h"

#include <QDir>
#include <QLine>
#include <QPainter>
#include <QPolygonF>
#include <QVector>
#include <QtGlobal>
#include <benchmark/benchmark.h>

#include <algorithm>
#include <chrono>
#include <cstdlib>
#include <vector>

namespace sextant::bench {

QPen LinePen() {
  QPen pen(QColor::fromRgba(KLineColour), 1, Qt::SolidLine);
  return pen;
}

const char* QtTag() {
#if QT_VERSION >= QT_VERSION_CHECK(6, 0, 0)
  return "qt6";
#else
  return "qt5";
#endif
}

QImage ChartImage() {
  QImage image(KChartWidth, KChartHeight, QImage::Format_ARGB32_Premultiplied);
  image.fill(Qt::white);
  return image;
}

bool DrewTheLine(const QImage& Image, int MinPixels) {
  const QImage image = Image.convertToFormat(QImage::Format_ARGB32);
  int n = 0;
  for (int y = 0; y < image.height(); ++y) {
    const auto* line = reinterpret_cast<const QRgb*>(image.constScanLine(y));
    for (int x = 0; x < image.width(); ++x) n += line[x] == KLineColour;
  }
  return n >= MinPixels;
}

void SaveImageIfAsked(const QImage& Image, const std::string& Name) {
  const char* folder = std::getenv("SEXTANT_PEERS_IMAGES");
  if (!folder || !*folder) return;
  QString file = QString::fromStdString(Name);
  file.replace(QLatin1Char('/'), QLatin1Char('_'));
  QDir().mkpath(QString::fromUtf8(folder));
  Image.save(QString::fromUtf8(folder) + QLatin1Char('/') + file + QStringLiteral(".png"));
}

namespace {
std::vector<void (*)()>& CacheReleases() {
  static std::vector<void (*)()> releases;
  return releases;
}
}  // namespace

void AddCacheRelease(void (*Release)()) { CacheReleases().push_back(Release); }

void ReleaseKeptCharts() {
  for (auto release : CacheReleases()) release();
}

void TimePaints(benchmark::State& State, TKeptChart& Chart, const std::string& Name, long N) {
  if (!Chart.Checked) {
    Chart.Checked = true;
    const auto start = std::chrono::steady_clock::now();
    Chart.Paint(Chart.Image);
    const std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
    SaveImageIfAsked(Chart.Image, Name);
    if (!DrewTheLine(Chart.Image, 500))
      Chart.Error = "drew no line";
    else if (took.count() > KSlowPaintSeconds)
      Chart.Error = "skipped (>30 s)";
  }
  if (!Chart.Error.empty()) {
    State.SkipWithError(Chart.Error.c_str());
    return;
  }
  for (auto _ : State) Chart.Paint(Chart.Image);
  State.SetItemsProcessed(State.iterations() * N);
}

void AddWalkChecksums() {
  for (long n : KGridSizes) benchmark::AddCustomContext("walk_" + std::to_string(n), WalkChecksum(RandomWalk(n)));
}

namespace {

// The mapping of the walk's values onto the whole image: X from the first
// to the last value over the columns, Y from the largest value at the top
// to the smallest at the bottom (the range is known before the paint, as a
// chart knows its axis range).
struct TMapping {
  double X0, XScale, YMax, YScale;
  explicit TMapping(const TWalk& W) {
    const auto [lo, hi] = std::minmax_element(W.Y.begin(), W.Y.end());
    X0 = W.X.front();
    const double xSpan = W.X.back() - W.X.front();
    XScale = xSpan > 0 ? (KChartWidth - 1) / xSpan : 0;
    YMax = *hi;
    const double ySpan = *hi - *lo;
    YScale = ySpan > 0 ? (KChartHeight - 1) / ySpan : 0;
  }
  double MapX(double X) const { return (X - X0) * XScale; }
  // The smallest X of pixel column C.
  double ColumnStart(int C) const { return XScale > 0 ? X0 + C / XScale : X0 + 1; }
  double MapY(double Y) const { return (YMax - Y) * YScale; }
};

// Aliased, the line pen, and a clip to the image (as every chart clips to
// its plot area): with a clip rectangle set, Qt's raster engine draws
// aliased one-pixel lines on a much faster path than without one (at 1,000
// points about 15 x faster under Qt 5 and 3 x under Qt 6 here).
void SetUpFloorPainter(QPainter& Painter, const QImage& Image) {
  Painter.setRenderHint(QPainter::Antialiasing, false);
  Painter.setClipRect(Image.rect());
  Painter.setPen(LinePen());
}

// The min/max floor: one pass over the points (the walk's X ascends): per
// pixel column a scan of X for the column's end, then min and max of Y.
class TMinMaxFloor : public TKeptChart {
 public:
  explicit TMinMaxFloor(long N) : FWalk(RandomWalk(N)), FMap(FWalk) { FLines.reserve(4 * KChartWidth); }

  void Paint(QImage& Image) override {
    FLines.clear();
    const double* xs = FWalk.X.data();
    const double* ys = FWalk.Y.data();
    const std::size_t n = FWalk.X.size();
    std::size_t first = 0;
    while (first < n) {
      // The column of the first point, and the points up to the next
      // column's start (the walk's X ascends).
      const int column = static_cast<int>(FMap.MapX(xs[first]));
      const double next = FMap.ColumnStart(column + 1);
      std::size_t end = first + 1;
      while (end < n && xs[end] < next) ++end;
      // Their smallest and largest Y, with the last point of the column
      // before (the line between them is part of this column), in four
      // independent lanes.
      const std::size_t from = first > 0 ? first - 1 : first;
      double lo[4] = {ys[from], ys[from], ys[from], ys[from]};
      double hi[4] = {ys[from], ys[from], ys[from], ys[from]};
      std::size_t i = from + 1;
      for (; i + 4 <= end; i += 4)
        for (int k = 0; k < 4; ++k) {
          lo[k] = std::min(lo[k], ys[i + k]);
          hi[k] = std::max(hi[k], ys[i + k]);
        }
      for (; i < end; ++i) {
        lo[0] = std::min(lo[0], ys[i]);
        hi[0] = std::max(hi[0], ys[i]);
      }
      const double low = std::min(std::min(lo[0], lo[1]), std::min(lo[2], lo[3]));
      const double high = std::max(std::max(hi[0], hi[1]), std::max(hi[2], hi[3]));
      FLines.append(QLine(column, static_cast<int>(FMap.MapY(high) + 0.5), column,
                          static_cast<int>(FMap.MapY(low) + 0.5)));
      first = end;
    }
    Image.fill(Qt::white);
    QPainter painter(&Image);
    SetUpFloorPainter(painter, Image);
    painter.drawLines(FLines);
  }

 private:
  const TWalk& FWalk;
  TMapping FMap;
  QVector<QLine> FLines;  // reused between paints
};

// The polyline floor.
class TPolylineFloor : public TKeptChart {
 public:
  explicit TPolylineFloor(long N) : FWalk(RandomWalk(N)), FMap(FWalk) {}

  void Paint(QImage& Image) override {
    const std::size_t n = FWalk.X.size();
    FPoints.resize(static_cast<int>(n));
    QPointF* out = FPoints.data();
    for (std::size_t i = 0; i < n; ++i) out[i] = QPointF(FMap.MapX(FWalk.X[i]), FMap.MapY(FWalk.Y[i]));
    Image.fill(Qt::white);
    QPainter painter(&Image);
    SetUpFloorPainter(painter, Image);
    painter.drawPolyline(FPoints);
  }

 private:
  const TWalk& FWalk;
  TMapping FMap;
  QPolygonF FPoints;  // reused between paints
};

void BM_FloorMinMax(benchmark::State& State, long N, std::string Name) {
  TimePaints(State, KeepLast<TMinMaxFloor>(Name, [&] { return std::make_unique<TMinMaxFloor>(N); }), Name, N);
}

void BM_FloorPolyline(benchmark::State& State, long N, std::string Name) {
  TimePaints(State, KeepLast<TPolylineFloor>(Name, [&] { return std::make_unique<TPolylineFloor>(N); }), Name, N);
}

}  // namespace

void RegisterFloorBenchmarks() {
  for (long n : KGridSizes) {
    const std::string minmax = std::string("Line/floor_minmax_") + QtTag() + "/" + std::to_string(n);
    const std::string polyline = std::string("Line/floor_polyline_") + QtTag() + "/" + std::to_string(n);
    benchmark::RegisterBenchmark(minmax.c_str(), BM_FloorMinMax, n, minmax)->Unit(benchmark::kMillisecond);
    benchmark::RegisterBenchmark(polyline.c_str(), BM_FloorPolyline, n, polyline)->Unit(benchmark::kMillisecond);
  }
}

}  // namespace sextant::bench

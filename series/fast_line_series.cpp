// The fast line series: one pen, one line operation per point (or a single
// polyline), no marker shapes and no allocation per point.
//
// Contents
//   [Settings]     constructor, Assign, setters, colour and pen coupling
//   [Preparation]  visible range, pen start and the polyline buffer
//   [Drawing]      DrawAllValues, DrawValue and the null/column rules
//   [Other]        margins, adding outside a paint, Clear, hit test, legend
//   [Marks]        DrawMark: the callout length
#include "series/fast_line_series.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <limits>
#include <span>
#include <typeinfo>

#include "axes/chart_axis.h"
#include "canvas/brush.h"
#include "canvas/canvas3d.h"
#include "canvas/gradient.h"
#include "canvas/pen.h"
#include "marks/series_marks.h"
#include "panel/axis_panel.h"
#include "series/finite_point.h"
#include "series/segment_hit.h"

namespace sextant {

// ---- [Settings] --------------------------------------------------------------

TFastLineSeries::TFastLineSeries(TComponent* AOwner) : TCustomLineSeries(AOwner) {
  FY->SetChangeWatcher(&ILodChanges);
  // The line takes the series colour until a pen colour of its own is set.
  Pen()->InitColor(clKelColor);
  Pen()->InitEndStyle(esFlat);
  AllowSinglePoint = false;
  DrawBetweenPoints = true;
  IMandatoryPen = true;
  FTreatNulls = tnIgnore;
}

TFastLineSeries::~TFastLineSeries() { FY->SetChangeWatcher(nullptr); }

void TFastLineSeries::Assign(const TPersistent* Source) {
  if (const auto* other = dynamic_cast<const TFastLineSeries*>(Source)) {
    FAutoRepaint = other->FAutoRepaint;
    FClickTolerance = other->FClickTolerance;
    FDAPStyle = other->FDAPStyle;
    FDrawAll = other->FDrawAll;
    FDrawStyle = other->FDrawStyle;
    FFastPen = other->FFastPen;
    FIgnoreNulls = other->FIgnoreNulls;
    FInvertedStairs = other->FInvertedStairs;
    FStairs = other->FStairs;
  }
  TCustomLineSeries::Assign(Source);
}

void TFastLineSeries::SetDrawAllPointsStyle(TDrawAllPointsStyle Value) {
  if (FDAPStyle == Value) return;
  FDAPStyle = Value;
  Repaint();
}

void TFastLineSeries::SetDrawStyle(TFastLineDrawStyle Value) {
  if (FDrawStyle == Value) return;
  FDrawStyle = Value;
  Repaint();
}

// The line pen follows the series colour, and a new pen sets it.
void TFastLineSeries::SetSeriesColor(TColor Value) {
  TCustomLineSeries::SetSeriesColor(Value);
  LinePen()->SetColor(Value);
}

void TFastLineSeries::SetPen(const TKelPen* Value) {
  TCustomLineSeries::SetPen(Value);
  SetSeriesColor(Pen()->Color());
}

TColor TFastLineSeries::LineColor() const {
  const TColor own = LinePen()->Color();
  return own == clKelColor ? SeriesColor() : own;
}

bool TFastLineSeries::Is3D() const { return FParent && FParent->View3D(); }

bool TFastLineSeries::BreaksLine(int ValueIndex) const {
  const auto i = static_cast<std::size_t>(ValueIndex);
  const double x = FX->Data()[i], y = FY->Data()[i];
  if (!IsFinitePoint(x, y)) return true;
  // While the values are drawn the axes stay as they are: their scales
  // were looked at once (ILogScales).
  if (IDrawingAllValues && !ILogScales) return false;
  return !OnLogScales(x, y);
}

bool TFastLineSeries::NullLeftOut(int ValueIndex) const {
  return FColors && FTreatNulls != tnIgnore && IsNull(ValueIndex);
}

bool TFastLineSeries::ShouldDrawAsPolyline() const {
  return FDrawAll && FDrawStyle == flAll && FTreatNulls == tnIgnore && !FStairs && !Is3D();
}

bool TFastLineSeries::UseFastLine() const {
  if (!FFastPen) return false;
  TCanvas3D* canvas = ChartCanvas();
  return !canvas || !canvas->SupportsFullRotation() || !ShouldDrawAsPolyline();
}

// ---- [Preparation] -----------------------------------------------------------

// The series' range with the first point beyond the right edge included;
// with DrawAllPoints off, a range that collapsed to one point starts at the
// pixel column of the point before it.
void TFastLineSeries::CalcFirstLastVisibleIndex() {
  TCustomLineSeries::CalcFirstLastVisibleIndex();
  if (FDrawAll || FFirstVisibleIndex < 0 || FFirstVisibleIndex != FLastVisibleIndex) return;
  const int f = FFirstVisibleIndex;
  if (f < 1) {
    FFirstVisibleIndex = -1;
    return;
  }
  const double* xs = FX->Data();
  const int column = CalcXPosValue(xs[f - 1]);
  int j = f - 1;
  while (j > 0 && CalcXPosValue(xs[j - 1]) == column) --j;
  FFirstVisibleIndex = j;
}

// The pen starts at the last point before the visible range, so that the
// segment entering the plot from the left is drawn (and clipped).
void TFastLineSeries::DoBeforeParallel() {
  CalcFirstLastVisibleIndex();
  if (Count() == 0 || !FGetHorizAxis || !FGetVertAxis) return;
  const double* xs = FX->Data();
  const double* ys = FY->Data();
  const int s = PenStartIndex();
  OldX = FGetHorizAxis->CalcXPosValue(xs[s]);
  OldY = FGetVertAxis->CalcYPosValue(ys[s]);
  if (!ShouldDrawAsPolyline() || FLastVisibleIndex < s) return;

  // The buffer keeps its capacity; it is resized only when the number of
  // points changed, and then every entry is recomputed.
  const auto n = static_cast<std::size_t>(FLastVisibleIndex - s + 1);
  const bool sameLength = IPoints.size() == n;
  if (!sameLength) IPoints.resize(n);
  IPoints[0] = TPointF{static_cast<float>(OldX), static_cast<float>(OldY)};
  const bool doX = !(sameLength && ReuseXValues);
  const bool doY = !(sameLength && ReuseYValues);
  const TChartAxis* h = FGetHorizAxis;
  const TChartAxis* v = FGetVertAxis;
  for (std::size_t k = 1; k < n; ++k) {
    const std::size_t i = static_cast<std::size_t>(s) + k;
    if (doX) IPoints[k].X = static_cast<float>(h->CalcXPosValue(xs[i]));
    if (doY) IPoints[k].Y = static_cast<float>(v->CalcYPosValue(ys[i]));
  }
}

// ---- [Drawing] -----------------------------------------------------------------

void TFastLineSeries::PrepareCanvas() {
  TCanvas3D* canvas = ChartCanvas();
  if (!canvas) return;
  canvas->AssignVisiblePenColor(LinePen(), LineColor());
  canvas->Brush()->SetStyle(THostBrushKind::None);
  canvas->SetBackMode(cbmTransparent);
}

void TFastLineSeries::DoMove(int X, int Y) {
  TCanvas3D* canvas = ChartCanvas();
  if (!canvas) return;
  if (Is3D())
    canvas->MoveTo3D(static_cast<float>(X), static_cast<float>(Y), static_cast<float>(MiddleZ));
  else
    canvas->MoveTo(static_cast<float>(X), static_cast<float>(Y));
}

void TFastLineSeries::DrawAllValues() {
  TCanvas3D* canvas = ChartCanvas();
  if (!canvas || !FGetHorizAxis || !FGetVertAxis) return;
  IDrawingAllValues = true;
  ILogScales = FGetHorizAxis->Logarithmic() || FGetVertAxis->Logarithmic();
  ISearchedColumns = false;
  IDrawCanvas = canvas;
  IDraw3D = Is3D();
  // Connected lines may reach the host together (when it draws them so).
  canvas->BeginLineBatch();
  TKelBlend* blend = nullptr;
  const bool blending = FTransparency > 0 && canvas->SupportsAlpha();
  if (blending) blend = canvas->BeginBlending(TRectF{}, static_cast<std::uint8_t>(FTransparency));

  PrepareCanvas();
  const bool polyline = ShouldDrawAsPolyline();
  // A pen start that cannot be drawn leaves the line broken until the
  // first drawable point.
  IBroken = Count() > 0 && BreaksLine(PenStartIndex());
  if (!polyline && !IBroken) {
    DoMove(OldX, OldY);
    if (!FDrawAll) {
      IMin = OldY;
      IMax = OldY;
      ISameX = false;
    }
  }
  IFastMode = UseFastLine();
  if (IFastMode) canvas->SetFastLine(true);

  if (polyline) {
    if (!IPoints.empty()) {
      // A gradient pen spans the pixel bounding box of the data (grown by
      // half the pen width plus one) for this call only.
      TKelPen* pen = canvas->Pen();
      const bool gradient = LinePen()->IsGradientVisible() && pen->IsGradientVisible();
      TRectF saved;
      if (gradient) {
        TKelGradient* g = pen->Fill()->Gradient();
        saved = g->CustomTargetRectangle();
        const float grow = static_cast<float>(KelRound(LinePen()->Width() * 0.5) + 1);
        g->SetCustomTargetRectangle(TRectF{
            static_cast<float>(CalcXPosValue(MinXValue())) - grow,
            static_cast<float>(CalcYPosValue(MaxYValue())) - grow,
            static_cast<float>(CalcXPosValue(MaxXValue())) + grow,
            static_cast<float>(CalcYPosValue(MinYValue())) + grow});
      }
      DrawPolylineRuns(canvas);
      if (gradient) pen->Fill()->Gradient()->SetCustomTargetRectangle(saved);
    }
  } else if (FFirstVisibleIndex >= 0 && !DrawColumnsBySearch()) {
    // With FirstValueIndex 0 the pen already stands on point 0.
    if (FFirstVisibleIndex > 0) DrawValue(FFirstVisibleIndex);
    for (int i = FFirstVisibleIndex + 1; i <= FLastVisibleIndex; ++i) DrawValue(i);
  }

  canvas->EndLineBatch();
  if (blending) canvas->EndBlending(blend);
  if (IFastMode) canvas->SetFastLine(false);
  IFastMode = false;
  IDrawingAllValues = false;
  IDrawCanvas = nullptr;
  IBroken = false;
}

// Without a point that breaks the line this is the one polyline over the
// whole buffer; otherwise each run of at least two drawable points is a
// polyline of its own (entry k of the buffer is point PenStartIndex() + k).
void TFastLineSeries::DrawPolylineRuns(TCanvas3D* Canvas) {
  const std::size_t n = IPoints.size();
  const std::size_t s = static_cast<std::size_t>(PenStartIndex());
  const std::size_t count = static_cast<std::size_t>(Count());
  const std::span<const TPointF> all(IPoints);
  std::size_t runStart = 0;
  for (std::size_t k = 0; k < n; ++k) {
    if (s + k < count && !BreaksLine(static_cast<int>(s + k))) continue;
    if (k - runStart >= 2) Canvas->Polyline(all.subspan(runStart, k - runStart));
    runStart = k + 1;
  }
  if (runStart == 0)
    Canvas->Polyline(all);
  else if (n > runStart && n - runStart >= 2)
    Canvas->Polyline(all.subspan(runStart));
}

// ---- DrawAllPoints off: pixel columns by search ---------------------------------
//
// With DrawAllPoints off, DrawValue depends on a point only through its
// pixel (X, Y), whether it or the point before it is special (a null point
// while nulls are not ignored, a value that is not finite) and the pen state
// (OldX, OldY, IMin, IMax, ISameX). On an X list in ascending order and an
// axis whose conversion never changes direction, the points of one pixel
// column are consecutive, so the column's last index is found by a
// galloping search instead of converting every X. Within a column the first
// point, every special point, the point after it and the last displayed
// point go through DrawValue itself; between them lie runs of plain points
// that only compare their Y pixel with the pen's:
//   - daFirst draws each one whose Y pixel differs from the pen's, so a
//     block of the level-of-detail index whose smallest and largest value
//     both land on the pen's pixel is passed over whole;
//   - daMinMax only gathers the lowest and highest Y pixel that differs from
//     the pen's: on a monotone vertical axis those come from the run's
//     smallest and largest value, read from the index. Only when one of them
//     lands on the pen's own pixel is the value nearest beyond that pixel
//     searched, again block by block.
// A point that breaks the line (X or Y not finite) is special too, and so
// is every point while the line is broken. The strokes and the final pen
// state are those of visiting every point.

namespace {

// The conversion never changes direction: a constant (zero range) or a
// finite positive scale from a finite minimum. (A zero scale would send an
// infinite distance to NaN, which lands on the bound.)
bool MonotoneConversion(const TChartAxis* Axis) {
  if (Axis->IRangeZero) return true;
  return std::isfinite(Axis->IAxisSizeRange) && Axis->IAxisSizeRange > 0 && std::isfinite(Axis->IMinimum);
}

// Doubles in their numeric order as unsigned integers (for bisection
// over every representable value between two numbers).
std::uint64_t OrderedKey(double Value) {
  std::uint64_t bits;
  std::memcpy(&bits, &Value, sizeof bits);
  return (bits >> 63) ? ~bits : bits | 0x8000000000000000ULL;
}

double FromOrderedKey(std::uint64_t Key) {
  const std::uint64_t bits = (Key >> 63) ? Key & 0x7FFFFFFFFFFFFFFFULL : ~Key;
  double value;
  std::memcpy(&value, &bits, sizeof value);
  return value;
}

}  // namespace

void TFastLineSeries::SyncLod() {
  if (!ILod) ILod = std::make_unique<TLodIndex>();
  const TColor* colors = FColors ? FColors->data() : nullptr;
  const int colorCount = FColors ? static_cast<int>(FColors->size()) : 0;
  ILod->Sync(FY->Data(), FY->Count(), colors, colorCount, ILodChanges);
}

std::size_t TFastLineSeries::LodMemoryBytes() const { return ILod ? ILod->MemoryBytes() : 0; }

void TFastLineSeries::NotifyColorChange(int ValueIndex) {
  if (ValueIndex < 0)
    ILodChanges.Moved(0);
  else
    ILodChanges.Edited(ValueIndex);
  TCustomLineSeries::NotifyColorChange(ValueIndex);
}

bool TFastLineSeries::DrawColumnsBySearch() {
  // A kind derived from the fast line may draw its points itself
  // (DrawValue); it keeps the visit of every point.
  if (FDrawAll || FFirstVisibleIndex < 0 || typeid(*this) != typeid(TFastLineSeries)) return false;
  const TChartAxis* h = FGetHorizAxis;
  const TChartAxis* v = FGetVertAxis;
  const int last = FLastVisibleIndex;
  if (!h || !v || last >= Count()) return false;
  if (!MonotoneConversion(h) || !FX->IsAscending()) return false;
  // Logarithmic scales break the line at values that are not positive,
  // which the column search does not look for.
  if (h->Logarithmic() || v->Logarithmic()) return false;
  // A point is null by its own colour only; when the series colour or the
  // palette could make points null, every point is visited.
  const bool nullsMatter = FColors && FTreatNulls != tnIgnore;
  if (nullsMatter && (FColorEachPoint || SeriesColor() == clNone)) return false;
  const bool monotoneY = MonotoneConversion(v);
  if (monotoneY) SyncLod();

  const double* xs = FX->Data();
  const double* ys = FY->Data();
  const TColor* colors = FColors ? FColors->data() : nullptr;
  const int colorCount = FColors ? static_cast<int>(FColors->size()) : 0;
  const std::uint8_t mask = lodNonFinite | (nullsMatter ? lodNull : 0);
  auto special = [&](int j) {
    const double y = ys[j];
    return !(y - y == 0) || (nullsMatter && j < colorCount && colors[j] == clNone);
  };
  const int lastShown = LastDisplayedIndex();
  // The visit starts right after the point the pen stands on. In an
  // ascending list of numbers only the ends can be infinite: an infinite X
  // in the range is left to the visit of every point.
  int i = PenStartIndex() + 1;
  if (!IsFiniteValue(xs[i - 1]) || !IsFiniteValue(xs[last])) return false;
  const bool byValue = i <= last && ColumnsByValue(xs[i - 1], xs[last]);
  int next = i <= last ? h->CalcXPosValue(xs[i]) : 0;
  int width = 1;  // indexes in the column before
  while (i <= last) {
    const int column = next;
    const int end = byValue ? ColumnEndByValue(i, last, column, width, next) : ColumnEnd(i, last, column);
    width = end - i + 1;
    TFastLineSeries::DrawValue(i);
    const bool lastApart = end == lastShown && end > i;
    const int interiorEnd = lastApart ? end - 1 : end;
    int p = i + 1;
    while (p <= interiorEnd) {
      if (IBroken || OldX != column || special(p) || special(p - 1)) {
        TFastLineSeries::DrawValue(p);
        ++p;
        continue;
      }
      if (!monotoneY) {
        // Without an order of the Y pixels every one is converted.
        const int y = v->CalcYPosValue(ys[p]);
        if (y != OldY) {
          if (FDAPStyle == daFirst) {
            DoDrawPoint(column, y);
          } else {
            IMin = std::min(IMin, y);
            IMax = std::max(IMax, y);
            ISameX = true;
          }
        }
        ++p;
        continue;
      }
      p = FDAPStyle == daFirst ? FirstRun(p, interiorEnd, column, mask, special)
                               : MinMaxRun(p, interiorEnd, mask, special);
    }
    if (lastApart) TFastLineSeries::DrawValue(end);
    // The column of the next index, unless the search converted it.
    if (next == column && end < last) next = h->CalcXPosValue(xs[end + 1]);
    i = end + 1;
  }
  ISearchedColumns = true;
  return true;
}

int TFastLineSeries::ColumnEnd(int Start, int Last, int Column) const {
  const TChartAxis* h = FGetHorizAxis;
  const double* xs = FX->Data();
  // Galloping: lo maps to the column, hi is the first index known not to
  // (or Last + 1).
  int lo = Start;
  int hi;
  for (long long step = 1;; step *= 2) {
    const long long probe = lo + step;
    if (probe > Last) {
      hi = Last + 1;
      break;
    }
    if (h->CalcXPosValue(xs[probe]) != Column) {
      hi = static_cast<int>(probe);
      break;
    }
    lo = static_cast<int>(probe);
  }
  while (hi - lo > 1) {
    const int mid = lo + (hi - lo) / 2;
    if (h->CalcXPosValue(xs[mid]) == Column)
      lo = mid;
    else
      hi = mid;
  }
  return lo;
}

bool TFastLineSeries::ColumnsByValue(double First, double Last) const {
  const TChartAxis* h = FGetHorizAxis;
  // Distances from the minimum that stay finite take the plain double
  // arithmetic of the conversion, which is monotone in the value.
  return !h->IRangeZero && !h->Logarithmic() && std::isfinite(h->IAxisSizeRange) && h->IAxisSizeRange > 0 &&
         std::isfinite(First - h->IMinimum) && std::isfinite(Last - h->IMinimum);
}

// The conversion of a value is monotone, so the indexes of one column are a
// run and the first index beyond it is the first whose X reaches the
// column's edge. The edge from the inverse mapping is only an estimate (it
// is rounded, and the conversion rounds too), so the result is confirmed
// with the real conversion on both sides and, where the estimate missed,
// corrected by the galloping search: the index found is always that one.
int TFastLineSeries::ColumnEndByValue(int Start, int Last, int Column, int Guess, int& Next) const {
  const TChartAxis* h = FGetHorizAxis;
  const double* xs = FX->Data();
  Next = Column;
  // Pixels grow with the value on a normal axis, shrink on an inverted
  // one; the column ends half a pixel further on.
  const double offset = h->Inverted() ? static_cast<double>(h->IEndPos) - Column + 0.5
                                      : Column + 0.5 - static_cast<double>(h->IStartPos);
  const double edge = h->IMinimum + offset / h->IAxisSizeRange;
  // The first index after Start whose X is not below the edge (Last + 1
  // when none): galloping from the guess (the width of the column before),
  // then bisection, over the raw values. lo is Start or below the edge, hi
  // is Last + 1 or not below it.
  int lo = Start;
  int hi = Last + 1;
  const long long guess = std::min<long long>(static_cast<long long>(Start) + std::max(Guess, 1), Last);
  if (guess > Start && !(xs[guess] < edge)) {
    hi = static_cast<int>(guess);
    for (long long step = 1;; step *= 2) {
      const long long probe = hi - step;
      if (probe <= Start) break;
      if (xs[probe] < edge) {
        lo = static_cast<int>(probe);
        break;
      }
      hi = static_cast<int>(probe);
    }
  } else {
    if (guess > Start) lo = static_cast<int>(guess);
    for (long long step = 1;; step *= 2) {
      const long long probe = lo + step;
      if (probe > Last) break;
      if (!(xs[probe] < edge)) {
        hi = static_cast<int>(probe);
        break;
      }
      lo = static_cast<int>(probe);
    }
  }
  while (hi - lo > 1) {
    const int mid = lo + (hi - lo) / 2;
    if (xs[mid] < edge)
      lo = mid;
    else
      hi = mid;
  }
  // hi is the candidate first index beyond the column.
  if (hi <= Last) {
    const int p = h->CalcXPosValue(xs[hi]);
    if (p == Column) return ColumnEnd(hi, Last, Column);  // the edge lies further on
    Next = p;
  }
  if (hi - 1 > Start && h->CalcXPosValue(xs[hi - 1]) != Column) {
    Next = Column;  // the edge lies before: the index after is not converted
    return ColumnEnd(Start, hi - 2, Column);
  }
  return hi - 1;
}

template <typename Special>
int TFastLineSeries::FirstRun(int From, int To, int Column, std::uint8_t Mask, Special& IsSpecial) {
  const TChartAxis* v = FGetVertAxis;
  const double* ys = FY->Data();
  int stop = To + 1;
  ILod->WalkSpans(
      From, To,
      [&](const TLodNode& Node, std::uint8_t Flags) {
        if (Flags & Mask) return TLodStep::Split;
        const bool allOnPen = v->CalcYPosValue(Node.Lo) == OldY && v->CalcYPosValue(Node.Hi) == OldY;
        return allOnPen ? TLodStep::Take : TLodStep::Split;
      },
      [&](int First, int Last, std::uint8_t Flags) {
        const bool plain = !(Flags & Mask);
        for (int j = First; j <= Last; ++j) {
          if (!plain && IsSpecial(j)) {
            stop = j;
            return false;
          }
          const int y = v->CalcYPosValue(ys[j]);
          if (y != OldY) DoDrawPoint(Column, y);
        }
        return true;
      });
  return stop;
}

template <typename Special>
int TFastLineSeries::MinMaxRun(int From, int To, std::uint8_t Mask, Special& IsSpecial) {
  const double* ys = FY->Data();
  double lo = HUGE_VAL;
  double hi = -HUGE_VAL;
  // Most runs hold no special point: their extremes come from the fewest
  // blocks; a run with one is walked in order up to it.
  if (ILod->RangeMinMax(ys, From, To, Mask, lo, hi)) {
    GatherRun(From, To, lo, hi);
    return To + 1;
  }
  lo = HUGE_VAL;
  hi = -HUGE_VAL;
  int stop = To + 1;
  ILod->WalkSpans(
      From, To,
      [&](const TLodNode& Node, std::uint8_t Flags) {
        if (Flags & Mask) return TLodStep::Split;
        lo = std::min(lo, Node.Lo);
        hi = std::max(hi, Node.Hi);
        return TLodStep::Take;
      },
      [&](int First, int Last, std::uint8_t Flags) {
        // A part of a block without special points is read in one loop.
        if (!(Flags & Mask)) {
          TLodIndex::SpanMinMax(ys, First, Last, lo, hi);
          return true;
        }
        for (int j = First; j <= Last; ++j) {
          if (IsSpecial(j)) {
            stop = j;
            return false;
          }
          lo = std::min(lo, ys[j]);
          hi = std::max(hi, ys[j]);
        }
        return true;
      });
  if (stop > From) GatherRun(From, stop - 1, lo, hi);
  return stop;
}

// The plain points From..To of one column, all finite, with their smallest
// and largest value: every Y pixel that differs from the pen's (OldY)
// widens IMin/IMax. The pixels of the values lie between those of the
// extremes. When one extreme lands on the pen's pixel, the values on that
// pixel form one interval; its edge is found by bisection over the doubles,
// and the nearest value beyond it gives the extreme pixel on that side.
void TFastLineSeries::GatherRun(int From, int To, double Lo, double Hi) {
  const TChartAxis* v = FGetVertAxis;
  const double* ys = FY->Data();
  const int penY = OldY;
  auto take = [&](int Pixel) {
    if (Pixel == penY) return;
    IMin = std::min(IMin, Pixel);
    IMax = std::max(IMax, Pixel);
    ISameX = true;
  };
  const int pixLo = v->CalcYPosValue(Lo);
  const int pixHi = v->CalcYPosValue(Hi);
  if (pixLo != penY && pixHi != penY) {
    take(pixLo);
    take(pixHi);
    return;
  }
  if (pixLo == penY && pixHi == penY) return;  // every value on the pen's pixel
  const bool lowOnPen = pixLo == penY;
  const int other = lowOnPen ? pixHi : pixLo;
  std::uint64_t in = OrderedKey(lowOnPen ? Lo : Hi);
  std::uint64_t out = OrderedKey(lowOnPen ? Hi : Lo);
  const int nearest = penY + (other > penY ? 1 : -1);
  NarrowPixelEdge(penY, nearest, Lo, Hi, in, out);
  while ((in > out ? in - out : out - in) > 1) {
    const std::uint64_t mid = in < out ? in + (out - in) / 2 : out + (in - out) / 2;
    if (v->CalcYPosValue(FromOrderedKey(mid)) == penY)
      in = mid;
    else
      out = mid;
  }
  const double edge = FromOrderedKey(in);
  // The nearest value beyond the edge; the search ends early once it lands
  // on the pixel next to the pen's, which nothing nearer could improve.
  double beyond = 0;
  bool found = false;
  auto offer = [&](double Value) {
    if (!found || (lowOnPen ? Value < beyond : Value > beyond)) beyond = Value;
    found = true;
    return v->CalcYPosValue(beyond) != nearest;
  };
  ILod->WalkSpans(
      From, To,
      [&](const TLodNode& Node, std::uint8_t) {
        if (lowOnPen) {
          if (Node.Hi <= edge || (found && Node.Lo >= beyond)) return TLodStep::Take;
          if (Node.Lo > edge) return offer(Node.Lo) ? TLodStep::Take : TLodStep::Stop;
        } else {
          if (Node.Lo >= edge || (found && Node.Hi <= beyond)) return TLodStep::Take;
          if (Node.Hi < edge) return offer(Node.Hi) ? TLodStep::Take : TLodStep::Stop;
        }
        return TLodStep::Split;
      },
      [&](int First, int Last, std::uint8_t) {
        // The nearest value beyond the edge within the span, offered once.
        bool any = false;
        double best = 0;
        if (lowOnPen) {
          for (int j = First; j <= Last; ++j) {
            const double y = ys[j];
            if (y > edge && (!any || y < best)) best = y, any = true;
          }
        } else {
          for (int j = First; j <= Last; ++j) {
            const double y = ys[j];
            if (y < edge && (!any || y > best)) best = y, any = true;
          }
        }
        return !any || offer(best);
      });
  if (found) take(v->CalcYPosValue(beyond));
  take(other);
}

// The bisection between In (a value on pixel Pixel) and Out (one beyond it,
// towards pixel Toward) converges on the same edge from any pair of keys
// that keeps In on the pixel and Out off it, because the conversion is
// monotone. The edge from the axis' inverse mapping is a few units of the
// last place off at most in ordinary ranges: one conversion there, then a
// gallop in steps of 1, 2, 4... units back towards the other side, brings
// the pair within that distance. Where the values' distances from the
// minimum are not all finite (the conversion changes arithmetic there) the
// pair is left as it is.
void TFastLineSeries::NarrowPixelEdge(int Pixel, int Toward, double Lo, double Hi, std::uint64_t& In,
                                      std::uint64_t& Out) const {
  const TChartAxis* v = FGetVertAxis;
  if (v->IRangeZero || !std::isfinite(Lo - v->IMinimum) || !std::isfinite(Hi - v->IMinimum)) return;
  // A clamped pixel holds every value beyond it: no border to estimate.
  if (Pixel <= -KelMaxPixelPos || Pixel >= KelMaxPixelPos) return;
  // The border between the two pixels; a vertical axis counts its
  // distance from the minimum upwards from the bottom end (IEndPos), an
  // inverted one downwards from the top (IStartPos).
  const double border = (Pixel + Toward) * 0.5;
  const double distance =
      v->Inverted() ? border - static_cast<double>(v->IStartPos) : static_cast<double>(v->IEndPos) - border;
  const double estimate = v->IMinimum + distance / v->IAxisSizeRange;
  if (!std::isfinite(estimate)) return;
  const std::uint64_t key = OrderedKey(estimate);
  const bool up = Out > In;  // the direction from In to Out in key order
  auto strictlyBetween = [&](std::uint64_t K) { return up ? (K > In && K < Out) : (K < In && K > Out); };
  if (!strictlyBetween(key)) return;
  auto onPixel = [&](std::uint64_t K) { return v->CalcYPosValue(FromOrderedKey(K)) == Pixel; };
  // The side the estimate falls on, then a gallop towards the other side.
  const bool estimateIn = onPixel(key);
  (estimateIn ? In : Out) = key;
  const bool forward = estimateIn == up;  // the gallop runs up in key order
  for (std::uint64_t step = 1;; step *= 2) {
    const std::uint64_t from = estimateIn ? In : Out;
    const std::uint64_t probe = forward ? from + step : from - step;
    if (!strictlyBetween(probe) || step > (std::uint64_t{1} << 62)) return;
    if (onPixel(probe) == estimateIn) {
      (estimateIn ? In : Out) = probe;
    } else {
      (estimateIn ? Out : In) = probe;
      return;
    }
  }
}

// daMinMax: a point in a new pixel column strokes the gathered column and
// starts the next; a point in the same column widens its extremes (the
// last displayed point strokes it at once).
void TFastLineSeries::MinMaxStep(int ValueIndex, int X, int Y) {
  if (X != OldX) {
    if (ISameX) DrawColumn();
    DoDrawPoint(X, Y);
    ISameX = false;
    IMin = INT_MAX;
    IMax = INT_MIN;
  } else {
    IMin = std::min(IMin, Y);
    IMax = std::max(IMax, Y);
    ISameX = true;
    if (ValueIndex == LastDisplayedIndex()) DrawColumn();
  }
}

void TFastLineSeries::DrawValue(int ValueIndex) {
  // Drawing never raises: an index outside the data draws nothing.
  if (ValueIndex < 0 || ValueIndex >= Count() || !FGetHorizAxis || !FGetVertAxis) return;
  if (BreaksLine(ValueIndex)) {
    BreakLine();
    return;
  }
  int X = FGetHorizAxis->CalcXPosValue(FX->Data()[ValueIndex]);
  int Y = FGetVertAxis->CalcYPosValue(FY->Data()[ValueIndex]);
  if (IBroken) {
    if (!NullLeftOut(ValueIndex)) RestartLine(X, Y);
    return;
  }
  if (FTreatNulls == tnIgnore && FDrawAll) {
    DoDrawPoint(X, Y);
    return;
  }
  if (!ShouldDrawPoint(ValueIndex, X, Y)) return;
  if (FDrawAll || FDAPStyle == daFirst) {
    DoDrawPoint(X, Y);
    return;
  }
  // daMinMax: one vertical stroke per pixel column.
  MinMaxStep(ValueIndex, X, Y);
}

void TFastLineSeries::BreakLine() {
  if (IBroken) return;
  if (!FDrawAll && FDAPStyle == daMinMax && ISameX) DrawColumn();
  ISameX = false;
  IBroken = true;
}

void TFastLineSeries::RestartLine(int X, int Y) {
  DoMove(X, Y);
  OldX = X;
  OldY = Y;
  IMin = Y;
  IMax = Y;
  ISameX = false;
  IBroken = false;
}

void TFastLineSeries::DrawColumn() {
  const int x = OldX;
  if (FGetVertAxis && FGetVertAxis->Inverted()) {
    DoDrawPoint(x, IMax);
    DoDrawPoint(x, IMin);
  } else {
    DoDrawPoint(x, IMin);
    DoDrawPoint(x, IMax);
  }
}

// Decides whether point ValueIndex is drawn when nulls are treated
// specially or not every point is drawn; may move the pen instead.
bool TFastLineSeries::ShouldDrawPoint(int ValueIndex, int& X, int& Y) {
  const bool newPos = X != OldX || Y != OldY;
  const bool isNull = FColors && IsNull(ValueIndex);
  if (!isNull) {
    const bool previousNull = ValueIndex > 0 && FColors && IsNull(ValueIndex - 1);
    if (!previousNull || FTreatNulls == tnIgnore) return newPos;
    if (FTreatNulls == tnSkip && ValueIndex != FirstDisplayedIndex() + 1) return newPos;
    // tnDontPaint, or tnSkip right after a null first point: the line
    // restarts here.
    DoMove(X, Y);
    if (FStairs) {
      OldX = X;
      OldY = Y;
    }
    return false;
  }
  switch (FTreatNulls) {
    case tnIgnore:
      return newPos;
    case tnSkip:
      return false;  // the pen stays: the next segment bridges the null
    case tnDontPaint:
      if (!FDrawAll) {
        if (FDAPStyle == daFirst) {
          DoMove(X, Y);
        } else {
          OldX = X;
          OldY = Y;
        }
      }
      return false;
  }
  return false;
}

void TFastLineSeries::DoDrawPoint(int X, int Y) {
  TCanvas3D* canvas = IDrawingAllValues ? IDrawCanvas : ChartCanvas();
  if (!canvas) return;
  const bool is3D = IDrawingAllValues ? IDraw3D : Is3D();
  const bool fast = !is3D && (IDrawingAllValues ? IFastMode : UseFastLine());
  const bool switchFast = fast && !IDrawingAllValues;
  if (switchFast) canvas->SetFastLine(true);
  auto lineTo = [&](int x, int y) {
    if (is3D)
      canvas->LineTo3D(static_cast<float>(x), static_cast<float>(y), static_cast<float>(MiddleZ));
    else if (fast)
      canvas->FastLineTo(x, y);
    else
      canvas->LineTo(static_cast<float>(x), static_cast<float>(y));
  };
  if (FStairs) {
    if (FInvertedStairs)
      lineTo(OldX, Y);
    else
      lineTo(X, OldY);
  }
  lineTo(X, Y);
  if (switchFast) canvas->SetFastLine(false);
  OldX = X;
  OldY = Y;
}

// ---- [Other] -------------------------------------------------------------------

// m = Round(W - (W - 2) * 0.5) in single precision: 2 for pen widths 1
// and 2, 3 for width 4.
static int LineMargin(float Width) {
  const float m = Width - (Width - 2.0f) * 0.5f;
  return KelRound(m);
}

void TFastLineSeries::CalcHorizMargins(int& LeftMargin, int& RightMargin) {
  const int m = LineMargin(LinePen()->Width());
  LeftMargin = m;
  RightMargin = m;
}

// Only at the ends the series' own extremes reach.
void TFastLineSeries::CalcVerticalMargins(int& TopMargin, int& BottomMargin) {
  TCustomLineSeries::CalcVerticalMargins(TopMargin, BottomMargin);
  const int m = LineMargin(LinePen()->Width());
  if (m == 0 || !FGetVertAxis) return;
  if (!(MaxYValue() < FGetVertAxis->Maximum())) TopMargin += m;
  if (MinYValue() <= FGetVertAxis->Minimum()) BottomMargin += m;
}

// With AutoRepaint off a new point does not invalidate the chart: its
// segment is drawn at once on the chart's canvas, when that canvas is aimed
// at a host canvas.
void TFastLineSeries::NotifyNewValue(TChartSeries* Sender, int ValueIndex) {
  if (FAutoRepaint) {
    TCustomLineSeries::NotifyNewValue(Sender, ValueIndex);
    return;
  }
  InternalNotifyNewValue(ValueIndex);
  TCanvas3D* canvas = ChartCanvas();
  if (!canvas || !canvas->ReferenceCanvas() || !FGetHorizAxis || !FGetVertAxis) return;
  if (ValueIndex < 0 || ValueIndex >= Count() || BreaksLine(ValueIndex)) return;
  const int p = ValueIndex > 0 ? ValueIndex - 1 : 0;
  if (BreaksLine(p)) {
    // No segment from a point that cannot be drawn: the line starts here.
    OldX = FGetHorizAxis->CalcXPosValue(FX->Data()[ValueIndex]);
    OldY = FGetVertAxis->CalcYPosValue(FY->Data()[ValueIndex]);
    DoMove(OldX, OldY);
    return;
  }
  const int px = FGetHorizAxis->CalcXPosValue(FX->Data()[p]);
  const int py = FGetVertAxis->CalcYPosValue(FY->Data()[p]);
  if (!FDrawAll && px != OldX) {
    OldX = px;
    OldY = py;
  }
  canvas->AssignVisiblePenColor(LinePen(), LineColor());
  DoMove(OldX, OldY);
  DrawValue(ValueIndex);
}

// After clearing, the pen waits at the corner where the axes meet.
void TFastLineSeries::Clear() {
  TCustomLineSeries::Clear();
  if (!FParent || FParent->IsDestroying() || !ChartCanvas() || !FGetHorizAxis || !FGetVertAxis)
    return;
  OldX = FGetVertAxis->PosAxis;
  OldY = FGetHorizAxis->PosAxis;
  DoMove(OldX, OldY);
}

int TFastLineSeries::Clicked(int X, int Y) {
  if (FFirstVisibleIndex < 0 || !FGetHorizAxis || !FGetVertAxis) return -1;
  if (Is3D())
    if (TCanvas3D* canvas = ChartCanvas()) canvas->Calculate2DPosition(X, Y, MiddleZ);
  // The range is that of the last paint; points deleted since then are not
  // visited.
  const int last = std::min(FLastVisibleIndex, Count() - 1);
  const int tolerance = std::max(0, FClickTolerance);
  const double* xs = FX->Data();
  const double* ys = FY->Data();
  const TPoint pixel{X, Y};
  TPoint previous{};
  bool hasPrevious = false;  // the point before was drawn
  for (int i = FFirstVisibleIndex; i <= last; ++i) {
    // A point that breaks the line is neither hit nor joined to a neighbour.
    if (BreaksLine(i)) {
      hasPrevious = false;
      continue;
    }
    const TPoint p{FGetHorizAxis->CalcXPosValue(xs[i]), FGetVertAxis->CalcYPosValue(ys[i])};
    if (p == pixel) return i;
    if (hasPrevious) {
      bool hit;
      if (FStairs) {
        const TPoint corner = FInvertedStairs ? TPoint{previous.X, p.Y} : TPoint{p.X, previous.Y};
        hit = PointOnSegment(pixel, previous, corner, tolerance) ||
              PointOnSegment(pixel, corner, p, tolerance);
      } else {
        hit = PointOnSegment(pixel, previous, p, tolerance);
      }
      if (hit) return i - 1;
    }
    previous = p;
    hasPrevious = true;
  }
  return -1;
}

void TFastLineSeries::PrepareLegendCanvas() {
  if (TCanvas3D* canvas = ChartCanvas()) canvas->AssignVisiblePenColor(LinePen(), LineColor());
}

void TFastLineSeries::DrawLegendShape(const TRectF& Rect) {
  TCanvas3D* canvas = ChartCanvas();
  if (!canvas) return;
  const long long top = KelRound(Rect.Top);
  const long long bottom = KelRound(Rect.Bottom);
  canvas->DoHorizLine(static_cast<float>(KelRound(Rect.Left)), static_cast<float>(KelRound(Rect.Right)),
                      static_cast<float>((top + bottom) / 2));
}

// ---- [Marks] -----------------------------------------------------------------

void TFastLineSeries::DrawMark(int ValueIndex, const std::string& Text, TSeriesMarkPosition& Position) {
  Marks()->ApplyArrowLength(Position);
  TCustomLineSeries::DrawMark(ValueIndex, Text, Position);
}

}  // namespace sextant

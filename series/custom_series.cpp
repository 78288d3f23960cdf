// Point, line and area series: the pointers, the line and the shared hooks.
//
// Contents
//   [Settings]   constructor, Assign, pointer
//   [Points]     pixels, which points are drawn, the line walk
//   [Drawing]    DrawAllValues: beneath, line, pointers
//   [Other]      margins, hit test, legend symbol, marks
#include "series/custom_series.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "axes/chart_axis.h"
#include "canvas/brush.h"
#include "canvas/canvas3d.h"
#include "canvas/pen.h"
#include "marks/series_marks.h"
#include "panel/axis_panel.h"
#include "series/finite_point.h"
#include "series/segment_hit.h"

namespace sextant {

// ---- [Settings] ------------------------------------------------------------------

TCustomSeries::TCustomSeries(TComponent* AOwner)
    : TCustomLineSeries(AOwner), FPointer(std::make_unique<TSeriesPointer>(this)) {
  // Line and pointer take the point's colour until they get one of their own.
  Pen()->InitColor(clKelColor);
  FPointer->Brush()->InitColor(clKelColor);
}

TCustomSeries::~TCustomSeries() = default;

void TCustomSeries::Assign(const TPersistent* Source) {
  if (const auto* other = dynamic_cast<const TCustomSeries*>(Source); other && other != this) {
    FPointer->Assign(other->FPointer.get());
    FStairs = other->FStairs;
    FInvertedStairs = other->FInvertedStairs;
    FClickTolerance = other->FClickTolerance;
  }
  TCustomLineSeries::Assign(Source);
}

void TCustomSeries::SetPointer(const TSeriesPointer* Value) {
  if (Value) FPointer->Assign(Value);
}

void TCustomSeries::SetParentChart(TCustomAxisPanel* Value) {
  TCustomLineSeries::SetParentChart(Value);
  FPointer->SetParent(FParent);
}

TColor TCustomSeries::LineColor() const {
  const TColor own = LinePen()->Color();
  return own == clKelColor ? SeriesColor() : own;
}

bool TCustomSeries::Is3D() const { return FParent && FParent->View3D(); }

bool TCustomSeries::LineShown() const { return FConnectsPoints && LinePen()->Visible(); }

// ---- [Points] --------------------------------------------------------------------

bool TCustomSeries::IsFinitePoint(int ValueIndex) const {
  const double x = FX->Data()[ValueIndex];
  const double y = FY->Data()[ValueIndex];
  return sextant::IsFinitePoint(x, y) && OnLogScales(x, y);
}

TPoint TCustomSeries::PixelOf(int ValueIndex) const {
  return {FGetHorizAxis->CalcXPosValue(FX->Data()[ValueIndex]),
          FGetVertAxis->CalcYPosValue(DrawnYValue(ValueIndex))};
}

bool TCustomSeries::HasPointer(int ValueIndex) const {
  if (!IsFinitePoint(ValueIndex)) return false;
  return FTreatNulls == tnIgnore || !FColors || !IsNull(ValueIndex);
}

// ---- [Drawing] -------------------------------------------------------------------

void TCustomSeries::DrawAllValues() {
  TCanvas3D* canvas = ChartCanvas();
  if (!canvas || !FGetHorizAxis || !FGetVertAxis || FFirstVisibleIndex < 0) return;
  const bool blending = FTransparency > 0 && canvas->SupportsAlpha();
  TKelBlend* blend = nullptr;
  if (blending) blend = canvas->BeginBlending(TRectF{}, static_cast<std::uint8_t>(FTransparency));
  DrawBeneath(*canvas);
  if (LineShown()) DrawLine(*canvas);
  if (FPointer->Visible()) DrawPointers(*canvas);
  if (blending) canvas->EndBlending(blend);
}

void TCustomSeries::DrawLine(TCanvas3D& Canvas) {
  Canvas.AssignVisiblePenColor(LinePen(), LineColor());
  Canvas.Brush()->SetStyle(THostBrushKind::None);
  Canvas.SetBackMode(cbmTransparent);
  const bool is3D = Is3D();
  const float z = static_cast<float>(MiddleZ);
  auto lineTo = [&](int x, int y) {
    if (is3D)
      Canvas.LineTo3D(static_cast<float>(x), static_cast<float>(y), z);
    else
      Canvas.LineTo(static_cast<float>(x), static_cast<float>(y));
  };
  TPoint previous{};
  Canvas.BeginLineBatch();
  WalkLine(
      [&](int, TPoint p) {
        if (is3D)
          Canvas.MoveTo3D(static_cast<float>(p.X), static_cast<float>(p.Y), z);
        else
          Canvas.MoveTo(static_cast<float>(p.X), static_cast<float>(p.Y));
        previous = p;
      },
      [&](int, TPoint p) {
        if (FStairs) {
          if (FInvertedStairs)
            lineTo(previous.X, p.Y);
          else
            lineTo(p.X, previous.Y);
        }
        lineTo(p.X, p.Y);
        previous = p;
      });
  Canvas.EndLineBatch();
}

void TCustomSeries::DrawPointerAt(TCanvas3D& Canvas, int ValueIndex, TColor Color) {
  const TPoint p = PixelOf(ValueIndex);
  int x = p.X;
  int y = p.Y;
  if (Is3D()) {
    const TPointF c = Canvas.Calculate3DPosition(x, y, MiddleZ);
    x = KelRound(c.X);
    y = KelRound(c.Y);
  }
  FPointer->DrawPointer(Canvas, false, x, y, FPointer->HorizSize(), FPointer->VertSize(), Color,
                        FPointer->Style());
}

// The canvas is prepared again only when the colour changes from one point
// to the next (per-point colours, ColorEachPoint).
void TCustomSeries::DrawPointers(TCanvas3D& Canvas) {
  const int last = std::min(FLastVisibleIndex, Count() - 1);
  bool prepared = false;
  TColor preparedColor = 0;
  for (int i = FFirstVisibleIndex; i <= last; ++i) {
    if (!HasPointer(i)) continue;
    const TColor color = GetValueColor(i);
    if (!prepared || color != preparedColor) {
      FPointer->PrepareCanvas(Canvas, color);
      prepared = true;
      preparedColor = color;
    }
    DrawPointerAt(Canvas, i, color);
  }
}

void TCustomSeries::DrawValue(int ValueIndex) {
  TCanvas3D* canvas = ChartCanvas();
  if (!canvas || !FGetHorizAxis || !FGetVertAxis || ValueIndex < 0 || ValueIndex >= Count()) return;
  if (!FPointer->Visible() || !HasPointer(ValueIndex)) return;
  const TColor color = GetValueColor(ValueIndex);
  FPointer->PrepareCanvas(*canvas, color);
  DrawPointerAt(*canvas, ValueIndex, color);
}

// ---- [Other] ---------------------------------------------------------------------

namespace {

// The fast line's room for a pen of width W: Round(W - (W - 2) * 0.5).
int PenMargin(float Width) { return KelRound(Width - (Width - 2.0f) * 0.5f); }

}  // namespace

void TCustomSeries::CalcHorizMargins(int& LeftMargin, int& RightMargin) {
  int m = LineShown() ? PenMargin(LinePen()->Width()) : 0;
  if (FPointer->Visible() && FPointer->InflateMargins()) m = std::max(m, FPointer->HorizSize() + 1);
  LeftMargin = m;
  RightMargin = m;
}

// Only at the ends the series' own extremes reach, as the fast line.
void TCustomSeries::CalcVerticalMargins(int& TopMargin, int& BottomMargin) {
  TCustomLineSeries::CalcVerticalMargins(TopMargin, BottomMargin);
  int m = LineShown() ? PenMargin(LinePen()->Width()) : 0;
  if (FPointer->Visible() && FPointer->InflateMargins()) m = std::max(m, FPointer->VertSize() + 1);
  if (m == 0 || !FGetVertAxis) return;
  if (!(MaxYValue() < FGetVertAxis->Maximum())) TopMargin += m;
  if (MinYValue() <= FGetVertAxis->Minimum()) BottomMargin += m;
}

int TCustomSeries::CalcYPos(int ValueIndex) const {
  YValue(ValueIndex);  // range check (ChartException)
  return CalcYPosValue(DrawnYValue(ValueIndex));
}

int TCustomSeries::Clicked(int X, int Y) {
  if (FFirstVisibleIndex < 0 || !FGetHorizAxis || !FGetVertAxis) return -1;
  if (Is3D())
    if (TCanvas3D* canvas = ChartCanvas()) canvas->Calculate2DPosition(X, Y, MiddleZ);
  const int last = std::min(FLastVisibleIndex, Count() - 1);
  if (FPointer->Visible()) {
    const long long h = FPointer->HorizSize();
    const long long v = FPointer->VertSize();
    for (int i = FFirstVisibleIndex; i <= last; ++i) {
      if (!HasPointer(i)) continue;
      const TPoint p = PixelOf(i);
      if (std::llabs(static_cast<long long>(X) - p.X) <= h && std::llabs(static_cast<long long>(Y) - p.Y) <= v)
        return i;
    }
  }
  if (!LineShown()) return -1;
  const TPoint pixel{X, Y};
  int hit = -1;
  int previousIndex = -1;
  TPoint previous{};
  WalkLine(
      [&](int i, TPoint p) {
        previousIndex = i;
        previous = p;
      },
      [&](int i, TPoint p) {
        if (hit < 0) {
          bool on;
          if (FStairs) {
            const TPoint corner = FInvertedStairs ? TPoint{previous.X, p.Y} : TPoint{p.X, previous.Y};
            on = PointOnSegment(pixel, previous, corner, FClickTolerance) ||
                 PointOnSegment(pixel, corner, p, FClickTolerance);
          } else {
            on = PointOnSegment(pixel, previous, p, FClickTolerance);
          }
          if (on) hit = previousIndex;
        }
        previousIndex = i;
        previous = p;
      });
  return hit;
}

void TCustomSeries::PrepareLegendCanvas() {
  if (TCanvas3D* canvas = ChartCanvas()) canvas->AssignVisiblePenColor(LinePen(), LineColor());
}

void TCustomSeries::DrawLegendShape(const TRectF& Rect) {
  TCanvas3D* canvas = ChartCanvas();
  if (!canvas) return;
  const int left = KelRound(Rect.Left), right = KelRound(Rect.Right);
  const int top = KelRound(Rect.Top), bottom = KelRound(Rect.Bottom);
  const int midY = (top + bottom) / 2;
  if (LineShown()) {
    canvas->AssignVisiblePenColor(LinePen(), LineColor());
    canvas->DoHorizLine(static_cast<float>(left), static_cast<float>(right), static_cast<float>(midY));
  }
  if (!FPointer->Visible()) return;
  // The pointer's own size, kept inside the symbol's box.
  const int h = std::max(1, std::min(FPointer->HorizSize(), (right - left) / 2 - 1));
  const int v = std::max(1, std::min(FPointer->VertSize(), (bottom - top) / 2 - 1));
  const TColor color = SeriesColor();
  FPointer->PrepareCanvas(*canvas, color);
  FPointer->DrawPointer(*canvas, false, (left + right) / 2, midY, h, v, color, FPointer->Style());
}

void TCustomSeries::DrawMark(int ValueIndex, const std::string& Text, TSeriesMarkPosition& Position) {
  Marks()->ApplyArrowLength(Position);
  TCustomLineSeries::DrawMark(ValueIndex, Text, Position);
}

}  // namespace sextant

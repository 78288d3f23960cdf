// The area series: the fill under the line, stacking and the hit test of
// the inside.
#include "series/area_series.h"

#include <algorithm>
#include <cmath>

#include "axes/chart_axis.h"
#include "canvas/brush.h"
#include "canvas/canvas3d.h"
#include "canvas/pen.h"
#include "marks/series_marks.h"
#include "panel/axis_panel.h"
#include "series/series_stack.h"

namespace sextant {

namespace {

bool BothAreas(const TChartSeries& A, const TChartSeries& B) {
  const auto* a = dynamic_cast<const TAreaSeries*>(&A);
  const auto* b = dynamic_cast<const TAreaSeries*>(&B);
  return a && b && a->MultiArea() != maNone && b->MultiArea() != maNone;
}

}  // namespace

TAreaSeries::TAreaSeries(TComponent* AOwner) : TCustomSeries(AOwner) {
  FConnectsPoints = true;
  DrawBetweenPoints = true;
  Pointer()->InitVisible(false);
}

TAreaSeries::~TAreaSeries() = default;

void TAreaSeries::Assign(const TPersistent* Source) {
  if (const auto* other = dynamic_cast<const TAreaSeries*>(Source)) {
    FUseYOrigin = other->FUseYOrigin;
    FYOrigin = other->FYOrigin;
    FMultiArea = other->FMultiArea;
  }
  TCustomSeries::Assign(Source);
}

void TAreaSeries::SetMultiArea(TMultiArea Value) {
  bool changed = FMultiArea != Value;
  FMultiArea = Value;
  if (FParent)
    for (TChartSeries* s : FParent->SeriesList())
      if (auto* area = dynamic_cast<TAreaSeries*>(s); area && area->FMultiArea != Value) {
        area->FMultiArea = Value;
        changed = true;
      }
  if (changed) Repaint();
}

// ---- Stacking ----------------------------------------------------------------------

void TAreaSeries::CollectGroup() const {
  if (!IGroupReady) CollectStackGroup(*this, BothAreas, IGroup);
}

void TAreaSeries::DrawAllValues() {
  if (Stacked()) CollectGroup();
  IGroupReady = true;
  TCustomSeries::DrawAllValues();
  IGroupReady = false;
}

void TAreaSeries::StackEnds(int ValueIndex, double& Low, double& High) const {
  const TStackSums sums = StackSumsAt(IGroup, this, ValueIndex);
  StackedEnds(sums, FY->Data()[ValueIndex], FMultiArea == maStacked100, Low, High);
}

double TAreaSeries::DrawnYValue(int ValueIndex) const {
  if (!Stacked()) return FY->Data()[ValueIndex];
  CollectGroup();
  double low, high;
  StackEnds(ValueIndex, low, high);
  return high;
}

double TAreaSeries::BottomValue(int ValueIndex) const {
  if (Stacked()) {
    double low, high;
    StackEnds(ValueIndex, low, high);
    return low;
  }
  if (FUseYOrigin || !FGetVertAxis) return FYOrigin;
  return FGetVertAxis->Minimum();
}

double TAreaSeries::MinYValue() const {
  if (!Stacked()) {
    const double v = TCustomSeries::MinYValue();
    return FUseYOrigin && std::isfinite(v) ? std::min(v, FYOrigin) : v;
  }
  CollectGroup();
  double result = 0;
  for (int i = 0; i < Count(); ++i) {
    if (!StacksAt(*this, i)) continue;
    double low, high;
    StackEnds(i, low, high);
    result = std::min({result, low, high});
  }
  return result;
}

double TAreaSeries::MaxYValue() const {
  if (!Stacked()) {
    const double v = TCustomSeries::MaxYValue();
    return FUseYOrigin && std::isfinite(v) ? std::max(v, FYOrigin) : v;
  }
  CollectGroup();
  double result = 0;
  for (int i = 0; i < Count(); ++i) {
    if (!StacksAt(*this, i)) continue;
    double low, high;
    StackEnds(i, low, high);
    result = std::max({result, low, high});
  }
  return result;
}

// ---- Drawing -----------------------------------------------------------------------

// The area is filled piece by piece: a null point (tnDontPaint) or a point
// that is no finite number ends one piece, as it breaks the line.
void TAreaSeries::DrawBeneath(TCanvas3D& Canvas) {
  Canvas.AssignBrush(Brush(), SeriesColor());
  Canvas.Pen()->SetStyle(psClear);
  IRun.clear();
  WalkLine(
      [&](int i, TPoint) {
        FillRun(Canvas);
        IRun.clear();
        IRun.push_back(i);
      },
      [&](int i, TPoint) { IRun.push_back(i); });
  FillRun(Canvas);
  IRun.clear();
}

void TAreaSeries::FillRun(TCanvas3D& Canvas) {
  if (IRun.size() < 2) return;
  IPolygon.clear();
  const TChartAxis* h = FGetHorizAxis;
  const TChartAxis* v = FGetVertAxis;
  const bool stairs = Stairs();
  const bool inverted = InvertedStairs();
  auto add = [&](int x, int y) { IPolygon.push_back({static_cast<float>(x), static_cast<float>(y)}); };
  // The top edge forwards, through the stairs' corners.
  int px = 0, py = 0;
  for (std::size_t k = 0; k < IRun.size(); ++k) {
    const int i = IRun[k];
    const int x = h->CalcXPosValue(FX->Data()[i]);
    const int y = v->CalcYPosValue(DrawnYValue(i));
    if (k > 0 && stairs) inverted ? add(px, y) : add(x, py);
    add(x, y);
    px = x;
    py = y;
  }
  // The bottom edge backwards: a straight line at the origin, or the top
  // of the stack below (with the same stairs).
  if (!Stacked()) {
    const int base = v->CalcYPosValue(BottomValue(IRun.front()));
    add(px, base);
    add(h->CalcXPosValue(FX->Data()[IRun.front()]), base);
  } else {
    for (std::size_t k = IRun.size(); k-- > 0;) {
      const int i = IRun[k];
      const int x = h->CalcXPosValue(FX->Data()[i]);
      const int y = v->CalcYPosValue(BottomValue(i));
      // Walking backwards, the corner towards point k - 1 of the forward
      // stairs lies at this X with the previous bottom.
      if (k + 1 < IRun.size() && stairs) inverted ? add(x, py) : add(px, y);
      add(x, y);
      px = x;
      py = y;
    }
  }
  if (FParent && FParent->View3D())
    for (TPointF& p : IPolygon) p = Canvas.Calculate3DPosition(p.X, p.Y, static_cast<float>(MiddleZ));
  Canvas.Polygon(IPolygon);
}

// ---- Hit test and legend -------------------------------------------------------------

int TAreaSeries::Clicked(int X, int Y) {
  const int onLine = TCustomSeries::Clicked(X, Y);
  if (onLine >= 0 || FFirstVisibleIndex < 0 || !FGetHorizAxis || !FGetVertAxis) return onLine;
  if (Is3D())
    if (TCanvas3D* canvas = ChartCanvas()) canvas->Calculate2DPosition(X, Y, MiddleZ);
  if (Stacked()) CollectGroup();
  IGroupReady = true;
  int hit = -1;
  int previousIndex = -1;
  TPoint previous{};
  WalkLine(
      [&](int i, TPoint p) {
        previousIndex = i;
        previous = p;
      },
      [&](int i, TPoint p) {
        const int x0 = std::min(previous.X, p.X), x1 = std::max(previous.X, p.X);
        if (hit < 0 && X >= x0 && X <= x1 && x1 > x0) {
          // The top edge above X: straight, or the stairs' level there.
          const double t = static_cast<double>(X - previous.X) / (p.X - previous.X);
          double top = previous.Y + t * (p.Y - previous.Y);
          if (Stairs()) top = InvertedStairs() ? p.Y : previous.Y;
          const double b0 = FGetVertAxis->CalcYPosValue(BottomValue(previousIndex));
          const double b1 = FGetVertAxis->CalcYPosValue(BottomValue(i));
          const double bottom = Stairs() ? (InvertedStairs() ? b1 : b0) : b0 + t * (b1 - b0);
          if (Y >= std::min(top, bottom) && Y <= std::max(top, bottom)) hit = previousIndex;
        }
        previousIndex = i;
        previous = p;
      });
  IGroupReady = false;
  return hit;
}

void TAreaSeries::DrawLegendShape(const TRectF& Rect) {
  TCanvas3D* canvas = ChartCanvas();
  if (!canvas) return;
  canvas->AssignVisiblePenColor(LinePen(), LineColor());
  canvas->AssignBrush(Brush(), SeriesColor());
  canvas->Rectangle(Rect.Left, Rect.Top, Rect.Right, Rect.Bottom);
}

}  // namespace sextant

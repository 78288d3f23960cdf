// Bar series: geometry, drawing, margins, hit test, marks and ranges.
//
// Contents
//   [Settings]   constructor, Assign, setters
//   [Geometry]   the room of a point, the bar width and offset, BarBounds
//   [Drawing]    DrawAllValues, the bar in 2D and 3D
//   [Layout]     margins, visible range, value ranges
//   [Other]      hit test, legend, marks
//
// The room of one point (the slot) is the pixel distance of the average
// step between positions: with n points over an automatic axis of P
// pixels, half a slot of margin at each end makes the slot exactly P / n,
// so the first and last bars are whole. Zoomed, the slot follows the
// scale.
#include "series/bar_series.h"

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

// Bars of the same orientation share their points' places.
bool SameOrientation(const TChartSeries& A, const TChartSeries& B) {
  return dynamic_cast<const TCustomBarSeries*>(&B) && A.YMandatory() == B.YMandatory();
}

}  // namespace

// ---- [Settings] ------------------------------------------------------------------

TCustomBarSeries::TCustomBarSeries(TComponent* AOwner) : TChartSeries(AOwner) {}

TCustomBarSeries::~TCustomBarSeries() = default;

void TCustomBarSeries::Assign(const TPersistent* Source) {
  if (const auto* other = dynamic_cast<const TCustomBarSeries*>(Source)) {
    FBarWidthPercent = other->FBarWidthPercent;
    FOffsetPercent = other->FOffsetPercent;
    FBarStyle = other->FBarStyle;
    FRoundSize = other->FRoundSize;
    FMultiBar = other->FMultiBar;
    FUseYOrigin = other->FUseYOrigin;
    FYOrigin = other->FYOrigin;
    FMarksLocation = other->FMarksLocation;
  }
  TChartSeries::Assign(Source);
}

void TCustomBarSeries::SetBarWidthPercent(int Value) {
  SetIntegerProperty(FBarWidthPercent, std::clamp(Value, 1, 100));
}

void TCustomBarSeries::SetOffsetPercent(int Value) {
  SetIntegerProperty(FOffsetPercent, std::clamp(Value, -100, 100));
}

void TCustomBarSeries::SetBarStyle(TBarStyle Value) {
  if (FBarStyle == Value) return;
  FBarStyle = Value;
  Repaint();
}

void TCustomBarSeries::SetMarksLocation(TBarMarksLocation Value) {
  if (FMarksLocation == Value) return;
  FMarksLocation = Value;
  Repaint();
}

TKelGradient* TCustomBarSeries::Gradient() const { return FBrush->Gradient(); }

void TCustomBarSeries::SetMultiBar(TMultiBar Value) {
  bool changed = FMultiBar != Value;
  FMultiBar = Value;
  if (FParent)
    for (TChartSeries* s : FParent->SeriesList())
      if (auto* bar = dynamic_cast<TCustomBarSeries*>(s);
          bar && bar->FYMandatory == FYMandatory && bar->FMultiBar != Value) {
        bar->FMultiBar = Value;
        changed = true;
      }
  if (changed) Repaint();
}

// ---- [Geometry] ------------------------------------------------------------------

void TCustomBarSeries::CalcGeometry() const {
  CollectStackGroup(*this, SameOrientation, IGroup);
  ISlot = IBarWidth = IBarOffset = 0;
  const TChartAxis* axis = FYMandatory ? FGetHorizAxis : FGetVertAxis;
  if (!axis) return;
  const int n = Count();
  double step = 0;
  if (n > 1) {
    TChartValueList* p = FNotMandatoryValueList;
    step = (p->MaxValue() - p->MinValue()) / (n - 1);
  }
  if (std::isfinite(step) && step > 0 && axis->IAxisSizeRange != 0)
    ISlot = std::fabs(axis->IAxisSizeRange) * step;
  else
    ISlot = static_cast<double>(axis->IAxisSize) / std::max(n, 1);
  const double group = ISlot * FBarWidthPercent / 100.0;
  int sides = 1, index = 0;
  if (FMultiBar == mbSide) {
    sides = static_cast<int>(IGroup.size());
    index = static_cast<int>(std::find(IGroup.begin(), IGroup.end(), this) - IGroup.begin());
    if (index >= sides) index = sides = 1;  // not in the group (inactive): on its own
    sides = std::max(sides, 1);
  }
  IBarWidth = group / sides;
  IBarOffset = -group / 2 + index * IBarWidth + IBarWidth * FOffsetPercent / 100.0;
}

double TCustomBarSeries::SlotSize() const {
  CalcGeometry();
  return ISlot;
}

double TCustomBarSeries::BarSize() const {
  CalcGeometry();
  return IBarWidth;
}

bool TCustomBarSeries::ValueEnds(int ValueIndex, double& Low, double& High) const {
  if (!StacksAt(*this, ValueIndex)) return false;
  const double value = FMandatoryValueList->Data()[ValueIndex];
  if (FMultiBar == mbStacked || FMultiBar == mbStacked100) {
    StackedEnds(StackSumsAt(IGroup, this, ValueIndex), value, FMultiBar == mbStacked100, Low, High);
    return true;
  }
  const TChartAxis* valueAxis = FYMandatory ? FGetVertAxis : FGetHorizAxis;
  Low = FUseYOrigin ? FYOrigin : valueAxis->Minimum();
  High = value;
  return true;
}

bool TCustomBarSeries::BarBoundsNoGeometry(int ValueIndex, TRectF& Bounds) const {
  if (!FGetHorizAxis || !FGetVertAxis || ValueIndex < 0 || ValueIndex >= Count()) return false;
  if (FTreatNulls != tnIgnore && FColors && IsNull(ValueIndex)) return false;
  double low, high;
  if (!ValueEnds(ValueIndex, low, high)) return false;
  const TChartAxis* posAxis = FYMandatory ? FGetHorizAxis : FGetVertAxis;
  const TChartAxis* valueAxis = FYMandatory ? FGetVertAxis : FGetHorizAxis;
  const double position = FNotMandatoryValueList->Data()[ValueIndex];
  const double centre = FYMandatory ? posAxis->CalcXPosValue(position) : posAxis->CalcYPosValue(position);
  float a = static_cast<float>(KelRound(centre + IBarOffset));
  float b = static_cast<float>(KelRound(centre + IBarOffset + IBarWidth));
  if (b <= a) b = a + 1;
  float lo = static_cast<float>(FYMandatory ? valueAxis->CalcYPosValue(low) : valueAxis->CalcXPosValue(low));
  float hi = static_cast<float>(FYMandatory ? valueAxis->CalcYPosValue(high) : valueAxis->CalcXPosValue(high));
  if (lo > hi) std::swap(lo, hi);
  Bounds = FYMandatory ? TRectF{a, lo, b, hi} : TRectF{lo, a, hi, b};
  return true;
}

bool TCustomBarSeries::BarBounds(int ValueIndex, TRectF& Bounds) const {
  CalcGeometry();
  return BarBoundsNoGeometry(ValueIndex, Bounds);
}

// ---- [Drawing] -------------------------------------------------------------------

void TCustomBarSeries::DrawBar(TCanvas3D& Canvas, const TRectF& R, TColor Color) {
  const bool gradient = FBrush->HasGradient();
  const bool is3D = FParent && FParent->View3D() && EndZ > StartZ;
  if (FBarStyle == bsRoundRectangle) {
    if (gradient) Canvas.Brush()->SetStyle(THostBrushKind::Gradient);
    if (is3D)
      Canvas.RoundRect(R, FRoundSize, FRoundSize, StartZ);
    else
      Canvas.RoundRect(R, FRoundSize, FRoundSize);
    return;
  }
  if (!is3D) {
    if (gradient) Canvas.Brush()->SetStyle(THostBrushKind::Gradient);
    Canvas.Rectangle(R.Left, R.Top, R.Right, R.Bottom);
    return;
  }
  // A box through the series' depth: the top and the right side behind,
  // darker (as the side faces of a thick wall), then the front face over
  // them.
  Canvas.Brush()->SetColor(ApplyDark(Color, 32));
  Canvas.RectangleY(R.Left, R.Top, R.Right, StartZ, EndZ);
  Canvas.Brush()->SetColor(ApplyDark(Color, 64));
  Canvas.RectangleZ(R.Right, R.Top, R.Bottom, StartZ, EndZ);
  Canvas.Brush()->SetColor(Color);
  if (gradient) Canvas.Brush()->SetStyle(THostBrushKind::Gradient);
  Canvas.RectangleWithZ(R, StartZ);
}

void TCustomBarSeries::DrawAllValues() {
  TCanvas3D* canvas = ChartCanvas();
  if (!canvas || !FGetHorizAxis || !FGetVertAxis || FFirstVisibleIndex < 0) return;
  CalcGeometry();
  const bool blending = FTransparency > 0 && canvas->SupportsAlpha();
  TKelBlend* blend = nullptr;
  if (blending) blend = canvas->BeginBlending(TRectF{}, static_cast<std::uint8_t>(FTransparency));
  const int last = std::min(FLastVisibleIndex, Count() - 1);
  const TColor ownPen = FPen->Color();
  bool prepared = false;
  TColor preparedColor = 0;
  TRectF r;
  for (int i = FFirstVisibleIndex; i <= last; ++i) {
    if (!BarBoundsNoGeometry(i, r)) continue;
    // The canvas is prepared again only when the point's colour changes.
    const TColor color = GetValueColor(i);
    if (!prepared || color != preparedColor) {
      canvas->AssignVisiblePenColor(FPen.get(), ownPen == clKelColor ? color : ownPen);
      canvas->AssignBrush(FBrush.get(), color);
      prepared = true;
      preparedColor = color;
    }
    DrawBar(*canvas, r, color);
  }
  if (blending) canvas->EndBlending(blend);
}

void TCustomBarSeries::DrawValue(int ValueIndex) {
  TCanvas3D* canvas = ChartCanvas();
  TRectF r;
  if (!canvas || !BarBounds(ValueIndex, r)) return;
  const TColor color = GetValueColor(ValueIndex);
  canvas->AssignVisiblePenColor(FPen.get(), FPen->Color() == clKelColor ? color : FPen->Color());
  canvas->AssignBrush(FBrush.get(), color);
  DrawBar(*canvas, r, color);
}

// ---- [Layout] --------------------------------------------------------------------

// Half the room of one point: P / (2 n) for n points (the page's points
// with paging) over the P pixels of the positional axis.
int TCustomBarSeries::SlotMargin() const {
  const TChartAxis* axis = FYMandatory ? FGetHorizAxis : FGetVertAxis;
  int n = Count();
  if (FParent && FParent->MaxPointsPerPage() > 0) n = std::min(n, FParent->MaxPointsPerPage());
  if (!axis || n <= 0) return 0;
  return static_cast<int>(std::ceil(axis->IAxisSize / (2.0 * n)));
}

void TCustomBarSeries::CalcHorizMargins(int& LeftMargin, int& RightMargin) {
  LeftMargin = RightMargin = FYMandatory ? SlotMargin() : 0;
}

void TCustomBarSeries::CalcVerticalMargins(int& TopMargin, int& BottomMargin) {
  TopMargin = BottomMargin = FYMandatory ? 0 : SlotMargin();
}

void TCustomBarSeries::CalcFirstLastVisibleIndex() {
  TChartSeries::CalcFirstLastVisibleIndex();
  if (FFirstVisibleIndex < 0) return;
  if (FFirstVisibleIndex > 0) --FFirstVisibleIndex;
  if (FLastVisibleIndex < Count() - 1) ++FLastVisibleIndex;
}

double TCustomBarSeries::ValueRange(bool IsMin) const {
  if (FMultiBar == mbStacked || FMultiBar == mbStacked100) {
    CollectStackGroup(*this, SameOrientation, IGroup);
    double result = 0;
    for (int i = 0; i < Count(); ++i) {
      if (!StacksAt(*this, i)) continue;
      double low, high;
      StackedEnds(StackSumsAt(IGroup, this, i), FMandatoryValueList->Data()[i], FMultiBar == mbStacked100, low,
                  high);
      result = IsMin ? std::min({result, low, high}) : std::max({result, low, high});
    }
    return result;
  }
  // The series' extremes over its drawable points.
  const double v = FYMandatory ? (IsMin ? TChartSeries::MinYValue() : TChartSeries::MaxYValue())
                               : (IsMin ? TChartSeries::MinXValue() : TChartSeries::MaxXValue());
  if (!FUseYOrigin || !std::isfinite(v)) return v;
  return IsMin ? std::min(v, FYOrigin) : std::max(v, FYOrigin);
}

double TCustomBarSeries::MinXValue() const { return FYMandatory ? TChartSeries::MinXValue() : ValueRange(true); }
double TCustomBarSeries::MaxXValue() const { return FYMandatory ? TChartSeries::MaxXValue() : ValueRange(false); }
double TCustomBarSeries::MinYValue() const { return FYMandatory ? ValueRange(true) : TChartSeries::MinYValue(); }
double TCustomBarSeries::MaxYValue() const { return FYMandatory ? ValueRange(false) : TChartSeries::MaxYValue(); }

// ---- [Other] ---------------------------------------------------------------------

int TCustomBarSeries::Clicked(int X, int Y) {
  if (FFirstVisibleIndex < 0) return -1;
  if (FParent && FParent->View3D())
    if (TCanvas3D* canvas = ChartCanvas()) canvas->Calculate2DPosition(X, Y, StartZ);
  CalcGeometry();
  const float x = static_cast<float>(X), y = static_cast<float>(Y);
  const int last = std::min(FLastVisibleIndex, Count() - 1);
  TRectF r;
  for (int i = last; i >= FFirstVisibleIndex; --i)
    if (BarBoundsNoGeometry(i, r) && x >= r.Left && x <= r.Right && y >= r.Top && y <= r.Bottom) return i;
  return -1;
}

void TCustomBarSeries::PrepareLegendCanvas() {
  TCanvas3D* canvas = ChartCanvas();
  if (!canvas) return;
  const TColor color = SeriesColor();
  canvas->AssignVisiblePenColor(FPen.get(), FPen->Color() == clKelColor ? color : FPen->Color());
  canvas->AssignBrush(FBrush.get(), color);
}

int TCustomBarSeries::CalcXPos(int ValueIndex) const {
  TRectF r;
  if (!BarBounds(ValueIndex, r)) return TChartSeries::CalcXPos(ValueIndex);
  if (FYMandatory) return KelRound((r.Left + r.Right) * 0.5f);
  double low, high;
  ValueEnds(ValueIndex, low, high);
  return FGetHorizAxis->CalcXPosValue(high);
}

int TCustomBarSeries::CalcYPos(int ValueIndex) const {
  TRectF r;
  if (!BarBounds(ValueIndex, r)) return TChartSeries::CalcYPos(ValueIndex);
  if (!FYMandatory) return KelRound((r.Top + r.Bottom) * 0.5f);
  double low, high;
  ValueEnds(ValueIndex, low, high);
  return FGetVertAxis->CalcYPosValue(high);
}

// Bars widened into the range (cut by the plot's edge) have no mark when
// their centre lies outside the plot.
bool TCustomBarSeries::CanDrawMark(int ValueIndex) const {
  if (!TChartSeries::CanDrawMark(ValueIndex)) return false;
  if (!FParent) return true;
  const TRectF& plot = FParent->ChartRect;
  if (FYMandatory) {
    const float x = static_cast<float>(CalcXPos(ValueIndex));
    return x >= plot.Left && x <= plot.Right;
  }
  const float y = static_cast<float>(CalcYPos(ValueIndex));
  return y >= plot.Top && y <= plot.Bottom;
}

// The automatic position puts the box centred over the point with its
// bottom on it. Beyond the end means above a rising bar, below a falling
// one, right of a bar growing to the right, left of one growing to the
// left; in the middle centres the box on the bar.
void TCustomBarSeries::DrawMark(int ValueIndex, const std::string& Text, TSeriesMarkPosition& Position) {
  TRectF r;
  double low = 0, high = 0;
  if (BarBounds(ValueIndex, r) && ValueEnds(ValueIndex, low, high)) {
    const float w = static_cast<float>(Position.Width), h = static_cast<float>(Position.Height);
    const bool reversed = (high < low) != (FYMandatory ? GetVertAxis()->Inverted() : GetHorizAxis()->Inverted());
    if (FMarksLocation == mlCenter) {
      const TPointF point = Position.ArrowFrom;
      Position.Offset({(r.Left + r.Right) * 0.5f - point.X, (r.Top + r.Bottom) * 0.5f - point.Y + h * 0.5f});
    } else if (FYMandatory) {
      if (reversed)
        Position.Offset({0, h});
      else
        Marks()->ApplyArrowLength(Position);
    } else {
      Position.Offset({reversed ? -(w * 0.5f + 2) : w * 0.5f + 2, h * 0.5f});
    }
  }
  TChartSeries::DrawMark(ValueIndex, Text, Position);
}

}  // namespace sextant

#include "axes/chart_axis.h"

#include <algorithm>
#include <cmath>

#include "axes/axis_math.h"
#include "canvas/kel_exceptions.h"
#include "panel/axis_panel.h"

namespace sextant {

int KelMaxPixelPos = 32767;

// ===========================================================================
// TChartAxis: construction and settings
// ===========================================================================

TChartAxis::TChartAxis(TCustomAxisPanel* Chart) : FParentChart(Chart) {
  if (FParentChart) {
    // The first six axes of a chart are its standard axes: their labels and
    // title take room from the chart rectangle. Custom axes start without.
    FResizeChart = FParentChart->Axes().Count() < 6;
    FParentChart->Axes().Add(this);
  }
  SetCalcPosValue();
}

TChartAxis::~TChartAxis() {
  if (FParentChart) FParentChart->Axes().Remove(this);
}

void TChartAxis::Assign(const TPersistent* Source) {
  auto* s = dynamic_cast<const TChartAxis*>(Source);
  if (!s) {
    AssignError(Source);
  }
  // Identity (chart, identifier, depth kind) is not copied: only settings.
  FAutomatic = s->FAutomatic;
  FAutomaticMaximum = s->FAutomaticMaximum;
  FAutomaticMinimum = s->FAutomaticMinimum;
  FDesiredIncrement = s->FDesiredIncrement;
  FMaximumValue = s->FMaximumValue;
  FMinimumValue = s->FMinimumValue;
  FMaximumOffset = s->FMaximumOffset;
  FMinimumOffset = s->FMinimumOffset;
  FMaximumRound = s->FMaximumRound;
  FMinimumRound = s->FMinimumRound;
  FResizeChart = s->FResizeChart;
  FZPosition = s->FZPosition;
  FInverted = s->FInverted;
  FHorizontal = s->FHorizontal;
  FOtherSide = s->FOtherSide;
  FVisible = s->FVisible;
  FStartPosition = s->FStartPosition;
  FEndPosition = s->FEndPosition;
  FPositionPercent = s->FPositionPercent;
  FPosUnits = s->FPosUnits;
  SetCalcPosValue();
  Repaint();
}

void TChartAxis::Repaint() {
  if (FParentChart) FParentChart->Invalidate();
}

bool TChartAxis::ChartLoading() const { return FParentChart && FParentChart->IsLoading(); }

void TChartAxis::ChangedScale() {
  if (FParentChart) FParentChart->ChangedAxisScale(this);
}

void TChartAxis::SetAutomatic(bool Value) {
  if (FAutomatic != Value) {
    FAutomatic = Value;
    Repaint();
  }
  if (!ChartLoading()) {
    FAutomaticMinimum = Value;
    FAutomaticMaximum = Value;
  }
}

void TChartAxis::SetAutomaticMaximum(bool Value) {
  if (FAutomaticMaximum != Value) {
    FAutomaticMaximum = Value;
    Repaint();
  }
  if (!Value)
    FAutomatic = false;
  else if (FAutomaticMinimum)
    FAutomatic = true;
}

void TChartAxis::SetAutomaticMinimum(bool Value) {
  if (FAutomaticMinimum != Value) {
    FAutomaticMinimum = Value;
    Repaint();
  }
  if (!Value)
    FAutomatic = false;
  else if (FAutomaticMaximum)
    FAutomatic = true;
}

void TChartAxis::SetMinimum(double Value) {
  // Written as "not <=" so that NaN is refused as well.
  if (!ChartLoading() && !(Value <= FMaximumValue)) throw AxisException(KelMsg_AxisMinMax);
  if (!(FMinimumValue == Value)) {
    FMinimumValue = Value;
    ChangedScale();
  }
}

void TChartAxis::SetMaximum(double Value) {
  if (!ChartLoading() && !(Value >= FMinimumValue)) throw AxisException(KelMsg_AxisMaxMin);
  if (!(FMaximumValue == Value)) {
    FMaximumValue = Value;
    ChangedScale();
  }
}

void TChartAxis::SetIncrement(double Value) {
  if (!(FDesiredIncrement == Value)) {
    FDesiredIncrement = Value;
    Repaint();
  }
}

void TChartAxis::SetMaximumOffset(int Value) {
  if (FMaximumOffset != Value) {
    FMaximumOffset = Value;
    Repaint();
  }
}

void TChartAxis::SetMinimumOffset(int Value) {
  if (FMinimumOffset != Value) {
    FMinimumOffset = Value;
    Repaint();
  }
}

void TChartAxis::SetMaximumRound(bool Value) {
  if (FMaximumRound != Value) {
    FMaximumRound = Value;
    Repaint();
  }
}

void TChartAxis::SetMinimumRound(bool Value) {
  if (FMinimumRound != Value) {
    FMinimumRound = Value;
    Repaint();
  }
}

void TChartAxis::SetInverted(bool Value) {
  if (FInverted != Value) {
    FInverted = Value;
    Repaint();
  }
}

void TChartAxis::SetHorizontal(bool Value) {
  if (FHorizontal != Value) {
    FHorizontal = Value;
    SetCalcPosValue();
    Repaint();
  }
}

void TChartAxis::SetOtherSide(bool Value) {
  if (FOtherSide != Value) {
    FOtherSide = Value;
    Repaint();
  }
}

void TChartAxis::SetVisible(bool Value) {
  if (FVisible != Value) {
    FVisible = Value;
    Repaint();
  }
}

void TChartAxis::SetStartPosition(double Value) {
  if (!(FStartPosition == Value)) {
    FStartPosition = Value;
    Repaint();
  }
}

void TChartAxis::SetEndPosition(double Value) {
  if (!(FEndPosition == Value)) {
    FEndPosition = Value;
    Repaint();
  }
}

void TChartAxis::SetPositionPercent(double Value) {
  if (!(FPositionPercent == Value)) {
    FPositionPercent = Value;
    Repaint();
  }
}

void TChartAxis::SetPositionUnits(TKelUnits Value) {
  if (FPosUnits != Value) {
    FPosUnits = Value;
    Repaint();
  }
}

void TChartAxis::SetZPosition(double Value) {
  if (!(FZPosition == Value)) {
    FZPosition = Value;
    Repaint();
  }
}

// ===========================================================================
// Setting and moving the scale
// ===========================================================================

void TChartAxis::SetMinMax(double AMin, double AMax) {
  FAutomatic = false;
  FAutomaticMinimum = false;
  FAutomaticMaximum = false;
  if (!(AMax >= AMin)) std::swap(AMin, AMax);
  if (!(FMinimumValue == AMin)) {
    FMinimumValue = AMin;
    ChangedScale();
  }
  if (!(FMaximumValue == AMax)) {
    FMaximumValue = AMax;
    ChangedScale();
  }
}

void TChartAxis::Scroll(double Offset, bool CheckLimits) {
  if (CheckLimits) {
    if (!FParentChart) return;
    bool canMove = false;
    if (Offset > 0)
      canMove = FMaximumValue + Offset < FParentChart->InternalMinMax(this, false, FHorizontal);
    else if (Offset < 0)
      canMove = FMinimumValue + Offset > FParentChart->InternalMinMax(this, true, FHorizontal);
    if (!canMove) return;
  }
  FAutomatic = false;
  FAutomaticMaximum = false;
  FAutomaticMinimum = false;
  FMaximumValue += Offset;
  FMinimumValue += Offset;
  if (FParentChart) {
    FParentChart->Invalidate();
    FParentChart->ChangedAxisScale(this);
  }
}

// ===========================================================================
// Value <-> pixel
// ===========================================================================

void TChartAxis::SetCalcPosValue() {
  const bool fast = FParentChart && FParentChart->Axes().FastCalc();
  if (IDepthAxis) {
    FCalcXPosValue = &TChartAxis::DepthPosValue;
    FCalcYPosValue = &TChartAxis::DepthPosValue;
  } else if (fast) {
    FCalcXPosValue = &TChartAxis::XPosValue;
    FCalcYPosValue = &TChartAxis::YPosValue;
  } else {
    FCalcXPosValue = &TChartAxis::XPosValueCheck;
    FCalcYPosValue = &TChartAxis::YPosValueCheck;
  }
  FCalcPosValue = FHorizontal ? FCalcXPosValue : FCalcYPosValue;
}

// The checked forms clamp the final pixel to +-KelMaxPixelPos; a value that
// is not a number lands on the positive bound, so it never reaches a
// conversion to int.
int TChartAxis::XPosValueCheck(double Value) const {
  if (IRangeZero) return ICenterPos;
  const double d = (Value - IMinimum) * IAxisSizeRange;
  const double p = FInverted ? IEndPos - d : IStartPos + d;
  const double M = KelMaxPixelPos;
  if (p > M || std::isnan(p)) return KelMaxPixelPos;
  if (p < -M) return -KelMaxPixelPos;
  return KelRound(p);
}

int TChartAxis::YPosValueCheck(double Value) const {
  if (IRangeZero) return ICenterPos;
  const double d = (Value - IMinimum) * IAxisSizeRange;
  const double p = FInverted ? IStartPos + d : IEndPos - d;
  const double M = KelMaxPixelPos;
  if (p > M || std::isnan(p)) return KelMaxPixelPos;
  if (p < -M) return -KelMaxPixelPos;
  return KelRound(p);
}

// The fast forms clamp and round only the distance from the axis end; the
// sum is not clamped again.
static inline int FastDistance(double d) {
  const double M = KelMaxPixelPos;
  if (!(d <= M)) return KelMaxPixelPos;  // also NaN
  if (d < -M) return -KelMaxPixelPos;
  return KelRound(d);
}

int TChartAxis::XPosValue(double Value) const {
  if (IRangeZero) return ICenterPos;
  const int d = FastDistance((Value - IMinimum) * IAxisSizeRange);
  return FInverted ? IEndPos - d : IStartPos + d;
}

int TChartAxis::YPosValue(double Value) const {
  if (IRangeZero) return ICenterPos;
  const int d = FastDistance((Value - IMinimum) * IAxisSizeRange);
  return FInverted ? IStartPos + d : IEndPos - d;
}

// Depth axes run from the front (IStartPos, 0) to the back (IEndPos,
// Width3D) like a horizontal axis.
int TChartAxis::DepthPosValue(double Value) const { return XPosValueCheck(Value); }

double TChartAxis::InternalCalcPosPoint(int Pixel) const {
  if (IAxisSize < 1) return 0;
  const long double offset = FInverted ? static_cast<long double>(IEndPos) - Pixel
                                       : static_cast<long double>(Pixel) - IStartPos;
  const long double t = offset * IRange / IAxisSize;
  if (FHorizontal || IDepthAxis) return static_cast<double>(IMinimum + t);
  return static_cast<double>(IMaximum - t);
}

int TChartAxis::CalcSizeValue(double Finish, double Start) const {
  const double size = std::fabs(Finish - Start);
  if (!(size > 0) || IRangeZero) return 0;
  return KelRound(size * IAxisSizeRange);
}

// ===========================================================================
// Layout
// ===========================================================================

void TChartAxis::CalcMinMax(double& AMin, double& AMax) {
  if (!FParentChart) return;
  if (FAutomatic || FAutomaticMaximum) AMax = FParentChart->InternalMinMax(this, false, FHorizontal);
  if (FAutomatic || FAutomaticMinimum) AMin = FParentChart->InternalMinMax(this, true, FHorizontal);
}

void TChartAxis::AdjustMaxMin() {
  CalcMinMax(FMinimumValue, FMaximumValue);
  IMaximum = FMaximumValue;
  IMinimum = FMinimumValue;
  InternalCalcRange();
  CalcRoundScales();
}

void TChartAxis::InternalCalcRange() {
  IRange = static_cast<long double>(IMaximum) - static_cast<long double>(IMinimum);
  IRangeZero = std::fabs(IRange) <= 1e-12L;
  IAxisSizeRange = IRangeZero ? 0.0 : static_cast<double>(IAxisSize / IRange);
  // The depth pixel position of the axis: its ZPosition percent of the
  // chart's depth (0 in a flat chart).
  IZPos = FParentChart ? KelRound(FParentChart->Width3D() * FZPosition * 0.01) : 0;
}

void TChartAxis::InternalCalcPositions() {
  int start = 0;
  int length = 0;
  if (FParentChart) {
    if (IDepthAxis) {
      length = FParentChart->Width3D();
    } else if (FHorizontal) {
      start = KelRound(FParentChart->ChartRect.Left);
      length = FParentChart->ChartWidth();
    } else {
      start = KelRound(FParentChart->ChartRect.Top);
      length = FParentChart->ChartHeight();
    }
  }
  IStartPos = start + KelRound(length * 0.01 * FStartPosition);
  IEndPos = start + KelRound(length * 0.01 * FEndPosition);
  RecalcSizeCenter();
}

void TChartAxis::RecalcSizeCenter() {
  IAxisSize = IEndPos - IStartPos;
  ICenterPos = (IStartPos + IEndPos) / 2;
  InternalCalcRange();
}

void TChartAxis::AdjustMaxMinRect(const TRectF& Rect) {
  const bool vertical = !FHorizontal && !IDepthAxis;
  const int a = KelRound(vertical ? Rect.Top : Rect.Left);
  const int b = KelRound(vertical ? Rect.Bottom : Rect.Right);
  if (a == 0 && b == 0) return;  // no margins: the scale stays as it is
  const int oldStart = IStartPos;
  const int oldEnd = IEndPos;
  // A span narrowed to nothing has no values at its ends: the scale is
  // left unwidened instead of collapsing to zero.
  if ((oldEnd - b) - (oldStart + a) < 1) return;
  IStartPos = oldStart + a;
  IEndPos = oldEnd - b;
  IAxisSize = IEndPos - IStartPos;
  double tmpMin = InternalCalcPosPoint(oldStart);
  double tmpMax = InternalCalcPosPoint(oldEnd);
  InternalCalcPositions();
  if (tmpMin > tmpMax) std::swap(tmpMin, tmpMax);
  IMinimum = tmpMin;
  IMaximum = tmpMax;
  InternalCalcRange();
}

double TChartAxis::CalcIncrement() {
  // Room per label: until the labels module measures label texts, every
  // label is taken as 1 pixel wide (plus the 10 % separation, which rounds
  // away), so up to one label per pixel of the axis.
  const int labelSize = 1;
  int N = 1;
  if (IAxisSize > 0) N = KelRound(static_cast<double>(IAxisSize) / labelSize);
  if (N < 1) return MinAxisIncrement;

  double step;
  if (FDesiredIncrement > 0)
    step = FDesiredIncrement;
  else if (IRangeZero)
    step = 1;
  else
    step = static_cast<double>(std::fabs(IRange) / (N + 1));

  // Grow the step until at most N labels fit.
  const double range = static_cast<double>(IRange);
  if (range != 0 && step != 0) {
    long long C = static_cast<long long>(N) + 1;
    do {
      const double T = range / step;
      if (std::fabs(T) < 2147483647.0) {
        C = KelRound(T);
        if (C <= N) break;
      }
      if (FDesiredIncrement > 0)
        step += std::max(0.2 * step, FDesiredIncrement);
      else
        step = KelNextStep(step);
    } while (C > N && step <= range && std::isfinite(step));
  }
  if (std::isinf(step)) return range;
  return std::max(MinAxisIncrement, step);
}

void TChartAxis::CalcRoundScales() {
  if (IAxisSize == 0 || IRangeZero) return;
  double increment = 0;
  bool changed = false;
  if (FMaximumRound && (FAutomatic || FAutomaticMaximum)) {
    increment = CalcIncrement();
    if (increment != 0) {
      IMaximum = increment * std::ceil(IMaximum / increment);
      changed = true;
    }
  }
  if (FMinimumRound && (FAutomatic || FAutomaticMinimum)) {
    if (increment == 0) increment = CalcIncrement();
    if (increment != 0) {
      IMinimum = increment * std::floor(IMinimum / increment);
      changed = true;
    }
  }
  if (changed) InternalCalcRange();
}

// The axis line, ticks, labels, title and grid belong to the labels
// module, which takes its room here. Until then an axis takes no room.
void TChartAxis::CalcRect(TRectF&, bool) {}

// Drawing of the axis line, ticks, grid and labels (labels module); the
// scale alone draws nothing.
void TChartAxis::Draw(bool) {}

// ===========================================================================
// TChartAxes
// ===========================================================================

void TChartAxes::Remove(TChartAxis* Axis) {
  FItems.erase(std::remove(FItems.begin(), FItems.end(), Axis), FItems.end());
}

int TChartAxes::IndexOf(const TChartAxis* Axis) const {
  for (int i = 0; i < Count(); ++i)
    if (FItems[i] == Axis) return i;
  return -1;
}

void TChartAxes::SetFastCalc(bool Value) {
  IFastCalc = Value;
  for (TChartAxis* a : FItems) a->SetCalcPosValue();
}

}  // namespace sextant

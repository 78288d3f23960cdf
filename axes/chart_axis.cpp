#include "axes/chart_axis.h"

#include <algorithm>
#include <climits>
#include <cmath>
#include <limits>

#include "axes/axis_math.h"
#include "canvas/kel_exceptions.h"
#include "canvas/pen.h"
#include "panel/axis_panel.h"

namespace sextant {

// ===========================================================================
// TChartAxis: construction and settings
// ===========================================================================

TChartAxis::TChartAxis(TCustomAxisPanel* Chart) : FParentChart(Chart) {
  const TNotifyEvent changed = [this](TPersistent*) { Repaint(); };
  FAxisItems = std::make_unique<TAxisItems>(this, FParentChart);
  FLabels = std::make_unique<TAxisLabels>(this, changed);
  FAxis = std::make_unique<TChartAxisPen>(changed);
  FGrid = std::make_unique<TAxisGridPen>(changed);
  FMinorGrid = std::make_unique<TKelHiddenPen>(changed);
  FTicks = std::make_unique<TTicks>(changed);
  FTicksInner = std::make_unique<TTicks>(changed);
  FMinorTicks = std::make_unique<TTicks>(changed);
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
  FLogarithmic = s->FLogarithmic;
  FLogarithmicBase = s->FLogarithmicBase;
  FDateTimeFormat = s->FDateTimeFormat;
  FExactDateTime = s->FExactDateTime;
  FDateTimeLocal = s->FDateTimeLocal;
  FHorizontal = s->FHorizontal;
  FOtherSide = s->FOtherSide;
  FVisible = s->FVisible;
  FStartPosition = s->FStartPosition;
  FEndPosition = s->FEndPosition;
  FPositionPercent = s->FPositionPercent;
  FPosUnits = s->FPosUnits;
  FLabels->Assign(s->FLabels.get());
  FAxisItems->Assign(s->FAxisItems.get());
  FAxis->Assign(s->FAxis.get());
  FGrid->Assign(s->FGrid.get());
  FMinorGrid->Assign(s->FMinorGrid.get());
  FTicks->Assign(s->FTicks.get());
  FTicksInner->Assign(s->FTicksInner.get());
  FMinorTicks->Assign(s->FMinorTicks.get());
  FTickLength = s->FTickLength;
  FTickInnerLength = s->FTickInnerLength;
  FMinorTickLength = s->FMinorTickLength;
  FMinorTickCount = s->FMinorTickCount;
  FTickOnLabelsOnly = s->FTickOnLabelsOnly;
  FAxisValuesFormat = s->FAxisValuesFormat;
  FTitleSize = s->FTitleSize;
  if (s->FAxisTitle) Title()->Assign(s->FAxisTitle.get());
  SetCalcPosValue();
  Repaint();
}

// ---- Labels, ticks, grid and title settings ----

void TChartAxis::SetLabels(const TAxisLabels* Value) {
  if (Value) FLabels->Assign(Value);
}
void TChartAxis::SetAxis(const TKelPen* Value) {
  if (Value) FAxis->Assign(Value);
}
void TChartAxis::SetGrid(const TKelPen* Value) {
  if (Value) FGrid->Assign(Value);
}
void TChartAxis::SetMinorGrid(const TKelPen* Value) {
  if (Value) FMinorGrid->Assign(Value);
}
void TChartAxis::SetTicks(const TKelPen* Value) {
  if (Value) FTicks->Assign(Value);
}
void TChartAxis::SetTicksInner(const TKelPen* Value) {
  if (Value) FTicksInner->Assign(Value);
}
void TChartAxis::SetMinorTicks(const TKelPen* Value) {
  if (Value) FMinorTicks->Assign(Value);
}

namespace {
template <typename T>
bool Store(T& Variable, const T& Value) {
  if (Variable == Value) return false;
  Variable = Value;
  return true;
}
}  // namespace

void TChartAxis::SetTickLength(int Value) {
  if (Store(FTickLength, Value)) Repaint();
}
void TChartAxis::SetTickInnerLength(int Value) {
  if (Store(FTickInnerLength, Value)) Repaint();
}
void TChartAxis::SetMinorTickLength(int Value) {
  if (Store(FMinorTickLength, Value)) Repaint();
}
void TChartAxis::SetMinorTickCount(int Value) {
  if (Store(FMinorTickCount, Value)) Repaint();
}
void TChartAxis::SetTickOnLabelsOnly(bool Value) {
  if (Store(FTickOnLabelsOnly, Value)) Repaint();
}
void TChartAxis::SetAxisValuesFormat(const std::string& Value) {
  if (Store(FAxisValuesFormat, Value)) Repaint();
}
void TChartAxis::SetTitleSize(int Value) {
  if (Store(FTitleSize, Value)) Repaint();
}

TChartAxisTitle* TChartAxis::Title() {
  if (!FAxisTitle) {
    // Vertical titles read upwards on the left and downwards on the right.
    const int angle = FHorizontal || IDepthAxis ? 0 : (FOtherSide ? 270 : 90);
    FAxisTitle = std::make_unique<TChartAxisTitle>(FParentChart, angle);
  }
  return FAxisTitle.get();
}

void TChartAxis::SetTitle(const TChartAxisTitle* Value) {
  if (Value) Title()->Assign(Value);
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
  // An infinite end has no pixel span: refused like a reversed one.
  if (std::isinf(Value)) throw AxisException(KelMsg_AxisNotFinite);
  if (FLogarithmic && Value < 0) throw AxisException(KelMsg_AxisLogNotPositive);
  if (!(FMinimumValue == Value)) {
    FMinimumValue = Value;
    ChangedScale();
  }
}

void TChartAxis::SetMaximum(double Value) {
  if (!ChartLoading() && !(Value >= FMinimumValue)) throw AxisException(KelMsg_AxisMaxMin);
  if (std::isinf(Value)) throw AxisException(KelMsg_AxisNotFinite);
  if (FLogarithmic && Value < 0) throw AxisException(KelMsg_AxisLogNotPositive);
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

void TChartAxis::SetLogarithmic(bool Value) {
  if (FLogarithmic == Value) return;
  if (Value) {
    if (IsDateTime()) throw AxisException(KelMsg_AxisLogDateTime);
    // Fixed ends must have a place on the scale; automatic ones are taken
    // from the positive values anyway.
    const bool fixed = !FAutomatic;
    if (fixed && (FMinimumValue < 0 || FMaximumValue < 0)) throw AxisException(KelMsg_AxisLogNotPositive);
  }
  FLogarithmic = Value;
  SetCalcPosValue();
  Repaint();
}

void TChartAxis::SetLogarithmicBase(double Value) {
  if (!(Value > 0) || Value == 1 || !std::isfinite(Value)) throw AxisException(KelMsg_AxisLogBase);
  if (Store(FLogarithmicBase, Value)) Repaint();
}

void TChartAxis::SetDateTimeFormat(const std::string& Value) {
  if (Store(FDateTimeFormat, Value)) Repaint();
}
void TChartAxis::SetExactDateTime(bool Value) {
  if (Store(FExactDateTime, Value)) Repaint();
}
void TChartAxis::SetDateTimeLocal(bool Value) {
  if (Store(FDateTimeLocal, Value)) Repaint();
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
  // Ends that are no finite numbers are refused before anything changes.
  if (!std::isfinite(AMin) || !std::isfinite(AMax)) throw AxisException(KelMsg_AxisNotFinite);
  if (FLogarithmic && (AMin < 0 || AMax < 0)) throw AxisException(KelMsg_AxisLogNotPositive);
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
  // A move that leaves the doubles is refused before anything changes.
  if (!std::isfinite(FMaximumValue + Offset) || !std::isfinite(FMinimumValue + Offset))
    throw AxisException(KelMsg_AxisScrollNotFinite);
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
  } else if (FLogarithmic) {
    FCalcXPosValue = &TChartAxis::LogXPosValue;
    FCalcYPosValue = &TChartAxis::LogYPosValue;
  } else if (fast) {
    FCalcXPosValue = &TChartAxis::XPosValue;
    FCalcYPosValue = &TChartAxis::YPosValue;
  } else {
    FCalcXPosValue = &TChartAxis::XPosValueCheck;
    FCalcYPosValue = &TChartAxis::YPosValueCheck;
  }
  FCalcPosValue = FHorizontal ? FCalcXPosValue : FCalcYPosValue;
}

// The centre of a zero range is clamped like any other pixel.
static inline int ClampedPixel(int P) { return std::clamp(P, -KelMaxPixelPos, KelMaxPixelPos); }

// (Value - Minimum) x pixels per unit. A difference of two finite values
// that leaves the doubles (a range across nearly all of them) is taken in
// extended precision instead of becoming infinite.
static inline double ValueDistance(double Value, double Minimum, double SizeRange) {
  const double diff = Value - Minimum;
  if (std::isinf(diff) && std::isfinite(Value))
    return static_cast<double>((static_cast<long double>(Value) - Minimum) * SizeRange);
  return diff * SizeRange;
}

// The checked forms clamp the final pixel to +-KelMaxPixelPos; a value that
// is not a number lands on the positive bound, so it never reaches a
// conversion to int.
int TChartAxis::XPosValueCheck(double Value) const {
  if (IRangeZero) return ClampedPixel(ICenterPos);
  const double d = ValueDistance(Value, IMinimum, IAxisSizeRange);
  const double p = FInverted ? IEndPos - d : IStartPos + d;
  const double M = KelMaxPixelPos;
  if (p > M || std::isnan(p)) return KelMaxPixelPos;
  if (p < -M) return -KelMaxPixelPos;
  return KelRound(p);
}

int TChartAxis::YPosValueCheck(double Value) const {
  if (IRangeZero) return ClampedPixel(ICenterPos);
  const double d = ValueDistance(Value, IMinimum, IAxisSizeRange);
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
  const int d = FastDistance(ValueDistance(Value, IMinimum, IAxisSizeRange));
  return FInverted ? IEndPos - d : IStartPos + d;
}

int TChartAxis::YPosValue(double Value) const {
  if (IRangeZero) return ICenterPos;
  const int d = FastDistance(ValueDistance(Value, IMinimum, IAxisSizeRange));
  return FInverted ? IStartPos + d : IEndPos - d;
}

// Logarithmic forms: the distance from the minimum end is the logarithm's.
// A value that is not positive lies infinitely far below the minimum: it
// lands on the bound beyond that end (a NaN on the positive bound).
static inline double LogDistance(double Value, double LogMin, double LogSizeRange) {
  if (Value <= 0) return -HUGE_VAL;
  return (std::log(Value) - LogMin) * LogSizeRange;
}

static inline int CheckedPixel(double p) {
  const double M = KelMaxPixelPos;
  if (p > M || std::isnan(p)) return KelMaxPixelPos;
  if (p < -M) return -KelMaxPixelPos;
  return KelRound(p);
}

int TChartAxis::LogXPosValue(double Value) const {
  if (IAxisLogSizeRange == 0) return ClampedPixel(ICenterPos);
  const double d = LogDistance(Value, ILogMin, IAxisLogSizeRange);
  return CheckedPixel(FInverted ? IEndPos - d : IStartPos + d);
}

int TChartAxis::LogYPosValue(double Value) const {
  if (IAxisLogSizeRange == 0) return ClampedPixel(ICenterPos);
  const double d = LogDistance(Value, ILogMin, IAxisLogSizeRange);
  return CheckedPixel(FInverted ? IStartPos + d : IEndPos - d);
}

// Depth axes run from the front (IStartPos, 0) to the back (IEndPos,
// Width3D) like a horizontal axis.
int TChartAxis::DepthPosValue(double Value) const { return XPosValueCheck(Value); }

double TChartAxis::InternalCalcPosPoint(int Pixel) const {
  if (IAxisSize < 1) return 0;
  if (FLogarithmic && !IDepthAxis) {
    if (IRangeLog == 0) return IMinimum;
    // Pixels from the minimum end: the left (horizontal) or bottom end.
    const bool fromStart = FHorizontal != FInverted;
    const double offset = fromStart ? static_cast<double>(Pixel) - IStartPos
                                    : static_cast<double>(IEndPos) - Pixel;
    const double v = std::exp(ILogMin + offset * IRangeLog / IAxisSize);
    return std::isinf(v) ? std::numeric_limits<double>::max() : v;
  }
  const long double offset = FInverted ? static_cast<long double>(IEndPos) - Pixel
                                       : static_cast<long double>(Pixel) - IStartPos;
  const long double t = offset * IRange / IAxisSize;
  const long double v = FHorizontal || IDepthAxis ? IMinimum + t : IMaximum - t;
  // A pixel beyond the ends of a range near the limits of the doubles has a
  // value beyond them: it gives the largest double of its sign instead of
  // an infinity.
  constexpr long double kMax = std::numeric_limits<double>::max();
  if (v > kMax) return std::numeric_limits<double>::max();
  if (v < -kMax) return -std::numeric_limits<double>::max();
  return static_cast<double>(v);
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
  const bool autoMax = FAutomatic || FAutomaticMaximum;
  const bool autoMin = FAutomatic || FAutomaticMinimum;
  if (autoMax) AMax = FParentChart->InternalMinMax(this, false, FHorizontal);
  // An automatic end is the data's even when it crosses a fixed end: the
  // scale is then inverted and shows no labels until the user moves an end.
  if (autoMin) AMin = FParentChart->InternalMinMax(this, true, FHorizontal);
}

// The rounding of automatic ends (CalcRoundScales) waits until the series'
// margins have widened the scale (the chart runs it after AdjustMaxMinRect):
// rounding the unwidened range here would round twice.
void TChartAxis::AdjustMaxMin() {
  CalcMinMax(FMinimumValue, FMaximumValue);
  IMaximum = FMaximumValue;
  IMinimum = FMinimumValue;
  InternalCalcRange();
}

void TChartAxis::InternalCalcRange() {
  IRange = static_cast<long double>(IMaximum) - static_cast<long double>(IMinimum);
  IRangeZero = std::fabs(IRange) <= 1e-12L;
  IAxisSizeRange = IRangeZero ? 0.0 : static_cast<double>(IAxisSize / IRange);
  if (FLogarithmic && !IDepthAxis) CalcLogRange();
  // The depth pixel position of the axis: its ZPosition percent of the
  // chart's depth (0 in a flat chart).
  IZPos = FParentChart ? KelRound(FParentChart->Width3D() * FZPosition * 0.01) : 0;
}

// The logarithmic terms. An end that is not positive (a minimum of 0, or
// no positive data) has no logarithm: the scale then starts one power of
// the base below the maximum (1 .. base without any positive end), and
// IMinimum becomes that start so that labels and tests of the range see
// the values actually shown.
void TChartAxis::CalcLogRange() {
  const double decade = std::log(LogBaseAboveOne());
  if (!(IMaximum > 0)) {
    IMinimum = 1;
    IMaximum = LogBaseAboveOne();
  } else if (!(IMinimum > 0)) {
    IMinimum = IMaximum / LogBaseAboveOne();
  }
  ILogMin = std::log(IMinimum);
  ILogMax = std::log(IMaximum);
  IRangeLog = ILogMax - ILogMin;
  IRange = static_cast<long double>(IMaximum) - static_cast<long double>(IMinimum);
  IRangeZero = std::fabs(IRange) <= 1e-12L;
  IAxisSizeRange = IRangeZero ? 0.0 : static_cast<double>(IAxisSize / IRange);
  IAxisLogSizeRange = std::fabs(IRangeLog) <= 1e-12 * decade ? 0.0 : IAxisSize / IRangeLog;
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
  // Summed in 64 bits and kept within half the int range, so that a huge
  // control or a start/end position far beyond 100 % cannot overflow the
  // span, its size or its centre.
  auto spanEnd = [start](double Offset) {
    constexpr long long kLimit = INT_MAX / 2;
    const long long p = static_cast<long long>(start) + KelRound(Offset);
    return static_cast<int>(std::clamp(p, -kLimit, kLimit));
  };
  IStartPos = spanEnd(length * 0.01 * FStartPosition);
  IEndPos = spanEnd(length * 0.01 * FEndPosition);
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
  // left unwidened instead of collapsing to zero. So is a span whose
  // margins (huge offsets) would carry it beyond the int pixels.
  constexpr long long kLimit = INT_MAX / 2;
  const long long narrowStart = static_cast<long long>(oldStart) + a;
  const long long narrowEnd = static_cast<long long>(oldEnd) - b;
  if (narrowEnd - narrowStart < 1) return;
  if (narrowStart < -kLimit || narrowEnd > kLimit) return;
  IStartPos = static_cast<int>(narrowStart);
  IEndPos = static_cast<int>(narrowEnd);
  IAxisSize = IEndPos - IStartPos;
  double tmpMin = InternalCalcPosPoint(oldStart);
  double tmpMax = InternalCalcPosPoint(oldEnd);
  InternalCalcPositions();
  // The widened ends keep the order of the scale: an ordinary scale gets
  // the smaller value as its minimum, an inverted one (an automatic end
  // that crossed a fixed one) stays inverted.
  const bool ascending = IMinimum <= IMaximum;
  if ((tmpMin > tmpMax) == ascending) std::swap(tmpMin, tmpMax);
  IMinimum = tmpMin;
  IMaximum = tmpMax;
  InternalCalcRange();
}

void TChartAxis::CalcRoundScales() {
  // An inverted scale (an automatic end beyond a fixed one) has no outward
  // direction to round to.
  if (IAxisSize == 0 || IRangeZero || IMinimum > IMaximum) return;
  if (FLogarithmic) {
    // Outwards to the next powers of the base.
    const double lb = std::log(LogBaseAboveOne());
    bool moved = false;
    if (FMaximumRound && (FAutomatic || FAutomaticMaximum)) {
      IMaximum = std::pow(LogBaseAboveOne(), std::ceil(std::log(IMaximum) / lb - 1e-9));
      moved = true;
    }
    if (FMinimumRound && (FAutomatic || FAutomaticMinimum)) {
      IMinimum = std::pow(LogBaseAboveOne(), std::floor(std::log(IMinimum) / lb + 1e-9));
      moved = true;
    }
    if (moved) InternalCalcRange();
    return;
  }
  double increment = 0;
  bool changed = false;
  if (FMaximumRound && (FAutomatic || FAutomaticMaximum)) {
    increment = CalcIncrement();
    // A rounded end beyond the doubles keeps the unrounded one.
    const double rounded = increment * std::ceil(IMaximum / increment);
    if (increment != 0 && std::isfinite(rounded)) {
      IMaximum = rounded;
      changed = true;
    }
  }
  if (FMinimumRound && (FAutomatic || FAutomaticMinimum)) {
    if (increment == 0) increment = CalcIncrement();
    const double rounded = increment * std::floor(IMinimum / increment);
    if (increment != 0 && std::isfinite(rounded)) {
      IMinimum = rounded;
      changed = true;
    }
  }
  if (changed) InternalCalcRange();
}

TRectF TChartAxis::AxisRect() const {
  const int along0 = std::min(IStartPos, IEndPos);
  const int along1 = std::max(IStartPos, IEndPos);
  const bool labelsVisible = FLabels && FLabels->Visible();
  int across0 = PosAxis;
  int across1 = PosAxis;
  if (labelsVisible) {
    if (PosLabels < PosAxis) {
      across0 = PosLabels;
      across1 = PosAxis + KelAxisClickGap;
    } else {
      across0 = PosAxis - KelAxisClickGap;
      across1 = PosLabels;
    }
  }
  if (FHorizontal) return KelRect(along0, across0, along1, across1);
  return KelRect(across0, along0, across1, along1);
}

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

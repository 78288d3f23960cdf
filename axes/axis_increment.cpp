// Axis labels: the label style, the text of a label value, label sizes and
// the choice of the label step (increment) from the room of the axis.
//
// Contents:
//   [Style]       CalcLabelStyle, InternalCalcLabelStyle
//   [Texts]       LabelValue, point label texts, label sizes
//   [Increment]   CalcIncrement, CalcXYIncrement, CalcLabelsIncrement
//   [Widest]      MaxLabelsWidth, MaxLabelsValue, the height factor
#include <algorithm>
#include <climits>
#include <cmath>

#include "axes/axis_math.h"
#include "axes/chart_axis.h"
#include "axes/exponent_text.h"
#include "axes/value_format.h"
#include "canvas/canvas3d.h"
#include "panel/axis_panel.h"

namespace sextant {

namespace {

// Labels measured by MaxLabelsValue and by the point-label measures.
constexpr int KelMaxMeasuredLabels = 5000;

}  // namespace

// ===========================================================================
// [Style]
// ===========================================================================

TAxisLabelStyle TChartAxis::CalcLabelStyle() const {
  const TAxisLabelStyle style = FLabels->Style();
  return style == talAuto ? InternalCalcLabelStyle() : style;
}

// The first answer other than talValue of the active series associated
// with the axis; talValue when all answer so; talNone without series.
TAxisLabelStyle TChartAxis::InternalCalcLabelStyle() const {
  TAxisLabelStyle result = talNone;
  if (!FParentChart) return result;
  for (TChartSeries* s : FParentChart->SeriesList()) {
    if (!s->Active() || !s->AssociatedToAxis(this)) continue;
    const TAxisLabelStyle style = s->AxisLabelStyle(this);
    if (style != talValue) return style;
    result = talValue;
  }
  return result;
}

// ===========================================================================
// [Texts]
// ===========================================================================

std::string TChartAxis::LabelValue(double Value) {
  std::string text;
  const bool automatic = FAxisItems->Automatic();
  if (FLogarithmic && automatic) {
    text = LogLabelText(Value);
  } else if (IAxisDateTime && !FLogarithmic) {
    text = DateTimeLabelText(Value);
  } else if (ILabelFormat.Adapted && automatic) {
    // The adapted format belongs to the automatic value labels; custom
    // items with an empty text get the axis' own pattern.
    // Zero reads "0" also in the exponent form.
    const bool zero = std::fabs(Value) < ILabelFormat.ZeroBelow || Value == 0;
    text = zero && ILabelFormat.Layout.Scientific()
               ? std::string("0")
               : FormatFloat(ILabelFormat.Pattern, ILabelFormat.Layout, zero ? 0.0 : Value);
  } else {
    text = FormatFloat(FAxisValuesFormat, Value);
  }
  // Exponent notation: the power of ten raised ("1.5×10³"); logarithmic
  // labels at the powers wrote theirs already.
  if (FLabels->Exponent()) text = SuperscriptExponent(text);
  if (FParentChart && FParentChart->OnGetAxisLabel)
    FParentChart->OnGetAxisLabel(this, nullptr, -1, text);
  if (FLabels->MultiLine()) std::replace(text.begin(), text.end(), ' ', KelLineSeparator);
  return text;
}

void TChartAxis::PrepareLabelFont() {
  if (FParentChart) FParentChart->PrepareFont3D(FAxisItems->Format()->Font());
}

// Size of a label text in the current font, measured across (IsWidth, as
// on a horizontal axis) or along a vertical axis: the widest line, or the
// "W" height times the lines when the turned label runs across that
// direction.
int TChartAxis::LabelTextSize(const std::string& Text, bool IsWidth) {
  if (!FParentChart) return 0;
  int lines = 0;
  const int width = FParentChart->MultiLineTextWidth(Text, lines);
  const int angle = KelNormalAngle(FLabels->Angle());
  const bool across = IsWidth ? (angle == 90 || angle == 270) : (angle == 0 || angle == 180);
  if (across) return FParentChart->Canvas()->FontHeight() * lines;
  return width;
}

int TChartAxis::InternalLabelSize(double Value, bool IsWidth) {
  if (FLabels->GridIgnoresLabelSize()) return 1;
  return LabelTextSize(LabelValue(Value), IsWidth);
}

int TChartAxis::LabelWidth(double Value) {
  PrepareLabelFont();
  return InternalLabelSize(Value, true);
}

int TChartAxis::LabelHeight(double Value) {
  PrepareLabelFont();
  return InternalLabelSize(Value, false);
}

double TChartAxis::PointLabelValue(const TChartSeries* Series, int ValueIndex) const {
  return FHorizontal || IDepthAxis ? Series->XValueUnchecked(ValueIndex)
                                   : Series->YValueUnchecked(ValueIndex);
}

std::string TChartAxis::PointLabelText(TChartSeries* Series, int ValueIndex,
                                       TAxisLabelStyle Style) {
  switch (Style) {
    case talText: return Series->XLabel(ValueIndex);
    case talMark: return Series->AxisMarkText(ValueIndex);
    default: return FormatFloat(FAxisValuesFormat, PointLabelValue(Series, ValueIndex));
  }
}

// Point label after the chart's OnGetAxisLabel and MultiLine.
std::string TChartAxis::FinalPointLabel(TChartSeries* Series, int ValueIndex,
                                        TAxisLabelStyle Style) {
  std::string text = PointLabelText(Series, ValueIndex, Style);
  if (FParentChart && FParentChart->OnGetAxisLabel)
    FParentChart->OnGetAxisLabel(this, Series, ValueIndex, text);
  if (FLabels->MultiLine()) std::replace(text.begin(), text.end(), ' ', KelLineSeparator);
  return text;
}

static bool HasNonEmptyLabel(const TChartSeries* Series) {
  for (const std::string& text : Series->Labels()->List)
    if (!text.empty()) return true;
  return false;
}

std::vector<TChartSeries*> TChartAxis::LabelSeries(TAxisLabelStyle Style) const {
  std::vector<TChartSeries*> result;
  if (!FParentChart) return result;
  const bool event = static_cast<bool>(FParentChart->OnGetAxisLabel);
  for (TChartSeries* s : FParentChart->SeriesList()) {
    if (!s->Active() || !s->UseAxis() || !s->AssociatedToAxis(this)) continue;
    // Text labels come from series that have some; any series may answer
    // through the event.
    if (Style == talText && !event && !HasNonEmptyLabel(s)) continue;
    result.push_back(s);
  }
  return result;
}

// ===========================================================================
// [Increment]
// ===========================================================================

// The increment measured with the labels in ILabelFormat; CalcIncrement
// (axis_label_format.cpp) chooses that format.
double TChartAxis::MeasuredIncrement() {
  PrepareLabelFont();
  const bool isWidth = FHorizontal || IDepthAxis;
  auto size = [this, isWidth](double v) { return InternalLabelSize(v, isWidth); };
  int S = 0;
  if (!(FDesiredIncrement > 0)) {
    // The two ends and a middle value with decimals (0..100: 50, 25, then
    // 12.5), so that the widest kind of text is measured. Halving ends at
    // the latest when the value becomes fractional or underflows to 0.
    double M = IMinimum + (IMaximum - IMinimum) * 0.5;
    if (std::isinf(M)) M = 0;
    while (M != 0 && !std::isnan(M) && std::trunc(M) == M) M *= 0.5;
    S = std::max({size(IMinimum), size(IMaximum), size(M)});
  } else {
    // A set increment: the labels nearest to both ends, as the label
    // sequence would produce them, and their inner neighbours.
    const double inc = FDesiredIncrement;
    double hi = IMaximum;
    double lo = IMinimum;
    if (FLabels->RoundFirstLabel()) {
      hi = std::trunc(IMaximum / inc) * inc;
      lo = std::trunc(IMinimum / inc) * inc;
    }
    S = std::max({size(hi), size(lo), size(hi - inc), size(lo + inc)});
  }
  double result = CalcXYIncrement(S);
  if (FLabels->Alternate()) result *= 0.5;
  return result;
}

double TChartAxis::CalcXYIncrement(int MaxLabelSize) {
  int N = 1;
  if (MaxLabelSize > 0 && IAxisSize > 0) {
    double S = MaxLabelSize;
    const int separation = FLabels->Separation();
    if (separation > 0) S += KelRound(separation * 0.01 * MaxLabelSize);
    N = KelRound(IAxisSize / S);
  }
  return CalcLabelsIncrement(N);
}

double TChartAxis::CalcLabelsIncrement(int MaxNumLabels) {
  const int N = MaxNumLabels;
  if (N < 1) return MinAxisIncrement;
  const long double range = IRange;

  // 1. Start.
  double step;
  if (FDesiredIncrement > 0) {
    step = FDesiredIncrement;
  } else if (IRangeZero) {
    step = 1;
  } else {
    step = static_cast<double>(std::fabs(range) / (static_cast<long double>(N) + 1));
    // A handful of points on the positional axis never gets fractional
    // steps between them.
    if (range >= 1.1L && FParentChart) {
      for (TChartSeries* s : FParentChart->SeriesList()) {
        if (s->Active() && s->YMandatory() == FHorizontal && s->AssociatedToAxis(this) &&
            s->Count() <= N) {
          step = std::max(step, 1.0);
          break;
        }
      }
    }
  }

  // 2. Search: the step grows until at most N labels fit. It ends because
  // every growth makes the step strictly larger and the loop stops once the
  // step passes the range or is no longer finite (a NaN range stops at the
  // first comparison).
  if (FLabels->Separation() != 0 && range != 0 && step != 0) {
    long long C = static_cast<long long>(N) + 1;
    do {
      const long double T = range / step;
      if (std::fabs(T) < 2147483647.0L) {
        C = KelRound64(static_cast<double>(T));
        if (C <= N) break;
      }
      if (FDesiredIncrement > 0)
        step += std::max(0.2 * step, FDesiredIncrement);
      else
        step = KelNextStep(step);
    } while (C > N && step <= range && std::isfinite(step));
  }

  // 3. Result.
  if (std::isinf(step)) return static_cast<double>(range);
  return std::max(MinAxisIncrement, step);
}

// ===========================================================================
// [Widest]
// ===========================================================================

int TChartAxis::MaxLabelsWidth() {
  int lines = 0;
  if (FAxisItems->Automatic()) {
    const TAxisLabelStyle style = CalcLabelStyle();
    switch (style) {
      case talValue:
      case talPointValue: return MaxLabelsValue(lines);
      case talMark:
      case talText: return MaxPointLabelsWidth(style, lines);
      default: return 0;
    }
  }
  // Custom labels: each in its own format's font.
  int width = 0;
  if (!FParentChart) return 0;
  for (int i = 0; i < FAxisItems->Count(); ++i) {
    TAxisItem* item = FAxisItems->Items(i);
    FParentChart->PrepareFont3D(item->DrawFormat()->Font());
    const std::string text = item->Text().empty() ? LabelValue(item->Value()) : item->Text();
    width = std::max(width, FParentChart->MultiLineTextWidth(text, lines));
  }
  PrepareLabelFont();
  return width;
}

// Widest value label (plus a space) over the label values of the range;
// MaxLines receives the most lines of one label.
int TChartAxis::MaxLabelsValue(int& MaxLines) {
  MaxLines = 0;
  if (!FParentChart) return 0;
  const double I = CalcIncrement();
  double lo = IMinimum;
  double hi = IMaximum;
  if (FLabels->RoundFirstLabel() && I != 0 && std::isfinite(I)) {
    lo = std::trunc(IMinimum / I) * I;
    hi = std::trunc(IMaximum / I) * I;
  }
  int width = 0;
  auto measure = [this, &width, &MaxLines](double v) {
    int lines = 0;
    width = std::max(width, FParentChart->MultiLineTextWidth(LabelValue(v), lines));
    MaxLines = std::max(MaxLines, lines);
  };
  int measured = 0;
  // Logarithmic and date-time labels do not step by the increment: their
  // own label values are measured.
  const auto count = [&measure, &measured](double v) {
    measure(v);
    ++measured;
  };
  if (FLogarithmic) {
    ForEachLogLabel(count);
  } else if (IAxisDateTime) {
    ForEachDateTimeLabel(count);
  }
  if (measured > 0) {
    PrepareLabelFont();
    return KelBoundPixel(static_cast<long long>(width) + FParentChart->Canvas()->TextWidth(" "));
  }
  if (I != 0 && std::isfinite(I)) {
    for (int k = 0; k < KelMaxMeasuredLabels; ++k) {
      const double v = hi - k * I;
      if (!(v >= lo)) break;
      measure(v);
      ++measured;
    }
  }
  if (measured == 0) {
    measure(lo);
    measure(hi);
  }
  return KelBoundPixel(static_cast<long long>(width) + FParentChart->Canvas()->TextWidth(" "));
}

// Widest point label of the series giving labels of Style, over their
// points inside the axis range (at most KelMaxMeasuredLabels measured).
int TChartAxis::MaxPointLabelsWidth(TAxisLabelStyle Style, int& MaxLines) {
  MaxLines = 0;
  if (!FParentChart) return 0;
  PrepareLabelFont();
  int width = 0;
  int measured = 0;
  for (TChartSeries* s : LabelSeries(Style)) {
    for (int i = 0; i < s->Count() && measured < KelMaxMeasuredLabels; ++i) {
      const double v = PointLabelValue(s, i);
      if (!(v >= IMinimum && v <= IMaximum)) continue;
      const std::string text = FinalPointLabel(s, i, Style);
      if (text.empty()) continue;
      int lines = 0;
      width = std::max(width, FParentChart->MultiLineTextWidth(text, lines));
      MaxLines = std::max(MaxLines, lines);
      ++measured;
    }
  }
  return width;
}

// Lines of the tallest label on a horizontal axis with unturned labels,
// else 1.
void TChartAxis::CalcHeightFactor() {
  int lines = 1;
  if ((FHorizontal || IDepthAxis) && KelNormalAngle(FLabels->Angle()) == 0 && FParentChart) {
    if (FAxisItems->Automatic()) {
      const TAxisLabelStyle style = CalcLabelStyle();
      if (style == talValue)
        MaxLabelsValue(lines);
      else if (style == talText || style == talMark || style == talPointValue)
        MaxPointLabelsWidth(style, lines);
    } else {
      for (int i = 0; i < FAxisItems->Count(); ++i) {
        TAxisItem* item = FAxisItems->Items(i);
        const std::string text = item->Text().empty() ? LabelValue(item->Value()) : item->Text();
        lines = std::max(lines, TCustomKelPanel::LinesOfText(text));
      }
    }
  }
  FLabels->IHeightFactor = std::max(1, lines);
}

}  // namespace sextant

// The format of value labels, adapted to the increment. AxisValuesFormat is
// kept whenever neighbouring labels read differently with it. When the
// increment is finer than the pattern's last decimal place (values around
// 1e-5 with "#,##0.###" would all read "0"), the labels get the decimals the
// increment needs; when the default pattern, or a pattern with those extra
// decimals, would need more than KelMaxFixedLabelChars characters (values
// around 1e300 or 1e-300), they switch to the exponent form "0.##E+0" with
// the mantissa decimals the increment needs.
//
// The increment depends on the label widths and the widths on the format, so
// CalcIncrement looks for a format that the increment measured with it keeps
// (a few rounds; the largest increment found ends the search otherwise).
#include <algorithm>
#include <cmath>

#include "axes/chart_axis.h"
#include "axes/decimal_digits.h"
#include "panel/axis_panel.h"

namespace sextant {

namespace {

// Longest fixed-form label text (sign, digits, separators) before the
// exponent form is used.
constexpr int KelMaxFixedLabelChars = 15;
// Most decimals the exponent form's mantissa gets.
constexpr int KelMaxMantissaDecimals = 15;
// Rounds of CalcIncrement's search for a format that stays.
constexpr int KelLabelFormatRounds = 4;

// Decimal exponent of the first significant digit of a positive finite
// value (1e-5 -> -5, 2.5e-5 -> -5, 999 -> 2).
int LeadExponent(double Magnitude) { return DecomposeDecimal(Magnitude).IntDigits - 1; }

// The fewest significant digits that write Step to within a hundredth of it
// (2e-5 -> 1, 2.5e-5 -> 2, 0.30000000000000004 -> 1).
int StepDigits(double Step) {
  const int lead = LeadExponent(Step);
  for (int s = 1; s < 15; ++s) {
    const long double unit = std::pow(10.0L, lead - s + 1);
    const long double rounded = std::round(Step / unit) * unit;
    if (std::fabs(rounded - Step) <= 0.01L * Step) return s;
  }
  return 15;
}

// Decimals after the point that write Step (2e-5 -> 5, 2.5e-5 -> 6, 10 -> 0).
int StepDecimals(double Step) { return std::max(0, StepDigits(Step) - 1 - LeadExponent(Step)); }

// Characters of the fixed-form text of a value of magnitude Magnitude with
// Decimals decimals: sign, integer digits, thousands separators, point.
long long FixedTextLength(double Magnitude, int Decimals, bool Grouping, bool Negative) {
  const long long intDigits = Magnitude < 1 ? 1 : std::max(1, LeadExponent(Magnitude) + 1);
  long long length = intDigits + (Grouping ? (intDigits - 1) / 3 : 0);
  if (Decimals > 0) length += Decimals + 1;
  return length + (Negative ? 1 : 0);
}

}  // namespace

bool TChartAxis::LabelFormatAdapts() const {
  // Logarithmic and date-time labels have formats of their own.
  return FAxisItems->Automatic() && CalcLabelStyle() == talValue && !FLogarithmic && !IAxisDateTime;
}

TChartAxis::TLabelFormat TChartAxis::AdaptedLabelFormat(double Increment) const {
  TLabelFormat result;
  const TFormatPattern layout = ParseFormatPattern(FAxisValuesFormat);
  // Patterns without places write the general form; a pattern of its own
  // exponent form is kept as the user wrote it.
  if (!layout.HasPlaces() || layout.Scientific()) return result;
  if (!std::isfinite(IMinimum) || !std::isfinite(IMaximum)) return result;
  const double top = std::max(std::fabs(IMinimum), std::fabs(IMaximum));
  // The step between neighbours; a single label is told apart from 0.
  const double step = IRangeZero ? top : Increment;
  if (!(step > 0) || !std::isfinite(step)) return result;
  // No labels at all with this increment: nothing to tell apart.
  if (!IRangeZero && !(std::fabs(static_cast<double>(IRange / Increment)) < 10000)) return result;

  const int decimals = std::max(layout.DecPlaces, StepDecimals(step));
  const bool negative = std::min(IMinimum, IMaximum) < 0;
  const bool isDefault = FAxisValuesFormat == KelMsg_DefValueFormat;
  const bool longText = FixedTextLength(top, decimals, layout.Grouping, negative) > KelMaxFixedLabelChars;
  const bool moreDecimals = decimals > layout.DecPlaces;
  if (!moreDecimals && !(isDefault && longText)) return result;

  result.Adapted = true;
  if (longText) {
    // The mantissa of the largest label shows the step's digits.
    const int exponentOfTop = top > 0 ? LeadExponent(top) : 0;
    const int mantissa = exponentOfTop - LeadExponent(step) + StepDigits(step) - 1;
    result.Pattern = ScientificPattern(std::clamp(mantissa, 0, KelMaxMantissaDecimals));
    if (!IRangeZero) result.ZeroBelow = step * 1e-6;
  } else {
    result.Pattern = PatternWithDecimals(FAxisValuesFormat, decimals);
  }
  result.Layout = ParseFormatPattern(result.Pattern);
  return result;
}

double TChartAxis::CalcIncrement() {
  ILabelFormat = {};
  if (IAxisDateTime && !FLogarithmic) return CalcDateTimeIncrement();
  double increment = MeasuredIncrement();
  if (!LabelFormatAdapts()) return increment;
  double largest = increment;
  for (int round = 0; round < KelLabelFormatRounds; ++round) {
    TLabelFormat format = AdaptedLabelFormat(increment);
    const bool same = format.Adapted == ILabelFormat.Adapted && format.Pattern == ILabelFormat.Pattern;
    ILabelFormat = std::move(format);
    if (same) return increment;
    increment = MeasuredIncrement();
    largest = std::max(largest, increment);
  }
  ILabelFormat = AdaptedLabelFormat(largest);
  return largest;
}

}  // namespace sextant

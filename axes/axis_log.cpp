// Labels and minor ticks of a logarithmic axis. Labels stand at the powers
// of the base (1, 10, 100 ... for base 10), every ILogStep-th power when
// they would not fit at every one; between two neighbouring powers B^k and
// B^(k+1) the minor ticks stand at 2, 3, ... (B - 1) times B^k, the marks a
// reader of log paper expects. A range holding fewer than two powers (2 ..
// 8) gets the ordinary value steps instead, which the logarithmic mapping
// places.
#include <algorithm>
#include <cmath>

#include "axes/axis_math.h"
#include "axes/chart_axis.h"
#include "axes/decimal_digits.h"
#include "axes/exponent_text.h"
#include "axes/value_format.h"
#include "panel/axis_panel.h"

namespace sextant {

namespace {

// Most labels and minor ticks of one logarithmic axis.
constexpr int KelMaxLogMarks = 10000;
// Longest fixed-form text before a logarithmic label takes the exponent form.
constexpr int KelMaxFixedLogChars = 15;

// Exponents of the first and last power of Base inside Lo .. Hi (Lo > 0).
void PowerRange(double Lo, double Hi, double Base, long long& First, long long& Last) {
  const double lb = std::log(Base);
  First = static_cast<long long>(std::ceil(std::log(Lo) / lb - 1e-9));
  Last = static_cast<long long>(std::floor(std::log(Hi) / lb + 1e-9));
}

long long FloorToMultiple(long long Value, long long Step) {
  long long q = Value / Step;
  if (Value % Step != 0 && Value < 0) --q;
  return q * Step;
}

}  // namespace

// Powers are the same for a base below 1 (0.1 gives 1, 10, 100 ... too).
double TChartAxis::LogBaseAboveOne() const {
  return FLogarithmicBase > 1 ? FLogarithmicBase : 1 / FLogarithmicBase;
}

// The number of powers between two labels: the fewest that keep the widest
// label (plus Separation percent) within the pixels they cover.
int TChartAxis::LogLabelStep() {
  if (!(IMinimum > 0) || !(IMaximum > IMinimum) || IAxisLogSizeRange == 0) return 0;
  long long first = 0;
  long long last = 0;
  PowerRange(IMinimum, IMaximum, LogBaseAboveOne(), first, last);
  if (last - first < 1 || last - first > KelMaxLogMarks) return 0;
  PrepareLabelFont();
  const bool isWidth = FHorizontal || IDepthAxis;
  const double B = LogBaseAboveOne();
  int size = 0;
  for (long long k : {first, last, (first + last) / 2})
    size = std::max(size, InternalLabelSize(std::pow(B, static_cast<double>(k)), isWidth));
  double S = size;
  if (FLabels->Separation() > 0) S += KelRound(FLabels->Separation() * 0.01 * size);
  const double perPower = std::fabs(IAxisLogSizeRange) * std::log(B);
  int step = 1;
  if (perPower > 0) step = static_cast<int>(std::clamp(std::ceil(S / perPower), 1.0, 1e6));
  return step;
}

bool TChartAxis::ForEachLogLabel(const std::function<void(double)>& Take) {
  ILogStep = LogLabelStep();
  if (ILogStep == 0) return false;
  long long first = 0;
  long long last = 0;
  const double B = LogBaseAboveOne();
  PowerRange(IMinimum, IMaximum, B, first, last);
  // From the largest power down, on multiples of the step (10^0 stays a
  // label whatever the step).
  for (long long k = FloorToMultiple(last, ILogStep), n = 0; k >= first && n < KelMaxLogMarks;
       k -= ILogStep, ++n)
    Take(std::pow(B, static_cast<double>(k)));
  return true;
}

void TChartAxis::DoLogLabels() {
  if (IMinimum > IMaximum) return;
  if (ForEachLogLabel([this](double V) { InternalDrawLabel(V); })) return;
  DoDefaultLabels();
}

bool TChartAxis::LogMinorPositions(std::vector<int>& Positions) const {
  Positions.clear();
  if (ILogStep == 0 || !(IMinimum > 0)) return false;
  const double B = LogBaseAboveOne();
  long long first = 0;
  long long last = 0;
  PowerRange(IMinimum, IMaximum, B, first, last);
  // Also the part below the first and above the last power.
  for (long long k = first - 1; k <= last && Positions.size() < KelMaxLogMarks; ++k) {
    const double power = std::pow(B, static_cast<double>(k));
    // Between powers two labels apart, the powers in between are minor too.
    const bool major = FloorToMultiple(k, ILogStep) == k;
    if (!major) Positions.push_back(CalcPosValue(power));
    for (int m = 2; m < B && m < KelMaxLogMarks; ++m) Positions.push_back(CalcPosValue(m * power));
  }
  return true;
}

std::string TChartAxis::LogLabelText(double Value) const {
  if (FLabels->Exponent() && Value > 0) {
    // A power of the base reads as one: "10³", "2⁵".
    const double B = LogBaseAboveOne();
    const double k = std::round(std::log(Value) / std::log(B));
    if (std::fabs(std::pow(B, k) - Value) <= 1e-9 * Value && std::fabs(k) < 1e6)
      return PowerText(FormatFloat(KelMsg_DefValueFormat, B), static_cast<long long>(k));
  }
  const TFormatPattern layout = ParseFormatPattern(FAxisValuesFormat);
  if (!layout.HasPlaces() || layout.Scientific() || !(Value > 0)) return FormatFloat(FAxisValuesFormat, Value);
  // The decimals that write the value's digits (1e-4: 4) and the length of
  // its integer part: a pattern that would drop digits or write more than
  // KelMaxFixedLogChars characters gives way to the exponent form.
  const TDecimalDigits digits = DecomposeDecimal(Value);
  const int needed = std::max(0, digits.Length - digits.IntDigits);
  const int intDigits = std::max(1, digits.IntDigits);
  const int length = intDigits + (layout.Grouping ? (intDigits - 1) / 3 : 0);
  if (needed <= layout.DecPlaces && length <= KelMaxFixedLogChars) return FormatFloat(FAxisValuesFormat, Value);
  return FormatFloat(ScientificPattern(2), Value);
}

}  // namespace sextant

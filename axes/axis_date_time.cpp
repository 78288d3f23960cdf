// Date-time labels: the step comes from a fixed ladder (milliseconds up to
// years), the first step whose labels fit the axis in the format they are
// written in; the texts follow DateTimeFormat or, when it is empty, a format
// that fits the step. With ExactDateTime the labels stand on calendar
// boundaries: multiples of the step from midnight, Mondays for weeks, the
// first of a month for months, 1 January for years.
#include <algorithm>
#include <cmath>

#include "axes/axis_math.h"
#include "axes/chart_axis.h"
#include "axes/date_time.h"
#include "panel/axis_panel.h"

namespace sextant {

namespace {

enum class TStepUnit { Milliseconds, Months, Years };

struct TDateStep {
  TStepUnit Unit;
  long long Count;
};

constexpr long long kSecond = 1000;
constexpr long long kMinute = 60 * kSecond;
constexpr long long kHour = 60 * kMinute;
constexpr long long kDay = 24 * kHour;

constexpr TDateStep KelDateSteps[] = {
    {TStepUnit::Milliseconds, 1},           {TStepUnit::Milliseconds, 2},
    {TStepUnit::Milliseconds, 5},           {TStepUnit::Milliseconds, 10},
    {TStepUnit::Milliseconds, 20},          {TStepUnit::Milliseconds, 50},
    {TStepUnit::Milliseconds, 100},         {TStepUnit::Milliseconds, 200},
    {TStepUnit::Milliseconds, 500},         {TStepUnit::Milliseconds, kSecond},
    {TStepUnit::Milliseconds, 2 * kSecond}, {TStepUnit::Milliseconds, 5 * kSecond},
    {TStepUnit::Milliseconds, 10 * kSecond}, {TStepUnit::Milliseconds, 15 * kSecond},
    {TStepUnit::Milliseconds, 30 * kSecond}, {TStepUnit::Milliseconds, kMinute},
    {TStepUnit::Milliseconds, 2 * kMinute}, {TStepUnit::Milliseconds, 5 * kMinute},
    {TStepUnit::Milliseconds, 10 * kMinute}, {TStepUnit::Milliseconds, 15 * kMinute},
    {TStepUnit::Milliseconds, 30 * kMinute}, {TStepUnit::Milliseconds, kHour},
    {TStepUnit::Milliseconds, 2 * kHour},   {TStepUnit::Milliseconds, 3 * kHour},
    {TStepUnit::Milliseconds, 6 * kHour},   {TStepUnit::Milliseconds, 12 * kHour},
    {TStepUnit::Milliseconds, kDay},        {TStepUnit::Milliseconds, 2 * kDay},
    {TStepUnit::Milliseconds, 7 * kDay},    {TStepUnit::Months, 1},
    {TStepUnit::Months, 2},                 {TStepUnit::Months, 3},
    {TStepUnit::Months, 6},                 {TStepUnit::Years, 1},
};
constexpr int KelDateStepCount = static_cast<int>(sizeof(KelDateSteps) / sizeof(KelDateSteps[0]));
// Most labels one date-time axis produces.
constexpr int KelMaxDateLabels = 10000;

// Ladder entry Index; past the table: years by 2, 5, 10, 20, 50 ...
TDateStep StepAt(int Index) {
  if (Index < KelDateStepCount) return KelDateSteps[Index];
  const int k = Index - KelDateStepCount;
  static constexpr long long kMantissa[] = {2, 5, 10};
  long long years = kMantissa[k % 3];
  for (int i = 0; i < k / 3; ++i) years *= 10;
  return {TStepUnit::Years, years};
}

double StepDays(const TDateStep& Step) {
  switch (Step.Unit) {
    case TStepUnit::Milliseconds: return static_cast<double>(Step.Count) / kDay;
    case TStepUnit::Months: return Step.Count * 30.436875;
    default: return Step.Count * 365.2425;
  }
}

// The format that tells labels Step apart.
const char* DefaultFormat(const TDateStep& Step) {
  if (Step.Unit == TStepUnit::Years) return "yyyy";
  if (Step.Unit == TStepUnit::Months) return "mmm yyyy";
  if (Step.Count < kSecond) return "hh:mm:ss.zzz";
  if (Step.Count < kMinute) return "hh:mm:ss";
  if (Step.Count < kDay) return "hh:mm";
  return "dd/mm";
}

long long FloorTo(long long Value, long long Step, long long Origin = 0) {
  long long q = (Value - Origin) / Step;
  if ((Value - Origin) % Step != 0 && Value < Origin) --q;
  return q * Step + Origin;
}

}  // namespace

bool TChartAxis::IsDateTime() const {
  if (!FParentChart || IDepthAxis) return false;
  for (TChartSeries* s : FParentChart->SeriesList()) {
    if (!s->Active() || !s->AssociatedToAxis(this)) continue;
    // A vertical series shows X on horizontal axes, a horizontal series Y.
    const TChartValueList* list = FHorizontal == s->YMandatory() ? s->XValues() : s->YValues();
    if (list && list->DateTime()) return true;
  }
  return false;
}

double TChartAxis::CalcDateTimeIncrement() {
  IDateTime = {};
  const double range = static_cast<double>(IRange);
  PrepareLabelFont();
  const bool isWidth = FHorizontal || IDepthAxis;
  for (int index = 0; index < KelDateStepCount + 45; ++index) {
    const TDateStep step = StepAt(index);
    const double days = StepDays(step);
    IDateTime.Step = days;
    IDateTime.Ladder = index;
    IDateTime.Format = FDateTimeFormat.empty() ? DefaultFormat(step) : FDateTimeFormat;
    if (FDesiredIncrement > 0 && days < FDesiredIncrement * (1 - 1e-9)) continue;
    if (IRangeZero || !(range > 0)) break;
    int size = 0;
    if (!FLabels->GridIgnoresLabelSize())
      size = std::max(LabelTextSize(DateTimeLabelText(IMinimum), isWidth),
                      LabelTextSize(DateTimeLabelText(IMaximum), isWidth));
    double S = size;
    if (FLabels->Separation() > 0) S += KelRound(FLabels->Separation() * 0.01 * size);
    const double fits = S > 0 ? std::max(1.0, std::floor(IAxisSize / S)) : IAxisSize;
    if (range / days <= fits || FLabels->Separation() == 0) break;
  }
  return IDateTime.Step;
}

void TChartAxis::ForEachDateTimeLabel(const std::function<void(double)>& Take) {
  if (IDateTime.Ladder < 0 || IMinimum > IMaximum) return;
  const TDateStep step = StepAt(IDateTime.Ladder);
  if (IRangeZero) {
    Take(IMaximum);
    return;
  }
  if (!FExactDateTime) {
    // Steps of the ladder's length down from the maximum.
    double V = IMaximum;
    for (int n = 0; n < KelMaxDateLabels && V >= IMinimum; ++n, V -= IDateTime.Step) Take(V);
    return;
  }
  // Calendar boundaries in the time the labels are read in; each boundary
  // goes back to UTC for its place on the axis.
  const double shiftMin = FDateTimeLocal ? LocalTimeOffset(IMinimum) : 0;
  const double shiftMax = FDateTimeLocal ? LocalTimeOffset(IMaximum) : 0;
  const double lo = IMinimum + shiftMin;
  const double hi = IMaximum + shiftMax;
  auto emit = [this, &Take](double Wall) {
    const double utc = FDateTimeLocal ? Wall - LocalTimeOffset(Wall) : Wall;
    if (utc >= IMinimum && utc <= IMaximum) Take(utc);
  };
  if (step.Unit == TStepUnit::Milliseconds) {
    // Weeks start on Mondays (day 2 after the Saturday of day 0).
    const long long origin = step.Count == 7 * kDay ? 2 * kDay : 0;
    const long long loMs = DateTimeToMilliseconds(lo);
    long long v = FloorTo(DateTimeToMilliseconds(hi), step.Count, origin);
    for (int n = 0; n < KelMaxDateLabels && v >= loMs; ++n, v -= step.Count) emit(DateTimeFromMilliseconds(v));
    return;
  }
  const TDateTimeParts top = DecodeDateTime(hi);
  const long long perStep = step.Unit == TStepUnit::Months ? step.Count : step.Count * 12;
  long long month = FloorTo(top.Year * 12LL + (top.Month - 1), perStep);
  for (int n = 0; n < KelMaxDateLabels; ++n, month -= perStep) {
    const long long year = month >= 0 ? month / 12 : -((-month + 11) / 12);
    const double wall = EncodeDateTime(static_cast<int>(year), static_cast<int>(month - year * 12) + 1, 1);
    if (wall < lo) break;
    emit(wall);
  }
}

void TChartAxis::DoDateTimeLabels() {
  CalcIncrement();
  ForEachDateTimeLabel([this](double V) { InternalDrawLabel(V); });
}

std::string TChartAxis::DateTimeLabelText(double Value) const {
  std::string format = IDateTime.Format;
  if (format.empty()) format = FDateTimeFormat.empty() ? "dd/mm/yyyy hh:mm:ss" : FDateTimeFormat;
  const double shown = FDateTimeLocal ? Value + LocalTimeOffset(Value) : Value;
  return FormatDateTime(format, shown);
}

}  // namespace sextant

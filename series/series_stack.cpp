#include "series/series_stack.h"

#include <cmath>

#include "panel/axis_panel.h"
#include "series/finite_point.h"

namespace sextant {

bool StacksAt(const TChartSeries& Series, int Index) {
  if (Index < 0 || Index >= Series.Count()) return false;
  if (Series.HasColors() && Series.IsNull(Index)) return false;
  return IsFinitePoint(Series.XValues()->Data()[Index], Series.YValues()->Data()[Index]);
}

void CollectStackGroup(const TChartSeries& Series, bool (*SameKind)(const TChartSeries&, const TChartSeries&),
                       std::vector<const TChartSeries*>& Group) {
  Group.clear();
  const TCustomAxisPanel* chart = Series.ParentChart();
  if (!chart) {
    Group.push_back(&Series);
    return;
  }
  for (const TChartSeries* s : chart->SeriesList()) {
    if (!s->Active() || s->GetHorizAxis() != Series.GetHorizAxis() || s->GetVertAxis() != Series.GetVertAxis())
      continue;
    if (s == &Series || SameKind(Series, *s)) Group.push_back(s);
  }
}

TStackSums StackSumsAt(std::span<const TChartSeries* const> Group, const TChartSeries* Series, int Index) {
  TStackSums sums;
  bool below = true;
  for (const TChartSeries* s : Group) {
    if (s == Series) below = false;
    if (!StacksAt(*s, Index)) continue;
    const double v = s->MandatoryValueList()->Data()[Index];
    sums.Total += v;
    if (below) sums.Below += v;
  }
  return sums;
}

void StackedEnds(const TStackSums& Sums, double Value, bool Percent, double& Low, double& High) {
  Low = Sums.Below;
  High = Sums.Below + Value;
  if (!Percent) return;
  if (Sums.Total == 0 || !std::isfinite(Sums.Total)) {
    Low = High = 0;
    return;
  }
  Low = Low * 100.0 / Sums.Total;
  High = High * 100.0 / Sums.Total;
}

}  // namespace sextant

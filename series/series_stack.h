// Stacking: series of one kind that share their axes stack their values by
// point index (areas on areas, bars on bars). Each member's point i starts
// where the earlier members' points i end together; in the 100 % modes the
// stack at i is scaled so that all members together reach 100.
#pragma once

#include <span>
#include <vector>

#include "series/chart_series.h"

namespace sextant {

// Sums of the finite, non-null values (of each series' mandatory list) at
// one index: over the group members before the series, and over the group.
struct TStackSums {
  double Below = 0;
  double Total = 0;
};

// Whether point Index of Series takes part in a stack: it exists, is not
// null and its X and Y are finite numbers.
bool StacksAt(const TChartSeries& Series, int Index);

// The active series of Series' chart with the same axes for which SameKind
// answers true, in list order (Series itself included when it qualifies).
// Group keeps its capacity between calls.
void CollectStackGroup(const TChartSeries& Series, bool (*SameKind)(const TChartSeries&, const TChartSeries&),
                       std::vector<const TChartSeries*>& Group);

// The sums at Index for Series within Group.
TStackSums StackSumsAt(std::span<const TChartSeries* const> Group, const TChartSeries* Series, int Index);

// The lower and upper end of the stacked point: (Below, Below + value), or
// both scaled to percent of Total in the 100 % modes (0 when the total is
// 0). The value is the series' own mandatory value at Index.
void StackedEnds(const TStackSums& Sums, double Value, bool Percent, double& Low, double& High);

}  // namespace sextant

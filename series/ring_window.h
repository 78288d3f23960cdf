// A live window over a series: batches of new points are appended and the
// oldest points beyond the window's capacity are removed from the front, so
// the series always holds the last Capacity points. Appending costs the
// batch; removing at the front moves no values (the value storage keeps the
// room and takes it back when it is as large as the values) and the fast
// line's level-of-detail index only drops the blocks that left, so the cost
// per point stays constant on average.
#pragma once

#include <span>

#include "series/chart_series.h"

namespace sextant {

class TRingWindow {
 public:
  // Capacity below 1 raises ChartException. The series is not owned and
  // must outlive the window.
  TRingWindow(TChartSeries& Series, int Capacity);

  int Capacity() const { return FCapacity; }
  // Appends the points (as AddArrays) and trims the series to Capacity.
  void Append(std::span<const double> X, std::span<const double> Y);
  // Y only: X continues from the last X + 1 (0 for an empty series).
  void Append(std::span<const double> Y);

 private:
  void Trim();
  TChartSeries& FSeries;
  int FCapacity;
};

}  // namespace sextant

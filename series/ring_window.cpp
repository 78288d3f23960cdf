#include "series/ring_window.h"

#include <cstdio>
#include <vector>

namespace sextant {

TRingWindow::TRingWindow(TChartSeries& Series, int Capacity) : FSeries(Series), FCapacity(Capacity) {
  if (Capacity < 1) {
    char buf[96];
    std::snprintf(buf, sizeof buf, "Ring window: capacity %d must be at least 1.", Capacity);
    throw ChartException(buf);
  }
}

void TRingWindow::Append(std::span<const double> X, std::span<const double> Y) {
  // One update block for the batch and the trim: one refresh.
  FSeries.BeginUpdate();
  try {
    // Only the last Capacity points of a batch larger than the window stay.
    const std::size_t keep = std::min(X.size(), static_cast<std::size_t>(FCapacity));
    if (X.size() == Y.size()) {
      FSeries.AddArrays(X.subspan(X.size() - keep), Y.subspan(Y.size() - keep));
    } else {
      FSeries.AddArrays(X, Y);  // raises the length error
    }
    Trim();
  } catch (...) {
    FSeries.EndUpdate();
    throw;
  }
  FSeries.EndUpdate();
}

void TRingWindow::Append(std::span<const double> Y) {
  const int n = static_cast<int>(std::min(Y.size(), static_cast<std::size_t>(FCapacity)));
  const double start = FSeries.Count() > 0 ? FSeries.XValues()->Last() + 1 : 0;
  const double skipped = static_cast<double>(Y.size()) - n;
  std::vector<double> xs(static_cast<std::size_t>(n));
  for (int i = 0; i < n; ++i) xs[static_cast<std::size_t>(i)] = start + skipped + i;
  Append(xs, Y.subspan(Y.size() - static_cast<std::size_t>(n)));
}

void TRingWindow::Trim() {
  const int excess = FSeries.Count() - FCapacity;
  if (excess > 0) FSeries.Delete(0, excess);
}

}  // namespace sextant

// KelSort: the quicksort on indices that orders a series by one of its value
// lists. It never touches the data itself: Compare(a, b) compares the items
// at two positions (negative when a goes before b) and Swap(a, b) exchanges
// them, so that every list of a series moves together.
#pragma once

#include <cstdint>
#include <utility>
#include <vector>

namespace sextant {

// Sorts the positions L..R (inclusive).
//
// Partition: i runs up from L and j down from R around the pivot position m,
// the middle of the range. i advances while Compare(i, m) < 0, j moves down
// while Compare(m, j) < 0; a pair i < j is swapped, and when one of them was
// the pivot, m follows it to its new place. Then both ranges L..j and i..R
// are sorted, left first.
//
// With a consistent comparison the scans stop at the pivot at the latest
// (Compare(m, m) is not negative). A comparison that is not consistent, for
// example one that calls a NaN "less" than everything in both directions,
// could otherwise run the scans off the range, so they are also bounded by
// L and R; for consistent comparisons those bounds never change the outcome.
//
// The pending right-hand ranges are kept on an explicit stack in the same
// order the recursion would visit them, so that a degenerate partition of a
// long list cannot overflow the call stack.
template <typename Compare, typename Swap>
void KelSort(int L, int R, Compare&& compare, Swap&& swap) {
  if (L >= R) return;
  std::vector<std::pair<int, int>> pending;
  pending.reserve(64);
  pending.emplace_back(L, R);
  while (!pending.empty()) {
    const auto [lo, hi] = pending.back();
    pending.pop_back();
    int i = lo;
    int j = hi;
    // Unsigned halving: the sum of two large indices must not overflow.
    int m = static_cast<int>((static_cast<std::uint32_t>(lo) + static_cast<std::uint32_t>(hi)) >> 1);
    while (j > i) {
      while (i < hi && compare(i, m) < 0) ++i;
      while (j > lo && compare(m, j) < 0) --j;
      if (i < j) {
        swap(i, j);
        if (i == m)
          m = j;
        else if (j == m)
          m = i;
      }
      if (i <= j) {
        ++i;
        --j;
      }
    }
    // Visit lo..j before i..hi, as the recursion does.
    if (i < hi) pending.emplace_back(i, hi);
    if (lo < j) pending.emplace_back(lo, j);
  }
}

}  // namespace sextant

#include "series/lod_index.h"

#include <algorithm>
#include <cmath>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

namespace sextant {

// Two lanes of two values each, so that the minimum and maximum of four
// values are taken per step; the rest one by one. The order in which the
// values are compared does not matter for finite values (only the sign of
// a zero could differ, and both zeros are the same number).
void TLodIndex::SpanMinMax(const double* Values, int First, int Last, double& Lo, double& Hi) {
  const double* v = Values + First;
  const int n = Last - First + 1;
  int i = 0;
  double lo = Lo;
  double hi = Hi;
#if defined(__SSE2__)
  if (n >= 4) {
    __m128d lo0 = _mm_set1_pd(lo);
    __m128d hi0 = _mm_set1_pd(hi);
    __m128d lo1 = lo0;
    __m128d hi1 = hi0;
    for (; i + 4 <= n; i += 4) {
      const __m128d a = _mm_loadu_pd(v + i);
      const __m128d b = _mm_loadu_pd(v + i + 2);
      lo0 = _mm_min_pd(lo0, a);
      lo1 = _mm_min_pd(lo1, b);
      hi0 = _mm_max_pd(hi0, a);
      hi1 = _mm_max_pd(hi1, b);
    }
    lo0 = _mm_min_pd(lo0, lo1);
    hi0 = _mm_max_pd(hi0, hi1);
    lo = _mm_cvtsd_f64(_mm_min_sd(lo0, _mm_unpackhi_pd(lo0, lo0)));
    hi = _mm_cvtsd_f64(_mm_max_sd(hi0, _mm_unpackhi_pd(hi0, hi0)));
  }
#endif
  for (; i < n; ++i) {
    lo = v[i] < lo ? v[i] : lo;
    hi = v[i] > hi ? v[i] : hi;
  }
  Lo = lo;
  Hi = hi;
}

// Bottom-up: the partial blocks at the two ends are read as spans, then at
// each level the blocks that do not start (or end) a block of the next
// level are taken, and the rest continues one level up.
bool TLodIndex::RangeMinMax(const double* Values, int From, int To, std::uint8_t Mask, double& Lo,
                            double& Hi) const {
  if (From > To || FLevels.empty()) return true;
  const std::int64_t a = FOrigin + From;
  const std::int64_t b = FOrigin + To;
  constexpr std::int64_t kLeafMask = (std::int64_t{1} << kLeafShift) - 1;
  const TLevel& leaves = FLevels[0];
  std::int64_t first = a >> kLeafShift;
  std::int64_t last = b >> kLeafShift;
  auto span = [&](std::int64_t Leaf, int SpanFirst, int SpanLast) {
    if (leaves.Flags[static_cast<std::size_t>(Leaf - leaves.Base)] & Mask) return false;
    SpanMinMax(Values, SpanFirst, SpanLast, Lo, Hi);
    return true;
  };
  if (first == last) return span(first, From, To);
  if ((a & kLeafMask) != 0) {
    if (!span(first, From, static_cast<int>(((first + 1) << kLeafShift) - 1 - FOrigin))) return false;
    ++first;
  }
  if ((b & kLeafMask) != kLeafMask) {
    if (!span(last, static_cast<int>((last << kLeafShift) - FOrigin), To)) return false;
    --last;
  }
  constexpr std::int64_t kFanMask = (std::int64_t{1} << kFanShift) - 1;
  const int top = Levels() - 1;
  for (int l = 0; first <= last; ++l) {
    const TLevel& level = FLevels[static_cast<std::size_t>(l)];
    auto take = [&](std::int64_t N) {
      const auto at = static_cast<std::size_t>(N - level.Base);
      if (level.Flags[at] & Mask) return false;
      Lo = std::min(Lo, level.Nodes[at].Lo);
      Hi = std::max(Hi, level.Nodes[at].Hi);
      return true;
    };
    if (l == top || last - first < kFanMask) {
      for (std::int64_t n = first; n <= last; ++n)
        if (!take(n)) return false;
      return true;
    }
    for (; (first & kFanMask) != 0; ++first)
      if (!take(first)) return false;
    for (; (last & kFanMask) != kFanMask; --last)
      if (!take(last)) return false;
    first >>= kFanShift;
    last >>= kFanShift;
  }
  return true;
}

void TLodIndex::Reset() {
  FLevels.clear();
  FOrigin = 0;
  FCount = 0;
}

std::size_t TLodIndex::MemoryBytes() const {
  std::size_t bytes = FLevels.capacity() * sizeof(TLevel);
  for (const TLevel& level : FLevels)
    bytes += level.Nodes.capacity() * sizeof(TLodNode) + level.Flags.capacity();
  return bytes;
}

// The blocks before the new origin stay in the vectors until they are half
// of them, so that dropping costs a constant per block on average.
void TLodIndex::DropFront(int Quantity) {
  FOrigin += Quantity;
  FCount = std::max(FCount - Quantity, 0);
  if (FCount == 0) {
    FLevels.clear();
    return;
  }
  for (int l = 0; l < Levels(); ++l) {
    TLevel& level = FLevels[static_cast<std::size_t>(l)];
    const std::int64_t stale = (FOrigin >> Shift(l)) - level.Base;
    if (stale <= 0) continue;
    if (static_cast<std::size_t>(stale) * 2 < level.Nodes.size()) continue;
    const auto cut = std::min(static_cast<std::size_t>(stale), level.Nodes.size());
    level.Nodes.erase(level.Nodes.begin(), level.Nodes.begin() + static_cast<std::ptrdiff_t>(cut));
    level.Flags.erase(level.Flags.begin(), level.Flags.begin() + static_cast<std::ptrdiff_t>(cut));
    level.Base += static_cast<std::int64_t>(cut);
  }
}

void TLodIndex::FitLevels() {
  const std::int64_t first = FOrigin;
  const std::int64_t last = FOrigin + FCount - 1;
  std::size_t needed = 1;
  while ((first >> Shift(static_cast<int>(needed) - 1)) != (last >> Shift(static_cast<int>(needed) - 1)))
    ++needed;
  FLevels.resize(needed);
  for (std::size_t l = 0; l < needed; ++l) {
    TLevel& level = FLevels[l];
    const int shift = Shift(static_cast<int>(l));
    if (level.Nodes.empty()) level.Base = first >> shift;
    const auto size = static_cast<std::size_t>((last >> shift) - level.Base + 1);
    level.Nodes.resize(size);
    level.Flags.resize(size);
  }
}

void TLodIndex::BuildLeaves(std::int64_t First, std::int64_t Last, const double* Values,
                            const TColor* Colors, int ColorCount) {
  TLevel& level = FLevels[0];
  const std::int64_t dataFirst = FOrigin;
  const std::int64_t dataLast = FOrigin + FCount - 1;
  for (std::int64_t n = First; n <= Last; ++n) {
    const std::int64_t a = std::max(n << kLeafShift, dataFirst) - FOrigin;
    const std::int64_t b = std::min(((n + 1) << kLeafShift) - 1, dataLast) - FOrigin;
    double lo = HUGE_VAL;
    double hi = -HUGE_VAL;
    bool special = false;
    for (std::int64_t i = a; i <= b; ++i) {
      const double v = Values[i];
      const bool finite = v - v == 0;  // NaN for infinities and NaN
      lo = finite && v < lo ? v : lo;
      hi = finite && v > hi ? v : hi;
      special |= !finite;
    }
    std::uint8_t flags = special ? lodNonFinite : 0;
    if (Colors) {
      const std::int64_t end = std::min<std::int64_t>(b, ColorCount - 1);
      for (std::int64_t i = a; i <= end; ++i)
        if (Colors[i] == clNone) {
          flags |= lodNull;
          break;
        }
    }
    const auto at = static_cast<std::size_t>(n - level.Base);
    level.Nodes[at] = TLodNode{lo, hi};
    level.Flags[at] = flags;
  }
}

void TLodIndex::BuildParents(int Level, std::int64_t First, std::int64_t Last) {
  TLevel& level = FLevels[static_cast<std::size_t>(Level)];
  const TLevel& below = FLevels[static_cast<std::size_t>(Level) - 1];
  const int shift = Shift(Level - 1);
  const std::int64_t childFirst = FOrigin >> shift;
  const std::int64_t childLast = (FOrigin + FCount - 1) >> shift;
  for (std::int64_t n = First; n <= Last; ++n) {
    const std::int64_t c0 = std::max(n << kFanShift, childFirst);
    const std::int64_t c1 = std::min(((n + 1) << kFanShift) - 1, childLast);
    double lo = HUGE_VAL;
    double hi = -HUGE_VAL;
    std::uint8_t flags = 0;
    for (std::int64_t c = c0; c <= c1; ++c) {
      const auto at = static_cast<std::size_t>(c - below.Base);
      lo = std::min(lo, below.Nodes[at].Lo);
      hi = std::max(hi, below.Nodes[at].Hi);
      flags |= below.Flags[at];
    }
    const auto at = static_cast<std::size_t>(n - level.Base);
    level.Nodes[at] = TLodNode{lo, hi};
    level.Flags[at] = flags;
  }
}

void TLodIndex::Sync(const double* Values, int Count, const TColor* Colors, int ColorCount,
                     TValueChanges& Changes) {
  if (Changes.Dropped > 0) {
    const std::int64_t dropped = std::min<std::int64_t>(Changes.Dropped, FCount);
    // Values appended and dropped before this index saw them only move the
    // origin.
    FOrigin += Changes.Dropped - dropped;
    DropFront(static_cast<int>(dropped));
    // The first block lost part of its values.
    if (FCount > 0) Changes.Edited(0);
  }
  // Everything from the first moved index on is rebuilt, and so is the
  // block in which the values seen so far end (it may have grown).
  int rebuildFrom = std::min({Changes.MovedFrom, FCount, Count});
  // Values removed at the end leave the last block with fewer values.
  if (rebuildFrom >= Count && Count < FCount) rebuildFrom = Count - 1;
  const int editFirst = Changes.EditFirst;
  const int editLast = std::min(Changes.EditLast, rebuildFrom - 1);
  Changes.Reset();
  const int levelsBefore = Levels();
  FCount = Count;
  if (Count <= 0) {
    FLevels.clear();
    FCount = 0;
    return;
  }
  FitLevels();
  const int newLevelsFrom = std::min(levelsBefore, Levels());

  auto leafOf = [this](int Index) { return (FOrigin + Index) >> kLeafShift; };
  struct TSpan {
    std::int64_t First, Last;
  } spans[2];
  int spanCount = 0;
  if (editFirst <= editLast) spans[spanCount++] = {leafOf(editFirst), leafOf(editLast)};
  if (rebuildFrom < Count) spans[spanCount++] = {leafOf(rebuildFrom), leafOf(Count - 1)};
  // Levels created just now are built whole.
  const int top = Levels() - 1;
  for (int s = 0; s < spanCount; ++s) {
    BuildLeaves(spans[s].First, spans[s].Last, Values, Colors, ColorCount);
    for (int l = 1; l <= top && l < std::max(newLevelsFrom, 1); ++l)
      BuildParents(l, spans[s].First >> (kFanShift * l), spans[s].Last >> (kFanShift * l));
  }
  for (int l = std::max(newLevelsFrom, 1); l <= top; ++l) {
    const TLevel& level = FLevels[static_cast<std::size_t>(l)];
    BuildParents(l, std::max(level.Base, FOrigin >> Shift(l)),
                 level.Base + static_cast<std::int64_t>(level.Nodes.size()) - 1);
  }
}

}  // namespace sextant

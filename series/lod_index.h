// Level-of-detail index over one list of values (the Y values of a fast
// line): per block of 64 values the smallest and the largest finite value
// and two flags, whether the block holds a value that is not finite and
// whether it holds a null point; eight blocks of one level make one block
// of the next, up to a single block over everything. Drawing with
// DrawAllPoints off reads these blocks instead of the points between the
// first and the last of a pixel column.
//
// Blocks sit at fixed positions counted from the first value ever held
// (the origin), so that values removed from the front (a ring window)
// only drop whole blocks and redo the one block they cut.
//
// The index is brought up to date by Sync, which reads only what changed:
// values appended since the last Sync, the blocks of values written in
// place, and everything from the first index where values were inserted or
// removed. It holds about 0.3 bytes per value (17 bytes per 64 values and
// a seventh of that for the levels above): under 4 % of the list it
// indexes, under 2 % of a point's X and Y.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

#include "platform/kel_types.h"
#include "series/value_changes.h"

namespace sextant {

struct TLodNode {
  double Lo;  // smallest finite value (Lo > Hi: none)
  double Hi;  // largest finite value
};

enum TLodFlag : std::uint8_t { lodNonFinite = 1, lodNull = 2 };

// What a walk does with a block (see Walk).
enum class TLodStep { Take, Split, Stop };

class TLodIndex {
 public:
  static constexpr int kLeafShift = 6;  // 64 values per block
  static constexpr int kFanShift = 3;   // 8 blocks per block of the next level

  // Brings the index up to date with Values[0..Count). Colors (ColorCount
  // entries, may be fewer than Count; missing ones are not null) are the
  // points' own colours; a point is null when its colour is clNone.
  // Changes tells what happened since the last Sync and is reset.
  void Sync(const double* Values, int Count, const TColor* Colors, int ColorCount,
            TValueChanges& Changes);
  // Forgets everything (the next Sync rebuilds).
  void Reset();

  int Count() const { return FCount; }
  int Levels() const { return static_cast<int>(FLevels.size()); }
  // Bytes held by the blocks (their storage capacity).
  std::size_t MemoryBytes() const;

  // Visits the values From..To (0 <= From, To < Count) in index order as a
  // sequence of whole blocks and single values. OnNode(const TLodNode&,
  // std::uint8_t Flags) is asked about each block that lies inside the
  // range: Take consumes it whole, Split visits its parts instead (a block
  // of the lowest level: its values), Stop ends the walk. OnPoint(int
  // Index) visits one value and returns false to end the walk. Returns false
  // when the walk was ended.
  template <typename NodeFn, typename PointFn>
  bool Walk(int From, int To, NodeFn&& OnNode, PointFn&& OnPoint) const {
    return WalkSpans(From, To, OnNode, [&](int First, int Last, std::uint8_t) {
      for (int i = First; i <= Last; ++i)
        if (!OnPoint(i)) return false;
      return true;
    });
  }

  // The same walk, with the values of a block of the lowest level that is
  // split or lies only partly inside the range handed over as one span:
  // OnSpan(int First, int Last, std::uint8_t Flags) gets the span's first
  // and last index and the flags of the whole block (a span of a block
  // without flags holds only finite values that are not null), and returns
  // false to end the walk. A caller reads a span with a tight loop over the
  // values instead of one call per value.
  template <typename NodeFn, typename SpanFn>
  bool WalkSpans(int From, int To, NodeFn&& OnNode, SpanFn&& OnSpan) const {
    if (From > To || FLevels.empty()) return true;
    const std::int64_t a = FOrigin + From;
    const std::int64_t b = FOrigin + To;
    int level = 0;
    const int top = Levels() - 1;
    while (level < top && (a >> Shift(level)) != (b >> Shift(level))) ++level;
    for (std::int64_t n = a >> Shift(level); n <= (b >> Shift(level)); ++n)
      if (!WalkNode(level, n, a, b, OnNode, OnSpan)) return false;
    return true;
  }

  // The smallest and largest of Values[First..Last] (First <= Last) into Lo
  // and Hi, for values that are all finite.
  static void SpanMinMax(const double* Values, int First, int Last, double& Lo, double& Hi);

  // The smallest and largest of Values[From..To] (the indexed values) into
  // Lo and Hi, from the fewest blocks that cover the range and the values
  // of the partial blocks at its ends, in no particular order. False, with
  // Lo and Hi in an unspecified state, as soon as a block it reads has a
  // flag in Mask: the caller then walks the range in order instead.
  bool RangeMinMax(const double* Values, int From, int To, std::uint8_t Mask, double& Lo, double& Hi) const;

 private:
  struct TLevel {
    std::int64_t Base = 0;  // block number of Nodes[0]
    std::vector<TLodNode> Nodes;
    std::vector<std::uint8_t> Flags;
  };

  static int Shift(int Level) { return kLeafShift + kFanShift * Level; }
  // Drops Quantity values from the front.
  void DropFront(int Quantity);
  // Recomputes blocks First..Last (block numbers) of level 0 from the values.
  void BuildLeaves(std::int64_t First, std::int64_t Last, const double* Values, const TColor* Colors,
                   int ColorCount);
  // Recomputes blocks First..Last of Level (>= 1) from the level below.
  void BuildParents(int Level, std::int64_t First, std::int64_t Last);
  // Sizes every level to the values Origin..Origin+Count-1.
  void FitLevels();

  template <typename NodeFn, typename SpanFn>
  bool WalkNode(int Level, std::int64_t N, std::int64_t A, std::int64_t B, NodeFn& OnNode,
                SpanFn& OnSpan) const {
    const std::int64_t dataFirst = FOrigin;
    const std::int64_t dataLast = FOrigin + FCount - 1;
    std::int64_t first = N << Shift(Level);
    std::int64_t last = first + (std::int64_t{1} << Shift(Level)) - 1;
    if (first < dataFirst) first = dataFirst;
    if (last > dataLast) last = dataLast;
    const TLevel& level = FLevels[static_cast<std::size_t>(Level)];
    const auto at = static_cast<std::size_t>(N - level.Base);
    if (first >= A && last <= B) {
      const TLodStep step = OnNode(level.Nodes[at], level.Flags[at]);
      if (step == TLodStep::Take) return true;
      if (step == TLodStep::Stop) return false;
    }
    const std::int64_t from = first > A ? first : A;
    const std::int64_t to = last < B ? last : B;
    if (Level == 0)
      return OnSpan(static_cast<int>(from - FOrigin), static_cast<int>(to - FOrigin), level.Flags[at]);
    const int below = Shift(Level - 1);
    for (std::int64_t c = from >> below; c <= (to >> below); ++c)
      if (!WalkNode(Level - 1, c, A, B, OnNode, OnSpan)) return false;
    return true;
  }

  std::vector<TLevel> FLevels;
  std::int64_t FOrigin = 0;  // position of value 0, counted from the first value ever held
  int FCount = 0;            // values indexed
};

}  // namespace sextant

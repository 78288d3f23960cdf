// The data every benchmark program draws: fixed-seed random walks and the
// chart size. Standard library only, so that the peer benchmark programs
// (built against other Qt versions, without the engine) compile the same
// generator and draw exactly the same points.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace sextant::bench {

// The application's chart size.
inline constexpr int KChartWidth = 817;
inline constexpr int KChartHeight = 433;

// The grid sizes.
inline const std::vector<long> KGridSizes{1000, 100000, 1000000, 10000000};
// The large-data size, measured for ours and QCustomPlot only.
inline constexpr long KLargeSize = 100000000;

// N random-walk points with X = 0 .. N-1, a fixed seed, and a fixed 5 %
// of them marked as null points for the null modes.
struct TWalk {
  std::vector<double> X;
  std::vector<double> Y;
  std::vector<unsigned char> Null;
};
// Built once per size and kept for the whole run.
const TWalk& RandomWalk(long N);

// FNV-1a over the bytes of X, Y and Null, as 16 hex digits: equal in two
// programs only when they draw the same points.
std::string WalkChecksum(const TWalk& Walk);

}  // namespace sextant::bench

// Exceptions raised by the engine for invalid arguments it checks.
// Drawing never raises; these come only from explicit setters and data
// operations, with fixed message texts.
#pragma once

#include <stdexcept>
#include <string>

namespace sextant {

class ChartException : public std::runtime_error {
 public:
  explicit ChartException(const std::string& message) : std::runtime_error(message) {}
};

class AxisException : public ChartException {
 public:
  explicit AxisException(const std::string& message) : ChartException(message) {}
};

// Raises ChartException for an index outside 0 .. Last of a list, with the
// message "<What> index <Index> out of bounds (0 to <Last>)." (the form of
// the series list's message).
[[noreturn]] inline void KelRaiseIndex(const std::string& What, long long Index, long long Last) {
  throw ChartException(What + " index " + std::to_string(Index) + " out of bounds (0 to " +
                       std::to_string(Last) + ").");
}

}  // namespace sextant

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

}  // namespace sextant

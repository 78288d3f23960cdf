// Unwinding out of an element whose own event handler took it out of its
// chart while the chart was working with it (painting it, passing it a
// mouse event).
#pragma once

namespace sextant {

// Thrown right after such a handler returned. The chart catches it, drops
// the rest of that element's work and goes on; it never leaves the chart.
struct EElementGone {};

// Marks a stretch of code (a chart's paint, its dispatch of mouse events to
// the tools) that catches EElementGone; outside one nothing is thrown.
class TElementGoneCatcher {
 public:
  TElementGoneCatcher() { ++FDepth; }
  ~TElementGoneCatcher() { --FDepth; }
  TElementGoneCatcher(const TElementGoneCatcher&) = delete;
  TElementGoneCatcher& operator=(const TElementGoneCatcher&) = delete;
  static bool Active() { return FDepth > 0; }

 private:
  static inline thread_local int FDepth = 0;
};

}  // namespace sextant

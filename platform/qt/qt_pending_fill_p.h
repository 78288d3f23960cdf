// The fill the Qt canvas holds back. Internal: not installed.
#pragma once

#include <cstdint>

namespace sextant {

// Opaque fills the Qt canvas dropped since the program started because a
// later fill hid them completely (see TQtHostCanvas::FillRect); tests read
// the difference around a drawing.
std::uint64_t HiddenFillsSkipped();

}  // namespace sextant

// How a position or margin is given: as a percentage of the room it is
// measured in, or in pixels.
#pragma once

namespace sextant {

enum TKelUnits { muPercent, muPixels };

}  // namespace sextant

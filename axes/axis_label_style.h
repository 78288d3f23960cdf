// Where an axis takes its label texts from: automatic, none, the scale's
// values, the series' marks or texts, or the points' values.
#pragma once

namespace sextant {

enum TAxisLabelStyle { talAuto, talNone, talValue, talMark, talText, talPointValue };

}  // namespace sextant

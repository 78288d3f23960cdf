// The host controls of the engine tests: the stand-in host as it is, and a
// focusable one without a canvas outside paints.
#pragma once

#include "platform/stand_in_host.h"

namespace sextant::testing {

using StandInHost = TStandInHost;

// A focusable host without a canvas outside paints.
struct FocusableHostWithoutCanvas : TStandInHost {
  FocusableHostWithoutCanvas() {
    Focusable = true;
    WithControlCanvas = false;
  }
};

}  // namespace sextant::testing

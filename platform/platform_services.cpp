#include "platform/platform_services.h"

#include <algorithm>
#include <chrono>

#include "platform/manual_timer.h"

namespace sextant {

TPlatformServices& KelPlatform() {
  static TPlatformServices services;
  return services;
}

std::unique_ptr<IHostTimer> KelCreateTimer() {
  if (KelPlatform().CreateTimer) return KelPlatform().CreateTimer();
  return std::make_unique<TManualTimer>();
}

TManualClock& TManualClock::Instance() {
  static TManualClock clock;
  return clock;
}

void TManualClock::Unregister(TManualTimer* t) {
  FTimers.erase(std::remove(FTimers.begin(), FTimers.end(), t), FTimers.end());
}

void TManualClock::Advance(int milliseconds) {
  const long long target = FNow + std::max(0, milliseconds);
  // Fire timers in time order until the target; a callback may change
  // intervals, enable or disable timers, or destroy them.
  for (;;) {
    TManualTimer* next = nullptr;
    long long due = 0;
    for (TManualTimer* t : FTimers) {
      if (!t->FEnabled || t->FInterval <= 0) continue;
      const long long d = t->FStart + t->FInterval;
      if (d <= target && (!next || d < due)) {
        next = t;
        due = d;
      }
    }
    if (!next) break;
    FNow = due;
    next->FStart = due;
    if (next->OnTimer) next->OnTimer();
  }
  FNow = target;
}

TManualTimer::TManualTimer() { TManualClock::Instance().Register(this); }
TManualTimer::~TManualTimer() { TManualClock::Instance().Unregister(this); }

void TManualTimer::SetInterval(int milliseconds) {
  FInterval = milliseconds;
  FStart = TManualClock::Instance().Now();
}

void TManualTimer::SetEnabled(bool enabled) {
  if (enabled && !FEnabled) FStart = TManualClock::Instance().Now();
  FEnabled = enabled;
}

}  // namespace sextant

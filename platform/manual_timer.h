// Timers driven by explicit time steps instead of the host's event loop.
// Used wherever no host timer factory is installed (tests, headless use):
// TManualClock::Advance(ms) fires every enabled timer whose interval has
// elapsed, in creation order, as often as it elapsed.
#pragma once

#include <vector>

#include "platform/platform_services.h"

namespace sextant {

class TManualTimer;

class TManualClock {
 public:
  static TManualClock& Instance();
  // Moves time forward by the given milliseconds, firing due timers.
  void Advance(int milliseconds);
  long long Now() const { return FNow; }

 private:
  friend class TManualTimer;
  void Register(TManualTimer* t) { FTimers.push_back(t); }
  void Unregister(TManualTimer* t);
  long long FNow = 0;
  std::vector<TManualTimer*> FTimers;
};

class TManualTimer : public IHostTimer {
 public:
  TManualTimer();
  ~TManualTimer() override;
  void SetInterval(int milliseconds) override;
  int Interval() const override { return FInterval; }
  void SetEnabled(bool enabled) override;
  bool Enabled() const override { return FEnabled; }

 private:
  friend class TManualClock;
  int FInterval = 1000;
  bool FEnabled = false;
  long long FStart = 0;  // clock time when the current interval began
};

}  // namespace sextant

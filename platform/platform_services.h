// Host services the engine reaches besides the canvas and the control:
// timers, the system font service, the per-user settings store, number
// format settings and the high-resolution counter.
//
// The host installs its implementations at start-up (KelPlatform()). Without
// a host the engine falls back to: manual timers (driven by tests), no font
// service ("Tahoma" 11), an empty settings store, point and comma
// separators, and std::chrono's steady clock as the counter.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

namespace sextant {

// A timer whose callback runs on the GUI thread.
class IHostTimer {
 public:
  virtual ~IHostTimer() = default;
  virtual void SetInterval(int milliseconds) = 0;
  virtual int Interval() const = 0;
  virtual void SetEnabled(bool enabled) = 0;
  virtual bool Enabled() const = 0;
  std::function<void()> OnTimer;
};

class ISystemFontService {
 public:
  virtual ~ISystemFontService() = default;
  virtual std::string DefaultFontFamily() const = 0;
  virtual float DefaultFontSize() const = 0;
};

// Read-only per-user settings.
class ISettingsStore {
 public:
  virtual ~ISettingsStore() = default;
  virtual std::optional<std::string> ReadString(const std::string& section,
                                                const std::string& key) const = 0;
};

// Separators used by the number format patterns.
struct TFormatSettings {
  std::string DecimalSeparator = ".";
  std::string ThousandSeparator = ",";
};

struct TPlatformServices {
  std::function<std::unique_ptr<IHostTimer>()> CreateTimer;  // empty: manual timers
  const ISystemFontService* FontService = nullptr;           // none: Tahoma 11
  const ISettingsStore* SettingsStore = nullptr;             // none: defaults
  TFormatSettings FormatSettings;
  std::function<std::uint64_t()> HighResCounter;  // empty: steady clock ticks
};

// The process-wide services (GUI thread only).
TPlatformServices& KelPlatform();

// A timer from the installed factory, or a manual timer.
std::unique_ptr<IHostTimer> KelCreateTimer();

}  // namespace sextant

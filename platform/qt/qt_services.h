// Qt implementations of the host services the engine reaches through
// KelPlatform(): timers on the GUI thread, the system font, the number
// format separators of the user's locale, the high-resolution counter and the
// per-user options store.
#pragma once

#include <QTimer>

#include <cstdint>
#include <memory>

#include "platform/platform_services.h"

namespace sextant {

// A QTimer-driven host timer: OnTimer runs on the GUI thread every Interval
// milliseconds while Enabled. A non-positive interval never fires (as with
// the manual timers). Changing the interval of a running timer restarts it.
class TQtTimer : public IHostTimer {
 public:
  TQtTimer();
  ~TQtTimer() override;
  void SetInterval(int milliseconds) override;
  int Interval() const override { return FInterval; }
  void SetEnabled(bool enabled) override;
  bool Enabled() const override { return FEnabled; }

 private:
  void Update();
  QTimer* FTimer;  // deleted later: the timer may be destroyed from its own callback
  int FInterval = 1000;
  bool FEnabled = false;
};

// The application's default font: family and size in pixels.
class TQtFontService : public ISystemFontService {
 public:
  std::string DefaultFontFamily() const override;
  float DefaultFontSize() const override;
};

// Decimal and group separators of the default QLocale.
TFormatSettings QtFormatSettings();

// Nanoseconds of the monotonic clock (differs from run to run).
std::uint64_t QtHighResCounter();

// Installs the Qt timer factory, font service, format settings, counter and
// the given options store into KelPlatform(). The objects must outlive their
// use; call from the GUI thread once a QApplication exists.
void InstallQtPlatformServices(const ISettingsStore* settingsStore);

}  // namespace sextant

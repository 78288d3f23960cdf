#include "platform/qt/qt_services.h"

#include <QApplication>
#include <QFont>
#include <QFontInfo>
#include <QLocale>
#include <QScreen>

#include <chrono>

namespace sextant {

TQtTimer::TQtTimer() : FTimer(new QTimer) {
  FTimer->setTimerType(Qt::PreciseTimer);
  QObject::connect(FTimer, &QTimer::timeout, [this] {
    if (OnTimer) OnTimer();
  });
}

TQtTimer::~TQtTimer() {
  FTimer->stop();
  QObject::disconnect(FTimer, nullptr, nullptr, nullptr);
  FTimer->deleteLater();
}

void TQtTimer::SetInterval(int milliseconds) {
  FInterval = milliseconds;
  Update();
}

void TQtTimer::SetEnabled(bool enabled) {
  if (enabled == FEnabled) return;
  FEnabled = enabled;
  Update();
}

void TQtTimer::Update() {
  if (FEnabled && FInterval > 0)
    FTimer->start(FInterval);  // (re)starts the interval
  else
    FTimer->stop();
}

std::string TQtFontService::DefaultFontFamily() const {
  return QFontInfo(QApplication::font()).family().toStdString();
}

float TQtFontService::DefaultFontSize() const {
  const QFont font = QApplication::font();
  if (font.pixelSize() > 0) return static_cast<float>(font.pixelSize());
  // Point sizes become pixels at the primary screen's logical DPI.
  qreal dpi = 96;
  if (const QScreen* screen = QGuiApplication::primaryScreen()) dpi = screen->logicalDotsPerInchY();
  return static_cast<float>(font.pointSizeF() * dpi / 72.0);
}

TFormatSettings QtFormatSettings() {
  const QLocale locale;
  TFormatSettings settings;
  settings.DecimalSeparator = locale.decimalPoint().toStdString();
  settings.ThousandSeparator = locale.groupSeparator().toStdString();
  return settings;
}

std::uint64_t QtHighResCounter() {
  return static_cast<std::uint64_t>(
      std::chrono::duration_cast<std::chrono::nanoseconds>(std::chrono::steady_clock::now().time_since_epoch())
          .count());
}

void InstallQtPlatformServices(const ISettingsStore* settingsStore) {
  static const TQtFontService fontService;
  TPlatformServices& services = KelPlatform();
  services.CreateTimer = [] { return std::make_unique<TQtTimer>(); };
  services.FontService = &fontService;
  services.SettingsStore = settingsStore;
  services.FormatSettings = QtFormatSettings();
  services.HighResCounter = &QtHighResCounter;
}

}  // namespace sextant

#include "platform/qt/qt_application.h"

#include <QImage>
#include <QMessageBox>
#include <QPixmap>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <cstdio>
#include <exception>

#include "platform/qt/qt_services.h"

namespace sextant {

TQtApplication* TQtApplication::FInstance = nullptr;

// ---- Form factor ---------------------------------------------------------------

Qt::ScreenOrientations TFormFactor::QtOrientations() const {
  Qt::ScreenOrientations result;
  const auto has = [this](TScreenOrientation o) { return (FOrientations >> static_cast<unsigned>(o)) & 1u; };
  if (has(TScreenOrientation::Portrait)) result |= Qt::PortraitOrientation;
  if (has(TScreenOrientation::Landscape)) result |= Qt::LandscapeOrientation;
  if (has(TScreenOrientation::InvertedPortrait)) result |= Qt::InvertedPortraitOrientation;
  if (has(TScreenOrientation::InvertedLandscape)) result |= Qt::InvertedLandscapeOrientation;
  return result;
}

// ---- Exception handling of the event loop -----------------------------------------

TQtGuiApplication::TQtGuiApplication(int& argc, char** argv) : QApplication(argc, argv) {}

bool TQtGuiApplication::notify(QObject* receiver, QEvent* event) {
  try {
    return QApplication::notify(receiver, event);
  } catch (const std::exception& e) {
    TQtApplication::ShowException(e.what());
  } catch (...) {
    TQtApplication::ShowException("Unknown exception");
  }
  return false;
}

bool TQtApplication::HasDisplay() {
  const QString platform = QGuiApplication::platformName();
  return !platform.isEmpty() && platform != QLatin1String("offscreen") && platform != QLatin1String("minimal");
}

void TQtApplication::ShowException(const std::string& message) {
  std::fprintf(stderr, "%s\n", message.c_str());
  std::fflush(stderr);
  if (!qApp || !HasDisplay()) return;
  // The box is opened from the event loop, not from inside the handler that
  // failed (which may be a paint), and only one at a time.
  static bool showing = false;
  if (showing) return;
  showing = true;
  QTimer::singleShot(0, qApp, [text = QString::fromStdString(message)] {
    QMessageBox::critical(nullptr, QGuiApplication::applicationDisplayName(), text);
    showing = false;
  });
}

void TQtApplication::ShowStartupException(const std::string& message) {
  std::fprintf(stderr, "%s\n", message.c_str());
  std::fflush(stderr);
  if (qApp && HasDisplay())
    QMessageBox::critical(nullptr, QGuiApplication::applicationDisplayName(), QString::fromStdString(message));
}

// ---- Application object ---------------------------------------------------------

TQtApplication::TQtApplication(int& argc, char** argv) : FApp(std::make_unique<TQtGuiApplication>(argc, argv)) {
  FInstance = this;
}

TQtApplication::~TQtApplication() {
  while (!FForms.empty()) {
    const std::function<void()> destroy = std::move(FForms.back().Destroy);
    FForms.pop_back();
    destroy();
  }
  // The services refer to objects that go away with this application.
  TPlatformServices& services = KelPlatform();
  services.CreateTimer = nullptr;
  services.FontService = nullptr;
  services.SettingsStore = nullptr;
  FInstance = nullptr;
}

void TQtApplication::Initialize() {
  if (!FSettings) FSettings = std::make_unique<TIniSettingsStore>();
  InstallQtPlatformServices(FSettings.get());
}

void TQtApplication::AddForm(QWidget* widget, std::function<void()> destroy) {
  FForms.push_back({widget, std::move(destroy)});
}

void TQtApplication::ShowMainForm() {
  QWidget* form = MainForm();
  if (!form) return;
  form->show();
  // Tell the window system which way the content is meant to be seen when
  // the application supports a single orientation.
  const Qt::ScreenOrientations orientations = FFormFactor.QtOrientations();
  if (QWindow* window = form->windowHandle()) {
    for (Qt::ScreenOrientation o : {Qt::PortraitOrientation, Qt::LandscapeOrientation,
                                    Qt::InvertedPortraitOrientation, Qt::InvertedLandscapeOrientation})
      if (orientations == Qt::ScreenOrientations(o)) window->reportContentOrientationChange(o);
  }
}

int TQtApplication::Run() {
  if (!MainForm()) return 0;
  ShowMainForm();
  return FApp->exec();
}

namespace {

// Calls back once after the first paint of the watched widget has finished.
class TFirstPaintWatcher : public QObject {
 public:
  TFirstPaintWatcher(QWidget* widget, std::function<void()> afterPaint)
      : FWidget(widget), FAfterPaint(std::move(afterPaint)) {
    widget->installEventFilter(this);
  }
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched == FWidget && event->type() == QEvent::Paint && FAfterPaint) {
      // The children paint in the same pass: act once it is over.
      QTimer::singleShot(0, this, std::move(FAfterPaint));
      FAfterPaint = nullptr;
    }
    return false;
  }

 private:
  QWidget* FWidget;
  std::function<void()> FAfterPaint;
};

}  // namespace

int TQtApplication::RunScreenshot(const QString& fileName, const char* Format) {
  QWidget* form = MainForm();
  if (!form) {
    std::fprintf(stderr, "screenshot: the application has no form\n");
    return 1;
  }
  int result = 1;
  TFirstPaintWatcher watcher(form, [&] {
    const QImage image = form->grab().toImage();
    if (image.isNull()) {
      std::fprintf(stderr, "screenshot: the window could not be captured\n");
      result = 1;
    } else if (!image.save(fileName, Format)) {
      std::fprintf(stderr, "screenshot: cannot write %s file '%s'\n", Format, fileName.toLocal8Bit().constData());
      result = 1;
    } else {
      result = 0;
    }
    QCoreApplication::exit(result);
  });
  // Never wait forever for a paint that does not come.
  QTimer timeout;
  timeout.setSingleShot(true);
  QObject::connect(&timeout, &QTimer::timeout, [&] {
    std::fprintf(stderr, "screenshot: the window was not painted within 30 seconds\n");
    result = 1;
    QCoreApplication::exit(1);
  });
  timeout.start(30000);
  ShowMainForm();
  FApp->exec();
  return result;
}

}  // namespace sextant

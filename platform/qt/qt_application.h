// The application object of the Qt host: start-up, the supported screen
// orientations, form creation, the message loop and the default handling of
// exceptions that escape event handlers.
#pragma once

#include <QApplication>

#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "platform/ini_settings_store.h"

class QWidget;

namespace sextant {

// Screen orientations; a set of them uses the values as bit positions.
enum class TScreenOrientation : std::uint8_t { Portrait = 0, Landscape = 1, InvertedPortrait = 2, InvertedLandscape = 3 };
using TScreenOrientations = std::uint8_t;

constexpr TScreenOrientations OrientationSet(std::initializer_list<TScreenOrientation> orientations) {
  TScreenOrientations set = 0;
  for (TScreenOrientation o : orientations) set |= static_cast<TScreenOrientations>(1u << static_cast<unsigned>(o));
  return set;
}

// The application's form factor: which orientations the forms support.
class TFormFactor {
 public:
  TScreenOrientations Orientations() const { return FOrientations; }
  void SetOrientations(TScreenOrientations orientations) { FOrientations = orientations; }
  // The same set as Qt orientations (for orientation hints to the window).
  Qt::ScreenOrientations QtOrientations() const;

 private:
  // Every orientation until the application restricts them.
  TScreenOrientations FOrientations = 0x0F;
};

// QApplication that reports exceptions escaping an event handler instead of
// letting them unwind through Qt's event loop: the message goes to stderr
// (and into a message box when a display exists) and the loop goes on.
class TQtGuiApplication : public QApplication {
 public:
  TQtGuiApplication(int& argc, char** argv);
  bool notify(QObject* receiver, QEvent* event) override;
};

class TQtApplication {
 public:
  // Creates the Qt application (argc and argv must outlive the object).
  TQtApplication(int& argc, char** argv);
  ~TQtApplication();
  TQtApplication(const TQtApplication&) = delete;
  TQtApplication& operator=(const TQtApplication&) = delete;

  // The running application object (null when none exists).
  static TQtApplication* Instance() { return FInstance; }

  // Installs the Qt platform services (timers, fonts, format settings, the
  // high-resolution counter, the per-user options file) into KelPlatform().
  void Initialize();

  TFormFactor& FormFactor() { return FFormFactor; }

  // Creates a form of class TForm (constructed with no owner) and stores it
  // in ref; the first form created is the main form. The application owns
  // and destroys the forms.
  template <class TForm>
  void CreateForm(TForm*& ref) {
    TForm* form = std::make_unique<TForm>().release();
    AddForm(form, [form] { delete form; });
    ref = form;
  }

  QWidget* MainForm() const { return FForms.empty() ? nullptr : FForms.front().Widget; }

  // Shows the main form and runs the message loop until it closes; returns
  // the loop's exit code.
  int Run();

  // Shows the main form, lets it paint once, saves its client area as an
  // image file in Qt's image format Format ("PNG", "JPG", "BMP") and returns
  // 0; on failure writes a message to stderr and returns 1.
  int RunScreenshot(const QString& fileName, const char* Format = "PNG");

  // True when windows appear on a real display (not offscreen/minimal).
  static bool HasDisplay();

  // Reports an exception that escaped an event handler the way the host
  // does: stderr, plus a message box (opened from the event loop) when a
  // display exists. The loop goes on.
  static void ShowException(const std::string& message);
  // Reports an exception that ended the start-up: stderr, plus a modal
  // message box when a display exists.
  static void ShowStartupException(const std::string& message);

 private:
  struct TFormEntry {
    QWidget* Widget;
    std::function<void()> Destroy;
  };
  void AddForm(QWidget* widget, std::function<void()> destroy);
  void ShowMainForm();

  static TQtApplication* FInstance;
  std::unique_ptr<TQtGuiApplication> FApp;
  std::unique_ptr<TIniSettingsStore> FSettings;
  TFormFactor FFormFactor;
  std::vector<TFormEntry> FForms;
};

}  // namespace sextant

// The Qt application object and the platform services it installs:
// orientations, services in KelPlatform(), GUI-thread timers, the main form,
// the screenshot run, and exceptions escaping event handlers.
//
// Each test owns its TQtApplication (one Qt application at a time).
#include "platform/qt/qt_application.h"

#include <QLocale>
#include <QPainter>
#include <QTest>
#include <QTimer>
#include <QWidget>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include <unistd.h>

#include "platform/ini_settings_store.h"
#include "platform/qt/qt_services.h"

namespace sextant {
namespace {

namespace fs = std::filesystem;

class QtApplicationTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FDir = fs::temp_directory_path() / ("sextant_app_" + std::to_string(::getpid()));
    fs::create_directories(FDir / "Sextant");
    ::setenv("XDG_CONFIG_HOME", FDir.c_str(), 1);
    FApp = std::make_unique<TQtApplication>(FArgc, FArgv);
  }
  void TearDown() override {
    FApp.reset();
    fs::remove_all(FDir);
  }

  int FArgc = 1;
  char FName[16] = "app_test";
  char* FArgv[2] = {FName, nullptr};
  fs::path FDir;
  std::unique_ptr<TQtApplication> FApp;
};

TEST(ScreenOrientations, SetsUseTheOrientationsAsBitPositions) {
  EXPECT_EQ(OrientationSet({TScreenOrientation::Landscape}), 2);
  EXPECT_EQ(OrientationSet({TScreenOrientation::Portrait, TScreenOrientation::InvertedLandscape}), 9);
  TFormFactor f;
  EXPECT_EQ(f.Orientations(), 15);  // all until restricted
  f.SetOrientations(OrientationSet({TScreenOrientation::Landscape}));
  EXPECT_EQ(f.QtOrientations(), Qt::ScreenOrientations(Qt::LandscapeOrientation));
  f.SetOrientations(OrientationSet({TScreenOrientation::Portrait, TScreenOrientation::InvertedPortrait}));
  EXPECT_EQ(f.QtOrientations(), Qt::PortraitOrientation | Qt::InvertedPortraitOrientation);
}

TEST_F(QtApplicationTest, InitializeInstallsThePlatformServices) {
  std::ofstream(FDir / "Sextant" / "Sextant.ini") << "[ChartEditor]\nDefaultPalette=5\n";
  QLocale::setDefault(QLocale(QLocale::German, QLocale::Germany));
  FApp->Initialize();
  QLocale::setDefault(QLocale::c());
  const TPlatformServices& s = KelPlatform();

  ASSERT_TRUE(s.CreateTimer);
  EXPECT_NE(dynamic_cast<TQtTimer*>(s.CreateTimer().get()), nullptr);
  EXPECT_NE(dynamic_cast<TQtTimer*>(KelCreateTimer().get()), nullptr);

  ASSERT_NE(s.FontService, nullptr);
  EXPECT_FALSE(s.FontService->DefaultFontFamily().empty());
  EXPECT_GT(s.FontService->DefaultFontSize(), 5);
  EXPECT_LT(s.FontService->DefaultFontSize(), 40);

  ASSERT_NE(s.SettingsStore, nullptr);
  EXPECT_EQ(ReadDefaultPalette(s.SettingsStore), 5);

  EXPECT_EQ(s.FormatSettings.DecimalSeparator, ",");
  EXPECT_EQ(s.FormatSettings.ThousandSeparator, ".");

  ASSERT_TRUE(s.HighResCounter);
  const auto a = s.HighResCounter();
  const auto b = s.HighResCounter();
  EXPECT_GT(a, 0u);
  EXPECT_GE(b, a);

  // The services go away with the application object.
  FApp.reset();
  EXPECT_FALSE(KelPlatform().CreateTimer);
  EXPECT_EQ(KelPlatform().SettingsStore, nullptr);
  EXPECT_EQ(KelPlatform().FontService, nullptr);
}

TEST_F(QtApplicationTest, FontServiceReportsTheApplicationFontInPixels) {
  QFont font("DejaVu Sans");
  font.setPixelSize(13);
  QApplication::setFont(font);
  TQtFontService service;
  EXPECT_EQ(service.DefaultFontFamily(), "DejaVu Sans");
  EXPECT_FLOAT_EQ(service.DefaultFontSize(), 13);
  font.setPointSize(9);  // points become pixels at the screen's DPI
  QApplication::setFont(font);
  const qreal dpi = QGuiApplication::primaryScreen()->logicalDotsPerInchY();
  EXPECT_NEAR(service.DefaultFontSize(), 9 * dpi / 72, 1e-4);
}

TEST_F(QtApplicationTest, TimersFireOnTheEventLoopWhileEnabled) {
  TQtTimer timer;
  int fired = 0;
  timer.OnTimer = [&] { ++fired; };
  EXPECT_EQ(timer.Interval(), 1000);
  EXPECT_FALSE(timer.Enabled());
  timer.SetInterval(5);
  QTest::qWait(30);
  EXPECT_EQ(fired, 0);  // not enabled
  timer.SetEnabled(true);
  QTRY_VERIFY_WITH_TIMEOUT(fired >= 2, 5000);
  timer.SetEnabled(false);
  const int stopped = fired;
  QTest::qWait(30);
  EXPECT_EQ(fired, stopped);

  timer.SetInterval(0);  // a non-positive interval never fires
  timer.SetEnabled(true);
  QTest::qWait(30);
  EXPECT_EQ(fired, stopped);
}

TEST_F(QtApplicationTest, ATimerMayBeDestroyedFromItsOwnCallback) {
  auto timer = std::make_unique<TQtTimer>();
  int fired = 0;
  timer->OnTimer = [&] {
    ++fired;
    timer.reset();
  };
  timer->SetInterval(1);
  timer->SetEnabled(true);
  QTRY_VERIFY_WITH_TIMEOUT(!timer, 5000);
  QTest::qWait(20);
  EXPECT_EQ(fired, 1);
}

class TThrowingObject : public QObject {
 public:
  bool event(QEvent* e) override {
    if (e->type() == QEvent::User) throw std::runtime_error("handler failed");
    return QObject::event(e);
  }
};

TEST_F(QtApplicationTest, ExceptionsFromEventHandlersAreReportedAndTheLoopGoesOn) {
  TThrowingObject object;
  ::testing::internal::CaptureStderr();
  QEvent event(QEvent::User);
  EXPECT_NO_THROW(QCoreApplication::sendEvent(&object, &event));
  const std::string err = ::testing::internal::GetCapturedStderr();
  EXPECT_NE(err.find("handler failed"), std::string::npos) << err;
  // Still usable afterwards.
  QEvent other(static_cast<QEvent::Type>(QEvent::User + 1));
  EXPECT_NO_THROW(QCoreApplication::sendEvent(&object, &other));
}

class TPlainForm : public QWidget {
 public:
  TPlainForm() {
    resize(120, 80);
    ++Count;
  }
  ~TPlainForm() override { --Count; }
  void paintEvent(QPaintEvent*) override {
    QPainter p(this);
    p.fillRect(rect(), QColor(10, 200, 30));
  }
  static inline int Count = 0;
};

TEST_F(QtApplicationTest, TheFirstFormIsTheMainFormAndTheApplicationOwnsForms) {
  EXPECT_EQ(FApp->MainForm(), nullptr);
  TPlainForm* first = nullptr;
  TPlainForm* second = nullptr;
  FApp->CreateForm(first);
  FApp->CreateForm(second);
  ASSERT_NE(first, nullptr);
  EXPECT_EQ(FApp->MainForm(), first);
  EXPECT_EQ(TPlainForm::Count, 2);
  FApp.reset();
  EXPECT_EQ(TPlainForm::Count, 0);
}

TEST_F(QtApplicationTest, RunShowsTheMainFormAndReturnsWhenItCloses) {
  TPlainForm* form = nullptr;
  FApp->CreateForm(form);
  bool wasVisible = false;
  QTimer::singleShot(50, form, [&] {
    wasVisible = form->isVisible();
    form->close();
  });
  EXPECT_EQ(FApp->Run(), 0);
  EXPECT_TRUE(wasVisible);
}

TEST_F(QtApplicationTest, ScreenshotRunSavesTheClientAreaAfterTheFirstPaint) {
  TPlainForm* form = nullptr;
  FApp->CreateForm(form);
  const QString file = QString::fromStdString((FDir / "shot.png").string());
  EXPECT_EQ(FApp->RunScreenshot(file), 0);
  const QImage image(file);
  ASSERT_FALSE(image.isNull());
  EXPECT_EQ(image.size(), QSize(120, 80));
  EXPECT_EQ(image.pixelColor(60, 40), QColor(10, 200, 30));
}

TEST_F(QtApplicationTest, ScreenshotToAnUnwritablePlaceFails) {
  TPlainForm* form = nullptr;
  FApp->CreateForm(form);
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(FApp->RunScreenshot(QString::fromStdString((FDir / "missing" / "shot.png").string())), 1);
  EXPECT_NE(::testing::internal::GetCapturedStderr().find("cannot write PNG file"), std::string::npos);
}

TEST_F(QtApplicationTest, WithoutAFormNothingRuns) {
  EXPECT_EQ(FApp->Run(), 0);
  ::testing::internal::CaptureStderr();
  EXPECT_EQ(FApp->RunScreenshot("x.png"), 1);
  EXPECT_NE(::testing::internal::GetCapturedStderr().find("no form"), std::string::npos);
}

}  // namespace
}  // namespace sextant

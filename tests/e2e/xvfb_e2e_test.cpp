// The real chartdemo binary in a real X server: the test starts Xvfb, runs
// the program, waits for its window, sends real input with xdotool, takes
// screenshots of the window through its own X connection and closes the
// window the way a window manager does (WM_DELETE_WINDOW).
#include <QGuiApplication>
#include <QImage>
#include <QPixmap>
#include <QProcess>
#include <QScreen>
#include <QStandardPaths>
#include <QThread>
#include <gtest/gtest.h>

#include <cstdlib>
#include <cstring>
#include <memory>

#include <sys/stat.h>
#include <xcb/xcb.h>

namespace {

// Runs a short helper command and returns its standard output.
QString RunTool(const QString& program, const QStringList& args, const QProcessEnvironment& env,
            int timeoutMs = 20000) {
  QProcess p;
  p.setProcessEnvironment(env);
  p.start(program, args);
  if (!p.waitForFinished(timeoutMs)) {
    p.kill();
    p.waitForFinished();
    return {};
  }
  return QString::fromLocal8Bit(p.readAllStandardOutput()).trimmed();
}

class XvfbChartdemo : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    const QString xvfb = QStandardPaths::findExecutable("Xvfb");
    const QString xdotool = QStandardPaths::findExecutable("xdotool");
    if (xvfb.isEmpty() || xdotool.isEmpty()) {
      FSkipReason = "Xvfb or xdotool is not installed (scripts/setup-debian.sh installs both)";
      return;
    }
    // A display number nobody uses.
    int display = -1;
    for (int n = 91; n < 140; ++n) {
      struct stat st;
      const std::string lock = "/tmp/.X" + std::to_string(n) + "-lock";
      const std::string sock = "/tmp/.X11-unix/X" + std::to_string(n);
      if (stat(lock.c_str(), &st) != 0 && stat(sock.c_str(), &st) != 0) {
        display = n;
        break;
      }
    }
    if (display < 0) {
      FSkipReason = "no free X display number";
      return;
    }
    FDisplay = ":" + QString::number(display);
    FXvfb = std::make_unique<QProcess>();
    FXvfb->start(xvfb, {FDisplay, "-screen", "0", "1600x900x24", "-nolisten", "tcp"});
    const std::string sock = "/tmp/.X11-unix/X" + std::to_string(display);
    struct stat st;
    for (int i = 0; i < 100 && stat(sock.c_str(), &st) != 0; ++i) QThread::msleep(50);
    if (stat(sock.c_str(), &st) != 0) {
      FSkipReason = "Xvfb could not start an X server";
      return;
    }
    qputenv("DISPLAY", FDisplay.toLocal8Bit());
    qputenv("QT_QPA_PLATFORM", "xcb");
    static int argc = 1;
    static char name[] = "xvfb_e2e_test";
    static char* argv[] = {name, nullptr};
    FApp = std::make_unique<QGuiApplication>(argc, argv);

    FEnv = QProcessEnvironment::systemEnvironment();
    FEnv.insert("DISPLAY", FDisplay);
    FEnv.insert("QT_QPA_PLATFORM", "xcb");
    FEnv.insert("XDG_CONFIG_HOME", QString(E2E_WORK_DIR) + "/config");
    FDemo = std::make_unique<QProcess>();
    FDemo->setProcessEnvironment(FEnv);
    FDemo->start(CHARTDEMO_PATH, {});
    FDemo->waitForStarted();
    const QString id =
        RunTool(xdotool, {"search", "--sync", "--onlyvisible", "--name", "^Form1$"}, FEnv);
    FWindow = id.section('\n', 0, 0).toULongLong();
    if (FWindow == 0) {
      FSkipReason = "the chartdemo window did not appear";
      return;
    }
    // Let the first paint happen.
    QThread::msleep(500);
    FApp->processEvents();
  }

  static void TearDownTestSuite() {
    if (FDemo && FDemo->state() != QProcess::NotRunning) {
      FDemo->kill();
      FDemo->waitForFinished();
    }
    FApp.reset();
    if (FXvfb) {
      FXvfb->terminate();
      FXvfb->waitForFinished(5000);
    }
  }

  void SetUp() override {
    if (!FSkipReason.isEmpty()) GTEST_SKIP() << FSkipReason.toStdString();
  }

  static QString Xdotool(const QStringList& args) {
    return RunTool(QStandardPaths::findExecutable("xdotool"), args, FEnv);
  }

  // Position and size of the window on the screen.
  static QRect WindowGeometry() {
    const QString out = Xdotool({"getwindowgeometry", "--shell", QString::number(FWindow)});
    int x = 0, y = 0, w = 0, h = 0;
    for (const QString& line : out.split('\n')) {
      const QString key = line.section('=', 0, 0), value = line.section('=', 1);
      if (key == "X") x = value.toInt();
      if (key == "Y") y = value.toInt();
      if (key == "WIDTH") w = value.toInt();
      if (key == "HEIGHT") h = value.toInt();
    }
    return {x, y, w, h};
  }

  // The window's client area as the X server shows it, once the program
  // has finished repainting after the last input (two equal grabs in a row;
  // a loaded machine may take a while).
  static QImage Screenshot() {
    const QRect g = WindowGeometry();
    auto grab = [&g] {
      FApp->processEvents();
      return FApp->primaryScreen()
          ->grabWindow(0, g.x(), g.y(), g.width(), g.height())
          .toImage()
          .convertToFormat(QImage::Format_ARGB32);
    };
    QThread::msleep(300);
    QImage last = grab();
    for (int i = 0; i < 40; ++i) {
      QThread::msleep(150);
      QImage next = grab();
      if (next == last) return next;
      last = std::move(next);
    }
    return last;
  }

  // Sends WM_DELETE_WINDOW, as a window manager's close button does.
  static void CloseWindow() {
    xcb_connection_t* c = xcb_connect(FDisplay.toLocal8Bit().constData(), nullptr);
    ASSERT_FALSE(xcb_connection_has_error(c));
    auto atom = [c](const char* n) {
      xcb_intern_atom_reply_t* r =
          xcb_intern_atom_reply(c, xcb_intern_atom(c, 0, std::strlen(n), n), nullptr);
      const xcb_atom_t a = r ? r->atom : static_cast<xcb_atom_t>(XCB_ATOM_NONE);
      std::free(r);
      return a;
    };
    xcb_client_message_event_t ev;
    std::memset(&ev, 0, sizeof ev);
    ev.response_type = XCB_CLIENT_MESSAGE;
    ev.format = 32;
    ev.window = static_cast<xcb_window_t>(FWindow);
    ev.type = atom("WM_PROTOCOLS");
    ev.data.data32[0] = atom("WM_DELETE_WINDOW");
    ev.data.data32[1] = XCB_CURRENT_TIME;
    xcb_send_event(c, 0, ev.window, XCB_EVENT_MASK_NO_EVENT, reinterpret_cast<const char*>(&ev));
    xcb_flush(c);
    xcb_disconnect(c);
  }

  static inline QString FSkipReason;
  static inline QString FDisplay;
  static inline QProcessEnvironment FEnv;
  static inline std::unique_ptr<QProcess> FXvfb;
  static inline std::unique_ptr<QProcess> FDemo;
  static inline std::unique_ptr<QGuiApplication> FApp;
  static inline unsigned long long FWindow = 0;
};

// Counts the pixels that differ inside a rectangle of two screenshots.
int DifferingPixels(const QImage& a, const QImage& b, const QRect& r) {
  int n = 0;
  for (int y = r.top(); y <= r.bottom(); ++y)
    for (int x = r.left(); x <= r.right(); ++x)
      if (a.pixel(x, y) != b.pixel(x, y)) ++n;
  return n;
}

// The plot area of the chart inside the window's client area.
const QRect kChartInterior(40 + 30, 96 + 30, 817 - 60, 433 - 90);

TEST_F(XvfbChartdemo, WindowAppearsWhereItsDescriptionPlacesIt) {
  const QRect g = WindowGeometry();
  EXPECT_EQ(g.size(), QSize(956, 585));
  EXPECT_EQ(g.topLeft(), QPoint(600, 180));
  const QImage shot = Screenshot();
  ASSERT_EQ(shot.size(), QSize(956, 585));
  // The chart's raised bevel: white at its left edge, grey at its right edge.
  EXPECT_EQ(shot.pixel(40, 300), 0xFFFFFFFFu);
  EXPECT_EQ(shot.pixel(856, 300), 0xFFA0A0A0u);
  // The series line in palette colour 13 shows somewhere in the plot.
  int lineColoured = 0;
  for (int y = kChartInterior.top(); y <= kChartInterior.bottom(); ++y)
    for (int x = kChartInterior.left(); x <= kChartInterior.right(); ++x)
      if (qRed(shot.pixel(x, y)) < 0x80 && qBlue(shot.pixel(x, y)) > 0x90) ++lineColoured;
  EXPECT_GT(lineColoured, 100);
}

// A point of the window's client area on the screen, as xdotool wants it.
QStringList ScreenPoint(const QRect& window, int x, int y) {
  return {QString::number(window.x() + x), QString::number(window.y() + y)};
}

TEST_F(XvfbChartdemo, RightDragPansTheLine) {
  const QRect g = WindowGeometry();
  const QImage before = Screenshot();
  Xdotool(QStringList{"mousemove"} + ScreenPoint(g, 40 + 500, 96 + 200));
  Xdotool({"mousedown", "3"});
  for (int step = 1; step <= 10; ++step)
    Xdotool(QStringList{"mousemove"} + ScreenPoint(g, 40 + 500 - step * 25, 96 + 200 + step * 3));
  Xdotool({"mouseup", "3"});
  const QImage after = Screenshot();
  EXPECT_GT(DifferingPixels(before, after, kChartInterior), 500);
}

TEST_F(XvfbChartdemo, WheelUpPansTheLine) {
  const QRect g = WindowGeometry();
  Xdotool(QStringList{"mousemove"} + ScreenPoint(g, 40 + 400, 96 + 200));
  const QImage before = Screenshot();
  Xdotool({"click", "4"});
  const QImage after = Screenshot();
  EXPECT_GT(DifferingPixels(before, after, kChartInterior), 200);
}

TEST_F(XvfbChartdemo, ButtonMovesTheValueTextsOntoTheCircles) {
  const QRect g = WindowGeometry();
  const QImage before = Screenshot();
  Xdotool(QStringList{"mousemove"} + ScreenPoint(g, 328 + 110, 32 + 23));
  Xdotool({"click", "1"});
  const QImage after = Screenshot();
  EXPECT_GT(DifferingPixels(before, after, kChartInterior), 50);
  // The chart itself stays where it is: its bevel is unchanged.
  EXPECT_EQ(DifferingPixels(before, after, QRect(40, 96, 817, 1)), 0);
}

// Runs last: closing the window ends the process with exit code 0.
TEST_F(XvfbChartdemo, ZClosingTheWindowEndsTheProcessWithExitCode0) {
  CloseWindow();
  ASSERT_TRUE(FDemo->waitForFinished(20000)) << "chartdemo did not end after the close request";
  EXPECT_EQ(FDemo->exitStatus(), QProcess::NormalExit);
  EXPECT_EQ(FDemo->exitCode(), 0);
}

}  // namespace

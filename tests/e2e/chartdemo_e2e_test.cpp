// The real chartdemo binary, run offscreen: its screenshot shows the window
// of 956 x 585 with the button and the chart panel at their stored places,
// and its command line is checked.
#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QProcess>
#include <gtest/gtest.h>

#include <memory>

#include <unistd.h>

namespace {

struct TRun {
  int ExitCode = -1;
  QString StdErr;
};

TRun RunChartdemo(const QStringList& arguments) {
  QProcess process;
  QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
  env.insert("QT_QPA_PLATFORM", "offscreen");
  // No per-user options from the machine running the tests.
  env.insert("XDG_CONFIG_HOME", QString(E2E_WORK_DIR) + "/config");
  process.setProcessEnvironment(env);
  process.start(CHARTDEMO_PATH, arguments);
  TRun run;
  if (!process.waitForFinished(90000)) {
    process.kill();
    process.waitForFinished();
    run.StdErr = "chartdemo did not finish";
    return run;
  }
  run.ExitCode = process.exitStatus() == QProcess::NormalExit ? process.exitCode() : -1;
  run.StdErr = QString::fromLocal8Bit(process.readAllStandardError());
  return run;
}

// The screenshot is taken once for all checks of this suite.
class ChartdemoScreenshot : public ::testing::Test {
 protected:
  static void SetUpTestSuite() {
    // One file per test process: CTest may run the checks in parallel.
    const QString file = QString(E2E_WORK_DIR) + "/chartdemo_e2e_" + QString::number(::getpid()) + ".png";
    QFile::remove(file);
    FRun = RunChartdemo({"--screenshot", file});
    FImage = QImage(file).convertToFormat(QImage::Format_ARGB32);
    QFile::remove(file);
  }
  static quint32 Px(int x, int y) { return FImage.pixel(x, y); }

  static inline TRun FRun;
  static inline QImage FImage;
};

constexpr quint32 kWhite = 0xFFFFFFFF;
constexpr quint32 kBevelDark = 0xFFA0A0A0;
constexpr quint32 kPanel = 0xFFF0F0F0;

TEST_F(ChartdemoScreenshot, ExitsWithZeroAndWritesTheClientArea) {
  EXPECT_EQ(FRun.ExitCode, 0) << FRun.StdErr.toStdString();
  ASSERT_FALSE(FImage.isNull());
  EXPECT_EQ(FImage.width(), 956);
  EXPECT_EQ(FImage.height(), 585);
}

// Chart1 at (40, 96), 817 x 433: a raised one-pixel bevel, white on the top
// and left edges, grey on the right and bottom edges, the panel colour inside.
TEST_F(ChartdemoScreenshot, ChartPanelBevelIsAtTheStoredPlace) {
  ASSERT_FALSE(FImage.isNull());
  const int left = 40, top = 96, right = 40 + 817 - 1, bottom = 96 + 433 - 1;
  for (int y = top; y < bottom; ++y) ASSERT_EQ(Px(left, y), kWhite) << "left edge, y " << y;
  for (int x = left; x < right; ++x) ASSERT_EQ(Px(x, top), kWhite) << "top edge, x " << x;
  for (int y = top; y <= bottom; ++y) ASSERT_EQ(Px(right, y), kBevelDark) << "right edge, y " << y;
  for (int x = left; x <= right; ++x) ASSERT_EQ(Px(x, bottom), kBevelDark) << "bottom edge, x " << x;
  EXPECT_EQ(Px(left + 1, top + 1), kPanel);
  EXPECT_EQ(Px(right - 1, bottom - 1), kPanel);
  EXPECT_EQ(Px(left + 1, bottom - 1), kPanel);
  // Nothing of the chart outside its rectangle.
  for (int y = top; y <= bottom; y += 7) {
    EXPECT_NE(Px(left - 1, y), kWhite) << y;
    EXPECT_NE(Px(right + 1, y), kBevelDark) << y;
  }
  for (int x = left; x <= right; x += 7) {
    EXPECT_NE(Px(x, top - 1), kWhite) << x;
    EXPECT_NE(Px(x, bottom + 1), kBevelDark) << x;
  }
}

// Button1 at (328, 32), 225 x 46: everything drawn above the chart lies in
// the button's rectangle, the button reaches its edges, and its caption is
// inside.
TEST_F(ChartdemoScreenshot, ButtonIsAtTheStoredPlaceWithItsCaption) {
  ASSERT_FALSE(FImage.isNull());
  const quint32 background = Px(2, 2);
  int minX = FImage.width(), minY = FImage.height(), maxX = -1, maxY = -1;
  for (int y = 0; y < 90; ++y)
    for (int x = 0; x < FImage.width(); ++x)
      if (Px(x, y) != background) {
        minX = std::min(minX, x);
        minY = std::min(minY, y);
        maxX = std::max(maxX, x);
        maxY = std::max(maxY, y);
      }
  // The style may draw a one-pixel shadow or focus frame around the face.
  EXPECT_NEAR(minX, 328, 1);
  EXPECT_NEAR(minY, 32, 1);
  EXPECT_NEAR(maxX, 328 + 225 - 1, 1);
  EXPECT_NEAR(maxY, 32 + 46 - 1, 1);
  int ink = 0;
  for (int y = 32 + 8; y < 32 + 46 - 8; ++y)
    for (int x = 328 + 4; x < 328 + 225 - 4; ++x) ink += qGray(Px(x, y)) < 100;
  EXPECT_GT(ink, 100) << "the caption is missing";
}

// The generator is seeded from the high-resolution counter at start-up, so
// two runs show different sample data: their plots differ.
TEST(ChartdemoRuns, TwoRunsShowDifferentSampleData) {
  QImage shots[2];
  for (int i = 0; i < 2; ++i) {
    const QString file = QString(E2E_WORK_DIR) + "/chartdemo_run" + QString::number(i) + "_" +
                         QString::number(::getpid()) + ".png";
    ASSERT_EQ(RunChartdemo({"--screenshot", file}).ExitCode, 0);
    shots[i] = QImage(file).convertToFormat(QImage::Format_ARGB32);
    QFile::remove(file);
  }
  ASSERT_EQ(shots[0].size(), shots[1].size());
  int differing = 0;
  for (int y = 96 + 40; y < 96 + 380; ++y)
    for (int x = 40 + 60; x < 40 + 800; ++x) differing += shots[0].pixel(x, y) != shots[1].pixel(x, y);
  EXPECT_GT(differing, 500);
}

TEST(ChartdemoCommandLine, OtherArgumentsGiveUsageAndExitCode2) {
  const QStringList cases[] = {{"--help"}, {"--screenshot"}, {"x.png"}, {"--screenshot", "a.png", "b"},
                               {"--screenshot", ""}, {"--Screenshot", "a.png"}};
  for (const QStringList& arguments : cases) {
    const TRun run = RunChartdemo(arguments);
    EXPECT_EQ(run.ExitCode, 2) << arguments.join(' ').toStdString();
    EXPECT_TRUE(run.StdErr.contains("usage: chartdemo [--screenshot FILE]")) << run.StdErr.toStdString();
  }
}

// The suffix of the screenshot file names its format; the file holds that
// format (by its signature), whatever the letter case of the suffix.
TEST(ChartdemoCommandLine, ScreenshotIsWrittenInTheFormatItsSuffixNames) {
  const struct {
    const char* name;
    QByteArray signature;
  } cases[] = {
      {"shot.png", QByteArray("\x89PNG\r\n\x1a\n", 8)},
      {"shot.jpg", QByteArray("\xFF\xD8\xFF", 3)},
      {"shot.JPEG", QByteArray("\xFF\xD8\xFF", 3)},
      {"shot.bmp", QByteArray("BM", 2)},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    const QString file = QString(E2E_WORK_DIR) + "/" + QString::number(::getpid()) + "_" + c.name;
    QFile::remove(file);
    const TRun run = RunChartdemo({"--screenshot", file});
    EXPECT_EQ(run.ExitCode, 0) << run.StdErr.toStdString();
    QFile written(file);
    ASSERT_TRUE(written.open(QIODevice::ReadOnly));
    EXPECT_TRUE(written.read(c.signature.size()) == c.signature);
    written.close();
    EXPECT_EQ(QImage(file).size(), QSize(956, 585));
    QFile::remove(file);
  }
}

// An unknown suffix is refused before the window starts: a message naming
// the file and the known suffixes, exit code 2, and no file.
TEST(ChartdemoCommandLine, UnknownScreenshotSuffixIsRefused) {
  const char* names[] = {"shot.gif", "shot", "shot.png.txt", "dir.png/shot", "shot."};
  for (const char* name : names) {
    SCOPED_TRACE(name);
    const QString file = QString(E2E_WORK_DIR) + "/" + name;
    const TRun run = RunChartdemo({"--screenshot", file});
    EXPECT_EQ(run.ExitCode, 2);
    EXPECT_TRUE(run.StdErr.contains("unknown image suffix (use .png, .jpg, .jpeg, .bmp)")) << run.StdErr.toStdString();
    EXPECT_TRUE(run.StdErr.contains(file)) << run.StdErr.toStdString();
    EXPECT_FALSE(QFile::exists(file));
  }
}

TEST(ChartdemoCommandLine, UnwritableScreenshotFileGivesAMessageAndExitCode1) {
  const QString file = QString(E2E_WORK_DIR) + "/no/such/dir/shot.png";
  const TRun run = RunChartdemo({"--screenshot", file});
  EXPECT_EQ(run.ExitCode, 1);
  EXPECT_TRUE(run.StdErr.contains("cannot write PNG file")) << run.StdErr.toStdString();
  EXPECT_TRUE(run.StdErr.contains(file)) << run.StdErr.toStdString();
}

}  // namespace

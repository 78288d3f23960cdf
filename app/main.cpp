// chartdemo: the program entry.
//
//   chartdemo                     opens the window and runs until it closes
//   chartdemo --screenshot FILE   starts the same way, lets the window paint
//                                 once, saves its client area and exits; the
//                                 suffix of FILE names the format: .png,
//                                 .jpg or .jpeg, .bmp
//
// Exit codes: 0 success, 1 start-up failure or screenshot not written,
// 2 wrong command line (also a screenshot file of an unknown suffix).
#include <QString>

#include <cstdio>
#include <exception>
#include <string>

#include "app/screenshot_format.h"
#include "app/unit1.h"
#include "canvas/canvas3d.h"
#include "axes/chart_axis.h"
#include "canvas/font.h"
#include "panel/axis_panel.h"
#include "platform/qt/qt_application.h"
#include "series/kel_random.h"

namespace {

// The start-up state of the chart engine's modules, set once before any
// window exists. Every engine module with start-up state is initialised
// here, in this one place.
void InitializeEngineModules() {
  sextant::InstallDefaultPalette();  // the module palette of 20 colours
  sextant::KelCanvasClasses();  // the list of canvas classes: TKelCanvas3D
  sextant::KelMaxPixelPos = 32767;  // bound of every computed pixel position
  sextant::KelRandomize();      // sample data differ from run to run
  sextant::KelDefaultFont();    // reference font family and size
}

void Usage() { std::fprintf(stderr, "usage: chartdemo [--screenshot FILE]\n"); }

}  // namespace

int main(int argc, char** argv) {
  using namespace sextant;

  // The command line takes nothing but the optional screenshot request.
  QString screenshot;
  const char* screenshotFormat = nullptr;
  if (argc == 3 && std::string(argv[1]) == "--screenshot" && argv[2][0] != '\0') {
    screenshot = QString::fromLocal8Bit(argv[2]);
    // Refused before anything starts, rather than after a window was shown.
    screenshotFormat = ScreenshotFormat(argv[2]);
    if (!screenshotFormat) {
      std::fprintf(stderr, "chartdemo: cannot save a screenshot as '%s': unknown image suffix (use %s)\n",
                   argv[2], KelScreenshotSuffixes);
      return 2;
    }
  } else if (argc != 1) {
    Usage();
    return 2;
  }
  int qtArgc = 1;  // Qt sees no arguments of ours

  TQtApplication Application(qtArgc, argv);
  try {
    // The platform services come first: the engine's start-up reads the
    // system font and the high-resolution counter through them.
    Application.Initialize();
    InitializeEngineModules();
    Application.FormFactor().SetOrientations(OrientationSet({TScreenOrientation::Landscape}));
    TForm1* Form1 = nullptr;
    Application.CreateForm(Form1);
    if (!screenshot.isEmpty()) return Application.RunScreenshot(screenshot, screenshotFormat);
    Application.Run();
    return 0;
  } catch (const std::exception& e) {
    TQtApplication::ShowStartupException(e.what());
  } catch (...) {
    TQtApplication::ShowStartupException("Unknown exception");
  }
  return 1;
}

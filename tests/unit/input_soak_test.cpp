// A long random sequence of mouse input on a chart with a scroll bar:
// presses, moves, releases and wheel turns with every button, inside and
// outside the control, interleaved with paints, page changes and timer
// ticks. Whatever happens, no exception escapes, every axis keeps finite
// ordered ends, the plot rectangle keeps a non-negative size, and once all
// buttons are up no drag is left active.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <set>
#include <sstream>

#include "axes/chart_axis.h"
#include "chart_fixture.h"
#include "panel/zoom_panning.h"
#include "platform/manual_timer.h"
#include "tools/axis_scroll_bar.h"

using namespace sextant;
using sextant::testing::BlankChartTest;

namespace {

struct SoakSettings {
  const char* name;
  bool allowZoom;
  TPanningMode panning;
  bool insideBounds;
  bool keepAspect;
  bool verticalBar;
};

class InputSoakTest : public BlankChartTest, public ::testing::WithParamInterface<SoakSettings> {
 protected:
  void CheckInvariants(const std::string& Where) {
    for (TChartAxis* a : chart.Axes()) {
      ASSERT_TRUE(std::isfinite(a->Minimum()) && std::isfinite(a->Maximum()))
          << Where << " axis " << a->AxisID();
      ASSERT_LE(a->Minimum(), a->Maximum()) << Where << " axis " << a->AxisID();
    }
    ASSERT_GE(chart.ChartRect.Width(), 0) << Where;
    ASSERT_GE(chart.ChartRect.Height(), 0) << Where;
  }
};

TEST_P(InputSoakTest, RandomInputKeepsTheChartSound) {
  const SoakSettings& settings = GetParam();
  const unsigned seed = 20240611u;
  SCOPED_TRACE("seed " + std::to_string(seed) + ", " + settings.name);
  std::mt19937 random(seed);
  auto pick = [&](int lo, int hi) { return std::uniform_int_distribution<int>(lo, hi)(random); };

  auto* line = AddLine(0);
  for (int i = 0; i < 100; ++i) line->AddXY(i, 10 + (i * 37) % 23);
  chart.SetMaxPointsPerPage(10);
  chart.SetPage(10);
  chart.SetAllowZoom(settings.allowZoom);
  chart.SetAllowPanning(settings.panning);
  chart.Panning()->SetInsideBounds(settings.insideBounds);
  chart.Zoom()->SetKeepAspectRatio(settings.keepAspect);
  chart.Zoom()->SetHistory(true);
  auto* bar = new TAxisScrollBarTool();
  bar->SetParentChart(&chart);
  if (settings.verticalBar) bar->SetAxis(chart.LeftAxis());
  bar->SetThumbSize(20);
  bar->SetMinThumbSize(1);
  bar->SetPosition(60);

  const TMouseButton buttons[] = {TMouseButton::mbLeft, TMouseButton::mbRight,
                                  TMouseButton::mbMiddle};
  const TShiftState shifts[] = {0, ssShift, ssCtrl, ssAlt, ssDouble, ssShift | ssCtrl};
  std::set<int> down;
  auto position = [&]() {
    // Mostly inside the control, sometimes well outside it.
    if (pick(0, 9) == 0) return TPointF{static_cast<float>(pick(-300, 700)), static_cast<float>(pick(-300, 600))};
    return TPointF{static_cast<float>(pick(0, 400)) + pick(0, 3) * 0.25f,
                   static_cast<float>(pick(0, 300)) + pick(0, 3) * 0.25f};
  };

  chart.HostPaint(rec);
  // How often the sequence really dragged, so that the run means something.
  int drags = 0, barDrags = 0, moved = 0;
  for (int step = 0; step < 6000; ++step) {
    const std::string where = "step " + std::to_string(step);
    const int action = pick(0, 99);
    const TShiftState shift = shifts[pick(0, 5)];
    try {
      if (action < 15) {
        const int b = pick(0, 2);
        TPointF p = position();
        if (pick(0, 2) == 0) {
          // A press somewhere on the scroll bar of the last paint.
          const TRectF m = bar->MainRectangle();
          p = {m.Left + static_cast<float>(pick(0, 1000)) / 1000 * m.Width(),
               m.Top + static_cast<float>(pick(0, 1000)) / 1000 * m.Height()};
        }
        down.insert(b);
        chart.HostMouseDown(buttons[b], shift, p.X, p.Y);
      } else if (action < 55) {
        const TPointF p = position();
        chart.HostMouseMove(shift, p.X, p.Y);
      } else if (action < 68) {
        const int b = pick(0, 2);
        const TPointF p = position();
        down.erase(b);
        chart.HostMouseUp(buttons[b], shift, p.X, p.Y);
      } else if (action < 76) {
        host.CursorPosition = position();
        chart.HostMouseWheel(shift, pick(0, 1) ? 120 : -120);
      } else if (action < 90) {
        rec.ClearOps();
        chart.HostPaint(rec);
      } else if (action < 93) {
        chart.SetPage(pick(-1, 12));
      } else if (action < 96) {
        TManualClock::Instance().Advance(pick(0, 400));
      } else if (action < 97) {
        chart.HostMouseLeave();
      } else if (action < 98) {
        chart.UndoZoom();
      } else {
        chart.ZoomPercent(pick(50, 150));
      }
    } catch (const std::exception& e) {
      FAIL() << where << ": exception " << e.what();
    }
    CheckInvariants(where);
    if (::testing::Test::HasFatalFailure()) return;
    drags += chart.Zoom()->Active() || chart.Panning()->Active();
    barDrags += bar->In() != spNone;
    moved += !chart.BottomAxis()->Automatic() || !chart.LeftAxis()->Automatic();
  }
  EXPECT_GT(drags, 100);
  EXPECT_GT(barDrags, 10);
  EXPECT_GT(moved, 100);

  for (int b = 0; b < 3; ++b) chart.HostMouseUp(buttons[b], 0, 10, 10);
  TManualClock::Instance().Advance(1000);
  chart.HostPaint(rec);
  CheckInvariants("end");
  EXPECT_FALSE(chart.Zoom()->Active());
  EXPECT_FALSE(chart.Panning()->Active());
  EXPECT_EQ(bar->In(), spNone);
  EXPECT_TRUE(bar->Timer() == nullptr || !bar->Timer()->Enabled());
}

INSTANTIATE_TEST_SUITE_P(
    Settings, InputSoakTest,
    ::testing::Values(SoakSettings{"application", false, pmHorizontal, false, false, false},
                      SoakSettings{"zoom and both", true, pmBoth, false, false, false},
                      SoakSettings{"inside bounds, aspect", true, pmVertical, true, true, true}),
    [](const ::testing::TestParamInfo<SoakSettings>& info) {
      std::string n = info.param.name;
      std::string out;
      for (char c : n)
        if (std::isalnum(static_cast<unsigned char>(c))) out += c;
      return out;
    });

}  // namespace

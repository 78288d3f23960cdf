// Fuzz target: sequences of mouse and wheel input on a chart with an axis
// scroll bar, driven by the fuzzer's bytes.
//
// A chart of a fuzz-chosen size with one fast line series and an axis
// scroll bar tool (bottom or left axis, thumb size, resizing, arrows,
// auto-repeat), zoom and panning settings (AllowZoom, AllowPanning modes,
// InsideBounds, aspect ratio, history, zoom direction and buttons, wheel
// styles, animation), then up to 400 steps: presses (every button and
// shift state, inside or outside the control, huge or negative positions,
// on the scroll bar's parts), moves, releases, double clicks, wheel turns,
// interleaved with paints, page changes, data changes (add, clear, delete
// one or a range, with indices out of range), timer ticks, resizes, mouse
// leave, zoom undo and zoom by percent, and changes of those settings.
//
// Checks after every step: only ChartException escapes, and only from the
// data operations given a bad index (then the point count is unchanged);
// every axis has finite ends with Minimum <= Maximum; ChartRect has a
// non-negative size; every coordinate of a paint is finite. At the end, once
// every button is released, no zoom or panning drag and no scroll bar drag
// is active and the scroll bar's repeat timer is stopped.
#include <cstdint>
#include <exception>
#include <limits>
#include <string>

#include "fuzz/fuzz_chart_support.h"
#include "fuzz/fuzz_support.h"
#include "panel/chart.h"
#include "panel/zoom_panning.h"
#include "platform/manual_timer.h"
#include "platform/recording_canvas.h"
#include "series/fast_line_series.h"
#include "tools/axis_scroll_bar.h"

using namespace sextant;

namespace {

const TMouseButton kButtons[] = {TMouseButton::mbLeft, TMouseButton::mbRight, TMouseButton::mbMiddle};

TShiftState PickShift(TFuzzInput& in) {
  static const TShiftState kShifts[] = {0, ssShift, ssCtrl, ssAlt, ssDouble, ssShift | ssCtrl, ssLeft, ssRight};
  const std::uint8_t k = in.Byte();
  if (k < 240) return kShifts[k % std::size(kShifts)];
  return static_cast<TShiftState>(in.U32());
}

float PickSize(TFuzzInput& in) {
  static const float kSizes[] = {400, 300, 640, 480, 0, 1, 2, 30, 100, 1000, 5000, 40000, 1e7f, -50};
  return kSizes[in.Byte() % std::size(kSizes)];
}

// A position on one of the scroll bar's parts as last drawn.
TPointF OnScrollBar(TFuzzInput& in, const TAxisScrollBarTool* bar) {
  TRectF r;
  switch (in.Byte() % 5) {
    case 0: r = bar->MainRectangle(); break;
    case 1: r = bar->ThumbRectangle(); break;
    case 2: r = bar->DecRectangle(); break;
    case 3: r = bar->IncRectangle(); break;
    default: r = bar->ScrollRectangle(); break;
  }
  const float fx = in.Byte() / 255.0f;
  const float fy = in.Byte() / 255.0f;
  return {r.Left + fx * r.Width(), r.Top + fy * r.Height()};
}

TPointF PickPosition(TFuzzInput& in, const TAxisScrollBarTool* bar) {
  if ((in.Byte() & 3) == 0) return OnScrollBar(in, bar);
  const float x = FuzzPickPixel(in);
  return {x, FuzzPickPixel(in)};
}

void ApplySetting(TFuzzInput& in, TChart& chart, TAxisScrollBarTool* bar) {
  switch (in.Byte() % 16) {
    case 0: chart.SetAllowZoom(in.Byte() & 1); break;
    case 1: chart.SetAllowPanning(static_cast<TPanningMode>(in.Byte() % 4)); break;
    case 2: chart.Panning()->SetInsideBounds(in.Byte() & 1); break;
    case 3: chart.Zoom()->SetKeepAspectRatio(in.Byte() & 1); break;
    case 4: chart.Zoom()->SetHistory(in.Byte() & 1); break;
    case 5: chart.Zoom()->SetDirection(static_cast<TKelZoomDirection>(in.Byte() % 3)); break;
    case 6: chart.Zoom()->SetMouseButton(kButtons[in.Byte() % 3]); break;
    case 7: chart.SetScrollMouseButton(kButtons[in.Byte() % 3]); break;
    case 8: chart.SetZoomWheel(static_cast<TMouseWheelStyle>(in.Byte() % 3)); break;
    case 9: chart.Panning()->SetMouseWheel(static_cast<TMouseWheelStyle>(in.Byte() % 3)); break;
    case 10:
      chart.Zoom()->SetAnimated(in.Byte() & 1);
      chart.Zoom()->SetAnimatedSteps(in.SmallIn(-2, 12));
      break;
    case 11: chart.Zoom()->SetMinimumPixels(in.SmallIn(-5, 60)); break;
    case 12: bar->SetAxis((in.Byte() & 1) ? chart.LeftAxis() : chart.BottomAxis()); break;
    case 13:
      switch (in.Byte() % 5) {
        case 0: bar->SetThumbSize(in.SmallIn(-5, 120)); break;
        case 1: bar->SetMinThumbSize(in.SmallIn(-5, 60)); break;
        case 2: bar->SetAllowResize(in.Byte() & 1); break;
        case 3: bar->SetArrows(in.Byte() & 1); break;
        default: bar->SetSize(in.SmallIn(-5, 80)); break;
      }
      break;
    case 14:
      switch (in.Byte() % 4) {
        case 0: bar->SetAutoRepeat(in.Byte() & 1); break;
        case 1: bar->SetInitialDelay(in.SmallIn(-10, 245) * 4); break;
        case 2: bar->SetActive(in.Byte() & 1); break;
        default: bar->SetPosition(in.IntIn(-200, 2000)); break;
      }
      break;
    default: chart.Zoom()->SetUpLeftZooms(in.Byte() & 1); break;
  }
}

// A data change. Deleting at an index out of range must be refused with
// ChartException and change nothing.
void ChangeData(TFuzzInput& in, TFastLineSeries* line, const std::string& where) {
  const int n = line->Count();
  switch (in.Byte() % 6) {
    case 0:
    case 1: {
      const int k = in.SmallIn(1, 20);
      for (int i = 0; i < k && line->Count() < 5000; ++i) {
        const double x = (in.Byte() & 7) == 0 ? FuzzPickValue(in) : n + i;
        line->AddXY(x, FuzzPickValue(in));
      }
      break;
    }
    case 2:
      if ((in.Byte() & 3) == 0) line->Clear();
      break;
    case 3: {
      const int index = in.IntIn(-2, n + 1);
      try {
        line->Delete(index);
        FUZZ_CHECK(index >= 0 && index < n, where + ": Delete(" + std::to_string(index) + ") of " + std::to_string(n));
      } catch (const ChartException&) {
        FUZZ_CHECK(index < 0 || index >= n, where + ": Delete(" + std::to_string(index) + ") refused");
        FUZZ_CHECK(line->Count() == n, where + ": refused Delete changed the count");
      }
      break;
    }
    case 4: {
      const int start = in.IntIn(-2, n + 1);
      const int count = in.IntIn(-2, n + 2);
      try {
        line->Delete(start, count, in.Byte() & 1);
      } catch (const ChartException&) {
        FUZZ_CHECK(line->Count() == n, where + ": refused Delete range changed the count");
      }
      break;
    }
    default: {
      // Many points at once, all of one value or on a huge scale.
      const double y = FuzzPickValue(in);
      const double step = (in.Byte() & 1) ? 1.0 : FuzzPickValue(in);
      const int k = in.SmallIn(0, 255) * 4;
      for (int i = 0; i < k && line->Count() < 5000; ++i) line->AddXY(i * step, y);
      break;
    }
  }
}

void CheckInvariants(const TChart& chart, const std::string& where) {
  FuzzCheckAxisEnds(chart, where);
  FuzzCheckChartRect(chart, where);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
  TFuzzInput in(Data, Size);
  ICanvasState.reset();
  {
    TFuzzHost host;
    TRecordingCanvas rec;
    TChart chart;
    chart.SetHostControl(&host);
    chart.SetView3D(false);
    auto* line = new TFastLineSeries();
    chart.AddSeries(line);
    auto* bar = chart.Tools().Add<TAxisScrollBarTool>();
    bar->SetMinThumbSize(1);
    chart.Zoom()->SetHistory(true);

    // The first byte chooses between the application's set-up (a 400 x 300
    // chart of 100 points, 10 to a page, a bottom scroll bar) and one read
    // from the input, so that short inputs go straight to the events.
    float width = 400, height = 300;
    int points = 100, perPage = 10, page = 10, thumb = 20, position = 60;
    const std::uint8_t setUp = in.Byte();
    if (setUp < 64) {
      width = PickSize(in);
      height = PickSize(in);
      points = in.Byte() < 200 ? 100 : in.SmallIn(0, 255);
      perPage = in.SmallIn(0, 3) * 10;
      page = in.SmallIn(0, 12);
      if (in.Byte() & 1) bar->SetAxis(chart.LeftAxis());
      thumb = in.SmallIn(0, 40);
      position = in.SmallIn(0, 100);
    }
    chart.SetBounds(0, 0, width, height);
    for (int i = 0; i < points; ++i) line->AddXY(i, 10 + (i * 37) % 23);
    chart.SetMaxPointsPerPage(perPage);
    chart.SetPage(page);
    bar->SetThumbSize(thumb);
    bar->SetPosition(position);
    if (setUp < 64) {
      const int settings = in.SmallIn(0, 6);
      for (int i = 0; i < settings; ++i) ApplySetting(in, chart, bar);
    }

    try {
      chart.HostPaint(rec);
    } catch (const std::exception& e) {
      FUZZ_CHECK(false, std::string("first paint raised ") + e.what());
    }
    CheckInvariants(chart, "first paint");

    for (int step = 0; step < 400 && !in.Empty(); ++step) {
      const std::string where = "step " + std::to_string(step);
      const std::uint8_t action = in.Byte();
      try {
        if (action < 40) {
          const TMouseButton button = kButtons[in.Byte() % 3];
          const TShiftState shift = PickShift(in);
          const TPointF p = PickPosition(in, bar);
          chart.HostMouseDown(button, shift, p.X, p.Y);
        } else if (action < 110) {
          const TShiftState shift = PickShift(in);
          const TPointF p = PickPosition(in, bar);
          chart.HostMouseMove(shift, p.X, p.Y);
        } else if (action < 140) {
          const TMouseButton button = kButtons[in.Byte() % 3];
          const TShiftState shift = PickShift(in);
          const TPointF p = PickPosition(in, bar);
          chart.HostMouseUp(button, shift, p.X, p.Y);
        } else if (action < 146) {
          // A double click: the second press comes with ssDouble.
          const TMouseButton button = kButtons[in.Byte() % 3];
          const TPointF p = PickPosition(in, bar);
          chart.HostDblClick();
          chart.HostMouseDown(button, ssDouble, p.X, p.Y);
        } else if (action < 166) {
          host.CursorPosition = PickPosition(in, bar);
          static const int kDeltas[] = {120, -120, 240, -360, 1, -1, 0, 1 << 30, -(1 << 30)};
          chart.HostMouseWheel(PickShift(in), kDeltas[in.Byte() % std::size(kDeltas)]);
        } else if (action < 190) {
          rec.ClearOps();
          chart.HostPaint(rec);
          FuzzCheckRecordedCoordinates(rec, where);
        } else if (action < 198) {
          switch (in.Byte() % 4) {
            case 0: chart.SetPage(in.IntIn(-2, 30)); break;
            case 1: chart.NextPage(); break;
            case 2: chart.PreviousPage(); break;
            default: chart.SetMaxPointsPerPage(in.SmallIn(0, 40)); break;
          }
        } else if (action < 210) {
          ChangeData(in, line, where);
        } else if (action < 222) {
          static const int kTicks[] = {0, 1, 50, 100, 249, 250, 251, 400, 1000, 5000};
          TManualClock::Instance().Advance(kTicks[in.Byte() % std::size(kTicks)]);
        } else if (action < 228) {
          chart.HostResize(PickSize(in), PickSize(in));
        } else if (action < 240) {
          ApplySetting(in, chart, bar);
        } else if (action < 244) {
          chart.HostMouseLeave();
        } else if (action < 248) {
          chart.UndoZoom();
        } else {
          static const double kPercents[] = {110, 90, 50, 150, 100, 0, -100, 1e6, 1e-6};
          chart.ZoomPercent(kPercents[in.Byte() % std::size(kPercents)]);
        }
      } catch (const std::exception& e) {
        FUZZ_CHECK(false, where + ": raised " + e.what());
      }
      CheckInvariants(chart, where);
    }

    // Every button up, time enough for any repeat, a last paint.
    try {
      for (TMouseButton b : kButtons) chart.HostMouseUp(b, 0, 10, 10);
      TManualClock::Instance().Advance(1000);
      rec.ClearOps();
      chart.HostPaint(rec);
    } catch (const std::exception& e) {
      FUZZ_CHECK(false, std::string("release and paint raised ") + e.what());
    }
    CheckInvariants(chart, "end");
    FuzzCheckRecordedCoordinates(rec, "end");
    FUZZ_CHECK(!chart.Zoom()->Active(), "zoom drag still active after every button was released");
    FUZZ_CHECK(!chart.Panning()->Active(), "panning drag still active after every button was released");
    FUZZ_CHECK(bar->In() == spNone, "scroll bar drag still active after every button was released");
    FUZZ_CHECK(bar->Timer() == nullptr || !bar->Timer()->Enabled(), "scroll bar repeat timer still running");
  }
  ICanvasState.reset();
  return 0;
}

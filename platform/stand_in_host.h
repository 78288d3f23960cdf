// A host control without a window, for engine tests, fuzz targets and
// benchmarks: it counts the requests the control makes of its host, keeps
// the cursor and the focus it is given, and offers a recording canvas as
// the control's canvas outside a paint (or none, WithControlCanvas false).
#pragma once

#include "platform/host_control.h"
#include "platform/recording_canvas.h"

namespace sextant {

class TStandInHost : public IHostControl {
 public:
  int Invalidates = 0;
  int Repaints = 0;
  int Captures = 0;
  int Releases = 0;
  bool Focusable = false;
  bool Focused = false;
  bool WithControlCanvas = true;
  TCursor CurrentCursor = crDefault;
  TPointF CursorPosition{0, 0};
  TRecordingCanvas ControlCanvasRecorder;

  void InvalidateControl() override { ++Invalidates; }
  void RepaintControl() override { ++Repaints; }
  void SetCursor(TCursor Cursor) override { CurrentCursor = Cursor; }
  TCursor Cursor() const override { return CurrentCursor; }
  bool CanFocus() const override { return Focusable; }
  bool IsFocused() const override { return Focused; }
  void SetFocus() override { Focused = true; }
  void CaptureMouse() override { ++Captures; }
  void ReleaseMouse() override { ++Releases; }
  bool HasParent() const override { return true; }
  TPointF CursorPos() const override { return CursorPosition; }
  IHostCanvas* ControlCanvas() override { return WithControlCanvas ? &ControlCanvasRecorder : nullptr; }
};

}  // namespace sextant

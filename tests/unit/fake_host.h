// A host control for engine tests: counts repaint requests and mouse
// captures, remembers the cursor, and offers a recording canvas as the
// control's canvas outside a paint (switchable for tests that need none).
#pragma once

#include "platform/host_control.h"
#include "platform/recording_canvas.h"

namespace sextant::testing {

class FakeHost : public IHostControl {
 public:
  int invalidates = 0;
  int captures = 0;
  int releases = 0;
  bool canFocus = false;
  bool hasControlCanvas = true;
  TCursor cursor = crDefault;
  TPointF cursorPos{0, 0};
  TRecordingCanvas controlCanvas;  // the control's canvas outside a paint
  void InvalidateControl() override { ++invalidates; }
  void RepaintControl() override {}
  void SetCursor(TCursor c) override { cursor = c; }
  TCursor Cursor() const override { return cursor; }
  bool CanFocus() const override { return canFocus; }
  bool IsFocused() const override { return false; }
  void SetFocus() override {}
  void CaptureMouse() override { ++captures; }
  void ReleaseMouse() override { ++releases; }
  bool HasParent() const override { return true; }
  TPointF CursorPos() const override { return cursorPos; }
  IHostCanvas* ControlCanvas() override { return hasControlCanvas ? &controlCanvas : nullptr; }
};

// A focusable host without a canvas outside paints.
struct CountingHost : FakeHost {
  CountingHost() {
    canFocus = true;
    hasControlCanvas = false;
  }
};

}  // namespace sextant::testing

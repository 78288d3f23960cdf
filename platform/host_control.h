// The chart control as the host sees it, in two directions:
//  - IHostControl: what the engine asks of the host widget (repaint, cursor,
//    focus, mouse capture).
//  - IHostControlClient: the notifications the host widget delivers to the
//    engine (paint, resize, mouse, wheel, keys), with single-precision
//    positions in device-independent pixels of the control.
#pragma once

#include <cstdint>

#include "platform/kel_types.h"

namespace sextant {

class IHostCanvas;

enum class TMouseButton : std::uint8_t { mbLeft, mbRight, mbMiddle };

// Shift state as a bit set.
using TShiftState = std::uint16_t;
enum : TShiftState {
  ssShift = 1 << 0,
  ssAlt = 1 << 1,
  ssCtrl = 1 << 2,
  ssLeft = 1 << 3,
  ssRight = 1 << 4,
  ssMiddle = 1 << 5,
  ssDouble = 1 << 6,
};

// Host cursor identifiers (the classic desktop values).
using TCursor = std::int16_t;
inline constexpr TCursor crDefault = 0;
inline constexpr TCursor crArrow = -2;
inline constexpr TCursor crCross = -3;
inline constexpr TCursor crSizeAll = -22;
inline constexpr TCursor crHSplit = -14;
inline constexpr TCursor crVSplit = -15;
inline constexpr TCursor crHandPoint = -21;

class IHostControl {
 public:
  virtual ~IHostControl() = default;
  // Schedules a paint of the whole control (does not paint synchronously).
  virtual void InvalidateControl() = 0;
  // The host's own repaint request.
  virtual void RepaintControl() = 0;
  virtual void SetCursor(TCursor cursor) = 0;
  virtual TCursor Cursor() const = 0;
  virtual bool CanFocus() const = 0;
  virtual bool IsFocused() const = 0;
  virtual void SetFocus() = 0;
  virtual void CaptureMouse() = 0;
  virtual void ReleaseMouse() = 0;
  virtual bool HasParent() const = 0;
  // Current mouse position in control coordinates.
  virtual TPointF CursorPos() const = 0;
  // The control's host canvas outside a paint: a persistent off-screen
  // canvas good for text measurement (what is drawn on it is not shown).
  // Null when the host offers none.
  virtual IHostCanvas* ControlCanvas() { return nullptr; }
};

class IHostControlClient {
 public:
  virtual ~IHostControlClient() = default;
  virtual void HostPaint(IHostCanvas& canvas) = 0;
  virtual void HostResize(float width, float height) = 0;
  virtual void HostMouseDown(TMouseButton button, TShiftState shift, float x, float y) = 0;
  virtual void HostMouseMove(TShiftState shift, float x, float y) = 0;
  virtual void HostMouseUp(TMouseButton button, TShiftState shift, float x, float y) = 0;
  virtual void HostMouseWheel(TShiftState shift, int wheelDelta) = 0;
  virtual void HostDblClick() = 0;
  virtual void HostMouseLeave() = 0;
  virtual void HostKeyDown(std::uint16_t& key, char16_t& keyChar, TShiftState shift) = 0;
  virtual void HostKeyUp(std::uint16_t& key, char16_t& keyChar, TShiftState shift) = 0;
};

}  // namespace sextant

namespace sextant {

// Implemented by the host's form class so that a control created with a
// form as owner can size itself from the form (construction defaults).
class IHostForm {
 public:
  virtual ~IHostForm() = default;
  virtual float FormClientWidth() const = 0;
  virtual float FormClientHeight() const = 0;
};

}  // namespace sextant

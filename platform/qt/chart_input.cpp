#include "platform/qt/chart_input.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QWheelEvent>

namespace sextant {

namespace {

bool ToMouseButton(Qt::MouseButton button, TMouseButton& out) {
  switch (button) {
    case Qt::LeftButton: out = TMouseButton::mbLeft; return true;
    case Qt::RightButton: out = TMouseButton::mbRight; return true;
    case Qt::MiddleButton: out = TMouseButton::mbMiddle; return true;
    default: return false;
  }
}

float X(const QSinglePointEvent& e) { return static_cast<float>(e.position().x()); }
float Y(const QSinglePointEvent& e) { return static_cast<float>(e.position().y()); }

TShiftState Shift(const QSinglePointEvent& e) { return QtShiftState(e.modifiers(), e.buttons()); }

char16_t KeyChar(const QKeyEvent& e) {
  const QString text = e.text();
  return text.isEmpty() ? u'\0' : static_cast<char16_t>(text.at(0).unicode());
}

}  // namespace

TShiftState QtShiftState(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons) {
  TShiftState s = 0;
  if (modifiers & Qt::ShiftModifier) s |= ssShift;
  if (modifiers & Qt::AltModifier) s |= ssAlt;
  if (modifiers & Qt::ControlModifier) s |= ssCtrl;
  if (buttons & Qt::LeftButton) s |= ssLeft;
  if (buttons & Qt::RightButton) s |= ssRight;
  if (buttons & Qt::MiddleButton) s |= ssMiddle;
  return s;
}

bool IsChartButton(Qt::MouseButton button) {
  TMouseButton ignored;
  return ToMouseButton(button, ignored);
}

Qt::CursorShape QtCursorShape(TCursor cursor) {
  switch (cursor) {
    case crHandPoint: return Qt::PointingHandCursor;
    case crHSplit: return Qt::SplitHCursor;
    case crVSplit: return Qt::SplitVCursor;
    case crCross: return Qt::CrossCursor;
    case crSizeAll: return Qt::SizeAllCursor;
    case crDefault:
    case crArrow:
    default: return Qt::ArrowCursor;
  }
}

std::uint16_t QtVirtualKey(int qtKey) {
  if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) return static_cast<std::uint16_t>('A' + (qtKey - Qt::Key_A));
  if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) return static_cast<std::uint16_t>('0' + (qtKey - Qt::Key_0));
  if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24) return static_cast<std::uint16_t>(0x70 + (qtKey - Qt::Key_F1));
  switch (qtKey) {
    case Qt::Key_Backspace: return 0x08;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return 0x09;
    case Qt::Key_Return:
    case Qt::Key_Enter: return 0x0D;
    case Qt::Key_Shift: return 0x10;
    case Qt::Key_Control: return 0x11;
    case Qt::Key_Alt: return 0x12;
    case Qt::Key_Pause: return 0x13;
    case Qt::Key_CapsLock: return 0x14;
    case Qt::Key_Escape: return 0x1B;
    case Qt::Key_Space: return 0x20;
    case Qt::Key_PageUp: return 0x21;
    case Qt::Key_PageDown: return 0x22;
    case Qt::Key_End: return 0x23;
    case Qt::Key_Home: return 0x24;
    case Qt::Key_Left: return 0x25;
    case Qt::Key_Up: return 0x26;
    case Qt::Key_Right: return 0x27;
    case Qt::Key_Down: return 0x28;
    case Qt::Key_Insert: return 0x2D;
    case Qt::Key_Delete: return 0x2E;
    case Qt::Key_Plus: return 0xBB;
    case Qt::Key_Comma: return 0xBC;
    case Qt::Key_Minus: return 0xBD;
    case Qt::Key_Period: return 0xBE;
    default: return 0;
  }
}

bool ForwardMousePress(IHostControlClient* client, const QMouseEvent& event, TShiftState extra) {
  TMouseButton button;
  if (!client || !ToMouseButton(event.button(), button)) return false;
  client->HostMouseDown(button, Shift(event) | extra, X(event), Y(event));
  return true;
}

bool ForwardDoubleClick(IHostControlClient* const& client, const QMouseEvent& event) {
  if (!ForwardMousePress(client, event, ssDouble)) return false;
  ForwardDblClick(client);
  return true;
}

void ForwardDblClick(IHostControlClient* client) {
  if (client) client->HostDblClick();
}

bool ForwardMouseMove(IHostControlClient* client, const QSinglePointEvent& event) {
  if (!client) return false;
  client->HostMouseMove(Shift(event), X(event), Y(event));
  return true;
}

bool ForwardMouseRelease(IHostControlClient* client, const QMouseEvent& event) {
  TMouseButton button;
  if (!client || !ToMouseButton(event.button(), button)) return false;
  // buttons() no longer holds the released button.
  client->HostMouseUp(button, Shift(event), X(event), Y(event));
  return true;
}

bool ForwardWheel(IHostControlClient* client, const QWheelEvent& event) {
  const int delta = event.angleDelta().y();
  if (!client || delta == 0) return false;
  client->HostMouseWheel(QtShiftState(event.modifiers(), event.buttons()), delta);
  return true;
}

void ForwardMouseLeave(IHostControlClient* client) {
  if (client) client->HostMouseLeave();
}

bool ForwardKeyPress(IHostControlClient* client, const QKeyEvent& event) {
  if (!client) return false;
  std::uint16_t key = QtVirtualKey(event.key());
  char16_t keyChar = KeyChar(event);
  client->HostKeyDown(key, keyChar, QtShiftState(event.modifiers(), QGuiApplication::mouseButtons()));
  return key == 0 && keyChar == 0;
}

bool ForwardKeyRelease(IHostControlClient* client, const QKeyEvent& event) {
  if (!client) return false;
  std::uint16_t key = QtVirtualKey(event.key());
  char16_t keyChar = KeyChar(event);
  client->HostKeyUp(key, keyChar, QtShiftState(event.modifiers(), QGuiApplication::mouseButtons()));
  return key == 0 && keyChar == 0;
}

}  // namespace sextant

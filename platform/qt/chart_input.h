// Qt input as the chart's host notifications: one translation of mouse,
// wheel, hover, leave and key events, shared by the chart widget and the Qt
// Quick item, so that a chart behaves the same in both hosts.
//
// Positions are the event's, in device-independent pixels of the control.
// Each Forward... call returns true when it delivered the event (the host
// then accepts it) and false when the event is not one for the chart (an
// unknown button, a horizontal wheel, no client), which the host passes on.
#pragma once

#include <Qt>

#include <cstdint>

#include "platform/host_control.h"

class QKeyEvent;
class QMouseEvent;
class QSinglePointEvent;
class QWheelEvent;

namespace sextant {

// Modifier keys and held buttons as a shift state.
TShiftState QtShiftState(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons);
// The Qt cursor shape of a host cursor (the arrow for unknown ones).
Qt::CursorShape QtCursorShape(TCursor cursor);
// The buttons the chart knows: left, right and middle.
bool IsChartButton(Qt::MouseButton button);
// Classic virtual-key code of a Qt key (0 when it has none).
std::uint16_t QtVirtualKey(int qtKey);

// A press; extra adds to the shift state (ssDouble for a host that learns
// of a double click only after its second press).
bool ForwardMousePress(IHostControlClient* client, const QMouseEvent& event, TShiftState extra = 0);
// The second press of a double click: a press with ssDouble, then the
// double-click notification. The client is read again between the two, as
// the press handler may have detached the chart from its host.
bool ForwardDoubleClick(IHostControlClient* const& client, const QMouseEvent& event);
// Only the double-click notification, after a press already delivered.
void ForwardDblClick(IHostControlClient* client);
// A move with or without buttons (a hover event is a move without them).
bool ForwardMouseMove(IHostControlClient* client, const QSinglePointEvent& event);
// A release; the released button is no longer in the shift state.
bool ForwardMouseRelease(IHostControlClient* client, const QMouseEvent& event);
// The vertical wheel turn (120 a notch).
bool ForwardWheel(IHostControlClient* client, const QWheelEvent& event);
void ForwardMouseLeave(IHostControlClient* client);
// Keys with their character; true when the chart consumed the key (its
// handler cleared both key and character).
bool ForwardKeyPress(IHostControlClient* client, const QKeyEvent& event);
bool ForwardKeyRelease(IHostControlClient* client, const QKeyEvent& event);

}  // namespace sextant

// Panel events delivered to listeners, and the listener interface.
//
// The panel creates an event object only when at least one listener is
// registered; listeners receive it synchronously in registration order.
#pragma once

#include "platform/host_control.h"

namespace sextant {

class TCustomKelPanel;

class TKelEvent {
 public:
  virtual ~TKelEvent() = default;
  TCustomKelPanel* Sender = nullptr;
};

// The 3D view was switched on or off.
class TKelView3DEvent : public TKelEvent {};

enum TKelMouseEventKind { meDown, meUp, meMove };

class TKelMouseEvent : public TKelEvent {
 public:
  TKelMouseEventKind Event = meDown;
  TMouseButton Button = TMouseButton::mbLeft;
  TShiftState Shift = 0;
  float X = 0;
  float Y = 0;
};

class TMouseLeaveEvent : public TKelEvent {};

// The current page of a paging chart changed.
class TChartChangePage : public TKelEvent {};

class IKelEventListener {
 public:
  virtual ~IKelEventListener() = default;
  virtual void KelEvent(TKelEvent& Event) = 0;
};

}  // namespace sextant

// Base of every settings object and element: a virtual destructor, the
// Assign protocol and the change-notification callback type.
#pragma once

#include <functional>
#include <string>
#include <typeinfo>

#include "canvas/kel_exceptions.h"

namespace sextant {

class TPersistent;

// Change notification: called with the object that changed.
using TNotifyEvent = std::function<void(TPersistent* Sender)>;

class TPersistent {
 public:
  virtual ~TPersistent() = default;

  // Copies all settings from Source. Classes override this for sources of
  // their own family; any other source is an error, as with the host
  // framework's generic assignment.
  virtual void Assign(const TPersistent* Source) { AssignError(Source); }

 protected:
  TPersistent() = default;
  TPersistent(const TPersistent&) = default;
  TPersistent& operator=(const TPersistent&) = default;

  [[noreturn]] void AssignError(const TPersistent* Source) const {
    const std::string from = Source ? typeid(*Source).name() : "nil";
    throw ChartException("Cannot assign a " + from + " to a " + typeid(*this).name());
  }
};

// Calls an event only when assigned.
template <typename F, typename... Args>
inline void CallEvent(const F& event, Args&&... args) {
  if (event) event(std::forward<Args>(args)...);
}

}  // namespace sextant

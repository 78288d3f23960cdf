// Components: objects with an owner that destroys them, a name, a loading
// state and free notifications.
//
// The window owns the chart control, the series and the tools; a chart may
// also free a series it shows. A component therefore removes itself from its
// owner's list when destroyed by someone else, and tells every component that
// asked for a free notification, so that nobody keeps a dangling reference.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include "canvas/kel_exceptions.h"
#include "canvas/kel_persistent.h"

namespace sextant {

enum TOperation { opInsert, opRemove };

using TComponentState = std::uint8_t;
enum : TComponentState {
  csLoading = 1 << 0,
  csReading = 1 << 1,
  csDesigning = 1 << 2,
  csDestroying = 1 << 3,
};

class TComponent : public TPersistent {
 public:
  // The owner (may be null) takes ownership: it destroys this component in
  // its own destructor unless the component was destroyed before.
  explicit TComponent(TComponent* AOwner = nullptr);
  ~TComponent() override;
  TComponent(const TComponent&) = delete;
  TComponent& operator=(const TComponent&) = delete;

  TComponent* Owner() const { return FOwner; }
  const std::string& Name() const { return FName; }
  void SetName(const std::string& name) { FName = name; }

  int ComponentCount() const { return static_cast<int>(FComponents.size()); }
  // ChartException for an index outside 0 .. ComponentCount - 1.
  TComponent* Components(int index) const {
    if (index < 0 || index >= ComponentCount()) KelRaiseIndex("Component", index, ComponentCount() - 1);
    return FComponents[static_cast<std::size_t>(index)];
  }

  TComponentState ComponentState() const { return FComponentState; }
  bool IsLoading() const { return FComponentState & csLoading; }
  bool IsDesigning() const { return FComponentState & csDesigning; }
  bool IsDestroying() const { return FComponentState & csDestroying; }

  // Asks to be told (Notification with opRemove) when AComponent is destroyed.
  void FreeNotification(TComponent* AComponent);
  void RemoveFreeNotification(TComponent* AComponent);

  // Loading brackets: set and clear csLoading; EndLoading calls Loaded.
  void BeginLoading() { FComponentState |= csLoading | csReading; }
  void EndLoading();

 protected:
  virtual void Notification(TComponent* AComponent, TOperation Operation);
  // Called once the stored description has been read.
  virtual void Loaded() {}
  // Destroying components call this first so that overrides can see it.
  void Destroying() { FComponentState |= csDestroying; }

 private:
  void InsertComponent(TComponent* c) { FComponents.push_back(c); }
  void RemoveComponent(TComponent* c);

  TComponent* FOwner = nullptr;
  std::string FName;
  std::vector<TComponent*> FComponents;      // owned: destroyed by this
  std::vector<TComponent*> FFreeNotifies;    // not owned
  TComponentState FComponentState = 0;
};

}  // namespace sextant

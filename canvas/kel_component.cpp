#include "canvas/kel_component.h"

#include <algorithm>

namespace sextant {

TComponent::TComponent(TComponent* AOwner) : FOwner(AOwner) {
  if (FOwner) FOwner->InsertComponent(this);
}

TComponent::~TComponent() {
  Destroying();
  // Tell everybody who asked; they drop their references.
  while (!FFreeNotifies.empty()) {
    TComponent* c = FFreeNotifies.back();
    FFreeNotifies.pop_back();
    c->RemoveFreeNotification(this);
    c->Notification(this, opRemove);
  }
  // Destroy owned components, last created first. Each removes itself from
  // FComponents when it goes.
  while (!FComponents.empty()) {
    TComponent* c = FComponents.back();
    delete c;
  }
  if (FOwner) FOwner->RemoveComponent(this);
}

void TComponent::RemoveComponent(TComponent* c) {
  FComponents.erase(std::remove(FComponents.begin(), FComponents.end(), c), FComponents.end());
  c->FOwner = nullptr;
}

void TComponent::FreeNotification(TComponent* AComponent) {
  if (!AComponent || AComponent == this) return;
  if (std::find(FFreeNotifies.begin(), FFreeNotifies.end(), AComponent) == FFreeNotifies.end())
    FFreeNotifies.push_back(AComponent);
  auto& other = AComponent->FFreeNotifies;
  if (std::find(other.begin(), other.end(), this) == other.end()) other.push_back(this);
}

void TComponent::RemoveFreeNotification(TComponent* AComponent) {
  FFreeNotifies.erase(std::remove(FFreeNotifies.begin(), FFreeNotifies.end(), AComponent),
                      FFreeNotifies.end());
}

void TComponent::Notification(TComponent*, TOperation) {}

void TComponent::EndLoading() {
  FComponentState &= static_cast<TComponentState>(~(csLoading | csReading));
  Loaded();
}

}  // namespace sextant

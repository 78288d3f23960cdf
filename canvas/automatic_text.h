// Automatic shortening and placement flags of label texts (marks and axis
// labels): hide, move, resize, rotate, trim, wrap. Marks use Move as their
// AutoPosition; axis labels use Trim (off for them by default).
#pragma once

#include <utility>

#include "canvas/kel_persistent.h"

namespace sextant {

class TAutomaticText : public TPersistent {
 public:
  explicit TAutomaticText(TNotifyEvent OnChange = nullptr) : OnChange(std::move(OnChange)) {}
  void Assign(const TPersistent* Source) override;

  bool Hide() const { return FHide; }
  void SetHide(bool Value) { Set(FHide, Value); }
  bool Move() const { return FMove; }
  void SetMove(bool Value) { Set(FMove, Value); }
  bool Resize() const { return FResize; }
  void SetResize(bool Value) { Set(FResize, Value); }
  bool Rotate() const { return FRotate; }
  void SetRotate(bool Value) { Set(FRotate, Value); }
  bool Trim() const { return FTrim; }
  void SetTrim(bool Value) { Set(FTrim, Value); }
  bool Wrap() const { return FWrap; }
  void SetWrap(bool Value) { Set(FWrap, Value); }
  // Sets Trim without notifying (construction defaults of an owner).
  void InitTrim(bool Value) { FTrim = Value; }

  TNotifyEvent OnChange;

 private:
  void Set(bool& Variable, bool Value);
  bool FHide = true;
  bool FMove = true;
  bool FResize = true;
  bool FRotate = true;
  bool FTrim = true;
  bool FWrap = true;
};

}  // namespace sextant

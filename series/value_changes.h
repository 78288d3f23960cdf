// What changed in a list of values since its reader last looked: the span
// of values written in place and the first index from which values were
// inserted or removed (every value from there on may have moved). Values
// appended at the end are not recorded: a reader that remembers how many
// values it has seen finds them by the grown count. Values removed from the
// front are counted apart (Dropped), and the indices above are kept in the
// numbering after the removal.
#pragma once

#include <algorithm>
#include <climits>
#include <cstdint>

namespace sextant {

struct TValueChanges {
  int EditFirst = INT_MAX;
  int EditLast = -1;
  int MovedFrom = INT_MAX;
  std::int64_t Dropped = 0;

  void Edited(int First, int Last) {
    EditFirst = std::min(EditFirst, First);
    EditLast = std::max(EditLast, Last);
  }
  void Edited(int Index) { Edited(Index, Index); }
  void Moved(int From) { MovedFrom = std::min(MovedFrom, std::max(From, 0)); }
  void DroppedFront(int Quantity) {
    if (Quantity <= 0) return;
    Dropped += Quantity;
    if (EditLast >= 0) {
      EditLast -= Quantity;
      EditFirst = EditLast < 0 ? INT_MAX : std::max(EditFirst - Quantity, 0);
      if (EditLast < 0) EditLast = -1;
    }
    if (MovedFrom != INT_MAX) MovedFrom = std::max(MovedFrom - Quantity, 0);
  }
  bool Any() const { return EditFirst <= EditLast || MovedFrom != INT_MAX || Dropped > 0; }
  void Reset() { *this = TValueChanges{}; }
};

}  // namespace sextant

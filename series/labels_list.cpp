#include "series/labels_list.h"

#include <algorithm>
#include <cstdio>

#include "canvas/kel_exceptions.h"

namespace sextant {

namespace {

const std::string KelEmptyLabel;

void CheckIndex(int Index) {
  if (Index >= 0) return;
  char buf[64];
  std::snprintf(buf, sizeof buf, "Label index %d must be >= 0", Index);
  throw ChartException(buf);
}

char LowerAscii(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

bool SameText(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (LowerAscii(a[i]) != LowerAscii(b[i])) return false;
  return true;
}

}  // namespace

void TLabelsList::GrowTo(std::size_t Size, bool LastIsWritten) {
  if (List.size() >= Size) return;
  if (List.size() + (LastIsWritten ? 1 : 0) < Size) IAnyEmpty = true;  // empty padding stays
  List.resize(Size);
}

const std::string& TLabelsList::Labels(int Index) const {
  if (Index < 0 || Index >= Count()) return KelEmptyLabel;
  return List[static_cast<std::size_t>(Index)];
}

void TLabelsList::SetLabels(int Index, const std::string& Text) {
  CheckIndex(Index);
  const auto i = static_cast<std::size_t>(Index);
  if (Text.empty()) {
    IAnyEmpty = true;
    if (i < List.size()) List[i].clear();
  } else {
    GrowTo(i + 1, true);
    List[i] = Text;
  }
  Repaint();
}

void TLabelsList::InsertLabel(int Index, const std::string& Text) {
  CheckIndex(Index);
  const auto i = static_cast<std::size_t>(Index);
  GrowTo(i, false);
  if (Text.empty()) IAnyEmpty = true;
  List.insert(List.begin() + static_cast<std::ptrdiff_t>(i), Text);
}

void TLabelsList::DeleteLabel(int Index) {
  if (Index < 0 || Index >= Count()) return;
  List.erase(List.begin() + Index);
}

void TLabelsList::DeleteLabels(int Start, int Quantity) {
  Start = std::max(Start, 0);
  if (Quantity <= 0 || Start >= Count()) return;
  Quantity = std::min(Quantity, Count() - Start);
  List.erase(List.begin() + Start, List.begin() + Start + Quantity);
}

void TLabelsList::Exchange(int Index1, int Index2) {
  CheckIndex(Index1);
  CheckIndex(Index2);
  if (Index1 == Index2) return;
  const auto hi = static_cast<std::size_t>(std::max(Index1, Index2));
  const auto lo = static_cast<std::size_t>(std::min(Index1, Index2));
  if (lo >= List.size()) return;  // both read as empty
  if (hi >= List.size() && List[lo].empty()) return;  // the same
  GrowTo(hi + 1, false);  // Index lo ends up empty
  std::swap(List[lo], List[hi]);
}

int TLabelsList::IndexOfLabel(const std::string& Text) const {
  for (int i = 0; i < Count(); ++i) {
    const std::string& s = List[static_cast<std::size_t>(i)];
    if (FCaseSensitive ? s == Text : SameText(s, Text)) return i;
  }
  return -1;
}

}  // namespace sextant

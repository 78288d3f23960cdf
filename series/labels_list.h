// The per-point texts of a series. The list may be shorter than the series:
// missing entries read as empty text, so points without labels cost nothing.
#pragma once

#include <functional>
#include <string>
#include <vector>

namespace sextant {

class TLabelsList {
 public:
  // ARepaint is the owning series' repaint request (it invalidates the
  // chart); it is called after every write through SetLabels. It may be
  // empty, and the series may assign OnRepaint later.
  explicit TLabelsList(std::function<void()> ARepaint = {}) : OnRepaint(std::move(ARepaint)) {}

  int Count() const { return static_cast<int>(List.size()); }

  // The text at Index, empty for an index outside 0..Count-1.
  const std::string& Labels(int Index) const;
  // A non-empty text grows the list with empty entries up to Index; an
  // empty text only clears an existing entry. Every write repaints. A
  // negative index raises ChartException.
  void SetLabels(int Index, const std::string& Text);

  // Inserts Text at Index, growing the list with empty entries up to Index
  // first when it is shorter. A negative index raises ChartException.
  void InsertLabel(int Index, const std::string& Text);
  // Removes the entry at Index; nothing when the list does not reach it.
  void DeleteLabel(int Index);
  // Removes the entries Start..Start+Quantity-1 as far as the list reaches.
  void DeleteLabels(int Start, int Quantity);
  // Exchanges two entries. When only one of them exists the list first grows
  // to cover both (the text moves to the other point); when neither exists
  // nothing changes. A negative index raises ChartException.
  void Exchange(int Index1, int Index2);
  void Clear() { List.clear(); }
  // The first index whose text equals Text (ignoring ASCII case unless
  // CaseSensitive), or -1.
  int IndexOfLabel(const std::string& Text) const;

  bool CaseSensitive() const { return FCaseSensitive; }
  void SetCaseSensitive(bool AValue) { FCaseSensitive = AValue; }

  // The texts; entries beyond the end read as empty.
  std::vector<std::string> List;
  // Set once an empty label was ever stored or inserted (padding included);
  // Clear keeps it. The series sets it too when it adds a point with an
  // empty label while the list is empty.
  bool IAnyEmpty = false;
  // The owning series' repaint request.
  std::function<void()> OnRepaint;

 private:
  void Repaint() const {
    if (OnRepaint) OnRepaint();
  }
  // Pads the list with empty entries up to Size; the entry at Size - 1 is
  // about to be written when LastIsWritten.
  void GrowTo(std::size_t Size, bool LastIsWritten);

  bool FCaseSensitive = false;
};

}  // namespace sextant

#include "marks/mark_positions.h"

#include <algorithm>

#include "marks/series_marks.h"

namespace sextant {

// ---- TSeriesMarkPosition -------------------------------------------------------

void TSeriesMarkPosition::Assign(const TSeriesMarkPosition* Source) {
  if (!Source || Source == this) return;
  *this = *Source;
}

TRectF TSeriesMarkPosition::Bounds() const {
  return {LeftTop.X, LeftTop.Y, LeftTop.X + static_cast<float>(Width),
          LeftTop.Y + static_cast<float>(Height)};
}

void TSeriesMarkPosition::Offset(TPointF P) {
  LeftTop.X += P.X;
  LeftTop.Y += P.Y;
  ArrowTo.X += P.X;
  ArrowTo.Y += P.Y;
  if (HasMid) {
    MidPoint.X += P.X;
    MidPoint.Y += P.Y;
  }
}

// ---- TSeriesMarksPositions -----------------------------------------------------

TSeriesMarkPosition* TSeriesMarksPositions::Position(int Index) const {
  if (Index < 0 || Index >= Count()) return nullptr;
  return FItems[static_cast<std::size_t>(Index)].get();
}

TSeriesMarkPosition& TSeriesMarksPositions::Ensure(int Index) {
  const auto index = static_cast<std::size_t>(Index);
  if (FItems.size() <= index) FItems.resize(index + 1);
  auto& entry = FItems[index];
  if (!entry) {
    entry = std::make_unique<TSeriesMarkPosition>();
    // Layouts run in increasing index order: this is nearly always an append.
    FFilled.insert(std::upper_bound(FFilled.begin(), FFilled.end(), Index), Index);
  }
  return *entry;
}

void TSeriesMarksPositions::Put(int Index, const TSeriesMarkPosition* Value) {
  if (Index < 0 || !Value) return;
  TSeriesMarkPosition& entry = Ensure(Index);
  entry.Custom = true;
  entry.Assign(Value);
}

void TSeriesMarksPositions::Automatic(int Index) {
  if (TSeriesMarkPosition* p = Position(Index)) p->Custom = false;
}

bool TSeriesMarksPositions::ExistCustom() const {
  return std::any_of(FItems.begin(), FItems.end(), [](const auto& p) { return p && p->Custom; });
}

void TSeriesMarksPositions::DeleteMany(int Index, int Count) {
  if (Index < 0 || Index >= this->Count() || Count <= 0) return;
  const int last = std::min(this->Count(), Index + Count);
  FItems.erase(FItems.begin() + Index, FItems.begin() + last);
  // The removed indices go; later ones move down.
  const auto from = std::lower_bound(FFilled.begin(), FFilled.end(), Index);
  const auto to = std::lower_bound(from, FFilled.end(), last);
  for (auto it = FFilled.erase(from, to); it != FFilled.end(); ++it) *it -= last - Index;
}

void TSeriesMarksPositions::MoveTo(TSeriesMarkPosition& Position, float X, float Y) const {
  Position.ArrowTo = {X, Y};
  Position.ArrowFrom = Position.ArrowTo;
  // Whole pixels: the division truncates toward zero.
  Position.LeftTop.X = X - static_cast<float>(Position.Width / 2);
  Position.LeftTop.Y = Y - static_cast<float>(Position.Height) + 1;
  if (FMarks && FMarks->HasSymbol()) {
    TSeriesMarksSymbol* symbol = FMarks->Symbol();
    const TRectF& b = symbol->ShapeBounds();
    const float left = Position.LeftTop.X + 2;
    const float top = Position.LeftTop.Y + 2;
    symbol->SetShapeBounds({left, top, left + b.Width(), top + b.Height()});
  }
}

}  // namespace sextant

// Where each mark of a series was laid out: the box and the two ends of its
// callout, per point index, kept between paints so that positions can be
// made custom (pinned) and reused.
#pragma once

#include <memory>
#include <vector>

#include "platform/kel_types.h"

namespace sextant {

class TSeriesMarks;

// The layout of one mark, in canvas pixels.
class TSeriesMarkPosition {
 public:
  // Copies every field.
  void Assign(const TSeriesMarkPosition* Source);
  // (LeftTop.X, LeftTop.Y, LeftTop.X + Width, LeftTop.Y + Height).
  TRectF Bounds() const;
  // Moves LeftTop and ArrowTo (and MidPoint when HasMid) by P; ArrowFrom
  // stays on the point.
  void Offset(TPointF P);

  TPointF ArrowFrom;      // where the callout starts: the point itself
  bool ArrowFix = false;  // a reused custom position keeps the fresh ArrowFrom
  TPointF ArrowTo;        // where the callout ends: the anchor below the box
  bool Custom = false;    // set by the user; overrides automatic placement
  int Height = 0;         // box height
  TPointF LeftTop;        // top-left corner of the box
  int Width = 0;          // box width
  TPointF MidPoint;       // optional bend of the callout line
  bool HasMid = false;    // MidPoint is used
};

// The positions of a series' marks indexed by point; entries may be empty
// (a mark that was never laid out).
class TSeriesMarksPositions {
 public:
  explicit TSeriesMarksPositions(TSeriesMarks* Marks) : FMarks(Marks) {}
  TSeriesMarksPositions(const TSeriesMarksPositions&) = delete;
  TSeriesMarksPositions& operator=(const TSeriesMarksPositions&) = delete;

  // The entry of Index, or nullptr when the index lies outside the list or
  // the entry is empty. Never creates one.
  TSeriesMarkPosition* Position(int Index) const;
  TSeriesMarkPosition* operator[](int Index) const { return Position(Index); }
  // Grows the list up to Index, creates the entry when empty, sets its
  // Custom and copies every field of Value into it (so Value's Custom wins).
  // Nothing for a negative index or a null Value.
  void Put(int Index, const TSeriesMarkPosition* Value);
  // The entry of Index, growing the list and creating an empty, automatic
  // entry when missing (Index must not be negative).
  TSeriesMarkPosition& Ensure(int Index);

  // Custom := false on the entry of Index when it exists.
  void Automatic(int Index);
  // True when any entry is custom.
  bool ExistCustom() const;
  // Removes Count entries from Index on (as many as the list holds), when
  // Index lies inside the list.
  void DeleteMany(int Index, int Count);
  void Delete(int Index) { DeleteMany(Index, 1); }
  void Clear() {
    FItems.clear();
    FFilled.clear();
  }
  // Number of slots, empty ones included.
  int Count() const { return static_cast<int>(FItems.size()); }
  // The indices of the non-empty entries in increasing order: the layout
  // walks these instead of every slot (a thinned layout leaves most slots
  // empty).
  const std::vector<int>& Filled() const { return FFilled; }

  // Automatic placement at the point (X, Y), using the Width and Height
  // already stored in Position: the box is centred on X with its bottom row
  // on Y, and both callout ends are the point. The marks' symbol box, when
  // it exists, follows the box's top-left.
  void MoveTo(TSeriesMarkPosition& Position, float X, float Y) const;

  TSeriesMarks* Marks() const { return FMarks; }

 private:
  TSeriesMarks* FMarks;  // the owner, not owned
  std::vector<std::unique_ptr<TSeriesMarkPosition>> FItems;
  std::vector<int> FFilled;  // sorted indices of the non-empty entries
};

}  // namespace sextant

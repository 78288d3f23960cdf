// The shared part of the series kinds that draw every point on its own
// place: TPointSeries (a pointer per point), TLineSeries (points connected
// by the line pen, pointers optional) and TAreaSeries (the line with the
// area under it filled).
//
// One paint draws, in this order: what lies beneath the line (the area's
// fill, DrawBeneath), the line, then the pointers on top. Points whose X or
// Y is not a finite number are not drawn and break the line, like null
// points with TreatNulls tnDontPaint.
#pragma once

#include <algorithm>
#include <memory>

#include "series/fast_line_series.h"

namespace sextant {

class TSeriesPointer;

class TCustomSeries : public TCustomLineSeries {
 public:
  explicit TCustomSeries(TComponent* AOwner = nullptr);
  ~TCustomSeries() override;

  // The series settings, then the pointer, Stairs, InvertedStairs and
  // ClickTolerance.
  void Assign(const TPersistent* Source) override;

  // The symbol of every point (in the point's colour unless the pointer's
  // brush has a colour of its own).
  TSeriesPointer* Pointer() const { return FPointer.get(); }
  void SetPointer(const TSeriesPointer* Value);
  // Lines run horizontally to the next point's X, then vertically
  // (InvertedStairs: vertically first).
  bool Stairs() const { return FStairs; }
  void SetStairs(bool Value) { SetBooleanProperty(FStairs, Value); }
  bool InvertedStairs() const { return FInvertedStairs; }
  void SetInvertedStairs(bool Value) { SetBooleanProperty(FInvertedStairs, Value); }
  // Pixels around the line that still count as a hit (negative: 0).
  int ClickTolerance() const { return FClickTolerance; }
  void SetClickTolerance(int Value) { SetIntegerProperty(FClickTolerance, Value < 0 ? 0 : Value); }

  // Room for the pointers (half-size plus one pixel, when they are visible
  // and InflateMargins is set) and for the line's pen (as the fast line).
  void CalcHorizMargins(int& LeftMargin, int& RightMargin) override;
  void CalcVerticalMargins(int& TopMargin, int& BottomMargin) override;
  void DrawAllValues() override;
  // The pointer of one point (the line is drawn by DrawAllValues).
  void DrawValue(int ValueIndex) override;
  // The point whose pointer box holds the pixel, else the first point of
  // the line segment under it (within ClickTolerance), else -1.
  int Clicked(int X, int Y) override;
  void PrepareLegendCanvas() override;
  // A line across the symbol's middle (when the line is drawn) and the
  // pointer in its centre (when visible).
  void DrawLegendShape(const TRectF& Rect) override;
  // Raises the mark by the callout length, then draws it as every series.
  void DrawMark(int ValueIndex, const std::string& Text, TSeriesMarkPosition& Position) override;
  int CalcYPos(int ValueIndex) const override;
  // The pointer follows the series to its chart (it repaints that chart).
  void SetParentChart(TCustomAxisPanel* Value) override;

  // Whether the kind connects its points (the line pen may still hide it).
  bool ConnectsPoints() const { return FConnectsPoints; }
  // X and Y of the point are finite numbers.
  bool IsFinitePoint(int ValueIndex) const;

 protected:
  // The value the point is drawn at (stacked areas add the series below).
  virtual double DrawnYValue(int ValueIndex) const { return FY->Data()[ValueIndex]; }
  // Drawn before the line; nothing here.
  virtual void DrawBeneath(TCanvas3D&) {}
  // The unprojected pixel of point i.
  TPoint PixelOf(int ValueIndex) const;
  // Whether the pointer of point i is drawn: finite, and not a null point
  // unless nulls are ignored.
  bool HasPointer(int ValueIndex) const;
  // Walks the line over the visible points plus the one before them:
  // Move(i, pixel) starts a piece, Line(i, pixel) continues it to point i.
  // Null points break the line (tnDontPaint), are bridged (tnSkip) or are
  // points like the others (tnIgnore); non-finite points always break it.
  template <class TMove, class TLine>
  void WalkLine(TMove&& Move, TLine&& Line) const;
  TColor LineColor() const;
  bool Is3D() const;
  bool LineShown() const;

  bool FConnectsPoints = false;

 private:
  void DrawLine(TCanvas3D& Canvas);
  void DrawPointers(TCanvas3D& Canvas);
  // The pointer of point i, the canvas prepared for Color.
  void DrawPointerAt(TCanvas3D& Canvas, int ValueIndex, TColor Color);

  std::unique_ptr<TSeriesPointer> FPointer;
  bool FStairs = false;
  bool FInvertedStairs = false;
  int FClickTolerance = 0;
};

template <class TMove, class TLine>
inline void TCustomSeries::WalkLine(TMove&& Move, TLine&& Line) const {
  if (FFirstVisibleIndex < 0) return;
  const int last = std::min(FLastVisibleIndex, Count() - 1);
  bool down = false;
  for (int i = std::max(FFirstVisibleIndex - 1, 0); i <= last; ++i) {
    if (!IsFinitePoint(i)) {
      down = false;
      continue;
    }
    if (FTreatNulls != tnIgnore && FColors && IsNull(i)) {
      if (FTreatNulls == tnDontPaint) down = false;
      continue;  // tnSkip: the next segment bridges the null point
    }
    const TPoint p = PixelOf(i);
    if (down) {
      Line(i, p);
    } else {
      Move(i, p);
      down = true;
    }
  }
}

}  // namespace sextant

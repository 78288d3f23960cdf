// Bar series: one bar per point from an origin (or the stack below) to the
// point's value. TBarSeries stands its bars on the horizontal axis;
// THorizBarSeries (horiz_bar_series.h) lays them along the vertical one.
// Both share TCustomBarSeries: the bar geometry, MultiBar across the
// chart's bar series of the same orientation, margins that keep the first
// and last bars whole, hit testing by bar rectangle, the marks at the bar's
// end (or in its middle) and the filled-box legend symbol.
#pragma once

#include <cstdint>
#include <vector>

#include "series/chart_series.h"

namespace sextant {

class TKelGradient;

enum TMultiBar : std::uint8_t { mbNone, mbSide, mbStacked, mbStacked100 };
enum TBarStyle : std::uint8_t { bsRectangle, bsRoundRectangle };
enum TBarMarksLocation : std::uint8_t { mlEnd, mlCenter };

class TCustomBarSeries : public TChartSeries {
 public:
  explicit TCustomBarSeries(TComponent* AOwner = nullptr);
  ~TCustomBarSeries() override;

  // The series settings, then every bar setting.
  void Assign(const TPersistent* Source) override;

  // Width of a bar in percent of the room of one point (1..100, default
  // 70); side by side, the bars of one point share that width.
  int BarWidthPercent() const { return FBarWidthPercent; }
  void SetBarWidthPercent(int Value);
  // Shift of the bar along the positional axis in percent of its width
  // (-100..100, default 0).
  int OffsetPercent() const { return FOffsetPercent; }
  void SetOffsetPercent(int Value);
  // Rectangles, or rounded rectangles with corners of RoundSize pixels
  // (default 8). A gradient fill is the brush's gradient (Gradient()).
  TBarStyle BarStyle() const { return FBarStyle; }
  void SetBarStyle(TBarStyle Value);
  int RoundSize() const { return FRoundSize; }
  void SetRoundSize(int Value) { SetIntegerProperty(FRoundSize, Value < 0 ? 0 : Value); }
  TKelGradient* Gradient() const;
  // How the chart's bar series of this orientation (on the same axes) share
  // a point's place; setting it on one sets it on all of them. mbNone: each
  // bar takes the whole width, later series in front; mbSide: side by side
  // in series order; mbStacked: each bar starts where the earlier series'
  // bars of the same index end; mbStacked100: stacked and scaled to 100.
  TMultiBar MultiBar() const { return FMultiBar; }
  void SetMultiBar(TMultiBar Value);
  // Bars start at YOrigin (default 0) when UseYOrigin is set (default),
  // else at the value axis' minimum. Stacked bars start on the stack.
  bool UseYOrigin() const { return FUseYOrigin; }
  void SetUseYOrigin(bool Value) { SetBooleanProperty(FUseYOrigin, Value); }
  double YOrigin() const { return FYOrigin; }
  void SetYOrigin(double Value) { SetDoubleProperty(FYOrigin, Value); }
  // Marks beyond the bar's end (default) or centred in the bar.
  TBarMarksLocation MarksLocation() const { return FMarksLocation; }
  void SetMarksLocation(TBarMarksLocation Value);

  // The bar of point i in the flat pixels of the last layout (Left < Right,
  // Top < Bottom); false when the point has no bar (null, not a finite
  // number, no axes).
  bool BarBounds(int ValueIndex, TRectF& Bounds) const;
  // The pixel room of one point and the width of one bar, last layout.
  double SlotSize() const;
  double BarSize() const;

  void CalcHorizMargins(int& LeftMargin, int& RightMargin) override;
  void CalcVerticalMargins(int& TopMargin, int& BottomMargin) override;
  // The base range widened by one point on each side, so that bars cut by
  // the plot's edge are drawn.
  void CalcFirstLastVisibleIndex() override;
  void DrawAllValues() override;
  void DrawValue(int ValueIndex) override;
  // The last drawn bar whose rectangle holds the pixel (the front face in
  // 3D), or -1.
  int Clicked(int X, int Y) override;
  void PrepareLegendCanvas() override;
  // The mark stands on the bar's end: the centre of the bar across and its
  // value end along it.
  int CalcXPos(int ValueIndex) const override;
  int CalcYPos(int ValueIndex) const override;
  bool CanDrawMark(int ValueIndex) const override;
  void DrawMark(int ValueIndex, const std::string& Text, TSeriesMarkPosition& Position) override;
  // The value axis' range reaches the origin, or spans the stacked ends.
  double MinXValue() const override;
  double MaxXValue() const override;
  double MinYValue() const override;
  double MaxYValue() const override;

 protected:
  bool Horizontal() const { return !FYMandatory; }

 private:
  // Slot, bar width and this series' offset from the point for the current
  // layout; collects the series sharing the points into IGroup.
  void CalcGeometry() const;
  // The two value ends of point i's bar (unordered: Low is the origin side).
  bool ValueEnds(int ValueIndex, double& Low, double& High) const;
  bool BarBoundsNoGeometry(int ValueIndex, TRectF& Bounds) const;
  double ValueRange(bool IsMin) const;
  int SlotMargin() const;
  void DrawBar(TCanvas3D& Canvas, const TRectF& R, TColor Color);

  int FBarWidthPercent = 70;
  int FOffsetPercent = 0;
  TBarStyle FBarStyle = bsRectangle;
  int FRoundSize = 8;
  TMultiBar FMultiBar = mbNone;
  bool FUseYOrigin = true;
  double FYOrigin = 0;
  TBarMarksLocation FMarksLocation = mlEnd;
  // Geometry of the last CalcGeometry.
  mutable std::vector<const TChartSeries*> IGroup;  // keeps its capacity
  mutable double ISlot = 0;
  mutable double IBarWidth = 0;
  mutable double IBarOffset = 0;
};

// Vertical bars standing on the horizontal axis at their X.
class TBarSeries : public TCustomBarSeries {
 public:
  explicit TBarSeries(TComponent* AOwner = nullptr) : TCustomBarSeries(AOwner) {}
};

}  // namespace sextant

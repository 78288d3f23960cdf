// The area series: a line series whose area down to an origin is filled
// with the series brush (solid, gradient through Brush()->Gradient(), the
// series' Transparency), the line pen drawing its outline on top. Areas of
// the chart can stack (MultiArea): each area then starts on the ones
// before it in the series list, point by point.
#pragma once

#include <cstdint>
#include <vector>

#include "series/custom_series.h"

namespace sextant {

enum TMultiArea : std::uint8_t { maNone, maStacked, maStacked100 };

class TAreaSeries : public TCustomSeries {
 public:
  explicit TAreaSeries(TComponent* AOwner = nullptr);
  ~TAreaSeries() override;

  // The series settings, then UseYOrigin, YOrigin and MultiArea.
  void Assign(const TPersistent* Source) override;

  // The area reaches down to YOrigin when UseYOrigin is set, else to the
  // vertical axis' minimum (also when it is not automatic).
  bool UseYOrigin() const { return FUseYOrigin; }
  void SetUseYOrigin(bool Value) { SetBooleanProperty(FUseYOrigin, Value); }
  double YOrigin() const { return FYOrigin; }
  void SetYOrigin(double Value) { SetDoubleProperty(FYOrigin, Value); }
  // Stacking of the chart's area series: setting it on one area sets it on
  // every area series of the chart. maStacked: each area starts where the
  // earlier ones (same axes) end at the same index; maStacked100: the same
  // with every stack scaled to 100.
  TMultiArea MultiArea() const { return FMultiArea; }
  void SetMultiArea(TMultiArea Value);

  // With UseYOrigin the origin is inside the range; stacked areas range
  // over their stacked ends (0..100 for maStacked100).
  double MinYValue() const override;
  double MaxYValue() const override;
  // Pointers and line first (as the line series), then the inside of the
  // area: the first point of the piece of area under the pixel.
  int Clicked(int X, int Y) override;
  // A box filled with the area's brush, framed with the line pen.
  void DrawLegendShape(const TRectF& Rect) override;
  // The stack is gathered once for the whole paint.
  void DrawAllValues() override;

 protected:
  double DrawnYValue(int ValueIndex) const override;
  void DrawBeneath(TCanvas3D& Canvas) override;

 private:
  // The lower end of the area at point i (the origin, or the stack below).
  double BottomValue(int ValueIndex) const;
  bool Stacked() const { return FMultiArea != maNone; }
  // The stacking areas of the chart into IGroup.
  void CollectGroup() const;
  void StackEnds(int ValueIndex, double& Low, double& High) const;
  // One piece of area over the run of points gathered in IRun.
  void FillRun(TCanvas3D& Canvas);

  bool FUseYOrigin = false;
  double FYOrigin = 0;
  TMultiArea FMultiArea = maNone;
  // Scratch buffers of the paint; they keep their capacity.
  mutable std::vector<const TChartSeries*> IGroup;
  // IGroup holds the stack of this paint (or hit test): not gathered again
  // per point.
  bool IGroupReady = false;
  std::vector<int> IRun;
  std::vector<TPointF> IPolygon;
};

}  // namespace sextant

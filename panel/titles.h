// Chart titles: the title and sub-title above the plot, the foot and
// sub-foot below it. Each is a text box that measures itself, takes its
// place at the top (or bottom) of the chart rectangle and reserves its
// height plus a margin from it.
#pragma once

#include "canvas/text_shape.h"

namespace sextant {

class TCustomKelPanel;

class TChartTitle : public TStringsShape {
 public:
  // Chart: the panel whose chart rectangle the title takes room from.
  explicit TChartTitle(TCustomKelPanel* Chart);
  std::unique_ptr<TKelCustomShape> Create(IShapePanel* Parent) const override;
  // The shape's settings, then AdjustFrame and VertMargin.
  void Assign(const TPersistent* Source) override;

  // The box is as wide as its text; when False it spans the panel width
  // less the side margins.
  bool AdjustFrame() const { return FAdjustFrame; }
  void SetAdjustFrame(bool Value) { SetShapeProperty(FAdjustFrame, Value); }
  // Pixels left free between the box and the plot area.
  int VertMargin() const { return FVertMargin; }
  void SetVertMargin(int Value) { SetShapeProperty(FVertMargin, Value); }
  // Placed at the top of the chart rectangle (False: at the bottom).
  bool OnTop() const { return IOnTop; }

  // The box of the last drawing.
  TRectF TitleRect() const { return ShapeBounds(); }
  // Visible and the point lies in the box.
  bool Clicked(int X, int Y) const;
  // Visible with at least one line.
  bool ShouldDraw() const;
  // Measures, places and draws the title; a title that is not custom
  // positioned then takes its room out of the chart rectangle.
  void DrawTitle();

 protected:
  TCustomKelPanel* Chart() const { return FChart; }
  bool IOnTop = true;

 private:
  TCustomKelPanel* FChart;  // not owned
  bool FAdjustFrame = true;
  int FVertMargin = 5;
};

// The foot and sub-foot: at the bottom, red italic text.
class TChartFootTitle : public TChartTitle {
 public:
  explicit TChartFootTitle(TCustomKelPanel* Chart);
  std::unique_ptr<TKelCustomShape> Create(IShapePanel* Parent) const override;
};

}  // namespace sextant

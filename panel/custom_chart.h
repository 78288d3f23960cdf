// TCustomChart completes the axis panel: series colours from named
// palettes, the mouse, wheel and key handlers that feed the tools (and, with
// the zoom module, panning and zooming), and the hooks where titles, legend
// and walls are laid out and drawn.
#pragma once

#include "panel/axis_panel.h"

namespace sextant {

class TCustomChart : public TCustomAxisPanel {
 public:
  explicit TCustomChart(TComponent* AOwner = nullptr);
  ~TCustomChart() override;

  int ColorPaletteIndex() const { return FColorPaletteIndex; }
  void SetColorPaletteIndex(int Value);
  // Gives every series still without a colour a free palette colour.
  void ColorPaletteChanged();
  bool IsFreeSeriesColor(TColor Color, bool CheckBackground,
                         const TChartSeries* Series) const override;
  TColor GetBackColor() const override;

  bool RestoredAxisScales = true;

 protected:
  void ApplyPalette(int Index);
  void InternalDraw(const TRectF& UserRectangle) override;
  void CalcWallsRect() override;
  void DrawTitlesAndLegend(bool BeforeSeries) override;
  void DrawWalls() override;

  void MouseDown(TMouseButton Button, TShiftState Shift, float X, float Y) override;
  void MouseMove(TShiftState Shift, float X, float Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, float X, float Y) override;
  void MouseWheel(TShiftState Shift, int WheelDelta, bool& Handled) override;
  void DoMouseLeave() override;
  void KeyDown(std::uint16_t& Key, char16_t& KeyChar, TShiftState Shift) override;
  void KeyUp(std::uint16_t& Key, char16_t& KeyChar, TShiftState Shift) override;

 private:
  int FColorPaletteIndex = -1;
};

}  // namespace sextant

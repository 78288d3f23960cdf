// TCustomChart completes the axis panel: series colours from named
// palettes, the titles, walls and legend, and the mouse, wheel and key
// handlers that feed the tools (and, with the zoom module, panning and
// zooming).
#pragma once

#include <memory>

#include "panel/axis_panel.h"
#include "panel/legend.h"
#include "panel/titles.h"
#include "panel/walls.h"

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
  // The back wall's colour when it is visible and filled, else the panel's.
  TColor GetBackColor() const override;

  // ---- Titles (created on first access) ----
  TChartTitle* Title();
  void SetTitle(const TChartTitle* Value);
  TChartTitle* SubTitle();
  void SetSubTitle(const TChartTitle* Value);
  TChartFootTitle* Foot();
  void SetFoot(const TChartTitle* Value);
  TChartFootTitle* SubFoot();
  void SetSubFoot(const TChartTitle* Value);
  bool HasTitle() const { return FTitle != nullptr; }
  bool HasSubTitle() const { return FSubTitle != nullptr; }
  bool HasFoot() const { return FFoot != nullptr; }
  bool HasSubFoot() const { return FSubFoot != nullptr; }

  // ---- Walls and legend ----
  TChartWalls* Walls() const { return FWalls.get(); }
  void SetWalls(const TChartWalls* Value);
  TChartBackWall* BackWall() const { return FWalls->Back(); }
  TChartLeftWall* LeftWall() const { return FWalls->Left(); }
  TChartBottomWall* BottomWall() const { return FWalls->Bottom(); }
  TChartRightWall* RightWall() const { return FWalls->Right(); }
  TChartLegend* Legend() const { return FLegend.get(); }
  void SetLegend(const TChartLegend* Value);
  // The symbol of a legend item: the series' own (ValueIndex -1) or a box
  // in the point's colour.
  virtual void DrawLegendShape(TChartSeries* Series, int ValueIndex, const TRectF& Rect);

  bool RestoredAxisScales = true;

 protected:
  void ApplyPalette(int Index);
  void InternalDraw(const TRectF& UserRectangle) override;
  void CalcWallsRect() override;
  void DrawTitlesAndLegend(bool BeforeSeries) override;
  void DrawWalls() override;
  // The back wall of a flat chart over the final chart rectangle.
  void DrawBackWall();

  void MouseDown(TMouseButton Button, TShiftState Shift, float X, float Y) override;
  void MouseMove(TShiftState Shift, float X, float Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, float X, float Y) override;
  void MouseWheel(TShiftState Shift, int WheelDelta, bool& Handled) override;
  void DoMouseLeave() override;
  void KeyDown(std::uint16_t& Key, char16_t& KeyChar, TShiftState Shift) override;
  void KeyUp(std::uint16_t& Key, char16_t& KeyChar, TShiftState Shift) override;

 private:
  int FColorPaletteIndex = -1;
  std::unique_ptr<TChartTitle> FTitle;
  std::unique_ptr<TChartTitle> FSubTitle;
  std::unique_ptr<TChartFootTitle> FFoot;
  std::unique_ptr<TChartFootTitle> FSubFoot;
  std::unique_ptr<TChartWalls> FWalls;
  std::unique_ptr<TChartLegend> FLegend;
};

}  // namespace sextant

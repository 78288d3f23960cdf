// TCustomChart completes the axis panel: series colours from named
// palettes, the titles, walls and legend, and the mouse, wheel and key
// handlers that feed the tools (and, with the zoom module, panning and
// zooming).
#pragma once

#include <memory>
#include <vector>

#include "panel/axis_panel.h"
#include "panel/legend.h"
#include "panel/titles.h"
#include "panel/walls.h"
#include "panel/zoom_panning.h"

namespace sextant {

class TChartTitle;

// The part of the chart under a mouse press.
enum TChartClickedPartStyle {
  cpNone,
  cpLegend,
  cpAxis,
  cpSeries,
  cpTitle,
  cpFoot,
  cpChartRect,
  cpSeriesMarks,
  cpSeriesPointer,
  cpSubTitle,
  cpSubFoot,
  cpAxisTitle
};

struct TChartClickedPart {
  TChartClickedPartStyle Part = cpNone;
  int PointIndex = -1;
  TChartSeries* ASeries = nullptr;
  TChartAxis* AAxis = nullptr;
  TChartTitle* ATitle = nullptr;
};

// One axis' scale as saved before panning, wheel scrolling or zooming.
struct TAxisSavedScale {
  bool Automatic = true;
  bool AutomaticMinimum = true;
  bool AutomaticMaximum = true;
  double Minimum = 0;
  double Maximum = 0;
};

using TChartClickEvent =
    std::function<void(TPersistent* Sender, TMouseButton Button, TShiftState Shift, int X, int Y)>;
using TChartClickAxisEvent = std::function<void(TPersistent* Sender, TChartAxis* Axis,
                                                TMouseButton Button, TShiftState Shift, int X,
                                                int Y)>;
using TChartClickSeriesEvent =
    std::function<void(TPersistent* Sender, TChartSeries* Series, int ValueIndex,
                       TMouseButton Button, TShiftState Shift, int X, int Y)>;
using TChartClickTitleEvent = std::function<void(TPersistent* Sender, TChartTitle* Title,
                                                 TMouseButton Button, TShiftState Shift, int X,
                                                 int Y)>;
// May veto (AllowScroll := false) or change a pan or wheel step of an axis.
using TAllowScrollEvent = std::function<void(TPersistent* Sender, TChartAxis* Axis,
                                             double& AMin, double& AMax, bool& AllowScroll)>;

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

  // ---- Clicked parts and click events ----
  void CalcClickedPart(TPointF Pos, TChartClickedPart& Part);
  TChartClickSeriesEvent OnClickSeries;
  TChartClickAxisEvent OnClickAxis;
  TChartClickEvent OnClickLegend;
  TChartClickTitleEvent OnClickTitle;
  TChartClickEvent OnClickBackground;
  TAllowScrollEvent OnAllowScroll;

  // ---- Zoom and panning ----
  // True without active series or when one of them allows zoom and scroll.
  bool ActiveSeriesCanZoomScroll() const;
  // Zooms to the rectangle of the zoom settings (X0, Y0, X1, Y1).
  void CalcZoomPoints();
  void DoZoom(double TopMin, double TopMax, double BottomMin, double BottomMax, double LeftMin,
              double LeftMax, double RightMin, double RightMax);
  void ZoomRect(const TRectF& Rect);
  // Zooms about the centre: 110 shrinks each range by a tenth at each end.
  void ZoomPercent(double Percent);
  void UndoZoom();
  // Wheel panning: every horizontal (vertical) axis by 3 % of its range.
  void ScrollHorizontalAxes(bool Up);
  void ScrollVerticalAxes(bool Up);
  void SaveScales();
  void RestoreScales();
  const std::vector<TAxisSavedScale>& SavedScales() const { return FSavedScales; }
  // Draws the zoom rectangle with the zoom pen and brush.
  void DrawZoomRectangle();

 protected:
  void ApplyPalette(int Index);
  void InternalDraw(const TRectF& UserRectangle) override;
  void CalcWallsRect() override;
  void DrawTitlesAndLegend(bool BeforeSeries) override;
  void DrawWalls() override;
  // The back wall of a flat chart over the final chart rectangle.
  void DrawBackWall();
  // The walls of a 3D chart (chart_walls3d.cpp): back, left, right and
  // bottom walls, then the bottom axis when it is drawn with the walls.
  void DrawWalls3D();
 public:
  // In 3D the thickness (Size) of the shown left, bottom or right wall next
  // to the left, bottom or right axis; 0 for other axes and in 2D.
  int CalcWallSize(const TChartAxis* Axis) const override;
 protected:

  void MouseDown(TMouseButton Button, TShiftState Shift, float X, float Y) override;
  void MouseMove(TShiftState Shift, float X, float Y) override;
  void MouseUp(TMouseButton Button, TShiftState Shift, float X, float Y) override;
  void MouseWheel(TShiftState Shift, int WheelDelta, bool& Handled) override;
  void DoMouseLeave() override;
  void KeyDown(std::uint16_t& Key, char16_t& KeyChar, TShiftState Shift) override;
  void KeyUp(std::uint16_t& Key, char16_t& KeyChar, TShiftState Shift) override;
  void DrawZoomRectangleIfActive() override;

  // Starts a zoom or panning drag for a press; true when one started.
  bool CheckZoomPanning(TMouseButton Button, TShiftState Shift, float X, float Y);
  // Pans the axes of one direction from pixel Old to New; true when the
  // direction takes part in panning.
  bool PanAxis(bool Horizontal, int New, int Old);
  void ProcessPanning(TChartAxis* Axis, int P0, int P1);
  void CorrectAspectRatio(const TRectF& Rect, float X, float Y);
  // Shows the zoom rectangle: at once with xor drawing, else by repainting.
  void TryDrawZoom();
  // The scales are saved once before the first change after a restore.
  void SaveScalesOnce();
  void AddZoomSnapshot();
  void ScrollAxes(bool Horizontal, bool Up);
  void ScrollLogAxis(TChartAxis* Axis, bool Up);
  // Cursor and hover for a move without a drag.
  void CheckMouseCursorAndHover(float X, float Y);
  bool CheckMouseSeries(int X, int Y);
  // The axis label under the mouse becomes the labels' hovered item.
  bool CheckMouseAxes(int X, int Y);

 private:
  void MouseDownClick(TMouseButton Button, TShiftState Shift, float X, float Y);
  void PanningMove(float X, float Y);
  void ZoomMove(float X, float Y);
  void ZoomEnd(float X, float Y);

  int FColorPaletteIndex = -1;
  std::vector<TAxisSavedScale> FSavedScales;
  std::unique_ptr<TChartTitle> FTitle;
  std::unique_ptr<TChartTitle> FSubTitle;
  std::unique_ptr<TChartFootTitle> FFoot;
  std::unique_ptr<TChartFootTitle> FSubFoot;
  std::unique_ptr<TChartWalls> FWalls;
  std::unique_ptr<TChartLegend> FLegend;
};

}  // namespace sextant

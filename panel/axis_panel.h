// TCustomAxisPanel: the chart level that owns the content: the series and
// tool lists, the six standard axes (and custom axes), paging and the colour
// palette, and the complete drawing order of one paint.
#pragma once

#include <functional>
#include <memory>
#include <vector>

#include "axes/chart_axis.h"
#include "panel/chart_hover.h"
#include "panel/kel_panel_extended.h"
#include "series/chart_series.h"
#include "tools/chart_tool.h"

namespace sextant {

class TCustomAxisPanel;

// A series event sent to the chart's listeners.
class TKelSeriesEvent : public TKelEvent {
 public:
  TChartSeries* Series = nullptr;
  TChartSeriesEvent Event = seAdd;
};

// Paging state: which points the positional axis shows.
class TChartPage {
 public:
  explicit TChartPage(TCustomAxisPanel* Parent) : IParent(Parent) {}
  bool AutoScale() const { return FAutoScale; }
  void SetAutoScale(bool Value);
  int Current() const { return FCurrent; }
  void SetCurrent(int Value);
  int MaxPointsPerPage() const { return FPointsPerPage; }
  void SetMaxPointsPerPage(int Value);  // ChartException when negative
  bool ScaleLastPage() const { return FScaleLastPage; }
  void SetScaleLastPage(bool Value);
  // Number of pages (1 when paging is off or there is no series).
  int Count() const;
  void Next();
  void Previous();

 private:
  TCustomAxisPanel* IParent;
  bool FAutoScale = false;
  int FCurrent = 1;
  int FPointsPerPage = 0;
  bool FScaleLastPage = true;
};

// The chart's series in order (not owning: series belong to their owner).
class TChartSeriesList {
 public:
  explicit TChartSeriesList(TCustomAxisPanel* Owner) : FOwner(Owner) {}
  int Count() const { return static_cast<int>(FItems.size()); }
  TChartSeries* Items(int Index) const;  // ChartException when out of range
  TChartSeries* First() const { return FItems.empty() ? nullptr : FItems.front(); }
  TChartSeries* Last() const { return FItems.empty() ? nullptr : FItems.back(); }
  int IndexOf(const TChartSeries* Series) const;
  void ClearValues();
  void FillSampleValues(int NumValues);
  TCustomAxisPanel* Owner() const { return FOwner; }
  auto begin() const { return FItems.begin(); }
  auto end() const { return FItems.end(); }

 private:
  friend class TCustomAxisPanel;
  TCustomAxisPanel* FOwner;
  std::vector<TChartSeries*> FItems;
};

// The chart's tools in order. Tools belong to their owner component; the
// list does not own them, except tools created by Add(class) below.
class TChartTools {
 public:
  explicit TChartTools(TCustomAxisPanel* Owner) : FOwner(Owner) {}
  int Count() const { return static_cast<int>(FItems.size()); }
  // ChartException for an index outside 0 .. Count - 1.
  TKelCustomTool* Items(int Index) const {
    if (Index < 0 || Index >= Count()) KelRaiseIndex("Tool", Index, Count() - 1);
    return FItems[static_cast<std::size_t>(Index)];
  }
  // Sets the tool's parent chart, which appends it here.
  TKelCustomTool* Add(TKelCustomTool* Tool);
  // Creates a tool of class T owned by the chart and adds it.
  template <typename T>
  T* Add();
  int IndexOf(const TKelCustomTool* Tool) const;
  // Frees every tool.
  void Clear();
  void SetActive(bool Value);
  TCustomAxisPanel* Owner() const { return FOwner; }
  auto begin() const { return FItems.begin(); }
  auto end() const { return FItems.end(); }

 private:
  friend class TCustomAxisPanel;
  friend class TKelCustomTool;
  TCustomAxisPanel* FOwner;
  std::vector<TKelCustomTool*> FItems;
};

class TCustomAxisPanel : public TCustomKelPanelExtended {
 public:
  explicit TCustomAxisPanel(TComponent* AOwner = nullptr);
  ~TCustomAxisPanel() override;

  // ---- Series ----
  TChartSeries* AddSeries(TChartSeries* Series);
  // Creates a series of class T owned by the chart's owner and adds it.
  template <typename T>
  T* AddSeries() {
    T* series = new T(Owner());
    AddSeries(series);
    return series;
  }
  void InternalAddSeries(TChartSeries* Series);
  void RemoveSeries(TChartSeries* Series);
  void RemoveSeries(int Index);
  TChartSeries* Series(int Index) const { return FSeriesList.Items(Index); }
  TChartSeries* GetSeries(int Index) const { return FSeriesList.Items(Index); }
  int SeriesCount() const { return FSeriesList.Count(); }
  int CountActiveSeries() const;
  TChartSeriesList& SeriesList() { return FSeriesList; }
  const TChartSeriesList& SeriesList() const { return FSeriesList; }
  int GetMaxValuesCount() const;
  TChartSeries* GetAxisSeries(const TChartAxis* Axis) const;
  TChartSeries* GetAxisSeriesMaxPoints(const TChartAxis* Axis) const;
  // Detaches and frees every series (of the given kind when a predicate is given).
  void FreeAllSeries(const std::function<bool(TChartSeries*)>& OfKind = nullptr);
  void BroadcastSeriesEvent(TChartSeries* Series, TChartSeriesEvent Event);
  bool DoNotBroadcast = false;

  // ---- Tools and their events ----
  TChartTools& Tools() { return FTools; }
  const TChartTools& Tools() const { return FTools; }
  void BroadcastToolEvent(TChartToolEvent Event);
  // True while the chart paints (inside InternalDraw).
  bool Drawing() const { return FDrawingDepth > 0; }
  void BroadcastMouseEvent(TChartMouseEvent Event, TMouseButton Button, TShiftState Shift,
                           int X, int Y);
  void BroadcastWheelEvent(TWheelMouseEvent Event, int Delta, int X, int Y);
  void BroadcastKeyEvent(TChartKeyEvent Event, std::uint16_t& Key, char16_t& KeyChar,
                         TShiftState Shift);
  void BroadcastDragDropEvent(TChartDragDropEvent Event, void* Source, int X, int Y,
                              TDragState State, bool& Accept, void* DragObject);

  // ---- Axes ----
  TChartAxes& Axes() { return FAxes; }
  const TChartAxes& Axes() const { return FAxes; }
  TChartAxis* BottomAxis() const { return FBottomAxis; }
  TChartAxis* TopAxis() const { return FTopAxis; }
  TChartAxis* LeftAxis() const { return FLeftAxis; }
  TChartAxis* RightAxis() const { return FRightAxis; }
  TChartAxis* DepthAxis() const { return FDepthAxis; }
  TChartAxis* DepthTopAxis() const { return FDepthTopAxis; }
  // Custom axes: created with the chart as parent, owned by the chart.
  TChartAxis* AddCustomAxis();
  // Takes a custom axis out of the chart and frees it (an axis that is not
  // one of this chart's custom axes is left alone). Series drawn on it go
  // back to the standard axis of their side, axis tools bound to it lose
  // it. During a paint (from one of the axis' events) the axis is freed
  // when the paint is over, and the paint draws again without it.
  void RemoveCustomAxis(TChartAxis* Axis);
  int CustomAxesCount() const { return static_cast<int>(FCustomAxes.size()); }
  // ChartException for an index outside 0 .. CustomAxesCount - 1.
  TChartAxis* CustomAxis(int Index) const {
    if (Index < 0 || Index >= CustomAxesCount()) KelRaiseIndex("Custom axis", Index, CustomAxesCount() - 1);
    return FCustomAxes[static_cast<std::size_t>(Index)].get();
  }
  bool AxisVisible() const { return FAxisVisible; }
  void SetAxisVisible(bool Value) { SetBooleanProperty(FAxisVisible, Value); }
  bool AxisBehind() const { return FAxisBehind; }
  void SetAxisBehind(bool Value) { SetBooleanProperty(FAxisBehind, Value); }
  bool ClipPoints() const { return FClipPoints; }
  void SetClipPoints(bool Value) { SetBooleanProperty(FClipPoints, Value); }
  bool CalcIsAxisVisible(const TChartAxis* Axis) const;
  // The automatic end of an axis over the series, honouring paging.
  double InternalMinMax(const TChartAxis* Axis, bool IsMin, bool IsX) const;
  double MinXValue(const TChartAxis* Axis) const { return InternalMinMax(Axis, true, true); }
  double MaxXValue(const TChartAxis* Axis) const { return InternalMinMax(Axis, false, true); }
  double MinYValue(const TChartAxis* Axis) const { return InternalMinMax(Axis, true, false); }
  double MaxYValue(const TChartAxis* Axis) const { return InternalMinMax(Axis, false, false); }
  virtual void ChangedAxisScale(TChartAxis* Axis);
  // True when an active series is associated with the axis.
  bool AxisHasActiveSeries(const TChartAxis* Axis) const;

  // ---- Paging ----
  TChartPage& Pages() { return FPage; }
  int MaxPointsPerPage() const { return FPage.MaxPointsPerPage(); }
  void SetMaxPointsPerPage(int Value) { FPage.SetMaxPointsPerPage(Value); }
  int Page() const { return FPage.Current(); }
  void SetPage(int Value) { FPage.SetCurrent(Value); }
  virtual int NumPages() const { return FPage.Count(); }
  void NextPage() { FPage.Next(); }
  void PreviousPage() { FPage.Previous(); }
  bool ScaleLastPage() const { return FPage.ScaleLastPage(); }
  void SetScaleLastPage(bool Value) { FPage.SetScaleLastPage(Value); }
  void CalcFirstLastPage(const TChartSeries* Series, int& First, int& Last) const;

  // ---- 3D ----
  int Chart3DPercent() const { return F3DPercent; }
  void SetChart3DPercent(int Value) { SetIntegerProperty(F3DPercent, Value); }
  bool View3DWalls() const { return FView3DWalls; }
  void SetView3DWalls(bool Value) { SetBooleanProperty(FView3DWalls, Value); }
  int MaxZOrder() const { return FMaxZOrder; }
  // The depth slot of a series while the slots are handed out: Requested
  // when it is 0 or more (raising MaxZOrder to it), else the next free one.
  int TakeZOrder(int Requested);
  int SeriesWidth3D() const { return FSeriesWidth3D; }
  int SeriesHeight3D() const { return FSeriesHeight3D; }

  // ---- Colours ----
  std::vector<TColor> ColorPalette;  // empty: the module palette
  TColor GetDefaultColor(int Index) const;
  TColor GetFreeSeriesColor(bool CheckBackground, const TChartSeries* Series) const;
  virtual bool IsFreeSeriesColor(TColor Color, bool CheckBackground,
                                 const TChartSeries* Series) const = 0;

  // ---- Hover ----
  // Highlighting of elements under the mouse; created visible.
  TChartHover* Hover() const { return FHover.get(); }
  void SetHover(const TChartHover* Value) {
    if (Value) FHover->Assign(Value);
  }

  // Thickness of the 3D wall next to an axis (0 in a flat chart).
  virtual int CalcWallSize(const TChartAxis* Axis) const;

  // ---- Events ----
  // May change the text of an axis label (Series null and ValueIndex -1
  // for value labels).
  std::function<void(TChartAxis* Sender, TChartSeries* Series, int ValueIndex,
                     std::string& LabelText)>
      OnGetAxisLabel;
  // A custom sequence of value labels: called with LabelIndex 0, 1, ...
  // until Stop is set; each call gives LabelValue.
  std::function<void(TChartAxis* Sender, int LabelIndex, double& LabelValue, bool& Stop)>
      OnGetNextAxisLabel;
  std::function<void(TPersistent*)> OnBeforeDrawChart;
  std::function<void(TPersistent*)> OnBeforeDrawAxes;
  std::function<void(TPersistent*)> OnBeforeDrawSeries;
  std::function<void(TPersistent*)> OnPageChange;
  std::function<void(TPersistent*, TChartSeries*)> OnAddSeries;
  std::function<void(TPersistent*, TChartSeries*)> OnRemoveSeries;

  // Clip to the chart rectangle while drawing a series (when allowed).
  void ClipRegionCreate();
  void ClipRegionDone();

 protected:
  void InternalDraw(const TRectF& UserRectangle) override;
  // The drawing order of one paint, run by InternalDraw.
  void DrawChart(const TRectF& UserRectangle);
  void CalcAxisRect();
  void CalcSeriesRect();
  void SetSeriesZOrder();
  void DrawAxesSeries();
  void DrawAllAxis();
  void DrawAllSeries();
  void DrawSeries(TChartSeries* Series);
  // Runs Draw for an element; when one of the element's handlers destroys
  // it or takes it out of the chart, the rest of its drawing is dropped and
  // the canvas is returned to the state it had before.
  template <class TDraw>
  void DrawElement(TDraw&& Draw);
  // The marks of a series, clipped to the chart rectangle when they clip.
  virtual void DrawMarksSeries(TChartSeries* Series);
  virtual void CalcWallsRect() = 0;
  virtual void DrawTitlesAndLegend(bool BeforeSeries) = 0;
  virtual void DrawWalls() = 0;
  virtual bool DrawBackWallAfter(int Z);
  // The zoom rectangle of an active zoom drag (zoom module).
  virtual void DrawZoomRectangleIfActive() {}
  virtual void DoOnBeforeDrawChart() { CallEvent(OnBeforeDrawChart, this); }
  virtual void DoOnBeforeDrawAxes() { CallEvent(OnBeforeDrawAxes, this); }
  virtual void DoOnBeforeDrawSeries() { CallEvent(OnBeforeDrawSeries, this); }
  virtual void DoOnAfterDraw() { CallEvent(OnAfterDraw, this); }
  void CalcSize3DWalls();
  void CalcInvertedRotation();

  bool InvertedRotation = false;
  int FSeriesWidth3D = 0;
  int FSeriesHeight3D = 0;
  int FMaxZOrder = 0;

 private:
  friend class TChartPage;
  friend class TKelCustomTool;
  int F3DPercent = 15;
  bool FAxisBehind = true;
  bool FAxisVisible = true;
  bool FClipPoints = true;
  bool FView3DWalls = true;
  bool IClipped = false;
  int FDrawingDepth = 0;
  bool ISeriesLeftWhileDrawing = false;  // a series or an axis left the chart during the paint
  // Frees the custom axes removed during the paint (between its passes).
  void FreeRemovedAxes();
  TChartSeriesList FSeriesList{this};
  TChartTools FTools{this};
  TChartAxes FAxes{this};
  // The six standard axes, owned.
  std::unique_ptr<TChartAxis> FOwnedBottom, FOwnedTop, FOwnedLeft, FOwnedRight, FOwnedDepth,
      FOwnedDepthTop;
  TChartAxis* FBottomAxis = nullptr;
  TChartAxis* FTopAxis = nullptr;
  TChartAxis* FLeftAxis = nullptr;
  TChartAxis* FRightAxis = nullptr;
  TChartAxis* FDepthAxis = nullptr;
  TChartAxis* FDepthTopAxis = nullptr;
  std::vector<std::unique_ptr<TChartAxis>> FCustomAxes;
  TChartPage FPage{this};
  std::unique_ptr<TChartHover> FHover;

  // True when the series' marks are drawn in the second pass, over all
  // series.
  bool MarksOnTop(TChartSeries* Series) const;
  // The first or last positional value of the current page (paging rule).
  double PageMinMax(const TChartAxis* Axis, bool IsMin) const;
  void FreeSeriesWhere(const std::function<bool(TChartSeries*)>& Condition);
};

template <typename T>
T* TChartTools::Add() {
  T* tool = new T(FOwner);
  Add(tool);
  return tool;
}

// The module palette (installed at start-up) and the palette registry.
extern std::vector<TColor> KelColorPalette;
void InstallDefaultPalette();
struct TColorPalette {
  std::string Name;
  std::vector<TColor> Colors;  // ARGB
};
// The registered palettes in order; GetPalette of an index outside it is empty.
const std::vector<TColorPalette>& ColorPalettes();
std::vector<TColor> GetPalette(int Index);

inline constexpr const char* KelMsg_MaxPointsPerPage = "MaxPointsPerPage must be >= 0";

}  // namespace sextant

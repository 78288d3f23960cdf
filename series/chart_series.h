// Series: the chart elements that hold data points and draw them.
//
// TCustomChartSeries adds the title and identifier; TChartSeries holds the
// X and Y value lists, per-point colours and labels, null points, update
// blocks, sample values, the visible index range, the axes it uses and the
// per-paint drawing hooks that series kinds override.
#pragma once

#include <cstdint>
#include <functional>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "axes/axis_label_style.h"
#include "series/chart_element.h"
#include "series/chart_value_list.h"
#include "series/labels_list.h"

namespace sextant {

class TChartAxis;
class TCanvas3D;
class TCustomTextShape;
class TSeriesMarkPosition;
class TSeriesMarks;
enum TSeriesMarksStyle : std::uint8_t;

enum THorizAxis { aTopAxis, aBottomAxis, aBothHorizAxis, aCustomHorizAxis };
enum TVertAxis { aLeftAxis, aRightAxis, aBothVertAxis, aCustomVertAxis };
enum TTreatNullsStyle { tnDontPaint, tnSkip, tnIgnore };
enum TSeriesClickedPartStyle { scpNone, scpSeries, scpMark, scpPointer };
enum TChartSeriesEvent {
  seAdd,
  seRemove,
  seChangeTitle,
  seChangeColor,
  seSwap,
  seChangeActive,
  seDataChanged,
  seAfterRemove
};

class TCustomChartSeries : public TCustomChartElement {
 public:
  explicit TCustomChartSeries(TComponent* AOwner = nullptr);
  ~TCustomChartSeries() override;

  const std::string& Title() const { return FTitle; }
  void SetTitle(const std::string& Value);
  const std::string& Identifier() const { return FIdentifier; }
  void SetIdentifier(const std::string& Value) { FIdentifier = Value; }
  // Index in the chart's series list, -1 without a chart.
  int SeriesIndex() const;
  void SetActive(bool Value) override;

  // Pixel margins asked of the axes (zero here).
  virtual void CalcHorizMargins(int& LeftMargin, int& RightMargin);
  virtual void CalcVerticalMargins(int& TopMargin, int& BottomMargin);
  virtual void DoBeforeDrawChart() {}
  // Called by the chart when it takes the series in / lets it go.
  virtual void Added();
  virtual void Removed();

 protected:
  std::string FIdentifier;
  std::string FTitle;
};

class TChartSeries : public TCustomChartSeries, public IChartValueListOwner {
 public:
  explicit TChartSeries(TComponent* AOwner = nullptr);
  ~TChartSeries() override;

  // ---- Values ----
  TChartValueList* XValues() const { return FX; }
  TChartValueList* YValues() const { return FY; }
  TChartValueLists& ValuesList() override { return FValuesList; }
  TChartValueList* MandatoryValueList() const { return FMandatoryValueList; }
  TChartValueList* NotMandatoryValueList() const { return FNotMandatoryValueList; }
  int Count() const;
  // Range-checked reads (ChartException on a bad index).
  double XValue(int Index) const;
  double YValue(int Index) const;
  // Unchecked reads for loops that already hold a valid index (the drawing
  // code only visits FirstValueIndex..LastValueIndex and their neighbours).
  double XValueUnchecked(int Index) const { return FX->Data()[Index]; }
  double YValueUnchecked(int Index) const { return FY->Data()[Index]; }
  virtual double GetxValue(int Index) const { return XValue(Index); }
  virtual double GetyValue(int Index) const { return YValue(Index); }
  bool YMandatory() const { return FYMandatory; }

  // ---- Adding, deleting, clearing ----
  virtual int AddXY(double AXValue, double AYValue, const std::string& ALabel = "",
                    TColor AColor = clKelColor);
  int Add(double AValue, const std::string& ALabel = "", TColor AColor = clKelColor);
  int AddX(double AXValue, const std::string& ALabel = "", TColor AColor = clKelColor);
  int AddY(double AYValue, const std::string& ALabel = "", TColor AColor = clKelColor);
  int AddNull(double Value);
  int AddNullLabel(const std::string& ALabel);
  int AddNullXY(double X, double Y, const std::string& ALabel = "");
  // Adds many points at once: X[i], Y[i] for every i, or with Y only the X
  // values Count, Count + 1, ... The result is that of AddXY for each point
  // inside one update block: the same values, order and indices, no
  // notification per point and one RefreshSeries at the end (none when an
  // update block is already open). Points that keep the X list's order are
  // copied at memory speed, with the order checked in the same pass; the
  // rest take AddXY's ordered insertion. X and Y of different lengths
  // raise ChartException.
  void AddArrays(std::span<const double> X, std::span<const double> Y);
  void AddArrays(std::span<const double> Y);
  // Makes room for Quantity more points in every value list at once, so
  // that loading a known number of points allocates once instead of
  // growing step by step (like std::vector::reserve; nothing else changes).
  // A negative Quantity raises ChartException.
  void ReservePoints(int Quantity);
  virtual void Delete(int ValueIndex);
  virtual void Delete(int Start, int Quantity, bool RemoveGap = false);
  virtual void Clear();
  double DefaultNullValue() const { return FDefaultNull; }
  void SetDefaultNullValue(double Value) { FDefaultNull = Value; }

  // ---- Colours, nulls, labels ----
  TColor SeriesColor() const;
  virtual void SetSeriesColor(TColor Value);
  TColor Color() const { return FColor; }
  bool ColorEachPoint() const { return FColorEachPoint; }
  virtual void SetColorEachPoint(bool Value);
  virtual TColor GetValueColor(int ValueIndex) const;
  void SetValueColor(int ValueIndex, TColor Value);
  TColor InternalColor(int ValueIndex) const;
  bool IsNull(int ValueIndex) const { return GetValueColor(ValueIndex) == clNone; }
  void SetNull(int ValueIndex, bool Null = true);
  bool HasColors() const { return FColors != nullptr; }
  TLabelsList* Labels() const { return FLabels.get(); }
  std::string XLabel(int ValueIndex) const { return FLabels->Labels(ValueIndex); }
  void SetXLabel(int ValueIndex, const std::string& Value);
  virtual void NotifyColorChange(int ValueIndex);

  // ---- Statistics over all points ----
  // The extremes over the drawable points: those whose X and Y are both
  // finite numbers. A point with a NaN or infinite X lends nothing to the
  // Y extremes, and the other way round. 0 when no point is drawable.
  virtual double MinXValue() const;
  virtual double MaxXValue() const;
  virtual double MinYValue() const;
  virtual double MaxYValue() const;
  // Whether some point has a finite X and a finite Y; a series without one
  // takes no part in an automatic axis range.
  bool HasFinitePoint() const;

  // ---- Update blocks and notification ----
  void BeginUpdate() { ++IUpdating; }
  void EndUpdate();
  bool IsUpdating() const { return IUpdating > 0; }
  void RefreshSeries();
  void NotifyValue(TValueEvent ValueEvent, int ValueIndex) override;
  virtual void NotifyNewValue(TChartSeries* Sender, int ValueIndex);

  // ---- Order ----
  virtual void CheckOrder();
  void SwapValueIndex(int Index1, int Index2) override;

  // ---- Sample values ----
  virtual void FillSampleValues(int NumValues = 0);
  virtual int NumSampleValues() const { return 25; }
  struct TSeriesRandomBounds {
    double tmpX = 0, StepX = 0, tmpY = 0, MinY = 0, DifY = 0;
  };
  TSeriesRandomBounds RandomBounds(int NumValues);
  virtual void AddSampleValues(int NumValues, bool OnlyMandatory = false);
  int INumSampleValues = 0;
  bool ManualData = false;

  // ---- Axes ----
  THorizAxis HorizAxis() const { return FHorizAxis; }
  void SetHorizAxis(THorizAxis Value);
  TVertAxis VertAxis() const { return FVertAxis; }
  void SetVertAxis(TVertAxis Value);
  TChartAxis* CustomHorizAxis() const { return FCustomHorizAxis; }
  void SetCustomHorizAxis(TChartAxis* Value);
  TChartAxis* CustomVertAxis() const { return FCustomVertAxis; }
  void SetCustomVertAxis(TChartAxis* Value);
  TChartAxis* GetHorizAxis() const { return FGetHorizAxis; }
  TChartAxis* GetVertAxis() const { return FGetVertAxis; }
  void RecalcGetAxis();
  // False for a point that a logarithmic axis of the series cannot place
  // (a value that is not positive): such points are not drawn.
  bool OnLogScales(double X, double Y) const;
  virtual bool AssociatedToAxis(const TChartAxis* Axis) const;
  // Point labels of the series' own kind (none for the base series).
  virtual bool HasPointLabels() const { return false; }
  virtual bool UseAxis() const { return true; }
  virtual bool CanZoomScroll() const { return UseAxis(); }
  virtual TAxisLabelStyle AxisLabelStyle(const TChartAxis* Axis) const;
  // The point's mark text as an axis label (style talMark). Without marks
  // it is the text of the marks' default style: the point's label, or its
  // value in ValueFormat when the label is empty. The marks module
  // overrides this with the marks' own text.
  virtual std::string AxisMarkText(int ValueIndex) const;

  // ---- Value <-> pixel (forwards to the axes, using the last layout) ----
  virtual int CalcXPos(int ValueIndex) const;
  virtual int CalcYPos(int ValueIndex) const;
  virtual int CalcXPosValue(double Value) const;
  virtual int CalcYPosValue(double Value) const;
  int CalcPosValue(double Value) const;
  virtual double XScreenToValue(int ScreenPos) const;
  virtual double YScreenToValue(int ScreenPos) const;
  int CalcXSizeValue(double Value) const;
  int CalcYSizeValue(double Value) const;

  // ---- Visible range and drawing (called by the chart during a paint) ----
  // FirstValueIndex..LastValueIndex: the points inside the positional axis
  // of the last layout (-1 when none). An ascending X list is searched by
  // halving; the .cpp states how NaN values in it are treated.
  virtual void CalcFirstLastVisibleIndex();
  int FirstValueIndex() const { return FFirstVisibleIndex; }
  int LastValueIndex() const { return FLastVisibleIndex; }
  int FirstDisplayedIndex() const;
  int LastDisplayedIndex() const;
  virtual bool DrawValuesForward() const;
  virtual bool DrawSeriesAscending() const { return true; }
  virtual void BeforeCalcAxis() {}
  // Takes the series' depth slot from the chart (series_depth.cpp).
  virtual void CalcZOrder();
  // StartZ, MiddleZ, EndZ from the drawing slot and the chart's slot depth
  // (all 0 in a flat chart); the marks are drawn at MiddleZ.
  virtual void CalcDepthPositions();
  virtual void DoBeforeDrawValues();
  // Whether DoBeforeParallel may run ahead of the drawing pass.
  virtual bool CanBeforeParallel() const { return false; }
  virtual void DoBeforeParallel() {}
  virtual void DrawAllValues();
  virtual void DrawValue(int ValueIndex);
  virtual void DoAfterDrawValues();
  virtual void ChangedAxisScale(TChartAxis*) {}
  // Canvas pen and brush for the legend symbol: the series' pen and brush
  // in the series colour.
  virtual void PrepareLegendCanvas();
  virtual void DrawLegendShape(const TRectF& Rect);
  // Index of the point or segment under the pixel, or -1.
  virtual int Clicked(int X, int Y);
  // Mouse over the series (a plain move on the chart): cursor, enter and
  // leave events; true when the series wants the cursor for this point.
  virtual bool CheckMouse(int X, int Y);
  // Hover highlighting applies: the chart's and the series' own hover
  // settings are on (the series has none of its own yet).
  virtual bool HoverEnabled() const { return false; }
  // False only for a null point while nulls are not ignored.
  bool IsPainted(int ValueIndex) const;
  // Tells the chart's tools about this series (before/after its points).
  void BroadcastEvent(TChartToolEvent Event);

  // ---- Appearance ----
  int Cursor() const { return FCursor; }
  void SetCursor(int Value) { FCursor = Value; }
  int Transparency() const { return FTransparency; }
  virtual void SetTransparency(int Value);
  TTreatNullsStyle TreatNulls() const { return FTreatNulls; }
  void SetTreatNulls(TTreatNullsStyle Value);
  const std::string& ValueFormat() const { return FValueFormat; }
  virtual void SetValueFormat(const std::string& Value);
  const std::string& PercentFormat() const { return FPercentFormat; }
  void SetPercentFormat(const std::string& Value);
  // Depth of the series in 3D in pixels; -1 (the default): the chart's slot
  // depth. Values below -1 count as -1.
  int Depth() const { return FDepth; }
  void SetDepth(int Value) { SetIntegerProperty(FDepth, Value < -1 ? -1 : Value); }
  // Depth slot in 3D, 0 at the back; -1 (the default): the next free slot.
  // Values below -1 count as -1.
  int ZOrder() const { return FZOrder; }
  void SetZOrder(int Value) { SetIntegerProperty(FZOrder, Value < -1 ? -1 : Value); }

  // ---- Events ----
  std::function<bool(TChartSeries* Sender)> OnBeforeAdd;
  std::function<void(TChartSeries* Sender, int ValueIndex)> OnAfterAdd;
  std::function<void(TChartSeries* Sender)> OnClearValues;
  std::function<void(TChartSeries* Sender)> BeforeDrawValues;
  std::function<void(TChartSeries* Sender)> AfterDrawValues;
  std::function<void(TChartSeries* Sender, int ValueIndex)> OnClick;
  std::function<void(TChartSeries* Sender, int ValueIndex)> OnDblClick;
  std::function<void(TChartSeries* Sender)> OnMouseEnter;
  std::function<void(TChartSeries* Sender)> OnMouseLeave;

  // ---- Marks ----
  // The marks module defines these (texts in marks/series_marks.cpp, layout
  // and drawing in marks/marks_layout.cpp).
  // The marks, created on first access with the series' chart.
  TSeriesMarks* Marks();
  TSeriesMarks* GetMarks() { return Marks(); }
  void SetMarks(const TSeriesMarks* Value);
  bool HasMarks() const { return FMarks != nullptr; }
  // The text of point ValueIndex's mark (empty: no mark).
  std::string GetMarkText(int ValueIndex);
  // The text of one mark style.
  std::string GetMarkTextStyle(bool MultiLine, int ValueIndex, TSeriesMarksStyle Style) const;
  // The value that value styles show: the mandatory list's value.
  virtual double GetMarkValue(int ValueIndex) const;
  // The point's label (empty when none).
  virtual std::string GetMarkLabel(int ValueIndex) const;
  // Percent of the point in the absolute total, with "of <total>" when
  // AddTotal.
  std::string MarkPercent(int ValueIndex, bool AddTotal = false) const;
  // False for a null point and, with SoftClip, for a point outside the plot.
  virtual bool CanDrawMark(int ValueIndex) const;
  // Draws the marks of the visible points (one paint).
  virtual void DrawMarks();
  // Draws one mark at its computed position, moved off earlier marks with
  // AutoPosition.
  virtual void DrawMark(int ValueIndex, const std::string& Text, TSeriesMarkPosition& Position);
  // Sizes the box of Shape around Text and places it on (XPos, YPos).
  void CalculateMarkPosition(TCustomTextShape* Shape, const std::string& Text, int XPos, int YPos,
                             TSeriesMarkPosition& Position);
  // The offset that moves mark box R off the earlier box R2.
  virtual TPointF MarkOverlap(int ValueIndex, const TRectF& R, const TRectF& R2) const;
  // Called last by GetMarkText; may change the text.
  std::function<void(TChartSeries* Sender, int ValueIndex, std::string& Text)> OnGetMarkText;

  void SetParentChart(TCustomAxisPanel* Value) override;
  void Added() override;
  void Removed() override;

  // Working state of the drawing (public like the original working fields).
  bool CalcVisiblePoints = true;
  bool DrawBetweenPoints = false;
  bool AllowSinglePoint = true;
  bool HasZValues = false;
  bool IMandatoryPen = false;
  bool IUseSeriesColor = true;
  bool INoAxisMinMax = false;
  bool IsMouseInside = false;
  bool FZoomSeries = false;
  TSeriesClickedPartStyle IClickedPart = scpNone;
  int StartZ = 0, MiddleZ = 0, EndZ = 0;
  int IZOrder = 0;

 protected:
  void ClearLists();
  void InternalNotifyNewValue(int ValueIndex);
  // The canvas of the chart (null without a chart).
  TCanvas3D* ChartCanvas() const;

  TColor FColor = clKelColor;
  TColor ISeriesColor = clKelColor;
  bool FColorEachPoint = false;
  int FCursor = 0;
  std::unique_ptr<TLabelsList> FLabels;
  std::unique_ptr<std::vector<TColor>> FColors;  // exists only while needed
  int FTransparency = 0;
  int FDepth = -1;
  int FZOrder = -1;
  TTreatNullsStyle FTreatNulls = tnDontPaint;
  std::string FValueFormat = "#,##0.###";
  std::string FPercentFormat = "##0.## %";
  TChartValueLists FValuesList;
  TChartValueList* FX = nullptr;
  TChartValueList* FY = nullptr;
  TChartValueList* FMandatoryValueList = nullptr;
  TChartValueList* FNotMandatoryValueList = nullptr;
  double FDefaultNull = 0;
  THorizAxis FHorizAxis = aBottomAxis;
  TVertAxis FVertAxis = aLeftAxis;
  TChartAxis* FCustomHorizAxis = nullptr;
  TChartAxis* FCustomVertAxis = nullptr;
  TChartAxis* FGetHorizAxis = nullptr;
  TChartAxis* FGetVertAxis = nullptr;
  int FFirstVisibleIndex = -1;
  int FLastVisibleIndex = -1;
  int IUpdating = 0;
  bool FYMandatory = true;

 private:
  // AddArrays: how many points from the first on can be copied as they are
  // (the rest go through AddXY).
  bool CanCopyPoints() const;
  void AfterCopiedPoints(int OldCount);
  // AddXY's general case: the point staged in the lists' TempValue.
  int AddStagedValues(const std::string& ALabel, TColor AColor);
  // Per-point mark data follow the points: the marks module keeps its
  // stored positions in step with Delete and Clear through these two.
  void MarksDeleted(int Start, int Quantity);
  void MarksCleared();
  // The marks follow the series to its new chart.
  void MarksChartChanged();
  std::unique_ptr<TSeriesMarks> FMarks;  // created on first access
  // Colour list entry i, growing the list with clKelColor up to i.
  TColor& ColorEntry(int ValueIndex);
  // The chart's 3D view is seen from behind (decided like the chart does
  // at the start of a paint).
  bool ChartInvertedRotation() const;

  // The extremes of the drawable points, cached until a value list's
  // statistics are recomputed (their revisions change).
  struct TFiniteExtent {
    double MinX = 0, MaxX = 0, MinY = 0, MaxY = 0;
    bool Any = false;
  };
  const TFiniteExtent& FiniteExtent() const;
  mutable TFiniteExtent IExtent;
  mutable const TChartValueList* IExtentX = nullptr;
  mutable const TChartValueList* IExtentY = nullptr;
  mutable std::uint64_t IExtentRevisionX = 0;
  mutable std::uint64_t IExtentRevisionY = 0;
};

// Message of Delete with an index out of range.
inline constexpr const char* KelMsg_SeriesDelete =
    "Series Delete: ValueIndex %d out of bounds (0 to %d).";
// Message of Delete(Start, Quantity) with a negative start or quantity.
inline constexpr const char* KelMsg_SeriesDeleteRange =
    "Series Delete: Start %d and Quantity %d must not be negative.";
// Message of ValueColor with a negative index.
inline constexpr const char* KelMsg_SeriesValueColor =
    "Series ValueColor: ValueIndex %d must not be negative.";

}  // namespace sextant

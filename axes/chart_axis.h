// TChartAxis: the scale of one axis and the mapping between values and
// pixels; TChartAxes: the chart's list of all axes in drawing order.
//
// The scale is recomputed at every paint (AdjustMaxMin, InternalCalcPositions,
// AdjustMaxMinRect); between paints the working fields keep the last layout,
// so conversions made from event handlers use the scale of the last paint.
#pragma once

#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "axes/axis_labels.h"
#include "axes/value_format.h"
#include "canvas/kel_exceptions.h"
#include "canvas/kel_units.h"
#include "canvas/kel_persistent.h"
#include "platform/kel_types.h"

namespace sextant {

class TCustomAxisPanel;
class TChartAxes;
class TChartSeries;
class TKelHiddenPen;

// Pixels on the axis line's side that still belong to the axis' area.
inline constexpr int KelAxisClickGap = 3;

class TChartAxis : public TPersistent {
 public:
  // Creates the axis and appends it to Chart's axis list. The first six
  // axes of a chart are its standard axes; later ones are custom axes.
  explicit TChartAxis(TCustomAxisPanel* Chart);
  ~TChartAxis() override;
  TChartAxis(const TChartAxis&) = delete;
  TChartAxis& operator=(const TChartAxis&) = delete;

  void Assign(const TPersistent* Source) override;
  TCustomAxisPanel* ParentChart() const { return FParentChart; }

  // ---- Scale ----
  bool Automatic() const { return FAutomatic; }
  void SetAutomatic(bool Value);
  bool AutomaticMaximum() const { return FAutomaticMaximum; }
  void SetAutomaticMaximum(bool Value);
  bool AutomaticMinimum() const { return FAutomaticMinimum; }
  void SetAutomaticMinimum(bool Value);
  double Minimum() const { return FMinimumValue; }
  void SetMinimum(double Value);  // AxisException when above Maximum or infinite
  double Maximum() const { return FMaximumValue; }
  void SetMaximum(double Value);  // AxisException when below Minimum or infinite
  double Increment() const { return FDesiredIncrement; }
  void SetIncrement(double Value);
  int MaximumOffset() const { return FMaximumOffset; }
  void SetMaximumOffset(int Value);
  int MinimumOffset() const { return FMinimumOffset; }
  void SetMinimumOffset(int Value);
  bool MaximumRound() const { return FMaximumRound; }
  void SetMaximumRound(bool Value);
  bool MinimumRound() const { return FMinimumRound; }
  void SetMinimumRound(bool Value);
  bool Inverted() const { return FInverted; }
  void SetInverted(bool Value);
  // Logarithmic scale: values map by their logarithm; only positive values
  // have a place (the others are not drawn and do not enter the automatic
  // range). AxisException when the axis shows date-times, or when a fixed
  // end is negative.
  bool Logarithmic() const { return FLogarithmic; }
  void SetLogarithmic(bool Value);
  // Base of the label powers (10): AxisException unless > 0 and <> 1.
  double LogarithmicBase() const { return FLogarithmicBase; }
  void SetLogarithmicBase(double Value);

  // ---- Date-time labels (axis_date_time.cpp) ----
  // Format of date-time labels ("dd/mm/yyyy hh:mm"); empty: a format that
  // fits the label step.
  const std::string& DateTimeFormat() const { return FDateTimeFormat; }
  void SetDateTimeFormat(const std::string& Value);
  // Date-time labels on calendar boundaries (whole minutes, days, months,
  // years) instead of multiples of the step from the axis maximum.
  bool ExactDateTime() const { return FExactDateTime; }
  void SetExactDateTime(bool Value);
  // Date-time labels in UTC (default) or in the local time of the machine.
  bool DateTimeLocal() const { return FDateTimeLocal; }
  void SetDateTimeLocal(bool Value);
  // True when an active series associated with the axis holds date-times
  // in the value list this axis shows.
  bool IsDateTime() const;

  // Fixes the scale: both ends explicit (the axis becomes non-automatic).
  // AxisException (nothing changed) when an end is not a finite number.
  void SetMinMax(double AMin, double AMax);
  // Moves both ends by Offset; with CheckLimits only within the data.
  // AxisException (nothing changed) when an end would not stay finite.
  void Scroll(double Offset, bool CheckLimits = false);

  // ---- Geometry and identity ----
  bool Horizontal() const { return FHorizontal; }
  void SetHorizontal(bool Value);
  bool OtherSide() const { return FOtherSide; }
  void SetOtherSide(bool Value);
  bool Visible() const { return FVisible; }
  void SetVisible(bool Value);
  bool ResizeChart() const { return FResizeChart; }
  void SetResizeChart(bool Value) { FResizeChart = Value; }
  double StartPosition() const { return FStartPosition; }
  void SetStartPosition(double Value);
  double EndPosition() const { return FEndPosition; }
  void SetEndPosition(double Value);
  double PositionPercent() const { return FPositionPercent; }
  void SetPositionPercent(double Value);
  TKelUnits PositionUnits() const { return FPosUnits; }
  void SetPositionUnits(TKelUnits Value);
  double ZPosition() const { return FZPosition; }
  void SetZPosition(double Value);
  bool IsDepthAxis() const { return IDepthAxis; }
  const std::string& AxisID() const { return IAxisID; }

  // ---- Value <-> pixel ----
  int CalcXPosValue(double Value) const { return (this->*FCalcXPosValue)(Value); }
  int CalcYPosValue(double Value) const { return (this->*FCalcYPosValue)(Value); }
  int CalcPosValue(double Value) const { return (this->*FCalcPosValue)(Value); }
  double CalcPosPoint(int Pixel) const { return InternalCalcPosPoint(Pixel); }
  int CalcSizeValue(double Value) const { return CalcSizeValue(Value, 0); }
  int CalcSizeValue(double Finish, double Start) const;
  // Re-selects the conversion forms (direction, FastCalc).
  void SetCalcPosValue();

  // ---- Layout (called by the chart at each paint) ----
  void CalcMinMax(double& AMin, double& AMax);
  void AdjustMaxMin();
  void InternalCalcPositions();
  void AdjustMaxMinRect(const TRectF& Rect);
  void CalcRoundScales();
  void InternalCalcRange();
  void CalcLogRange();

  // ---- Labels, ticks, grid and title (settings) ----
  TAxisLabels* Labels() const { return FLabels.get(); }
  void SetLabels(const TAxisLabels* Value);
  // The label items (automatic or custom) and their text format.
  TAxisItems* Items() const { return FAxisItems.get(); }
  // The axis line pen.
  TChartAxisPen* Axis() const { return FAxis.get(); }
  void SetAxis(const TKelPen* Value);
  TAxisGridPen* Grid() const { return FGrid.get(); }
  void SetGrid(const TKelPen* Value);
  TKelHiddenPen* MinorGrid() const { return FMinorGrid.get(); }
  void SetMinorGrid(const TKelPen* Value);
  TTicks* Ticks() const { return FTicks.get(); }
  void SetTicks(const TKelPen* Value);
  TTicks* TicksInner() const { return FTicksInner.get(); }
  void SetTicksInner(const TKelPen* Value);
  TTicks* MinorTicks() const { return FMinorTicks.get(); }
  void SetMinorTicks(const TKelPen* Value);
  int TickLength() const { return FTickLength; }
  void SetTickLength(int Value);
  int TickInnerLength() const { return FTickInnerLength; }
  void SetTickInnerLength(int Value);
  int MinorTickLength() const { return FMinorTickLength; }
  void SetMinorTickLength(int Value);
  int MinorTickCount() const { return FMinorTickCount; }
  void SetMinorTickCount(int Value);
  // Ticks only where a label is drawn (otherwise at every label value).
  bool TickOnLabelsOnly() const { return FTickOnLabelsOnly; }
  void SetTickOnLabelsOnly(bool Value);
  // Number format pattern of value labels.
  const std::string& AxisValuesFormat() const { return FAxisValuesFormat; }
  void SetAxisValuesFormat(const std::string& Value);
  // Fixed title room in pixels; 0 = measured.
  int TitleSize() const { return FTitleSize; }
  void SetTitleSize(int Value);
  // The axis title, created on first access.
  TChartAxisTitle* Title();
  void SetTitle(const TChartAxisTitle* Value);
  bool HasTitle() const { return FAxisTitle != nullptr; }

  // ---- Labels: texts and increments ----
  // The label style in force: Labels.Style, or for talAuto the answer of
  // the associated active series.
  TAxisLabelStyle CalcLabelStyle() const;
  virtual TAxisLabelStyle InternalCalcLabelStyle() const;
  // Text of a label value: AxisValuesFormat (or, for value labels, its
  // adaptation to the last increment: more decimals or the exponent form,
  // axis_label_format.cpp), the chart's OnGetAxisLabel, MultiLine.
  virtual std::string LabelValue(double Value);
  // Size of a label's text across (as on a horizontal axis) and along (as
  // on a vertical axis), in the label font.
  int LabelWidth(double Value);
  int LabelHeight(double Value);
  // Label step for the current scale and room.
  double CalcIncrement();
  // Step for labels MaxLabelSize pixels long.
  double CalcXYIncrement(int MaxLabelSize);
  // Step for at most MaxNumLabels labels.
  double CalcLabelsIncrement(int MaxNumLabels);
  // Widest label text in pixels.
  int MaxLabelsWidth();

  // ---- Room (called by the chart at each layout) ----
  // Room of the label rows across the axis.
  int SizeLabels();
  // Room of the axis line, with or without the ticks.
  int SizeTickAxis(bool WithTicks = true) const;
  // Room across the axis of a text box turned by Angle (Size when not 0);
  // Text null: the widest label.
  int InternalCalcSize(TCustomTextShape* Shape, int Angle, int Size,
                       const std::string* Text = nullptr);
  // Moves this axis' edge of R inwards by A, never closer than 1 pixel to
  // the opposite edge.
  void InflateAxisRect(TRectF& R, float A) const;
  // This axis' edge of R, rounded.
  int GetRectangleEdge(const TRectF& R) const;
  // P moved outwards (away from the plot) by A.
  int InflateAxisPos(int P, int A) const;
  // P shifted by PositionPercent (percent of R, or pixels).
  int ApplyPosition(int P, const TRectF& R) const;
  // Takes the axis' room (title, labels, ticks) out of Rect and fixes
  // PosTitle and PosLabels. Without InflateChartRectangle Rect is kept and
  // the positions follow from the edge.
  void CalcRect(TRectF& Rect, bool InflateChartRectangle);

  // ---- Drawing ----
  // Title, labels, axis line, ticks, grid. CalcPosAxis: PosAxis from the
  // final chart rectangle.
  void Draw(bool CalcPosAxis);
  // The axis' clickable area in the last layout: along the axis from
  // IStartPos to IEndPos, across it from the labels to the axis line plus
  // KelAxisClickGap (only the line when the labels are hidden).
  TRectF AxisRect() const;
  // One label at (X, Y) in Format, turned by Angle; its box corners go to
  // Item (when given) for hit testing.
  void DrawAxisLabel(int X, int Y, int Angle, const std::string& Text, TAxisLabelsFormat* Format,
                     TAxisItem* Item = nullptr);

  // ---- Events (hooks of the drawing) ----
  // May change a label's text or veto it (DrawLabel := false).
  std::function<void(TChartAxis* Sender, int X, int Y, int Z, std::string& Text, bool& DrawLabel)>
      OnDrawLabel;
  // Replaces the drawing of the axis line.
  std::function<void(TChartAxis* Sender)> OnDrawAxis;
  // Runs before the grid is drawn.
  std::function<void(TChartAxis* Sender)> OnDrawGrids;
  // May change the next label value, or stop the labels.
  std::function<void(TChartAxis* Sender, int LabelIndex, double& LabelValue, bool& Stop)>
      OnNextLabelValue;

  // ---- Working fields of the last layout ----
  int IStartPos = 0;
  int IEndPos = 0;
  int IAxisSize = 0;
  int ICenterPos = 0;
  double IMinimum = 0;
  double IMaximum = 0;
  long double IRange = 0;
  bool IRangeZero = false;
  double IAxisSizeRange = 0;
  bool IsVisible = false;
  // Taken out of its chart during a paint (RemoveCustomAxis): the chart
  // frees it once that paint is over.
  bool IRemovedInPaint = false;
  int IExtraSpace = 0;
  int IGapSize = 0;
  int IWallSize = 0;
  int IZPos = 0;
  int PosAxis = 0;
  int PosLabels = 0;
  int PosTitle = 0;
  // Logarithmic scale of the last layout: natural logarithms of the ends,
  // their difference and the pixels per logarithmic unit.
  double ILogMin = 0;
  double ILogMax = 0;
  double IRangeLog = 0;
  double IAxisLogSizeRange = 0;
  // Whether the axis showed date-times at its last layout.
  bool IAxisDateTime = false;
  // Pixels of the major ticks of the last drawing, in the order the labels
  // were made (value labels: from the largest value down).
  std::vector<int> Tick;

 private:
  // ---- Labels (axis_increment.cpp, axis_draw.cpp) ----
  void PrepareLabelFont();
  int InternalLabelSize(double Value, bool IsWidth);
  int MaxLabelsValue(int& MaxLines);
  int MaxPointLabelsWidth(TAxisLabelStyle Style, int& MaxLines);
  void CalcHeightFactor();
  // The series whose points give labels of style Style, in list order.
  std::vector<TChartSeries*> LabelSeries(TAxisLabelStyle Style) const;
  // Text of a point label (talText, talMark, talPointValue) before
  // OnGetAxisLabel.
  std::string PointLabelText(TChartSeries* Series, int ValueIndex, TAxisLabelStyle Style);
  std::string FinalPointLabel(TChartSeries* Series, int ValueIndex, TAxisLabelStyle Style);
  int LabelTextSize(const std::string& Text, bool IsWidth);
  double PointLabelValue(const TChartSeries* Series, int ValueIndex) const;
  void CalcLabels();
  void DoDefaultLabels();
  void DoNextAxisLabels();
  void DoSeriesLabels(TAxisLabelStyle Style);
  void DoCustomLabels();
  void InternalDrawLabel(double Value);
  void AddTickAndSaveLabel(int P, const std::string& Text, double Value);
  void SaveLabel(int P, const std::string& Text, double Value, bool ValueLabel = false);
  // The label position for a tick at P (Labels.Position).
  int LabelPosition(int P, const std::string& Text);
  // Keeps a value label inside the control and clear of the label kept
  // before it: false when it is to be left out; Pos may move inwards.
  bool PlaceValueLabel(int& Pos, const std::string& Text);
  // Extents along the axis of the last two value labels kept in this
  // drawing (Alternate labels share a row with the label two before).
  struct TKeptLabel {
    bool Kept = false;
    long long Low = 0;
    long long High = 0;
  };
  TKeptLabel IPreviousLabel[2];
  void DrawTitle();
  void DrawAxisLine();
  void DrawTicksGrid();
  void DrawGrids();
  // After one of the axis' own events: unwinds when the handler took the
  // axis out of the chart during a paint.
  void LeaveIfRemoved() const;
  void DrawGridLine(int P);
  void DrawTicks(const std::vector<int>& Positions, long long Length, long long B,
                 bool WithPenWidth);
  void DrawMinorTicksGrid();
  void DrawLabelsOnTop();
  void DrawThisLabel(int Index);
  // Measures needed per label while drawing, computed once per Draw.
  int CachedSizeLabels();
  int CachedMaxLabelsWidth();
  struct TDrawCache {
    int SizeLabels = -1;
    int MaxLabelsWidth = -1;
  } IDrawCache;

  // ---- Label format (axis_label_format.cpp) ----
  // The pattern value labels are written with. Not Adapted: the axis'
  // AxisValuesFormat as it is. Adapted: AxisValuesFormat with more decimals,
  // or an exponent pattern, so that neighbouring labels read differently;
  // values below ZeroBelow in magnitude (the remainders of the repeated
  // subtraction) then read as 0.
  struct TLabelFormat {
    bool Adapted = false;
    std::string Pattern;
    TFormatPattern Layout;
    double ZeroBelow = 0;
  } ILabelFormat;
  // The increment for the current scale and room with the labels written
  // in ILabelFormat.
  double MeasuredIncrement();
  // Whether value labels of this axis may adapt their format.
  bool LabelFormatAdapts() const;
  // The format that tells labels Increment apart.
  TLabelFormat AdaptedLabelFormat(double Increment) const;

  // ---- Logarithmic labels (axis_log.cpp) ----
  // Label values at the powers of the base, from the largest down, every
  // ILogStep-th power; false (nothing called) when fewer than two powers
  // lie in the range, where the labels are the ordinary value steps.
  bool ForEachLogLabel(const std::function<void(double)>& Take);
  void DoLogLabels();
  // Positions of the minor ticks between the powers (2 .. base - 1 times
  // each power); false when the labels are not at the powers.
  bool LogMinorPositions(std::vector<int>& Positions) const;
  // Text of a logarithmic label: the pattern's, or the exponent form when
  // the pattern would lose the value's digits.
  std::string LogLabelText(double Value) const;
  // Label steps in powers of the base of the last logarithmic labels (0:
  // not at the powers).
  int ILogStep = 0;
  int LogLabelStep();
  double LogBaseAboveOne() const;

  // ---- Date-time labels (axis_date_time.cpp) ----
  // The step (days) and format of the date-time labels of the last
  // increment computation.
  struct TDateTimeLabels {
    double Step = 0;
    int Ladder = -1;
    std::string Format;
  } IDateTime;
  double CalcDateTimeIncrement();
  void ForEachDateTimeLabel(const std::function<void(double)>& Take);
  void DoDateTimeLabels();
  std::string DateTimeLabelText(double Value) const;

  friend class TCustomAxisPanel;
  int LogXPosValue(double Value) const;
  int LogYPosValue(double Value) const;
  int XPosValueCheck(double Value) const;
  int YPosValueCheck(double Value) const;
  int XPosValue(double Value) const;
  int YPosValue(double Value) const;
  int DepthPosValue(double Value) const;
  double InternalCalcPosPoint(int Pixel) const;
  void RecalcSizeCenter();
  // Tells the chart that the scale changed (it repaints).
  void ChangedScale();
  // Asks the chart to repaint after a setting changed.
  void Repaint();
  // True while the chart reads its stored description.
  bool ChartLoading() const;

  TCustomAxisPanel* FParentChart = nullptr;
  bool FAutomatic = true;
  bool FAutomaticMaximum = true;
  bool FAutomaticMinimum = true;
  double FDesiredIncrement = 0;
  double FMaximumValue = 0;
  double FMinimumValue = 0;
  int FMaximumOffset = 0;
  int FMinimumOffset = 0;
  bool FMaximumRound = false;
  bool FMinimumRound = false;
  bool FResizeChart = true;
  double FZPosition = 0;
  bool FInverted = false;
  bool FLogarithmic = false;
  double FLogarithmicBase = 10;
  std::string FDateTimeFormat;
  bool FExactDateTime = true;
  bool FDateTimeLocal = false;
  bool FHorizontal = false;
  bool FOtherSide = false;
  bool FVisible = true;
  double FStartPosition = 0;
  double FEndPosition = 100;
  double FPositionPercent = 0;
  TKelUnits FPosUnits = muPercent;
  bool IDepthAxis = false;
  std::string IAxisID;

  std::unique_ptr<TAxisLabels> FLabels;
  std::unique_ptr<TAxisItems> FAxisItems;
  std::unique_ptr<TChartAxisPen> FAxis;
  std::unique_ptr<TAxisGridPen> FGrid;
  std::unique_ptr<TKelHiddenPen> FMinorGrid;
  std::unique_ptr<TTicks> FTicks;
  std::unique_ptr<TTicks> FTicksInner;
  std::unique_ptr<TTicks> FMinorTicks;
  std::unique_ptr<TChartAxisTitle> FAxisTitle;
  int FTickLength = 4;
  int FTickInnerLength = 0;
  int FMinorTickLength = 2;
  int FMinorTickCount = 3;
  bool FTickOnLabelsOnly = true;
  std::string FAxisValuesFormat = KelMsg_DefValueFormat;
  int FTitleSize = 0;

  int (TChartAxis::*FCalcXPosValue)(double) const = &TChartAxis::XPosValueCheck;
  int (TChartAxis::*FCalcYPosValue)(double) const = &TChartAxis::YPosValueCheck;
  int (TChartAxis::*FCalcPosValue)(double) const = &TChartAxis::YPosValueCheck;
};

// The chart's axes in creation (and drawing) order; not owning.
class TChartAxes {
 public:
  explicit TChartAxes(TCustomAxisPanel* Chart) : FChart(Chart) {}
  int Count() const { return static_cast<int>(FItems.size()); }
  // ChartException for an index outside 0 .. Count - 1.
  TChartAxis* Items(int Index) const {
    if (Index < 0 || Index >= Count()) KelRaiseIndex("Axis", Index, Count() - 1);
    return FItems[static_cast<std::size_t>(Index)];
  }
  TChartAxis* operator[](int Index) const { return Items(Index); }
  void Add(TChartAxis* Axis) { FItems.push_back(Axis); }
  void Remove(TChartAxis* Axis);
  int IndexOf(const TChartAxis* Axis) const;

  bool FastCalc() const { return IFastCalc; }
  // Re-selects the conversion forms of every axis.
  void SetFastCalc(bool Value);
  TCustomAxisPanel* Chart() const { return FChart; }

  auto begin() const { return FItems.begin(); }
  auto end() const { return FItems.end(); }

 private:
  TCustomAxisPanel* FChart;
  std::vector<TChartAxis*> FItems;
  bool IFastCalc = false;
};

inline constexpr const char* KelMsg_AxisLogDateTime = "DateTime Axis cannot be Logarithmic";
inline constexpr const char* KelMsg_AxisLogNotPositive =
    "Logarithmic Axis Min and Max values should be >= 0";
inline constexpr const char* KelMsg_AxisLogBase = "Axis Logarithmic Base should be <> 1 and > 0";
inline constexpr const char* KelMsg_AxisMinMax = "Axis Minimum Value must be <= Maximum";
inline constexpr const char* KelMsg_AxisMaxMin = "Axis Maximum Value must be >= Minimum";
// SetMinMax, Minimum or Maximum with an end that is not a finite number.
inline constexpr const char* KelMsg_AxisNotFinite = "Axis Minimum and Maximum must be finite numbers";
// Scroll by an offset that would move an end beyond the doubles.
inline constexpr const char* KelMsg_AxisScrollNotFinite =
    "Axis Scroll offset must keep Minimum and Maximum finite";

}  // namespace sextant

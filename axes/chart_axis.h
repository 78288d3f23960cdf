// TChartAxis: the scale of one axis and the mapping between values and
// pixels; TChartAxes: the chart's list of all axes in drawing order.
//
// The scale is recomputed at every paint (AdjustMaxMin, InternalCalcPositions,
// AdjustMaxMinRect); between paints the working fields keep the last layout,
// so conversions made from event handlers use the scale of the last paint.
#pragma once

#include <string>
#include <vector>

#include "canvas/kel_persistent.h"
#include "canvas/kel_types.h"
#include "panel/kel_panel.h"

namespace sextant {

class TCustomAxisPanel;
class TChartAxes;

// Bounds every computed pixel coordinate.
extern int KelMaxPixelPos;

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
  void SetMinimum(double Value);  // AxisException when above Maximum
  double Maximum() const { return FMaximumValue; }
  void SetMaximum(double Value);  // AxisException when below Minimum
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

  // Fixes the scale: both ends explicit (the axis becomes non-automatic).
  void SetMinMax(double AMin, double AMax);
  // Moves both ends by Offset; with CheckLimits only within the data.
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
  // Label step for the current scale (labels module); 0 until computed.
  double CalcIncrement();

  // Room the axis takes out of the chart rectangle, and its drawing. The
  // axis line, ticks, grid and labels plug in here.
  void CalcRect(TRectF& Rect, bool InflateChartRectangle);
  void Draw(bool CalcPosAxis);

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
  int IExtraSpace = 0;
  int IGapSize = 0;
  int IWallSize = 0;
  int IZPos = 0;
  int PosAxis = 0;
  int PosLabels = 0;
  int PosTitle = 0;
  std::vector<int> Tick;

 private:
  friend class TCustomAxisPanel;
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
  bool FHorizontal = false;
  bool FOtherSide = false;
  bool FVisible = true;
  double FStartPosition = 0;
  double FEndPosition = 100;
  double FPositionPercent = 0;
  TKelUnits FPosUnits = muPercent;
  bool IDepthAxis = false;
  std::string IAxisID;

  int (TChartAxis::*FCalcXPosValue)(double) const = &TChartAxis::XPosValueCheck;
  int (TChartAxis::*FCalcYPosValue)(double) const = &TChartAxis::YPosValueCheck;
  int (TChartAxis::*FCalcPosValue)(double) const = &TChartAxis::YPosValueCheck;
};

// The chart's axes in creation (and drawing) order; not owning.
class TChartAxes {
 public:
  explicit TChartAxes(TCustomAxisPanel* Chart) : FChart(Chart) {}
  int Count() const { return static_cast<int>(FItems.size()); }
  TChartAxis* Items(int Index) const { return FItems.at(Index); }
  TChartAxis* operator[](int Index) const { return FItems.at(Index); }
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

inline constexpr const char* KelMsg_AxisMinMax = "Axis Minimum Value must be <= Maximum";
inline constexpr const char* KelMsg_AxisMaxMin = "Axis Maximum Value must be >= Minimum";

}  // namespace sextant

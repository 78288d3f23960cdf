// The chart legend: a framed box listing the active series (with their
// symbols) or the points of one series with their values. It takes its
// room from one side of the chart rectangle before the axes are laid out.
// The item layout is described in docs/legend.md.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "canvas/text_selection.h"
#include "canvas/text_shape.h"
#include "panel/kel_panel.h"

namespace sextant {

class TCustomChart;
class TChartSeries;
class TKelHiddenPen;

enum TLegendAlignment : std::uint8_t { laLeft, laRight, laTop, laBottom };
enum TCheckBoxesStyle : std::uint8_t { cbsCheck, cbsRadio };
// Placement of a horizontal legend along the chart: automatic (centred),
// left, centre or right.
enum TLegendJustify : std::uint8_t { ljAutomatic, ljLeft, ljCenter, ljRight };
// lsAuto resolves to lsSeries; lsValues lists the points of one series.
enum TLegendStyle : std::uint8_t { lsAuto, lsSeries, lsValues };
// Columns of a point item (lsValues): the label, the value, the percent of
// the series' total, the X value.
enum TLegendTextStyle : std::uint8_t {
  ltsPlain,
  ltsLeftValue,
  ltsRightValue,
  ltsLeftPercent,
  ltsRightPercent,
  ltsXValue,
  ltsValue,
  ltsPercent,
  ltsXAndValue,
  ltsXAndPercent
};

// The symbol drawn before each item's text.
class TLegendSymbol : public TPersistent {
 public:
  explicit TLegendSymbol(TNotifyEvent OnChange = nullptr) : OnChange(std::move(OnChange)) {}
  void Assign(const TPersistent* Source) override;
  bool Visible() const { return FVisible; }
  void SetVisible(bool Value);
  // Width in pixels.
  int Width() const { return FWidth; }
  void SetWidth(int Value);
  TNotifyEvent OnChange;

 private:
  bool FVisible = true;
  int FWidth = 20;
};

// The legend's title: flat, transparent, bold, centred over the items.
class TLegendTitle : public TTextShape {
 public:
  explicit TLegendTitle(IShapePanel* Parent);
  std::unique_ptr<TKelCustomShape> Create(IShapePanel* Parent) const override;
  void InitShadow(TKelShadow* AShadow) override;
};

// One laid-out legend entry: its series, its point (-1 for a series item),
// its text columns and where it was placed.
struct TLegendItem {
  TChartSeries* Series = nullptr;
  int ValueIndex = -1;
  std::vector<std::string> Columns;
  TRectF Rect;  // the whole row of the item
};

class TCustomChartLegend : public TKelCustomShapePosition {
 public:
  explicit TCustomChartLegend(TCustomChart* Chart);
  ~TCustomChartLegend() override;
  // The shape's settings, then the legend's own.
  void Assign(const TPersistent* Source) override;

  TLegendAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TLegendAlignment Value) { SetShapeProperty(FAlignment, Value); }
  bool CheckBoxes() const { return FCheckBoxes; }
  void SetCheckBoxes(bool Value) { SetShapeProperty(FCheckBoxes, Value); }
  TCheckBoxesStyle CheckBoxesStyle() const { return FCheckBoxesStyle; }
  void SetCheckBoxesStyle(TCheckBoxesStyle Value) { SetShapeProperty(FCheckBoxesStyle, Value); }
  // In lsValues style, only the points of the current page.
  bool CurrentPage() const { return FCurrentPage; }
  void SetCurrentPage(bool Value) { SetShapeProperty(FCurrentPage, Value); }
  // Lines between the items (invisible by default).
  TKelHiddenPen* DividingLines() const { return FDividingLines.get(); }
  void SetDividingLines(const TKelPen* Value);
  // Drawn before the series instead of after them.
  bool DrawBehind() const { return FDrawBehind; }
  void SetDrawBehind(bool Value) { SetShapeProperty(FDrawBehind, Value); }
  // First point listed in lsValues style (counted from the first listed).
  int FirstValue() const { return FFirstValue; }
  void SetFirstValue(int Value) { SetShapeProperty(FFirstValue, Value); }
  // Item texts in their series' colour.
  bool FontSeriesColor() const { return FFontSeriesColor; }
  void SetFontSeriesColor(bool Value) { SetShapeProperty(FFontSeriesColor, Value); }
  // Blending of the whole legend, percent.
  std::uint8_t GlobalTransparency() const { return FGlobalTransparency; }
  void SetGlobalTransparency(std::uint8_t Value) { SetShapeProperty(FGlobalTransparency, Value); }
  TLegendJustify HorizJustify() const { return FHorizJustify; }
  void SetHorizJustify(TLegendJustify Value) { SetShapeProperty(FHorizJustify, Value); }
  // Gap between a vertical legend and the plot; 0 = 3 % of the chart width.
  int HorizMargin() const { return FHorizMargin; }
  void SetHorizMargin(int Value) { SetShapeProperty(FHorizMargin, Value); }
  // Items in reverse order.
  bool Inverted() const { return FInverted; }
  void SetInverted(bool Value) { SetShapeProperty(FInverted, Value); }
  // Position in percent of the panel (CustomPosition with PositionUnits
  // muPercent).
  int LeftPercent() const { return FLeftPercent; }
  void SetLeftPercent(int Value) { SetShapeProperty(FLeftPercent, Value); }
  int TopPercent() const { return FTopPercent; }
  void SetTopPercent(int Value) { SetShapeProperty(FTopPercent, Value); }
  TKelUnits PositionUnits() const { return FPositionUnits; }
  void SetPositionUnits(TKelUnits Value) { SetShapeProperty(FPositionUnits, Value); }
  TLegendStyle LegendStyle() const { return FLegendStyle; }
  void SetLegendStyle(TLegendStyle Value) { SetShapeProperty(FLegendStyle, Value); }
  // lsAuto resolved.
  TLegendStyle InternalLegendStyle() const;
  // Rows at most (0 = no limit).
  int MaxNumRows() const { return FMaxNumRows; }
  void SetMaxNumRows(int Value) { SetShapeProperty(FMaxNumRows, Value); }
  // The legend takes its room from the chart rectangle.
  bool ResizeChart() const { return FResizeChart; }
  void SetResizeChart(bool Value) { SetShapeProperty(FResizeChart, Value); }
  // The series listed in lsValues style (none: the first active series).
  TChartSeries* Series() const { return FSeries; }
  void SetSeries(TChartSeries* Value);
  // The series whose points are listed in lsValues style.
  TChartSeries* GetLegendSeries() const;
  TLegendSymbol* Symbol() const { return FSymbol.get(); }
  TLegendTextStyle TextStyle() const { return FTextStyle; }
  void SetTextStyle(TLegendTextStyle Value) { SetShapeProperty(FTextStyle, Value); }
  int TextSymbolGap() const { return FTextSymbolGap; }
  void SetTextSymbolGap(int Value) { SetShapeProperty(FTextSymbolGap, Value); }
  // Created on first use.
  TLegendTitle* Title();
  bool HasTitle() const { return FTitle != nullptr; }
  // Top of a vertical legend, percent of the chart rectangle's height.
  int TopPos() const { return FTopPos; }
  void SetTopPos(int Value) { SetShapeProperty(FTopPos, Value); }
  // Gap between a horizontal legend and the plot; 0 = 4 % of the chart
  // height.
  int VertMargin() const { return FVertMargin; }
  void SetVertMargin(int Value) { SetShapeProperty(FVertMargin, Value); }
  // Extra pixels between rows.
  int VertSpacing() const { return FVertSpacing; }
  void SetVertSpacing(int Value) { SetShapeProperty(FVertSpacing, Value); }
  // Hover settings, created on first use.
  TTextSelection* Selected();
  bool HasSelected() const { return FSelected != nullptr; }

  // Left and right legends.
  bool Vertical() const { return FAlignment == laLeft || FAlignment == laRight; }
  // Visible, and check boxes are shown or the chart has an active series.
  bool ShouldDraw() const;
  // The box of the last layout.
  TRectF RectLegend() const { return ShapeBounds(); }
  // The items shown by the last layout, in drawing order.
  const std::vector<TLegendItem>& Items() const { return FItems; }

  // Measures the items, places the box and (ResizeChart, not custom
  // positioned) takes its room out of the chart rectangle.
  void CalcRect();
  // Draws box, title and items as laid out by CalcRect.
  void DrawLegend();
  // Index of the item under (X, Y) in Items(), or -1.
  int Clicked(int X, int Y) const;

 private:
  // The box and its rows and columns as one layout places them.
  struct TLegendBox {
    int Left = 0, Top = 0, Width = 0, Height = 0;
    int Rows = 0, Columns = 1;
  };
  void BuildItems(std::vector<TLegendItem>& Items);
  // The phases of CalcRect. MeasureItems measures the items in the legend
  // font (row height, column and symbol widths) and returns the width of
  // one item; MeasureTitle measures the title and returns its width.
  int MeasureItems(const std::vector<TLegendItem>& Items);
  int MeasureTitle();
  // Rows, columns and the box for Count items, by the alignment (or the
  // custom position).
  TLegendBox PlaceBox(int Count, int ItemWidth, int TitleWidth);
  // Gives the items that fit the box their rows and keeps them.
  void PlaceItems(std::vector<TLegendItem>& Items, const TLegendBox& Box, int ItemWidth);
  // Ends the plot at the legend, less a further gap.
  void TakeRoomFromChart();
  // Text columns of a point item; Total: sum of the series' absolute
  // values (for percents).
  std::vector<std::string> ValueColumns(TChartSeries* Series, int ValueIndex, double Total) const;
  void DrawItem(int Index);

  TCustomChart* FChart;  // not owned
  TLegendAlignment FAlignment = laRight;
  bool FCheckBoxes = false;
  TCheckBoxesStyle FCheckBoxesStyle = cbsCheck;
  bool FCurrentPage = true;
  std::unique_ptr<TKelHiddenPen> FDividingLines;
  bool FDrawBehind = false;
  int FFirstValue = 0;
  bool FFontSeriesColor = false;
  std::uint8_t FGlobalTransparency = 0;
  TLegendJustify FHorizJustify = ljAutomatic;
  int FHorizMargin = 0;
  bool FInverted = false;
  int FLeftPercent = 0;
  TLegendStyle FLegendStyle = lsAuto;
  int FMaxNumRows = 0;
  TKelUnits FPositionUnits = muPixels;
  bool FResizeChart = true;
  std::unique_ptr<TTextSelection> FSelected;
  TChartSeries* FSeries = nullptr;  // not owned
  std::unique_ptr<TLegendSymbol> FSymbol;
  TLegendTextStyle FTextStyle = ltsLeftValue;
  int FTextSymbolGap = 2;
  std::unique_ptr<TLegendTitle> FTitle;
  int FTopPos = 10;
  int FTopPercent = 0;
  int FVertMargin = 0;
  int FVertSpacing = 0;

  // Layout of the last CalcRect.
  std::vector<TLegendItem> FItems;
  std::vector<int> IColumnWidths;  // widths of the text columns
  int IItemHeight = 0;             // one row
  int IFrameWidth = 0;
  int ISymbolWidth = 0;            // symbol and check box with their gaps
  int ISpaceWidth = 0;
  int ITitleHeight = 0;
  int IColumns = 1;
  int IRows = 0;
};

class TChartLegend : public TCustomChartLegend {
 public:
  using TCustomChartLegend::TCustomChartLegend;
};

}  // namespace sextant

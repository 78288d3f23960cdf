// The fast line series: a polyline through the points in X order drawn with
// one pen, optionally as stairs, with a choice of null-point treatment and a
// reduced mode that draws at most one vertical stroke per pixel column.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <vector>

#include "series/chart_series.h"
#include "series/lod_index.h"

namespace sextant {

class TKelPen;

enum TDrawAllPointsStyle { daFirst, daMinMax };
enum TFastLineDrawStyle { flSegments, flAll };

class TCustomLineSeries : public TChartSeries {
 public:
  explicit TCustomLineSeries(TComponent* AOwner = nullptr) : TChartSeries(AOwner) {}
  TKelPen* LinePen() const { return Pen(); }
};

class TFastLineSeries : public TCustomLineSeries {
 public:
  explicit TFastLineSeries(TComponent* AOwner = nullptr);
  ~TFastLineSeries() override;

  void Assign(const TPersistent* Source) override;

  bool AutoRepaint() const { return FAutoRepaint; }
  void SetAutoRepaint(bool Value) { FAutoRepaint = Value; }
  int ClickTolerance() const { return FClickTolerance; }
  void SetClickTolerance(int Value) { SetIntegerProperty(FClickTolerance, Value); }
  bool DrawAllPoints() const { return FDrawAll; }
  void SetDrawAllPoints(bool Value) { SetBooleanProperty(FDrawAll, Value); }
  TDrawAllPointsStyle DrawAllPointsStyle() const { return FDAPStyle; }
  void SetDrawAllPointsStyle(TDrawAllPointsStyle Value);
  TFastLineDrawStyle DrawStyle() const { return FDrawStyle; }
  void SetDrawStyle(TFastLineDrawStyle Value);
  bool FastPen() const { return FFastPen; }
  void SetFastPen(bool Value) { SetBooleanProperty(FFastPen, Value); }
  bool IgnoreNulls() const { return FIgnoreNulls; }
  void SetIgnoreNulls(bool Value) { SetBooleanProperty(FIgnoreNulls, Value); }
  bool InvertedStairs() const { return FInvertedStairs; }
  void SetInvertedStairs(bool Value) { SetBooleanProperty(FInvertedStairs, Value); }
  bool Stairs() const { return FStairs; }
  void SetStairs(bool Value) { SetBooleanProperty(FStairs, Value); }

  void SetPen(const TKelPen* Value) override;
  void SetSeriesColor(TColor Value) override;
  void CalcHorizMargins(int& LeftMargin, int& RightMargin) override;
  void CalcVerticalMargins(int& TopMargin, int& BottomMargin) override;
  void CalcFirstLastVisibleIndex() override;
  void DoBeforeParallel() override;
  void DrawAllValues() override;
  void DrawValue(int ValueIndex) override;
  void NotifyNewValue(TChartSeries* Sender, int ValueIndex) override;
  void Clear() override;
  int Clicked(int X, int Y) override;
  void DrawLegendShape(const TRectF& Rect) override;
  // Raises the mark by the callout length, then draws it as every series.
  void DrawMark(int ValueIndex, const std::string& Text, TSeriesMarkPosition& Position) override;
  void PrepareLegendCanvas() override;

  // True when point ValueIndex cannot be drawn because its X or Y is not a
  // finite number: the line breaks there in every drawing mode (nothing is
  // drawn to or from it) and restarts at the next drawable point. Every
  // drawing path asks this, and only this, to decide it.
  bool BreaksLine(int ValueIndex) const;

  bool ShouldDrawAsPolyline() const;
  bool UseFastLine() const;
  // Preparation may run ahead of drawing exactly in polyline mode.
  bool CanBeforeParallel() const override { return ShouldDrawAsPolyline(); }

  // Whether the last DrawAllValues found the pixel columns by searching
  // the X list (DrawAllPoints off; diagnostics and tests).
  bool SearchedColumns() const { return ISearchedColumns; }
  // Bytes held by the level-of-detail index (0 before the first paint
  // that needed it).
  std::size_t LodMemoryBytes() const;

  bool ReuseXValues = false;
  bool ReuseYValues = false;
  // Pen position (pixel) of the last point drawn.
  int OldX = 0;
  int OldY = 0;

 protected:
  void PrepareCanvas();
  void DoMove(int X, int Y);
  void DoDrawPoint(int X, int Y);
  bool ShouldDrawPoint(int ValueIndex, int& X, int& Y);
  // The index the pen starts from: the last point before the visible range.
  int PenStartIndex() const { return FFirstVisibleIndex >= 1 ? FFirstVisibleIndex - 1 : 0; }
  // At a point that breaks the line: a gathered pixel column is stroked
  // first (its points are drawable), then the pen has no point to draw from.
  void BreakLine();
  // The first drawable point after a break: the pen moves there and the
  // line goes on from it.
  void RestartLine(int X, int Y);
  // Whether point ValueIndex is a null point that the null treatment keeps
  // out of the line (so it cannot restart a broken line either).
  bool NullLeftOut(int ValueIndex) const;
  // Polyline mode: one polyline per run of drawable points.
  void DrawPolylineRuns(TCanvas3D* Canvas);
  // The stroke through the lowest and highest pixel of the current column.
  void DrawColumn();
  // The line's colour: the pen's own, or the series colour when the pen
  // has none (clKelColor).
  TColor LineColor() const;
  bool Is3D() const;

  // DrawAllPoints off on ordered X values: the same strokes as DrawValue
  // for every point, with the pixel columns found by searching the X list
  // and the runs of plain points inside a column read from the
  // level-of-detail index (see the .cpp). False, with nothing drawn, when
  // the data or the axes do not allow it.
  bool DrawColumnsBySearch();
  // The last index from Start up to Last whose X maps to the pixel column.
  int ColumnEnd(int Start, int Last, int Column) const;
  // The same index found from the X value at the column's edge (the axis'
  // inverse mapping) by a search over the raw X values, confirmed by
  // converting the two X values around it; the search starts Guess indexes
  // after Start. Next is the pixel column of the index after the result
  // when that conversion was made, else Column. Only for a horizontal axis
  // that ColumnsByValue accepts.
  int ColumnEndByValue(int Start, int Last, int Column, int Guess, int& Next) const;
  // Whether ColumnEndByValue can search the X values First..Last: a linear
  // scale whose conversion of every value in between is monotone.
  bool ColumnsByValue(double First, double Last) const;
  // One point of daMinMax in pixel column X.
  void MinMaxStep(int ValueIndex, int X, int Y);
  // A run of plain points from From on, up to To or the first special
  // point, drawn as daFirst / gathered as daMinMax; returns the index after
  // the run.
  template <typename Special>
  int FirstRun(int From, int To, int Column, std::uint8_t Mask, Special& IsSpecial);
  template <typename Special>
  int MinMaxRun(int From, int To, std::uint8_t Mask, Special& IsSpecial);
  // daMinMax: plain points From..To with values Lo..Hi into IMin and IMax.
  void GatherRun(int From, int To, double Lo, double Hi);
  // Brings the keys (OrderedKey) In, of a value whose Y lands on pixel
  // Pixel, and Out, of one whose Y lands on the neighbour pixel Toward or
  // beyond, close around the edge between the two pixels (see the .cpp);
  // Lo..Hi holds both values.
  void NarrowPixelEdge(int Pixel, int Toward, double Lo, double Hi, std::uint64_t& In,
                       std::uint64_t& Out) const;
  // Brings the level-of-detail index up to date (created on first use).
  void SyncLod();
  void NotifyColorChange(int ValueIndex) override;

 private:
  bool FAutoRepaint = true;
  int FClickTolerance = 0;
  TDrawAllPointsStyle FDAPStyle = daFirst;
  bool FDrawAll = true;
  TFastLineDrawStyle FDrawStyle = flSegments;
  bool FFastPen = false;
  bool FIgnoreNulls = true;
  bool FInvertedStairs = false;
  bool FStairs = false;
  int IMin = 0;
  int IMax = 0;
  bool ISameX = false;
  bool IBroken = false;  // the pen stands on no drawable point
  std::vector<TPointF> IPoints;  // keeps its capacity between paints
  bool IDrawingAllValues = false;
  bool ILogScales = false;  // while drawing all values: either axis logarithmic
  bool IFastMode = false;
  // Canvas and 3D state for the duration of DrawAllValues.
  TCanvas3D* IDrawCanvas = nullptr;
  bool IDraw3D = false;
  bool ISearchedColumns = false;
  // The level-of-detail index over the Y values and what changed in them
  // (and in the points' colours) since it was last brought up to date.
  std::unique_ptr<TLodIndex> ILod;
  TValueChanges ILodChanges;
};

}  // namespace sextant

// The settings objects of an axis' appearance: the label settings
// (TAxisLabels), the pens of the axis line, grid and ticks, the axis title,
// and the label items (automatic or custom) with the text format they are
// drawn in. The algorithms that use them (increments, label values, room,
// drawing) are operations of TChartAxis (axis_increment.cpp,
// axis_room.cpp, axis_draw.cpp).
//
// Contents:
//   [Enums]    label alignment and position, title position, line mode
//   [Pens]     TChartAxisPen, TAxisGridPen, TTicks
//   [Shapes]   TAxisLabelsFormat, TChartAxisTitle
//   [Items]    TAxisItem, TAxisItems
//   [Labels]   TAutomaticText, TAxisLabels
#pragma once

#include "axes/axis_label_style.h"
#include "canvas/automatic_text.h"

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "canvas/pen.h"
#include "canvas/text_selection.h"
#include "canvas/text_shape.h"

namespace sextant {

class TChartAxis;
class TKelFont;

// ---- [Enums] -------------------------------------------------------------------

// Side of a vertical axis' labels within their room.
enum TAxisLabelAlign : std::uint8_t { alDefault, alOpposite, alCenter };
// Where a label stands relative to its tick.
enum TAxisLabelsPosition : std::uint8_t { lpAtTick, lpBeforeTick, lpAfterTick, lpCenter };
enum TAxisTitlePosition : std::uint8_t { tpStart, tpCenter, tpEnd };
// How the axis line is drawn: a line, or a filled bar of the pen's width.
enum TPenLineMode : std::uint8_t { lmLine, lmCylinder, lmRectangle };

// ---- [Pens] --------------------------------------------------------------------

// The axis line: width 2 and flat ends (both remembered defaults).
class TChartAxisPen : public TKelPen {
 public:
  explicit TChartAxisPen(TNotifyEvent OnChange = nullptr);
  void Assign(const TPersistent* Source) override;
  TPenLineMode LineMode() const { return FLineMode; }
  void SetLineMode(TPenLineMode Value);

 private:
  TPenLineMode FLineMode = lmLine;
};

// The grid: silver, one line per tick (or between ticks when Centered).
class TAxisGridPen : public TKelPen {
 public:
  explicit TAxisGridPen(TNotifyEvent OnChange = nullptr);
  void Assign(const TPersistent* Source) override;

  // Grid lines between the ticks instead of on them.
  bool Centered() const { return FCentered; }
  void SetCentered(bool Value);
  // Label positions are computed for the grid even when labels are hidden.
  bool DrawAlways() const { return FDrawAlways; }
  void SetDrawAlways(bool Value);
  // Every n-th tick gets a grid line (values below 1 count as 1).
  int DrawEvery() const { return FDrawEvery; }
  void SetDrawEvery(int Value);
  // Depth position in percent (3D).
  double Z() const { return FZ; }
  void SetZ(double Value);
  // Sets Z and its remembered default without notifying.
  void InitZ(double Value);
  double DefaultZ() const { return IDefaultZ; }

 private:
  bool FCentered = false;
  bool FDrawAlways = false;
  int FDrawEvery = 1;
  double FZ = 0;
  double IDefaultZ = 0;
};

// Pens of the ticks, inner ticks and minor ticks: dark grey.
class TTicks : public TDarkGrayPen {
 public:
  explicit TTicks(TNotifyEvent OnChange = nullptr) : TDarkGrayPen(std::move(OnChange)) {}
};

// ---- [Shapes] ------------------------------------------------------------------

// The text box labels are drawn in: transparent, text centred.
class TAxisLabelsFormat : public TTextShape {
 public:
  explicit TAxisLabelsFormat(IShapePanel* Parent = nullptr);
  std::unique_ptr<TKelCustomShape> Create(IShapePanel* Parent) const override;
};

// The axis title: a transparent, centred text box. An empty caption takes
// no room and draws nothing.
class TChartAxisTitle : public TTextShape {
 public:
  // DefaultAngle: 0 for horizontal axes, 90 (left) or 270 (right) for
  // vertical ones; the title starts turned by it.
  TChartAxisTitle(IShapePanel* Parent, int DefaultAngle);
  std::unique_ptr<TKelCustomShape> Create(IShapePanel* Parent) const override;
  void Assign(const TPersistent* Source) override;

  const std::string& Caption() const { return Text(); }
  void SetCaption(const std::string& Value) { SetText(Value); }
  TAxisTitlePosition Position() const { return FPosition; }
  void SetPosition(TAxisTitlePosition Value) { SetShapeProperty(FPosition, Value); }
  int DefaultAngle() const { return IDefaultAngle; }

 private:
  TAxisTitlePosition FPosition = tpCenter;
  int IDefaultAngle = 0;
};

// ---- [Items] -------------------------------------------------------------------

class TAxisItems;

// One label of an axis: its text and value, the pixel position along the
// axis where it was last placed, and the four corners of its box as last
// drawn (for hit testing).
class TAxisItem {
 public:
  explicit TAxisItem(TAxisItems* Owner) : IAxisItems(Owner) {}
  ~TAxisItem();

  const std::string& Text() const { return FText; }
  void SetText(const std::string& Value);
  double Value() const { return FValue; }
  void SetValue(double Value);
  int LabelPos() const { return FLabelPos; }
  void SetLabelPos(int Value) { FLabelPos = Value; }
  // The item's own format, created on first use as a copy of the items'
  // format; without one the item is drawn in the items' format.
  TAxisLabelsFormat* Format();
  bool HasFormat() const { return FFormat != nullptr; }
  // The format the item is drawn in.
  TAxisLabelsFormat* DrawFormat();

  // Corners (left-top, right-top, right-bottom, left-bottom) of the label
  // as last drawn, turned with the label; all zero before the first drawing.
  std::array<TPointF, 4> RotatedBounds{};
  TAxisItems* Owner() const { return IAxisItems; }

 private:
  friend class TAxisItems;
  TAxisItems* IAxisItems;  // not owned
  std::unique_ptr<TAxisLabelsFormat> FFormat;
  int FLabelPos = 0;
  std::string FText;
  double FValue = 0;
};

// The labels of an axis. Automatic: rebuilt from the computed labels at
// every drawing. Not automatic: the user's custom labels are shown instead.
class TAxisItems : public TPersistent {
 public:
  TAxisItems(TChartAxis* Axis, IShapePanel* Panel);
  ~TAxisItems() override;
  TAxisItems(const TAxisItems&) = delete;
  TAxisItems& operator=(const TAxisItems&) = delete;

  // Copies Automatic, the format and the items.
  void Assign(const TPersistent* Source) override;

  bool Automatic() const { return FAuto; }
  void SetAutomatic(bool Value);
  // The label text box (font, visibility, frame ...).
  TAxisLabelsFormat* Format() const { return FFormat.get(); }
  // Hover settings, created on first use (hover format copied from Format).
  TTextSelection* Selected();
  bool HasSelected() const { return FSelected != nullptr; }

  int Count() const { return static_cast<int>(FItems.size()); }
  // ChartException for an index outside 0 .. Count - 1.
  TAxisItem* Items(int Index) const;
  TAxisItem* operator[](int Index) const { return Items(Index); }
  // Appends a label; custom labels are added like this with Automatic off.
  TAxisItem* Add(double Value, const std::string& Text = "");
  void Delete(int Index);
  void Clear();

  // Makes the label font the canvas' current font (before measuring or
  // hit testing labels outside a drawing).
  void InitCalcRect();
  // Index of the first item whose box as last drawn contains (X, Y), or -1.
  int Clicked(int X, int Y) const;

  TChartAxis* Axis() const { return IAxis; }
  IShapePanel* Panel() const { return IPanel; }
  // Draw every item regardless of the axis range.
  bool IDrawAll = false;

 private:
  friend class TAxisItem;
  void Changed();
  TChartAxis* IAxis;    // owner, not owned
  IShapePanel* IPanel;  // the chart, not owned
  bool FAuto = true;
  std::unique_ptr<TAxisLabelsFormat> FFormat;
  std::unique_ptr<TTextSelection> FSelected;
  std::vector<std::unique_ptr<TAxisItem>> FItems;
};

// ---- [Labels] ------------------------------------------------------------------

// Automatic shortening of series-point labels that do not fit.

// Label settings of an axis. Font, Format, Visible and Selected are those
// of the axis items' format.
class TAxisLabels : public TPersistent {
 public:
  // OnChange: the axis' repaint request.
  TAxisLabels(TChartAxis* Axis, TNotifyEvent OnChange);
  ~TAxisLabels() override;
  TAxisLabels(const TAxisLabels&) = delete;
  TAxisLabels& operator=(const TAxisLabels&) = delete;

  // Copies every setting (and the items' format).
  void Assign(const TPersistent* Source) override;
  TChartAxis* Axis() const { return FAxis; }

  TAxisLabelAlign Align() const { return FAlign; }
  void SetAlign(TAxisLabelAlign Value) { Set(FAlign, Value); }
  bool Alternate() const { return FAlternate; }
  void SetAlternate(bool Value) { Set(FAlternate, Value); }
  int Angle() const { return FAngle; }
  void SetAngle(int Value) { Set(FAngle, Value); }
  TAutomaticText* Automatic() const { return FAutomatic.get(); }
  bool Behind() const { return FBehind; }
  void SetBehind(bool Value) { Set(FBehind, Value); }
  // Labels in exponent form drawn as powers of ten ("1.5×10³"); labels of
  // a logarithmic axis at the powers of its base as such ("10³").
  bool Exponent() const { return FExponent; }
  void SetExponent(bool Value) { Set(FExponent, Value); }
  // Label sizes count as 1 pixel when choosing the increment.
  bool GridIgnoresLabelSize() const { return FGridIgnoresSize; }
  void SetGridIgnoresLabelSize(bool Value) { Set(FGridIgnoresSize, Value); }
  // Gap between labels and axis, percent of the label font's "W" height.
  int Margin() const { return FMargin; }
  void SetMargin(int Value) { Set(FMargin, Value); }
  bool MultiLine() const { return FMultiLine; }
  void SetMultiLine(bool Value) { Set(FMultiLine, Value); }
  bool OnAxis() const { return FOnAxis; }
  void SetOnAxis(bool Value) { Set(FOnAxis, Value); }
  TAxisLabelsPosition Position() const { return FPosition; }
  void SetPosition(TAxisLabelsPosition Value) { Set(FPosition, Value); }
  bool RoundFirstLabel() const { return FRoundFirst; }
  void SetRoundFirstLabel(bool Value) { Set(FRoundFirst, Value); }
  // Minimum gap between labels, percent of the label size; 0 takes the
  // plain step range / (labels + 1) without searching a round step.
  int Separation() const { return FSeparation; }
  void SetSeparation(int Value) { Set(FSeparation, Value); }
  // Fixed label room in pixels; 0 = measured.
  int Size() const { return FSize; }
  void SetSize(int Value) { Set(FSize, Value); }
  TAxisLabelStyle Style() const { return FStyle; }
  void SetStyle(TAxisLabelStyle Value) { Set(FStyle, Value); }
  // Per-point pictures next to labels (items carry no pictures in this
  // engine, so there is nothing to add).
  bool UseImages() const { return FUseImages; }
  void SetUseImages(bool Value) { Set(FUseImages, Value); }

  // Forwarded to the items' format.
  TKelFont* Font() const;
  void SetFont(const TKelFont* Value);
  TAxisLabelsFormat* Format() const;
  bool Visible() const;
  void SetVisible(bool Value);
  TTextSelection* Selected();

  // Lines of the tallest label (0 = not computed yet); tallest picture.
  int IHeightFactor = 0;
  int IMaxImageHeight = 0;

 private:
  template <typename T>
  void Set(T& Variable, T Value) {
    if (Variable == Value) return;
    Variable = Value;
    CallEvent(FOnChange, this);
  }
  TNotifyEvent FOnChange;
  TChartAxis* FAxis;  // owner, not owned
  TAxisLabelAlign FAlign = alDefault;
  bool FAlternate = false;
  int FAngle = 0;
  std::unique_ptr<TAutomaticText> FAutomatic;
  bool FBehind = false;
  bool FGridIgnoresSize = false;
  int FMargin = 10;
  bool FOnAxis = true;
  int FSeparation = 10;
  int FSize = 0;
  TAxisLabelStyle FStyle = talAuto;
  bool FExponent = false;
  bool FMultiLine = false;
  bool FRoundFirst = true;
  TAxisLabelsPosition FPosition = lpAtTick;
  bool FUseImages = true;
};

}  // namespace sextant

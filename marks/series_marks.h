// Marks: the small text boxes that label a series' points.
//
// Every series owns one TSeriesMarks (created on first access): the box
// settings shared by all its marks, the per-point positions of the last
// layout (Positions) and optional per-point overrides of the box (Items).
//
// Contents
//   [Enums]      mark text styles, picture use, tail alignment and edge
//   [Settings]   TAutomaticText, TSeriesMarksSymbol, TMarksTail
//   [Items]      TMarksItem, TMarksItems: per-point box overrides
//   [Shape]      TSeriesMarkShape: a text box with a mark style
//   [Marks]      TSeriesMarks
//
// The model (texts, items, positions, hit test) is in series_marks.cpp; the
// layout and drawing of one paint (and the TChartSeries mark operations) in
// marks_layout.cpp.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "canvas/text_shape.h"
#include "marks/mark_positions.h"
#include "marks/series_pointer.h"

namespace sextant {

class TChartSeries;
class TCustomKelGradient;
class TKelPen;

// ---- [Enums] ---------------------------------------------------------------------

// What a mark says about its point (see TChartSeries::GetMarkTextStyle).
enum TSeriesMarksStyle : std::uint8_t {
  smsValue,
  smsPercent,
  smsLabel,
  smsLabelPercent,
  smsLabelValue,
  smsLegend,
  smsPercentTotal,
  smsLabelPercentTotal,
  smsXValue,
  smsXY,
  smsSeriesTitle,
  smsPointIndex,
  smsPercentRelative,
  smsLabelPercentValue,
  smsLabelOrValue
};
// How point pictures are shown in marks.
enum TSeriesMarksImages : std::uint8_t { miNone, miOnly, miSymbol };
enum TMarksTailAlign : std::uint8_t { ttaLeft, ttaCenter, ttaRight };
enum TMarksTailEdge : std::uint8_t { tteLeft, tteTop, tteRight, tteBottom };

// ---- [Settings] ------------------------------------------------------------------

// What the marks may do by themselves. Only Move (AutoPosition) is acted
// on; the other flags are stored.
class TAutomaticText : public TPersistent {
 public:
  explicit TAutomaticText(TNotifyEvent OnChange = nullptr) : OnChange(std::move(OnChange)) {}
  void Assign(const TPersistent* Source) override;

  bool Hide() const { return FHide; }
  void SetHide(bool Value) { Set(FHide, Value); }
  bool Move() const { return FMove; }
  void SetMove(bool Value) { Set(FMove, Value); }
  bool Resize() const { return FResize; }
  void SetResize(bool Value) { Set(FResize, Value); }
  bool Rotate() const { return FRotate; }
  void SetRotate(bool Value) { Set(FRotate, Value); }
  bool Trim() const { return FTrim; }
  void SetTrim(bool Value) { Set(FTrim, Value); }
  bool Wrap() const { return FWrap; }
  void SetWrap(bool Value) { Set(FWrap, Value); }

  TNotifyEvent OnChange;

 private:
  void Set(bool& Variable, bool Value);
  bool FHide = true;
  bool FMove = true;
  bool FResize = true;
  bool FRotate = true;
  bool FTrim = true;
  bool FWrap = true;
};

// The small coloured square inside a mark box; invisible by default.
class TSeriesMarksSymbol : public TKelCustomShape {
 public:
  explicit TSeriesMarksSymbol(IShapePanel* Parent = nullptr);
  std::unique_ptr<TKelCustomShape> Create(IShapePanel* Parent) const override;
  // Shadow and emboss of size 1.
  void InitShadow(TKelShadow* AShadow) override;
  void InitEmboss(TKelEmboss* AEmboss) override;
  // Drawn only when visible and not transparent.
  bool ShouldDraw() const { return Visible() && !Transparent(); }
};

// A pointed tail on one edge of the mark boxes; hidden by default. The tail
// is a triangle Width pixels wide at its base on Edge (placed by Align and
// Margin) whose tip lies Height pixels outside the edge, or at
// CustomPointPos with CustomPoint. AutoAlign is stored only.
class TMarksTail : public TPersistent {
 public:
  explicit TMarksTail(TChartSeries* Series, TNotifyEvent OnChange = nullptr)
      : OnChange(std::move(OnChange)), FSeries(Series) {}
  void Assign(const TPersistent* Source) override;

  bool AutoAlign() const { return FAutoAlign; }
  void SetAutoAlign(bool Value) { Set(FAutoAlign, Value); }
  bool CustomPoint() const { return FCustomPoint; }
  void SetCustomPoint(bool Value) { Set(FCustomPoint, Value); }
  TPointF CustomPointPos() const { return FCustomPointPos; }
  void SetCustomPointPos(TPointF Value) { Set(FCustomPointPos, Value); }
  int Height() const { return FHeight; }
  void SetHeight(int Value) { Set(FHeight, Value); }
  TMarksTailAlign Align() const { return FAlign; }
  void SetAlign(TMarksTailAlign Value) { Set(FAlign, Value); }
  int Margin() const { return FMargin; }
  void SetMargin(int Value) { Set(FMargin, Value); }
  bool Visible() const { return FVisible; }
  void SetVisible(bool Value) { Set(FVisible, Value); }
  int Width() const { return FWidth; }
  void SetWidth(int Value) { Set(FWidth, Value); }
  TMarksTailEdge Edge() const { return FEdge; }
  void SetEdge(TMarksTailEdge Value) { Set(FEdge, Value); }
  TChartSeries* Series() const { return FSeries; }

  // The outline of box R with the tail, clockwise from the top-left corner.
  std::array<TPointF, 7> OutlinePoints(const TRectF& R) const;

  TNotifyEvent OnChange;

 private:
  template <typename T>
  void Set(T& Variable, T Value) {
    if (Variable == Value) return;
    Variable = Value;
    CallEvent(OnChange, this);
  }
  bool FAutoAlign = true;
  bool FCustomPoint = false;
  TPointF FCustomPointPos;
  int FHeight = 8;
  TMarksTailAlign FAlign = ttaCenter;
  int FMargin = 0;
  bool FVisible = false;
  int FWidth = 8;
  TMarksTailEdge FEdge = tteBottom;
  TChartSeries* FSeries;  // the owner's series, not owned
};

// ---- [Items] ---------------------------------------------------------------------

class TSeriesMarks;

// The box of one point, overriding the marks' settings: its own colour,
// font, frame, style, transparency and, optionally, its own text.
//
// The item's published text is a list of lines (Lines), kept apart from the
// shape's Text, which holds the text being drawn. Any change of the lines
// sets ICustomText; SetCustomText("") frees the lines, clears the shape's
// text and ICustomText.
class TMarksItem : public TCustomTextShape {
 public:
  explicit TMarksItem(IShapePanel* Parent = nullptr) : TCustomTextShape(Parent) {}
  ~TMarksItem() override;

  // From another item: its settings, custom text and ICustomText. From any
  // other text box (the marks): its settings without its working text.
  void Assign(const TPersistent* Source) override;
  std::unique_ptr<TKelCustomShape> Create(IShapePanel* Parent) const override;

  // The item's own lines, created on first use.
  TKelStringList* Lines();
  void SetLines(const TKelStringList* Value);
  bool HasLines() const { return FLines != nullptr; }
  // The lines as one text (lines joined by CR LF, without the final CR LF);
  // empty without lines.
  std::string CustomText() const;
  // Replaces the lines by Value; an empty Value frees them, clears the
  // shape's text and ICustomText.
  void SetCustomText(const std::string& Value);

  // The item's lines replace the generated mark text.
  bool ICustomText = false;

 private:
  void LinesChanged(TPersistent* Sender);
  std::unique_ptr<TKelStringList> FLines;
};

// The per-point items of a series' marks, indexed by point; entries may be
// empty.
class TMarksItems {
 public:
  explicit TMarksItems(TSeriesMarks* Marks) : FMarks(Marks) {}
  TMarksItems(const TMarksItems&) = delete;
  TMarksItems& operator=(const TMarksItems&) = delete;

  // The item of Index, growing the list and creating a missing item as a
  // copy of the marks' settings. std::out_of_range for a negative index.
  TMarksItem* Item(int Index);
  TMarksItem* operator[](int Index) { return Item(Index); }
  // The item of Index when it exists (never creates one).
  TMarksItem* Existing(int Index) const;
  int Count() const { return static_cast<int>(FItems.size()); }
  // Removes the entries Index .. Index + Count - 1 that the list holds.
  void DeleteMany(int Index, int Count);
  void Clear() { FItems.clear(); }
  // Gives every item the chart.
  void SetParent(IShapePanel* Value);
  TSeriesMarks* Marks() const { return FMarks; }

  // Set while items are read from a stored description: Clear keeps them.
  bool ILoadingItems = false;

 private:
  TSeriesMarks* FMarks;  // the owner, not owned
  std::vector<std::unique_ptr<TMarksItem>> FItems;
};

// ---- [Shape] ---------------------------------------------------------------------

// A text box with a mark style: the marks themselves, and the child boxes
// of the marks, each showing its own style of the point's text.
class TSeriesMarkShape : public TCustomTextShape {
 public:
  explicit TSeriesMarkShape(IShapePanel* Parent = nullptr, TSeriesMarks* Marks = nullptr)
      : TCustomTextShape(Parent), FMarks(Marks) {}

  // The text box's settings, then Style.
  void Assign(const TPersistent* Source) override;
  std::unique_ptr<TKelCustomShape> Create(IShapePanel* Parent) const override;

  TSeriesMarksStyle Style() const { return FMarkerStyle; }
  // Invalidates the chart, or without a chart asks the series to repaint.
  void SetStyle(TSeriesMarksStyle Value);
  TSeriesMarks* Marks() const { return FMarks; }

 protected:
  TSeriesMarksStyle FMarkerStyle = smsLabelOrValue;
  TSeriesMarks* FMarks;  // the owning marks (this object for the marks), not owned
};

// ---- [Marks] ---------------------------------------------------------------------

class TSeriesMarks : public TSeriesMarkShape {
 public:
  // The marks of Series, drawn on its chart. Hidden, pale yellow, rounded,
  // centred text with horizontal margins of 20.
  explicit TSeriesMarks(TChartSeries* Series);
  ~TSeriesMarks() override;

  // The mark shape's settings and every marks setting (not the per-point
  // positions and items).
  void Assign(const TPersistent* Source) override;
  std::unique_ptr<TKelCustomShape> Create(IShapePanel* Parent) const override;
  TKelShapeClass GetChildClass() const override;
  // The chart also goes to the callout, the symbol and the items.
  void SetParent(IShapePanel* Value) override;
  // Visible, colour 0xFF808080, size 3.
  void InitShadow(TKelShadow* AShadow) override;
  void InitEmboss(TKelEmboss* AEmboss) override;
  // Gradient defaults of the marks (and the legend): right to left from
  // 0xFFC0C0C0 to 0xFFFFFFFF.
  static void InitGradient(TCustomKelGradient* Gradient);

  // ---- Texts and per-point data -------------------------------------------
  // The item of Index when it exists, otherwise the marks themselves.
  TCustomTextShape* MarkItem(int Index) const;
  // The positions when Position is a fresh layout of point Index: stores it
  // when the stored entry is automatic, or replaces it by the custom entry.
  void UsePosition(int Index, TSeriesMarkPosition& Position);
  // Every stored position automatic; the series repaints.
  void ResetPositions();
  // Empties the positions and (unless items are being loaded) the items.
  void Clear();
  // Removes the position and the item of point Index when they exist.
  void Delete(int Index);
  // The same for Count points from Index on.
  void DeleteMany(int Index, int Count);
  // Index of the mark under (X, Y), or -1; a hit records scpMark as the
  // series' clicked part.
  int Clicked(int X, int Y);
  int Clicked(TPointF P) { return Clicked(KelRound(P.X), KelRound(P.Y)); }
  // Width of the mark text of point Index in the marks' font (multi-line
  // measurement of the chart); 0 without a chart.
  int TextWidth(int ValueIndex);

  // ---- Layout and drawing (marks_layout.cpp) ------------------------------
  // The draw step: every n-th visible point gets a mark.
  int CalcEvery() const;
  // Raises the box by the callout length and distance (only when the
  // callout exists).
  void ApplyArrowLength(TSeriesMarkPosition& Position) const;
  // Moves Position off the stored positions of the earlier visible marks;
  // false when it still overlaps one of them (the mark is not drawn).
  bool AntiOverlap(int First, int ValueIndex, TSeriesMarkPosition& Position) const;
  // The box of P grown by the frame and the shadow of the point's box.
  TRectF TotalBounds(int ValueIndex, const TSeriesMarkPosition& P) const;
  // Stores (or replaces by the custom one) the position, then draws.
  void InternalDraw(int ValueIndex, TColor Color, const std::string& Text,
                    TSeriesMarkPosition& Position);
  // The callout, then the box with its text, then the symbol.
  void DrawItem(TCustomTextShape* Shape, TColor Color, const std::string& Text,
                TSeriesMarkPosition& Position);
  // Top-left of the box in the flat view (projected in 3D).
  TPointF ConvertTo2D(const TSeriesMarkPosition& Position, TPointF P) const;

  // ---- Properties ----------------------------------------------------------
  // Rotation of every mark without an angle of its own (the box's own
  // Angle of TKelCustomShape is not used by the marks).
  int Angle() const { return FMarksAngle; }
  void SetAngle(int Value) { SetShapeProperty(FMarksAngle, Value); }
  TAutomaticText* Automatic() const { return FAutomatic.get(); }
  void SetAutomatic(const TAutomaticText* Value);
  bool AutoPosition() const { return FAutomatic->Move(); }
  void SetAutoPosition(bool Value) { FAutomatic->SetMove(Value); }
  // Created on first access.
  TMarksCallout* Callout();
  void SetCallout(const TMarksCallout* Value);
  bool HasCallout() const { return FCallout != nullptr; }
  // Callout()->Length (creates the callout).
  int ArrowLength() { return Callout()->Length(); }
  void SetArrowLength(int Value) { Callout()->SetLength(Value); }
  // Callout()->Arrow (creates the callout).
  TKelPen* Arrow() { return Callout()->Arrow(); }
  void SetArrow(const TKelPen* Value) { Callout()->SetArrow(Value); }
  // The box colour.
  TColor BackColor() const { return Color(); }
  void SetBackColor(TColor Value) { SetColor(Value); }
  bool Clip() const { return FClip; }
  void SetClip(bool Value) { SetShapeProperty(FClip, Value); }
  int DrawEvery() const { return FDrawEvery; }
  void SetDrawEvery(int Value) { SetShapeProperty(FDrawEvery, Value < 1 ? 1 : Value); }
  bool FontSeriesColor() const { return FFontSeriesColor; }
  void SetFontSeriesColor(bool Value) { SetShapeProperty(FFontSeriesColor, Value); }
  TMarksItems* Items() const { return FItems.get(); }
  // Items()->Item(Index): creates the item.
  TMarksItem* Item(int Index) { return FItems->Item(Index); }
  bool MultiLine() const { return FMultiLine; }
  void SetMultiLine(bool Value) { SetShapeProperty(FMultiLine, Value); }
  bool OnTop() const { return FOnTop; }
  void SetOnTop(bool Value) { SetShapeProperty(FOnTop, Value); }
  TSeriesMarksPositions* Positions() const { return FPositions.get(); }
  TSeriesMarksImages UseImages() const { return FUseImages; }
  void SetUseImages(TSeriesMarksImages Value) { SetShapeProperty(FUseImages, Value); }
  bool UseSeriesTransparency() const { return FUseSeriesTransparency; }
  void SetUseSeriesTransparency(bool Value) { SetShapeProperty(FUseSeriesTransparency, Value); }
  bool SoftClip() const { return FSoftClip; }
  void SetSoftClip(bool Value) { SetShapeProperty(FSoftClip, Value); }
  // Created on first access.
  TSeriesMarksSymbol* Symbol();
  void SetSymbol(const TSeriesMarksSymbol* Value);
  bool HasSymbol() const { return FSymbol != nullptr; }
  TMarksTail* Tail();
  void SetTail(const TMarksTail* Value);
  bool HasTail() const { return FTail != nullptr; }
  int ZPosition() const { return FZPosition; }
  void SetZPosition(int Value) { FZPosition = Value; }
  TChartSeries* ParentSeries() const { return FParentSeries; }

 private:
  // The callout when it exists and draws something, then the pointer.
  void TryDrawCallout(TColor Color, const TSeriesMarkPosition& Position);
  // The symbol square inside box R.
  void DrawSymbol(TCustomTextShape* Shape, TColor Color, const TRectF& R);

  int FMarksAngle = 0;
  std::unique_ptr<TAutomaticText> FAutomatic;
  std::unique_ptr<TMarksCallout> FCallout;
  bool FClip = false;
  int FDrawEvery = 1;
  bool FFontSeriesColor = false;
  std::unique_ptr<TMarksItems> FItems;
  bool FMultiLine = false;
  bool FOnTop = false;
  std::unique_ptr<TSeriesMarksPositions> FPositions;
  TSeriesMarksImages FUseImages = miSymbol;
  bool FUseSeriesTransparency = true;
  TChartSeries* FParentSeries;  // the owner, not owned
  bool FSoftClip = false;
  std::unique_ptr<TSeriesMarksSymbol> FSymbol;
  std::unique_ptr<TMarksTail> FTail;
  int FZPosition = 0;
};

// Patterns of the percent texts with the total.
inline constexpr const char* KelMsg_DefaultPercentOf = "%s of %s";
inline constexpr const char* KelMsg_DefaultPercentOf2 = "%s\rof %s";

}  // namespace sextant

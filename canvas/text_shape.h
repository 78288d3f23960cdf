// Text boxes: shapes that measure themselves around a (multi-line) text and
// draw it inside their frame.
//
// Contents:
//   [Enums]         vertical alignment, text format, margin units
//   [Margins]       TMargins: space between frame and text
//   [TextShape]     TCustomTextShape: text, margins, alignment, clipping
//   [Position]      TKelCustomShapePosition: a user-settable top-left
//   [Published]     TTextShape
//   [Strings]       TKelStringList, TStringsShape: text as a list of lines
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "canvas/shape.h"

namespace sextant {

// ---- [Enums] -------------------------------------------------------------------

enum TVertTextAlign : std::uint8_t { vtaTop, vtaCenter, vtaBottom };
enum TTextFormat : std::uint8_t { ttfNormal, ttfHtml };
enum TMarginUnits : std::uint8_t { maPercentFont, maPercentSize, maPixels };

class TCustomTextShape;

// ---- [Margins] -----------------------------------------------------------------

// The space between a text box's frame and its text, per side, in percent
// of the font (text block) height, percent of the box size, or pixels.
class TMargins : public TPersistent {
 public:
  explicit TMargins(TCustomTextShape* Parent = nullptr) : IParent(Parent) {}
  TMargins(const TMargins&) = delete;
  TMargins& operator=(const TMargins&) = delete;

  // Copies the four values and Units.
  void Assign(const TPersistent* Source) override;

  int Left() const { return FLeft; }
  void SetLeft(int Value) { SetValue(FLeft, Value); }
  int Top() const { return FTop; }
  void SetTop(int Value) { SetValue(FTop, Value); }
  int Right() const { return FRight; }
  void SetRight(int Value) { SetValue(FRight, Value); }
  int Bottom() const { return FBottom; }
  void SetBottom(int Value) { SetValue(FBottom, Value); }
  TMarginUnits Units() const { return FUnits; }
  void SetUnits(TMarginUnits Value);

  int DefaultHoriz() const { return FDefaultHoriz; }
  int DefaultVert() const { return FDefaultVert; }
  // Left, Right and DefaultHoriz (Top, Bottom and DefaultVert) together,
  // without notifying.
  void InitHoriz(int Value);
  void InitVert(int Value);

  // The margins in pixels for a text block of W x H whose font height is F;
  // the result is kept in ILast.
  void Calculate(float W, float H, float F);
  TCustomTextShape* Parent() const { return IParent; }

  // The margins in pixels computed by the last Calculate (zero for a
  // transparent box).
  TRectF ILast;

 private:
  void SetValue(int& Variable, int Value);
  int FLeft = 10;
  int FTop = 5;
  int FRight = 10;
  int FBottom = 5;
  TMarginUnits FUnits = maPercentFont;
  int FDefaultHoriz = 10;
  int FDefaultVert = 5;
  TCustomTextShape* IParent;  // the owning shape, not owned
};

// ---- [TextShape] ---------------------------------------------------------------

// A shape around a text: lines separated by KelLineSeparator, each drawn
// from the top margin down, aligned left, centred or right.
class TCustomTextShape : public TKelCustomShape {
 public:
  explicit TCustomTextShape(IShapePanel* Parent = nullptr);
  ~TCustomTextShape() override;

  // The shape's settings, then ClipText, Cursor, Margins, TextAlign,
  // TextFormat, VertTextAlign and Text.
  void Assign(const TPersistent* Source) override;
  std::unique_ptr<TKelCustomShape> Create(IShapePanel* Parent) const override;
  TKelShapeClass GetChildClass() const override;

  // The shape's measure, then the text block with frame allowance and
  // margins; sets INumLines.
  void CalcBounds(IShapePanel* Panel) override;
  // Children follow the text: below it (slTopBottom) or right of it.
  TPointF FirstChildPos(const TRectF& R) const override;

  // ---- Virtual operations --------------------------------------------------
  // Sets the canvas text alignment and returns the x of the text lines.
  virtual float CalcTextAlign(TCanvas3D& Canvas, const TRectF& R);
  // Prepares the font and measures the text; NumLines receives the lines.
  virtual TPointF CalcTextSize(IShapePanel* Panel, int& NumLines);
  // Run when Text changed: repaints.
  virtual void ChangedText();
  // One line at (X, Y): flat when IDraw2D or at depth 0 on a canvas without
  // full rotation that leaves depth 0 in place, turned by Angle about the rotation centre when Angle is
  // not 0.
  virtual void DrawString(IShapePanel* Panel, int X, int Y, int Z, int Angle,
                          const std::string& S, bool AllowMarkup);

  // ---- Properties ------------------------------------------------------------
  bool ClipText() const { return FClipText; }
  void SetClipText(bool Value) { SetShapeProperty(FClipText, Value); }
  std::int16_t Cursor() const { return FCursor; }
  void SetCursor(std::int16_t Value) { SetShapeProperty(FCursor, Value); }
  TMargins* Margins() const { return FMargins.get(); }
  void SetMargins(const TMargins* Value);
  TAlignment TextAlign() const { return FTextAlign; }
  void SetTextAlign(TAlignment Value) { SetShapeProperty(FTextAlign, Value); }
  TAlignment TextAlignment() const { return FTextAlign; }
  void SetTextAlignment(TAlignment Value) { SetTextAlign(Value); }
  TAlignment DefaultTextAlign() const { return IDefaultTextAlign; }
  // Sets TextAlign and its remembered default without notifying.
  void InitTextAlignment(TAlignment Value);
  TTextFormat TextFormat() const { return FTextFormat; }
  void SetTextFormat(TTextFormat Value) { SetShapeProperty(FTextFormat, Value); }
  // Stored and copied; drawing does not use it.
  TVertTextAlign VertTextAlign() const { return FVertTextAlign; }
  void SetVertTextAlign(TVertTextAlign Value) { SetShapeProperty(FVertTextAlign, Value); }
  const std::string& Text() const { return FText; }
  // Stores the text and runs ChangedText, only when it differs.
  void SetText(const std::string& Value);

  // Always draw the text flat, ignoring 3D.
  bool IDraw2D = false;
  // Extra horizontal shift of the text, set by owners.
  int ITextOffset = 0;
  // Number of lines found by the last CalcBounds.
  int INumLines = 0;

 protected:
  void DoDraw(IShapePanel* Panel, std::span<const TPointF> Points, int Z, int Angle,
              const TRectF& R) override;
  void DoDraw(IShapePanel* Panel, const TRectF& R, int Z, int Angle) override;
  // The text inside R, after the outline.
  void DoDrawText(IShapePanel* Panel, const TRectF& R, int Z, int Angle);
  // TryAssignFont when IDraw2D, else PrepareFont3D.
  void PrepareFont(IShapePanel* Panel);

  // Centre of the box the text is drawn in; rotated text turns about it.
  TPointF IRotationCenter;
  // Room the text block took in the last CalcBounds (width with its
  // horizontal margins, height with its vertical ones), for the children.
  TPointF ITextExtent;

 private:
  bool FClipText = true;
  std::int16_t FCursor = 0;
  std::unique_ptr<TMargins> FMargins;
  TAlignment FTextAlign = taLeftJustify;
  TTextFormat FTextFormat = ttfNormal;
  TVertTextAlign FVertTextAlign = vtaCenter;
  std::string FText;
  TAlignment IDefaultTextAlign = taLeftJustify;
};

// ---- [Position] ----------------------------------------------------------------

// A text box whose top-left the user can fix (CustomPosition).
class TKelCustomShapePosition : public TCustomTextShape {
 public:
  explicit TKelCustomShapePosition(IShapePanel* Parent = nullptr) : TCustomTextShape(Parent) {}

  // The text box's settings, CustomPosition and, when set, Left and Top.
  void Assign(const TPersistent* Source) override;
  std::unique_ptr<TKelCustomShape> Create(IShapePanel* Parent) const override;

  bool CustomPosition() const { return FCustomPosition; }
  void SetCustomPosition(bool Value) { SetShapeProperty(FCustomPosition, Value); }
  bool DefaultCustom() const { return FDefaultCustom; }
  // Sets CustomPosition and its remembered default without notifying.
  void InitCustomPosition(bool Value);
  // ShapeBounds.Left / Top rounded. Writing turns CustomPosition on and
  // stores the value through the panel's float-property routine.
  int Left() const { return KelRound(FShapeBounds.Left); }
  void SetLeft(int Value);
  int Top() const { return KelRound(FShapeBounds.Top); }
  void SetTop(int Value);

 private:
  void SetEdge(float& Edge, int Value);
  bool FCustomPosition = false;
  bool FDefaultCustom = false;
};

// ---- [Published] ---------------------------------------------------------------

// The text box with all its properties public; no behaviour of its own.
class TTextShape : public TKelCustomShapePosition {
 public:
  explicit TTextShape(IShapePanel* Parent = nullptr) : TKelCustomShapePosition(Parent) {}
  std::unique_ptr<TKelCustomShape> Create(IShapePanel* Parent) const override;
};

// ---- [Strings] -----------------------------------------------------------------

// A list of text lines that reports every change.
class TKelStringList : public TPersistent {
 public:
  explicit TKelStringList(TNotifyEvent OnChange = nullptr) : OnChange(std::move(OnChange)) {}
  TKelStringList(const TKelStringList&) = delete;
  TKelStringList& operator=(const TKelStringList&) = delete;

  void Assign(const TPersistent* Source) override;

  int Count() const { return static_cast<int>(FLines.size()); }
  // Throw std::out_of_range for an index outside 0 .. Count - 1.
  const std::string& Strings(int Index) const;
  const std::string& operator[](int Index) const { return Strings(Index); }
  void SetStrings(int Index, const std::string& Value);
  void Add(const std::string& Value);
  // Index may equal Count (append).
  void Insert(int Index, const std::string& Value);
  void Delete(int Index);
  void Clear();
  // Every line followed by CR LF.
  std::string Text() const;
  // Lines split at CR LF, CR or LF; a final line break adds no empty line.
  void SetText(const std::string& Value);

  TNotifyEvent OnChange;

 private:
  void Changed() { CallEvent(OnChange, this); }
  void CheckIndex(int Index, int Limit) const;
  std::vector<std::string> FLines;
};

// A text box whose text is a list of lines (published as Text); Caption is
// its first line.
class TStringsShape : public TTextShape {
 public:
  explicit TStringsShape(IShapePanel* Parent = nullptr);
  ~TStringsShape() override;

  std::unique_ptr<TKelCustomShape> Create(IShapePanel* Parent) const override;

  // The lines (the list form of Text).
  TKelStringList* Lines() const { return FLines.get(); }
  void SetLines(const TKelStringList* Value);
  // The first line, empty when there are none.
  std::string Caption() const;
  // Replaces the whole list by Value.
  void SetCaption(const std::string& Value);
  // An empty caption.
  void Clear() { SetCaption(""); }

  // Setting Text directly copies it into the list.
  void ChangedText() override;

 private:
  // Any change of the list: Text := the list's text without its final
  // CR LF (when longer than two characters), and the panel repaints.
  void LinesChanged(TPersistent* Sender);
  std::unique_ptr<TKelStringList> FLines;
  // Set while one of the two notifications updates the other side.
  bool IUpdating = false;
};

}  // namespace sextant

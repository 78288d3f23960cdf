// Shapes: framed, filled, optionally shadowed, rounded and rotated boxes
// that chart elements draw (titles, legend, walls, marks, axis titles).
//
// Contents:
//   [Enums]          shape style, child layout, alignment, callout side
//   [BrushPen]       TKelCustomShapeBrushPen: brush, pen, visibility, panel
//   [Callout]        TShapeCallout: the optional pointer of the outline
//   [Children]       TKelShapes: owned child shapes
//   [Shape]          TKelCustomShape: colour, frame, shadow, emboss, bevel,
//                    rotation, transparency, font, children, bounds
//
// A shape reaches its chart only through IShapePanel (canvas, repaint
// requests, font preparation and text measuring). Owners decide where the
// box goes; the shape draws itself into a rectangle in canvas pixels.
#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <span>
#include <vector>

#include "canvas/kel_persistent.h"
#include "platform/kel_types.h"
#include "canvas/shape_panel.h"

namespace sextant {

class TCanvas3D;
class TKelBrush;
class TKelCorners;
class TKelEmboss;
class TKelFont;
class TKelPen;
class TKelPicture;
class TKelShadow;

// ---- [Enums] -----------------------------------------------------------------

enum TChartObjectShapeStyle : std::uint8_t { fosRectangle, fosRoundRectangle, fosEllipse };
enum TKelShapeLayout : std::uint8_t { slTopBottom, slLeftRight };
enum TAlignment : std::uint8_t { taLeftJustify, taRightJustify, taCenter };
enum TShapeCalloutSide : std::uint8_t { csNone, csLeft, csTop, csRight, csBottom };

// ---- [BrushPen] ---------------------------------------------------------------

// The lightest drawable element: a brush, a pen (published as Frame too),
// visibility and the panel that owns it. Brush and pen changes repaint the
// panel.
class TKelCustomShapeBrushPen : public TPersistent {
 public:
  // Creates the brush of a shape (the class-returning GetBrushClass of a
  // shape family); OnChange is the shape's change callback.
  using TBrushClass = std::unique_ptr<TKelBrush> (*)(TNotifyEvent OnChange);

  explicit TKelCustomShapeBrushPen(IShapePanel* Parent = nullptr);
  ~TKelCustomShapeBrushPen() override;
  TKelCustomShapeBrushPen(const TKelCustomShapeBrushPen&) = delete;
  TKelCustomShapeBrushPen& operator=(const TKelCustomShapeBrushPen&) = delete;

  // Copies brush, pen and Visible.
  void Assign(const TPersistent* Source) override;
  virtual void SetParent(IShapePanel* Value);
  // Asks the parent panel to invalidate itself (nothing without a parent).
  virtual void Repaint();

  // The default brush class: a plain TKelBrush.
  static TBrushClass GetBrushClass();

  IShapePanel* Parent() const { return FParent; }
  IShapePanel* ParentChart() const { return FParent; }
  TKelBrush* Brush() const { return FBrush.get(); }
  void SetBrush(const TKelBrush* Value);
  TKelPen* Pen() const { return FPen.get(); }
  void SetPen(const TKelPen* Value);
  TKelPen* Frame() const { return FPen.get(); }
  void SetFrame(const TKelPen* Value) { SetPen(Value); }
  bool Visible() const { return FVisible; }
  // Through the panel's boolean-property routine (stored and invalidated
  // only on a change).
  void SetVisible(bool Value);
  bool DefaultVisible() const { return FDefaultVisible; }
  // Sets Visible and its remembered default without notifying.
  void InitVisible(bool Value);
  void Show() { SetVisible(true); }
  void Hide() { SetVisible(false); }

 protected:
  // For shape families with another brush class.
  TKelCustomShapeBrushPen(IShapePanel* Parent, TBrushClass BrushClass);
  // Change callback of every owned settings object: Repaint.
  void CanvasChanged(TPersistent* Sender);
  TNotifyEvent ChangedCallback() {
    return [this](TPersistent* Sender) { CanvasChanged(Sender); };
  }
  // Stores Value and repaints, only when it differs.
  template <typename T>
  void SetShapeProperty(T& Variable, T Value) {
    if (Variable == Value) return;
    Variable = Value;
    Repaint();
  }

  IShapePanel* FParent = nullptr;  // not owned
  std::unique_ptr<TKelBrush> FBrush;
  std::unique_ptr<TKelPen> FPen;
  bool FVisible = true;
  bool FDefaultVisible = true;
};

// ---- [Callout] ----------------------------------------------------------------

// A triangular pointer that one side of a box's outline can carry. With a
// side chosen the box outline becomes one closed polygon.
class TShapeCallout : public TPersistent {
 public:
  explicit TShapeCallout(TNotifyEvent OnChange = nullptr) : OnChange(std::move(OnChange)) {}
  void Assign(const TPersistent* Source) override;

  // Tip position along the side, percent.
  int PointPosition() const { return FPointPosition; }
  void SetPointPosition(int Value);
  // Centre of the pointer's base along the side, percent.
  int Position() const { return FPosition; }
  void SetPosition(int Value);
  TShapeCalloutSide Side() const { return FSide; }
  void SetSide(TShapeCalloutSide Value);
  // Pointer length, percent of the box's dimension across the side.
  int Size() const { return FSize; }
  void SetSize(int Value);
  // Pointer base, percent of the side.
  int Width() const { return FWidth; }
  void SetWidth(int Value);

  // The outline of R (normalised) as a closed polygon running clockwise
  // from the top-left corner, corners rounded with Radius (0: square), and
  // the pointer on Side. Positions along a side are measured from its left
  // (top and bottom sides) or top (left and right sides) end.
  std::vector<TPointF> OutlinePoints(const TRectF& R, int Radius) const;

  TNotifyEvent OnChange;

 private:
  void Changed() { CallEvent(OnChange, this); }
  int FPointPosition = 50;
  int FPosition = 50;
  TShapeCalloutSide FSide = csNone;
  int FSize = 25;
  int FWidth = 20;
};

// ---- [Children] ---------------------------------------------------------------

class TKelCustomShape;

// Creates a shape of some class for a panel (the class-returning operations
// of the shape family).
using TKelShapeClass = std::unique_ptr<TKelCustomShape> (*)(IShapePanel* Parent);

// The owned child shapes of a shape, laid out inside its box one after the
// other (stacked or side by side, by the owner's ChildLayout).
class TKelShapes : public TPersistent {
 public:
  explicit TKelShapes(TKelCustomShape* Owner) : FOwner(Owner) {}
  TKelShapes(const TKelShapes&) = delete;
  TKelShapes& operator=(const TKelShapes&) = delete;

  // Replaces the children by copies of Source's (each of its own class).
  void Assign(const TPersistent* Source) override;

  // A new child of the owner's child class, on the owner's panel.
  TKelCustomShape* Add();
  // Takes over Shape (placed on the owner's panel).
  TKelCustomShape* Add(std::unique_ptr<TKelCustomShape> Shape);
  int Count() const { return static_cast<int>(FItems.size()); }
  bool Empty() const { return FItems.empty(); }
  // Throws std::out_of_range for an index outside 0 .. Count - 1.
  TKelCustomShape* Items(int Index) const;
  TKelCustomShape* operator[](int Index) const { return Items(Index); }
  void Delete(int Index);
  void Clear();
  // Gives every child the panel.
  void SetParent(IShapePanel* Value);
  TKelCustomShape* Owner() const { return FOwner; }

 private:
  void Changed();
  TKelCustomShape* FOwner;  // the shape that holds this list
  std::vector<std::unique_ptr<TKelCustomShape>> FItems;
};

// ---- [Shape] --------------------------------------------------------------------

// A framed, filled box with optional shadow, emboss, bevel, rounded corners,
// rotation, blending, background picture and child shapes.
//
// C++ constructors do not dispatch to overrides: a derived class that
// overrides InitShadow / InitEmboss calls its own InitShadow(Shadow()) in its
// constructor (the emboss is created later, on first use, and so reaches the
// override by itself).
class TKelCustomShape : public TKelCustomShapeBrushPen {
 public:
  explicit TKelCustomShape(IShapePanel* Parent = nullptr);
  ~TKelCustomShape() override;

  // Copies Alignment, Angle, AutoSize, Bevel, BevelWidth, Children,
  // ChildLayout, Color, Corners, Font, ShapeStyle, Picture, RoundSize,
  // Emboss, Shadow, ShapeCallout, Transparent, Transparency, then brush, pen
  // and Visible.
  void Assign(const TPersistent* Source) override;
  void SetParent(IShapePanel* Value) override;

  // ---- Virtual operations --------------------------------------------------
  // Measures the box: with AutoSize an empty box at the current top-left,
  // grown by the visible children.
  virtual void CalcBounds(IShapePanel* Panel);
  // Where the first child goes when the shape is drawn into R.
  virtual TPointF FirstChildPos(const TRectF& R) const;
  // The class of children created by Children()->Add().
  virtual TKelShapeClass GetChildClass() const;
  // Virtual constructor: a new shape of this object's class on Parent.
  virtual std::unique_ptr<TKelCustomShape> Create(IShapePanel* Parent) const;

  // ---- Drawing ---------------------------------------------------------------
  // Into ShapeBounds with Angle at depth 0, on the parent panel.
  void Draw();
  // Into Rect, on the parent panel.
  void Draw(const TRectF& Rect, int Angle, int Z = 0);
  void Draw(IShapePanel* Panel, const TRectF& Rect, int Z, int Angle);
  // The outline given as a polygon (owners that computed rotated corners);
  // Rect is the box the polygon stands for.
  void Draw(IShapePanel* Panel, const TRectF& Rect, int Z, int Angle,
            std::span<const TPointF> Points);

  // True when P lies in R (Angle 0), else in R turned by Angle mod 360
  // degrees about its centre.
  bool ClickedShape(TPointF P, const TRectF& R) const;
  // Moves ShapeBounds so that its top-left is (X, Y), size kept; repaints.
  void MoveTo(float X, float Y);
  void MoveTo(TPointF P) { MoveTo(P.X, P.Y); }

  // ---- Properties ------------------------------------------------------------
  TAlignment Alignment() const { return FAlignment; }
  void SetAlignment(TAlignment Value) { SetShapeProperty(FAlignment, Value); }
  int Angle() const { return FAngle; }
  void SetAngle(int Value) { SetShapeProperty(FAngle, Value); }
  bool AutoSize() const { return FAutoSize; }
  void SetAutoSize(bool Value) { SetShapeProperty(FAutoSize, Value); }
  TPanelBevel Bevel() const { return FBevel; }
  void SetBevel(TPanelBevel Value) { SetShapeProperty(FBevel, Value); }
  std::uint8_t BevelWidth() const { return FBevelWidth; }
  void SetBevelWidth(std::uint8_t Value) { SetShapeProperty(FBevelWidth, Value); }
  TKelShapes* Children() const { return FChildren.get(); }
  void SetChildren(const TKelShapes* Value);
  TKelShapeLayout ChildLayout() const { return FChildLayout; }
  void SetChildLayout(TKelShapeLayout Value) { SetShapeProperty(FChildLayout, Value); }
  TColor Color() const { return FColor; }
  void SetColor(TColor Value) { SetShapeProperty(FColor, Value); }
  bool Draw3D() const { return FDraw3D; }
  void SetDraw3D(bool Value) { SetShapeProperty(FDraw3D, Value); }
  TKelFont* Font() const { return FFont.get(); }
  void SetFont(const TKelFont* Value);
  int RoundSize() const { return FRoundSize; }
  // A positive size also makes the style fosRoundRectangle.
  void SetRoundSize(int Value);
  TChartObjectShapeStyle ShapeStyle() const { return FShapeStyle; }
  void SetShapeStyle(TChartObjectShapeStyle Value) { SetShapeProperty(FShapeStyle, Value); }
  bool Transparent() const { return FTransparent; }
  void SetTransparent(bool Value) { SetShapeProperty(FTransparent, Value); }
  bool DefaultTransparent() const { return FDefaultTransparent; }
  // Sets Transparent and its remembered default without notifying.
  void InitTransparent(bool Value);
  std::uint8_t Transparency() const { return FTransparency; }
  void SetTransparency(std::uint8_t Value) { SetShapeProperty(FTransparency, Value); }

  TKelShadow* Shadow() const { return FShadow.get(); }
  void SetShadow(const TKelShadow* Value);
  // Legacy forms of the shadow's Color and Size.
  TColor ShadowColor() const;
  void SetShadowColor(TColor Value);
  int ShadowSize() const;
  void SetShadowSize(int Value);

  // Created on first use.
  TShapeCallout* ShapeCallout();
  void SetShapeCallout(const TShapeCallout* Value);  // nullptr frees it
  bool HasShapeCallout() const { return FShapeCallout != nullptr; }
  TKelCorners* Corners();
  void SetCorners(const TKelCorners* Value);  // nullptr frees them
  bool HasCorners() const { return FCorners != nullptr; }
  // Created on first use and passed to InitEmboss.
  TKelEmboss* Emboss();
  void SetEmboss(const TKelEmboss* Value);  // nullptr frees it
  bool HasEmboss() const { return FEmboss != nullptr; }
  TKelPicture* Picture();
  void SetPicture(const TKelPicture* Value);  // nullptr frees it
  bool HasPicture() const { return FPicture != nullptr; }

  // The box in pixels.
  const TRectF& ShapeBounds() const { return FShapeBounds; }
  void SetShapeBounds(const TRectF& Value) { SetShapeProperty(FShapeBounds, Value); }
  // Right - Left and Bottom - Top; setting moves the right or bottom edge.
  float Width() const { return FShapeBounds.Width(); }
  void SetWidth(float Value) { SetShapeProperty(FShapeBounds.Right, FShapeBounds.Left + Value); }
  float Height() const { return FShapeBounds.Height(); }
  void SetHeight(float Value) { SetShapeProperty(FShapeBounds.Bottom, FShapeBounds.Top + Value); }
  // The corners of the box (left-top, right-top, right-bottom, left-bottom)
  // as last drawn, turned by the angle.
  const std::array<TPointF, 4>& RotatedBounds() const { return FRotatedBounds; }

  // Default shadow of a shape family: current visibility, black, size 3.
  virtual void InitShadow(TKelShadow* AShadow);
  virtual void InitEmboss(TKelEmboss* AEmboss);

 protected:
  // Outline given as points; nothing when Transparent.
  virtual void DoDraw(IShapePanel* Panel, std::span<const TPointF> Points, int Z, int Angle,
                      const TRectF& R);
  // Outline given as a rectangle; nothing when Transparent.
  virtual void DoDraw(IShapePanel* Panel, const TRectF& R, int Z, int Angle);

  // Blending, shadow and emboss, fill, pen, outline, bevel, children. Points
  // empty: the rectangle form of DoDraw.
  void InternalDraw(IShapePanel* Panel, const TRectF& R, std::span<const TPointF> Points,
                    bool UsePoints, int Z, int Angle);
  // Shadow (Sign +1) or emboss (Sign -1) of the box R.
  void DrawShadow(TCanvas3D& Canvas, TKelShadow* AShadow, TRectF R, int Z, int Angle, int Sign);
  // Raised or lowered edge inside R.
  void DrawBevel(TCanvas3D& Canvas, const TRectF& R);
  // Visible children, each into its box from FirstChildPos(R) on.
  void DrawChildren(IShapePanel* Panel, const TRectF& R, int Z);
  // Polygon at depth Z on a full-rotation canvas or with Draw3D, else flat.
  void DrawOutlinePolygon(TCanvas3D& Canvas, std::span<const TPointF> Points, int Z);
  // Picture exists and holds a non-empty bitmap.
  bool HasValidPicture() const;

  TAlignment FAlignment = taLeftJustify;
  int FAngle = 0;
  bool FAutoSize = true;
  TPanelBevel FBevel = bvNone;
  std::uint8_t FBevelWidth = 2;
  std::unique_ptr<TShapeCallout> FShapeCallout;
  std::unique_ptr<TKelShapes> FChildren;
  TKelShapeLayout FChildLayout = slTopBottom;
  TColor FColor = claWhite;
  std::unique_ptr<TKelCorners> FCorners;
  std::unique_ptr<TKelFont> FFont;
  int FRoundSize = 16;
  TChartObjectShapeStyle FShapeStyle = fosRectangle;
  bool FTransparent = false;
  bool FDefaultTransparent = false;
  std::unique_ptr<TKelEmboss> FEmboss;
  std::unique_ptr<TKelPicture> FPicture;
  std::unique_ptr<TKelShadow> FShadow;
  std::uint8_t FTransparency = 0;
  std::array<TPointF, 4> FRotatedBounds{};
  bool FDraw3D = false;
  TRectF FShapeBounds;
};

// The four corners of R (left-top, right-top, right-bottom, left-bottom),
// turned by Angle degrees about its centre (counter-clockwise on screen);
// the unturned corners when Angle is 0.
std::array<TPointF, 4> KelTurnedCorners(const TRectF& R, double Angle);
// P turned by Angle degrees about Center, counter-clockwise on screen (the
// same rule as the corners).
TPointF KelTurnPoint(TPointF P, TPointF Center, double Angle);

}  // namespace sextant

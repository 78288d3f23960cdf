#include "canvas/shape.h"

#include <algorithm>
#include <cmath>
#include <string>

#include "canvas/brush.h"
#include "canvas/canvas3d.h"
#include "canvas/corners.h"
#include "canvas/font.h"
#include "canvas/kel_exceptions.h"
#include "canvas/pen.h"
#include "canvas/shadow.h"

namespace sextant {

// ---- Turning -----------------------------------------------------------------------

TPointF KelTurnPoint(TPointF P, TPointF Center, double Angle) {
  const double a = KelDegToRad(Angle);
  const double c = std::cos(a);
  const double s = std::sin(a);
  const double dx = static_cast<double>(P.X) - Center.X;
  const double dy = static_cast<double>(P.Y) - Center.Y;
  return {static_cast<float>(Center.X + dx * c + dy * s),
          static_cast<float>(Center.Y - dx * s + dy * c)};
}

std::array<TPointF, 4> KelTurnedCorners(const TRectF& R, double Angle) {
  if (Angle == 0) {
    return {TPointF{R.Left, R.Top}, TPointF{R.Right, R.Top}, TPointF{R.Right, R.Bottom},
            TPointF{R.Left, R.Bottom}};
  }
  return TKelShadow::RotateRectangle(R, Angle);
}

// ---- [BrushPen] --------------------------------------------------------------------

TKelCustomShapeBrushPen::TBrushClass TKelCustomShapeBrushPen::GetBrushClass() {
  return [](TNotifyEvent OnChange) { return std::make_unique<TKelBrush>(std::move(OnChange)); };
}

TKelCustomShapeBrushPen::TKelCustomShapeBrushPen(IShapePanel* Parent)
    : TKelCustomShapeBrushPen(Parent, GetBrushClass()) {}

TKelCustomShapeBrushPen::TKelCustomShapeBrushPen(IShapePanel* Parent, TBrushClass BrushClass)
    : FParent(Parent) {
  FBrush = (BrushClass ? BrushClass : GetBrushClass())(ChangedCallback());
  FPen = std::make_unique<TKelPen>(ChangedCallback());
}

TKelCustomShapeBrushPen::~TKelCustomShapeBrushPen() = default;

void TKelCustomShapeBrushPen::Assign(const TPersistent* Source) {
  const auto* src = dynamic_cast<const TKelCustomShapeBrushPen*>(Source);
  if (!src) AssignError(Source);
  if (src == this) return;
  FBrush->Assign(src->FBrush.get());
  FPen->Assign(src->FPen.get());
  SetVisible(src->FVisible);
}

void TKelCustomShapeBrushPen::SetParent(IShapePanel* Value) { FParent = Value; }

void TKelCustomShapeBrushPen::Repaint() {
  if (FParent) FParent->Invalidate();
}

void TKelCustomShapeBrushPen::CanvasChanged(TPersistent*) { Repaint(); }

void TKelCustomShapeBrushPen::SetBrush(const TKelBrush* Value) {
  if (Value) FBrush->Assign(Value);
}

void TKelCustomShapeBrushPen::SetPen(const TKelPen* Value) {
  if (Value) FPen->Assign(Value);
}

void TKelCustomShapeBrushPen::SetVisible(bool Value) {
  if (FParent) {
    FParent->SetBooleanProperty(FVisible, Value);
  } else {
    FVisible = Value;
  }
}

void TKelCustomShapeBrushPen::InitVisible(bool Value) {
  FVisible = Value;
  FDefaultVisible = Value;
}

// ---- [Callout] ----------------------------------------------------------------------

void TShapeCallout::Assign(const TPersistent* Source) {
  const auto* src = dynamic_cast<const TShapeCallout*>(Source);
  if (!src) AssignError(Source);
  if (src == this) return;
  FPointPosition = src->FPointPosition;
  FPosition = src->FPosition;
  FSide = src->FSide;
  FSize = src->FSize;
  FWidth = src->FWidth;
  Changed();
}

#define KEL_CALLOUT_SETTER(Name, Type, Field) \
  void TShapeCallout::Set##Name(Type Value) { \
    if (Field == Value) return;               \
    Field = Value;                            \
    Changed();                                \
  }

KEL_CALLOUT_SETTER(PointPosition, int, FPointPosition)
KEL_CALLOUT_SETTER(Position, int, FPosition)
KEL_CALLOUT_SETTER(Side, TShapeCalloutSide, FSide)
KEL_CALLOUT_SETTER(Size, int, FSize)
KEL_CALLOUT_SETTER(Width, int, FWidth)

#undef KEL_CALLOUT_SETTER

namespace {

// Segments of a flattened quarter arc.
constexpr int KelCornerSegments = 8;

// Quarter arc of radius Radius about Center from angle From to From + 90
// degrees (screen angles: 0 right, 90 down), without its last point. A
// zero radius gives the single corner point.
void AddCorner(std::vector<TPointF>& Points, TPointF Center, float Radius, double From) {
  if (Radius <= 0) {
    Points.push_back(Center);
    return;
  }
  for (int i = 0; i <= KelCornerSegments; ++i) {
    const double a = KelDegToRad(From + 90.0 * i / KelCornerSegments);
    Points.push_back({static_cast<float>(Center.X + Radius * std::cos(a)),
                      static_cast<float>(Center.Y + Radius * std::sin(a))});
  }
}

}  // namespace

std::vector<TPointF> TShapeCallout::OutlinePoints(const TRectF& Rect, int Radius) const {
  const TRectF r = OrientRectangle(Rect);
  const float L = r.Left, T = r.Top, R = r.Right, B = r.Bottom;
  const float w = R - L, h = B - T;
  const float rad = std::clamp(static_cast<float>(Radius), 0.0f, std::min(w, h) * 0.5f);

  // The pointer on a side running from Start to End (coordinates along the
  // side): base centred at Position % of the side, Width % long and kept on
  // the straight part between the rounded corners; tip at PointPosition %,
  // Size % of the box's other dimension outside the edge.
  struct TPointer {
    float Base0, Base1, Tip, Out;
  };
  auto pointer = [&](float Start, float Length, float Across) {
    const float lo = Start + rad, hi = Start + Length - rad;
    const float base = std::min(Length * FWidth * 0.01f, std::max(hi - lo, 0.0f));
    float c = Start + Length * FPosition * 0.01f;
    c = std::clamp(c, lo + base * 0.5f, std::max(lo + base * 0.5f, hi - base * 0.5f));
    return TPointer{c - base * 0.5f, c + base * 0.5f, Start + Length * FPointPosition * 0.01f,
                    Across * FSize * 0.01f};
  };

  std::vector<TPointF> pts;
  pts.reserve(4 * (KelCornerSegments + 1) + 4);
  pts.push_back({L + rad, T});
  if (FSide == csTop) {
    const TPointer p = pointer(L, w, h);
    pts.insert(pts.end(), {{p.Base0, T}, {p.Tip, T - p.Out}, {p.Base1, T}});
  }
  AddCorner(pts, {R - rad, T + rad}, rad, -90);
  if (FSide == csRight) {
    const TPointer p = pointer(T, h, w);
    pts.insert(pts.end(), {{R, p.Base0}, {R + p.Out, p.Tip}, {R, p.Base1}});
  }
  AddCorner(pts, {R - rad, B - rad}, rad, 0);
  if (FSide == csBottom) {
    const TPointer p = pointer(L, w, h);
    pts.insert(pts.end(), {{p.Base1, B}, {p.Tip, B + p.Out}, {p.Base0, B}});
  }
  AddCorner(pts, {L + rad, B - rad}, rad, 90);
  if (FSide == csLeft) {
    const TPointer p = pointer(T, h, w);
    pts.insert(pts.end(), {{L, p.Base1}, {L - p.Out, p.Tip}, {L, p.Base0}});
  }
  AddCorner(pts, {L + rad, T + rad}, rad, 180);
  // The top-left corner ends where the outline started.
  pts.pop_back();
  return pts;
}

// ---- [Children] --------------------------------------------------------------------

void TKelShapes::Changed() {
  if (FOwner) FOwner->Repaint();
}

void TKelShapes::Assign(const TPersistent* Source) {
  const auto* src = dynamic_cast<const TKelShapes*>(Source);
  if (!src) AssignError(Source);
  if (src == this) return;
  IShapePanel* panel = FOwner ? FOwner->Parent() : nullptr;
  std::vector<std::unique_ptr<TKelCustomShape>> items;
  items.reserve(src->FItems.size());
  for (const auto& child : src->FItems) {
    std::unique_ptr<TKelCustomShape> copy = child->Create(panel);
    copy->Assign(child.get());
    items.push_back(std::move(copy));
  }
  FItems = std::move(items);
  Changed();
}

TKelCustomShape* TKelShapes::Add() {
  IShapePanel* panel = FOwner ? FOwner->Parent() : nullptr;
  const TKelShapeClass cls = FOwner ? FOwner->GetChildClass() : nullptr;
  return Add(cls ? cls(panel) : std::make_unique<TKelCustomShape>(panel));
}

TKelCustomShape* TKelShapes::Add(std::unique_ptr<TKelCustomShape> Shape) {
  if (!Shape) return nullptr;
  if (FOwner) Shape->SetParent(FOwner->Parent());
  FItems.push_back(std::move(Shape));
  Changed();
  return FItems.back().get();
}

TKelCustomShape* TKelShapes::Items(int Index) const {
  if (Index < 0 || Index >= Count())
    KelRaiseIndex("Shape", Index, Count() - 1);
  return FItems[static_cast<std::size_t>(Index)].get();
}

void TKelShapes::Delete(int Index) {
  Items(Index);  // range check
  FItems.erase(FItems.begin() + Index);
  Changed();
}

void TKelShapes::Clear() {
  if (FItems.empty()) return;
  FItems.clear();
  Changed();
}

void TKelShapes::SetParent(IShapePanel* Value) {
  for (auto& child : FItems) child->SetParent(Value);
}

// ---- [Shape] ------------------------------------------------------------------------

TKelCustomShape::TKelCustomShape(IShapePanel* Parent) : TKelCustomShapeBrushPen(Parent) {
  // Brush and pen exist (base); then AutoSize, the shadow, the font and the
  // child list, in that order.
  FAutoSize = true;
  FShadow = std::make_unique<TKelShadow>(ChangedCallback());
  TKelCustomShape::InitShadow(FShadow.get());
  FFont = std::make_unique<TKelFont>(ChangedCallback());
  FChildren = std::make_unique<TKelShapes>(this);
}

TKelCustomShape::~TKelCustomShape() = default;

std::unique_ptr<TKelCustomShape> TKelCustomShape::Create(IShapePanel* Parent) const {
  return std::make_unique<TKelCustomShape>(Parent);
}

TKelShapeClass TKelCustomShape::GetChildClass() const {
  return [](IShapePanel* Parent) { return std::make_unique<TKelCustomShape>(Parent); };
}

void TKelCustomShape::InitShadow(TKelShadow* AShadow) {
  if (AShadow) AShadow->InitValues(AShadow->Visible(), claBlack, 3);
}

void TKelCustomShape::InitEmboss(TKelEmboss* AEmboss) {
  if (AEmboss) AEmboss->InitValues(AEmboss->Visible(), claBlack, 3);
}

void TKelCustomShape::SetParent(IShapePanel* Value) {
  TKelCustomShapeBrushPen::SetParent(Value);
  if (FChildren) FChildren->SetParent(Value);
}

namespace {

// Copies an optional sub-object: a source without one frees the target's.
template <typename T, typename Make>
void AssignOptional(std::unique_ptr<T>& Target, const std::unique_ptr<T>& Source, Make&& make) {
  if (!Source) {
    Target.reset();
    return;
  }
  if (!Target) Target = make();
  Target->Assign(Source.get());
}

}  // namespace

void TKelCustomShape::Assign(const TPersistent* Source) {
  const auto* src = dynamic_cast<const TKelCustomShape*>(Source);
  if (!src) {
    // Brush-and-pen sources copy what they have.
    TKelCustomShapeBrushPen::Assign(Source);
    return;
  }
  if (src == this) return;
  FAlignment = src->FAlignment;
  FAngle = src->FAngle;
  FAutoSize = src->FAutoSize;
  FBevel = src->FBevel;
  FBevelWidth = src->FBevelWidth;
  FChildren->Assign(src->FChildren.get());
  FChildLayout = src->FChildLayout;
  FColor = src->FColor;
  AssignOptional(FCorners, src->FCorners, [this] { return std::make_unique<TKelCorners>(ChangedCallback()); });
  FFont->Assign(src->FFont.get());
  FShapeStyle = src->FShapeStyle;
  AssignOptional(FPicture, src->FPicture, [this] { return std::make_unique<TKelPicture>(ChangedCallback()); });
  FRoundSize = src->FRoundSize;
  AssignOptional(FEmboss, src->FEmboss, [this] { return std::make_unique<TKelEmboss>(ChangedCallback()); });
  FShadow->Assign(src->FShadow.get());
  AssignOptional(FShapeCallout, src->FShapeCallout,
                 [this] { return std::make_unique<TShapeCallout>(ChangedCallback()); });
  FTransparent = src->FTransparent;
  FTransparency = src->FTransparency;
  TKelCustomShapeBrushPen::Assign(Source);
}

// ---- Properties ----------------------------------------------------------------------

void TKelCustomShape::SetChildren(const TKelShapes* Value) {
  if (Value) FChildren->Assign(Value);
}

void TKelCustomShape::SetFont(const TKelFont* Value) {
  if (Value) FFont->Assign(Value);
}

void TKelCustomShape::SetRoundSize(int Value) {
  if (FRoundSize == Value) return;
  FRoundSize = Value;
  if (Value > 0) FShapeStyle = fosRoundRectangle;
  Repaint();
}

void TKelCustomShape::InitTransparent(bool Value) {
  FTransparent = Value;
  FDefaultTransparent = Value;
}

void TKelCustomShape::SetShadow(const TKelShadow* Value) {
  if (Value) FShadow->Assign(Value);
}

TColor TKelCustomShape::ShadowColor() const { return FShadow->Color(); }
void TKelCustomShape::SetShadowColor(TColor Value) { FShadow->SetColor(Value); }
int TKelCustomShape::ShadowSize() const { return FShadow->Size(); }
void TKelCustomShape::SetShadowSize(int Value) { FShadow->SetSize(Value); }

TShapeCallout* TKelCustomShape::ShapeCallout() {
  if (!FShapeCallout) FShapeCallout = std::make_unique<TShapeCallout>(ChangedCallback());
  return FShapeCallout.get();
}

void TKelCustomShape::SetShapeCallout(const TShapeCallout* Value) {
  if (!Value) {
    if (FShapeCallout) {
      FShapeCallout.reset();
      Repaint();
    }
    return;
  }
  ShapeCallout()->Assign(Value);
}

TKelCorners* TKelCustomShape::Corners() {
  if (!FCorners) FCorners = std::make_unique<TKelCorners>(ChangedCallback());
  return FCorners.get();
}

void TKelCustomShape::SetCorners(const TKelCorners* Value) {
  if (!Value) {
    if (FCorners) {
      FCorners.reset();
      Repaint();
    }
    return;
  }
  Corners()->Assign(Value);
}

TKelEmboss* TKelCustomShape::Emboss() {
  if (!FEmboss) {
    FEmboss = std::make_unique<TKelEmboss>(ChangedCallback());
    InitEmboss(FEmboss.get());
  }
  return FEmboss.get();
}

void TKelCustomShape::SetEmboss(const TKelEmboss* Value) {
  if (!Value) {
    if (FEmboss) {
      FEmboss.reset();
      Repaint();
    }
    return;
  }
  Emboss()->Assign(Value);
}

TKelPicture* TKelCustomShape::Picture() {
  if (!FPicture) FPicture = std::make_unique<TKelPicture>(ChangedCallback());
  return FPicture.get();
}

void TKelCustomShape::SetPicture(const TKelPicture* Value) {
  if (!Value) {
    if (FPicture) {
      FPicture.reset();
      Repaint();
    }
    return;
  }
  Picture()->Assign(Value);
}

bool TKelCustomShape::HasValidPicture() const { return FPicture && !FPicture->IsEmpty(); }

// ---- Measuring and placing -------------------------------------------------------------

void TKelCustomShape::CalcBounds(IShapePanel* Panel) {
  if (FAutoSize) {
    FShapeBounds.Right = FShapeBounds.Left;
    FShapeBounds.Bottom = FShapeBounds.Top;
  }
  for (int i = 0; i < FChildren->Count(); ++i) {
    TKelCustomShape* child = FChildren->Items(i);
    if (!child->Visible()) continue;
    child->CalcBounds(Panel);
    // A box of fixed size keeps it: adding the children again at every
    // measurement would grow it without end.
    if (!FAutoSize) continue;
    const float w = child->Width();
    const float h = child->Height();
    if (FChildLayout == slTopBottom) {
      if (w > FShapeBounds.Width()) FShapeBounds.Right = FShapeBounds.Left + w;
      FShapeBounds.Bottom += h;
    } else {
      FShapeBounds.Right += w;
      if (h > FShapeBounds.Height()) FShapeBounds.Bottom = FShapeBounds.Top + h;
    }
  }
}

TPointF TKelCustomShape::FirstChildPos(const TRectF& R) const { return R.TopLeft(); }

void TKelCustomShape::MoveTo(float X, float Y) {
  const float w = FShapeBounds.Width();
  const float h = FShapeBounds.Height();
  FShapeBounds = {X, Y, X + w, Y + h};
  Repaint();
}

bool TKelCustomShape::ClickedShape(TPointF P, const TRectF& R) const {
  const int angle = FAngle % 360;
  if (angle == 0) return PointInRect(R, P);
  const std::array<TPointF, 4> corners = KelTurnedCorners(R, angle);
  return PointInPolygon(P, corners);
}

// ---- Drawing -------------------------------------------------------------------------

void TKelCustomShape::Draw() {
  if (FParent) InternalDraw(FParent, FShapeBounds, {}, false, 0, FAngle);
}

void TKelCustomShape::Draw(const TRectF& Rect, int Angle, int Z) {
  if (FParent) InternalDraw(FParent, Rect, {}, false, Z, Angle);
}

void TKelCustomShape::Draw(IShapePanel* Panel, const TRectF& Rect, int Z, int Angle) {
  InternalDraw(Panel, Rect, {}, false, Z, Angle);
}

void TKelCustomShape::Draw(IShapePanel* Panel, const TRectF& Rect, int Z, int Angle,
                           std::span<const TPointF> Points) {
  InternalDraw(Panel, Rect, Points, true, Z, Angle);
}

void TKelCustomShape::InternalDraw(IShapePanel* Panel, const TRectF& R,
                                   std::span<const TPointF> Points, bool UsePoints, int Z,
                                   int Angle) {
  if (!Panel) return;
  TCanvas3D* canvas = Panel->Canvas();
  if (!canvas) return;
  FRotatedBounds = KelTurnedCorners(R, Angle);

  // 1. Whole-box blending. Only canvases without alpha support need the
  // area, the turned box's bounds when the box is turned.
  const bool blending = FTransparency > 0;
  if (blending) {
    const TRectF area = canvas->SupportsAlpha() ? R
                        : Angle != 0          ? PolygonBounds(FRotatedBounds)
                                              : R;
    canvas->BeginBlending(area, FTransparency);
  }

  if (FTransparent) {
    // 2. Nothing to fill or frame.
    canvas->Brush()->SetStyle(THostBrushKind::None);
  } else {
    // 3. Shadow, emboss, background, pen.
    DrawShadow(*canvas, FShadow.get(), R, Z, Angle, +1);
    DrawShadow(*canvas, FEmboss.get(), R, Z, Angle, -1);
    if (HasValidPicture()) {
      // The picture is the background: the outline must not cover it.
      canvas->StretchDraw(R, *FPicture->Bitmap());
      canvas->Brush()->SetStyle(THostBrushKind::None);
    } else {
      canvas->AssignBrush(FBrush.get(), FColor);
    }
    canvas->AssignVisiblePenColor(FPen.get(), FPen->Color());
  }

  // 4. Outline (text shapes also draw their text here).
  if (UsePoints) {
    DoDraw(Panel, Points, Z, Angle, R);
  } else {
    DoDraw(Panel, R, Z, Angle);
  }

  // 5. - 7.
  if (!FTransparent && Angle == 0) DrawBevel(*canvas, R);
  if (!FChildren->Empty()) DrawChildren(Panel, R, Z);
  if (blending) canvas->EndBlending(nullptr);
}

void TKelCustomShape::DrawShadow(TCanvas3D& Canvas, TKelShadow* AShadow, TRectF R, int Z, int Angle,
                                 int Sign) {
  if (!AShadow || !AShadow->ShouldDraw()) return;
  if (FBrush->Style() == THostBrushKind::None) return;
  if (FPen->Visible() && FPen->Width() > 1) {
    const float grow = static_cast<float>(KelRound(Sign * FPen->Width() * 0.5));
    InflateRectF(R, grow, grow);
  }
  AShadow->SetZPosition(Z + 2);
  if (FShapeStyle == fosEllipse) {
    AShadow->DrawEllipse(Canvas, R, 0, 360);
    return;
  }
  const bool flat = !Canvas.SupportsFullRotation();
  if (flat) Canvas.FrontPlaneBegin();
  AShadow->Draw(Canvas, R, Angle, FShapeStyle == fosRoundRectangle ? FRoundSize : 0);
  if (flat) Canvas.FrontPlaneEnd();
}

void TKelCustomShape::DrawBevel(TCanvas3D& Canvas, const TRectF& R) {
  if (FBevel == bvNone) return;
  const float limit = std::min({R.Width() / 2, R.Height() / 2, static_cast<float>(FBevelWidth)});
  const int width = KelRound(limit);
  constexpr TColor light = 0xFFFFFFFF;
  constexpr TColor dark = 0xFFA0A0A0;
  TRectF r = R;
  if (FBevel == bvLowered) {
    Canvas.Frame3D(r, dark, light, width);
  } else {
    Canvas.Frame3D(r, light, dark, width);
  }
}

void TKelCustomShape::DrawChildren(IShapePanel* Panel, const TRectF& R, int Z) {
  TPointF pos = FirstChildPos(R);
  for (int i = 0; i < FChildren->Count(); ++i) {
    TKelCustomShape* child = FChildren->Items(i);
    if (!child->Visible()) continue;
    const float w = child->Width();
    const float h = child->Height();
    child->FShapeBounds = {pos.X, pos.Y, pos.X + w, pos.Y + h};
    child->InternalDraw(Panel, child->FShapeBounds, {}, false, Z, child->FAngle);
    if (FChildLayout == slTopBottom) {
      pos.Y += h;
    } else {
      pos.X += w;
    }
  }
}

void TKelCustomShape::DrawOutlinePolygon(TCanvas3D& Canvas, std::span<const TPointF> Points, int Z) {
  if (Canvas.SupportsFullRotation() || FDraw3D) {
    Canvas.PolygonWithZ(Points, Z);
  } else {
    Canvas.Polygon(Points);
  }
}

void TKelCustomShape::DoDraw(IShapePanel* Panel, std::span<const TPointF> Points, int Z, int,
                             const TRectF&) {
  if (FTransparent || !Panel || !Panel->Canvas()) return;
  DrawOutlinePolygon(*Panel->Canvas(), Points, Z);
}

void TKelCustomShape::DoDraw(IShapePanel* Panel, const TRectF& R, int Z, int Angle) {
  if (FTransparent || !Panel || !Panel->Canvas()) return;
  TCanvas3D& canvas = *Panel->Canvas();
  if (Angle != 0) {
    const std::array<TPointF, 4> corners = KelTurnedCorners(R, Angle);
    DrawOutlinePolygon(canvas, corners, Z);
    return;
  }
  if (canvas.SupportsFullRotation() || FDraw3D) {
    switch (FShapeStyle) {
      case fosRectangle: canvas.RectangleWithZ(R, Z); break;
      case fosEllipse: canvas.EllipseWithZ(R, Z); break;
      case fosRoundRectangle: canvas.RoundRect(R, FRoundSize, FRoundSize, Z); break;
    }
    return;
  }
  if (FShapeCallout && FShapeCallout->Side() != csNone) {
    const int radius = FShapeStyle == fosRoundRectangle ? FRoundSize : 0;
    const std::vector<TPointF> outline = FShapeCallout->OutlinePoints(R, radius);
    canvas.Polygon(outline);
    return;
  }
  switch (FShapeStyle) {
    case fosRectangle: canvas.Rectangle(R); break;
    case fosEllipse: canvas.Ellipse(R); break;
    case fosRoundRectangle:
      canvas.RoundRect(R, FRoundSize, FRoundSize, static_cast<const TKelCorners*>(FCorners.get()));
      break;
  }
}

}  // namespace sextant

#include "panel/walls.h"

#include "canvas/brush.h"
#include "canvas/canvas3d.h"
#include "canvas/pen.h"
#include "canvas/shadow.h"
#include "panel/axis_panel.h"

namespace sextant {

// The base constructor gives a wall "no colour of its own" until the wall
// kind applies its colour.
TCustomChartWall::TCustomChartWall(TCustomAxisPanel* Chart)
    : TKelCustomShape(Chart), FChart(Chart) {
  InitColor(clKelColor);
}

void TCustomChartWall::Assign(const TPersistent* Source) {
  TKelCustomShape::Assign(Source);
  if (const auto* src = dynamic_cast<const TCustomChartWall*>(Source)) {
    FAutoHide = src->FAutoHide;
    FDark3D = src->FDark3D;
    FEndPosition = src->FEndPosition;
    FSize = src->FSize;
    FStartPosition = src->FStartPosition;
  }
}

void TCustomChartWall::InitColor(TColor Value) {
  FColor = Value;
  FDefaultColor = Value;
}

bool TCustomChartWall::ShouldDraw() const {
  return FChart && FChart->View3DWalls() && Visible() && !FAutoHide;
}

bool TCustomChartWall::ApplyDark3D() const {
  return FBrush->Style() != THostBrushKind::None && !FBrush->Bitmap() && !FBrush->HasImage() &&
         FDark3D;
}

TChartBackWall::TChartBackWall(TCustomAxisPanel* Chart) : TChartWall(Chart) {
  InitColor(claSilver);
  InitTransparent(true);
  InitShadow(Shadow());
}

void TChartBackWall::InitShadow(TKelShadow* AShadow) {
  if (AShadow) AShadow->InitValues(false, claDarkGray, AShadow->Size());
}

void TChartBackWall::InitEmboss(TKelEmboss* AEmboss) {
  if (AEmboss) AEmboss->InitValues(false, claDarkGray, AEmboss->Size());
}

void TChartBackWall::DrawFlat(TCanvas3D& Canvas, const TRectF& R) {
  const bool blending = FTransparency > 0;
  if (blending) Canvas.BeginBlending(R, FTransparency);
  // Shadows first: they set the canvas brush themselves.
  DrawShadow(Canvas, FShadow.get(), R, 0, 0, +1);
  if (HasEmboss()) DrawShadow(Canvas, Emboss(), R, 0, 0, -1);
  Canvas.AssignVisiblePen(FPen.get());
  if (FTransparent)
    Canvas.Brush()->SetStyle(THostBrushKind::None);
  else
    Canvas.AssignBrush(FBrush.get(), FColor);
  if (FShapeStyle == fosRoundRectangle)
    Canvas.RoundRect(R, FRoundSize, FRoundSize);
  else
    Canvas.Rectangle(R);
  if (HasValidPicture()) Canvas.StretchDraw(R, *Picture()->Bitmap());
  if (blending) Canvas.EndBlending(nullptr);
}

void TCustomChartWall::Draw3D(TCanvas3D& Canvas, const TWallBox& B, TWallFace Inner) {
  const bool blending = FTransparency > 0;
  const TRectF front{B.Left, B.Top, B.Right, B.Bottom};
  if (blending) Canvas.BeginBlending(Canvas.RectFromRectZ(front, B.Z0), FTransparency);
  Canvas.AssignVisiblePen(FPen.get());
  const bool dark = ApplyDark3D();
  // Each face assigns the brush anew: a gradient lasts for one fill.
  auto brush = [&](TWallFace Face, int Darken) {
    if (FTransparent)
      Canvas.Brush()->SetStyle(THostBrushKind::None);
    else
      Canvas.AssignBrush(FBrush.get(), dark && Face != Inner ? ApplyDark(FColor, Darken) : FColor);
  };
  const bool flatX = B.Left == B.Right, flatY = B.Top == B.Bottom, flatZ = B.Z0 == B.Z1;
  if (flatX || flatY || flatZ) {
    // A plane: its only face is the inner one.
    brush(Inner, 0);
    if (flatZ)
      Canvas.RectangleWithZ(front, B.Z0);
    else if (flatX)
      Canvas.RectangleZ(B.Left, B.Top, B.Bottom, B.Z0, B.Z1);
    else
      Canvas.RectangleY(B.Left, B.Top, B.Right, B.Z0, B.Z1);
  } else {
    // The view looks along (-dx, -dy, 1) for a screen shift (dx, dy) of
    // one pixel of depth: the front face always shows, the top face when
    // depth rises, the right face when it runs right, the left one when it
    // runs left.
    const TPointF o = Canvas.Calculate3DPosition(0.0f, 0.0f, 0.0f);
    const TPointF d = Canvas.Calculate3DPosition(0.0f, 0.0f, 1.0f);
    const float dx = d.X - o.X, dy = d.Y - o.Y;
    if (dy < 0) {
      brush(wfTop, 32);
      Canvas.RectangleY(B.Left, B.Top, B.Right, B.Z0, B.Z1);
    } else if (dy > 0) {
      brush(wfBottom, 32);
      Canvas.RectangleY(B.Left, B.Bottom, B.Right, B.Z0, B.Z1);
    }
    if (dx > 0) {
      brush(wfRight, 64);
      Canvas.RectangleZ(B.Right, B.Top, B.Bottom, B.Z0, B.Z1);
    } else if (dx < 0) {
      brush(wfLeft, 64);
      Canvas.RectangleZ(B.Left, B.Top, B.Bottom, B.Z0, B.Z1);
    }
    brush(wfFront, 48);
    Canvas.RectangleWithZ(front, B.Z0);
  }
  if (Inner == wfFront && HasValidPicture())
    Canvas.StretchDraw(Canvas.CalcRect3D(front, B.Z0), *Picture()->Bitmap());
  if (blending) Canvas.EndBlending(nullptr);
}

TChartLeftWall::TChartLeftWall(TCustomAxisPanel* Chart) : TChartWall(Chart) {
  InitColor(0xFFFFFF80);
}

TChartBottomWall::TChartBottomWall(TCustomAxisPanel* Chart) : TChartWall(Chart) {
  InitColor(claWhite);
}

TChartRightWall::TChartRightWall(TCustomAxisPanel* Chart) : TChartWall(Chart) {
  InitColor(claSilver);
  InitVisible(false);
}

TChartWalls::TChartWalls(TCustomAxisPanel* Chart)
    : FChart(Chart),
      FBack(std::make_unique<TChartBackWall>(Chart)),
      FLeft(std::make_unique<TChartLeftWall>(Chart)),
      FBottom(std::make_unique<TChartBottomWall>(Chart)) {}

TChartWalls::~TChartWalls() = default;

void TChartWalls::Assign(const TPersistent* Source) {
  const auto* src = dynamic_cast<const TChartWalls*>(Source);
  if (!src) AssignError(Source);
  if (src == this) return;
  FBack->Assign(src->FBack.get());
  FLeft->Assign(src->FLeft.get());
  FBottom->Assign(src->FBottom.get());
  if (src->FRight) Right()->Assign(src->FRight.get());
}

TChartRightWall* TChartWalls::Right() {
  if (!FRight) FRight = std::make_unique<TChartRightWall>(FChart);
  return FRight.get();
}

bool TChartWalls::Visible() const {
  return FBack->Visible() && FLeft->Visible() && FBottom->Visible();
}

void TChartWalls::SetVisible(bool Value) {
  FBack->SetVisible(Value);
  FLeft->SetVisible(Value);
  FBottom->SetVisible(Value);
  if (FRight) FRight->SetVisible(Value);
}

void TChartWalls::SetSize(int Value) {
  FBack->SetSize(Value);
  FLeft->SetSize(Value);
  FBottom->SetSize(Value);
  if (FRight) FRight->SetSize(Value);
}

TRectF BackWallRect(const TRectF& ChartRect, int StartPosition, int EndPosition,
                    int BottomWallSize) {
  int top = KelRound(ChartRect.Top);
  if (StartPosition != 0) top += KelRound((ChartRect.Bottom - top) * StartPosition * 0.01);
  int bottom = KelRound(ChartRect.Bottom) + BottomWallSize;
  if (EndPosition != 100)
    bottom -= KelRound((bottom - ChartRect.Top) * (100 - EndPosition) * 0.01);
  if (EndPosition == 100) ++bottom;
  return {ChartRect.Left, static_cast<float>(top), ChartRect.Right + 1, static_cast<float>(bottom)};
}

}  // namespace sextant

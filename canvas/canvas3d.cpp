#include "canvas/canvas3d.h"

#include <algorithm>
#include <cmath>

#include "canvas/shadow.h"

namespace sextant {

// ---- [Helpers] ---------------------------------------------------------------

TRectF PolygonBounds(std::span<const TPointF> Points) {
  if (Points.empty()) return {};
  TRectF r{Points[0].X, Points[0].Y, Points[0].X, Points[0].Y};
  for (const TPointF& p : Points.subspan(1)) {
    r.Left = std::min(r.Left, p.X);
    r.Top = std::min(r.Top, p.Y);
    r.Right = std::max(r.Right, p.X);
    r.Bottom = std::max(r.Bottom, p.Y);
  }
  return r;
}

TRectF RectFromTriangle(TPointF P0, TPointF P1, TPointF P2) {
  const TPointF pts[3] = {P0, P1, P2};
  return PolygonBounds(pts);
}

bool PointInPolygon(TPointF P, std::span<const TPointF> Points) {
  bool inside = false;
  const std::size_t n = Points.size();
  for (std::size_t i = 0, j = n - 1; i < n; j = i++) {
    const TPointF& a = Points[i];
    const TPointF& b = Points[j];
    if ((a.Y > P.Y) != (b.Y > P.Y) &&
        P.X < (b.X - a.X) * (P.Y - a.Y) / (b.Y - a.Y) + a.X) {
      inside = !inside;
    }
  }
  return inside;
}

void AddPointsToPath(THostPath& Path, std::span<const TPointF> Points, bool Close) {
  if (Points.empty()) return;
  Path.MoveTo(Points[0]);
  for (const TPointF& p : Points.subspan(1)) Path.LineTo(p);
  if (Close) Path.ClosePath();
}

THostPath PointsPath(std::span<const TPointF> Points, bool Close) {
  THostPath path;
  AddPointsToPath(path, Points, Close);
  return path;
}

THostPath PieDonutPath(const TRectF& R, double StartAngle, double EndAngle, double HolePercent) {
  const float cx = (R.Left + R.Right) * 0.5f;
  const float cy = (R.Top + R.Bottom) * 0.5f;
  const float rx = std::fabs(R.Width()) * 0.5f;
  const float ry = std::fabs(R.Height()) * 0.5f;
  const float sweep = static_cast<float>(EndAngle - StartAngle);
  auto at = [&](double angle, float fx, float fy) {
    const double a = KelDegToRad(angle);
    return TPointF{static_cast<float>(cx + fx * std::cos(a)), static_cast<float>(cy + fy * std::sin(a))};
  };
  THostPath path;
  if (HolePercent <= 0) {
    path.MoveTo({cx, cy});
    path.LineTo(at(StartAngle, rx, ry));
    path.AddArc({cx, cy}, {rx, ry}, static_cast<float>(StartAngle), sweep);
  } else {
    const float h = static_cast<float>(std::min(HolePercent, 100.0) * 0.01);
    path.MoveTo(at(StartAngle, rx, ry));
    path.AddArc({cx, cy}, {rx, ry}, static_cast<float>(StartAngle), sweep);
    path.LineTo(at(EndAngle, rx * h, ry * h));
    path.AddArc({cx, cy}, {rx * h, ry * h}, static_cast<float>(EndAngle), -sweep);
  }
  path.ClosePath();
  return path;
}

std::optional<IHostCanvas::StateHandle> ICanvasState;

void ClipCanvas(IHostCanvas& Canvas, const TRectF& R) {
  ICanvasState = Canvas.SaveState();
  Canvas.IntersectClipRect(R);
}

void UnClipCanvas(IHostCanvas& Canvas) {
  if (!ICanvasState) return;
  Canvas.RestoreState(*ICanvasState);
  ICanvasState.reset();
}

// ---- [View options] ------------------------------------------------------------

void TView3DOptions::Assign(const TPersistent* Source) {
  const auto* src = dynamic_cast<const TView3DOptions*>(Source);
  if (!src) AssignError(Source);
  if (src == this) return;
  FElevation = src->FElevation;
  FFontZoom = src->FFontZoom;
  FPenZoom = src->FPenZoom;
  FCheckBoxZoom = src->FCheckBoxZoom;
  FHorizOffset = src->FHorizOffset;
  FOrthogonal = src->FOrthogonal;
  FOrthoAngle = src->FOrthoAngle;
  FPerspective = src->FPerspective;
  FRotation = src->FRotation;
  FTilt = src->FTilt;
  FVertOffset = src->FVertOffset;
  FZOffset = src->FZOffset;
  FZoom = src->FZoom;
  FZoomText = src->FZoomText;
  FZoomPen = src->FZoomPen;
  Changed();
}

#define KEL_VIEW_SETTER(Name, Type, Field) \
  void TView3DOptions::Set##Name(Type Value) { \
    if (Field == Value) return;                \
    Field = Value;                             \
    Changed();                                 \
  }

KEL_VIEW_SETTER(Elevation, double, FElevation)
KEL_VIEW_SETTER(FontZoom, int, FFontZoom)
KEL_VIEW_SETTER(PenZoom, int, FPenZoom)
KEL_VIEW_SETTER(CheckBoxZoom, int, FCheckBoxZoom)
KEL_VIEW_SETTER(Orthogonal, bool, FOrthogonal)
KEL_VIEW_SETTER(OrthoAngle, int, FOrthoAngle)
KEL_VIEW_SETTER(Perspective, int, FPerspective)
KEL_VIEW_SETTER(Rotation, double, FRotation)
KEL_VIEW_SETTER(Tilt, double, FTilt)
KEL_VIEW_SETTER(ZOffset, double, FZOffset)
KEL_VIEW_SETTER(ZoomText, TZoomTextMode, FZoomText)
KEL_VIEW_SETTER(ZoomPen, TZoomPenMode, FZoomPen)

#undef KEL_VIEW_SETTER

void TView3DOptions::SetHorizOffset(double Value) {
  if (FHorizOffset == Value) return;
  FHorizOffset = Value;
  CallEvent(OnScrolled, this);
  Changed();
}

void TView3DOptions::SetVertOffset(double Value) {
  if (FVertOffset == Value) return;
  FVertOffset = Value;
  CallEvent(OnScrolled, this);
  Changed();
}

double TView3DOptions::OrthoRatio() const {
  const double a = KelDegToRad(ClampedOrthoAngle());
  // At exactly 90 degrees cos is about 6e-17, not 0: the ratio stays finite.
  return std::fabs(std::tan(a));
}

void TView3DOptions::SetZoom(double Value) {
  if (FZoom == Value) return;
  CallEvent(OnChangedZoom, this, KelRound(Value));
  FZoom = Value;
  Changed();
}

// ---- [TCanvas3D] ---------------------------------------------------------------

void TCanvas3D::BeginEntity(const std::string&, const void*, const TKelTransform* Transform) {
  TTransformEntry entry;
  entry.Active = Transform && Transform->Enabled && FCanvas;
  if (entry.Active) {
    entry.Matrix = FCanvas->Matrix();
    FCanvas->BeginScene();
    // Row vectors: a point is translated, rotated about the origin, scaled
    // about the origin, then mapped by the enclosing matrix.
    TKelMatrix m;
    if (Transform->Translate.X != 0 || Transform->Translate.Y != 0) {
      m = m * TKelMatrix::Translation(Transform->Translate.X, Transform->Translate.Y);
    }
    const TPointF o = Transform->Origin;
    if (Transform->Rotate != 0) {
      m = m * TKelMatrix::Translation(-o.X, -o.Y) * TKelMatrix::Rotation(Transform->Rotate) *
          TKelMatrix::Translation(o.X, o.Y);
    }
    if (Transform->Scale.X != 1 || Transform->Scale.Y != 1) {
      m = m * TKelMatrix::Translation(-o.X, -o.Y) *
          TKelMatrix::Scaling(Transform->Scale.X, Transform->Scale.Y) * TKelMatrix::Translation(o.X, o.Y);
    }
    FCanvas->SetMatrix(m * entry.Matrix);
  }
  ITransform.push_back(entry);
}

void TCanvas3D::EndEntity() {
  if (ITransform.empty()) return;
  const TTransformEntry entry = ITransform.back();
  ITransform.pop_back();
  if (entry.Active && FCanvas) {
    FCanvas->SetMatrix(entry.Matrix);
    FCanvas->EndScene();
  }
}

TColor TCanvas3D::GetPixel3D(int X, int Y, int Z) {
  Calc3DPos(X, Y, Z);
  return GetPixel(X, Y);
}

void TCanvas3D::SetPixel3D(int X, int Y, int Z, TColor Value) {
  Calc3DPos(X, Y, Z);
  SetPixel(X, Y, Value);
}

void TCanvas3D::Arrow(bool Filled, TPointF FromPoint, TPointF ToPoint, int HeadWidth, int HeadHeight,
                      int Z, double ArrowPercent) {
  const double dx = ToPoint.X - FromPoint.X;
  const double dy = ToPoint.Y - FromPoint.Y;
  const double len = std::hypot(dx, dy);
  if (len == 0) return;  // no direction: nothing to point with
  const double ux = dx / len, uy = dy / len;  // along the arrow
  const double nx = -uy, ny = ux;             // across the arrow
  const double head = HeadWidth * 0.5;
  const double shaft = head * ArrowPercent * 0.01;
  const double bx = ToPoint.X - ux * HeadHeight;  // middle of the head's base
  const double by = ToPoint.Y - uy * HeadHeight;
  auto at = [&](double x, double y) {
    return Calculate3DPosition(static_cast<float>(x), static_cast<float>(y), static_cast<float>(Z));
  };
  const TPointF tip = at(ToPoint.X, ToPoint.Y);
  const TPointF headA = at(bx + nx * head, by + ny * head);
  const TPointF headB = at(bx - nx * head, by - ny * head);
  if (Filled) {
    const TPointF pts[7] = {at(FromPoint.X + nx * shaft, FromPoint.Y + ny * shaft),
                            at(bx + nx * shaft, by + ny * shaft),
                            headA,
                            tip,
                            headB,
                            at(bx - nx * shaft, by - ny * shaft),
                            at(FromPoint.X - nx * shaft, FromPoint.Y - ny * shaft)};
    Polygon(pts);
  } else {
    Line(at(FromPoint.X, FromPoint.Y), tip);
    Line(headA, tip);
    Line(headB, tip);
  }
}

void TCanvas3D::ClipCube(const TRectF& R, int, int) {
  // The right edge is kept: the clip ends where the plot's right edge is.
  ClipRectangle({R.Left + 1, R.Top + 1, R.Right, R.Bottom - 1});
}

void TCanvas3D::HorizLine3D(float Left, float Right, float Y, float Z) {
  MoveTo3D(Left, Y, Z);
  LineTo3D(Right, Y, Z);
}

void TCanvas3D::VertLine3D(float X, float Top, float Bottom, float Z) {
  MoveTo3D(X, Top, Z);
  LineTo3D(X, Bottom, Z);
}

void TCanvas3D::ZLine3D(float X, float Y, float Z0, float Z1) {
  MoveTo3D(X, Y, Z0);
  LineTo3D(X, Y, Z1);
}

void TCanvas3D::RoundRect(const TRectF& R, int X, int Y, int Z) {
  TKelCanvas::RoundRect(CalcRect3D(R, Z), X, Y, nullptr);
}

void TCanvas3D::FrontPlaneBegin() {
  if (IDisabledRotation++ == 0) DisableRotation();
}

void TCanvas3D::FrontPlaneEnd() {
  if (IDisabledRotation <= 0) return;
  if (--IDisabledRotation == 0) EnableRotation();
}

void TCanvas3D::LineWithZ(float X0, float Y0, float X1, float Y1, float Z) {
  MoveTo3D(X0, Y0, Z);
  LineTo3D(X1, Y1, Z);
}

void TCanvas3D::MoveTo3D(float X, float Y, float Z) { MoveTo(Calculate3DPosition(X, Y, Z)); }

void TCanvas3D::LineTo3D(float X, float Y, float Z) { LineTo(Calculate3DPosition(X, Y, Z)); }

void TCanvas3D::PlaneWithZ(TPointF P1, TPointF P2, TPointF P3, TPointF P4, int Z) {
  const float z = static_cast<float>(Z);
  DrawQuad({Calculate3DPosition(P1, z), Calculate3DPosition(P2, z), Calculate3DPosition(P3, z),
            Calculate3DPosition(P4, z)});
}

void TCanvas3D::PolygonWithZ(std::span<const TPointF> Points, int Z) { Polygon(Calc3DPoints(Points, Z)); }

void TCanvas3D::PolygonConcave(std::span<const TPointF> Points, int Z) { Polygon(Calc3DPoints(Points, Z)); }

void TCanvas3D::Polyline(std::span<const TPointF> Points, int Z) { Polyline(Calc3DPoints(Points, Z)); }

void TCanvas3D::RectangleWithZ(const TRectF& R, int Z) { DrawQuad(FourPointsFromRect(R, Z)); }

void TCanvas3D::RectangleY(float Left, float Top, float Right, int Z0, int Z1) {
  const float z0 = static_cast<float>(Z0), z1 = static_cast<float>(Z1);
  DrawQuad({Calculate3DPosition(Left, Top, z0), Calculate3DPosition(Right, Top, z0),
            Calculate3DPosition(Right, Top, z1), Calculate3DPosition(Left, Top, z1)});
}

void TCanvas3D::RectangleZ(float Left, float Top, float Bottom, int Z0, int Z1) {
  const float z0 = static_cast<float>(Z0), z1 = static_cast<float>(Z1);
  DrawQuad({Calculate3DPosition(Left, Top, z0), Calculate3DPosition(Left, Top, z1),
            Calculate3DPosition(Left, Bottom, z1), Calculate3DPosition(Left, Bottom, z0)});
}

void TCanvas3D::RotateLabel3D(int X, int Y, int Z, const std::string& Text, double Angle, bool AllowMarkup) {
  Calc3DPos(X, Y, Z);
  RotateLabel(X, Y, Text, Angle, AllowMarkup);
}

void TCanvas3D::RoundRectWithZ(const TRectF& R, int, int, int Z) { RectangleWithZ(R, Z); }

void TCanvas3D::TextOut3D(int X, int Y, int Z, const std::string& Text, bool AllowMarkup) {
  Calc3DPos(X, Y, Z);
  TextOut(static_cast<float>(X), static_cast<float>(Y), Text, AllowMarkup);
}

std::vector<TPointF> TCanvas3D::Calc3DPoints(std::span<const TPointF> Points, int Z) {
  std::vector<TPointF> result;
  result.reserve(Points.size());
  for (const TPointF& p : Points) result.push_back(Calculate3DPosition(p, static_cast<float>(Z)));
  return result;
}

TRectF TCanvas3D::CalcRect3D(const TRectF& R, int Z) {
  const TPointF a = Calculate3DPosition(R.Left, R.Top, static_cast<float>(Z));
  const TPointF b = Calculate3DPosition(R.Right, R.Bottom, static_cast<float>(Z));
  return {a.X, a.Y, b.X, b.Y};
}

std::array<TPointF, 4> TCanvas3D::FourPointsFromRect(const TRectF& R, int Z) {
  const float z = static_cast<float>(Z);
  return {Calculate3DPosition(R.Left, R.Top, z), Calculate3DPosition(R.Right, R.Top, z),
          Calculate3DPosition(R.Right, R.Bottom, z), Calculate3DPosition(R.Left, R.Bottom, z)};
}

TRectF TCanvas3D::RectFromRectZ(const TRectF& R, int Z) { return PolygonBounds(FourPointsFromRect(R, Z)); }

// ---- [TKelCanvas3D] ---------------------------------------------------------------

TKelCanvas3D::TKelCanvas3D() = default;

TKelCanvas3D::~TKelCanvas3D() = default;

TColor TKelCanvas3D::GetPixel(int X, int Y) {
  if (!FBitmap) return 0xFFFFFFFF;  // -1: white
  return FBitmap->Pixel(X, Y);
}

void TKelCanvas3D::SetPixel(int X, int Y, TColor Value) {
  if (FBitmap) FBitmap->SetPixel(X, Y, Value);
}

void TKelCanvas3D::SetMonochrome(bool Value) {
  if (FMonochrome == Value) return;
  FMonochrome = Value;
  FDirty = true;
  if (F3DOptions) CallEvent(F3DOptions->OnInvalidate, F3DOptions);
}

void TKelCanvas3D::SetUseBuffer(bool Value) {
  FBufferedDisplay = Value;
  if (!FBitmap) return;
  if (!Value) {
    if (!IKeepBitmap) {
      DeleteBitmap();
      SetCanvas(nullptr);
      FDirty = true;
    }
  } else {
    SetCanvas(&FBitmap->Canvas());
  }
}

void TKelCanvas3D::DeleteBitmap() {
  if (FBitmap && ReferenceCanvas() == &FBitmap->Canvas()) SetCanvas(nullptr);
  FBitmap.reset();
}

// ---- Lines ---------------------------------------------------------------------------

void TKelCanvas3D::MoveTo(float X, float Y) {
  FX = X;
  FY = Y;
}

void TKelCanvas3D::LineTo(float X, float Y) {
  if (FCanvas) FCanvas->DrawLine({FX, FY}, {X, Y}, Opacity());
  FX = X;
  FY = Y;
}

void TKelCanvas3D::Polyline(std::span<const TPointF> Points) {
  if (Points.empty() || !FCanvas) return;
  if (IFastLine && (FCanvasIsD2D || FCanvasIsGDIP || FCanvasIsGPU || FCanvas->Supports(hfNativePolyline))) {
    FCanvas->DrawPolyline(Points.data(), Points.size(), Opacity());
    return;
  }
  IPath.Clear();
  AddPointsToPath(IPath, Points, false);
  FCanvas->DrawPath(IPath, Opacity());
}

void TKelCanvas3D::Arc(int Left, int Top, int Right, int Bottom, float StartAngle, float EndAngle) {
  if (!FCanvas) return;
  const TPointF c{(Left + Right) * 0.5f, (Top + Bottom) * 0.5f};
  const TPointF r{std::abs(Right - Left) * 0.5f, std::abs(Bottom - Top) * 0.5f};
  FCanvas->DrawArc(c, r, StartAngle, EndAngle - StartAngle, Opacity());
}

// ---- Areas ---------------------------------------------------------------------------

template <typename F>
void TKelCanvas3D::FillArea(F&& Fill) {
  if (FBrush->Style() == THostBrushKind::None) return;
  PrepareBrush();
  Fill();
  FBrush->SetStyle(THostBrushKind::Solid);
}

void TKelCanvas3D::Rectangle(float X0, float Y0, float X1, float Y1) {
  if (!FCanvas) return;
  const TRectF r{X0, Y0, X1, Y1};
  const float op = Opacity();
  FillArea([&] { FCanvas->FillRect(r, 0, 0, hcAll, op, THostCornerType::Round); });
  if (FPen->Style() != psClear) FCanvas->DrawRect(r, 0, 0, hcAll, op, THostCornerType::Round);
}

void TKelCanvas3D::FillRect(const TRectF& R) {
  if (!FCanvas) return;
  const float op = Opacity();
  FillArea([&] { FCanvas->FillRect(R, 0, 0, hcAll, op, THostCornerType::Round); });
}

void TKelCanvas3D::RoundRect(int X1, int Y1, int X2, int Y2, int X3, int Y3) {
  if (!FCanvas) return;
  const TRectF r = KelRect(X1, Y1, X2, Y2);
  const float rx = static_cast<float>(X3 / 2);
  const float ry = static_cast<float>(Y3 / 2);
  const float op = Opacity();
  FillArea([&] { FCanvas->FillRect(r, rx, ry, hcAll, op, THostCornerType::Round); });
  if (FPen->Style() != psClear) FCanvas->DrawRect(r, rx, ry, hcAll, op, THostCornerType::Round);
}

void TKelCanvas3D::Ellipse(float X1, float Y1, float X2, float Y2) {
  if (!FCanvas) return;
  const TRectF r{X1, Y1, X2, Y2};
  const float op = Opacity();
  FillArea([&] { FCanvas->FillEllipse(r, op); });
  if (FPen->Style() != psClear) FCanvas->DrawEllipse(r, op);
}

void TKelCanvas3D::Polygon(std::span<const TPointF> Points) {
  if (Points.empty() || !FCanvas) return;
  IPath.Clear();
  AddPointsToPath(IPath, Points, true);
  const float op = Opacity();
  FillArea([&] { FCanvas->FillPath(IPath, op); });
  if (FPen->Style() != psClear) FCanvas->DrawPath(IPath, op);
}

void TKelCanvas3D::PolygonFour() { Polygon(IPoints); }

void TKelCanvas3D::DrawQuad(const std::array<TPointF, 4>& Points) {
  IPoints = Points;
  PolygonFour();
}

void TKelCanvas3D::Pie(const TRectF& Rect, double StartAngle, double EndAngle) {
  Donut(Rect, StartAngle, EndAngle, 0);
}

void TKelCanvas3D::Donut(const TRectF& Rect, double StartAngle, double EndAngle, double HolePercent) {
  if (!FCanvas) return;
  const THostPath path = PieDonutPath(Rect, StartAngle, EndAngle, HolePercent);
  const float op = Opacity();
  FillArea([&] { FCanvas->FillPath(path, op); });
  if (FPen->Style() != psClear) FCanvas->DrawPath(path, op);
}

void TKelCanvas3D::EllipseWithZ(float X1, float Y1, float X2, float Y2, int Z) {
  if (!FIs3D) {
    Ellipse(X1, Y1, X2 + 1, Y2 + 1);
    return;
  }
  // Orthogonal: a circle facing the viewer stays a circle, moved (and
  // zoomed) with its two corners.
  const float z = static_cast<float>(Z);
  const TPointF a = Calculate3DPosition(X1, Y1, z);
  const TPointF b = Calculate3DPosition(X2, Y2, z);
  Ellipse(a.X, a.Y, b.X, b.Y);
}

// ---- Bitmaps ---------------------------------------------------------------------------

void TKelCanvas3D::Draw(int X, int Y, const IHostBitmap& Bitmap) {
  const float w = static_cast<float>(Bitmap.Width());
  const float h = static_cast<float>(Bitmap.Height());
  StretchDraw({static_cast<float>(X), static_cast<float>(Y), X + w, Y + h}, Bitmap);
}

void TKelCanvas3D::StretchDraw(const TRectF& Rect, const IHostBitmap& Bitmap) {
  if (!FCanvas) return;
  const TRectF src{0, 0, static_cast<float>(Bitmap.Width()), static_cast<float>(Bitmap.Height())};
  FCanvas->DrawBitmap(Bitmap, src, Rect, Opacity(), FStretchQuality == sqLow);
}

void TKelCanvas3D::TransferBitmap(int X, int Y, IHostCanvas& Dest) {
  if (!FBitmap) return;
  const float scale = Dest.Scale() > 0 ? Dest.Scale() : 1;
  const float w = static_cast<float>(FBitmap->Width());
  const float h = static_cast<float>(FBitmap->Height());
  Dest.DrawBitmap(*FBitmap, {0, 0, w, h},
                  {static_cast<float>(X), static_cast<float>(Y), X + w / scale, Y + h / scale}, 1, true);
}

// ---- Clipping ----------------------------------------------------------------------------

void TKelCanvas3D::ClipRectangle(const TRectF& R) {
  if (FCanvas) ClipCanvas(*FCanvas, R);
}

void TKelCanvas3D::ClipCube(const TRectF& R, int MinZ, int MaxZ) {
  if (!FIs3D) {
    TCanvas3D::ClipCube(R, MinZ, MaxZ);
    return;
  }
  // The bounding rectangle of the projected box, inset like the flat clip.
  const TRectF inner{R.Left + 1, R.Top + 1, R.Right, R.Bottom - 1};
  const std::array<TPointF, 4> front = FourPointsFromRect(inner, MinZ);
  const std::array<TPointF, 4> back = FourPointsFromRect(inner, MaxZ);
  const TPointF hull[8] = {front[0], front[1], front[2], front[3], back[0], back[1], back[2], back[3]};
  ClipPolygon(hull);
}

void TKelCanvas3D::UnClipRectangle() {
  if (FCanvas) UnClipCanvas(*FCanvas);
}

// ---- Gradients and shadows -----------------------------------------------------------------

namespace {

struct TGradientGeometry {
  TPointF Start, Stop;
  bool Radial;
  bool Reversed;
};

TGradientGeometry GeometryOf(TGradientDirection Direction) {
  switch (Direction) {
    case gdTopBottom: return {{0.5f, 0}, {0.5f, 1}, false, false};
    case gdBottomTop: return {{0.5f, 0}, {0.5f, 1}, false, true};
    case gdLeftRight: return {{0, 0.5f}, {1, 0.5f}, false, false};
    case gdRightLeft: return {{0, 0.5f}, {1, 0.5f}, false, true};
    case gdFromTopLeft: return {{0, 0}, {1, 1}, false, false};
    case gdDiagonalDown: return {{0, 0}, {1, 1}, false, true};
    case gdFromBottomLeft: return {{0, 1}, {1, 0}, false, false};
    case gdDiagonalUp: return {{0, 1}, {1, 0}, false, true};
    case gdFromCenter:
    case gdRadial: return {{0, 0}, {0, 1}, true, false};
  }
  return {{0.5f, 0}, {0.5f, 1}, false, false};
}

}  // namespace

void TKelCanvas3D::PrepareGradient(const TCustomKelGradient& Gradient, THostGradient& Host) {
  const TGradientGeometry g = GeometryOf(Gradient.Direction());
  const TKelGradientColors* colors = Gradient.Colors();
  const std::size_t n = colors->Count();
  Host.Points.clear();
  for (std::size_t i = 0; i < n; ++i) {
    if (g.Reversed) {
      const TKelGradientColor& c = colors->At(n - 1 - i);
      Host.Points.push_back({c.Color(), static_cast<float>(1 - c.Offset())});
    } else {
      const TKelGradientColor& c = colors->At(i);
      Host.Points.push_back({c.Color(), static_cast<float>(c.Offset())});
    }
  }
  Host.StartPosition = g.Start;
  Host.StopPosition = g.Stop;
  if (g.Radial) {
    Host.Style = THostGradientStyle::Radial;
    Host.RadialCenter = {0.5f + Gradient.RadialX() * 0.01f, 0.5f + Gradient.RadialY() * 0.01f};
    Host.RadialAngle = static_cast<float>(Gradient.Angle());
  } else {
    Host.Style = THostGradientStyle::Linear;
  }
}

void TKelCanvas3D::GradientFill(const TRectF& R, TColor StartColor, TColor EndColor,
                                TGradientDirection Direction, int, int RadialX, int RadialY) {
  if (!FCanvas) return;
  const TGradientGeometry g = GeometryOf(Direction);
  ChangeHostFill([&](THostFill& fill) {
    fill.Gradient.Points.assign({{StartColor, 0}, {EndColor, 1}});
    if (Direction == gdRadial) {
      fill.Gradient.Style = THostGradientStyle::Radial;
      fill.Gradient.RadialCenter = {0.5f + RadialX * 0.01f, 0.5f + RadialY * 0.01f};
    } else {
      // The two colours run along the direction (start to stop).
      fill.Gradient.Style = THostGradientStyle::Linear;
      fill.Gradient.StartPosition = g.Reversed ? g.Stop : g.Start;
      fill.Gradient.StopPosition = g.Reversed ? g.Start : g.Stop;
    }
    fill.Kind = THostBrushKind::Gradient;
  });
  FCanvas->FillRect(R, 0, 0, hcAll, 1, THostCornerType::Round);
  ChangeHostFill([](THostFill& fill) { fill.Kind = THostBrushKind::Solid; });
}

void TKelCanvas3D::SmoothShadow(const TKelShadow& Shadow, const TRectF& R, bool IsEllipse,
                                int DonutPercent, std::span<const TPointF> Points, int RoundSize,
                                double StartAngle, double EndAngle) {
  if (!FCanvas) return;
  THostPath path;
  if (!Points.empty()) {
    AddPointsToPath(path, Points, true);
  } else if (RoundSize != 0) {
    path.AddRoundRect(R, static_cast<float>(RoundSize), static_cast<float>(RoundSize));
  } else if (IsEllipse) {
    if (DonutPercent <= 0 && EndAngle - StartAngle == 360) {
      path.AddEllipse(R);
    } else {
      path = PieDonutPath(R, StartAngle, EndAngle, std::max(DonutPercent, 0));
    }
  } else {
    path.AddRoundRect(R, 4, 4);
  }
  const TColor c = Shadow.Color();
  ChangeHostFill([&](THostFill& fill) {
    fill.Gradient.Points.assign({{ColorFrom(c, 0), 0}, {c, 0.1f}, {c, 1.0f}});
    fill.Kind = THostBrushKind::Gradient;
  });
  FCanvas->FillPath(path, Opacity());
  ChangeHostFill([](THostFill& fill) { fill.Kind = THostBrushKind::Solid; });
}

// ---- Text ----------------------------------------------------------------------------------

IHostTextLayout* TKelCanvas3D::PrepareLayout(float X, float Y, const std::string& Text) {
  if (!FCanvas) return nullptr;
  IHostTextLayout* layout = Layout();
  if (!layout) return nullptr;
  layout->BeginUpdate();
  layout->SetTopLeft({X, Y});
  layout->SetMaxSize({10000, 10000});
  layout->SetText(Text);
  layout->SetFont(FCanvas->Font());
  layout->SetColor(FCanvas->Fill().Color);
  layout->SetOpacity(Opacity());
  layout->EndUpdate();
  return layout;
}

namespace {

// Absolute sizes of the font's visible shadow and emboss.
TPointF ShadowExtra(const TKelFont& Font) {
  TPointF extra;
  // In floating point: the magnitude of the most negative int has no int.
  if (Font.HasShadow() && Font.Shadow()->Visible()) {
    extra.X += static_cast<float>(std::fabs(static_cast<double>(Font.Shadow()->HorizSize())));
    extra.Y += static_cast<float>(std::fabs(static_cast<double>(Font.Shadow()->VertSize())));
  }
  if (Font.HasEmboss() && Font.Emboss()->Visible()) {
    extra.X += static_cast<float>(std::fabs(static_cast<double>(Font.Emboss()->HorizSize())));
    extra.Y += static_cast<float>(std::fabs(static_cast<double>(Font.Emboss()->VertSize())));
  }
  return extra;
}

}  // namespace

// Text measures are pixel lengths: bounded like every pixel, so that the
// layout can add them up (a huge font measures at most KelMaxPixelPos).
int TKelCanvas3D::TextWidth(const std::string& Text) {
  IHostTextLayout* layout = PrepareLayout(0, 0, Text);
  if (!layout) return 0;
  return KelBoundPixel(static_cast<long long>(KelRound(layout->TextRect().Right)) +
                       KelRound(ShadowExtra(*FFont).X));
}

int TKelCanvas3D::TextHeight(const std::string& Text) {
  IHostTextLayout* layout = PrepareLayout(0, 0, Text);
  if (!layout) return 0;
  return KelBoundPixel(static_cast<long long>(KelRound(layout->TextRect().Bottom)) +
                       KelRound(ShadowExtra(*FFont).Y));
}

TPointF TKelCanvas3D::TextSize(const std::string& Text) {
  IHostTextLayout* layout = PrepareLayout(0, 0, Text);
  if (!layout) return {};
  const TRectF r = layout->TextRect();
  const TPointF extra = ShadowExtra(*FFont);
  return {r.Right + extra.X, r.Bottom + extra.Y};
}

TPointF TKelCanvas3D::RenderText(int X, int Y, const std::string& Text) {
  int align = FTextAlign;
  if (align >= KelTA_Bottom) {
    Y -= TextHeight(Text);
    align -= KelTA_Bottom;
  }
  if (align == KelTA_Center) {
    X -= TextWidth(Text) / 2;
  } else if (align == KelTA_Right) {
    X -= TextWidth(Text);
  }
  const TPointF at{static_cast<float>(X), static_cast<float>(Y)};
  if (IHostTextLayout* layout = PrepareLayout(at.X, at.Y, Text)) FCanvas->RenderLayout(*layout);
  return at;
}

void TKelCanvas3D::DrawText(int X, int Y, const std::string& Text) {
  if (!FCanvas) return;
  const TKelBrush* fontBrush = FFont->Brush();
  ChangeHostFill([&](THostFill& fill) {
    fill.Kind = THostBrushKind::Solid;
    fill.Color = fontBrush->Color();
  });

  // Shadow (+1) then emboss (-1): drawn offset; a negative size keeps the
  // shadow at the reference and moves the text instead.
  auto drawShadow = [&](const TKelShadow& shadow, int direction) {
    if (!shadow.ShouldDraw()) return;
    const int h = shadow.HorizSize();
    const int v = shadow.VertSize();
    int sx = X, sy = Y;
    if (h >= 0) sx = X + direction * h; else X -= direction * h;
    if (v >= 0) sy = Y + direction * v; else Y -= direction * v;
    const TColor saved = FCanvas->Fill().Color;
    ChangeHostFill([&](THostFill& fill) { fill.Color = shadow.Color(); });
    const bool blend = shadow.Transparency() != 0;
    TKelBlend* b = blend ? BeginBlending({}, shadow.Transparency()) : nullptr;
    RenderText(sx, sy, Text);
    if (blend) EndBlending(b);
    ChangeHostFill([&](THostFill& fill) { fill.Color = saved; });
  };
  if (FFont->HasShadow()) drawShadow(*FFont->Shadow(), +1);
  if (FFont->HasEmboss()) drawShadow(*FFont->Emboss(), -1);

  // A font gradient colours the text through the current area brush.
  if (fontBrush->HasGradient()) PrepareBrush();

  const bool outline = FFont->HasOutLine() && FFont->OutLine()->Visible();
  THostPath path;
  bool hasPath = false;
  if (outline || fontBrush->HasGradient()) {
    hasPath = FCanvas->TextToPath(path, Text, FCanvas->Font(), {0, 0, 10000, 10000});
  }
  const TPointF at = RenderText(X, Y, Text);
  if (outline && hasPath) {
    const TKelHiddenPen* pen = FFont->OutLine();
    AssignVisiblePenColor(pen, pen->Color());
    path.Translate(at.X, at.Y);
    FCanvas->DrawPath(path, Opacity());
  }
}

void TKelCanvas3D::TextOut(float X, float Y, const std::string& Text) { DrawText(KelRound(X), KelRound(Y), Text); }

void TKelCanvas3D::RotateLabel(int X, int Y, const std::string& Text, double Angle, bool) {
  if (Angle == 0 || !FCanvas) {
    DrawText(X, Y, Text);
    return;
  }
  const TKelMatrix saved = FCanvas->Matrix();
  const float fx = static_cast<float>(X), fy = static_cast<float>(Y);
  FCanvas->SetMatrix(TKelMatrix::Translation(-fx, -fy) * TKelMatrix::Rotation(static_cast<float>(Angle)) *
                     TKelMatrix::Translation(fx, fy) * saved);
  DrawText(X, Y, Text);
  FCanvas->SetMatrix(saved);
}

// ---- Projection and paint bracket -------------------------------------------------------

// The orthogonal projection: depth Z shifts a point by (Z x IOrthoX,
// -Z x IOrthoY); the shifted point is zoomed about the projected centre of
// the chart's box (FXCenter, FYCenter, FZCenter) and moved by the view
// offsets. In 2D and in a front plane IOrthoX and IOrthoY count as 0.
TPointF TKelCanvas3D::Calculate3DPosition(float X, float Y, float Z) {
  if (!FIs3D)
    return {static_cast<float>((X - FXCenter) * IZoomFactor + XCenterOffset),
            static_cast<float>((Y - FYCenter) * IZoomFactor + YCenterOffset)};
  const double dz = static_cast<double>(Z) - FZCenter;
  return {static_cast<float>((X - FXCenter + dz * IOrthoX) * IZoomFactor + XCenterOffset +
                             FZCenter * IOrthoX),
          static_cast<float>((Y - FYCenter - dz * IOrthoY) * IZoomFactor + YCenterOffset -
                             FZCenter * IOrthoY)};
}

// 2D: the integer projection leaves the point where it is. 3D: the float
// projection rounded to whole pixels.
void TKelCanvas3D::Calc3DPos(int& X, int& Y, int Z) {
  if (!FIs3D) return;
  const TPointF p = Calculate3DPosition(static_cast<float>(X), static_cast<float>(Y), static_cast<float>(Z));
  X = KelBoundPixel(static_cast<long long>(KelRound(p.X)));
  Y = KelBoundPixel(static_cast<long long>(KelRound(p.Y)));
}

// The inverse of Calc3DPos on the plane at depth Z.
void TKelCanvas3D::Calculate2DPosition(int& X, int& Y, int Z) {
  if (!FIs3D || IZoomFactor == 0) return;
  const double dz = static_cast<double>(Z) - FZCenter;
  const double x = (X - XCenterOffset - FZCenter * IOrthoX) / IZoomFactor + FXCenter - dz * IOrthoX;
  const double y = (Y - YCenterOffset + FZCenter * IOrthoY) / IZoomFactor + FYCenter + dz * IOrthoY;
  X = KelBoundPixel(static_cast<long long>(KelRound(x)));
  Y = KelBoundPixel(static_cast<long long>(KelRound(y)));
}

TPointF TKelCanvas3D::Calculate3DPosition(int X, int Y, int Z) {
  Calc3DPos(X, Y, Z);
  return {static_cast<float>(X), static_cast<float>(Y)};
}

TRectF TKelCanvas3D::InitWindow(IHostCanvas* DestCanvas, TView3DOptions* Options, TColor BackColor,
                                bool Is3D, const TRectF& Rect) {
  FBounds = Rect;
  F3DOptions = Options;
  if (Options) {
    FFontZoom = Options->FontZoom();
    IZoomText = Options->ZoomText() != ztNo;
    FPenZoom = Options->PenZoom();
    IZoomPen = Options->ZoomPen() != zpNo;
    FCheckBoxZoom = Options->CheckBoxZoom();
  }
  FIs3D = Is3D;
  FIsOrthogonal = false;
  IZoomFactor = 1;
  IOrthoX = 0;
  IOrthoY = 0;
  if (Is3D) {
    // Without options the default view: orthogonal at 45 degrees. A view
    // that is not orthogonal (rotation, elevation, perspective) is not
    // projected by this canvas: it keeps no depth shift.
    FIsOrthogonal = !Options || Options->Orthogonal();
    if (FIsOrthogonal) {
      IOrthoX = Options ? Options->OrthoSide() : 1;
      IOrthoY = Options ? Options->OrthoRatio() : 1;
    }
  }
  TRectF result = Rect;
  if (FBufferedDisplay && (FBitmap || DestCanvas)) {
    const int w = KelRound(Rect.Width());
    const int h = KelRound(Rect.Height());
    const float scale = DestCanvas ? DestCanvas->Scale() : (FBitmap ? FBitmap->BitmapScale() : 1);
    if (!FBitmap) {
      FBitmap = DestCanvas->CreateBitmap(KelRound(w * scale), KelRound(h * scale), scale);
    } else {
      FBitmap->SetSize(KelRound(w * scale), KelRound(h * scale));
    }
    SetCanvas(&FBitmap->Canvas());
    FCanvas->BeginScene();
    if (ColorAlpha(BackColor) == 0) FBitmap->Clear(BackColor);
    result = {0, 0, static_cast<float>(w), static_cast<float>(h)};
  } else {
    SetCanvas(DestCanvas);
  }
  SetBackMode(cbmOpaque);
  return result;
}

void TKelCanvas3D::Projection(int MaxDepth, const TRectF&, const TRectF& R) {
  FXCenter = KelRound((R.Left + R.Right) * 0.5) + KelRound(RotationCenter.X);
  FYCenter = KelRound((R.Top + R.Bottom) * 0.5) + KelRound(RotationCenter.Y);
  FZCenter = KelRound(MaxDepth * 0.5 + RotationCenter.Z);
  XCenterOffset = FXCenter;
  YCenterOffset = FYCenter;
  if (F3DOptions) {
    XCenterOffset += F3DOptions->HorizOffset();
    YCenterOffset += F3DOptions->VertOffset();
    if (FIs3D) IZoomFactor = F3DOptions->Zoom() * 0.01;
    IHasPerspec = F3DOptions->Perspective() > 0;
    IZoomPerspec = F3DOptions->Perspective() * IZoomFactor / 120.0 / std::max<double>(R.Width(), 1);
  }
}

void TKelCanvas3D::ShowImage(IHostCanvas* Dest, IHostCanvas* Default, const TRectF& R) {
  if (FBufferedDisplay && FBitmap) {
    FBitmap->Canvas().EndScene();
    if (Dest && Dest->BeginScene()) {
      TransferBitmap(KelRound(R.Left), KelRound(R.Top), *Dest);
      Dest->EndScene();
    }
    FDirty = false;
  }
  SetCanvas(Default);
}

bool TKelCanvas3D::ReDrawBitmap() {
  if (FDirty || !FBitmap || !FCanvas) return false;
  TransferBitmap(0, 0, *FCanvas);
  return true;
}

void TKelCanvas3D::DisableRotation() {
  FWas3D = FIs3D;
  FIs3D = false;
}

void TKelCanvas3D::EnableRotation() { FIs3D = FWas3D; }

// ---- [Classes] ------------------------------------------------------------------------------

std::vector<TCanvasClass>& KelCanvasClasses() {
  static std::vector<TCanvasClass> classes{
      {"TKelCanvas3D", [] { return std::unique_ptr<TCanvas3D>(new TKelCanvas3D()); }}};
  return classes;
}

}  // namespace sextant

// The canvas with depth: the projection interface and the primitives with a
// Z (TCanvas3D), the concrete canvas on the host canvas (TKelCanvas3D), the
// view options it reads (TView3DOptions), the unit-level path and clip
// helpers and the list of canvas classes.
//
// Contents:
//   [Helpers]      PolygonBounds, PointsPath, ClipCanvas, ICanvasState ...
//   [View options] TView3DOptions
//   [Transform]    TKelTransform (entity transforms)
//   [TCanvas3D]    projection and depth primitives
//   [TKelCanvas3D] the host canvas implementation
//   [Classes]      KelCanvasClasses()
//
// With the view off the projection is the identity plus the view offsets,
// and every primitive with a Z draws its 2D counterpart. With the 3D view on
// the canvas projects orthogonally (docs/view3d.md): a point at depth Z moves
// Z pixels sideways and Z times the orthogonal ratio upwards, zoomed about the
// centre of the chart's box. Rotation, elevation, tilt and perspective (the
// non-orthogonal view) and the 3D solids are not part of this canvas.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string>
#include <utility>
#include <vector>

#include "canvas/kel_canvas.h"
#include "canvas/kel_persistent.h"
#include "platform/host_canvas.h"

namespace sextant {

class TKelShadow;
class TCustomKelPanel;

// ---- [Helpers] ---------------------------------------------------------------

struct TPoint3D {
  int X = 0;
  int Y = 0;
  int Z = 0;
  friend bool operator==(const TPoint3D&, const TPoint3D&) = default;
};

struct TPoint3DFloat {
  float X = 0;
  float Y = 0;
  float Z = 0;
  friend bool operator==(const TPoint3DFloat&, const TPoint3DFloat&) = default;
};

// Integer rectangle form.
inline TRectF KelRect(int L, int T, int R, int B) {
  return {static_cast<float>(L), static_cast<float>(T), static_cast<float>(R), static_cast<float>(B)};
}
inline bool PointInRect(const TRectF& r, int x, int y) {
  return PointInRect(r, static_cast<float>(x), static_cast<float>(y));
}
inline void OrientRectangle(float& X0, float& Y0, float& X1, float& Y1) {
  if (X0 > X1) std::swap(X0, X1);
  if (Y0 > Y1) std::swap(Y0, Y1);
}
// Culling test of a four-point face (uses the first three points).
inline bool KelCull(const std::array<TPointF, 4>& P) { return KelCull(P[0], P[1], P[2]); }

// Bounding rectangle of the points (zero rectangle when empty).
TRectF PolygonBounds(std::span<const TPointF> Points);
inline TRectF RectFromPolygon(std::span<const TPointF> Points) { return PolygonBounds(Points); }
TRectF RectFromTriangle(TPointF P0, TPointF P1, TPointF P2);
// Even-odd crossing test.
bool PointInPolygon(TPointF P, std::span<const TPointF> Points);

// Host path: move to the first point, line to each further one, closed when
// asked; nothing for an empty array.
THostPath PointsPath(std::span<const TPointF> Points, bool Close);
void AddPointsToPath(THostPath& Path, std::span<const TPointF> Points, bool Close);

// Path of a pie slice (HolePercent 0) or donut slice of the ellipse in R,
// from StartAngle to EndAngle in the host's arc angles (degrees from the
// positive X axis, clockwise on screen).
THostPath PieDonutPath(const TRectF& R, double StartAngle, double EndAngle, double HolePercent);

// The one unit-level saved clip state: set by ClipCanvas, consumed by
// UnClipCanvas. Clips therefore do not nest.
extern std::optional<IHostCanvas::StateHandle> ICanvasState;
void ClipCanvas(IHostCanvas& Canvas, const TRectF& R);
void UnClipCanvas(IHostCanvas& Canvas);

// Points used for projected ellipses in 3D.
inline constexpr int NumCirclePoints = 180;

// ---- [View options] ------------------------------------------------------------

enum TZoomTextMode : std::uint8_t { ztManual, ztNo, ztAuto };
enum TZoomPenMode : std::uint8_t { zpManual, zpNo, zpAuto };

// The projection settings of a panel; the canvas only reads them. Every
// change calls OnInvalidate; offsets also call OnScrolled; Zoom calls
// OnChangedZoom with the rounded new value before storing it.
class TView3DOptions : public TPersistent {
 public:
  explicit TView3DOptions(TCustomKelPanel* Parent = nullptr) : FParent(Parent) {}
  TView3DOptions(const TView3DOptions&) = delete;
  TView3DOptions& operator=(const TView3DOptions&) = delete;

  void Assign(const TPersistent* Source) override;

  double Elevation() const { return FElevation; }
  void SetElevation(double Value);
  int FontZoom() const { return FFontZoom; }
  void SetFontZoom(int Value);
  int PenZoom() const { return FPenZoom; }
  void SetPenZoom(int Value);
  int CheckBoxZoom() const { return FCheckBoxZoom; }
  void SetCheckBoxZoom(int Value);
  // The field rounded to integer.
  int HorizOffset() const { return KelRound(FHorizOffset); }
  double HorizOffsetFloat() const { return FHorizOffset; }
  void SetHorizOffset(double Value);
  bool Orthogonal() const { return FOrthogonal; }
  void SetOrthogonal(bool Value);
  int OrthoAngle() const { return FOrthoAngle; }
  void SetOrthoAngle(int Value);
  int Perspective() const { return FPerspective; }
  void SetPerspective(int Value);
  double Rotation() const { return FRotation; }
  void SetRotation(double Value);
  double Tilt() const { return FTilt; }
  void SetTilt(double Value);
  int VertOffset() const { return KelRound(FVertOffset); }
  double VertOffsetFloat() const { return FVertOffset; }
  void SetVertOffset(double Value);
  double ZOffset() const { return FZOffset; }
  void SetZOffset(double Value);
  double Zoom() const { return FZoom; }
  void SetZoom(double Value);
  // The orthogonal view: one pixel of depth moves a point one pixel
  // sideways (to the right up to 90 degrees, to the left beyond) and
  // OrthoRatio pixels up. The angle is taken within 0 .. 180.
  int OrthoSide() const { return ClampedOrthoAngle() > 90 ? -1 : 1; }
  // |tan(OrthoAngle)|: 0 at 0 and 180 degrees, 1 at 45 and 135, very large
  // near 90.
  double OrthoRatio() const;
  int ClampedOrthoAngle() const { return FOrthoAngle < 0 ? 0 : FOrthoAngle > 180 ? 180 : FOrthoAngle; }
  TZoomTextMode ZoomText() const { return FZoomText; }
  void SetZoomText(TZoomTextMode Value);
  TZoomPenMode ZoomPen() const { return FZoomPen; }
  void SetZoomPen(TZoomPenMode Value);
  TCustomKelPanel* Parent() const { return FParent; }
  void SetParent(TCustomKelPanel* Value) { FParent = Value; }

  TNotifyEvent OnInvalidate;
  TNotifyEvent OnScrolled;
  std::function<void(TPersistent* Sender, int NewZoom)> OnChangedZoom;

 private:
  void Changed() { CallEvent(OnInvalidate, this); }
  double FElevation = 345;
  int FFontZoom = 100;
  int FPenZoom = 100;
  int FCheckBoxZoom = 100;
  double FHorizOffset = 0;
  bool FOrthogonal = true;
  int FOrthoAngle = 45;
  int FPerspective = 15;
  double FRotation = 345;
  double FTilt = 0;
  double FVertOffset = 0;
  double FZOffset = 0;
  double FZoom = 100;
  TZoomTextMode FZoomText = ztAuto;
  TZoomPenMode FZoomPen = zpAuto;
  TCustomKelPanel* FParent = nullptr;  // not owned
};

// ---- [Transform] ------------------------------------------------------------

// A transform applied to a drawing group (BeginEntity). Neutral parts
// (translation 0, rotation 0, scale 1) are skipped.
struct TKelTransform {
  bool Enabled = true;
  TPointF Translate{0, 0};
  float Rotate = 0;  // degrees, counter-clockwise on screen
  TPointF Scale{1, 1};
  TPointF Origin{0, 0};  // centre of rotation and scaling
};

// ---- [TCanvas3D] --------------------------------------------------------------

class TCanvas3D : public TKelCanvas {
 public:
  TCanvas3D() = default;

  // Opens a drawing group; with an enabled transform the host matrix is
  // composed with it until the matching EndEntity. Name and Visual are not
  // used by this canvas.
  virtual void BeginEntity(const std::string& Name, const void* Visual = nullptr,
                           const TKelTransform* Transform = nullptr);
  // Closes the latest group (nothing when none is open).
  virtual void EndEntity();
  virtual TColor GetPixel3D(int X, int Y, int Z);
  virtual bool GetSupports3DText() { return false; }
  virtual void SetPixel3D(int X, int Y, int Z, TColor Value);
  // Fills the shadow outline (Points, else R rounded by RoundSize, else the
  // ellipse / pie / donut of R, else R rounded by 4) with the shadow colour.
  virtual void SmoothShadow(const TKelShadow& Shadow, const TRectF& R, bool IsEllipse,
                            int DonutPercent, std::span<const TPointF> Points, int RoundSize,
                            double StartAngle, double EndAngle) = 0;
  virtual std::string Description() = 0;
  virtual void Calculate2DPosition(int& X, int& Y, int Z) = 0;
  virtual TPointF Calculate3DPosition(int X, int Y, int Z) = 0;
  virtual TPointF Calculate3DPosition(float X, float Y, float Z) = 0;
  TPointF Calculate3DPosition(TPointF P, float Z) { return Calculate3DPosition(P.X, P.Y, Z); }
  TPointF Calculate3DPosition(const TPoint3D& P) { return Calculate3DPosition(P.X, P.Y, P.Z); }
  // Prepares a paint; returns the rectangle to draw in.
  virtual TRectF InitWindow(IHostCanvas* DestCanvas, TView3DOptions* Options, TColor BackColor,
                            bool Is3D, const TRectF& Rect) = 0;
  virtual bool IsAvailable() { return true; }
  // Fixes the projection centre.
  virtual void Projection(int MaxDepth, const TRectF& Bounds, const TRectF& R) = 0;
  // Ends a paint; the reference canvas then becomes Default.
  virtual void ShowImage(IHostCanvas* Dest, IHostCanvas* Default, const TRectF& R) = 0;
  virtual bool ReDrawBitmap() = 0;
  // Seven-point arrow polygon (Filled) or three lines, head at ToPoint.
  virtual void Arrow(bool Filled, TPointF FromPoint, TPointF ToPoint, int HeadWidth, int HeadHeight,
                     int Z, double ArrowPercent = 50);
  virtual void ClipCube(const TRectF& R, int MinZ, int MaxZ);
  virtual void DisableRotation() = 0;
  virtual void EnableRotation() = 0;
  virtual void EllipseWithZ(float X1, float Y1, float X2, float Y2, int Z) = 0;
  void EllipseWithZ(const TRectF& R, int Z) { EllipseWithZ(R.Left, R.Top, R.Right, R.Bottom, Z); }
  virtual void HorizLine3D(float Left, float Right, float Y, float Z);
  virtual void RoundRect(const TRectF& R, int X, int Y, int Z);
  using TKelCanvas::RoundRect;
  virtual void VertLine3D(float X, float Top, float Bottom, float Z);
  virtual void ZLine3D(float X, float Y, float Z0, float Z1);
  // Nestable; the outermost pair disables and re-enables the rotation.
  virtual void FrontPlaneBegin();
  virtual void FrontPlaneEnd();
  virtual void LineWithZ(float X0, float Y0, float X1, float Y1, float Z);
  void LineWithZ(TPointF P0, TPointF P1, float Z) { LineWithZ(P0.X, P0.Y, P1.X, P1.Y, Z); }
  virtual void MoveTo3D(float X, float Y, float Z);
  void MoveTo3D(const TPoint3DFloat& P) { MoveTo3D(P.X, P.Y, P.Z); }
  virtual void LineTo3D(float X, float Y, float Z);
  void LineTo3D(const TPoint3DFloat& P) { LineTo3D(P.X, P.Y, P.Z); }
  virtual void PlaneWithZ(TPointF P1, TPointF P2, TPointF P3, TPointF P4, int Z);
  virtual void PolygonWithZ(std::span<const TPointF> Points, int Z);
  virtual void PolygonConcave(std::span<const TPointF> Points, int Z);
  using TKelCanvas::PolygonConcave;
  virtual void Polyline(std::span<const TPointF> Points, int Z);
  using TKelCanvas::Polyline;
  void PolylineWithZ(std::span<const TPointF> Points, int Z) { Polyline(Points, Z); }
  virtual void RectangleWithZ(const TRectF& R, int Z);
  void Rectangle(const TRectF& R, int Z) { RectangleWithZ(R, Z); }
  void Rectangle(float X0, float Y0, float X1, float Y1, int Z) {
    RectangleWithZ({X0, Y0, X1, Y1}, Z);
  }
  using TKelCanvas::Rectangle;
  virtual void RectangleY(float Left, float Top, float Right, int Z0, int Z1);
  virtual void RectangleZ(float Left, float Top, float Bottom, int Z0, int Z1);
  virtual void RotateLabel3D(int X, int Y, int Z, const std::string& Text, double Angle,
                             bool AllowMarkup = false);
  // The corner sizes are ignored: = RectangleWithZ.
  virtual void RoundRectWithZ(const TRectF& R, int X, int Y, int Z);
  virtual void TextOut3D(int X, int Y, int Z, const std::string& Text, bool AllowMarkup);
  void TextOut3D(int X, int Y, int Z, const std::string& Text) { TextOut3D(X, Y, Z, Text, false); }

  // Integer projection in place.
  virtual void Calc3DPos(int& X, int& Y, int Z) = 0;
  // Each point projected (float form).
  std::vector<TPointF> Calc3DPoints(std::span<const TPointF> Points, int Z);
  TRectF CalcRect3D(const TRectF& R, int Z);
  std::array<TPointF, 4> FourPointsFromRect(const TRectF& R, int Z);
  TRectF RectFromRectZ(const TRectF& R, int Z);

  TView3DOptions* View3DOptions() const { return F3DOptions; }
  bool IsOrthogonal() const { return FIsOrthogonal; }
  int XCenter() const { return FXCenter; }
  int YCenter() const { return FYCenter; }
  int ZCenter() const { return FZCenter; }
  // Number of open BeginEntity groups.
  std::size_t EntityDepth() const { return ITransform.size(); }

  // This canvas records no element identifiers.
  bool SupportsID = false;
  int GradientZ = 0;
  bool INoFixAlign = false;
  TPoint3DFloat RotationCenter;

 protected:
  // Fills IPoints-like quadrilaterals; implemented by the concrete canvas.
  virtual void DrawQuad(const std::array<TPointF, 4>& Points) = 0;

  struct TTransformEntry {
    bool Active = false;
    TKelMatrix Matrix;
  };
  int IDisabledRotation = 0;
  std::vector<TTransformEntry> ITransform;
  TView3DOptions* F3DOptions = nullptr;  // the panel's, not owned
  bool FIsNoBMPGrid = false;
  bool FIsOrthogonal = false;
  int FXCenter = 0;
  int FYCenter = 0;
  int FZCenter = 0;
};

// ---- [TKelCanvas3D] -----------------------------------------------------------

class TKelCanvas3D : public TCanvas3D {
 public:
  TKelCanvas3D();
  ~TKelCanvas3D() override;

  // State.
  TColor GetBackColor() override { return 0; }
  TCanvasBackMode GetBackMode() override { return cbmNone; }
  bool GetIsNoBMPGrid() override { return false; }
  bool GetMonochrome() override { return FMonochrome; }
  TColor GetPixel(int X, int Y) override;
  bool GetSupportsFullRotation() override { return false; }
  bool GetSupportsXORMode() override { return false; }
  int GetTextAlign() override { return FTextAlign; }
  bool GetUseBuffer() override { return FBufferedDisplay; }
  bool IsAliased() override { return true; }
  void SetAntiAlias(bool) override {}
  void SetBackColor(TColor) override {}
  void SetBackMode(TCanvasBackMode) override {}
  void SetFastLine(bool Value) override { IFastLine = Value; }
  bool FastLine() const { return IFastLine; }
  void SetInterCharSize(int) override {}
  void SetMonochrome(bool Value) override;
  void SetPenMode(TPenMode) override {}
  void SetPixel(int X, int Y, TColor Value) override;
  void SetTextAlign(int Value) override { FTextAlign = Value; }
  void SetUseBuffer(bool Value) override;

  // 2D primitives.
  void Arc(int Left, int Top, int Right, int Bottom, float StartAngle, float EndAngle) override;
  void Donut(const TRectF& Rect, double StartAngle, double EndAngle, double HolePercent) override;
  void Draw(int X, int Y, const IHostBitmap& Bitmap) override;
  void Ellipse(float X1, float Y1, float X2, float Y2) override;
  using TKelCanvas::Ellipse;
  void FillRect(const TRectF& R) override;
  void LineTo(float X, float Y) override;
  using TKelCanvas::LineTo;
  void MoveTo(float X, float Y) override;
  using TKelCanvas::MoveTo;
  void FastLineTo(int X, int Y) override { LineTo(static_cast<float>(X), static_cast<float>(Y)); }
  void Pie(const TRectF& Rect, double StartAngle, double EndAngle) override;
  void Rectangle(float X0, float Y0, float X1, float Y1) override;
  using TCanvas3D::Rectangle;
  void RoundRect(int X1, int Y1, int X2, int Y2, int X3, int Y3) override;
  using TCanvas3D::RoundRect;
  void StretchDraw(const TRectF& Rect, const IHostBitmap& Bitmap) override;
  void TextOut(float X, float Y, const std::string& Text) override;
  using TKelCanvas::TextOut;
  int TextHeight(const std::string& Text) override;
  TPointF TextSize(const std::string& Text) override;
  int TextWidth(const std::string& Text) override;
  void ClipRectangle(const TRectF& R) override;
  using TKelCanvas::ClipRectangle;
  // 3D: the bounding rectangle of the projected box.
  void ClipCube(const TRectF& R, int MinZ, int MaxZ) override;
  void GradientFill(const TRectF& R, TColor StartColor, TColor EndColor,
                    TGradientDirection Direction, int Balance = 50, int RadialX = 0,
                    int RadialY = 0) override;
  using TKelCanvas::GradientFill;
  void Invalidate() override { FDirty = true; }
  void Polyline(std::span<const TPointF> Points) override;
  using TCanvas3D::Polyline;
  void Polygon(std::span<const TPointF> Points) override;
  void RotateLabel(int X, int Y, const std::string& Text, double Angle,
                   bool AllowMarkup = false) override;
  void UnClipRectangle() override;

  // Projection and depth.
  void SmoothShadow(const TKelShadow& Shadow, const TRectF& R, bool IsEllipse, int DonutPercent,
                    std::span<const TPointF> Points, int RoundSize, double StartAngle,
                    double EndAngle) override;
  std::string Description() override { return "GDI"; }
  void Calculate2DPosition(int& X, int& Y, int Z) override;
  TPointF Calculate3DPosition(int X, int Y, int Z) override;
  TPointF Calculate3DPosition(float X, float Y, float Z) override;
  using TCanvas3D::Calculate3DPosition;
  TRectF InitWindow(IHostCanvas* DestCanvas, TView3DOptions* Options, TColor BackColor, bool Is3D,
                    const TRectF& Rect) override;
  void Projection(int MaxDepth, const TRectF& Bounds, const TRectF& R) override;
  void ShowImage(IHostCanvas* Dest, IHostCanvas* Default, const TRectF& R) override;
  bool ReDrawBitmap() override;
  void DisableRotation() override;
  void EnableRotation() override;
  void EllipseWithZ(float X1, float Y1, float X2, float Y2, int Z) override;
  using TCanvas3D::EllipseWithZ;
  void Calc3DPos(int& X, int& Y, int Z) override;

  // Polygon of the four IPoints.
  void PolygonFour();
  // Copies the buffer bitmap to Dest at (X, Y): the whole bitmap into a
  // rectangle of its size divided by Dest's scale, opacity 1, high speed.
  void TransferBitmap(int X, int Y, IHostCanvas& Dest);
  void DeleteBitmap();
  const IHostBitmap* Bitmap() const { return FBitmap.get(); }
  bool Dirty() const { return FDirty; }
  bool Is3D() const { return FIs3D; }
  TPointF PenPosition() const { return {FX, FY}; }
  double ZoomFactor() const { return IZoomFactor; }
  // Screen shift of one pixel of depth: (IOrthoX, -IOrthoY); 0 in 2D.
  double OrthoX() const { return IOrthoX; }
  double OrthoY() const { return IOrthoY; }

  // Translates a gradient into a host gradient (stops, positions, style).
  static void PrepareGradient(const TCustomKelGradient& Gradient, THostGradient& Host);

  bool IKeepBitmap = false;
  std::array<TPointF, 4> IPoints{};
  double CharacterAngle = 0;
  int XCenterOffset = 0;
  int YCenterOffset = 0;
  bool Pie3DUsingArcs = false;
  TFontQuality FontQuality = fqDefault;
  void* Tag = nullptr;

 protected:
  void DrawQuad(const std::array<TPointF, 4>& Points) override;
  // Area fill protocol: nothing when the brush kind is None; else
  // PrepareBrush, Fill(), and the brush kind back to Solid.
  template <typename F>
  void FillArea(F&& Fill);
  // Text pipeline at integer (X, Y): shadow, emboss, alignment, outline.
  void DrawText(int X, int Y, const std::string& Text);
  // Lays the cached layout out at (X, Y) with the host font, fill colour
  // and Opacity.
  IHostTextLayout* PrepareLayout(float X, float Y, const std::string& Text);
  // Alignment and rendering of one text (steps 3 and 5 of the pipeline);
  // returns the aligned position.
  TPointF RenderText(int X, int Y, const std::string& Text);

 private:
  bool FWas3D = false;
  std::unique_ptr<IHostBitmap> FBitmap;
  bool FMonochrome = false;
  int FTextAlign = 0;
  float FX = 0;
  float FY = 0;
  bool IFastLine = false;
  bool IHasPerspec = false;
  bool IHasTilt = false;
  double IOrthoX = 0;
  double IOrthoY = 0;
  double IZoomPerspec = 0;
  bool FBufferedDisplay = false;
  bool FDirty = true;
  bool FIs3D = false;
  double IZoomFactor = 1;
  THostPath IPath;  // scratch path, keeps its capacity between calls
};

// ---- [Classes] -------------------------------------------------------------------

struct TCanvasClass {
  std::string ClassName;
  std::function<std::unique_ptr<TCanvas3D>()> Create;
};

// The unit-level list of canvas classes; holds TKelCanvas3D.
std::vector<TCanvasClass>& KelCanvasClasses();

}  // namespace sextant

// The host 2D canvas: the only way the engine reaches pixels.
//
// The engine's canvas (TKelCanvas3D) keeps its own pen, brush and font
// objects and maps them onto the host's current stroke, fill and font before
// it calls the drawing operations below. It hands the host a whole new
// stroke, fill or font through a setter; a host converts the new state into
// its own objects once per change (THostState tells it what changed), never
// per primitive. Two implementations exist: the Qt
// canvas (platform/qt) that renders for real, and the recording canvas
// (platform/recording_canvas.h) that records every call for tests.
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/kel_types.h"

namespace sextant {

// ---- Stroke, fill and font state ------------------------------------------

enum class THostBrushKind : std::uint8_t { None, Solid, Gradient, Bitmap, Resource };

enum class THostGradientStyle : std::uint8_t { Linear, Radial };

struct THostGradientPoint {
  TColor Color = claBlack;
  float Offset = 0;
  friend bool operator==(const THostGradientPoint&, const THostGradientPoint&) = default;
};

// Start and stop positions are unit coordinates of the filled rectangle.
struct THostGradient {
  std::vector<THostGradientPoint> Points;
  TPointF StartPosition{0.5f, 0};
  TPointF StopPosition{0.5f, 1};
  THostGradientStyle Style = THostGradientStyle::Linear;
  TPointF RadialCenter{0.5f, 0.5f};
  float RadialAngle = 0;  // degrees
  friend bool operator==(const THostGradient&, const THostGradient&) = default;
};

class IHostBitmap;

struct THostFill {
  THostBrushKind Kind = THostBrushKind::Solid;
  TColor Color = claWhite;
  THostGradient Gradient;
  const IHostBitmap* Bitmap = nullptr;  // not owned
  friend bool operator==(const THostFill&, const THostFill&) = default;
};

enum class THostStrokeJoin : std::uint8_t { Round, Bevel, Miter };
enum class THostStrokeCap : std::uint8_t { Flat, Round };
enum class THostStrokeDash : std::uint8_t { Solid, Dash, Dot, DashDot, DashDotDot, Custom };

struct THostStroke {
  THostBrushKind Kind = THostBrushKind::Solid;  // None: nothing is stroked
  TColor Color = claBlack;
  THostGradient Gradient;
  float Thickness = 1;
  THostStrokeJoin Join = THostStrokeJoin::Round;
  THostStrokeCap Cap = THostStrokeCap::Round;
  THostStrokeDash Dash = THostStrokeDash::Solid;
  std::vector<float> CustomDash;  // lengths in units of Thickness, for Custom
  float DashOffset = 0;
  friend bool operator==(const THostStroke&, const THostStroke&) = default;
};

// Font as the host renders it. Size is the em height in device-independent
// pixels. Weight, slant and stretch are the extended styles (0..10, 0..2,
// 0..8; regular = 4, 0, 4); Bold/Italic are the simple styles.
struct THostFont {
  std::string Family = "Tahoma";
  float Size = 11;
  bool Bold = false;
  bool Italic = false;
  bool Underline = false;
  bool StrikeOut = false;
  int Weight = 4;
  int Slant = 0;
  int Stretch = 4;
  friend bool operator==(const THostFont&, const THostFont&) = default;
};

// The parts of the drawing state, as bits of a mask.
enum THostStatePart : std::uint8_t { hspStroke = 1, hspFill = 2, hspFont = 4, hspAll = 7 };

// The stroke, fill and font of a host canvas, and which of them changed
// since the host last converted them into its own objects. A setter stores
// only a value that differs from the current one: handing the same state
// again marks nothing.
class THostState {
 public:
  const THostStroke& Stroke() const { return FStroke; }
  const THostFill& Fill() const { return FFill; }
  const THostFont& Font() const { return FFont; }
  // Each returns whether the value differed (and was stored).
  bool SetStroke(const THostStroke& Value);
  bool SetFill(const THostFill& Value);
  bool SetFont(const THostFont& Value);
  // True when any of the parts changed since they were last converted.
  bool Changed(std::uint8_t Parts) const { return (FChanged & Parts) != 0; }
  void Converted(std::uint8_t Parts) { FChanged = static_cast<std::uint8_t>(FChanged & ~Parts); }

 private:
  THostStroke FStroke;
  THostFill FFill;
  THostFont FFont;
  std::uint8_t FChanged = hspAll;  // nothing converted yet
};

// ---- Paths ----------------------------------------------------------------

// A host path as a list of commands; built by the engine, converted by the
// host. Plain value type so the engine needs no host to build one.
struct THostPathCommand {
  enum Kind : std::uint8_t { MoveTo, LineTo, Close, Ellipse, RoundRect, Arc } Op = MoveTo;
  // MoveTo/LineTo: A = point. Ellipse/RoundRect: A = top-left, B = bottom-right,
  // C = (radius x, radius y). Arc: A = centre, B = radii, C = (start, sweep) degrees.
  // Arc angles (here and in IHostCanvas::DrawArc) are degrees measured from the
  // positive X axis, clockwise on screen (Y down): the point at angle a is
  // (cx + rx cos a, cy + ry sin a); a positive sweep runs clockwise.
  TPointF A, B, C;
};

class THostPath {
 public:
  void MoveTo(TPointF p) { FCommands.push_back({THostPathCommand::MoveTo, p, {}, {}}); }
  void LineTo(TPointF p) { FCommands.push_back({THostPathCommand::LineTo, p, {}, {}}); }
  void ClosePath() { FCommands.push_back({THostPathCommand::Close, {}, {}, {}}); }
  void AddEllipse(const TRectF& r) {
    FCommands.push_back({THostPathCommand::Ellipse, r.TopLeft(), r.BottomRight(), {}});
  }
  void AddRoundRect(const TRectF& r, float rx, float ry) {
    FCommands.push_back({THostPathCommand::RoundRect, r.TopLeft(), r.BottomRight(), {rx, ry}});
  }
  void AddArc(TPointF center, TPointF radius, float startAngle, float sweepAngle) {
    FCommands.push_back({THostPathCommand::Arc, center, radius, {startAngle, sweepAngle}});
  }
  // Moves every point of the path by (dx, dy).
  void Translate(float dx, float dy);
  void Clear() { FCommands.clear(); }
  bool IsEmpty() const { return FCommands.empty(); }
  const std::vector<THostPathCommand>& Commands() const { return FCommands; }
  // Bounding rectangle of all points (zero rectangle when empty).
  TRectF Bounds() const;

 private:
  std::vector<THostPathCommand> FCommands;
};

// ---- Matrix ---------------------------------------------------------------

// 3x3 affine matrix, row-vector convention: (x, y, 1) * M. m31/m32 translate.
struct TKelMatrix {
  float m11 = 1, m12 = 0, m13 = 0;
  float m21 = 0, m22 = 1, m23 = 0;
  float m31 = 0, m32 = 0, m33 = 1;
  friend bool operator==(const TKelMatrix&, const TKelMatrix&) = default;
  static TKelMatrix Identity() { return {}; }
  static TKelMatrix Translation(float dx, float dy);
  static TKelMatrix Rotation(float degrees);  // counter-clockwise on screen
  static TKelMatrix Scaling(float sx, float sy);
  TKelMatrix operator*(const TKelMatrix& o) const;
  TPointF Map(TPointF p) const;
};

// ---- Corners of rectangles ------------------------------------------------

enum THostCorner : std::uint8_t {
  hcTopLeft = 1,
  hcTopRight = 2,
  hcBottomLeft = 4,
  hcBottomRight = 8,
  hcAll = 15
};
enum class THostCornerType : std::uint8_t { Round, Bevel, InnerRound, InnerLine };

// ---- Text layout ----------------------------------------------------------

// A host text layout: word wrap off, leading alignment. The engine creates one
// per canvas and reuses it for every measurement and every text drawn.
class IHostTextLayout {
 public:
  virtual ~IHostTextLayout() = default;
  virtual void BeginUpdate() = 0;
  virtual void EndUpdate() = 0;
  virtual void SetTopLeft(TPointF p) = 0;
  virtual void SetMaxSize(TPointF size) = 0;
  virtual void SetText(const std::string& text) = 0;
  virtual void SetFont(const THostFont& font) = 0;
  virtual void SetColor(TColor color) = 0;
  virtual void SetOpacity(float opacity) = 0;
  // Rectangle of the laid-out text, in canvas coordinates (from TopLeft).
  virtual TRectF TextRect() = 0;
};

// ---- Bitmaps --------------------------------------------------------------

class IHostCanvas;

class IHostBitmap {
 public:
  virtual ~IHostBitmap() = default;
  virtual int Width() const = 0;
  virtual int Height() const = 0;
  virtual float BitmapScale() const = 0;
  virtual bool IsEmpty() const { return Width() == 0 || Height() == 0; }
  virtual void SetSize(int width, int height) = 0;
  virtual void Clear(TColor color) = 0;
  // The canvas drawing into this bitmap (owned by the bitmap).
  virtual IHostCanvas& Canvas() = 0;
  virtual TColor Pixel(int x, int y) const = 0;
  virtual void SetPixel(int x, int y, TColor color) = 0;
};

// ---- Features --------------------------------------------------------------

// What a host canvas can do better than the generic way; the engine asks
// before it picks a path.
enum THostFeature : std::uint8_t {
  // DrawConnectedLines costs less per segment than DrawLine: the engine
  // gathers consecutive connected lines into one call.
  hfConnectedLines = 1,
  // DrawPolyline is a native line list: fast-line mode hands it the points
  // instead of building a path.
  hfNativePolyline = 2,
};

// ---- The host canvas ------------------------------------------------------

class IHostCanvas {
 public:
  virtual ~IHostCanvas() = default;

  // Class name of the implementation; the engine checks for the names of
  // canvases that have a native line-list fast path.
  virtual std::string ClassName() const = 0;
  // Device pixels per device-independent pixel.
  virtual float Scale() const { return 1; }

  // What the host does better than the generic way (THostFeature bits).
  virtual std::uint8_t Features() const { return 0; }
  bool Supports(THostFeature Feature) const { return (Features() & Feature) != 0; }

  // Current drawing state. The engine replaces it before drawing; a setter
  // given the state already in force changes nothing.
  virtual const THostStroke& Stroke() const = 0;
  virtual const THostFill& Fill() const = 0;
  virtual const THostFont& Font() const = 0;
  virtual void SetStroke(const THostStroke& Value) = 0;
  virtual void SetFill(const THostFill& Value) = 0;
  virtual void SetFont(const THostFont& Value) = 0;

  virtual bool BeginScene() = 0;
  virtual void EndScene() = 0;

  // Opaque state handle; RestoreState brings back clip and matrix.
  using StateHandle = std::int64_t;
  virtual StateHandle SaveState() = 0;
  virtual void RestoreState(StateHandle state) = 0;
  virtual void IntersectClipRect(const TRectF& r) = 0;
  virtual TKelMatrix Matrix() const = 0;
  virtual void SetMatrix(const TKelMatrix& m) = 0;

  virtual void FillRect(const TRectF& r, float xRadius, float yRadius, std::uint8_t corners,
                        float opacity, THostCornerType cornerType) = 0;
  virtual void DrawRect(const TRectF& r, float xRadius, float yRadius, std::uint8_t corners,
                        float opacity, THostCornerType cornerType) = 0;
  virtual void FillEllipse(const TRectF& r, float opacity) = 0;
  virtual void DrawEllipse(const TRectF& r, float opacity) = 0;
  virtual void DrawLine(TPointF p1, TPointF p2, float opacity) = 0;
  virtual void DrawArc(TPointF center, TPointF radius, float startAngle, float sweepAngle,
                       float opacity) = 0;
  virtual void FillPath(const THostPath& path, float opacity) = 0;
  virtual void DrawPath(const THostPath& path, float opacity) = 0;
  // Native line list: one connected polyline, 1 pixel wide, stroke colour.
  virtual void DrawPolyline(const TPointF* points, std::size_t count, float opacity) = 0;
  // Connected segments points[0]-points[1], points[1]-points[2], ... with
  // the current stroke: the pixels of count - 1 DrawLine calls in that
  // order, or better ones where segments meet (a joint drawn once). The
  // default draws the DrawLine calls; a host that can draw them for less
  // per segment overrides it and has hfConnectedLines among its features,
  // and the engine then gathers consecutive connected lines into one call.
  virtual void DrawConnectedLines(const TPointF* points, std::size_t count, float opacity);
  bool BatchesLines() const { return Supports(hfConnectedLines); }
  virtual void DrawBitmap(const IHostBitmap& bitmap, const TRectF& src, const TRectF& dst,
                          float opacity, bool highSpeed) = 0;

  // Text.
  virtual std::unique_ptr<IHostTextLayout> CreateTextLayout() = 0;
  virtual void RenderLayout(IHostTextLayout& layout) = 0;
  // Converts text to a path in the area; false when conversion fails.
  virtual bool TextToPath(THostPath& path, const std::string& text, const THostFont& font,
                          const TRectF& area) = 0;

  // A new bitmap compatible with this canvas (for buffered display).
  virtual std::unique_ptr<IHostBitmap> CreateBitmap(int width, int height, float scale) = 0;
};

// Changes one part of a canvas' state: Edit changes a copy of the state in
// force, which the canvas is then handed (for callers that do not keep a
// copy of their own).
template <class TEdit>
void ChangeStroke(IHostCanvas& Canvas, TEdit&& Edit) {
  THostStroke stroke = Canvas.Stroke();
  Edit(stroke);
  Canvas.SetStroke(stroke);
}
template <class TEdit>
void ChangeFill(IHostCanvas& Canvas, TEdit&& Edit) {
  THostFill fill = Canvas.Fill();
  Edit(fill);
  Canvas.SetFill(fill);
}

}  // namespace sextant

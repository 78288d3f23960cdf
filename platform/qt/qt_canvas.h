// The Qt implementation of the host canvas: every drawing the engine does
// reaches QPainter through TQtHostCanvas.
//
//  - TQtHostCanvas draws with a QPainter on any paint device (the chart
//    widget during paintEvent, a QImage in tests and for bitmaps).
//  - TQtBitmap is a QImage-backed host bitmap with its own canvas.
//
// The parts behind it are internal (the *_p.h headers, not installed):
// conversions to Qt types (qt_conversions_p.h), the text layout and its
// cache (qt_text_layout_p.h), crisp lines as filled rectangles
// (qt_crisp_lines_p.h), stroke preparation (qt_stroke_p.h) and host bitmaps
// as images (qt_image_p.h).
//
// Pixel conventions: an integer coordinate names a pixel, as on the classic
// desktop host. Axis-aligned strokes (lines, frames, grids, rectangles) are
// drawn without antialiasing so that a 1-pixel line at x = 10 covers exactly
// column 10 (at device pixel ratio r: the r device columns of pixel 10); all
// other strokes, fills of curved shapes, paths and text are antialiased,
// odd-width strokes shifted by half a pixel so that they sit on the same
// pixel centres as the crisp ones (unless the canvas is switched to aliased
// drawing: SetAntialiased).
#pragma once

#include <QBrush>
#include <QImage>
#include <QPainter>  // complete for the bitmap canvas' owned painter
#include <QPainterPath>
#include <QPen>

#include <memory>
#include <vector>

#include "platform/host_canvas.h"

namespace sextant {

// ---- Canvas -------------------------------------------------------------------

class TQtHostCanvas : public IHostCanvas {
 public:
  // Draws with an active painter owned by the caller (for example the one of
  // a paintEvent); the painter must outlive the canvas.
  explicit TQtHostCanvas(QPainter& painter);
  ~TQtHostCanvas() override;

  std::string ClassName() const override { return "TQtCanvas"; }
  float Scale() const override;

  // Antialiasing of slanted strokes and curved fills, on by default. Off,
  // every stroke and fill of this canvas is drawn aliased, on the pixel
  // convention of the crisp axis-aligned ones (a one-pixel line through
  // whole-pixel coordinates covers those pixels); texts are unchanged.
  // For hosts that want the speed of aliased drawing (benchmarks against
  // other aliased renderers).
  bool Antialiased() const { return FAntialiased; }
  void SetAntialiased(bool Value) { FAntialiased = Value; }

  std::uint8_t Features() const override { return hfConnectedLines; }
  const THostStroke& Stroke() const override { return FState.Stroke(); }
  const THostFill& Fill() const override { return FState.Fill(); }
  const THostFont& Font() const override { return FState.Font(); }
  void SetStroke(const THostStroke& Value) override { FState.SetStroke(Value); }
  void SetFill(const THostFill& Value) override { FState.SetFill(Value); }
  void SetFont(const THostFont& Value) override { FState.SetFont(Value); }

  bool BeginScene() override;
  void EndScene() override;

  StateHandle SaveState() override;
  void RestoreState(StateHandle state) override;
  void IntersectClipRect(const TRectF& r) override;
  TKelMatrix Matrix() const override;
  void SetMatrix(const TKelMatrix& m) override;

  void FillRect(const TRectF& r, float xRadius, float yRadius, std::uint8_t corners, float opacity,
                THostCornerType cornerType) override;
  void DrawRect(const TRectF& r, float xRadius, float yRadius, std::uint8_t corners, float opacity,
                THostCornerType cornerType) override;
  void FillEllipse(const TRectF& r, float opacity) override;
  void DrawEllipse(const TRectF& r, float opacity) override;
  void DrawLine(TPointF p1, TPointF p2, float opacity) override;
  void DrawArc(TPointF center, TPointF radius, float startAngle, float sweepAngle,
               float opacity) override;
  void FillPath(const THostPath& path, float opacity) override;
  void DrawPath(const THostPath& path, float opacity) override;
  void DrawPolyline(const TPointF* points, std::size_t count, float opacity) override;
  // The pixels of DrawLine segment by segment, with one pen set-up; aliased,
  // one polyline (joints drawn once).
  void DrawConnectedLines(const TPointF* points, std::size_t count, float opacity) override;
  void DrawBitmap(const IHostBitmap& bitmap, const TRectF& src, const TRectF& dst, float opacity,
                  bool highSpeed) override;

  std::unique_ptr<IHostTextLayout> CreateTextLayout() override;
  void RenderLayout(IHostTextLayout& layout) override;
  bool TextToPath(THostPath& path, const std::string& text, const THostFont& font,
                  const TRectF& area) override;

  std::unique_ptr<IHostBitmap> CreateBitmap(int width, int height, float scale) override;

  // Paints a fill the canvas holds back (see FillRect); whoever reads
  // or changes the device's pixels beside the canvas calls it first.
  void FlushPendingFill();

 protected:
  // For canvases that open their painter on demand (bitmaps).
  TQtHostCanvas() = default;
  // The painter to draw with; null when the device cannot be painted.
  virtual QPainter* ActivePainter() { return FPainter; }
  // Drops every saved state (the painter is about to end).
  void ForgetStates();
  // The painter for a drawing, after the held fill is painted; null when
  // the device cannot be painted.
  QPainter* DrawingPainter();
  QPainter* FPainter = nullptr;
  int FSceneDepth = 0;

 private:
  enum class TStrokeShape { AxisAligned, Free };
  // Prepares the painter to stroke geometry within bounds; false when
  // nothing is to be stroked. Sets antialiasing and returns the half-pixel
  // shift of odd-width antialiased strokes in offset.
  bool PrepareStroke(QPainter& p, const QRectF& bounds, TStrokeShape shape, QPointF& offset);
  // Antialiasing for a shape stroked with the painter's pen, and the shift
  // of the pen's odd widths onto pixel centres.
  QPointF PlaceStroke(QPainter& p, TStrokeShape shape);
  bool PrepareFill(QPainter& p, const QRectF& bounds, bool antialias);
  // The brush of the solid fill in force (converted once per change).
  const QBrush& SolidBrush();
  // Converts a changed stroke into the pens (once per change).
  void ConvertStroke();
  void DrawAliasedPolyline(QPainter& p, const TPointF* points, std::size_t count, float opacity);
  QPainterPath RectPath(const TRectF& r, float xRadius, float yRadius, std::uint8_t corners,
                        THostCornerType cornerType) const;
  qreal LogicalDpiY();

  THostState FState;
  // A solid opaque rectangle fill held back until the next drawing (see
  // FillRect), in the painter's transform and clip of the time it was given.
  struct THeldFill {
    bool Active = false;
    QRectF Rect;
    QBrush Brush;
  };
  THeldFill FHeldFill;
  // The last stroke shift PlaceStroke computed, with its inputs (the shift
  // depends only on the pen width, aliasing and the device transform's
  // linear part).
  struct TShiftMemo {
    bool Valid = false;
    bool Aliased = false;
    int Type = 0;
    qreal Width = 0, M11 = 0, M12 = 0, M21 = 0, M22 = 0;
    QPointF Shift;
  };
  TShiftMemo FShiftMemo;
  // The stroke as Qt pens, kept until the stroke changes: the pen of a
  // solid stroke (a gradient's brush depends on each shape's bounds), and
  // the one-pixel solid pen of the native line list.
  QPen FSolidPen;
  QPen FPolylinePen;
  // The brush of a solid fill, kept until the fill changes.
  QBrush FSolidBrush;
  bool FAntialiased = true;
  std::vector<StateHandle> FSaved;  // handles of painter states, innermost last
  std::vector<QPointF> FPolyline;   // reused by DrawPolyline
};

// ---- Bitmap -------------------------------------------------------------------

class TQtBitmap;

// The canvas of a TQtBitmap: opens a painter on the image on demand and ends
// it when the outermost scene ends.
class TQtImageCanvas : public TQtHostCanvas {
 public:
  explicit TQtImageCanvas(TQtBitmap& owner) : FOwner(owner) {}
  ~TQtImageCanvas() override;
  bool BeginScene() override;
  void EndScene() override;
  TKelMatrix Matrix() const override { return FMatrix; }
  void SetMatrix(const TKelMatrix& m) override;
  // Ends the painter (before the image is replaced).
  void Close();
  bool IsOpen() const { return FPainter != nullptr; }

 protected:
  QPainter* ActivePainter() override;

 private:
  TQtBitmap& FOwner;
  std::unique_ptr<QPainter> FOwnPainter;
  TKelMatrix FMatrix;  // kept across painters
};

class TQtBitmap : public IHostBitmap {
 public:
  // A transparent bitmap of width x height device pixels; scale is the
  // device pixels per device-independent pixel of its canvas.
  TQtBitmap(int width, int height, float scale = 1);
  ~TQtBitmap() override;

  int Width() const override { return FImage.width(); }
  int Height() const override { return FImage.height(); }
  float BitmapScale() const override { return FScale; }
  void SetSize(int width, int height) override;
  void Clear(TColor color) override;
  IHostCanvas& Canvas() override { return *FCanvas; }
  TColor Pixel(int x, int y) const override;
  void SetPixel(int x, int y, TColor color) override;

  // The pixels, with everything drawn on the canvas so far.
  QImage& Image() {
    FCanvas->FlushPendingFill();
    return FImage;
  }
  const QImage& Image() const {
    FCanvas->FlushPendingFill();
    return FImage;
  }

 private:
  friend class TQtImageCanvas;  // opens its painter on the image
  QImage FImage;
  float FScale;
  std::unique_ptr<TQtImageCanvas> FCanvas;
};

}  // namespace sextant

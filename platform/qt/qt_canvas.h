// The Qt implementation of the host canvas: every drawing the engine does
// reaches QPainter through TQtHostCanvas.
//
//  - TQtHostCanvas draws with a QPainter on any paint device (the chart
//    widget during paintEvent, a QImage in tests and for bitmaps).
//  - TQtTextLayout measures and renders one text (QTextLayout); it holds no
//    reference to a canvas or device, so the engine may keep it across paints.
//  - TQtBitmap is a QImage-backed host bitmap with its own canvas.
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

#include <QColor>
#include <QFont>
#include <QGlyphRun>
#include <QImage>
#include <QPainter>  // complete for the bitmap canvas' owned painter
#include <QPainterPath>
#include <QTextLayout>
#include <QTransform>

#include <memory>
#include <vector>

#include "platform/host_canvas.h"

class QPaintDevice;

namespace sextant {

// ---- Conversions shared by the Qt host -------------------------------------

inline QColor ToQColor(TColor c) { return QColor::fromRgba(c); }
QTransform ToQTransform(const TKelMatrix& m);
TKelMatrix ToKelMatrix(const QTransform& t);
// Host font to QFont. Integral sizes become exact pixel sizes; fractional
// sizes become point sizes at the given logical DPI.
QFont ToQFont(const THostFont& font, qreal logicalDpiY);
// Host path to QPainterPath (odd-even fill). Arcs follow the host
// convention: angles in degrees, 0 at 3 o'clock, positive sweep clockwise on
// screen.
QPainterPath ToQPainterPath(const THostPath& path);
// Fill brush for a shape with the given bounding rectangle; Qt::NoBrush for
// kinds that paint nothing (None, Resource, a missing bitmap).
QBrush ToQBrush(THostBrushKind kind, TColor color, const THostGradient& gradient,
                const IHostBitmap* bitmap, const QRectF& bounds);

// ---- Text layout ------------------------------------------------------------

class TQtTextLayout : public IHostTextLayout {
 public:
  // Fractional font sizes are converted at this DPI (the device's).
  explicit TQtTextLayout(qreal logicalDpiY = 96);

  void BeginUpdate() override { ++FUpdating; }
  void EndUpdate() override;
  void SetTopLeft(TPointF p) override { FTopLeft = p; }
  void SetMaxSize(TPointF size) override { FMaxSize = size; }
  void SetText(const std::string& text) override;
  void SetFont(const THostFont& font) override;
  void SetColor(TColor color) override { FColor = color; }
  void SetOpacity(float opacity) override { FOpacity = opacity; }
  TRectF TextRect() override;

  // Renders the text at its top-left in its colour and opacity.
  void Draw(QPainter& painter);

  const QFont& Font() const { return FQFont; }

 private:
  void EnsureLayout();

  qreal FDpi;
  int FUpdating = 0;
  bool FDirty = true;
  TPointF FTopLeft;
  TPointF FMaxSize{10000, 10000};
  QString FText;
  THostFont FFont;
  QFont FQFont;
  TColor FColor = claBlack;
  float FOpacity = 1;
  // Laid-out texts by text and font, the least recently used replaced: a chart
  // measures and draws the same labels in every paint, and shaping a text
  // costs far more than finding it again.
  struct TLaidOut {
    QString Text;
    THostFont Font;
    std::unique_ptr<QTextLayout> Layout;
    qreal Width = 0;
    qreal Height = 0;
    std::uint64_t LastUse = 0;  // FUseClock when last found or made
    // The laid-out glyphs, taken from the layout at the first draw: drawing
    // them again skips the layout's per-draw walk over lines and items.
    QList<QGlyphRun> Runs;
    bool HasRuns = false;
  };
  static constexpr std::size_t KLayoutCache = 64;
  std::uint64_t FUseClock = 0;
  std::vector<TLaidOut> FCache;
  TLaidOut* FCurrent = nullptr;
  qreal FWidth = 0;
  qreal FHeight = 0;
};

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
  // How many lines this canvas drew as filled rectangles (see
  // DrawCrispRun); for tests and diagnostics.
  int CrispRunCount() const { return FCrispRuns; }

  THostStroke& Stroke() override { return FStroke; }
  THostFill& Fill() override { return FFill; }
  THostFont& Font() override { return FFont; }

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
  // The pixels of DrawLine segment by segment, with one pen set-up.
  void DrawConnectedLines(const TPointF* points, std::size_t count, float opacity) override;
  bool BatchesLines() const override { return true; }
  void DrawBitmap(const IHostBitmap& bitmap, const TRectF& src, const TRectF& dst, float opacity,
                  bool highSpeed) override;

  std::unique_ptr<IHostTextLayout> CreateTextLayout() override;
  void RenderLayout(IHostTextLayout& layout) override;
  bool TextToPath(THostPath& path, const std::string& text, const THostFont& font,
                  const TRectF& area) override;

  std::unique_ptr<IHostBitmap> CreateBitmap(int width, int height, float scale) override;

 protected:
  // For canvases that open their painter on demand (bitmaps).
  TQtHostCanvas() = default;
  // The painter to draw with; null when the device cannot be painted.
  virtual QPainter* ActivePainter() { return FPainter; }
  // Drops every saved state (the painter is about to end).
  void ForgetStates();
  QPainter* FPainter = nullptr;
  int FSceneDepth = 0;

 private:
  enum class TStrokeShape { AxisAligned, Free };
  // Prepares the painter to stroke geometry within bounds; false when
  // nothing is to be stroked. Sets antialiasing and returns the half-pixel
  // shift of odd-width antialiased strokes in offset.
  bool PrepareStroke(QPainter& p, const QRectF& bounds, TStrokeShape shape, QPointF& offset);
  bool PrepareFill(QPainter& p, const QRectF& bounds, bool antialias);
  // Draws a crisp line from a to b along a pixel row or column as a filled
  // rectangle (solid, or with the dash pattern as texture) when that gives
  // exactly the pixels the rasteriser's own stepping would; false (nothing
  // drawn) otherwise.
  bool DrawCrispRun(QPainter& p, QPointF a, QPointF b, qreal opacity);
  QPainterPath RectPath(const TRectF& r, float xRadius, float yRadius, std::uint8_t corners,
                        THostCornerType cornerType) const;
  qreal LogicalDpiY();

  THostStroke FStroke;
  THostFill FFill;
  THostFont FFont;
  bool FAntialiased = true;
  int FCrispRuns = 0;
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

  QImage& Image() { return FImage; }
  const QImage& Image() const { return FImage; }

 private:
  QImage FImage;
  float FScale;
  std::unique_ptr<TQtImageCanvas> FCanvas;
};

}  // namespace sextant

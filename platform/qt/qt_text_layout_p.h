// The text layout of the Qt host: measures and renders one text at a time,
// keeping the texts it laid out. Internal: not installed.
#pragma once

#include <QFont>
#include <QGlyphRun>
#include <QImage>
#include <QList>
#include <QPainter>
#include <QPen>
#include <QString>
#include <QTextLayout>

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "platform/host_canvas.h"

namespace sextant {

// Measures and renders one text (QTextLayout); it holds no reference to a
// canvas or device, so the engine may keep it across paints.
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

  // Texts drawn from their images since the program started; tests read
  // the difference around a drawing.
  static std::uint64_t ImagesDrawn();

  const QFont& Font() const { return FQFont; }

 private:
  void EnsureLayout();

  qreal FDpi;
  int FUpdating = 0;
  bool FDirty = true;
  TPointF FTopLeft;
  TPointF FMaxSize{10000, 10000};
  std::string FText;  // as given, UTF-8 with CR or LF line breaks
  THostFont FFont;
  std::size_t FTextHash = 0;
  std::size_t FFontHash = 0;
  QFont FQFont;
  TColor FColor = claBlack;
  QPen FPen{QColor(0, 0, 0)};  // the text colour as a pen, kept until it changes
  float FOpacity = 1;
  // The glyphs of a laid-out text drawn once into an image, in one colour,
  // at one device scale and one fraction of a device pixel. The image is
  // used only when drawing it gave the pixels of drawing the glyphs on two
  // test backgrounds (Usable); drawing a small image costs a quarter of
  // drawing its glyphs.
  struct TTextImage {
    QImage Pixels;       // null when not made (or too large)
    QRgb Colour = 0;
    qreal Scale = 0;
    QPointF Fraction;    // of the text origin, in device pixels
    int TargetFormat = 0;  // the device image's format the test used
    bool Usable = false;
  };
  // Draws the current text from its image where that gives the glyphs'
  // own pixels; false when the glyphs must be drawn.
  bool DrawFromImage(QPainter& painter, QPointF origin);
  // Makes the image at the device scale and fraction; false (and not
  // Usable) when it is too large or does not give the glyphs' pixels.
  bool MakeImage(TTextImage& image, qreal scale, QPointF fraction, QImage::Format target);

  // Laid-out texts by text and font, the least recently used replaced: a chart
  // measures and draws the same labels in every paint, and shaping a text
  // costs far more than finding it again.
  struct TLaidOut {
    std::size_t Key = 0;  // a hash of Text and Font: most look-ups end at it
    std::string Text;
    THostFont Font;
    std::unique_ptr<QTextLayout> Layout;
    qreal Width = 0;
    qreal Height = 0;
    std::uint64_t LastUse = 0;  // FUseClock when last found or made
    // The laid-out glyphs, taken from the layout at the first draw: drawing
    // them again skips the layout's per-draw walk over lines and items.
    QList<QGlyphRun> Runs;
    bool HasRuns = false;
    TTextImage Image;
  };
  static constexpr std::size_t KLayoutCache = 64;
  std::uint64_t FUseClock = 0;
  std::vector<TLaidOut> FCache;
  TLaidOut* FCurrent = nullptr;
  qreal FWidth = 0;
  qreal FHeight = 0;
};

}  // namespace sextant

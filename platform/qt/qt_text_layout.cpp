#include "platform/qt/qt_text_layout_p.h"

#include <QPaintEngine>
#include <QTextOption>

#include <algorithm>
#include <cmath>

#include "platform/qt/qt_conversions_p.h"

namespace sextant {

namespace {
std::size_t FontHash(const THostFont& f) {
  std::size_t h = std::hash<std::string>{}(f.Family);
  auto mix = [&h](std::size_t v) { h ^= v + 0x9e3779b97f4a7c15ull + (h << 6) + (h >> 2); };
  mix(std::hash<float>{}(f.Size));
  mix(static_cast<std::size_t>(f.Bold) | static_cast<std::size_t>(f.Italic) << 1 |
      static_cast<std::size_t>(f.Underline) << 2 | static_cast<std::size_t>(f.StrikeOut) << 3);
  mix(static_cast<std::size_t>(f.Weight) << 16 ^ static_cast<std::size_t>(f.Slant) << 8 ^
      static_cast<std::size_t>(f.Stretch));
  return h;
}
}  // namespace

TQtTextLayout::TQtTextLayout(qreal logicalDpiY) : FDpi(logicalDpiY > 0 ? logicalDpiY : 96) {
  FQFont = ToQFont(FFont, FDpi);
  FTextHash = std::hash<std::string>{}(FText);
  FFontHash = FontHash(FFont);
  FCache.reserve(KLayoutCache);
}

void TQtTextLayout::EndUpdate() {
  if (FUpdating > 0) --FUpdating;
}

// Texts are kept and looked up as the engine gives them: converting one
// to Qt's string and line separators costs more than the look-up, and is
// needed only to lay out a text not seen before.
void TQtTextLayout::SetText(const std::string& text) {
  if (text == FText) return;
  FText = text;
  FTextHash = std::hash<std::string>{}(FText);
  FDirty = true;
}

void TQtTextLayout::SetFont(const THostFont& font) {
  if (!(font == FFont)) {
    FFont = font;
    FFontHash = FontHash(font);
    FQFont = ToQFont(font, FDpi);
    FDirty = true;
  }
}

void TQtTextLayout::EnsureLayout() {
  if (!FDirty && FCurrent) return;
  FDirty = false;
  // A text laid out before in the same font is taken as it is. Entries stay
  // where they are (moving them would cost more than the search); a use
  // stamp finds the least recently used one to replace.
  ++FUseClock;
  const std::size_t key = FTextHash ^ (FFontHash * 31);
  for (TLaidOut& cached : FCache) {
    if (cached.Key == key && cached.Text == FText && cached.Font == FFont) {
      cached.LastUse = FUseClock;
      FCurrent = &cached;
      FWidth = cached.Width;
      FHeight = cached.Height;
      return;
    }
  }
  TLaidOut* slot;
  if (FCache.size() < KLayoutCache) {
    slot = &FCache.emplace_back();
  } else {
    slot = &*std::min_element(FCache.begin(), FCache.end(),
                              [](const TLaidOut& a, const TLaidOut& b) { return a.LastUse < b.LastUse; });
    *slot = TLaidOut();
  }
  TLaidOut& entry = *slot;
  entry.LastUse = FUseClock;
  entry.Key = key;
  entry.Text = FText;
  entry.Font = FFont;
  entry.Layout = std::make_unique<QTextLayout>();
  QTextLayout& layout = *entry.Layout;
  QTextOption option;
  option.setWrapMode(QTextOption::NoWrap);
  option.setAlignment(Qt::AlignLeft | Qt::AlignTop);
  option.setTextDirection(Qt::LeftToRight);
  layout.setTextOption(option);
  layout.setText(LayoutText(FText));
  layout.setFont(FQFont);
  layout.beginLayout();
  qreal y = 0;
  qreal width = 0;
  for (;;) {
    QTextLine line = layout.createLine();
    if (!line.isValid()) break;
    line.setLineWidth(1e6);  // no wrapping: lines end only at separators
    line.setPosition(QPointF(0, y));
    y += line.height();
    width = std::max(width, line.horizontalAdvance());
  }
  layout.endLayout();
  entry.Width = width;
  entry.Height = y;
  FCurrent = &entry;
  FWidth = width;
  FHeight = y;
}

TRectF TQtTextLayout::TextRect() {
  EnsureLayout();
  const qreal w = std::min<qreal>(FWidth, std::max<qreal>(0, FMaxSize.X));
  const qreal h = std::min<qreal>(FHeight, std::max<qreal>(0, FMaxSize.Y));
  return {FTopLeft.X, FTopLeft.Y, static_cast<float>(FTopLeft.X + w), static_cast<float>(FTopLeft.Y + h)};
}

namespace {

std::uint64_t GImagesDrawn = 0;

// Empty device pixels around the glyphs in a text image (antialiasing and
// glyph overhangs reach beyond the advance).
constexpr int KImageMargin = 3;
// Texts larger than this (device pixels) are drawn from their glyphs: the
// images stay small.
constexpr int KMaxImageSide = 512;
constexpr int KMaxImagePixels = 16 * 1024;  // 64 KB; at most 4 MB for 64 texts

// The image a raster painter draws into (a QImage, or a widget's backing
// store); null for every other device (vector exports keep their text).
const QImage* RasterTarget(QPainter& painter) {
  QPaintEngine* engine = painter.paintEngine();
  if (!engine || engine->type() != QPaintEngine::Raster) return nullptr;
  QPaintDevice* device = engine->paintDevice();
  if (!device || device->devType() != QInternal::Image) return nullptr;
  return static_cast<const QImage*>(device);
}

// Glyph runs drawn with painter at the device transform of the text.
void DrawRuns(QPainter& painter, const QList<QGlyphRun>& runs, const QTransform& device, QRgb colour) {
  painter.setTransform(device);
  painter.setRenderHint(QPainter::Antialiasing, true);
  painter.setRenderHint(QPainter::TextAntialiasing, true);
  painter.setPen(QColor::fromRgba(colour));
  for (const QGlyphRun& run : runs) painter.drawGlyphRun(QPointF(0, 0), run);
}

}  // namespace

std::uint64_t TQtTextLayout::ImagesDrawn() { return GImagesDrawn; }

// The image holds the glyphs as the device would get them: drawn with the
// device's scale, at the same fraction of a device pixel, on transparent
// pixels. Blending it over a background gives the glyphs' own pixels when
// the rasteriser blends glyph coverage linearly (colour times coverage plus
// background times the rest, as the image's source-over does); with gamma
// corrected or subpixel glyphs it does not. So the image is checked once,
// when it is made: the glyphs drawn directly and the image drawn over two
// backgrounds, in the device's pixel format, must give the same pixels.
bool TQtTextLayout::MakeImage(TTextImage& image, qreal scale, QPointF fraction, QImage::Format target) {
  image.Pixels = QImage();
  image.Usable = false;
  const int w = static_cast<int>(std::ceil(FCurrent->Width * scale)) + 2 * KImageMargin + 1;
  const int h = static_cast<int>(std::ceil(FCurrent->Height * scale)) + 2 * KImageMargin + 1;
  if (w > KMaxImageSide || h > KMaxImageSide || w * h > KMaxImagePixels) return false;
  // The text origin lands on (margin + fraction) of the image.
  const QTransform local(scale, 0, 0, scale, KImageMargin + fraction.x(), KImageMargin + fraction.y());
  QImage pixels(w, h, QImage::Format_ARGB32_Premultiplied);
  if (pixels.isNull()) return false;
  pixels.fill(Qt::transparent);
  {
    QPainter p(&pixels);
    DrawRuns(p, FCurrent->Runs, local, image.Colour);
  }
  for (QRgb background : {0xFFF0F0F0u, 0xFF3A5FA8u}) {
    QImage direct(w, h, target);
    QImage blended(w, h, target);
    if (direct.isNull() || blended.isNull()) return false;
    direct.fill(QColor::fromRgba(background));
    blended.fill(QColor::fromRgba(background));
    {
      QPainter p(&direct);
      DrawRuns(p, FCurrent->Runs, local, image.Colour);
    }
    {
      QPainter p(&blended);
      p.drawImage(QPoint(0, 0), pixels);
    }
    if (direct != blended) return false;
  }
  image.Pixels = std::move(pixels);
  image.Usable = true;
  return true;
}

// The image path needs a raster device, full opacity, source-over and a
// device transform without rotation or shear with equal scales; the image
// is then drawn at whole device pixels with the device transform set to
// the identity (a plain copy with blending), and the painter's transform
// put back.
bool TQtTextLayout::DrawFromImage(QPainter& painter, QPointF origin) {
  if (ClampOpacity(FOpacity) != 1 || painter.opacity() != 1 ||
      painter.compositionMode() != QPainter::CompositionMode_SourceOver)
    return false;
  const QImage* target = RasterTarget(painter);
  if (!target) return false;
  const QTransform device = painter.deviceTransform();
  if (device.type() > QTransform::TxScale || device.m11() != device.m22() || !(device.m11() > 0)) return false;
  const QPointF at = device.map(origin);
  if (!(std::abs(at.x()) < 1e6 && std::abs(at.y()) < 1e6)) return false;
  const QPoint whole(static_cast<int>(std::floor(at.x())), static_cast<int>(std::floor(at.y())));
  const QPointF fraction = at - QPointF(whole);
  TTextImage& image = FCurrent->Image;
  const QRgb colour = FColor;
  if (image.Colour != colour || image.Scale != device.m11() || image.Fraction != fraction ||
      image.TargetFormat != target->format()) {
    image.Colour = colour;
    image.Scale = device.m11();
    image.Fraction = fraction;
    image.TargetFormat = target->format();
    MakeImage(image, device.m11(), fraction, target->format());
  }
  if (!image.Usable) return false;
  const QPoint topLeft = whole - QPoint(KImageMargin, KImageMargin);
  if (device.type() <= QTransform::TxTranslate && device.dx() == std::round(device.dx()) &&
      device.dy() == std::round(device.dy())) {
    // Logical and device pixels differ by a whole translation only.
    painter.drawImage(topLeft - QPoint(static_cast<int>(device.dx()), static_cast<int>(device.dy())), image.Pixels);
  } else {
    const QTransform world = painter.worldTransform();
    painter.setWorldTransform(device.inverted() * world);
    painter.drawImage(topLeft, image.Pixels);
    painter.setWorldTransform(world);
  }
  ++GImagesDrawn;
  return true;
}

// The painter is set up for the text without a save and restore of its
// whole state (the canvas sets pen, brush, hints and opacity before every
// primitive anyway); only a clip to a maximum size smaller than the text
// is undone.
void TQtTextLayout::Draw(QPainter& painter) {
  EnsureLayout();
  SetHint(painter, QPainter::Antialiasing, true);
  SetHint(painter, QPainter::TextAntialiasing, true);
  painter.setOpacity(ClampOpacity(FOpacity));
  if (FPen.color().rgba() != FColor) FPen = QPen(ToQColor(FColor));
  painter.setPen(FPen);
  painter.setBrush(Qt::NoBrush);
  const QPointF origin(FTopLeft.X, FTopLeft.Y);
  const bool clip = FMaxSize.X < FWidth || FMaxSize.Y < FHeight;
  if (clip) {
    painter.save();
    painter.setClipRect(QRectF(origin, QSizeF(std::max<qreal>(0, FMaxSize.X), std::max<qreal>(0, FMaxSize.Y))),
                        Qt::IntersectClip);
  }
  // Glyph runs carry no decorations the way the layout draws them:
  // underlined, struck-out and overlined texts are drawn by the layout.
  if (FQFont.underline() || FQFont.strikeOut() || FQFont.overline()) {
    painter.setFont(FQFont);  // glyph runs and images carry their font; the layout's decorations use it
    FCurrent->Layout->draw(&painter, origin);
  } else {
    if (!FCurrent->HasRuns) {
      FCurrent->Runs = FCurrent->Layout->glyphRuns();
      FCurrent->HasRuns = true;
    }
    if (!DrawFromImage(painter, origin))
      for (const QGlyphRun& run : FCurrent->Runs) painter.drawGlyphRun(origin, run);
  }
  if (clip) painter.restore();
}

}  // namespace sextant

// Contents:
//   [Conversions]   matrix, font, path, brush
//   [Text layout]   TQtTextLayout
//   [Canvas]        state, scenes, clipping, primitives, text, bitmaps
//   [Bitmap]        TQtImageCanvas, TQtBitmap
#include "platform/qt/qt_canvas.h"

#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPainter>
#include <QPen>
#include <QTextOption>

#include <algorithm>
#include <climits>
#include <cmath>
#include <span>

namespace sextant {

namespace {

// QPainter::setRenderHint tells the paint engine even when nothing
// changes, which costs the raster engine a state update per call; strokes
// and fills set the hint for every primitive.
inline void SetHint(QPainter& Painter, QPainter::RenderHint Hint, bool On) {
  if (Painter.testRenderHint(Hint) != On) Painter.setRenderHint(Hint, On);
}


QRectF ToQRectF(const TRectF& r) {
  return QRectF(QPointF(r.Left, r.Top), QPointF(r.Right, r.Bottom)).normalized();
}

QPointF ToQPointF(TPointF p) { return QPointF(p.X, p.Y); }

// Guards against NaN and negative sizes handed to Qt.
qreal Finite(qreal v, qreal fallback = 0) { return std::isfinite(v) ? v : fallback; }

qreal ClampOpacity(float opacity) {
  if (!std::isfinite(opacity)) return 1;
  return std::clamp<qreal>(opacity, 0, 1);
}

// A degenerate rectangle still gets a usable brush transform.
QRectF UsableBounds(const QRectF& r) {
  QRectF b = r;
  if (!(b.width() > 0)) b.setWidth(1);
  if (!(b.height() > 0)) b.setHeight(1);
  return b;
}

// Maps the unit square onto the bounds.
QTransform UnitToBounds(const QRectF& bounds) {
  const QRectF b = UsableBounds(bounds);
  QTransform t;
  t.translate(b.left(), b.top());
  t.scale(b.width(), b.height());
  return t;
}

QString FromUtf8(const std::string& s) { return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size())); }

// Line breaks of engine texts: CR (with an optional LF after it) or LF alone
// become Unicode line separators, which QTextLayout breaks at.
QString LayoutText(const std::string& text) {
  QString s = FromUtf8(text);
  s.replace(QLatin1String("\r\n"), QString(QChar::LineSeparator));
  s.replace(QLatin1Char('\r'), QChar::LineSeparator);
  s.replace(QLatin1Char('\n'), QChar::LineSeparator);
  return s;
}

// True when every segment of the polyline is horizontal or vertical.
bool AxisAligned(const TPointF* points, std::size_t count) {
  for (std::size_t i = 1; i < count; ++i)
    if (points[i].X != points[i - 1].X && points[i].Y != points[i - 1].Y) return false;
  return true;
}

// True when the path consists of straight axis-aligned segments only
// (rounded rectangles with zero radii count as rectangles).
bool AxisAligned(const THostPath& path) {
  bool haveCurrent = false;
  TPointF current, start;
  for (const THostPathCommand& c : path.Commands()) {
    switch (c.Op) {
      case THostPathCommand::MoveTo:
        current = start = c.A;
        haveCurrent = true;
        break;
      case THostPathCommand::LineTo:
        if (haveCurrent && current.X != c.A.X && current.Y != c.A.Y) return false;
        if (!haveCurrent) start = c.A;
        current = c.A;
        haveCurrent = true;
        break;
      case THostPathCommand::Close:
        if (haveCurrent && current.X != start.X && current.Y != start.Y) return false;
        current = start;
        break;
      case THostPathCommand::RoundRect:
        if (c.C.X > 0 && c.C.Y > 0) return false;
        break;
      case THostPathCommand::Ellipse:
      case THostPathCommand::Arc:
        return false;
    }
  }
  return true;
}

}  // namespace

// =============================================================================
// [Conversions]
// =============================================================================

QTransform ToQTransform(const TKelMatrix& m) {
  // Both use row vectors: (x, y, 1) * M, translation in the third row.
  return QTransform(m.m11, m.m12, m.m13, m.m21, m.m22, m.m23, m.m31, m.m32, m.m33);
}

TKelMatrix ToKelMatrix(const QTransform& t) {
  TKelMatrix m;
  m.m11 = static_cast<float>(t.m11());
  m.m12 = static_cast<float>(t.m12());
  m.m13 = static_cast<float>(t.m13());
  m.m21 = static_cast<float>(t.m21());
  m.m22 = static_cast<float>(t.m22());
  m.m23 = static_cast<float>(t.m23());
  m.m31 = static_cast<float>(t.m31());
  m.m32 = static_cast<float>(t.m32());
  m.m33 = static_cast<float>(t.m33());
  return m;
}

QFont ToQFont(const THostFont& font, qreal logicalDpiY) {
  QFont f(FromUtf8(font.Family));
  qreal size = Finite(font.Size, 11);
  if (size < 1) size = 1;
  if (size > 4096) size = 4096;
  if (size == std::floor(size)) {
    f.setPixelSize(static_cast<int>(size));
  } else {
    if (!(logicalDpiY > 0)) logicalDpiY = 96;
    f.setPointSizeF(size * 72.0 / logicalDpiY);
  }

  // Weight scale Thin .. UltraBlack (0..10, regular 4) onto OpenType weights.
  static constexpr int kWeights[] = {100, 200, 300, 350, 400, 500, 600, 700, 800, 900, 950};
  int weight = kWeights[std::clamp(font.Weight, 0, 10)];
  if (font.Bold && weight < QFont::Bold) weight = QFont::Bold;
  f.setWeight(static_cast<QFont::Weight>(weight));

  // Slant: 0 regular, 1 italic, 2 oblique; the simple Italic style is italic.
  const int slant = std::clamp(font.Slant, 0, 2);
  if (slant == 2)
    f.setStyle(QFont::StyleOblique);
  else if (slant == 1 || font.Italic)
    f.setStyle(QFont::StyleItalic);
  else
    f.setStyle(QFont::StyleNormal);

  // Stretch UltraCondensed .. UltraExpanded (0..8, regular 4).
  static constexpr int kStretches[] = {QFont::UltraCondensed, QFont::ExtraCondensed, QFont::Condensed,
                                       QFont::SemiCondensed,  QFont::Unstretched,    QFont::SemiExpanded,
                                       QFont::Expanded,       QFont::ExtraExpanded,  QFont::UltraExpanded};
  f.setStretch(kStretches[std::clamp(font.Stretch, 0, 8)]);

  f.setUnderline(font.Underline);
  f.setStrikeOut(font.StrikeOut);
  return f;
}

QPainterPath ToQPainterPath(const THostPath& path) {
  QPainterPath q;
  q.setFillRule(Qt::OddEvenFill);
  // An arc continues the current figure with a line to its start (a pie is
  // MoveTo(centre), arc, close); at the beginning or after a close it
  // starts a figure of its own.
  bool open = false;
  for (const THostPathCommand& c : path.Commands()) {
    const bool wasOpen = open;
    open = c.Op == THostPathCommand::MoveTo || c.Op == THostPathCommand::LineTo || c.Op == THostPathCommand::Arc;
    switch (c.Op) {
      case THostPathCommand::MoveTo:
        q.moveTo(ToQPointF(c.A));
        break;
      case THostPathCommand::LineTo:
        q.lineTo(ToQPointF(c.A));
        break;
      case THostPathCommand::Close:
        q.closeSubpath();
        break;
      case THostPathCommand::Ellipse:
        q.addEllipse(QRectF(ToQPointF(c.A), ToQPointF(c.B)).normalized());
        break;
      case THostPathCommand::RoundRect: {
        const QRectF r = QRectF(ToQPointF(c.A), ToQPointF(c.B)).normalized();
        if (c.C.X > 0 && c.C.Y > 0)
          q.addRoundedRect(r, c.C.X, c.C.Y);
        else
          q.addRect(r);
        break;
      }
      case THostPathCommand::Arc: {
        // Host angles turn clockwise on screen; Qt's turn counter-clockwise.
        const QRectF box(c.A.X - c.B.X, c.A.Y - c.B.Y, 2.0 * c.B.X, 2.0 * c.B.Y);
        if (!wasOpen) q.arcMoveTo(box, -c.C.X);
        q.arcTo(box, -c.C.X, -c.C.Y);
        break;
      }
    }
  }
  return q;
}

QBrush ToQBrush(THostBrushKind kind, TColor color, const THostGradient& gradient,
                const IHostBitmap* bitmap, const QRectF& bounds) {
  switch (kind) {
    case THostBrushKind::None:
    case THostBrushKind::Resource:  // no style resources on this host: nothing to paint
      return Qt::NoBrush;
    case THostBrushKind::Solid:
      return QBrush(ToQColor(color));
    case THostBrushKind::Gradient: {
      if (gradient.Points.empty()) return QBrush(ToQColor(color));
      QGradientStops stops;
      stops.reserve(static_cast<qsizetype>(gradient.Points.size()));
      for (const THostGradientPoint& p : gradient.Points)
        stops.append({std::clamp<qreal>(Finite(p.Offset), 0, 1), ToQColor(p.Color)});
      std::stable_sort(stops.begin(), stops.end(),
                       [](const QGradientStop& a, const QGradientStop& b) { return a.first < b.first; });
      // Start and stop positions are unit coordinates of the shape's bounds;
      // the brush transform maps them onto the bounds.
      QTransform t = UnitToBounds(bounds);
      if (gradient.Style == THostGradientStyle::Radial) {
        const QPointF c(Finite(gradient.RadialCenter.X, 0.5), Finite(gradient.RadialCenter.Y, 0.5));
        QRadialGradient g(c, 0.5, c);
        g.setStops(stops);
        const qreal angle = Finite(gradient.RadialAngle);
        if (angle != 0) {
          const QPointF centre = t.map(c);
          QTransform r;
          r.translate(centre.x(), centre.y());
          r.rotate(angle);
          r.translate(-centre.x(), -centre.y());
          t = t * r;
        }
        QBrush b(g);
        b.setTransform(t);
        return b;
      }
      QLinearGradient g(QPointF(Finite(gradient.StartPosition.X), Finite(gradient.StartPosition.Y)),
                        QPointF(Finite(gradient.StopPosition.X), Finite(gradient.StopPosition.Y, 1)));
      g.setStops(stops);
      QBrush b(g);
      b.setTransform(t);
      return b;
    }
    case THostBrushKind::Bitmap: {
      if (!bitmap || bitmap->IsEmpty()) return Qt::NoBrush;
      QImage image;
      if (const auto* qb = dynamic_cast<const TQtBitmap*>(bitmap)) {
        image = qb->Image();
      } else {
        // A bitmap of another implementation: copy it pixel by pixel.
        image = QImage(bitmap->Width(), bitmap->Height(), QImage::Format_ARGB32);
        for (int y = 0; y < bitmap->Height(); ++y)
          for (int x = 0; x < bitmap->Width(); ++x) image.setPixelColor(x, y, ToQColor(bitmap->Pixel(x, y)));
      }
      // Tiles start at the shape's top-left corner, one bitmap pixel per
      // device-independent pixel divided by the bitmap scale.
      QBrush b(image);
      QTransform t;
      t.translate(bounds.left(), bounds.top());
      const qreal s = bitmap->BitmapScale() > 0 ? bitmap->BitmapScale() : 1;
      t.scale(1 / s, 1 / s);
      b.setTransform(t);
      return b;
    }
  }
  return Qt::NoBrush;
}

// =============================================================================
// [Text layout]
// =============================================================================

TQtTextLayout::TQtTextLayout(qreal logicalDpiY) : FDpi(logicalDpiY > 0 ? logicalDpiY : 96) {
  FQFont = ToQFont(FFont, FDpi);
  FCache.reserve(KLayoutCache);
}

void TQtTextLayout::EndUpdate() {
  if (FUpdating > 0) --FUpdating;
}

void TQtTextLayout::SetText(const std::string& text) {
  QString s = LayoutText(text);
  if (s != FText) {
    FText = std::move(s);
    FDirty = true;
  }
}

void TQtTextLayout::SetFont(const THostFont& font) {
  if (!(font == FFont)) {
    FFont = font;
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
  for (TLaidOut& cached : FCache) {
    if (cached.Text.size() == FText.size() && cached.Text == FText && cached.Font == FFont) {
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
  entry.Text = FText;
  entry.Font = FFont;
  entry.Layout = std::make_unique<QTextLayout>();
  QTextLayout& layout = *entry.Layout;
  QTextOption option;
  option.setWrapMode(QTextOption::NoWrap);
  option.setAlignment(Qt::AlignLeft | Qt::AlignTop);
  option.setTextDirection(Qt::LeftToRight);
  layout.setTextOption(option);
  layout.setText(FText);
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

void TQtTextLayout::Draw(QPainter& painter) {
  EnsureLayout();
  painter.save();
  SetHint(painter, QPainter::Antialiasing, true);
  SetHint(painter, QPainter::TextAntialiasing, true);
  painter.setOpacity(painter.opacity() * ClampOpacity(FOpacity));
  painter.setPen(ToQColor(FColor));
  painter.setBrush(Qt::NoBrush);
  painter.setFont(FQFont);
  const QPointF origin(FTopLeft.X, FTopLeft.Y);
  if (FMaxSize.X < FWidth || FMaxSize.Y < FHeight)
    painter.setClipRect(QRectF(origin, QSizeF(std::max<qreal>(0, FMaxSize.X), std::max<qreal>(0, FMaxSize.Y))),
                        Qt::IntersectClip);
  // Glyph runs carry no decorations the way the layout draws them:
  // underlined, struck-out and overlined texts are drawn by the layout.
  if (FQFont.underline() || FQFont.strikeOut() || FQFont.overline()) {
    FCurrent->Layout->draw(&painter, origin);
  } else {
    if (!FCurrent->HasRuns) {
      FCurrent->Runs = FCurrent->Layout->glyphRuns();
      FCurrent->HasRuns = true;
    }
    for (const QGlyphRun& run : FCurrent->Runs) painter.drawGlyphRun(origin, run);
  }
  painter.restore();
}

// =============================================================================
// [Canvas]
// =============================================================================

TQtHostCanvas::TQtHostCanvas(QPainter& painter) : FPainter(&painter) {}

TQtHostCanvas::~TQtHostCanvas() {
  // Leave the caller's painter as it was handed over.
  if (FPainter && FPainter->isActive())
    for (std::size_t i = 0; i < FSaved.size(); ++i) FPainter->restore();
}

void TQtHostCanvas::ForgetStates() { FSaved.clear(); }

float TQtHostCanvas::Scale() const {
  if (FPainter && FPainter->device()) return static_cast<float>(FPainter->device()->devicePixelRatioF());
  return 1;
}

qreal TQtHostCanvas::LogicalDpiY() {
  QPainter* p = ActivePainter();
  if (p && p->device()) return p->device()->logicalDpiY();
  return 96;
}

bool TQtHostCanvas::BeginScene() {
  QPainter* p = ActivePainter();
  if (!p || !p->isActive()) return false;
  ++FSceneDepth;
  return true;
}

void TQtHostCanvas::EndScene() {
  if (FSceneDepth > 0) --FSceneDepth;
}

TQtHostCanvas::StateHandle TQtHostCanvas::SaveState() {
  QPainter* p = ActivePainter();
  if (!p) return 0;
  p->save();
  // Handles are unique in the process, so that a handle kept from another
  // canvas (an earlier paint) never matches a state of this one.
  static StateHandle nextHandle = 1;
  FSaved.push_back(nextHandle);
  return nextHandle++;
}

void TQtHostCanvas::RestoreState(StateHandle state) {
  // Restoring a state also discards every state saved after it; an unknown
  // (or already restored) handle does nothing.
  const auto it = std::find(FSaved.begin(), FSaved.end(), state);
  if (it == FSaved.end() || !FPainter) return;
  while (!FSaved.empty()) {
    const StateHandle h = FSaved.back();
    FSaved.pop_back();
    FPainter->restore();
    if (h == state) break;
  }
}

void TQtHostCanvas::IntersectClipRect(const TRectF& r) {
  QPainter* p = ActivePainter();
  if (!p) return;
  p->setClipRect(ToQRectF(r), Qt::IntersectClip);
}

TKelMatrix TQtHostCanvas::Matrix() const {
  if (!FPainter) return TKelMatrix::Identity();
  return ToKelMatrix(FPainter->worldTransform());
}

void TQtHostCanvas::SetMatrix(const TKelMatrix& m) {
  QPainter* p = ActivePainter();
  if (!p) return;
  p->setWorldTransform(ToQTransform(m));
}

bool TQtHostCanvas::PrepareStroke(QPainter& p, const QRectF& bounds, TStrokeShape shape,
                                  QPointF& offset) {
  offset = QPointF(0, 0);
  // Strokes paint in a solid colour or a gradient; other kinds stroke nothing.
  if (FStroke.Kind != THostBrushKind::Solid && FStroke.Kind != THostBrushKind::Gradient) return false;
  const QBrush brush = ToQBrush(FStroke.Kind, FStroke.Color, FStroke.Gradient, nullptr, bounds);
  const qreal width = std::max<qreal>(0, Finite(FStroke.Thickness, 1));
  QPen pen(brush, width);
  switch (FStroke.Cap) {
    case THostStrokeCap::Flat: pen.setCapStyle(Qt::FlatCap); break;
    case THostStrokeCap::Round: pen.setCapStyle(Qt::RoundCap); break;
  }
  switch (FStroke.Join) {
    case THostStrokeJoin::Round: pen.setJoinStyle(Qt::RoundJoin); break;
    case THostStrokeJoin::Bevel: pen.setJoinStyle(Qt::BevelJoin); break;
    case THostStrokeJoin::Miter: pen.setJoinStyle(Qt::MiterJoin); break;
  }
  switch (FStroke.Dash) {
    case THostStrokeDash::Solid: pen.setStyle(Qt::SolidLine); break;
    case THostStrokeDash::Dash: pen.setStyle(Qt::DashLine); break;
    case THostStrokeDash::Dot: pen.setStyle(Qt::DotLine); break;
    case THostStrokeDash::DashDot: pen.setStyle(Qt::DashDotLine); break;
    case THostStrokeDash::DashDotDot: pen.setStyle(Qt::DashDotDotLine); break;
    case THostStrokeDash::Custom: {
      // Qt needs an even number of entries: an odd list repeats once more.
      QList<qreal> pattern;
      qreal total = 0;
      for (float v : FStroke.CustomDash) {
        const qreal d = std::max<qreal>(0, Finite(v));
        pattern.append(d);
        total += d;
      }
      if (pattern.size() % 2 == 1) pattern.append(pattern);
      if (pattern.isEmpty() || !(total > 0))
        pen.setStyle(Qt::SolidLine);
      else
        pen.setDashPattern(pattern);
      break;
    }
  }
  if (pen.style() != Qt::SolidLine) pen.setDashOffset(Finite(FStroke.DashOffset));
  p.setPen(pen);
  p.setBrush(Qt::NoBrush);

  // Axis-aligned geometry under an axis-aligned transform is drawn aliased:
  // integer coordinates then name pixels exactly. Anything else is
  // antialiased, unless the canvas draws everything aliased.
  //
  // A stroke of odd integral width w at coordinate x covers the pixels
  // [x - (w-1)/2, x + (w+1)/2): its centre is the centre of pixel x. On a
  // device with s device pixels per pixel (HiDPI) the same area is s*w
  // device pixels wide, so a 1-pixel line is a crisp s-pixel band inside
  // pixel x. The aliased rasteriser already moves strokes of odd device
  // width by half a device pixel; the offset supplies the rest.
  const QTransform device = p.deviceTransform();
  const bool axisTransform = device.type() <= QTransform::TxScale;
  const bool crisp = shape == TStrokeShape::AxisAligned && axisTransform;
  const bool aliased = crisp || !FAntialiased;
  SetHint(p, QPainter::Antialiasing, !aliased);
  const qreal sx = std::hypot(device.m11(), device.m12());
  const qreal sy = std::hypot(device.m21(), device.m22());
  if (!axisTransform || !(sx > 0) || !(sy > 0)) return true;
  if (!(width > 0)) {
    // Width 0 is a one-device-pixel hairline: onto a device pixel centre
    // (the aliased rasteriser puts it there itself).
    if (!aliased) offset = QPointF(0.5 / sx, 0.5 / sy);
    return true;
  }
  // Thinner strokes than one pixel count as one pixel wide.
  const qreal logicalWidth = std::max<qreal>(width, 1);
  const qreal rounded = std::round(logicalWidth);
  if (std::abs(logicalWidth - rounded) >= 1e-3 || std::fmod(rounded, 2.0) != 1.0) return true;
  // Device pixels the rasteriser moves an aliased stroke by itself.
  const auto ownShift = [&](qreal scale) -> qreal {
    if (!aliased) return 0;
    const qreal deviceWidth = logicalWidth * scale;
    const qreal deviceRounded = std::round(deviceWidth);
    return std::abs(deviceWidth - deviceRounded) < 1e-3 && std::fmod(deviceRounded, 2.0) == 1.0 ? 0.5 : 0;
  };
  offset = QPointF((0.5 * sx - ownShift(sx)) / sx, (0.5 * sy - ownShift(sy)) / sy);
  return true;
}

bool TQtHostCanvas::PrepareFill(QPainter& p, const QRectF& bounds, bool antialias) {
  const QBrush brush = ToQBrush(FFill.Kind, FFill.Color, FFill.Gradient, FFill.Bitmap, bounds);
  if (brush.style() == Qt::NoBrush) return false;
  p.setPen(Qt::NoPen);
  p.setBrush(brush);
  SetHint(p, QPainter::Antialiasing, antialias && FAntialiased);
  return true;
}

namespace {
// True when the rectangle is drawn with shaped corners.
bool HasShapedCorners(const QRectF& r, float xRadius, float yRadius, std::uint8_t corners) {
  return (corners & hcAll) != 0 && std::min<qreal>(std::abs(Finite(xRadius)), r.width() / 2) > 0 &&
         std::min<qreal>(std::abs(Finite(yRadius)), r.height() / 2) > 0;
}
}  // namespace

QPainterPath TQtHostCanvas::RectPath(const TRectF& rect, float xRadius, float yRadius,
                                     std::uint8_t corners, THostCornerType cornerType) const {
  const QRectF r = ToQRectF(rect);
  QPainterPath path;
  const qreal rx = std::min<qreal>(std::abs(Finite(xRadius)), r.width() / 2);
  const qreal ry = std::min<qreal>(std::abs(Finite(yRadius)), r.height() / 2);
  if (!HasShapedCorners(r, xRadius, yRadius, corners)) {
    path.addRect(r);
    return path;
  }
  const qreal L = r.left(), T = r.top(), R = r.right(), B = r.bottom();
  // Each corner in drawing order (clockwise from the top edge): its flag,
  // the point where the corner begins and ends, the inward centre of a
  // convex arc, and the start angles of the convex and concave arcs (Qt's
  // counter-clockwise degrees).
  struct Corner {
    std::uint8_t flag;
    QPointF corner, from, to, inner;
    qreal convexStart, concaveStart;
  };
  const Corner list[] = {
      {hcTopRight, {R, T}, {R - rx, T}, {R, T + ry}, {R - rx, T + ry}, 90, 180},
      {hcBottomRight, {R, B}, {R, B - ry}, {R - rx, B}, {R - rx, B - ry}, 0, 90},
      {hcBottomLeft, {L, B}, {L + rx, B}, {L, B - ry}, {L + rx, B - ry}, 270, 0},
      {hcTopLeft, {L, T}, {L, T + ry}, {L + rx, T}, {L + rx, T + ry}, 180, 270},
  };
  const bool topLeft = corners & hcTopLeft;
  path.moveTo(topLeft ? QPointF(L + rx, T) : QPointF(L, T));
  for (const Corner& c : list) {
    if (!(corners & c.flag)) {
      path.lineTo(c.corner);
      continue;
    }
    path.lineTo(c.from);
    switch (cornerType) {
      case THostCornerType::Round:
        path.arcTo(QRectF(c.inner.x() - rx, c.inner.y() - ry, 2 * rx, 2 * ry), c.convexStart, -90);
        break;
      case THostCornerType::Bevel:
        path.lineTo(c.to);
        break;
      case THostCornerType::InnerRound:
        path.arcTo(QRectF(c.corner.x() - rx, c.corner.y() - ry, 2 * rx, 2 * ry), c.concaveStart, 90);
        break;
      case THostCornerType::InnerLine:
        // A square notch: in along one edge's normal, then out to the other edge.
        path.lineTo(c.inner);
        path.lineTo(c.to);
        break;
    }
  }
  path.closeSubpath();
  return path;
}

void TQtHostCanvas::FillRect(const TRectF& r, float xRadius, float yRadius, std::uint8_t corners,
                             float opacity, THostCornerType cornerType) {
  QPainter* p = ActivePainter();
  if (!p) return;
  const QRectF q = ToQRectF(r);
  const bool square = !HasShapedCorners(q, xRadius, yRadius, corners);
  if (!PrepareFill(*p, q, !square)) return;
  p->setOpacity(ClampOpacity(opacity));
  if (square)
    p->drawRect(q);
  else
    p->drawPath(RectPath(r, xRadius, yRadius, corners, cornerType));
}

void TQtHostCanvas::DrawRect(const TRectF& r, float xRadius, float yRadius, std::uint8_t corners,
                             float opacity, THostCornerType cornerType) {
  QPainter* p = ActivePainter();
  if (!p) return;
  const QRectF q = ToQRectF(r);
  const bool square = !HasShapedCorners(q, xRadius, yRadius, corners);
  QPointF offset;
  if (!PrepareStroke(*p, q, square ? TStrokeShape::AxisAligned : TStrokeShape::Free, offset)) return;
  p->setOpacity(ClampOpacity(opacity));
  if (square)
    p->drawRect(q.translated(offset));
  else
    p->drawPath(RectPath(r, xRadius, yRadius, corners, cornerType).translated(offset));
}

void TQtHostCanvas::FillEllipse(const TRectF& r, float opacity) {
  QPainter* p = ActivePainter();
  if (!p) return;
  const QRectF q = ToQRectF(r);
  if (!PrepareFill(*p, q, true)) return;
  p->setOpacity(ClampOpacity(opacity));
  p->drawEllipse(q);
}

void TQtHostCanvas::DrawEllipse(const TRectF& r, float opacity) {
  QPainter* p = ActivePainter();
  if (!p) return;
  const QRectF q = ToQRectF(r);
  QPointF offset;
  if (!PrepareStroke(*p, q, TStrokeShape::Free, offset)) return;
  p->setOpacity(ClampOpacity(opacity));
  p->drawEllipse(q.translated(offset));
}

void TQtHostCanvas::DrawLine(TPointF p1, TPointF p2, float opacity) {
  QPainter* p = ActivePainter();
  if (!p) return;
  const QPointF a = ToQPointF(p1), b = ToQPointF(p2);
  const TPointF pts[2] = {p1, p2};
  const bool axisAligned = AxisAligned(pts, 2);
  QPointF offset;
  if (!PrepareStroke(*p, QRectF(a, b).normalized(), axisAligned ? TStrokeShape::AxisAligned : TStrokeShape::Free,
                     offset))
    return;
  p->setOpacity(ClampOpacity(opacity));
  if (axisAligned && DrawCrispRun(*p, a + offset, b + offset, opacity)) return;
  p->drawLine(a + offset, b + offset);
}

// Grid lines, ticks and frames are crisp one-pixel lines along a pixel row
// or column. The rasteriser steps such a pen pixel by pixel, blending each
// pixel (or dash) on its own, which costs far more than the line's length in
// pixels. The same pixels come from one rectangle, filled with the colour
// for a solid pen and with the dash pattern as a tiled texture otherwise:
// - the pattern (Qt's dash lengths for a one-pixel pen) starts at the
//   line's first end and runs towards the second, advanced by the dash
//   offset;
// - with a flat cap the line covers the pixels from its lower coordinate up
//   to but not including its higher one, the pattern starting on the pixel
//   next to the first end when the line runs backwards; with a round cap it
//   covers both ends.
// The shortcut is taken only where this has been checked to give the very
// same pixels: an opaque solid colour at full opacity, source-over, a pen of
// exactly one pixel with a whole dash offset, whole-pixel ends under a
// whole-pixel translation, and a line that lies entirely on the device (the
// rasteriser restarts the pattern where the device edge cuts a line; a clip
// rectangle does not matter).
bool TQtHostCanvas::DrawCrispRun(QPainter& p, QPointF a, QPointF b, qreal opacity) {
  static constexpr int KDash[] = {4, 2};
  static constexpr int KDot[] = {1, 2};
  static constexpr int KDashDot[] = {4, 2, 1, 2};
  static constexpr int KDashDotDot[] = {4, 2, 1, 2, 1, 2};
  // A custom pattern of whole pixels (the small dots of grid pens, for
  // example), repeated once when its length is odd as PrepareStroke does.
  static constexpr std::size_t KMaxCustom = 16;
  int custom[2 * KMaxCustom];
  static constexpr int KSolid[] = {1};
  std::span<const int> pattern;
  switch (FStroke.Dash) {
    case THostStrokeDash::Solid: pattern = KSolid; break;
    case THostStrokeDash::Dash: pattern = KDash; break;
    case THostStrokeDash::Dot: pattern = KDot; break;
    case THostStrokeDash::DashDot: pattern = KDashDot; break;
    case THostStrokeDash::DashDotDot: pattern = KDashDotDot; break;
    case THostStrokeDash::Custom: {
      const std::vector<float>& lengths = FStroke.CustomDash;
      if (lengths.empty() || lengths.size() > KMaxCustom) return false;
      std::size_t n = 0;
      for (float v : lengths) {
        if (!(v >= 1 && v <= 64) || v != std::round(v)) return false;
        custom[n++] = static_cast<int>(v);
      }
      if (n % 2 == 1)
        for (std::size_t i = 0; i < lengths.size(); ++i) custom[n++] = custom[i];
      pattern = std::span<const int>(custom, n);
      break;
    }
    default: return false;
  }
  if (FStroke.Kind != THostBrushKind::Solid || (FStroke.Color >> 24) != 0xFF || FStroke.Thickness != 1 ||
      ClampOpacity(opacity) != 1 || p.opacity() != 1 || p.compositionMode() != QPainter::CompositionMode_SourceOver)
    return false;
  const qreal dashOffset = Finite(FStroke.DashOffset);
  if (dashOffset != std::round(dashOffset) || std::abs(dashOffset) > 1e6) return false;
  const QTransform device = p.deviceTransform();
  if (device.type() > QTransform::TxTranslate || device.dx() != std::round(device.dx()) ||
      device.dy() != std::round(device.dy()))
    return false;
  auto whole = [](QPointF q) {
    return q.x() == std::round(q.x()) && q.y() == std::round(q.y()) && std::abs(q.x()) < 1e6 && std::abs(q.y()) < 1e6;
  };
  if (a == b || !whole(a) || !whole(b)) return false;
  const bool horizontal = a.y() == b.y();
  if (!horizontal && a.x() != b.x()) return false;

  // The covered pixel range lo..hi along the line, and the pixel where the
  // pattern starts.
  int from = static_cast<int>(horizontal ? a.x() : a.y());
  const int to = static_cast<int>(horizontal ? b.x() : b.y());
  const int dir = to > from ? 1 : -1;
  int lo, hi;
  if (FStroke.Cap == THostStrokeCap::Flat) {
    if (dir < 0) --from;
    lo = dir > 0 ? from : to;
    hi = dir > 0 ? to - 1 : from;
  } else {
    lo = std::min(from, to);
    hi = std::max(from, to);
  }
  const int fixed = static_cast<int>(horizontal ? a.y() : a.x());

  // Entirely on the device.
  const int dx = static_cast<int>(device.dx()), dy = static_cast<int>(device.dy());
  const QPaintDevice* target = p.device();
  if (!target) return false;
  const int deviceLo = lo + (horizontal ? dx : dy), deviceHi = hi + (horizontal ? dx : dy);
  const int deviceFixed = fixed + (horizontal ? dy : dx);
  const int along = horizontal ? target->width() : target->height();
  const int across = horizontal ? target->height() : target->width();
  if (deviceLo < 0 || deviceHi >= along || deviceFixed < 0 || deviceFixed >= across) return false;

  const int length = hi - lo + 1;
  const QRect run = horizontal ? QRect(lo, fixed, length, 1) : QRect(fixed, lo, 1, length);
  SetHint(p, QPainter::Antialiasing, false);
  if (FStroke.Dash == THostStrokeDash::Solid) {
    p.fillRect(run, QColor::fromRgba(FStroke.Color));
    ++FCrispRuns;
    return true;
  }

  int period = 0;
  for (int v : pattern) period += v;
  auto on = [&](int position) {
    int end = 0;
    for (std::size_t i = 0; i < pattern.size(); ++i) {
      end += pattern[i];
      if (position < end) return i % 2 == 0;
    }
    return false;
  };
  // Texture pixel t covers the logical coordinates q with q - origin = t
  // (mod period); such a q is k = dir * (q - from) steps from the start.
  const QPointF brushOrigin = p.brushOrigin();
  if (brushOrigin != QPointF(std::round(brushOrigin.x()), std::round(brushOrigin.y()))) return false;
  const int origin = static_cast<int>(horizontal ? brushOrigin.x() : brushOrigin.y());
  const int phase = static_cast<int>(std::fmod(dashOffset, static_cast<qreal>(period)));
  QImage texture(horizontal ? period : 1, horizontal ? 1 : period, QImage::Format_ARGB32_Premultiplied);
  texture.fill(Qt::transparent);
  const QRgb colour = FStroke.Color;
  for (int t = 0; t < period; ++t) {
    const int q = origin + t;
    const int k = dir * (q - from);
    const int position = ((k + phase) % period + period) % period;
    if (!on(position)) continue;
    if (horizontal)
      texture.setPixel(t, 0, colour);
    else
      texture.setPixel(0, t, colour);
  }
  p.fillRect(run, QBrush(texture));
  ++FCrispRuns;
  return true;
}

void TQtHostCanvas::DrawArc(TPointF center, TPointF radius, float startAngle, float sweepAngle,
                            float opacity) {
  QPainter* p = ActivePainter();
  if (!p) return;
  THostPath arc;
  arc.AddArc(center, radius, startAngle, sweepAngle);
  const QPainterPath path = ToQPainterPath(arc);
  QPointF offset;
  if (!PrepareStroke(*p, path.boundingRect(), TStrokeShape::Free, offset)) return;
  p->setOpacity(ClampOpacity(opacity));
  p->drawPath(path.translated(offset));
}

void TQtHostCanvas::FillPath(const THostPath& path, float opacity) {
  QPainter* p = ActivePainter();
  if (!p || path.IsEmpty()) return;
  const QPainterPath q = ToQPainterPath(path);
  if (!PrepareFill(*p, q.boundingRect(), !AxisAligned(path))) return;
  p->setOpacity(ClampOpacity(opacity));
  p->drawPath(q);
}

void TQtHostCanvas::DrawPath(const THostPath& path, float opacity) {
  QPainter* p = ActivePainter();
  if (!p || path.IsEmpty()) return;
  const QPainterPath q = ToQPainterPath(path);
  QPointF offset;
  if (!PrepareStroke(*p, q.boundingRect(),
                     AxisAligned(path) ? TStrokeShape::AxisAligned : TStrokeShape::Free, offset))
    return;
  p->setOpacity(ClampOpacity(opacity));
  p->drawPath(offset.isNull() ? q : q.translated(offset));
}

void TQtHostCanvas::DrawPolyline(const TPointF* points, std::size_t count, float opacity) {
  QPainter* p = ActivePainter();
  if (!p || !points || count == 0) return;
  // The native line list: 1 pixel wide, solid, in the stroke colour,
  // whatever the rest of the stroke says.
  const THostStroke saved = FStroke;
  FStroke.Kind = THostBrushKind::Solid;
  FStroke.Thickness = 1;
  FStroke.Dash = THostStrokeDash::Solid;
  FPolyline.resize(count);
  QPointF* out = FPolyline.data();
  for (std::size_t i = 0; i < count; ++i) out[i] = QPointF(points[i].X, points[i].Y);
  QPointF offset;
  const bool ok = PrepareStroke(*p, QRectF(),
                                AxisAligned(points, count) ? TStrokeShape::AxisAligned : TStrokeShape::Free,
                                offset);
  FStroke = saved;
  if (!ok) return;
  if (!offset.isNull())
    for (std::size_t i = 0; i < count; ++i) out[i] += offset;
  p->setOpacity(ClampOpacity(opacity));
  if (count == 1)
    p->drawPoint(out[0]);
  else
    p->drawPolyline(out, static_cast<int>(std::min<std::size_t>(count, INT_MAX)));
}

// Connected segments drawn exactly as DrawLine draws each of them: the
// same pen, axis-aligned segments crisp and the others antialiased, each
// shifted as PrepareStroke says, in their order; the pen is set up once for the
// whole list instead of once per segment. (QPainter::drawLines with several
// lines is not used: some of its pixels differ from separate drawLine
// calls.) A gradient spans each segment's own box, so gradient strokes take
// DrawLine for every segment.
//
// Opaque crisp runs. With an opaque colour at full opacity, a flat cap, a
// solid one-pixel pen, whole-pixel coordinates, whole-pixel device offsets
// and no shift of crisp strokes, a crisp segment from a to b along one pixel row or column paints
// the pixels from min(a, b) up to but not including max(a, b) in the pen
// colour (a zero-length one paints its own pixel), and painting a pixel
// twice leaves it the same. Consecutive such segments on one column (or
// row) therefore paint exactly the pixels of one line from their lowest to
// their highest end (plus the pixel at the highest end when a zero-length
// segment sits there), drawn at the same place in the sequence. The random
// walk of a large series is mostly such runs: one call per pixel column
// instead of one per point.
void TQtHostCanvas::DrawConnectedLines(const TPointF* points, std::size_t count, float opacity) {
  QPainter* p = ActivePainter();
  if (!p || !points || count < 2) return;
  if (FStroke.Kind != THostBrushKind::Solid) {
    IHostCanvas::DrawConnectedLines(points, count, opacity);
    return;
  }
  // The shifts PrepareStroke gives crisp and slanted strokes; the second
  // call leaves the painter set up for slanted ones.
  QPointF crispOffset;
  QPointF freeOffset;
  if (!PrepareStroke(*p, QRectF(), TStrokeShape::AxisAligned, crispOffset)) return;
  PrepareStroke(*p, QRectF(), TStrokeShape::Free, freeOffset);
  const qreal alpha = ClampOpacity(opacity);
  p->setOpacity(alpha);
  const QTransform device = p->deviceTransform();
  const bool axisTransform = device.type() <= QTransform::TxScale;
  const bool opaqueRuns = (FStroke.Color >> 24) == 0xFF && alpha == 1 && FStroke.Cap == THostStrokeCap::Flat &&
                          FStroke.Dash == THostStrokeDash::Solid && Finite(FStroke.Thickness, 1) <= 1 &&
                          device.type() <= QTransform::TxTranslate && device.dx() == std::round(device.dx()) &&
                          device.dy() == std::round(device.dy()) && crispOffset.isNull() &&
                          p->compositionMode() == QPainter::CompositionMode_SourceOver;
  auto whole = [](TPointF q) { return q.X == std::round(q.X) && q.Y == std::round(q.Y); };
  bool antialiased = FAntialiased;  // as PrepareStroke left it
  auto setCrisp = [&](bool crisp) {
    const bool wanted = !crisp && FAntialiased;
    if (wanted == antialiased) return;
    antialiased = wanted;
    p->setRenderHint(QPainter::Antialiasing, antialiased);
  };
  std::size_t i = 1;
  while (i < count) {
    const TPointF a = points[i - 1];
    const TPointF b = points[i];
    const bool crisp = axisTransform && (a.X == b.X || a.Y == b.Y);
    setCrisp(crisp);
    if (!crisp) {
      p->drawLine(ToQPointF(a) + freeOffset, ToQPointF(b) + freeOffset);
      ++i;
      continue;
    }
    if (!opaqueRuns || !whole(a) || !whole(b)) {
      p->drawLine(ToQPointF(a) + crispOffset, ToQPointF(b) + crispOffset);
      ++i;
      continue;
    }
    // The run of whole-pixel segments on this column (a zero-length first
    // segment starts a column run too) or row.
    const bool vertical = a.X == b.X;
    const float fixed = vertical ? a.X : a.Y;
    auto along = [vertical](TPointF q) { return vertical ? q.Y : q.X; };
    float lo = std::min(along(a), along(b));
    float hi = std::max(along(a), along(b));
    bool zero = a == b;
    float zeroMax = along(a);
    std::size_t j = i + 1;
    for (; j < count; ++j) {
      const TPointF c = points[j - 1];
      const TPointF d = points[j];
      const bool onLine = vertical ? (c.X == fixed && d.X == fixed) : (c.Y == fixed && d.Y == fixed);
      if (!onLine || !whole(d)) break;
      lo = std::min(lo, std::min(along(c), along(d)));
      hi = std::max(hi, std::max(along(c), along(d)));
      if (c == d) {
        zeroMax = zero ? std::max(zeroMax, along(c)) : along(c);
        zero = true;
      }
    }
    auto at = [&](float t) { return vertical ? QPointF(fixed, t) : QPointF(t, fixed); };
    if (hi > lo) p->drawLine(at(lo), at(hi));
    if (zero && zeroMax == hi) p->drawLine(at(hi), at(hi));
    i = j;
  }
}

void TQtHostCanvas::DrawBitmap(const IHostBitmap& bitmap, const TRectF& src, const TRectF& dst,
                               float opacity, bool highSpeed) {
  QPainter* p = ActivePainter();
  if (!p || bitmap.IsEmpty()) return;
  p->setOpacity(ClampOpacity(opacity));
  SetHint(*p, QPainter::SmoothPixmapTransform, !highSpeed);
  SetHint(*p, QPainter::Antialiasing, false);
  // Source rectangles are in bitmap pixels; the device pixel ratio of the
  // image must not scale them again.
  if (const auto* qb = dynamic_cast<const TQtBitmap*>(&bitmap)) {
    QImage image = qb->Image();
    image.setDevicePixelRatio(1);
    p->drawImage(ToQRectF(dst), image, ToQRectF(src));
    return;
  }
  QImage image(bitmap.Width(), bitmap.Height(), QImage::Format_ARGB32);
  for (int y = 0; y < bitmap.Height(); ++y)
    for (int x = 0; x < bitmap.Width(); ++x) image.setPixelColor(x, y, ToQColor(bitmap.Pixel(x, y)));
  p->drawImage(ToQRectF(dst), image, ToQRectF(src));
}

std::unique_ptr<IHostTextLayout> TQtHostCanvas::CreateTextLayout() {
  return std::make_unique<TQtTextLayout>(LogicalDpiY());
}

void TQtHostCanvas::RenderLayout(IHostTextLayout& layout) {
  QPainter* p = ActivePainter();
  auto* q = dynamic_cast<TQtTextLayout*>(&layout);
  if (!p || !q) return;
  q->Draw(*p);
}

bool TQtHostCanvas::TextToPath(THostPath& path, const std::string& text, const THostFont& font,
                               const TRectF& area) {
  path.Clear();
  // Lay the text out as the text layout does (leading alignment, no wrap)
  // and take the glyph outlines line by line.
  const QFont qfont = ToQFont(font, LogicalDpiY());
  QPainterPath outline;
  const QFontMetricsF metrics(qfont);
  const QStringList lines = LayoutText(text).split(QChar::LineSeparator);
  qreal y = area.Top;
  for (const QString& line : lines) {
    outline.addText(QPointF(area.Left, y + metrics.ascent()), qfont, line);
    y += metrics.height();
  }
  // Host paths hold straight segments only: flatten the glyph curves.
  for (const QPolygonF& polygon : outline.toSubpathPolygons()) {
    if (polygon.isEmpty()) continue;
    path.MoveTo({static_cast<float>(polygon[0].x()), static_cast<float>(polygon[0].y())});
    for (qsizetype i = 1; i < polygon.size(); ++i)
      path.LineTo({static_cast<float>(polygon[i].x()), static_cast<float>(polygon[i].y())});
    path.ClosePath();
  }
  return true;
}

std::unique_ptr<IHostBitmap> TQtHostCanvas::CreateBitmap(int width, int height, float scale) {
  return std::make_unique<TQtBitmap>(width, height, scale);
}

// =============================================================================
// [Bitmap]
// =============================================================================

TQtImageCanvas::~TQtImageCanvas() { Close(); }

QPainter* TQtImageCanvas::ActivePainter() {
  if (FPainter) return FPainter;
  QImage& image = FOwner.Image();
  if (image.isNull()) return nullptr;
  FOwnPainter = std::make_unique<QPainter>();
  if (!FOwnPainter->begin(&image)) {
    FOwnPainter.reset();
    return nullptr;
  }
  FPainter = FOwnPainter.get();
  FPainter->setWorldTransform(ToQTransform(FMatrix));
  return FPainter;
}

bool TQtImageCanvas::BeginScene() {
  if (!ActivePainter()) return false;
  ++FSceneDepth;
  return true;
}

void TQtImageCanvas::EndScene() {
  if (FSceneDepth > 0 && --FSceneDepth == 0) Close();
}

void TQtImageCanvas::SetMatrix(const TKelMatrix& m) {
  FMatrix = m;
  if (FPainter) FPainter->setWorldTransform(ToQTransform(m));
}

void TQtImageCanvas::Close() {
  if (!FPainter) return;
  FMatrix = ToKelMatrix(FPainter->worldTransform());
  ForgetStates();
  FOwnPainter->end();
  FOwnPainter.reset();
  FPainter = nullptr;
  FSceneDepth = 0;
}

TQtBitmap::TQtBitmap(int width, int height, float scale)
    : FScale(std::isfinite(scale) && scale > 0 ? scale : 1), FCanvas(std::make_unique<TQtImageCanvas>(*this)) {
  SetSize(width, height);
}

TQtBitmap::~TQtBitmap() { FCanvas.reset(); }

void TQtBitmap::SetSize(int width, int height) {
  FCanvas->Close();
  width = std::max(0, width);
  height = std::max(0, height);
  if (width == 0 || height == 0) {
    FImage = QImage();
    return;
  }
  FImage = QImage(width, height, QImage::Format_ARGB32_Premultiplied);
  if (FImage.isNull()) return;  // too large to allocate: an empty bitmap
  FImage.setDevicePixelRatio(FScale);
  FImage.fill(Qt::transparent);
}

void TQtBitmap::Clear(TColor color) {
  if (FImage.isNull()) return;
  // Also fine while a painter is open: the raster painter writes straight
  // into the same, unshared pixel buffer.
  FImage.fill(ToQColor(color));
}

TColor TQtBitmap::Pixel(int x, int y) const {
  if (x < 0 || y < 0 || x >= FImage.width() || y >= FImage.height()) return 0;
  return FImage.pixelColor(x, y).rgba();
}

void TQtBitmap::SetPixel(int x, int y, TColor color) {
  if (x < 0 || y < 0 || x >= FImage.width() || y >= FImage.height()) return;
  FImage.setPixelColor(x, y, ToQColor(color));
}

}  // namespace sextant

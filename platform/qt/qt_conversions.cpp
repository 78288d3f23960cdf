#include "platform/qt/qt_conversions_p.h"

#include <QGradient>
#include <QImage>

#include "platform/qt/qt_image_p.h"

namespace sextant {

namespace {

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

}  // namespace

QString LayoutText(const std::string& text) {
  QString s = FromUtf8(text);
  s.replace(QLatin1String("\r\n"), QString(QChar::LineSeparator));
  s.replace(QLatin1Char('\r'), QChar::LineSeparator);
  s.replace(QLatin1Char('\n'), QChar::LineSeparator);
  return s;
}

bool AxisAligned(const TPointF* points, std::size_t count) {
  for (std::size_t i = 1; i < count; ++i)
    if (points[i].X != points[i - 1].X && points[i].Y != points[i - 1].Y) return false;
  return true;
}

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
      // Tiles start at the shape's top-left corner, one bitmap pixel per
      // device-independent pixel divided by the bitmap scale.
      QBrush b(HostBitmapImage(*bitmap));
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

}  // namespace sextant

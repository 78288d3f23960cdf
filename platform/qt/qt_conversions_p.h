// Conversions between the host canvas' value types and Qt's, shared by the
// parts of the Qt back end. Internal: not installed.
#pragma once

#include <QBrush>
#include <QColor>
#include <QFont>
#include <QPainter>
#include <QPainterPath>
#include <QPointF>
#include <QRectF>
#include <QString>
#include <QTransform>

#include <algorithm>
#include <cmath>
#include <string>

#include "platform/host_canvas.h"

namespace sextant {

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

inline QRectF ToQRectF(const TRectF& r) {
  return QRectF(QPointF(r.Left, r.Top), QPointF(r.Right, r.Bottom)).normalized();
}
inline QPointF ToQPointF(TPointF p) { return QPointF(p.X, p.Y); }

// Guards against NaN and negative sizes handed to Qt.
inline qreal Finite(qreal v, qreal fallback = 0) { return std::isfinite(v) ? v : fallback; }

inline qreal ClampOpacity(float opacity) {
  if (!std::isfinite(opacity)) return 1;
  return std::clamp<qreal>(opacity, 0, 1);
}

// QPainter::setRenderHint tells the paint engine even when nothing
// changes, which costs the raster engine a state update per call; strokes
// and fills set the hint for every primitive.
inline void SetHint(QPainter& Painter, QPainter::RenderHint Hint, bool On) {
  if (Painter.testRenderHint(Hint) != On) Painter.setRenderHint(Hint, On);
}

inline QString FromUtf8(const std::string& s) {
  return QString::fromUtf8(s.data(), static_cast<qsizetype>(s.size()));
}

// Line breaks of engine texts: CR (with an optional LF after it) or LF alone
// become Unicode line separators, which QTextLayout breaks at.
QString LayoutText(const std::string& text);

// True when every segment of the polyline is horizontal or vertical.
bool AxisAligned(const TPointF* points, std::size_t count);
// True when the path consists of straight axis-aligned segments only
// (rounded rectangles with zero radii count as rectangles).
bool AxisAligned(const THostPath& path);

}  // namespace sextant

#include "platform/qt/qt_stroke_p.h"

#include <QList>

#include <algorithm>
#include <cmath>

#include "platform/qt/qt_conversions_p.h"

namespace sextant {

QPen ToQPen(const THostStroke& stroke, const QBrush& brush) {
  QPen pen(brush, std::max<qreal>(0, Finite(stroke.Thickness, 1)));
  switch (stroke.Cap) {
    case THostStrokeCap::Flat: pen.setCapStyle(Qt::FlatCap); break;
    case THostStrokeCap::Round: pen.setCapStyle(Qt::RoundCap); break;
  }
  switch (stroke.Join) {
    case THostStrokeJoin::Round: pen.setJoinStyle(Qt::RoundJoin); break;
    case THostStrokeJoin::Bevel: pen.setJoinStyle(Qt::BevelJoin); break;
    case THostStrokeJoin::Miter: pen.setJoinStyle(Qt::MiterJoin); break;
  }
  switch (stroke.Dash) {
    case THostStrokeDash::Solid: pen.setStyle(Qt::SolidLine); break;
    case THostStrokeDash::Dash: pen.setStyle(Qt::DashLine); break;
    case THostStrokeDash::Dot: pen.setStyle(Qt::DotLine); break;
    case THostStrokeDash::DashDot: pen.setStyle(Qt::DashDotLine); break;
    case THostStrokeDash::DashDotDot: pen.setStyle(Qt::DashDotDotLine); break;
    case THostStrokeDash::Custom: {
      // Qt needs an even number of entries: an odd list repeats once more.
      QList<qreal> pattern;
      qreal total = 0;
      for (float v : stroke.CustomDash) {
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
  if (pen.style() != Qt::SolidLine) pen.setDashOffset(Finite(stroke.DashOffset));
  return pen;
}

// A stroke of odd integral width w at coordinate x covers the pixels
// [x - (w-1)/2, x + (w+1)/2): its centre is the centre of pixel x. On a
// device with s device pixels per pixel (HiDPI) the same area is s*w
// device pixels wide, so a 1-pixel line is a crisp s-pixel band inside
// pixel x. The aliased rasteriser already moves strokes of odd device
// width by half a device pixel; the shift supplies the rest.
QPointF StrokeShift(const QTransform& device, qreal width, bool aliased) {
  const bool axisTransform = device.type() <= QTransform::TxScale;
  const qreal sx = std::hypot(device.m11(), device.m12());
  const qreal sy = std::hypot(device.m21(), device.m22());
  if (!axisTransform || !(sx > 0) || !(sy > 0)) return {};
  if (!(width > 0)) {
    // Width 0 is a one-device-pixel hairline: onto a device pixel centre
    // (the aliased rasteriser puts it there itself).
    return aliased ? QPointF() : QPointF(0.5 / sx, 0.5 / sy);
  }
  // Thinner strokes than one pixel count as one pixel wide.
  const qreal logicalWidth = std::max<qreal>(width, 1);
  const qreal rounded = std::round(logicalWidth);
  if (std::abs(logicalWidth - rounded) >= 1e-3 || std::fmod(rounded, 2.0) != 1.0) return {};
  // Device pixels the rasteriser moves an aliased stroke by itself.
  const auto ownShift = [&](qreal scale) -> qreal {
    if (!aliased) return 0;
    const qreal deviceWidth = logicalWidth * scale;
    const qreal deviceRounded = std::round(deviceWidth);
    return std::abs(deviceWidth - deviceRounded) < 1e-3 && std::fmod(deviceRounded, 2.0) == 1.0 ? 0.5 : 0;
  };
  return QPointF((0.5 * sx - ownShift(sx)) / sx, (0.5 * sy - ownShift(sy)) / sy);
}

}  // namespace sextant

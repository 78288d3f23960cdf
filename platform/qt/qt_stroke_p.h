// Stroke preparation of the Qt host: the QPen of a host stroke and the
// shift that puts odd-width strokes on pixel centres. Internal: not
// installed.
#pragma once

#include <QBrush>
#include <QPen>
#include <QPointF>
#include <QTransform>

#include "platform/host_canvas.h"

namespace sextant {

// The pen of a host stroke painting with brush: width (never negative),
// cap, join and dash pattern.
QPen ToQPen(const THostStroke& stroke, const QBrush& brush);

// The shift that puts a stroke of the given width on the centres of the
// pixels its coordinates name, in device-independent pixels, under the
// painter's device transform; aliased tells whether the rasteriser draws
// it aliased (it then shifts odd device widths by half a device pixel
// itself).
QPointF StrokeShift(const QTransform& device, qreal width, bool aliased);

}  // namespace sextant

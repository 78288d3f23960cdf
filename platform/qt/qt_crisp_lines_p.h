// Crisp one-pixel lines along a pixel row or column drawn as filled
// rectangles instead of pen strokes. Internal: not installed.
#pragma once

#include <QPainter>
#include <QPointF>

#include <cstdint>

#include "platform/host_canvas.h"

namespace sextant {

// Draws the line from a to b (device-independent coordinates, already
// shifted as the stroke preparation says) with the stroke as one filled
// rectangle, in the colour for a solid pen and with the dash pattern as a
// tiled texture otherwise, when that gives exactly the pixels the
// rasteriser's own stepping would; false (nothing drawn) otherwise.
bool DrawCrispRun(QPainter& p, const THostStroke& stroke, QPointF a, QPointF b, qreal opacity);

// Lines drawn as filled rectangles since the program started; tests read
// the difference around a drawing.
std::uint64_t CrispRunsDrawn();

}  // namespace sextant

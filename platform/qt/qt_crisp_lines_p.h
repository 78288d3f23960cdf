// Crisp one-pixel lines along a pixel row or column drawn as filled
// rectangles instead of pen strokes. Internal: not installed.
#pragma once

#include <QPainter>
#include <QPointF>

#include <cstddef>
#include <cstdint>
#include <span>

#include "platform/host_canvas.h"

namespace sextant {

// Draws the line from a to b (device-independent coordinates, already
// shifted as the stroke preparation says) with the stroke as one filled
// rectangle, in the colour for a solid pen and with the dash pattern as a
// tiled texture otherwise, when that gives exactly the pixels the
// rasteriser's own stepping would; false (nothing drawn) otherwise.
bool DrawCrispRun(QPainter& p, const THostStroke& stroke, QPointF a, QPointF b, qreal opacity);

// One figure of an outline: a polyline of axis-aligned segments, joined
// back from its last point to its first when closed.
struct TCrispFigure {
  const QPointF* Points;
  std::size_t Count;
  bool Closed;
};

// Draws the outline of the figures (device-independent coordinates, already
// shifted) with a solid stroke as filled rectangles, one per segment, when
// that gives exactly the pixels of QPainter's own stroke of the same figures
// in one path; false (nothing drawn) otherwise.
bool DrawCrispOutline(QPainter& p, const THostStroke& stroke, std::span<const TCrispFigure> figures, qreal opacity);

// The same for a host path of straight segments only, moved by offset;
// false (nothing drawn) for any other path.
bool DrawCrispPath(QPainter& p, const THostStroke& stroke, const THostPath& path, QPointF offset, qreal opacity);

// Lines drawn as filled rectangles since the program started; tests read
// the difference around a drawing.
std::uint64_t CrispRunsDrawn();

}  // namespace sextant

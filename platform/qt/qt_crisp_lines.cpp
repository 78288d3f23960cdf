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
#include "platform/qt/qt_crisp_lines_p.h"

#include <QImage>
#include <QPaintDevice>

#include <algorithm>
#include <cmath>
#include <span>

#include "platform/qt/qt_conversions_p.h"

namespace sextant {

namespace {

std::uint64_t GCrispRuns = 0;

// Room for a custom pattern of whole pixels (the small dots of grid pens,
// for example), repeated once when its length is odd as the pen is.
constexpr std::size_t KMaxCustom = 16;
struct TPatternStore {
  int Lengths[2 * KMaxCustom];
};

// The stroke's dash pattern in whole pixels of a one-pixel pen (on, off,
// on ...); empty when the pattern has fractions or is too long for the
// shortcut.
std::span<const int> CrispPattern(const THostStroke& stroke, TPatternStore& store) {
  static constexpr int KSolid[] = {1};
  static constexpr int KDash[] = {4, 2};
  static constexpr int KDot[] = {1, 2};
  static constexpr int KDashDot[] = {4, 2, 1, 2};
  static constexpr int KDashDotDot[] = {4, 2, 1, 2, 1, 2};
  switch (stroke.Dash) {
    case THostStrokeDash::Solid: return KSolid;
    case THostStrokeDash::Dash: return KDash;
    case THostStrokeDash::Dot: return KDot;
    case THostStrokeDash::DashDot: return KDashDot;
    case THostStrokeDash::DashDotDot: return KDashDotDot;
    case THostStrokeDash::Custom: break;
  }
  const std::vector<float>& lengths = stroke.CustomDash;
  if (lengths.empty() || lengths.size() > KMaxCustom) return {};
  std::size_t n = 0;
  for (float v : lengths) {
    if (!(v >= 1 && v <= 64) || v != std::round(v)) return {};
    store.Lengths[n++] = static_cast<int>(v);
  }
  if (n % 2 == 1)
    for (std::size_t i = 0; i < lengths.size(); ++i) store.Lengths[n++] = store.Lengths[i];
  return std::span<const int>(store.Lengths, n);
}

// The pen, painter and transform conditions under which the rectangle has
// been checked to give the rasteriser's pixels.
bool CrispStrokeAllowed(const QPainter& p, const THostStroke& stroke, qreal opacity) {
  if (stroke.Kind != THostBrushKind::Solid || (stroke.Color >> 24) != 0xFF || stroke.Thickness != 1 ||
      ClampOpacity(static_cast<float>(opacity)) != 1 || p.opacity() != 1 ||
      p.compositionMode() != QPainter::CompositionMode_SourceOver)
    return false;
  const qreal dashOffset = Finite(stroke.DashOffset);
  if (dashOffset != std::round(dashOffset) || std::abs(dashOffset) > 1e6) return false;
  const QTransform device = p.deviceTransform();
  return device.type() <= QTransform::TxTranslate && device.dx() == std::round(device.dx()) &&
         device.dy() == std::round(device.dy());
}

// The pixels a line covers along its row or column.
struct TCrispSpan {
  bool Horizontal;
  int From;   // pixel where the pattern starts
  int Dir;    // +1 or -1: the direction from the first end to the second
  int Lo, Hi;  // covered pixels along the line, both included
  int Fixed;  // the row (or column) of the line
};

// False for lines that are not whole-pixel, non-empty and along a row or
// column.
bool CrispSpanOf(QPointF a, QPointF b, THostStrokeCap cap, TCrispSpan& span) {
  auto whole = [](QPointF q) {
    return q.x() == std::round(q.x()) && q.y() == std::round(q.y()) && std::abs(q.x()) < 1e6 && std::abs(q.y()) < 1e6;
  };
  if (a == b || !whole(a) || !whole(b)) return false;
  span.Horizontal = a.y() == b.y();
  if (!span.Horizontal && a.x() != b.x()) return false;
  span.From = static_cast<int>(span.Horizontal ? a.x() : a.y());
  const int to = static_cast<int>(span.Horizontal ? b.x() : b.y());
  span.Dir = to > span.From ? 1 : -1;
  if (cap == THostStrokeCap::Flat) {
    if (span.Dir < 0) --span.From;
    span.Lo = span.Dir > 0 ? span.From : to;
    span.Hi = span.Dir > 0 ? to - 1 : span.From;
  } else {
    span.Lo = std::min(span.From, to);
    span.Hi = std::max(span.From, to);
  }
  span.Fixed = static_cast<int>(span.Horizontal ? a.y() : a.x());
  return true;
}

// The rasteriser restarts the pattern where the device edge cuts a line:
// only lines entirely on the device take the shortcut.
bool OnDevice(const QPainter& p, const TCrispSpan& span) {
  const QPaintDevice* target = p.device();
  if (!target) return false;
  const QTransform device = p.deviceTransform();
  const int dx = static_cast<int>(device.dx()), dy = static_cast<int>(device.dy());
  const int shiftAlong = span.Horizontal ? dx : dy;
  const int deviceFixed = span.Fixed + (span.Horizontal ? dy : dx);
  const int along = span.Horizontal ? target->width() : target->height();
  const int across = span.Horizontal ? target->height() : target->width();
  return span.Lo + shiftAlong >= 0 && span.Hi + shiftAlong < along && deviceFixed >= 0 && deviceFixed < across;
}

// One period of the pattern as a texture in the painter's brush
// coordinates; null when the brush origin is not on a whole pixel.
QImage PatternTexture(const QPainter& p, const THostStroke& stroke, std::span<const int> pattern,
                      const TCrispSpan& span) {
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
  if (brushOrigin != QPointF(std::round(brushOrigin.x()), std::round(brushOrigin.y()))) return {};
  const int origin = static_cast<int>(span.Horizontal ? brushOrigin.x() : brushOrigin.y());
  const int phase = static_cast<int>(std::fmod(Finite(stroke.DashOffset), static_cast<qreal>(period)));
  QImage texture(span.Horizontal ? period : 1, span.Horizontal ? 1 : period, QImage::Format_ARGB32_Premultiplied);
  texture.fill(Qt::transparent);
  const QRgb colour = stroke.Color;
  for (int t = 0; t < period; ++t) {
    const int k = span.Dir * (origin + t - span.From);
    const int position = ((k + phase) % period + period) % period;
    if (!on(position)) continue;
    if (span.Horizontal)
      texture.setPixel(t, 0, colour);
    else
      texture.setPixel(0, t, colour);
  }
  return texture;
}

// Outlines. QPainter strokes an aliased one-pixel pen along a path in
// device coordinates truncated to 1/64 pixel. A coordinate v lies in pixel
// floor(v) across a segment; along it, a segment covers the pixels from its
// lower end's pixel to its higher end's pixel, both included, except at an
// open end of a flat-capped figure, where it starts at pixel round(v) (half
// up) at its lower end and stops before pixel round(v) at its higher end.
// Each segment is then one filled rectangle; where two overlap, an opaque
// colour paints the same pixel twice. The rasteriser joins segments with
// rules of its own that this reproduces only where every joint turns by a
// right angle and every segment is at least two pixels long, and it also
// treats a figure ending on its first point as closed, and caps the first
// segment of an open flat-capped figure that runs back along the previous
// figure's last direction; such figures, and figures off the device (but for
// a flat open end on the pixel just before it), are left to QPainter.
constexpr std::size_t KMaxOutlineRuns = 32;
constexpr int KMinOutlineSegment = 2 * 64;  // in 1/64 pixel

// A run of pixels of an outline, in device pixels, both ends included.
struct TOutlineRun {
  bool Horizontal;
  int Fixed, Lo, Hi;
};

// The direction of an axis-aligned segment: +-1 along x, +-2 along y; 0
// for a slanted or empty one.
int SegmentDirection(QPointF a, QPointF b) {
  if (a.y() == b.y() && a.x() != b.x()) return b.x() > a.x() ? 1 : -1;
  if (a.x() == b.x() && a.y() != b.y()) return b.y() > a.y() ? 2 : -2;
  return 0;
}

// The device coordinate in 1/64 pixel as the rasteriser takes it; false
// outside [0, size).
bool DeviceFixed(qreal v, int shift, int size, int& fixed) {
  const qreal d = v + shift;
  if (!(d >= 0 && d < size)) return false;
  fixed = static_cast<int>(d * 64);
  return true;
}

}  // namespace

std::uint64_t CrispRunsDrawn() { return GCrispRuns; }

bool DrawCrispOutline(QPainter& p, const THostStroke& stroke, std::span<const TCrispFigure> figures, qreal opacity) {
  if (stroke.Dash != THostStrokeDash::Solid || !CrispStrokeAllowed(p, stroke, opacity) || !p.device()) return false;
  const QTransform device = p.deviceTransform();
  const int dx = static_cast<int>(device.dx()), dy = static_cast<int>(device.dy());
  const int width = p.device()->width(), height = p.device()->height();
  const bool flat = stroke.Cap == THostStrokeCap::Flat;
  TOutlineRun runs[KMaxOutlineRuns];
  std::size_t count = 0;
  int lastDirection = 0;  // of the last segment drawn, across figures
  for (const TCrispFigure& figure : figures) {
    std::size_t points = figure.Count;
    bool closed = figure.Closed;
    if (points > 2 && figure.Points[0] == figure.Points[points - 1]) {
      --points;
      closed = true;
    }
    if (points < 2) return false;
    const std::size_t segments = closed ? points : points - 1;
    if (count + segments > KMaxOutlineRuns) return false;
    for (std::size_t i = 0; i < segments; ++i) {
      const QPointF a = figure.Points[i], b = figure.Points[(i + 1) % points];
      const int direction = SegmentDirection(a, b);
      if (direction == 0) return false;
      if (i > 0 || closed) {
        const QPointF before = figure.Points[(i + points - 1) % points];
        if (std::abs(SegmentDirection(before, a)) == std::abs(direction)) return false;
      } else if (flat && direction == -lastDirection) {
        return false;
      }
      const bool horizontal = std::abs(direction) == 1;
      const bool fromOpen = !closed && i == 0, toOpen = !closed && i + 1 == segments;
      // A flat open end may lie one whole pixel before the device's first
      // column or row (a panel's bevel ends at -1): it covers no pixel there.
      auto deviceAlong = [&](qreal v, int shift, int size, bool open, int& fixed) {
        if (flat && open && v + shift == -1) {
          fixed = -64;
          return true;
        }
        return DeviceFixed(v, shift, size, fixed);
      };
      int ax, ay, bx, by;
      if (!(horizontal ? deviceAlong(a.x(), dx, width, fromOpen, ax) : DeviceFixed(a.x(), dx, width, ax)) ||
          !(horizontal ? DeviceFixed(a.y(), dy, height, ay) : deviceAlong(a.y(), dy, height, fromOpen, ay)) ||
          !(horizontal ? deviceAlong(b.x(), dx, width, toOpen, bx) : DeviceFixed(b.x(), dx, width, bx)) ||
          !(horizontal ? DeviceFixed(b.y(), dy, height, by) : deviceAlong(b.y(), dy, height, toOpen, by)))
        return false;
      const int from = horizontal ? ax : ay, to = horizontal ? bx : by;
      if (std::abs(to - from) < KMinOutlineSegment) return false;
      const bool loOpen = flat && (from < to ? fromOpen : toOpen);
      const bool hiOpen = flat && (from < to ? toOpen : fromOpen);
      const int lo = std::min(from, to), hi = std::max(from, to);
      TOutlineRun& run = runs[count++];
      run.Horizontal = horizontal;
      run.Fixed = (horizontal ? ay : ax) >> 6;
      run.Lo = loOpen ? (lo + 32) >> 6 : lo >> 6;
      run.Hi = hiOpen ? ((hi + 32) >> 6) - 1 : hi >> 6;
      lastDirection = direction;
    }
  }
  SetHint(p, QPainter::Antialiasing, false);
  const QColor colour = QColor::fromRgba(stroke.Color);
  for (std::size_t i = 0; i < count; ++i) {
    const TOutlineRun& r = runs[i];
    const int length = r.Hi - r.Lo + 1;  // at least one pixel: segments are two pixels long
    p.fillRect(r.Horizontal ? QRect(r.Lo - dx, r.Fixed - dy, length, 1) : QRect(r.Fixed - dx, r.Lo - dy, 1, length),
               colour);
  }
  GCrispRuns += count;
  return true;
}

bool DrawCrispPath(QPainter& p, const THostStroke& stroke, const THostPath& path, QPointF offset, qreal opacity) {
  // Figures of a MoveTo, LineTos and an optional Close each; anything else
  // (rectangle commands, a LineTo without a MoveTo) goes to QPainter.
  constexpr std::size_t KMaxPoints = KMaxOutlineRuns + 8;
  constexpr std::size_t KMaxFigures = 8;
  QPointF points[KMaxPoints];
  TCrispFigure figures[KMaxFigures];
  std::size_t pointCount = 0, figureCount = 0;
  bool open = false;  // a figure takes more LineTos or a Close
  for (const THostPathCommand& c : path.Commands()) {
    switch (c.Op) {
      case THostPathCommand::MoveTo:
        if (figureCount == KMaxFigures || pointCount == KMaxPoints) return false;
        figures[figureCount++] = {points + pointCount, 0, false};
        points[pointCount++] = QPointF(c.A.X, c.A.Y) + offset;
        ++figures[figureCount - 1].Count;
        open = true;
        break;
      case THostPathCommand::LineTo:
        if (!open || pointCount == KMaxPoints) return false;
        points[pointCount++] = QPointF(c.A.X, c.A.Y) + offset;
        ++figures[figureCount - 1].Count;
        break;
      case THostPathCommand::Close:
        if (!open) return false;
        figures[figureCount - 1].Closed = true;
        open = false;
        break;
      default:
        return false;
    }
  }
  return figureCount > 0 && DrawCrispOutline(p, stroke, std::span<const TCrispFigure>(figures, figureCount), opacity);
}

bool DrawCrispRun(QPainter& p, const THostStroke& stroke, QPointF a, QPointF b, qreal opacity) {
  TPatternStore store;
  const std::span<const int> pattern = CrispPattern(stroke, store);
  if (pattern.empty() || !CrispStrokeAllowed(p, stroke, opacity)) return false;
  TCrispSpan span;
  if (!CrispSpanOf(a, b, stroke.Cap, span) || !OnDevice(p, span)) return false;

  const int length = span.Hi - span.Lo + 1;
  const QRect run = span.Horizontal ? QRect(span.Lo, span.Fixed, length, 1) : QRect(span.Fixed, span.Lo, 1, length);
  if (stroke.Dash == THostStrokeDash::Solid) {
    SetHint(p, QPainter::Antialiasing, false);
    p.fillRect(run, QColor::fromRgba(stroke.Color));
  } else {
    const QImage texture = PatternTexture(p, stroke, pattern, span);
    if (texture.isNull()) return false;
    SetHint(p, QPainter::Antialiasing, false);
    p.fillRect(run, QBrush(texture));
  }
  ++GCrispRuns;
  return true;
}

}  // namespace sextant

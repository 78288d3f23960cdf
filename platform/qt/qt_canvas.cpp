// Contents:
//   [Canvas]       construction, state, scenes, clipping
//   [Preparation]  stroke and fill set-up of the painter
//   [Primitives]   rectangles, ellipses, lines, arcs, paths, bitmaps
//   [Text]         layouts, text to path
#include "platform/qt/qt_canvas.h"

#include <QFontMetricsF>
#include <QPaintDevice>
#include <QPen>

#include <algorithm>
#include <climits>
#include <cmath>

#include "platform/qt/qt_conversions_p.h"
#include "platform/qt/qt_crisp_lines_p.h"
#include "platform/qt/qt_image_p.h"
#include "platform/qt/qt_pending_fill_p.h"
#include "platform/qt/qt_stroke_p.h"
#include "platform/qt/qt_text_layout_p.h"

namespace sextant {

// =============================================================================
// [Canvas]
// =============================================================================

TQtHostCanvas::TQtHostCanvas(QPainter& painter) : FPainter(&painter) {}

TQtHostCanvas::~TQtHostCanvas() {
  FlushPendingFill();
  // Leave the caller's painter as it was handed over.
  if (FPainter && FPainter->isActive())
    for (std::size_t i = 0; i < FSaved.size(); ++i) FPainter->restore();
}

void TQtHostCanvas::ForgetStates() { FSaved.clear(); }

namespace {
std::uint64_t GHiddenFills = 0;
}  // namespace

std::uint64_t HiddenFillsSkipped() { return GHiddenFills; }

void TQtHostCanvas::FlushPendingFill() {
  if (!FHeldFill.Active) return;
  FHeldFill.Active = false;
  QPainter* p = FPainter;
  if (!p || !p->isActive()) return;
  // Exactly as FillRect paints a square solid fill.
  p->setBrush(FHeldFill.Brush);
  p->setPen(Qt::NoPen);
  SetHint(*p, QPainter::Antialiasing, false);
  p->setOpacity(1);
  p->drawRect(FHeldFill.Rect);
}

QPainter* TQtHostCanvas::DrawingPainter() {
  FlushPendingFill();
  return ActivePainter();
}

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
  FlushPendingFill();
  if (FSceneDepth > 0) --FSceneDepth;
}

TQtHostCanvas::StateHandle TQtHostCanvas::SaveState() {
  QPainter* p = DrawingPainter();
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
  FlushPendingFill();
  while (!FSaved.empty()) {
    const StateHandle h = FSaved.back();
    FSaved.pop_back();
    FPainter->restore();
    if (h == state) break;
  }
}

void TQtHostCanvas::IntersectClipRect(const TRectF& r) {
  QPainter* p = DrawingPainter();
  if (!p) return;
  p->setClipRect(ToQRectF(r), Qt::IntersectClip);
}

TKelMatrix TQtHostCanvas::Matrix() const {
  if (!FPainter) return TKelMatrix::Identity();
  return ToKelMatrix(FPainter->worldTransform());
}

void TQtHostCanvas::SetMatrix(const TKelMatrix& m) {
  QPainter* p = DrawingPainter();
  if (!p) return;
  p->setWorldTransform(ToQTransform(m));
}

// =============================================================================
// [Preparation]
// =============================================================================

void TQtHostCanvas::ConvertStroke() {
  if (!FState.Changed(hspStroke)) return;
  const THostStroke& stroke = FState.Stroke();
  FSolidPen = ToQPen(stroke, QBrush(ToQColor(stroke.Color)));
  // The native line list: 1 pixel wide, solid, in the stroke colour,
  // whatever the rest of the stroke says.
  FPolylinePen = FSolidPen;
  FPolylinePen.setWidthF(1);
  FPolylinePen.setStyle(Qt::SolidLine);
  FState.Converted(hspStroke);
}

bool TQtHostCanvas::PrepareStroke(QPainter& p, const QRectF& bounds, TStrokeShape shape,
                                  QPointF& offset) {
  offset = QPointF(0, 0);
  const THostStroke& stroke = FState.Stroke();
  // Strokes paint in a solid colour or a gradient; other kinds stroke nothing.
  if (stroke.Kind == THostBrushKind::Solid) {
    ConvertStroke();
    p.setPen(FSolidPen);
  } else if (stroke.Kind == THostBrushKind::Gradient) {
    p.setPen(ToQPen(stroke, ToQBrush(stroke.Kind, stroke.Color, stroke.Gradient, nullptr, bounds)));
  } else {
    return false;
  }
  p.setBrush(Qt::NoBrush);
  offset = PlaceStroke(p, shape);
  return true;
}

QPointF TQtHostCanvas::PlaceStroke(QPainter& p, TStrokeShape shape) {
  // Axis-aligned geometry under an axis-aligned transform is drawn aliased:
  // integer coordinates then name pixels exactly. Anything else is
  // antialiased, unless the canvas draws everything aliased.
  const QTransform device = p.deviceTransform();
  const bool crisp = shape == TStrokeShape::AxisAligned && device.type() <= QTransform::TxScale;
  const bool aliased = crisp || !FAntialiased;
  SetHint(p, QPainter::Antialiasing, !aliased);
  // Ticks and grid lines ask for the same shift over and over: the last
  // answer is kept with what it depends on.
  const qreal width = p.pen().widthF();
  TShiftMemo& memo = FShiftMemo;
  if (!(memo.Valid && memo.Width == width && memo.Aliased == aliased && memo.M11 == device.m11() &&
        memo.M12 == device.m12() && memo.M21 == device.m21() && memo.M22 == device.m22() &&
        memo.Type == device.type())) {
    memo = {true, aliased, device.type(), width, device.m11(), device.m12(), device.m21(), device.m22(),
            StrokeShift(device, width, aliased)};
  }
  return memo.Shift;
}

const QBrush& TQtHostCanvas::SolidBrush() {
  if (FState.Changed(hspFill)) {
    FSolidBrush = QBrush(ToQColor(FState.Fill().Color));
    FState.Converted(hspFill);
  }
  return FSolidBrush;
}

bool TQtHostCanvas::PrepareFill(QPainter& p, const QRectF& bounds, bool antialias) {
  const THostFill& fill = FState.Fill();
  if (fill.Kind == THostBrushKind::Solid) {
    p.setBrush(SolidBrush());
  } else {
    // Gradients and bitmaps are placed on each shape's bounds.
    const QBrush brush = ToQBrush(fill.Kind, fill.Color, fill.Gradient, fill.Bitmap, bounds);
    if (brush.style() == Qt::NoBrush) return false;
    p.setBrush(brush);
  }
  p.setPen(Qt::NoPen);
  SetHint(p, QPainter::Antialiasing, antialias && FAntialiased);
  return true;
}

// =============================================================================
// [Primitives]
// =============================================================================

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

// A square fill in an opaque solid colour at full opacity is held back
// (FHeldFill) until the next drawing. When that is another such fill whose
// rectangle contains the held one, under the same transform and clip (the
// canvas paints the held fill before any change of them), it covers every
// pixel of the held fill, which is then never painted: a panel erases its
// background and fills the same rectangle again in every paint.
void TQtHostCanvas::FillRect(const TRectF& r, float xRadius, float yRadius, std::uint8_t corners,
                             float opacity, THostCornerType cornerType) {
  QPainter* p = ActivePainter();
  if (!p) return;
  const QRectF q = ToQRectF(r);
  const bool square = !HasShapedCorners(q, xRadius, yRadius, corners);
  const THostFill& fill = FState.Fill();
  const bool holdable = square && q.isValid() && fill.Kind == THostBrushKind::Solid && (fill.Color >> 24) == 0xFF &&
                        ClampOpacity(opacity) == 1 && p->compositionMode() == QPainter::CompositionMode_SourceOver &&
                        p->deviceTransform().type() <= QTransform::TxScale;
  if (holdable && FHeldFill.Active && q.contains(FHeldFill.Rect)) {
    FHeldFill.Active = false;
    ++GHiddenFills;
  }
  FlushPendingFill();
  if (holdable) {
    FHeldFill.Rect = q;
    FHeldFill.Brush = SolidBrush();
    FHeldFill.Active = true;
    return;
  }
  if (!PrepareFill(*p, q, !square)) return;
  p->setOpacity(ClampOpacity(opacity));
  if (square)
    p->drawRect(q);
  else
    p->drawPath(RectPath(r, xRadius, yRadius, corners, cornerType));
}

void TQtHostCanvas::DrawRect(const TRectF& r, float xRadius, float yRadius, std::uint8_t corners,
                             float opacity, THostCornerType cornerType) {
  QPainter* p = DrawingPainter();
  if (!p) return;
  const QRectF q = ToQRectF(r);
  const bool square = !HasShapedCorners(q, xRadius, yRadius, corners);
  QPointF offset;
  if (!PrepareStroke(*p, q, square ? TStrokeShape::AxisAligned : TStrokeShape::Free, offset)) return;
  p->setOpacity(ClampOpacity(opacity));
  if (!square) {
    p->drawPath(RectPath(r, xRadius, yRadius, corners, cornerType).translated(offset));
    return;
  }
  // The corners in the order QPainter strokes them.
  const QRectF s = q.translated(offset);
  const QPointF outline[4] = {s.topLeft(), s.topRight(), s.bottomRight(), s.bottomLeft()};
  const TCrispFigure figure{outline, 4, true};
  if (!DrawCrispOutline(*p, FState.Stroke(), {&figure, 1}, opacity)) p->drawRect(s);
}

void TQtHostCanvas::FillEllipse(const TRectF& r, float opacity) {
  QPainter* p = DrawingPainter();
  if (!p) return;
  const QRectF q = ToQRectF(r);
  if (!PrepareFill(*p, q, true)) return;
  p->setOpacity(ClampOpacity(opacity));
  p->drawEllipse(q);
}

void TQtHostCanvas::DrawEllipse(const TRectF& r, float opacity) {
  QPainter* p = DrawingPainter();
  if (!p) return;
  const QRectF q = ToQRectF(r);
  QPointF offset;
  if (!PrepareStroke(*p, q, TStrokeShape::Free, offset)) return;
  p->setOpacity(ClampOpacity(opacity));
  p->drawEllipse(q.translated(offset));
}

void TQtHostCanvas::DrawLine(TPointF p1, TPointF p2, float opacity) {
  QPainter* p = DrawingPainter();
  if (!p) return;
  const QPointF a = ToQPointF(p1), b = ToQPointF(p2);
  const TPointF pts[2] = {p1, p2};
  const bool axisAligned = AxisAligned(pts, 2);
  QPointF offset;
  if (!PrepareStroke(*p, QRectF(a, b).normalized(), axisAligned ? TStrokeShape::AxisAligned : TStrokeShape::Free,
                     offset))
    return;
  p->setOpacity(ClampOpacity(opacity));
  if (axisAligned && DrawCrispRun(*p, FState.Stroke(), a + offset, b + offset, opacity)) return;
  p->drawLine(a + offset, b + offset);
}

void TQtHostCanvas::DrawArc(TPointF center, TPointF radius, float startAngle, float sweepAngle,
                            float opacity) {
  QPainter* p = DrawingPainter();
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
  QPainter* p = DrawingPainter();
  if (!p || path.IsEmpty()) return;
  const QPainterPath q = ToQPainterPath(path);
  if (!PrepareFill(*p, q.boundingRect(), !AxisAligned(path))) return;
  p->setOpacity(ClampOpacity(opacity));
  p->drawPath(q);
}

void TQtHostCanvas::DrawPath(const THostPath& path, float opacity) {
  QPainter* p = DrawingPainter();
  if (!p || path.IsEmpty()) return;
  // Only a gradient pen needs the path's bounds before it strokes; a solid
  // outline that becomes crisp runs needs no Qt path at all.
  const bool gradient = FState.Stroke().Kind == THostBrushKind::Gradient;
  QPainterPath q;
  if (gradient) q = ToQPainterPath(path);
  const bool axisAligned = AxisAligned(path);
  QPointF offset;
  if (!PrepareStroke(*p, q.boundingRect(), axisAligned ? TStrokeShape::AxisAligned : TStrokeShape::Free, offset))
    return;
  p->setOpacity(ClampOpacity(opacity));
  if (axisAligned && DrawCrispPath(*p, FState.Stroke(), path, offset, opacity)) return;
  if (!gradient) q = ToQPainterPath(path);
  p->drawPath(offset.isNull() ? q : q.translated(offset));
}

void TQtHostCanvas::DrawPolyline(const TPointF* points, std::size_t count, float opacity) {
  QPainter* p = DrawingPainter();
  if (!p || !points || count == 0) return;
  FPolyline.resize(count);
  QPointF* out = FPolyline.data();
  for (std::size_t i = 0; i < count; ++i) out[i] = QPointF(points[i].X, points[i].Y);
  ConvertStroke();
  p->setPen(FPolylinePen);
  p->setBrush(Qt::NoBrush);
  const QPointF offset =
      PlaceStroke(*p, AxisAligned(points, count) ? TStrokeShape::AxisAligned : TStrokeShape::Free);
  if (!offset.isNull())
    for (std::size_t i = 0; i < count; ++i) out[i] += offset;
  p->setOpacity(ClampOpacity(opacity));
  if (count == 1)
    p->drawPoint(out[0]);
  else
    p->drawPolyline(out, static_cast<int>(std::min<std::size_t>(count, INT_MAX)));
}

// Aliased drawing (SetAntialiased(false)): the connected segments of a
// solid pen of at most one pixel are one polyline, one call to Qt. Every
// segment then covers the pixels it covers alone, except where two meet:
// the rasteriser draws a joint once instead of once per segment (the end
// pixel a flat-capped segment leaves out is the start of the next one), so
// a translucent line no longer darkens its joints. Wider or dashed pens
// keep one call per segment (their joins and dash phases would change).
//
// Otherwise the segments are drawn exactly as DrawLine draws each of them:
// the same pen, axis-aligned segments crisp and the others antialiased, each
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
  QPainter* p = DrawingPainter();
  if (!p || !points || count < 2) return;
  const THostStroke& stroke = FState.Stroke();
  if (stroke.Kind != THostBrushKind::Solid) {
    IHostCanvas::DrawConnectedLines(points, count, opacity);
    return;
  }
  if (!FAntialiased && stroke.Dash == THostStrokeDash::Solid && Finite(stroke.Thickness, 1) <= 1) {
    DrawAliasedPolyline(*p, points, count, opacity);
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
  const bool opaqueRuns = (stroke.Color >> 24) == 0xFF && alpha == 1 && stroke.Cap == THostStrokeCap::Flat &&
                          stroke.Dash == THostStrokeDash::Solid && Finite(stroke.Thickness, 1) <= 1 &&
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

namespace {

// A run of four or more whole-pixel points on one pixel column (or row)
// covers, with an opaque pen, the pixels between its lowest and highest
// point whatever way it goes up and down: it is drawn as its first point,
// the two extremes and its last point. A random walk of many points per
// column is almost entirely such runs. The extreme the run ends on is
// visited first, so that the stretch to the last point still covers it.
// Returns the points written to out (never more than count).
std::size_t CompressRuns(const TPointF* points, std::size_t count, QPointF* out) {
  auto whole = [](float v) { return std::abs(v) < 1e6f && v == static_cast<float>(static_cast<int>(v)); };
  std::size_t n = 0;
  std::size_t i = 0;
  while (i < count) {
    const TPointF a = points[i];
    // The run along a's column (or row), as the next point shows, with its
    // extremes.
    std::size_t j = i;
    bool vertical = true;
    float lo = 0, hi = 0;
    if (i + 3 < count && whole(a.X) && whole(a.Y)) {
      const TPointF b = points[i + 1];
      vertical = b.X == a.X;
      if (vertical || b.Y == a.Y) {
        const float fixed = vertical ? a.X : a.Y;
        lo = hi = vertical ? a.Y : a.X;
        for (std::size_t k = i + 1; k < count; ++k) {
          const TPointF q = points[k];
          const float f = vertical ? q.X : q.Y, t = vertical ? q.Y : q.X;
          if (f != fixed || !whole(t)) break;
          lo = std::min(lo, t);
          hi = std::max(hi, t);
          j = k;
        }
      }
    }
    if (j < i + 3 || lo == hi) {
      out[n++] = QPointF(a.X, a.Y);
      ++i;
      continue;
    }
    auto along = [vertical](TPointF q) { return vertical ? q.Y : q.X; };
    const TPointF last = points[j];
    float first, second;
    if (along(last) == hi || (along(last) != lo && along(a) - lo > hi - along(a))) {
      first = hi;
      second = lo;
    } else {
      first = lo;
      second = hi;
    }
    const float fixed = vertical ? a.X : a.Y;
    auto at = [&](float t) { return vertical ? QPointF(fixed, t) : QPointF(t, fixed); };
    out[n++] = QPointF(a.X, a.Y);
    if (first != along(a)) out[n++] = at(first);
    out[n++] = at(second);
    if (second != along(last)) out[n++] = QPointF(last.X, last.Y);
    i = j + 1;
  }
  return n;
}

}  // namespace

void TQtHostCanvas::DrawAliasedPolyline(QPainter& p, const TPointF* points, std::size_t count, float opacity) {
  QPointF offset;
  if (!PrepareStroke(p, QRectF(), TStrokeShape::Free, offset)) return;
  FPolyline.resize(count);
  QPointF* out = FPolyline.data();
  const qreal alpha = ClampOpacity(opacity);
  const QTransform device = p.deviceTransform();
  // Opaque, at full opacity, on whole device pixels: runs along one column
  // or row shrink to their extremes (the same pixels, far fewer points).
  const bool opaque = (FState.Stroke().Color >> 24) == 0xFF && alpha == 1 && offset.isNull() &&
                      device.type() <= QTransform::TxTranslate && device.dx() == std::round(device.dx()) &&
                      device.dy() == std::round(device.dy()) &&
                      p.compositionMode() == QPainter::CompositionMode_SourceOver;
  // Runs are common only where there are more points than pixel columns;
  // with fewer, looking for them costs more than it saves.
  const bool manyPoints = p.device() && count > 2 * static_cast<std::size_t>(std::max(1, p.device()->width()));
  std::size_t n = count;
  if (opaque && manyPoints) {
    n = CompressRuns(points, count, out);
  } else {
    for (std::size_t i = 0; i < count; ++i) out[i] = QPointF(points[i].X + offset.x(), points[i].Y + offset.y());
  }
  p.setOpacity(alpha);
  p.drawPolyline(out, static_cast<int>(std::min<std::size_t>(n, INT_MAX)));
}

void TQtHostCanvas::DrawBitmap(const IHostBitmap& bitmap, const TRectF& src, const TRectF& dst,
                               float opacity, bool highSpeed) {
  QPainter* p = DrawingPainter();
  if (!p || bitmap.IsEmpty()) return;
  p->setOpacity(ClampOpacity(opacity));
  SetHint(*p, QPainter::SmoothPixmapTransform, !highSpeed);
  SetHint(*p, QPainter::Antialiasing, false);
  // Source rectangles are in bitmap pixels; the device pixel ratio of the
  // image must not scale them again.
  QImage image = HostBitmapImage(bitmap);
  image.setDevicePixelRatio(1);
  p->drawImage(ToQRectF(dst), image, ToQRectF(src));
}

// =============================================================================
// [Text]
// =============================================================================

std::unique_ptr<IHostTextLayout> TQtHostCanvas::CreateTextLayout() {
  return std::make_unique<TQtTextLayout>(LogicalDpiY());
}

void TQtHostCanvas::RenderLayout(IHostTextLayout& layout) {
  QPainter* p = DrawingPainter();
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

}  // namespace sextant

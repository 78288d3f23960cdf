#include "platform/qt/chart_render.h"

#include <QPaintDevice>
#include <QPainter>

#include <cmath>

#include "canvas/canvas3d.h"
#include "panel/kel_panel.h"
#include "platform/qt/qt_canvas.h"

namespace sextant {

namespace {

// Largest image side in device pixels (the engine's pixel bound).
constexpr qreal kMaxDevicePixels = 32767;

bool UsableSize(qreal w, qreal h) { return std::isfinite(w) && std::isfinite(h) && w > 0 && h > 0; }

}  // namespace

void RenderChart(TCustomKelPanel& chart, QPainter& painter, const QRectF& target) {
  if (!painter.isActive() || !UsableSize(target.width(), target.height()) ||
      !std::isfinite(target.left()) || !std::isfinite(target.top()))
    return;
  const float w = static_cast<float>(target.width());
  const float h = static_cast<float>(target.height());
  IHostControl* host = chart.HostControl();
  // A chart of its own (no widget) simply becomes as large as it is drawn.
  if (!host) chart.SetBounds(chart.Left(), chart.Top(), w, h);

  painter.save();
  painter.translate(target.topLeft());
  painter.setClipRect(QRectF(0, 0, target.width(), target.height()), Qt::IntersectClip);
  {
    TQtHostCanvas canvas(painter);
    chart.Draw(&canvas, TRectF{0, 0, w, h});
    // The host canvas ends here: aim the chart's canvas back at the
    // control's own canvas (or at none) so that nothing keeps it.
    chart.Canvas()->SetCanvas(host ? host->ControlCanvas() : nullptr);
  }
  painter.restore();

  // The chart now holds the layout of this drawing; a hosted chart of
  // another size lays itself out again at its own size on its next paint.
  if (host && (w != chart.Width() || h != chart.Height())) chart.Invalidate();
}

void RenderChart(TCustomKelPanel& chart, QPaintDevice& device, QSizeF size) {
  if (!UsableSize(size.width(), size.height())) return;
  QPainter painter;
  if (!painter.begin(&device)) return;
  RenderChart(chart, painter, QRectF(QPointF(0, 0), size));
  painter.end();
}

QImage RenderChartImage(TCustomKelPanel& chart, QSize size, qreal devicePixelRatio) {
  if (size.isEmpty() || !std::isfinite(devicePixelRatio) || !(devicePixelRatio > 0)) return {};
  const qreal deviceWidth = std::ceil(size.width() * devicePixelRatio);
  const qreal deviceHeight = std::ceil(size.height() * devicePixelRatio);
  if (deviceWidth > kMaxDevicePixels || deviceHeight > kMaxDevicePixels) return {};
  QImage image(static_cast<int>(deviceWidth), static_cast<int>(deviceHeight), QImage::Format_ARGB32_Premultiplied);
  if (image.isNull()) return {};  // out of memory
  image.setDevicePixelRatio(devicePixelRatio);
  image.fill(Qt::transparent);
  RenderChart(chart, image, QSizeF(size));
  return image;
}

bool SaveChartPng(TCustomKelPanel& chart, const QString& file, QSize size, qreal devicePixelRatio) {
  const QImage image = RenderChartImage(chart, size, devicePixelRatio);
  return !image.isNull() && image.save(file, "PNG");
}

}  // namespace sextant

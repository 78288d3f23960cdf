// Drawing a chart outside its widget: into any Qt paint device (image,
// pixmap, printer, PDF writer, widget), into a new image, or into a PNG file.
//
// The chart is laid out at the given size in device-independent pixels; the
// paint device's device pixel ratio only sharpens the result (a ratio of 2
// draws 1-pixel lines 2 device pixels wide and renders text at twice the
// resolution), it never changes the layout.
//
// A chart hosted by a widget keeps its own size: it is drawn at the size
// asked for and repaints itself at its own size afterwards. A chart without
// a host takes the size it is rendered at as its size.
//
// Call from the GUI thread, outside the chart's own paint (not from its
// drawing events).
#pragma once

#include <QImage>
#include <QRectF>
#include <QSize>
#include <QSizeF>
#include <QString>

class QPaintDevice;
class QPainter;

namespace sextant {

class TCustomKelPanel;

// Draws the chart into the target rectangle of an active painter (in the
// painter's coordinates). Nothing is drawn for an empty or non-finite target
// or an inactive painter. The painter's state is left as it was.
void RenderChart(TCustomKelPanel& chart, QPainter& painter, const QRectF& target);

// Draws the chart at the top-left corner of the device, size device-
// independent pixels large. The device must not be painted by another
// painter at the time (in a paintEvent use the QPainter overload).
void RenderChart(TCustomKelPanel& chart, QPaintDevice& device, QSizeF size);

// A new image of size x devicePixelRatio device pixels (its device pixel
// ratio set) with the chart drawn at size. Areas the chart leaves
// transparent stay transparent. A null image when the size is empty, the
// ratio is not positive, or the image would exceed 32767 device pixels in
// either direction.
QImage RenderChartImage(TCustomKelPanel& chart, QSize size, qreal devicePixelRatio);

// Renders as RenderChartImage does and writes the image as PNG; false when
// nothing could be rendered or the file could not be written.
bool SaveChartPng(TCustomKelPanel& chart, const QString& file, QSize size, qreal devicePixelRatio = 1);

}  // namespace sextant

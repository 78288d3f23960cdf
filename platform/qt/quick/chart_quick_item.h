// TChartQuickItem: the chart in Qt Quick, registered for QML as
//
//   import Sextant 1.0
//   ChartView { anchors.fill: parent }
//
// after RegisterChartQmlTypes() (call it once, before loading the QML).
//
// The item owns a TChart (created with the item, destroyed with it) and
// shows it, or shows a chart owned elsewhere (SetChart). It hosts the chart
// as TChartWidget does, through the same input translation: paints, size
// changes, mouse buttons, moves with and without buttons (hover), wheel,
// double clicks, leave and keys reach the chart in device-independent
// pixels; the chart's repaint, cursor, focus and mouse-capture requests act
// on the item. A click takes the keyboard focus. Configure the chart from
// C++: find the item (QObject::findChild or a required property) and use
// Chart().
#pragma once

#include <QPointF>
#include <QQuickPaintedItem>

#include <memory>

#include "platform/host_control.h"

namespace sextant {

class TChart;
class TQtBitmap;

class TChartQuickItem : public QQuickPaintedItem, public IHostControl {
  Q_OBJECT

 public:
  explicit TChartQuickItem(QQuickItem* parent = nullptr);
  ~TChartQuickItem() override;
  TChartQuickItem(const TChartQuickItem&) = delete;
  TChartQuickItem& operator=(const TChartQuickItem&) = delete;

  // The chart shown: the item's own unless SetChart chose another.
  TChart* Chart() const { return FShown; }
  // The item's own chart (shown when no other is).
  TChart* OwnChart() const { return FOwn.get(); }
  // Shows a chart owned elsewhere (nullptr: the item's own chart again).
  // The chart is bound to this item as its host and sized to it; the
  // previous one is unbound. Show another chart (or nullptr) before the
  // shown chart is destroyed.
  void SetChart(TChart* chart);

  // IHostControl
  void InvalidateControl() override { update(); }
  // Qt Quick paints only on its scene graph's schedule: a request.
  void RepaintControl() override { update(); }
  void SetCursor(TCursor cursor) override;
  TCursor Cursor() const override { return FCursor; }
  bool CanFocus() const override;
  bool IsFocused() const override { return hasActiveFocus(); }
  void SetFocus() override { forceActiveFocus(Qt::OtherFocusReason); }
  void CaptureMouse() override;
  void ReleaseMouse() override;
  bool HasParent() const override { return parentItem() != nullptr; }
  TPointF CursorPos() const override;
  IHostCanvas* ControlCanvas() override;

  void paint(QPainter* painter) override;

 protected:
  void geometryChange(const QRectF& newGeometry, const QRectF& oldGeometry) override;
  void itemChange(ItemChange change, const ItemChangeData& value) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void mouseUngrabEvent() override;
  void hoverEnterEvent(QHoverEvent* event) override;
  void hoverMoveEvent(QHoverEvent* event) override;
  void hoverLeaveEvent(QHoverEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;

 private:
  void Bind(TChart* chart);
  void Unbind();

  std::unique_ptr<TChart> FOwn;
  TChart* FShown = nullptr;
  TCursor FCursor = crDefault;
  bool FCaptured = false;
  // Inside a mouse event handler: Qt Quick grabs the mouse only then.
  bool FInMouseEvent = false;
  // The last press, to tell the second press of a double click (see
  // mousePressEvent).
  bool FHasLastPress = false;
  quint64 FLastPressTime = 0;
  Qt::MouseButton FLastPressButton = Qt::NoButton;
  QPointF FLastPressPos;
  std::unique_ptr<TQtBitmap> FControlBitmap;
};

// Registers TChartQuickItem as ChartView in the QML module Sextant 1.0.
// Safe to call more than once.
void RegisterChartQmlTypes();

}  // namespace sextant

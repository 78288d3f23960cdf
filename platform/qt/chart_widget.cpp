#include "platform/qt/chart_widget.h"

#include <QCursor>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QResizeEvent>
#include <QWheelEvent>

#include "platform/qt/chart_input.h"
#include "platform/qt/qt_canvas.h"

namespace sextant {

TChartWidget::TChartWidget(QWidget* parent) : QWidget(parent) {
  setMouseTracking(true);
  // A click (or tab) gives the chart the keyboard focus.
  setFocusPolicy(Qt::StrongFocus);
  // The chart paints its whole area itself.
  setAttribute(Qt::WA_OpaquePaintEvent);
}

TChartWidget::~TChartWidget() {
  if (FCaptured) releaseMouse();
}

IHostCanvas* TChartWidget::ControlCanvas() {
  const float scale = static_cast<float>(devicePixelRatioF());
  if (!FControlBitmap || FControlBitmap->BitmapScale() != scale) {
    FControlBitmap = std::make_unique<TQtBitmap>(1, 1, scale);
    // Same logical DPI as the widget, so fractional font sizes measure alike.
    const int dotsPerMeter = qRound(logicalDpiY() / 0.0254);
    FControlBitmap->Image().setDotsPerMeterX(dotsPerMeter);
    FControlBitmap->Image().setDotsPerMeterY(dotsPerMeter);
  }
  return &FControlBitmap->Canvas();
}

// ---- IHostControl ----------------------------------------------------------

Qt::CursorShape TChartWidget::CursorShape(TCursor cursor) { return QtCursorShape(cursor); }

void TChartWidget::SetCursor(TCursor cursor) {
  FCursor = cursor;
  if (cursor == crDefault)
    unsetCursor();
  else
    setCursor(CursorShape(cursor));
}

bool TChartWidget::CanFocus() const { return focusPolicy() != Qt::NoFocus && isEnabled(); }

void TChartWidget::CaptureMouse() {
  // Qt grabs only visible widgets; an implicit grab exists anyway while a
  // button is held over the widget.
  if (isVisible()) {
    grabMouse();
    FCaptured = true;
  }
}

void TChartWidget::ReleaseMouse() {
  if (FCaptured) releaseMouse();
  FCaptured = false;
}

TPointF TChartWidget::CursorPos() const {
  const QPointF p = mapFromGlobal(QCursor::pos());
  return {static_cast<float>(p.x()), static_cast<float>(p.y())};
}

// ---- Conversions -------------------------------------------------------------

TShiftState TChartWidget::ShiftState(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons) {
  return QtShiftState(modifiers, buttons);
}

std::uint16_t TChartWidget::VirtualKey(int qtKey) { return QtVirtualKey(qtKey); }

// ---- Events ------------------------------------------------------------------

void TChartWidget::paintEvent(QPaintEvent*) {
  QPainter painter(this);
  if (!FClient) {
    painter.fillRect(rect(), palette().window());
    return;
  }
  TQtHostCanvas canvas(painter);
  FClient->HostPaint(canvas);
}

void TChartWidget::resizeEvent(QResizeEvent* event) {
  QWidget::resizeEvent(event);
  if (FClient)
    FClient->HostResize(static_cast<float>(event->size().width()), static_cast<float>(event->size().height()));
}

void TChartWidget::mousePressEvent(QMouseEvent* event) {
  // A click takes the keyboard focus before the chart sees it.
  if (IsChartButton(event->button()) && !hasFocus() && CanFocus()) setFocus(Qt::MouseFocusReason);
  if (!ForwardMousePress(FClient, *event)) return QWidget::mousePressEvent(event);
  event->accept();
}

void TChartWidget::mouseMoveEvent(QMouseEvent* event) {
  ForwardMouseMove(FClient, *event);
  event->accept();
}

void TChartWidget::mouseReleaseEvent(QMouseEvent* event) {
  if (!ForwardMouseRelease(FClient, *event)) return QWidget::mouseReleaseEvent(event);
  event->accept();
}

void TChartWidget::mouseDoubleClickEvent(QMouseEvent* event) {
  // Qt delivers the second press of a double click here.
  if (!ForwardDoubleClick(FClient, *event)) return QWidget::mouseDoubleClickEvent(event);
  event->accept();
}

void TChartWidget::wheelEvent(QWheelEvent* event) {
  if (!ForwardWheel(FClient, *event)) return QWidget::wheelEvent(event);
  event->accept();
}

void TChartWidget::leaveEvent(QEvent* event) {
  QWidget::leaveEvent(event);
  ForwardMouseLeave(FClient);
}

void TChartWidget::keyPressEvent(QKeyEvent* event) {
  // A handler that clears both key and character consumed the key.
  if (ForwardKeyPress(FClient, *event)) event->accept();
  else QWidget::keyPressEvent(event);
}

void TChartWidget::keyReleaseEvent(QKeyEvent* event) {
  if (ForwardKeyRelease(FClient, *event)) event->accept();
  else QWidget::keyReleaseEvent(event);
}

}  // namespace sextant

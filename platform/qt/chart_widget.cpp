#include "platform/qt/chart_widget.h"

#include <QCursor>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QResizeEvent>
#include <QWheelEvent>

#include "platform/qt/qt_canvas.h"

namespace sextant {

namespace {

bool ToMouseButton(Qt::MouseButton button, TMouseButton& out) {
  switch (button) {
    case Qt::LeftButton: out = TMouseButton::mbLeft; return true;
    case Qt::RightButton: out = TMouseButton::mbRight; return true;
    case Qt::MiddleButton: out = TMouseButton::mbMiddle; return true;
    default: return false;
  }
}

float X(const QMouseEvent* e) { return static_cast<float>(e->position().x()); }
float Y(const QMouseEvent* e) { return static_cast<float>(e->position().y()); }

}  // namespace

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

Qt::CursorShape TChartWidget::CursorShape(TCursor cursor) {
  switch (cursor) {
    case crHandPoint: return Qt::PointingHandCursor;
    case crHSplit: return Qt::SplitHCursor;
    case crVSplit: return Qt::SplitVCursor;
    case crCross: return Qt::CrossCursor;
    case crSizeAll: return Qt::SizeAllCursor;
    case crDefault:
    case crArrow:
    default: return Qt::ArrowCursor;
  }
}

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
  TShiftState s = 0;
  if (modifiers & Qt::ShiftModifier) s |= ssShift;
  if (modifiers & Qt::AltModifier) s |= ssAlt;
  if (modifiers & Qt::ControlModifier) s |= ssCtrl;
  if (buttons & Qt::LeftButton) s |= ssLeft;
  if (buttons & Qt::RightButton) s |= ssRight;
  if (buttons & Qt::MiddleButton) s |= ssMiddle;
  return s;
}

std::uint16_t TChartWidget::VirtualKey(int qtKey) {
  if (qtKey >= Qt::Key_A && qtKey <= Qt::Key_Z) return static_cast<std::uint16_t>('A' + (qtKey - Qt::Key_A));
  if (qtKey >= Qt::Key_0 && qtKey <= Qt::Key_9) return static_cast<std::uint16_t>('0' + (qtKey - Qt::Key_0));
  if (qtKey >= Qt::Key_F1 && qtKey <= Qt::Key_F24) return static_cast<std::uint16_t>(0x70 + (qtKey - Qt::Key_F1));
  switch (qtKey) {
    case Qt::Key_Backspace: return 0x08;
    case Qt::Key_Tab:
    case Qt::Key_Backtab: return 0x09;
    case Qt::Key_Return:
    case Qt::Key_Enter: return 0x0D;
    case Qt::Key_Shift: return 0x10;
    case Qt::Key_Control: return 0x11;
    case Qt::Key_Alt: return 0x12;
    case Qt::Key_Pause: return 0x13;
    case Qt::Key_CapsLock: return 0x14;
    case Qt::Key_Escape: return 0x1B;
    case Qt::Key_Space: return 0x20;
    case Qt::Key_PageUp: return 0x21;
    case Qt::Key_PageDown: return 0x22;
    case Qt::Key_End: return 0x23;
    case Qt::Key_Home: return 0x24;
    case Qt::Key_Left: return 0x25;
    case Qt::Key_Up: return 0x26;
    case Qt::Key_Right: return 0x27;
    case Qt::Key_Down: return 0x28;
    case Qt::Key_Insert: return 0x2D;
    case Qt::Key_Delete: return 0x2E;
    case Qt::Key_Plus: return 0xBB;
    case Qt::Key_Comma: return 0xBC;
    case Qt::Key_Minus: return 0xBD;
    case Qt::Key_Period: return 0xBE;
    default: return 0;
  }
}

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
  TMouseButton button;
  if (!ToMouseButton(event->button(), button)) return QWidget::mousePressEvent(event);
  // A click takes the keyboard focus before the chart sees it.
  if (!hasFocus() && CanFocus()) setFocus(Qt::MouseFocusReason);
  if (FClient) FClient->HostMouseDown(button, ShiftState(event->modifiers(), event->buttons()), X(event), Y(event));
  event->accept();
}

void TChartWidget::mouseMoveEvent(QMouseEvent* event) {
  if (FClient) FClient->HostMouseMove(ShiftState(event->modifiers(), event->buttons()), X(event), Y(event));
  event->accept();
}

void TChartWidget::mouseReleaseEvent(QMouseEvent* event) {
  TMouseButton button;
  if (!ToMouseButton(event->button(), button)) return QWidget::mouseReleaseEvent(event);
  // The released button is no longer held: buttons() already excludes it.
  if (FClient) FClient->HostMouseUp(button, ShiftState(event->modifiers(), event->buttons()), X(event), Y(event));
  event->accept();
}

void TChartWidget::mouseDoubleClickEvent(QMouseEvent* event) {
  // Qt delivers the second press of a double click here: the chart gets it
  // as a press with ssDouble, followed by the double-click notification.
  TMouseButton button;
  if (!ToMouseButton(event->button(), button)) return QWidget::mouseDoubleClickEvent(event);
  if (FClient) {
    FClient->HostMouseDown(button, ShiftState(event->modifiers(), event->buttons()) | ssDouble, X(event),
                           Y(event));
    if (FClient) FClient->HostDblClick();
  }
  event->accept();
}

void TChartWidget::wheelEvent(QWheelEvent* event) {
  const int delta = event->angleDelta().y();
  if (delta == 0 || !FClient) return QWidget::wheelEvent(event);
  FClient->HostMouseWheel(ShiftState(event->modifiers(), event->buttons()), delta);
  event->accept();
}

void TChartWidget::leaveEvent(QEvent* event) {
  QWidget::leaveEvent(event);
  if (FClient) FClient->HostMouseLeave();
}

void TChartWidget::keyPressEvent(QKeyEvent* event) {
  if (!FClient) return QWidget::keyPressEvent(event);
  std::uint16_t key = VirtualKey(event->key());
  const QString text = event->text();
  char16_t keyChar = text.isEmpty() ? u'\0' : static_cast<char16_t>(text.at(0).unicode());
  FClient->HostKeyDown(key, keyChar, ShiftState(event->modifiers(), QGuiApplication::mouseButtons()));
  // A handler that clears both key and character consumed the key.
  if (key == 0 && keyChar == 0) event->accept();
  else QWidget::keyPressEvent(event);
}

void TChartWidget::keyReleaseEvent(QKeyEvent* event) {
  if (!FClient) return QWidget::keyReleaseEvent(event);
  std::uint16_t key = VirtualKey(event->key());
  const QString text = event->text();
  char16_t keyChar = text.isEmpty() ? u'\0' : static_cast<char16_t>(text.at(0).unicode());
  FClient->HostKeyUp(key, keyChar, ShiftState(event->modifiers(), QGuiApplication::mouseButtons()));
  if (key == 0 && keyChar == 0) event->accept();
  else QWidget::keyReleaseEvent(event);
}

}  // namespace sextant

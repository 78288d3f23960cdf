#include "platform/qt/quick/chart_quick_item.h"

#include <QCursor>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPainter>
#include <QQuickWindow>
#include <QScreen>
#include <QStyleHints>
#include <QWheelEvent>
#include <QtQml/qqml.h>

#include <cmath>

#include "panel/chart.h"
#include "platform/platform_services.h"
#include "platform/qt/chart_input.h"
#include "platform/qt/qt_canvas.h"
#include "platform/qt/qt_services.h"

namespace sextant {

TChartQuickItem::TChartQuickItem(QQuickItem* parent) : QQuickPaintedItem(parent) {
  // An application that did not install host services gets the Qt ones,
  // so that timers (scroll bar repeat) run and fonts follow the system.
  if (!KelPlatform().CreateTimer && !KelPlatform().FontService)
    InstallQtPlatformServices(KelPlatform().SettingsStore);

  setAcceptedMouseButtons(Qt::LeftButton | Qt::RightButton | Qt::MiddleButton);
  setAcceptHoverEvents(true);  // plain moves, as a widget's mouse tracking
  setActiveFocusOnTab(true);
  setImplicitSize(400, 250);

  // Set up as a control placed on a window: bound to its host and sized
  // inside its loading brackets, then Loaded.
  FOwn = std::make_unique<TChart>(nullptr);
  FOwn->BeginLoading();
  Bind(FOwn.get());
  FOwn->EndLoading();
}

TChartQuickItem::~TChartQuickItem() {
  // Cut both links before the chart goes, so that neither side calls the
  // other while it is being destroyed.
  Unbind();
  FOwn.reset();
}

void TChartQuickItem::Bind(TChart* chart) {
  FShown = chart;
  chart->SetHostControl(this);
  chart->SetBounds(0, 0, static_cast<float>(width()), static_cast<float>(height()));
  update();
}

void TChartQuickItem::Unbind() {
  if (!FShown) return;
  ReleaseMouse();
  FShown->SetHostControl(nullptr);
  FShown = nullptr;
}

void TChartQuickItem::SetChart(TChart* chart) {
  TChart* next = chart ? chart : FOwn.get();
  if (next == FShown) return;
  Unbind();
  Bind(next);
}

// ---- IHostControl ----------------------------------------------------------

void TChartQuickItem::SetCursor(TCursor cursor) {
  FCursor = cursor;
  if (cursor == crDefault)
    unsetCursor();
  else
    setCursor(QCursor(QtCursorShape(cursor)));
}

bool TChartQuickItem::CanFocus() const { return isEnabled() && isVisible(); }

void TChartQuickItem::CaptureMouse() {
  // Qt Quick grabs only while it delivers a mouse event to a visible item
  // (the chart asks on a press); a held button grabs anyway.
  if (FInMouseEvent && window() && isVisible()) {
    grabMouse();
    FCaptured = true;
  }
}

void TChartQuickItem::ReleaseMouse() {
  if (FCaptured) ungrabMouse();
  FCaptured = false;
}

TPointF TChartQuickItem::CursorPos() const {
  const QPointF p = mapFromGlobal(QCursor::pos());
  return {static_cast<float>(p.x()), static_cast<float>(p.y())};
}

IHostCanvas* TChartQuickItem::ControlCanvas() {
  const float scale = window() ? static_cast<float>(window()->effectiveDevicePixelRatio()) : 1.0f;
  if (!FControlBitmap || FControlBitmap->BitmapScale() != scale) {
    FControlBitmap = std::make_unique<TQtBitmap>(1, 1, scale);
    // The screen's logical DPI, so that fractional font sizes measure as
    // they paint.
    const QScreen* screen = window() ? window()->screen() : QGuiApplication::primaryScreen();
    const qreal dpi = screen ? screen->logicalDotsPerInchY() : 96;
    const int dotsPerMeter = qRound(dpi / 0.0254);
    FControlBitmap->Image().setDotsPerMeterX(dotsPerMeter);
    FControlBitmap->Image().setDotsPerMeterY(dotsPerMeter);
  }
  return &FControlBitmap->Canvas();
}

// ---- Painting and geometry ------------------------------------------------------

void TChartQuickItem::paint(QPainter* painter) {
  if (!FShown) return;
  TQtHostCanvas canvas(*painter);
  FShown->HostPaint(canvas);
}

void TChartQuickItem::geometryChange(const QRectF& newGeometry, const QRectF& oldGeometry) {
  QQuickPaintedItem::geometryChange(newGeometry, oldGeometry);
  if (FShown && newGeometry.size() != oldGeometry.size())
    FShown->HostResize(static_cast<float>(newGeometry.width()), static_cast<float>(newGeometry.height()));
}

void TChartQuickItem::itemChange(ItemChange change, const ItemChangeData& value) {
  // A hidden item cannot hold the mouse: end a capture (a pan or scroll bar
  // drag) instead of leaving it pending.
  if (change == ItemVisibleHasChanged && !value.boolValue) ReleaseMouse();
  QQuickPaintedItem::itemChange(change, value);
}

// ---- Input --------------------------------------------------------------------

void TChartQuickItem::mousePressEvent(QMouseEvent* event) {
  if (!IsChartButton(event->button())) return QQuickPaintedItem::mousePressEvent(event);
  // A click takes the keyboard focus before the chart sees it.
  if (!hasActiveFocus() && CanFocus()) forceActiveFocus(Qt::MouseFocusReason);

  // Qt Quick delivers the second press of a double click as a press and
  // only then the double click; the press is told apart here as Qt tells
  // it (same button, soon enough, near enough), so that it reaches the
  // chart with ssDouble as in the widget. A third press starts over.
  const QStyleHints* hints = QGuiApplication::styleHints();
  const QPointF delta = event->position() - FLastPressPos;
  const bool second = FHasLastPress && event->button() == FLastPressButton &&
                      event->timestamp() - FLastPressTime < quint64(hints->mouseDoubleClickInterval()) &&
                      std::abs(delta.x()) <= hints->mouseDoubleClickDistance() &&
                      std::abs(delta.y()) <= hints->mouseDoubleClickDistance();
  FHasLastPress = !second;
  FLastPressTime = event->timestamp();
  FLastPressButton = event->button();
  FLastPressPos = event->position();

  FInMouseEvent = true;
  ForwardMousePress(FShown, *event, second ? ssDouble : 0);
  FInMouseEvent = false;
  event->accept();
}

void TChartQuickItem::mouseMoveEvent(QMouseEvent* event) {
  FInMouseEvent = true;
  ForwardMouseMove(FShown, *event);
  FInMouseEvent = false;
  event->accept();
}

void TChartQuickItem::mouseReleaseEvent(QMouseEvent* event) {
  if (!ForwardMouseRelease(FShown, *event)) return QQuickPaintedItem::mouseReleaseEvent(event);
  event->accept();
}

void TChartQuickItem::mouseDoubleClickEvent(QMouseEvent* event) {
  if (!IsChartButton(event->button())) return QQuickPaintedItem::mouseDoubleClickEvent(event);
  // The press came before (see mousePressEvent): only the notification.
  ForwardDblClick(FShown);
  event->accept();
}

void TChartQuickItem::mouseUngrabEvent() { FCaptured = false; }

// The mouse entering the item is a move to where it entered, as a widget
// with mouse tracking gets it.
void TChartQuickItem::hoverEnterEvent(QHoverEvent* event) {
  ForwardMouseMove(FShown, *event);
  event->accept();
}

void TChartQuickItem::hoverMoveEvent(QHoverEvent* event) {
  ForwardMouseMove(FShown, *event);
  event->accept();
}

void TChartQuickItem::hoverLeaveEvent(QHoverEvent* event) {
  QQuickPaintedItem::hoverLeaveEvent(event);
  ForwardMouseLeave(FShown);
}

void TChartQuickItem::wheelEvent(QWheelEvent* event) {
  if (!ForwardWheel(FShown, *event)) return QQuickPaintedItem::wheelEvent(event);
  event->accept();
}

void TChartQuickItem::keyPressEvent(QKeyEvent* event) {
  // A handler that clears both key and character consumed the key.
  if (ForwardKeyPress(FShown, *event)) event->accept();
  else QQuickPaintedItem::keyPressEvent(event);
}

void TChartQuickItem::keyReleaseEvent(QKeyEvent* event) {
  if (ForwardKeyRelease(FShown, *event)) event->accept();
  else QQuickPaintedItem::keyReleaseEvent(event);
}

void RegisterChartQmlTypes() {
  static const bool registered = [] {
    qmlRegisterType<TChartQuickItem>("Sextant", 1, 0, "ChartView");
    return true;
  }();
  (void)registered;
}

}  // namespace sextant

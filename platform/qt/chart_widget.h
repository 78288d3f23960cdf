// TChartWidget: the Qt widget that hosts one chart control.
//
// It forwards paint, resize, mouse, wheel and key notifications to its client
// (the engine's chart control, not owned) with positions in
// device-independent pixels, and carries out what the engine asks of its
// host control: repaints, cursor, focus and mouse capture.
#pragma once

#include <QWidget>

#include <memory>

#include "platform/host_control.h"

namespace sextant {

class TQtBitmap;

class TChartWidget : public QWidget, public IHostControl {
 public:
  explicit TChartWidget(QWidget* parent = nullptr);
  ~TChartWidget() override;

  // The client receiving the notifications (not owned; may be null).
  void SetClient(IHostControlClient* client) { FClient = client; }
  IHostControlClient* Client() const { return FClient; }

  // IHostControl
  void InvalidateControl() override { update(); }
  void RepaintControl() override { repaint(); }
  void SetCursor(TCursor cursor) override;
  TCursor Cursor() const override { return FCursor; }
  bool CanFocus() const override;
  bool IsFocused() const override { return hasFocus(); }
  void SetFocus() override { setFocus(Qt::OtherFocusReason); }
  void CaptureMouse() override;
  void ReleaseMouse() override;
  bool HasParent() const override { return parentWidget() != nullptr; }
  TPointF CursorPos() const override;
  // A small off-screen canvas at the widget's scale and DPI, for measuring
  // text outside a paint; what is drawn on it is never shown.
  IHostCanvas* ControlCanvas() override;

  // Conversions used by the event handlers (public for tests).
  static TShiftState ShiftState(Qt::KeyboardModifiers modifiers, Qt::MouseButtons buttons);
  static Qt::CursorShape CursorShape(TCursor cursor);
  // Classic virtual-key code of a Qt key (0 when it has none).
  static std::uint16_t VirtualKey(int qtKey);

 protected:
  void paintEvent(QPaintEvent* event) override;
  void resizeEvent(QResizeEvent* event) override;
  void mousePressEvent(QMouseEvent* event) override;
  void mouseMoveEvent(QMouseEvent* event) override;
  void mouseReleaseEvent(QMouseEvent* event) override;
  void mouseDoubleClickEvent(QMouseEvent* event) override;
  void wheelEvent(QWheelEvent* event) override;
  void leaveEvent(QEvent* event) override;
  void keyPressEvent(QKeyEvent* event) override;
  void keyReleaseEvent(QKeyEvent* event) override;

 private:
  IHostControlClient* FClient = nullptr;
  TCursor FCursor = crDefault;
  bool FCaptured = false;
  std::unique_ptr<TQtBitmap> FControlBitmap;
};

}  // namespace sextant

// A long random sequence of real Qt input on the application's window:
// presses, moves, releases, double clicks, wheel turns and key presses with
// every mouse button, inside and outside the chart, interleaved with paints,
// page changes, data changes, resizes and clicks of the button. The events
// go through Qt's event dispatch to the chart widget, as the window system's
// would. After every step no exception has escaped, every axis has finite
// ordered ends and the plot rectangle a non-negative size; once all buttons
// are up no drag is left active. The seed is printed with every failure.
#include <QApplication>
#include <QKeyEvent>
#include <QMouseEvent>
#include <QPushButton>
#include <QWheelEvent>
#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <random>
#include <string>

#include "app/unit1.h"
#include "axes/chart_axis.h"
#include "panel/chart.h"
#include "panel/zoom_panning.h"
#include "platform/platform_services.h"
#include "platform/qt/chart_widget.h"
#include "series/chart_series.h"
#include "series/kel_random.h"
#include "tools/axis_scroll_bar.h"
#include "qt_test_app.h"

namespace sextant {
namespace {

constexpr unsigned KSeed = 20261210u;
// SEXTANT_SOAK_STEPS shortens or lengthens the run (the memcheck run uses
// a short one).
int Steps() {
  const char* v = std::getenv("SEXTANT_SOAK_STEPS");
  const int n = v ? std::atoi(v) : 0;
  return n > 0 ? n : 50000;
}

// The offscreen platform cannot grab the mouse and says so on every press
// that captures it; that warning alone is dropped from the output.
void QuietGrabWarnings(QtMsgType Type, const QMessageLogContext& Context, const QString& Message) {
  if (Message.contains("does not support grabbing the mouse")) return;
  qInstallMessageHandler(nullptr);
  qt_message_output(Type, Context, Message);
  qInstallMessageHandler(QuietGrabWarnings);
}

class WidgetSoakTest : public ::testing::Test {
 protected:
  WidgetSoakTest() : random(KSeed) {
    qInstallMessageHandler(QuietGrabWarnings);
    RandSeed = KSeed;
    form = std::make_unique<TForm1>();
    form->show();
    widget = form->ChartWidget(form->Chart1);
    for (TKelCustomTool* t : form->Chart1->Tools())
      if (auto* b = dynamic_cast<TAxisScrollBarTool*>(t)) bar = b;
  }

  int Pick(int Lo, int Hi) { return std::uniform_int_distribution<int>(Lo, Hi)(random); }

  // Mostly inside the chart widget, sometimes far outside it.
  QPointF Position() {
    if (Pick(0, 9) == 0) return QPointF(Pick(-2000, 3000), Pick(-2000, 3000));
    return QPointF(Pick(0, widget->width()) + Pick(0, 3) * 0.25, Pick(0, widget->height()) + Pick(0, 3) * 0.25);
  }
  // Somewhere on the scroll bar as the last paint laid it out.
  QPointF OnScrollBar() {
    const TRectF r = bar->MainRectangle();
    return QPointF(r.Left + Pick(0, 1000) / 1000.0 * r.Width(), r.Top + Pick(0, 1000) / 1000.0 * r.Height());
  }
  Qt::KeyboardModifiers Modifiers() {
    static const Qt::KeyboardModifiers kinds[] = {Qt::NoModifier, Qt::ShiftModifier, Qt::ControlModifier,
                                                  Qt::AltModifier, Qt::ShiftModifier | Qt::ControlModifier};
    return Pick(0, 2) ? Qt::NoModifier : kinds[Pick(0, 4)];
  }

  void SendMouse(QEvent::Type Type, Qt::MouseButton Button, QPointF Local) {
    QMouseEvent e(Type, Local, widget->mapToGlobal(Local), Button, held, Modifiers());
    QApplication::sendEvent(widget, &e);
  }

  void CheckInvariants(const std::string& Where) {
    TChart& chart = *form->Chart1;
    for (TChartAxis* a : chart.Axes()) {
      ASSERT_TRUE(std::isfinite(a->Minimum()) && std::isfinite(a->Maximum())) << Where << " axis " << a->AxisID();
      ASSERT_LE(a->Minimum(), a->Maximum()) << Where << " axis " << a->AxisID();
    }
    ASSERT_GE(chart.ChartRect.Width(), 0) << Where;
    ASSERT_GE(chart.ChartRect.Height(), 0) << Where;
  }

  ~WidgetSoakTest() override { qInstallMessageHandler(nullptr); }

  std::mt19937 random;
  std::unique_ptr<TForm1> form;
  TChartWidget* widget = nullptr;
  TAxisScrollBarTool* bar = nullptr;
  Qt::MouseButtons held;
};

TEST_F(WidgetSoakTest, RandomInputOnTheRealWindowKeepsTheChartSound) {
  SCOPED_TRACE("seed " + std::to_string(KSeed));
  ASSERT_NE(widget, nullptr);
  ASSERT_NE(bar, nullptr);
  TChart& chart = *form->Chart1;
  static const Qt::MouseButton buttons[] = {Qt::LeftButton, Qt::RightButton, Qt::MiddleButton};
  static const int keys[] = {Qt::Key_Left, Qt::Key_Right, Qt::Key_Up,     Qt::Key_Down, Qt::Key_PageUp,
                             Qt::Key_Home, Qt::Key_End,   Qt::Key_Escape, Qt::Key_A,    Qt::Key_Plus};
  widget->grab();

  // How often the sequence really dragged and moved the axis, so that the
  // run means something.
  int panning = 0, barDrags = 0, rangesSeen = 0, paints = 0;
  double lastMinimum = chart.BottomAxis()->Minimum();
  const int steps = Steps();
  for (int step = 0; step < steps; ++step) {
    const std::string where = "seed " + std::to_string(KSeed) + " step " + std::to_string(step);
    const int action = Pick(0, 999);
    try {
      if (action < 150) {
        const Qt::MouseButton b = buttons[Pick(0, 2)];
        held |= b;
        SendMouse(action < 20 ? QEvent::MouseButtonDblClick : QEvent::MouseButtonPress, b,
                  Pick(0, 2) == 0 ? OnScrollBar() : Position());
      } else if (action < 550) {
        SendMouse(QEvent::MouseMove, Qt::NoButton, Position());
      } else if (action < 680) {
        // Mostly a held button; sometimes one whose press went elsewhere.
        const Qt::MouseButton b = buttons[Pick(0, 2)];
        held &= ~Qt::MouseButtons(b);
        SendMouse(QEvent::MouseButtonRelease, b, Position());
      } else if (action < 760) {
        const QPointF p = Position();
        const int delta = (Pick(0, 1) ? 1 : -1) * (Pick(0, 3) ? 120 : Pick(1, 480));
        QWheelEvent e(p, widget->mapToGlobal(p), QPoint(), QPoint(0, delta), held, Modifiers(),
                      Qt::NoScrollPhase, false);
        QApplication::sendEvent(widget, &e);
      } else if (action < 800) {
        const int key = keys[Pick(0, 9)];
        QKeyEvent down(QEvent::KeyPress, key, Modifiers(), key == Qt::Key_A ? "a" : "");
        QApplication::sendEvent(widget, &down);
        QKeyEvent up(QEvent::KeyRelease, key, Modifiers(), key == Qt::Key_A ? "a" : "");
        QApplication::sendEvent(widget, &up);
      } else if (action < 900) {
        widget->grab();
        ++paints;
      } else if (action < 930) {
        chart.SetPage(Pick(-1, 12));
      } else if (action < 950) {
        form->Button1->click();
      } else if (action < 975) {
        TChartSeries& s = *chart.Series(0);
        switch (Pick(0, 5)) {
          case 0: s.AddXY(s.Count() ? s.XValue(s.Count() - 1) + 1 : 0, Pick(-1000, 1000)); break;
          case 1: if (s.Count()) s.Delete(Pick(0, s.Count() - 1)); break;
          case 2: s.Clear(); break;
          case 3: s.FillSampleValues(Pick(1, 300)); break;
          case 4: s.AddNullXY(s.Count(), 0); break;
          default: s.AddXY(Pick(-50, 150), std::nan("")); break;
        }
      } else if (action < 985) {
        form->resize(Pick(200, 1400), Pick(150, 900));
      } else if (action < 995) {
        QEvent leave(QEvent::Leave);
        QApplication::sendEvent(widget, &leave);
      } else {
        // Lets due timers fire (the scroll bar's auto-repeat) and queued
        // updates paint.
        QApplication::processEvents();
      }
    } catch (const std::exception& e) {
      FAIL() << where << ": exception " << e.what();
    } catch (...) {
      FAIL() << where << ": unknown exception";
    }
    CheckInvariants(where);
    if (HasFatalFailure()) return;
    panning += chart.Panning()->Active();
    barDrags += bar->In() != spNone;
    if (chart.BottomAxis()->Minimum() != lastMinimum) {
      ++rangesSeen;
      lastMinimum = chart.BottomAxis()->Minimum();
    }
  }
  // Proportions that a working run reaches easily (about 15 %, 1 %, 20 % and
  // 10 % of the steps).
  EXPECT_GT(panning, steps / 100) << "right-drags should have panned";
  EXPECT_GT(barDrags, steps / 1000) << "presses on the scroll bar should have dragged or paged";
  EXPECT_GT(rangesSeen, steps / 100) << "the visible range should have moved often";
  EXPECT_GT(paints, steps / 25);
  std::printf("seed %u: %d steps, %d paints, %d steps panning, %d on the scroll bar, %d range changes\n", KSeed,
              steps, paints, panning, barDrags, rangesSeen);

  // Every button up, the auto-repeat time over: nothing is left dragging.
  for (Qt::MouseButton b : buttons) {
    held &= ~Qt::MouseButtons(b);
    SendMouse(QEvent::MouseButtonRelease, b, QPointF(10, 10));
  }
  widget->grab();
  CheckInvariants("end");
  EXPECT_FALSE(chart.Zoom()->Active());
  EXPECT_FALSE(chart.Panning()->Active());
  EXPECT_EQ(bar->In(), spNone);
  EXPECT_TRUE(bar->Timer() == nullptr || !bar->Timer()->Enabled());
}

}  // namespace
}  // namespace sextant

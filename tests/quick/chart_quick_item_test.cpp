// TChartQuickItem in a Qt Quick window, offscreen with the software
// renderer: the example's QML loads and shows a chart that a right-button
// drag pans; the same input reaches the chart exactly as through the chart
// widget; resizes, showing another chart, focus and capture.
#include "platform/qt/quick/chart_quick_item.h"

#include <QGuiApplication>
#include <QKeyEvent>
#include <QQmlApplicationEngine>
#include <QQuickWindow>
#include <QStyleHints>
#include <QTest>
#include <QWheelEvent>
#include <QWidget>
#include <gtest/gtest.h>

#include <algorithm>
#include <functional>
#include <memory>
#include <string>
#include <vector>

#include "axes/chart_axis.h"
#include "panel/chart.h"
#include "platform/qt/chart_view.h"
#include "series/fast_line_series.h"
#include "../qt/qt_test_app.h"

namespace sextant {
namespace {

void FillLine(TChart& chart, int points) {
  chart.SetView3D(false);
  auto* line = new TFastLineSeries(&chart);
  chart.AddSeries(line);
  for (int i = 0; i < points; ++i) line->AddXY(i, (i * 37) % 11);
}

// Waits until the window has rendered a frame after now.
bool WaitForFrame(QQuickWindow& window) {
  bool swapped = false;
  auto connection = QObject::connect(&window, &QQuickWindow::frameSwapped, [&] { swapped = true; });
  window.update();
  const bool ok = QTest::qWaitFor([&] { return swapped; });
  QObject::disconnect(connection);
  return ok;
}

TEST(ChartQuickItemExample, TheQmlLoadsAndARightDragPansTheBottomAxis) {
  RegisterChartQmlTypes();
  QQmlApplicationEngine engine;
  engine.load(QUrl::fromLocalFile(SEXTANT_QUICK_EXAMPLE_QML));
  ASSERT_EQ(engine.rootObjects().size(), 1);
  auto* window = qobject_cast<QQuickWindow*>(engine.rootObjects().first());
  ASSERT_NE(window, nullptr);
  auto* item = window->findChild<TChartQuickItem*>("chart");
  ASSERT_NE(item, nullptr);
  TChart& chart = *item->Chart();
  FillLine(chart, 100);
  ASSERT_TRUE(QTest::qWaitForWindowExposed(window));
  ASSERT_TRUE(WaitForFrame(*window));

  // The chart has the item's size: the window less the 32-pixel caption.
  EXPECT_EQ(chart.Width(), 640);
  EXPECT_EQ(chart.Height(), 368);
  TChartAxis& bottom = *chart.BottomAxis();
  TChartAxis& left = *chart.LeftAxis();
  const double min = bottom.IMinimum, max = bottom.IMaximum;  // as drawn
  const double leftMin = left.IMinimum, leftMax = left.IMaximum;
  const int from = bottom.CalcXPosValue(50);
  ASSERT_GT(from, 100);

  // 100 pixels to the right, in window coordinates (the item is at y 32).
  const int y = 32 + 150;
  QTest::mousePress(window, Qt::RightButton, Qt::NoModifier, QPoint(from, y));
  // A frame after each move, as on a screen: panning reads the ends of the
  // last layout.
  for (int dx = 20; dx <= 100; dx += 20) {
    QTest::mouseMove(window, QPoint(from + dx, y));
    ASSERT_TRUE(WaitForFrame(*window));
  }
  QTest::mouseRelease(window, Qt::RightButton, Qt::NoModifier, QPoint(from + 100, y));
  ASSERT_TRUE(WaitForFrame(*window));

  // The axis moved by the values of 100 pixels, earlier values now show.
  const double perPixel = (max - min) / (bottom.IEndPos - bottom.IStartPos);
  EXPECT_LT(bottom.Minimum(), min);
  EXPECT_NEAR(bottom.Minimum(), min - 100 * perPixel, 2 * perPixel);
  EXPECT_NEAR(bottom.Maximum() - bottom.Minimum(), max - min, 1e-9 * (max - min));
  EXPECT_FALSE(bottom.Automatic());
  // A horizontal drag leaves the vertical axis alone.
  EXPECT_EQ(left.IMinimum, leftMin);
  EXPECT_EQ(left.IMaximum, leftMax);
}

// ---- The same input through the widget and through the item ---------------

// Everything the chart's events report, as text.
std::vector<std::string>* Record(TChart& chart) {
  auto* calls = new std::vector<std::string>;
  auto pos = [](float x, float y) { return std::to_string(int(x)) + "," + std::to_string(int(y)); };
  chart.OnMouseDown = [=](TPersistent*, TMouseButton b, TShiftState s, float x, float y) {
    calls->push_back("down " + std::to_string(int(b)) + " " + pos(x, y) + " s=" + std::to_string(s));
  };
  chart.OnMouseMove = [=](TPersistent*, TShiftState s, float x, float y) {
    calls->push_back("move " + pos(x, y) + " s=" + std::to_string(s));
  };
  chart.OnMouseUp = [=](TPersistent*, TMouseButton b, TShiftState s, float x, float y) {
    calls->push_back("up " + std::to_string(int(b)) + " " + pos(x, y) + " s=" + std::to_string(s));
  };
  chart.OnMouseWheel = [=](TPersistent*, TShiftState s, int delta, bool&) {
    calls->push_back("wheel " + std::to_string(delta) + " s=" + std::to_string(s));
  };
  chart.OnDblClick = [=](TPersistent*) { calls->push_back("dblclick"); };
  chart.OnMouseLeave = [=](TPersistent*) { calls->push_back("leave"); };
  chart.OnKeyDown = [=](TPersistent*, std::uint16_t& key, char16_t& c, TShiftState s) {
    calls->push_back("keydown " + std::to_string(key) + " " + std::to_string(int(c)) + " s=" + std::to_string(s));
  };
  chart.OnKeyUp = [=](TPersistent*, std::uint16_t& key, char16_t& c, TShiftState s) {
    calls->push_back("keyup " + std::to_string(key) + " " + std::to_string(int(c)) + " s=" + std::to_string(s));
  };
  return calls;
}

void Forget(TChart& chart) {
  chart.OnMouseDown = nullptr, chart.OnMouseMove = nullptr, chart.OnMouseUp = nullptr;
  chart.OnMouseWheel = nullptr, chart.OnDblClick = nullptr, chart.OnMouseLeave = nullptr;
  chart.OnKeyDown = nullptr, chart.OnKeyUp = nullptr;
}

// One host under test: its window (the widget's or the Qt Quick one), the
// object that receives wheel, leave and key events, and its chart.
struct THost {
  QWindow* window;
  QObject* target;
  TChart* chart;
  std::function<void()> focus;
};

// Mouse input through the window system path a real mouse takes (the
// application turns a quick second press into a double click there), with
// timestamps of its own so that both hosts see the same times.
class TMouse {
 public:
  void Press(THost& h, Qt::MouseButton b, Qt::KeyboardModifiers m, QPoint p) {
    FButtons |= b;
    Send(h, p, b, QEvent::MouseButtonPress, m);
  }
  void Release(THost& h, Qt::MouseButton b, Qt::KeyboardModifiers m, QPoint p) {
    FButtons &= ~Qt::MouseButtons(b);
    Send(h, p, b, QEvent::MouseButtonRelease, m);
  }
  void Move(THost& h, QPoint p, Qt::KeyboardModifiers m = Qt::NoModifier) {
    Send(h, p, Qt::NoButton, QEvent::MouseMove, m);
  }
  // A pause longer than a double click between scripts.
  void Pause() { FTime += 5000; }

 private:
  void Send(THost& h, QPoint p, Qt::MouseButton b, QEvent::Type type, Qt::KeyboardModifiers m) {
    FTime += 20;
    qt_handleMouseEvent(h.window, QPointF(p), h.window->mapToGlobal(QPointF(p)), FButtons, b, type, m, FTime);
    QCoreApplication::processEvents();
  }
  Qt::MouseButtons FButtons;
  int FTime = 100000;
};

void Wheel(THost& h, QPoint p, int delta, Qt::KeyboardModifiers m) {
  const QPointF at(p);
  QWheelEvent wheel(at, at, QPoint(), QPoint(0, delta), Qt::NoButton, m, Qt::NoScrollPhase, false);
  QCoreApplication::sendEvent(h.target, &wheel);
}
void Leave(THost& h) {
  QEvent leave(QEvent::Leave);
  QCoreApplication::sendEvent(h.target, &leave);
}
void Key(THost& h, Qt::Key key, Qt::KeyboardModifiers m) {
  h.focus();
  if (auto* w = qobject_cast<QWidget*>(h.target)) QTest::keyClick(w, key, m);
  else QTest::keyClick(h.window, key, m);
}

class ChartQuickItemTest : public ::testing::Test {
 protected:
  void SetUp() override {
    RegisterChartQmlTypes();
    FWidget = std::make_unique<TChartView>();
    FWidget->resize(400, 250);
    FillLine(*FWidget->Chart(), 20);
    FWidget->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(FWidget.get()));

    FWindow = std::make_unique<QQuickWindow>();
    FWindow->resize(400, 250);
    FItem = new TChartQuickItem(FWindow->contentItem());  // freed with the window's items
    FItem->setSize(QSizeF(400, 250));
    FillLine(*FItem->Chart(), 20);
    FWindow->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(FWindow.get()));
    ASSERT_TRUE(WaitForFrame(*FWindow));
  }
  void TearDown() override {
    FWindow.reset();
    FWidget.reset();
  }

  std::unique_ptr<TChartView> FWidget;
  std::unique_ptr<QQuickWindow> FWindow;
  TChartQuickItem* FItem = nullptr;
};

TEST_F(ChartQuickItemTest, InputReachesTheChartAsThroughTheWidget) {
  const struct {
    const char* name;
    std::function<void(THost&, TMouse&)> script;
    const char* mustContain;  // a call the script must produce at all
  } cases[] = {
      {"left click with ctrl",
       [](THost& h, TMouse& m) {
         m.Move(h, {120, 80});
         m.Press(h, Qt::LeftButton, Qt::ControlModifier, {120, 80});
         m.Release(h, Qt::LeftButton, Qt::ControlModifier, {120, 80});
       },
       "down 0 120,80 s=12"},
      {"right drag",
       [](THost& h, TMouse& m) {
         m.Move(h, {200, 120});
         m.Press(h, Qt::RightButton, Qt::NoModifier, {200, 120});
         m.Move(h, {230, 125});
         m.Move(h, {260, 130});
         m.Release(h, Qt::RightButton, Qt::NoModifier, {260, 130});
       },
       "move 260,130 s=16"},
      {"middle drag with shift",
       [](THost& h, TMouse& m) {
         m.Move(h, {50, 40}, Qt::ShiftModifier);
         m.Press(h, Qt::MiddleButton, Qt::ShiftModifier, {50, 40});
         m.Move(h, {55, 40}, Qt::ShiftModifier);
         m.Release(h, Qt::MiddleButton, Qt::ShiftModifier, {55, 40});
       },
       "up 2 55,40 s=1"},
      {"hover moves",
       [](THost& h, TMouse& m) { m.Move(h, {30, 30}), m.Move(h, {90, 70}), m.Move(h, {150, 100}); },
       "move 150,100 s=0"},
      {"double click",
       [](THost& h, TMouse& m) {
         m.Move(h, {140, 90});
         for (int i = 0; i < 2; ++i) {
           m.Press(h, Qt::LeftButton, Qt::NoModifier, {140, 90});
           m.Release(h, Qt::LeftButton, Qt::NoModifier, {140, 90});
         }
       },
       "dblclick"},
      {"two slow clicks are no double click",
       [](THost& h, TMouse& m) {
         m.Move(h, {140, 90});
         m.Press(h, Qt::LeftButton, Qt::NoModifier, {140, 90});
         m.Release(h, Qt::LeftButton, Qt::NoModifier, {140, 90});
         m.Pause();
         m.Press(h, Qt::LeftButton, Qt::NoModifier, {140, 90});
         m.Release(h, Qt::LeftButton, Qt::NoModifier, {140, 90});
       },
       "down 0 140,90 s=8"},
      {"wheel", [](THost& h, TMouse&) { Wheel(h, {100, 100}, -120, Qt::ShiftModifier); }, "wheel -120 s=1"},
      {"hover then leave", [](THost& h, TMouse& m) { m.Move(h, {100, 100}), Leave(h); }, "leave"},
      {"keys",
       [](THost& h, TMouse&) { Key(h, Qt::Key_A, Qt::NoModifier), Key(h, Qt::Key_Left, Qt::ShiftModifier); },
       "keydown 37 0 s=1"},
  };
  THost widget{FWidget->windowHandle(), FWidget.get(), FWidget->Chart(), [this] { FWidget->setFocus(); }};
  THost quick{FWindow.get(), FWindow.get(), FItem->Chart(), [this] { FItem->forceActiveFocus(); }};
  ASSERT_NE(widget.window, nullptr);
  TMouse mouse;
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    std::vector<std::string> calls[2];
    THost* hosts[2] = {&widget, &quick};
    for (int i = 0; i < 2; ++i) {
      std::unique_ptr<std::vector<std::string>> recorded(Record(*hosts[i]->chart));
      mouse.Pause();
      c.script(*hosts[i], mouse);
      QCoreApplication::processEvents();
      calls[i] = *recorded;
      Forget(*hosts[i]->chart);
      // The pointer leaves by a corner, so that each script starts outside.
      mouse.Move(*hosts[i], {1, 1});
      Leave(*hosts[i]);
    }
    EXPECT_EQ(calls[1], calls[0]);
    EXPECT_NE(std::find(calls[1].begin(), calls[1].end(), c.mustContain), calls[1].end()) << "no " << c.mustContain;
  }
}

TEST_F(ChartQuickItemTest, ResizingTheItemResizesTheChartAndRepaints) {
  int draws = 0;
  FItem->Chart()->OnAfterDraw = [&](TPersistent*) { ++draws; };
  FItem->setSize(QSizeF(300, 180));
  EXPECT_EQ(FItem->Chart()->Width(), 300);
  EXPECT_EQ(FItem->Chart()->Height(), 180);
  ASSERT_TRUE(WaitForFrame(*FWindow));
  EXPECT_GT(draws, 0);
  EXPECT_EQ(FItem->Chart()->ChartBounds().Right, 300);
}

TEST_F(ChartQuickItemTest, ShowsAChartOwnedElsewhereAndItsOwnAgain) {
  TChart* own = FItem->OwnChart();
  ASSERT_EQ(FItem->Chart(), own);
  EXPECT_EQ(own->HostControl(), FItem);

  TChart other(nullptr);
  FillLine(other, 5);
  int otherDraws = 0, ownDraws = 0;
  other.OnAfterDraw = [&](TPersistent*) { ++otherDraws; };
  own->OnAfterDraw = [&](TPersistent*) { ++ownDraws; };
  FItem->SetChart(&other);
  EXPECT_EQ(FItem->Chart(), &other);
  EXPECT_EQ(other.HostControl(), FItem);
  EXPECT_EQ(own->HostControl(), nullptr);
  EXPECT_EQ(other.Width(), 400);  // sized to the item
  ASSERT_TRUE(WaitForFrame(*FWindow));
  EXPECT_GT(otherDraws, 0);
  EXPECT_EQ(ownDraws, 0);

  // Input goes to the chart shown.
  std::unique_ptr<std::vector<std::string>> calls(Record(other));
  QTest::mouseClick(FWindow.get(), Qt::LeftButton, Qt::NoModifier, QPoint(20, 20));
  EXPECT_FALSE(calls->empty());

  FItem->SetChart(nullptr);  // back to its own, before `other` goes
  EXPECT_EQ(FItem->Chart(), own);
  EXPECT_EQ(other.HostControl(), nullptr);
  EXPECT_EQ(own->HostControl(), FItem);
  other.OnMouseDown = nullptr, other.OnMouseUp = nullptr, other.OnMouseMove = nullptr;
}

TEST_F(ChartQuickItemTest, FocusCaptureAndCursorActOnTheItem) {
  EXPECT_TRUE(FItem->CanFocus());
  EXPECT_TRUE(FItem->HasParent());
  QTest::mouseClick(FWindow.get(), Qt::LeftButton, Qt::NoModifier, QPoint(50, 50));
  EXPECT_TRUE(FItem->IsFocused());  // a click takes the keyboard focus

  // The chart captures the mouse from its press handler (as for a pan that
  // may leave the chart); hiding the item ends the capture.
  bool grabbedInPress = false;
  FItem->Chart()->OnMouseDown = [&](TPersistent*, TMouseButton, TShiftState, float, float) {
    FItem->CaptureMouse();
    grabbedInPress = FWindow->mouseGrabberItem() == FItem;
  };
  QTest::mousePress(FWindow.get(), Qt::RightButton, Qt::NoModifier, QPoint(60, 60));
  EXPECT_TRUE(grabbedInPress);
  FItem->setVisible(false);
  EXPECT_EQ(FWindow->mouseGrabberItem(), nullptr);
  QTest::mouseRelease(FWindow.get(), Qt::RightButton, Qt::NoModifier, QPoint(60, 60));
  FItem->setVisible(true);
  FItem->Chart()->OnMouseDown = nullptr;
  FItem->CaptureMouse();  // outside a mouse event: nothing to grab, no harm
  EXPECT_EQ(FWindow->mouseGrabberItem(), nullptr);
  FItem->ReleaseMouse();

  const struct {
    TCursor cursor;
    Qt::CursorShape shape;
  } cases[] = {{crHandPoint, Qt::PointingHandCursor}, {crSizeAll, Qt::SizeAllCursor}, {crCross, Qt::CrossCursor}};
  for (const auto& c : cases) {
    FItem->SetCursor(c.cursor);
    EXPECT_EQ(FItem->Cursor(), c.cursor);
    EXPECT_EQ(FItem->cursor().shape(), c.shape);
  }
  FItem->SetCursor(crDefault);
  EXPECT_EQ(FItem->cursor().shape(), Qt::ArrowCursor);
  EXPECT_NE(FItem->ControlCanvas(), nullptr);
}

}  // namespace
}  // namespace sextant

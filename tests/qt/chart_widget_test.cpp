// TChartWidget: Qt input reaches the chart client with positions, buttons
// and shift state; paints reach it with a working canvas; resizes are
// reported; the host-control requests (cursor, capture, repaint, focus) act
// on the widget.
#include "platform/qt/chart_widget.h"

#include <QApplication>
#include <QCursor>
#include <QKeyEvent>
#include <QTest>
#include <QWheelEvent>
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "platform/host_canvas.h"
#include "qt_test_app.h"

namespace sextant {
namespace {

// Records every notification as text, e.g. "down L 10,20 s=9".
class TTestClient : public IHostControlClient {
 public:
  std::vector<std::string> Calls;
  std::string PaintCanvasClass;
  int Paints = 0;
  TColor PaintColor = 0xFFFF0000;
  bool ConsumeKeys = false;

  static const char* Name(TMouseButton b) {
    return b == TMouseButton::mbLeft ? "L" : b == TMouseButton::mbRight ? "R" : "M";
  }
  static std::string Pos(float x, float y) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%g,%g", x, y);
    return buffer;
  }

  void HostPaint(IHostCanvas& canvas) override {
    ++Paints;
    PaintCanvasClass = canvas.ClassName();
    ChangeFill(canvas, [&](THostFill& f) {
      f.Kind = THostBrushKind::Solid;
      f.Color = PaintColor;
    });
    canvas.FillRect({0, 0, 10000, 10000}, 0, 0, hcAll, 1, THostCornerType::Round);
  }
  void HostResize(float w, float h) override { Calls.push_back("resize " + Pos(w, h)); }
  void HostMouseDown(TMouseButton b, TShiftState s, float x, float y) override {
    Calls.push_back(std::string("down ") + Name(b) + " " + Pos(x, y) + " s=" + std::to_string(s));
  }
  void HostMouseMove(TShiftState s, float x, float y) override {
    Calls.push_back("move " + Pos(x, y) + " s=" + std::to_string(s));
  }
  void HostMouseUp(TMouseButton b, TShiftState s, float x, float y) override {
    Calls.push_back(std::string("up ") + Name(b) + " " + Pos(x, y) + " s=" + std::to_string(s));
  }
  void HostMouseWheel(TShiftState s, int delta) override {
    Calls.push_back("wheel " + std::to_string(delta) + " s=" + std::to_string(s));
  }
  void HostDblClick() override { Calls.push_back("dblclick"); }
  void HostMouseLeave() override { Calls.push_back("leave"); }
  void HostKeyDown(std::uint16_t& key, char16_t& keyChar, TShiftState s) override {
    Calls.push_back("keydown " + std::to_string(key) + " " + std::to_string(int(keyChar)) + " s=" + std::to_string(s));
    if (ConsumeKeys) key = 0, keyChar = 0;
  }
  void HostKeyUp(std::uint16_t& key, char16_t& keyChar, TShiftState s) override {
    Calls.push_back("keyup " + std::to_string(key) + " " + std::to_string(int(keyChar)) + " s=" + std::to_string(s));
  }
};

// A parent that records the keys its child passed on.
class TKeyParent : public QWidget {
 public:
  int Keys = 0;

 protected:
  void keyPressEvent(QKeyEvent*) override { ++Keys; }
};

class ChartWidgetTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FParent.resize(400, 300);
    FWidget = new TChartWidget(&FParent);
    FWidget->setGeometry(20, 30, 200, 100);
    FWidget->SetClient(&FClient);
    FParent.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&FParent));
    FClient.Calls.clear();
  }
  std::vector<std::string>& Calls() { return FClient.Calls; }

  TKeyParent FParent;
  TChartWidget* FWidget = nullptr;  // owned by FParent
  TTestClient FClient;
};

std::string S(TShiftState s) { return "s=" + std::to_string(s); }

TEST_F(ChartWidgetTest, MouseButtonsPositionsAndShiftStateReachTheClient) {
  QTest::mousePress(FWidget, Qt::LeftButton, Qt::ShiftModifier, QPoint(10, 20));
  QTest::mouseMove(FWidget, QPoint(15, 25));
  QTest::mouseRelease(FWidget, Qt::LeftButton, Qt::ShiftModifier, QPoint(16, 26));
  QTest::mousePress(FWidget, Qt::RightButton, Qt::ControlModifier | Qt::AltModifier, QPoint(50, 60));
  QTest::mouseRelease(FWidget, Qt::RightButton, Qt::NoModifier, QPoint(50, 60));
  QTest::mousePress(FWidget, Qt::MiddleButton, Qt::NoModifier, QPoint(1, 2));
  QTest::mouseRelease(FWidget, Qt::MiddleButton, Qt::NoModifier, QPoint(1, 2));

  std::vector<std::string> moves, others;
  for (const std::string& c : Calls()) (c.rfind("move", 0) == 0 ? moves : others).push_back(c);
  const std::vector<std::string> expected = {
      "down L 10,20 " + S(ssShift | ssLeft),
      "up L 16,26 " + S(ssShift),
      "down R 50,60 " + S(ssCtrl | ssAlt | ssRight),
      "up R 50,60 " + S(0),
      "down M 1,2 " + S(ssMiddle),
      "up M 1,2 " + S(0),
  };
  EXPECT_EQ(others, expected);
  // The move with the left button held reports it.
  ASSERT_FALSE(moves.empty());
  EXPECT_NE(std::find(moves.begin(), moves.end(), "move 15,25 " + S(ssLeft)), moves.end())
      << ::testing::PrintToString(moves);
}

TEST_F(ChartWidgetTest, PlainMovesAreTrackedWithoutButtons) {
  EXPECT_TRUE(FWidget->hasMouseTracking());
  QMouseEvent move(QEvent::MouseMove, QPointF(33.5, 44.25), FWidget->mapToGlobal(QPointF(33.5, 44.25)),
                   Qt::NoButton, Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(FWidget, &move);
  ASSERT_EQ(Calls().size(), 1u);
  EXPECT_EQ(Calls()[0], "move 33.5,44.25 " + S(0));  // sub-pixel positions are kept
}

TEST_F(ChartWidgetTest, DoubleClickIsAPressWithSsDoubleThenDblClick) {
  // What Qt delivers for a double click: press, release, double-click, release.
  const QPointF p(5, 6);
  const QPointF g = FWidget->mapToGlobal(p);
  QMouseEvent press(QEvent::MouseButtonPress, p, g, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
  QMouseEvent release(QEvent::MouseButtonRelease, p, g, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
  QMouseEvent dbl(QEvent::MouseButtonDblClick, p, g, Qt::LeftButton, Qt::LeftButton, Qt::NoModifier);
  QMouseEvent release2(QEvent::MouseButtonRelease, p, g, Qt::LeftButton, Qt::NoButton, Qt::NoModifier);
  for (QMouseEvent* e : {&press, &release, &dbl, &release2}) QApplication::sendEvent(FWidget, e);
  std::vector<std::string> calls;
  for (const std::string& c : Calls())
    if (c.rfind("move", 0) != 0) calls.push_back(c);
  const std::vector<std::string> expected = {
      "down L 5,6 " + S(ssLeft), "up L 5,6 " + S(0), "down L 5,6 " + S(ssLeft | ssDouble), "dblclick",
      "up L 5,6 " + S(0)};
  EXPECT_EQ(calls, expected);
}

TEST_F(ChartWidgetTest, WheelDeliversTheVerticalAngleDelta) {
  const QPointF pos(10, 10);
  QWheelEvent up(pos, FWidget->mapToGlobal(pos), QPoint(), QPoint(0, 120), Qt::NoButton, Qt::ControlModifier,
                 Qt::NoScrollPhase, false);
  QApplication::sendEvent(FWidget, &up);
  QWheelEvent down(pos, FWidget->mapToGlobal(pos), QPoint(), QPoint(0, -240), Qt::LeftButton, Qt::NoModifier,
                   Qt::NoScrollPhase, false);
  QApplication::sendEvent(FWidget, &down);
  QWheelEvent sideways(pos, FWidget->mapToGlobal(pos), QPoint(), QPoint(120, 0), Qt::NoButton, Qt::NoModifier,
                       Qt::NoScrollPhase, false);
  QApplication::sendEvent(FWidget, &sideways);  // no vertical turn: not reported
  const std::vector<std::string> expected = {"wheel 120 " + S(ssCtrl), "wheel -240 " + S(ssLeft)};
  EXPECT_EQ(Calls(), expected);
}

TEST_F(ChartWidgetTest, KeysArriveAsVirtualKeysWithTheirCharacter) {
  FWidget->setFocus();
  QTest::keyClick(FWidget, Qt::Key_Left, Qt::ShiftModifier);
  QTest::keyClick(FWidget, Qt::Key_A, Qt::NoModifier);
  // QTest presses and releases the Shift key around the click.
  const std::vector<std::string> expected = {
      "keydown 16 0 " + S(ssShift), "keydown 37 0 " + S(ssShift), "keyup 37 0 " + S(ssShift),
      "keyup 16 0 " + S(0),         "keydown 65 97 " + S(0),      "keyup 65 97 " + S(0),
  };
  EXPECT_EQ(Calls(), expected);
}

TEST_F(ChartWidgetTest, AKeyConsumedByTheClientStopsThere) {
  FWidget->setFocus();
  QTest::keyClick(FWidget, Qt::Key_X);
  EXPECT_EQ(FParent.Keys, 1);  // not consumed: passed on to the parent
  FClient.ConsumeKeys = true;
  QTest::keyClick(FWidget, Qt::Key_X);
  EXPECT_EQ(FParent.Keys, 1);
}

TEST_F(ChartWidgetTest, LeaveIsReported) {
  QEvent leave(QEvent::Leave);
  QApplication::sendEvent(FWidget, &leave);
  EXPECT_EQ(Calls(), std::vector<std::string>{"leave"});
}

TEST_F(ChartWidgetTest, PaintReachesTheClientWithAQtCanvas) {
  FClient.PaintColor = 0xFF00FF00;
  const int before = FClient.Paints;
  FWidget->RepaintControl();  // synchronous
  EXPECT_EQ(FClient.Paints, before + 1);
  EXPECT_EQ(FClient.PaintCanvasClass, "TQtCanvas");
  const QImage image = FWidget->grab().toImage();
  EXPECT_EQ(image.pixelColor(100, 50), QColor(0, 255, 0));

  const int afterRepaint = FClient.Paints;
  FWidget->InvalidateControl();  // scheduled, not immediate
  EXPECT_EQ(FClient.Paints, afterRepaint);
  QTRY_VERIFY_WITH_TIMEOUT(FClient.Paints > afterRepaint, 5000);
}

TEST_F(ChartWidgetTest, ResizeIsReportedInLogicalPixels) {
  FWidget->resize(321, 123);
  ASSERT_FALSE(Calls().empty());
  EXPECT_EQ(Calls().back(), "resize 321,123");
}

TEST_F(ChartWidgetTest, CursorRequestsMapToQtShapes) {
  const struct {
    TCursor cursor;
    Qt::CursorShape shape;
  } cases[] = {
      {crHandPoint, Qt::PointingHandCursor}, {crHSplit, Qt::SplitHCursor}, {crVSplit, Qt::SplitVCursor},
      {crCross, Qt::CrossCursor},            {crSizeAll, Qt::SizeAllCursor}, {crArrow, Qt::ArrowCursor},
  };
  for (const auto& c : cases) {
    FWidget->SetCursor(c.cursor);
    EXPECT_EQ(FWidget->Cursor(), c.cursor);
    EXPECT_EQ(FWidget->cursor().shape(), c.shape) << c.cursor;
  }
  FWidget->SetCursor(crDefault);
  EXPECT_EQ(FWidget->Cursor(), crDefault);
  EXPECT_FALSE(FWidget->testAttribute(Qt::WA_SetCursor));  // back to the inherited cursor
}

TEST_F(ChartWidgetTest, CaptureGrabsAndReleasesTheMouse) {
  FWidget->CaptureMouse();
  EXPECT_EQ(QWidget::mouseGrabber(), FWidget);
  FWidget->ReleaseMouse();
  EXPECT_EQ(QWidget::mouseGrabber(), nullptr);
  FWidget->ReleaseMouse();  // a second release does nothing
  EXPECT_EQ(QWidget::mouseGrabber(), nullptr);
}

TEST_F(ChartWidgetTest, AClickGivesTheKeyboardFocus) {
  FParent.activateWindow();
  FParent.setFocusPolicy(Qt::StrongFocus);
  FParent.setFocus();
  EXPECT_TRUE(FWidget->CanFocus());
  EXPECT_FALSE(FWidget->IsFocused());
  QTest::mouseClick(FWidget, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
  EXPECT_TRUE(FWidget->hasFocus());
  EXPECT_TRUE(FWidget->IsFocused());
}

TEST_F(ChartWidgetTest, ParentCursorPositionAndControlCanvas) {
  EXPECT_TRUE(FWidget->HasParent());
  TChartWidget orphan;
  EXPECT_FALSE(orphan.HasParent());

  QCursor::setPos(FWidget->mapToGlobal(QPoint(15, 25)));
  EXPECT_EQ(FWidget->CursorPos(), (TPointF{15, 25}));

  IHostCanvas* canvas = FWidget->ControlCanvas();
  ASSERT_NE(canvas, nullptr);
  EXPECT_EQ(FWidget->ControlCanvas(), canvas);  // persistent
  auto layout = canvas->CreateTextLayout();
  layout->SetText("Width");
  EXPECT_GT(layout->TextRect().Width(), 10);
}

TEST_F(ChartWidgetTest, WithoutAClientEventsAreHarmless) {
  FWidget->SetClient(nullptr);
  QTest::mouseClick(FWidget, Qt::LeftButton, Qt::NoModifier, QPoint(5, 5));
  QTest::keyClick(FWidget, Qt::Key_A);
  FWidget->resize(50, 50);
  FWidget->repaint();
  EXPECT_TRUE(Calls().empty());
}

TEST(ChartWidgetConversions, ShiftStateAndVirtualKeys) {
  EXPECT_EQ(TChartWidget::ShiftState(Qt::NoModifier, Qt::NoButton), 0);
  EXPECT_EQ(TChartWidget::ShiftState(Qt::ShiftModifier | Qt::ControlModifier | Qt::AltModifier,
                                     Qt::LeftButton | Qt::RightButton | Qt::MiddleButton),
            ssShift | ssCtrl | ssAlt | ssLeft | ssRight | ssMiddle);
  EXPECT_EQ(TChartWidget::ShiftState(Qt::MetaModifier, Qt::BackButton), 0);

  const struct {
    int qt;
    std::uint16_t vk;
  } keys[] = {{Qt::Key_A, 0x41},      {Qt::Key_Z, 0x5A},     {Qt::Key_0, 0x30},     {Qt::Key_9, 0x39},
              {Qt::Key_F1, 0x70},     {Qt::Key_F12, 0x7B},   {Qt::Key_Left, 0x25},  {Qt::Key_Up, 0x26},
              {Qt::Key_Right, 0x27},  {Qt::Key_Down, 0x28},  {Qt::Key_PageUp, 0x21}, {Qt::Key_PageDown, 0x22},
              {Qt::Key_Home, 0x24},   {Qt::Key_End, 0x23},   {Qt::Key_Escape, 0x1B}, {Qt::Key_Return, 0x0D},
              {Qt::Key_Enter, 0x0D},  {Qt::Key_Delete, 0x2E}, {Qt::Key_Space, 0x20}, {Qt::Key_Shift, 0x10},
              {Qt::Key_Control, 0x11}, {Qt::Key_Alt, 0x12},   {Qt::Key_Tab, 0x09},   {Qt::Key_unknown, 0}};
  for (const auto& k : keys) EXPECT_EQ(TChartWidget::VirtualKey(k.qt), k.vk) << k.qt;
}

}  // namespace
}  // namespace sextant

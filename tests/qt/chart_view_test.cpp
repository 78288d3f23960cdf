// TChartView: the chart as a widget in a layout. It owns its chart, sizes
// it with the widget, repaints it on resizes and chart changes, behaves as
// a normal widget (size policy, size hint, focus, hiding) and passes the
// mouse and wheel on to the chart's events.
#include "platform/qt/chart_view.h"

#include <QApplication>
#include <QTest>
#include <QVBoxLayout>
#include <QWheelEvent>
#include <gtest/gtest.h>

#include <memory>
#include <string>
#include <vector>

#include "panel/chart.h"
#include "platform/platform_services.h"
#include "platform/qt/chart_render.h"
#include "series/fast_line_series.h"
#include "qt_test_app.h"

namespace sextant {
namespace {

// A series that reports its destruction.
class TWatchedSeries : public TFastLineSeries {
 public:
  TWatchedSeries(TComponent* owner, bool& destroyed) : TFastLineSeries(owner), FDestroyed(destroyed) {}
  ~TWatchedSeries() override { FDestroyed = true; }

 private:
  bool& FDestroyed;
};

// A window with a caption-less layout holding the view.
class ChartViewTest : public ::testing::Test {
 protected:
  void SetUp() override {
    FWindow = std::make_unique<QWidget>();
    auto* layout = new QVBoxLayout(FWindow.get());
    layout->setContentsMargins(0, 0, 0, 0);
    FView = new TChartView;
    layout->addWidget(FView);
    Chart()->SetView3D(false);
    auto* series = new TFastLineSeries(Chart());
    Chart()->AddSeries(series);
    for (int i = 0; i < 20; ++i) series->AddXY(i, i % 5);
    Chart()->OnAfterDraw = [this](TPersistent*) {
      ++FDraws;
      FDrawnBounds = Chart()->ChartBounds();
    };
  }
  void ShowAt(int w, int h) {
    FWindow->resize(w, h);
    FWindow->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(FWindow.get()));
    ASSERT_TRUE(QTest::qWaitFor([this] { return FDraws > 0; }));
  }
  TChart* Chart() const { return FView->Chart(); }

  std::unique_ptr<QWidget> FWindow;
  TChartView* FView = nullptr;  // owned by the window
  int FDraws = 0;
  TRectF FDrawnBounds;
};

TEST_F(ChartViewTest, OwnsAHostedChartAndFreesItWithItsSeries) {
  EXPECT_NE(Chart(), nullptr);
  EXPECT_EQ(Chart()->Owner(), nullptr);
  EXPECT_EQ(Chart()->HostControl(), static_cast<IHostControl*>(FView));
  EXPECT_EQ(FView->Client(), static_cast<IHostControlClient*>(Chart()));
  EXPECT_FALSE(Chart()->IsLoading());

  bool destroyed = false;
  Chart()->AddSeries(new TWatchedSeries(Chart(), destroyed));
  FWindow.reset();  // the view goes with its window
  EXPECT_TRUE(destroyed);
}

TEST_F(ChartViewTest, BehavesAsAnExpandingFocusableWidget) {
  EXPECT_EQ(FView->sizePolicy().horizontalPolicy(), QSizePolicy::Expanding);
  EXPECT_EQ(FView->sizePolicy().verticalPolicy(), QSizePolicy::Expanding);
  EXPECT_EQ(FView->sizeHint(), QSize(400, 250));
  EXPECT_TRUE(FView->minimumSizeHint().isValid());
  EXPECT_EQ(FView->focusPolicy(), Qt::StrongFocus);
  EXPECT_TRUE(FView->hasMouseTracking());
  // The host services exist once a view does (timers run on Qt's loop).
  EXPECT_TRUE(static_cast<bool>(KelPlatform().CreateTimer));
  EXPECT_NE(KelPlatform().FontService, nullptr);
}

TEST_F(ChartViewTest, LayoutResizesTheChartAndRepaintsIt) {
  ShowAt(500, 320);
  EXPECT_EQ(Chart()->Width(), 500);
  EXPECT_EQ(Chart()->Height(), 320);
  EXPECT_EQ(FDrawnBounds, (TRectF{0, 0, 500, 320}));

  const int before = FDraws;
  FWindow->resize(300, 200);
  EXPECT_TRUE(QTest::qWaitFor([this] { return FDrawnBounds == TRectF{0, 0, 300, 200}; }));
  EXPECT_GT(FDraws, before);
  EXPECT_EQ(Chart()->Width(), 300);
  EXPECT_EQ(Chart()->Height(), 200);
}

TEST_F(ChartViewTest, ChartChangesRepaintTheView) {
  ShowAt(400, 250);
  const int before = FDraws;
  Chart()->SetColor(0xFF102030);  // any property change invalidates
  EXPECT_TRUE(QTest::qWaitFor([&] { return FDraws > before; }));
  const QImage image = FView->grab().toImage();
  EXPECT_EQ(image.pixelColor(image.width() / 2, image.height() - 5).rgba(), 0xFF102030u);
}

TEST_F(ChartViewTest, HiddenViewsDoNotPaintAndShowingPaintsAgain) {
  ShowAt(400, 250);
  FView->hide();
  QApplication::processEvents();
  const int hidden = FDraws;
  Chart()->SetColor(0xFF405060);
  QTest::qWait(50);
  EXPECT_EQ(FDraws, hidden);
  FView->show();
  EXPECT_TRUE(QTest::qWaitFor([&] { return FDraws > hidden; }));
}

TEST_F(ChartViewTest, MouseAndWheelReachTheChartsEvents) {
  ShowAt(400, 250);
  std::vector<std::string> calls;
  Chart()->OnMouseDown = [&](TPersistent*, TMouseButton b, TShiftState, float x, float y) {
    calls.push_back("down " + std::to_string(static_cast<int>(b)) + " " + std::to_string(int(x)) + "," +
                    std::to_string(int(y)));
  };
  Chart()->OnMouseUp = [&](TPersistent*, TMouseButton, TShiftState, float x, float y) {
    calls.push_back("up " + std::to_string(int(x)) + "," + std::to_string(int(y)));
  };
  Chart()->OnMouseWheel = [&](TPersistent*, TShiftState, int delta, bool&) {
    calls.push_back("wheel " + std::to_string(delta));
  };
  QTest::mousePress(FView, Qt::LeftButton, Qt::NoModifier, QPoint(120, 80));
  QTest::mouseRelease(FView, Qt::LeftButton, Qt::NoModifier, QPoint(120, 80));
  QWheelEvent wheel(QPointF(100, 100), FView->mapToGlobal(QPointF(100, 100)), QPoint(), QPoint(0, -120),
                    Qt::NoButton, Qt::NoModifier, Qt::NoScrollPhase, false);
  QApplication::sendEvent(FView, &wheel);
  EXPECT_EQ(calls, (std::vector<std::string>{"down 0 120,80", "up 120,80", "wheel -120"}));
  EXPECT_TRUE(FView->hasFocus());  // a click takes the focus
}

TEST_F(ChartViewTest, HidingEndsAMouseCapture) {
  ShowAt(400, 250);
  FView->CaptureMouse();  // as the chart does for a drag
  EXPECT_EQ(QWidget::mouseGrabber(), FView);
  FView->hide();
  EXPECT_EQ(QWidget::mouseGrabber(), nullptr);
  FView->show();
  FView->CaptureMouse();
  EXPECT_EQ(QWidget::mouseGrabber(), FView);
  FView->ReleaseMouse();
  EXPECT_EQ(QWidget::mouseGrabber(), nullptr);
}

// Rendering the chart of a view elsewhere at another size leaves the view's
// chart at its own size, and the view lays it out again at that size.
TEST_F(ChartViewTest, RenderingElsewhereKeepsTheViewsLayout) {
  ShowAt(400, 250);
  const QImage image = RenderChartImage(*Chart(), {800, 500}, 1);
  EXPECT_EQ(image.size(), QSize(800, 500));
  EXPECT_EQ(FDrawnBounds, (TRectF{0, 0, 800, 500}));
  EXPECT_EQ(Chart()->Width(), 400);
  EXPECT_TRUE(QTest::qWaitFor([this] { return FDrawnBounds == TRectF{0, 0, 400, 250}; }));
}

}  // namespace
}  // namespace sextant

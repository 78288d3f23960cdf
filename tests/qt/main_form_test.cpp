// The application's window driven in-process through real Qt input: the
// start-up page, the mark-centering button and what it draws.
#include <QApplication>
#include <QImage>
#include <QMouseEvent>
#include <QPushButton>
#include <QTest>
#include <stdexcept>
#include <gtest/gtest.h>

#include "app/unit1.h"
#include "axes/chart_axis.h"
#include "marks/mark_positions.h"
#include "marks/series_marks.h"
#include "panel/chart.h"
#include "platform/qt/chart_widget.h"
#include "series/fast_line_series.h"
#include "series/kel_random.h"
#include "tools/axis_scroll_bar.h"
#include "qt_test_app.h"

namespace sextant {
namespace {

class MainFormTest : public ::testing::Test {
 protected:
  MainFormTest() {
    RandSeed = 12345;  // the sample walk is the same on every run of the test
    form = std::make_unique<TForm1>();
    form->show();
    startImage = Paint();
  }
  // Renders the window the way the screen shows it.
  QImage Paint() { return form->grab().toImage().convertToFormat(QImage::Format_ARGB32); }
  TChart& Chart() { return *form->Chart1; }
  TChartSeries& Series() { return *form->Chart1->Series(0); }
  void ClickButton() { QTest::mouseClick(form->Button1, Qt::LeftButton); }
  // Pixel of the chart in window coordinates.
  static QPoint InWindow(int x, int y) { return {40 + x, 96 + y}; }

  // The scroll bar tool the window's set-up creates.
  TAxisScrollBarTool& ScrollBar() {
    for (int i = 0; i < Chart().Tools().Count(); ++i)
      if (auto* bar = dynamic_cast<TAxisScrollBarTool*>(Chart().Tools().Items(i))) return *bar;
    throw std::logic_error("no scroll bar");
  }
  // Pixels of the thumb's silver brush in the bar's rows of the window
  // image, inside and outside the track.
  struct ThumbPixels {
    int onTrack = 0, offTrack = 0;
  };
  ThumbPixels CountThumbPixels(const QImage& image) {
    const TRectF main = ScrollBar().MainRectangle();
    const TRectF track = ScrollBar().ScrollRectangle();
    ThumbPixels n;
    for (int y = KelRound(main.Top); y <= KelRound(main.Bottom); ++y)
      for (int x = 0; x < KelRound(Chart().Width()); ++x) {
        if ((image.pixel(InWindow(x, y)) & 0xFFFFFF) != 0xC0C0C0) continue;
        if (x >= track.Left && x < track.Right) ++n.onTrack; else ++n.offTrack;
      }
    return n;
  }
  // A right-button drag across the chart, painting after every move as the
  // screen does.
  void RightDrag(int fromX, int toX) {
    TChartWidget* widget = form->ChartWidget(form->Chart1);
    QTest::mousePress(widget, Qt::RightButton, Qt::NoModifier, QPoint(fromX, 200));
    const int step = toX > fromX ? 20 : -20;
    for (int x = fromX + step; step > 0 ? x <= toX : x >= toX; x += step) {
      QMouseEvent move(QEvent::MouseMove, QPointF(x, 200), widget->mapToGlobal(QPointF(x, 200)),
                       Qt::NoButton, Qt::RightButton, Qt::NoModifier);
      QApplication::sendEvent(widget, &move);
      Paint();
    }
    QTest::mouseRelease(widget, Qt::RightButton, Qt::NoModifier, QPoint(toX, 200));
  }

  std::unique_ptr<TForm1> form;
  QImage startImage;  // the first paint
};

TEST_F(MainFormTest, StartsOnPageTenWithTenMarksLaidOut) {
  EXPECT_EQ(Chart().Page(), 10);
  EXPECT_DOUBLE_EQ(Chart().BottomAxis()->Minimum(), Series().XValue(90));
  EXPECT_DOUBLE_EQ(Chart().BottomAxis()->Maximum(), Series().XValue(99));
  TSeriesMarksPositions& positions = *Series().Marks()->Positions();
  for (int i = 0; i < 100; ++i)
    EXPECT_EQ(positions.Position(i) != nullptr, i >= 90) << "point " << i;
}

TEST_F(MainFormTest, ButtonPinsTheLaidOutMarksOnTheirPoints) {
  ClickButton();
  TSeriesMarksPositions& positions = *Series().Marks()->Positions();
  for (int i = 0; i < 90; ++i) EXPECT_EQ(positions.Position(i), nullptr) << "point " << i;
  for (int i = 90; i < 100; ++i) {
    const TSeriesMarkPosition* p = positions.Position(i);
    ASSERT_NE(p, nullptr) << i;
    EXPECT_TRUE(p->Custom) << i;
    EXPECT_FLOAT_EQ(p->LeftTop.X, static_cast<float>(Series().CalcXPos(i) - 12)) << i;
    EXPECT_FLOAT_EQ(p->LeftTop.Y, static_cast<float>(Series().CalcYPos(i) - 5)) << i;
  }
}

TEST_F(MainFormTest, TextsMoveOntoTheCirclesAndASecondClickChangesNothing) {
  const QImage before = Paint();
  ClickButton();
  const QImage after = Paint();
  // Point 95 lies inside the plot; its circle is centred on the point.
  const int x = Series().CalcXPos(95), y = Series().CalcYPos(95);
  // The circle stays at the point: its outline pixel 15 to the left is unchanged and dark.
  const QPoint rim = InWindow(x - 15, y);
  EXPECT_EQ(before.pixel(rim), after.pixel(rim));
  EXPECT_LT(qGray(after.pixel(rim)), 128);
  // Before: the text lies above the circle, so the band between 8 and 20
  // pixels above the point holds dark text pixels; after the click the text
  // sits at the point's height instead.
  auto darkInBand = [&](const QImage& img, int top, int bottom) {
    int n = 0;
    for (int yy = top; yy <= bottom; ++yy)
      for (int xx = x - 10; xx <= x + 10; ++xx)
        if (qGray(img.pixel(InWindow(xx, yy))) < 100) ++n;
    return n;
  };
  EXPECT_GT(darkInBand(before, y - 20, y - 16), 0);
  EXPECT_GT(darkInBand(after, y - 4, y + 6), darkInBand(before, y - 4, y + 6));
  ClickButton();
  EXPECT_EQ(Paint(), after);
}

TEST_F(MainFormTest, AfterARightDragBringsEarlierPointsInAClickPinsThemToo) {
  TChartWidget* widget = form->ChartWidget(form->Chart1);
  ASSERT_NE(widget, nullptr);
  const double before = Chart().BottomAxis()->Minimum();
  // Drag to the right: the range moves left, earlier points come into view.
  QTest::mousePress(widget, Qt::RightButton, Qt::NoModifier, QPoint(200, 200));
  for (int x = 220; x <= 500; x += 20) {
    QMouseEvent move(QEvent::MouseMove, QPointF(x, 210), widget->mapToGlobal(QPointF(x, 210)),
                     Qt::NoButton, Qt::RightButton, Qt::NoModifier);
    QApplication::sendEvent(widget, &move);
    Paint();  // each move pans from the layout of the last paint, as on screen
  }
  QTest::mouseRelease(widget, Qt::RightButton, Qt::NoModifier, QPoint(500, 210));
  Paint();
  EXPECT_LT(Chart().BottomAxis()->Minimum(), before - 2);  // panned by several points
  EXPECT_FALSE(Chart().BottomAxis()->Automatic());
  TSeriesMarksPositions& positions = *Series().Marks()->Positions();
  ASSERT_NE(positions.Position(88), nullptr);  // drawn now
  ClickButton();
  for (int i : {88, 95}) {
    const TSeriesMarkPosition* p = positions.Position(i);
    ASSERT_NE(p, nullptr) << i;
    EXPECT_TRUE(p->Custom) << i;
    EXPECT_FLOAT_EQ(p->LeftTop.X, static_cast<float>(Series().CalcXPos(i) - 12)) << i;
  }
}

TEST_F(MainFormTest, HoveringAnAxisLabelMakesItBoldAndLeavingMakesItPlain) {
  TChartWidget* widget = form->ChartWidget(form->Chart1);
  ASSERT_NE(widget, nullptr);
  TChartAxis& axis = *Chart().BottomAxis();
  const int x = axis.CalcXPosValue(Series().XValue(95));
  const int y = axis.PosLabels + 6;  // inside the label's text box
  auto ink = [&](const QImage& img) {
    int n = 0;
    for (int yy = axis.PosLabels; yy < axis.PosLabels + 14; ++yy)
      for (int xx = x - 12; xx <= x + 12; ++xx) n += qGray(img.pixel(InWindow(xx, yy))) < 128;
    return n;
  };
  const QImage plain = Paint();
  QMouseEvent move(QEvent::MouseMove, QPointF(x, y), widget->mapToGlobal(QPointF(x, y)), Qt::NoButton,
                   Qt::NoButton, Qt::NoModifier);
  QApplication::sendEvent(widget, &move);
  const QImage hovered = Paint();
  EXPECT_GT(ink(hovered), ink(plain));  // bold strokes are heavier
  QEvent leave(QEvent::Leave);
  QApplication::sendEvent(widget, &leave);
  EXPECT_EQ(ink(Paint()), ink(plain));
}

// Wherever the thumb's arithmetic puts it (60 track lengths on at start, far
// off either end after a pan), no thumb pixel lies outside the track; once
// the axis is back on the page start the thumb shows on the track.
TEST_F(MainFormTest, ScrollBarThumbIsPaintedOnlyOnItsTrack) {
  const TRectF track = ScrollBar().ScrollRectangle();
  ThumbPixels start = CountThumbPixels(startImage);
  EXPECT_EQ(start.offTrack, 0);

  const ThumbPixels settled = CountThumbPixels(Paint());  // position 0: the thumb at the track start
  EXPECT_EQ(ScrollBar().Position(), 0);
  EXPECT_GT(settled.onTrack, 0);
  EXPECT_EQ(settled.offTrack, 0);

  const struct {
    const char* name;
    int fromX, toX;
  } pans[] = {{"range moved left of the page", 200, 500}, {"range moved right of the page", 700, 300}};
  for (const auto& pan : pans) {
    SCOPED_TRACE(pan.name);
    RightDrag(pan.fromX, pan.toX);
    Paint();
    const QImage image = Paint();
    EXPECT_NE(ScrollBar().Position(), 0);
    // The computed thumb lies off the track on the side the axis moved to.
    EXPECT_TRUE(ScrollBar().ThumbBegin > track.Right || ScrollBar().ThumbEnd < track.Left)
        << ScrollBar().ThumbBegin << " .. " << ScrollBar().ThumbEnd;
    EXPECT_EQ(CountThumbPixels(image).offTrack, 0);
  }
}

TEST_F(MainFormTest, ASeriesWithoutPointsOnlyRepaints) {
  Series().Clear();
  Paint();
  ClickButton();  // no position to pin; must not fail
  EXPECT_FALSE(Series().Marks()->Positions()->ExistCustom());
}

TEST_F(MainFormTest, APointAboveTheControlKeepsItsAutomaticMark) {
  // Raise point 95 far above the plot: after a paint its pixel Y is negative.
  Chart().LeftAxis()->SetMinMax(0, 10);
  Paint();
  ASSERT_LT(Series().CalcYPos(95), 0);
  ClickButton();
  const TSeriesMarkPosition* p = Series().Marks()->Positions()->Position(95);
  ASSERT_NE(p, nullptr);  // laid out by the first paint
  EXPECT_FALSE(p->Custom);
}

}  // namespace
}  // namespace sextant

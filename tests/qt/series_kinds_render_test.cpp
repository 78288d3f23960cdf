// Each series kind drawn through the Qt canvas into an image: what a person
// sees at the places the last layout gives (a pointer's centre, a
// segment's middle, the inside of an area, a bar's inside and outline) and
// what must stay background next to them.
#include <QImage>
#include <gtest/gtest.h>

#include "axes/chart_axis.h"
#include "marks/series_pointer.h"
#include "panel/chart.h"
#include "platform/qt/chart_render.h"
#include "qt_test_app.h"
#include "series/area_series.h"
#include "series/bar_series.h"
#include "series/horiz_bar_series.h"
#include "series/line_series.h"
#include "series/point_series.h"

namespace sextant {
namespace {

constexpr TColor kColor = 0xFF2060C0;

TColor Px(const QImage& Image, double X, double Y) {
  return Image.pixelColor(static_cast<int>(X), static_cast<int>(Y)).rgba();
}

// The series colour within a small tolerance (antialiased edges excluded
// by sampling inside the shapes).
bool IsSeriesColour(TColor C) {
  auto near = [](int a, int b) { return std::abs(a - b) <= 8; };
  return near(GetRValue(C), GetRValue(kColor)) && near(GetGValue(C), GetGValue(kColor)) &&
         near(GetBValue(C), GetBValue(kColor));
}

template <class T>
T* FlatChartWith(TChart& Chart) {
  Chart.SetView3D(false);
  auto* s = new T(&Chart);
  Chart.AddSeries(s);
  s->SetSeriesColor(kColor);
  return s;
}

TEST(SeriesKindsRender, PointSeriesShowsFilledPointersAndNothingBetween) {
  TChart chart;
  auto* s = FlatChartWith<TPointSeries>(chart);
  s->Pointer()->SetSize(6);
  for (int i = 0; i < 5; ++i) s->AddXY(i, (i % 2) * 10);
  const QImage image = RenderChartImage(chart, QSize(400, 300), 1);
  ASSERT_FALSE(image.isNull());
  for (int i = 0; i < 5; ++i) EXPECT_TRUE(IsSeriesColour(Px(image, s->CalcXPos(i), s->CalcYPos(i)))) << i;
  // Half-way between points 0 and 1 there is no line.
  EXPECT_FALSE(IsSeriesColour(Px(image, (s->CalcXPos(0) + s->CalcXPos(1)) / 2.0, (s->CalcYPos(0) + s->CalcYPos(1)) / 2.0)));
  // The pointer's outline is dark.
  const TColor edge = Px(image, s->CalcXPos(2) - 6, s->CalcYPos(2));
  EXPECT_LT(GetRValue(edge) + GetGValue(edge) + GetBValue(edge), 200);
}

TEST(SeriesKindsRender, LineSeriesShowsItsSegments) {
  TChart chart;
  auto* s = FlatChartWith<TLineSeries>(chart);
  s->LinePen()->SetWidth(3);
  s->AddXY(0, 0);
  s->AddXY(10, 0);
  s->AddXY(20, 50);
  const QImage image = RenderChartImage(chart, QSize(400, 300), 1);
  const double midX = (s->CalcXPos(0) + s->CalcXPos(1)) / 2.0;
  EXPECT_TRUE(IsSeriesColour(Px(image, midX, s->CalcYPos(0))));
  EXPECT_FALSE(IsSeriesColour(Px(image, midX, s->CalcYPos(0) - 10)));
  const double x = (s->CalcXPos(1) + s->CalcXPos(2)) / 2.0, y = (s->CalcYPos(1) + s->CalcYPos(2)) / 2.0;
  EXPECT_TRUE(IsSeriesColour(Px(image, x, y)));
}

TEST(SeriesKindsRender, AreaSeriesFillsUnderTheLineOnly) {
  TChart chart;
  auto* s = FlatChartWith<TAreaSeries>(chart);
  s->AddXY(0, 10);
  s->AddXY(10, 50);
  s->AddXY(20, 10);
  const QImage image = RenderChartImage(chart, QSize(400, 300), 1);
  const TChartAxis* v = chart.LeftAxis();
  const double x = s->CalcXPos(1);
  EXPECT_TRUE(IsSeriesColour(Px(image, x, v->CalcYPosValue(30))));
  EXPECT_TRUE(IsSeriesColour(Px(image, x, v->CalcYPosValue(v->Minimum()) - 3)));
  EXPECT_FALSE(IsSeriesColour(Px(image, s->CalcXPos(0) + 5, v->CalcYPosValue(45))));
}

TEST(SeriesKindsRender, BarSeriesShowsFramedBarsWithGapsBetween) {
  TChart chart;
  auto* s = FlatChartWith<TBarSeries>(chart);
  for (int i = 0; i < 4; ++i) s->AddXY(i, 10 + 10 * i);
  const QImage image = RenderChartImage(chart, QSize(400, 300), 1);
  for (int i = 0; i < 4; ++i) {
    TRectF r;
    ASSERT_TRUE(s->BarBounds(i, r));
    EXPECT_TRUE(IsSeriesColour(Px(image, (r.Left + r.Right) / 2, (r.Top + r.Bottom) / 2))) << i;
    const TColor frame = Px(image, r.Left, (r.Top + r.Bottom) / 2);
    EXPECT_LT(GetRValue(frame) + GetGValue(frame) + GetBValue(frame), 200) << i;
    if (i > 0) {
      TRectF p;
      ASSERT_TRUE(s->BarBounds(i - 1, p));
      EXPECT_FALSE(IsSeriesColour(Px(image, (p.Right + r.Left) / 2, r.Bottom - 2))) << i;
    }
  }
}

TEST(SeriesKindsRender, HorizontalBarsGrowToTheRight) {
  TChart chart;
  auto* s = FlatChartWith<THorizBarSeries>(chart);
  s->Add(10);
  s->Add(30);
  const QImage image = RenderChartImage(chart, QSize(400, 300), 1);
  TRectF r;
  ASSERT_TRUE(s->BarBounds(1, r));
  EXPECT_GT(r.Width(), r.Height());
  const double y = (r.Top + r.Bottom) / 2;
  EXPECT_TRUE(IsSeriesColour(Px(image, r.Left + 5, y)));
  EXPECT_TRUE(IsSeriesColour(Px(image, r.Right - 5, y)));
  EXPECT_FALSE(IsSeriesColour(Px(image, r.Right + 5, y)));
}

}  // namespace
}  // namespace sextant

// The point series: a pointer of each style at every point, the margins
// its size asks of the axes, hit testing by pointer box, colours, null and
// non-finite points, the legend symbol and the settings' repaints.
#include <cmath>
#include <limits>

#include "kinds_fixture.h"
#include "marks/series_pointer.h"
#include "series/point_series.h"

namespace sextant::testing {
namespace {

using PointSeriesTest = KindTest<TPointSeries>;

TRectF Around(TPointF P, float L, float T, float R, float B) { return {P.X - L, P.Y - T, P.X + R, P.Y + B}; }

struct StyleCase {
  TSeriesPointerStyle Style;
  TRecordKind Fill;  // rkBeginScene: none
  TRecordKind Stroke;
  int StrokesPerPoint;
  // Box of the recorded shape around the point: left, top, right, bottom.
  float L, T, R, B;
};

TEST_F(PointSeriesTest, EveryStyleDrawsItsShapeInTheBoxAroundEachPoint) {
  const StyleCase cases[] = {
      {psRectangle, rkFillRect, rkDrawRect, 1, 4, 4, 5, 5},
      {psCircle, rkFillEllipse, rkDrawEllipse, 1, 4, 4, 4, 4},
      {psTriangle, rkFillPath, rkDrawPath, 1, 4, 4, 4, 4},
      {psDownTriangle, rkFillPath, rkDrawPath, 1, 4, 4, 4, 4},
      {psDiamond, rkFillPath, rkDrawPath, 1, 4, 4, 4, 4},
      {psSmallDot, rkFillEllipse, rkDrawEllipse, 1, 1, 1, 1, 1},
      {psCross, rkBeginScene, rkDrawLine, 2, 4, 4, 4, 4},
      {psDiagCross, rkBeginScene, rkDrawLine, 2, 4, 4, 4, 4},
      {psStar, rkBeginScene, rkDrawLine, 4, 4, 4, 4, 4},
  };
  series->AddXY(0, 10);
  series->AddXY(1, 30);
  series->AddXY(2, 20);
  for (const StyleCase& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.Style));
    series->Pointer()->SetStyle(c.Style);
    Paint();
    const auto strokes = Ops(c.Stroke);
    ASSERT_EQ(strokes.size(), 3u * c.StrokesPerPoint);
    for (int i = 0; i < 3; ++i) {
      const TRectF want = Around(Pixel(i, series->YValue(i)), c.L, c.T, c.R, c.B);
      if (c.Fill != rkBeginScene) {
        const auto fills = Ops(c.Fill);
        ASSERT_EQ(fills.size(), 3u);
        const TRectF got = c.Fill == rkFillPath ? fills[i]->Path.Bounds() : fills[i]->Rect;
        EXPECT_EQ(got, want) << "point " << i;
      } else {
        // Line styles: the strokes span the box.
        TRectF got{1e9f, 1e9f, -1e9f, -1e9f};
        for (int k = 0; k < c.StrokesPerPoint; ++k) {
          const TRecordedOp* op = strokes[i * c.StrokesPerPoint + k];
          for (TPointF p : {op->P1, op->P2}) {
            got.Left = std::min(got.Left, p.X);
            got.Top = std::min(got.Top, p.Y);
            got.Right = std::max(got.Right, p.X);
            got.Bottom = std::max(got.Bottom, p.Y);
          }
        }
        EXPECT_EQ(got, want) << "point " << i;
      }
    }
  }
  series->Pointer()->SetStyle(psNothing);
  Paint();
  EXPECT_TRUE(Ops(rkFillRect).empty());
  EXPECT_TRUE(Ops(rkDrawLine).empty());
}

TEST_F(PointSeriesTest, TriangleVerticesAndSeriesColour) {
  series->SetSeriesColor(0xFF112233);
  series->AddXY(0, 10);
  series->AddXY(1, 20);
  series->Pointer()->SetStyle(psTriangle);
  series->Pointer()->SetHorizSize(6);
  series->Pointer()->SetVertSize(3);
  Paint();
  const auto fills = Ops(rkFillPath);
  ASSERT_EQ(fills.size(), 2u);
  const TPointF p = Pixel(1, 20);
  const auto& cmds = fills[1]->Path.Commands();
  ASSERT_GE(cmds.size(), 3u);
  EXPECT_EQ(cmds[0].A, (TPointF{p.X - 6, p.Y + 3}));
  EXPECT_EQ(cmds[1].A, (TPointF{p.X, p.Y - 3}));
  EXPECT_EQ(cmds[2].A, (TPointF{p.X + 6, p.Y + 3}));
  EXPECT_EQ(fills[1]->Fill.Color, 0xFF112233u);
  // The pointer's default pen: black.
  EXPECT_EQ(Ops(rkDrawPath)[1]->Stroke.Color, 0xFF000000u);
}

// The axes leave room for half a pointer and a pixel at each end, so the
// outermost points are drawn whole; a hidden pointer or InflateMargins off
// asks for none.
TEST_F(PointSeriesTest, MarginsFollowThePointerSize) {
  series->AddXY(0, 0);
  series->AddXY(10, 100);
  for (int size : {2, 4, 9}) {
    SCOPED_TRACE(size);
    series->Pointer()->SetSize(size);
    Paint();
    const TChartAxis* h = chart.BottomAxis();
    const TChartAxis* v = chart.LeftAxis();
    EXPECT_EQ(h->CalcXPosValue(0) - h->IStartPos, size + 1);
    EXPECT_EQ(h->IEndPos - h->CalcXPosValue(10), size + 1);
    EXPECT_EQ(v->IEndPos - v->CalcYPosValue(0), size + 1);
    EXPECT_EQ(v->CalcYPosValue(100) - v->IStartPos, size + 1);
  }
  series->Pointer()->SetInflateMargins(false);
  Paint();
  EXPECT_EQ(chart.BottomAxis()->CalcXPosValue(0), chart.BottomAxis()->IStartPos);
  series->Pointer()->SetInflateMargins(true);
  series->Pointer()->SetVisible(false);
  Paint();
  EXPECT_EQ(chart.BottomAxis()->CalcXPosValue(0), chart.BottomAxis()->IStartPos);
}

TEST_F(PointSeriesTest, ClickedFindsThePointerBox) {
  series->AddXY(0, 10);
  series->AddXY(5, 50);
  series->AddXY(10, 20);
  series->Pointer()->SetHorizSize(5);
  series->Pointer()->SetVertSize(3);
  Paint();
  const TPointF p = Pixel(5, 50);
  const int x = static_cast<int>(p.X), y = static_cast<int>(p.Y);
  struct Case {
    int dx, dy, expected;
  } cases[] = {{0, 0, 1}, {5, 3, 1}, {-5, -3, 1}, {6, 0, -1}, {0, 4, -1}, {-6, 0, -1}};
  for (const Case& c : cases) EXPECT_EQ(series->Clicked(x + c.dx, y + c.dy), c.expected) << c.dx << "," << c.dy;
  const TPointF q = Pixel(10, 20);
  EXPECT_EQ(series->Clicked(static_cast<int>(q.X), static_cast<int>(q.Y)), 2);
  // Between two points there is no line to hit.
  const TPointF mid{(p.X + q.X) / 2, (p.Y + q.Y) / 2};
  EXPECT_EQ(series->Clicked(static_cast<int>(mid.X), static_cast<int>(mid.Y)), -1);
}

TEST_F(PointSeriesTest, PointColoursEachPointAndOwnBrushColour) {
  series->AddXY(0, 1);
  series->AddXY(1, 2, "", 0xFF00FF00);
  series->AddXY(2, 3);
  series->SetSeriesColor(0xFF0000FF);
  Paint();
  auto fills = Ops(rkFillRect);
  ASSERT_EQ(fills.size(), 3u);
  EXPECT_EQ(fills[0]->Fill.Color, 0xFF0000FFu);
  EXPECT_EQ(fills[1]->Fill.Color, 0xFF00FF00u);
  EXPECT_EQ(fills[2]->Fill.Color, 0xFF0000FFu);

  series->SetColorEachPoint(true);
  Paint();
  fills = Ops(rkFillRect);
  ASSERT_EQ(fills.size(), 3u);
  EXPECT_EQ(fills[0]->Fill.Color, chart.GetDefaultColor(0));
  EXPECT_EQ(fills[1]->Fill.Color, 0xFF00FF00u);
  EXPECT_EQ(fills[2]->Fill.Color, chart.GetDefaultColor(2));

  // A brush colour of the pointer's own wins over the point colours.
  series->Pointer()->SetColor(0xFFABCDEF);
  Paint();
  for (const TRecordedOp* op : Ops(rkFillRect)) EXPECT_EQ(op->Fill.Color, 0xFFABCDEFu);
}

TEST_F(PointSeriesTest, NullAndNonFinitePointsGetNoPointer) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  series->AddXY(0, 10);
  series->AddNullXY(1, 20);
  series->AddXY(2, nan);
  series->AddXY(3, inf);
  series->AddXY(4, 30);
  Paint();
  auto fills = Ops(rkFillRect);
  ASSERT_EQ(fills.size(), 2u);
  EXPECT_EQ(fills[0]->Rect, Around(Pixel(0, 10), 4, 4, 5, 5));
  EXPECT_EQ(fills[1]->Rect, Around(Pixel(4, 30), 4, 4, 5, 5));
  // The axis range is that of the finite values.
  EXPECT_LE(chart.LeftAxis()->Maximum(), 40);
  EXPECT_EQ(series->Clicked(static_cast<int>(Pixel(1, 20).X), static_cast<int>(Pixel(1, 20).Y)), -1);
  // Ignored nulls are points like the others.
  series->SetTreatNulls(tnIgnore);
  Paint();
  EXPECT_EQ(Ops(rkFillRect).size(), 3u);
}

TEST_F(PointSeriesTest, LegendSymbolIsThePointerInTheBoxCentre) {
  series->AddXY(0, 1);
  series->SetSeriesColor(0xFF336699);
  series->Pointer()->SetStyle(psCircle);
  const auto ops = LegendSymbolOps(series, TRectF{100, 50, 120, 60});
  std::vector<TRecordedOp> fills;
  for (const TRecordedOp& op : ops) {
    if (op.Kind == rkFillEllipse) fills.push_back(op);
    EXPECT_NE(op.Kind, rkDrawLine);
  }
  ASSERT_EQ(fills.size(), 1u);
  // Half-sizes kept inside the 20 x 10 box: 4 across, 4 down.
  EXPECT_EQ(fills[0].Rect, (TRectF{106, 51, 114, 59}));
  EXPECT_EQ(fills[0].Fill.Color, 0xFF336699u);
}

TEST_F(PointSeriesTest, PointerSettingsRepaintOnlyOnChange) {
  series->AddXY(0, 1);
  const int before = host.Invalidates;
  series->Pointer()->SetStyle(psCircle);
  EXPECT_EQ(host.Invalidates, before + 1);
  series->Pointer()->SetStyle(psCircle);
  series->Pointer()->SetSize(4);
  EXPECT_EQ(host.Invalidates, before + 1);
  series->Pointer()->SetSize(6);
  EXPECT_GT(host.Invalidates, before + 1);
}

}  // namespace
}  // namespace sextant::testing

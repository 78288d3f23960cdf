// Points whose X or Y is NaN or infinite, drawn by the fast line on the
// recording canvas: the line breaks at each such point in every drawing
// mode, the drawable points around it are joined as usual, and the hit
// test neither finds such a point nor the segments it would have had.
#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>
#include <string>
#include <vector>

#include "series_fixture.h"

using namespace sextant;
using namespace sextant::testing;

namespace {

const double kNaN = std::numeric_limits<double>::quiet_NaN();
const double kInf = std::numeric_limits<double>::infinity();

using Line = std::pair<TPointF, TPointF>;

std::string Describe(const std::vector<Line>& Lines) {
  std::string s;
  for (const auto& [a, b] : Lines)
    s += "(" + std::to_string(static_cast<int>(a.X)) + "," + std::to_string(static_cast<int>(a.Y)) + ")->(" +
         std::to_string(static_cast<int>(b.X)) + "," + std::to_string(static_cast<int>(b.Y)) + ") ";
  return s;
}

class NonFiniteLineTest : public LineSeriesChartTest {
 protected:
  // Every line the series drew, whichever host call carried it (single
  // lines, connected lines, stroked paths), in drawing order.
  std::vector<Line> DrawnLines() const {
    std::vector<Line> lines;
    for (std::size_t i = seriesBegin; i < seriesEnd; ++i) {
      const TRecordedOp& op = rec.Ops()[i];
      if (op.Kind == rkDrawLine) lines.emplace_back(op.P1, op.P2);
      if (op.Kind == rkDrawConnectedLines || op.Kind == rkDrawPolyline)
        for (std::size_t k = 1; k < op.Points.size(); ++k) lines.emplace_back(op.Points[k - 1], op.Points[k]);
      if (op.Kind == rkDrawPath) {
        const auto& cmds = op.Path.Commands();
        for (std::size_t k = 1; k < cmds.size(); ++k)
          if (cmds[k].Op == THostPathCommand::LineTo) lines.emplace_back(cmds[k - 1].A, cmds[k].A);
      }
    }
    return lines;
  }
  int PathCount() const { return static_cast<int>(SeriesOps(rkDrawPath).size()); }

  // The lines of the given point-index segments in a drawing mode: one
  // line per segment, or two through the corner for stairs.
  std::vector<Line> Expected(const std::vector<std::pair<int, int>>& Segments, bool Stairs) const {
    std::vector<Line> lines;
    for (auto [a, b] : Segments) {
      const TPointF pa = PixelOf(a), pb = PixelOf(b);
      if (Stairs) {
        const TPointF corner{pb.X, pa.Y};
        lines.emplace_back(pa, corner);
        lines.emplace_back(corner, pb);
      } else {
        lines.emplace_back(pa, pb);
      }
    }
    return lines;
  }
};

struct TMode {
  const char* Name;
  std::function<void(TFastLineSeries*)> Set;
  bool Stairs = false;
  bool Polyline = false;
};

const std::vector<TMode>& Modes() {
  static const std::vector<TMode> modes = {
      {"segments", [](TFastLineSeries*) {}},
      {"polyline", [](TFastLineSeries* s) { s->SetDrawStyle(flAll); }, false, true},
      {"daFirst",
       [](TFastLineSeries* s) {
         s->SetDrawAllPoints(false);
         s->SetDrawAllPointsStyle(daFirst);
       }},
      {"daMinMax",
       [](TFastLineSeries* s) {
         s->SetDrawAllPoints(false);
         s->SetDrawAllPointsStyle(daMinMax);
       }},
      {"stairs", [](TFastLineSeries* s) { s->SetStairs(true); }, true},
      {"stairs daMinMax",
       [](TFastLineSeries* s) {
         s->SetStairs(true);
         s->SetDrawAllPoints(false);
         s->SetDrawAllPointsStyle(daMinMax);
       },
       true},
      {"fast pen", [](TFastLineSeries* s) { s->SetFastPen(true); }},
      {"tnDontPaint", [](TFastLineSeries* s) { s->SetTreatNulls(tnDontPaint); }},
  };
  return modes;
}

struct TData {
  const char* Name;
  std::vector<std::pair<double, double>> Points;  // added in this order
  std::vector<std::pair<int, int>> Segments;      // drawn, as indices after adding
};

const std::vector<TData>& DataSets() {
  static const std::vector<TData> sets = {
      {"finite", {{0, 10}, {1, 20}, {2, 15}, {3, 30}}, {{0, 1}, {1, 2}, {2, 3}}},
      {"Y not finite",
       {{0, 10}, {1, 20}, {2, kNaN}, {3, 30}, {4, 40}, {5, kInf}, {6, 60}, {7, 70}, {8, -kInf}},
       {{0, 1}, {3, 4}, {6, 7}}},
      // -Inf goes first in X order, NaN stays where it was added.
      {"X not finite", {{-kInf, 5}, {0, 10}, {1, 20}, {kNaN, 25}, {3, 30}, {4, 40}, {kInf, 45}}, {{1, 2}, {4, 5}}},
      {"first point not finite", {{0, kNaN}, {1, 10}, {2, 20}, {3, 15}}, {{1, 2}, {2, 3}}},
      {"lone points between breaks", {{0, 10}, {1, kNaN}, {2, 20}, {3, kNaN}, {4, 30}, {5, 40}}, {{4, 5}}},
      {"two breaks in a row", {{0, 10}, {1, 20}, {2, kNaN}, {kNaN, 5}, {4, 30}, {5, 40}}, {{0, 1}, {4, 5}}},
      {"all NaN", {{0, kNaN}, {1, kNaN}, {kNaN, 3}, {kNaN, kNaN}}, {}},
  };
  return sets;
}

}  // namespace

TEST_F(NonFiniteLineTest, LineBreaksAtEveryPointThatIsNotFinite) {
  for (const TData& data : DataSets()) {
    for (const TMode& mode : Modes()) {
      series->Clear();
      series->SetDrawStyle(flSegments);
      series->SetDrawAllPoints(true);
      series->SetStairs(false);
      series->SetFastPen(false);
      series->SetTreatNulls(tnIgnore);
      mode.Set(series);
      AddPoints(data.Points);
      Paint();
      const std::string where = std::string(data.Name) + " / " + mode.Name;
      const std::vector<Line> drawn = DrawnLines();
      const std::vector<Line> expected = Expected(data.Segments, mode.Stairs);
      EXPECT_EQ(drawn, expected) << where << ": " << Describe(drawn) << " instead of " << Describe(expected);
      // In polyline mode each run of drawable points is one polyline.
      if (mode.Polyline) {
        int runs = 0;
        for (std::size_t k = 0; k < data.Segments.size(); ++k)
          runs += k == 0 || data.Segments[k].first != data.Segments[k - 1].second;
        EXPECT_EQ(PathCount(), runs) << where;
      }
      // The axes keep finite ends whatever the data.
      for (TChartAxis* axis : {chart.LeftAxis(), chart.BottomAxis()}) {
        EXPECT_TRUE(std::isfinite(axis->Minimum()) && std::isfinite(axis->Maximum())) << where;
      }
    }
  }
}

// The page starts after a point that cannot be drawn: the pen does not
// start there, the line begins at the first visible point.
TEST_F(NonFiniteLineTest, PenStartThatIsNotFiniteLeavesTheEnteringSegmentOut) {
  for (const TMode& mode : Modes()) {
    series->Clear();
    series->SetDrawStyle(flSegments);
    series->SetDrawAllPoints(true);
    series->SetStairs(false);
    series->SetFastPen(false);
    mode.Set(series);
    AddPoints({{0, 10}, {1, kNaN}, {2, 20}, {3, 30}, {4, 25}});
    chart.BottomAxis()->SetMinMax(1.5, 4);
    Paint();
    ASSERT_EQ(series->FirstValueIndex(), 2) << mode.Name;
    EXPECT_EQ(DrawnLines(), Expected({{2, 3}, {3, 4}}, mode.Stairs))
        << mode.Name << ": " << Describe(DrawnLines());
    chart.BottomAxis()->SetAutomatic(true);
  }
}

// daMinMax gathers the points of one pixel column and strokes them when
// the next column starts; a break in the column strokes what was gathered
// before the line stops.
TEST_F(NonFiniteLineTest, MinMaxStrokesTheGatheredColumnAtABreak) {
  AddPoints({{0, 20}, {0.001, 50}, {0.002, 10}, {0.003, kNaN}, {1, 30}, {2, 40}});
  series->SetDrawAllPoints(false);
  series->SetDrawAllPointsStyle(daMinMax);
  Paint();
  ASSERT_EQ(PixelOf(0).X, PixelOf(2).X);
  // The pen stands on point 0; points 1 and 2 widen the column, which is
  // stroked at the NaN: up to the highest, down to the lowest value.
  const TPointF p0 = PixelOf(0);
  const TPointF top{p0.X, PixelOf(1).Y};     // value 50
  const TPointF bottom{p0.X, PixelOf(2).Y};  // value 10
  const std::vector<Line> expected = {{p0, top}, {top, bottom}, {PixelOf(4), PixelOf(5)}};
  EXPECT_EQ(DrawnLines(), expected) << Describe(DrawnLines());
}

// A null point after a break does not restart the line when the null
// treatment keeps nulls out of it; the next drawable point does.
TEST_F(NonFiniteLineTest, NullAfterABreakDoesNotRestartTheLine) {
  AddPoints({{0, 10}, {1, kNaN}, {2, 20}, {3, 30}, {4, 35}});
  series->SetNull(2);
  struct Case {
    TTreatNullsStyle Style;
    std::vector<std::pair<int, int>> Segments;
  };
  const std::vector<Case> cases = {
      {tnIgnore, {{2, 3}, {3, 4}}},  // the null is drawn like any point
      {tnSkip, {{3, 4}}},
      {tnDontPaint, {{3, 4}}},
  };
  for (const Case& c : cases) {
    series->SetTreatNulls(c.Style);
    Paint();
    EXPECT_EQ(DrawnLines(), Expected(c.Segments, false)) << c.Style << ": " << Describe(DrawnLines());
  }
}

TEST_F(NonFiniteLineTest, HitTestSkipsPointsThatAreNotFinite) {
  AddPoints({{0, 10}, {1, kNaN}, {2, 10}, {3, 20}});
  Paint();
  // The point's value has no pixel: where the axis would clamp it nothing
  // is found, and nothing joins its neighbours.
  const TPoint clamped{series->CalcXPos(1), series->CalcYPos(1)};
  EXPECT_EQ(series->Clicked(clamped.X, clamped.Y), -1);
  const TPointF p0 = PixelOf(0);
  EXPECT_EQ(series->Clicked(static_cast<int>(p0.X), static_cast<int>(p0.Y) + 5), -1);
  EXPECT_EQ(series->Clicked(static_cast<int>(p0.X), static_cast<int>(p0.Y)), 0);
  const TPointF p2 = PixelOf(2), p3 = PixelOf(3);
  EXPECT_EQ(series->Clicked(static_cast<int>(p2.X), static_cast<int>(p2.Y)), 2);
  const int midX = static_cast<int>((p2.X + p3.X) / 2), midY = static_cast<int>((p2.Y + p3.Y) / 2);
  EXPECT_EQ(series->Clicked(midX, midY), 2);
}

// Adding with AutoRepaint off draws the new segment at once; a point that
// cannot be drawn adds none, and the next point starts the line again.
TEST_F(NonFiniteLineTest, AddingWithoutAutoRepaintBreaksTheLine) {
  AddPoints({{0, 0}, {1, 10}, {2, 5}});
  Paint();
  series->SetAutoRepaint(false);
  chart.Canvas()->SetCanvas(&rec);
  rec.ClearOps();
  series->AddXY(3, kNaN);
  EXPECT_TRUE(rec.Lines().empty()) << Describe(rec.Lines());
  series->AddXY(4, 8);
  EXPECT_TRUE(rec.Lines().empty()) << Describe(rec.Lines());
  series->AddXY(5, 2);
  ASSERT_EQ(rec.Lines().size(), 1u);
  EXPECT_EQ(rec.Lines()[0], (Line{PixelOf(4), PixelOf(5)}));
  chart.Canvas()->SetCanvas(nullptr);
}

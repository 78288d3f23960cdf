// The fast line series drawn by a real chart on the recording canvas: the
// pen start before the page, one segment per point, the two-pixel margins,
// stairs, null treatments, the per-column mode, the polyline mode, the
// fast-pen path, adding outside a paint, clearing, hit testing and legend.
#include "series/fast_line_series.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <map>
#include <memory>
#include <string>
#include <vector>

#include "canvas/brush.h"
#include "canvas/gradient.h"
#include "canvas/pen.h"
#include "series_fixture.h"

using namespace sextant;
using namespace sextant::testing;

namespace {

using Line = std::pair<TPointF, TPointF>;

// Engine-level canvas spy: records moves, lines, fast lines, fast-line mode
// switches and the pen gradient's target rectangle during a polyline.
class SpyCanvas : public TKelCanvas3D {
 public:
  std::vector<std::string> calls;
  std::vector<TRectF> polylineGradientRects;

  using TKelCanvas3D::LineTo;
  using TKelCanvas3D::MoveTo;
  using TKelCanvas3D::Polyline;
  void SetFastLine(bool Value) override {
    calls.push_back(Value ? "fast on" : "fast off");
    TKelCanvas3D::SetFastLine(Value);
  }
  void MoveTo(float X, float Y) override {
    calls.push_back("move " + Point(X, Y));
    TKelCanvas3D::MoveTo(X, Y);
  }
  void LineTo(float X, float Y) override {
    calls.push_back("line " + Point(X, Y));
    TKelCanvas3D::LineTo(X, Y);
  }
  void FastLineTo(int X, int Y) override {
    calls.push_back("fastline " + Point(static_cast<float>(X), static_cast<float>(Y)));
    TKelCanvas3D::LineTo(static_cast<float>(X), static_cast<float>(Y));
  }
  void Polyline(std::span<const TPointF> Points) override {
    calls.push_back("polyline " + std::to_string(Points.size()));
    if (Pen()->HasFill() && Pen()->Fill()->HasGradientObject())
      polylineGradientRects.push_back(Pen()->Fill()->Gradient()->CustomTargetRectangle());
    TKelCanvas3D::Polyline(Points);
  }
  int Count(const std::string& prefix) const {
    int n = 0;
    for (const auto& c : calls) n += c.rfind(prefix, 0) == 0;
    return n;
  }

  static std::string Point(float X, float Y) {
    return std::to_string(static_cast<int>(X)) + "," + std::to_string(static_cast<int>(Y));
  }
};

class FastLineTest : public LineSeriesChartTest {
 protected:
  void HundredPointsOnPage(int Page) {
    series->FillSampleValues(100);
    chart.SetMaxPointsPerPage(10);
    chart.SetPage(Page);
    Paint();
  }
  // The polyline of connected segments through these pixels.
  static std::vector<Line> Through(const std::vector<TPointF>& Pixels) {
    std::vector<Line> lines;
    for (std::size_t i = 1; i < Pixels.size(); ++i) lines.emplace_back(Pixels[i - 1], Pixels[i]);
    return lines;
  }
  std::vector<TPointF> PixelsOf(const std::vector<int>& Indices) const {
    std::vector<TPointF> v;
    for (int i : Indices) v.push_back(PixelOf(i));
    return v;
  }
  SpyCanvas* UseSpy() {
    auto spy = std::make_unique<SpyCanvas>();
    SpyCanvas* raw = spy.get();
    chart.SetInternalCanvas(std::move(spy));
    return raw;
  }
};

bool SameLines(const std::vector<Line>& a, const std::vector<Line>& b) {
  if (a.size() != b.size()) return false;
  for (std::size_t i = 0; i < a.size(); ++i)
    if (a[i].first != b[i].first || a[i].second != b[i].second) return false;
  return true;
}

std::string Describe(const std::vector<Line>& lines) {
  std::string s;
  for (auto& [a, b] : lines)
    s += "(" + std::to_string(a.X) + "," + std::to_string(a.Y) + ")->(" + std::to_string(b.X) + "," +
         std::to_string(b.Y) + ") ";
  return s;
}

}  // namespace

// ---- Construction and settings -------------------------------------------------

TEST(FastLineSettings, ConstructorDefaults) {
  TFastLineSeries s;
  EXPECT_EQ(s.LinePen(), s.Pen());
  EXPECT_EQ(s.LinePen()->Color(), clKelColor);
  EXPECT_EQ(s.LinePen()->Fill()->DefaultColor(), clKelColor);
  EXPECT_EQ(s.LinePen()->EndStyle(), esFlat);
  EXPECT_EQ(s.LinePen()->DefaultEnd(), esFlat);
  EXPECT_EQ(s.LinePen()->Width(), 1);
  EXPECT_FALSE(s.AllowSinglePoint);
  EXPECT_TRUE(s.DrawBetweenPoints);
  EXPECT_TRUE(s.IMandatoryPen);
  EXPECT_EQ(s.TreatNulls(), tnIgnore);
  EXPECT_TRUE(s.AutoRepaint());
  EXPECT_TRUE(s.DrawAllPoints());
  EXPECT_TRUE(s.IgnoreNulls());
  EXPECT_EQ(s.DrawAllPointsStyle(), daFirst);
  EXPECT_EQ(s.DrawStyle(), flSegments);
  EXPECT_FALSE(s.FastPen());
  EXPECT_FALSE(s.Stairs());
  EXPECT_FALSE(s.InvertedStairs());
  EXPECT_EQ(s.ClickTolerance(), 0);
}

TEST_F(FastLineTest, SettersRepaintOnlyOnChange) {
  struct Step {
    const char* name;
    std::function<void()> same, change;
  };
  const std::vector<Step> steps = {
      {"DrawAllPoints", [&] { series->SetDrawAllPoints(true); }, [&] { series->SetDrawAllPoints(false); }},
      {"DrawAllPointsStyle", [&] { series->SetDrawAllPointsStyle(daFirst); },
       [&] { series->SetDrawAllPointsStyle(daMinMax); }},
      {"DrawStyle", [&] { series->SetDrawStyle(flSegments); }, [&] { series->SetDrawStyle(flAll); }},
      {"FastPen", [&] { series->SetFastPen(false); }, [&] { series->SetFastPen(true); }},
      {"IgnoreNulls", [&] { series->SetIgnoreNulls(true); }, [&] { series->SetIgnoreNulls(false); }},
      {"Stairs", [&] { series->SetStairs(false); }, [&] { series->SetStairs(true); }},
      {"InvertedStairs", [&] { series->SetInvertedStairs(false); }, [&] { series->SetInvertedStairs(true); }},
      {"ClickTolerance", [&] { series->SetClickTolerance(0); }, [&] { series->SetClickTolerance(3); }},
      {"TreatNulls", [&] { series->SetTreatNulls(tnIgnore); }, [&] { series->SetTreatNulls(tnSkip); }},
      {"Transparency", [&] { series->SetTransparency(0); }, [&] { series->SetTransparency(30); }},
  };
  for (const Step& step : steps) {
    host.Invalidates = 0;
    step.same();
    EXPECT_EQ(host.Invalidates, 0) << step.name;
    step.change();
    EXPECT_EQ(host.Invalidates, 1) << step.name;
  }
}

TEST_F(FastLineTest, SeriesColourAndPenAreCoupled) {
  // Added to a chart with palette 13: the first palette colour, on the pen too.
  EXPECT_EQ(series->SeriesColor(), 0xFF4466A3u);
  EXPECT_EQ(series->LinePen()->Color(), 0xFF4466A3u);
  series->SetSeriesColor(claRed);
  EXPECT_EQ(series->LinePen()->Color(), claRed);
  TKelPen pen;
  pen.SetColor(claBlue);
  pen.SetWidth(3);
  series->SetPen(&pen);
  EXPECT_EQ(series->SeriesColor(), claBlue);
  EXPECT_EQ(series->LinePen()->Width(), 3);

  TFastLineSeries other;
  other.SetStairs(true);
  other.SetClickTolerance(4);
  other.SetDrawAllPointsStyle(daMinMax);
  series->Assign(&other);
  EXPECT_TRUE(series->Stairs());
  EXPECT_EQ(series->ClickTolerance(), 4);
  EXPECT_EQ(series->DrawAllPointsStyle(), daMinMax);
}

// ---- One paint -------------------------------------------------------------------

TEST_F(FastLineTest, LastPageStartsBeforeThePageAndDrawsOneSegmentPerPoint) {
  HundredPointsOnPage(10);
  EXPECT_EQ(series->FirstValueIndex(), 90);
  EXPECT_EQ(series->LastValueIndex(), 99);
  const std::vector<Line> expected = Through(PixelsOf({89, 90, 91, 92, 93, 94, 95, 96, 97, 98, 99}));
  const std::vector<Line> lines = SeriesLines();
  EXPECT_TRUE(SameLines(lines, expected)) << Describe(lines);
  EXPECT_EQ(series->OldX, PixelOf(99).X);
  EXPECT_EQ(series->OldY, PixelOf(99).Y);
  // Every segment is clipped to the chart rectangle (one pixel taller at
  // the top and at the bottom), in the palette colour.
  const TRectF R = chart.ChartRect;
  for (const TRecordedOp* op : SeriesOps(rkDrawLine)) {
    ASSERT_TRUE(op->Clip.has_value());
    EXPECT_EQ(*op->Clip, (TRectF{R.Left + 1, R.Top, R.Right, R.Bottom}));
    EXPECT_EQ(op->Stroke.Color, 0xFF4466A3u);
    EXPECT_EQ(op->Stroke.Cap, THostStrokeCap::Flat);
  }
  EXPECT_EQ(SeriesOps(rkDrawPath).size(), 0u);
}

TEST_F(FastLineTest, FirstPageDrawsToTheFirstPointBeyondTheEdge) {
  HundredPointsOnPage(1);
  EXPECT_EQ(series->FirstValueIndex(), 0);
  EXPECT_EQ(series->LastValueIndex(), 10);
  const std::vector<Line> lines = SeriesLines();
  EXPECT_TRUE(SameLines(lines, Through(PixelsOf({0, 1, 2, 3, 4, 5, 6, 7, 8, 9, 10})))) << Describe(lines);
  EXPECT_GT(lines.back().second.X, chart.ChartRect.Right);  // clipped away
}

TEST_F(FastLineTest, FirstAndLastPointOfAPageLieTwoPixelsInside) {
  HundredPointsOnPage(10);
  const TChartAxis* h = chart.BottomAxis();
  const TChartAxis* v = chart.LeftAxis();
  EXPECT_EQ(series->CalcXPos(90), h->IStartPos + 2);
  EXPECT_EQ(series->CalcXPos(99), h->IEndPos - 2);
  EXPECT_EQ(h->IStartPos, KelRound(chart.ChartRect.Left));
  // The vertical axis spans all 100 points: their extremes are 2 pixels inside.
  EXPECT_EQ(series->CalcYPosValue(series->MaxYValue()), v->IStartPos + 2);
  EXPECT_EQ(series->CalcYPosValue(series->MinYValue()), v->IEndPos - 2);

  // A wider pen asks for more room.
  series->LinePen()->SetWidth(4);
  Paint();
  EXPECT_EQ(series->CalcXPos(90), h->IStartPos + 3);
  EXPECT_EQ(series->CalcXPos(99), h->IEndPos - 3);
}

TEST_F(FastLineTest, MarginsFromThePenWidth) {
  struct Case {
    float width;
    int margin;
  };
  for (const Case& c : std::vector<Case>{{1, 2}, {2, 2}, {3, 2}, {4, 3}, {5, 4}, {6, 4}, {0, 1}}) {
    series->LinePen()->SetWidth(c.width);
    int l = -1, r = -1;
    series->CalcHorizMargins(l, r);
    EXPECT_EQ(l, c.margin) << c.width;
    EXPECT_EQ(r, c.margin) << c.width;
  }
  series->LinePen()->SetWidth(1);
  series->AddXY(0, 10);
  series->AddXY(1, 20);
  struct VCase {
    double min, max;
    int top, bottom;
  };
  for (const VCase& c : std::vector<VCase>{{10, 20, 2, 2}, {0, 20, 2, 0}, {10, 30, 0, 2}, {0, 30, 0, 0}, {15, 15, 2, 2}}) {
    chart.LeftAxis()->SetMinMax(c.min, c.max);
    int t = -1, b = -1;
    series->CalcVerticalMargins(t, b);
    EXPECT_EQ(t, c.top) << c.min << ".." << c.max;
    EXPECT_EQ(b, c.bottom) << c.min << ".." << c.max;
  }
}

TEST_F(FastLineTest, StairsGoAcrossThenUp) {
  for (bool inverted : {false, true}) {
    series->Clear();
    AddPoints({{0, 0}, {10, 5}});
    series->SetStairs(true);
    series->SetInvertedStairs(inverted);
    Paint();
    const TPointF p0 = PixelOf(0), p1 = PixelOf(1);
    const TPointF corner = inverted ? TPointF{p0.X, p1.Y} : TPointF{p1.X, p0.Y};
    const std::vector<Line> lines = SeriesLines();
    EXPECT_TRUE(SameLines(lines, Through({p0, corner, p1}))) << inverted << ": " << Describe(lines);
  }
}

TEST_F(FastLineTest, StairsInPixelTerms) {
  // Axes fixed so that value = pixel offset from the plot's corner.
  AddPoints({{0, 0}, {10, 5}});
  Paint();
  const int left = chart.BottomAxis()->IStartPos;
  const int bottom = chart.LeftAxis()->IEndPos;
  chart.BottomAxis()->SetMinMax(0, chart.BottomAxis()->IAxisSize);
  chart.LeftAxis()->SetMinMax(0, chart.LeftAxis()->IAxisSize);
  series->SetStairs(true);
  Paint();
  ASSERT_EQ(PixelOf(1).X - PixelOf(0).X, 10);
  auto px = [&](float x, float y) { return TPointF{left + x, bottom - y}; };
  EXPECT_TRUE(SameLines(SeriesLines(), Through({px(0, 0), px(10, 0), px(10, 5)}))) << Describe(SeriesLines());
  series->SetInvertedStairs(true);
  Paint();
  EXPECT_TRUE(SameLines(SeriesLines(), Through({px(0, 0), px(0, 5), px(10, 5)}))) << Describe(SeriesLines());
}

TEST_F(FastLineTest, NullTreatments) {
  AddPoints({{0, 0}, {1, 10}, {2, 20}, {3, 30}, {4, 40}});
  series->SetNull(2);
  struct Case {
    TTreatNullsStyle style;
    std::vector<std::pair<int, int>> segments;  // point index pairs
  };
  const std::vector<Case> cases = {
      {tnIgnore, {{0, 1}, {1, 2}, {2, 3}, {3, 4}}},  // the null's stored value is drawn
      {tnSkip, {{0, 1}, {1, 3}, {3, 4}}},            // bridged
      {tnDontPaint, {{0, 1}, {3, 4}}},               // a gap on both sides
  };
  for (bool drawAll : {true, false}) {
    series->SetDrawAllPoints(drawAll);
    for (const Case& c : cases) {
      series->SetTreatNulls(c.style);
      Paint();
      std::vector<Line> expected;
      for (auto [a, b] : c.segments) expected.emplace_back(PixelOf(a), PixelOf(b));
      EXPECT_TRUE(SameLines(SeriesLines(), expected))
          << "style " << c.style << " drawAll " << drawAll << ": " << Describe(SeriesLines());
    }
  }
}

TEST_F(FastLineTest, SkipAfterANullFirstPointRestartsTheLine) {
  AddPoints({{0, 0}, {1, 10}, {2, 20}, {3, 30}});
  series->SetNull(0);
  series->SetTreatNulls(tnSkip);
  Paint();
  // Point 1 follows the null first point: the pen moves there instead.
  std::vector<Line> expected{{PixelOf(1), PixelOf(2)}, {PixelOf(2), PixelOf(3)}};
  EXPECT_TRUE(SameLines(SeriesLines(), expected)) << Describe(SeriesLines());
}

TEST_F(FastLineTest, DrawFirstSkipsPointsOnTheSamePixel) {
  AddPoints({{0, 0}, {0, 0}, {1, 10}, {1, 10}, {2, 0}});
  series->SetDrawAllPoints(true);
  Paint();
  EXPECT_EQ(SeriesLines().size(), 4u);  // every point drawn
  series->SetDrawAllPoints(false);
  series->SetDrawAllPointsStyle(daFirst);
  Paint();
  const std::vector<Line> lines = SeriesLines();
  EXPECT_TRUE(SameLines(lines, Through(PixelsOf({0, 2, 4})))) << Describe(lines);
}

TEST_F(FastLineTest, MinMaxDrawsAStrokePerPixelColumn) {
  // 1000 points over about 100 pixel columns.
  std::vector<std::pair<double, double>> pts;
  std::uint32_t seed = 7;
  for (int i = 0; i < 1000; ++i) {
    seed = seed * 1664525u + 1013904223u;
    pts.emplace_back(i * 0.1, (seed >> 8) % 1000);
  }
  AddPoints(pts);
  series->SetDrawAllPoints(false);
  series->SetDrawAllPointsStyle(daMinMax);
  // The plot keeps most of the narrow chart: no legend, no value labels.
  chart.Legend()->SetVisible(false);
  chart.LeftAxis()->Labels()->SetVisible(false);
  Paint(110, 300);
  const int width = chart.BottomAxis()->IAxisSize;
  ASSERT_GT(width, 80);
  ASSERT_LT(width, 120);

  // Reference: every point mapped, grouped by pixel column.
  std::map<int, std::pair<int, int>> columns;  // x -> (min y, max y)
  for (int i = series->FirstValueIndex(); i <= series->LastValueIndex(); ++i) {
    const TPointF p = PixelOf(i);
    auto [it, fresh] = columns.try_emplace(static_cast<int>(p.X), static_cast<int>(p.Y), static_cast<int>(p.Y));
    if (!fresh) {
      it->second.first = std::min(it->second.first, static_cast<int>(p.Y));
      it->second.second = std::max(it->second.second, static_cast<int>(p.Y));
    }
  }
  const std::vector<Line> lines = SeriesLines();
  EXPECT_LE(lines.size(), 3 * columns.size());
  // What is drawn at each column reaches exactly that column's extremes,
  // and the line never jumps over a column.
  std::map<int, std::pair<int, int>> drawn;
  for (const auto& [a, b] : lines) {
    EXPECT_LE(std::abs(b.X - a.X), 1.0f);
    for (TPointF p : {a, b}) {
      auto [it, fresh] = drawn.try_emplace(static_cast<int>(p.X), static_cast<int>(p.Y), static_cast<int>(p.Y));
      if (!fresh) {
        it->second.first = std::min(it->second.first, static_cast<int>(p.Y));
        it->second.second = std::max(it->second.second, static_cast<int>(p.Y));
      }
    }
  }
  EXPECT_EQ(drawn, columns);

  // A column stroke is two vertical lines at one X: to the column's top,
  // then down to its bottom; on an inverted vertical axis the other way.
  for (bool inverted : {false, true}) {
    chart.LeftAxis()->SetInverted(inverted);
    Paint(110, 300);
    const std::vector<Line> drawnLines = SeriesLines();
    int strokes = 0;
    for (std::size_t k = 1; k < drawnLines.size(); ++k) {
      const Line& first = drawnLines[k - 1];
      const Line& second = drawnLines[k];
      const bool vertical = first.first.X == first.second.X && second.first.X == second.second.X &&
                            first.first.X == second.first.X;
      if (!vertical || second.first.Y == second.second.Y) continue;
      ++strokes;
      if (inverted)
        EXPECT_LT(second.second.Y, second.first.Y) << "column " << second.first.X;
      else
        EXPECT_GT(second.second.Y, second.first.Y) << "column " << second.first.X;
    }
    EXPECT_GT(strokes, 50) << inverted;
  }
}

TEST_F(FastLineTest, PolylineModeIsOneCall) {
  HundredPointsOnPage(10);
  const std::vector<Line> segments = SeriesLines();
  series->SetDrawStyle(flAll);
  Paint();
  EXPECT_TRUE(SeriesLines().empty());
  const auto paths = SeriesOps(rkDrawPath);
  ASSERT_EQ(paths.size(), 1u);
  const auto& cmds = paths[0]->Path.Commands();
  ASSERT_EQ(cmds.size(), 11u);  // point 89 and the ten points of the page
  EXPECT_EQ(cmds[0].Op, THostPathCommand::MoveTo);
  EXPECT_EQ(cmds[0].A, PixelOf(89));
  for (int k = 1; k < 11; ++k) {
    EXPECT_EQ(cmds[k].Op, THostPathCommand::LineTo);
    EXPECT_EQ(cmds[k].A, PixelOf(89 + k));
  }
  EXPECT_EQ(paths[0]->Stroke.Color, 0xFF4466A3u);
  ASSERT_TRUE(paths[0]->Clip.has_value());
  // Any null treatment but tnIgnore, or stairs, keeps the segment mode.
  series->SetStairs(true);
  Paint();
  EXPECT_TRUE(SeriesOps(rkDrawPath).empty());
}

TEST_F(FastLineTest, PolylineBufferReusesItsPixelsWhenAsked) {
  AddPoints({{0, 0}, {1, 10}, {2, 20}, {3, 30}});
  series->SetDrawStyle(flAll);
  Paint();
  const THostPath before = SeriesOps(rkDrawPath).at(0)->Path;
  // Same count, Y pixels kept: changed Y values do not reach the picture.
  series->ReuseYValues = true;
  chart.LeftAxis()->SetMinMax(0, 60);
  Paint();
  THostPath after = SeriesOps(rkDrawPath).at(0)->Path;
  for (std::size_t k = 1; k < 4; ++k) EXPECT_EQ(after.Commands()[k].A.Y, before.Commands()[k].A.Y);
  // Without reuse they follow the new scale.
  series->ReuseYValues = false;
  Paint();
  after = SeriesOps(rkDrawPath).at(0)->Path;
  EXPECT_NE(after.Commands()[3].A.Y, before.Commands()[3].A.Y);
  EXPECT_EQ(after.Commands()[3].A, PixelOf(3));
}

TEST_F(FastLineTest, GradientPenSpansTheDataForThePolylineOnly) {
  SpyCanvas* spy = UseSpy();
  AddPoints({{0, 5}, {1, 40}, {2, 20}, {3, -10}});
  series->SetDrawStyle(flAll);
  series->LinePen()->Fill()->Gradient()->SetVisible(true);
  series->LinePen()->SetWidth(4);
  Paint();
  ASSERT_EQ(spy->polylineGradientRects.size(), 1u);
  const float g = KelRound(4 * 0.5) + 1;  // 3
  const TRectF expected{PixelOf(0, 0).X - g, PixelOf(0, 40).Y - g, PixelOf(3, 0).X + g, PixelOf(0, -10).Y + g};
  EXPECT_EQ(spy->polylineGradientRects[0], expected);
  EXPECT_EQ(chart.Canvas()->Pen()->Fill()->Gradient()->CustomTargetRectangle(), TRectF{});
}

TEST_F(FastLineTest, FastPenUsesIntegerLines) {
  SpyCanvas* spy = UseSpy();
  AddPoints({{0, 0}, {1, 10}, {2, 20}});
  series->SetFastPen(true);
  Paint();
  EXPECT_EQ(spy->Count("fast on"), 1);
  EXPECT_EQ(spy->Count("fast off"), 1);
  EXPECT_EQ(spy->Count("fastline"), 2);
  EXPECT_EQ(SeriesLines().size(), 2u);
  // The order: on, move, two fast lines, off.
  std::vector<std::string> seriesCalls;
  bool on = false;
  for (const auto& c : spy->calls) {
    if (c == "fast on") on = true;
    if (on) seriesCalls.push_back(c);
    if (c == "fast off") break;
  }
  ASSERT_EQ(seriesCalls.size(), 4u);
  EXPECT_EQ(seriesCalls[1].rfind("fastline", 0), 0u);

  series->SetFastPen(false);
  spy->calls.clear();
  Paint();
  EXPECT_EQ(spy->Count("fast"), 0);
}

TEST_F(FastLineTest, TransparencyBlendsTheLine) {
  AddPoints({{0, 0}, {1, 10}});
  series->SetTransparency(40);
  Paint();
  ASSERT_EQ(SeriesOps(rkDrawLine).size(), 1u);
  EXPECT_FLOAT_EQ(SeriesOps(rkDrawLine)[0]->Opacity, 0.6f);
  EXPECT_EQ(chart.Canvas()->Transparency(), 0);  // restored afterwards
  series->SetTransparency(250);                  // clamped to 100
  EXPECT_EQ(series->Transparency(), 100);
}

TEST_F(FastLineTest, OwnPenColourWins) {
  AddPoints({{0, 0}, {1, 10}});
  series->LinePen()->SetColor(0xFF00FF00);
  EXPECT_EQ(series->SeriesColor(), 0xFF4466A3u);
  Paint();
  EXPECT_EQ(SeriesOps(rkDrawLine).at(0)->Stroke.Color, 0xFF00FF00u);
}

TEST_F(FastLineTest, NonFiniteValuesNeverBreakAPaint) {
  const double nan = std::numeric_limits<double>::quiet_NaN();
  const double inf = std::numeric_limits<double>::infinity();
  AddPoints({{0, 1}, {1, nan}, {2, inf}, {3, -inf}, {4, 5}, {nan, 3}, {inf, 2}, {-inf, 7}, {5, 1e308}});
  struct Mode {
    const char* name;
    std::function<void()> set;
  };
  const std::vector<Mode> modes = {
      {"segments", [&] {}},
      {"polyline", [&] { series->SetDrawStyle(flAll); }},
      {"stairs", [&] { series->SetStairs(true); }},
      {"min max", [&] {
         series->SetDrawAllPoints(false);
         series->SetDrawAllPointsStyle(daMinMax);
       }},
      {"first", [&] { series->SetDrawAllPointsStyle(daFirst); }},
      {"skip nulls", [&] {
         series->SetNull(1);
         series->SetTreatNulls(tnSkip);
       }},
      {"fast pen", [&] { series->SetFastPen(true); }},
  };
  for (const Mode& m : modes) {
    m.set();
    ASSERT_NO_THROW(Paint()) << m.name;
    for (std::size_t i = seriesBegin; i < seriesEnd; ++i) {
      const TRecordedOp& op = rec.Ops()[i];
      for (TPointF p : {op.P1, op.P2}) {
        EXPECT_TRUE(std::isfinite(p.X) && std::abs(p.X) <= 32767) << m.name;
        EXPECT_TRUE(std::isfinite(p.Y) && std::abs(p.Y) <= 32767) << m.name;
      }
    }
    EXPECT_EQ(series->Clicked(10, 10) >= -1, true);
  }
}

// ---- Outside a paint -------------------------------------------------------------

TEST_F(FastLineTest, AddingWithoutAutoRepaintDrawsTheNewSegmentAtOnce) {
  AddPoints({{0, 0}, {1, 10}, {2, 5}});
  Paint();
  series->SetAutoRepaint(false);
  int afterAdds = 0;
  series->OnAfterAdd = [&](TChartSeries*, int) { ++afterAdds; };

  // Without a host canvas nothing is drawn and nothing invalidated.
  ASSERT_EQ(chart.Canvas()->ReferenceCanvas(), nullptr);
  host.Invalidates = 0;
  rec.ClearOps();
  series->AddXY(2.5, 7);
  EXPECT_EQ(rec.Count(rkDrawLine), 0u);
  EXPECT_EQ(host.Invalidates, 0);
  EXPECT_EQ(afterAdds, 1);

  // With one, the segment from the pen position to the new point.
  chart.Canvas()->SetCanvas(&rec);
  const TPointF from{static_cast<float>(series->OldX), static_cast<float>(series->OldY)};
  series->AddXY(3, 8);
  ASSERT_EQ(rec.Count(rkDrawLine), 1u);
  EXPECT_EQ(rec.Lines()[0].first, from);
  EXPECT_EQ(rec.Lines()[0].second, PixelOf(3, 8));
  EXPECT_EQ(rec.Last(rkDrawLine)->Stroke.Color, 0xFF4466A3u);
  EXPECT_EQ(host.Invalidates, 0);
  EXPECT_EQ(afterAdds, 2);

  // With AutoRepaint the chart is invalidated instead.
  series->SetAutoRepaint(true);
  rec.ClearOps();
  series->AddXY(4, 1);
  EXPECT_EQ(rec.Count(rkDrawLine), 0u);
  EXPECT_GT(host.Invalidates, 0);
  chart.Canvas()->SetCanvas(nullptr);
}

TEST_F(FastLineTest, FastPenOutsideAPaintSwitchesTheModeAroundTheLine) {
  SpyCanvas* spy = UseSpy();
  AddPoints({{0, 0}, {1, 10}});
  Paint();
  series->SetAutoRepaint(false);
  series->SetFastPen(true);
  chart.Canvas()->SetCanvas(&rec);
  spy->calls.clear();
  series->AddXY(2, 3);
  ASSERT_EQ(spy->calls.size(), 4u);
  EXPECT_EQ(spy->calls[0].rfind("move", 0), 0u);
  EXPECT_EQ(spy->calls[1], "fast on");
  EXPECT_EQ(spy->calls[2].rfind("fastline", 0), 0u);
  EXPECT_EQ(spy->calls[3], "fast off");
  chart.Canvas()->SetCanvas(nullptr);
}

TEST_F(FastLineTest, ClearParksThePenWhereTheAxesMeet) {
  AddPoints({{0, 0}, {1, 10}});
  Paint();
  chart.LeftAxis()->PosAxis = 33;
  chart.BottomAxis()->PosAxis = 377;
  series->Clear();
  EXPECT_EQ(series->OldX, 33);
  EXPECT_EQ(series->OldY, 377);
  chart.Canvas()->SetCanvas(&rec);
  rec.ClearOps();
  chart.Canvas()->LineTo(50.0f, 50.0f);
  EXPECT_EQ(rec.Lines().at(0).first, (TPointF{33, 377}));
  chart.Canvas()->SetCanvas(nullptr);
}

TEST_F(FastLineTest, ClickedFindsPointsAndSegments) {
  AddPoints({{0, 0}, {1, 40}, {2, 10}, {3, 30}});
  Paint();
  auto at = [&](int i) { return std::make_pair(series->CalcXPos(i), series->CalcYPos(i)); };
  const auto [x1, y1] = at(1);
  const auto [x2, y2] = at(2);
  EXPECT_EQ(series->Clicked(x1, y1), 1);
  const int mx = (x1 + x2) / 2;
  const int my = KelRound(y1 + (y2 - y1) * double(mx - x1) / (x2 - x1));
  EXPECT_EQ(series->Clicked(mx, my), 1);
  // Off the line: missed without tolerance, found with it.
  EXPECT_EQ(series->Clicked(mx, my - 6), -1);
  series->SetClickTolerance(6);
  EXPECT_EQ(series->Clicked(mx, my - 6), 1);
  EXPECT_EQ(series->Clicked(mx, my - 20), -1);
  series->SetClickTolerance(2147483647);  // everything is near
  EXPECT_EQ(series->Clicked(mx, my - 100000), 0);  // the first segment
  EXPECT_EQ(series->Clicked(-2147483647 - 1, 2147483647), -1);  // defined, even there
  series->SetClickTolerance(0);
  EXPECT_EQ(series->Clicked(0, 0), -1);

  // Stairs: on the horizontal leg, then on the vertical one.
  series->SetStairs(true);
  EXPECT_EQ(series->Clicked(mx, y1), 1);
  EXPECT_EQ(series->Clicked(x2, (y1 + y2) / 2), 1);
  EXPECT_EQ(series->Clicked(mx, my), -1);
  series->SetInvertedStairs(true);
  EXPECT_EQ(series->Clicked(x1, (y1 + y2) / 2), 1);
  EXPECT_EQ(series->Clicked(mx, y2), 1);

  // A series never painted has no visible range.
  TFastLineSeries loose;
  loose.AddXY(0, 0);
  EXPECT_EQ(loose.Clicked(0, 0), -1);
  // Points deleted after the paint are not visited.
  series->Delete(2, 2);
  EXPECT_EQ(series->Clicked(x2, y2), -1);
}

TEST_F(FastLineTest, LegendSymbolIsOneHorizontalLine) {
  chart.Canvas()->SetCanvas(&rec);
  rec.ClearOps();
  series->PrepareLegendCanvas();
  series->DrawLegendShape({10.4f, 20.6f, 30.5f, 41.2f});
  ASSERT_EQ(rec.Count(rkDrawLine), 1u);
  EXPECT_EQ(rec.Lines()[0].first, (TPointF{10, 31}));   // (21 + 41) div 2
  EXPECT_EQ(rec.Lines()[0].second, (TPointF{30, 31}));  // 30.5 rounds to even
  EXPECT_EQ(rec.Last(rkDrawLine)->Stroke.Color, 0xFF4466A3u);
  chart.Canvas()->SetCanvas(nullptr);
}

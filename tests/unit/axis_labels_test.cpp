// Axis labels, ticks and grid on the recording canvas: label texts and
// values, the room an axis takes, label placement, axis line, ticks, grid,
// minor ticks, turned and hovered labels, custom and point labels, titles.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <functional>
#include <limits>
#include <set>

#include "chart_layout_fixture.h"

using namespace sextant;
using sextant::testing::LayoutTest;

namespace {

constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

// The known chart: one fast line through (0, 0), (10, 10) ... (100, 100).
class LabelsTest : public LayoutTest {
 protected:
  TFastLineSeries* AddDiagonal() {
    std::vector<std::pair<double, double>> points;
    for (int i = 0; i <= 10; ++i) points.push_back({i * 10.0, i * 10.0});
    return AddPoints(points);
  }
  std::vector<double> ItemValues(TChartAxis* axis) const {
    std::vector<double> values;
    for (int i = 0; i < axis->Items()->Count(); ++i) values.push_back(axis->Items()->Items(i)->Value());
    return values;
  }
  TChartAxis* bottom() const { return chart.BottomAxis(); }
  TChartAxis* left() const { return chart.LeftAxis(); }
};

// ---- Texts ---------------------------------------------------------------------

TEST_F(LabelsTest, LabelValueFormatsWithTheAxisPattern) {
  struct {
    const char* format;
    double value;
    const char* expected;
  } cases[] = {
      {"#,##0.###", 1000, "1,000"},  {"#,##0.###", 12.3456, "12.346"},
      {"#,##0.###", 0.12345, "0.123"}, {"#,##0.###", -2.0004, "-2"},
      {"0.0", 12.3456, "12.3"},      {"#,##0.###", kNaN, "NaN"},
  };
  for (const auto& c : cases) {
    bottom()->SetAxisValuesFormat(c.format);
    EXPECT_EQ(bottom()->LabelValue(c.value), c.expected) << c.format << " " << c.value;
  }
}

TEST_F(LabelsTest, OnGetAxisLabelAndMultiLine) {
  std::vector<std::string> calls;
  chart.OnGetAxisLabel = [&](TChartAxis* axis, TChartSeries* series, int index, std::string& text) {
    calls.push_back(axis->AxisID() + (series ? "+series" : "") + " " + std::to_string(index) +
                    " " + text);
    text = "value " + text;
  };
  EXPECT_EQ(left()->LabelValue(5), "value 5");
  EXPECT_EQ(calls, (std::vector<std::string>{"Left -1 5"}));
  left()->Labels()->SetMultiLine(true);
  EXPECT_EQ(left()->LabelValue(5), std::string("value") + KelLineSeparator + "5");
}

// ---- Values ---------------------------------------------------------------------

TEST_F(LabelsTest, ValueLabelsRunFromTheTopDownToExactlyZero) {
  AddDiagonal();
  Paint();
  // The left axis (0..100 widened by the line's margins) has room for a
  // label every 10.
  EXPECT_EQ(ItemValues(left()),
            (std::vector<double>{100, 90, 80, 70, 60, 50, 40, 30, 20, 10, 0}));
  EXPECT_EQ(left()->Items()->Items(10)->Text(), "0");
  ASSERT_EQ(left()->Tick.size(), 11u);
  EXPECT_EQ(left()->Tick[0], left()->CalcYPosValue(100));
  EXPECT_EQ(left()->Tick[10], left()->CalcYPosValue(0));

  // An axis starting at exactly 0 with a decimal step still ends on a
  // label reading 0 at the pixel of 0 (the repeated subtraction leaves
  // 1.4e-16 there).
  left()->SetMinMax(0, 1);
  Paint();
  const std::vector<double> values = ItemValues(left());
  ASSERT_EQ(values.size(), 11u);
  EXPECT_EQ(values.front(), 1);
  const TAxisItem* last = left()->Items()->Items(10);
  EXPECT_EQ(last->Text(), "0");
  EXPECT_EQ(last->LabelPos(), left()->CalcYPosValue(0));
}

TEST_F(LabelsTest, LabelValuesComeFromRepeatedSubtraction) {
  AddDiagonal();
  left()->Labels()->SetSeparation(0);  // the increment is taken as it is
  struct {
    double min, max, increment;
    std::size_t count;
    double last;
    const char* lastText;
  } cases[] = {
      // 1 - 0.1 - 0.1 ... reaches -0.2999999999999999, above the minimum.
      {-0.3, 1, 0.1, 14, -0.2999999999999999, "-0.3"},
      {0, 1, 0.1, 11, 1.3877787807814457e-16, "0"},
      {-1, 1, 0.25, 9, -1, "-1"},
      // Trunc(0.3 / 0.1) is 2: the first label is 0.2, then 0.1 and 0.
      {0, 0.3, 0.1, 3, 0, "0"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(::testing::Message() << c.min << " .. " << c.max << " by " << c.increment);
    left()->SetIncrement(c.increment);
    left()->SetMinMax(c.min, c.max);
    Paint();
    const std::vector<double> values = ItemValues(left());
    ASSERT_EQ(values.size(), c.count);
    // Each value is its upper neighbour minus the increment, bit for bit.
    for (std::size_t i = 1; i < values.size(); ++i) EXPECT_EQ(values[i], values[i - 1] - c.increment) << i;
    EXPECT_EQ(values.back(), c.last);
    EXPECT_EQ(left()->Items()->Items(static_cast<int>(c.count) - 1)->Text(), c.lastText);
    ASSERT_EQ(left()->Tick.size(), c.count);
    EXPECT_EQ(left()->Tick.back(), left()->CalcYPosValue(c.last));
  }
}

TEST_F(LabelsTest, AnIncrementBelowThePrecisionOfTheValuesEndsTheLabels) {
  AddDiagonal();
  left()->Labels()->SetSeparation(0);
  // 1e20 - 1000 is 1e20 again: the walk stops after the first label
  // instead of repeating it.
  left()->SetIncrement(1000);
  left()->SetMinMax(1e20 - 4e6, 1e20);
  Paint();
  const std::vector<double> values = ItemValues(left());
  ASSERT_FALSE(values.empty());
  std::set<double> distinct(values.begin(), values.end());
  EXPECT_EQ(distinct.size(), values.size());
}

TEST_F(LabelsTest, ASingleValueAxisShowsOneLabel) {
  AddPoints({{0, 5}, {1, 5}, {2, 5}});
  Paint();
  ASSERT_EQ(left()->Items()->Count(), 1);
  EXPECT_EQ(left()->Items()->Items(0)->Text(), "5");
  EXPECT_EQ(left()->Items()->Items(0)->LabelPos(), left()->ICenterPos);
  EXPECT_EQ(TextOps("5").size(), 1u);
}

TEST_F(LabelsTest, NoLabelsWhenTooManyAndAtMostTenThousand) {
  AddDiagonal();
  left()->Labels()->SetSeparation(0);  // the increment is taken as it is
  left()->SetIncrement(1);
  left()->SetMinMax(0, 20000);  // 20000 labels: none at all
  Paint();
  EXPECT_EQ(left()->Items()->Count(), 0);
  EXPECT_TRUE(left()->Tick.empty());

  // A label hook that keeps returning the same value stops at 10000.
  left()->SetMinMax(0, 100);
  int calls = 0;
  left()->OnNextLabelValue = [&](TChartAxis*, int, double& value, bool&) {
    ++calls;
    value = 50;
  };
  Paint();
  EXPECT_EQ(calls, 10000);
  EXPECT_EQ(left()->Items()->Count(), 10000);
  // The hook may stop the labels.
  left()->OnNextLabelValue = [](TChartAxis*, int index, double&, bool& stop) { stop = index == 3; };
  Paint();
  EXPECT_EQ(ItemValues(left()), (std::vector<double>{100, 99, 98}));
}

TEST_F(LabelsTest, TheWidestLabelIsSearchedAmongAtMost5000) {
  AddDiagonal();
  left()->Labels()->SetSeparation(0);
  left()->SetIncrement(1);
  left()->SetMinMax(0, 9000);  // 9001 labels
  int calls = 0;
  int duringLayout = -1;
  chart.OnGetAxisLabel = [&](TChartAxis* axis, TChartSeries*, int, std::string&) {
    calls += axis == left();
  };
  chart.OnBeforeDrawAxes = [&](TPersistent*) { duringLayout = calls; };
  Paint();
  // The layout measured the widest of at most 5000 labels (plus the few
  // texts the increment is estimated from); drawing then made all 9001.
  EXPECT_GE(duringLayout, 5000);
  EXPECT_LE(duringLayout, 5010);
  EXPECT_EQ(left()->Items()->Count(), 9001);
}

TEST_F(LabelsTest, AbsurdScalesFinishWithFewOrNoLabels) {
  AddDiagonal();
  const std::pair<double, double> scales[] = {
      {0, kInf}, {-kInf, kInf}, {0, kNaN}, {-1.7e308, 1.7e308}, {1e300, 1e300 + 1e285},
      {0, 1e-300}, {4.9406564584124654e-324, 1e-323}};
  for (const auto& [lo, hi] : scales) {
    SCOPED_TRACE(std::to_string(lo) + " .. " + std::to_string(hi));
    // Ends that are no finite numbers are refused; the previous scale stays.
    if (std::isfinite(lo) && std::isfinite(hi))
      left()->SetMinMax(lo, hi);
    else
      EXPECT_THROW(left()->SetMinMax(lo, hi), AxisException);
    Paint();
    EXPECT_LE(left()->Items()->Count(), 10000);
    EXPECT_LE(left()->Tick.size(), 10000u);
  }
}

// Lengths and positions of any size: every position of the layout and
// every line drawn stays within the pixel bound (sums of such settings
// used to overflow int).
TEST_F(LabelsTest, HugeLengthSettingsKeepTheLayoutWithinThePixelBound) {
  constexpr int kMaxInt = std::numeric_limits<int>::max();
  constexpr int kMinInt = std::numeric_limits<int>::min();
  struct {
    const char* name;
    std::function<void(TChartAxis*)> set;
  } cases[] = {
      {"tick length", [](TChartAxis* a) { a->SetTickLength(kMaxInt); }},
      {"negative tick length", [](TChartAxis* a) { a->SetTickLength(kMinInt); }},
      {"inner tick length", [](TChartAxis* a) { a->SetTickInnerLength(kMinInt); }},
      {"minor tick length", [](TChartAxis* a) { a->SetMinorTickLength(kMaxInt); }},
      {"label size", [](TChartAxis* a) { a->Labels()->SetSize(kMaxInt); }},
      {"alternate label size", [](TChartAxis* a) { a->Labels()->SetSize(kMaxInt / 2 + 7); a->Labels()->SetAlternate(true); }},
      {"label margin", [](TChartAxis* a) { a->Labels()->SetMargin(kMaxInt); }},
      {"title size", [](TChartAxis* a) { a->Title()->SetCaption("T"); a->SetTitleSize(kMaxInt); }},
      {"position in pixels", [](TChartAxis* a) { a->SetPositionUnits(muPixels); a->SetPositionPercent(1e300); }},
      {"position in percent", [](TChartAxis* a) { a->SetPositionPercent(-1e12); }},
      {"axis pen width", [](TChartAxis* a) { a->Axis()->SetWidth(3e9f); }},
  };
  TChart defaults;
  AddDiagonal();
  for (const auto& c : cases) {
    SCOPED_TRACE(c.name);
    for (int i = 0; i < 4; ++i) {
      TChartAxis* a = chart.Axes()[i];
      a->Assign(defaults.Axes()[i]);
      c.set(a);
      a->SetVisible(true);
    }
    EXPECT_NO_THROW(Paint());
    for (TChartAxis* a : {bottom(), left()}) {
      SCOPED_TRACE(a->AxisID());
      for (int p : {a->PosAxis, a->PosLabels, a->PosTitle}) {
        EXPECT_LE(p, 32767);
        EXPECT_GE(p, -32767);
      }
    }
    for (const auto& [p1, p2] : rec.Lines())
      for (float v : {p1.X, p1.Y, p2.X, p2.Y}) {
        ASSERT_TRUE(std::isfinite(v));
        ASSERT_LE(std::fabs(v), 32767.0f);
      }
  }
}

// ---- Room and placement -----------------------------------------------------------

TEST_F(LabelsTest, RoomAndLabelPositionsOfAKnownChart) {
  AddDiagonal();
  Paint();
  // Bottom: one text line (14) and the axis line with ticks (pen 2 + 1,
  // ticks 4). Left: the widest label "100" (16.5 -> 16) and a space (6),
  // and the same 7 for line and ticks.
  EXPECT_EQ(chart.ChartRect, (TRectF{13 + 22 + 7, 13, 387, 287 - 14 - 7}));
  EXPECT_EQ(bottom()->SizeLabels(), 14);
  EXPECT_EQ(bottom()->SizeTickAxis(true), 7);
  EXPECT_EQ(left()->SizeLabels(), 22);
  // The labels stand 10 % of the "W" height (1.4 -> 1) outside their room.
  EXPECT_EQ(bottom()->PosLabels, 287 - 14 + 1);
  EXPECT_EQ(left()->PosLabels, 13 + 22 - 1);
  EXPECT_EQ(bottom()->PosAxis, 266);
  EXPECT_EQ(left()->PosAxis, 42);

  // Bottom labels: centred under their tick, top at PosLabels. The box
  // starts Round(width) div 2 left of the tick and the canvas centres the
  // text on the box's rounded centre: up to 1.5 pixels for odd widths.
  ASSERT_GT(bottom()->Items()->Count(), 1);
  for (int i = 0; i < bottom()->Items()->Count(); ++i) {
    const TAxisItem* item = bottom()->Items()->Items(i);
    const auto ops = TextOps(item->Text());
    ASSERT_FALSE(ops.empty());
    const TRecordedOp* op = ops.front();  // the bottom axis is drawn first
    EXPECT_EQ(item->LabelPos(), bottom()->Tick[i]);
    EXPECT_NEAR((op->Rect.Left + op->Rect.Right) / 2, item->LabelPos(), 1.5) << item->Text();
    EXPECT_EQ(op->Rect.Top, bottom()->PosLabels);
  }
  // Left labels: right edge at PosLabels, centred on their tick.
  for (int i = 0; i < left()->Items()->Count(); ++i) {
    const TAxisItem* item = left()->Items()->Items(i);
    const auto ops = TextOps(item->Text());
    ASSERT_FALSE(ops.empty());
    const TRecordedOp* op = ops.back();  // "0".."100" appear on both axes
    EXPECT_NEAR(op->Rect.Right, left()->PosLabels, 1.0) << item->Text();
    EXPECT_EQ(op->Rect.Top, item->LabelPos() - 7) << item->Text();
  }
}

TEST_F(LabelsTest, AlignmentOfVerticalLabels) {
  AddDiagonal();
  // The left labels' room is 22 wide and ends at PosLabels = 34.
  struct {
    TAxisLabelAlign align;
    float left, right;  // expected text edges (-1: not checked)
  } cases[] = {
      {alDefault, -1, 34},       // right-aligned against PosLabels
      {alOpposite, 12, -1},      // left-aligned at the far side of the room
  };
  for (const auto& c : cases) {
    left()->Labels()->SetAlign(c.align);
    Paint();
    for (int i = 0; i < left()->Items()->Count(); ++i) {
      const TRecordedOp* op = TextOps(left()->Items()->Items(i)->Text()).back();
      if (c.left >= 0) {
        EXPECT_NEAR(op->Rect.Left, c.left, 1.0) << int(c.align);
      }
      if (c.right >= 0) {
        EXPECT_NEAR(op->Rect.Right, c.right, 1.0) << int(c.align);
      }
    }
  }
  // Centred in the room: around 34 - 11 = 23.
  left()->Labels()->SetAlign(alCenter);
  Paint();
  for (int i = 0; i < left()->Items()->Count(); ++i) {
    const TRecordedOp* op = TextOps(left()->Items()->Items(i)->Text()).back();
    EXPECT_NEAR((op->Rect.Left + op->Rect.Right) / 2, 23, 1.5);
  }
}

TEST_F(LabelsTest, AlternateBehindAndBesideTheTick) {
  AddDiagonal();
  bottom()->Labels()->SetAlternate(true);
  Paint();
  // Two rows of room; every second label one row further out.
  EXPECT_EQ(bottom()->SizeLabels(), 28);
  EXPECT_EQ(chart.ChartRect.Bottom, 287 - 28 - 7);
  ASSERT_GE(bottom()->Items()->Count(), 2);
  EXPECT_EQ(TextOps(bottom()->Items()->Items(0)->Text()).front()->Rect.Top, bottom()->PosLabels);
  EXPECT_EQ(TextOps(bottom()->Items()->Items(1)->Text()).front()->Rect.Top,
            bottom()->PosLabels + 14);
  bottom()->Labels()->SetAlternate(false);

  // Labels after the tick: moved right by half their width.
  bottom()->Labels()->SetPosition(lpAfterTick);
  Paint();
  const TAxisItem* item = bottom()->Items()->Items(1);  // "80", 11 wide
  EXPECT_EQ(item->Text(), "80");
  EXPECT_EQ(item->LabelPos(), bottom()->Tick[1] + 5);
  // "100", 16.5 wide, moved so far it would end at 402: it stays inside
  // the control, ending at its edge.
  const TAxisItem* last = bottom()->Items()->Items(0);
  EXPECT_EQ(last->Text(), "100");
  EXPECT_EQ(bottom()->Tick[0], 385);
  EXPECT_EQ(last->LabelPos(), 391);
  bottom()->Labels()->SetPosition(lpAtTick);

  // Labels behind: drawn before the ticks and the grid.
  bottom()->Labels()->SetBehind(true);
  Paint();
  const auto grid = LinesOf(claSilver);
  ASSERT_FALSE(grid.empty());
  EXPECT_LT(IndexOf(TextOps("100").front()), IndexOf(grid.front()));
}

TEST_F(LabelsTest, MultiLineLabelsDoubleTheRoom) {
  AddDiagonal();
  chart.OnGetAxisLabel = [](TChartAxis* axis, TChartSeries*, int, std::string& text) {
    if (axis->Horizontal()) text = "x " + text;
  };
  Paint();
  EXPECT_EQ(chart.ChartRect.Bottom, 287 - 14 - 7);
  bottom()->Labels()->SetMultiLine(true);
  Paint();
  EXPECT_EQ(bottom()->SizeLabels(), 28);
  EXPECT_EQ(chart.ChartRect.Bottom, 287 - 28 - 7);
  // "x" and the value are drawn on two lines, one "W" height apart.
  const TAxisItem* item = bottom()->Items()->Items(0);
  const std::string text = item->Text();
  const std::size_t cut = text.find(KelLineSeparator);
  ASSERT_NE(cut, std::string::npos);
  EXPECT_EQ(text.substr(0, cut), "x");
  const TRecordedOp* value = TextOps(text.substr(cut + 1)).front();
  const TRecordedOp* x = TextOps("x").front();
  EXPECT_EQ(x->Rect.Top, bottom()->PosLabels);
  EXPECT_EQ(value->Rect.Top, bottom()->PosLabels + 14);
}

TEST_F(LabelsTest, InvisibleLabelsTakeNoRoomAndGiveNoTicks) {
  AddDiagonal();
  bottom()->Labels()->SetVisible(false);
  Paint();
  EXPECT_EQ(chart.ChartRect.Bottom, 287 - 7);
  EXPECT_EQ(bottom()->Items()->Count(), 0);
  EXPECT_TRUE(bottom()->Tick.empty());
}

// ---- Line, ticks, grid ----------------------------------------------------------------

TEST_F(LabelsTest, AxisLinesAndTicks) {
  AddDiagonal();
  Paint();
  const auto black = LinesOf(claBlack);
  // The bottom axis line: one pixel below PosAxis (half the pen), 2 wide.
  const auto isBottomLine = [&](const TRecordedOp* op) {
    return op->P1 == TPointF{float(bottom()->IStartPos), float(bottom()->PosAxis + 1)} &&
           op->P2 == TPointF{float(bottom()->IEndPos), float(bottom()->PosAxis + 1)} &&
           op->Stroke.Thickness == 2;
  };
  const auto isLeftLine = [&](const TRecordedOp* op) {
    return op->P1 == TPointF{float(left()->PosAxis - 1), float(left()->IStartPos)} &&
           op->P2 == TPointF{float(left()->PosAxis - 1), float(left()->IEndPos)};
  };
  EXPECT_EQ(std::count_if(black.begin(), black.end(), isBottomLine), 1);
  EXPECT_EQ(std::count_if(black.begin(), black.end(), isLeftLine), 1);

  // Ticks: dark grey, 4 long, starting past the axis pen.
  std::set<int> bottomTicks, leftTicks;
  for (const TRecordedOp* op : LinesOf(claDarkGray)) {
    if (op->P1.X == op->P2.X && op->P1.Y == bottom()->PosAxis + 2 && op->P2.Y == bottom()->PosAxis + 6)
      bottomTicks.insert(int(op->P1.X));
    if (op->P1.Y == op->P2.Y && op->P1.X == left()->PosAxis - 6 && op->P2.X == left()->PosAxis - 2)
      leftTicks.insert(int(op->P1.Y));
  }
  EXPECT_EQ(bottomTicks, std::set<int>(bottom()->Tick.begin(), bottom()->Tick.end()));
  EXPECT_EQ(leftTicks, std::set<int>(left()->Tick.begin(), left()->Tick.end()));

  // Inner ticks point into the plot.
  bottom()->SetTickInnerLength(3);
  Paint();
  int inner = 0;
  for (const TRecordedOp* op : LinesOf(claDarkGray))
    if (op->P1.X == op->P2.X && op->P1.Y == bottom()->PosAxis && op->P2.Y == bottom()->PosAxis - 3)
      ++inner;
  EXPECT_EQ(inner, static_cast<int>(bottom()->Tick.size()));
}

TEST_F(LabelsTest, GridLinesSkipTheEndTicks) {
  AddDiagonal();
  bottom()->SetMinMax(0, 100);  // labels at both ends of the axis
  Paint();
  ASSERT_GE(bottom()->Tick.size(), 3u);
  EXPECT_EQ(bottom()->Tick.front(), bottom()->IEndPos);
  EXPECT_EQ(bottom()->Tick.back(), bottom()->IStartPos);
  std::vector<int> grid;
  for (const TRecordedOp* op : LinesOf(claSilver))
    if (op->P1.X == op->P2.X) {
      grid.push_back(int(op->P1.X));
      EXPECT_EQ(op->P1.Y, KelRound(chart.ChartRect.Top + 1));
      EXPECT_EQ(op->P2.Y, KelRound(chart.ChartRect.Bottom));
    }
  const std::vector<int> inner(bottom()->Tick.begin() + 1, bottom()->Tick.end() - 1);
  EXPECT_EQ(grid, inner);

  // Every second tick, or between the ticks.
  bottom()->Grid()->SetDrawEvery(2);
  Paint();
  int every2 = 0;
  for (const TRecordedOp* op : LinesOf(claSilver)) every2 += op->P1.X == op->P2.X;
  int expected = 0;
  for (std::size_t i = 0; i < bottom()->Tick.size(); i += 2)
    expected += bottom()->Tick[i] > bottom()->IStartPos && bottom()->Tick[i] < bottom()->IEndPos;
  EXPECT_EQ(every2, expected);
}

TEST_F(LabelsTest, MinorTicksContinueTheSpacingOfTheTicks) {
  AddDiagonal();
  Paint();
  // One unit per pixel and a tick every 40: minor ticks every 10 pixels.
  const int size = bottom()->IAxisSize;
  bottom()->SetMinMax(0, size);
  bottom()->SetIncrement(40);
  bottom()->Labels()->SetSeparation(0);
  Paint();
  ASSERT_EQ(bottom()->IAxisSize, size);
  // Each position once (a multiset: nothing may be drawn twice).
  std::multiset<int> expected;
  for (int p = 10; p < size; p += 10)
    if (p % 40 != 0) expected.insert(bottom()->IStartPos + p);
  std::multiset<int> minor;
  for (const TRecordedOp* op : LinesOf(claDarkGray))
    if (op->P1.X == op->P2.X && op->P1.Y == bottom()->PosAxis + 2 && op->P2.Y == bottom()->PosAxis + 4)
      minor.insert(int(op->P1.X));
  EXPECT_EQ(minor, expected);

  // The minor grid (hidden by default) uses the same positions.
  bottom()->MinorGrid()->SetVisible(true);
  bottom()->MinorGrid()->SetColor(claRed);
  Paint();
  std::multiset<int> minorGrid;
  for (const TRecordedOp* op : LinesOf(claRed)) minorGrid.insert(int(op->P1.X));
  EXPECT_EQ(minorGrid, expected);
}

// ---- Turned, hovered, custom and point labels -------------------------------------------

TEST_F(LabelsTest, TurnedLabelsDrawTurnedText) {
  AddDiagonal();
  bottom()->Labels()->SetAngle(90);
  Paint();
  // The room: one line plus the widest label turned across the axis.
  EXPECT_EQ(bottom()->SizeLabels(), 14 + 22);
  const TAxisItem* item = bottom()->Items()->Items(0);
  const TRecordedOp* op = TextOps(item->Text()).front();  // bottom labels come first
  // Turned by 90 degrees about the label's point.
  EXPECT_NEAR(op->Matrix.m11, 0, 1e-6);
  EXPECT_NEAR(std::fabs(op->Matrix.m12), 1, 1e-6);
  // The turned box: as wide as a line, as tall as the text, centred under
  // the tick with its top at PosLabels.
  const TRectF bounds = PolygonBounds(item->RotatedBounds);
  EXPECT_NEAR(bounds.Width(), 14, 0.01);
  EXPECT_NEAR(bounds.Height(), 16, 0.01);  // "100": 16.5 -> 16
  EXPECT_NEAR((bounds.Left + bounds.Right) / 2, item->LabelPos(), 0.01);
  EXPECT_NEAR(bounds.Top, bottom()->PosLabels, 0.01);
  // The left axis' labels are not turned.
  EXPECT_EQ(TextOps("50").back()->Matrix, TKelMatrix::Identity());
}

TEST_F(LabelsTest, TheHoveredLabelIsBold) {
  AddDiagonal();
  Paint();
  TTextSelection* selected = left()->Labels()->Selected();
  EXPECT_EQ(selected->HoverIndex(), -1);
  EXPECT_TRUE(selected->Hover()->Visible());
  EXPECT_TRUE(selected->Hover()->Font()->Bold());
  const int before = host.Invalidates;
  selected->SetHoverIndex(1);  // "90"
  EXPECT_GT(host.Invalidates, before);
  const int after = host.Invalidates;
  selected->SetHoverIndex(1);
  EXPECT_EQ(host.Invalidates, after);  // no change, no repaint
  Paint();
  EXPECT_TRUE(TextOps("90").back()->Font.Bold);
  EXPECT_FALSE(TextOps("80").back()->Font.Bold);
  EXPECT_FALSE(left()->Labels()->Font()->Bold());  // the format keeps its font
  // Hovering switched off for the chart: plain again.
  chart.Hover()->SetVisible(false);
  Paint();
  EXPECT_FALSE(TextOps("90").back()->Font.Bold);
}

TEST_F(LabelsTest, TheItemsKeepTheirCornersForHitTesting) {
  AddDiagonal();
  Paint();
  const TAxisItem* item = left()->Items()->Items(0);
  const TRecordedOp* op = TextOps(item->Text()).back();
  const TPointF inside{(op->Rect.Left + op->Rect.Right) / 2, (op->Rect.Top + op->Rect.Bottom) / 2};
  EXPECT_TRUE(PointInPolygon(inside, item->RotatedBounds));
  EXPECT_FALSE(PointInPolygon({inside.X, inside.Y + 20}, item->RotatedBounds));
  // The items answer which label is under a point.
  EXPECT_EQ(left()->Items()->Clicked(KelRound(inside.X), KelRound(inside.Y)), 0);
  EXPECT_EQ(left()->Items()->Clicked(KelRound(inside.X), KelRound(inside.Y) + 23), 1);
  EXPECT_EQ(left()->Items()->Clicked(200, 150), -1);
}

TEST_F(LabelsTest, CustomLabels) {
  AddDiagonal();
  TAxisItems* items = bottom()->Items();
  items->SetAutomatic(false);
  items->Add(50, "half");
  items->Add(25);  // no text: its value's text
  items->Add(1000, "far");  // outside the range
  Paint();
  const TRecordedOp* half = TextOp("half");
  ASSERT_NE(half, nullptr);
  EXPECT_NEAR((half->Rect.Left + half->Rect.Right) / 2, bottom()->CalcXPosValue(50), 1.5);
  EXPECT_EQ(TextOps("far").size(), 0u);
  EXPECT_EQ(bottom()->Tick, (std::vector<int>{bottom()->CalcXPosValue(50), bottom()->CalcXPosValue(25)}));
  EXPECT_EQ(TextOps("25").size(), 1u);  // the left axis has no label 25
  EXPECT_EQ(items->Count(), 3);  // custom labels persist
}

TEST_F(LabelsTest, LabelStyleFromTheSeries) {
  EXPECT_EQ(bottom()->CalcLabelStyle(), talNone);  // no series: no labels
  Paint();
  EXPECT_EQ(bottom()->Items()->Count(), 0);
  auto* s = AddDiagonal();
  EXPECT_EQ(bottom()->CalcLabelStyle(), talValue);
  s->SetXLabel(3, "three");
  EXPECT_EQ(bottom()->CalcLabelStyle(), talText);
  EXPECT_EQ(left()->CalcLabelStyle(), talValue);  // not the positional axis
  bottom()->Labels()->SetStyle(talValue);
  EXPECT_EQ(bottom()->CalcLabelStyle(), talValue);
  bottom()->Labels()->SetStyle(talNone);
  Paint();
  EXPECT_EQ(bottom()->Items()->Count(), 0);
}

TEST_F(LabelsTest, PointLabels) {
  auto* s = AddPoints({{0, 5}, {1, 7}, {2, 6}});
  s->SetXLabel(0, "Jan");
  s->SetXLabel(1, "Feb");
  s->SetXLabel(2, "Mar");
  Paint();
  ASSERT_EQ(bottom()->Items()->Count(), 3);
  for (int i = 0; i < 3; ++i) {
    const TRecordedOp* op = TextOp(s->XLabel(i));
    ASSERT_NE(op, nullptr);
    EXPECT_NEAR((op->Rect.Left + op->Rect.Right) / 2, s->CalcXPos(i), 1.5);
  }
  // Marks style: the label, or the value where there is none.
  s->SetXLabel(1, "");
  bottom()->Labels()->SetStyle(talMark);
  Paint();
  ASSERT_EQ(bottom()->Items()->Count(), 3);
  EXPECT_EQ(bottom()->Items()->Items(0)->Text(), "Jan");
  EXPECT_EQ(bottom()->Items()->Items(1)->Text(), "7");
  // Labels that would overlap are skipped (a wide label and tight points).
  s->SetXLabel(1, std::string(80, 'w'));
  bottom()->Labels()->SetStyle(talText);
  Paint();
  EXPECT_EQ(bottom()->Tick.size(), 3u);  // every point keeps its tick
  EXPECT_LT(bottom()->Items()->Count(), 3);
}

// ---- Axis titles ------------------------------------------------------------------------

TEST_F(LabelsTest, AxisTitles) {
  AddDiagonal();
  left()->Title()->SetCaption("");  // an empty title takes no room
  Paint();
  const TRectF plain = chart.ChartRect;
  EXPECT_EQ(plain.Left, 42);
  left()->Title()->SetCaption("Values");
  bottom()->Title()->SetCaption("Time");
  Paint();
  // One "W" height each (the left title is turned by 90 degrees).
  EXPECT_EQ(chart.ChartRect.Left, plain.Left + 14);
  EXPECT_EQ(chart.ChartRect.Bottom, plain.Bottom - 14);
  const TRecordedOp* values = TextOp("Values");
  ASSERT_NE(values, nullptr);
  EXPECT_NE(values->Matrix, TKelMatrix::Identity());
  const TRecordedOp* time = TextOp("Time");
  ASSERT_NE(time, nullptr);
  EXPECT_EQ(time->Rect.Top, bottom()->PosTitle);
  EXPECT_NEAR((time->Rect.Left + time->Rect.Right) / 2, bottom()->ICenterPos, 1.5);
}

}  // namespace

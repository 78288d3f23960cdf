// Line batching: consecutive connected lines reach a host that asks for it
// as one DrawConnectedLines, with the same segments in the same order as
// the DrawLine calls they replace, and never overtaking any other drawing.
#include <gtest/gtest.h>

#include <random>
#include <vector>

#include "canvas/line_batch_canvas.h"
#include "canvas_fixture.h"
#include "series_fixture.h"

namespace sextant::testing {
namespace {

using TSegments = std::vector<std::pair<TPointF, TPointF>>;

// ---- The batch in front of a host ------------------------------------------

class LineBatchCanvasTest : public ::testing::Test {
 protected:
  void SetUp() override {
    Host.BatchLines = true;
    Batch.SetTarget(&Host);
  }
  TRecordingCanvas Host;
  TLineBatchCanvas Batch;
};

TEST_F(LineBatchCanvasTest, ConnectedLinesBecomeOneCall) {
  Batch.DrawLine({0, 0}, {10, 0}, 1);
  Batch.DrawLine({10, 0}, {10, 5}, 1);
  Batch.DrawLine({10, 5}, {20, 7}, 1);
  EXPECT_TRUE(Host.Ops().empty());  // gathered, not yet handed on
  EXPECT_EQ(Batch.PendingPoints(), 4u);
  Batch.Flush();
  ASSERT_EQ(Host.Count(rkDrawConnectedLines), 1u);
  const std::vector<TPointF> expected{{0, 0}, {10, 0}, {10, 5}, {20, 7}};
  EXPECT_EQ(Host.Last(rkDrawConnectedLines)->Points, expected);
  Batch.Flush();  // nothing left
  EXPECT_EQ(Host.Ops().size(), 1u);
}

TEST_F(LineBatchCanvasTest, AGapOrAnotherOpacityStartsANewCall) {
  Batch.DrawLine({0, 0}, {1, 1}, 1);
  Batch.DrawLine({5, 5}, {6, 6}, 1);    // does not start at (1, 1)
  Batch.DrawLine({6, 6}, {7, 7}, 0.5f);  // other opacity
  Batch.Flush();
  const auto ops = Host.OpsOf(rkDrawConnectedLines);
  ASSERT_EQ(ops.size(), 3u);
  EXPECT_EQ(ops[0]->Points.size(), 2u);
  EXPECT_EQ(ops[1]->Points.size(), 2u);
  EXPECT_EQ(ops[2]->Opacity, 0.5f);
  const TSegments expected{{{0, 0}, {1, 1}}, {{5, 5}, {6, 6}}, {{6, 6}, {7, 7}}};
  EXPECT_EQ(Host.Segments(), expected);
}

TEST_F(LineBatchCanvasTest, EveryOtherCallHandsTheLinesOnFirst) {
  // Each call after two gathered lines must come after them.
  const std::vector<std::pair<const char*, std::function<void(IHostCanvas&)>>> calls = {
      {"FillRect", [](IHostCanvas& c) { c.FillRect({0, 0, 5, 5}, 0, 0, hcAll, 1, THostCornerType::Round); }},
      {"DrawEllipse", [](IHostCanvas& c) { c.DrawEllipse({0, 0, 5, 5}, 1); }},
      {"SaveState", [](IHostCanvas& c) { c.SaveState(); }},
      {"IntersectClip", [](IHostCanvas& c) { c.IntersectClipRect({0, 0, 9, 9}); }},
      {"DrawPolyline",
       [](IHostCanvas& c) {
         const TPointF pts[2] = {{0, 0}, {3, 3}};
         c.DrawPolyline(pts, 2, 1);
       }},
      {"Stroke", [](IHostCanvas& c) { ChangeStroke(c, [](THostStroke& s) { s.Color = claRed; }); }},
      {"Fill", [](IHostCanvas& c) { ChangeFill(c, [](THostFill& f) { f.Color = claRed; }); }},
      {"Font",
       [](IHostCanvas& c) {
         THostFont font = c.Font();
         font.Bold = !font.Bold;
         c.SetFont(font);
       }},
      {"EndScene", [](IHostCanvas& c) { c.EndScene(); }},
  };
  for (const auto& [name, call] : calls) {
    Host.ClearOps();
    ChangeStroke(Host, [](THostStroke& s) { s.Color = claBlack; });
    ChangeFill(Host, [](THostFill& f) { f.Color = claWhite; });
    Batch.DrawLine({0, 0}, {4, 0}, 1);
    Batch.DrawLine({4, 0}, {4, 4}, 1);
    call(Batch);
    ASSERT_FALSE(Host.Ops().empty()) << name;
    EXPECT_EQ(Host.Ops().front().Kind, rkDrawConnectedLines) << name;
    EXPECT_EQ(Host.Ops().front().Stroke.Color, claBlack) << name;  // drawn before any change
    EXPECT_EQ(Batch.PendingPoints(), 0u) << name;
  }
}

TEST_F(LineBatchCanvasTest, ReadingOrRepeatingTheStateKeepsGathering) {
  // Neither changes what the gathered lines are drawn with: the run goes on
  // and reaches the host as one call.
  const std::vector<std::pair<const char*, std::function<void(IHostCanvas&)>>> calls = {
      {"read", [](IHostCanvas& c) { (void)c.Stroke(); (void)c.Fill(); (void)c.Font(); }},
      {"same stroke", [](IHostCanvas& c) { c.SetStroke(THostStroke(c.Stroke())); }},
      {"same fill", [](IHostCanvas& c) { c.SetFill(THostFill(c.Fill())); }},
      {"same font", [](IHostCanvas& c) { c.SetFont(THostFont(c.Font())); }},
  };
  for (const auto& [name, call] : calls) {
    Host.ClearOps();
    Batch.DrawLine({0, 0}, {4, 0}, 1);
    call(Batch);
    Batch.DrawLine({4, 0}, {4, 4}, 1);
    EXPECT_TRUE(Host.Ops().empty()) << name;
    Batch.Flush();
    const auto ops = Host.OpsOf(rkDrawConnectedLines);
    ASSERT_EQ(ops.size(), 1u) << name;
    EXPECT_EQ(ops[0]->Points, (std::vector<TPointF>{{0, 0}, {4, 0}, {4, 4}})) << name;
  }
}

TEST_F(LineBatchCanvasTest, TurningToAnotherTargetHandsTheLinesToTheOldOne) {
  TRecordingCanvas other;
  Batch.DrawLine({0, 0}, {1, 0}, 1);
  Batch.SetTarget(&other);
  EXPECT_EQ(Host.Count(rkDrawConnectedLines), 1u);
  EXPECT_TRUE(other.Ops().empty());
  Batch.DrawLine({0, 0}, {1, 0}, 1);
  Batch.SetTarget(nullptr);
  // The other host does not batch: the default draws each segment.
  EXPECT_EQ(other.Count(rkDrawLine), 1u);
  Batch.DrawLine({0, 0}, {1, 0}, 1);
  Batch.Flush();  // no target: dropped without a crash
}

// ---- The engine canvas opens and closes batches ---------------------------

class CanvasLineBatchTest : public CanvasTest {
 protected:
  void Draw() {
    Canvas.MoveTo(0, 0);
    Canvas.LineTo(10, 0);
    Canvas.LineTo(10, 10);
    Canvas.LineTo(0, 10);
  }
  const TSegments Square{{{0, 0}, {10, 0}}, {{10, 0}, {10, 10}}, {{10, 10}, {0, 10}}};
};

TEST_F(CanvasLineBatchTest, OnlyInsideABatchAndOnlyForHostsThatAskForIt) {
  const struct {
    bool hostBatches;
    bool open;
    bool switchedOn;
    std::size_t calls;  // DrawConnectedLines expected
  } cases[] = {
      {true, true, true, 1}, {true, false, true, 0}, {false, true, true, 0}, {true, true, false, 0}};
  for (const auto& c : cases) {
    Rec.ClearOps();
    Rec.BatchLines = c.hostBatches;
    Canvas.SetCanvas(&Rec);
    Canvas.SetLineBatching(c.switchedOn);
    if (c.open) Canvas.BeginLineBatch();
    EXPECT_EQ(Canvas.BatchingLines(), c.open && c.hostBatches && c.switchedOn);
    EXPECT_EQ(Canvas.ReferenceCanvas(), &Rec);  // the host itself, batch or not
    Draw();
    if (c.open) Canvas.EndLineBatch();
    EXPECT_FALSE(Canvas.BatchingLines());
    EXPECT_EQ(Rec.Count(rkDrawConnectedLines), c.calls);
    EXPECT_EQ(Rec.Count(rkDrawLine), c.calls ? 0u : 3u);
    EXPECT_EQ(Rec.Segments(), Square);
  }
}

TEST_F(CanvasLineBatchTest, APenChangeOrOtherDrawingSplitsTheBatch) {
  Rec.BatchLines = true;
  Canvas.SetCanvas(&Rec);
  Rec.ClearOps();
  Canvas.BeginLineBatch();
  Canvas.BeginLineBatch();  // nested: one batch
  Canvas.MoveTo(0, 0);
  Canvas.LineTo(5, 0);
  Canvas.Pen()->SetColor(claRed);
  Canvas.LineTo(5, 5);
  Canvas.Rectangle(20, 20, 30, 30);
  Canvas.LineTo(0, 5);
  Canvas.EndLineBatch();
  EXPECT_TRUE(Canvas.BatchingLines());
  Canvas.EndLineBatch();
  Canvas.EndLineBatch();  // unbalanced: nothing happens
  const auto kinds = Rec.Kinds();
  ASSERT_GE(kinds.size(), 4u);
  const auto lines = Rec.OpsOf(rkDrawConnectedLines);
  ASSERT_EQ(lines.size(), 3u);
  EXPECT_NE(lines[0]->Stroke.Color, claRed);
  EXPECT_EQ(lines[1]->Stroke.Color, claRed);
  // The rectangle lies between the second and the third run.
  std::size_t rect = 0, second = 0, third = 0, seen = 0;
  for (std::size_t i = 0; i < kinds.size(); ++i) {
    if (kinds[i] == rkDrawRect) rect = i;
    if (kinds[i] == rkDrawConnectedLines && ++seen == 2) second = i;
    if (kinds[i] == rkDrawConnectedLines && seen == 3) third = i;
  }
  EXPECT_LT(second, rect);
  EXPECT_LT(rect, third);
  const TSegments expected{{{0, 0}, {5, 0}}, {{5, 0}, {5, 5}}, {{5, 5}, {0, 5}}};
  EXPECT_EQ(Rec.Segments(), expected);
}

TEST_F(CanvasLineBatchTest, AimingAtAnotherHostHandsTheLinesOnFirst) {
  Rec.BatchLines = true;
  Canvas.SetCanvas(&Rec);
  Rec.ClearOps();
  Canvas.BeginLineBatch();
  Canvas.MoveTo(0, 0);
  Canvas.LineTo(3, 3);
  TRecordingCanvas other;
  other.BatchLines = true;
  Canvas.SetCanvas(&other);  // the batch stays open for the new host
  EXPECT_EQ(Rec.Count(rkDrawConnectedLines), 1u);
  EXPECT_TRUE(Canvas.BatchingLines());
  Canvas.LineTo(4, 4);
  Canvas.EndLineBatch();
  EXPECT_EQ(other.Count(rkDrawConnectedLines), 1u);
}

// ---- A chart paint ------------------------------------------------------------

class ChartLineBatchTest : public LineSeriesChartTest {
 protected:
  // Everything the paint recorded with every line as its segments.
  struct TPaint {
    std::vector<TRecordKind> OtherKinds;
    TSegments Segments;
    std::size_t Batches = 0;
  };
  TPaint PaintWith(bool Batch) {
    rec.BatchLines = Batch;
    Paint();
    TPaint p;
    for (const TRecordedOp& op : rec.Ops())
      if (op.Kind != rkDrawLine && op.Kind != rkDrawConnectedLines) p.OtherKinds.push_back(op.Kind);
    p.Segments = rec.Segments();
    p.Batches = rec.Count(rkDrawConnectedLines);
    return p;
  }
};

TEST_F(ChartLineBatchTest, SeriesLinesAreTheSameSegmentsInEveryMode) {
  std::mt19937 rng(99);
  std::uniform_real_distribution<double> step(-3, 3);
  double y = 0;
  for (int i = 0; i < 3000; ++i) series->AddXY(i, y += step(rng));
  const std::vector<std::function<void()>> modes = {
      [&] {},
      [&] { series->SetStairs(true); },
      [&] {
        series->SetStairs(false);
        series->SetDrawAllPoints(false);
        series->SetDrawAllPointsStyle(daMinMax);
      },
      [&] { series->SetDrawAllPointsStyle(daFirst); },
  };
  Paint();  // the first paint also creates the canvas' text layout
  for (std::size_t m = 0; m < modes.size(); ++m) {
    modes[m]();
    const TPaint plain = PaintWith(false);
    const TPaint batched = PaintWith(true);
    EXPECT_EQ(plain.Batches, 0u);
    EXPECT_GE(batched.Batches, 1u) << m;
    EXPECT_EQ(batched.OtherKinds, plain.OtherKinds) << m;

    ASSERT_GT(plain.Segments.size(), 100u);
    EXPECT_EQ(batched.Segments, plain.Segments) << m;
    // The series' own lines reach the host as one connected list.
    EXPECT_EQ(SeriesOps(rkDrawLine).size(), 0u) << m;
    EXPECT_EQ(SeriesOps(rkDrawConnectedLines).size(), 1u) << m;
  }
}

}  // namespace
}  // namespace sextant::testing

// The recording host canvas: metrics, records, state, queries and bitmaps.
#include <gtest/gtest.h>

#include <functional>

#include "platform/recording_canvas.h"

using namespace sextant;

TEST(RecordingMetrics, WidthAndHeight) {
  struct Case {
    const char* Text;
    float Size;
    bool Bold;
    int Weight;
    float Width;
  } cases[] = {
      {"", 10, false, 4, 0},          {"abc", 10, false, 4, 15},   {"abc", 10, true, 4, 18},
      {"abc", 10, false, 6, 18},      {"abc", 10, false, 5, 15},   {"h\xC3\xA9llo", 8, false, 4, 20},
      {"\xE2\x82\xAC", 12, false, 4, 6},
  };
  for (const Case& c : cases) {
    THostFont f;
    f.Size = c.Size;
    f.Bold = c.Bold;
    f.Weight = c.Weight;
    const TPointF s = RecordingTextSize(c.Text, f);
    EXPECT_FLOAT_EQ(s.X, c.Width) << c.Text;
    EXPECT_FLOAT_EQ(s.Y, c.Size * 1.25f) << c.Text;
  }
}

TEST(RecordingLayout, LaysOutAtTheTopLeft) {
  TRecordingCanvas rec;
  auto layout = rec.CreateTextLayout();
  THostFont f;
  f.Size = 10;
  layout->BeginUpdate();
  layout->SetTopLeft({3, 4});
  layout->SetText("ab");
  layout->SetFont(f);
  layout->SetColor(claRed);
  layout->SetOpacity(0.5f);
  layout->EndUpdate();
  EXPECT_EQ(layout->TextRect(), (TRectF{3, 4, 13, 16.5f}));
  rec.RenderLayout(*layout);
  const TRecordedOp& op = *rec.Last(rkRenderLayout);
  EXPECT_EQ(op.Text, "ab");
  EXPECT_EQ(op.TextColor, claRed);
  EXPECT_FLOAT_EQ(op.Opacity, 0.5f);
  EXPECT_EQ(op.Rect, (TRectF{3, 4, 13, 16.5f}));
  EXPECT_EQ(rec.LayoutsCreated(), 1);
  EXPECT_EQ(rec.Texts(), (std::vector<std::string>{"ab"}));
}

// A host state stores only values that differ, and marks what changed
// until the host says it converted it.
TEST(HostState, MarksOnlyRealChanges) {
  THostState state;
  EXPECT_TRUE(state.Changed(hspAll));  // nothing converted yet
  state.Converted(hspAll);
  EXPECT_FALSE(state.Changed(hspAll));

  THostStroke red;
  red.Color = claRed;
  THostFill gradient;
  gradient.Kind = THostBrushKind::Gradient;
  gradient.Gradient.Points = {{claRed, 0}, {claBlue, 1}};
  THostFont bold;
  bold.Bold = true;
  struct TCase {
    const char* Name;
    std::uint8_t Part;
    std::function<bool(THostState&)> Set;
  };
  const TCase cases[] = {
      {"stroke", hspStroke, [&](THostState& s) { return s.SetStroke(red); }},
      {"fill", hspFill, [&](THostState& s) { return s.SetFill(gradient); }},
      {"font", hspFont, [&](THostState& s) { return s.SetFont(bold); }},
  };
  for (const TCase& c : cases) {
    EXPECT_TRUE(c.Set(state)) << c.Name;
    EXPECT_TRUE(state.Changed(c.Part)) << c.Name;
    EXPECT_FALSE(state.Changed(static_cast<std::uint8_t>(hspAll & ~c.Part))) << c.Name;
    state.Converted(c.Part);
    EXPECT_FALSE(c.Set(state)) << c.Name;  // the same value again
    EXPECT_FALSE(state.Changed(hspAll)) << c.Name;
  }
  EXPECT_EQ(state.Stroke().Color, claRed);
  EXPECT_EQ(state.Fill().Gradient.Points.size(), 2u);
  EXPECT_TRUE(state.Font().Bold);
  // A change deep inside a value counts.
  gradient.Gradient.Points[1].Offset = 0.5f;
  EXPECT_TRUE(state.SetFill(gradient));
  EXPECT_TRUE(state.Changed(hspFill));
}

TEST(RecordingCanvas, RecordsCallsWithStateSnapshots) {
  TRecordingCanvas rec;
  EXPECT_EQ(rec.ClassName(), "TRecordingCanvas");
  ChangeStroke(rec, [&](THostStroke& s) {
    s.Color = claRed;
    s.Thickness = 3;
  });
  rec.DrawLine({0, 0}, {1, 1}, 0.5f);
  ChangeStroke(rec, [&](THostStroke& s) { s.Color = claBlue; });
  ChangeFill(rec, [&](THostFill& f) { f.Color = claYellow; });
  rec.FillRect({1, 2, 3, 4}, 1, 2, hcTopLeft, 1, THostCornerType::Bevel);
  rec.DrawLine({1, 1}, {2, 2}, 1);

  ASSERT_EQ(rec.Ops().size(), 3u);
  EXPECT_EQ(rec.Ops()[0].Stroke.Color, claRed);
  EXPECT_FLOAT_EQ(rec.Ops()[0].Stroke.Thickness, 3);
  EXPECT_FLOAT_EQ(rec.Ops()[0].Opacity, 0.5f);
  EXPECT_EQ(rec.Ops()[1].Fill.Color, claYellow);
  EXPECT_EQ(rec.Ops()[1].Corners, hcTopLeft);
  EXPECT_EQ(rec.Ops()[1].CornerType, THostCornerType::Bevel);
  EXPECT_FLOAT_EQ(rec.Ops()[1].YRadius, 2);
  EXPECT_EQ(rec.Count(rkDrawLine), 2u);
  EXPECT_EQ(rec.OpsOf(rkDrawLine)[1]->Stroke.Color, claBlue);
  using Seg = std::pair<TPointF, TPointF>;
  EXPECT_EQ(rec.Lines(), (std::vector<Seg>{{{0, 0}, {1, 1}}, {{1, 1}, {2, 2}}}));
  EXPECT_EQ(rec.Kinds(), (std::vector<TRecordKind>{rkDrawLine, rkFillRect, rkDrawLine}));
  EXPECT_EQ(rec.Last(rkDrawEllipse), nullptr);
  EXPECT_STREQ(RecordKindName(rkFillRect), "FillRect");
  rec.ClearOps();
  EXPECT_TRUE(rec.Ops().empty());
}

TEST(RecordingCanvas, StatesClipAndMatrix) {
  TRecordingCanvas rec;
  const auto outer = rec.SaveState();
  rec.IntersectClipRect({0, 0, 100, 100});
  rec.SetMatrix(TKelMatrix::Translation(5, 5));
  const auto inner = rec.SaveState();
  rec.IntersectClipRect({150, 50, 50, 200});  // not normalised
  EXPECT_EQ(rec.ClipRect(), (TRectF{50, 50, 100, 100}));
  rec.DrawLine({0, 0}, {1, 1}, 1);
  EXPECT_EQ(rec.Last(rkDrawLine)->Clip, (TRectF{50, 50, 100, 100}));
  EXPECT_EQ(rec.Last(rkDrawLine)->Matrix, TKelMatrix::Translation(5, 5));
  rec.RestoreState(inner);
  EXPECT_EQ(rec.ClipRect(), (TRectF{0, 0, 100, 100}));
  rec.RestoreState(outer);
  EXPECT_FALSE(rec.ClipRect().has_value());
  EXPECT_EQ(rec.Matrix(), TKelMatrix::Identity());
  rec.RestoreState(outer);  // already restored: no effect
  EXPECT_EQ(rec.SavedStates(), 0u);

  rec.IntersectClipRect({0, 0, 10, 10});
  rec.IntersectClipRect({20, 20, 30, 30});  // disjoint: empty clip
  EXPECT_TRUE(IsRectEmpty(*rec.ClipRect()) || rec.ClipRect()->Width() == 0);
}

TEST(RecordingCanvas, NotRecordingKeepsStateOnly) {
  TRecordingCanvas rec;
  rec.SetRecording(false);
  rec.SaveState();
  rec.IntersectClipRect({0, 0, 5, 5});
  const TPointF pts[2] = {{0, 0}, {1, 1}};
  rec.DrawPolyline(pts, 2, 1);
  THostPath p;
  p.MoveTo({0, 0});
  rec.FillPath(p, 1);
  EXPECT_TRUE(rec.Ops().empty());
  EXPECT_EQ(rec.ClipRect(), (TRectF{0, 0, 5, 5}));
  rec.SetRecording(true);
  rec.DrawPolyline(pts, 2, 1);
  EXPECT_EQ(rec.Last(rkDrawPolyline)->Points, (std::vector<TPointF>{{0, 0}, {1, 1}}));
}

TEST(RecordingCanvas, ScenesAndTextToPath) {
  TRecordingCanvas rec;
  EXPECT_TRUE(rec.BeginScene());
  EXPECT_EQ(rec.SceneDepth(), 1);
  rec.EndScene();
  rec.FailBeginScene = true;
  EXPECT_FALSE(rec.BeginScene());
  EXPECT_EQ(rec.SceneDepth(), 0);

  THostFont f;
  f.Size = 10;
  THostPath path;
  ASSERT_TRUE(rec.TextToPath(path, "abc", f, {2, 3, 100, 100}));
  EXPECT_EQ(path.Bounds(), (TRectF{2, 3, 17, 15.5f}));
  EXPECT_EQ(path.Commands().back().Op, THostPathCommand::Close);
  rec.FailTextToPath = true;
  EXPECT_FALSE(rec.TextToPath(path, "abc", f, {}));
}

TEST(RecordingBitmap, PixelsClearAndCanvas) {
  TRecordingCanvas rec;
  auto bmp = rec.CreateBitmap(3, 2, 2);
  EXPECT_EQ(rec.BitmapsCreated(), 1);
  EXPECT_EQ(bmp->Width(), 3);
  EXPECT_EQ(bmp->Height(), 2);
  EXPECT_FLOAT_EQ(bmp->BitmapScale(), 2);
  EXPECT_FLOAT_EQ(bmp->Canvas().Scale(), 2);
  bmp->Clear(claRed);
  EXPECT_EQ(bmp->Pixel(2, 1), claRed);
  bmp->SetPixel(1, 1, claBlue);
  EXPECT_EQ(bmp->Pixel(1, 1), claBlue);
  EXPECT_EQ(bmp->Pixel(5, 5), 0u);
  bmp->SetPixel(-1, 0, claBlue);  // outside: ignored
  bmp->SetSize(0, 4);
  EXPECT_TRUE(bmp->IsEmpty());
  bmp->Canvas().DrawLine({0, 0}, {1, 1}, 1);
  EXPECT_EQ(static_cast<TRecordingCanvas&>(bmp->Canvas()).Count(rkDrawLine), 1u);
}

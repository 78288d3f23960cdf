// Text boxes: measuring around the text (frame allowance, margins and their
// units), drawing the lines (position, alignment, line stepping, clipping,
// rotation), the user-set position and the strings shape's line list.
//
// The recording canvas measures a text as (code points x Size x 0.5) by
// (Size x 1.25): with font size 16 a character is 8 wide and a line 20 high.
#include "canvas/text_shape.h"

#include <gtest/gtest.h>

#include <functional>
#include <stdexcept>
#include <string>
#include <tuple>
#include <vector>

#include "canvas/brush.h"
#include "canvas/pen.h"
#include "canvas/shadow.h"
#include "shape_test_support.h"

using namespace sextant;
using sextant::testing::ExpectNear;

namespace {

class TextShapeTest : public sextant::testing::ShapeFixture {
 protected:
  TextShapeTest() : shape(&panel) {
    shape.Font()->SetSize(16);
    Reset();
  }
  // Text, then measure at (Left, Top).
  void Measure(const std::string& Text, float Left = 0, float Top = 0) {
    shape.SetText(Text);
    shape.MoveTo(Left, Top);
    shape.CalcBounds(&panel);
  }
  std::vector<const TRecordedOp*> TextOps() const { return rec.OpsOf(rkRenderLayout); }
  TTextShape shape;
};

// ---- Defaults and setters -----------------------------------------------------------------

TEST_F(TextShapeTest, ConstructionDefaults) {
  TTextShape s(&panel);
  EXPECT_TRUE(s.ClipText());
  EXPECT_EQ(s.Cursor(), 0);
  EXPECT_EQ(s.TextAlign(), taLeftJustify);
  EXPECT_EQ(s.TextAlignment(), taLeftJustify);
  EXPECT_EQ(s.DefaultTextAlign(), taLeftJustify);
  EXPECT_EQ(s.TextFormat(), ttfNormal);
  EXPECT_EQ(s.VertTextAlign(), vtaCenter);
  EXPECT_EQ(s.Text(), "");
  EXPECT_FALSE(s.IDraw2D);
  EXPECT_EQ(s.ITextOffset, 0);
  EXPECT_EQ(s.INumLines, 0);
  EXPECT_FALSE(s.CustomPosition());
  EXPECT_FALSE(s.DefaultCustom());
  const TMargins* m = s.Margins();
  EXPECT_EQ(std::make_tuple(m->Left(), m->Top(), m->Right(), m->Bottom()), std::make_tuple(10, 5, 10, 5));
  EXPECT_EQ(m->Units(), maPercentFont);
  EXPECT_EQ(m->DefaultHoriz(), 10);
  EXPECT_EQ(m->DefaultVert(), 5);
  EXPECT_EQ(m->Parent(), &s);
  // Shape defaults still hold.
  EXPECT_EQ(s.Color(), claWhite);
  EXPECT_EQ(s.Shadow()->Size(), 3);
}

TEST_F(TextShapeTest, SettersRepaintOnlyOnChange) {
  struct Case {
    const char* name;
    std::function<void()> set;
  };
  const std::vector<Case> cases = {
      {"ClipText", [&] { shape.SetClipText(false); }},
      {"Cursor", [&] { shape.SetCursor(3); }},
      {"TextAlign", [&] { shape.SetTextAlign(taCenter); }},
      {"TextAlignment", [&] { shape.SetTextAlignment(taRightJustify); }},
      {"TextFormat", [&] { shape.SetTextFormat(ttfHtml); }},
      {"VertTextAlign", [&] { shape.SetVertTextAlign(vtaTop); }},
      {"Text", [&] { shape.SetText("abc"); }},
      {"Margins.Left", [&] { shape.Margins()->SetLeft(1); }},
      {"Margins.Top", [&] { shape.Margins()->SetTop(2); }},
      {"Margins.Right", [&] { shape.Margins()->SetRight(3); }},
      {"Margins.Bottom", [&] { shape.Margins()->SetBottom(4); }},
      {"Margins.Units", [&] { shape.Margins()->SetUnits(maPixels); }},
      {"CustomPosition", [&] { shape.SetCustomPosition(true); }},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    panel.invalidations = 0;
    c.set();
    EXPECT_EQ(panel.invalidations, 1);
    c.set();
    EXPECT_EQ(panel.invalidations, 1);
  }
}

TEST_F(TextShapeTest, InitOperationsDoNotRepaint) {
  shape.InitTextAlignment(taCenter);
  shape.Margins()->InitHoriz(20);
  shape.Margins()->InitVert(7);
  shape.InitCustomPosition(true);
  EXPECT_EQ(shape.TextAlign(), taCenter);
  EXPECT_EQ(shape.DefaultTextAlign(), taCenter);
  const TMargins* m = shape.Margins();
  EXPECT_EQ(std::make_tuple(m->Left(), m->Top(), m->Right(), m->Bottom()), std::make_tuple(20, 7, 20, 7));
  EXPECT_EQ(m->DefaultHoriz(), 20);
  EXPECT_EQ(m->DefaultVert(), 7);
  EXPECT_TRUE(shape.CustomPosition());
  EXPECT_TRUE(shape.DefaultCustom());
  EXPECT_EQ(panel.invalidations, 0);
}

// ---- Measuring ----------------------------------------------------------------------------

TEST_F(TextShapeTest, TransparentBoxIsExactlyTheTextSize) {
  shape.SetTransparent(true);
  struct Case {
    float size;
    std::string text;
    float width, height;
  };
  const std::vector<Case> cases = {
      {16, "a", 8, 20},
      {16, "Hello world", 88, 20},
      {16, "a\rbbb\rcc", 24, 60},
      {16, "a\r\nbbb", 24, 40},
      {16, "x\r\n", 8, 20},  // a trailing empty line does not count
      {11, "abc", 16, 14},   // 16.5 and 13.75 rounded
      {30, "abcd", 60, 38},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.text);
    shape.Font()->SetSize(c.size);
    Measure(c.text, 7, 9);
    EXPECT_EQ(shape.ShapeBounds(), (TRectF{7, 9, 7 + c.width, 9 + c.height}));
    EXPECT_EQ(shape.Margins()->ILast, TRectF{});
  }
}

TEST_F(TextShapeTest, FramedBoxWithDefaultsFollowsTheFormula) {
  // w + 2 + 2 x round(0.2 f) by f + 2 + round(0.1 f), f the font height.
  for (float size : {8.0f, 11.0f, 16.0f, 20.0f, 30.0f}) {
    for (const std::string text : {"a", "Hello", "TChart"}) {
      SCOPED_TRACE(::testing::Message() << "size " << size << " text " << text);
      shape.Font()->SetSize(size);
      const int w = KelRound(text.size() * size * 0.5);
      const int f = KelRound(size * 1.25);
      Measure(text, 7, 9);
      EXPECT_FLOAT_EQ(shape.Width(), static_cast<float>(w + 2 + 2 * KelRound(0.2 * f)));
      EXPECT_FLOAT_EQ(shape.Height(), static_cast<float>(f + 2 + KelRound(0.1 * f)));
      EXPECT_FLOAT_EQ(shape.ShapeBounds().Left, 7);
      EXPECT_FLOAT_EQ(shape.ShapeBounds().Top, 9);
      EXPECT_EQ(shape.INumLines, 1);
    }
  }
}

TEST_F(TextShapeTest, MarginUnits) {
  // "abcd" at size 16: 32 x 20, with the frame 34 x 22; F = 20.
  shape.Margins()->SetTop(20);
  shape.Margins()->SetBottom(20);
  struct Case {
    TMarginUnits units;
    TKelShapeLayout layout;
    TRectF last;
    float width, height;
  };
  const std::vector<Case> cases = {
      // Percent of the text block's height: 2, 4, 2, 4.
      {maPercentFont, slTopBottom, {2, 4, 2, 4}, 34 + 2 * 4, 22 + 8},
      // Percent of the size: 3.4 and 4.4; sums 6.8 and 8.8 rounded.
      {maPercentSize, slTopBottom, {3.4f, 4.4f, 3.4f, 4.4f}, 34 + 2 * 7, 22 + 9},
      // Pixels.
      {maPixels, slTopBottom, {10, 20, 10, 20}, 34 + 2 * 20, 22 + 40},
      // Side by side: the horizontal sum once more, no vertical margins.
      {maPixels, slLeftRight, {10, 20, 10, 20}, 20 + 34 + 2 * 20, 22},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << "units " << int(c.units) << " layout " << int(c.layout));
    shape.Margins()->SetUnits(c.units);
    shape.SetChildLayout(c.layout);
    Measure("abcd", 5, 6);
    EXPECT_NEAR(shape.Margins()->ILast.Left, c.last.Left, 1e-5);
    EXPECT_NEAR(shape.Margins()->ILast.Top, c.last.Top, 1e-5);
    EXPECT_NEAR(shape.Margins()->ILast.Right, c.last.Right, 1e-5);
    EXPECT_NEAR(shape.Margins()->ILast.Bottom, c.last.Bottom, 1e-5);
    EXPECT_FLOAT_EQ(shape.Width(), c.width);
    EXPECT_FLOAT_EQ(shape.Height(), c.height);
  }
}

TEST_F(TextShapeTest, FrameAllowanceFollowsThePen) {
  // Pen width 3: 4 more each way; invisible pen: none.
  shape.Margins()->SetUnits(maPixels);
  shape.Pen()->SetWidth(3);
  Measure("ab", 0, 0);  // 16 x 20
  EXPECT_FLOAT_EQ(shape.Width(), 16 + 4 + 2 * 20);
  EXPECT_FLOAT_EQ(shape.Height(), 20 + 4 + 10);
  shape.Pen()->SetVisible(false);
  shape.CalcBounds(&panel);
  EXPECT_FLOAT_EQ(shape.Width(), 16 + 2 * 20);
  EXPECT_FLOAT_EQ(shape.Height(), 20 + 10);
}

TEST_F(TextShapeTest, FixedSizeBoxCountsLinesButKeepsItsSize) {
  shape.SetAutoSize(false);
  shape.SetShapeBounds({1, 2, 30, 40});
  shape.SetText("a\rb\rc");
  shape.CalcBounds(&panel);
  EXPECT_EQ(shape.INumLines, 3);
  EXPECT_EQ(shape.ShapeBounds(), (TRectF{1, 2, 30, 40}));
}

TEST_F(TextShapeTest, EmptyTextIsNotMeasuredAndDrawsNoText) {
  shape.SetText("abc");
  shape.CalcBounds(&panel);
  EXPECT_EQ(shape.INumLines, 1);
  Measure("", 5, 6);
  EXPECT_EQ(shape.INumLines, 0);
  EXPECT_EQ(shape.ShapeBounds(), (TRectF{5, 6, 5, 6}));
  shape.SetShapeBounds({5, 6, 50, 40});
  Reset();
  shape.Draw();
  EXPECT_TRUE(TextOps().empty());
  EXPECT_EQ(rec.Count(rkDrawRect), 1u);  // the box itself is drawn
}

TEST_F(TextShapeTest, DefaultFontIsMeasuredInsteadWhenMarked) {
  shape.SetTransparent(true);
  panel.DefaultFont()->SetSize(8);
  shape.Font()->SetSize(30);
  shape.Font()->SetDefaultFont(true);
  Measure("abcd");
  EXPECT_EQ(shape.ShapeBounds(), (TRectF{0, 0, 16, 10}));
}

// ---- Drawing the text ---------------------------------------------------------------------

TEST_F(TextShapeTest, TransparentDrawsOnlyText) {
  shape.SetTransparent(true);
  shape.SetBevel(bvRaised);
  shape.Emboss()->SetVisible(true);
  Measure("ab", 10, 20);
  Reset();
  shape.Draw();
  EXPECT_EQ(DrawingKinds(), (std::vector<TRecordKind>{rkRenderLayout}));
  // No margins, no frame allowance: the text's top-left is the box's.
  EXPECT_EQ(TextOps()[0]->Rect, (TRectF{10, 20, 26, 40}));
  EXPECT_EQ(TextOps()[0]->Text, "ab");
}

TEST_F(TextShapeTest, FramedBoxDrawsShadowFillFrameThenText) {
  shape.SetColor(0xFF223344);
  Measure("ab", 10, 20);  // (10, 20, 36, 44)
  Reset();
  shape.Draw();
  EXPECT_EQ(DrawingKinds(),
            (std::vector<TRecordKind>{rkFillPath, rkFillRect, rkDrawRect, rkRenderLayout}));
  EXPECT_EQ(rec.Last(rkFillRect)->Rect, (TRectF{10, 20, 36, 44}));
  EXPECT_EQ(rec.Last(rkFillRect)->Fill.Color, 0xFF223344u);
  EXPECT_EQ(TextOps()[0]->TextColor, claBlack);
}

TEST_F(TextShapeTest, LinePositionByAlignmentOffsetAndPen) {
  // "ab" is 16 wide; box (10, 20, 36, 44) with margins 2, 1, 2, 1.
  struct Case {
    TAlignment align;
    int offset;
    float penWidth;
    TPointF at;
  };
  const std::vector<Case> cases = {
      // y = round(20 + 1) + round(pen) div 2 + 1.
      {taLeftJustify, 0, 1, {12, 22}},
      {taCenter, 0, 1, {23 - 8, 22}},
      {taRightJustify, 0, 1, {34 - 16, 22}},
      {taLeftJustify, 5, 1, {17, 22}},
      {taRightJustify, -3, 1, {15, 22}},
      {taLeftJustify, 0, 3, {12, 23}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << "align " << int(c.align) << " offset " << c.offset);
    shape.Pen()->SetWidth(1);
    Measure("ab", 10, 20);
    shape.SetTextAlign(c.align);
    shape.ITextOffset = c.offset;
    shape.Pen()->SetWidth(c.penWidth);
    Reset();
    shape.Draw();
    ASSERT_EQ(TextOps().size(), 1u);
    EXPECT_EQ(TextOps()[0]->Rect.TopLeft(), c.at);
  }
}

TEST_F(TextShapeTest, LinesStepByTheHeightOfW) {
  shape.SetTransparent(true);
  Measure("a\r\nb\rccc", 10, 20);
  EXPECT_EQ(shape.INumLines, 3);
  shape.Draw();
  const auto ops = TextOps();
  ASSERT_EQ(ops.size(), 3u);
  EXPECT_EQ(rec.Texts(), (std::vector<std::string>{"a", "b", "ccc"}));
  EXPECT_EQ(ops[0]->Rect.TopLeft(), (TPointF{10, 20}));
  EXPECT_EQ(ops[1]->Rect.TopLeft(), (TPointF{10, 40}));
  EXPECT_EQ(ops[2]->Rect.TopLeft(), (TPointF{10, 60}));
}

TEST_F(TextShapeTest, EmptyLinesAreSkippedButStillStep) {
  shape.SetTransparent(true);
  Measure("a\r\rb", 0, 0);
  shape.Draw();
  EXPECT_EQ(rec.Texts(), (std::vector<std::string>{"a", "b"}));
  EXPECT_FLOAT_EQ(TextOps()[1]->Rect.Top, 40);
}

TEST_F(TextShapeTest, TextOfLineFeedsOnlyDrawsASpace) {
  shape.SetTransparent(true);
  Measure("\n");
  EXPECT_EQ(shape.INumLines, 1);
  shape.Draw();
  EXPECT_EQ(rec.Texts(), (std::vector<std::string>{" "}));
}

TEST_F(TextShapeTest, VertTextAlignChangesNothing) {
  Measure("a\r\nb", 10, 20);
  shape.SetAutoSize(false);
  shape.SetShapeBounds({10, 20, 200, 300});  // room to move the text, were it moved
  std::vector<std::vector<TRecordedOp>> runs;
  for (TVertTextAlign v : {vtaTop, vtaCenter, vtaBottom}) {
    shape.SetVertTextAlign(v);
    Reset();
    shape.Draw();
    runs.push_back(rec.Ops());
  }
  for (std::size_t r = 1; r < runs.size(); ++r) {
    ASSERT_EQ(runs[r].size(), runs[0].size());
    for (std::size_t i = 0; i < runs[0].size(); ++i) {
      EXPECT_EQ(runs[r][i].Kind, runs[0][i].Kind);
      EXPECT_EQ(runs[r][i].Rect, runs[0][i].Rect);
      EXPECT_EQ(runs[r][i].Text, runs[0][i].Text);
    }
  }
  EXPECT_EQ(rec.Texts(), (std::vector<std::string>{"a", "b"}));
}

TEST_F(TextShapeTest, ClippingRule) {
  struct Case {
    bool clipText;
    int offset;
    bool autoSize;
    int angle;
    bool clipped;
  };
  const std::vector<Case> cases = {
      {true, 0, true, 0, false},   {true, 0, false, 0, true},  {true, 0, false, 30, false},
      {true, 4, true, 0, true},    {true, 4, true, 30, true},  {false, 4, false, 0, false},
      {false, 0, false, 0, false},
  };
  const TRectF box{10, 20, 60, 50};
  for (const Case& c : cases) {
    SCOPED_TRACE(::testing::Message() << "clip " << c.clipText << " offset " << c.offset << " auto "
                                      << c.autoSize << " angle " << c.angle);
    shape.SetAutoSize(true);
    Measure("abcdefghij");
    shape.SetClipText(c.clipText);
    shape.ITextOffset = c.offset;
    shape.SetAutoSize(c.autoSize);
    Reset();
    shape.Draw(&panel, box, 0, c.angle);
    ASSERT_EQ(TextOps().size(), 1u);
    const std::optional<TRectF>& clip = TextOps()[0]->Clip;
    EXPECT_EQ(clip.has_value(), c.clipped);
    if (clip) {
      EXPECT_EQ(*clip, box);
    }
    EXPECT_FALSE(rec.ClipRect().has_value());  // unclipped afterwards
    EXPECT_EQ(rec.SavedStates(), 0u);
    // The frame is never clipped.
    EXPECT_FALSE(rec.Last(rkFillPath)->Clip.has_value());
  }
}

// A text box whose line drawing fails.
class TFailingTextShape : public TTextShape {
 public:
  using TTextShape::TTextShape;
  void DrawString(IShapePanel*, int, int, int, int, const std::string&, bool) override {
    throw std::runtime_error("drawing failed");
  }
};

TEST_F(TextShapeTest, ClipIsRemovedWhenDrawingFails) {
  TFailingTextShape failing(&panel);
  failing.SetText("abc");
  failing.CalcBounds(&panel);
  failing.SetAutoSize(false);
  failing.SetShapeBounds({0, 0, 40, 30});
  EXPECT_THROW(failing.Draw(), std::runtime_error);
  EXPECT_EQ(rec.Count(rkIntersectClip), 1u);
  EXPECT_FALSE(rec.ClipRect().has_value());
  EXPECT_EQ(rec.SavedStates(), 0u);
  // The next clip of anyone starts from an unclipped canvas.
  panel.Canvas()->ClipRectangle({1, 2, 3, 4});
  EXPECT_EQ(rec.ClipRect(), (TRectF{1, 2, 3, 4}));
}

TEST_F(TextShapeTest, TurnedTextTurnsAboutTheBoxCentre) {
  for (TAlignment align : {taLeftJustify, taCenter, taRightJustify}) {
    for (int angle : {90, 30, -45, 180}) {
      SCOPED_TRACE(::testing::Message() << "align " << int(align) << " angle " << angle);
      shape.SetTextAlign(align);
      Measure("abc\rde", 100, 50);
      const TRectF box = shape.ShapeBounds();
      const TPointF centre{(box.Left + box.Right) / 2, (box.Top + box.Bottom) / 2};

      Reset();
      shape.Draw(&panel, box, 0, 0);
      const std::vector<TRecordedOp> straight(rec.Ops().begin(), rec.Ops().end());
      std::vector<TRectF> straightRects;
      for (const TRecordedOp& op : straight)
        if (op.Kind == rkRenderLayout) straightRects.push_back(op.Rect);
      ASSERT_EQ(straightRects.size(), 2u);

      Reset();
      shape.Draw(&panel, box, 0, angle);
      const auto turned = TextOps();
      ASSERT_EQ(turned.size(), 2u);
      // The canvas matrix carries the turn; every corner of each line lands
      // where the straight line's corner turned about the centre lands (the
      // canvas places labels on whole pixels: within a pixel).
      const float tolerance = angle % 90 == 0 ? 1e-3f : 0.75f;
      for (std::size_t i = 0; i < turned.size(); ++i) {
        const TRectF& r = turned[i]->Rect;
        const TRectF& s = straightRects[i];
        EXPECT_NE(turned[i]->Matrix, TKelMatrix::Identity());
        ExpectNear(turned[i]->Matrix.Map(r.TopLeft()), KelTurnPoint(s.TopLeft(), centre, angle), tolerance);
        ExpectNear(turned[i]->Matrix.Map(r.BottomRight()), KelTurnPoint(s.BottomRight(), centre, angle),
                   tolerance);
        ExpectNear(turned[i]->Matrix.Map({r.Right, r.Top}), KelTurnPoint({s.Right, s.Top}, centre, angle),
                   tolerance);
      }
      // The canvas matrix is restored after each label.
      EXPECT_EQ(rec.Matrix(), TKelMatrix::Identity());
    }
  }
}

TEST_F(TextShapeTest, QuarterTurnExample) {
  // "ab" transparent at (100, 50): box (100, 50, 116, 70), centre (108, 60).
  // A quarter turn counter-clockwise takes the text's top-left (100, 50) to
  // (98, 68) and its bottom-right (116, 70) to (118, 52).
  shape.SetTransparent(true);
  Measure("ab", 100, 50);
  shape.SetAngle(90);
  shape.Draw();
  const TRecordedOp* op = rec.Last(rkRenderLayout);
  ASSERT_NE(op, nullptr);
  EXPECT_EQ(op->Rect, (TRectF{98, 68, 114, 88}));
  ExpectNear(op->Matrix.Map({98, 68}), {98, 68}, 1e-4f);
  ExpectNear(op->Matrix.Map({114, 88}), {118, 52}, 1e-4f);
}

TEST_F(TextShapeTest, ChildrenFollowTheText) {
  shape.SetTransparent(true);
  TKelCustomShape* child = shape.Children()->Add();
  auto* text = dynamic_cast<TTextShape*>(child);
  ASSERT_NE(text, nullptr);  // text boxes have text box children
  text->SetTransparent(true);
  text->Font()->SetSize(16);
  text->SetText("cd");
  Measure("ab", 0, 0);
  EXPECT_EQ(shape.ShapeBounds(), (TRectF{0, 0, 16, 40}));
  shape.Draw();
  ASSERT_EQ(TextOps().size(), 2u);
  EXPECT_EQ(rec.Texts(), (std::vector<std::string>{"ab", "cd"}));
  EXPECT_EQ(TextOps()[1]->Rect.TopLeft(), (TPointF{0, 20}));

  shape.SetChildLayout(slLeftRight);
  Measure("ab", 0, 0);
  EXPECT_EQ(shape.ShapeBounds(), (TRectF{0, 0, 32, 20}));
  Reset();
  shape.Draw();
  EXPECT_EQ(TextOps()[1]->Rect.TopLeft(), (TPointF{16, 0}));
}

// ---- Position -----------------------------------------------------------------------------

TEST_F(TextShapeTest, SettingLeftOrTopTurnsCustomPositionOn) {
  shape.SetShapeBounds({0, 0, 30, 20});
  Reset();
  shape.SetLeft(12);
  EXPECT_TRUE(shape.CustomPosition());
  EXPECT_FLOAT_EQ(shape.ShapeBounds().Left, 12);
  EXPECT_EQ(shape.Left(), 12);
  EXPECT_GE(panel.invalidations, 1);

  TTextShape other(&panel);
  other.SetTop(7);
  EXPECT_TRUE(other.CustomPosition());
  EXPECT_EQ(other.Top(), 7);

  // Reading rounds half to even.
  shape.SetShapeBounds({12.5f, 13.5f, 30, 20});
  EXPECT_EQ(shape.Left(), 12);
  EXPECT_EQ(shape.Top(), 14);

  // Without a panel the value is stored all the same.
  TTextShape lone;
  lone.SetLeft(3);
  EXPECT_TRUE(lone.CustomPosition());
  EXPECT_EQ(lone.Left(), 3);
}

TEST_F(TextShapeTest, CustomPositionSurvivesMeasuring) {
  shape.SetLeft(40);
  shape.SetTop(30);
  Measure("ab", 40, 30);
  EXPECT_FLOAT_EQ(shape.ShapeBounds().Left, 40);
  EXPECT_FLOAT_EQ(shape.ShapeBounds().Top, 30);
}

TEST_F(TextShapeTest, AssignCopiesTextSettingsAndPosition) {
  TTextShape src(&panel);
  src.SetClipText(false);
  src.SetCursor(5);
  src.Margins()->SetLeft(33);
  src.Margins()->SetUnits(maPixels);
  src.SetTextAlign(taRightJustify);
  src.SetTextFormat(ttfHtml);
  src.SetVertTextAlign(vtaBottom);
  src.SetText("copy");
  src.SetColor(claRed);
  src.SetShapeBounds({4.4f, 5.6f, 50, 60});
  src.SetCustomPosition(true);

  shape.Assign(&src);
  EXPECT_FALSE(shape.ClipText());
  EXPECT_EQ(shape.Cursor(), 5);
  EXPECT_EQ(shape.Margins()->Left(), 33);
  EXPECT_EQ(shape.Margins()->Units(), maPixels);
  EXPECT_EQ(shape.TextAlign(), taRightJustify);
  EXPECT_EQ(shape.TextFormat(), ttfHtml);
  EXPECT_EQ(shape.VertTextAlign(), vtaBottom);
  EXPECT_EQ(shape.Text(), "copy");
  EXPECT_EQ(shape.Color(), claRed);
  EXPECT_TRUE(shape.CustomPosition());
  EXPECT_EQ(shape.Left(), 4);
  EXPECT_EQ(shape.Top(), 6);

  // Without CustomPosition the position is not copied.
  TTextShape target(&panel);
  target.SetShapeBounds({1, 1, 2, 2});
  src.SetCustomPosition(false);
  target.Assign(&src);
  EXPECT_FALSE(target.CustomPosition());
  EXPECT_EQ(target.Left(), 1);

  // A plain shape gives its shape settings only.
  TKelCustomShape plain(&panel);
  plain.SetColor(claBlue);
  shape.Assign(&plain);
  EXPECT_EQ(shape.Color(), claBlue);
  EXPECT_EQ(shape.Text(), "copy");
}

TEST_F(TextShapeTest, VirtualConstructorKeepsTheClass) {
  const TTextShape text(&panel);
  const TStringsShape strings(&panel);
  EXPECT_NE(dynamic_cast<TTextShape*>(text.Create(&panel).get()), nullptr);
  EXPECT_NE(dynamic_cast<TStringsShape*>(strings.Create(&panel).get()), nullptr);
}

// ---- Strings shape ------------------------------------------------------------------------

class StringsShapeTest : public sextant::testing::ShapeFixture {
 protected:
  StringsShapeTest() : shape(&panel) { Reset(); }
  TStringsShape shape;
};

TEST_F(StringsShapeTest, LinesMakeTheTextWithoutTheFinalBreak) {
  shape.Lines()->Add("TChart");
  EXPECT_EQ(shape.Text(), "TChart");
  EXPECT_EQ(shape.Caption(), "TChart");
  EXPECT_GE(panel.invalidations, 1);
  shape.Lines()->Add("Sub");
  EXPECT_EQ(shape.Text(), "TChart\r\nSub");
  shape.Lines()->SetStrings(1, "x");
  EXPECT_EQ(shape.Text(), "TChart\r\nx");
  shape.Lines()->Delete(0);
  EXPECT_EQ(shape.Text(), "x");  // "x" CR LF is longer than two characters
  EXPECT_EQ(shape.Caption(), "x");
}

TEST_F(StringsShapeTest, ShortTextsKeepTheirBreak) {
  // The break is removed only from texts longer than two characters.
  shape.Lines()->Add("");
  EXPECT_EQ(shape.Text(), "\r\n");
  shape.Lines()->Clear();
  EXPECT_EQ(shape.Text(), "");
  EXPECT_EQ(shape.Caption(), "");
}

TEST_F(StringsShapeTest, CaptionReplacesTheList) {
  shape.Lines()->Add("one");
  shape.Lines()->Add("two");
  shape.SetCaption("Title");
  EXPECT_EQ(shape.Lines()->Count(), 1);
  EXPECT_EQ(shape.Text(), "Title");
  shape.SetCaption("a\r\nb");
  EXPECT_EQ(shape.Lines()->Count(), 2);
  EXPECT_EQ(shape.Caption(), "a");
  shape.Clear();
  EXPECT_EQ(shape.Lines()->Count(), 0);
  EXPECT_EQ(shape.Text(), "");
}

TEST_F(StringsShapeTest, SettingTextCopiesItIntoTheList) {
  shape.SetText("a\r\nb\rc\nd");
  EXPECT_EQ(shape.Lines()->Count(), 4);
  EXPECT_EQ(shape.Lines()->Strings(2), "c");
  // The guard keeps the text as it was given.
  EXPECT_EQ(shape.Text(), "a\r\nb\rc\nd");
  EXPECT_GE(panel.invalidations, 1);
}

TEST_F(StringsShapeTest, SetLinesAndAssignCopy) {
  TKelStringList list;
  list.Add("x");
  list.Add("y");
  shape.SetLines(&list);
  EXPECT_EQ(shape.Text(), "x\r\ny");
  TStringsShape other(&panel);
  other.Assign(&shape);
  EXPECT_EQ(other.Lines()->Count(), 2);
  EXPECT_EQ(other.Text(), "x\r\ny");
  EXPECT_NE(other.Lines(), shape.Lines());
}

TEST(StringListTest, TextAndIndexing) {
  TKelStringList list;
  int changes = 0;
  list.OnChange = [&](TPersistent*) { ++changes; };
  list.SetText("a\rb\r\n\nc\r\n");
  EXPECT_EQ(list.Count(), 4);
  EXPECT_EQ(list[2], "");
  EXPECT_EQ(list.Text(), "a\r\nb\r\n\r\nc\r\n");
  EXPECT_EQ(changes, 1);
  list.SetText("a\rb\r\n\nc");  // same lines: no change
  EXPECT_EQ(changes, 1);
  list.Insert(4, "end");
  list.Insert(0, "start");
  EXPECT_EQ(list[0], "start");
  EXPECT_EQ(list[5], "end");
  EXPECT_THROW(list.Strings(6), ChartException);
  EXPECT_THROW(list.Insert(7, "x"), ChartException);
  EXPECT_THROW(list.Delete(-1), ChartException);
  list.Clear();
  EXPECT_EQ(list.Text(), "");
  const int before = changes;
  list.Clear();
  EXPECT_EQ(changes, before);
}

}  // namespace

// Pens and brushes: defaults, change notification, Assign rules, HalfWidth,
// the pen variants and the brush's gradient/picture parts.
#include <gtest/gtest.h>

#include "canvas/brush.h"
#include "canvas/gradient.h"
#include "canvas/pen.h"
#include "platform/recording_canvas.h"

using namespace sextant;

namespace {

struct Counter {
  int Count = 0;
  TPersistent* LastSender = nullptr;
  TNotifyEvent Event() {
    return [this](TPersistent* s) {
      ++Count;
      LastSender = s;
    };
  }
};

}  // namespace

TEST(Pen, Defaults) {
  TKelPen p;
  EXPECT_EQ(p.Mode(), pmCopy);
  EXPECT_EQ(p.Style(), psSolid);
  EXPECT_FLOAT_EQ(p.Width(), 1.0f);
  EXPECT_EQ(p.EndStyle(), esRound);
  EXPECT_EQ(p.JoinStyle(), jsRound);
  EXPECT_FALSE(p.SmallDots());
  EXPECT_EQ(p.SmallSpace(), 0);
  EXPECT_TRUE(p.Visible());
  EXPECT_EQ(p.DefaultEnd(), esRound);
  EXPECT_EQ(p.DefaultJoin(), jsRound);
  EXPECT_TRUE(p.DefaultVisible());
  EXPECT_FLOAT_EQ(p.DefaultWidth(), 1.0f);
  EXPECT_FALSE(p.HasFill());
}

TEST(Pen, HalfWidthRoundsHalvesToEven) {
  struct Case {
    float Width;
    bool Visible;
    int Expected;
  } cases[] = {
      {1, true, 0}, {0.5f, true, 0}, {2, true, 1}, {3, true, 2}, {5, true, 2},
      {7, true, 4}, {4, true, 2},    {3, false, 0}, {1.5f, true, 1},
  };
  for (const Case& c : cases) {
    TKelPen p;
    p.SetWidth(c.Width);
    p.SetVisible(c.Visible);
    EXPECT_EQ(p.HalfWidth(), c.Expected) << "width " << c.Width << " visible " << c.Visible;
  }
}

TEST(Pen, UntouchedPenIsBlackAndAssignRevertsToBlack) {
  TKelPen untouched;
  EXPECT_EQ(untouched.Color(), claBlack);

  TKelPen other;
  other.SetColor(claRed);
  ASSERT_EQ(other.Color(), claRed);
  TKelPen fresh;  // its fill was never created
  other.Assign(&fresh);
  EXPECT_EQ(other.Color(), claBlack);
}

TEST(Pen, SettersNotifyOnlyOnChange) {
  Counter c;
  TKelPen p(c.Event());
  p.SetWidth(1);
  p.SetStyle(psSolid);
  p.SetVisible(true);
  p.SetColor(claBlack);  // creates the fill with black: no change
  EXPECT_EQ(c.Count, 0);

  p.SetWidth(2);
  p.SetStyle(psDash);
  p.SetEndStyle(esFlat);
  p.SetJoinStyle(jsMitter);
  p.SetSmallDots(true);
  p.SetSmallSpace(3);
  p.SetMode(pmXor);
  p.Hide();
  p.SetColor(claBlue);
  EXPECT_EQ(c.Count, 9);
  p.Hide();
  p.SetColor(claBlue);
  EXPECT_EQ(c.Count, 9);
}

TEST(Pen, AssignCopiesAllButMode) {
  TKelPen src;
  src.SetVisible(false);
  src.SetSmallDots(true);
  src.SetSmallSpace(2);
  src.SetEndStyle(esSquare);
  src.SetJoinStyle(jsBevel);
  src.SetColor(0xFF112233);
  src.SetWidth(4);
  src.SetStyle(psDot);
  src.SetMode(pmXor);

  Counter c;
  TKelPen dst(c.Event());
  dst.Assign(&src);
  EXPECT_FALSE(dst.Visible());
  EXPECT_TRUE(dst.SmallDots());
  EXPECT_EQ(dst.SmallSpace(), 2);
  EXPECT_EQ(dst.EndStyle(), esSquare);
  EXPECT_EQ(dst.JoinStyle(), jsBevel);
  EXPECT_EQ(dst.Color(), 0xFF112233u);
  EXPECT_FLOAT_EQ(dst.Width(), 4);
  EXPECT_EQ(dst.Style(), psDot);
  EXPECT_EQ(dst.Mode(), pmCopy);
  EXPECT_EQ(c.Count, 1);
  EXPECT_EQ(c.LastSender, &dst);
}

TEST(Pen, AssignFromOtherClassFails) {
  TKelPen p;
  TKelBrush b;
  EXPECT_THROW(p.Assign(&b), ChartException);
}

TEST(Pen, InitColorNotifiesOnChangeAndSetsDefault) {
  Counter c;
  TKelPen p(c.Event());
  p.InitColor(claRed);
  EXPECT_EQ(c.Count, 1);
  EXPECT_EQ(p.Color(), claRed);
  EXPECT_EQ(p.Fill()->DefaultColor(), claRed);
  p.InitColor(claRed);
  EXPECT_EQ(c.Count, 1);

  p.InitEndStyle(esFlat);
  EXPECT_EQ(c.Count, 1);
  EXPECT_EQ(p.EndStyle(), esFlat);
  EXPECT_EQ(p.DefaultEnd(), esFlat);
}

TEST(Pen, Variants) {
  TKelHiddenPen hidden;
  EXPECT_FALSE(hidden.Visible());
  EXPECT_FALSE(hidden.DefaultVisible());
  EXPECT_EQ(hidden.HalfWidth(), 0);

  Counter c;
  TDarkGrayPen gray(c.Event());
  EXPECT_EQ(gray.Color(), 0xFFA9A9A9u);
  EXPECT_EQ(gray.Fill()->DefaultColor(), 0xFFA9A9A9u);
  EXPECT_EQ(c.Count, 0);  // the owner is not called back while constructing
  gray.SetColor(claRed);
  EXPECT_EQ(c.Count, 1);

  TWhitePen white;
  EXPECT_EQ(white.Color(), claWhite);
}

TEST(Pen, GradientVisibility) {
  TKelPen p;
  EXPECT_FALSE(p.IsGradientVisible());
  p.Fill()->Gradient();
  EXPECT_FALSE(p.IsGradientVisible());
  p.Fill()->Gradient()->SetVisible(true);
  EXPECT_TRUE(p.IsGradientVisible());
}

TEST(Pen, SetFillNullFreesAndNotifies) {
  Counter c;
  TKelPen p(c.Event());
  p.SetColor(claRed);
  c.Count = 0;
  p.SetFill(nullptr);
  EXPECT_FALSE(p.HasFill());
  EXPECT_EQ(c.Count, 1);
  EXPECT_EQ(p.Color(), claBlack);
}

// ---- Brush -----------------------------------------------------------------

TEST(Brush, Defaults) {
  TKelBrush b;
  EXPECT_EQ(b.Style(), THostBrushKind::Solid);
  EXPECT_EQ(b.Color(), clKelColor);
  EXPECT_EQ(b.DefaultColor(), clKelColor);
  EXPECT_EQ(b.BackColor(), 0u);
  EXPECT_EQ(b.HatchStyle(), hsHorizontal);
  EXPECT_FALSE(b.HasImage());
  EXPECT_FALSE(b.HasGradient());
  EXPECT_FALSE(b.HasGradientObject());
}

TEST(Brush, InitColorNeverNotifies) {
  Counter c;
  TKelBrush b(c.Event());
  b.InitColor(claRed);
  EXPECT_EQ(c.Count, 0);
  EXPECT_EQ(b.Color(), claRed);
  EXPECT_EQ(b.DefaultColor(), claRed);
  b.SetColor(claBlue);
  EXPECT_EQ(c.Count, 1);
}

TEST(Brush, GradientVisibilitySwitchesKind) {
  TKelBrush b;
  b.Gradient()->SetVisible(true);
  EXPECT_EQ(b.Style(), THostBrushKind::Gradient);
  EXPECT_TRUE(b.HasGradient());
  b.Gradient()->SetVisible(false);
  EXPECT_EQ(b.Style(), THostBrushKind::Solid);
  EXPECT_FALSE(b.HasGradient());
}

TEST(Brush, GradientChangesReachTheBrushOwner) {
  Counter c;
  TKelBrush b(c.Event());
  b.Gradient()->SetAngle(30);
  EXPECT_GE(c.Count, 1);
}

TEST(Brush, ClearResetsStyleImageAndGradient) {
  TKelBrush b;
  b.Image();
  b.Gradient()->SetVisible(true);
  b.Clear();
  EXPECT_EQ(b.Style(), THostBrushKind::None);
  EXPECT_FALSE(b.HasImage());
  EXPECT_FALSE(b.HasGradientObject());
}

TEST(Brush, AssignCopiesSettingsAndFreesMissingGradient) {
  TKelBrush src;
  src.SetColor(claRed);
  src.SetBackColor(claBlue);
  src.SetHatchStyle(hsCross);
  src.SetStyle(THostBrushKind::None);

  TKelBrush dst;
  dst.Gradient()->SetVisible(true);
  dst.Assign(&src);
  EXPECT_EQ(dst.Color(), claRed);
  EXPECT_EQ(dst.BackColor(), claBlue);
  EXPECT_EQ(dst.HatchStyle(), hsCross);
  EXPECT_EQ(dst.Style(), THostBrushKind::None);
  EXPECT_FALSE(dst.HasGradientObject());

  TKelBrush withGradient;
  withGradient.Gradient()->SetStartColor(claYellow);
  withGradient.Gradient()->SetVisible(true);
  dst.Assign(&withGradient);
  ASSERT_TRUE(dst.HasGradient());
  EXPECT_EQ(dst.Gradient()->StartColor(), claYellow);
  EXPECT_EQ(dst.Style(), THostBrushKind::Gradient);
}

TEST(Picture, OwnedAndSharedBitmaps) {
  TKelPicture p;
  EXPECT_TRUE(p.IsEmpty());
  TRecordingBitmap external(4, 3, 1);
  p.SetBitmap(&external);
  EXPECT_FALSE(p.IsEmpty());
  EXPECT_EQ(p.Bitmap(), &external);

  TKelPicture copy;
  {
    TKelPicture owner;
    owner.SetOwnedBitmap(std::make_unique<TRecordingBitmap>(2, 2, 1));
    copy.Assign(&owner);
  }
  // The owned bitmap lives as long as a picture holds it.
  ASSERT_NE(copy.Bitmap(), nullptr);
  EXPECT_EQ(copy.Bitmap()->Width(), 2);

  TKelPicture empty;
  empty.SetOwnedBitmap(std::make_unique<TRecordingBitmap>(0, 5, 1));
  EXPECT_TRUE(empty.IsEmpty());
}

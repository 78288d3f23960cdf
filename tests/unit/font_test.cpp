// Fonts (defaults, styles, sub-objects, Assign, the default font reference)
// and corner paths.
#include <gtest/gtest.h>

#include "canvas/brush.h"
#include "canvas/corners.h"
#include "canvas/font.h"
#include "canvas/pen.h"
#include "canvas/shadow.h"
#include "platform/platform_services.h"

using namespace sextant;

namespace {

class FakeFontService : public ISystemFontService {
 public:
  std::string DefaultFontFamily() const override { return "Segoe UI"; }
  float DefaultFontSize() const override { return 9.5f; }
};

}  // namespace

TEST(DefaultFont, FallsBackToTahoma11AndAsksTheService) {
  KelPlatform().FontService = nullptr;
  KelDefaultFont();
  EXPECT_EQ(KelDefaultFontName(), "Tahoma");
  EXPECT_EQ(KelDefaultFontSize(), 11);

  FakeFontService service;
  KelPlatform().FontService = &service;
  KelDefaultFont();
  EXPECT_EQ(KelDefaultFontName(), "Segoe UI");
  EXPECT_EQ(KelDefaultFontSize(), 10);  // 9.5 rounds to even
  TKelFont f;
  EXPECT_EQ(f.Family(), "Segoe UI");
  EXPECT_FLOAT_EQ(f.Size(), 10);

  KelPlatform().FontService = nullptr;
  KelDefaultFont();
}

TEST(Font, Defaults) {
  TKelFont f;
  EXPECT_EQ(f.Family(), "Tahoma");
  EXPECT_FLOAT_EQ(f.Size(), 11);
  EXPECT_EQ(f.Style(), 0);
  EXPECT_EQ(f.Weight(), 4);
  EXPECT_EQ(f.Slant(), 0);
  EXPECT_EQ(f.Stretch(), 4);
  EXPECT_EQ(f.Color(), claBlack);
  EXPECT_EQ(f.Brush()->Color(), claBlack);
  EXPECT_FALSE(f.DefaultFont());
  EXPECT_EQ(f.Depth(), 0);
  EXPECT_EQ(f.InterCharSize(), 0);
  EXPECT_EQ(f.Quality(), fqDefault);
  EXPECT_EQ(f.DefaultColor(), claBlack);
  EXPECT_FALSE(f.HasOutLine());
  EXPECT_FALSE(f.HasShadow());
  EXPECT_FALSE(f.HasEmboss());
  EXPECT_FALSE(f.OutLine()->Visible());  // created invisible
  EXPECT_FALSE(f.Shadow()->ShouldDraw());
}

TEST(Font, ExtendedStylesAreClamped) {
  struct Case {
    int In, Weight, Slant, Stretch;
  } cases[] = {{-3, 0, 0, 0}, {1, 1, 1, 1}, {7, 7, 2, 7}, {12, 10, 2, 8}};
  for (const Case& c : cases) {
    TKelFont f;
    f.SetWeight(c.In);
    f.SetSlant(c.In);
    f.SetStretch(c.In);
    EXPECT_EQ(f.Weight(), c.Weight) << c.In;
    EXPECT_EQ(f.Slant(), c.Slant) << c.In;
    EXPECT_EQ(f.Stretch(), c.Stretch) << c.In;
  }
}

TEST(Font, HostFontAndLegacyHeight) {
  TKelFont f;
  f.SetName("Arial");
  f.SetHeight(-16);
  f.SetStyle(fsBold | fsUnderline);
  f.SetWeight(7);
  const THostFont h = f.HostFont();
  EXPECT_EQ(h.Family, "Arial");
  EXPECT_FLOAT_EQ(h.Size, 12);
  EXPECT_TRUE(h.Bold);
  EXPECT_FALSE(h.Italic);
  EXPECT_TRUE(h.Underline);
  EXPECT_EQ(h.Weight, 7);
}

TEST(Font, NotifiesWithTheFontAsSender) {
  int count = 0;
  TPersistent* sender = nullptr;
  TKelFont f([&](TPersistent* s) {
    ++count;
    sender = s;
  });
  f.SetSize(11);  // unchanged
  EXPECT_EQ(count, 0);
  f.Shadow()->SetSize(2);
  EXPECT_EQ(count, 1);
  EXPECT_EQ(sender, &f);
  f.SetColor(claRed);
  EXPECT_EQ(count, 2);
  EXPECT_EQ(sender, &f);
  f.OutLine()->Show();
  EXPECT_EQ(count, 3);
  f.InitColor(claBlue);
  f.InitStyle(fsItalic);
  EXPECT_EQ(count, 3);
  EXPECT_EQ(f.Color(), claBlue);
  EXPECT_EQ(f.DefaultColor(), claBlue);
  EXPECT_EQ(f.DefaultStyle(), fsItalic);
}

TEST(Font, AssignCopiesEverything) {
  TKelFont src;
  src.SetColor(claRed);
  src.SetDefaultFont(true);
  src.SetDepth(3);
  src.Emboss()->SetSize(2);
  src.SetInterCharSize(1);
  src.OutLine()->Show();
  src.SetQuality(fqBest);
  src.Shadow()->SetSize(4);
  src.SetFamily("Courier");
  src.SetSize(20);
  src.SetStyle(fsItalic);
  src.SetStretch(6);

  int count = 0;
  TKelFont dst([&](TPersistent*) { ++count; });
  dst.Assign(&src);
  EXPECT_EQ(count, 1);
  EXPECT_EQ(dst.Color(), claRed);
  EXPECT_TRUE(dst.DefaultFont());
  EXPECT_EQ(dst.Depth(), 3);
  EXPECT_EQ(dst.Emboss()->Size(), 2);
  EXPECT_EQ(dst.InterCharSize(), 1);
  EXPECT_TRUE(dst.OutLine()->Visible());
  EXPECT_EQ(dst.Quality(), fqBest);
  EXPECT_EQ(dst.Shadow()->Size(), 4);
  EXPECT_EQ(dst.Family(), "Courier");
  EXPECT_FLOAT_EQ(dst.Size(), 20);
  EXPECT_EQ(dst.Style(), fsItalic);
  EXPECT_EQ(dst.Stretch(), 6);

  TKelFont plain;
  dst.Assign(&plain);
  EXPECT_FALSE(dst.HasShadow());
  EXPECT_FALSE(dst.HasOutLine());
  EXPECT_FALSE(dst.HasEmboss());
}

// ---- Corners -------------------------------------------------------------------

TEST(Corners, DefaultsAndNotification) {
  int count = 0;
  TKelCorners c([&](TPersistent*) { ++count; });
  EXPECT_EQ(c.LeftTop()->Style(), cosRound);
  EXPECT_EQ(c.RightBottom()->Style(), cosRound);
  c.RightTop()->SetStyle(cosRound);
  EXPECT_EQ(count, 0);
  c.RightTop()->SetStyle(cosBevel);
  EXPECT_EQ(count, 1);
  TKelCorners copy;
  copy.Assign(&c);
  EXPECT_EQ(copy.RightTop()->Style(), cosBevel);
}

TEST(Corners, SquareCornersGiveTheRectangle) {
  TKelCorners c;
  for (TKelCorner* k : {c.LeftTop(), c.RightTop(), c.RightBottom(), c.LeftBottom()}) k->SetStyle(cosNone);
  const THostPath p = c.GetPath({0, 0, 20, 10}, 4, 4);
  const auto& cmd = p.Commands();
  ASSERT_EQ(cmd.size(), 5u);
  EXPECT_EQ(cmd[0].A, (TPointF{0, 0}));
  EXPECT_EQ(cmd[1].A, (TPointF{20, 0}));
  EXPECT_EQ(cmd[2].A, (TPointF{20, 10}));
  EXPECT_EQ(cmd[3].A, (TPointF{0, 10}));
  EXPECT_EQ(cmd[4].Op, THostPathCommand::Close);
}

TEST(Corners, CornerSizesRoundDownToEvenAndAreLimited) {
  struct Case {
    int X;
    float Expected;   // horizontal radius of the round right-top corner
    float ExpectedY;  // vertical radius (the rectangle is 30 high)
  } cases[] = {{5, 4, 4}, {4, 4, 4}, {1, 1, 1}, {0, 1, 1}, {50, 20, 30}};
  for (const Case& k : cases) {
    TKelCorners c;
    const THostPath p = c.GetPath({0, 0, 20, 30}, k.X, k.X);
    const THostPathCommand* arc = nullptr;
    for (const auto& cmd : p.Commands()) {
      if (cmd.Op == THostPathCommand::Arc) {
        arc = &cmd;
        break;
      }
    }
    ASSERT_NE(arc, nullptr);
    EXPECT_FLOAT_EQ(arc->B.X, k.Expected) << k.X;
    // Right-top corner: a clockwise quarter turn from the top edge.
    EXPECT_EQ(arc->C, (TPointF{270, 90}));
    EXPECT_EQ(arc->A, (TPointF{20 - k.Expected, k.ExpectedY}));
    EXPECT_FLOAT_EQ(arc->B.Y, k.ExpectedY) << k.X;
  }
}

TEST(Corners, BevelCutsHalfACornerFromTheCorner) {
  TKelCorners c;
  for (TKelCorner* k : {c.LeftTop(), c.RightTop(), c.RightBottom(), c.LeftBottom()}) k->SetStyle(cosBevel);
  const THostPath p = c.GetPath({0, 0, 20, 10}, 4, 4);
  const auto& cmd = p.Commands();
  EXPECT_EQ(cmd[0].A, (TPointF{2, 0}));
  EXPECT_EQ(cmd[1].A, (TPointF{18, 0}));
  EXPECT_EQ(cmd[2].A, (TPointF{20, 2}));
  EXPECT_EQ(cmd.back().Op, THostPathCommand::Close);
}

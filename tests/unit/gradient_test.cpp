// Gradients: stops, start/mid/end colours, insertion rule, defaults and Assign.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>

#include "canvas/gradient.h"

using namespace sextant;

namespace {

struct Counter {
  int Count = 0;
  TNotifyEvent Event() {
    return [this](TPersistent*) { ++Count; };
  }
};

std::vector<double> Offsets(TCustomKelGradient& g) {
  std::vector<double> r;
  for (std::size_t i = 0; i < g.Colors()->Count(); ++i) r.push_back(g.Colors()->At(i).Offset());
  return r;
}

}  // namespace

TEST(Gradient, DefaultsBeforeAndAfterTheStopList) {
  TKelGradient g;
  EXPECT_FALSE(g.Visible());
  EXPECT_EQ(g.Direction(), gdTopBottom);
  EXPECT_EQ(g.Balance(), 50);
  EXPECT_EQ(g.Angle(), 0);
  EXPECT_EQ(g.RadialX(), 0);
  EXPECT_EQ(g.RadialY(), 0);
  EXPECT_FALSE(g.HasColors());
  EXPECT_EQ(g.StartColor(), 0xFFFFFFFFu);
  EXPECT_EQ(g.EndColor(), 0xFFFFFF00u);
  EXPECT_EQ(g.MidColor(), 0u);
  EXPECT_FALSE(g.HasColors());  // reading does not create the list

  ASSERT_EQ(g.Colors()->Count(), 2u);
  EXPECT_EQ(g.StartColor(), 0xFFFFFFFFu);
  EXPECT_EQ(g.EndColor(), 0xFFFFFF00u);
  EXPECT_EQ(Offsets(g), (std::vector<double>{0, 1}));

  g.Colors()->Clear();
  EXPECT_EQ(g.StartColor(), 0u);
  EXPECT_EQ(g.EndColor(), 0u);
}

TEST(Gradient, MidColorRulesAndNotifications) {
  Counter c;
  TKelGradient g(c.Event());
  g.Colors();
  c.Count = 0;

  g.SetMidColor(0);  // two stops: nothing at all
  EXPECT_EQ(c.Count, 0);
  EXPECT_EQ(g.Colors()->Count(), 2u);

  g.SetMidColor(claRed);  // inserted at index 1, offset 0.5
  EXPECT_EQ(c.Count, 1);
  ASSERT_EQ(g.Colors()->Count(), 3u);
  EXPECT_EQ(g.Colors()->At(1).Color(), claRed);
  EXPECT_DOUBLE_EQ(g.Colors()->At(1).Offset(), 0.5);
  EXPECT_EQ(g.MidColor(), claRed);

  g.SetMidColor(claRed);  // same colour: nothing
  EXPECT_EQ(c.Count, 1);

  g.SetMidColor(claBlue);
  EXPECT_EQ(c.Count, 2);
  EXPECT_EQ(g.MidColor(), claBlue);

  g.SetMidColor(0);  // three stops: the middle one goes
  EXPECT_EQ(c.Count, 3);
  EXPECT_EQ(g.Colors()->Count(), 2u);
  EXPECT_EQ(g.MidColor(), 0u);

  g.UseMiddleColor();  // re-applies the last non-zero middle colour
  EXPECT_EQ(g.MidColor(), claBlue);
}

TEST(Gradient, StartAndEndColors) {
  TKelGradient g;
  g.SetStartColor(claRed);
  g.SetEndColor(claBlue);
  EXPECT_EQ(g.StartColor(), claRed);
  EXPECT_EQ(g.EndColor(), claBlue);
  g.SetStartIsEnd(true);
  g.SetEndColor(claYellow);
  EXPECT_EQ(g.StartColor(), claYellow);
  EXPECT_EQ(g.EndColor(), claYellow);
}

TEST(GradientColors, AddClampsAndInsertsAfterEqualOffsets) {
  struct Case {
    double Offset;
    double Stored;
    std::size_t Index;  // position among the stops 0, 0.5, 1
  } cases[] = {
      {1.7, 1.0, 3},  {-0.2, 0.0, 1}, {std::numeric_limits<double>::quiet_NaN(), 0.0, 1},
      {0.5, 0.5, 2},  {0.25, 0.25, 1}, {0.75, 0.75, 2}, {1.0, 1.0, 3},
  };
  for (const Case& c : cases) {
    TKelGradientColors colors;
    colors.Add(claRed, 0);
    colors.Add(claRed, 0.5);
    colors.Add(claRed, 1);
    TKelGradientColor* added = colors.Add(claBlue, c.Offset);
    ASSERT_EQ(colors.Count(), 4u);
    EXPECT_DOUBLE_EQ(added->Offset(), c.Stored) << c.Offset;
    EXPECT_EQ(colors.Items(c.Index), added) << c.Offset;
    EXPECT_EQ(added->Color(), claBlue);
  }
}

TEST(GradientColors, IndexingBeyondCountAppendsDefaults) {
  Counter c;
  TKelGradientColors colors(c.Event());
  TKelGradientColor* item = colors.Items(2);
  EXPECT_EQ(colors.Count(), 3u);
  EXPECT_EQ(c.Count, 1);
  item->SetTransparency(0x40);
  EXPECT_EQ(item->Color(), 0x40000000u);
  EXPECT_EQ(item->Transparency(), 0x40);
  EXPECT_EQ(c.Count, 2);
  item->SetColor(0x80112233);
  EXPECT_EQ(item->Transparency(), 0x80);
}

TEST(Gradient, InitDefaultsRestoresEverything) {
  TKelGradient g;
  g.SetVisible(true);
  g.SetDirection(gdLeftRight);
  g.SetStartColor(claRed);
  g.SetMidColor(claBlue);
  g.SetBalance(10);
  g.SetAngle(45);
  g.SetRadialX(20);
  g.InitDefaults();
  EXPECT_FALSE(g.Visible());
  EXPECT_EQ(g.Direction(), gdTopBottom);
  EXPECT_EQ(g.StartColor(), 0xFFFFFFFFu);
  EXPECT_EQ(g.EndColor(), 0xFFFFFF00u);
  EXPECT_EQ(g.MidColor(), 0u);
  EXPECT_EQ(g.Colors()->Count(), 2u);
  EXPECT_EQ(g.Balance(), 50);
  EXPECT_EQ(g.Angle(), 0);
  EXPECT_EQ(g.RadialX(), 0);
}

TEST(Gradient, InitOperationsDoNotNotify) {
  Counter c;
  TKelGradient g(c.Event());
  g.InitDirection(gdRightLeft);
  g.InitColors(0xFFC0C0C0, 0, 0xFFFFFFFF);
  g.InitVisible(true);
  EXPECT_EQ(c.Count, 0);
  EXPECT_EQ(g.Direction(), gdRightLeft);
  EXPECT_EQ(g.DefaultDirection(), gdRightLeft);
  EXPECT_EQ(g.StartColor(), 0xFFC0C0C0u);
  EXPECT_EQ(g.EndColor(), 0xFFFFFFFFu);
  EXPECT_TRUE(g.Visible());
}

TEST(Gradient, AssignCopiesAndSelfAssignIsHarmless) {
  TKelGradient src;
  src.SetAngle(30);
  src.SetBalance(70);
  src.SetDirection(gdRadial);
  src.SetRadialX(10);
  src.SetRadialY(-10);
  src.SetMidColor(claRed);
  src.SetStartIsEnd(true);
  src.SubGradient()->SetTransparency(20);
  src.SubGradient()->SetVisible(true);
  src.SetVisible(true);

  Counter c;
  TKelGradient dst(c.Event());
  dst.Assign(&src);
  EXPECT_EQ(c.Count, 1);
  EXPECT_EQ(dst.Angle(), 30);
  EXPECT_EQ(dst.Balance(), 70);
  EXPECT_EQ(dst.Direction(), gdRadial);
  EXPECT_EQ(dst.RadialX(), 10);
  EXPECT_EQ(dst.RadialY(), -10);
  EXPECT_EQ(dst.MidColor(), claRed);
  EXPECT_EQ(dst.Colors()->Count(), 3u);
  EXPECT_TRUE(dst.StartIsEnd());
  ASSERT_TRUE(dst.HasSubGradient());
  EXPECT_EQ(dst.SubGradient()->Transparency(), 20);
  EXPECT_TRUE(dst.SubGradient()->Visible());
  EXPECT_TRUE(dst.Visible());

  dst.Assign(&dst);
  EXPECT_EQ(dst.Colors()->Count(), 3u);

  TKelGradient plain;
  dst.Assign(&plain);
  EXPECT_FALSE(dst.HasSubGradient());
}

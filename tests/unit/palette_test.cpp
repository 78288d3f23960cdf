// Series colours: the module palette, the palette registry, the chart's
// palette index (from the user option DefaultPalette), free colours for
// new series and the fallback when none is free.
#include <gtest/gtest.h>

#include <map>
#include <optional>

#include "chart_fixture.h"
#include "platform/platform_services.h"

using namespace sextant;
using sextant::testing::BlankChartTest;

namespace {

const std::vector<TColor> kOpera = {0xFF4466A3, 0xFFF39C35, 0xFFF14C14, 0xFF4E97A8,
                                    0xFF2B406B, 0xFF1D7B63, 0xFFB3080E, 0xFFF2C05D,
                                    0xFF5DB79E, 0xFF707070, 0xFFF3EA8D, 0xFFB4B4B4};

TEST(Palettes, ModulePalette) {
  const std::vector<TColor> expected = {
      0xFFFF0000, 0xFF008000, 0xFFFFFF00, 0xFF0000FF, 0xFFFFFFFF, 0xFF808080, 0xFFFF00FF,
      0xFF008080, 0xFF000080, 0xFF800000, 0xFF00FF00, 0xFF808000, 0xFF800080, 0xFFC0C0C0,
      0xFF00FFFF, 0xFF000000, 0xFFC0DCC0, 0xFF87CEEB, 0xFFF0FBFF, 0xFFA0A0A0};
  EXPECT_EQ(KelColorPalette, expected);
  KelColorPalette = {0xFF000001};
  InstallDefaultPalette();
  EXPECT_EQ(KelColorPalette, expected);
}

TEST(Palettes, Registry) {
  struct {
    const char* name;
    std::size_t count;
    TColor first;
  } table[] = {{"Dravik", 0, 0},           {"Excel", 22, 0xFF9999FF},
               {"Victorian", 11, 0xFF5DA5A1}, {"Pastels", 14, 0xFFCCFFFF},
               {"Solid", 8, 0xFF0000FF},    {"Classic", 12, 0xFF0000FF},
               {"Web", 9, 0xFFFFA500},      {"Modern", 14, 0xFFFF9966},
               {"Rainbow", 25, 0xFF990000}, {"Win. XP", 13, 0xFF829BFE},
               {"Mac OS", 16, 0xFFFFFFFF},  {"Win. Vista", 15, 0xFF001FD2},
               {"Gray scale", 15, 0xFFF0F0F0}, {"Opera", 12, 0xFF4466A3},
               {"Warm", 8, 0xFFF3EA8D},     {"Cool", 8, 0xFF2B406B},
               {"BlackIsBack", 4, 0xFFC8E65A}, {"Metro", 10, 0xFFA200FF},
               {"iOS", 12, 0xFF48CCFD},     {"Android", 15, 0xFF33B5E5},
               {"Lookout", 12, 0xFF7799D6}, {"Seawash", 12, 0xFFDC5C05},
               {"Activity", 10, 0xFFF8D907}};
  const auto& palettes = ColorPalettes();
  ASSERT_EQ(palettes.size(), 23u);
  for (std::size_t i = 0; i < palettes.size(); ++i) {
    SCOPED_TRACE(table[i].name);
    EXPECT_EQ(palettes[i].Name, table[i].name);
    ASSERT_EQ(palettes[i].Colors.size(), table[i].count);
    if (table[i].count) {
      EXPECT_EQ(palettes[i].Colors[0], table[i].first);
    }
    EXPECT_EQ(GetPalette(static_cast<int>(i)), palettes[i].Colors);
  }
  EXPECT_EQ(GetPalette(13), kOpera);
  EXPECT_EQ(GetPalette(22).back(), 0xFFD6E419u);
  EXPECT_TRUE(GetPalette(-1).empty());
  EXPECT_TRUE(GetPalette(23).empty());
}

class FakeStore : public ISettingsStore {
 public:
  std::map<std::pair<std::string, std::string>, std::string> values;
  std::optional<std::string> ReadString(const std::string& section,
                                        const std::string& key) const override {
    auto it = values.find({section, key});
    if (it == values.end()) return std::nullopt;
    return it->second;
  }
};

TEST(Palettes, DefaultPaletteOptionChoosesTheChartsPalette) {
  FakeStore store;
  const ISettingsStore* saved = KelPlatform().SettingsStore;
  struct {
    const char* text;  // nullptr: option absent
    int index;
  } cases[] = {{nullptr, 13}, {"5", 5}, {" 7 ", 7}, {"abc", 13}, {"5x", 13}, {"", 13},
               {"99999999999", 13}, {"0", 0}};
  for (auto& c : cases) {
    SCOPED_TRACE(c.text ? c.text : "(absent)");
    store.values.clear();
    if (c.text) store.values[{"ChartEditor", "DefaultPalette"}] = c.text;
    KelPlatform().SettingsStore = &store;
    TChart chart;
    EXPECT_EQ(chart.ColorPaletteIndex(), c.index);
    EXPECT_EQ(chart.ColorPalette, GetPalette(c.index));
    EXPECT_TRUE(chart.AutoRepaint());
  }
  KelPlatform().SettingsStore = nullptr;
  TChart chart;  // no store at all
  EXPECT_EQ(chart.ColorPaletteIndex(), 13);
  KelPlatform().SettingsStore = saved;
}

class PaletteTest : public BlankChartTest {
 protected:
  TFastLineSeries* Add() {
    auto* s = new TFastLineSeries();
    chart.AddSeries(s);
    return s;
  }
};

TEST_F(PaletteTest, NewSeriesTakeTheFirstFreeColours) {
  ASSERT_EQ(chart.ColorPaletteIndex(), 13);
  for (int i = 0; i < 3; ++i) EXPECT_EQ(Add()->SeriesColor(), kOpera[i]) << i;
}

TEST_F(PaletteTest, LastColourOnlyThroughTheFallback) {
  for (int i = 0; i < 11; ++i) ASSERT_EQ(Add()->SeriesColor(), kOpera[i]);
  EXPECT_EQ(Add()->SeriesColor(), 0xFFB4B4B4u);  // 11 series: 11 mod 12
  EXPECT_EQ(Add()->SeriesColor(), kOpera[0]);     // 12 series: 12 mod 12
  // A freed colour is taken again.
  chart.FreeAllSeries([](TChartSeries* s) { return s->SeriesColor() == 0xFFF14C14; });
  EXPECT_EQ(Add()->SeriesColor(), 0xFFF14C14u);
}

TEST_F(PaletteTest, PanelColourIsNotFree) {
  chart.SetColor(kOpera[0]);
  EXPECT_EQ(Add()->SeriesColor(), kOpera[1]);
  EXPECT_TRUE(chart.IsFreeSeriesColor(kOpera[0], false, nullptr));
  EXPECT_FALSE(chart.IsFreeSeriesColor(kOpera[0], true, nullptr));
  TChartSeries* s = chart.Series(0);
  EXPECT_FALSE(chart.IsFreeSeriesColor(kOpera[1], false, nullptr));
  EXPECT_TRUE(chart.IsFreeSeriesColor(kOpera[1], false, s));  // its own colour
}

TEST_F(PaletteTest, ChangingThePaletteColoursOnlyUncolouredSeries) {
  auto* fixed = Add();
  fixed->SetSeriesColor(0xFF123456);
  auto* open = Add();
  open->SetSeriesColor(clKelColor);
  ASSERT_EQ(open->Color(), clKelColor);
  const int before = host.Invalidates;
  chart.SetColorPaletteIndex(5);  // "Classic"
  EXPECT_GT(host.Invalidates, before);
  EXPECT_EQ(chart.ColorPaletteIndex(), 5);
  EXPECT_EQ(chart.ColorPalette, GetPalette(5));
  EXPECT_EQ(fixed->SeriesColor(), 0xFF123456u);
  EXPECT_EQ(open->SeriesColor(), 0xFF0000FFu);

  // Setting the same index does nothing.
  const int now = host.Invalidates;
  chart.SetColorPaletteIndex(5);
  EXPECT_EQ(host.Invalidates, now);

  // -2 keeps the palette in force and marks it custom.
  chart.SetColorPaletteIndex(-2);
  EXPECT_EQ(chart.ColorPaletteIndex(), -2);
  EXPECT_EQ(chart.ColorPalette, GetPalette(5));

  // Palette 0 and unknown indexes fall back to the module palette.
  chart.SetColorPaletteIndex(0);
  EXPECT_TRUE(chart.ColorPalette.empty());
  EXPECT_EQ(chart.GetDefaultColor(21), KelColorPalette[1]);
  chart.SetColorPaletteIndex(-2);
  EXPECT_TRUE(chart.ColorPalette.empty());
  chart.SetColorPaletteIndex(99);
  EXPECT_EQ(chart.ColorPaletteIndex(), 99);
  EXPECT_TRUE(chart.ColorPalette.empty());
}

TEST_F(PaletteTest, DefaultColourWrapsAround) {
  EXPECT_EQ(chart.GetDefaultColor(0), kOpera[0]);
  EXPECT_EQ(chart.GetDefaultColor(13), kOpera[1]);
  EXPECT_EQ(chart.GetDefaultColor(-1), kOpera[11]);
  chart.ColorPalette = {0xFF010203};
  EXPECT_EQ(chart.GetDefaultColor(7), 0xFF010203u);
  EXPECT_EQ(chart.GetFreeSeriesColor(true, nullptr), 0xFF010203u);  // fallback of one colour
}

}  // namespace

#include "axes/value_format.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

using namespace sextant;

namespace {

const TFormatSettings kPointComma{".", ","};
const TFormatSettings kCommaPoint{",", "."};
constexpr double kInf = std::numeric_limits<double>::infinity();
constexpr double kNaN = std::numeric_limits<double>::quiet_NaN();

struct Case {
  const char* pattern;
  double value;
  const char* expected;
};

void Check(const Case* begin, const Case* end, const TFormatSettings& settings) {
  for (const Case* c = begin; c != end; ++c)
    EXPECT_EQ(FormatFloat(c->pattern, c->value, settings), c->expected)
        << "pattern \"" << c->pattern << "\" value " << c->value;
}

}  // namespace

TEST(FormatFloat, DefaultValueFormat) {
  const Case cases[] = {
      {"#,##0.###", 12.3456, "12.346"},  {"#,##0.###", 0.12345, "0.123"},
      {"#,##0.###", 94.5, "94.5"},       {"#,##0.###", 1000, "1,000"},
      {"#,##0.###", -2.0004, "-2"},      {"#,##0.###", 1234.5, "1,234.5"},
      {"#,##0.###", 0, "0"},             {"#,##0.###", 999.9996, "1,000"},
      {"#,##0.###", 1234567.891, "1,234,567.891"},
      {"#,##0.###", -1234567, "-1,234,567"},
      {"#,##0.###", 100, "100"},         {"#,##0.###", 100000, "100,000"},
      {"#,##0.###", 0.0005, "0.001"},    {"#,##0.###", 0.0004999, "0"},
      {"#,##0.###", -0.0004, "0"},       {"#,##0.###", -0.0005, "-0.001"},
      {"#,##0.###", 2.5, "2.5"},         {"#,##0.###", 1e15, "1,000,000,000,000,000"},
  };
  Check(std::begin(cases), std::end(cases), kPointComma);
}

TEST(FormatFloat, HostSeparators) {
  const Case cases[] = {
      {"#,##0.###", 12.3456, "12,346"}, {"#,##0.###", 1000, "1.000"},
      {"#,##0.###", 1234.5, "1.234,5"}, {"#,##0.###", -1234567.25, "-1.234.567,25"},
      {"0.00", 2.675, "2,68"},          {"##0.## %", 12.5, "12,5 %"},
  };
  Check(std::begin(cases), std::end(cases), kCommaPoint);
  // Multi-character separators are written whole.
  EXPECT_EQ(FormatFloat("#,##0.0", 1234567.5, {"\xC2\xB7", "\xE2\x80\xAF"}), "1\xE2\x80\xAF" "234\xE2\x80\xAF" "567\xC2\xB7" "5");
  EXPECT_EQ(FormatFloat("#,##0", 1234567, {".", ""}), "1234567");
}

// Texts are kept for values formatted again (a chart formats its labels
// several times a paint): the same value must still follow the separators
// and the pattern of each call.
TEST(FormatFloat, RepeatedValuesFollowSeparatorsAndPattern) {
  for (int round = 0; round < 3; ++round) {
    EXPECT_EQ(FormatFloat("#,##0.###", 1234.5, kPointComma), "1,234.5");
    EXPECT_EQ(FormatFloat("#,##0.###", 1234.5, kCommaPoint), "1.234,5");
    EXPECT_EQ(FormatFloat("#,##0.00", 1234.5, kPointComma), "1,234.50");
    EXPECT_EQ(FormatFloat("#,##0.###", -1234.5, kPointComma), "-1,234.5");
    EXPECT_EQ(FormatFloat("0", 0.0, kPointComma), "0");
    EXPECT_EQ(FormatFloat("0", -0.0, kPointComma), "0");
  }
  // Many values in turn (more than are kept) and then the first again.
  for (int i = 0; i < 500; ++i)
    ASSERT_EQ(FormatFloat("0", i, kPointComma), std::to_string(i));
  EXPECT_EQ(FormatFloat("0", 7, kPointComma), "7");
}

TEST(FormatFloat, PercentPatternCopiesTextWithoutScaling) {
  const Case cases[] = {
      {"##0.## %", 0, "0 %"},       {"##0.## %", 100, "100 %"},
      {"##0.## %", 33.3333, "33.33 %"}, {"##0.## %", 0.5, "0.5 %"},
      {"##0.## %", -7.125, "-7.13 %"},  {"##0.## %", 12345.678, "12345.68 %"},
  };
  Check(std::begin(cases), std::end(cases), kPointComma);
}

TEST(FormatFloat, RoundsHalvesAwayFromZeroOnTheWrittenDigits) {
  const Case cases[] = {
      {"0.00", 2.675, "2.68"},  {"0.00", 1.005, "1.01"},   {"0.00", -2.675, "-2.68"},
      {"0.00", 1.004999, "1.00"}, {"0.00", 0.125, "0.13"}, {"0", 0.5, "1"},
      {"0", 1.5, "2"},          {"0", 2.5, "3"},           {"0", -2.5, "-3"},
      {"0", 0.4999999, "0"},    {"0.0", 9.95, "10.0"},     {"0.0", 0.05, "0.1"},
      {"0.00", 0.005, "0.01"},  {"0.00", 0.0049, "0.00"},  {"#", 9.5, "10"},
  };
  Check(std::begin(cases), std::end(cases), kPointComma);
}

TEST(FormatFloat, ZeroAndHashPlaces) {
  const Case cases[] = {
      {"0.00", 3, "3.00"},      {"0.0#", 3.1, "3.1"},     {"0.0#", 3, "3.0"},    {"0.0#", 3.123, "3.12"},
      {"000", 7, "007"},        {"#,000", 7, "007"},      {"#,#00", 12345, "12,345"},
      {"#.##", 0.5, ".5"},      {"#.##", 0, ""},          {"#", 0, ""},
      {"00.#", -0.04, "00"},    {".00", 12.5, "12.50"},   {"0000000", 1234, "0001234"},
      {"#,0000000", 1234, "0,001,234"},
  };
  Check(std::begin(cases), std::end(cases), kPointComma);
}

TEST(FormatFloat, LiteralAndQuotedText) {
  const Case cases[] = {
      {"$#,##0.00", 1234.5, "$1,234.50"},
      {"$#,##0.00", -1234.5, "-$1,234.50"},
      {"'#,##0: '0.0", 2.25, "#,##0: 2.3"},
      {"\"x.\"0.0\" ms\"", 2, "x.2.0 ms"},
      {"0.0 'kg' (approx)", 3.14159, "3.1 kg (approx)"},
      {"0-00", 12345, "123-45"},
      {"0.0.0", 1.25, "1.2.5"},  // only the first point is the decimal point
      {"0.0'unterminated", 1, "1.0unterminated"},
      {"0 \xE2\x82\xAC", 5, "5 \xE2\x82\xAC"},
  };
  Check(std::begin(cases), std::end(cases), kPointComma);
}

TEST(FormatFloat, NoNegativeZero) {
  for (const char* pattern : {"#,##0.###", "0.00", "##0.## %", "0", "#"}) {
    for (double v : {-0.0, -1e-9, -0.0001, -4e-300}) {
      const std::string text = FormatFloat(pattern, v, kPointComma);
      EXPECT_EQ(text.find('-'), std::string::npos) << pattern << " " << v << " -> " << text;
    }
  }
}

TEST(FormatFloat, SpecialValuesAndDegeneratePatterns) {
  const Case cases[] = {
      {"#,##0.###", kNaN, "NaN"},    {"#,##0.###", kInf, "INF"},  {"#,##0.###", -kInf, "-INF"},
      {"", kNaN, "NaN"},             {"##0.## %", -kInf, "-INF"},
      {"", 12.5, "12.5"},            {"", -0.1, "-0.1"},          {"", -0.0, "0"},
      {"", 1e300, "1e+300"},         {"abc", 5, "5abc"},          {"%", 2.5, "2.5%"},
      {"'0.0'", 3, "30.0"},          {".", 7, "7."},              {"", 1e21, "1e+21"},
      {"#,##0.###", 5e-324, "0"},    {"0.000", -5e-324, "0.000"},
      {"#,##0.###", std::numeric_limits<double>::min(), "0"},
  };
  Check(std::begin(cases), std::end(cases), kPointComma);
}

TEST(FormatFloat, HugeValuesUseTheGeneralForm) {
  const Case cases[] = {
      {"#,##0.###", 1e300, "1e+300"},
      {"#,##0.###", -1e300, "-1e+300"},
      {"##0.## %", 1.7976931348623157e308, "1.7976931348623157e+308 %"},
      {"#,##0", 123456789012345678.0, "123,456,789,012,345,680"},  // 18 digits: still written out
      {"0", 1e19, "1e+19"},
  };
  Check(std::begin(cases), std::end(cases), kPointComma);
  EXPECT_EQ(FormatFloat("#,##0.###", 1e300, kCommaPoint), "1e+300");
  EXPECT_EQ(FormatFloat("0.0", 1.5e20, kCommaPoint), "1,5e+20");
}

TEST(FormatFloat, ManyDecimalPlacesOnTinyValues) {
  const std::string pattern = "0." + std::string(330, '#');
  const std::string text = FormatFloat(pattern, 5e-324, kPointComma);
  ASSERT_EQ(text.size(), 2u + 324u);
  EXPECT_EQ(text.substr(0, 5), "0.000");
  EXPECT_EQ(text.back(), '5');
  EXPECT_EQ(FormatFloat("0." + std::string(20, '0'), 0.1, kPointComma), "0.10000000000000000000");
}

TEST(FormatFloat, UsesThePlatformSettingsByDefault) {
  TFormatSettings saved = KelPlatform().FormatSettings;
  KelPlatform().FormatSettings = kCommaPoint;
  EXPECT_EQ(FormatFloat("#,##0.###", 1234.5), "1.234,5");
  EXPECT_EQ(KelFloatToStr(0.25), "0,25");
  KelPlatform().FormatSettings = saved;
  EXPECT_EQ(FormatFloat("#,##0.###", 1234.5), "1,234.5");
}

TEST(KelFloatToStr, ShortestRoundTrip) {
  struct C { double v; const char* text; };
  const C cases[] = {{0.1, "0.1"}, {1234.5, "1234.5"}, {-2, "-2"}, {1e300, "1e+300"},
                     {5e-324, "5e-324"}, {0.3, "0.3"}, {2.675, "2.675"}, {-0.0, "0"},
                     {kNaN, "NaN"}, {kInf, "INF"}, {-kInf, "-INF"}, {100, "100"}};
  for (const auto& c : cases) EXPECT_EQ(KelFloatToStr(c.v, kPointComma), c.text) << c.v;
  for (double v : {0.1 + 0.2, 1.0 / 3, 123456.789e-200, 9007199254740993.0, 1.7976931348623157e308})
    EXPECT_EQ(std::stod(KelFloatToStr(v, kPointComma)), v);
}

TEST(FormatFloat, ScientificForm) {
  const Case cases[] = {
      {"0.00E+0", 12000, "1.20E+4"},     {"0.00E+0", 0.00012, "1.20E-4"},
      {"0.00E+0", -12000, "-1.20E+4"},   {"0.00E+0", 0, "0.00E+0"},
      {"0.00E+0", -0.0, "0.00E+0"},      {"0.00E+0", 9.999, "1.00E+1"},  // rounding carries
      {"0.00E+0", 1.005, "1.01E+0"},     {"0.00E+0", 1e300, "1.00E+300"},
      {"0.00E+0", 5e-324, "5.00E-324"},  {"0.00E+0", 1.7976931348623157e308, "1.80E+308"},
      {"0.###E0", 12000, "1.2E4"},       {"0.###E0", 123456, "1.235E5"},
      {"0.###E0", 1, "1E0"},             {"0.###E0", -0.5, "-5E-1"},
      {"0.0E00", 12000, "1.2E04"},       {"0.0E00", 0.00012, "1.2E-04"},
      {"0E0", 1.5, "2E0"},               {"0E0", 99999, "1E5"},
      // Two required integer digits: the exponent moves to give them.
      {"00.###E0", 12000, "12E3"},       {"00.###E0", 9.999, "99.99E-1"},
      {"000.0E0", 12000, "120.0E2"},     {"000.0E0", 0, "000.0E0"},
      // Engineering form: exponents are multiples of three.
      {"##0.##E0", 12000, "12E3"},       {"##0.##E0", 0.00012, "120E-6"},
      {"##0.##E0", 123456, "123E3"},     {"##0.##E0", 9.999, "10E0"},
      {"##0.00E0", 12000, "12.0E3"},     {"##0.###E+0", 123456, "123.5E+3"},
      {"##0.##E0", -0.5, "-500E-3"},
      // Text around the number and a grouping mark that has no effect.
      {"0.00E+00 'x'", 12000, "1.20E+04 x"},  {"$0.0E0", 25, "$2.5E1"},
      {"#,##0.0E0", 12345, "1.2E4"},
      // An E without 0 after it, or before any place, is text.
      {"0 E", 5, "5 E"},                 {"0.0 Eur", 2, "2.0 Eur"},
      {"E0", 5, "E5"},                   {"0E+", 7, "7E+"},
      {"0.00E+0", kNaN, "NaN"},          {"0.00E+0", -kInf, "-INF"},
  };
  Check(std::begin(cases), std::end(cases), kPointComma);
  EXPECT_EQ(FormatFloat("0.00E+0", 12000, kCommaPoint), "1,20E+4");
}

TEST(FormatPattern, LayoutOfFixedAndScientificPatterns) {
  struct {
    const char* pattern;
    int intPlaces, minInt, decPlaces, minDec;
    bool grouping, scientific;
    int exponentDigits;
    bool plus;
  } cases[] = {
      {"#,##0.###", 4, 1, 3, 0, true, false, 0, false},
      {"0.00E+0", 1, 1, 2, 2, false, true, 1, true},
      {"##0.0#E000", 3, 1, 2, 1, false, true, 3, false},
      {"'E0' 0.0", 1, 1, 1, 1, false, false, 0, false},  // quoted E is text
      {"0.0E", 1, 1, 1, 1, false, false, 0, false},
      {"0E0 0.0", 1, 1, 0, 0, false, true, 1, false},  // places after the exponent are text
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.pattern);
    const TFormatPattern l = ParseFormatPattern(c.pattern);
    EXPECT_EQ(l.IntPlaces, c.intPlaces);
    EXPECT_EQ(l.MinIntDigits, c.minInt);
    EXPECT_EQ(l.DecPlaces, c.decPlaces);
    EXPECT_EQ(l.MinDecimals, c.minDec);
    EXPECT_EQ(l.Grouping, c.grouping);
    EXPECT_EQ(l.Scientific(), c.scientific);
    EXPECT_EQ(l.ExponentDigits, c.exponentDigits);
    EXPECT_EQ(l.ExponentPlus, c.plus);
  }
  EXPECT_EQ(FormatFloat("0E0 0.0", 5, kPointComma), "5E0 0.0");
}

TEST(FormatPattern, PatternsWithMoreDecimalsAndTheScientificPattern) {
  struct {
    const char* pattern;
    int decimals;
    const char* expected;
  } cases[] = {
      {"#,##0.###", 6, "#,##0.######"}, {"#,##0.###", 2, "#,##0.###"}, {"0", 2, "0.##"},
      {"0 'kg'", 1, "0.# 'kg'"},        {"0. kg", 2, "0.## kg"},       {"0.0 %", 3, "0.0## %"},
      {"abc", 3, "abc"},                {"0.0E0", 3, "0.0##E0"},
  };
  for (const auto& c : cases) EXPECT_EQ(PatternWithDecimals(c.pattern, c.decimals), c.expected) << c.pattern;
  EXPECT_EQ(ScientificPattern(0), "0E+0");
  EXPECT_EQ(ScientificPattern(2), "0.##E+0");
  EXPECT_EQ(FormatFloat(PatternWithDecimals("#,##0.###", 6), 0.0000125, kPointComma), "0.000013");
}

// Compares FormatFloat with ICU's DecimalFormat, an implementation written
// elsewhere, over a large generated table of values and the patterns the
// chart uses. ICU gets the same decimal number that FormatFloat rounds: the
// shortest text that reads back to the double, passed as a decimal string,
// with rounding mode half-up (halves away from zero) and fixed separators
// ('.' decimal, ',' grouping).
//
// Every difference must match one of the narrow rules below, each of which
// is a documented choice of our pattern language; anything else fails.

#include "axes/value_format.h"

#include <gtest/gtest.h>

#include <unicode/dcfmtsym.h>
#include <unicode/decimfmt.h>
#include <unicode/fmtable.h>
#include <unicode/fpositer.h>
#include <unicode/locid.h>
#include <unicode/unistr.h>

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <iostream>
#include <limits>
#include <memory>
#include <random>
#include <string>
#include <vector>

using namespace sextant;

namespace {

const TFormatSettings kPointComma{".", ","};

struct OraclePattern {
  const char* Ours;  // our pattern
  const char* Icu;   // the same pattern in ICU's syntax
  const char* Suffix;  // the pattern's text after the digits
};

// The percent sign is quoted for ICU: in our language it is plain text and
// does not multiply the value by 100.
const OraclePattern kPatterns[] = {
    {"#,##0.###", "#,##0.###", ""}, {"##0.## %", "##0.## '%'", " %"}, {"0.00", "0.00", ""},
    {"#,##0", "#,##0", ""},         {"0", "0", ""},                   {"#.##", "#.##", ""},
    {"000.0", "000.0", ""},
    // Further shapes of the same language: mixed places, six decimals.
    {"#,##0.00", "#,##0.00", ""},   {"0.0#", "0.0#", ""},             {"0.000000", "0.000000", ""},
    // Scientific forms: fixed mantissa digits, optional ones, exponent
    // digits and sign, more integer digits, engineering, text after it.
    {"0.00E+0", "0.00E+0", ""},     {"0.###E0", "0.###E0", ""},       {"0.##E+0", "0.##E+0", ""},
    {"0E+0", "0E+0", ""},           {"0.0E00", "0.0E00", ""},         {"00.###E0", "00.###E0", ""},
    {"000.0E0", "000.0E0", ""},     {"##0.##E0", "##0.##E0", ""},     {"##0.00E+0", "##0.00E+0", ""},
    {"0.00E+0 'u'", "0.00E+0 'u'", " u"},
};

// The shortest decimal digits that read back to the double, in scientific
// form ("2.675e+00", "-1e-300"): the decimal number both sides round. (The
// plain form would spell out every digit of a large integer, 2^60 as
// "1152921504606846976" rather than the shortest "1.152921504606847e+18".)
std::string ShortestDecimal(double v) {
  char buf[64];
  const auto res = std::to_chars(buf, buf + sizeof buf, v, std::chars_format::scientific);
  return std::string(buf, res.ptr);
}

class IcuFormatter {
 public:
  explicit IcuFormatter(const char* pattern) {
    UErrorCode status = U_ZERO_ERROR;
    auto symbols = std::make_unique<icu::DecimalFormatSymbols>(icu::Locale("en_US"), status);
    EXPECT_TRUE(U_SUCCESS(status)) << u_errorName(status);
    symbols->setSymbol(icu::DecimalFormatSymbols::kDecimalSeparatorSymbol, u".");
    symbols->setSymbol(icu::DecimalFormatSymbols::kGroupingSeparatorSymbol, u",");
    symbols->setSymbol(icu::DecimalFormatSymbols::kMinusSignSymbol, u"-");
    FFormat = std::make_unique<icu::DecimalFormat>(icu::UnicodeString::fromUTF8(pattern), symbols.release(),
                                                   status);
    EXPECT_TRUE(U_SUCCESS(status)) << pattern << ": " << u_errorName(status);
    FFormat->setRoundingMode(icu::DecimalFormat::kRoundHalfUp);
  }

  std::string Format(double v) const {
    UErrorCode status = U_ZERO_ERROR;
    const std::string decimal = ShortestDecimal(v);
    icu::Formattable number(icu::StringPiece(decimal.c_str()), status);
    icu::UnicodeString text;
    icu::FieldPosition pos;
    FFormat->format(number, text, pos, status);
    if (U_FAILURE(status)) return std::string("<ICU error ") + u_errorName(status) + ">";
    std::string out;
    text.toUTF8String(out);
    return out;
  }

 private:
  std::unique_ptr<icu::DecimalFormat> FFormat;
};

bool HasNonZeroDigit(const std::string& s) {
  for (char c : s)
    if (c >= '1' && c <= '9') return true;
  return false;
}

// Whether the pattern has a '0' digit place before its decimal point.
bool HasZeroIntegerPlace(const char* pattern) {
  for (const char* c = pattern; *c && *c != '.'; ++c)
    if (*c == '0') return true;
  return false;
}

// Number of integer digits of |v| after rounding to the pattern's decimals,
// read from ICU's text (digits before the decimal point).
int IcuIntegerDigits(const std::string& icu) {
  int n = 0;
  for (char c : icu) {
    if (c == '.') break;
    if (c >= '0' && c <= '9') ++n;
  }
  return n;
}

enum Rule {
  ruleEqual,
  // Rule 1: no negative zero. A negative value that rounds to zero is
  // written without a minus sign ("0.00", not ICU's "-0.00").
  ruleNegativeZero,
  // Rule 2: '#' places write only significant digits. A pattern without
  // a '0' place before the point writes no integer digit for a value whose
  // integer part is zero ("#.##": 0.5 -> ".5", 0 -> ""), where ICU always
  // writes one "0" ("0.5", "0").
  ruleHashZero,
  // Rule 3: integer parts of more than 18 digits are written in the general
  // form in place of the digits ("1e+300 %"); ICU writes every digit. The
  // general form itself is checked here.
  ruleGeneralForm,
  ruleUnexplained,
};

const char* const kRuleNames[] = {"equal", "negative zero", "hash places of zero", "general form of huge values",
                                  "unexplained"};

Rule Classify(const OraclePattern& p, double v, const std::string& ours, const std::string& icu) {
  if (ours == icu) return ruleEqual;
  if (icu.size() == ours.size() + 1 && icu[0] == '-' && icu.compare(1, std::string::npos, ours) == 0 &&
      !HasNonZeroDigit(ours))
    return ruleNegativeZero;
  if (!HasZeroIntegerPlace(p.Ours)) {
    // ICU's text without its lone "0" integer digit, and without the minus
    // sign when nothing but zeros is left.
    std::string t = icu;
    const std::size_t first = t.find_first_of("0123456789");
    if (first != std::string::npos && t[first] == '0' && (first + 1 == t.size() || t[first + 1] < '0' || t[first + 1] > '9')) {
      t.erase(first, 1);
      if (!HasNonZeroDigit(t) && !t.empty() && t[0] == '-') t.erase(0, 1);
      if (ours == t) return ruleHashZero;
    }
  }
  if (IcuIntegerDigits(icu) > 18) {
    const std::string general = (v < 0 ? "-" : "") + KelFloatToStr(std::fabs(v), kPointComma) + p.Suffix;
    if (ours == general) return ruleGeneralForm;
  }
  return ruleUnexplained;
}

// ---- The table of values ---------------------------------------------------------

void AddWithNegative(std::vector<double>& out, double v) {
  out.push_back(v);
  out.push_back(-v);
}

std::vector<double> GenerateValues() {
  std::vector<double> values;
  values.reserve(120000);
  // Integers, powers of ten and their neighbours, powers of two.
  for (int i = 0; i <= 1100; ++i) AddWithNegative(values, i);
  double p10 = 1;
  for (int k = 0; k <= 22; ++k, p10 *= 10) {
    AddWithNegative(values, p10);
    AddWithNegative(values, p10 - 1);
    AddWithNegative(values, p10 + 1);
    AddWithNegative(values, 1 / p10);
  }
  for (int k = 0; k <= 70; ++k) AddWithNegative(values, std::ldexp(1.0, k));
  // Halves and thirds, at several scales.
  for (int i = 0; i <= 2000; ++i) AddWithNegative(values, i + 0.5);
  for (int i = 0; i <= 3000; ++i) AddWithNegative(values, i / 3.0);
  for (int e = -10; e <= 12; ++e)
    for (int i = 1; i <= 30; ++i) AddWithNegative(values, i / 3.0 * std::pow(10.0, e));
  // Values on the rounding boundaries of 0 to 4 decimals (x.5, x.x5, x.xx5,
  // x.xxx5, x.xxxx5) and the doubles right next to them.
  for (int d = 0; d <= 4; ++d) {
    const double scale = std::pow(10.0, d);
    for (int i = 0; i <= 4000; ++i) {
      const double b = (i + 0.5) / scale;
      AddWithNegative(values, b);
      AddWithNegative(values, std::nextafter(b, 0.0));
      AddWithNegative(values, std::nextafter(b, 1e300));
    }
  }
  // Huge and tiny magnitudes.
  const double special[] = {1e15,
                            123456789012345.678,
                            999999999999999.9,
                            9007199254740992.0,
                            9007199254740993.0,
                            1e17,
                            999999999999999872.0,
                            999999999999999999.0,
                            1e18,
                            1.5e18,
                            1e19,
                            1e20,
                            1e21,
                            1e100,
                            1e300,
                            std::numeric_limits<double>::max(),
                            1e-3,
                            4.9999e-4,
                            5e-4,
                            1e-5,
                            1e-10,
                            1e-300,
                            std::numeric_limits<double>::min(),
                            std::numeric_limits<double>::min() / 3,
                            std::numeric_limits<double>::denorm_min(),
                            0.0};
  for (double v : special) AddWithNegative(values, v);
  // Random doubles from a fixed seed: plain ranges, every magnitude, short
  // decimals, and arbitrary bit patterns.
  std::mt19937_64 rng(20261210);
  std::uniform_real_distribution<double> unit(0.0, 1.0);
  std::uniform_int_distribution<int> exp10(-12, 21);
  std::uniform_int_distribution<int> places(0, 6);
  std::uniform_int_distribution<std::int64_t> mantissa(0, 99999999);
  for (int i = 0; i < 10000; ++i) AddWithNegative(values, unit(rng) * 2e6 - 1e6);
  for (int i = 0; i < 10000; ++i) AddWithNegative(values, unit(rng) * std::pow(10.0, exp10(rng)));
  for (int i = 0; i < 10000; ++i)
    AddWithNegative(values, static_cast<double>(mantissa(rng)) / std::pow(10.0, places(rng)));
  for (int i = 0; i < 5000; ++i) {
    double v;
    do {
      const std::uint64_t bits = rng();
      std::memcpy(&v, &bits, sizeof v);
    } while (!std::isfinite(v));
    values.push_back(v);
  }
  return values;
}

}  // namespace

TEST(IcuFormatOracle, OurPatternsAgreeWithIcuDecimalFormat) {
  const std::vector<double> values = GenerateValues();
  long counts[ruleUnexplained + 1] = {};
  long compared = 0;
  for (const OraclePattern& p : kPatterns) {
    const IcuFormatter icu(p.Icu);
    int reported = 0;
    long patternCounts[ruleUnexplained + 1] = {};
    for (double v : values) {
      const std::string ours = FormatFloat(p.Ours, v, kPointComma);
      const std::string theirs = icu.Format(v);
      const Rule rule = Classify(p, v, ours, theirs);
      ++counts[rule];
      ++patternCounts[rule];
      ++compared;
      if (rule == ruleUnexplained && reported++ < 20)
        ADD_FAILURE() << "pattern \"" << p.Ours << "\" value " << ShortestDecimal(v) << ": ours \"" << ours
                      << "\", ICU \"" << theirs << "\"";
    }
    std::cout << "pattern \"" << p.Ours << "\":";
    for (int r = ruleEqual; r <= ruleUnexplained; ++r)
      if (patternCounts[r]) std::cout << " " << kRuleNames[r] << " " << patternCounts[r] << ";";
    std::cout << "\n";
  }
  std::cout << "compared " << compared << " texts (" << values.size() << " values x " << std::size(kPatterns)
            << " patterns):";
  for (int r = ruleEqual; r <= ruleUnexplained; ++r) std::cout << " " << kRuleNames[r] << " " << counts[r] << ";";
  std::cout << "\n";
  EXPECT_EQ(counts[ruleUnexplained], 0);
  // The table really exercises the patterns: most texts agree outright.
  EXPECT_GT(counts[ruleEqual], compared * 9 / 10);
}

// The rules themselves: each accepts exactly its own difference.
TEST(IcuFormatOracle, ExclusionRulesAreNarrow) {
  const OraclePattern& value = kPatterns[0];
  const OraclePattern& hash = kPatterns[5];
  const OraclePattern& percent = kPatterns[1];
  EXPECT_EQ(Classify(value, -0.0001, "0", "-0"), ruleNegativeZero);
  EXPECT_EQ(Classify(value, -1, "1", "-1"), ruleUnexplained);  // a lost sign is a fault
  EXPECT_EQ(Classify(hash, 0, "", "0"), ruleHashZero);
  EXPECT_EQ(Classify(hash, -0.001, "", "-0"), ruleHashZero);
  EXPECT_EQ(Classify(hash, 0.5, ".5", "0.5"), ruleHashZero);
  EXPECT_EQ(Classify(hash, -0.5, "-.5", "-0.5"), ruleHashZero);
  EXPECT_EQ(Classify(hash, -0.5, ".5", "-0.5"), ruleUnexplained);  // the sign must stay
  EXPECT_EQ(Classify(hash, 10.5, "1.5", "10.5"), ruleUnexplained);  // only a lone 0 may go
  EXPECT_EQ(Classify(value, 0, "", "0"), ruleUnexplained);  // "#,##0.###" has a 0 place
  EXPECT_EQ(Classify(value, 0.5, ".5", "0.5"), ruleUnexplained);
  EXPECT_EQ(Classify(percent, 1e300, "1e+300 %", "1" + std::string(300, '0') + " %"), ruleGeneralForm);
  EXPECT_EQ(Classify(percent, 1e17, "1e+17 %", "100000000000000000 %"), ruleUnexplained);
  EXPECT_EQ(Classify(value, 2.675, "2.67", "2.675"), ruleUnexplained);
}

// ICU's own answers for the documented examples: the oracle is set up as
// intended (decimal input, half-up, no percent scaling).
TEST(IcuFormatOracle, IcuIsConfiguredAsOurLanguage) {
  EXPECT_EQ(IcuFormatter("0.00").Format(2.675), "2.68");
  EXPECT_EQ(IcuFormatter("0.00").Format(1.005), "1.01");
  EXPECT_EQ(IcuFormatter("0").Format(-2.5), "-3");
  EXPECT_EQ(IcuFormatter("##0.## '%'").Format(12.5), "12.5 %");
  EXPECT_EQ(IcuFormatter("#,##0.###").Format(1234567.891), "1,234,567.891");
  EXPECT_EQ(IcuFormatter("0.00E+0").Format(12000), "1.20E+4");
  EXPECT_EQ(IcuFormatter("0.00E+0").Format(0.00012), "1.20E-4");
  EXPECT_EQ(IcuFormatter("##0.##E0").Format(0.00012), "120E-6");
}

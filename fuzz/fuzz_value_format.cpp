// Fuzz target: FormatFloat over pattern x value.
//
// Input: a mode byte, then the value (raw bits, a table of special values, a
// short decimal, or a mantissa scaled by a power of two down into the
// subnormals), then the pattern: either raw bytes or a pattern built from
// the pieces of the language (literal prefix, integer places with grouping
// commas, a point, decimal places, literal suffix).
//
// Every input checks: NaN and the infinities give their fixed texts; the
// text is bounded by the pattern's length; a negative value gives "-" plus
// the text of its magnitude when a non-zero digit is shown, and the very
// same text otherwise (no "-0"). Built patterns also check the number part
// against the pattern rules: digit counts, grouping by three, dropped
// trailing '#' zeros, and a value within half a unit of the last place.
#include <cmath>
#include <cstdlib>
#include <limits>
#include <string>

#include "axes/value_format.h"
#include "fuzz/fuzz_support.h"

using namespace sextant;

namespace {

const TFormatSettings kSettings[] = {{".", ","}, {",", "."}, {"\xC2\xB7", "__"}};

double PickValue(TFuzzInput& in, int mode) {
  switch (mode) {
    case 0:
      return in.RawDouble();
    case 1: {
      static const double kSpecial[] = {std::numeric_limits<double>::quiet_NaN(),
                                        std::numeric_limits<double>::infinity(),
                                        -std::numeric_limits<double>::infinity(),
                                        0.0,
                                        -0.0,
                                        std::numeric_limits<double>::max(),
                                        -std::numeric_limits<double>::max(),
                                        std::numeric_limits<double>::min(),
                                        std::numeric_limits<double>::denorm_min(),
                                        -std::numeric_limits<double>::denorm_min(),
                                        0.5,
                                        -0.5,
                                        2.675,
                                        1.005,
                                        999999999999999872.0,
                                        1e18,
                                        -1e18,
                                        9.5,
                                        0.0005,
                                        1e-300};
      return kSpecial[in.Byte() % std::size(kSpecial)];
    }
    case 2: {
      // A short decimal m / 10^k, often a half on some place.
      const auto m = static_cast<std::int64_t>(in.U64() % 100000000000000000ULL);
      const int k = in.SmallIn(0, 25);
      const bool negative = in.Byte() & 1;
      const double v = static_cast<double>(m) / std::pow(10.0, k);
      return negative ? -v : v;
    }
    default: {
      // A 53-bit mantissa scaled over the whole exponent range.
      const std::uint64_t m = in.U64() & ((1ULL << 53) - 1);
      const int e = in.IntIn(-1130, 1030);
      const double v = std::ldexp(static_cast<double>(m), e);
      return (in.Byte() & 1) ? -v : v;
    }
  }
}

// What a built pattern asks for.
struct TBuiltPattern {
  std::string Pattern;
  std::string Prefix;  // text written before the number (quotes removed)
  std::string Suffix;  // text written after it
  std::string AllText;  // every character copied when there are no places
  int IntPlaces = 0;
  int MinIntDigits = 0;
  int DecPlaces = 0;
  int MinDecimals = 0;
  bool Grouping = false;
  bool Point = false;
};

void AddLiteral(TFuzzInput& in, const char* const* pieces, const char* const* texts, std::size_t count,
                std::string& pattern, std::string& text) {
  const int n = in.SmallIn(0, 3);
  for (int i = 0; i < n; ++i) {
    const std::size_t k = in.Byte() % count;
    pattern += pieces[k];
    text += texts[k];
  }
}

TBuiltPattern BuildPattern(TFuzzInput& in) {
  static const char* const kPrefix[] = {"$", " ", "a", "%", "-", "'q.,0#'", "\"Q\""};
  static const char* const kPrefixText[] = {"$", " ", "a", "%", "-", "q.,0#", "Q"};
  static const char* const kSuffix[] = {" %", "'kg'", "x", " ", "%", "'.,'"};
  static const char* const kSuffixText[] = {" %", "kg", "x", " ", "%", ".,"};
  TBuiltPattern b;
  AddLiteral(in, kPrefix, kPrefixText, std::size(kPrefix), b.Pattern, b.Prefix);
  b.AllText = b.Prefix;
  const int intChars = in.SmallIn(0, 24);
  int firstZero = -1;
  for (int i = 0; i < intChars; ++i) {
    const char c = "#0,"[in.Byte() % 3];
    b.Pattern += c;
    if (c == ',') {
      b.Grouping = true;
      b.AllText += c;
    } else {
      if (c == '0' && firstZero < 0) firstZero = b.IntPlaces;
      ++b.IntPlaces;
    }
  }
  if (firstZero >= 0) b.MinIntDigits = b.IntPlaces - firstZero;
  b.Point = in.Byte() & 1;
  if (b.Point) {
    b.Pattern += '.';
    b.AllText += '.';
    const int decChars = in.SmallIn(0, 20);
    for (int i = 0; i < decChars; ++i) {
      const char c = "#0"[in.Byte() & 1];
      b.Pattern += c;
      ++b.DecPlaces;
      if (c == '0') b.MinDecimals = b.DecPlaces;
    }
  }
  AddLiteral(in, kSuffix, kSuffixText, std::size(kSuffix), b.Pattern, b.Suffix);
  b.AllText += b.Suffix;
  return b;
}

bool HasNonZeroDigit(const std::string& s) {
  for (char c : s)
    if (c >= '1' && c <= '9') return true;
  return false;
}

bool AllDigits(const std::string& s) {
  for (char c : s)
    if (c < '0' || c > '9') return false;
  return true;
}

std::string Context(const std::string& pattern, double v, const std::string& text) {
  return "pattern \"" + pattern + "\" value " + FuzzShow(v) + " -> \"" + text + "\"";
}

// The number part of a built pattern's text: the grouped integer digits and
// the decimals, checked against the pattern's places.
void CheckNumber(const TBuiltPattern& b, double magnitude, const std::string& number, const TFormatSettings& s,
                 const std::string& ctx) {
  const std::string general = KelFloatToStr(magnitude, s);
  if (magnitude >= 1.000001e18) {
    FUZZ_CHECK(number == general, "huge magnitudes use the general form: " + ctx);
    return;
  }
  // Values just below 1e18 may round up to 19 digits and so to the general form.
  if (magnitude >= 9.9e17 && number == general) return;
  // Split off the decimals.
  std::string intPart = number;
  std::string frac;
  const std::size_t point = number.find(s.DecimalSeparator);
  if (point != std::string::npos) {
    intPart = number.substr(0, point);
    frac = number.substr(point + s.DecimalSeparator.size());
    FUZZ_CHECK(!frac.empty(), "a decimal separator is written only before decimals: " + ctx);
  }
  // Ungroup the integer digits: groups of three after a first group of one to three.
  std::string digits;
  if (b.Grouping && !intPart.empty()) {
    std::size_t start = 0;
    bool first = true;
    while (true) {
      const std::size_t sep = intPart.find(s.ThousandSeparator, start);
      const std::string group = intPart.substr(start, sep == std::string::npos ? std::string::npos : sep - start);
      FUZZ_CHECK(first ? (group.size() >= 1 && group.size() <= 3) : group.size() == 3,
                 "groups of three digits: " + ctx);
      digits += group;
      first = false;
      if (sep == std::string::npos) break;
      start = sep + s.ThousandSeparator.size();
    }
  } else {
    digits = intPart;
  }
  FUZZ_CHECK(AllDigits(digits) && AllDigits(frac), "digits only: " + ctx);
  const int ni = static_cast<int>(digits.size());
  const int nf = static_cast<int>(frac.size());
  FUZZ_CHECK(ni >= b.MinIntDigits, "at least the pattern's integer zeros: " + ctx);
  FUZZ_CHECK(ni <= b.MinIntDigits || digits[0] != '0', "no leading zero beyond the pattern's: " + ctx);
  FUZZ_CHECK(ni <= std::max(18, b.MinIntDigits), "at most 18 integer digits written out: " + ctx);
  FUZZ_CHECK(nf >= b.MinDecimals && nf <= b.DecPlaces, "decimals within the pattern's places: " + ctx);
  FUZZ_CHECK(nf <= b.MinDecimals || frac.back() != '0', "no trailing zero on a '#' place: " + ctx);
  if (b.IntPlaces == 0 && !b.Point) return;
  // The written number is the value rounded to DecPlaces decimals.
  const std::string plain = (digits.empty() ? "0" : digits) + (frac.empty() ? "" : "." + frac);
  const double written = std::strtod(plain.c_str(), nullptr);
  const double unit = std::pow(10.0, -b.DecPlaces);
  const double ulp = std::nextafter(std::max(magnitude, written), std::numeric_limits<double>::infinity()) -
                     std::max(magnitude, written);
  const double tolerance = 0.5 * unit * (1 + 1e-9) + 2 * ulp;
  FUZZ_CHECK(std::fabs(written - magnitude) <= tolerance,
             "within half a unit of the last place (written " + FuzzShow(written) + "): " + ctx);
}

void CheckBuilt(const TBuiltPattern& b, double v, const std::string& text, const TFormatSettings& s) {
  const std::string ctx = Context(b.Pattern, v, text);
  const double magnitude = std::fabs(v);
  if (b.IntPlaces + b.DecPlaces == 0) {
    FUZZ_CHECK(text == KelFloatToStr(v, s) + b.AllText, "no places: general form and the pattern's text: " + ctx);
    return;
  }
  const std::string positive = FormatFloat(b.Pattern, magnitude, s);
  const bool minus = v < 0 && text.size() == positive.size() + 1;
  const std::string lead = (minus ? "-" : "") + b.Prefix;
  FUZZ_CHECK(text.compare(0, lead.size(), lead) == 0, "sign and prefix first: " + ctx);
  FUZZ_CHECK(text.size() >= lead.size() + b.Suffix.size() &&
                 text.compare(text.size() - b.Suffix.size(), b.Suffix.size(), b.Suffix) == 0,
             "suffix last: " + ctx);
  const std::string number = text.substr(lead.size(), text.size() - lead.size() - b.Suffix.size());
  CheckNumber(b, magnitude, number, s, ctx);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* Data, std::size_t Size) {
  TFuzzInput in(Data, Size);
  const std::uint8_t mode = in.Byte();
  const TFormatSettings& settings = kSettings[(mode >> 2) % std::size(kSettings)];
  const double v = PickValue(in, mode & 3);
  const bool built = mode & 0x40;

  TBuiltPattern b;
  std::string pattern;
  if (built) {
    b = BuildPattern(in);
    pattern = b.Pattern;
  } else {
    // Raw pattern bytes; non-zero digits become letters so that every
    // non-zero digit of the text comes from the value.
    pattern = in.Text(512);
    for (char& c : pattern)
      if (c >= '1' && c <= '9') c = 'x';
  }

  const std::string text = FormatFloat(pattern, v, settings);
  const std::string ctx = Context(pattern, v, text);

  if (std::isnan(v)) {
    FUZZ_CHECK(text == "NaN", ctx);
    return 0;
  }
  if (std::isinf(v)) {
    FUZZ_CHECK(text == (v > 0 ? "INF" : "-INF"), ctx);
    return 0;
  }

  const std::size_t separators = settings.DecimalSeparator.size() + settings.ThousandSeparator.size();
  FUZZ_CHECK(text.size() <= 64 + pattern.size() * (3 + separators), "text length bounded: " + ctx);

  // The sign: "-" plus the magnitude's text exactly when a non-zero digit shows.
  const std::string positive = FormatFloat(pattern, std::fabs(v), settings);
  const std::string negative = FormatFloat(pattern, -std::fabs(v), settings);
  if (HasNonZeroDigit(positive))
    FUZZ_CHECK(negative == "-" + positive, "minus sign on a non-zero text: " + Context(pattern, -std::fabs(v), negative));
  else
    FUZZ_CHECK(negative == positive, "no negative zero: " + Context(pattern, -std::fabs(v), negative));

  if (built) CheckBuilt(b, v, text, settings);
  return 0;
}

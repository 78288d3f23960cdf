// Number texts. The pieces: the pattern's layout (format_pattern.h), the
// decimal digits of the value (decimal_digits.h), and here the two forms
// that write them through the pattern: fixed (digits placed around the
// decimal point) and scientific (a mantissa and an exponent). Both share
// one writer of the pattern's characters.
#include "axes/value_format.h"

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
#include <functional>

#include "axes/decimal_digits.h"

namespace sextant {

namespace {

// Integer parts longer than this are written in the general form instead of
// digit by digit (a 300-digit label helps nobody).
constexpr int KelMaxPatternIntDigits = 18;

const char* SpecialText(double value) {
  if (std::isnan(value)) return "NaN";
  if (std::isinf(value)) return value > 0 ? "INF" : "-INF";
  return nullptr;
}

// Copies the quoted text starting at Pattern[i] (a quote) to Out and returns
// the index of the closing quote (or the end of an unterminated text).
std::size_t CopyQuoted(std::string_view pattern, std::size_t i, std::string& out) {
  const char quote = pattern[i];
  std::size_t j = i + 1;
  while (j < pattern.size() && pattern[j] != quote) out += pattern[j++];
  return j;
}

// What goes into the number places of a pattern: the digits with IntShown
// integer digits and FracShown decimals, or (General) the general form of
// the magnitude in place of all of them; Exponent is written in place of the
// pattern's exponent.
struct TNumberText {
  explicit TNumberText(const TDecimalDigits& D) : Digits(D) {}
  const TDecimalDigits& Digits;
  int IntShown = 0;
  int FracShown = 0;
  bool Negative = false;
  bool Grouping = false;
  bool General = false;
  double Magnitude = 0;  // for the general form
  std::string_view Exponent;
};

// Writes the pattern's characters with the number in its places.
std::string WritePattern(std::string_view pattern, const TFormatPattern& layout, const TNumberText& n,
                         const TFormatSettings& settings) {
  const TDecimalDigits& d = n.Digits;
  std::string out;
  out.reserve(pattern.size() + static_cast<std::size_t>(n.IntShown) * (1 + settings.ThousandSeparator.size()) +
              static_cast<std::size_t>(n.FracShown) + settings.DecimalSeparator.size() + n.Exponent.size() + 2);
  if (n.Negative) out += '-';

  // Integer digit at position Pos counted from the units (0) leftwards.
  auto emitIntDigit = [&](int pos) {
    out += d.At(d.IntDigits - 1 - pos);
    if (n.Grouping && pos > 0 && pos % 3 == 0) out += settings.ThousandSeparator;
  };
  // The integer digits from the highest shown position down to Lowest: the
  // first place takes every digit that has no place of its own. In the
  // general form the whole magnitude goes there instead.
  auto emitIntDigits = [&](int lowest) {
    if (n.General) {
      out += KelFloatToStr(n.Magnitude, settings);
      return;
    }
    for (int pos = n.IntShown - 1; pos >= lowest; --pos) emitIntDigit(pos);
  };

  const std::size_t numberEnd = layout.Scientific() ? layout.ExponentPos : pattern.size();
  int intSeen = 0;
  int decSeen = 0;
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    const char c = pattern[i];
    if (IsPatternQuote(c)) {
      i = CopyQuoted(pattern, i, out);
      continue;
    }
    if (i == numberEnd) {  // the exponent
      out += n.Exponent;
      i = layout.ExponentEnd - 1;
      continue;
    }
    const bool inNumber = i < numberEnd;
    const bool beforePoint = i < layout.DecimalPos;
    if (inNumber && i == layout.DecimalPos) {
      if (layout.IntPlaces == 0) emitIntDigits(0);
      if (!n.General && n.FracShown > 0) out += settings.DecimalSeparator;
    } else if (inNumber && (c == '0' || c == '#')) {
      if (beforePoint) {
        const int place = layout.IntPlaces - 1 - intSeen;  // position of this place
        if (intSeen == 0)
          emitIntDigits(place);
        else if (!n.General && place < n.IntShown)
          emitIntDigit(place);
        ++intSeen;
      } else {
        if (!n.General && decSeen < n.FracShown) out += d.At(d.IntDigits + decSeen);
        ++decSeen;
      }
    } else if (inNumber && c == ',' && beforePoint) {
      // grouping marker, not written
    } else {
      out += c;
    }
  }
  return out;
}

// The general form followed by the pattern's text, for patterns without
// digit places.
std::string GeneralWithText(std::string_view pattern, double value, const TFormatSettings& settings) {
  std::string out = KelFloatToStr(value, settings);
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    if (IsPatternQuote(pattern[i]))
      i = CopyQuoted(pattern, i, out);
    else
      out += pattern[i];
  }
  return out;
}

}  // namespace

std::string KelFloatToStr(double Value, const TFormatSettings& Settings) {
  if (const char* special = SpecialText(Value)) return special;
  if (Value == 0) return "0";  // also negative zero
  char buf[40];
  const auto res = std::to_chars(buf, buf + sizeof buf, Value);
  std::string out;
  out.reserve(static_cast<std::size_t>(res.ptr - buf) + Settings.DecimalSeparator.size());
  for (const char* p = buf; p < res.ptr; ++p) {
    if (*p == '.')
      out += Settings.DecimalSeparator;
    else
      out += *p;
  }
  return out;
}

std::string FormatFixed(std::string_view Pattern, const TFormatPattern& Layout, double Value,
                        const TFormatSettings& Settings) {
  if (const char* special = SpecialText(Value)) return special;
  if (!Layout.HasPlaces()) return GeneralWithText(Pattern, Value, Settings);
  TDecimalDigits d = DecomposeDecimal(std::fabs(Value));
  RoundToDecimals(d, Layout.DecPlaces);
  TNumberText n{d};
  n.Negative = Value < 0 && d.Length > 0;
  n.General = d.IntDigits > KelMaxPatternIntDigits;
  n.Magnitude = std::fabs(Value);
  n.Grouping = Layout.Grouping;
  n.IntShown = std::max(std::max(d.IntDigits, 0), Layout.MinIntDigits);
  // d has no trailing zeros, so its last digit is the last significant
  // decimal (the rounding left at most DecPlaces of them).
  n.FracShown = std::max(Layout.MinDecimals, std::max(0, d.Length - d.IntDigits));
  return WritePattern(Pattern, Layout, n, Settings);
}

std::string FormatScientific(std::string_view Pattern, const TFormatPattern& Layout, double Value,
                             const TFormatSettings& Settings) {
  if (const char* special = SpecialText(Value)) return special;
  if (!Layout.Scientific()) return FormatFixed(Pattern, Layout, Value, Settings);
  // Engineering form when the integer places allow more digits than they
  // require: the exponent is a multiple of the places, the mantissa has 1
  // to IntPlaces integer digits. Otherwise the mantissa has exactly
  // max(1, MinIntDigits) integer digits.
  const bool engineering = Layout.IntPlaces > Layout.MinIntDigits && Layout.IntPlaces > 1;
  const int minInt = std::max(1, Layout.MinIntDigits);
  // Significant digits: at most the integer digits the mantissa needs
  // (one in the engineering form) plus the decimal places, at least the 0
  // places.
  const int maxSignificant = (engineering ? 1 : minInt) + Layout.DecPlaces;
  const int minSignificant = Layout.MinIntDigits + Layout.MinDecimals;

  TDecimalDigits d = DecomposeDecimal(std::fabs(Value));
  RoundToSignificant(d, maxSignificant);
  // The exponent of the first digit, then the exponent written.
  const int lead = d.Length > 0 ? d.IntDigits - 1 : 0;
  int exponent;
  int intShown;
  if (d.Length == 0) {
    exponent = 0;
    intShown = minInt;
  } else if (engineering) {
    const int places = Layout.IntPlaces;
    exponent = (lead >= 0 ? lead / places : -((-lead + places - 1) / places)) * places;
    intShown = lead - exponent + 1;
  } else {
    exponent = lead - (minInt - 1);
    intShown = minInt;
  }
  // The mantissa: the same digits with IntShown of them before the point.
  TDecimalDigits mantissa = d;
  if (d.Length > 0) mantissa.IntDigits = intShown;
  TNumberText n{mantissa};
  n.Negative = Value < 0 && d.Length > 0;
  n.IntShown = intShown;
  n.FracShown = std::max({0, mantissa.Length - intShown, minSignificant - intShown});
  if (d.Length == 0) n.FracShown = Layout.MinDecimals;

  // 'E', the sign and at least ExponentDigits digits (at most 10 of them
  // padded: no exponent has more than 3).
  char exp[16];
  int len = 0;
  exp[len++] = 'E';
  if (exponent < 0)
    exp[len++] = '-';
  else if (Layout.ExponentPlus)
    exp[len++] = '+';
  char digits[12];
  const auto res = std::to_chars(digits, digits + sizeof digits, exponent < 0 ? -exponent : exponent);
  const int count = static_cast<int>(res.ptr - digits);
  for (int k = count; k < Layout.ExponentDigits && len < 12; ++k) exp[len++] = '0';
  for (int k = 0; k < count; ++k) exp[len++] = digits[k];
  n.Exponent = std::string_view(exp, static_cast<std::size_t>(len));
  return WritePattern(Pattern, Layout, n, Settings);
}

namespace {

// The texts of recently formatted values. A chart writes the same labels
// several times in every paint (to size the axes, to draw them, for the
// marks); the text depends only on the pattern, the value and the
// separators, so a text found here is the one formatting would write.
struct TFormatMemo {
  bool Used = false;
  std::uint64_t Bits = 0;
  std::string Pattern, Decimal, Thousand, Text;
};
constexpr std::size_t KFormatMemoSlots = 128;

TFormatMemo& MemoSlot(std::string_view pattern, std::uint64_t bits) {
  thread_local TFormatMemo memo[KFormatMemoSlots];
  // Label values are round numbers, whose low bits are all zero: the
  // value's bits are mixed so that its high bits choose the slot.
  std::uint64_t h = (bits ^ std::hash<std::string_view>{}(pattern)) * 0x9E3779B97F4A7C15ull;
  h ^= h >> 32;
  return memo[(h >> 24) % KFormatMemoSlots];
}

}  // namespace

std::string FormatFloat(std::string_view Pattern, const TFormatPattern& Layout, double Value,
                        const TFormatSettings& Settings) {
  if (const char* special = SpecialText(Value)) return special;
  if (Pattern.empty()) return KelFloatToStr(Value, Settings);
  std::uint64_t bits;
  std::memcpy(&bits, &Value, sizeof bits);
  TFormatMemo& slot = MemoSlot(Pattern, bits);
  if (slot.Used && slot.Bits == bits && slot.Pattern == Pattern && slot.Decimal == Settings.DecimalSeparator &&
      slot.Thousand == Settings.ThousandSeparator)
    return slot.Text;
  std::string text = Layout.Scientific() ? FormatScientific(Pattern, Layout, Value, Settings)
                                         : FormatFixed(Pattern, Layout, Value, Settings);
  slot.Used = true;
  slot.Bits = bits;
  slot.Pattern.assign(Pattern);
  slot.Decimal = Settings.DecimalSeparator;
  slot.Thousand = Settings.ThousandSeparator;
  slot.Text = text;
  return text;
}

std::string FormatFloat(const std::string& Pattern, double Value, const TFormatSettings& Settings) {
  // Axis labels format many values with one pattern in every paint: the
  // last pattern's parse is kept (parsing depends on the pattern alone).
  thread_local std::string lastPattern;
  thread_local TFormatPattern lastLayout;
  thread_local bool parsed = false;
  if (!parsed || Pattern != lastPattern) {
    lastLayout = ParseFormatPattern(Pattern);
    lastPattern = Pattern;
    parsed = true;
  }
  return FormatFloat(Pattern, lastLayout, Value, Settings);
}

}  // namespace sextant

#include "axes/value_format.h"

#include <algorithm>
#include <charconv>
#include <cmath>

namespace sextant {

namespace {

// Integer parts longer than this are written in the general form instead of
// digit by digit (a 300-digit label helps nobody).
constexpr int KelMaxPatternIntDigits = 18;

// A non-negative finite value as decimal digits: value = 0.D1D2...DL x 10^IntDigits.
// The digits are the shortest ones that read back to the same double and
// carry no trailing zeros; zero has no digits.
struct TDecimalDigits {
  char Digits[32];
  int Length = 0;
  int IntDigits = 0;
};

TDecimalDigits Decompose(double magnitude) {
  TDecimalDigits d;
  if (magnitude == 0) return d;
  char buf[40];
  const auto res = std::to_chars(buf, buf + sizeof buf, magnitude, std::chars_format::scientific);
  // Shortest scientific form: d[.ddd]e(+|-)xx
  const char* p = buf;
  const char* end = res.ptr;
  while (p < end && *p != 'e') {
    if (*p != '.') d.Digits[d.Length++] = *p;
    ++p;
  }
  int exponent = 0;
  std::from_chars(p + 1 + (p[1] == '+' ? 1 : 0), end, exponent);
  d.IntDigits = exponent + 1;
  while (d.Length > 0 && d.Digits[d.Length - 1] == '0') --d.Length;
  if (d.Length == 0) d.IntDigits = 0;
  return d;
}

// Rounds to Decimals places, half away from zero (the digits are a
// magnitude, so rounding up is away from zero).
void RoundDigits(TDecimalDigits& d, int decimals) {
  const int keep = d.IntDigits + decimals;  // digits left of the cut
  if (keep >= d.Length) return;
  bool up = false;
  if (keep >= 0) {
    up = d.Digits[keep] >= '5';
    d.Length = keep;
  } else {
    d.Length = 0;  // the first digit is already beyond the cut
  }
  if (up) {
    int p = d.Length - 1;
    while (p >= 0 && d.Digits[p] == '9') --p;
    if (p >= 0) {
      ++d.Digits[p];
      d.Length = p + 1;  // the 9s that became 0 are dropped
    } else {
      d.Digits[0] = '1';  // 9.99 -> 10.0, or 0.005 -> 0.01
      d.Length = 1;
      ++d.IntDigits;
    }
  }
  while (d.Length > 0 && d.Digits[d.Length - 1] == '0') --d.Length;
  if (d.Length == 0) d.IntDigits = 0;
}

const char* SpecialText(double value) {
  if (std::isnan(value)) return "NaN";
  if (std::isinf(value)) return value > 0 ? "INF" : "-INF";
  return nullptr;
}

bool IsQuote(char c) { return c == '\'' || c == '"'; }

// Copies the quoted text starting at Pattern[i] (a quote) to Out and returns
// the index of the closing quote (or the end of an unterminated text).
std::size_t CopyQuoted(const std::string& pattern, std::size_t i, std::string& out) {
  const char quote = pattern[i];
  std::size_t j = i + 1;
  while (j < pattern.size() && pattern[j] != quote) out += pattern[j++];
  return j;
}

// What the pattern asks for.
struct TPatternLayout {
  std::size_t DecimalPos = std::string::npos;  // index of the decimal point
  int IntPlaces = 0;                           // 0/# before the point
  int MinIntDigits = 0;                        // from the first 0 to the point
  int DecPlaces = 0;                           // 0/# after the point
  int MinDecimals = 0;                         // up to the last 0 after the point
  bool Grouping = false;
};

TPatternLayout Analyse(const std::string& pattern) {
  TPatternLayout l;
  int firstIntZero = -1;
  for (std::size_t i = 0; i < pattern.size(); ++i) {
    const char c = pattern[i];
    if (IsQuote(c)) {
      const char quote = c;
      while (i + 1 < pattern.size() && pattern[i + 1] != quote) ++i;
      ++i;  // the closing quote (or past the end)
      continue;
    }
    const bool beforePoint = l.DecimalPos == std::string::npos;
    if (c == '.' && beforePoint) {
      l.DecimalPos = i;
    } else if (c == '0' || c == '#') {
      if (beforePoint) {
        if (c == '0' && firstIntZero < 0) firstIntZero = l.IntPlaces;
        ++l.IntPlaces;
      } else {
        ++l.DecPlaces;
        if (c == '0') l.MinDecimals = l.DecPlaces;
      }
    } else if (c == ',' && beforePoint) {
      l.Grouping = true;
    }
  }
  if (firstIntZero >= 0) l.MinIntDigits = l.IntPlaces - firstIntZero;
  return l;
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

std::string FormatFloat(const std::string& Pattern, double Value, const TFormatSettings& Settings) {
  if (const char* special = SpecialText(Value)) return special;
  if (Pattern.empty()) return KelFloatToStr(Value, Settings);

  const TPatternLayout layout = Analyse(Pattern);
  std::string out;

  if (layout.IntPlaces + layout.DecPlaces == 0) {
    // No digit places: the number in general form, then the pattern's text.
    out = KelFloatToStr(Value, Settings);
    for (std::size_t i = 0; i < Pattern.size(); ++i) {
      if (IsQuote(Pattern[i]))
        i = CopyQuoted(Pattern, i, out);
      else
        out += Pattern[i];
    }
    return out;
  }

  TDecimalDigits d = Decompose(std::fabs(Value));
  RoundDigits(d, layout.DecPlaces);
  const bool negative = Value < 0 && d.Length > 0;
  const bool general = d.IntDigits > KelMaxPatternIntDigits;

  const int intShown = std::max(std::max(d.IntDigits, 0), layout.MinIntDigits);
  // d has no trailing zeros, so its last digit is the last significant
  // decimal (RoundDigits left at most DecPlaces of them).
  const int fracShown = std::max(layout.MinDecimals, std::max(0, d.Length - d.IntDigits));

  out.reserve(Pattern.size() + static_cast<std::size_t>(intShown) * (1 + Settings.ThousandSeparator.size()) +
              static_cast<std::size_t>(fracShown) + Settings.DecimalSeparator.size() + 2);
  if (negative) out += '-';

  auto digitAt = [&d](int index) { return index >= 0 && index < d.Length ? d.Digits[index] : '0'; };
  // Integer digit at position Pos counted from the units (0) leftwards.
  auto emitIntDigit = [&](int pos) {
    out += digitAt(d.IntDigits - 1 - pos);
    if (layout.Grouping && pos > 0 && pos % 3 == 0) out += Settings.ThousandSeparator;
  };
  // The integer digits from the highest shown position down to Lowest: the
  // first place takes every digit that has no place of its own. In the
  // general form the whole magnitude goes there instead.
  auto emitIntDigits = [&](int lowest) {
    if (general) {
      out += KelFloatToStr(std::fabs(Value), Settings);
      return;
    }
    for (int pos = intShown - 1; pos >= lowest; --pos) emitIntDigit(pos);
  };

  int intSeen = 0;
  int decSeen = 0;
  for (std::size_t i = 0; i < Pattern.size(); ++i) {
    const char c = Pattern[i];
    if (IsQuote(c)) {
      i = CopyQuoted(Pattern, i, out);
      continue;
    }
    const bool beforePoint = i < layout.DecimalPos;
    if (i == layout.DecimalPos) {
      if (layout.IntPlaces == 0) emitIntDigits(0);
      if (!general && fracShown > 0) out += Settings.DecimalSeparator;
    } else if (c == '0' || c == '#') {
      if (beforePoint) {
        const int place = layout.IntPlaces - 1 - intSeen;  // position of this place
        if (intSeen == 0)
          emitIntDigits(place);
        else if (!general && place < intShown)
          emitIntDigit(place);
        ++intSeen;
      } else {
        if (!general && decSeen < fracShown) out += digitAt(d.IntDigits + decSeen);
        ++decSeen;
      }
    } else if (c == ',' && beforePoint) {
      // grouping marker, not written
    } else {
      out += c;
    }
  }
  return out;
}

}  // namespace sextant

#include "axes/exponent_text.h"

#include <cctype>

namespace sextant {

namespace {

const char* const KelSuperDigits[] = {"\u2070", "\u00B9", "\u00B2", "\u00B3", "\u2074",
                                      "\u2075", "\u2076", "\u2077", "\u2078", "\u2079"};
constexpr const char* KelSuperMinus = "\u207B";
constexpr const char* KelTimes = "\u00D7";

bool IsDigit(char C) { return std::isdigit(static_cast<unsigned char>(C)) != 0; }

// Digits (leading zeros dropped, at least one) and a minus as superscripts.
std::string Superscript(bool Negative, std::string_view Digits) {
  std::size_t first = 0;
  while (first + 1 < Digits.size() && Digits[first] == '0') ++first;
  std::string out;
  const bool zero = Digits.substr(first) == "0";
  if (Negative && !zero) out += KelSuperMinus;
  for (std::size_t i = first; i < Digits.size(); ++i) out += KelSuperDigits[Digits[i] - '0'];
  return out;
}

}  // namespace

std::string SuperscriptExponent(std::string_view Text) {
  for (std::size_t e = 1; e < Text.size(); ++e) {
    if (Text[e] != 'E' && Text[e] != 'e') continue;
    if (!IsDigit(Text[e - 1])) continue;
    std::size_t d = e + 1;
    bool negative = false;
    if (d < Text.size() && (Text[d] == '+' || Text[d] == '-')) negative = Text[d++] == '-';
    std::size_t end = d;
    while (end < Text.size() && IsDigit(Text[end])) ++end;
    if (end == d) continue;
    // The mantissa starts after the last character that is not part of a
    // number (a sign, a currency or a prefix stay in front).
    std::size_t start = e;
    while (start > 0 && (IsDigit(Text[start - 1]) || Text[start - 1] == '.' || Text[start - 1] == ',')) --start;
    const std::string_view mantissa = Text.substr(start, e - start);
    std::string out(Text.substr(0, start));
    if (mantissa != "1") {
      out += mantissa;
      out += KelTimes;
    }
    out += "10";
    out += Superscript(negative, Text.substr(d, end - d));
    out += Text.substr(end);
    return out;
  }
  return std::string(Text);
}

std::string PowerText(std::string_view Base, long long Power) {
  const std::string digits = std::to_string(Power < 0 ? -Power : Power);
  return std::string(Base) + Superscript(Power < 0, digits);
}

}  // namespace sextant

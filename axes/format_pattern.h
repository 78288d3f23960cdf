// The format pattern language, parsed: where a pattern's digit places, its
// decimal point and its exponent are. The formatters (value_format.h) write
// a number through such a layout; callers that format many values with one
// pattern parse it once.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace sextant {

struct TFormatPattern {
  static constexpr std::size_t npos = std::string_view::npos;

  // The number part (before the exponent, or the whole pattern).
  std::size_t DecimalPos = npos;  // index of the decimal point
  std::size_t LastPlacePos = npos;  // index of the last 0/# of the number part
  int IntPlaces = 0;              // 0/# before the point
  int MinIntDigits = 0;           // from the first 0 to the point
  int DecPlaces = 0;              // 0/# after the point
  int MinDecimals = 0;            // up to the last 0 after the point
  bool Grouping = false;          // a ',' before the point

  // The exponent ("E0", "E+00" after the number part): scientific form.
  std::size_t ExponentPos = npos;  // index of the 'E'
  std::size_t ExponentEnd = npos;  // index after its last 0
  int ExponentDigits = 0;          // the 0s: the fewest exponent digits
  bool ExponentPlus = false;       // "E+": positive exponents get a '+'

  bool HasPlaces() const { return IntPlaces + DecPlaces > 0; }
  bool Scientific() const { return ExponentPos != npos; }
};

// Parses Pattern. An 'E' is the exponent when it follows the number's digit
// places (outside quotes) and is followed by an optional '+' and at least
// one '0'; any other 'E' is text. Everything after the exponent is text.
TFormatPattern ParseFormatPattern(std::string_view Pattern);

// Pattern with at least Decimals places after its decimal point: '#' places
// are appended after its last place (and a point when it has none). A
// pattern without places, or with Decimals already, is returned unchanged.
std::string PatternWithDecimals(std::string_view Pattern, int Decimals);

// The scientific pattern "0.##E+0" with Decimals optional mantissa decimals
// ("0E+0" for none).
std::string ScientificPattern(int Decimals);

// Whether C opens a quoted text in a pattern.
inline bool IsPatternQuote(char C) { return C == '\'' || C == '"'; }

}  // namespace sextant

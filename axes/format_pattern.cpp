#include "axes/format_pattern.h"

namespace sextant {

namespace {

// Index of the quote closing the text opened at Pattern[I] (or the end).
std::size_t SkipQuoted(std::string_view pattern, std::size_t i) {
  const char quote = pattern[i];
  std::size_t j = i + 1;
  while (j < pattern.size() && pattern[j] != quote) ++j;
  return j;
}

// The exponent starting at Pattern[I] == 'E': sets its fields and returns
// true when an optional '+' and at least one '0' follow.
bool ParseExponent(std::string_view pattern, std::size_t i, TFormatPattern& l) {
  std::size_t j = i + 1;
  const bool plus = j < pattern.size() && pattern[j] == '+';
  if (plus) ++j;
  int zeros = 0;
  while (j < pattern.size() && pattern[j] == '0') {
    ++zeros;
    ++j;
  }
  if (zeros == 0) return false;
  l.ExponentPos = i;
  l.ExponentEnd = j;
  l.ExponentDigits = zeros;
  l.ExponentPlus = plus;
  return true;
}

}  // namespace

TFormatPattern ParseFormatPattern(std::string_view Pattern) {
  TFormatPattern l;
  int firstIntZero = -1;
  for (std::size_t i = 0; i < Pattern.size(); ++i) {
    const char c = Pattern[i];
    if (IsPatternQuote(c)) {
      i = SkipQuoted(Pattern, i);
      continue;
    }
    const bool beforePoint = l.DecimalPos == TFormatPattern::npos;
    if (c == 'E' && l.HasPlaces() && ParseExponent(Pattern, i, l)) break;
    if (c == '.' && beforePoint) {
      l.DecimalPos = i;
    } else if (c == '0' || c == '#') {
      l.LastPlacePos = i;
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

std::string PatternWithDecimals(std::string_view Pattern, int Decimals) {
  const TFormatPattern l = ParseFormatPattern(Pattern);
  std::string out(Pattern);
  if (!l.HasPlaces() || l.DecPlaces >= Decimals) return out;
  std::string places(static_cast<std::size_t>(Decimals - l.DecPlaces), '#');
  // The new places follow the last decimal place, or the point when there
  // are none; a pattern without a point gets one after its last place.
  std::size_t at = l.LastPlacePos + 1;
  if (l.DecimalPos == TFormatPattern::npos)
    places.insert(places.begin(), '.');
  else if (l.DecPlaces == 0)
    at = l.DecimalPos + 1;
  out.insert(at, places);
  return out;
}

std::string ScientificPattern(int Decimals) {
  if (Decimals <= 0) return "0E+0";
  return "0." + std::string(static_cast<std::size_t>(Decimals), '#') + "E+0";
}

}  // namespace sextant

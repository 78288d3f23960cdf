#include "axes/decimal_digits.h"

#include <charconv>

namespace sextant {

TDecimalDigits DecomposeDecimal(double Magnitude) {
  TDecimalDigits d;
  if (Magnitude == 0) return d;
  char buf[40];
  const auto res = std::to_chars(buf, buf + sizeof buf, Magnitude, std::chars_format::scientific);
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

// Keeps the first Keep digits, rounding half away from zero (the digits are
// a magnitude, so rounding up is away from zero).
static void RoundToLength(TDecimalDigits& d, int keep) {
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

void RoundToDecimals(TDecimalDigits& D, int Decimals) { RoundToLength(D, D.IntDigits + Decimals); }

void RoundToSignificant(TDecimalDigits& D, int Count) { RoundToLength(D, Count < 1 ? 1 : Count); }

}  // namespace sextant

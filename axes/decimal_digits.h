// Decimal digits of a double: the shortest digits that read back to it, and
// their rounding to a number of decimals or of significant digits. The
// number formats (fixed and scientific) write their texts from these.
#pragma once

namespace sextant {

// A non-negative finite magnitude as 0.D1D2...DL x 10^IntDigits. The digits
// carry no trailing zeros; zero has no digits (Length 0, IntDigits 0).
struct TDecimalDigits {
  char Digits[32];
  int Length = 0;
  int IntDigits = 0;

  // The digit at Index (0 is the first), '0' outside the stored ones.
  char At(int Index) const { return Index >= 0 && Index < Length ? Digits[Index] : '0'; }
};

// The shortest round-trip digits of Magnitude (which must be >= 0 and finite).
TDecimalDigits DecomposeDecimal(double Magnitude);

// Rounds to Decimals places after the point, halves away from zero.
void RoundToDecimals(TDecimalDigits& D, int Decimals);

// Rounds to Count significant digits (Count >= 1), halves away from zero.
void RoundToSignificant(TDecimalDigits& D, int Count);

}  // namespace sextant

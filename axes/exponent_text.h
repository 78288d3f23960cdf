// Exponent notation for labels: "1.5E+03" reads "1.5×10³", "1E-6" reads
// "10⁻⁶", with the power of ten raised by Unicode superscript digits, so
// that every canvas draws it as plain text.
#pragma once

#include <string>
#include <string_view>

namespace sextant {

// Text with its first exponent form (a mantissa, 'E' or 'e', an optional
// sign and digits) written as a power of ten; a text without one is
// returned as it is.
std::string SuperscriptExponent(std::string_view Text);

// Base (as written) raised to the integer Power: "10" and 3 give "10³".
std::string PowerText(std::string_view Base, long long Power);

}  // namespace sextant

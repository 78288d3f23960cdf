// Number texts: the format pattern language used for axis labels and marks
// ("#,##0.###", "##0.## %", ...) and the shortest general float-to-text
// conversion. Both use the host's separators (TFormatSettings).
#pragma once

#include <string>
#include <string_view>

#include "axes/format_pattern.h"
#include "platform/platform_services.h"

namespace sextant {

// The default pattern of value texts (axis labels, series values).
inline constexpr const char* KelMsg_DefValueFormat = "#,##0.###";

// Formats Value with a pattern:
//   0      a digit that is always written (leading and trailing zeros appear)
//   #      a digit written only when significant
//   .      the first one in the number part is the decimal point (written
//          as the host's decimal separator, and only when a decimal digit
//          follows); later ones are plain text
//   ,      anywhere before the decimal point: group the integer part by
//          three with the host's thousands separator (not written itself)
//   E0, E+0, E00 ...  after the digit places: scientific form, a mantissa
//          written through the places before the E and an exponent of at
//          least as many digits as 0s ('+': positive exponents get a plus
//          sign), as ICU's DecimalFormat writes it ("0.00E+0": 12000 ->
//          "1.20E+4"); places "##0" allowing more digits than they require
//          make the exponent a multiple of their count (engineering form)
//   '...' or "..."  quoted text, copied without the quotes
//   anything else   copied unchanged (a "%" does not scale the value)
// The number of 0/# after the point is the maximum number of decimals; the
// value is rounded to it half away from zero on its shortest round-trip
// decimal digits (2.675 with "0.00" gives 2.68, as written), and trailing
// zeros are dropped where the places are #. A negative value gets a leading
// minus sign, unless it rounds to zero.
//
// Texts that the pattern cannot express:
//   NaN -> "NaN", +infinity -> "INF", -infinity -> "-INF" (whatever the
//   pattern); an empty pattern -> KelFloatToStr(Value); a pattern without
//   any 0 or # -> KelFloatToStr(Value) followed by the pattern's text; an
//   integer part of more than 18 digits -> KelFloatToStr of the magnitude in
//   place of the digits (the rest of the pattern is kept).
std::string FormatFloat(const std::string& Pattern, double Value,
                        const TFormatSettings& Settings = KelPlatform().FormatSettings);

// The same with the pattern parsed beforehand (ParseFormatPattern(Pattern)).
std::string FormatFloat(std::string_view Pattern, const TFormatPattern& Layout, double Value,
                        const TFormatSettings& Settings = KelPlatform().FormatSettings);

// The two forms on their own. FormatFixed writes the digits around the
// decimal point (an exponent in the pattern is left out); FormatScientific
// writes a mantissa and an exponent (the fixed form for a pattern without
// exponent).
std::string FormatFixed(std::string_view Pattern, const TFormatPattern& Layout, double Value,
                        const TFormatSettings& Settings = KelPlatform().FormatSettings);
std::string FormatScientific(std::string_view Pattern, const TFormatPattern& Layout, double Value,
                             const TFormatSettings& Settings = KelPlatform().FormatSettings);

// The shortest text that reads back to the same double ("0.1", "1234.5",
// "1e+300", "5e-324"), with the host's decimal separator; "NaN", "INF",
// "-INF" for the special values and "0" for negative zero.
std::string KelFloatToStr(double Value, const TFormatSettings& Settings = KelPlatform().FormatSettings);

}  // namespace sextant

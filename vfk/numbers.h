// Numbers in VFK fields, read as the C library reads them in the "C" locale,
// whatever the process's locale is.
#ifndef VORLANE_VFK_NUMBERS_H_
#define VORLANE_VFK_NUMBERS_H_

#include <cstdint>
#include <string_view>

namespace vorlane {

// As strtol with base 10: leading white space, an optional sign, then the
// decimal digits up to the first other character; 0 when there are none.
// Saturates at the limits of a 32-bit int.
int readInt(std::string_view text);

// As strtod in the "C" locale: leading white space, an optional sign, then
// the longest prefix that is a decimal or hexadecimal number, "inf",
// "infinity" or "nan" (any case); 0 when there is none. Too large a value
// gives an infinity, too small a one zero, each with its sign.
double readReal(std::string_view text);

// The same without readReal's fast path for plain decimals; tests compare
// the two.
double readRealGeneral(std::string_view text);

// A whole number of more digits than an int holds (a point's number, an
// area in m²): readReal's value truncated toward zero, saturated at the
// limits of a 64-bit integer; 0 for a NaN.
int64_t readWholeNumber(std::string_view text);

// Narrows to float as IEEE arithmetic does: a value beyond the float range
// becomes an infinity rather than undefined behaviour.
float narrowToFloat(double value);

}  // namespace vorlane

#endif  // VORLANE_VFK_NUMBERS_H_

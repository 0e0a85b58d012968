// Numbers as drawings write them: in fixed notation with two decimals, as
// "%.2f" prints them in the "C" locale, whatever the process's locale is.
#ifndef VORLANE_PLATFORM_FIXED_DECIMALS_H_
#define VORLANE_PLATFORM_FIXED_DECIMALS_H_

#include <cstddef>
#include <string_view>

namespace vorlane {

// Formats "value" with two decimals into "buffer" and returns the text:
// 12 -> "12.00", -0.004 -> "-0.00"; non-finite values as "%.2f" prints them
// ("inf", "-inf", "nan", "-nan").
// REQUIRES: "buffer" holds kNumberBufferSize characters.
constexpr size_t kNumberBufferSize = 400;  // DBL_MAX needs 309 digits, a sign, "." and 2 decimals
std::string_view formatFixed2(double value, char* buffer);

}  // namespace vorlane

#endif  // VORLANE_PLATFORM_FIXED_DECIMALS_H_

// Numbers as drawings and messages write them, whatever the process's
// locale is: whole numbers in plain decimal; others in fixed notation with two
// decimals, as "%.2f" prints them in the "C" locale.
#ifndef VORLANE_PLATFORM_FIXED_DECIMALS_H_
#define VORLANE_PLATFORM_FIXED_DECIMALS_H_

#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

namespace vorlane {

// Formats "value" with two decimals into "buffer" and returns the text:
// 12 -> "12.00", -0.004 -> "-0.00"; non-finite values as "%.2f" prints them
// ("inf", "-inf", "nan", "-nan").
// REQUIRES: "buffer" holds kNumberBufferSize characters.
constexpr size_t kNumberBufferSize = 400;  // DBL_MAX needs 309 digits, a sign, "." and 2 decimals
std::string_view formatFixed2(double value, char* buffer);

// Writes "value" in plain decimal, as std::to_string writes it, at "at" and
// returns the end; the bytes after it, up to kWholeNumberRoom, may change.
// REQUIRES: kWholeNumberRoom bytes at "at".
constexpr size_t kWholeNumberRoom = 20;  // a sign and 19 digits
char* writeNumber(char* at, int64_t value);

// Appends "value" as writeNumber writes it to "text".
void appendNumber(std::string& text, int64_t value);

}  // namespace vorlane

#endif  // VORLANE_PLATFORM_FIXED_DECIMALS_H_

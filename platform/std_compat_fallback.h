// The floating-point conversions of std_compat.h as written here, built
// everywhere, so that a test holds them against the standard library's.
#ifndef VORLANE_PLATFORM_STD_COMPAT_FALLBACK_H_
#define VORLANE_PLATFORM_STD_COMPAT_FALLBACK_H_

#include <charconv>

namespace vorlane::fallback {

std::to_chars_result toCharsShortest(char* first, char* last, double value);
std::to_chars_result toCharsFixed(char* first, char* last, double value, int precision);
std::from_chars_result fromChars(const char* first, const char* last, double& value,
                                 std::chars_format format);

}  // namespace vorlane::fallback

#endif  // VORLANE_PLATFORM_STD_COMPAT_FALLBACK_H_

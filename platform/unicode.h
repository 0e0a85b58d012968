// UTF-8, encoded and decoded as the Unicode Standard defines it.
#ifndef VORLANE_PLATFORM_UNICODE_H_
#define VORLANE_PLATFORM_UNICODE_H_

#include <cstddef>
#include <string>
#include <string_view>

namespace vorlane {

constexpr char32_t kReplacementCharacter = 0xFFFD;

// Appends the UTF-8 encoding of one code point.
void appendUtf8(std::string& out, char32_t codePoint);

// The first character of "bytes" as UTF-8: its code point and length when
// the bytes there are well-formed. Where they are not, the step takes the
// longest start of a well-formed sequence found there (the maximal subpart,
// at least one byte) and gives U+FFFD: truncated sequences, overlong forms,
// surrogates and values above U+10FFFF all count as ill-formed.
// REQUIRES: "bytes" is not empty.
struct Utf8Step {
  char32_t codePoint;
  size_t length;
  bool wellFormed;
};
Utf8Step decodeUtf8(std::string_view bytes);

// "bytes" with every maximal ill-formed subpart replaced by one U+FFFD, as
// the Unicode Standard recommends (and Python's "replace" does).
// Well-formed UTF-8 comes out unchanged.
std::string repairUtf8(std::string_view bytes);

}  // namespace vorlane

#endif  // VORLANE_PLATFORM_UNICODE_H_

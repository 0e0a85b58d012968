// The few C++20 library facilities that some standard libraries the code is
// built with lack (the WebAssembly build's libc++: floating-point to_chars
// and from_chars, bit_cast, make_unique_for_overwrite). Where the library
// has them, these are the library's own; elsewhere they are written here,
// once, to give the same characters and values.
#ifndef VORLANE_PLATFORM_STD_COMPAT_H_
#define VORLANE_PLATFORM_STD_COMPAT_H_

#include <charconv>
#include <cstring>
#include <memory>
#include <type_traits>
#include <version>

#if defined(__cpp_lib_to_chars) && __cpp_lib_to_chars >= 201611L
#define VORLANE_FLOAT_CHARCONV 1
#else
#define VORLANE_FLOAT_CHARCONV 0
#endif

namespace vorlane {

// std::bit_cast.
template <typename To, typename From>
To bitCast(const From& from) {
  static_assert(sizeof(To) == sizeof(From) && std::is_trivially_copyable_v<From> &&
                std::is_trivially_copyable_v<To>);
#if defined(__cpp_lib_bit_cast)
  return std::bit_cast<To>(from);
#else
  To to;
  std::memcpy(&to, &from, sizeof to);
  return to;
#endif
}

// std::make_unique_for_overwrite<T[]>(count): an array left uninitialized.
template <typename T>
std::unique_ptr<T[]> makeUninitializedArray(size_t count) {
#if defined(__cpp_lib_smart_ptr_for_overwrite)
  return std::make_unique_for_overwrite<T[]>(count);
#else
  return std::unique_ptr<T[]>(new T[count]);
#endif
}

#if VORLANE_FLOAT_CHARCONV
// std::to_chars(first, last, value): the shortest text that reads back as
// the value, fixed or scientific, whichever is shorter (fixed on a tie).
inline std::to_chars_result toCharsShortest(char* first, char* last, double value) {
  return std::to_chars(first, last, value);
}
// std::to_chars(first, last, value, std::chars_format::fixed, precision).
inline std::to_chars_result toCharsFixed(char* first, char* last, double value, int precision) {
  return std::to_chars(first, last, value, std::chars_format::fixed, precision);
}
// std::from_chars(first, last, value, format), for the formats general and
// hex.
inline std::from_chars_result fromChars(const char* first, const char* last, double& value,
                                        std::chars_format format) {
  return std::from_chars(first, last, value, format);
}
#else
std::to_chars_result toCharsShortest(char* first, char* last, double value);
std::to_chars_result toCharsFixed(char* first, char* last, double value, int precision);
std::from_chars_result fromChars(const char* first, const char* last, double& value,
                                 std::chars_format format);
#endif

}  // namespace vorlane

#endif  // VORLANE_PLATFORM_STD_COMPAT_H_

#include "vfk/numbers.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <limits>

#include "platform/std_compat.h"

namespace vorlane {

namespace {

bool isCSpace(char c) {
  return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

bool isHexDigit(char c) { return isDigit(c) || (c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F'); }

// Skips leading white space and a sign; returns true for "-".
bool consumeSign(std::string_view& text) {
  size_t i = 0;
  while (i < text.size() && isCSpace(text[i])) ++i;
  bool negative = false;
  if (i < text.size() && (text[i] == '+' || text[i] == '-')) {
    negative = text[i] == '-';
    ++i;
  }
  text.remove_prefix(i);
  return negative;
}

// For a number that std::from_chars found out of range: whether it is too
// large (rather than too small). "number" is the number's text without its
// sign and without a hexadecimal prefix. The magnitude is the position of
// the leading non-zero digit plus the exponent, in digits of the base; an
// overflow has it far above zero and an underflow far below.
bool isOverflow(std::string_view number, bool hex) {
  const int digitBits = hex ? 4 : 1;
  const char exponentMark = hex ? 'p' : 'e';
  int64_t position = 0;  // of the leading non-zero digit, relative to the point
  bool seenNonZero = false;
  bool afterPoint = false;
  size_t i = 0;
  for (; i < number.size(); ++i) {
    const char c = number[i];
    if (c == '.') {
      afterPoint = true;
      continue;
    }
    if ((c | 0x20) == exponentMark) break;
    if (!seenNonZero && c != '0') {
      seenNonZero = true;
      if (afterPoint) break;
    }
    if (seenNonZero && !afterPoint) {
      ++position;
    } else if (!seenNonZero && afterPoint) {
      --position;
    }
  }
  while (i < number.size() && (number[i] | 0x20) != exponentMark) ++i;
  int64_t exponent = 0;
  if (i < number.size()) {
    std::string_view rest = number.substr(i + 1);
    const bool negative = consumeSign(rest);
    for (const char c : rest) {
      if (!isDigit(c) || exponent > 1'000'000'000) break;
      exponent = exponent * 10 + (c - '0');
    }
    if (negative) exponent = -exponent;
  }
  return position * digitBits + exponent > 0;
}

}  // namespace

int readInt(std::string_view text) {
  // Most values are a few digits and nothing else (a state, a code, an
  // ordinal): fewer than ten cannot leave the range of an int.
  if (!text.empty() && text.size() < 10) {
    int value = 0;
    size_t k = 0;
    for (; k < text.size() && isDigit(text[k]); ++k) value = value * 10 + (text[k] - '0');
    if (k == text.size()) return value;
  }
  // Most of the others begin with their first digit.
  const bool negative = !text.empty() && !isDigit(text[0]) && consumeSign(text);
  // Beyond this the value saturates in either direction.
  constexpr int64_t kLimit = int64_t{std::numeric_limits<int>::max()} + 1;
  int64_t magnitude = 0;
  for (const char c : text) {
    if (!isDigit(c)) break;
    if (magnitude < kLimit) magnitude = magnitude * 10 + (c - '0');
  }
  const int64_t value = negative ? -magnitude : magnitude;
  if (value > std::numeric_limits<int>::max()) return std::numeric_limits<int>::max();
  if (value < std::numeric_limits<int>::min()) return std::numeric_limits<int>::min();
  return static_cast<int>(value);
}

double readReal(std::string_view text) {
  // Most values are plain decimals such as 1163996.28. Up to 19 digits are
  // gathered into an integer; when it and the power of ten are both exact
  // doubles, one division gives the correctly rounded value, as strtod does.
  static constexpr double kPowersOfTen[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,
                                            1e8,  1e9,  1e10, 1e11, 1e12, 1e13, 1e14, 1e15,
                                            1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
  const char* p = text.data();
  const char* const end = p + text.size();
  bool negative = false;
  if (p != end && (*p == '-' || *p == '+')) negative = *p++ == '-';
  uint64_t digits = 0;
  int digitCount = 0;
  int decimals = 0;
  for (; p != end && isDigit(*p) && digitCount < 19; ++p, ++digitCount)
    digits = digits * 10 + static_cast<uint64_t>(*p - '0');
  if (p != end && *p == '.') {
    for (++p; p != end && isDigit(*p) && digitCount < 19; ++p, ++digitCount, ++decimals) {
      digits = digits * 10 + static_cast<uint64_t>(*p - '0');
    }
  }
  // Whatever could continue the number (more digits, a point, an exponent,
  // a hexadecimal prefix) goes the general way.
  const bool plain = p == end || (!isDigit(*p) && *p != '.' && (*p | 0x20) != 'e' &&
                                  (*p | 0x20) != 'x' && (*p | 0x20) != 'p');
  if (plain && digitCount > 0 && digits <= (uint64_t{1} << 53)) {
    const double value = static_cast<double>(digits) / kPowersOfTen[decimals];
    return negative ? -value : value;
  }
  return readRealGeneral(text);
}

double readRealGeneral(std::string_view text) {
  const bool negative = consumeSign(text);
  bool hex = false;
  if (text.size() >= 2 && text[0] == '0' && (text[1] | 0x20) == 'x') {
    // "0x" counts as a prefix only when hexadecimal digits follow it;
    // otherwise the number is the "0" alone.
    const bool digitFollows = (text.size() > 2 && isHexDigit(text[2])) ||
                              (text.size() > 3 && text[2] == '.' && isHexDigit(text[3]));
    if (digitFollows) {
      hex = true;
      text.remove_prefix(2);
    }
  }
  // std::from_chars takes a minus sign of its own; after a sign that is no
  // number at all.
  if (!text.empty() && text[0] == '-') return 0.0;
  double value = 0.0;
  const auto [end, error] =
      fromChars(text.data(), text.data() + text.size(), value,
                hex ? std::chars_format::hex : std::chars_format::general);
  if (error == std::errc::invalid_argument) return 0.0;
  if (error == std::errc::result_out_of_range) {
    const auto length = static_cast<size_t>(end - text.data());
    value = isOverflow(text.substr(0, length), hex) ? std::numeric_limits<double>::infinity() : 0.0;
  }
  return negative ? -value : value;
}

int64_t readWholeNumber(std::string_view text) {
  const double value = readReal(text);
  // 2^63, the first double beyond int64_t; its negative is the last within.
  constexpr double kBeyond = 9223372036854775808.0;
  if (std::isnan(value)) return 0;
  if (value >= kBeyond) return std::numeric_limits<int64_t>::max();
  if (value < -kBeyond) return std::numeric_limits<int64_t>::min();
  return static_cast<int64_t>(value);
}

float narrowToFloat(double value) {
  // The largest float plus half its last unit: everything from here on
  // rounds to infinity.
  constexpr double kRoundsToInfinity = 0x1.ffffffp127;
  if (std::fabs(value) >= kRoundsToInfinity) {
    return std::signbit(value) ? -std::numeric_limits<float>::infinity()
                               : std::numeric_limits<float>::infinity();
  }
  return static_cast<float>(value);
}

}  // namespace vorlane

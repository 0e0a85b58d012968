#include "vfk/numbers.h"

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>
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

// The bytes of "word" that are no digit ('0' to '9') are those that are
// not zero in the result. (Adding 6 may carry out of a byte of 0xFA or more
// into the next, but only out of a byte that is no digit.)
uint64_t nonDigits(uint64_t word) {
  constexpr uint64_t kHighHalves = 0xF0F0F0F0F0F0F0F0u;
  constexpr uint64_t kThrees = 0x3030303030303030u;
  return ((word & kHighHalves) ^ kThrees) |
         (((word + 0x0606060606060606u) & kHighHalves) ^ kThrees);
}

// The number that the digits in "word" make, the first in its lowest byte:
// three multiplications each join neighbouring runs of digits (the low half
// of each byte is its digit; a byte of 0 stands for a leading zero).
uint64_t eightDigitsValue(uint64_t word) {
  word = (word & 0x0F0F0F0F0F0F0F0Fu) * 2561 >> 8;
  word = (word & 0x00FF00FF00FF00FFu) * 6553601 >> 16;
  return (word & 0x0000FFFF0000FFFFu) * 42949672960001 >> 32;
}

constexpr uint64_t kPowersOfTenToEight[] = {1,      10,      100,      1000,     10000,
                                            100000, 1000000, 10000000, 100000000};

// The digits and decimals readReal's digit loop gathers from "text", when it
// is 8 to 17 characters of 1 to 8 digits, and a point and at most 8 digits
// after it, as most coordinates are: its first and its last 8 bytes, read
// at once, hold them all. False for anything else.
bool readShortDecimal(std::string_view text, uint64_t& digits, int& decimals) {
  if constexpr (std::endian::native != std::endian::little) return false;
  if (text.size() < 8) return false;
  uint64_t head = 0;
  uint64_t tail = 0;
  std::memcpy(&head, text.data(), sizeof head);
  std::memcpy(&tail, text.data() + text.size() - sizeof tail, sizeof tail);
  const uint64_t notInHead = nonDigits(head);
  const auto whole = static_cast<size_t>(notInHead == 0 ? 8 : std::countr_zero(notInHead) / 8);
  if (whole == 0) return false;
  size_t fraction = 0;  // digits after the point
  if (whole < text.size()) {
    fraction = text.size() - whole - 1;
    if (text[whole] != '.' || fraction > 8) return false;
  }
  // The fraction's digits are the last of "tail"; the bytes before them in
  // it are whole digits and the point.
  const uint64_t fractionBytes = fraction == 0 ? 0 : ~uint64_t{0} << (64 - 8 * fraction);
  if ((nonDigits(tail) & fractionBytes) != 0) return false;
  const uint64_t wholeBytes = whole == 8 ? ~uint64_t{0} : (uint64_t{1} << (8 * whole)) - 1;
  const uint64_t wholeValue = eightDigitsValue((head & wholeBytes) << (64 - 8 * whole));
  digits = wholeValue * kPowersOfTenToEight[fraction] + eightDigitsValue(tail & fractionBytes);
  decimals = static_cast<int>(fraction);
  return true;
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
  int decimals = 0;
  const std::string_view afterSign(p, static_cast<size_t>(end - p));
  bool plain = readShortDecimal(afterSign, digits, decimals);
  if (!plain) {
    int digitCount = 0;
    for (; p != end && isDigit(*p) && digitCount < 19; ++p, ++digitCount)
      digits = digits * 10 + static_cast<uint64_t>(*p - '0');
    if (p != end && *p == '.') {
      for (++p; p != end && isDigit(*p) && digitCount < 19; ++p, ++digitCount, ++decimals) {
        digits = digits * 10 + static_cast<uint64_t>(*p - '0');
      }
    }
    // Whatever could continue the number (more digits, a point, an
    // exponent, a hexadecimal prefix) goes the general way.
    plain = digitCount > 0 && (p == end || (!isDigit(*p) && *p != '.' && (*p | 0x20) != 'e' &&
                                            (*p | 0x20) != 'x' && (*p | 0x20) != 'p'));
  }
  if (plain && digits <= (uint64_t{1} << 53)) {
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

#include "platform/fixed_decimals.h"

#include <bit>
#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>

#include "platform/std_compat.h"

namespace vorlane {

namespace {

// The digits of 0 to 99, two by two.
constexpr char kDigitPairs[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

// The number of decimal digits of "value", 1 for 0.
int decimalDigits(uint64_t value) {
  static constexpr uint64_t kPowersOfTen[] = {1,
                                              10,
                                              100,
                                              1000,
                                              10000,
                                              100000,
                                              1000000,
                                              10000000,
                                              100000000,
                                              1000000000,
                                              10000000000,
                                              100000000000,
                                              1000000000000,
                                              10000000000000,
                                              100000000000000,
                                              1000000000000000,
                                              10000000000000000,
                                              100000000000000000,
                                              1000000000000000000,
                                              10000000000000000000u};
  // bit_width * 1233 / 4096 is log10(2^bit_width) rounded down: the digits
  // of the smallest number of that bit width, less one, or the digits.
  const int guess = static_cast<int>((std::bit_width(value) * 1233) >> 12);
  return guess + static_cast<int>(value >= kPowersOfTen[guess]) + (value == 0 ? 1 : 0);
}

// The digits of a number below 10^8 as text, the first in the lowest byte
// of "bytes" (bytes beyond "count" are zeros).
struct Digits {
  uint64_t bytes;
  int count;
};

// Each step splits every lane of the number into a quotient and a remainder
// of a power of ten (multiplications and shifts standing in for the
// divisions, exact in these ranges), so that all eight digits, leading
// zeros included, come out at once; the leading zeros are then dropped.
// REQUIRES: value < 10^8 and a little-endian machine, where the lowest
// byte of a word is the first in memory.
Digits digitsOf(uint32_t value) {
  const uint64_t halves = value / 10000 | uint64_t{value % 10000} << 32;
  const uint64_t hundreds = (halves * 10486 >> 20) & 0x0000007F0000007Fu;
  const uint64_t pairs = hundreds | (halves - 100 * hundreds) << 16;
  const uint64_t tens = (pairs * 103 >> 10) & 0x000F000F000F000Fu;
  const uint64_t digits = tens | (pairs - 10 * tens) << 8;
  // The zeros before the first significant digit; the last digit stays.
  const int zeros = digits == 0 ? 7 : std::countr_zero(digits) / 8;
  return {(digits + 0x3030303030303030u) >> (8 * zeros), 8 - zeros};
}

constexpr bool kLittleEndian = std::endian::native == std::endian::little;

// Writes "value" in decimal at "p" and returns the end. One below 10^8 (a
// map's numbers, a coordinate's whole part) is written digits at once, and
// up to 8 bytes past its end, which what follows it then covers.
inline char* writeWhole(char* p, uint64_t value) {
  if (kLittleEndian && value < 100'000'000) {
    const Digits digits = digitsOf(static_cast<uint32_t>(value));
    std::memcpy(p, &digits.bytes, sizeof digits.bytes);
    return p + digits.count;
  }
  char* const end = p + decimalDigits(value);
  // From the last digits back.
  p = end;
  for (; value >= 100; value /= 100) {
    p -= 2;
    std::memcpy(p, kDigitPairs + 2 * (value % 100), 2);
  }
  if (value >= 10) {
    std::memcpy(p - 2, kDigitPairs + 2 * value, 2);
  } else {
    p[-1] = static_cast<char>('0' + value);
  }
  return end;
}

// Writes "hundredths" as "%.2f" writes a value of that many hundredths,
// after the sign "negative" gives; returns the end. (Most are 32-bit, whose
// division costs less.)
template <typename Unsigned>
char* writeHundredths(char* p, bool negative, Unsigned hundredths) {
  *p = '-';  // "%.2f" keeps the sign of -0.004 and of -0.0
  const Unsigned whole = hundredths / 100;
  p = writeWhole(p + (negative ? 1 : 0), whole);
  *p = '.';
  std::memcpy(p + 1, kDigitPairs + 2 * (hundredths - 100 * whole), 2);
  return p + 3;
}

// The fast path of formatFixed2, for every value below 2^58 / 100 in
// magnitude: value * 100 is exactly mantissa * 25 * 2^(exponent + 2), so the
// hundredths and what is left over are exact integers, and rounding them as
// "%.2f" does (to nearest, a tie to the even one) gives its digits.
// Returns 0, having written nothing, for larger and non-finite values.
size_t formatFixed2Fast(double value, char* buffer) {
  const auto bits = bitCast<uint64_t>(value);
  // Most values (a map's coordinates) are below 2^32 hundredths. Their
  // product with 100 in doubles rounds as the exact product does unless it
  // is halfway between two hundredths: rounding to the nearest double never
  // passes a number that is a double, as each halfway point here is, so the
  // exact product lies on the same side of it.
  const double magnitude = std::fabs(value);
  if (magnitude < 4.0e7) {
    const double scaled = magnitude * 100.0;
    const auto below = static_cast<uint32_t>(scaled);  // rounded down: it is not negative
    const double fraction = scaled - below;            // exact
    if (fraction != 0.5) {
      const uint32_t hundredths = below + (fraction > 0.5 ? 1 : 0);
      return static_cast<size_t>(writeHundredths(buffer, bits >> 63, hundredths) - buffer);
    }
  }
  const auto biasedExponent = static_cast<int>((bits >> 52) & 0x7FF);
  if (biasedExponent == 0x7FF) return 0;  // the infinities and NaN
  uint64_t mantissa = bits & ((uint64_t{1} << 52) - 1);
  int exponent = -1074;  // of a subnormal value (or zero)
  if (biasedExponent != 0) {
    mantissa |= uint64_t{1} << 52;
    exponent = biasedExponent - 1075;
  }
  const uint64_t scaled = mantissa * 25;  // below 2^58
  const int shift = exponent + 2;
  uint64_t hundredths = 0;
  if (shift >= 0) {
    if (shift > 4) return 0;
    hundredths = scaled << shift;
  } else if (shift > -60) {
    const int down = -shift;
    hundredths = scaled >> down;
    const uint64_t rest = scaled & ((uint64_t{1} << down) - 1);
    const uint64_t half = uint64_t{1} << (down - 1);
    hundredths +=
        static_cast<uint64_t>(rest > half) | (static_cast<uint64_t>(rest == half) & hundredths);
  }  // else below a hundredth by far: 0
  return static_cast<size_t>(writeHundredths(buffer, bits >> 63, hundredths) - buffer);
}

}  // namespace

char* writeNumber(char* at, int64_t value) {
  if (value >= 0) return writeWhole(at, static_cast<uint64_t>(value));
  return std::to_chars(at, at + kWholeNumberRoom, value).ptr;
}

void appendNumber(std::string& text, int64_t value) {
  char digits[kWholeNumberRoom];
  text.append(digits, writeNumber(digits, value));
}

std::string_view formatFixed2(double value, char* buffer) {
  if (const size_t length = formatFixed2Fast(value, buffer))
    return std::string_view(buffer, length);
  // std::to_chars with fixed precision gives the digits of "%.2f" in the
  // "C" locale, without a heap allocation and whatever the process locale.
  const auto result =
      toCharsFixed(buffer, buffer + kNumberBufferSize, value, 2);
  return std::string_view(buffer, static_cast<size_t>(result.ptr - buffer));
}

}  // namespace vorlane

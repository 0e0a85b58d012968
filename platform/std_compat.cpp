#include "platform/std_compat.h"

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/std_compat_fallback.h"

namespace vorlane {

namespace fallback {

namespace {

std::to_chars_result copyOut(char* first, char* last, const char* text, size_t length) {
  if (static_cast<size_t>(last - first) < length) return {last, std::errc::value_too_large};
  std::memcpy(first, text, length);
  return {first + length, std::errc()};
}

// A number of "digits" significant digits, the first one's decimal
// exponent, and whether it reads back as the value.
struct Decimal {
  uint64_t mantissa = 0;  // "digits" digits
  int digits = 0;
  int exponent = 0;
};

double valueOf(const Decimal& decimal) {
  char text[40];
  std::snprintf(text, sizeof text, "%llue%d", static_cast<unsigned long long>(decimal.mantissa),
                decimal.exponent - decimal.digits + 1);
  return std::strtod(text, nullptr);
}

// The closest decimal of "digits" digits to "value" (positive, finite).
Decimal nearest(double value, int digits) {
  char text[40];
  std::snprintf(text, sizeof text, "%.*e", digits - 1, value);
  Decimal decimal;
  decimal.digits = digits;
  const char* at = text;
  for (; *at != 'e'; ++at) {
    if (*at != '.') decimal.mantissa = decimal.mantissa * 10 + static_cast<uint64_t>(*at - '0');
  }
  decimal.exponent = std::atoi(at + 1);
  return decimal;
}

// The shortest decimal that reads back as "value" (positive, finite) and,
// of those, the closest to it.
Decimal shortest(double value) {
  for (int digits = 1; digits <= 17; ++digits) {
    const Decimal closest = nearest(value, digits);
    if (valueOf(closest) == value) return closest;
    // At a power of two the interval that reads back is lopsided: a
    // neighbour of the closest may be inside it where the closest is not.
    uint64_t limit = 1;
    for (int k = 0; k < digits; ++k) limit *= 10;
    for (const int step : {-1, 1}) {
      Decimal neighbour = closest;
      neighbour.mantissa += static_cast<uint64_t>(step);
      if (neighbour.mantissa == 0 || neighbour.mantissa >= limit ||
          neighbour.mantissa < limit / 10) {
        continue;
      }
      if (valueOf(neighbour) == value) return neighbour;
    }
  }
  return nearest(value, 17);
}

}  // namespace

std::to_chars_result toCharsShortest(char* first, char* last, double value) {
  if (std::isnan(value)) return copyOut(first, last, std::signbit(value) ? "-nan" : "nan",
                                        std::signbit(value) ? 4 : 3);
  std::string text;
  if (std::signbit(value)) text += '-';
  value = std::abs(value);
  if (std::isinf(value)) {
    text += "inf";
    return copyOut(first, last, text.data(), text.size());
  }
  if (value == 0.0) {
    text += '0';
    return copyOut(first, last, text.data(), text.size());
  }
  const Decimal decimal = shortest(value);
  const std::string digits = std::to_string(decimal.mantissa);
  const auto count = static_cast<int>(digits.size());
  const int exponent = decimal.exponent;
  // As printf's %f would write it with just these digits...
  std::string fixed;
  if (exponent >= count - 1) {
    // An integer: its exact digits, as many as the shortest digits padded
    // with zeros would be (the standard library writes them so).
    char whole[400];
    std::snprintf(whole, sizeof whole, "%.0f", value);
    fixed = whole;
  } else if (exponent >= 0) {
    fixed = digits;
    fixed.insert(static_cast<size_t>(exponent) + 1, 1, '.');
  } else {
    fixed = "0.";
    fixed.append(static_cast<size_t>(-exponent - 1), '0');
    fixed += digits;
  }
  // ... and as %e would.
  std::string scientific = digits;
  if (count > 1) scientific.insert(1, 1, '.');
  char power[16];
  std::snprintf(power, sizeof power, "e%c%02d", exponent < 0 ? '-' : '+', std::abs(exponent));
  scientific += power;
  text += fixed.size() <= scientific.size() ? fixed : scientific;
  return copyOut(first, last, text.data(), text.size());
}

std::to_chars_result toCharsFixed(char* first, char* last, double value, int precision) {
  char text[400];  // the largest double has 309 digits before the point
  const int length = std::snprintf(text, sizeof text, "%.*f", precision, value);
  if (length < 0 || static_cast<size_t>(length) >= sizeof text) {
    return {last, std::errc::value_too_large};
  }
  return copyOut(first, last, text, static_cast<size_t>(length));
}

std::from_chars_result fromChars(const char* first, const char* last, double& value,
                                 std::chars_format format) {
  const bool hex = format == std::chars_format::hex;
  auto isDigit = [hex](char c) {
    return (c >= '0' && c <= '9') || (hex && ((c >= 'a' && c <= 'f') || (c >= 'A' && c <= 'F')));
  };
  // from_chars takes no sign but "-", no space and no "0x" (strtod does).
  const size_t sign = first != last && *first == '-' ? 1 : 0;
  const char* const start = first + sign;
  if (start == last) return {first, std::errc::invalid_argument};
  const char c = *start;
  const bool word = c == 'i' || c == 'I' || c == 'n' || c == 'N';
  const bool number = isDigit(c) || (c == '.' && last - start > 1 && isDigit(start[1]));
  if (!word && !number) return {first, std::errc::invalid_argument};
  std::string text(first, last);
  size_t prefix = 0;
  if (hex && !word) {
    text.insert(sign, "0x");
    prefix = 2;
  } else if (!hex && text.size() > sign + 1 && text[sign] == '0' &&
             (text[sign + 1] == 'x' || text[sign + 1] == 'X')) {
    text.resize(sign + 1);  // from_chars reads the 0 and stops at the x
  }
  char* end = nullptr;
  errno = 0;
  const double read = std::strtod(text.c_str(), &end);
  const size_t used = static_cast<size_t>(end - text.c_str());
  if (used <= prefix) return {first, std::errc::invalid_argument};
  const char* stop = first + (used - prefix);
  if (errno == ERANGE && (std::isinf(read) || read == 0.0)) {
    return {stop, std::errc::result_out_of_range};
  }
  value = read;
  return {stop, std::errc()};
}

}  // namespace fallback

#if !VORLANE_FLOAT_CHARCONV
std::to_chars_result toCharsShortest(char* first, char* last, double value) {
  return fallback::toCharsShortest(first, last, value);
}
std::to_chars_result toCharsFixed(char* first, char* last, double value, int precision) {
  return fallback::toCharsFixed(first, last, value, precision);
}
std::from_chars_result fromChars(const char* first, const char* last, double& value,
                                 std::chars_format format) {
  return fallback::fromChars(first, last, value, format);
}
#endif

}  // namespace vorlane

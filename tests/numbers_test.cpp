#include <gtest/gtest.h>

#include <bit>
#include <cerrno>
#include <climits>
#include <clocale>
#include <cmath>
#include <cstdlib>
#include <cstring>
#include <random>
#include <string>
#include <string_view>

#include "vfk/numbers.h"

namespace vorlane {
namespace {

// The texts below are compared with the C library itself, which the tests run
// in the "C" locale.
const char* const kNumberTexts[] = {
    "", "0", "12", "-12", "+12", "  \t42", "\n-7", "12abc", "abc", "-", "+", "+-5", "--5",
    " - 5", "007", "1.5", "-0", "-0.0", "2147483647", "2147483648", "-2147483648",
    "-2147483649", "99999999999999999999", "-99999999999999999999", "780513.22",
    "1163996.28", "-1163996.28", ".5", "5.", "-.5e1x", "1e3", "1E-3", "1.5e", "1.5e+",
    "1e400", "-1e400", "1e-400", "-1e-400", "4.9e-324", "2e-324", "1e-310",
    "0.000000000000000000000000000000001e-300", "123456789012345678901234567890e300",
    "inf", "-inf", "INF", "infinity", "infinit", "nan", "-nan", "NaN", "nan(123)", "nanx",
    "0x1p3", "0X1.8p1", "0x", "0xg", "0x.8", "0x1p99999", "-0x1p-99999", "1,5", "\"12\"",
    "12 34", "\v\f\r9",
};

TEST(ReadInt, ReadsAsStrtolSaturatedToInt) {
  for (const char* text : kNumberTexts) {
    const long expected = std::strtol(text, nullptr, 10);
    const long saturated = expected > INT_MAX ? INT_MAX : expected < INT_MIN ? INT_MIN : expected;
    EXPECT_EQ(readInt(text), saturated) << '"' << text << '"';
  }
  // Only the view's characters count, not what follows them in memory.
  EXPECT_EQ(readInt(std::string_view("12345").substr(0, 2)), 12);

  // Short texts of digits, signs, spaces and letters, around the lengths
  // where plain digits stop fitting an int.
  std::mt19937 random(20261207);
  constexpr std::string_view kCharacters = "0123456789999 +-x";
  for (int trial = 0; trial < 200000; ++trial) {
    std::string text(std::uniform_int_distribution<size_t>(0, 12)(random), '0');
    for (char& c : text) {
      c = kCharacters[std::uniform_int_distribution<size_t>(0, kCharacters.size() - 1)(random)];
    }
    const long expected = std::strtol(text.c_str(), nullptr, 10);
    const long saturated = expected > INT_MAX ? INT_MAX : expected < INT_MIN ? INT_MIN : expected;
    ASSERT_EQ(readInt(text), saturated) << '"' << text << '"';
  }
}

TEST(ReadReal, ReadsAsStrtodInTheCLocale) {
  for (const char* text : kNumberTexts) {
    const double expected = std::strtod(text, nullptr);
    const double actual = readReal(text);
    if (std::isnan(expected)) {
      EXPECT_TRUE(std::isnan(actual)) << '"' << text << '"';
    } else {
      EXPECT_EQ(actual, expected) << '"' << text << '"';
    }
    EXPECT_EQ(std::signbit(actual), std::signbit(expected)) << '"' << text << '"';
  }
  // Only the view's characters count, not what follows them in memory.
  const std::string text = "1.25e2";
  EXPECT_EQ(readReal(std::string_view(text).substr(0, 4)), 1.25);
}

// Plain decimals take readReal's fast path; random ones, with the longest
// digit runs it takes and the shortest it leaves, must read as the general
// conversion and strtod read them.
TEST(ReadReal, FastPathReadsAsTheGeneralConversion) {
  std::mt19937_64 random(9);
  const std::string kTails[] = {"", ";", "x", "e", "E5", ".", "5", "\"", " "};
  for (int i = 0; i < 300000; ++i) {
    std::string text = random() % 4 == 0 ? "-" : random() % 8 == 0 ? "+" : "";
    const int whole = static_cast<int>(random() % 21);
    const int decimals = static_cast<int>(random() % 21) - 1;
    for (int k = 0; k < whole; ++k) text += static_cast<char>('0' + random() % 10);
    if (decimals >= 0) text += '.';
    for (int k = 0; k < decimals; ++k) text += static_cast<char>('0' + random() % 10);
    text += kTails[random() % std::size(kTails)];
    const double general = readRealGeneral(text);
    const double fast = readReal(text);
    ASSERT_EQ(std::bit_cast<uint64_t>(fast), std::bit_cast<uint64_t>(general)) << text;
    ASSERT_EQ(fast, std::strtod(text.c_str(), nullptr)) << text;
  }
  // Every byte in every place of decimals the length of coordinates.
  for (const std::string plain : {"12345678.125", "-713268.38", "1163996.28"}) {
    for (size_t at = 0; at < plain.size(); ++at) {
      for (int byte = 0; byte < 256; ++byte) {
        std::string text = plain;
        text[at] = static_cast<char>(byte);
        ASSERT_EQ(std::bit_cast<uint64_t>(readReal(text)),
                  std::bit_cast<uint64_t>(readRealGeneral(text)))
            << text;
      }
    }
  }
}

TEST(ReadReal, IgnoresADecimalCommaLocale) {
  const std::string previous = std::setlocale(LC_ALL, nullptr);
  if (std::setlocale(LC_ALL, "cs_CZ.UTF-8") == nullptr) {
    GTEST_SKIP() << "the locale cs_CZ.UTF-8 is not installed";
  }
  const double comma = std::strtod("1,5", nullptr);  // the C library follows the locale
  const double value = readReal("780513.22");
  std::setlocale(LC_ALL, previous.c_str());
  EXPECT_EQ(comma, 1.5);
  EXPECT_EQ(value, 780513.22);
}

TEST(NarrowToFloat, RoundsAsIeeeWithoutUndefinedBehaviour) {
  EXPECT_EQ(narrowToFloat(100.0), 100.0f);
  EXPECT_EQ(narrowToFloat(1e300), INFINITY);
  EXPECT_EQ(narrowToFloat(-1e300), -INFINITY);
  EXPECT_EQ(narrowToFloat(3.4028235e38), 3.4028235e38f);
  EXPECT_TRUE(std::isnan(narrowToFloat(NAN)));
}

TEST(ReadWholeNumber, TruncatesAndSaturatesWithoutUndefinedBehaviour) {
  EXPECT_EQ(readWholeNumber("4294967296"), 4294967296);  // beyond an int
  EXPECT_EQ(readWholeNumber("-12.9"), -12);
  EXPECT_EQ(readWholeNumber("1e300"), INT64_MAX);
  EXPECT_EQ(readWholeNumber("-1e300"), INT64_MIN);
  EXPECT_EQ(readWholeNumber("9223372036854775808"), INT64_MAX);  // 2^63
  EXPECT_EQ(readWholeNumber("nan"), 0);
  EXPECT_EQ(readWholeNumber(""), 0);
}

}  // namespace
}  // namespace vorlane

// The floating-point conversions written for standard libraries that lack
// them, held against the standard library's own on random numbers: the same
// characters, the same values, the same ends and errors.
#include <gtest/gtest.h>

#include <cmath>
#include <cstring>
#include <limits>
#include <random>
#include <string>
#include <vector>

#include "platform/std_compat_fallback.h"

namespace vorlane {
namespace {

std::vector<double> randomDoubles() {
  std::mt19937_64 random(20261206);
  std::vector<double> values = {0.0, -0.0, 1.0, 0.5, 0.1, 1e21, 1e22, 1e-7, 123456789012345680.0,
                                5e-324, std::numeric_limits<double>::max(),
                                std::numeric_limits<double>::min(), 0.3, 2.5, 1234.5678};
  std::uniform_real_distribution<double> coordinate(-1.3e6, 1.3e6);
  std::uniform_int_distribution<int> exponent(-330, 310);
  for (int k = 0; k < 20000; ++k) {
    values.push_back(coordinate(random));
    values.push_back(std::round(coordinate(random) * 100) / 100);
    // Any bit pattern but NaN and infinity.
    double any;
    const uint64_t bits = random();
    std::memcpy(&any, &bits, sizeof any);
    if (std::isfinite(any)) values.push_back(any);
    values.push_back(std::ldexp(1.0, exponent(random)));  // powers of two
  }
  return values;
}

TEST(StdCompat, ToCharsGivesTheLibrarysCharacters) {
  char mine[512], library[512];
  for (const double value : randomDoubles()) {
    auto a = fallback::toCharsShortest(mine, mine + sizeof mine, value);
    auto b = std::to_chars(library, library + sizeof library, value);
    ASSERT_EQ(std::string(mine, a.ptr), std::string(library, b.ptr)) << value;
    a = fallback::toCharsFixed(mine, mine + sizeof mine, value, 2);
    b = std::to_chars(library, library + sizeof library, value, std::chars_format::fixed, 2);
    ASSERT_EQ(std::string(mine, a.ptr), std::string(library, b.ptr)) << value;
  }
  // Too small a buffer is an error, as the library's is.
  EXPECT_EQ(fallback::toCharsFixed(mine, mine + 3, 1234.5, 2).ec, std::errc::value_too_large);
}

TEST(StdCompat, FromCharsReadsAsTheLibraryReads) {
  std::vector<std::string> texts = {"", "-", ".", ".5", "5.", "1e", "1e+", "1e5x", "0x1A", "-0x1A",
                                    " 1", "+1", "inf", "-infinity", "nan", "NaN(12)", "1e400",
                                    "-1e400", "1e-400", "4e-320", "00x5", "1.5.5", "e5", "12;34"};
  for (const double value : randomDoubles()) {
    char digits[64];
    texts.emplace_back(digits, std::to_chars(digits, digits + sizeof digits, value).ptr);
    if (texts.size() % 5 == 0) {
      texts.emplace_back(digits, std::to_chars(digits, digits + sizeof digits, value,
                                               std::chars_format::hex).ptr);
    }
  }
  for (const std::string& text : texts) {
    for (const auto format : {std::chars_format::general, std::chars_format::hex}) {
      double mine = -7.0, library = -7.0;
      const auto a = fallback::fromChars(text.data(), text.data() + text.size(), mine, format);
      const auto b = std::from_chars(text.data(), text.data() + text.size(), library, format);
      ASSERT_EQ(a.ec, b.ec) << '"' << text << '"';
      ASSERT_EQ(a.ptr - text.data(), b.ptr - text.data()) << '"' << text << '"';
      if (a.ec == std::errc() && !std::isnan(library)) {
        ASSERT_EQ(std::memcmp(&mine, &library, sizeof mine), 0) << '"' << text << '"';
      }
    }
  }
}

}  // namespace
}  // namespace vorlane

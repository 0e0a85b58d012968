#include "svg/svg_output.h"

#include <gtest/gtest.h>

#include <cfloat>
#include <climits>
#include <clocale>
#include <cmath>
#include <cstdio>
#include <random>
#include <string>

#include "tests/test_support.h"

namespace vorlane {
namespace {

std::string printfFixed2(double value) {
  char buffer[512];
  std::snprintf(buffer, sizeof buffer, "%.2f", value);
  return buffer;
}

std::string streamed(double value) {
  SvgOutput out;
  out << value;
  return std::string(out.text());
}

TEST(SvgOutput, NumbersHaveTheDigitsOfPrintfFixed2) {
  const double edges[] = {
      0.0,    -0.0,    12.0,     1.5,     -0.004,   0.005,           0.015,        0.125,
      0.375,  2.675,   1.005,    -1.005,  999.995,  780513.225,      -1163996.285, 1e15 + 0.5,
      1e-300, -1e-300, 4.9e-324, DBL_MAX, -DBL_MAX, INFINITY,        -INFINITY,    NAN,
      -NAN,   0.01f,   0.2f,     90.0f,   1e22,     123456789012.345,
      // Their products with 100 round to a halfway point in doubles, though
      // they lie above it or below it.
      36397001.915, 24447120.105, 10955131.485, 2710417.455};
  for (const double value : edges) EXPECT_EQ(streamed(value), printfFixed2(value)) << value;
  EXPECT_EQ(streamed(12.0), "12.00");
  EXPECT_EQ(streamed(-0.004), "-0.00");
  EXPECT_EQ(streamed(NAN), "nan");
  EXPECT_EQ(streamed(-INFINITY), "-inf");

  // Coordinates of the sizes a cadastral map has, and values near x.xx5.
  std::mt19937_64 random(20261205);
  std::uniform_real_distribution<double> coordinate(-1.5e6, 1.5e6);
  for (int i = 0; i < 200000; ++i) {
    const double value = coordinate(random);
    const double halfway = std::round(value * 100.0) / 100.0 + 0.005;
    ASSERT_EQ(streamed(value), printfFixed2(value)) << value;
    ASSERT_EQ(streamed(halfway), printfFixed2(halfway)) << halfway;
  }
  // Magnitudes from 1e-4 to 1e10, across the limit of the fast path, and
  // the doubles right beside the halfway points.
  std::uniform_real_distribution<double> exponent(-4.0, 10.0);
  for (int i = 0; i < 200000; ++i) {
    const double magnitude = std::pow(10.0, exponent(random));
    const double value = (i % 2 == 0 ? 1 : -1) * magnitude;
    const double halfway = std::round(value * 100.0) / 100.0 + 0.005;
    for (const double near :
         {value, halfway, std::nextafter(halfway, 0.0), std::nextafter(halfway, 1e300)}) {
      ASSERT_EQ(streamed(near), printfFixed2(near)) << near;
    }
  }
}

// Floats in a row, repeated or not: each has its own digits, 0.0f and
// -0.0f and the NaNs included.
TEST(SvgOutput, FloatsInARowKeepTheirDigits) {
  const float values[] = {1.5f, 1.5f, 0.0f, -0.0f, -0.0f, 0.0f, NAN, NAN, -INFINITY, 2.25f,
                          1.5f, FLT_MAX, FLT_MAX, -FLT_MAX, 1e-30f, 90.0f, 90.0f};
  std::mt19937 random(20261207);
  SvgOutput out;
  std::string expected;
  for (int i = 0; i < 2000; ++i) {
    const float value =
        values[std::uniform_int_distribution<size_t>(0, std::size(values) - 1)(random)];
    out << value << " ";
    expected += printfFixed2(value) + " ";
  }
  EXPECT_EQ(out.text(), expected);
}

// Whole numbers as std::to_string writes them: the edges of the fast path
// for those below 10^8, and random ones of every length.
TEST(WholeNumbers, AreAppendedAsToStringWritesThem) {
  auto appended = [](int64_t value) {
    std::string text = "n=";
    appendNumber(text, value);
    return text;
  };
  for (const int64_t value :
       {int64_t{0}, int64_t{7}, int64_t{10}, int64_t{99'999'999}, int64_t{100'000'000},
        int64_t{-1}, int64_t{-99'999'999}, INT64_MAX, INT64_MIN}) {
    EXPECT_EQ(appended(value), "n=" + std::to_string(value));
  }
  std::mt19937_64 random(20261207);
  std::uniform_int_distribution<int> digits(1, 18);
  for (int i = 0; i < 200000; ++i) {
    int64_t limit = 1;
    for (int k = digits(random); k > 0; --k) limit *= 10;
    int64_t value = std::uniform_int_distribution<int64_t>(0, limit - 1)(random);
    if (i % 5 == 0) value = -value;
    ASSERT_EQ(appended(value), "n=" + std::to_string(value));
  }
}

TEST(SvgOutput, EscapesModelText) {
  SvgOutput out;
  out << Escaped{"a&b<c>d\"e'f č"} << Escaped{""} << Escaped{"&&"} << Escaped{"\nx\n\n"};
  EXPECT_EQ(out.text(), "a&amp;b&lt;c&gt;d&quot;e'f č&amp;&amp;\r\nx\r\n\r\n");

  SvgOutput controls;
  controls << Escaped{std::string_view("a\0b\x01\tc\rd\x1f\x7f", 10)};
  EXPECT_EQ(controls.text(),
            "a\xEF\xBF\xBD"
            "b\xEF\xBF\xBD\tc\rd\xEF\xBF\xBD\x7f");
}

TEST(SvgOutput, IgnoresADecimalCommaLocale) {
  const std::string previous = std::setlocale(LC_ALL, nullptr);
  if (std::setlocale(LC_ALL, "cs_CZ.UTF-8") == nullptr) {
    GTEST_SKIP() << "the locale cs_CZ.UTF-8 is not installed";
  }
  const std::string local = printfFixed2(1.5);  // the C library follows the locale
  const std::string ours = streamed(-1163996.28);
  std::setlocale(LC_ALL, previous.c_str());
  EXPECT_EQ(local, "1,50");
  EXPECT_EQ(ours, "-1163996.28");
}

}  // namespace
}  // namespace vorlane

#include <gtest/gtest.h>

#include <iconv.h>

#include <string>

#include "platform/code_page.h"
#include "platform/unicode.h"
#include "tests/test_support.h"
#include "vfk/text_conversion.h"

namespace vorlane {
namespace {

// The C library's own converter, as an independent reference. Returns false
// for a byte that the encoding does not define.
bool iconvToUtf8(const char* encoding, char byte, std::string& out) {
  iconv_t converter = iconv_open("UTF-8", encoding);
  if (converter == reinterpret_cast<iconv_t>(-1)) {
    ADD_FAILURE() << "iconv lacks " << encoding;
    return false;
  }
  char in[1] = {byte};
  char buffer[8];
  char* inPointer = in;
  char* outPointer = buffer;
  size_t inLeft = 1;
  size_t outLeft = sizeof buffer;
  const bool ok = iconv(converter, &inPointer, &inLeft, &outPointer, &outLeft) != static_cast<size_t>(-1);
  iconv_close(converter);
  out.assign(buffer, sizeof buffer - outLeft);
  return ok;
}

TEST(DecodeToUtf8, Iso8859_2AndWindows1250MatchTheCLibrary) {
  for (int value = 0; value < 256; ++value) {
    const char byte = static_cast<char>(value);
    std::string expected;
    std::string actual;

    ASSERT_TRUE(iconvToUtf8("ISO-8859-2", byte, expected));
    ASSERT_TRUE(decodeToUtf8(kIso8859_2CodePage, std::string(1, byte), actual));
    EXPECT_EQ(actual, expected) << "ISO-8859-2 byte " << value;

    if (!iconvToUtf8("CP1250", byte, expected)) {
      // Undefined in Windows-1250: decoded as the code point of the same value.
      expected.clear();
      appendUtf8(expected, static_cast<char32_t>(value));
      EXPECT_TRUE(value == 0x81 || value == 0x83 || value == 0x88 || value == 0x90 ||
                  value == 0x98)
          << value;
    }
    ASSERT_TRUE(decodeToUtf8(kAnsiCodePage, std::string(1, byte), actual));
    EXPECT_EQ(actual, expected) << "Windows-1250 byte " << value;
  }
  std::string unused;
  EXPECT_FALSE(decodeToUtf8(437, "x", unused));
}

// Each maximal ill-formed subpart becomes one U+FFFD, as the Unicode
// Standard recommends and Python's bytes.decode("utf-8", "replace") does;
// the expected bytes are Python's.
TEST(ConvertToUtf8, ReplacesWhatIsNotUtf8WithUtf8) {
  const std::string r = "\xEF\xBF\xBD";  // U+FFFD
  const struct {
    std::string_view bytes;
    std::string expected;
  } cases[] = {
      {"a\x80" "b", "a" + r + "b"},             // a stray continuation byte
      {"\xC3", r},                             // a truncated sequence, at the end
      {"\xE2\x82", r},                         // ... of three bytes
      {"\xE2\x82x", r + "x"},                   // ... cut by another character
      {"\xF0\x9F\x98", r},                     // ... of four bytes
      {"\xC0\xAF", r + r},                      // an overlong "/"
      {"\xE0\x80\xAF", r + r + r},              // ... in three bytes
      {"\xED\xA0\x80", r + r + r},              // a surrogate
      {"\xF4\x90\x80\x80", r + r + r + r},      // above U+10FFFF
      {"\xF5\x80\x80\x80", r + r + r + r},
      {"\xFF", r},
      // The Standard's own example: E1 80, E2, F0 91 92 and F1 BF are four
      // subparts.
      {"\xE1\x80\xE2\xF0\x91\x92\xF1\xBF" "A", r + r + r + r + "A"},
      {"\xF0\x9F\x98\x80 \xC5\xA0\xC3\xA1rka \xEF\xBF\xBD \xF4\x8F\xBF\xBF",  // well-formed
       "\xF0\x9F\x98\x80 \xC5\xA0\xC3\xA1rka \xEF\xBF\xBD \xF4\x8F\xBF\xBF"},
      {std::string_view("\0x", 2), std::string("\0x", 2)},
  };
  for (const auto& c : cases) {
    std::string text(c.bytes);
    convertToUtf8(text, kUtf8CodePage);
    EXPECT_EQ(text, c.expected) << ::testing::PrintToString(c.bytes);
  }
}

TEST(ConvertToUtf8, DecodesWithTheCodePageGiven) {
  // "Šárka" in ISO-8859-2 and in Windows-1250: Š differs between the two.
  const std::string iso = "\xA9\xE1rka";
  const std::string windows = "\x8A\xE1rka";
  std::string text = windows;
  convertToUtf8(text, kAnsiCodePage);
  EXPECT_EQ(text, "Šárka");
  text = iso;
  convertToUtf8(text, kIso8859_2CodePage);
  EXPECT_EQ(text, "Šárka");
}

}  // namespace
}  // namespace vorlane

#include "svg/svg_output.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdint>

#include "platform/fixed_decimals.h"
#include "platform/std_compat.h"
#include "platform/unicode.h"

namespace vorlane {

namespace {

// U+FFFD, the replacement character, in UTF-8.
constexpr std::string_view kReplacement = "\xEF\xBF\xBD";

}  // namespace

SvgOutput& SvgOutput::operator<<(Escaped escaped) {
  // Whether a byte needs more than itself: the markup characters, the line
  // feed, the control characters that XML does not allow in a document at
  // all (tab and CR it does), and the bytes above ASCII, which must be
  // well-formed UTF-8.
  static constexpr auto kSpecial = [] {
    std::array<bool, 256> special{};
    for (int c = 0; c < 0x20; ++c) special[c] = c != '\t' && c != '\r';
    for (int c = 0x80; c < 0x100; ++c) special[c] = true;
    special['&'] = special['<'] = special['>'] = special['"'] = true;
    return special;
  }();
  std::string_view text = escaped.text;
  while (!text.empty()) {
    size_t run = 0;
    while (run < text.size() && !kSpecial[static_cast<unsigned char>(text[run])]) ++run;
    *this << text.substr(0, run);
    if (run == text.size()) break;
    if (static_cast<unsigned char>(text[run]) >= 0x80) {
      // A character of UTF-8 as it is; each maximal ill-formed sequence
      // becomes one U+FFFD.
      // (U+FFFE and U+FFFF are no characters of an XML document either.)
      const Utf8Step step = decodeUtf8(text.substr(run));
      const bool character =
          step.wellFormed && step.codePoint != 0xFFFE && step.codePoint != 0xFFFF;
      *this << (character ? text.substr(run, step.length) : kReplacement);
      text.remove_prefix(run + step.length);
      continue;
    }
    switch (text[run]) {
      case '&':
        *this << "&amp;";
        break;
      case '<':
        *this << "&lt;";
        break;
      case '>':
        *this << "&gt;";
        break;
      case '"':
        *this << "&quot;";
        break;
      case '\n':
        *this << "\r\n";
        break;
      default:
        *this << kReplacement;
        break;
    }
    text.remove_prefix(run + 1);
  }
  return *this;
}

std::string_view formatPoint(double x, double y, char* buffer) {
  char* at = buffer;
  at += formatFixed2(x, at).size();
  *at++ = ',';
  at += formatFixed2(y, at).size();
  *at++ = ' ';
  return std::string_view(buffer, static_cast<size_t>(at - buffer));
}

SvgOutput& SvgOutput::point(double x, double y) {
  char* at = room(kPointBufferSize);
  commit(at + formatPoint(x, y, at).size());
  return *this;
}

SvgOutput& SvgOutput::operator<<(double value) {
  char* at = room(kNumberBufferSize);
  commit(at + formatFixed2(value, at).size());
  return *this;
}

SvgOutput& SvgOutput::operator<<(float value) {
  const auto bits = bitCast<uint32_t>(value);
  if (floatLength_ == 0 || bits != floatBits_) {
    char buffer[kNumberBufferSize];
    const std::string_view text = formatFixed2(value, buffer);
    if (text.size() > floatText_.size()) return *this << text;
    std::copy(text.begin(), text.end(), floatText_.begin());
    floatLength_ = static_cast<uint8_t>(text.size());
    floatBits_ = bits;
  }
  return appendPrefix(floatText_, floatLength_);
}

SvgOutput& SvgOutput::operator<<(int value) {
  char* at = room(16);  // a sign and 10 digits
  commit(std::to_chars(at, at + 16, value).ptr);
  return *this;
}

}  // namespace vorlane

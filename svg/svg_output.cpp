#include "svg/svg_output.h"

#include <algorithm>
#include <array>
#include <bit>
#include <charconv>

#include "platform/unicode.h"
#include <cstdint>

namespace vorlane {

namespace {

// U+FFFD, the replacement character, in UTF-8.
constexpr std::string_view kReplacement = "\xEF\xBF\xBD";

// Large enough that a drawing of hundreds of megabytes needs few writes,
// small enough to stay in the cache while it fills.
constexpr size_t kBufferSize = 256 * 1024;

// The digits of 0 to 99, two by two.
constexpr char kDigitPairs[] =
    "00010203040506070809101112131415161718192021222324252627282930313233343536373839"
    "40414243444546474849505152535455565758596061626364656667686970717273747576777879"
    "8081828384858687888990919293949596979899";

// The fast path of formatFixed2, for every value below 2^58 / 100 in
// magnitude: value * 100 is exactly mantissa * 25 * 2^(exponent + 2), so the
// hundredths and what is left over are exact integers, and rounding them as
// "%.2f" does (to nearest, a tie to the even one) gives its digits.
// Returns 0, having written nothing, for larger and non-finite values.
size_t formatFixed2Fast(double value, char* buffer) {
  const auto bits = std::bit_cast<uint64_t>(value);
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

  char* p = buffer;
  *p = '-';  // "%.2f" keeps the sign of -0.004 and of -0.0
  p += bits >> 63;
  p = std::to_chars(p, p + 24, hundredths / 100).ptr;
  *p = '.';
  std::memcpy(p + 1, kDigitPairs + 2 * (hundredths % 100), 2);
  return static_cast<size_t>(p + 3 - buffer);
}

}  // namespace

std::string_view formatFixed2(double value, char* buffer) {
  if (const size_t length = formatFixed2Fast(value, buffer))
    return std::string_view(buffer, length);
  // std::to_chars with fixed precision gives the digits of "%.2f" in the
  // "C" locale, without a heap allocation and whatever the process locale.
  const auto result =
      std::to_chars(buffer, buffer + kNumberBufferSize, value, std::chars_format::fixed, 2);
  return std::string_view(buffer, static_cast<size_t>(result.ptr - buffer));
}

SvgOutput::SvgOutput(OutputFile* file)
    : file_(file),
      complete_(file == nullptr || file->isOpen()),
      buffer_(std::make_unique_for_overwrite<char[]>(kBufferSize)) {
  cursor_ = buffer_.get();
  limit_ = cursor_ + kBufferSize;
}

SvgOutput::~SvgOutput() { flush(); }

void SvgOutput::flush() {
  if (file_ == nullptr) return;
  // A file that failed swallows the rest.
  if (complete_)
    complete_ = file_->write(buffer_.get(), static_cast<size_t>(cursor_ - buffer_.get()));
  cursor_ = buffer_.get();
}

void SvgOutput::makeRoom(size_t size) {
  flush();
  const auto used = static_cast<size_t>(cursor_ - buffer_.get());
  const auto capacity = static_cast<size_t>(limit_ - buffer_.get());
  if (capacity - used >= size) return;
  // Kept in memory, or more at once than the buffer holds: it grows.
  const size_t larger = std::max(capacity * 2, used + size);
  auto grown = std::make_unique_for_overwrite<char[]>(larger);
  std::memcpy(grown.get(), buffer_.get(), used);
  buffer_ = std::move(grown);
  cursor_ = buffer_.get() + used;
  limit_ = buffer_.get() + larger;
}

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
      const Utf8Step step = decodeUtf8(text.substr(run));
      *this << (step.wellFormed ? text.substr(run, step.length) : kReplacement);
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
  cursor_ = at + formatPoint(x, y, at).size();
  return *this;
}

SvgOutput& SvgOutput::operator<<(double value) {
  char* at = room(kNumberBufferSize);
  cursor_ = at + formatFixed2(value, at).size();
  return *this;
}

SvgOutput& SvgOutput::operator<<(int value) {
  char* at = room(16);  // a sign and 10 digits
  cursor_ = std::to_chars(at, at + 16, value).ptr;
  return *this;
}

}  // namespace vorlane

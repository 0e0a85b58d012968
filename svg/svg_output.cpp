#include "svg/svg_output.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <cstring>

namespace vorlane {

namespace {
// Large enough that a drawing of hundreds of megabytes needs few writes.
constexpr size_t kFlushSize = 1 << 20;

// The fast path of formatFixed2, for the coordinates a drawing is made of:
// value * 100 is computed with an error below 2e-5 for |value| < 1e9, so
// where its fraction is not within 1e-4 of one half, rounding it gives the
// same hundredths as rounding the exact value, which is what "%.2f" does.
// Returns false, having written nothing, where that cannot be known.
bool formatFixed2Fast(double value, char* buffer, size_t& length) {
  if (!(std::fabs(value) < 1e9)) return false;  // also NaN and the infinities
  const double scaled = std::fabs(value) * 100.0;
  const double whole = std::floor(scaled);
  const double fraction = scaled - whole;
  if (std::fabs(fraction - 0.5) < 1e-4) return false;
  auto hundredths = static_cast<uint64_t>(whole) + (fraction > 0.5 ? 1 : 0);

  // Digits from the right: two decimals, the point, at least one more digit.
  char digits[24];
  char* end = digits + sizeof digits;
  char* p = end;
  for (int i = 0; i < 2; ++i, hundredths /= 10) *--p = static_cast<char>('0' + hundredths % 10);
  *--p = '.';
  do {
    *--p = static_cast<char>('0' + hundredths % 10);
    hundredths /= 10;
  } while (hundredths > 0);
  if (std::signbit(value)) *--p = '-';  // "%.2f" keeps the sign of -0.004 and of -0.0
  length = static_cast<size_t>(end - p);
  std::memcpy(buffer, p, length);
  return true;
}

}  // namespace

std::string_view formatFixed2(double value, char* buffer) {
  size_t length = 0;
  if (formatFixed2Fast(value, buffer, length)) return std::string_view(buffer, length);
  // std::to_chars with fixed precision gives the digits of "%.2f" in the
  // "C" locale, without a heap allocation and whatever the process locale.
  const auto result =
      std::to_chars(buffer, buffer + kNumberBufferSize, value, std::chars_format::fixed, 2);
  return std::string_view(buffer, static_cast<size_t>(result.ptr - buffer));
}

SvgOutput::SvgOutput(OutputFile* file) : file_(file) {
  // A stream kept in memory grows as its text does.
  if (file_ != nullptr) buffer_.reserve(kFlushSize + 4096);
}

SvgOutput::~SvgOutput() { flush(); }

void SvgOutput::flush() {
  if (file_ == nullptr) return;
  file_->write(buffer_.data(), buffer_.size());  // a failed file swallows the text
  buffer_.clear();
}

void SvgOutput::appendRaw(std::string_view bytes) {
  buffer_.append(bytes);
  if (file_ != nullptr && buffer_.size() >= kFlushSize) flush();
}

SvgOutput& SvgOutput::operator<<(std::string_view text) {
  for (;;) {
    const auto* lineFeed = static_cast<const char*>(std::memchr(text.data(), '\n', text.size()));
    if (lineFeed == nullptr) break;
    const auto length = static_cast<size_t>(lineFeed - text.data());
    appendRaw(text.substr(0, length));
    appendRaw("\r\n");
    text.remove_prefix(length + 1);
  }
  appendRaw(text);
  return *this;
}

SvgOutput& SvgOutput::operator<<(Escaped escaped) {
  // The markup characters, the line feed, and the control characters that
  // XML does not allow in a document at all (tab and CR it does).
  static constexpr char kSpecial[] =
      "&<>\"\n\x01\x02\x03\x04\x05\x06\x07\x08\x0B\x0C\x0E\x0F"
      "\x10\x11\x12\x13\x14\x15\x16\x17\x18\x19\x1A\x1B\x1C\x1D\x1E\x1F";
  static constexpr std::string_view kSpecialWithNul(kSpecial, sizeof kSpecial);  // and the NUL
  std::string_view text = escaped.text;
  for (;;) {
    const size_t special = text.find_first_of(kSpecialWithNul);
    if (special == std::string_view::npos) break;
    appendRaw(text.substr(0, special));
    switch (text[special]) {
      case '&': appendRaw("&amp;"); break;
      case '<': appendRaw("&lt;"); break;
      case '>': appendRaw("&gt;"); break;
      case '"': appendRaw("&quot;"); break;
      case '\n': appendRaw("\r\n"); break;
      default: appendRaw("\xEF\xBF\xBD"); break;  // U+FFFD, the replacement character
    }
    text.remove_prefix(special + 1);
  }
  appendRaw(text);
  return *this;
}

SvgOutput& SvgOutput::operator<<(double value) {
  char buffer[kNumberBufferSize];
  appendRaw(formatFixed2(value, buffer));
  return *this;
}

SvgOutput& SvgOutput::operator<<(int value) {
  char buffer[16];  // a sign and 10 digits
  const auto result = std::to_chars(buffer, buffer + sizeof buffer, value);
  appendRaw(std::string_view(buffer, static_cast<size_t>(result.ptr - buffer)));
  return *this;
}

}  // namespace vorlane

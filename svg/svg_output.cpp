#include "svg/svg_output.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cstdint>

#include "platform/fixed_decimals.h"
#include "platform/unicode.h"

namespace vorlane {

namespace {

// U+FFFD, the replacement character, in UTF-8.
constexpr std::string_view kReplacement = "\xEF\xBF\xBD";

// Large enough that a drawing of hundreds of megabytes needs few writes,
// small enough to stay in the cache while it fills.
constexpr size_t kBufferSize = 256 * 1024;

}  // namespace

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

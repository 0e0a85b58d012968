#include "vfk/line_reader.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <utility>

#include "vfk/structure_scan.h"

namespace vorlane {

namespace {
constexpr char kEndOfInput = 0x1A;
}

LineReader::LineReader(InputFile& file, std::atomic<uint64_t>* bytesRead, bool endAtMark)
    : file_(file), bytesRead_(bytesRead), endAtMark_(endAtMark) {}

std::optional<LineReader::EndMark> LineReader::endMark() const {
  if (!endMark_) return std::nullopt;
  EndMark mark = *endMark_;
  // The lines before the mark have all been returned by now.
  mark.line = lineNumber_ + (markStartsLine_ ? 1 : 0);
  return mark;
}

bool LineReader::nextLine(std::string_view& line) {
  for (;;) {
    if (skipping_ && !skipRestOfLine()) return false;
    const size_t lineFeed = nextLineFeed(begin_);
    size_t length;
    if (lineFeed < end_) {
      length = lineFeed - begin_;
      if (length > 0 && buffer_[lineFeed - 1] == '\r') --length;
      lineStart_ = begin_;
      begin_ = lineFeed + 1;
    } else if (end_ - begin_ > kMaxLineLength + 1) {
      // Even if a CR LF follows, the line is longer than it may be: what is
      // here is all that is kept of it.
      length = kMaxLineLength;
      lineStart_ = begin_;
      begin_ = end_;
      skipping_ = true;
    } else if (!inputEnded_ && refill()) {
      continue;
    } else {
      inputEnded_ = true;
      if (begin_ == end_) return false;
      length = end_ - begin_;  // the last line, without a line end
      lineStart_ = begin_;
      begin_ = end_;
    }
    if (!endAtMark_) {
      // Marks at the end of a line, and the CRs among them, end nothing.
      const char* const start = buffer_.get() + lineStart_;
      size_t kept = length;
      while (kept > 0 && (start[kept - 1] == kEndOfInput || start[kept - 1] == '\r')) --kept;
      if (std::memchr(start + kept, kEndOfInput, length - kept) != nullptr) length = kept;
    }
    lastLineCut_ = length > kMaxLineLength || skipping_;
    lineEnd_ = lineStart_ + std::min(length, kMaxLineLength);
    line = std::string_view(buffer_.get() + lineStart_, lineEnd_ - lineStart_);
    ++lineNumber_;
    return true;
  }
}

void LineReader::splitLastLine(SplitLine& row, int maxFields) const {
  const int limit = std::min(maxFields, kMaxFields);
  const char* const base = buffer_.get();
  int count = 0;
  size_t cursor = lineStart_;
  if (lineStart_ < lineEnd_ && limit > 0) {
    const size_t firstWord = lineStart_ / 64;
    const size_t lastWord = (lineEnd_ - 1) / 64;
    for (size_t word = firstWord; word <= lastWord; ++word) {
      uint64_t bits = semicolons_[word];
      if (word == firstWord) bits &= ~uint64_t{0} << (lineStart_ % 64);
      if (word == lastWord && lineEnd_ % 64 != 0) bits &= (uint64_t{1} << (lineEnd_ % 64)) - 1;
      for (; bits != 0; bits &= bits - 1) {
        const size_t semicolon = word * 64 + static_cast<size_t>(std::countr_zero(bits));
        row.fieldTable[static_cast<size_t>(count++)] =
            std::string_view(base + cursor, semicolon - cursor);
        cursor = semicolon + 1;
        if (count == limit) {
          row.fieldCount = count;
          return;
        }
      }
    }
    // The piece after the last semicolon counts when it is not empty.
    if (cursor < lineEnd_) {
      row.fieldTable[static_cast<size_t>(count++)] =
          std::string_view(base + cursor, lineEnd_ - cursor);
    }
  }
  row.fieldCount = count;
}

size_t LineReader::nextLineFeed(size_t from) const {
  if (from >= end_) return end_;
  size_t word = from / 64;
  uint64_t bits = lineFeeds_[word] & (~uint64_t{0} << (from % 64));
  while (bits == 0) {
    if (++word * 64 >= end_) return end_;
    bits = lineFeeds_[word];
  }
  return std::min(end_, word * 64 + static_cast<size_t>(std::countr_zero(bits)));
}

bool LineReader::skipRestOfLine() {
  for (;;) {
    const size_t lineFeed = nextLineFeed(begin_);
    if (lineFeed < end_) {
      begin_ = lineFeed + 1;
      skipping_ = false;
      return true;
    }
    begin_ = end_;
    if (inputEnded_ || !refill()) {
      inputEnded_ = true;
      return false;
    }
  }
}

int LineReader::lastLineSemicolons() const {
  int count = 0;
  if (lineStart_ >= lineEnd_) return 0;
  const size_t firstWord = lineStart_ / 64;
  const size_t lastWord = (lineEnd_ - 1) / 64;
  for (size_t word = firstWord; word <= lastWord; ++word) {
    uint64_t bits = semicolons_[word];
    if (word == firstWord) bits &= ~uint64_t{0} << (lineStart_ % 64);
    if (word == lastWord && lineEnd_ % 64 != 0) bits &= (uint64_t{1} << (lineEnd_ % 64)) - 1;
    count += std::popcount(bits);
  }
  return count;
}

void LineReader::passOverRest(const char* mark, size_t after) {
  auto onlyLineEnds = [](const char* bytes, size_t size) {
    for (size_t k = 0; k < size; ++k) {
      if (bytes[k] != '\r' && bytes[k] != '\n' && bytes[k] != kEndOfInput) return false;
    }
    return true;
  };
  bool more = !onlyLineEnds(mark + 1, after);
  uint64_t unread = after;
  std::unique_ptr<char[]> scratch = std::make_unique_for_overwrite<char[]>(kChunkSize);
  for (size_t got; (got = file_.read(scratch.get(), kChunkSize)) > 0;) {
    if (bytesRead_ != nullptr) bytesRead_->fetch_add(got, std::memory_order_relaxed);
    unread += got;
    more = more || !onlyLineEnds(scratch.get(), got);
  }
  if (!more) return;
  const char* const before = mark == buffer_.get() ? &byteBeforeBuffer_ : mark - 1;
  markStartsLine_ = *before == '\n';
  endMark_ = EndMark{0, bufferStart_ + static_cast<uint64_t>(mark - buffer_.get()), unread};
}

bool LineReader::refill() {
  const size_t unread = end_ - begin_;
  if (begin_ > 0) byteBeforeBuffer_ = buffer_[begin_ - 1];
  bufferStart_ += begin_;
  if (unread + kChunkSize > capacity_) {
    // At most an over-long line's kept part, a CR, and a piece.
    const size_t capacity = std::max(unread + kChunkSize, 2 * capacity_);
    auto larger = std::make_unique_for_overwrite<char[]>(capacity);
    if (unread > 0) std::memcpy(larger.get(), buffer_.get() + begin_, unread);
    buffer_ = std::move(larger);
    lineFeeds_ = std::make_unique_for_overwrite<uint64_t[]>(structureWords(capacity));
    semicolons_ = std::make_unique_for_overwrite<uint64_t[]>(structureWords(capacity));
    capacity_ = capacity;
  } else if (begin_ > 0) {
    std::memmove(buffer_.get(), buffer_.get() + begin_, unread);
  }
  begin_ = 0;
  end_ = unread;

  const size_t got = file_.read(buffer_.get() + end_, kChunkSize);
  if (bytesRead_ != nullptr) bytesRead_->fetch_add(got, std::memory_order_relaxed);
  const auto* stop =
      endAtMark_ ? static_cast<const char*>(std::memchr(buffer_.get() + end_, kEndOfInput, got))
                 : nullptr;
  if (stop != nullptr) {
    passOverRest(stop, got - static_cast<size_t>(stop - (buffer_.get() + end_)) - 1);
    end_ = static_cast<size_t>(stop - buffer_.get());
    inputEnded_ = true;
  } else {
    end_ += got;
  }
  // Also when nothing more came: the unread bytes have moved.
  markStructure(buffer_.get(), end_, lineFeeds_.get(), semicolons_.get());
  return got > 0;
}

}  // namespace vorlane

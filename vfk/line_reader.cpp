#include "vfk/line_reader.h"

#include <cstring>
#include <utility>

namespace vorlane {

namespace {
constexpr char kEndOfInput = 0x1A;
}

LineReader::LineReader(InputFile& file)
    : file_(file), buffer_(std::make_unique_for_overwrite<char[]>(kChunkSize)) {}

bool LineReader::nextLine(std::string_view& line) {
  size_t searchFrom = begin_;
  for (;;) {
    const char* data = buffer_.get();
    const auto* lineFeed =
        static_cast<const char*>(std::memchr(data + searchFrom, '\n', end_ - searchFrom));
    if (lineFeed != nullptr) {
      size_t length = static_cast<size_t>(lineFeed - (data + begin_));
      if (length > 0 && data[begin_ + length - 1] == '\r') --length;
      line = std::string_view(data + begin_, length);
      begin_ = static_cast<size_t>(lineFeed - data) + 1;
      return true;
    }
    const size_t scanned = end_ - begin_;
    if (inputEnded_ || !refill()) {
      inputEnded_ = true;
      if (begin_ == end_) return false;
      line = std::string_view(buffer_.get() + begin_, end_ - begin_);
      begin_ = end_;
      return true;
    }
    searchFrom = begin_ + scanned;  // refill() moved the unread bytes to begin_
  }
}

bool LineReader::refill() {
  const size_t unread = end_ - begin_;
  if (begin_ > 0) {
    std::memmove(buffer_.get(), buffer_.get() + begin_, unread);
    begin_ = 0;
    end_ = unread;
  }
  if (end_ == capacity_) {
    auto larger = std::make_unique_for_overwrite<char[]>(capacity_ * 2);
    std::memcpy(larger.get(), buffer_.get(), end_);
    buffer_ = std::move(larger);
    capacity_ *= 2;
  }
  const size_t got = file_.read(buffer_.get() + end_, capacity_ - end_);
  if (got == 0) return false;
  const auto* stop =
      static_cast<const char*>(std::memchr(buffer_.get() + end_, kEndOfInput, got));
  if (stop != nullptr) {
    end_ = static_cast<size_t>(stop - buffer_.get());
    inputEnded_ = true;
    return true;
  }
  end_ += got;
  return true;
}

}  // namespace vorlane

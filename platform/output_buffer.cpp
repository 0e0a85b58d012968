#include "platform/output_buffer.h"

#include <algorithm>

#include "platform/std_compat.h"

namespace vorlane {

namespace {

// Large enough that a drawing of hundreds of megabytes needs few writes,
// small enough to stay in the cache while it fills.
constexpr size_t kBufferSize = 256 * 1024;

}  // namespace

OutputBuffer::OutputBuffer(OutputFile* file)
    : file_(file),
      complete_(file == nullptr || file->isOpen()),
      buffer_(makeUninitializedArray<char>(kBufferSize)) {
  cursor_ = buffer_.get();
  limit_ = cursor_ + kBufferSize;
}

OutputBuffer::~OutputBuffer() { flush(); }

void OutputBuffer::flush() {
  if (file_ == nullptr) return;
  const auto size = static_cast<size_t>(cursor_ - buffer_.get());
  // A file that failed swallows the rest.
  if (complete_) complete_ = file_->write(buffer_.get(), size);
  flushed_ += size;
  cursor_ = buffer_.get();
}

void OutputBuffer::overwrite(uint64_t position, std::string_view bytes) {
  if (position >= flushed_) {
    std::memcpy(buffer_.get() + (position - flushed_), bytes.data(), bytes.size());
  } else if (complete_) {
    complete_ = file_->writeAt(position, bytes.data(), bytes.size());
  }
}

void OutputBuffer::makeRoom(size_t size) {
  flush();
  const auto used = static_cast<size_t>(cursor_ - buffer_.get());
  const auto capacity = static_cast<size_t>(limit_ - buffer_.get());
  if (capacity - used >= size) return;
  // Kept in memory, or more at once than the buffer holds: it grows.
  const size_t larger = std::max(capacity * 2, used + size);
  auto grown = makeUninitializedArray<char>(larger);
  std::memcpy(grown.get(), buffer_.get(), used);
  buffer_ = std::move(grown);
  cursor_ = buffer_.get() + used;
  limit_ = buffer_.get() + larger;
}

}  // namespace vorlane

#include <charconv>

#include "platform/console.h"

namespace vorlane {

namespace {
constexpr size_t kBatchSize = 64 * 1024;
}  // namespace

MessageBatch& MessageBatch::operator<<(std::string_view text) {
  pending_.append(text);
  if (pending_.size() >= kBatchSize) flush();
  return *this;
}

MessageBatch& MessageBatch::operator<<(int64_t number) {
  char digits[24];
  const auto result = std::to_chars(digits, digits + sizeof digits, number);
  return *this << std::string_view(digits, static_cast<size_t>(result.ptr - digits));
}

void MessageBatch::flush() {
  if (pending_.empty()) return;
  if (into_ != nullptr) {
    into_->append(pending_);
  } else {
    writeMessage(pending_);
  }
  pending_.clear();
}

}  // namespace vorlane

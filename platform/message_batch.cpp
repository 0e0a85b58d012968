#include "platform/console.h"
#include "platform/fixed_decimals.h"

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
  appendNumber(pending_, number);
  if (pending_.size() >= kBatchSize) flush();
  return *this;
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

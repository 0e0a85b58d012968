// The library's messages on the process's standard output.
#ifndef VORLANE_PLATFORM_CONSOLE_H_
#define VORLANE_PLATFORM_CONSOLE_H_

#include <cstdint>
#include <string>
#include <string_view>

namespace vorlane {

// Writes the message and flushes it, so that it appears at the moment it
// arises, in order with what the calling program writes.
void writeMessage(std::string_view message);

// Collects the messages of one step that may produce very many (a warning
// per missing point) and writes them in large pieces: the same bytes, in the
// same order, without a flush for every line. Whatever is left is written
// when the batch ends.
class MessageBatch {
 public:
  // Writes to standard output, or, with "into", appends to it instead.
  explicit MessageBatch(std::string* into = nullptr) : into_(into) {}
  ~MessageBatch() { flush(); }
  MessageBatch(const MessageBatch&) = delete;
  MessageBatch& operator=(const MessageBatch&) = delete;

  MessageBatch& operator<<(std::string_view text);
  MessageBatch& operator<<(int64_t number);
  void flush();

 private:
  std::string* into_;
  std::string pending_;
};

}  // namespace vorlane

#endif  // VORLANE_PLATFORM_CONSOLE_H_

// Splits a file into lines as Windows' text mode reads it, on every platform:
// a line ends at LF, a CR directly before that LF is not part of the line
// (any other CR is), and a byte 0x1A ends the input as if the file ended
// there. A last line without a line end is a line like any other.
#ifndef VORLANE_VFK_LINE_READER_H_
#define VORLANE_VFK_LINE_READER_H_

#include <memory>
#include <string_view>

#include "platform/files.h"

namespace vorlane {

class LineReader {
 public:
  // "file" must stay open while the reader is in use.
  explicit LineReader(InputFile& file);

  // Sets "line" to the next line, without its line end, and returns true;
  // returns false at the end of the input. The view is valid until the next
  // call.
  bool nextLine(std::string_view& line);

 private:
  // Moves the unread bytes to the front of the buffer (growing it when a
  // single line fills it) and reads more after them. Returns false when
  // nothing more can be read.
  bool refill();

  // Large enough that refills are rare; a longer line grows the buffer.
  static constexpr size_t kChunkSize = 1 << 20;

  InputFile& file_;
  // Left uninitialized: only the bytes read are ever looked at.
  std::unique_ptr<char[]> buffer_;
  size_t capacity_ = kChunkSize;
  size_t begin_ = 0;  // first unread byte
  size_t end_ = 0;    // one past the last byte read
  bool inputEnded_ = false;
};

}  // namespace vorlane

#endif  // VORLANE_VFK_LINE_READER_H_

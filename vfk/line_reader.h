// Splits a file into lines as Windows' text mode reads it, on every platform:
// a line ends at LF, a CR directly before that LF is not part of the line
// (any other CR is), and a byte 0x1A ends the input as if the file ended
// there. A last line without a line end is a line like any other.
//
// Read as the format means it (endAtMark false), a 0x1A is a byte like any
// other, except at the end of a line: there it and the CRs among such bytes
// are no part of the line, so that a mark after the last record, or on lines
// of its own, ends nothing and adds nothing.
//
// A line keeps at most its first kMaxLineLength bytes; the rest of it is
// skipped. So memory stays bounded whatever the file holds, also a file
// without any line end.
//
// The file is read in large pieces; for each piece the positions of its
// line feeds and semicolons are found in one pass (structure_scan.h), so
// that the lines, and the fields of the lines that are split, are then found
// from those positions.
#ifndef VORLANE_VFK_LINE_READER_H_
#define VORLANE_VFK_LINE_READER_H_

#include <atomic>
#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>

#include "platform/files.h"
#include "vfk/record_syntax.h"

namespace vorlane {

class LineReader {
 public:
  static constexpr size_t kMaxLineLength = 1 << 20;

  // "file" must stay open while the reader is in use. "bytesRead", when
  // given, grows by the bytes read from it, as they are read.
  explicit LineReader(InputFile& file, std::atomic<uint64_t>* bytesRead = nullptr,
                      bool endAtMark = true);

  // A byte 0x1A that ended the input before its end.
  struct EndMark {
    uint64_t line = 0;         // its line, from 1
    uint64_t offset = 0;       // its position in the file, from 0
    uint64_t unreadBytes = 0;  // the bytes after it
  };
  // Once nextLine() has returned false: the mark that ended the input with
  // more than line ends and 0x1A bytes after it, which were read past.
  std::optional<EndMark> endMark() const;

  // Sets "line" to the next line, without its line end, and returns true;
  // returns false at the end of the input. The view is valid until the next
  // call.
  bool nextLine(std::string_view& line);

  // The number of the line returned last, from 1.
  uint64_t lineNumber() const { return lineNumber_; }
  // Whether the line returned last was cut at kMaxLineLength.
  bool lastLineCut() const { return lastLineCut_; }
  // Leaves out the first "count" bytes of the line returned last when it is
  // split. REQUIRES: count <= its length.
  void dropLastLinePrefix(size_t count) { lineStart_ += count; }

  // The number of semicolons in the line returned last.
  int lastLineSemicolons() const;

  // Splits the line returned last at its semicolons into "row", as
  // splitFields() does, but stops after "maxFields" fields (at most
  // kMaxFields): the fields after them are not needed.
  void splitLastLine(SplitLine& row, int maxFields) const;

 private:
  // Makes room, reads more after the unread bytes and marks their
  // structure. Returns false when nothing more can be read.
  bool refill();
  // The position of the first line feed at or after "from", or end_.
  size_t nextLineFeed(size_t from) const;
  // Drops the rest of an over-long line, up to and including its line feed.
  // Returns false when the input ends first.
  bool skipRestOfLine();
  // After a 0x1A that ends the input at "mark" (in buffer_), with "after"
  // bytes read after it: reads the rest of the file to see what it held.
  void passOverRest(const char* mark, size_t after);

  // A piece of the file read at once; small enough to stay in the cache
  // while its lines are read.
  static constexpr size_t kChunkSize = 256 * 1024;

  InputFile& file_;
  std::atomic<uint64_t>* bytesRead_;
  const bool endAtMark_;
  // Grows only to hold an over-long line: up to kMaxLineLength + a CR + a
  // piece. Left uninitialized: only the bytes read are ever looked at.
  std::unique_ptr<char[]> buffer_;
  std::unique_ptr<uint64_t[]> lineFeeds_;  // structure bits of buffer_[0, end_)
  std::unique_ptr<uint64_t[]> semicolons_;
  size_t capacity_ = 0;
  size_t begin_ = 0;      // first unread byte
  size_t end_ = 0;        // one past the last byte read
  size_t lineStart_ = 0;  // the line returned last
  size_t lineEnd_ = 0;
  uint64_t bufferStart_ = 0;  // the position in the file of buffer_[0]
  char byteBeforeBuffer_ = '\n';  // the byte before buffer_[0]; a line end at the start
  uint64_t lineNumber_ = 0;
  std::optional<EndMark> endMark_;
  bool markStartsLine_ = false;
  bool inputEnded_ = false;
  bool skipping_ = false;  // the rest of an over-long line is still to be skipped
  bool lastLineCut_ = false;
};

}  // namespace vorlane

#endif  // VORLANE_VFK_LINE_READER_H_

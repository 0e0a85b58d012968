// Splits a file's bytes into lines as Windows' text mode reads them, on every
// platform: a line ends at LF, a CR directly before that LF is not part of
// the line (any other CR is), and a byte 0x1A ends the input as if the file
// ended there. A last line without a line end is a line like any other.
//
// Read as the format means it (endAtMark false), a 0x1A is a byte like any
// other, except at the end of a line: there it and the CRs among such bytes
// are no part of the line, so that a mark after the last record, or on lines
// of its own, ends nothing and adds nothing.
//
// A line keeps at most its first kMaxLineLength bytes; the rest of it is
// skipped.
//
// The bytes are either all in memory (a caller's buffer), and the lines are
// views of them where they lie, or read from their source a stretch at a
// time into a window of the reader's own, which holds the line being read
// (of a line over the bound, what it keeps) and those after it. The
// positions of the line feeds and semicolons of a stretch are found in one
// pass (structure_scan.h), so that the lines, and the fields of the lines
// that are split, are then found from those positions.
#ifndef VORLANE_VFK_LINE_READER_H_
#define VORLANE_VFK_LINE_READER_H_

#include <algorithm>
#include <bit>
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <span>
#include <string_view>

#include "vfk/record_syntax.h"

namespace vorlane {

class LineReader {
 public:
  static constexpr size_t kMaxLineLength = 1 << 20;

  // Reads "bytes", which must stay valid while the reader is in use.
  // "passed", when given, is told now and then the offset before which the
  // bytes will not be looked at again (for progress).
  explicit LineReader(std::span<const char> bytes, bool endAtMark = true,
                      std::function<void(size_t)> passed = {});

  // Where the bytes of an input read in pieces come from: puts up to "size"
  // bytes into "buffer" and returns how many, 0 at the end of the input.
  using ByteSource = std::function<size_t(char* buffer, size_t size)>;
  // Reads the bytes "source" gives, to their end, as if they were given at
  // once, holding at most a stretch and the longest line's kept part.
  LineReader(ByteSource source, bool endAtMark, std::function<void(size_t)> passed = {});

  // The size of the whole input, the bytes after a mark that ended it
  // included. Known once nextLine() has returned false.
  uint64_t inputSize() const { return inputSize_; }

  // A byte 0x1A that ended the input before its end.
  struct EndMark {
    uint64_t line = 0;         // its line, from 1
    uint64_t offset = 0;       // its position in the bytes, from 0
    uint64_t unreadBytes = 0;  // the bytes after it
  };
  // The mark that ends the input with more than line ends and 0x1A bytes
  // after it, which are read past; nullopt when there is none. Its line is
  // known once nextLine() has returned false.
  std::optional<EndMark> endMark() const;

  // Sets "line" to the next line, without its line end, and returns true;
  // returns false at the end of the input. The view is valid until the next
  // call (and, for bytes given at once, as long as they are).
  bool nextLine(std::string_view& line);

  // The number of the line returned last, from 1.
  uint64_t lineNumber() const { return lineNumber_; }
  // Whether the line returned last was cut at kMaxLineLength.
  bool lastLineCut() const { return lastLineCut_; }
  // Leaves out the first "count" bytes of the line returned last when it is
  // split. REQUIRES: count <= its length.
  void dropLastLinePrefix(size_t count) { lineStart_ += count; }

  // Splits the line returned last at its semicolons into "row", as
  // splitFields() does, but stops after "maxFields" fields (at most
  // kMaxFields): the fields after them are not needed. Returns the number of
  // semicolons in the whole line.
  int splitLastLine(SplitLine& row, int maxFields) const;

 private:
  // Marks the structure of a stretch that holds [from, to), from "from" on.
  void scan(size_t from, size_t to);
  // The position of the first line feed at or after "from", or end_: found
  // in the words marked (inline, as every line asks), or beyond them.
  size_t nextLineFeed(size_t from) {
    size_t at = from & ~size_t{63};
    uint64_t bits = lineFeedWord(at) & (~uint64_t{0} << (from % 64));
    while (bits == 0) {
      at += 64;
      if (at >= scannedEnd_) return lineFeedBeyondMarked(from);
      bits = lineFeedWord(at);
    }
    return std::min(end_, at + static_cast<size_t>(std::countr_zero(bits)));
  }
  // nextLineFeed where no line feed is marked from "from" on.
  size_t lineFeedBeyondMarked(size_t from);
  // Reading from a source: makes the window hold [keepFrom, upTo), or up to
  // the end of the input, and lets go of the bytes more than a word before
  // keepFrom.
  // REQUIRES: base_ <= keepFrom <= available_.
  void fill(size_t keepFrom, size_t upTo);
  // Reads past the rest of the line at "from", whose line feed lies beyond
  // what the window holds (at least keptEnd + kStretch): notes in skipped_
  // what it ends with and returns its line feed (or the end of the input).
  // The window then ends at keptEnd; the bytes read after the line feed, and
  // kCarry bytes before them, wait behind it until the next fill().
  size_t skipRestOfLine(size_t from, size_t keptEnd);
  // Notes in skipped_ what the line's next "size" bytes end with.
  void noteLineTail(const char* bytes, size_t size);
  // Whether only line ends and marks follow the mark at "at" to the end of
  // the input, which is read to its end to tell and to know its size.
  bool onlyLineEndsAfter(size_t at);
  // The byte at offset "at" of the input. REQUIRES: base_ <= at <= available_.
  const char* byteAt(size_t at) const { return window_ + (at - base_); }
  // The structure bits of the word that holds byte "at".
  // REQUIRES: scanned_ <= at < scannedEnd_.
  uint64_t lineFeedWord(size_t at) const { return lineFeeds_[(at - scanned_) / 64]; }
  uint64_t semicolonWord(size_t at) const { return semicolons_[(at - scanned_) / 64]; }

  // A stretch marked at once; small enough to stay in the cache while its
  // lines are read.
  static constexpr size_t kStretch = 256 * 1024;
  // How far the reader goes between two calls of "passed".
  static constexpr size_t kPassedStep = 256 * 1024;
  // The bytes kept before the next line's start when a line is read past:
  // the word its marking starts at, and the one before (for a mark there).
  static constexpr size_t kCarry = 128;

  // The bytes [base_, available_) of the input are at window_: all of them
  // where they were given at once, else those read and not yet let go.
  const char* window_;
  size_t base_ = 0;
  size_t available_;
  ByteSource source_;  // empty where the bytes were given at once
  std::unique_ptr<char[]> buffer_;
  size_t capacity_ = 0;
  bool sourceEnded_;
  uint64_t inputSize_;
  // The end of the input: its size, or the 0x1A that ends it; beyond any
  // offset while a source has more to give.
  size_t end_;
  // A line read past (skipRestOfLine): its line feed, and the run of CRs
  // and marks it ends with, for its length.
  struct SkippedLine {
    bool active = false;
    size_t lineFeed = 0;
    size_t endRun = 0;
    bool endRunHasMark = false;
  };
  SkippedLine skipped_;
  // The bytes [from, from + size) of the input that wait right behind the
  // window (at buffer_[available_ - base_]) after a line read past.
  struct Waiting {
    size_t from = 0;
    size_t size = 0;
  };
  Waiting waiting_;
  const bool endAtMark_;
  std::function<void(size_t)> passed_;
  size_t passedUpTo_ = 0;
  std::optional<EndMark> endMark_;
  bool markStartsLine_ = false;

  // The structure bits of bytes [scanned_, scannedEnd_); scanned_ is a
  // multiple of 64, so that the words line up with the bytes' own.
  std::unique_ptr<uint64_t[]> lineFeeds_;
  std::unique_ptr<uint64_t[]> semicolons_;
  size_t words_ = 0;  // the capacity of each
  size_t scanned_ = 0;
  size_t scannedEnd_ = 0;

  size_t next_ = 0;       // the first byte of the next line
  size_t lineStart_ = 0;  // the line returned last
  size_t lineEnd_ = 0;
  uint64_t lineNumber_ = 0;
  bool lastLineCut_ = false;
};

}  // namespace vorlane

#endif  // VORLANE_VFK_LINE_READER_H_

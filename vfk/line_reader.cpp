#include "vfk/line_reader.h"

#include <algorithm>
#include <bit>
#include <cstring>
#include <utility>

#include "platform/std_compat.h"
#include "vfk/structure_scan.h"

namespace vorlane {

namespace {

constexpr char kEndOfInput = 0x1A;

// The set bits of a word. std::popcount becomes a call into the compiler's
// runtime where the build may not assume the CPU's own instruction.
int setBits(uint64_t x) {
  x -= (x >> 1) & 0x5555555555555555u;
  x = (x & 0x3333333333333333u) + ((x >> 2) & 0x3333333333333333u);
  x = (x + (x >> 4)) & 0x0F0F0F0F0F0F0F0Fu;
  return static_cast<int>((x * 0x0101010101010101u) >> 56);
}

bool onlyLineEnds(const char* bytes, size_t size) {
  for (size_t k = 0; k < size; ++k) {
    if (bytes[k] != '\r' && bytes[k] != '\n' && bytes[k] != kEndOfInput) return false;
  }
  return true;
}

// The run of CRs and marks that "size" bytes end with, and whether a mark is
// among them.
struct EndRun {
  size_t size;
  bool hasMark;
};
EndRun endRunOf(const char* bytes, size_t size) {
  size_t kept = size;
  while (kept > 0 && (bytes[kept - 1] == kEndOfInput || bytes[kept - 1] == '\r')) --kept;
  // Most lines end in neither: no search for them.
  const size_t run = size - kept;
  return {run, run > 0 && std::memchr(bytes + kept, kEndOfInput, run) != nullptr};
}

}  // namespace

LineReader::LineReader(std::span<const char> bytes, bool endAtMark,
                       std::function<void(size_t)> passed)
    : window_(bytes.data()),
      available_(bytes.size()),
      sourceEnded_(true),
      inputSize_(bytes.size()),
      end_(bytes.size()),
      endAtMark_(endAtMark),
      passed_(std::move(passed)) {}

LineReader::LineReader(ByteSource source, bool endAtMark, std::function<void(size_t)> passed)
    : window_(nullptr),
      available_(0),
      source_(std::move(source)),
      sourceEnded_(false),
      inputSize_(0),
      end_(SIZE_MAX),
      endAtMark_(endAtMark),
      passed_(std::move(passed)) {}

std::optional<LineReader::EndMark> LineReader::endMark() const {
  if (!endMark_) return std::nullopt;
  EndMark mark = *endMark_;
  // The lines before the mark have all been returned by then.
  mark.line = lineNumber_ + (markStartsLine_ ? 1 : 0);
  return mark;
}

void LineReader::fill(size_t keepFrom, size_t upTo) {
  if (upTo <= available_) return;
  if (waiting_.size > 0) {
    // After a line read past, the window goes on with the bytes that wait.
    std::memmove(buffer_.get(), buffer_.get() + (available_ - base_), waiting_.size);
    base_ = waiting_.from;
    available_ = waiting_.from + waiting_.size;
    waiting_ = Waiting{};
    if (upTo <= available_) return;
  }
  if (sourceEnded_) return;
  // The word before keepFrom stays too: the byte before a line's start tells
  // whether a mark there starts a line.
  const size_t from = std::max(base_, keepFrom >= 64 ? keepFrom - 64 : 0);
  const size_t kept = available_ - from;
  const size_t wanted = upTo - from;
  if (wanted > capacity_) {
    const size_t capacity = std::max({wanted, 2 * capacity_, 2 * kStretch});
    auto larger = makeUninitializedArray<char>(capacity);
    if (kept > 0) std::memcpy(larger.get(), byteAt(from), kept);
    buffer_ = std::move(larger);
    capacity_ = capacity;
  } else if (from > base_ && kept > 0) {
    std::memmove(buffer_.get(), byteAt(from), kept);
  }
  window_ = buffer_.get();
  base_ = from;
  while (available_ < upTo) {
    const size_t got = source_(buffer_.get() + (available_ - base_), upTo - available_);
    if (got == 0) {
      sourceEnded_ = true;
      end_ = available_;
      break;
    }
    available_ += got;
  }
  inputSize_ = available_;
}

bool LineReader::onlyLineEndsAfter(size_t at) {
  bool only = onlyLineEnds(byteAt(at + 1), available_ - at - 1);
  if (!sourceEnded_) {
    const auto rest = makeUninitializedArray<char>(kStretch);
    for (size_t got; (got = source_(rest.get(), kStretch)) > 0;) {
      only = only && onlyLineEnds(rest.get(), got);
      inputSize_ += got;
    }
    sourceEnded_ = true;
  }
  return only;
}

void LineReader::scan(size_t from, size_t to) {
  const size_t start = from & ~size_t{63};
  size_t stop = std::max(to, start + kStretch);
  fill(start, stop);
  stop = std::min(end_, stop);
  if (stop <= start) return;  // nothing left to read
  if (endAtMark_ && !endMark_) {
    // The mark is looked for as the bytes are first reached, so that the
    // bytes are looked at once, in order.
    const size_t searched = std::max(scannedEnd_, start);
    if (searched < stop) {
      const char* const bytes = byteAt(searched);
      const auto* mark = static_cast<const char*>(std::memchr(bytes, kEndOfInput, stop - searched));
      if (mark != nullptr) {
        const size_t at = searched + static_cast<size_t>(mark - bytes);
        end_ = stop = at;
        if (!onlyLineEndsAfter(at)) {
          markStartsLine_ = at == 0 || *byteAt(at - 1) == '\n';
          endMark_ = EndMark{0, at, inputSize_ - at - 1};
        }
      }
    }
  }
  const size_t words = structureWords(stop - start);
  if (words > words_) {
    words_ = std::max(words, structureWords(kStretch));
    lineFeeds_ = makeUninitializedArray<uint64_t>(words_);
    semicolons_ = makeUninitializedArray<uint64_t>(words_);
  }
  markStructure(byteAt(start), stop - start, lineFeeds_.get(), semicolons_.get());
  scanned_ = start;
  scannedEnd_ = stop;
}

size_t LineReader::lineFeedBeyondMarked(size_t from) {
  if (scannedEnd_ >= end_) return end_;
  // A line longer than what is marked: its line feed, then its kept part
  // marked from its start (which may find a mark that ends the input).
  const size_t keptEnd = from + kMaxLineLength + 2;
  size_t searched = scannedEnd_;
  size_t lineFeed;
  for (;;) {
    const size_t bound = std::min(end_, available_);
    const char* const bytes = byteAt(searched);
    if (const auto* feed = static_cast<const char*>(std::memchr(bytes, '\n', bound - searched))) {
      lineFeed = searched + static_cast<size_t>(feed - bytes);
      break;
    }
    if (sourceEnded_) {
      lineFeed = end_;
      break;
    }
    searched = bound;
    if (available_ >= keptEnd + kStretch) {
      // The window holds what the line keeps and more: the rest of the line
      // is read past.
      scan(from, keptEnd);
      return end_ < keptEnd ? end_ : skipRestOfLine(from, keptEnd);
    }
    fill(from & ~size_t{63}, available_ + kStretch);
  }
  scan(from, std::min(lineFeed, from + kMaxLineLength + 1) + 1);
  return std::min(lineFeed, end_);
}

void LineReader::noteLineTail(const char* bytes, size_t size) {
  if (size == 0) return;
  const EndRun run = endRunOf(bytes, size);
  if (run.size == size) {
    skipped_.endRun += size;  // the run goes on
    skipped_.endRunHasMark = skipped_.endRunHasMark || run.hasMark;
  } else {
    skipped_.endRun = run.size;
    skipped_.endRunHasMark = run.hasMark;
  }
}

size_t LineReader::skipRestOfLine(size_t from, size_t keptEnd) {
  skipped_ = SkippedLine{.active = true};
  noteLineTail(byteAt(from), available_ - from);
  // Behind the kept part the rest of the line is read, the last kCarry
  // bytes read staying before the next ones.
  char* const back = buffer_.get() + (keptEnd - base_);
  const size_t room = capacity_ - (keptEnd - base_);
  size_t backFrom = available_ - kCarry;
  size_t backSize = kCarry;
  std::memmove(back, byteAt(backFrom), kCarry);
  for (;;) {
    if (backSize > kCarry) {
      std::memmove(back, back + backSize - kCarry, kCarry);
      backFrom += backSize - kCarry;
      backSize = kCarry;
    }
    const size_t got = source_(back + backSize, room - backSize);
    if (got == 0) {
      sourceEnded_ = true;
      end_ = skipped_.lineFeed = backFrom + backSize;
      break;
    }
    char* const read = back + backSize;
    const auto* feed = static_cast<const char*>(std::memchr(read, '\n', got));
    noteLineTail(read, feed == nullptr ? got : static_cast<size_t>(feed - read));
    backSize += got;
    if (feed != nullptr) {
      skipped_.lineFeed = backFrom + static_cast<size_t>(feed - back);
      break;
    }
  }
  inputSize_ = backFrom + backSize;
  // The window now ends with the kept part; what was read after it waits.
  available_ = keptEnd;
  waiting_ = Waiting{.from = backFrom, .size = backSize};
  return skipped_.lineFeed;
}

bool LineReader::nextLine(std::string_view& line) {
  if (next_ < end_ && next_ >= scannedEnd_) scan(next_, next_ + 1);
  if (next_ >= end_) {
    if (passed_) passed_(end_);
    return false;
  }
  const size_t lineFeed = nextLineFeed(next_);
  size_t length = lineFeed - next_;
  lineStart_ = next_;
  next_ = lineFeed < end_ ? lineFeed + 1 : end_;  // the last line may have no line end
  if (skipped_.active && skipped_.lineFeed == lineFeed) {
    // The line was read past: what it ends with was noted. It stays over
    // the bound without a CR before its line feed (what it keeps is the
    // same), and its run of CRs and marks, that CR included, goes where the
    // run holds a mark.
    if (!endAtMark_ && skipped_.endRunHasMark) length -= skipped_.endRun;
    skipped_ = SkippedLine{};
  } else {
    if (lineFeed < end_ && length > 0 && *byteAt(lineFeed - 1) == '\r') --length;
    if (!endAtMark_) {
      // Marks at the end of a line, and the CRs among them, end nothing.
      const EndRun run = endRunOf(byteAt(lineStart_), length);
      if (run.hasMark) length -= run.size;
    }
  }
  lastLineCut_ = length > kMaxLineLength;
  lineEnd_ = lineStart_ + std::min(length, kMaxLineLength);
  line = std::string_view(byteAt(lineStart_), lineEnd_ - lineStart_);
  ++lineNumber_;
  if (passed_ && lineStart_ - passedUpTo_ >= kPassedStep) {
    passedUpTo_ = lineStart_;
    passed_(passedUpTo_);
  }
  return true;
}

int LineReader::splitLastLine(SplitLine& row, int maxFields) const {
  const int limit = std::min(maxFields, kMaxFields);
  row.startAt(byteAt(lineStart_));
  // Each semicolon before the limit ends a field; those after it are only
  // counted.
  int count = 0;
  int later = 0;
  const size_t first = lineStart_ & ~size_t{63};
  for (size_t at = first; at < lineEnd_; at += 64) {
    uint64_t bits = semicolonWord(at);
    if (at == first) bits &= ~uint64_t{0} << (lineStart_ % 64);
    if (at + 64 > lineEnd_ && lineEnd_ % 64 != 0) bits &= (uint64_t{1} << (lineEnd_ % 64)) - 1;
    if (count == limit) {
      later += setBits(bits);
      continue;
    }
    // A field's bound: one past its semicolon, from the line's start.
    const auto past = static_cast<uint32_t>(at + 1 - lineStart_);
    for (; bits != 0; bits &= bits - 1) {
      const auto semicolon = static_cast<uint32_t>(std::countr_zero(bits));
      row.bounds[static_cast<size_t>(++count)] = past + semicolon;
      if (count == limit) {
        later += setBits(bits & (bits - 1));
        break;
      }
    }
  }
  const int semicolons = count + later;
  // The piece after the last semicolon counts when it is not empty.
  const size_t length = lineEnd_ - lineStart_;
  if (count < limit && row.bounds[static_cast<size_t>(count)] < length) {
    row.bounds[static_cast<size_t>(++count)] = static_cast<uint32_t>(length + 1);
  }
  row.fieldCount = count;
  return semicolons;
}

}  // namespace vorlane

#include "vfk/line_reader.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <chrono>
#include <cstring>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "platform/files.h"
#include "tests/test_support.h"
#include "vfk/structure_scan.h"

namespace vorlane {
namespace {

std::vector<std::string> linesOf(const std::string& bytes) {
  LineReader reader(bytes);
  std::vector<std::string> lines;
  std::string_view line;
  while (reader.nextLine(line)) lines.emplace_back(line);
  return lines;
}

using Lines = std::vector<std::string>;

TEST(LineReader, DropsOnlyTheCarriageReturnBeforeALineFeed) {
  EXPECT_EQ(linesOf("a\r\nb\nc"), (Lines{"a", "b", "c"}));
  EXPECT_EQ(linesOf("a\r\r\n"), Lines{"a\r"});
  EXPECT_EQ(linesOf("a\rb\n"), Lines{"a\rb"});
  EXPECT_EQ(linesOf("last\r"), Lines{"last\r"});  // no line feed follows
  EXPECT_EQ(linesOf("\n\r\n"), (Lines{"", ""}));
  EXPECT_EQ(linesOf(""), Lines{});
  EXPECT_EQ(linesOf(std::string("a\0b\n", 4)), Lines{std::string("a\0b", 3)});
}

TEST(LineReader, EndsTheInputAtByte1A) {
  EXPECT_EQ(linesOf("a\nb\x1A"
                    "c\nd\n"),
            (Lines{"a", "b"}));
  EXPECT_EQ(linesOf("a\r\x1A\n"), Lines{"a\r"});  // the CR before it stays
  EXPECT_EQ(linesOf("\x1A"
                    "a\n"),
            Lines{});
}

TEST(LineReader, KeepsTheFirstMebibyteOfALongLine) {
  constexpr size_t kMax = LineReader::kMaxLineLength;
  const std::string kept(kMax, 'x');
  std::string bytes = "first\r\n";
  for (int i = 0; i < 50000; ++i) bytes += "&DSOBR;" + std::to_string(i) + "\r\n";
  // Exactly the limit, also with its CR LF; one byte more; far more; and a
  // last line without a line end, over the limit.
  bytes +=
      kept + "\r\n" + kept + "y\r\n" + kept + std::string(3 * kMax, 'z') + "\nnext\n" + kept + "zz";
  const Lines lines = linesOf(bytes);
  ASSERT_EQ(lines.size(), 50006u);
  EXPECT_EQ(lines[0], "first");
  EXPECT_EQ(lines[12345], "&DSOBR;12344");
  for (size_t i = 50001; i <= 50003; ++i) EXPECT_EQ(lines[i], kept) << i;
  EXPECT_EQ(lines[50004], "next");
  EXPECT_EQ(lines[50005], kept);

  // A file that is one long line, with 0x1A after the part kept.
  EXPECT_EQ(linesOf(kept + std::string(kMax, ';') + "\x1A" + "after\n"), Lines{kept});
}

// Random lines of semicolons, line ends and other bytes: the fields found
// from the structure bits are those splitFields finds, for every limit and
// with every scan kernel.
class EveryScanKernel : public ::testing::TestWithParam<ScanKernel> {
 protected:
  void SetUp() override {
    if (!forceScanKernel(GetParam())) GTEST_SKIP() << "this CPU lacks the kernel";
  }
  void TearDown() override { forceScanKernel(std::nullopt); }
};

INSTANTIATE_TEST_SUITE_P(
    Kernels, EveryScanKernel,
    ::testing::Values(ScanKernel::kPortable, ScanKernel::kSse2, ScanKernel::kAvx2),
    [](const auto& kernel) {
      return std::string(kernel.index == 0 ? "Portable" : kernel.index == 1 ? "Sse2" : "Avx2");
    });

TEST_P(EveryScanKernel, LinesSplitAsSplitFieldsDoes) {
  std::mt19937 random(11);
  const char kBytes[] = {';', ';', ';', 'a', 'b', '\r', '"', ' '};
  std::string bytes;
  // Past three stretches, so that lines and fields are found across them.
  for (int i = 0; i < 800000; ++i) {
    bytes += random() % 40 == 0 ? '\n' : kBytes[random() % sizeof kBytes];
    if (random() % 5000 == 0) bytes.append(random() % 300, ';');
  }
  LineReader reader(bytes);
  std::string_view line;
  SplitLine fast;
  SplitLine simple;
  int lines = 0;
  while (reader.nextLine(line)) {
    ++lines;
    const int limit = static_cast<int>(random() % 60);
    const int semicolons = reader.splitLastLine(fast, limit);
    splitFields(line, simple);
    ASSERT_EQ(semicolons, std::count(line.begin(), line.end(), ';')) << line;
    ASSERT_EQ(fast.fieldCount, std::min(simple.fieldCount, limit)) << line;
    for (int i = 0; i < fast.fieldCount; ++i) ASSERT_EQ(fast.field(i), simple.field(i)) << line;
  }
  EXPECT_GT(lines, 4000);
}

// Only regular files open; anything else is refused at once, with the
// system's reason, and nothing waits for the other end of a FIFO.
TEST(InputFile, OpensOnlyRegularFiles) {
  testing::TempDir dir;
  const auto failure = [](const std::filesystem::path& path) {
    const InputFile file(testing::widePath(path));
    EXPECT_FALSE(file.isOpen()) << path;
    return file.failure();
  };
  EXPECT_EQ(failure(dir.path()), "Is a directory");
  EXPECT_EQ(failure(dir.path() / "missing.vfk"), "No such file or directory");
  EXPECT_EQ(InputFile(PathString()).failure(), "No such file or directory");
  if (::mkfifo((dir.path() / "pipe.vfk").c_str(), 0600) == 0) {
    EXPECT_EQ(failure(dir.path() / "pipe.vfk"), "Not a regular file");
  }
  if (std::filesystem::exists("/dev/zero")) {
    EXPECT_EQ(failure("/dev/zero"), "Not a regular file");
  }

  testing::writeFile(dir.path() / "file.vfk", "&K");
  const InputFile file(testing::widePath(dir.path() / "file.vfk"));
  EXPECT_TRUE(file.isOpen());
  EXPECT_EQ(file.failure(), "");
}

std::string readToTheEnd(InputFile& file) {
  std::string bytes;
  char buffer[4096];
  for (size_t got; (got = file.read(buffer, sizeof buffer)) > 0;) bytes.append(buffer, got);
  return bytes;
}

// Read to its end, a file says whether what was read is what it held: one
// that shrinks or is written while it is read has changed.
TEST(InputFile, SaysWhenTheFileChangedWhileItWasRead) {
  testing::TempDir dir;
  const auto path = dir.path() / "read.vfk";
  std::string bytes;
  for (int i = 0; bytes.size() < 100000; ++i) bytes += "&DSOBR;" + std::to_string(i) + "\r\n";
  testing::writeFile(path, bytes);
  {
    InputFile input(testing::widePath(path));
    ASSERT_TRUE(input.isOpen());
    EXPECT_EQ(readToTheEnd(input), bytes);
    EXPECT_EQ(input.failureOnceRead(), "");
  }
  {
    InputFile input(testing::widePath(path));
    char first[4096];
    EXPECT_EQ(input.read(first, sizeof first), sizeof first);
    std::filesystem::resize_file(path, 8000);
    EXPECT_EQ(readToTheEnd(input).size(), 8000 - sizeof first);
    EXPECT_EQ(input.failureOnceRead(), "the file changed while it was read");
  }
  testing::writeFile(path, bytes);
  {
    InputFile input(testing::widePath(path));
    EXPECT_EQ(readToTheEnd(input), bytes);
    const auto written = std::filesystem::last_write_time(path);
    std::filesystem::last_write_time(path, written + std::chrono::seconds(1));
    EXPECT_EQ(input.failureOnceRead(), "the file changed while it was read");
  }
  testing::writeFile(path, "");
  InputFile empty(testing::widePath(path));
  EXPECT_TRUE(empty.isOpen());
  EXPECT_EQ(readToTheEnd(empty), "");
  EXPECT_EQ(empty.failureOnceRead(), "");
}

// Random bytes of every kind the reader tells apart: short lines of
// semicolons and CRs over many stretches; lines about the length bound and
// far over it; and, where there are marks, marks inside and at the ends of
// lines, sometimes with only line ends after them.
std::string randomInput(std::mt19937& random) {
  constexpr size_t kMax = LineReader::kMaxLineLength;
  const char kShort[] = {'a', ';', ';', '"', '\r', ' '};
  const size_t size = random() % (3 << 20);
  const bool longLines = random() % 2 == 0;
  const bool marks = random() % 2 == 0;
  std::string bytes;
  while (bytes.size() < size) {
    const auto kind = random() % 20000;
    if (kind < 20 && longLines) {
      const size_t lengths[] = {kMax - 1, kMax,   kMax + 1,
                                kMax + 2, 300000, 2 * kMax + random() % 5000};
      const size_t at = bytes.size();
      bytes.append(lengths[random() % 6], 'x');
      for (int k = 0; k < 20; ++k) bytes[at + random() % (bytes.size() - at)] = ';';
      if (random() % 3 == 0) {
        // A run of CRs and marks longer than what a line keeps, from before
        // or after the bound on.
        bytes.resize(at + kMax - 100 + random() % 200);
        const size_t run = bytes.size();
        bytes.append(kMax + random() % kMax, '\r');
        for (size_t k = marks ? random() % 3 : 0; k > 0; --k) {
          bytes[run + random() % (bytes.size() - run)] = '\x1A';
        }
      }
    } else if (kind < 22 && marks) {
      bytes += random() % 2 == 0 ? "\x1A" : "\x1A\r\n\x1A\n";
      continue;
    } else {
      for (size_t k = random() % 120; k > 0; --k) bytes += kShort[random() % sizeof kShort];
    }
    if (random() % 8 == 0) {
      for (size_t k = random() % 4; k > 0; --k) bytes += marks && random() % 2 == 0 ? '\x1A' : '\r';
    }
    bytes += random() % 3 == 0 ? "\n" : "\r\n";
  }
  if (random() % 4 == 0) bytes.resize(bytes.size() - 1);  // no line end at the end
  return bytes;
}

// Read from a source, in pieces of any size, the reader gives what it gives
// for the same bytes at once: the same lines, cuts, fields, progress, mark
// and size.
TEST(LineReader, ReadsASourceAsTheSameBytesAtOnce) {
  std::mt19937 random(29);
  constexpr size_t kMax = LineReader::kMaxLineLength;
  // First a mark that starts the line after the reader's first stretch
  // (256 KiB): whether it starts a line is told by the byte before it; then
  // a mark in the part a long line keeps.
  const std::string fixed[] = {
      std::string(256 * 1024 - 1, ';') + "\n\x1A" + "after\n",
      "first\n" + std::string(kMax / 2, 'x') + "\x1A" + std::string(2 * kMax, 'x') + "\nnext\n"};
  for (int round = 0; round < 40; ++round) {
    const std::string bytes = round < 2 ? fixed[round] : randomInput(random);
    for (const bool endAtMark : {true, false}) {
      std::vector<size_t> passedWhole;
      std::vector<size_t> passedPieces;
      LineReader whole(bytes, endAtMark, [&](size_t offset) { passedWhole.push_back(offset); });
      size_t given = 0;
      const size_t largestPiece = 1 + random() % 400000;
      LineReader pieces(
          [&](char* buffer, size_t size) {
            const size_t piece =
                std::min({size, bytes.size() - given, 1 + random() % largestPiece});
            std::memcpy(buffer, bytes.data() + given, piece);
            given += piece;
            return piece;
          },
          endAtMark, [&](size_t offset) { passedPieces.push_back(offset); });
      std::string_view expected;
      std::string_view line;
      SplitLine expectedRow;
      SplitLine row;
      for (;;) {
        const bool more = whole.nextLine(expected);
        ASSERT_EQ(pieces.nextLine(line), more) << round << " line " << whole.lineNumber();
        if (!more) break;
        ASSERT_TRUE(line == expected) << round << " line " << whole.lineNumber();
        ASSERT_EQ(pieces.lastLineCut(), whole.lastLineCut());
        const int limit = static_cast<int>(random() % 30);
        ASSERT_EQ(pieces.splitLastLine(row, limit), whole.splitLastLine(expectedRow, limit));
        ASSERT_EQ(row.fieldCount, expectedRow.fieldCount);
        for (int i = 0; i < row.fieldCount; ++i) ASSERT_EQ(row.field(i), expectedRow.field(i));
      }
      EXPECT_EQ(pieces.lineNumber(), whole.lineNumber());
      EXPECT_EQ(passedPieces, passedWhole) << round;
      EXPECT_EQ(pieces.inputSize(), bytes.size());
      ASSERT_EQ(pieces.endMark().has_value(), whole.endMark().has_value()) << round;
      if (whole.endMark()) {
        EXPECT_EQ(pieces.endMark()->line, whole.endMark()->line);
        EXPECT_EQ(pieces.endMark()->offset, whole.endMark()->offset);
        EXPECT_EQ(pieces.endMark()->unreadBytes, whole.endMark()->unreadBytes);
      }
    }
  }
}

TEST(PathToUtf8, ReplacesUnpairedSurrogates) {
  const PathString path = {u'H', 0x0159, u'/', 0xD83D, 0xDE00, u'x', 0xD800, u'y', 0xDC00};
  EXPECT_EQ(pathToUtf8(path), "Hř/\xF0\x9F\x98\x80x\xEF\xBF\xBDy\xEF\xBF\xBD");
}

}  // namespace
}  // namespace vorlane

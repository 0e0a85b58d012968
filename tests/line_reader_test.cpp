#include "vfk/line_reader.h"

#include <gtest/gtest.h>
#include <sys/stat.h>

#include <algorithm>
#include <chrono>
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

// The bytes are the file's where it lies; a file that shrinks or changes
// while it is read ends nothing, and is said to have changed.
TEST(InputBytes, MapsTheFileAndSaysWhenItChanged) {
  testing::TempDir dir;
  const auto path = dir.path() / "map.vfk";
  std::string bytes;
  for (int i = 0; bytes.size() < 100000; ++i) bytes += "&DSOBR;" + std::to_string(i) + "\r\n";
  testing::writeFile(path, bytes);
  {
    const InputBytes input(testing::widePath(path));
    ASSERT_TRUE(input.isOpen());
    EXPECT_EQ(std::string_view(input.bytes().data(), input.bytes().size()), bytes);
    EXPECT_EQ(input.failure(), "");
  }
  {
    InputBytes input(testing::widePath(path));
    input.release(50000);  // what is let go is read back all the same
    EXPECT_EQ(std::string_view(input.bytes().data(), input.bytes().size()), bytes);
    std::filesystem::resize_file(path, 4000);
    size_t zeros = 0;
    for (const char c : input.bytes()) zeros += c == 0;
    EXPECT_GT(zeros, 90000u);  // the pages past the new end read as zeros
    EXPECT_EQ(input.failure(), "the file changed while it was read");
  }
  testing::writeFile(path, bytes);
  {
    const InputBytes input(testing::widePath(path));
    const auto written = std::filesystem::last_write_time(path);
    std::filesystem::last_write_time(path, written + std::chrono::seconds(1));
    EXPECT_EQ(input.failure(), "the file changed while it was read");
  }
  testing::writeFile(path, "");
  const InputBytes empty(testing::widePath(path));
  EXPECT_TRUE(empty.isOpen());
  EXPECT_TRUE(empty.bytes().empty());
  EXPECT_EQ(empty.failure(), "");
  const InputBytes folder(testing::widePath(dir.path()));
  EXPECT_FALSE(folder.isOpen());
  EXPECT_EQ(folder.failure(), "Is a directory");
}

TEST(PathToUtf8, ReplacesUnpairedSurrogates) {
  const PathString path = {u'H', 0x0159, u'/', 0xD83D, 0xDE00, u'x', 0xD800, u'y', 0xDC00};
  EXPECT_EQ(pathToUtf8(path), "Hř/\xF0\x9F\x98\x80x\xEF\xBF\xBDy\xEF\xBF\xBD");
}

}  // namespace
}  // namespace vorlane

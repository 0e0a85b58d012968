#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/test_support.h"
#include "vfk/line_reader.h"

namespace vorlane {
namespace {

std::vector<std::string> linesOf(const std::string& bytes) {
  testing::TempDir dir;
  const auto path = dir.path() / "lines.vfk";
  testing::writeFile(path, bytes);
  InputFile file(testing::widePath(path));
  EXPECT_TRUE(file.isOpen());
  LineReader reader(file);
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
  EXPECT_EQ(linesOf("a\nb\x1A" "c\nd\n"), (Lines{"a", "b"}));
  EXPECT_EQ(linesOf("a\r\x1A\n"), Lines{"a\r"});  // the CR before it stays
  EXPECT_EQ(linesOf("\x1A" "a\n"), Lines{});
}

TEST(LineReader, ReadsLinesLongerThanItsBuffer) {
  const std::string longLine(3 * 1024 * 1024 + 17, 'x');
  std::string bytes = "first\r\n";
  for (int i = 0; i < 50000; ++i) bytes += "&DSOBR;" + std::to_string(i) + "\r\n";
  bytes += longLine + "\r\nlast";
  const Lines lines = linesOf(bytes);
  ASSERT_EQ(lines.size(), 50003u);
  EXPECT_EQ(lines[0], "first");
  EXPECT_EQ(lines[12345], "&DSOBR;12344");
  EXPECT_EQ(lines[50001], longLine);
  EXPECT_EQ(lines[50002], "last");
}

TEST(InputFile, CannotOpenAFolderOrAMissingFile) {
  testing::TempDir dir;
  EXPECT_FALSE(InputFile(testing::widePath(dir.path())).isOpen());
  EXPECT_FALSE(InputFile(testing::widePath(dir.path() / "missing.vfk")).isOpen());
  EXPECT_FALSE(InputFile(PathString()).isOpen());
}

TEST(PathToUtf8, ReplacesUnpairedSurrogates) {
  const PathString path = {u'H', 0x0159, u'/', 0xD83D, 0xDE00, u'x', 0xD800, u'y', 0xDC00};
  EXPECT_EQ(pathToUtf8(path), "Hř/\xF0\x9F\x98\x80x\xEF\xBF\xBDy\xEF\xBF\xBD");
}

}  // namespace
}  // namespace vorlane

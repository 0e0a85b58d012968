// parseFile as a whole: opening, record kinds, block definitions and the
// CODEPAGE header. The loaders have tests of their own.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "platform/code_page.h"
#include "tests/test_support.h"

namespace vorlane {
namespace {

using testing::readVfk;
using Reader = ::testing::Test;

const std::string& kSobr = testing::kSobrDefinition;

TEST_F(Reader, ReportsAFileItCannotOpen) {
  testing::TempDir dir;
  testing::RecordedFindings findings;
  VfkParser parser(findings);
  const auto missing = dir.path() / "Hřebečná" / "missing.vfk";
  EXPECT_FALSE(parser.parseFile(testing::widePath(missing), kAnsiCodePage).opened);
  EXPECT_TRUE(parser.model.points.empty());
  EXPECT_TRUE(parser.model.buildingTypes.empty());  // nothing was resolved
  const FileRead folder = parser.parseFile(testing::widePath(dir.path()), kAnsiCodePage);
  EXPECT_FALSE(folder.opened);
  EXPECT_EQ(folder.failure, "Is a directory");
  EXPECT_EQ(findings.messages(), "VfkParser: Unable to open file" + missing.string() +
                                     "\nVfkParser: Unable to open file" + dir.path().string() +
                                     "\n");
}

TEST_F(Reader, ReadsRecordsByTheirSecondCharacter) {
  const auto result =
      readVfk("&DSOBR;0;1;1\n"  // before any B record
              + kSobr +
              "&DSOBR;1;100.5;200.25\r\n"
              "\n"
              "x\n"
              "?DXXX;2;-3;4\n"  // the first character and the row's block name are not examined
              "&KSOBR;3;5;5\n"  // other kinds are ignored
              "&BPAR;ID N30\n"
              "&DSOBR;4;6;6\n"  // rows of a block without a loader
              "&BSOBR;SOURADNICE_X N10.2;ID N30;SOURADNICE_Y N10.2\n"
              "&DSOBR;7;5;8\n"  // the later definition's column order holds
              "&B;SOBR\n"       // a B record with an empty block name
              "&DSOBR;9;9;9\n"
              "&BSOBR\n"  // a block name running to the end of the line
              "&DSOBR;10;11;12\n"
              "&K\n");
  ASSERT_TRUE(result.read.opened);
  EXPECT_EQ(result.output, "");
  // The row before any block definition is a dropped row (its block, SOBR,
  // has a loader); the rows of PAR are of no use to the drawing.
  const auto dropped = result.findings->of(FindingKind::kRowDropped);
  ASSERT_EQ(dropped.size(), 1u);
  EXPECT_EQ(dropped[0].reason, DropReason::kBeforeBlockDefinition);
  EXPECT_EQ(dropped[0].subject, "SOBR");
  EXPECT_EQ(dropped[0].number, 1);
  const auto& points = result.model().points;
  ASSERT_EQ(points.size(), 4u);
  EXPECT_EQ(points[0].x, -100.5);
  EXPECT_EQ(points[0].y, -200.25);
  EXPECT_EQ(points[1].x, 3.0);
  EXPECT_EQ(points[1].y, -4.0);
  EXPECT_EQ(points[2].x, -8.0);
  EXPECT_EQ(points[2].y, -7.0);
  // Without columns every value is empty: the point lies at (-0.0, -0.0).
  EXPECT_EQ(points[3].x, 0.0);
  EXPECT_TRUE(std::signbit(points[3].x));
  EXPECT_TRUE(std::signbit(points[3].y));
}

// A byte-order mark before the first record is not part of it; one anywhere
// else makes its line no record.
TEST_F(Reader, ReadsAFirstLineThatStartsWithAByteOrderMark) {
  const auto result = readVfk("\xEF\xBB\xBF&HCODEPAGE;\"WE8ISO8859P2\"\n" + kSobr +
                              "&DSOBR;1;1;1\n\xEF\xBB\xBF&DSOBR;2;2;2\n");
  EXPECT_EQ(result.read.codePage, kIso8859_2CodePage);
  ASSERT_EQ(result.model().points.size(), 1u);
  EXPECT_EQ(result.model().points[0].x, -1.0);
}

TEST_F(Reader, CodePageHeaders) {
  struct Case {
    const char* header;
    int codePageAfter;
    const char* output;
  };
  const Case cases[] = {
      {"&HCODEPAGE;\"EE8ISO8859P2\"", 28592, ""},
      {"&HCODEPAGE;\"WE8ISO8859P2\"", 28592, ""},
      // The S at position 4 is the first of I, S and O: seven characters go.
      {"&HCODEPAGE;\"EE8MSWIN1250\"", 0,
       "[VfkParser Warning]: unhandled codepage parsed (N1250) \n"},
      // Without quotes the first and last characters go all the same.
      {"&HCODEPAGE;WE8ISO8859P2", 0, "[VfkParser Warning]: unhandled codepage parsed (8859P) \n"},
      // No I, S or O: the first two characters go.
      {"&HCODEPAGE;\"AL32UTF8\"", 0, "[VfkParser Warning]: unhandled codepage parsed (32UTF8) \n"},
      {"&HCODEPAGE;\"X\"", 0, "[VfkParser Warning]: unhandled codepage parsed () \n"},
      {"&HCODEPAGE", 0, "[VfkParser Warning]: unhandled codepage parsed () \n"},
      {"&HCODEPAGE;\"UTF-8\"", 65001, ""},
      {"&HCODEPAGE;\"utf8\"", 65001, ""},
      {"&HCODEPAGE;\"Utf-8\";\"x\"", 65001, ""},
      {"&HCODEPAGES;\"EE8MSWIN1250\"", 0, ""},  // only the exact key counts
      {"&HVERZE;\"5.1\"", 0, ""},
  };
  for (const Case& c : cases) {
    const auto result = readVfk(std::string(c.header) + "\n");
    EXPECT_EQ(result.read.codePage, c.codePageAfter) << c.header;
    EXPECT_EQ(result.output, c.output) << c.header;
  }
}

// The code page a file starts from holds until a header names a known one;
// an unknown one is reported only while the system's ANSI code page holds.
TEST_F(Reader, CodePageIsHandedInAndBack) {
  auto result = readVfk("&HCODEPAGE;\"EE8MSWIN1250\"\n&HCODEPAGE;\"X1\"\n");
  EXPECT_EQ(result.output,
            "[VfkParser Warning]: unhandled codepage parsed (N1250) \n"
            "[VfkParser Warning]: unhandled codepage parsed () \n");

  result = readVfk(
      "&HCODEPAGE;\"EE8MSWIN1250\"\n"
      "&BDPM;ID N30;TYPPPD_KOD N10;TEXT T255;DPM_TYPE T10\n"
      "&DDPM;1;0;\"\xE8\xED\x73lo\";\"TPP\"\n",
      kIso8859_2CodePage);
  EXPECT_EQ(result.output, "");
  EXPECT_EQ(result.read.codePage, kIso8859_2CodePage);
  ASSERT_EQ(result.model().mapTexts.size(), 1u);
  EXPECT_EQ(result.model().text(result.model().mapTexts[0].text), "číslo");

  // UTF-8 and ISO-8859-2 headers replace each other.
  EXPECT_EQ(readVfk("&HCODEPAGE;\"UTF-8\"\n", kIso8859_2CodePage).read.codePage, kUtf8CodePage);
  result = readVfk("&HCODEPAGE;\"EE8MSWIN1250\"\n", kUtf8CodePage);
  EXPECT_EQ(result.output, "");
  EXPECT_EQ(result.read.codePage, kUtf8CodePage);
  EXPECT_EQ(readVfk("&HCODEPAGE;\"WE8ISO8859P2\"\n", kUtf8CodePage).read.codePage,
            kIso8859_2CodePage);
}

}  // namespace
}  // namespace vorlane

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
  // has a loader); the rows of PAR are of no use to the drawing. The last
  // row has three values for a block without columns: it is read, and said.
  const auto dropped = result.findings->of(FindingKind::kRowDropped);
  ASSERT_EQ(dropped.size(), 2u);
  EXPECT_EQ(dropped[0].reason, DropReason::kBeforeBlockDefinition);
  EXPECT_EQ(dropped[0].subject, "SOBR");
  EXPECT_EQ(dropped[0].number, 1);
  EXPECT_EQ(dropped[1].reason, DropReason::kTooManyFields);
  EXPECT_EQ(dropped[1].number, 15);
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


// Texts as the format means them: the exact drawing keeps a semicolon or a
// doubled quote inside a text and joins a record continued with "¤"; the
// standard drawing reads each line as the library always has, and says which
// rows did not fit their block.
TEST_F(Reader, TextsAsTheFormatMeansThemInTheExactDrawing) {
  const std::string file =
      "&BDPM;ID N30;DPM_TYPE T10;TYPPPD_KOD N10;TEXT T255;SOURADNICE_Y N10;SOURADNICE_X N10\n"
      "&DDPM;1;\"TPP\";1;\"Na; Vrchu\";100;200\n"
      "&DDPM;2;\"TPP\";1;\"say \"\"hi\"\"\";101;201\n"
      "&DDPM;3;\"TPP\";1;\"po\xA4\n"
      "tok\";102;202\n"
      "&DDPM;4;\"TPP\";1;\"four\";103\n"
      "&DDPM;5;\"TPP\";1;\"five\";104;204;9\n"
      "&K\n";
  DrawingOptions exact;
  exact.exact = true;
  const auto read = readVfk(file, kAnsiCodePage, exact);
  const CadastralModel& model = read.model();
  ASSERT_EQ(model.mapTexts.size(), 3u);
  EXPECT_EQ(model.text(model.mapTexts[0].text), "Na; Vrchu");
  EXPECT_EQ(model.mapTexts[0].x, -100.0);
  EXPECT_EQ(model.mapTexts[0].y, -200.0);
  EXPECT_EQ(model.text(model.mapTexts[1].text), "say \"hi\"");
  EXPECT_EQ(model.text(model.mapTexts[2].text), "potok");
  EXPECT_EQ(model.mapTexts[2].y, -202.0);
  auto dropped = read.findings->of(FindingKind::kRowDropped);
  ASSERT_EQ(dropped.size(), 2u);
  EXPECT_EQ(dropped[0].reason, DropReason::kTooFewFields);
  EXPECT_EQ(dropped[0].number, 6);  // the continued record took line 5
  EXPECT_EQ(dropped[1].reason, DropReason::kTooManyFields);
  EXPECT_EQ(dropped[1].number, 7);

  const auto standard = readVfk(file);
  const CadastralModel& as = standard.model();
  // Every row as before, its values where its semicolons put them; the
  // continuation line is no record.
  ASSERT_EQ(as.mapTexts.size(), 5u);
  EXPECT_EQ(as.text(as.mapTexts[0].text), "N");  // "Na without its first and last byte
  EXPECT_EQ(as.mapTexts[0].x, 0.0);  // " Vrchu\"" read as a number
  EXPECT_EQ(as.mapTexts[0].y, -100.0);
  EXPECT_EQ(as.text(as.mapTexts[1].text), "say \"\"hi\"\"");
  EXPECT_EQ(as.text(as.mapTexts[2].text), "po");
  dropped = standard.findings->of(FindingKind::kRowDropped);
  ASSERT_EQ(dropped.size(), 4u);
  EXPECT_EQ(dropped[0].reason, DropReason::kTextWithSemicolon);
  EXPECT_EQ(dropped[0].subject, "DPM");
  EXPECT_EQ(dropped[0].number, 2);
  EXPECT_EQ(dropped[1].reason, DropReason::kTooFewFields);
  EXPECT_EQ(dropped[1].number, 4);
  EXPECT_EQ(dropped[2].reason, DropReason::kTooFewFields);
  EXPECT_EQ(dropped[3].reason, DropReason::kTooManyFields);
}

// A record continued past the line bound keeps to it, as a line does, and
// says so; the rows after it are read as ever.
TEST_F(Reader, ARecordContinuedPastTheLineBoundIsCutThere) {
  std::string file =
      "&BDPM;ID N30;DPM_TYPE T10;TYPPPD_KOD N10;TEXT T255;SOURADNICE_Y N10;SOURADNICE_X N10\n"
      "&DDPM;1;\"TPP\";1;\"";
  for (int k = 0; k < 1100; ++k) file += std::string(1000, 'a') + "\xA4\n";
  file += "end\";100;200\n&DDPM;2;\"TPP\";1;\"two\";101;201\n&K\n";
  const auto read = readVfk(file, kAnsiCodePage, {.exact = true});
  const auto dropped = read.findings->of(FindingKind::kRowDropped);
  ASSERT_EQ(dropped.size(), 2u);
  EXPECT_EQ(dropped[0].reason, DropReason::kLineTooLong);
  EXPECT_EQ(dropped[0].number, 2);
  // Cut, its text has no end.
  EXPECT_EQ(dropped[1].reason, DropReason::kTooFewFields);
  const CadastralModel& model = read.model();
  ASSERT_EQ(model.mapTexts.size(), 1u);
  EXPECT_EQ(model.text(model.mapTexts[0].text), "two");
}

// A 0x1A ends the standard drawing's input, as text mode does: where more
// than line ends follow, that is said, with what was left unread. The exact
// drawing reads on. A file without its &K record is said to be cut short.
TEST_F(Reader, EndMarksAndEndRecords) {
  const std::string rows = kSobr + "&DSOBR;1;1;1\n&DSOBR;2;2;\x1A" "2\n&DSOBR;3;3;3\n&K\n";
  const auto standard = readVfk(rows);
  EXPECT_EQ(standard.model().points.size(), 2u);
  auto marks = standard.findings->of(FindingKind::kEndMarkBeforeEnd);
  ASSERT_EQ(marks.size(), 1u);
  EXPECT_EQ(marks[0].number, 3);
  EXPECT_EQ(marks[0].offset, static_cast<int64_t>(kSobr.size()) + 13 + 11);
  EXPECT_EQ(marks[0].count, 18);  // "2\n&DSOBR;3;3;3\n&K\n"
  EXPECT_EQ(standard.read.unreadBytes, 18u);
  EXPECT_TRUE(standard.findings->of(FindingKind::kNoEndRecord).empty());

  DrawingOptions exact;
  exact.exact = true;
  const auto read = readVfk(rows, kAnsiCodePage, exact);
  ASSERT_EQ(read.model().points.size(), 3u);
  EXPECT_EQ(read.model().points[1].y, 0.0);  // "\x1A" "2" is no number
  EXPECT_TRUE(read.findings->of(FindingKind::kEndMarkBeforeEnd).empty());

  // Marks after the last record, as old editors wrote them, end nothing.
  for (const bool asExact : {false, true}) {
    exact.exact = asExact;
    const auto trailing = readVfk(kSobr + "&DSOBR;1;1;1\n&K\x1A\r\n\x1A\x1A", kAnsiCodePage, exact);
    EXPECT_EQ(trailing.model().points.size(), 1u);
    EXPECT_TRUE(trailing.findings->of(FindingKind::kEndMarkBeforeEnd).empty()) << asExact;
    EXPECT_TRUE(trailing.findings->of(FindingKind::kNoEndRecord).empty()) << asExact;
  }

  const auto cut = readVfk(kSobr + "&DSOBR;1;1;1\n&DSOBR;2;2;2\n");
  const auto ends = cut.findings->of(FindingKind::kNoEndRecord);
  ASSERT_EQ(ends.size(), 1u);
  EXPECT_EQ(ends[0].number, 3);
  EXPECT_FALSE(cut.read.endRecord);
}

}  // namespace
}  // namespace vorlane

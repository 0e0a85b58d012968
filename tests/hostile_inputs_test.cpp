// Files no export would write, converted as the export converts them: the
// call returns, and the drawing is complete and well-formed (the folder of
// each test checks every drawing left in it).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>
#include <string_view>

#include "entry/conversion.h"
#include "tests/test_support.h"

namespace vorlane {
namespace {

namespace fs = std::filesystem;

using testing::kSobrDefinition;
using testing::kTriangleLines;
using testing::kTriangleNumber;
using testing::kTrianglePath;
using testing::kTrianglePoints;

constexpr std::string_view kLayers[] = {
    "VL_mapove_znacky", "VL_hranice_parcel", "VL_text_parcel", "VL_BPEJ",          "VL_hranice_KU",
    "VL_hranice_budov", "VL_cisla_budov",    "VL_prvky_mapy",  "VL_vnitrni_kresby"};

class HostileInput : public testing::ConversionTest {
 protected:
  // The nine groups in order, and the end tag last.
  static void expectComplete(const std::string& drawing) {
    size_t position = 0;
    for (const std::string_view layer : kLayers) {
      position = drawing.find("\r\n    <g layer=\"" + std::string(layer) + "\"", position);
      ASSERT_NE(position, std::string::npos) << layer;
    }
    ASSERT_GE(drawing.size(), 6u);
    EXPECT_EQ(drawing.substr(drawing.size() - 6), "</svg>");
  }
};

TEST_F(HostileInput, BytesThatAreNoVfkGiveTheEmptyDrawing) {
  const std::string empty = testing::drawing(CadastralModel());
  EXPECT_EQ(convert(""), empty);
  EXPECT_TRUE(result.opened);

  // Random bytes of every value, line ends and semicolons among them.
  std::mt19937 random(5);
  std::string garbage(1 << 20, '\0');
  for (char& c : garbage) c = static_cast<char>(random() % 256);
  const std::string drawing = convert(garbage);
  EXPECT_TRUE(result.opened);
  expectComplete(drawing);

  // Only the 0x1A byte ends the input; NUL bytes are data.
  EXPECT_EQ(convert(std::string(1000, '\0')), empty);
}

TEST_F(HostileInput, NulBytesAndACutLastLineAreReadAsData) {
  using namespace std::string_literals;
  // A NUL ends a number as any other stray character does, and becomes
  // U+FFFD in a text, since XML cannot hold it.
  const std::string drawing = convert(kSobrDefinition +
                                      "&DSOBR;1;10\0"s
                                      "99;20\n&DSOBR;2;11;20\n&DSOBR;3;11;21\n" +
                                      kTriangleLines +
                                      "&DOP;77;\"PC\";0;\"7\0"s
                                      "7\"\n");
  EXPECT_NE(drawing.find(kTrianglePath), std::string::npos);
  EXPECT_NE(drawing.find(">7\xEF\xBF\xBD"
                         "7</text>"),
            std::string::npos);

  // The file ends inside a quoted text: the last line is a line like any
  // other, and its last character is taken for the closing quote.
  const std::string cut = convert(kTrianglePoints + kTriangleLines + "&DOP;77;\"PC\";0;\"123");
  EXPECT_NE(cut.find(kTrianglePath), std::string::npos);
  EXPECT_NE(cut.find(">12</text>"), std::string::npos);
}

TEST_F(HostileInput, CoordinatesThatAreNotFiniteAreWrittenAsThePrintfDigits) {
  // Point 2 has Y "nan", point 3 has X "1e400" (an infinity), point 4 "-"
  // for both (zero). A NaN never widens the extent; an infinity does.
  const std::string drawing = convert(
      kSobrDefinition + "&DSOBR;1;10;20\n&DSOBR;2;nan;20\n&DSOBR;3;11;1e400\n&DSOBR;4;-;-\n" +
      kTriangleLines + kTriangleNumber);
  EXPECT_NE(drawing.find("    viewBox=\"-11.00 -inf 11.00 inf\"\r\n"), std::string::npos);
  EXPECT_NE(drawing.find("d=\"M-10.00,-20.00 -nan,-20.00 -11.00,-inf -10.00,-20.00 \"/>"),
            std::string::npos);

  const std::string infinite =
      convert(kTrianglePoints + "&DSOBR;3;inf;-INFINITY\n" + kTriangleLines + kTriangleNumber);
  EXPECT_NE(infinite.find("-11.00,-20.00 -inf,inf -10.00,-20.00 "), std::string::npos);
}

TEST_F(HostileInput, BlocksWithoutTheirColumnsAreReadWithEmptyValues) {
  // Every block the reader knows, defined without a single column.
  std::string file;
  for (const char* block : {"KATUZE", "SOBR", "SBP", "SBM", "HP", "OP", "OB", "DPM", "HBPEJ",
                            "OBPEJ", "TYPBUD", "BUD", "OBDEBO"}) {
    file += "&B" + std::string(block) + "\n&D" + block + ";1;2;3\n";
  }
  testing::ReadResult read = testing::readVfk(file);
  const CadastralModel& model = read.model();
  // SOBR and SBM rows add a point each at (-0, -0); OB and BUD rows make the
  // building with the empty identifier; TYPBUD adds type 0, so the defaults
  // are not added. Nothing else has the identifiers it needs.
  EXPECT_EQ(model.points.size(), 2u);
  EXPECT_TRUE(std::signbit(model.points[0].x));
  EXPECT_EQ(model.buildings.size(), 1u);
  EXPECT_GE(model.findBuilding(""), 0);
  EXPECT_EQ(model.buildingTypes.size(), 1u);
  EXPECT_TRUE(model.parcelBoundaries.empty() && model.bpejBoundaries.empty() &&
              model.generalPolylines.empty() && model.parcels.empty());
  EXPECT_EQ(read.output, "");
  expectComplete(convert(file));
  EXPECT_TRUE(result.opened);
}

TEST_F(HostileInput, GapsAndRepeatedLinesAreBoundedByTheRows) {
  const testing::ReadResult read =
      testing::readVfk(kTrianglePoints +
                       "&DSOBR;4;12;22\n"
                       "&BSBP;BP_ID N30;PORADOVE_CISLO_BODU N38;HP_ID N30;DPM_ID N30\n"
                       "&DSBP;1;1;;300\n&DSBP;2;999999;;300\n"  // 999997 placeholders: 3 are left
                       "&DSBP;1;1;101;\n&DSBP;4;4;101;\n"       // 2 more
                       "&DSBP;1;1;102;\n&DSBP;3;3;102;\n"       // the last one
                       "&DSBP;1;1;103;\n&DSBP;3;3;103;\n"       // would need one more: not placed
                       "&DSBP;2;2;103;\n"
                       "&BHP;ID N30;TYPPPD_KOD N10;PAR_ID_1 N30;PAR_ID_2 N30\n"
                       "&DHP;101;0;1;\n&DHP;102;0;2;\n&DHP;103;0;3;\n"
                       // Lines may take what the lists grew by (1000008 entries) plus a spare
                       // of 1000000: 9 went to the boundaries, so list 300 is taken twice.
                       "&BDPM;ID N30;DPM_TYPE T10;TYPPPD_KOD N10\n"
                       "&DDPM;300;\"X\";21800\n&DDPM;300;\"X\";21800\n&DDPM;300;\"X\";21800\n");
  const CadastralModel& model = read.model();
  using testing::Indices;
  ASSERT_EQ(model.parcelBoundaries.size(), 3u);
  EXPECT_EQ(testing::pointsOf(model, model.parcelBoundaries[0]), (Indices{0, 3}));
  EXPECT_EQ(testing::pointsOf(model, model.parcelBoundaries[1]), (Indices{0, 2}));
  EXPECT_EQ(testing::pointsOf(model, model.parcelBoundaries[2]), (Indices{0, 1}));
  EXPECT_EQ(read.output,
            "[Warning]: Parcel border polyline point missing (point index = 1, parcel ID1 = 1, "
            "parcel ID2 = )\n"
            "[Warning]: Parcel border polyline point missing (point index = 2, parcel ID1 = 1, "
            "parcel ID2 = )\n"
            "[Warning]: Parcel border polyline point missing (point index = 1, parcel ID1 = 2, "
            "parcel ID2 = )\n");
  ASSERT_EQ(model.elementPolylines.size(), 2u);
  EXPECT_EQ(testing::pointsOf(model, model.elementPolylines[1]), (Indices{0, 1}));
  const auto dropped = read.findings->of(FindingKind::kRowDropped);
  ASSERT_EQ(dropped.size(), 2u);
  EXPECT_EQ(dropped[0].reason, DropReason::kTooManyGaps);
  EXPECT_EQ(dropped[0].number, 14);
  EXPECT_EQ(dropped[1].reason, DropReason::kTooManyLineEntries);
  EXPECT_EQ(dropped[1].subject, "DPM");
}

TEST_F(HostileInput, TenThousandTinyRingsOfOneParcel) {
  // Ring k is a triangle of points 3k+1, 3k+2, 3k+3; its three boundaries
  // come in three separate runs, so every ring is found by search.
  constexpr int kRings = 10000;
  std::string points = kSobrDefinition;
  std::string connections = "&BSBP;BP_ID N30;PORADOVE_CISLO_BODU N38;HP_ID N30\n";
  std::string boundaries = "&BHP;ID N30;TYPPPD_KOD N10;PAR_ID_1 N30;PAR_ID_2 N30\n";
  for (int side = 0; side < 3; ++side) {
    for (int ring = 0; ring < kRings; ++ring) {
      const int from = 3 * ring + side + 1;
      const int to = 3 * ring + (side + 1) % 3 + 1;
      const std::string boundary = std::to_string(side * kRings + ring + 1);
      connections += "&DSBP;" + std::to_string(from) + ";1;" + boundary + "\n";
      connections += "&DSBP;" + std::to_string(to) + ";2;" + boundary + "\n";
      boundaries += "&DHP;" + boundary + ";0;1;\n";
      points += "&DSOBR;" + std::to_string(from) + ";" + std::to_string(ring) + ";" +
                std::to_string(side) + "\n";
    }
  }
  const std::string drawing = convert(points + connections + boundaries +
                                      "&BOP;PAR_ID N30;OPAR_TYPE T10;TYPPPD_KOD N10;TEXT T255\n"
                                      "&DOP;1;\"PC\";0;\"1\"\n");
  EXPECT_EQ(output, "");
  const size_t path = drawing.find("<path id=\"1\" ");
  ASSERT_NE(path, std::string::npos);
  const std::string d = drawing.substr(path, drawing.find("/>", path) - path);
  size_t moves = 0;
  for (const char c : d) moves += c == 'M' ? 1 : 0;
  EXPECT_EQ(moves, static_cast<size_t>(kRings));
  // The first ring, closed. Chaining swapped the other sides of ring 0 into
  // positions 1 and 2, so the first sides of rings 1 and 2 went back to
  // theirs: ring 3 comes next.
  EXPECT_NE(d.find("M-0.00,-0.00 -0.00,-1.00 -0.00,-2.00 -0.00,-0.00 Z M -3.00,-0.00 "),
            std::string::npos)
      << d.substr(0, 200);
}

// Bytes that are not UTF-8, wherever the file holds them, become U+FFFD, one
// for each maximal ill-formed sequence; the drawing stays well-formed XML
// (the folder checks it with xmllint) and UTF-8.
TEST_F(HostileInput, EveryDrawingIsUtf8WhateverTheBytes) {
  const std::string kUtf8Header = "&HCODEPAGE;\"UTF-8\"\n";
  const std::string kLatin2Header = "&HCODEPAGE;\"WE8ISO8859P2\"\n";
  const std::string kMapText =
      "&BDPM;ID N30;DPM_TYPE T10;TYPPPD_KOD N10;TEXT T255;SOURADNICE_Y N10.2;SOURADNICE_X N10.2\n"
      "&DDPM;1;\"TPP\";0;\"\xE8\xEDslo\";1;1\n";
  struct Case {
    std::string file;
    std::string expected;
  };
  const Case cases[] = {
      // A house number holding 0xFF in a UTF-8 file.
      {kUtf8Header + "&BBUD;ID N30;TYPBUD_KOD N1;CISLO_DOMOVNI N4\n&DBUD;1;1;1\xFF"
                     "2\n",
       ">č.p. 1\uFFFD"
       "2</text>"},
      // A parcel number holding 0xE8 in a correct ISO-8859-2 file: parcel
      // numbers are written as the file holds them.
      {kLatin2Header + kTrianglePoints + kTriangleLines + "&DOP;77;\"PC\";0;\"7\xE8\"\n",
       ">7\uFFFD</text>"},
      // A map text in ISO-8859-2 without a CODEPAGE header: "č" is a lead
      // byte without its continuation, and so is "í".
      {kMapText, ">\uFFFD\uFFFDslo</text>"},
      // A byte-order mark before the header hides nothing.
      {"\xEF\xBB\xBF" + kLatin2Header + kMapText, ">číslo</text>"},
      // An identifier too; and its quotes escaped as a text's.
      {kTrianglePoints +
           "&BSBP;BP_ID N30;PORADOVE_CISLO_BODU N38;HP_ID N30\n"
           "&DSBP;1;1;5\n&DSBP;2;2;5\n&DSBP;3;3;5\n"
           "&BHP;ID N30;TYPPPD_KOD N10;PAR_ID_1 N30;PAR_ID_2 N30\n&DHP;5;0;\"\xE8\";\n"
           "&BOP;PAR_ID N30;OPAR_TYPE T10;TYPPPD_KOD N10;TEXT T255\n&DOP;\"\xE8\";\"PC\";0;\"1\"\n",
       "<path id=\"&quot;\uFFFD&quot;\""},
  };
  int k = 0;
  for (const Case& c : cases) {
    const std::string name = "case" + std::to_string(k++);
    const std::string drawing = convert(c.file, name);
    EXPECT_NE(drawing.find(c.expected), std::string::npos) << name;
    const std::string check =
        "iconv -f UTF-8 -t UTF-8 '" + (dir.path() / (name + ".svg")).string() + "' >/dev/null 2>&1";
    EXPECT_EQ(std::system(check.c_str()), 0) << name << " is not UTF-8";
  }
}

// One row that asks for a million points prints at most ten thousand
// warnings, then says how many it left out.
TEST_F(HostileInput, WarningsCannotFlood) {
  convert(kTrianglePoints +
          "&BSBP;BP_ID N30;PORADOVE_CISLO_BODU N38;HP_ID N30\n&DSBP;1;1000000;5\n"
          "&BHP;ID N30;TYPPPD_KOD N10;PAR_ID_1 N30;PAR_ID_2 N30\n&DHP;5;0;7;\n");
  EXPECT_EQ(std::count(output.begin(), output.end(), '\n'), 10'001);
  EXPECT_TRUE(
      output.starts_with("[Warning]: Parcel border polyline point missing (point index = 0, "
                         "parcel ID1 = 7, parcel ID2 = )\n"));
  EXPECT_TRUE(
      output.ends_with("(point index = 9999, parcel ID1 = 7, parcel ID2 = )\n"
                       "[Warning]: 989999 further missing points not listed\n"));
}

}  // namespace
}  // namespace vorlane

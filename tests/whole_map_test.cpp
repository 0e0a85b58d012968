// The whole map in the exact drawing: easements, the control network, survey
// points, the geometric plan, neighbours' fragments, elements of a type code
// no layer takes, survey-record files, and the checks a surveyor makes.
// Every expectation is worked out by hand: a point given as (Y, X) in the
// file is drawn at (-Y, -X), with two decimals.
#include <gtest/gtest.h>

#include <cmath>
#include <numbers>
#include <string>
#include <vector>

#include "model/drawing_walk.h"
#include "model/exact_rings.h"
#include "model/parcel_checks.h"
#include "tests/test_support.h"

namespace vorlane {
namespace {

using testing::groupContent;

// A block's definition and its rows, each row's values as written.
std::string block(const std::string& name, const std::string& columns,
                  const std::vector<std::string>& rows) {
  std::string text = "&B" + name + ";" + columns + "\n";
  for (const std::string& row : rows) text += "&D" + name + ";" + row + "\n";
  return text;
}

const std::string kPoints = "ID N30;STAV_DAT N2;CISLO_ZPMZ N5;CISLO_BODU N12;SOURADNICE_Y N10.2;"
                            "SOURADNICE_X N10.2;KODCHB_KOD N2";
const std::string kConnections =
    "ID N30;STAV_DAT N2;BP_ID N30;PORADOVE_CISLO_BODU N38;HP_ID N30;OB_ID N30;DPM_ID N30;"
    "ZVB_ID N30;PARAMETRY_SPOJENI T100";
const std::string kBoundaries = "ID N30;STAV_DAT N2;TYPPPD_KOD N10;PAR_ID_1 N30;PAR_ID_2 N30";
const std::string kParcels = "ID N30;STAV_DAT N2;DRUH_CISLOVANI_PAR N1;KMENOVE_CISLO_PAR N5;"
                             "PODDELENI_CISLA_PAR N3;VYMERA_PARCELY N9";
const std::string kLabels =
    "ID N30;STAV_DAT N2;TYPPPD_KOD N10;SOURADNICE_Y N10.2;SOURADNICE_X N10.2;TEXT T255;"
    "VELIKOST N10.2;UHEL N10.4;PAR_ID N30;OPAR_TYPE T10;VZTAZNY_BOD N2";

// Survey point "id" of state 0 at (y, x), of record 331, numbered as its id.
std::string point(int id, int y, int x, int state = 0) {
  return std::to_string(id) + ";" + std::to_string(state) + ";331;" + std::to_string(id) + ";" +
         std::to_string(y) + ";" + std::to_string(x) + ";3";
}

// SBP rows placing points "points" in order as the line "owner" of the
// column at "column" (0 HP_ID, 1 OB_ID, 2 DPM_ID, 3 ZVB_ID); 0 leaves an
// ordinal out. "shape" is the first row's PARAMETRY_SPOJENI.
std::vector<std::string> connections(int owner, const std::vector<int>& points, int column = 0,
                                     const std::string& shape = "4", int state = 0) {
  static int next = 1000;
  std::vector<std::string> rows;
  for (size_t k = 0; k < points.size(); ++k) {
    if (points[k] == 0) continue;
    std::string owners = ";;;";
    owners.insert(static_cast<size_t>(column), std::to_string(owner));
    rows.push_back(std::to_string(++next) + ";" + std::to_string(state) + ";" +
                   std::to_string(points[k]) + ";" + std::to_string(k + 1) + ";" + owners + ";\"" +
                   (k == 0 ? shape : "") + "\"");
  }
  return rows;
}

std::vector<std::string> operator+(std::vector<std::string> a, const std::vector<std::string>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

class WholeMap : public testing::ConversionTest {
 protected:
  std::string exact(const std::string& vfk) {
    return convert(vfk + "&K\n", "map", {.options = {.exact = true}});
  }
  testing::ReadResult read(const std::string& vfk) {
    return testing::readVfk(vfk + "&K\n", kAnsiCodePage, {.exact = true});
  }
};

TEST_F(WholeMap, AnEasementIsDrawnWithItsBreaksAndArcs) {
  // Easement 500 runs 1 2 (point 3 not in the file) 4; easement 501 is the
  // half circle of radius 5 about (-10, -10) from (-15,-10) through
  // (-10,-15) to (-5,-10), turning with growing angles.
  const std::string vfk =
      block("SOBR", kPoints,
            {point(1, 1, 1), point(2, 2, 1), point(4, 1, 2), point(11, 15, 10), point(12, 10, 15),
             point(13, 5, 10)}) +
      block("SBP", kConnections,
            connections(500, {1, 2, 3, 4}, 3) + connections(501, {11, 12, 13}, 3, "16")) +
      block("ZVB", "ID N30;STAV_DAT N2;TYPPPD_KOD N10", {"500;0;23700", "501;0;23700"});
  const std::string style =
      " style=\"fill:none;stroke:magenta;stroke-width:0.2;stroke-dasharray:1,0.5\"";
  EXPECT_EQ(groupContent(exact(vfk), "VL_vecna_bremena"),
            "        <path id=\"500\"" + style + " d=\"M-1.00,-1.00 -2.00,-1.00 \"/>\n" +
                "        <path id=\"501\"" + style +
                " d=\"M-15.00,-10.00 A 5.00,5.00 0 0,1 -5.00,-10.00 \"/>\n");
}

TEST_F(WholeMap, ControlPointsAndSurveyPointsWithTheirNumbers) {
  // Control point 7 is survey point 1 at (-100,-100): symbol 101 there; its
  // number "12" stands where its CB row puts it, 2 high. Survey point 2's
  // measured position (SPOL) lies 3 from its own: a cross there, joined.
  // Survey point 3, between them in the file, has no number: its mark alone.
  const std::string vfk =
      block("SOBR", kPoints, {point(1, 100, 100), "3;0;331;;120;100;3", point(2, 110, 100)}) +
      block("SPOL", "ID N30;STAV_DAT N2;SOURADNICE_Y N10.2;SOURADNICE_X N10.2",
            {"1;0;100;100", "2;0;113;100"}) +
      block("OBBP",
            "ID N30;STAV_DAT N2;TYPPPD_KOD N10;SOURADNICE_Y N10.2;SOURADNICE_X N10.2;TEXT T255;"
            "VELIKOST N10.2;UHEL N10.4;BP_ID N30;OBBP_TYPE T10",
            {"7;0;101;;;\"\";;;1;\"ZB\"", "8;0;4;102;98;\"12\";2;0;1;\"CB\""});
  const std::string drawing = exact(vfk);
  EXPECT_EQ(groupContent(drawing, "VL_bodove_pole"),
            "        <use x=\"-100.00\" y=\"-100.00\" xlink:href=\"#VL_symbol_101\"/>\n"
            "        <text x=\"-102.00\" y=\"-98.00\" text-anchor=\"start\" "
            "alignment-baseline=\"baseline\" fill=\"black\" font-size=\"2.00\">12</text>\n");
  EXPECT_EQ(groupContent(drawing, "VL_body"),
            "        <use x=\"-100.00\" y=\"-100.00\" xlink:href=\"#VL_symbol_bod\"/>\n"
            "        <use x=\"-120.00\" y=\"-100.00\" xlink:href=\"#VL_symbol_bod\"/>\n"
            "        <use x=\"-110.00\" y=\"-100.00\" xlink:href=\"#VL_symbol_bod\"/>\n"
            "        <use x=\"-113.00\" y=\"-100.00\" xlink:href=\"#VL_symbol_bod_mereny\"/>\n"
            "        <path style=\"fill:none;stroke:black;stroke-width:0.05\" "
            "d=\"M-110.00,-100.00 -113.00,-100.00 \"/>\n");
  // "record-point (quality)", up and right of the point by 0.4, 1.5 high.
  EXPECT_EQ(groupContent(drawing, "VL_cisla_bodu"),
            "        <text x=\"-99.60\" y=\"-99.60\" text-anchor=\"start\" "
            "alignment-baseline=\"baseline\" fill=\"black\" font-size=\"1.50\">331-1 (3)</text>\n"
            "        <text x=\"-109.60\" y=\"-99.60\" text-anchor=\"start\" "
            "alignment-baseline=\"baseline\" fill=\"black\" font-size=\"1.50\">331-2 (3)</text>\n");
}

// Parcel 10, the square 1 (1,1) 2 (2,1) 3 (2,2) 4 (1,2), is described; 20,
// on the line 2 5 beside it, is not: a neighbour's fragment. The geometric
// plan divides 10: its parcel 30 is the triangle 1 2 3.
TEST_F(WholeMap, TheGeometricPlanAndNeighboursAreDrawnApart) {
  const std::string vfk =
      block("SOBR", kPoints,
            {point(1, 1, 1), point(2, 2, 1), point(3, 2, 2), point(4, 1, 2), point(5, 3, 1)}) +
      block("SBP", kConnections, connections(1, {1, 2, 3, 4, 1}) + connections(2, {2, 5})) +
      block("HP", kBoundaries, {"1;0;21900;10;", "2;0;21900;20;"}) +
      block("PAR", kParcels, {"10;0;2;5;1;1"}) +
      block("SBPG", kConnections, connections(3, {1, 2, 3, 1}, 0, "4", 1)) +
      block("HPG", kBoundaries, {"3;1;21900;30;"}) + block("PARG", kParcels, {"30;1;2;5;3;1"});
  const std::string drawing = exact(vfk);
  EXPECT_EQ(groupContent(drawing, "VL_hranice_parcel"),
            "        <path id=\"10\" vl:cislo=\"5/1\" vl:vymera=\"1\" "
            "style=\"fill:none;stroke:black;stroke-width:0.2\" "
            "d=\"M-1.00,-1.00 -2.00,-1.00 -2.00,-2.00 -1.00,-2.00 -1.00,-1.00 Z\"/>\n");
  EXPECT_EQ(groupContent(drawing, "VL_hranice_sousednich_parcel"),
            "        <path id=\"20\" style=\"fill:none;stroke:grey;stroke-width:0.2\" "
            "d=\"M-2.00,-1.00 -3.00,-1.00 \"/>\n");
  EXPECT_EQ(groupContent(drawing, "VL_GP_hranice_parcel"),
            "        <path id=\"30\" vl:cislo=\"5/3\" vl:vymera=\"1\" "
            "style=\"fill:none;stroke:black;stroke-width:0.2\" "
            "d=\"M-1.00,-1.00 -2.00,-1.00 -2.00,-2.00 -1.00,-1.00 Z\"/>\n");
  // The plan's layer stands apart in red.
  EXPECT_NE(drawing.find("<g layer=\"VL_GP_hranice_parcel\" line-style=\"VL_hranice_parcel\" "
                         "RApen=\"1\" ADlineWeight=\"-3\" ADcolor=\"255,0,0\""),
            std::string::npos);
  // The neighbour's fragment is open by its nature; the parcel is not.
  const testing::ReadResult model = read(vfk);
  EXPECT_TRUE(model.findings->of(FindingKind::kOpenBorder).empty());

  // The plan's layers and the map's parcels, but none of the plan's that
  // begin "VL_GP_hranice": the layers of those names, in the drawing's order.
  const std::string chosen =
      convert(vfk + "&K\n", "chosen",
              {.options = {.exact = true,
                           .layers = "VL_GP_*,VL_hranice_parcel",
                           .withoutLayers = "VL_GP_hranice*"}});
  std::vector<std::string> names;
  for (size_t at = chosen.find("<g layer=\""); at != std::string::npos;
       at = chosen.find("<g layer=\"", at + 1)) {
    const size_t start = at + std::string("<g layer=\"").size();
    names.push_back(chosen.substr(start, chosen.find('"', start) - start));
  }
  EXPECT_EQ(names, (std::vector<std::string>{
                       "VL_hranice_parcel", "VL_GP_mapove_znacky", "VL_GP_text_parcel",
                       "VL_GP_BPEJ", "VL_GP_cisla_budov", "VL_GP_prvky_mapy",
                       "VL_GP_vnitrni_kresby", "VL_GP_vecna_bremena", "VL_GP_bodove_pole",
                       "VL_GP_body", "VL_GP_cisla_bodu", "VL_GP_hranicni_znaky",
                       "VL_GP_znacky_prvku", "VL_GP_osy_vedeni"}));
}

// A parcel carries its number, registered area, land type with the name the
// file's code list gives it, and its ownership sheet's number: the first TEL
// row of an identifier counts, the plan's parcels take the map's sheets and
// code lists, and a sheet the file lacks is no attribute. A building of
// another state takes its type from the map's list too.
TEST_F(WholeMap, ParcelsAndBuildingsCarryWhatTheFileSaysOfThem) {
  const std::string parcels = kParcels + ";DRUPOZ_KOD N2;TEL_ID N30";
  const std::string vfk =
      block("SOBR", kPoints, {point(1, 1, 1), point(2, 2, 1), point(3, 2, 2), point(4, 1, 2)}) +
      block("SBP", kConnections, connections(1, {1, 2, 3, 4, 1})) +
      block("HP", kBoundaries, {"1;0;21900;10;"}) + block("PAR", parcels, {"10;0;1;37;1;1;2;77"}) +
      block("SBPG", kConnections, connections(3, {1, 2, 3, 1}, 0, "4", 1) +
                                      connections(4, {1, 3, 4, 1}, 0, "4", 1)) +
      block("HPG", kBoundaries, {"3;1;21900;30;", "4;1;21900;40;"}) +
      block("PARG", parcels, {"30;1;2;5;;1;9;99", "40;1;2;6;;;2;55"}) +
      block("TEL", "ID N30;CISLO_TEL N4", {"99;600", "77;500", "77;700"}) +
      block("DRUPOZ", "KOD N2;NAZEV T60", {"2;\"zahrada\""}) +
      block("TYPBUD", "KOD N1;NAZEV T60;ZKRATKA T9", {"3;\"kolna\";\"kol.\""}) +
      block("SBP", kConnections, connections(6, {1, 2, 3, 1}, 1, "4", 2)) +
      block("OB", "ID N30;STAV_DAT N2;BUD_ID N30;OBRBUD_TYPE T10", {"6;2;60;\"OB\""}) +
      block("BUD", "ID N30;STAV_DAT N2;TYPBUD_KOD N1;CISLO_DOMOVNI N4", {"60;2;3;"});
  const std::string drawing = exact(vfk);
  EXPECT_EQ(groupContent(drawing, "VL_stav_2_hranice_budov"),
            "        <path id=\"60\" vl:typ=\"3 kolna\" "
            "style=\"fill:none;stroke:black;stroke-width:1\" d=\"M-1.00,-1.00 -2.00,-1.00 "
            "-2.00,-2.00 -1.00,-1.00 Z\"/>\n");
  const std::string style = " style=\"fill:none;stroke:black;stroke-width:0.2\" d=\"M-1.00,-1.00 ";
  EXPECT_EQ(groupContent(drawing, "VL_hranice_parcel"),
            "        <path id=\"10\" vl:cislo=\"st. 37/1\" vl:vymera=\"1\" "
            "vl:druh_pozemku=\"2 zahrada\" vl:list_vlastnictvi=\"500\"" +
                style + "-2.00,-1.00 -2.00,-2.00 -1.00,-2.00 -1.00,-1.00 Z\"/>\n");
  EXPECT_EQ(groupContent(drawing, "VL_GP_hranice_parcel"),
            "        <path id=\"30\" vl:cislo=\"5\" vl:vymera=\"1\" vl:druh_pozemku=\"9\" "
            "vl:list_vlastnictvi=\"600\"" +
                style + "-2.00,-1.00 -2.00,-2.00 -1.00,-1.00 Z\"/>\n" +
                "        <path id=\"40\" vl:cislo=\"6\" vl:druh_pozemku=\"2 zahrada\"" + style +
                "-2.00,-2.00 -1.00,-2.00 -1.00,-1.00 Z\"/>\n");
}

// Rows of a kind the format does not name draw nothing, and the exact
// drawing says so of each; the standard drawing reads them as it always has.
TEST_F(WholeMap, RowsOfAKindTheDrawingDoesNotKnowAreDropped) {
  const std::string vfk =
      block("SOBR", kPoints, {point(1, 1, 1), point(2, 2, 1)}) +  // lines 1 to 3
      block("SBP", kConnections, connections(1, {1, 2})) +       // 4 to 6
      block("HP", kBoundaries, {"1;0;21900;10;"}) +              // 7, 8
      block("OP", kLabels,                                       // 9 to 12
            {"100;0;;1;1;\"5\";2;0;10;\"PC\";", "101;0;;1;1;\"5\";2;0;10;\"XX\";",
             "102;0;1034;1;1;\"\";2;0;10;\"SPC\";"}) +
      block("OB", "ID N30;STAV_DAT N2;BUD_ID N30;OBRBUD_TYPE T10", {"6;0;60;\"OBX\""}) +
      block("OBBP", "ID N30;STAV_DAT N2;BP_ID N30;OBBP_TYPE T10", {"7;0;1;\"ZC\""});
  const testing::ReadResult model = read(vfk);
  const auto dropped = model.findings->of(FindingKind::kRowDropped);
  ASSERT_EQ(dropped.size(), 4u);
  const std::pair<std::string_view, int64_t> expected[] = {{"OP", 11}, {"OP", 12}, {"OB", 14},
                                                           {"OBBP", 16}};
  for (size_t k = 0; k < dropped.size(); ++k) {
    EXPECT_EQ(dropped[k].reason, DropReason::kUnknownKind);
    EXPECT_EQ(dropped[k].subject, expected[k].first);
    EXPECT_EQ(dropped[k].number, expected[k].second);
  }
  EXPECT_FALSE(model.model().parcels[0].numberLabel.text.empty());  // the known kind
  EXPECT_TRUE(testing::readVfk(vfk + "&K\n").findings->of(FindingKind::kRowDropped).empty());
}

TEST_F(WholeMap, AnElementOfACodeNoLayerTakesHasALayerOfItsCode) {
  const std::string vfk =
      "&HCODEPAGE;\"UTF-8\"\n" + block("SOBR", kPoints, {point(1, 1, 1), point(2, 2, 1)}) +
      block("SBP", kConnections, connections(40, {1, 2}, 2)) +
      block("DPM",
            "ID N30;STAV_DAT N2;TYPPPD_KOD N10;SOURADNICE_Y N10.2;SOURADNICE_X N10.2;TEXT T255;"
            "VELIKOST N10.2;UHEL N10.4;BP_ID N30;DPM_TYPE T10",
            {"40;0;99999;;;\"\";;;;\"\""}) +
      block("TYPPPD", "KOD N10;VYZNAM T255;TYP_PRVKU N1", {"99999;\"Zkušební čára\";1"});
  EXPECT_EQ(groupContent(exact(vfk), "VL_prvek_99999"),
            "        <desc>Zkušební čára</desc>\n"
            "        <path style=\"fill:none;stroke:black;stroke-width:1\" "
            "d=\"M-1.00,-1.00 -2.00,-1.00 \"/>\n");
}

TEST_F(WholeMap, ASurveyRecordFileIsDrawn) {
  // Points and lines of a survey record only: no parcel, no map label.
  const std::string vfk =
      block("SOBR", kPoints, {point(1, 1, 1, 1), point(2, 2, 1, 1)}) +
      block("SBP", kConnections, connections(600, {1, 2}, 3, "4", 1)) +
      block("ZVB", "ID N30;STAV_DAT N2;TYPPPD_KOD N10", {"600;1;23700"});
  const std::string drawing = exact(vfk);
  ASSERT_TRUE(result.written);
  EXPECT_EQ(groupContent(drawing, "VL_GP_vecna_bremena"),
            "        <path id=\"600\" style=\"fill:none;stroke:magenta;stroke-width:0.2;"
            "stroke-dasharray:1,0.5\" d=\"M-1.00,-1.00 -2.00,-1.00 \"/>\n");
  EXPECT_NE(groupContent(drawing, "VL_GP_cisla_bodu").find(">331-2 (3)</text>"),
            std::string::npos);
}

// Parcel 10: the square of side 10 with a hole of side 2, 96 m²; 11: the
// square of side 10; 12: the half circle of radius 5, 12.5 pi = 39.27 m².
TEST_F(WholeMap, AreasOffTheRegisterNumbersOutsideAndParcelsWithoutNumbers) {
  auto vfk = [](const std::string& registered10, const std::string& registered11,
                const std::string& registered12) {
    return block("SOBR", kPoints,
                 {point(1, 0, 0), point(2, 10, 0), point(3, 10, 10), point(4, 0, 10),
                  point(5, 4, 4), point(6, 6, 4), point(7, 6, 6), point(8, 4, 6),
                  point(21, 20, 0), point(22, 30, 0), point(23, 30, 10), point(24, 20, 10),
                  point(31, 45, 0), point(32, 40, 5), point(33, 35, 0)}) +
           block("SBP", kConnections,
                 connections(1, {1, 2, 3, 4, 1}) + connections(2, {5, 6, 7, 8, 5}) +
                     connections(3, {21, 22, 23, 24, 21}) + connections(4, {31, 32, 33}, 0, "16") +
                     connections(5, {33, 31})) +
           block("HP", kBoundaries,
                 {"1;0;21900;10;", "2;0;21900;10;", "3;0;21900;11;", "4;0;21900;12;",
                  "5;0;21900;12;"}) +
           block("PAR", kParcels,
                 {"10;0;2;1;;" + registered10, "11;0;1;2;;" + registered11,
                  "12;0;2;3;;" + registered12}) +
           // 10's number inside it; 11's at (50, 50), outside; 12 has none.
           block("OP", kLabels,
                 {"70;0;1;5;2;\"1\";1;0;10;\"PC\";1", "71;0;1;50;50;\"st. 2\";1;0;11;\"PC\";1"});
  };
  // Within the tolerance: 96 of 96, 100 of 104 (2 (0.3 sqrt 104 + 0.0002 104)
  // = 6.16), 39.27 of 39.
  testing::ReadResult within = read(vfk("96", "104", "39"));
  EXPECT_TRUE(within.findings->of(FindingKind::kAreaMismatch).empty());
  const auto outside = within.findings->of(FindingKind::kNumberOutsideParcel);
  ASSERT_EQ(outside.size(), 1u);
  EXPECT_EQ(outside[0].subject, "11");
  EXPECT_EQ(outside[0].name, "st. 2");
  const auto unnumbered = within.findings->of(FindingKind::kParcelWithoutNumber);
  ASSERT_EQ(unnumbered.size(), 1u);
  EXPECT_EQ(unnumbered[0].name, "p.č. 3");

  // Off: 100 against 130 (tolerance 2 (0.3 sqrt 130 + 0.026) = 6.893), and
  // 39.27 against 30 (2 (0.3 sqrt 30 + 0.006) = 3.298): a drawing that took
  // the arc for its chord would find no area at all.
  testing::ReadResult off = read(vfk("96", "130", "30"));
  const auto mismatches = off.findings->of(FindingKind::kAreaMismatch);
  ASSERT_EQ(mismatches.size(), 2u);
  EXPECT_EQ(mismatches[0].subject, "11");
  EXPECT_EQ(mismatches[0].number, 130);
  EXPECT_NEAR(mismatches[0].measure, 100.0, 1e-9);
  EXPECT_NEAR(mismatches[0].limit, 6.893, 0.001);
  EXPECT_EQ(mismatches[1].subject, "12");
  EXPECT_NEAR(mismatches[1].measure, 12.5 * std::numbers::pi, 1e-6);
  EXPECT_NEAR(mismatches[1].limit, 3.298, 0.001);
}

TEST_F(WholeMap, TheStandardDrawingSaysWhereItDrawsASegmentTheFileLacks) {
  // Parcel 10's border, cut: 1 2 and 3 4. The standard drawing runs on from
  // 2 (-2,-1) to 3 (-2,-2): a segment of length 1 that no line holds.
  const std::string vfk =
      block("SOBR", kPoints, {point(1, 1, 1), point(2, 2, 1), point(3, 2, 2), point(4, 1, 2)}) +
      block("SBP", kConnections, connections(1, {1, 2}) + connections(2, {3, 4})) +
      block("HP", kBoundaries, {"1;0;21900;10;", "2;0;21900;10;"}) +
      block("OP", kLabels, {"70;0;1;1;1;\"10\";1;0;10;\"PC\";1"}) + "&K\n";
  const testing::ReadResult standard = testing::readVfk(vfk);
  const auto chords = standard.findings->of(FindingKind::kChordDrawn);
  ASSERT_EQ(chords.size(), 1u);
  EXPECT_EQ(chords[0].subject, "10");
  EXPECT_EQ(chords[0].measure, 1.0);
  ASSERT_EQ(chords[0].places.size(), 2u);
  EXPECT_TRUE(chords[0].places[0].x == -2 && chords[0].places[0].y == -1);
  EXPECT_TRUE(chords[0].places[1].x == -2 && chords[0].places[1].y == -2);
  EXPECT_TRUE(testing::readVfk(vfk, kAnsiCodePage, {.exact = true})
                  .findings->of(FindingKind::kChordDrawn)
                  .empty());
}

// Captures where each arrow's head is drawn, with its parcel.
class ArrowHeads : public DrawingVisitor {
 public:
  void beginLayer(const DrawingLayer& layer, const CadastralModel&) override {
    current = layer.state == 0;
  }
  void endLayer(const DrawingLayer&) override {}
  void symbol(const TextLabel&, bool) override {}
  void path(std::optional<std::string_view>, const BorderPath&,
            std::span<const Attribute>) override {}
  void mark(std::string_view, const Point&) override {}
  void bpejArea(std::string_view, const BorderPath&, const TextLabel*) override {}
  void text(const TextLabel&, std::string_view, std::optional<std::string_view>,
            TextForm) override {}
  // The symbol's head lies 2.5 along its +y, turned by its angle clockwise
  // in the drawing's y-down view.
  void arrow(const Point*, const ParcelArrow& arrow) override {
    if (!current) return;
    const double radians = arrow.angle * std::numbers::pi / 180;
    heads.push_back({arrow.parcel, Point{arrow.x - 2.5 * std::sin(radians),
                                         arrow.y + 2.5 * std::cos(radians)}});
  }
  bool current = false;
  std::vector<std::pair<int32_t, Point>> heads;
};

TEST_F(WholeMap, AnArrowLeadsFromTheNumberIntoItsParcel) {
  // Parcel 10, the square of side 10; its number at (-15, -5), outside; the
  // arrow's line (1032) from (-12, -5), near the number, to (-5, -5)
  // inside; the arrow symbol (1033) at the line's end near the number,
  // turned 100 gon (90 degrees) towards it.
  const std::string vfk =
      block("SOBR", kPoints, {point(1, 0, 0), point(2, 10, 0), point(3, 10, 10), point(4, 0, 10)}) +
      block("SBP", kConnections, connections(1, {1, 2, 3, 4, 1})) +
      block("HP", kBoundaries, {"1;0;21900;10;"}) +
      block("SBM",
            "PORADOVE_CISLO_BODU N38;SOURADNICE_Y N10.2;SOURADNICE_X N10.2;OP_ID N30;DPM_ID N30;"
            "HBPEJ_ID N30;PARAMETRY_SPOJENI T100",
            {"1;12;5;72;;;\"3\"", "2;5;5;72;;;\"\""}) +
      block("OP", kLabels,
            {"70;0;1;15;5;\"10\";1;0;10;\"PC\";1", "71;0;1033;12;5;\"\";1;100;10;\"SPC\";",
             "72;0;1032;;;\"\";;;10;\"SPC\";"});
  // Today's symbol at (-12,-5) turned 90 degrees has its head at
  // (-12 - 2.5, -5), towards the number. Turned about, with its head at the
  // line's inner end (-5,-5), it stands at (-5 - 2.5, -5), 270 degrees.
  const std::string drawing = exact(vfk);
  EXPECT_NE(groupContent(drawing, "VL_text_parcel")
                .find("        <line x1=\"-12.00\" y1=\"-5.00\" x2=\"-7.50\" y2=\"-5.00\" "
                      "stroke=\"black\" stroke-width=\"0.20\" />\n"
                      "        <use x=\"-7.50\" y=\"-5.00\" xlink:href=\"#VL_symbol_arrow\" "
                      "transform=\"rotate(270.00 -7.50 -5.00)\"/>\n"),
            std::string::npos);
}

// In the real exports, each arrow's head lies in its parcel.
TEST(RealArrows, EachHeadLiesInItsParcel) {
  const char* folder = std::getenv("VORLANE_REAL_DATA");
  if (folder == nullptr) GTEST_SKIP() << "VORLANE_REAL_DATA is not set";
  int arrows = 0;
  for (const char* name : {"qgis-vfk-plugin_Export_vse_v5.5_latin2.vfk",
                           "katastrCZ-vfk-tools_724149_mapa_v5.1_latin2.vfk"}) {
    const std::filesystem::path file = std::filesystem::path(folder) / name;
    if (!std::filesystem::exists(file)) continue;
    const testing::ReadResult read =
        testing::readVfk(testing::readFile(file), kAnsiCodePage, {.exact = true});
    ArrowHeads heads;
    walkDrawing(read.model(), {.exact = true}, heads);
    BorderPath path;
    for (const auto& [parcel, head] : heads.heads) {
      ++arrows;
      collectExactPath(read.model(), read.model().parcels[static_cast<size_t>(parcel)], path);
      EXPECT_TRUE(encloses(read.model(), path, head))
          << name << ": parcel " << read.model().text(read.model().parcels[parcel].id);
    }
  }
  if (arrows == 0) GTEST_SKIP() << "no export with arrows in " << folder;
  EXPECT_EQ(arrows, 59 + 17);
}

}  // namespace
}  // namespace vorlane

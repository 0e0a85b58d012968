// The exact drawing: every segment the file holds, once, and no other; arcs
// and circles; no label without a position; every border type of the
// cadastral area; several files into one drawing. Expected paths are worked
// out by hand: a point given as (Y, X) in the file is drawn at (-Y, -X).
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <random>
#include <set>
#include <string>
#include <vector>

#include "model/exact_rings.h"
#include "model/piece_chains.h"
#include "tests/test_support.h"

namespace vorlane {
namespace {

namespace fs = std::filesystem;

using testing::groupContent;

// Writes the VFK text of points, parcel boundaries and labels.
class VfkText {
 public:
  VfkText& point(int id, int y, int x) {
    points_ +=
        "&DSOBR;" + std::to_string(id) + ";" + std::to_string(y) + ";" + std::to_string(x) + "\n";
    return *this;
  }
  // A boundary through the points, in ordinal order; 0 leaves an ordinal out.
  VfkText& boundary(const std::vector<int>& points, const std::string& parcel1,
                    const std::string& parcel2 = "", int type = 21900,
                    const std::string& shape = "4") {
    const std::string id = std::to_string(++lines_);
    for (size_t k = 0; k < points.size(); ++k) {
      if (points[k] == 0) continue;
      connections_ += "&DSBP;" + std::to_string(points[k]) + ";" + std::to_string(k + 1) + ";" +
                      id + ";;\"" + shape + "\"\n";
    }
    boundaries_ += "&DHP;" + id + ";" + std::to_string(type) + ";" + parcel1 + ";" + parcel2 + "\n";
    return *this;
  }
  // A parcel number; an empty "y" leaves its position out.
  VfkText& number(const std::string& parcel, const std::string& text, const std::string& y,
                  const std::string& x) {
    labels_ += "&DOP;" + parcel + ";\"PC\";0;\"" + text + "\";" + y + ";" + x + "\n";
    return *this;
  }
  std::string text() const {
    return testing::kSobrDefinition + points_ +
           "&BSBP;BP_ID N30;PORADOVE_CISLO_BODU N38;HP_ID N30;OB_ID N30;PARAMETRY_SPOJENI T100\n" +
           connections_ + "&BHP;ID N30;TYPPPD_KOD N10;PAR_ID_1 N30;PAR_ID_2 N30\n" + boundaries_ +
           "&BOP;PAR_ID N30;OPAR_TYPE T10;TYPPPD_KOD N10;TEXT T255;SOURADNICE_Y N10.2;"
           "SOURADNICE_X N10.2\n" +
           labels_;
  }

 private:
  std::string points_, connections_, boundaries_, labels_;
  int lines_ = 0;
};

// The square 1 (1,1), 2 (2,1), 3 (2,2), 4 (1,2), and points 5 to 9 inside.
VfkText square() {
  VfkText vfk;
  vfk.point(1, 1, 1).point(2, 2, 1).point(3, 2, 2).point(4, 1, 2);
  vfk.point(5, 3, 3).point(6, 4, 3).point(7, 4, 4).point(8, 5, 5).point(9, 6, 5);
  return vfk;
}

constexpr const char* kPathStart =
    "        <path id=\"10\" style=\"fill:none;stroke:black;stroke-width:0.2\" d=\"M";

class ExactDrawing : public testing::ConversionTest {
 protected:
  // The drawing's layer, exact or standard.
  std::string layer(const std::string& vfk, const char* name, bool exact = true) {
    return groupContent(convert(vfk, exact ? "exact" : "standard", {.options = {.exact = exact}}),
                        name);
  }
  std::string parcelPath(const std::string& data) { return kPathStart + data + "\"/>\n"; }
  // The files "first" and "second" of the folder read into one exact
  // drawing, both.svg.
  Conversion convertBoth(const char* first, const char* second, Diagnostics& findings) {
    const std::vector<PathString> inputs = {testing::widePath(dir.path() / first),
                                            testing::widePath(dir.path() / second)};
    return convertVfkFiles(
        inputs,
        {.options = {.exact = true}, .drawingPath = testing::widePath(dir.path() / "both.svg")},
        findings);
  }
};

TEST_F(ExactDrawing, ACutBorderStaysOpenAndAGapIsNotBridged) {
  // Two pieces of one border that do not meet: the standard drawing joins
  // them with a segment the file does not hold.
  const std::string cut = square().boundary({1, 2}, "10").boundary({3, 4}, "10").text();
  EXPECT_EQ(layer(cut, "VL_hranice_parcel"),
            parcelPath("-1.00,-1.00 -2.00,-1.00  M -2.00,-2.00 -1.00,-2.00 "));
  EXPECT_EQ(layer(cut + "&DOP;10;\"PC\";0;\"10\";1;1\n", "VL_hranice_parcel", false),
            parcelPath("-1.00,-1.00 -2.00,-1.00 -2.00,-2.00 -1.00,-2.00 "));

  // A line whose third point the file lacks is drawn in its two runs.
  EXPECT_EQ(layer(square().boundary({1, 2, 0, 4, 1}, "10").text(), "VL_hranice_parcel"),
            parcelPath("-1.00,-2.00 -1.00,-1.00 -2.00,-1.00 "));
}

TEST_F(ExactDrawing, HolesAndRingsTouchingAtAPointKeepEverySegment) {
  // A hole of three lines touching the outer ring at point 1, listed first:
  // two rings, each closed.
  EXPECT_EQ(layer(square()
                      .boundary({1, 5}, "10")
                      .boundary({1, 2, 3, 4, 1}, "10")
                      .boundary({6, 5}, "10")
                      .boundary({6, 1}, "10")
                      .text(),
                  "VL_hranice_parcel"),
            parcelPath("-1.00,-1.00 -3.00,-3.00 -4.00,-3.00 -1.00,-1.00 Z M -1.00,-1.00 "
                       "-2.00,-1.00 -2.00,-2.00 -1.00,-2.00 -1.00,-1.00 Z"));
  // Two holes apart from the ring, each closed.
  EXPECT_EQ(layer(square()
                      .boundary({1, 2, 3, 4, 1}, "10")
                      .boundary({5, 6, 7, 5}, "10")
                      .boundary({8, 9}, "10")
                      .boundary({9, 8}, "10")
                      .text(),
                  "VL_hranice_parcel"),
            parcelPath("-1.00,-1.00 -2.00,-1.00 -2.00,-2.00 -1.00,-2.00 -1.00,-1.00 Z M "
                       "-3.00,-3.00 -4.00,-3.00 -4.00,-4.00 -3.00,-3.00 Z M -5.00,-5.00 "
                       "-6.00,-5.00 -5.00,-5.00 Z"));
  // A line that names the parcel on both sides is drawn once.
  EXPECT_EQ(layer(square().boundary({1, 2}, "10", "10").text(), "VL_hranice_parcel"),
            parcelPath("-1.00,-1.00 -2.00,-1.00 "));
}

// Points on the circle of radius 5 about (-10, -10): 11 (15,10), 12 (10,15),
// 13 (5,10), drawn at (-15,-10), (-10,-15) and (-5,-10).
TEST_F(ExactDrawing, ArcsAndCirclesAreDrawnAsArcs) {
  VfkText arc = square();
  arc.point(11, 15, 10).point(12, 10, 15).point(13, 5, 10);
  arc.boundary({11, 12, 13}, "10", "", 21900, "16").boundary({13, 11}, "10");
  // From (-15,-10) at 180 degrees through (-10,-15) at 270 to (-5,-10): with
  // growing angles (sweep 1), half the circle (not the large arc).
  EXPECT_EQ(layer(arc.text(), "VL_hranice_parcel"),
            parcelPath("-15.00,-10.00 A 5.00,5.00 0 0,1 -5.00,-10.00 -15.00,-10.00 Z"));
  EXPECT_EQ(layer(arc.text() + "&DOP;10;\"PC\";0;\"10\";1;1\n", "VL_hranice_parcel", false),
            parcelPath("-5.00,-10.00 -10.00,-15.00 -15.00,-10.00 -5.00,-10.00 "));

  // Three points without an arc's code, and four with one, are straight.
  VfkText straight = square();
  straight.point(11, 15, 10).point(12, 10, 15).point(13, 5, 10).point(14, 5, 5);
  straight.boundary({11, 12, 13}, "10").boundary({11, 12, 13, 14}, "20", "", 21900, "16");
  EXPECT_EQ(layer(straight.text(), "VL_hranice_parcel"),
            parcelPath("-15.00,-10.00 -10.00,-15.00 -5.00,-10.00 ") +
                "        <path id=\"20\" style=\"fill:none;stroke:black;stroke-width:0.2\" "
                "d=\"M-15.00,-10.00 -10.00,-15.00 -5.00,-10.00 -5.00,-5.00 \"/>\n");

  VfkText circle = square();
  circle.point(11, 15, 10).point(12, 10, 15).point(13, 5, 10);
  circle.boundary({11, 12, 13}, "10", "", 21900, "15");
  // Round through the three points: two quarters and the half back.
  EXPECT_EQ(layer(circle.text(), "VL_hranice_parcel"),
            parcelPath("-15.00,-10.00 A 5.00,5.00 0 0,1 -10.00,-15.00 A 5.00,5.00 0 0,1 "
                       "-5.00,-10.00 A 5.00,5.00 0 0,1 -15.00,-10.00 Z"));
}

TEST_F(ExactDrawing, LabelsWithoutAPositionAreLeftOutAndReported) {
  const std::string file = square()
                               .boundary({1, 2, 3, 1}, "10")
                               .boundary({1, 4, 3}, "11")
                               .number("10", "10", "", "")
                               .number("11", "11", "7", "8")
                               .text();
  // An arrow without a position, a number with only its Y, a symbol with
  // only its X: none is drawn, each is reported.
  const std::string halves = file + "&DOP;10;\"SPC\";1033;\"\";;\n&DOP;11;\"PPC\";0;\"11\";7;\n" +
                             "&DOP;10;\"ZDP\";303;\"\";;8\n";
  const std::string drawn = convert(halves, "halves", {.options = {.exact = true}});
  EXPECT_EQ(drawn.find("href=\"#VL_symbol_arrow\""), std::string::npos);
  EXPECT_EQ(drawn.find("href=\"#VL_symbol_303\""), std::string::npos);
  EXPECT_EQ(groupContent(drawn, "VL_text_parcel").find(">11</text>"),
            groupContent(drawn, "VL_text_parcel").rfind(">11</text>"));
  const testing::ReadResult read = testing::readVfk(halves, kAnsiCodePage, {.exact = true});
  std::vector<LabelKind> unplacedKinds;
  for (const auto& finding : read.findings->of(FindingKind::kLabelWithoutPosition)) {
    unplacedKinds.push_back(finding.label);
  }
  EXPECT_EQ(unplacedKinds, (std::vector<LabelKind>{LabelKind::kParcelNumber, LabelKind::kParcelArrow,
                                                   LabelKind::kParcelSymbol,
                                                   LabelKind::kParcelNumber}));

  const std::string exact = layer(file, "VL_text_parcel");
  EXPECT_EQ(exact.find(">10</text>"), std::string::npos);
  EXPECT_NE(exact.find("<text id=\"11\" x=\"-7.00\" y=\"-8.00\""), std::string::npos);
  EXPECT_NE(layer(file, "VL_text_parcel", false).find("<text id=\"10\" x=\"-0.00\" y=\"-0.00\""),
            std::string::npos);

  testing::RecordedFindings findings;
  VfkParser parser(findings);
  testing::writeFile(dir.path() / "labels.vfk", file);
  parser.parseFile(testing::widePath(dir.path() / "labels.vfk"), kAnsiCodePage);
  const auto unplaced = findings.of(FindingKind::kLabelWithoutPosition);
  ASSERT_EQ(unplaced.size(), 1u);
  EXPECT_EQ(unplaced[0].label, LabelKind::kParcelNumber);
  EXPECT_EQ(unplaced[0].subject, "10");
  // Parcel 11's border 1 4 3 is open at 1 and 3.
  const auto open = findings.of(FindingKind::kOpenBorder);
  ASSERT_EQ(open.size(), 1u);
  EXPECT_EQ(open[0].subject, "11");
  ASSERT_EQ(open[0].places.size(), 2u);
  EXPECT_TRUE(open[0].places[0].x == -1 && open[0].places[0].y == -1);
  EXPECT_TRUE(open[0].places[1].x == -2 && open[0].places[1].y == -2);
}

TEST_F(ExactDrawing, TheCadastralAreaLayerHoldsEveryAdministrativeBorder) {
  VfkText vfk = square();
  // State, region, district, municipality and area borders, each kind and
  // sign place once; then a parcel border and codes outside the list.
  const int borders[] = {20100, 20355, 20412, 20505, 20602, 20650};
  const int others[] = {21900, 20201, 20606, 20700, 20160};
  for (const int type : borders) vfk.boundary({1, 2}, "10", "", type);
  for (const int type : others) vfk.boundary({3, 4}, "10", "", type);
  const std::string line =
      "        <path style=\"fill:none;stroke:black;stroke-width:1\" d=\"M-1.00,-1.00 -2.00,-1.00 "
      "\"/>\n";
  std::string expected;
  for (size_t k = 0; k < std::size(borders); ++k) expected += line;
  EXPECT_EQ(layer(vfk.text(), "VL_hranice_KU"), expected);
  EXPECT_EQ(layer(vfk.text(), "VL_hranice_KU", false), line);
}

TEST_F(ExactDrawing, AMapFileAndItsCompanionMakeOneDrawing) {
  // The map places building 7 and its number; the descriptive file gives
  // its type and house number, and a building the map does not have.
  testing::writeFile(dir.path() / "map.vfk",
                     square().text() +
                         "&BOBDEBO;BUD_ID N30;SOURADNICE_Y N10.2;SOURADNICE_X N10.2\n"
                         "&DOBDEBO;7;3;4\n");
  testing::writeFile(dir.path() / "register.vfk",
                     "&HCODEPAGE;\"UTF-8\"\n&BBUD;ID N30;TYPBUD_KOD N1;CISLO_DOMOVNI N4\n"
                     "&DBUD;7;1;12\n&DBUD;8;1;13\n");
  testing::RecordedFindings findings;
  const Conversion both = convertBoth("map.vfk", "register.vfk", findings);
  ASSERT_TRUE(both.written);
  EXPECT_EQ(both.inputs[1].codePage, kUtf8CodePage);
  EXPECT_EQ(
      groupContent(testing::readFile(dir.path() / "both.svg"), "VL_cisla_budov"),
      "        <text x=\"-3.00\" y=\"-4.00\" text-anchor=\"start\" alignment-baseline=\"baseline\" "
      "fill=\"black\" font-size=\"1.00\">č.p. 12</text>\n");
  ASSERT_EQ(findings.of(FindingKind::kLabelWithoutPosition).size(), 1u);
  EXPECT_EQ(findings.of(FindingKind::kLabelWithoutPosition)[0].subject, "8");
}

// Each file's rows are counted by block and state, in the order the
// states first come, also when a block is defined again, and a second file
// starts counting afresh.
TEST_F(ExactDrawing, RowsAreCountedByBlockAndState) {
  const std::string points =
      "&BSOBR;ID N30;STAV_DAT N2;CISLO_ZPMZ N5;CISLO_BODU N12;SOURADNICE_Y N10.2;"
      "SOURADNICE_X N10.2;KODCHB_KOD N2\n";
  auto point = [](int id, int state) {
    return "&DSOBR;" + std::to_string(id) + ";" + std::to_string(state) + ";331;1;" +
           std::to_string(100 + id) + ";100;3\n";
  };
  testing::writeFile(dir.path() / "first.vfk", points + point(1, 0) + point(2, 1) + point(3, 0) +
                                                   point(4, 1) + point(5, 1) + "&K\n");
  testing::writeFile(dir.path() / "second.vfk",
                     points + point(1, 1) + point(2, 1) + point(3, 0) +
                         "&BSPOL;ID N30;STAV_DAT N2;SOURADNICE_Y N10.2;SOURADNICE_X N10.2\n"
                         "&DSPOL;3;0;104;100\n" +
                         points + point(4, 0) + "&K\n");
  testing::RecordedFindings findings;
  const Conversion both = convertBoth("first.vfk", "second.vfk", findings);
  ASSERT_EQ(both.inputs.size(), 2u);
  using States = std::vector<std::pair<int32_t, int64_t>>;
  auto statesOf = [&](size_t input, const std::string& block) {
    for (const BlockRowCount& count : both.inputs[input].blockRows) {
      if (count.block == block) return count.states;
    }
    return States{};
  };
  EXPECT_EQ(statesOf(0, "SOBR"), (States{{0, 2}, {1, 3}}));
  EXPECT_EQ(statesOf(1, "SOBR"), (States{{1, 2}, {0, 2}}));
  EXPECT_EQ(statesOf(1, "SPOL"), (States{{0, 1}}));
}

// Generated extracts, cut at random: in every parcel's exact path, each
// segment of its boundary lines whose two points exist is drawn exactly
// once, and nothing else is.
TEST(ExactRings, EverySegmentOfACutExtractOnceAndNoOther) {
  testing::TempDir dir;
  for (const int seed : {1, 2, 3}) {
    const fs::path file = dir.path() / ("cut" + std::to_string(seed) + ".vfk");
    const std::string command = "'" VORLANE_GENERATE_VFK "' --seed " + std::to_string(seed) +
                                " --parcels 300 --cut 0.0" + std::to_string(seed + 2) + " '" +
                                file.string() + "' 2>/dev/null";
    ASSERT_EQ(std::system(command.c_str()), 0);
    const testing::ReadResult read =
        testing::readVfk(testing::readFile(file), kAnsiCodePage, {.exact = true});
    const CadastralModel& model = read.model();
    ASSERT_FALSE(read.findings->of(FindingKind::kMissingPoint).empty());
    using Segment = std::pair<int32_t, int32_t>;
    auto segment = [](int32_t a, int32_t b) { return a < b ? Segment{a, b} : Segment{b, a}; };
    BorderPath path;
    for (const Parcel& parcel : model.parcels) {
      std::set<Segment> expected;
      for (const int32_t line : model.boundaryIndicesOf(parcel)) {
        const auto points = model.pointIndicesOf(model.parcelBoundaries[static_cast<size_t>(line)]);
        for (size_t k = 0; k + 1 < points.size(); ++k) {
          if (points[k] >= 0 && points[k + 1] >= 0)
            expected.insert(segment(points[k], points[k + 1]));
        }
      }
      std::map<Segment, int> drawn;
      collectExactPath(model, parcel, path);
      for (const BorderPath::Subpath& subpath : path.subpaths) {
        const auto points = path.pointsOf(subpath);
        for (size_t k = 0; k + 1 < points.size(); ++k) ++drawn[segment(points[k], points[k + 1])];
      }
      std::set<Segment> drawnOnce;
      for (const auto& [drawnSegment, times] : drawn) {
        EXPECT_EQ(times, 1) << "parcel " << model.text(parcel.id);
        drawnOnce.insert(drawnSegment);
      }
      ASSERT_EQ(drawnOnce, expected) << "parcel " << model.text(parcel.id) << ", seed " << seed;
    }
  }
}

// A parcel on both sides of each of its lines lists each twice: its ring
// is drawn with each segment once, whether it has a few lines or many.
TEST(ExactRings, ALineListedTwiceIsDrawnOnce) {
  for (const int sides : {5, 40}) {
    CadastralModel model;
    for (int k = 0; k < sides; ++k) model.addPoint(std::cos(k * 0.1), std::sin(k * 0.1));
    for (int k = 0; k < sides; ++k) {
      const IndexRange line = model.addPointList(std::vector<int32_t>{k, (k + 1) % sides});
      model.addParcelBoundary(line, "7", "7", 21900);
    }
    IgnoredDiagnostics ignored;
    model.resolveGeometry(DrawingOptions{.exact = true}, ignored);
    const Parcel& parcel = model.parcels[0];
    BorderPath path;
    collectExactPath(model, parcel, path);
    ASSERT_EQ(path.subpaths.size(), 1u) << sides;
    EXPECT_TRUE(path.subpaths[0].closed) << sides;
    EXPECT_EQ(path.segmentCount(), sides) << sides;
  }
}

// Random parcels of rings over a few shared points, their lines cut,
// turned, listed twice, shared, bent into arcs and circles, some with a gap
// or a loose line: a parcel whose border resolution stored as one ring must
// be drawn as it is chained. A circle among a parcel's lines keeps it from
// being stored and is drawn after its chains, so the same parcels with a
// circle each give the chained paths, the circle after them.
TEST(ExactRings, ARingStoredInItsChainedOrderIsDrawnAsChained) {
  std::mt19937 random(20261207);
  auto chance = [&random](double p) { return std::bernoulli_distribution(p)(random); };
  auto below = [&random](int n) { return std::uniform_int_distribution<int>(0, n - 1)(random); };
  int stored = 0;
  int chained = 0;
  for (int trial = 0; trial < 300; ++trial) {
    constexpr int kPoints = 10;
    constexpr int kParcels = 4;
    struct Line {
      std::vector<int32_t> points;
      int parcel;
      int other;  // -1 for none
      LineShape shape;
    };
    std::vector<Line> lines;
    for (int parcel = 0; parcel < kParcels; ++parcel) {
      std::vector<int32_t> ring;
      for (int k = 1 + below(8); k > 0; --k) ring.push_back(below(kPoints));
      ring.push_back(ring.front());
      for (size_t at = 0; at + 1 < ring.size();) {
        const size_t end = std::min(ring.size() - 1, at + 1 + below(3));
        Line line{{ring.begin() + static_cast<long>(at), ring.begin() + static_cast<long>(end) + 1},
                  parcel,
                  -1,
                  LineShape::kStraight};
        if (line.points.size() == 3 && chance(0.3)) line.shape = LineShape::kArc;
        if (line.points.size() == 3 && chance(0.1)) line.shape = LineShape::kCircle;
        if (chance(0.5)) std::reverse(line.points.begin(), line.points.end());
        if (chance(0.05))
          line.points[static_cast<size_t>(below(static_cast<int>(line.points.size())))] = -1;
        if (chance(0.2)) line.other = chance(0.5) ? parcel : below(kParcels);
        lines.push_back(line);
        at = end;
      }
      if (chance(0.05))
        lines.push_back({{below(kPoints), below(kPoints)}, parcel, -1, LineShape::kStraight});
    }
    std::shuffle(lines.begin(), lines.end(), random);

    CadastralModel plain;
    CadastralModel withCircles;
    for (CadastralModel* model : {&plain, &withCircles}) {
      for (int k = 0; k < kPoints; ++k)
        model->addPoint(k % 4 * 10.0 + k * 0.7, k / 4 * 10.0 - k * 0.3);
      auto id = [](int parcel) { return parcel < 0 ? std::string() : std::to_string(parcel + 1); };
      for (const Line& line : lines) {
        model->addParcelBoundary(model->addPointList(line.points), id(line.parcel), id(line.other),
                                 21900, line.shape);
      }
    }
    for (int parcel = 0; parcel < kParcels; ++parcel) {
      const int32_t a = withCircles.addPoint(100.0 + parcel, 0.0);
      const int32_t b = withCircles.addPoint(101.0 + parcel, 1.0);
      const int32_t c = withCircles.addPoint(100.0 + parcel, 2.0);
      withCircles.addParcelBoundary(withCircles.addPointList(std::vector<int32_t>{a, b, c}),
                                    std::to_string(parcel + 1), "", 21900, LineShape::kCircle);
    }
    IgnoredDiagnostics ignored;
    plain.resolveGeometry(DrawingOptions{.exact = true}, ignored);
    withCircles.resolveGeometry(DrawingOptions{.exact = true}, ignored);
    ASSERT_EQ(plain.parcels.size(), withCircles.parcels.size());
    BorderPath path;
    BorderPath expected;
    for (size_t p = 0; p < plain.parcels.size(); ++p) {
      const bool isStored = plain.ringLinesOf(plain.parcels[p]).oneExactRing;
      ASSERT_FALSE(withCircles.ringLinesOf(withCircles.parcels[p]).oneExactRing);
      (isStored ? stored : chained) += 1;
      collectExactPath(plain, plain.parcels[p], path);
      collectExactPath(withCircles, withCircles.parcels[p], expected);
      ASSERT_GE(expected.subpaths.size(), 1u);
      ASSERT_GE(expected.arcs.size(), 3u);
      expected.points.resize(expected.subpaths.back().first);
      expected.subpaths.pop_back();
      expected.arcs.resize(expected.arcs.size() - 3);
      const std::string where = "trial " + std::to_string(trial) + ", parcel " +
                                std::string(plain.text(plain.parcels[p].id)) +
                                (isStored ? ", stored" : "");
      ASSERT_EQ(path.points, expected.points) << where;
      ASSERT_EQ(path.subpaths.size(), expected.subpaths.size()) << where;
      for (size_t k = 0; k < path.subpaths.size(); ++k) {
        EXPECT_EQ(path.subpaths[k].first, expected.subpaths[k].first) << where;
        EXPECT_EQ(path.subpaths[k].count, expected.subpaths[k].count) << where;
        EXPECT_EQ(path.subpaths[k].closed, expected.subpaths[k].closed) << where;
      }
      ASSERT_EQ(path.arcs.size(), expected.arcs.size()) << where;
      for (size_t k = 0; k < path.arcs.size(); ++k) {
        EXPECT_EQ(path.arcs[k].to, expected.arcs[k].to) << where;
        EXPECT_EQ(path.arcs[k].radius, expected.arcs[k].radius) << where;
        EXPECT_EQ(path.arcs[k].largeArc, expected.arcs[k].largeArc) << where;
        EXPECT_EQ(path.arcs[k].sweep, expected.arcs[k].sweep) << where;
      }
    }
  }
  // Both ways were taken, each often.
  EXPECT_GT(stored, 300);
  EXPECT_GT(chained, 100);
}

// Pieces with few distinct end points, so that they meet often, many closed:
// a scan of the pieces and a search of their sorted ends chain them alike,
// each piece once, each step starting where the one before ended.
TEST(PieceChains, AScanAndASearchOfTheSortedEndsChainAlike) {
  std::mt19937 random(20261207);
  PieceChainer scanned;
  PieceChainer searched;
  for (int trial = 0; trial < 2000; ++trial) {
    const int count = std::uniform_int_distribution<int>(1, 40)(random);
    std::uniform_int_distribution<int32_t> point(0, count / 2 + 1);
    std::vector<LineEnds> pieces;
    for (int k = 0; k < count; ++k) pieces.push_back({point(random), point(random)});
    scanned.chain(pieces, ChainSearch::kScan);
    searched.chain(pieces, ChainSearch::kIndexed);
    ASSERT_EQ(scanned.chainEnds(), searched.chainEnds()) << "trial " << trial;
    const std::vector<ChainStep>& steps = scanned.steps();
    ASSERT_EQ(steps.size(), pieces.size());
    std::vector<int> walked(pieces.size(), 0);
    uint32_t first = 0;
    for (const uint32_t end : scanned.chainEnds()) {
      for (uint32_t k = first; k < end; ++k) {
        const ChainStep& step = steps[k];
        ASSERT_EQ(step.piece, searched.steps()[k].piece) << "trial " << trial;
        ASSERT_EQ(step.reversed, searched.steps()[k].reversed) << "trial " << trial;
        ++walked[step.piece];
        if (k == first) continue;
        const ChainStep& before = steps[k - 1];
        const int32_t beforeEnd =
            before.reversed ? pieces[before.piece].front : pieces[before.piece].back;
        const int32_t start = step.reversed ? pieces[step.piece].back : pieces[step.piece].front;
        ASSERT_EQ(start, beforeEnd) << "trial " << trial << ", step " << k;
      }
      first = end;
    }
    EXPECT_EQ(std::count(walked.begin(), walked.end(), 1), count) << "trial " << trial;
  }
}

}  // namespace
}  // namespace vorlane

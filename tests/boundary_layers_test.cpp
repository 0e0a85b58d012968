// The line layers: parcel and building borders, BPEJ units, the cadastral-area
// border and the map elements.
#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>

#include "model/rings.h"
#include "svg/point_texts.h"
#include "tests/test_support.h"

namespace vorlane {
namespace {

using testing::groupContent;

const std::string kParcelPath =
    "        <path id=\"1\" style=\"fill:none;stroke:black;stroke-width:0.2\" d=\"M";

using Indices = std::vector<int32_t>;

// The border layers write points through texts made once per point; what
// they write must be what formatting each point anew writes.
TEST(PointTexts, WriteWhatFormattingEachPointWrites) {
  std::mt19937 random(7);
  std::uniform_real_distribution<double> coordinate(-1.2e6, 1.2e6);
  CadastralModel model;
  for (int i = 0; i < 500; ++i) model.addPoint(coordinate(random), coordinate(random));
  model.addPoint(1e300, -1e300);  // a text too long to keep
  model.addPoint(std::nan(""), -0.0);
  const auto count = static_cast<int32_t>(model.points.size());

  PointTexts texts(model);
  SvgOutput kept;
  SvgOutput anew;
  std::uniform_int_distribution<int32_t> index(0, count - 1);
  for (int round = 0; round < 200; ++round) {
    Indices points(static_cast<size_t>(round % 17));
    for (int32_t& point : points) point = index(random);
    texts.write(kept, points);
    for (const int32_t point : points) {
      const Point& at = model.points[static_cast<size_t>(point)];
      anew.point(at.x, at.y);
    }
  }
  EXPECT_EQ(kept.text(), anew.text());
}

// A model whose point i lies at (i, i + 0.5), written "i.00,i.50".
class LineLayers : public ::testing::Test {
 protected:
  LineLayers() {
    for (int i = 0; i < 10; ++i) model.addPoint(i, i + 0.5);
  }

  IndexRange line(const Indices& points) { return model.addPointList(points); }

  // Parcel "1" made of the given lines, with a number text.
  void addParcel(const std::vector<Indices>& lines) {
    for (const Indices& points : lines) model.addParcelBoundary(line(points), "1", "", 0);
    numberParcel("1");
  }

  void numberParcel(std::string_view id) {
    model.getParcel(id).numberLabel.text = model.addText(id);
  }

  std::string layer(std::string_view name) {
    testing::resolve(model);
    return groupContent(testing::drawing(model), name);
  }

  CadastralModel model;
};

TEST_F(LineLayers, SeveralRingsAreClosedAndRestarted) {
  addParcel({{1, 2, 3, 1}, {5, 6, 7, 5}});
  const std::string rings =
      "1.00,1.50 2.00,2.50 3.00,3.50 1.00,1.50 Z M 5.00,5.50 6.00,6.50 7.00,7.50 5.00,5.50 ";
  EXPECT_EQ(layer("VL_hranice_parcel"), kParcelPath + rings + "\"/>\n");

  // The same chain, unmarked, is one run of points.
  model.parcelRingLines[0].hasMultipleRings = false;
  EXPECT_EQ(groupContent(testing::drawing(model), "VL_hranice_parcel"),
            kParcelPath +
                "1.00,1.50 2.00,2.50 3.00,3.50 1.00,1.50 5.00,5.50 6.00,6.50 7.00,7.50 5.00,5.50 "
                "\"/>\n");
}

TEST_F(LineLayers, LinesAreTurnedToContinueTheChain) {
  // The first line is stored from the joint outwards, the second ends where
  // the first begins: the joint 0 is written once, between them.
  addParcel({{0, 1, 2}, {0, 3, 2}});
  EXPECT_EQ(layer("VL_hranice_parcel"),
            kParcelPath + "2.00,2.50 1.00,1.50 0.00,0.50 3.00,3.50 2.00,2.50 \"/>\n");
  BorderPath path;
  collectRingPath(model, model.parcels[0], path);
  EXPECT_EQ(path.points, (Indices{2, 1, 0, 3, 2}));
  EXPECT_EQ(path.subpaths.size(), 1u);
}

TEST_F(LineLayers, ABrokenChainStartsItsNextRingTowardsTheLineAfter) {
  // Ring 0-1-0, then lines 5-6 and 5-7 that meet only each other: the new
  // ring starts at 6 so that it runs through 5 on to 7.
  addParcel({{0, 1}, {1, 0}, {5, 6}, {5, 7}});
  EXPECT_EQ(layer("VL_hranice_parcel"),
            kParcelPath + "1.00,1.50 0.00,0.50 1.00,1.50 Z M 6.00,6.50 5.00,5.50 7.00,7.50 \"/>\n");
}

TEST_F(LineLayers, ShortChainsAndUnnumberedParcelsAreNotDrawn) {
  model.addParcelBoundary(line({1, 2}), "2", "", 0);  // two points: no path
  numberParcel("2");
  model.addParcelBoundary(line({1, 2, 3}), "3", "", 0);  // no number text: no path
  // A building of two points is drawn; one without outline is not.
  model.addGeneralPolyline(line({4, 5}), model.positionOf(model.getOrCreateBuilding("7")));
  model.getOrCreateBuilding("8");
  EXPECT_EQ(layer("VL_hranice_parcel"), "");
  EXPECT_EQ(groupContent(testing::drawing(model), "VL_hranice_budov"),
            "        <path id=\"7\" style=\"fill:none;stroke:black;stroke-width:1\" "
            "d=\"M4.00,4.50 5.00,5.50 \"/>\n");
}

TEST_F(LineLayers, BpejUnitsDrawTheirBordersAsStoredWithTheirCodes) {
  model.addBpejBoundary(line({3, 2}), "C1", "A1");
  model.addBpejBoundary(line({0, 1}), "A1", "B1");
  model.bpejBoundaries[0].area1 = kNoArea;  // unit C1 keeps no boundary
  TextLabel& label = model.findBpejArea("A1")->label;
  label.text = model.addText("A1");
  label.x = 1;
  label.y = 2;
  EXPECT_EQ(
      layer("VL_BPEJ"),
      "        <path id=\"A1\" style=\"fill:none;stroke:orange;stroke-width:1\" "
      "d=\"M3.00,3.50 2.00,2.50  M 0.00,0.50 1.00,1.50 \"/>\n"
      "        <text x=\"1.00\" y=\"2.00\" text-anchor=\"start\" alignment-baseline=\"baseline\" "
      "fill=\"black\" font-size=\"1.00\">A1</text>\n"
      "\n"
      "        <path id=\"B1\" style=\"fill:none;stroke:orange;stroke-width:1\" "
      "d=\"M0.00,0.50 1.00,1.50 \"/>\n"
      "\n"
      "        <path id=\"C1\" style=\"fill:none;stroke:orange;stroke-width:1\" d=\"M\"/>\n"
      "\n");
}

TEST_F(LineLayers, TheCadastralAreaBorderIsTheBoundariesOfType20602) {
  model.addParcelBoundary(line({0, 1}), "1", "", 20602);
  model.addParcelBoundary(line({1, 2}), "1", "2", 21900);
  model.addParcelBoundary(line({3, 2, 1}), "2", "", 20602);
  // Codes that are 20602 in their low 16 bits are other types.
  model.addParcelBoundary(line({4, 5}), "2", "", 20602 + 65536);
  model.addParcelBoundary(line({5, 6}), "2", "", 20602 - 65536);
  EXPECT_EQ(layer("VL_hranice_KU"),
            "        <path style=\"fill:none;stroke:black;stroke-width:1\" d=\"M0.00,0.50 "
            "1.00,1.50 \"/>\n"
            "        <path style=\"fill:none;stroke:black;stroke-width:1\" "
            "d=\"M3.00,3.50 2.00,2.50 1.00,1.50 \"/>\n");
}

TEST_F(LineLayers, MapElementsAreTextsAndInnerDrawingLines) {
  TextLabel text;
  text.text = model.addText("Hradčany & Malá Strana");
  text.x = -5;
  text.y = 6.125;
  text.referencePoint = 8;
  text.size = 2.5f;
  text.angle = 30.0f;
  model.mapTexts.push_back(text);
  model.mapTexts.push_back(TextLabel{});  // no text: not written
  model.addElementPolyline(line({4, 6, 8}), 21800);
  model.addElementPolyline(line({-1, 9}), 21800);  // a gap in the ordinals is left out
  EXPECT_EQ(
      layer("VL_prvky_mapy"),
      "        <text x=\"-5.00\" y=\"6.12\" text-anchor=\"middle\" alignment-baseline=\"middle\" "
      "transform=\"rotate(30.00 -5.00 6.12)\" fill=\"black\" font-size=\"2.50\">"
      "Hradčany &amp; Malá Strana</text>\n");
  EXPECT_EQ(groupContent(testing::drawing(model), "VL_vnitrni_kresby"),
            "        <path style=\"fill:none;stroke:red;stroke-width:1\" "
            "d=\"M4.00,4.50 6.00,6.50 8.00,8.50 \"/>\n"
            "        <path style=\"fill:none;stroke:red;stroke-width:1\" d=\"M9.00,9.50 \"/>\n");
}

}  // namespace
}  // namespace vorlane

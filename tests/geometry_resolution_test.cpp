#include <gtest/gtest.h>

#include <cmath>
#include <random>
#include <string>

#include "model/ring_chaining.h"
#include "tests/test_support.h"
#include "vfk/vfk_parser.h"

namespace vorlane {
namespace {

using Indices = std::vector<int>;

// Lines are given by their point indices; the points themselves only need
// to exist, since lines are matched by index, never by position.
struct Resolved {
  std::unique_ptr<VfkParser> model = std::make_unique<VfkParser>();
  std::string output;
};

Resolved resolveParcel(const std::vector<PointList>& lines) {
  Resolved result;
  for (int i = 0; i < 10; ++i) result.model->addPoint(i, -i);
  for (const PointList& line : lines) result.model->addParcelBoundary(line, "1", "", 0);
  result.output = testing::captureStdout([&] { result.model->resolveGeometry(); });
  return result;
}

// The order of the parcel's lines, each named by its position in "lines".
Indices chainOf(const Resolved& result) { return result.model->parcels.at("1").boundaryIndices; }
bool marked(const Resolved& result) { return result.model->parcels.at("1").hasMultipleRings; }

TEST(ResolveGeometry, DropsMissingPointsWithAWarningEach) {
  VfkParser model;
  for (int i = 0; i < 4; ++i) model.addPoint(i, i);
  model.addBpejBoundary({0, -1, 1}, "A", "B");
  model.addParcelBoundary({0, -1, 1, 2, -1, 3}, "10", "", 0);  // ordinals 1, 3, 4, 6
  model.addParcelBoundary({-1, 1}, "", "11", 0);
  model.addGeneralPolyline({-1, -1, 2});
  model.addElementPolyline({-1, 3}, 21800);
  const std::string output = testing::captureStdout([&] { model.resolveGeometry(); });
  EXPECT_EQ(output,
            "[Warning]: Parcel border polyline point missing (point index = 1, parcel ID1 = 10, parcel ID2 = )\n"
            "[Warning]: Parcel border polyline point missing (point index = 4, parcel ID1 = 10, parcel ID2 = )\n"
            "[Warning]: Parcel border polyline point missing (point index = 0, parcel ID1 = , parcel ID2 = 11)\n"
            "[Warning]: General polyline point missing (point index = 0)\n"
            "[Warning]: General polyline point missing (point index = 1)\n"
            "[Warning]: BPEJ polyline point missing (point index = 1)\n");
  EXPECT_EQ(model.parcelBoundaries[0].pointIndices, (Indices{0, 1, 2, 3}));
  EXPECT_EQ(model.parcelBoundaries[1].pointIndices, Indices{1});
  EXPECT_EQ(model.generalPolylines[0].pointIndices, Indices{2});
  EXPECT_EQ(model.bpejBoundaries[0].pointIndices, (Indices{0, 1}));
  EXPECT_EQ(model.elementPolylines[0].pointIndices, Indices{3});
}

TEST(ResolveGeometry, ChainsLinesIntoRings) {
  // One line that closes on itself.
  auto result = resolveParcel({{0, 1, 2, 0}});
  EXPECT_EQ(chainOf(result), Indices{0});
  EXPECT_FALSE(marked(result));

  // A ring A B C D listed A C B D.
  result = resolveParcel({{0, 1}, {2, 3}, {1, 2}, {3, 0}});
  EXPECT_EQ(chainOf(result), (Indices{0, 2, 1, 3}));
  EXPECT_FALSE(marked(result));

  // A line met from its back end is taken all the same.
  result = resolveParcel({{0, 1}, {0, 2}, {2, 1}});
  EXPECT_EQ(chainOf(result), (Indices{0, 2, 1}));
  EXPECT_FALSE(marked(result));

  // The first match in list order wins where two lines continue the chain.
  result = resolveParcel({{0, 1}, {5, 6}, {1, 3}, {1, 2}, {3, 0}});
  EXPECT_EQ(chainOf(result), (Indices{0, 2, 4, 3, 1}));
  EXPECT_TRUE(marked(result));
}

TEST(ResolveGeometry, MarksSeveralRingsAndBreaks) {
  // Outer ring A B C D and inner ring E F, listed interleaved.
  const PointList a{0, 1}, b{1, 2}, c{2, 3}, d{3, 0}, e{5, 6}, f{6, 5};
  auto result = resolveParcel({a, e, b, f, c, d});
  EXPECT_EQ(chainOf(result), (Indices{0, 2, 4, 5, 1, 3}));
  EXPECT_TRUE(marked(result));

  // A first ring of three lines: its closure is not seen, so the search past
  // it finds nothing and starts the next ring all the same.
  result = resolveParcel({{0, 1}, {1, 2}, {2, 0}, {5, 6}, {6, 5}});
  EXPECT_EQ(chainOf(result), (Indices{0, 1, 2, 3, 4}));
  EXPECT_TRUE(marked(result));

  // The same first ring followed by lines that leave from its first point:
  // the chain simply goes on through that point, unmarked.
  result = resolveParcel({{0, 1}, {1, 2}, {2, 0}, {0, 7}, {7, 0}});
  EXPECT_EQ(chainOf(result), (Indices{0, 1, 2, 3, 4}));
  EXPECT_FALSE(marked(result));

  // Two lines that share no point.
  result = resolveParcel({{0, 1}, {2, 3}});
  EXPECT_EQ(chainOf(result), (Indices{0, 1}));
  EXPECT_TRUE(marked(result));

  // A ring that closes at the very last line is not marked.
  result = resolveParcel({{0, 1}, {1, 2}, {2, 3}, {3, 0}});
  EXPECT_FALSE(marked(result));
}

// Many small random records, with few distinct end points so that lines meet
// often, rings close and chains break: the indexed search must reorder and
// mark exactly as the scan does.
TEST(ChainIntoRings, IndexedSearchFindsTheSameLinesAsTheScan) {
  std::mt19937 random(7);
  for (int round = 0; round < 20000; ++round) {
    const int lineCount = 1 + static_cast<int>(random() % 14);
    const int pointCount = 2 + static_cast<int>(random() % 8);
    std::vector<Polyline> lines(static_cast<size_t>(lineCount));
    for (Polyline& line : lines) {
      const int length = 1 + static_cast<int>(random() % 3);
      for (int k = 0; k < length; ++k) line.pointIndices.push_back(static_cast<int>(random()) % pointCount);
    }
    Indices order(static_cast<size_t>(lineCount));
    for (int k = 0; k < lineCount; ++k) order[static_cast<size_t>(k)] = k;
    std::shuffle(order.begin(), order.end(), random);
    if (random() % 4 == 0) order.push_back(order.front());  // a line listed twice

    Indices scanned = order;
    Indices indexed = order;
    const bool scanMarked = chainIntoRings(scanned, lines, ChainSearch::kScan);
    const bool indexMarked = chainIntoRings(indexed, lines, ChainSearch::kIndexed);
    ASSERT_EQ(indexed, scanned) << "round " << round;
    ASSERT_EQ(indexMarked, scanMarked) << "round " << round;
  }
}

TEST(ChainIntoRings, ALongRingIsChainedWithoutQuadraticWork) {
  // 100000 lines of one ring, listed in an order that a scan would search
  // through again and again.
  const int n = 100000;
  std::vector<Polyline> lines(n);
  for (int k = 0; k < n; ++k) lines[static_cast<size_t>(k)].pointIndices = {k, (k + 1) % n};
  Indices order(n);
  for (int k = 0; k < n; ++k) order[static_cast<size_t>(k)] = (k * 7919) % n;  // 7919 is prime
  EXPECT_FALSE(chainIntoRings(order, lines));
  for (int k = 1; k < n; ++k) {
    ASSERT_EQ(lines[static_cast<size_t>(order[static_cast<size_t>(k)])].pointIndices.front(),
              lines[static_cast<size_t>(order[static_cast<size_t>(k - 1)])].pointIndices.back());
  }
}

TEST(ResolveGeometry, ChainsBuildingOutlinesToo) {
  VfkParser model;
  for (int i = 0; i < 4; ++i) model.addPoint(i, i);
  Building& building = model.getOrCreateBuilding("1");
  for (const PointList& line : {PointList{0, 1}, PointList{2, 0}, PointList{1, 2}}) {
    building.polylineIndices.push_back(model.addGeneralPolyline(line));
  }
  model.getOrCreateBuilding("2");
  testing::captureStdout([&] { model.resolveGeometry(); });
  EXPECT_EQ(building.polylineIndices, (Indices{0, 2, 1}));
  EXPECT_FALSE(building.hasMultipleRings);
  EXPECT_TRUE(model.buildings.at("2").polylineIndices.empty());
  EXPECT_FALSE(model.buildings.at("2").hasMultipleRings);
}

TEST(ResolveGeometry, AddsTheDefaultBuildingTypesOnlyToAnEmptyTable) {
  VfkParser model;
  model.resolveGeometry();
  ASSERT_EQ(model.buildingTypes.size(), 6u);
  const char* const abbreviations[] = {"č.p.", "č.e.", "bez čp/če", "rozestav.", "posch.gar",
                                       "vod.dílo"};
  const char* const names[] = {"budova s číslem popisným", "budova s číslem evidenčním",
                               "budova bez čísla popisného nebo evidenčního",
                               "rozestavěná budova", "poschoďová garáž", "vodní dílo"};
  for (int code = 1; code <= 6; ++code) {
    EXPECT_EQ(model.buildingTypes.at(code).code, code);
    EXPECT_EQ(model.buildingTypes.at(code).name, names[code - 1]);
    EXPECT_EQ(model.buildingTypes.at(code).abbreviation, abbreviations[code - 1]);
  }

  VfkParser withType;
  withType.addBuildingType(9, "x", "y");
  withType.resolveGeometry();
  EXPECT_EQ(withType.buildingTypes.size(), 1u);
}

TEST(ResolveGeometry, BoundingBoxSpansEveryPoint) {
  VfkParser empty;
  empty.resolveGeometry();
  EXPECT_EQ(empty.boundingBox.minX, DBL_MAX);
  EXPECT_EQ(empty.boundingBox.minY, DBL_MAX);
  EXPECT_EQ(empty.boundingBox.maxX, -DBL_MAX);
  EXPECT_EQ(empty.boundingBox.maxY, -DBL_MAX);

  VfkParser model;
  model.addPoint(-0.0, 5.0);  // used by no line
  model.addPoint(0.0, NAN);   // NaN never widens the box
  model.addPoint(-3.5, -2.0);
  model.addPoint(7.0, 1.0);
  model.resolveGeometry();
  EXPECT_EQ(model.boundingBox.minX, -3.5);
  EXPECT_EQ(model.boundingBox.maxX, 7.0);
  EXPECT_EQ(model.boundingBox.minY, -2.0);
  EXPECT_EQ(model.boundingBox.maxY, 5.0);

  // Between 0.0 and -0.0 the value met first stays.
  VfkParser zeros;
  zeros.addPoint(-0.0, 0.0);
  zeros.addPoint(0.0, -0.0);
  zeros.resolveGeometry();
  EXPECT_TRUE(std::signbit(zeros.boundingBox.minX));
  EXPECT_TRUE(std::signbit(zeros.boundingBox.maxX));
  EXPECT_FALSE(std::signbit(zeros.boundingBox.minY));
  EXPECT_FALSE(std::signbit(zeros.boundingBox.maxY));
}

}  // namespace
}  // namespace vorlane

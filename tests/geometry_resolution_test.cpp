#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>
#include <string>

#include "model/cadastral_model.h"
#include "model/rings.h"
#include "tests/test_support.h"

namespace vorlane {
namespace {

using testing::Indices;
using testing::pointsOf;

using testing::indices;

// Lines are given by their point indices; the points themselves only need
// to exist, since lines are matched by index, never by position.
struct Resolved {
  std::unique_ptr<CadastralModel> model = std::make_unique<CadastralModel>();
  std::string output;
};

Resolved resolveParcel(const std::vector<Indices>& lines) {
  Resolved result;
  for (int i = 0; i < 10; ++i) result.model->addPoint(i, -i);
  for (const Indices& line : lines) {
    result.model->addParcelBoundary(result.model->addPointList(line), "1", "", 0);
  }
  result.output = testing::resolve(*result.model);
  return result;
}

// The order of the parcel's lines, each named by its position in "lines".
Indices chainOf(const Resolved& result) {
  return indices(result.model->boundaryIndicesOf(result.model->parcels[0]));
}
bool marked(const Resolved& result) {
  return result.model->ringLinesOf(result.model->parcels[0]).hasMultipleRings;
}

TEST(ResolveGeometry, DropsMissingPointsWithAWarningEach) {
  CadastralModel model;
  for (int i = 0; i < 4; ++i) model.addPoint(i, i);
  model.addBpejBoundary(model.addPointList(Indices{0, -1, 1}), "A", "B");
  model.addParcelBoundary(model.addPointList(Indices{0, -1, 1, 2, -1, 3}), "10", "",
                          0);  // ordinals 1, 3, 4, 6
  model.addParcelBoundary(model.addPointList(Indices{-1, 1}), "", "11", 0);
  model.addGeneralPolyline(model.addPointList(Indices{-1, -1, 2}),
                           model.positionOf(model.getOrCreateBuilding("b")));
  model.addElementPolyline(model.addPointList(Indices{-1, 3}), 21800);
  const std::string output = testing::resolve(model);
  EXPECT_EQ(output,
            "[Warning]: Parcel border polyline point missing (point index = 1, parcel ID1 = 10, "
            "parcel ID2 = )\n"
            "[Warning]: Parcel border polyline point missing (point index = 4, parcel ID1 = 10, "
            "parcel ID2 = )\n"
            "[Warning]: Parcel border polyline point missing (point index = 0, parcel ID1 = , "
            "parcel ID2 = 11)\n"
            "[Warning]: General polyline point missing (point index = 0)\n"
            "[Warning]: General polyline point missing (point index = 1)\n"
            "[Warning]: BPEJ polyline point missing (point index = 1)\n");
  EXPECT_EQ(pointsOf(model, model.parcelBoundaries[0]), (Indices{0, 1, 2, 3}));
  EXPECT_EQ(pointsOf(model, model.parcelBoundaries[1]), Indices{1});
  EXPECT_EQ(pointsOf(model, model.generalPolylines[0]), Indices{2});
  EXPECT_EQ(pointsOf(model, model.bpejBoundaries[0]), (Indices{0, 1}));
  EXPECT_EQ(pointsOf(model, model.elementPolylines[0]), Indices{3});
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
  const Indices a{0, 1}, b{1, 2}, c{2, 3}, d{3, 0}, e{5, 6}, f{6, 5};
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
    const int lineCount = 1 + static_cast<int>(random() % 15);
    const int pointCount = 2 + static_cast<int>(random() % 8);
    std::vector<LineEnds> ends(static_cast<size_t>(lineCount));
    for (LineEnds& line : ends) {
      line.front = static_cast<int32_t>(random() % static_cast<unsigned>(pointCount));
      line.back = random() % 3 == 0
                      ? line.front
                      : static_cast<int32_t>(random() % static_cast<unsigned>(pointCount));
    }
    Indices lines(static_cast<size_t>(lineCount));
    for (int k = 0; k < lineCount; ++k) lines[static_cast<size_t>(k)] = k;

    Indices scanned = lines;
    Indices indexed = lines;
    std::vector<LineEnds> scannedEnds = ends;
    std::vector<LineEnds> indexedEnds = ends;
    const bool scanMarked = chainIntoRings(scanned, scannedEnds, ChainSearch::kScan);
    const bool indexMarked = chainIntoRings(indexed, indexedEnds, ChainSearch::kIndexed);
    ASSERT_EQ(indexed, scanned) << "round " << round;
    ASSERT_EQ(indexMarked, scanMarked) << "round " << round;
    for (size_t k = 0; k < scanned.size(); ++k) {  // the ends move with their lines
      ASSERT_EQ(scannedEnds[k].front, ends[static_cast<size_t>(scanned[k])].front);
      ASSERT_EQ(scannedEnds[k].back, ends[static_cast<size_t>(scanned[k])].back);
    }
  }
}

TEST(ChainIntoRings, ALongRingIsChainedWithoutQuadraticWork) {
  // 100000 lines of one ring, listed in an order that a scan would search
  // through again and again.
  const int32_t n = 100000;
  Indices lines(n);
  std::vector<LineEnds> ends(n);
  for (int32_t k = 0; k < n; ++k) {
    const int32_t line = (k * 7919) % n;  // 7919 is prime
    lines[static_cast<size_t>(k)] = line;
    ends[static_cast<size_t>(k)] = LineEnds{line, (line + 1) % n};
  }
  EXPECT_FALSE(chainIntoRings(lines, ends));
  for (size_t k = 1; k < lines.size(); ++k) ASSERT_EQ(ends[k].front, ends[k - 1].back);
}

TEST(ResolveGeometry, BoundingBoxSpansEveryPoint) {
  CadastralModel model;
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
  CadastralModel zeros;
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

// The model's operations, and the order and lists that resolving gives.
#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <string>
#include <unordered_map>
#include <vector>

#include "model/cadastral_model.h"
#include "model/hash_index.h"
#include "model/pod_vector.h"
#include "tests/test_support.h"

namespace vorlane {
namespace {

using testing::Indices;
using testing::parcelNamed;

using testing::indices;

// Resolves quietly: lines here are whole, so nothing is printed.
void resolve(CadastralModel& model) { EXPECT_EQ(testing::resolve(model), ""); }

TEST(PodVector, HoldsWhatAStandardVectorHolds) {
  // Random appends, from outside and from itself, zeros, truncations,
  // reservations and moves, up to 4 MB: through the C library's heap,
  // a mapped block and its growth, and pages readied ahead of the end.
  std::mt19937_64 random(7);
  PodVector<uint32_t> array;
  std::vector<uint32_t> expected;
  const std::vector<uint32_t> outside(70000, 0xABCDEF01u);
  for (int i = 0; i < 4000; ++i) {
    const auto count = static_cast<size_t>(random() % (random() % 4 == 0 ? 40000 : 300));
    switch (random() % 8) {
      case 0:
        array.appendZeros(count);
        expected.insert(expected.end(), count, 0);
        break;
      case 1:
        array.append(count, static_cast<uint32_t>(i));
        expected.insert(expected.end(), count, static_cast<uint32_t>(i));
        break;
      case 2:
        array.append(outside.data(), count);
        expected.insert(expected.end(), outside.begin(), outside.begin() + static_cast<long>(count));
        break;
      case 3: {
        if (expected.empty()) break;
        const size_t from = random() % expected.size();
        const size_t taken = std::min(count, expected.size() - from);
        array.append(array.data() + from, taken);
        expected.insert(expected.end(), expected.begin() + static_cast<long>(from),
                        expected.begin() + static_cast<long>(from + taken));
        break;
      }
      case 4:
        if (random() % 32 == 0) {
          const size_t kept = expected.empty() ? 0 : random() % expected.size();
          array.truncate(kept);
          expected.resize(kept);
        }
        break;
      case 5:
        if (random() % 16 == 0) array.reserve(expected.size() + count * 8);
        break;
      case 6:
        if (random() % 64 == 0) {
          PodVector<uint32_t> moved = std::move(array);
          array = std::move(moved);
        }
        break;
      default:
        for (size_t k = 0; k < count; ++k) {
          const auto value = static_cast<uint32_t>(random());
          array.push_back(value);
          expected.push_back(value);
        }
    }
    ASSERT_EQ(array.size(), expected.size());
    if (i % 100 == 0 || i == 3999) {
      ASSERT_TRUE(std::equal(array.begin(), array.end(), expected.begin())) << "step " << i;
    }
    if (expected.size() > 1000000) {
      array.clear();
      expected.clear();
    }
  }
}

TEST(HashIndex, FindsWhatAStandardMapFinds) {
  // Identifiers from a small range, so that many are asked for again, in an
  // index shrunk now and then and its records moved once.
  HashIndex index;
  std::vector<std::string> records;
  std::unordered_map<std::string, int32_t> expected;
  std::mt19937_64 random(5);
  auto matches = [&](const std::string& id) {
    return [&records, &id](int32_t position) { return records[static_cast<size_t>(position)] == id; };
  };
  for (int i = 0; i < 200000; ++i) {
    const std::string id = std::to_string(random() % 300000);
    const auto next = static_cast<int32_t>(records.size());
    const int32_t position = index.findOrAdd(hashId(id), next, matches(id));
    const auto [known, added] = expected.try_emplace(id, next);
    ASSERT_EQ(position, known->second) << id;
    if (added) records.push_back(id);
    const std::string probe = std::to_string(random() % 300000);
    const auto wanted = expected.find(probe);
    ASSERT_EQ(index.find(hashId(probe), matches(probe)),
              wanted == expected.end() ? -1 : wanted->second) << probe;
    if (random() % 20000 == 0) index.compact();
  }
  // Moved to the reverse order.
  std::vector<int32_t> moved(records.size());
  for (size_t k = 0; k < moved.size(); ++k) moved[k] = static_cast<int32_t>(moved.size() - 1 - k);
  index.renumber(moved);
  std::reverse(records.begin(), records.end());
  index.compact();
  for (const auto& [id, position] : expected) {
    ASSERT_EQ(index.find(hashId(id), matches(id)), moved[static_cast<size_t>(position)]) << id;
  }
}

TEST(Model, BoundariesRegisterWithTheParcelsOnBothSides) {
  CadastralModel model;
  model.addPoint(0, 0);
  model.addPoint(1, 1);
  const IndexRange line = model.addPointList(Indices{0, 1});
  EXPECT_EQ(model.addParcelBoundary(line, "11", "10", 21900), 0);
  EXPECT_EQ(model.addParcelBoundary(line, "11", "12", 21900), 1);
  EXPECT_EQ(model.addParcelBoundary(line, "12", "", 20602), 2);    // edge of the area
  EXPECT_EQ(model.addParcelBoundary(line, "13", "13", 21900), 3);  // same parcel twice
  EXPECT_EQ(model.addParcelBoundary(line, "", "", 21900), 4);      // no parcel at all
  ASSERT_EQ(model.parcels.size(), 4u);
  EXPECT_EQ(model.findParcel("12"), 2);  // in the order they came
  EXPECT_EQ(model.findParcel("1"), -1);
  EXPECT_EQ(model.text(model.getParcel("11").id), "11");
  EXPECT_EQ(testing::parcelIdAt(model, model.parcelBoundaries[2].area1), "12");
  EXPECT_EQ(model.parcelBoundaries[2].area2, kNoArea);

  resolve(model);
  // Byte-wise identifier order; the boundaries follow their parcels.
  EXPECT_EQ(model.text(model.parcels[0].id), "10");
  EXPECT_EQ(indices(model.boundaryIndicesOf(parcelNamed(model, "10"))), Indices{0});
  EXPECT_EQ(indices(model.boundaryIndicesOf(parcelNamed(model, "11"))), (Indices{0, 1}));
  EXPECT_EQ(indices(model.boundaryIndicesOf(parcelNamed(model, "12"))), (Indices{1, 2}));
  EXPECT_EQ(indices(model.boundaryIndicesOf(parcelNamed(model, "13"))), (Indices{3, 3}));
  EXPECT_EQ(testing::parcelIdAt(model, model.parcelBoundaries[0].area1), "11");
  EXPECT_EQ(testing::parcelIdAt(model, model.parcelBoundaries[0].area2), "10");
  EXPECT_EQ(model.findParcel("12"), 2);
  EXPECT_EQ(model.parcelBoundaries[2].typeCode, 20602);
}

TEST(Model, AreasAreOrderedByTheBytesOfTheirIdentifiers) {
  CadastralModel model;
  const IndexRange line = model.addPointList(Indices{0});
  // Identifiers that share their first eight bytes, one a prefix of another,
  // and bytes above 0x7F, which order after the ASCII ones.
  const char* const ids[] = {"123456789", "12345678", "\xC3\xA1", "b", "123456780", "", "a"};
  for (const char* id : ids) model.addParcelBoundary(line, id, "", 0);
  for (const char* id : ids) model.addBpejBoundary(line, id, id);
  for (const char* id : ids) model.getOrCreateBuilding(id);
  resolve(model);
  const char* const sorted[] = {"", "12345678", "123456780", "123456789", "a", "b", "\xC3\xA1"};
  ASSERT_EQ(model.buildings.size(), 7u);
  ASSERT_EQ(model.parcels.size(), 6u);  // the empty identifier names no parcel
  ASSERT_EQ(model.bpejAreas.size(), 6u);
  for (size_t i = 0; i < 7; ++i) {
    EXPECT_EQ(model.text(model.buildings[i].id), sorted[i]);
    if (i > 0) {
      EXPECT_EQ(model.text(model.parcels[i - 1].id), sorted[i]);
      EXPECT_EQ(model.text(model.bpejAreas[i - 1].code), sorted[i]);
    }
  }
  // Each unit lists its boundary twice: it is on both sides.
  EXPECT_EQ(indices(model.boundaryIndicesOf(*model.findBpejArea("a"))), (Indices{6, 6}));
  // Each record is found where it stands now, the first one made too.
  for (size_t i = 0; i < model.parcels.size(); ++i) {
    EXPECT_EQ(model.findParcel(model.text(model.parcels[i].id)), static_cast<int32_t>(i));
    EXPECT_EQ(model.findBpejArea(model.text(model.bpejAreas[i].code)), &model.bpejAreas[i]);
  }
  for (size_t i = 0; i < model.buildings.size(); ++i) {
    EXPECT_EQ(model.findBuilding(model.text(model.buildings[i].id)), static_cast<int32_t>(i));
  }
}

TEST(Model, LabelsAndArrowsStayWithTheirParcelInTheOrderAdded) {
  CadastralModel model;
  const IndexRange line = model.addPointList(Indices{0});
  model.addParcelBoundary(line, "9", "5", 0);
  const int32_t nine = model.findParcel("9");
  const int32_t five = model.findParcel("5");
  TextLabel label;
  for (int i = 0; i < 4; ++i) {
    label.typeCode = i;
    model.addExtraNumberLabel(i % 2 == 0 ? nine : five, label);
    model.addArrow(i < 3 ? nine : five, i, -i, 10.0f * static_cast<float>(i));
  }
  label.typeCode = 308;
  model.setSymbolLabel(five, label);
  label.typeCode = 309;
  model.setSymbolLabel(five, label);  // the later one replaces it
  resolve(model);

  const Parcel& parcel9 = parcelNamed(model, "9");
  const Parcel& parcel5 = parcelNamed(model, "5");
  ASSERT_EQ(model.extraNumberLabelsOf(parcel9).size(), 2u);
  EXPECT_EQ(model.extraNumberLabelsOf(parcel9)[1].label.typeCode, 2);
  EXPECT_EQ(model.extraNumberLabelsOf(parcel5)[0].label.typeCode, 1);
  ASSERT_EQ(model.arrowsOf(parcel9).size(), 3u);
  EXPECT_EQ(model.arrowsOf(parcel9)[2].x, 2.0);
  EXPECT_EQ(model.arrowsOf(parcel9)[2].angle, 20.0f);
  EXPECT_EQ(model.arrowsOf(parcel5)[0].y, -3.0);
  EXPECT_EQ(model.symbolLabelOf(parcel5).typeCode, 309);
  EXPECT_EQ(model.symbolLabelOf(parcel9).typeCode, 0);  // none: the default label
}

}  // namespace
}  // namespace vorlane

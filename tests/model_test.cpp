#include <gtest/gtest.h>

#include <stdexcept>
#include <string>

#include "vfk/vfk_parser.h"

namespace vorlane {
namespace {

using Indices = std::vector<int>;

TEST(Model, BoundariesRegisterWithTheParcelsOnBothSides) {
  VfkParser model;
  const PointList line = {0, 1};
  EXPECT_EQ(model.addParcelBoundary(line, "10", "11", 21900), 0);
  EXPECT_EQ(model.addParcelBoundary(line, "11", "12", 21900), 1);
  EXPECT_EQ(model.addParcelBoundary(line, "12", "", 20602), 2);   // edge of the area
  EXPECT_EQ(model.addParcelBoundary(line, "13", "13", 21900), 3);  // same parcel twice

  ASSERT_EQ(model.parcels.size(), 4u);
  EXPECT_EQ(model.parcels.at("10").boundaryIndices, Indices{0});
  EXPECT_EQ(model.parcels.at("11").boundaryIndices, (Indices{0, 1}));
  EXPECT_EQ(model.parcels.at("12").boundaryIndices, (Indices{1, 2}));
  EXPECT_EQ(model.parcels.at("13").boundaryIndices, (Indices{3, 3}));
  const Parcel& parcel = model.getParcel("11");
  EXPECT_EQ(parcel.id, "11");
  EXPECT_EQ(parcel.owner, &model);
  EXPECT_EQ(parcel.numberLabel.text, "");
  EXPECT_EQ(parcel.arrows, nullptr);

  const Boundary& edge = model.parcelBoundaries[2];
  EXPECT_EQ(edge.id1, "12");
  EXPECT_EQ(edge.id2, "");
  EXPECT_EQ(edge.typeCode, 20602);
  EXPECT_EQ(edge.owner, &model);
}

TEST(Model, GetParcelThrowsForAnUnknownParcel) {
  VfkParser model;
  model.addParcelBoundary({0}, "1", "", 0);
  EXPECT_EQ(model.findParcel("2"), nullptr);
  try {
    model.getParcel("2");
    FAIL() << "no exception";
  } catch (const std::invalid_argument& error) {
    EXPECT_STREQ(error.what(), "Parcel with given ID does not exist");
  }
}

TEST(Model, BpejBoundariesRegisterTheirCodes) {
  VfkParser model;
  model.addBpejBoundary({4, 5}, "87311", "83541");
  model.addBpejBoundary({5, 6}, "83541", "");
  EXPECT_EQ(model.bpejBoundaries[1].typeCode, 0);
  ASSERT_NE(model.findBpejArea("83541"), nullptr);
  EXPECT_EQ(model.findBpejArea("83541")->boundaryIndices, (Indices{0, 1}));
  EXPECT_EQ(model.findBpejArea("83541")->code, "83541");
  EXPECT_EQ(model.findBpejArea("99999"), nullptr);
}

TEST(Model, BuildingsAreCreatedOnFirstMention) {
  VfkParser model;
  Building& building = model.getOrCreateBuilding("7");
  building.typeCode = 3;
  EXPECT_EQ(&model.getOrCreateBuilding("7"), &building);
  EXPECT_EQ(building.id, "7");
  EXPECT_EQ(building.owner, &model);
  EXPECT_EQ(model.buildings.size(), 1u);

  model.addBuildingType(1, "a", "b");
  model.addBuildingType(1, "c", "d");  // the later one wins
  ASSERT_EQ(model.buildingTypes.size(), 1u);
  EXPECT_EQ(model.buildingTypes.at(1).name, "c");
  EXPECT_EQ(model.buildingTypes.at(1).abbreviation, "d");
}

TEST(Model, ArrowsGrowInOneListThatCopiesWithTheParcel) {
  VfkParser model;
  model.addParcelBoundary({0}, "5", "", 0);
  model.getParcel("5").addArrow(1.0, 2.0, 45.0f);
  model.getParcel("5").addArrow(3.0, 4.0, 0.0f);
  const Parcel& parcel = model.getParcel("5");
  ASSERT_NE(parcel.arrows, nullptr);
  ASSERT_EQ(parcel.arrows->size(), 2u);
  EXPECT_EQ((*parcel.arrows)[1].x, 3.0);

  Parcel copy = parcel;
  copy.addArrow(5.0, 6.0, 0.0f);
  EXPECT_EQ(parcel.arrows->size(), 2u);
  EXPECT_EQ(copy.arrows->size(), 3u);
  copy = Parcel();
  EXPECT_EQ(copy.arrows, nullptr);
}

TEST(Model, ClearEmptiesWhatAReaderFillsFirst) {
  VfkParser model;
  model.addPoint(1, 2);
  model.addParcelBoundary({0}, "1", "", 0);
  model.addGeneralPolyline({0});
  model.getOrCreateBuilding("b");
  model.mapTexts.emplace_back();
  model.boundingBox.minX = 0;
  model.addBpejBoundary({0}, "1", "");
  model.clear();
  EXPECT_TRUE(model.points.empty());
  EXPECT_TRUE(model.parcels.empty());
  EXPECT_TRUE(model.parcelBoundaries.empty());
  EXPECT_TRUE(model.generalPolylines.empty());
  EXPECT_TRUE(model.buildings.empty());
  EXPECT_TRUE(model.mapTexts.empty());
  EXPECT_EQ(model.boundingBox.minX, DBL_MAX);
  EXPECT_EQ(model.bpejAreas.size(), 1u);  // a model reads one file: left as it is
  EXPECT_EQ(model.addPoint(3, 4), 0);
}

}  // namespace
}  // namespace vorlane

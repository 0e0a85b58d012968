#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "tests/test_support.h"

namespace vorlane {
namespace {

// The placements of the symbol layer: what follows its fixed comments.
std::string placementsOf(const CadastralModel& model) {
  const std::string content = testing::groupContent(testing::drawing(model), "VL_mapove_znacky");
  return content.substr(content.find("        <!-- Parcel symbols: -->\n"));
}

TEST(SymbolLayer, PlacesParcelSymbolsThenBuildingSymbolsInKeyOrder) {
  CadastralModel model;
  model.addPoint(0, 0);
  for (const char* id : {"9", "10", "11", "12"}) {
    model.addParcelBoundary(model.addPointList(std::vector<int32_t>{0}), id, "", 0);
  }
  auto symbol = [](int code, double x, double y, float angle) {
    TextLabel label;
    label.typeCode = code;
    label.x = x;
    label.y = y;
    label.angle = angle;
    return label;
  };
  model.setSymbolLabel(model.findParcel("9"), symbol(303, 1.5, -12, 0));
  model.setSymbolLabel(model.findParcel("10"), symbol(999, 100, 200, 45));  // not in the library
  model.setSymbolLabel(model.findParcel("11"), symbol(0, 5, 5, 0));         // no symbol
  model.setSymbolLabel(model.findParcel("12"), symbol(-5, 0, 0, -90));
  model.getOrCreateBuilding("2").symbolLabel = symbol(404, -3.256, 4.004, 0);
  model.getOrCreateBuilding("1").symbolLabel = symbol(409, 1, 1, 0.0005f);
  model.resolveGeometry();
  EXPECT_EQ(placementsOf(model),
            "        <!-- Parcel symbols: -->\n"
            "        <use x=\"100.00\" y=\"200.00\" xlink:href=\"#VL_symbol_999\" "
            "transform=\"rotate(45.00 100.00 200.00)\"/>\n"
            "        <use x=\"0.00\" y=\"0.00\" xlink:href=\"#VL_symbol_-5\" "
            "transform=\"rotate(-90.00 0.00 0.00)\"/>\n"
            "        <use x=\"1.50\" y=\"-12.00\" xlink:href=\"#VL_symbol_303\"/>\n"
            "\n"
            "        <!-- Buildings symbols: -->\n"
            "        <use x=\"1.00\" y=\"1.00\" xlink:href=\"#VL_symbol_409\" "
            "transform=\"rotate(0.00 1.00 1.00)\"/>\n"
            "        <use x=\"-3.26\" y=\"4.00\" xlink:href=\"#VL_symbol_404\"/>\n");
}

}  // namespace
}  // namespace vorlane

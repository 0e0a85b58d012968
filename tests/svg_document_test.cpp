// The document frame and the layer groups, for whole drawings.
#include <gtest/gtest.h>

#include <string>

#include "tests/test_support.h"

namespace vorlane {
namespace {

using testing::crlf;
using testing::drawing;

// The exact bytes of the groups and the symbol library are pinned with the
// drawings (pinned_drawings.sh); here, what an empty model keeps of them.
TEST(SvgDocument, AnEmptyModelGivesTheFrameTheNineGroupsAndTheSymbols) {
  const std::string document = drawing(testing::readVfk("").model());
  EXPECT_EQ(document.substr(0, document.find("    <g ")),
            crlf("<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"no\"?>\n"
                 "<svg\n"
                 "    xmlns=\"http://www.w3.org/2000/svg\"\n"
                 "    width=\"2000\"\n"
                 "    height=\"2000\"\n"
                 "    viewBox=\"0.00 0.00 0.00 0.00\"\n"
                 "    units=\"1\" origin=\"0 0\"\n"
                 "    id=\"1\"\n"
                 "    version=\"1.1\"\n"
                 "    xmlns:xlink=\"http://www.w3.org/1999/xlink\">\n"));
  std::string layers;
  for (size_t at = document.find(" layer=\""); at != std::string::npos;
       at = document.find(" layer=\"", at + 1)) {
    layers += document.substr(at + 8, document.find('"', at + 8) - at - 8) + " ";
  }
  EXPECT_EQ(layers,
            "VL_mapove_znacky VL_hranice_parcel VL_text_parcel VL_BPEJ VL_hranice_KU "
            "VL_hranice_budov VL_cisla_budov VL_prvky_mapy VL_vnitrni_kresby ");
  for (const char* empty : {"VL_hranice_parcel", "VL_BPEJ", "VL_hranice_KU", "VL_hranice_budov",
                            "VL_cisla_budov", "VL_prvky_mapy", "VL_vnitrni_kresby"}) {
    EXPECT_EQ(testing::groupContent(document, empty), "") << empty;
  }
  const std::string symbols = testing::groupContent(document, "VL_mapove_znacky");
  EXPECT_EQ(symbols.substr(symbols.find("\n\n")),
            "\n\n        <!-- Symbols actual usage -->\n\n        <!-- Parcel symbols: -->\n\n"
            "        <!-- Buildings symbols: -->\n");
  EXPECT_EQ(document.substr(document.size() - 16), "    </g>\r\n</svg>");
  // A centred origin of an empty extent.
  EXPECT_NE(
      drawing(testing::readVfk("").model(), {.centreOrigin = true}).find("origin=\"0.00 0.00\""),
      std::string::npos);
}

// The frame lines from the view box to the units, for an extent spanned by
// two points.
std::string frameOf(Point corner1, Point corner2, int units, bool centreOrigin) {
  CadastralModel model;
  model.addPoint(corner1.x, corner1.y);
  model.addPoint(corner2.x, corner2.y);
  model.resolveGeometry();
  const std::string document = drawing(model, {.units = units, .centreOrigin = centreOrigin});
  const size_t begin = document.find("    viewBox");
  return document.substr(begin, document.find("    id=") - begin);
}

TEST(SvgDocument, ViewBoxIsTheExtentAndOriginItsCentre) {
  EXPECT_EQ(frameOf({-300.5, -500.25}, {-100.5, -200.25}, 3, true),
            crlf("    viewBox=\"-300.50 -500.25 200.00 300.00\"\n"
                 "    units=\"3\" origin=\"-200.50 -350.25\"\n"));
  EXPECT_EQ(frameOf({-40, -50}, {-100, -20}, -1, false),
            crlf("    viewBox=\"-100.00 -50.00 60.00 30.00\"\n"
                 "    units=\"-1\" origin=\"0 0\"\n"));
  EXPECT_EQ(frameOf({12, 7}, {12, 7}, 2147483647, true),
            crlf("    viewBox=\"12.00 7.00 0.00 0.00\"\n"
                 "    units=\"2147483647\" origin=\"12.00 7.00\"\n"));
}

}  // namespace
}  // namespace vorlane

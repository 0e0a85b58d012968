// The document frame and the layer groups, for whole drawings.
#include <gtest/gtest.h>

#include <string>

#include "tests/test_support.h"

namespace vorlane {
namespace {

using testing::crlf;
using testing::drawing;

std::string groupStart(const char* layer, const char* lineStyle, const char* weight,
                       const char* colour, const char* textStyle, const char* fontSize) {
  return std::string("    <g layer=\"") + layer + "\" line-style=\"" + lineStyle +
         "\" RApen=\"1\" ADlineWeight=\"" + weight + "\" ADcolor=\"" + colour +
         "\" text-style=\"" + textStyle + "\" font-size=\"" + fontSize +
         "\" font-name=\"Arial\" is-bold=\"0\" is-italic=\"0\">\n";
}

TEST(SvgDocument, AnEmptyModelGivesTheFrameTheNineGroupsAndTheSymbols) {
  const auto result = testing::readVfk("");
  const std::string library = testing::symbolLibraryText();
  const std::string expected =
      "<?xml version=\"1.0\" encoding=\"UTF-8\" standalone=\"no\"?>\n"
      "<svg\n"
      "    xmlns=\"http://www.w3.org/2000/svg\"\n"
      "    width=\"2000\"\n"
      "    height=\"2000\"\n"
      "    viewBox=\"0.00 0.00 0.00 0.00\"\n"
      "    units=\"1\" origin=\"0 0\"\n"
      "    id=\"1\"\n"
      "    version=\"1.1\"\n"
      "    xmlns:xlink=\"http://www.w3.org/1999/xlink\">\n" +
      groupStart("VL_mapove_znacky", "VL_znacky_kultur", "-3", "255,255,255", "", "10") +
      library +
      "\n"
      "        <!-- Symbols actual usage -->\n"
      "\n"
      "        <!-- Parcel symbols: -->\n"
      "\n"
      "        <!-- Buildings symbols: -->\n"
      "    </g>\n" +
      groupStart("VL_hranice_parcel", "VL_hranice_parcel", "-3", "0,127,0", "", "10") +
      "    </g>\n" +
      groupStart("VL_text_parcel", "", "-3", "165,0,124", "VL_text_mapy", "5") +
      std::string(testing::kArrowDefinition) +
      "    </g>\n" +
      groupStart("VL_BPEJ", "VL_BPEJ", "-3", "127,255,255", "VL_text_mapy", "10") + "    </g>\n" +
      groupStart("VL_hranice_KU", "VL_hranice_KU", "-3", "255,0,0", "", "10") + "    </g>\n" +
      groupStart("VL_hranice_budov", "VL_hranice_budov", "30", "255,191,0", "", "10") +
      "    </g>\n" +
      groupStart("VL_cisla_budov", "VL_cisla_budov", "-3", "165,82,0", "VL_text_mapy", "5") +
      "    </g>\n" +
      groupStart("VL_prvky_mapy", "VL_prvky_mapy", "-3", "0,255,0", "VL_text_mapy", "15") +
      "    </g>\n" +
      groupStart("VL_vnitrni_kresby", "VL_vnitrni_kresby", "-3", "153,153,153", "", "5") +
      "    </g>\n"
      "</svg>";
  EXPECT_EQ(drawing(result.model()), crlf(expected));
  // A centred origin of an empty extent.
  EXPECT_NE(drawing(result.model(), 1, true).find("origin=\"0.00 0.00\""), std::string::npos);
}

// The frame lines from the view box to the units, for an extent spanned by
// two points.
std::string frameOf(Point corner1, Point corner2, int units, bool centreOrigin) {
  CadastralModel model;
  model.addPoint(corner1.x, corner1.y);
  model.addPoint(corner2.x, corner2.y);
  model.resolveGeometry();
  const std::string document = drawing(model, units, centreOrigin);
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

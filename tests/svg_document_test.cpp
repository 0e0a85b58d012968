// The document frame: its view box, units and origin.
#include <gtest/gtest.h>

#include <string>

#include "tests/test_support.h"

namespace vorlane {
namespace {

using testing::crlf;
using testing::drawing;

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
  // The centre of an empty extent.
  EXPECT_NE(
      drawing(testing::readVfk("").model(), {.centreOrigin = true}).find("origin=\"0.00 0.00\""),
      std::string::npos);
}

}  // namespace
}  // namespace vorlane

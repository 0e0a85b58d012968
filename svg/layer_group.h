// The nine layer groups of a drawing: their fixed attributes, which tell the
// importing CAD application the layer, line style, pen, line weight, colour
// and text style of everything in the group.
#ifndef VORLANE_SVG_LAYER_GROUP_H_
#define VORLANE_SVG_LAYER_GROUP_H_

#include <string_view>

#include "svg/svg_output.h"

namespace vorlane {

struct LayerStyle {
  std::string_view layer;
  std::string_view lineStyle;
  std::string_view lineWeight;
  std::string_view colour;  // three components, "R,G,B"
  std::string_view textStyle;
  std::string_view fontSize;
};

// In document order.
constexpr LayerStyle kSymbolLayer = {"VL_mapove_znacky", "VL_znacky_kultur", "-3", "255,255,255", "", "10"};
constexpr LayerStyle kParcelBorderLayer = {"VL_hranice_parcel", "VL_hranice_parcel", "-3", "0,127,0", "", "10"};
constexpr LayerStyle kParcelTextLayer = {"VL_text_parcel", "", "-3", "165,0,124", "VL_text_mapy", "5"};
constexpr LayerStyle kBpejLayer = {"VL_BPEJ", "VL_BPEJ", "-3", "127,255,255", "VL_text_mapy", "10"};
constexpr LayerStyle kCadastralAreaBorderLayer = {"VL_hranice_KU", "VL_hranice_KU", "-3", "255,0,0", "", "10"};
constexpr LayerStyle kBuildingBorderLayer = {"VL_hranice_budov", "VL_hranice_budov", "30", "255,191,0", "", "10"};
constexpr LayerStyle kBuildingNumberLayer = {"VL_cisla_budov", "VL_cisla_budov", "-3", "165,82,0", "VL_text_mapy", "5"};
constexpr LayerStyle kMapElementLayer = {"VL_prvky_mapy", "VL_prvky_mapy", "-3", "0,255,0", "VL_text_mapy", "15"};
constexpr LayerStyle kInnerDrawingLayer = {"VL_vnitrni_kresby", "VL_vnitrni_kresby", "-3", "153,153,153", "", "5"};

// The group's start tag, on one line indented by four spaces.
void writeGroupStart(SvgOutput& out, const LayerStyle& style);
void writeGroupEnd(SvgOutput& out);

// Indents: the group tags carry one unit, their children two, and the lines
// inside a child (a symbol definition) three.
constexpr std::string_view kGroupIndent = "    ";
constexpr std::string_view kChildIndent = "        ";
constexpr std::string_view kNestedIndent = "            ";

}  // namespace vorlane

#endif  // VORLANE_SVG_LAYER_GROUP_H_

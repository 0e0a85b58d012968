// A layer group of a drawing: a "g" element whose attributes tell the
// importing CAD application the layer, line style, pen, line weight, colour
// and text style of everything in it (model/layers.h).
#ifndef VORLANE_SVG_LAYER_GROUP_H_
#define VORLANE_SVG_LAYER_GROUP_H_

#include <string_view>

#include "model/layers.h"
#include "svg/svg_output.h"

namespace vorlane {

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

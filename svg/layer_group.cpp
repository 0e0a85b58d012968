#include "svg/layer_group.h"

namespace vorlane {

void writeGroupStart(SvgOutput& out, const LayerStyle& style) {
  const Colour colour = style.colour;
  out << kGroupIndent << "<g layer=\"" << style.name << "\" line-style=\"" << style.lineStyle
      << "\" RApen=\"1\" ADlineWeight=\"" << style.lineWeight << "\" ADcolor=\"" << int{colour.red}
      << "," << int{colour.green} << "," << int{colour.blue} << "\""
      << " text-style=\"" << style.textStyle << "\" font-size=\"" << style.fontSize
      << "\" font-name=\"Arial\" is-bold=\"0\" is-italic=\"0\">\r\n";
}

void writeGroupEnd(SvgOutput& out) { out << kGroupIndent << "</g>\r\n"; }

}  // namespace vorlane

#include "svg/layer_group.h"

namespace vorlane {

void writeGroupStart(SvgOutput& out, const LayerStyle& style) {
  out << kGroupIndent << "<g layer=\"" << style.layer << "\" line-style=\"" << style.lineStyle
      << "\" RApen=\"1\" ADlineWeight=\"" << style.lineWeight << "\" ADcolor=\"" << style.colour
      << "\"" << " text-style=\"" << style.textStyle << "\" font-size=\"" << style.fontSize
      << "\" font-name=\"Arial\" is-bold=\"0\" is-italic=\"0\">\r\n";
}

void writeGroupEnd(SvgOutput& out) { out << kGroupIndent << "</g>\r\n"; }

}  // namespace vorlane

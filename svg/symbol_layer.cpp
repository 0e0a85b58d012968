#include "svg/symbol_layer.h"

#include "svg/layer_group.h"
#include "svg/text_element.h"

namespace vorlane {

namespace {

// A placement turns by any angle other than 0, negative ones included.
void writePlacement(SvgOutput& out, const TextLabel& symbol) {
  out << kChildIndent << "<use x=\"" << symbol.x << "\" y=\"" << symbol.y
      << "\" xlink:href=\"#VL_symbol_" << symbol.typeCode << "\"";
  if (symbol.angle != 0.0f) writeRotation(out, symbol.angle, symbol.x, symbol.y);
  out << "/>\n";
}

}  // namespace

void writeSymbolLayer(const VfkParser& model, SvgOutput& out) {
  writeGroupStart(out, kSymbolLayer);
  writeSymbolDefinitions(out);
  out << "\n" << kChildIndent << "<!-- Symbols actual usage -->\n\n";
  out << kChildIndent << "<!-- Parcel symbols: -->\n";
  for (const auto& [id, parcel] : model.parcels) {
    if (parcel.symbolLabel.typeCode != 0) writePlacement(out, parcel.symbolLabel);
  }
  out << "\n" << kChildIndent << "<!-- Buildings symbols: -->\n";
  for (const auto& [id, building] : model.buildings) {
    if (building.symbolLabel.typeCode != 0) writePlacement(out, building.symbolLabel);
  }
  writeGroupEnd(out);
}

}  // namespace vorlane

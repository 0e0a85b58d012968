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
  out << "/>\r\n";
}

}  // namespace

void writeSymbolLayer(const CadastralModel& model, SvgOutput& out) {
  writeGroupStart(out, kSymbolLayer);
  writeSymbolDefinitions(out);
  out << "\r\n" << kChildIndent << "<!-- Symbols actual usage -->\r\n\r\n";
  out << kChildIndent << "<!-- Parcel symbols: -->\r\n";
  for (const Parcel& parcel : model.parcels) {
    const TextLabel& symbol = model.symbolLabelOf(parcel);
    if (symbol.typeCode != 0) writePlacement(out, symbol);
  }
  out << "\r\n" << kChildIndent << "<!-- Buildings symbols: -->\r\n";
  for (const Building& building : model.buildings) {
    if (building.symbolLabel.typeCode != 0) writePlacement(out, building.symbolLabel);
  }
  writeGroupEnd(out);
}

}  // namespace vorlane

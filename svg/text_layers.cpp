#include "svg/text_layers.h"

#include <string>

#include "svg/layer_group.h"
#include "svg/text_element.h"

namespace vorlane {

namespace {

constexpr float kArrowStrokeWidth = 0.2f;

// The arrow is a shaft from its origin 2.5 units along +y, its head at the end.
constexpr std::string_view kArrowLines[] = {
    R"(<line x1="0" y1="0" x2="0" y2="2.5" stroke="black" stroke-width=")",
    R"(<line x1="-0.5" y1="1.7" x2="0" y2="2.5" stroke="black" stroke-width=")",
    R"(<line x1="0.5" y1="1.7" x2="0" y2="2.5" stroke="black" stroke-width=")",
};

// House numbers are shown only for buildings with a descriptive (1) or
// registration (2) number.
bool showsHouseNumber(int typeCode) { return typeCode == 1 || typeCode == 2; }

}  // namespace

void writeParcelTextLayer(const CadastralModel& model, SvgOutput& out) {
  writeGroupStart(out, kParcelTextLayer);
  for (const Parcel& parcel : model.parcels) {
    const std::string_view id = model.text(parcel.id);
    if (!parcel.numberLabel.text.empty()) {
      out << kChildIndent;
      writeTextElement(out, model, parcel.numberLabel, id);
    }
    for (const ParcelLabel& extra : model.extraNumberLabelsOf(parcel)) {
      if (extra.label.text.empty()) continue;
      out << kChildIndent;
      writeTextElement(out, model, extra.label, id);
    }
  }
  writeParcelArrows(model, out, 0.2f);
  writeGroupEnd(out);
}

void writeParcelArrows(const CadastralModel& model, SvgOutput& out, float strokeWidth) {
  out << "\r\n" << kChildIndent << "<!-- Parcel arrow definition -->\r\n";
  out << kChildIndent << "<symbol id=\"VL_symbol_arrow\" description=\"Popisná šipka\">\r\n";
  for (const std::string_view line : kArrowLines) {
    out << kNestedIndent << line << kArrowStrokeWidth << "\" />\r\n";
  }
  out << kChildIndent << "</symbol>\r\n\r\n";
  out << kChildIndent << "<!-- Parcels arrows usage -->\r\n";
  for (const Parcel& parcel : model.parcels) {
    const TextLabel& number = parcel.numberLabel;
    for (const ParcelArrow& arrow : model.arrowsOf(parcel)) {
      out << kChildIndent << "<line x1=\"" << number.x << "\" y1=\"" << number.y << "\" x2=\""
          << arrow.x << "\" y2=\"" << arrow.y << "\" stroke=\"black\" stroke-width=\""
          << strokeWidth << "\" />\r\n";
      out << kChildIndent << "<use x=\"" << arrow.x << "\" y=\"" << arrow.y
          << "\" xlink:href=\"#VL_symbol_arrow\"";
      if (arrow.angle != 0.0f) writeRotation(out, arrow.angle, arrow.x, arrow.y);
      out << "/>\r\n";
    }
  }
}

void writeBuildingNumberLayer(const CadastralModel& model, SvgOutput& out) {
  writeGroupStart(out, kBuildingNumberLayer);
  std::string number;
  for (const Building& building : model.buildings) {
    const BuildingType* type = model.findBuildingType(building.typeCode);
    number.clear();
    if (type != nullptr) number = model.text(type->abbreviation);
    if (showsHouseNumber(building.typeCode)) {
      number += ' ';
      number += model.text(building.numberLabel.text);
    }
    if (number.empty()) continue;
    // Building numbers are never rotated and carry no id.
    const TextLabel& label = building.numberLabel;
    const TextAlignment alignment = textAlignmentAttributes(label.referencePoint);
    out << kChildIndent << "<text x=\"" << label.x << "\" y=\"" << label.y << "\" "
        << alignment.anchor << " " << alignment.baseline << " fill=\"black\" font-size=\""
        << label.size << "\">" << Escaped{number} << "</text>\r\n";
  }
  writeGroupEnd(out);
}

}  // namespace vorlane

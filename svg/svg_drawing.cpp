#include "svg/svg_drawing.h"

#include "model/map_symbols.h"
#include "svg/layer_group.h"
#include "svg/symbol_library.h"
#include "svg/text_element.h"

namespace vorlane {

namespace {

// The style of each layer's paths.
std::string_view pathStyle(Layer layer) {
  switch (layer) {
    case Layer::kParcelBorders:
      return " style=\"fill:none;stroke:black;stroke-width:0.2\"";
    case Layer::kNeighbourBorders:
      return " style=\"fill:none;stroke:grey;stroke-width:0.2\"";
    case Layer::kEasements:
      return " style=\"fill:none;stroke:magenta;stroke-width:0.2;stroke-dasharray:1,0.5\"";
    case Layer::kSurveyPoints:
      return " style=\"fill:none;stroke:black;stroke-width:0.05\"";
    case Layer::kBpej:
      return " style=\"fill:none;stroke:orange;stroke-width:1\"";
    case Layer::kInnerDrawing:
      return " style=\"fill:none;stroke:red;stroke-width:1\"";
    default:
      return " style=\"fill:none;stroke:black;stroke-width:1\"";
  }
}

constexpr float kArrowLineWidth = 0.2f;

// The exact drawing's attributes of parcels and buildings are of the
// namespace the root element names (write_svg.cpp).
constexpr std::string_view kAttributePrefix = "vl:";

}  // namespace

SvgDrawing::SvgDrawing(const CadastralModel& model, SvgOutput& out, bool exact)
    : model_(&model), out_(out), points_(std::make_unique<PointTexts>(model)), exact_(exact) {}

void SvgDrawing::beginLayer(const DrawingLayer& drawn, const CadastralModel& model) {
  if (&model != model_) {
    model_ = &model;
    points_ = std::make_unique<PointTexts>(model);
  }
  const Layer layer = drawn.kind;
  layer_ = layer;
  LayerStyle style = drawn.style;
  style.name = drawn.name;
  writeGroupStart(out_, style);
  // The symbols are defined once, in the first layer: the map's symbol
  // layer, unless the drawing leaves it out.
  if (!symbolsDefined_) {
    symbolsDefined_ = true;
    for (const MapSymbol& symbol : mapSymbols()) writeSymbolDefinition(out_, symbol);
    if (exact_) {
      for (const MapSymbol& symbol : exactSymbols()) writeSymbolDefinition(out_, symbol);
    }
    if (layer == Layer::kSymbols) {
      out_ << "\r\n" << kChildIndent << "<!-- Symbols actual usage -->\r\n\r\n";
      out_ << kChildIndent << "<!-- Parcel symbols: -->\r\n";
    }
  }
  // What the file's code list says a layer of one type code holds.
  if (!drawn.description.empty()) {
    out_ << kChildIndent << "<desc>" << Escaped{drawn.description} << "</desc>\r\n";
  }
}

void SvgDrawing::endLayer(const DrawingLayer& drawn) {
  const Layer layer = drawn.kind;
  if (layer == Layer::kSymbols) startBuildingSymbols();
  if (layer == Layer::kParcelTexts) startArrows();
  writeGroupEnd(out_);
}

void SvgDrawing::startBuildingSymbols() {
  if (buildingSymbolsStarted_) return;
  buildingSymbolsStarted_ = true;
  out_ << "\r\n" << kChildIndent << "<!-- Buildings symbols: -->\r\n";
}

void SvgDrawing::startArrows() {
  if (arrowsStarted_) return;
  arrowsStarted_ = true;
  out_ << "\r\n" << kChildIndent << "<!-- Parcel arrow definition -->\r\n";
  writeSymbolDefinition(out_, arrowSymbol());
  out_ << "\r\n" << kChildIndent << "<!-- Parcels arrows usage -->\r\n";
}

// A placement turns by any angle other than 0, negative ones included.
void SvgDrawing::symbol(const TextLabel& label, bool ofBuilding) {
  if (ofBuilding) startBuildingSymbols();
  out_ << kChildIndent << "<use x=\"" << label.x << "\" y=\"" << label.y
       << "\" xlink:href=\"#VL_symbol_" << label.typeCode << "\"";
  if (label.angle != 0.0f) writeRotation(out_, label.angle, label.x, label.y);
  out_ << "/>\r\n";
}

// Subpaths follow each other as " M ", a closed one ending in "Z" first;
// an arc step is "A r,r 0 large,sweep" before its end point.
void SvgDrawing::writePathData(const BorderPath& path) {
  auto arc = path.arcs.begin();
  for (size_t k = 0; k < path.subpaths.size(); ++k) {
    const BorderPath::Subpath& subpath = path.subpaths[k];
    if (k > 0) out_ << " M ";
    uint32_t from = subpath.first;
    const uint32_t end = subpath.first + subpath.count;
    for (; arc != path.arcs.end() && arc->to < end; ++arc) {
      points_->write(out_, std::span<const int32_t>(path.points).subspan(from, arc->to - from));
      out_ << "A " << arc->radius << "," << arc->radius << " 0 " << (arc->largeArc ? "1," : "0,")
           << (arc->sweep ? "1 " : "0 ");
      from = arc->to;
    }
    points_->write(out_, std::span<const int32_t>(path.points).subspan(from, end - from));
    if (subpath.closed) out_ << "Z";
  }
}

void SvgDrawing::path(std::optional<std::string_view> id, const BorderPath& path,
                      std::span<const Attribute> attributes) {
  out_ << kChildIndent << "<path";
  if (id) out_ << " id=\"" << Escaped{*id} << "\"";
  for (const Attribute& attribute : attributes) {
    out_ << " " << kAttributePrefix << attribute.name << "=\"" << Escaped{attribute.value} << "\"";
  }
  out_ << pathStyle(layer_) << " d=\"M";
  writePathData(path);
  out_ << "\"/>\r\n";
}

// A unit's path, its code, and an empty line.
void SvgDrawing::bpejArea(std::string_view code, const BorderPath& path, const TextLabel* label) {
  this->path(code, path, {});
  if (label != nullptr) {
    out_ << kChildIndent;
    writeTextElement(out_, *label, model_->text(label->text), std::nullopt);
  }
  out_ << "\r\n";
}

void SvgDrawing::text(const TextLabel& label, std::string_view text,
                      std::optional<std::string_view> id, TextForm form) {
  out_ << kChildIndent;
  if (form == TextForm::kLabel) {
    writeTextElement(out_, label, text, id);
    return;
  }
  // Building numbers are never turned and carry no id.
  const TextAlignment alignment = textAlignmentAttributes(label.referencePoint);
  out_ << "<text x=\"" << label.x << "\" y=\"" << label.y << "\" " << alignment.anchor << " "
       << alignment.baseline << " fill=\"black\" font-size=\"" << label.size << "\">"
       << Escaped{text} << "</text>\r\n";
}

void SvgDrawing::mark(std::string_view symbol, const Point& at) {
  // Survey points have a mark each: written in one piece.
  constexpr std::string_view kStart = "<use x=\"";
  constexpr std::string_view kBetween = "\" y=\"";
  constexpr std::string_view kReference = "\" xlink:href=\"#VL_symbol_";
  constexpr std::string_view kEnd = "\"/>\r\n";
  char* p = out_.room(kChildIndent.size() + kStart.size() + kNumberBufferSize + kBetween.size() +
                      kNumberBufferSize + kReference.size() + symbol.size() + kEnd.size());
  p = put(p, kChildIndent);
  p = put(p, kStart);
  p = putNumber(p, at.x);
  p = put(p, kBetween);
  p = putNumber(p, at.y);
  p = put(p, kReference);
  p = put(p, symbol);
  out_.commit(put(p, kEnd));
}

void SvgDrawing::arrow(const Point* from, const ParcelArrow& arrow) {
  startArrows();
  if (from != nullptr) {
    out_ << kChildIndent << "<line x1=\"" << from->x << "\" y1=\"" << from->y << "\" x2=\""
         << arrow.x << "\" y2=\"" << arrow.y << "\" stroke=\"black\" stroke-width=\""
         << kArrowLineWidth << "\" />\r\n";
  }
  out_ << kChildIndent << "<use x=\"" << arrow.x << "\" y=\"" << arrow.y
       << "\" xlink:href=\"#VL_symbol_arrow\"";
  if (arrow.angle != 0.0f) writeRotation(out_, arrow.angle, arrow.x, arrow.y);
  out_ << "/>\r\n";
}

}  // namespace vorlane

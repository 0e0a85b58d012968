#include "model/drawing_walk.h"

#include <algorithm>
#include <cmath>
#include <iterator>
#include <numbers>
#include <set>
#include <string>

#include "model/exact_rings.h"
#include "model/map_symbols.h"
#include "model/rings.h"
#include "model/type_codes.h"
#include "platform/fixed_decimals.h"

namespace vorlane {

LayerCounts DrawingCounts::operator[](Layer kind) const {
  for (size_t k = 0; k < layers.size(); ++k) {
    if (layers[k].kind == kind && layers[k].state == 0) return counts[k];
  }
  return {};
}

bool DrawingCounts::empty() const {
  for (const LayerCounts& layer : counts) {
    if (layer.paths + layer.texts + layer.symbols + layer.arrows > 0) return false;
  }
  return true;
}

namespace {

// The layers of the exact drawing that take map elements by their type
// codes; an element of another code has a layer of its own code.
constexpr int32_t kBoundaryMarkCode = 105;
constexpr int32_t kElementSymbolCodes[] = {402, 409, 411, 420, 601};
constexpr int32_t kProtectedAreaCodes[] = {22300, 22400};
constexpr int32_t kPowerLineCode = 60500;

// The exact drawing's arrow. The file places the arrow's symbol at the end
// of its line near the parcel's number, turned to point at the number; on
// the map the arrow leads from the number into the parcel, with its head at
// the line's other end, in the parcel (where the arrow has no line, at the
// symbol's own place, which is then in the parcel). So the symbol is turned
// about and put with its head there, its shaft reaching back towards the
// number; "shaftStart" becomes the line's end near the number, where there
// is a line, for the line drawn from it to the symbol.
ParcelArrow arrowIntoParcel(const ParcelArrow& arrow, const Point*& shaftStart,
                            Point& lineStart) {
  const Point head = arrow.hasLine ? arrow.lineEnd : Point{arrow.x, arrow.y};
  if (arrow.hasLine) {
    lineStart = Point{arrow.x, arrow.y};
    shaftStart = &lineStart;
  }
  // The symbol's +y, turned by its angle in the drawing's y-down view,
  // points away from the head once the symbol is turned about.
  const double radians = static_cast<double>(arrow.angle) * std::numbers::pi / 180.0;
  ParcelArrow turned = arrow;
  turned.x = head.x - kArrowLength * std::sin(radians);
  turned.y = head.y + kArrowLength * std::cos(radians);
  turned.angle = arrow.angle >= 180.0f ? arrow.angle - 180.0f : arrow.angle + 180.0f;
  return turned;
}

template <size_t N>
bool among(int32_t code, const int32_t (&codes)[N]) {
  return std::find(std::begin(codes), std::end(codes), code) != std::end(codes);
}

// The layer that takes a map element's line, or kElementsOfCode.
Layer layerOfElementLine(int32_t code) {
  if (code == kInnerDrawingTypeCode) return Layer::kInnerDrawing;
  if (among(code, kProtectedAreaCodes)) return Layer::kProtectedAreas;
  if (code == kPowerLineCode) return Layer::kPowerLines;
  return Layer::kElementsOfCode;
}

Layer layerOfElementSymbol(int32_t code) {
  if (code == kBoundaryMarkCode) return Layer::kBoundaryMarks;
  if (among(code, kElementSymbolCodes)) return Layer::kElementSymbols;
  return Layer::kElementsOfCode;
}

// The type codes of a model's map elements that no layer takes.
std::set<int32_t> codesWithoutLayer(const CadastralModel& model) {
  std::set<int32_t> codes;
  for (const ElementPolyline& line : model.elementPolylines) {
    if (layerOfElementLine(line.typeCode) == Layer::kElementsOfCode) codes.insert(line.typeCode);
  }
  for (const TextLabel& symbol : model.elementSymbols) {
    if (layerOfElementSymbol(symbol.typeCode) == Layer::kElementsOfCode) {
      codes.insert(symbol.typeCode);
    }
  }
  return codes;
}

// Keeps of layers[first, end) those that hold something (below).
void dropEmptyLayers(const CadastralModel& model, const DrawingOptions& options,
                     std::vector<DrawingLayer>& layers, size_t first);

}  // namespace

std::vector<DrawingLayer> drawingLayers(const CadastralModel& model, const DrawingOptions& options) {
  std::vector<DrawingLayer> layers;
  auto add = [&](DrawingLayer layer) {
    const bool chosen = options.layers.empty() || layerNamed(options.layers, layer.name);
    if (chosen && !layerNamed(options.withoutLayers, layer.name)) layers.push_back(std::move(layer));
  };
  auto layersOf = [&](const CadastralModel& drawn, int32_t state) {
    const size_t kinds = options.exact ? kLayerKinds - 1 : kLayerCount;
    for (size_t k = 0; k < kinds; ++k) add(drawingLayerOf(static_cast<Layer>(k), state));
    if (!options.exact) return;
    for (const int32_t code : codesWithoutLayer(drawn)) {
      DrawingLayer layer = drawingLayerOf(Layer::kElementsOfCode, state, code);
      layer.description = model.nameOf(model.elementTypes, code);
      add(std::move(layer));
    }
  };
  layersOf(model, 0);
  if (options.exact) {
    for (const auto& [state, drawn] : model.otherStates) {
      const size_t first = layers.size();
      layersOf(*drawn, state);
      // The geometric plan has every layer the map has; another state only
      // those it draws something on.
      if (state != 1) dropEmptyLayers(model, options, layers, first);
    }
  }
  return layers;
}

namespace {

class Walk {
 public:
  Walk(const CadastralModel& model, const DrawingOptions& options, DrawingVisitor& visitor)
      : map_(model), model_(&model), exact_(options.exact), visitor_(visitor) {}

  DrawingCounts run(std::vector<DrawingLayer> layers) {
    counts_.layers = std::move(layers);
    counts_.counts.assign(counts_.layers.size(), LayerCounts());
    for (size_t k = 0; k < counts_.layers.size(); ++k) {
      current_ = k;
      const DrawingLayer& layer = counts_.layers[k];
      model_ = layer.state == 0 ? &map_ : map_.otherStates.at(layer.state).get();
      visitor_.beginLayer(layer, *model_);
      elementsOf(layer);
      visitor_.endLayer(layer);
    }
    return std::move(counts_);
  }

 private:
  void elementsOf(const DrawingLayer& layer) {
    switch (layer.kind) {
      case Layer::kSymbols:
        symbols();
        break;
      case Layer::kParcelBorders:
        parcelBorders();
        break;
      case Layer::kParcelTexts:
        parcelTexts();
        break;
      case Layer::kBpej:
        bpejAreas();
        break;
      case Layer::kCadastralAreaBorder:
        for (const Boundary& boundary : model_->parcelBoundaries) {
          const bool border = exact_ ? isAdministrativeBorder(boundary.typeCode)
                                     : boundary.typeCode == kCadastralAreaBorderTypeCode;
          if (border) line(boundary);
        }
        break;
      case Layer::kBuildingBorders:
        buildingBorders();
        break;
      case Layer::kBuildingNumbers:
        buildingNumbers();
        break;
      case Layer::kMapTexts:
        for (const TextLabel& label : model_->mapTexts) {
          if (drawn(label)) text(label, model_->text(label.text), std::nullopt, TextForm::kLabel);
        }
        break;
      case Layer::kInnerDrawing:
      case Layer::kProtectedAreas:
      case Layer::kPowerLines:
        elementLines(layer);
        break;
      case Layer::kEasements:
        for (const IdentifiedLine& easement : model_->easements) {
          border_.clear();
          appendLine(model_->pointIndicesOf(easement), easement.shape);
          if (!border_.empty()) path(model_->text(easement.id), border_);
        }
        break;
      case Layer::kControlNetwork:
        for (const TextLabel& symbol : model_->controlPointSymbols) placeSymbol(symbol);
        for (const TextLabel& number : model_->controlPointNumbers) {
          if (drawn(number)) text(number, model_->text(number.text), std::nullopt, TextForm::kLabel);
        }
        break;
      case Layer::kSurveyPoints:
        surveyPoints();
        break;
      case Layer::kPointNumbers:
        pointNumbers();
        break;
      case Layer::kNeighbourBorders:
        parcelBorders(true);
        break;
      case Layer::kBoundaryMarks:
      case Layer::kElementSymbols:
        elementSymbols(layer);
        break;
      case Layer::kElementsOfCode:
        elementLines(layer);
        elementSymbols(layer);
        break;
    }
  }

  // The lines of map elements a layer takes by their codes.
  void elementLines(const DrawingLayer& layer) {
    for (const ElementPolyline& polyline : model_->elementPolylines) {
      if (layerOfElementLine(polyline.typeCode) != layer.kind) continue;
      if (layer.kind == Layer::kElementsOfCode && polyline.typeCode != layer.typeCode) continue;
      line(polyline);
    }
  }

  void elementSymbols(const DrawingLayer& layer) {
    for (const TextLabel& symbol : model_->elementSymbols) {
      if (layerOfElementSymbol(symbol.typeCode) != layer.kind) continue;
      if (layer.kind == Layer::kElementsOfCode && symbol.typeCode != layer.typeCode) continue;
      placeSymbol(symbol);
    }
  }

  void placeSymbol(const TextLabel& symbol, bool ofBuilding = false) {
    if (!drawnSymbol(symbol)) return;
    ++counts().symbols;
    visitor_.symbol(symbol, ofBuilding);
  }

  // A mark at each survey point; where its measured position differs, a
  // cross there and the line that joins the two.
  void surveyPoints() {
    for (const SurveyPoint& point : model_->surveyPoints) {
      ++counts().symbols;
      visitor_.mark(kSurveyPointSymbol, model_->points[static_cast<size_t>(point.point)]);
      if (point.measured < 0) continue;
      ++counts().symbols;
      visitor_.mark(kMeasuredPositionSymbol, model_->points[static_cast<size_t>(point.measured)]);
      border_.clear();
      border_.points = {point.point, point.measured};
      border_.subpaths.push_back({0, 2, false});
      path(std::nullopt, border_);
    }
  }

  // Each survey point's number as a survey record writes it: the record's
  // number, a hyphen and the point's ("331-12"), its quality code after it
  // in brackets, beside the point up and to the right. A point the file
  // gives no number has none.
  void pointNumbers() {
    constexpr double kOffset = 0.4;
    constexpr float kHeight = 1.5f;
    for (size_t k = 0; k < model_->surveyNumbers.size(); ++k) {
      const SurveyNumber& point = model_->surveyNumbers[k];
      if (point.number == SurveyNumber::kNoNumber) continue;
      char number[3 * kWholeNumberRoom + 4];  // three numbers and what stands between them
      char* end = number;
      if (point.record > 0) {
        end = writeNumber(end, point.record);
        *end++ = '-';
      }
      end = writeNumber(end, point.number);
      if (point.quality > 0) {
        end = std::copy_n(" (", 2, end);
        end = writeNumber(end, point.quality);
        *end++ = ')';
      }
      const Point& at = model_->points[static_cast<size_t>(model_->surveyPoints[k].point)];
      TextLabel label;
      label.x = at.x + kOffset;
      label.y = at.y + kOffset;
      label.size = kHeight;
      label.placed = true;
      text(label, std::string_view(number, static_cast<size_t>(end - number)), std::nullopt,
           TextForm::kLabel);
    }
  }

  LayerCounts& counts() { return counts_.counts[current_]; }

  // A label with a text is drawn; in the exact drawing only where the file
  // placed it.
  bool drawn(const TextLabel& label) const {
    return !label.text.empty() && (label.placed || !exact_);
  }
  bool drawnSymbol(const TextLabel& label) const {
    return label.typeCode != 0 && (label.placed || !exact_);
  }

  void path(std::optional<std::string_view> id, const BorderPath& border,
            std::span<const Attribute> attributes = {}) {
    ++counts().paths;
    counts().segments += border.segmentCount();
    visitor_.path(id, border, attributes);
  }

  void text(const TextLabel& label, std::string_view text, std::optional<std::string_view> id,
            TextForm form) {
    ++counts().texts;
    visitor_.text(label, text, id, form);
  }

  void symbols() {
    for (const Parcel& parcel : model_->parcels) {
      const TextLabel& symbol = model_->symbolLabelOf(parcel);
      if (drawnSymbol(symbol)) {
        ++counts().symbols;
        visitor_.symbol(symbol, false);
      }
    }
    // The exact drawing draws every symbol a building was given.
    if (exact_) {
      for (const TextLabel& symbol : model_->buildingSymbols) placeSymbol(symbol, true);
      return;
    }
    for (const Building& building : model_->buildings) {
      if (drawnSymbol(building.symbolLabel)) {
        ++counts().symbols;
        visitor_.symbol(building.symbolLabel, true);
      }
    }
  }

  // The standard drawing draws a parcel with a number and three points or
  // more; the exact drawing every parcel with a segment: those the file
  // describes (PAR) with their attributes, and, where it describes some,
  // the others apart, as neighbours' fragments.
  void parcelBorders(bool neighbours = false) {
    const bool described = !model_->parcelRecords.empty();
    for (const Parcel& parcel : model_->parcels) {
      const ParcelRecord* record = model_->recordOf(parcel);
      if (neighbours != (described && record == nullptr)) continue;
      if (exact_) {
        collectExactPath(*model_, parcel, border_);
        if (border_.empty()) continue;
      } else {
        if (parcel.numberLabel.text.empty()) continue;
        collectRingPath(*model_, parcel, border_);
        if (border_.points.size() < 3) continue;
      }
      attributeCount_ = 0;
      if (record != nullptr) parcelAttributes(*record);
      path(model_->text(parcel.id), border_, attributes());
    }
  }

  // What the file says of a parcel, in the names of its columns' meaning.
  void parcelAttributes(const ParcelRecord& record) {
    appendParcelNumber(record, addAttribute("cislo"));
    if (record.area >= 0) appendNumber(addAttribute("vymera"), record.area);
    coded("druh_pozemku", record.landType, &CadastralModel::landTypes);
    coded("zpusob_vyuziti", record.landUse, &CadastralModel::landUses);
    sheet(record.ownershipSheet);
  }

  void buildingAttributes(const Building& building) {
    if (!building.described) return;
    const std::string_view number = model_->text(building.numberLabel.text);
    if (!number.empty()) addAttribute("cislo_domovni") = number;
    if (building.typeCode != 0) {
      const BuildingType* type = model_->findBuildingType(building.typeCode);
      std::string& value = addAttribute("typ");
      appendNumber(value, building.typeCode);
      if (type != nullptr) {
        value += ' ';
        value += model_->text(type->name);
      }
    }
    coded("zpusob_vyuziti", building.use, &CadastralModel::buildingUses);
    sheet(building.ownershipSheet);
  }

  // A new attribute of the element being walked; returns its value, empty,
  // to be written. The attributes' strings are kept from element to element.
  std::string& addAttribute(std::string_view name) {
    if (attributeCount_ == attributes_.size()) attributes_.emplace_back();
    Attribute& attribute = attributes_[attributeCount_++];
    attribute.name = name;
    attribute.value.clear();
    return attribute.value;
  }
  std::span<const Attribute> attributes() const { return {attributes_.data(), attributeCount_}; }

  // A code and, where the file's code list names it, its meaning.
  void coded(std::string_view name, int32_t code, PodVector<CodeName> CadastralModel::*list) {
    if (code == 0) return;
    std::string& value = addAttribute(name);
    appendNumber(value, code);
    const std::string_view meaning = codeListOwner().nameOf(codeListOwner().*list, code);
    if (!meaning.empty()) {
      value += ' ';
      value += meaning;
    }
  }

  void sheet(TextRef id) {
    const int64_t number = codeListOwner().sheetNumberOf(model_->text(id));
    if (number >= 0) appendNumber(addAttribute("list_vlastnictvi"), number);
  }

  // The code lists and sheets are the map's, whatever state a record is of.
  const CadastralModel& codeListOwner() const { return map_; }

  void parcelTexts() {
    for (const Parcel& parcel : model_->parcels) {
      const std::string_view id = model_->text(parcel.id);
      if (drawn(parcel.numberLabel)) {
        text(parcel.numberLabel, model_->text(parcel.numberLabel.text), id, TextForm::kLabel);
      }
      for (const ParcelLabel& extra : model_->extraNumberLabelsOf(parcel)) {
        if (drawn(extra.label))
          text(extra.label, model_->text(extra.label.text), id, TextForm::kLabel);
      }
    }
    // The arrows follow all texts.
    for (const Parcel& parcel : model_->parcels) {
      const Point number{parcel.numberLabel.x, parcel.numberLabel.y};
      const Point* from = parcel.numberLabel.placed || !exact_ ? &number : nullptr;
      for (const ParcelArrow& arrow : model_->arrowsOf(parcel)) {
        if (exact_ && !arrow.placed) continue;
        ++counts().arrows;
        if (exact_) {
          const Point* shaftStart = from;
          Point lineStart;
          const ParcelArrow turned = arrowIntoParcel(arrow, shaftStart, lineStart);
          visitor_.arrow(shaftStart, turned);
        } else {
          visitor_.arrow(from, arrow);
        }
      }
    }
  }

  // Every unit gets its border, also one without boundaries; its boundaries
  // are drawn one by one, as they are stored.
  void bpejAreas() {
    for (const BpejArea& area : model_->bpejAreas) {
      border_.clear();
      for (const int32_t index : model_->boundaryIndicesOf(area)) {
        const Boundary& boundary = model_->bpejBoundaries[static_cast<size_t>(index)];
        appendLine(model_->pointIndicesOf(boundary), boundary.shape);
      }
      ++counts().paths;
      counts().segments += border_.segmentCount();
      const bool labelled = drawn(area.label);
      counts().texts += labelled ? 1 : 0;
      visitor_.bpejArea(model_->text(area.code), border_, labelled ? &area.label : nullptr);
    }
  }

  // The standard drawing draws a building with any point; the exact one
  // every building with a segment.
  void buildingBorders() {
    for (const Building& building : model_->buildings) {
      attributeCount_ = 0;
      if (exact_) {
        collectExactPath(*model_, building, border_);
        buildingAttributes(building);
      } else {
        collectRingPath(*model_, building, border_);
      }
      if (!border_.empty()) path(model_->text(building.id), border_, attributes());
    }
  }

  void buildingNumbers() {
    for (const Building& building : model_->buildings) {
      model_->buildingNumberText(building, number_);
      if (number_.empty() || (exact_ && !building.numberLabel.placed)) continue;
      text(building.numberLabel, number_, std::nullopt, TextForm::kBuildingNumber);
    }
  }

  // A line drawn alone, without an identifier.
  template <typename Line>
  void line(const Line& line) {
    border_.clear();
    appendLine(model_->pointIndicesOf(line), line.shape);
    if (!border_.empty()) path(std::nullopt, border_);
  }

  // The standard drawing draws a line's points as they are stored, in one
  // subpath; the exact drawing its runs, arcs and circles.
  void appendLine(std::span<const int32_t> points, LineShape shape) {
    if (exact_) {
      appendExactLine(*model_, points, shape, border_);
      return;
    }
    border_.subpaths.push_back({static_cast<uint32_t>(border_.points.size()),
                                static_cast<uint32_t>(points.size()), false});
    border_.points.insert(border_.points.end(), points.begin(), points.end());
  }

  const CadastralModel& map_;
  // The model of the layer being walked: the map's, or another state's.
  const CadastralModel* model_;
  const bool exact_;
  DrawingVisitor& visitor_;
  DrawingCounts counts_;
  size_t current_ = 0;  // the layer being walked
  BorderPath border_;   // reused for every path
  std::string number_;  // reused for every building number
  std::vector<Attribute> attributes_;  // the first attributeCount_ are the element's
  size_t attributeCount_ = 0;
};

}  // namespace

namespace {

// Draws nothing; for counting what layers hold.
class CountingVisitor : public DrawingVisitor {
 public:
  void beginLayer(const DrawingLayer&, const CadastralModel&) override {}
  void endLayer(const DrawingLayer&) override {}
  void symbol(const TextLabel&, bool) override {}
  void path(std::optional<std::string_view>, const BorderPath&, std::span<const Attribute>) override {}
  void mark(std::string_view, const Point&) override {}
  void bpejArea(std::string_view, const BorderPath&, const TextLabel*) override {}
  void text(const TextLabel&, std::string_view, std::optional<std::string_view>, TextForm) override {}
  void arrow(const Point*, const ParcelArrow&) override {}
};

void dropEmptyLayers(const CadastralModel& model, const DrawingOptions& options,
                     std::vector<DrawingLayer>& layers, size_t first) {
  CountingVisitor counting;
  std::vector<DrawingLayer> candidates(layers.begin() + static_cast<std::ptrdiff_t>(first),
                                       layers.end());
  const DrawingCounts counts = Walk(model, options, counting).run(candidates);
  layers.resize(first);
  for (size_t k = 0; k < counts.layers.size(); ++k) {
    const LayerCounts& held = counts.counts[k];
    if (held.paths + held.texts + held.symbols + held.arrows > 0) layers.push_back(counts.layers[k]);
  }
}

}  // namespace

DrawingCounts walkDrawing(const CadastralModel& model, const DrawingOptions& options,
                          DrawingVisitor& visitor) {
  return Walk(model, options, visitor).run(drawingLayers(model, options));
}

}  // namespace vorlane

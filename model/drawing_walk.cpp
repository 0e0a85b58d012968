#include "model/drawing_walk.h"

#include <string>

#include "model/exact_rings.h"
#include "model/rings.h"
#include "model/type_codes.h"

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

std::vector<DrawingLayer> drawingLayers(const CadastralModel&, const DrawingOptions&) {
  std::vector<DrawingLayer> layers;
  for (size_t k = 0; k < kLayerCount; ++k) layers.push_back(drawingLayerOf(static_cast<Layer>(k)));
  return layers;
}

namespace {

class Walk {
 public:
  Walk(const CadastralModel& model, const DrawingOptions& options, DrawingVisitor& visitor)
      : model_(model), exact_(options.exact), visitor_(visitor) {}

  DrawingCounts run(std::vector<DrawingLayer> layers) {
    counts_.layers = std::move(layers);
    counts_.counts.assign(counts_.layers.size(), LayerCounts());
    for (size_t k = 0; k < counts_.layers.size(); ++k) {
      current_ = k;
      const DrawingLayer& layer = counts_.layers[k];
      visitor_.beginLayer(layer, model_);
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
        for (const Boundary& boundary : model_.parcelBoundaries) {
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
        for (const TextLabel& label : model_.mapTexts) {
          if (drawn(label)) text(label, model_.text(label.text), std::nullopt, TextForm::kLabel);
        }
        break;
      case Layer::kInnerDrawing:
        for (const ElementPolyline& polyline : model_.elementPolylines) {
          if (polyline.typeCode == kInnerDrawingTypeCode) line(polyline);
        }
        break;
      default:
        break;
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

  void path(std::optional<std::string_view> id, const BorderPath& border) {
    ++counts().paths;
    counts().segments += border.segmentCount();
    visitor_.path(id, border);
  }

  void text(const TextLabel& label, std::string_view text, std::optional<std::string_view> id,
            TextForm form) {
    ++counts().texts;
    visitor_.text(label, text, id, form);
  }

  void symbols() {
    for (const Parcel& parcel : model_.parcels) {
      const TextLabel& symbol = model_.symbolLabelOf(parcel);
      if (drawnSymbol(symbol)) {
        ++counts().symbols;
        visitor_.symbol(symbol, false);
      }
    }
    for (const Building& building : model_.buildings) {
      if (drawnSymbol(building.symbolLabel)) {
        ++counts().symbols;
        visitor_.symbol(building.symbolLabel, true);
      }
    }
  }

  // The standard drawing draws a parcel with a number and three points or
  // more; the exact drawing every parcel with a segment.
  void parcelBorders() {
    for (const Parcel& parcel : model_.parcels) {
      if (exact_) {
        collectExactPath(model_, parcel, border_);
        if (border_.empty()) continue;
      } else {
        if (parcel.numberLabel.text.empty()) continue;
        collectRingPath(model_, parcel, border_);
        if (border_.points.size() < 3) continue;
      }
      path(model_.text(parcel.id), border_);
    }
  }

  void parcelTexts() {
    for (const Parcel& parcel : model_.parcels) {
      const std::string_view id = model_.text(parcel.id);
      if (drawn(parcel.numberLabel)) {
        text(parcel.numberLabel, model_.text(parcel.numberLabel.text), id, TextForm::kLabel);
      }
      for (const ParcelLabel& extra : model_.extraNumberLabelsOf(parcel)) {
        if (drawn(extra.label))
          text(extra.label, model_.text(extra.label.text), id, TextForm::kLabel);
      }
    }
    // The arrows follow all texts.
    for (const Parcel& parcel : model_.parcels) {
      const Point number{parcel.numberLabel.x, parcel.numberLabel.y};
      const Point* from = parcel.numberLabel.placed || !exact_ ? &number : nullptr;
      for (const ParcelArrow& arrow : model_.arrowsOf(parcel)) {
        if (exact_ && !arrow.placed) continue;
        ++counts().arrows;
        visitor_.arrow(from, arrow);
      }
    }
  }

  // Every unit gets its border, also one without boundaries; its boundaries
  // are drawn one by one, as they are stored.
  void bpejAreas() {
    for (const BpejArea& area : model_.bpejAreas) {
      border_.clear();
      for (const int32_t index : model_.boundaryIndicesOf(area)) {
        const Boundary& boundary = model_.bpejBoundaries[static_cast<size_t>(index)];
        appendLine(model_.pointIndicesOf(boundary), boundary.shape);
      }
      ++counts().paths;
      counts().segments += border_.segmentCount();
      const bool labelled = drawn(area.label);
      counts().texts += labelled ? 1 : 0;
      visitor_.bpejArea(model_.text(area.code), border_, labelled ? &area.label : nullptr);
    }
  }

  // The standard drawing draws a building with any point; the exact one
  // every building with a segment.
  void buildingBorders() {
    for (const Building& building : model_.buildings) {
      if (exact_) {
        collectExactPath(model_, building, border_);
      } else {
        collectRingPath(model_, building, border_);
      }
      if (!border_.empty()) path(model_.text(building.id), border_);
    }
  }

  void buildingNumbers() {
    for (const Building& building : model_.buildings) {
      model_.buildingNumberText(building, number_);
      if (number_.empty() || (exact_ && !building.numberLabel.placed)) continue;
      text(building.numberLabel, number_, std::nullopt, TextForm::kBuildingNumber);
    }
  }

  // A line drawn alone, without an identifier.
  template <typename Line>
  void line(const Line& line) {
    border_.clear();
    appendLine(model_.pointIndicesOf(line), line.shape);
    if (!border_.empty()) path(std::nullopt, border_);
  }

  // The standard drawing draws a line's points as they are stored, in one
  // subpath; the exact drawing its runs, arcs and circles.
  void appendLine(std::span<const int32_t> points, LineShape shape) {
    if (exact_) {
      appendExactLine(model_, points, shape, border_);
      return;
    }
    border_.subpaths.push_back({static_cast<uint32_t>(border_.points.size()),
                                static_cast<uint32_t>(points.size()), false});
    border_.points.insert(border_.points.end(), points.begin(), points.end());
  }

  const CadastralModel& model_;
  const bool exact_;
  DrawingVisitor& visitor_;
  DrawingCounts counts_;
  size_t current_ = 0;  // the layer being walked
  BorderPath border_;   // reused for every path
  std::string number_;  // reused for every building number
};

}  // namespace

DrawingCounts walkDrawing(const CadastralModel& model, const DrawingOptions& options,
                          DrawingVisitor& visitor) {
  return Walk(model, options, visitor).run(drawingLayers(model, options));
}

}  // namespace vorlane

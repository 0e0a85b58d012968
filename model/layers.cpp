#include "model/layers.h"

namespace vorlane {

DrawingLayer drawingLayerOf(Layer kind, int32_t state, int32_t typeCode) {
  DrawingLayer layer;
  layer.kind = kind;
  layer.style = styleOf(kind);
  layer.typeCode = typeCode;
  layer.state = state;
  std::string_view own = layer.style.name;
  if (own.starts_with("VL_")) own.remove_prefix(3);
  if (state == 0) {
    layer.name = std::string(layer.style.name);
  } else if (state == 1) {
    layer.name = "VL_GP_" + std::string(own);
    layer.style.colour = kPlanColour;
  } else {
    layer.name = "VL_stav_" + std::to_string(state) + "_" + std::string(own);
    layer.style.colour = kOtherStateColour;
  }
  if (kind == Layer::kElementsOfCode) layer.name += std::to_string(typeCode);
  return layer;
}

bool layerNamed(std::string_view names, std::string_view layer) {
  while (!names.empty()) {
    const size_t comma = names.find(',');
    std::string_view name = names.substr(0, comma);
    names = comma == std::string_view::npos ? std::string_view() : names.substr(comma + 1);
    if (name.ends_with('*') ? layer.starts_with(name.substr(0, name.size() - 1)) : layer == name) {
      return true;
    }
  }
  return false;
}

}  // namespace vorlane

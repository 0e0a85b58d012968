// The nine layers of a drawing, in the order every drawing holds them, and
// the style of each: what a CAD application takes for the layer, line
// style, pen, line weight, colour and text style of everything on it. The
// SVG and the DXF writer both draw these layers with these styles.
#ifndef VORLANE_MODEL_LAYERS_H_
#define VORLANE_MODEL_LAYERS_H_

#include <array>
#include <cstdint>
#include <string_view>

namespace vorlane {

enum class Layer : uint8_t {
  kSymbols,              // map symbols of parcels and buildings
  kParcelBorders,        // a path per parcel
  kParcelTexts,          // parcel numbers and their arrows
  kBpej,                 // soil-valuation unit borders and codes
  kCadastralAreaBorder,  // the border of the cadastral area
  kBuildingBorders,      // a path per building
  kBuildingNumbers,      // building numbers
  kMapTexts,             // texts of map elements
  kInnerDrawing,         // lines of the map's inner drawing
};
constexpr size_t kLayerCount = 9;

struct Colour {
  uint8_t red = 0;
  uint8_t green = 0;
  uint8_t blue = 0;
};

struct LayerStyle {
  std::string_view name;
  std::string_view lineStyle;  // empty for none
  int32_t lineWeight;          // in the CAD application's units; -3 for its default
  Colour colour;
  std::string_view textStyle;  // empty for none
  int32_t fontSize;
};

// By Layer, in document order.
constexpr std::array<LayerStyle, kLayerCount> kLayerStyles = {{
    {"VL_mapove_znacky", "VL_znacky_kultur", -3, {255, 255, 255}, "", 10},
    {"VL_hranice_parcel", "VL_hranice_parcel", -3, {0, 127, 0}, "", 10},
    {"VL_text_parcel", "", -3, {165, 0, 124}, "VL_text_mapy", 5},
    {"VL_BPEJ", "VL_BPEJ", -3, {127, 255, 255}, "VL_text_mapy", 10},
    {"VL_hranice_KU", "VL_hranice_KU", -3, {255, 0, 0}, "", 10},
    {"VL_hranice_budov", "VL_hranice_budov", 30, {255, 191, 0}, "", 10},
    {"VL_cisla_budov", "VL_cisla_budov", -3, {165, 82, 0}, "VL_text_mapy", 5},
    {"VL_prvky_mapy", "VL_prvky_mapy", -3, {0, 255, 0}, "VL_text_mapy", 15},
    {"VL_vnitrni_kresby", "VL_vnitrni_kresby", -3, {153, 153, 153}, "", 5},
}};

constexpr const LayerStyle& styleOf(Layer layer) {
  return kLayerStyles[static_cast<size_t>(layer)];
}

}  // namespace vorlane

#endif  // VORLANE_MODEL_LAYERS_H_

// The layers of a drawing, and the style of each: what a CAD application
// takes for the layer, line style, pen, line weight, colour and text style
// of everything on it. The SVG and the DXF writer both draw these layers
// with these styles.
//
// The standard drawing holds the nine layers of the library's export, always
// in the same order. The exact drawing holds them and, after them, what else
// the file holds that can be drawn: easements, the control network, survey
// points, neighbours' fragments, map elements by kind (one layer for each
// type code no other layer takes), and the same layers again for the
// records of another state than the current one (a geometric plan's
// proposed state), named with a prefix of their own.
#ifndef VORLANE_MODEL_LAYERS_H_
#define VORLANE_MODEL_LAYERS_H_

#include <array>
#include <cstdint>
#include <string>
#include <string_view>

namespace vorlane {

enum class Layer : uint8_t {
  // The standard drawing's, in its order.
  kSymbols,              // map symbols of parcels and buildings
  kParcelBorders,        // a path per parcel
  kParcelTexts,          // parcel numbers and their arrows
  kBpej,                 // soil-valuation unit borders and codes
  kCadastralAreaBorder,  // the border of the cadastral area
  kBuildingBorders,      // a path per building
  kBuildingNumbers,      // building numbers
  kMapTexts,             // texts of map elements
  kInnerDrawing,         // lines of the map's inner drawing
  // The exact drawing's own.
  kEasements,          // a path per easement
  kControlNetwork,     // control points: their symbols and numbers
  kSurveyPoints,       // a mark at each survey point, and its measured position
  kPointNumbers,       // each survey point's number
  kNeighbourBorders,   // border lines of parcels the file describes not
  kBoundaryMarks,      // boundary-mark symbols on survey points
  kElementSymbols,     // the other symbols of map elements
  kProtectedAreas,     // borders of protected areas and protection zones
  kPowerLines,         // axes of overhead lines
  kElementsOfCode,     // lines, texts and symbols of one type code no layer takes
};
// The standard drawing's layers.
constexpr size_t kLayerCount = 9;
constexpr size_t kLayerKinds = 19;

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

// By Layer. The layers of one type code are named by their code after the
// name given here.
constexpr std::array<LayerStyle, kLayerKinds> kLayerStyles = {{
    {"VL_mapove_znacky", "VL_znacky_kultur", -3, {255, 255, 255}, "", 10},
    {"VL_hranice_parcel", "VL_hranice_parcel", -3, {0, 127, 0}, "", 10},
    {"VL_text_parcel", "", -3, {165, 0, 124}, "VL_text_mapy", 5},
    {"VL_BPEJ", "VL_BPEJ", -3, {127, 255, 255}, "VL_text_mapy", 10},
    {"VL_hranice_KU", "VL_hranice_KU", -3, {255, 0, 0}, "", 10},
    {"VL_hranice_budov", "VL_hranice_budov", 30, {255, 191, 0}, "", 10},
    {"VL_cisla_budov", "VL_cisla_budov", -3, {165, 82, 0}, "VL_text_mapy", 5},
    {"VL_prvky_mapy", "VL_prvky_mapy", -3, {0, 255, 0}, "VL_text_mapy", 15},
    {"VL_vnitrni_kresby", "VL_vnitrni_kresby", -3, {153, 153, 153}, "", 5},
    {"VL_vecna_bremena", "VL_vecna_bremena", -3, {255, 0, 255}, "", 10},
    {"VL_bodove_pole", "", -3, {0, 0, 255}, "VL_text_mapy", 5},
    {"VL_body", "", -3, {0, 0, 0}, "", 10},
    {"VL_cisla_bodu", "", -3, {0, 0, 0}, "VL_text_mapy", 2},
    {"VL_hranice_sousednich_parcel", "VL_hranice_parcel", -3, {127, 127, 127}, "", 10},
    {"VL_hranicni_znaky", "", -3, {0, 127, 0}, "", 10},
    {"VL_znacky_prvku", "", -3, {0, 0, 0}, "", 10},
    {"VL_hranice_chranenych_uzemi", "VL_hranice_chranenych_uzemi", -3, {0, 0, 255}, "", 10},
    {"VL_osy_vedeni", "VL_osy_vedeni", -3, {255, 127, 0}, "", 10},
    {"VL_prvek_", "", -3, {127, 127, 127}, "VL_text_mapy", 5},
}};

constexpr const LayerStyle& styleOf(Layer layer) {
  return kLayerStyles[static_cast<size_t>(layer)];
}

// The colour of the layers of the geometric plan's proposed state, which
// sets them apart from the map's, and of any other state's.
constexpr Colour kPlanColour{255, 0, 0};
constexpr Colour kOtherStateColour{255, 127, 0};

// A layer as one drawing holds it.
struct DrawingLayer {
  Layer kind = Layer::kSymbols;
  std::string name;         // as the drawing names it
  LayerStyle style;         // its style; its name is the kind's (see "name")
  std::string description;  // what the file's code list says it holds, or ""
  int32_t typeCode = 0;     // kElementsOfCode: the type code it holds
  int32_t state = 0;        // the records' STAV_DAT: 0 the current state
};

// The layer of "kind" for records of "state": the map's own for state 0,
// "VL_GP_…" (the geometric plan's proposed state, 1) or "VL_stav_<n>_…",
// in that state's colour, for others.
DrawingLayer drawingLayerOf(Layer kind, int32_t state = 0, int32_t typeCode = 0);

// Whether a layer's name is chosen by "names", a list of names separated by
// commas where a name that ends in "*" stands for every name it begins.
bool layerNamed(std::string_view names, std::string_view layer);

}  // namespace vorlane

#endif  // VORLANE_MODEL_LAYERS_H_

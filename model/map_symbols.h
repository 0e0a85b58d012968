// The map symbols every drawing defines: the signs of land use and of
// building types that parcels and buildings are marked with, and the arrow
// that points from a parcel's number to the parcel. Each is a few shapes in
// the symbol's own frame: the origin is where it is placed, y grows
// downwards (as the drawing's y does), one unit is one unit of the drawing.
// The SVG and the DXF writer both draw them from this data.
#ifndef VORLANE_MODEL_MAP_SYMBOLS_H_
#define VORLANE_MODEL_MAP_SYMBOLS_H_

#include <cstdint>
#include <span>
#include <string_view>

#include "model/layers.h"

namespace vorlane {

enum class ShapeKind : uint8_t {
  kLine,      // x1 y1 x2 y2
  kCircle,    // cx cy r
  kPolyline,  // x y of each point in turn
};

struct SymbolShape {
  ShapeKind kind;
  std::span<const double> numbers;
  std::string_view colour;  // an SVG colour keyword, such as "red"
  bool filled;              // a polyline filled with the viewer's default fill
};

struct MapSymbol {
  std::string_view name;  // the symbol's code, or "arrow"
  std::string_view description;
  std::span<const SymbolShape> shapes;
  float strokeWidth;
};

// The 21 symbols of land use, building types and water, in the order every
// drawing defines them; a parcel's or building's symbol code names one.
std::span<const MapSymbol> mapSymbols();

// The arrow: a shaft from the origin kArrowLength units along +y, its head
// at the end.
inline constexpr double kArrowLength = 2.5;
const MapSymbol& arrowSymbol();

// The symbols the exact drawing defines besides: those of map elements and
// control points it places by their type codes, and "bod" and "bod_mereny",
// a survey point and its measured position.
std::span<const MapSymbol> exactSymbols();
inline constexpr std::string_view kSurveyPointSymbol = "bod";
inline constexpr std::string_view kMeasuredPositionSymbol = "bod_mereny";

// The colour of an SVG colour keyword used by the symbols; black for another.
Colour colourNamed(std::string_view keyword);

}  // namespace vorlane

#endif  // VORLANE_MODEL_MAP_SYMBOLS_H_

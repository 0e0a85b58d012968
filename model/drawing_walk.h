// What a drawing holds, layer by layer, in the order every drawing holds it:
// which records are drawn, with which path or text, and where. Both writers,
// SVG and DXF, walk the drawing through this one walk and only format what
// it hands them; the standard and the exact drawing differ here alone.
#ifndef VORLANE_MODEL_DRAWING_WALK_H_
#define VORLANE_MODEL_DRAWING_WALK_H_

#include <array>
#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "model/border_path.h"
#include "model/cadastral_model.h"
#include "model/drawing_options.h"
#include "model/layers.h"

namespace vorlane {

// How a writer writes a text.
enum class TextForm : uint8_t {
  kLabel,           // turned by the label's angle when it exceeds 0.001 degrees
  kBuildingNumber,  // never turned
};

// A fact of what the file says of a parcel or building, as the exact
// drawing carries it with the record's path: "cislo", "vymera", ...
struct Attribute {
  std::string_view name;
  std::string value;
};

// Receives the elements of a drawing. The views, paths and labels it is
// handed are valid during the call only.
class DrawingVisitor {
 public:
  virtual ~DrawingVisitor() = default;
  // A layer starts: its elements are of "model" (its points and texts),
  // until it ends.
  virtual void beginLayer(const DrawingLayer& layer, const CadastralModel& model) = 0;
  virtual void endLayer(const DrawingLayer& layer) = 0;
  // A parcel's land-use symbol, or a building's type symbol: the label's
  // typeCode names it. All parcels' come before the first building's.
  virtual void symbol(const TextLabel& label, bool ofBuilding) = 0;
  // A border or line; "id" is the parcel's, building's or easement's
  // identifier, or nullopt where the layer's paths carry none; the exact
  // drawing gives a parcel's and a building's attributes.
  virtual void path(std::optional<std::string_view> id, const BorderPath& path,
                    std::span<const Attribute> attributes = {}) = 0;
  // A symbol of the library named "symbol" (model/map_symbols.h) at "at".
  virtual void mark(std::string_view symbol, const Point& at) = 0;
  // A soil-valuation unit: its border, one subpath for each of its
  // boundaries, and its code's label when that is drawn (null otherwise).
  virtual void bpejArea(std::string_view code, const BorderPath& path, const TextLabel* label) = 0;
  // A text: the label that places it, the text itself, and the identifier
  // of the parcel it numbers (nullopt for none).
  virtual void text(const TextLabel& label, std::string_view text,
                    std::optional<std::string_view> id, TextForm form) = 0;
  // A parcel's arrow: a line from "from", the parcel number's position (null
  // where the exact drawing knows none), to the arrow, and the arrow itself.
  virtual void arrow(const Point* from, const ParcelArrow& arrow) = 0;
};

// What one layer of a drawing holds.
struct LayerCounts {
  int64_t paths = 0;
  int64_t segments = 0;  // straight or arc steps of the paths
  int64_t texts = 0;
  int64_t symbols = 0;
  int64_t arrows = 0;
};

// What a drawing holds, layer by layer in document order.
struct DrawingCounts {
  std::vector<DrawingLayer> layers;
  std::vector<LayerCounts> counts;  // by layer
  // The counts of the current state's layer of that kind; zero for a layer
  // the drawing does not hold.
  LayerCounts operator[](Layer kind) const;
  // Whether the drawing holds anything at all.
  bool empty() const;
};

// The layers of the drawing of "model", in document order.
std::vector<DrawingLayer> drawingLayers(const CadastralModel& model, const DrawingOptions& options);

// Calls the visitor for every element of the drawing of "model", layer by
// layer in document order. Returns what the drawing holds.
DrawingCounts walkDrawing(const CadastralModel& model, const DrawingOptions& options,
                          DrawingVisitor& visitor);

}  // namespace vorlane

#endif  // VORLANE_MODEL_DRAWING_WALK_H_

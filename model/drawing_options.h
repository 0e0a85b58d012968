// The choices a caller makes for one drawing, handed as one value to
// geometry resolution and to the writers.
#ifndef VORLANE_MODEL_DRAWING_OPTIONS_H_
#define VORLANE_MODEL_DRAWING_OPTIONS_H_

#include <cstdint>
#include <string>

namespace vorlane {

enum class DrawingFormat : uint8_t { kSvg, kDxf };

struct DrawingOptions {
  // The exact drawing: every segment the file holds, once, and nothing it
  // does not hold; labels without a position left out. Otherwise the
  // standard drawing, as the library's export makes it.
  bool exact = false;
  DrawingFormat format = DrawingFormat::kSvg;
  // The CAD application's units number, written into the drawing as it is.
  int32_t units = 1;
  // The drawing's origin at the centre of its extent rather than at 0 0.
  bool centreOrigin = false;
  // The layers drawn: those "layers" names (all when empty) but for those
  // "withoutLayers" names; names separated by commas, a trailing "*" for
  // every name it begins (model/layers.h, layerNamed).
  std::string layers;
  std::string withoutLayers;
};

}  // namespace vorlane

#endif  // VORLANE_MODEL_DRAWING_OPTIONS_H_

// Fuzzes the whole conversion as the converter runs it, in each drawing and
// format: whatever the file holds, it is read and leaves a complete drawing,
// an SVG that is well-formed XML of UTF-8 characters with the nine layer
// groups in their order, or a DXF of well-formed groups; and the library's
// messages stay within their bound.
#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <span>
#include <string>
#include <string_view>

#include "entry/conversion.h"
#include "entry/messages.h"
#include "fuzz/document_check.h"
#include "fuzz/fuzz_input.h"
#include "model/layers.h"

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  vorlane::fuzz::prepareFuzzing();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using namespace vorlane;
  using fuzz::fail;
  const InputBuffer input{"input.vfk",
                          std::span(reinterpret_cast<const char*>(data), size)};
  // The input's size picks the origin, the drawing and the format, so that
  // each is fuzzed.
  ConversionSettings settings;
  settings.options.centreOrigin = size % 2 == 1;
  settings.options.exact = size / 2 % 2 == 1;
  settings.options.format = size / 4 % 4 == 3 ? DrawingFormat::kDxf : DrawingFormat::kSvg;
  settings.limits = fuzz::kFuzzLimits;
  std::string messages;
  PrintedMessages printed(&messages);
  const BufferConversion converted = convertVfkBuffers(std::span(&input, 1), settings, printed);
  const Conversion& conversion = converted.conversion;
  printed.finish();
  if (!conversion.opened || !conversion.readWhole) fail("a readable file was not read");
  if (!conversion.written) fail("the drawing was not written");
  if (std::count(messages.begin(), messages.end(), '\n') > PrintedMessages::kMaxWarningLines + 1) {
    fail("more messages than their bound");
  }

  const std::string& drawing = converted.drawing;
  if (settings.options.format == DrawingFormat::kDxf) {
    if (!fuzz::dxfFault(drawing).empty()) fail(fuzz::dxfFault(drawing).data());
    return 0;
  }
  if (!fuzz::svgFault(drawing).empty()) fail(fuzz::svgFault(drawing).data());
  size_t position = 0;
  // The standard drawing's nine layers lead every drawing, in their order.
  for (size_t k = 0; k < kLayerCount; ++k) {
    const LayerStyle& layer = kLayerStyles[k];
    const std::string opening = "\r\n    <g layer=\"" + std::string(layer.name) + "\"";
    position = drawing.find(opening, position);
    if (position == std::string::npos) fail("a layer group is missing or out of order");
    position += opening.size();
  }
  return 0;
}

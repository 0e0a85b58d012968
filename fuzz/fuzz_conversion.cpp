// Fuzzes the whole conversion as the export runs it: whatever the file
// holds, it is read and leaves a complete drawing with the nine layer groups
// in their order.
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>

#include "entry/conversion.h"
#include "entry/messages.h"
#include "fuzz/fuzz_input.h"

namespace {

constexpr std::string_view kLayers[] = {
    "VL_mapove_znacky", "VL_hranice_parcel", "VL_text_parcel", "VL_BPEJ",          "VL_hranice_KU",
    "VL_hranice_budov", "VL_cisla_budov",    "VL_prvky_mapy",  "VL_vnitrni_kresby"};

constexpr std::string_view kEnd = "</svg>";

}  // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
  vorlane::fuzz::prepareFuzzing();
  return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  using vorlane::fuzz::fail;
  const vorlane::PathString path = vorlane::fuzz::writeInput(data, size);
  // Both origins, so that the centre's arithmetic is fuzzed too.
  vorlane::ConversionSettings settings;
  settings.options.centreOrigin = size % 2 == 1;
  settings.limits = vorlane::fuzz::kFuzzLimits;
  std::string messages;
  vorlane::PrintedMessages printed(&messages);
  const vorlane::Conversion conversion = vorlane::convertVfkFile(path, settings, printed);
  printed.finish();
  if (!conversion.opened || !conversion.readWhole) fail("a readable file was not read");
  if (!conversion.written) fail("the drawing was not written");

  const std::string drawing = vorlane::fuzz::readDrawing();
  if (drawing.size() < kEnd.size() ||
      drawing.compare(drawing.size() - kEnd.size(), kEnd.size(), kEnd) != 0) {
    fail("the drawing does not end with </svg>");
  }
  // Texts are escaped, so a group's opening cannot come from the file.
  size_t position = 0;
  for (const std::string_view layer : kLayers) {
    const std::string opening = "\r\n    <g layer=\"" + std::string(layer) + "\"";
    position = drawing.find(opening, position);
    if (position == std::string::npos) fail("a layer group is missing or out of order");
    position += opening.size();
  }
  return 0;
}

// The module the JavaScript package and the viewer page load: one
// conversion of VFK files held in memory, as the converter makes it from
// files of the same names, with its drawing, report and messages kept for
// the caller to read until the next conversion. No file system is used.
#include <emscripten/emscripten.h>

#include <cstdint>
#include <cstdlib>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "cli/batch.h"
#include "cli/options.h"
#include "cli/report.h"

namespace {

using vorlane::DrawingFormat;
using vorlane::InputBuffer;
using vorlane::cli::Options;

// What the last conversion gave, by the numbers of vorlane_result.
struct Result {
  std::string drawing;
  std::string report;
  std::string messages;  // the converter's: what it wrote, warnings
  std::string warnings;  // the library's export's, as it prints them
};
Result& result() {
  static Result kept;
  return kept;
}

// The options, one "name=value" a line: exact, format (svg or dxf), layers,
// without, units, centreOrigin, into (the drawing's name for several
// inputs). Returns false, with "why", for an option that is not known.
bool readOptions(std::string_view text, Options& options, std::string& why) {
  while (!text.empty()) {
    const size_t end = text.find('\n');
    const std::string_view line = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    if (line.empty()) continue;
    const size_t equals = line.find('=');
    const std::string_view name = line.substr(0, equals);
    const std::string value(equals == std::string_view::npos ? std::string_view()
                                                             : line.substr(equals + 1));
    if (name == "exact") {
      options.drawing.exact = value == "1";
    } else if (name == "format") {
      if (value != "svg" && value != "dxf") {
        why = "format must be \"svg\" or \"dxf\"";
        return false;
      }
      options.drawing.format = value == "dxf" ? DrawingFormat::kDxf : DrawingFormat::kSvg;
    } else if (name == "layers") {
      options.drawing.layers = value;
    } else if (name == "without") {
      options.drawing.withoutLayers = value;
    } else if (name == "units") {
      options.drawing.units = std::atoi(value.c_str());
    } else if (name == "centreOrigin") {
      options.drawing.centreOrigin = value == "1";
    } else if (name == "into") {
      options.into = value;
    } else {
      why = "no option " + std::string(name);
      return false;
    }
  }
  return true;
}

// Tells the caller, through the module's onProgress, how far reading is.
EM_JS(void, tellProgress, (double bytes), {
  if (Module["onProgress"]) Module["onProgress"](bytes);
});

}  // namespace

extern "C" {

// Converts the "count" inputs named names[k], of sizes[k] bytes at
// data[k], with the options of "optionsText" (readOptions). Returns 0 when
// every input was converted (as the converter's exit status), 1 when not,
// 2 for options it does not know (the messages say which).
EMSCRIPTEN_KEEPALIVE int vorlane_convert(int count, const char* const* names,
                                         const char* const* data, const uint32_t* sizes,
                                         const char* optionsText) {
  Result& out = result();
  out = Result();
  Options options;
  std::string why;
  if (!readOptions(optionsText, options, why)) {
    out.messages = "vorlane: " + why + "\n";
    return 2;
  }
  std::vector<InputBuffer> inputs;
  for (int k = 0; k < count; ++k) {
    inputs.push_back(InputBuffer{names[k], std::span<const char>(data[k], sizes[k])});
    options.inputs.push_back(names[k]);
  }
  if (count > 1 && options.into.empty()) {
    options.into = "drawing";
    options.into += vorlane::drawingExtension(options.drawing.format);
  }
  vorlane::cli::JobOutcome outcome;
  try {
    outcome = vorlane::cli::convertInMemory(inputs, options, out.drawing, [](uint64_t bytes) {
      tellProgress(static_cast<double>(bytes));
    });
  } catch (const std::bad_alloc&) {
    out.drawing.clear();
    out.messages = "vorlane: the conversion needs more memory than the browser gives it\n";
    return 1;
  }
  out.report = vorlane::cli::reportJson(options, std::span(&outcome.record, 1));
  out.messages = std::move(outcome.notes);
  out.warnings = std::move(outcome.messages);
  return outcome.converted ? 0 : 1;
}

// The last conversion's drawing (0), report (1), messages (2) or the
// library's warnings (3); its size goes to "size". Valid until the next
// conversion.
EMSCRIPTEN_KEEPALIVE const char* vorlane_result(int which, uint32_t* size) {
  Result& out = result();
  const std::string& text = which == 0   ? out.drawing
                            : which == 1 ? out.report
                            : which == 2 ? out.messages
                                         : out.warnings;
  *size = static_cast<uint32_t>(text.size());
  return text.data();
}

}  // extern "C"

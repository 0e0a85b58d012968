#include "dxf/write_dxf.h"

#include "dxf/dxf_drawing.h"
#include "dxf/dxf_frame.h"
#include "platform/output_buffer.h"

namespace vorlane {

DrawingCounts writeDxfDocument(const CadastralModel& model, DxfOutput& out,
                               const DrawingOptions& options) {
  DxfHandles handles;
  uint64_t handseed = 0;
  writeDxfStart(model, out, handles, handseed);
  out.group(0, "SECTION").group(2, "ENTITIES");
  DxfDrawing drawing(model, out, handles);
  const DrawingCounts counts = walkDrawing(model, options, drawing);
  out.group(0, "ENDSEC");
  writeDxfEnd(out, handles, handseed);
  return counts;
}

bool writeDxf(const CadastralModel& model, PathView outputPath, const DrawingOptions& options,
              std::string* failure, DrawingCounts* counts) {
  return writeFileThrough<DxfOutput>(
      outputPath,
      [&](DxfOutput& out) {
        const DrawingCounts drawn = writeDxfDocument(model, out, options);
        if (counts != nullptr) *counts = drawn;
      },
      failure);
}

}  // namespace vorlane

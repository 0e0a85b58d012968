#include "dxf/write_dxf.h"

#include "dxf/dxf_drawing.h"
#include "dxf/dxf_frame.h"
#include "platform/files.h"

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
  OutputFile file(outputPath);
  DxfOutput out(&file);
  const DrawingCounts drawn = writeDxfDocument(model, out, options);
  if (counts != nullptr) *counts = drawn;
  out.flush();
  const bool complete = out.complete() && file.close();
  if (!complete && failure != nullptr) *failure = file.failure();
  return complete;
}

}  // namespace vorlane

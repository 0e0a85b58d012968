#include "dxf/write_dxf.h"

#include "dxf/dxf_drawing.h"
#include "dxf/dxf_frame.h"

namespace vorlane {

DrawingCounts writeDxfDocument(const CadastralModel& model, DxfOutput& out,
                               const DrawingOptions& options, Diagnostics& diagnostics) {
  DxfHandles handles;
  uint64_t handseed = 0;
  const std::vector<DrawingLayer> layers = drawingLayers(model, options);
  writeDxfStart(model, layers, options.exact, out, handles, handseed);
  out.group(0, "SECTION").group(2, "ENTITIES");
  DxfDrawing drawing(model, out, handles, diagnostics);
  const DrawingCounts counts = walkDrawing(model, options, drawing);
  out.group(0, "ENDSEC");
  writeDxfEnd(out, handles, handseed);
  return counts;
}

}  // namespace vorlane

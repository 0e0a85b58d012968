// The DXF drawing: an ASCII DXF of AutoCAD 2013 (AC1027) with the same
// layers, line styles, texts and symbols as the SVG drawing, in metres, for
// any CAD program. Coordinates are the SVG's (x = -Y, y = -X of S-JTSK),
// which in a CAD program's y-up view put north at the top.
#ifndef VORLANE_DXF_WRITE_DXF_H_
#define VORLANE_DXF_WRITE_DXF_H_

#include "dxf/dxf_output.h"
#include "model/cadastral_model.h"
#include "model/diagnostics.h"
#include "model/drawing_options.h"
#include "model/drawing_walk.h"

namespace vorlane {

// Writes the whole document to "out"; returns what it holds. What cannot be
// drawn as the model holds it (a text too long) goes to "diagnostics".
DrawingCounts writeDxfDocument(const CadastralModel& model, DxfOutput& out,
                               const DrawingOptions& options, Diagnostics& diagnostics);

}  // namespace vorlane

#endif  // VORLANE_DXF_WRITE_DXF_H_

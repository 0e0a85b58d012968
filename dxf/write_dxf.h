// The DXF drawing: an ASCII DXF of AutoCAD 2013 (AC1027) with the same
// layers, line styles, texts and symbols as the SVG drawing, in metres, for
// any CAD program. Coordinates are the SVG's (x = -Y, y = -X of S-JTSK),
// which in a CAD program's y-up view put north at the top.
#ifndef VORLANE_DXF_WRITE_DXF_H_
#define VORLANE_DXF_WRITE_DXF_H_

#include <string>

#include "dxf/dxf_output.h"
#include "model/cadastral_model.h"
#include "model/drawing_options.h"
#include "model/drawing_walk.h"
#include "platform/path.h"

namespace vorlane {

// Writes the DXF drawing of "model" to the file at "outputPath", replacing
// an existing file. Returns whether the whole drawing reached the file;
// "failure", when given, receives the system's reason when it did not, and
// "counts" what the drawing holds.
bool writeDxf(const CadastralModel& model, PathView outputPath, const DrawingOptions& options,
              std::string* failure = nullptr, DrawingCounts* counts = nullptr);

// Writes the whole document to "out"; returns what it holds.
DrawingCounts writeDxfDocument(const CadastralModel& model, DxfOutput& out,
                               const DrawingOptions& options);

}  // namespace vorlane

#endif  // VORLANE_DXF_WRITE_DXF_H_

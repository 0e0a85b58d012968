// The SVG document of a drawing: the frame, and the nine layer groups in
// their fixed order.
#ifndef VORLANE_SVG_WRITE_SVG_H_
#define VORLANE_SVG_WRITE_SVG_H_

#include <string>

#include "platform/path.h"
#include "svg/svg_output.h"
#include "model/cadastral_model.h"

namespace vorlane {

// Writes the drawing of "model" to the file at "outputPath", replacing an
// existing file. Returns whether the whole drawing reached the file; when the
// file cannot be created or written, the model is drawn all the same and the
// writes go nowhere, and "failure", when given, receives the system's reason.
bool writeSvg(const CadastralModel& model, PathView outputPath, int units, bool centreOrigin,
              std::string* failure = nullptr);

// Writes the whole document to "out". "units" goes into the root element
// unchanged; "centreOrigin" puts the origin at the centre of the model's
// extent rather than at "0 0".
void writeDocument(const CadastralModel& model, SvgOutput& out, int units, bool centreOrigin);

}  // namespace vorlane

#endif  // VORLANE_SVG_WRITE_SVG_H_

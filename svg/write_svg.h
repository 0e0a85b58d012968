// The SVG document of a drawing: the frame, and the nine layer groups in
// their fixed order.
#ifndef VORLANE_SVG_WRITE_SVG_H_
#define VORLANE_SVG_WRITE_SVG_H_

#include "model/cadastral_model.h"
#include "model/drawing_options.h"
#include "model/drawing_walk.h"
#include "svg/svg_output.h"

namespace vorlane {

// The namespace of the exact drawing's attributes of parcels and buildings
// ("vl:cislo", "vl:vymera", ...).
inline constexpr std::string_view kAttributeNamespace = "urn:x-vorlane:atributy";

// Writes the whole document to "out": the standard or the exact drawing,
// with the options' units in the root element, and its origin at the centre
// of the model's extent or at "0 0".
// Returns what the drawing holds.
DrawingCounts writeDocument(const CadastralModel& model, SvgOutput& out,
                            const DrawingOptions& options);

}  // namespace vorlane

#endif  // VORLANE_SVG_WRITE_SVG_H_

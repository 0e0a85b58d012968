// The parcel numbers with their descriptive arrows, and the building numbers.
#ifndef VORLANE_SVG_TEXT_LAYERS_H_
#define VORLANE_SVG_TEXT_LAYERS_H_

#include "model/cadastral_model.h"
#include "svg/svg_output.h"

namespace vorlane {

// Writes the group VL_text_parcel: every parcel's number texts, each with the
// parcel's id, then the arrows.
void writeParcelTextLayer(const CadastralModel& model, SvgOutput& out);

// Writes the arrow symbol and, for every arrow, a line from its parcel's
// number to the arrow and the arrow itself, into the open parcel text group.
void writeParcelArrows(const CadastralModel& model, SvgOutput& out, float strokeWidth);

// Writes the group VL_cisla_budov: each building's type abbreviation, followed
// for types 1 and 2 by its house number.
void writeBuildingNumberLayer(const CadastralModel& model, SvgOutput& out);

}  // namespace vorlane

#endif  // VORLANE_SVG_TEXT_LAYERS_H_

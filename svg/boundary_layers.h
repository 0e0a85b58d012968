// The layers of lines: parcel borders, soil-valuation (BPEJ) unit borders with
// their codes, the cadastral-area border, building outlines, and the map
// elements (free texts and inner drawing lines).
#ifndef VORLANE_SVG_BOUNDARY_LAYERS_H_
#define VORLANE_SVG_BOUNDARY_LAYERS_H_

#include "model/cadastral_model.h"
#include "svg/svg_output.h"

namespace vorlane {

void writeParcelBorders(const CadastralModel& model, SvgOutput& out);
void writeBpejBorders(const CadastralModel& model, SvgOutput& out);
void writeCadastralAreaBorder(const CadastralModel& model, SvgOutput& out);
void writeBuildingBorders(const CadastralModel& model, SvgOutput& out);
void writeMapElements(const CadastralModel& model, SvgOutput& out);

}  // namespace vorlane

#endif  // VORLANE_SVG_BOUNDARY_LAYERS_H_

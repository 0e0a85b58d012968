// The first layer of a drawing: the map symbol library and the placements of
// the parcels' land-use symbols and the buildings' type symbols.
#ifndef VORLANE_SVG_SYMBOL_LAYER_H_
#define VORLANE_SVG_SYMBOL_LAYER_H_

#include "model/cadastral_model.h"
#include "svg/svg_output.h"

namespace vorlane {

// Writes the 21 symbol definitions, "VL_symbol_302" to "VL_symbol_804".
void writeSymbolDefinitions(SvgOutput& out);

// Writes the group VL_mapove_znacky: the library, then one placement for
// every parcel and then every building whose symbol code is not 0.
void writeSymbolLayer(const CadastralModel& model, SvgOutput& out);

}  // namespace vorlane

#endif  // VORLANE_SVG_SYMBOL_LAYER_H_

// The map symbols as SVG "symbol" definitions, "VL_symbol_" and the
// symbol's name, which the drawing's "use" elements refer to.
#ifndef VORLANE_SVG_SYMBOL_LIBRARY_H_
#define VORLANE_SVG_SYMBOL_LIBRARY_H_

#include "model/map_symbols.h"
#include "svg/svg_output.h"

namespace vorlane {

// Writes one symbol's definition, indented as a child of a layer group.
void writeSymbolDefinition(SvgOutput& out, const MapSymbol& symbol);

}  // namespace vorlane

#endif  // VORLANE_SVG_SYMBOL_LIBRARY_H_

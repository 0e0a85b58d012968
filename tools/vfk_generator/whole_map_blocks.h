// What an export holds beyond the drawing blocks that every generated file
// has: the control network (OBBP), measured positions (SPOL), a geometric
// plan over some parcels (SBPG, HPG, PARG, OPG) and neighbours' fragments
// (lines of parcels the file has no PAR row for).
#ifndef VORLANE_TOOLS_VFK_GENERATOR_WHOLE_MAP_BLOCKS_H_
#define VORLANE_TOOLS_VFK_GENERATOR_WHOLE_MAP_BLOCKS_H_

#include "tools/vfk_generator/layout.h"
#include "tools/vfk_generator/records.h"
#include "tools/vfk_generator/row_writer.h"

namespace vfkgen {

// Written after the drawing blocks, whose points and lines they name.
void writeWholeMapBlocks(RowWriter& w, const Context& context, const Layout& layout);

}  // namespace vfkgen

#endif  // VORLANE_TOOLS_VFK_GENERATOR_WHOLE_MAP_BLOCKS_H_

// The header and the blocks the drawing is made from, with the blocks of
// the parcels' and buildings' registers that belong with them.
#ifndef VORLANE_TOOLS_VFK_GENERATOR_DRAWING_BLOCKS_H_
#define VORLANE_TOOLS_VFK_GENERATOR_DRAWING_BLOCKS_H_

#include "tools/vfk_generator/layout.h"
#include "tools/vfk_generator/records.h"
#include "tools/vfk_generator/row_writer.h"

namespace vfkgen {

// The H records, the cadastral area among them.
void writeHeader(RowWriter& w, const Context& context);

// Blocks that open an export: PAR, BUD, TYPBUD, DRUPOZ and TEL.
void writeParcelRegister(RowWriter& w, const Context& context, const Layout& layout);

// The geometry and its labels, in an order the reader can follow: SOBR,
// SBP, SBM, TYPPPD, HP, OP, OB, DPM, ZVB, HBPEJ, OBPEJ and OBDEBO.
void writeDrawingBlocks(RowWriter& w, const Context& context, const Layout& layout);

}  // namespace vfkgen

#endif  // VORLANE_TOOLS_VFK_GENERATOR_DRAWING_BLOCKS_H_

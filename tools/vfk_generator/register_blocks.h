// The blocks of the land register the drawing does not use: owners (OPSUB),
// ownership (VLA), rights (JPV), proceedings (RIZENI) and the objects they
// touched (OBJRIZ), deeds (LISTIN) and further survey points (SPOL). Their
// row counts follow a scale, which sets how much of the file they fill.
#ifndef VORLANE_TOOLS_VFK_GENERATOR_REGISTER_BLOCKS_H_
#define VORLANE_TOOLS_VFK_GENERATOR_REGISTER_BLOCKS_H_

#include <cstdint>

#include "tools/vfk_generator/layout.h"
#include "tools/vfk_generator/records.h"
#include "tools/vfk_generator/row_writer.h"

namespace vfkgen {

struct RegisterCounts {
  int subjects = 0;      // OPSUB
  int ownerships = 0;    // VLA
  int rights = 0;        // JPV
  int proceedings = 0;   // RIZENI
  int objects = 0;       // OBJRIZ
  int deeds = 0;         // LISTIN
  int otherPoints = 0;   // SPOL
};

// Row counts for a scale: at scale 1 a parcel brings about eight rows.
// Without "otherPoints" there are no further survey points: a file with the
// whole map gives the measured positions of its own points instead, as
// real files do. A block of no rows is not written.
RegisterCounts registerCounts(const Context& context, const Layout& layout, double scale,
                              bool otherPoints);

// The scale at which the blocks take about "bytes" bytes, measured on
// sample rows.
double scaleForBytes(const Context& context, const Layout& layout, uint64_t bytes,
                     bool otherPoints);

void writeRegisterBlocks(RowWriter& w, const Context& context, const Layout& layout,
                         const RegisterCounts& counts);

}  // namespace vfkgen

#endif  // VORLANE_TOOLS_VFK_GENERATOR_REGISTER_BLOCKS_H_

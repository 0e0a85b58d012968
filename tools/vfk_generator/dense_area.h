// A dense area, for measuring memory per parcel: many small triangular
// parcels and nothing else, with only the columns the drawing reads.
#ifndef VORLANE_TOOLS_VFK_GENERATOR_DENSE_AREA_H_
#define VORLANE_TOOLS_VFK_GENERATOR_DENSE_AREA_H_

#include <cstdint>

#include "tools/vfk_generator/row_writer.h"

namespace vfkgen {

// Writes a whole file of "parcels" triangles: squares of a grid of survey
// points, each cut along a diagonal into two parcels. Every parcel is one
// closed boundary of four SBP rows and has a "PC" number label. The seed
// moves the points a little.
void writeDenseArea(RowWriter& w, uint64_t seed, int parcels);

}  // namespace vfkgen

#endif  // VORLANE_TOOLS_VFK_GENERATOR_DENSE_AREA_H_

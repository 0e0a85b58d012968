// Parcel boundaries traced through the grid's cell sides.
#ifndef VORLANE_TOOLS_VFK_GENERATOR_BOUNDARIES_H_
#define VORLANE_TOOLS_VFK_GENERATOR_BOUNDARIES_H_

#include <vector>

#include "tools/vfk_generator/grid.h"

namespace vfkgen {

struct GridLine {
  std::vector<int> vertices;  // Grid vertex indices, in order along the line
  int parcelA = -1;
  int parcelB = -1;  // -1 on the edge of the grid
};

// The boundaries between the parcels of the grid's cells (Grid::owner):
// every maximal run of cell sides with the same parcel on either side, cut
// into pieces of at most kMaxLineSides sides. A run ends where a third
// parcel meets it, so every line ends at a point it shares with the next
// line of both its parcels.
constexpr int kMaxLineSides = 5;
std::vector<GridLine> traceBoundaries(const Grid& grid);

}  // namespace vfkgen

#endif  // VORLANE_TOOLS_VFK_GENERATOR_BOUNDARIES_H_

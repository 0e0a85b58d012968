// What the stages of a layout share while they draw the cadastral area: the
// grid, the layout as far as it is made, where each parcel lies in the grid
// and which cells are taken. The stages run in this order, each with a random
// stream of its own, and each adds its part to the layout.
#ifndef VORLANE_TOOLS_VFK_GENERATOR_PLAN_H_
#define VORLANE_TOOLS_VFK_GENERATOR_PLAN_H_

#include <algorithm>
#include <array>
#include <vector>

#include "tools/vfk_generator/geometry.h"
#include "tools/vfk_generator/grid.h"
#include "tools/vfk_generator/layout.h"
#include "tools/vfk_generator/random.h"

namespace vfkgen {

// A rectangle of cells, corners included.
struct Block {
  int col0 = 0;
  int row0 = 0;
  int col1 = 0;
  int row1 = 0;
  int width() const { return col1 - col0 + 1; }
  int height() const { return row1 - row0 + 1; }
};

// Where a parcel lies in the grid.
struct Shape {
  Block block;            // its cells, or for a stream their bounding box
  bool rectangle = true;  // false for a stream piece and for a parcel in a cell
  int anchorCol = 0;      // a cell of a stream piece, for its label
  int anchorRow = 0;
  Quad quad;  // a parcel in a cell: its corners, ring order
};

struct Plan {
  Grid grid;
  Layout layout;
  std::vector<Shape> shapes;  // per parcel
  std::vector<bool> busy;     // per cell: holds a parcel, building or line already
  int gridPointCount = 0;     // the survey points of the parcel lines come first

  int addPoint(const Coord& at) {
    layout.points.push_back(at);
    return static_cast<int>(layout.points.size()) - 1;
  }

  // The point at (fu, fv) of a rectangle, in cell units from its corner.
  Coord blockPoint(const Block& block, double fu, double fv) const {
    const int c = std::min(static_cast<int>(fu), block.width() - 1);
    const int r = std::min(static_cast<int>(fv), block.height() - 1);
    return grid.cellPoint(block.col0 + c, block.row0 + r, fu - c, fv - r);
  }
};

// The parcels of the grid's cells, the small parcels inside some of them,
// and their numbers (parcels.cpp).
void placeParcels(Plan& plan, Rng& rng);
// The parcel boundaries, through survey points (lines.cpp).
void placeLines(Plan& plan, Rng& rng);
// Buildings on building plots and some other parcels (buildings.cpp).
void placeBuildings(Plan& plan, Rng& rng);
// Number labels, land-use symbols and arrows of the parcels (labels.cpp).
void placeLabels(Plan& plan, Rng& rng);
// Inner drawing lines, local names, boundary marks, easements and
// definition points (map_elements.cpp).
void placeMapElements(Plan& plan, Rng& rng);
// Soil-valuation units and their borders (bpej.cpp).
void placeBpejUnits(Plan& plan, Rng& rng);

}  // namespace vfkgen

#endif  // VORLANE_TOOLS_VFK_GENERATOR_PLAN_H_

// The order of the stages of a layout, and the random stream of each.
#include "tools/vfk_generator/layout.h"

#include <algorithm>
#include <utility>

#include "tools/vfk_generator/plan.h"

namespace vfkgen {

namespace {

// Cells per parcel, measured on generated layouts, to size the grid.
constexpr double kCellsPerParcel = 2.83;

// Purposes of the random streams (Rng::forPurpose).
enum Purpose : uint64_t {
  kGridPurpose = 1,
  kParcelPurpose,
  kLinePurpose,
  kBuildingPurpose,
  kLabelPurpose,
  kMapPurpose,
  kBpejPurpose,
};

// The stages after the grid, in order, each with a random stream of its own.
struct Stage {
  Purpose purpose;
  void (*place)(Plan&, Rng&);
};
constexpr Stage kStages[] = {
    {kParcelPurpose, placeParcels}, {kLinePurpose, placeLines},
    {kBuildingPurpose, placeBuildings}, {kLabelPurpose, placeLabels},
    {kMapPurpose, placeMapElements}, {kBpejPurpose, placeBpejUnits},
};

}  // namespace

Layout makeLayout(uint64_t seed, int targetParcels) {
  Plan plan;
  Rng gridRng = Rng::forPurpose(seed, kGridPurpose);
  plan.grid = makeGrid(gridRng, static_cast<int>(std::max(targetParcels, 6) * kCellsPerParcel));
  for (const Stage& stage : kStages) {
    Rng rng = Rng::forPurpose(seed, stage.purpose);
    stage.place(plan, rng);
  }
  plan.layout.northWest = plan.grid.vertex(0, 0);
  plan.layout.southEast = plan.grid.vertex(plan.grid.cols, plan.grid.rows);
  return std::move(plan.layout);
}

int32_t degreesToGon(int degrees) {
  // degrees * 400 / 360 gon, in 1e-4 gon, rounded.
  return static_cast<int32_t>((static_cast<int64_t>(degrees) * 100'000 + 4) / 9);
}

}  // namespace vfkgen

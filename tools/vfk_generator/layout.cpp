// The order of the stages of a layout, and the random stream of each.
#include "tools/vfk_generator/layout.h"

#include <algorithm>
#include <cmath>
#include <utility>
#include <vector>

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

// Twice the area of the rings a parcel's lines close, in cm², each ring
// once; 0 where they do not close. The largest ring is the parcel's
// outline, the others are its holes.
double twiceRingArea(const Layout& layout, const std::vector<const ParcelLine*>& lines) {
  std::vector<bool> used(lines.size(), false);
  std::vector<double> rings;
  for (size_t first = 0; first < lines.size(); ++first) {
    if (used[first]) continue;
    used[first] = true;
    std::vector<int> ring = lines[first]->points;
    while (ring.back() != ring.front()) {
      bool found = false;
      for (size_t k = 0; k < lines.size() && !found; ++k) {
        if (used[k]) continue;
        const std::vector<int>& points = lines[k]->points;
        if (points.front() == ring.back()) {
          ring.insert(ring.end(), points.begin() + 1, points.end());
        } else if (points.back() == ring.back()) {
          ring.insert(ring.end(), points.rbegin() + 1, points.rend());
        } else {
          continue;
        }
        used[k] = found = true;
      }
      if (!found) return 0.0;
    }
    double twice = 0.0;
    for (size_t k = 0; k + 1 < ring.size(); ++k) {
      const Coord& a = layout.points[static_cast<size_t>(ring[k])];
      const Coord& b = layout.points[static_cast<size_t>(ring[k + 1])];
      twice += static_cast<double>(a.y) * static_cast<double>(b.x) -
               static_cast<double>(b.y) * static_cast<double>(a.x);
    }
    rings.push_back(std::abs(twice));
  }
  if (rings.empty()) return 0.0;
  std::sort(rings.begin(), rings.end());
  double area = rings.back();
  for (size_t k = 0; k + 1 < rings.size(); ++k) area -= rings[k];
  return area;
}

// Each parcel's registered area as its border gives it, in whole m², as an
// export's areas computed from coordinates are.
void measureAreas(Layout& layout) {
  std::vector<std::vector<const ParcelLine*>> linesOf(layout.parcels.size());
  for (const ParcelLine& line : layout.lines) {
    for (const int parcel : {line.parcel1, line.parcel2}) {
      if (parcel >= 0) linesOf[static_cast<size_t>(parcel)].push_back(&line);
    }
  }
  for (size_t p = 0; p < layout.parcels.size(); ++p) {
    const double twice = twiceRingArea(layout, linesOf[p]);
    if (twice > 0) {
      layout.parcels[p].areaSquareMetres = std::max<int64_t>(1, std::llround(twice / 20'000));
    }
  }
}

}  // namespace

Layout makeLayout(uint64_t seed, int targetParcels) {
  Plan plan;
  Rng gridRng = Rng::forPurpose(seed, kGridPurpose);
  plan.grid = makeGrid(gridRng, static_cast<int>(std::max(targetParcels, 6) * kCellsPerParcel));
  for (const Stage& stage : kStages) {
    Rng rng = Rng::forPurpose(seed, stage.purpose);
    stage.place(plan, rng);
  }
  measureAreas(plan.layout);
  plan.layout.northWest = plan.grid.vertex(0, 0);
  plan.layout.southEast = plan.grid.vertex(plan.grid.cols, plan.grid.rows);
  return std::move(plan.layout);
}

int32_t degreesToGon(int degrees) {
  // degrees * 400 / 360 gon, in 1e-4 gon, rounded.
  return static_cast<int32_t>((static_cast<int64_t>(degrees) * 100'000 + 4) / 9);
}

}  // namespace vfkgen

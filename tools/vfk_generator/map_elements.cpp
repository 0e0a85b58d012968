// Map elements: inner drawing lines, local names, boundary marks,
// easements and definition points.
#include <algorithm>

#include "tools/vfk_generator/plan.h"

namespace vfkgen {

namespace {

class MapElementStage {
 public:
  explicit MapElementStage(Plan& plan) : plan_(plan) {}

  std::vector<int> addLinePoints(Rng& rng, int col, int row) {
    std::vector<int> points;
    const int middle = rng.range(0, 2);
    const double v = rng.between(0.2, 0.3);
    for (int k = 0; k <= middle + 1; ++k) {
      const double u = 0.1 + 0.8 * k / (middle + 1);
      points.push_back(
          plan_.addPoint(plan_.grid.cellPoint(col, row, u, v + rng.between(-0.05, 0.05))));
    }
    return points;
  }

  void placeMapElements(Rng& rng) {
    const int parcels = static_cast<int>(plan_.layout.parcels.size());
    // Inner drawing lines across free cells of fields and gardens.
    const int lines = std::max(1, parcels / 30);
    for (int attempt = 0;
         attempt < lines * 20 && static_cast<int>(plan_.layout.innerLines.size()) < lines;
         ++attempt) {
      const auto i = static_cast<size_t>(rng.below(static_cast<uint64_t>(parcels)));
      const Shape& shape = plan_.shapes[i];
      const Use use = plan_.layout.parcels[i].use;
      if (!shape.rectangle || plan_.layout.parcels[i].host != -1 || use == Use::kRoad) continue;
      const auto cell =
          static_cast<size_t>(plan_.grid.cellIndex(shape.block.col0, shape.block.row0));
      if (plan_.busy[cell]) continue;
      plan_.busy[cell] = true;
      plan_.layout.innerLines.push_back(addLinePoints(rng, shape.block.col0, shape.block.row0));
    }

    // Local names; the first text is the area's own name.
    const int texts = std::max(2, parcels / 50);
    for (int t = 0; t < texts; ++t) {
      MapText text;
      const int col = rng.range(0, plan_.grid.cols - 1);
      const int row = rng.range(0, plan_.grid.rows - 1);
      text.at.at = plan_.grid.cellPoint(col, row, 0.5, 0.3);
      if (t == 0) {
        text.name = -1;
        text.typeCode = 1005;
        text.at.reference = 2;
      } else {
        text.name = rng.range(0, 1'000'000);  // reduced modulo the list by the writer
        if (rng.chance(0.2)) {
          text.typeCode = 1015;
          text.size = 23;
          text.at.angle = degreesToGon(rng.range(1, 359));
        }
      }
      plan_.layout.mapTexts.push_back(text);
    }

    // Boundary marks on some survey points, easements along some
    // boundaries, definition points of some parcels.
    for (int p = 0; p < plan_.gridPointCount; ++p) {
      if (rng.chance(0.12)) plan_.layout.boundaryMarks.push_back(p);
    }
    const int easements = std::max(1, parcels / 40);
    for (int e = 0; e < easements; ++e) {
      const ParcelLine& line = plan_.layout.lines[rng.below(plan_.layout.lines.size())];
      plan_.layout.easements.emplace_back(
          line.points.begin(),
          line.points.begin() + std::min<ptrdiff_t>(3, static_cast<ptrdiff_t>(line.points.size())));
    }
    for (int p = 0; p < parcels; ++p) {
      if (rng.chance(0.3)) plan_.layout.definitionPoints.push_back(p);
    }
  }

 private:
  Plan& plan_;
};

}  // namespace

void placeMapElements(Plan& plan, Rng& rng) { MapElementStage(plan).placeMapElements(rng); }

}  // namespace vfkgen

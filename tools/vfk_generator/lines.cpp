// The parcel boundaries (HP lines) through survey points.
#include <algorithm>
#include <utility>

#include "tools/vfk_generator/boundaries.h"
#include "tools/vfk_generator/plan.h"

namespace vfkgen {

// The grid's boundaries and those around the parcels in cells, ordered as an
// export lists them: grouped by the first parcel they belong to, but not in
// ring order, and some groups shuffled.
void placeLines(Plan& plan, Rng& rng) {
  struct Pending {
    std::vector<int> vertices;  // grid vertices, or -1 - i for hole corner i
    int parcel1;
    int parcel2;
    int group;
  };
  std::vector<Pending> pending;
  for (GridLine& line : traceBoundaries(plan.grid)) {
    Pending p{std::move(line.vertices), line.parcelA, line.parcelB, line.parcelA};
    if (p.parcel2 != -1) {
      p.group = std::min(p.parcel1, p.parcel2);
      if (rng.chance(0.5)) std::swap(p.parcel1, p.parcel2);
    }
    pending.push_back(std::move(p));
  }
  std::vector<Coord> holeCorners;
  for (size_t i = 0; i < plan.layout.parcels.size(); ++i) {
    const Parcel& parcel = plan.layout.parcels[i];
    if (parcel.host == -1) continue;
    const auto& quad = plan.shapes[i].quad;
    const int first = -1 - static_cast<int>(holeCorners.size());
    holeCorners.insert(holeCorners.end(), quad.begin(), quad.end());
    // Two lines: a parcel whose ring is one closed line is not drawn well.
    const int self = static_cast<int>(i);
    pending.push_back({{first, first - 1, first - 2}, self, parcel.host, parcel.host});
    pending.push_back({{first - 2, first - 3, first}, parcel.host, self, parcel.host});
  }
  std::stable_sort(pending.begin(), pending.end(),
                   [](const Pending& a, const Pending& b) { return a.group < b.group; });
  for (size_t begin = 0; begin < pending.size();) {
    size_t end = begin;
    while (end < pending.size() && pending[end].group == pending[begin].group) ++end;
    if (end - begin >= 3 && rng.chance(0.2)) {
      for (size_t i = end - 1; i > begin; --i) {
        std::swap(pending[i], pending[begin + rng.below(i - begin + 1)]);
      }
    }
    begin = end;
  }

  std::vector<int> vertexPoint(plan.grid.vertices.size(), -1);
  std::vector<int> cornerPoint(holeCorners.size(), -1);
  for (Pending& p : pending) {
    if (rng.chance(0.5)) std::reverse(p.vertices.begin(), p.vertices.end());
    ParcelLine line;
    line.parcel1 = p.parcel1;
    line.parcel2 = p.parcel2;
    line.typeCode = p.parcel2 == -1 ? 20602 : 21900;
    line.ordinalsBackwards = rng.chance(0.25);
    for (const int v : p.vertices) {
      int& point =
          v >= 0 ? vertexPoint[static_cast<size_t>(v)] : cornerPoint[static_cast<size_t>(-1 - v)];
      if (point == -1) {
        point = plan.addPoint(v >= 0 ? plan.grid.vertices[static_cast<size_t>(v)]
                                     : holeCorners[static_cast<size_t>(-1 - v)]);
      }
      line.points.push_back(point);
    }
    plan.layout.lines.push_back(std::move(line));
  }
  plan.gridPointCount = static_cast<int>(plan.layout.points.size());
}

}  // namespace vfkgen

// Buildings: outlines of survey points, split into OB lines, with their
// types, house numbers and symbols.
#include <array>
#include <utility>

#include "tools/vfk_generator/plan.h"

namespace vfkgen {

namespace {

class BuildingStage {
 public:
  explicit BuildingStage(Plan& plan) : plan_(plan) {}

  // A building on every building plot, and on some gardens, yards and
  // fields, in the last cell of the parcel.
  void placeBuildings(Rng& rng) {
    for (size_t i = 0; i < plan_.layout.parcels.size(); ++i) {
      const Parcel& parcel = plan_.layout.parcels[i];
      const Shape& shape = plan_.shapes[i];
      if (parcel.use == Use::kBuildingPlot) {
        // One after another: the order of a call's arguments is the compiler's.
        const double bottom = rng.between(0.84, 0.9);
        const double top = rng.between(0.1, 0.16);
        const double right = rng.between(0.84, 0.9);
        const double left = rng.between(0.1, 0.16);
        const Quad box = insetQuad(shape.quad, left, right, top, bottom);
        addBuilding(rng, static_cast<int>(i), box);
        continue;
      }
      if (!shape.rectangle || !rng.chance(buildingChance(parcel.use))) continue;
      const int col = shape.block.col1;
      const int row = shape.block.row1;
      const auto cell = static_cast<size_t>(plan_.grid.cellIndex(col, row));
      if (plan_.busy[cell]) continue;
      plan_.busy[cell] = true;
      const double u0 = rng.between(0.58, 0.66);
      const double u1 = rng.between(0.84, 0.92);
      const double v0 = rng.between(0.1, 0.18);
      const double v1 = rng.between(0.38, 0.46);
      const Quad box = {
          plan_.grid.cellPoint(col, row, u0, v0), plan_.grid.cellPoint(col, row, u1, v0),
          plan_.grid.cellPoint(col, row, u1, v1), plan_.grid.cellPoint(col, row, u0, v1)};
      addBuilding(rng, static_cast<int>(i), box);
    }
  }

  static double buildingChance(Use use) {
    switch (use) {
      case Use::kGarden:
        return 0.55;
      case Use::kYard:
        return 0.5;
      case Use::kOtherArea:
        return 0.3;
      case Use::kArable:
      case Use::kMeadow:
      case Use::kOrchard:
        return 0.06;
      default:
        return 0.0;
    }
  }

  void addBuilding(Rng& rng, int parcel, const Quad& box) {
    Building building;
    building.parcel = parcel;
    // A rectangle, or an L; corners in the unit square of "box".
    static constexpr std::array<std::pair<double, double>, 4> kRectangle{
        {{0, 0}, {1, 0}, {1, 1}, {0, 1}}};
    static constexpr std::array<std::pair<double, double>, 6> kEll{
        {{0, 0}, {1, 0}, {1, 0.5}, {0.5, 0.5}, {0.5, 1}, {0, 1}}};
    const bool ell = rng.chance(0.25);
    auto addCorners = [&](const auto& shape) {
      for (const auto& [s, t] : shape)
        building.corners.push_back(plan_.addPoint(quadPoint(box, s, t)));
    };
    if (ell) {
      addCorners(kEll);
    } else {
      addCorners(kRectangle);
    }
    building.symbolAt = ell ? quadPoint(box, 0.28, 0.3) : quadPoint(box, 0.5, 0.4);
    building.numberAt = ell ? quadPoint(box, 0.25, 0.72) : quadPoint(box, 0.5, 0.72);
    splitOutline(rng, building);

    building.typeCode = 1 + rng.weighted(std::array<int, 6>{45, 12, 30, 6, 3, 4});
    const int index = static_cast<int>(plan_.layout.buildings.size());
    if (building.typeCode == 1) building.houseNumber = 1 + (descriptiveNumbers_++ % 9999);
    if (building.typeCode == 2) building.houseNumber = 1 + (registrationNumbers_++ % 9999);
    if (building.typeCode == 6) {
      building.symbol = 424;
    } else if (index % 61 == 17) {
      building.symbol = 409;  // a church
    } else if (index % 211 == 101) {
      building.symbol = 410;  // a synagogue
    } else {
      building.symbol = rng.chance(0.7) ? 404 : 402;
    }
    if (plan_.layout.parcels[static_cast<size_t>(parcel)].use == Use::kBuildingPlot) {
      plan_.layout.parcels[static_cast<size_t>(parcel)].building = index;
    }
    plan_.layout.buildings.push_back(std::move(building));
  }

  // An outline is written as several lines: one per side, or two or three
  // runs of sides starting anywhere on the ring.
  static void splitOutline(Rng& rng, Building& building) {
    const int k = static_cast<int>(building.corners.size());
    const int pieces = rng.chance(0.4) ? k : rng.range(2, 3);
    const int offset = rng.range(0, k - 1);
    for (int p = 0; p < pieces; ++p) {
      const int from = offset + p * k / pieces;
      const int to = offset + (p + 1) * k / pieces;
      std::vector<int> line;
      for (int c = from; c <= to; ++c) line.push_back(building.corners[static_cast<size_t>(c % k)]);
      building.lines.push_back(std::move(line));
    }
  }

 private:
  Plan& plan_;
  int descriptiveNumbers_ = 0;
  int registrationNumbers_ = 0;
};

}  // namespace

void placeBuildings(Plan& plan, Rng& rng) { BuildingStage(plan).placeBuildings(rng); }

}  // namespace vfkgen

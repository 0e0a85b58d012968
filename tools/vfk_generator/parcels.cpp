// The parcels: rectangles of the grid's free cells, road and stream pieces,
// small parcels inside a cell of another, and their numbers.
#include <algorithm>
#include <array>
#include <utility>

#include "tools/vfk_generator/plan.h"

namespace vfkgen {

namespace {

std::array<int, 18> landWeights(int cells) {
  // kArable, kHopField, kVineyard, kGarden, kOrchard, kMeadow, kPasture, kForest,
  // kPark, kCemetery, kBarren, kMonument, kYard, kOtherArea
  if (cells <= 2) return {14, 2, 2, 26, 6, 14, 2, 3, 3, 1, 4, 1, 9, 8, 0, 0, 0, 0};
  return {38, 3, 3, 4, 5, 15, 5, 17, 2, 2, 2, 1, 1, 2, 0, 0, 0, 0};
}

class ParcelStage {
 public:
  explicit ParcelStage(Plan& plan) : plan_(plan) {}

  int addParcel(Use use, const Shape& shape) {
    Parcel parcel;
    parcel.use = use;
    parcel.buildingPlot = use == Use::kBuildingPlot;
    plan_.layout.parcels.push_back(parcel);
    plan_.shapes.push_back(shape);
    return static_cast<int>(plan_.layout.parcels.size()) - 1;
  }

  // Rows are scanned left to right, top to bottom, and a parcel is made
  // where the scan meets its first cell, so numbers grow across the area.
  void makeParcels(Rng& rng) {
    for (int row = 0; row < plan_.grid.rows; ++row) {
      for (int col = 0; col < plan_.grid.cols; ++col) {
        if (plan_.grid.ownerAt(col, row) != -1) continue;
        if (plan_.grid.kindAt(col, row) == CellKind::kFree) {
          placeRectangle(rng, col, row);
        } else {
          fillComponent(col, row);
        }
      }
    }
  }

  bool freeCell(int col, int row) const {
    return col < plan_.grid.cols && row < plan_.grid.rows &&
           plan_.grid.kindAt(col, row) == CellKind::kFree && plan_.grid.ownerAt(col, row) == -1;
  }

  void assignCell(int col, int row, int parcel) {
    plan_.grid.owner[static_cast<size_t>(plan_.grid.cellIndex(col, row))] = parcel;
    Parcel& p = plan_.layout.parcels[static_cast<size_t>(parcel)];
    p.cellCount += 1;
    p.areaSquareMetres += plan_.grid.colWidth[static_cast<size_t>(col)] *
                          plan_.grid.rowHeight[static_cast<size_t>(row)] / 10'000;
  }

  // A rectangle of free cells from (col, row): small plots, blocks and long
  // field strips, cut short by whatever is taken already.
  void placeRectangle(Rng& rng, int col, int row) {
    int wantWidth = 1 + rng.weighted(std::array<int, 4>{40, 32, 18, 10});
    int wantHeight = 1 + rng.weighted(std::array<int, 4>{58, 30, 8, 4});
    if (rng.chance(0.12)) {
      wantWidth = 1;
      wantHeight = rng.range(3, 5);
    }
    int width = 1;
    while (width < wantWidth && freeCell(col + width, row)) ++width;
    int height = 1;
    while (height < wantHeight) {
      bool rowFree = true;
      for (int c = col; c < col + width; ++c) rowFree = rowFree && freeCell(c, row + height);
      if (!rowFree) break;
      ++height;
    }
    Shape shape;
    shape.block = Block{col, row, col + width - 1, row + height - 1};
    const auto use = static_cast<Use>(rng.weighted(landWeights(width * height)));
    const int parcel = addParcel(use, shape);
    for (int r = row; r < row + height; ++r) {
      for (int c = col; c < col + width; ++c) assignCell(c, r, parcel);
    }
  }

  // A road or stream parcel: the cells of its kind (and stream) connected
  // to (col, row).
  void fillComponent(int col, int row) {
    const CellKind kind = plan_.grid.kindAt(col, row);
    const int stream = plan_.grid.streamOf[static_cast<size_t>(plan_.grid.cellIndex(col, row))];
    Shape shape;
    shape.block = Block{col, row, col, row};
    shape.rectangle = kind != CellKind::kStream;
    const int parcel = addParcel(kind == CellKind::kStream ? Use::kStream : Use::kRoad, shape);
    std::vector<std::pair<int, int>> stack{{col, row}};
    std::vector<std::pair<int, int>> cells;
    assignCell(col, row, parcel);
    while (!stack.empty()) {
      const auto [c, r] = stack.back();
      stack.pop_back();
      cells.emplace_back(c, r);
      constexpr std::array<std::pair<int, int>, 4> kSteps{{{1, 0}, {-1, 0}, {0, 1}, {0, -1}}};
      for (const auto& [dc, dr] : kSteps) {
        const int nc = c + dc;
        const int nr = r + dr;
        if (nc < 0 || nr < 0 || nc >= plan_.grid.cols || nr >= plan_.grid.rows) continue;
        const auto cell = static_cast<size_t>(plan_.grid.cellIndex(nc, nr));
        if (plan_.grid.owner[cell] != -1 || plan_.grid.kind[cell] != kind ||
            plan_.grid.streamOf[cell] != stream) {
          continue;
        }
        assignCell(nc, nr, parcel);
        stack.emplace_back(nc, nr);
      }
    }
    std::sort(cells.begin(), cells.end(), [](const auto& a, const auto& b) {
      return a.second != b.second ? a.second < b.second : a.first < b.first;
    });
    Shape& stored = plan_.shapes[static_cast<size_t>(parcel)];
    for (const auto& [c, r] : cells) {
      stored.block.col0 = std::min(stored.block.col0, c);
      stored.block.col1 = std::max(stored.block.col1, c);
      stored.block.row0 = std::min(stored.block.row0, r);
      stored.block.row1 = std::max(stored.block.row1, r);
    }
    stored.anchorCol = cells[cells.size() / 2].first;
    stored.anchorRow = cells[cells.size() / 2].second;
  }

  // Small parcels inside the first cell of a larger one: building plots and
  // ponds. The larger parcel then has two rings.
  void placeHoles(Rng& rng) {
    const int gridParcels = static_cast<int>(plan_.layout.parcels.size());
    const int wanted = std::max(1, gridParcels / 45);
    int made = 0;
    for (int attempt = 0; attempt < wanted * 20 && made < wanted; ++attempt) {
      const int host = static_cast<int>(rng.below(static_cast<uint64_t>(gridParcels)));
      Parcel& hostParcel = plan_.layout.parcels[static_cast<size_t>(host)];
      const Shape& hostShape = plan_.shapes[static_cast<size_t>(host)];
      if (!hostShape.rectangle || hostParcel.use == Use::kRoad || hostParcel.hole != -1 ||
          hostParcel.cellCount < 2) {
        continue;
      }
      const int col = hostShape.block.col0;
      const int row = hostShape.block.row0;
      const double u0 = rng.between(0.12, 0.2);
      const double u1 = rng.between(0.5, 0.62);
      const double v0 = rng.between(0.12, 0.2);
      const double v1 = rng.between(0.5, 0.62);
      auto corner = [&](double u, double v) {
        // One after another: the order of a call's arguments is the compiler's.
        const double dv = rng.between(-0.03, 0.03);
        const double du = rng.between(-0.03, 0.03);
        return plan_.grid.cellPoint(col, row, u + du, v + dv);
      };
      Shape shape;
      shape.rectangle = false;
      shape.block = Block{col, row, col, row};
      shape.quad = {corner(u0, v0), corner(u1, v0), corner(u1, v1), corner(u0, v1)};
      const int hole = addParcel(rng.chance(0.75) ? Use::kBuildingPlot : Use::kPond, shape);
      Parcel& holeParcel = plan_.layout.parcels[static_cast<size_t>(hole)];
      Parcel& outer = plan_.layout.parcels[static_cast<size_t>(host)];  // the vector may have grown
      holeParcel.host = host;
      holeParcel.cellCount = 0;
      holeParcel.areaSquareMetres = std::max<int64_t>(1, quadArea(shape.quad) / 10'000);
      outer.hole = hole;
      outer.areaSquareMetres -= holeParcel.areaSquareMetres;
      plan_.busy[static_cast<size_t>(plan_.grid.cellIndex(col, row))] = true;
      ++made;
    }
  }

  // Land parcels and building plots are numbered in two series. A stem is
  // often split into several parcels, numbered stem/1, stem/2 and so on.
  void numberParcels(Rng& rng) {
    int landStem = 0;
    int plotStem = 0;
    int landLeft = 0;  // parcels still to come under the current stem
    int landSub = 0;
    for (Parcel& parcel : plan_.layout.parcels) {
      if (parcel.buildingPlot) {
        parcel.stem = ++plotStem;
        parcel.subdivision = rng.chance(0.1) ? rng.range(1, 3) : 0;
        continue;
      }
      if (landLeft == 0) {
        landStem += rng.chance(0.85) ? 1 : rng.range(2, 6);
        landLeft = rng.chance(0.35) ? rng.range(2, 5) : 1;
        landSub = landLeft > 1 ? 1 : 0;
      }
      parcel.stem = landStem;
      parcel.subdivision = landSub;
      if (landSub > 0) ++landSub;
      --landLeft;
    }
    plan_.layout.sheetCount = std::max(1, static_cast<int>(plan_.layout.parcels.size()) / 3);
    for (Parcel& parcel : plan_.layout.parcels) {
      parcel.sheet = static_cast<int>(rng.below(static_cast<uint64_t>(plan_.layout.sheetCount)));
    }
  }

 private:
  Plan& plan_;
};

}  // namespace

void placeParcels(Plan& plan, Rng& rng) {
  plan.busy.assign(plan.grid.owner.size(), false);
  ParcelStage stage(plan);
  stage.makeParcels(rng);
  stage.placeHoles(rng);
  stage.numberParcels(rng);
}

UseCodes useCodes(Use use) {
  switch (use) {
    case Use::kArable:
      return {2, 0, 0};
    case Use::kHopField:
      return {3, 0, 302};
    case Use::kVineyard:
      return {4, 0, 303};
    case Use::kGarden:
      return {5, 0, 304};
    case Use::kOrchard:
      return {6, 0, 305};
    case Use::kMeadow:
      return {7, 0, 306};
    case Use::kPasture:
      return {8, 0, 307};
    case Use::kForest:
      return {10, 0, 308};
    case Use::kPark:
      return {14, 19, 314};
    case Use::kCemetery:
      return {14, 21, 315};
    case Use::kBarren:
      return {14, 27, 316};
    case Use::kMonument:
      return {14, 22, 318};
    case Use::kYard:
      return {14, 12, 319};
    case Use::kOtherArea:
      return {14, 23, 0};
    case Use::kRoad:
      return {14, 17, 0};
    case Use::kStream:
      return {11, 7, 0};
    case Use::kPond:
      return {11, 6, 0};
    case Use::kBuildingPlot:
      return {13, 0, 0};
  }
  return {2, 0, 0};
}

}  // namespace vfkgen

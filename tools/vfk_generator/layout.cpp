#include "tools/vfk_generator/layout.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <utility>

#include "tools/vfk_generator/boundaries.h"
#include "tools/vfk_generator/geometry.h"
#include "tools/vfk_generator/grid.h"
#include "tools/vfk_generator/random.h"

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
  Block block;             // its cells, or for a stream their bounding box
  bool rectangle = true;   // false for a stream piece and for a parcel in a cell
  int anchorCol = 0;       // a cell of a stream piece, for its label
  int anchorRow = 0;
  std::array<Coord, 4> quad;  // a parcel in a cell: its corners, ring order
};

std::array<int, 18> landWeights(int cells) {
  // kArable, kHopField, kVineyard, kGarden, kOrchard, kMeadow, kPasture, kForest,
  // kPark, kCemetery, kBarren, kMonument, kYard, kOtherArea
  if (cells <= 2) return {14, 2, 2, 26, 6, 14, 2, 3, 3, 1, 4, 1, 9, 8, 0, 0, 0, 0};
  return {38, 3, 3, 4, 5, 15, 5, 17, 2, 2, 2, 1, 1, 2, 0, 0, 0, 0};
}

class Builder {
 public:
  Builder(uint64_t seed, int targetParcels) : seed_(seed), target_(std::max(targetParcels, 6)) {}

  Layout build() {
    Rng gridRng = Rng::forPurpose(seed_, kGridPurpose);
    grid_ = makeGrid(gridRng, static_cast<int>(target_ * kCellsPerParcel));
    busy_.assign(grid_.owner.size(), false);
    Rng parcelRng = Rng::forPurpose(seed_, kParcelPurpose);
    makeParcels(parcelRng);
    placeHoles(parcelRng);
    numberParcels(parcelRng);
    Rng lineRng = Rng::forPurpose(seed_, kLinePurpose);
    makeLines(lineRng);
    Rng buildingRng = Rng::forPurpose(seed_, kBuildingPurpose);
    placeBuildings(buildingRng);
    Rng labelRng = Rng::forPurpose(seed_, kLabelPurpose);
    placeLabels(labelRng);
    placeArrows(labelRng);
    Rng mapRng = Rng::forPurpose(seed_, kMapPurpose);
    placeMapElements(mapRng);
    Rng bpejRng = Rng::forPurpose(seed_, kBpejPurpose);
    placeBpejUnits(bpejRng);
    layout_.northWest = grid_.vertex(0, 0);
    layout_.southEast = grid_.vertex(grid_.cols, grid_.rows);
    return std::move(layout_);
  }

 private:
  // ---- parcels -------------------------------------------------------------

  int addParcel(Use use, const Shape& shape) {
    Parcel parcel;
    parcel.use = use;
    parcel.buildingPlot = use == Use::kBuildingPlot;
    layout_.parcels.push_back(parcel);
    shapes_.push_back(shape);
    return static_cast<int>(layout_.parcels.size()) - 1;
  }

  // Rows are scanned left to right, top to bottom, and a parcel is made
  // where the scan meets its first cell, so numbers grow across the area.
  void makeParcels(Rng& rng) {
    for (int row = 0; row < grid_.rows; ++row) {
      for (int col = 0; col < grid_.cols; ++col) {
        if (grid_.ownerAt(col, row) != -1) continue;
        if (grid_.kindAt(col, row) == CellKind::kFree) {
          placeRectangle(rng, col, row);
        } else {
          fillComponent(col, row);
        }
      }
    }
  }

  bool freeCell(int col, int row) const {
    return col < grid_.cols && row < grid_.rows && grid_.kindAt(col, row) == CellKind::kFree &&
           grid_.ownerAt(col, row) == -1;
  }

  void assignCell(int col, int row, int parcel) {
    grid_.owner[static_cast<size_t>(grid_.cellIndex(col, row))] = parcel;
    Parcel& p = layout_.parcels[static_cast<size_t>(parcel)];
    p.cellCount += 1;
    p.areaSquareMetres += grid_.colWidth[static_cast<size_t>(col)] *
                          grid_.rowHeight[static_cast<size_t>(row)] / 10'000;
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
    const CellKind kind = grid_.kindAt(col, row);
    const int stream = grid_.streamOf[static_cast<size_t>(grid_.cellIndex(col, row))];
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
        if (nc < 0 || nr < 0 || nc >= grid_.cols || nr >= grid_.rows) continue;
        const auto cell = static_cast<size_t>(grid_.cellIndex(nc, nr));
        if (grid_.owner[cell] != -1 || grid_.kind[cell] != kind || grid_.streamOf[cell] != stream) {
          continue;
        }
        assignCell(nc, nr, parcel);
        stack.emplace_back(nc, nr);
      }
    }
    std::sort(cells.begin(), cells.end(),
              [](const auto& a, const auto& b) { return a.second != b.second ? a.second < b.second : a.first < b.first; });
    Shape& stored = shapes_[static_cast<size_t>(parcel)];
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
    const int gridParcels = static_cast<int>(layout_.parcels.size());
    const int wanted = std::max(1, gridParcels / 45);
    int made = 0;
    for (int attempt = 0; attempt < wanted * 20 && made < wanted; ++attempt) {
      const int host = static_cast<int>(rng.below(static_cast<uint64_t>(gridParcels)));
      Parcel& hostParcel = layout_.parcels[static_cast<size_t>(host)];
      const Shape& hostShape = shapes_[static_cast<size_t>(host)];
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
        return grid_.cellPoint(col, row, u + rng.between(-0.03, 0.03), v + rng.between(-0.03, 0.03));
      };
      Shape shape;
      shape.rectangle = false;
      shape.block = Block{col, row, col, row};
      shape.quad = {corner(u0, v0), corner(u1, v0), corner(u1, v1), corner(u0, v1)};
      const int hole = addParcel(rng.chance(0.75) ? Use::kBuildingPlot : Use::kPond, shape);
      Parcel& holeParcel = layout_.parcels[static_cast<size_t>(hole)];
      Parcel& outer = layout_.parcels[static_cast<size_t>(host)];  // the vector may have grown
      holeParcel.host = host;
      holeParcel.cellCount = 0;
      holeParcel.areaSquareMetres = std::max<int64_t>(1, quadArea(shape.quad) / 10'000);
      outer.hole = hole;
      outer.areaSquareMetres -= holeParcel.areaSquareMetres;
      busy_[static_cast<size_t>(grid_.cellIndex(col, row))] = true;
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
    for (Parcel& parcel : layout_.parcels) {
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
    layout_.sheetCount = std::max(1, static_cast<int>(layout_.parcels.size()) / 3);
    for (Parcel& parcel : layout_.parcels) {
      parcel.sheet = static_cast<int>(rng.below(static_cast<uint64_t>(layout_.sheetCount)));
    }
  }

  // ---- boundaries ----------------------------------------------------------

  int addPoint(const Coord& at) {
    layout_.points.push_back(at);
    return static_cast<int>(layout_.points.size()) - 1;
  }

  // The grid's boundaries and those around the parcels in cells, ordered
  // as an export lists them: grouped by the first parcel they belong to,
  // but not in ring order, and some groups shuffled.
  void makeLines(Rng& rng) {
    struct Pending {
      std::vector<int> vertices;  // grid vertices, or -1 - i for hole corner i
      int parcel1;
      int parcel2;
      int group;
    };
    std::vector<Pending> pending;
    for (GridLine& line : traceBoundaries(grid_)) {
      Pending p{std::move(line.vertices), line.parcelA, line.parcelB, line.parcelA};
      if (p.parcel2 != -1) {
        p.group = std::min(p.parcel1, p.parcel2);
        if (rng.chance(0.5)) std::swap(p.parcel1, p.parcel2);
      }
      pending.push_back(std::move(p));
    }
    std::vector<Coord> holeCorners;
    for (size_t i = 0; i < layout_.parcels.size(); ++i) {
      const Parcel& parcel = layout_.parcels[i];
      if (parcel.host == -1) continue;
      const auto& quad = shapes_[i].quad;
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

    std::vector<int> vertexPoint(grid_.vertices.size(), -1);
    std::vector<int> cornerPoint(holeCorners.size(), -1);
    for (Pending& p : pending) {
      if (rng.chance(0.5)) std::reverse(p.vertices.begin(), p.vertices.end());
      ParcelLine line;
      line.parcel1 = p.parcel1;
      line.parcel2 = p.parcel2;
      line.typeCode = p.parcel2 == -1 ? 20602 : 21900;
      line.ordinalsBackwards = rng.chance(0.25);
      for (const int v : p.vertices) {
        int& point = v >= 0 ? vertexPoint[static_cast<size_t>(v)]
                            : cornerPoint[static_cast<size_t>(-1 - v)];
        if (point == -1) {
          point = addPoint(v >= 0 ? grid_.vertices[static_cast<size_t>(v)]
                                  : holeCorners[static_cast<size_t>(-1 - v)]);
        }
        line.points.push_back(point);
      }
      layout_.lines.push_back(std::move(line));
    }
    gridPointCount_ = static_cast<int>(layout_.points.size());
  }

  // ---- buildings -----------------------------------------------------------

  // A building on every building plot, and on some gardens, yards and
  // fields, in the last cell of the parcel.
  void placeBuildings(Rng& rng) {
    for (size_t i = 0; i < layout_.parcels.size(); ++i) {
      const Parcel& parcel = layout_.parcels[i];
      const Shape& shape = shapes_[i];
      if (parcel.use == Use::kBuildingPlot) {
        const Quad box = insetQuad(shape.quad, rng.between(0.1, 0.16), rng.between(0.84, 0.9),
                                   rng.between(0.1, 0.16), rng.between(0.84, 0.9));
        addBuilding(rng, static_cast<int>(i), box);
        continue;
      }
      if (!shape.rectangle || !rng.chance(buildingChance(parcel.use))) continue;
      const int col = shape.block.col1;
      const int row = shape.block.row1;
      const auto cell = static_cast<size_t>(grid_.cellIndex(col, row));
      if (busy_[cell]) continue;
      busy_[cell] = true;
      const double u0 = rng.between(0.58, 0.66);
      const double u1 = rng.between(0.84, 0.92);
      const double v0 = rng.between(0.1, 0.18);
      const double v1 = rng.between(0.38, 0.46);
      const Quad box = {grid_.cellPoint(col, row, u0, v0), grid_.cellPoint(col, row, u1, v0),
                        grid_.cellPoint(col, row, u1, v1), grid_.cellPoint(col, row, u0, v1)};
      addBuilding(rng, static_cast<int>(i), box);
    }
  }

  static double buildingChance(Use use) {
    switch (use) {
      case Use::kGarden: return 0.55;
      case Use::kYard: return 0.5;
      case Use::kOtherArea: return 0.3;
      case Use::kArable:
      case Use::kMeadow:
      case Use::kOrchard: return 0.06;
      default: return 0.0;
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
      for (const auto& [s, t] : shape) building.corners.push_back(addPoint(quadPoint(box, s, t)));
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
    const int index = static_cast<int>(layout_.buildings.size());
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
    if (layout_.parcels[static_cast<size_t>(parcel)].use == Use::kBuildingPlot) {
      layout_.parcels[static_cast<size_t>(parcel)].building = index;
    }
    layout_.buildings.push_back(std::move(building));
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

  // ---- labels --------------------------------------------------------------

  // The point at (fu, fv) of a rectangle, in cell units from its corner.
  Coord blockPoint(const Block& block, double fu, double fv) const {
    const int c = std::min(static_cast<int>(fu), block.width() - 1);
    const int r = std::min(static_cast<int>(fv), block.height() - 1);
    return grid_.cellPoint(block.col0 + c, block.row0 + r, fu - c, fv - r);
  }

  static int labelReference(Rng& rng) {
    const int kind = rng.weighted(std::array<int, 4>{82, 10, 5, 3});
    if (kind == 0) return 1;
    if (kind == 1) return 2;
    if (kind == 2) return rng.range(3, 9);
    return 0;
  }

  // Number labels in the middle of each parcel, turned along roads running
  // north-south and along streams; land-use symbols below them.
  void placeLabels(Rng& rng) {
    int symbols = 0;
    for (size_t i = 0; i < layout_.parcels.size(); ++i) {
      Parcel& parcel = layout_.parcels[i];
      const Shape& shape = shapes_[i];
      const Block& block = shape.block;
      const double w = block.width();
      const double h = block.height();
      parcel.number.reference = labelReference(rng);
      if (parcel.host != -1) {
        parcel.number.at = quadPoint(shape.quad, 0.5, 0.5);
      } else if (!shape.rectangle) {
        parcel.number.at = grid_.cellPoint(shape.anchorCol, shape.anchorRow, 0.5, 0.5);
        parcel.number.angle = degreesToGon(90);
      } else {
        parcel.number.at = blockPoint(block, w / 2, h / 2);
        if (parcel.use == Use::kRoad && h > w) {
          parcel.number.angle = degreesToGon(90);
        } else if (rng.chance(0.06)) {
          parcel.number.angle = degreesToGon(rng.range(1, 359));
        }
      }
      const int symbol = useCodes(parcel.use).symbol;
      if (symbol != 0 && shape.rectangle) {
        // Now and then a code the drawing has no symbol for.
        parcel.symbol = symbols++ % 97 == 13 ? 317 : symbol;
        parcel.symbolAt = blockPoint(block, w / 2, h / 2 + 0.3);
      }
    }
  }

  // Some one-cell parcels have their number written in the cell below (or
  // above) it, with an arrow pointing back into the parcel.
  void placeArrows(Rng& rng) {
    const int wanted = std::max(1, static_cast<int>(layout_.parcels.size()) / 25);
    int made = 0;
    // A second pass takes every candidate, so that a small area has one too.
    for (const double chance : {0.3, 1.0}) {
      for (size_t i = 0; i < layout_.parcels.size() && made < wanted; ++i) {
        if (!layout_.parcels[i].hasArrow && rng.chance(chance) && placeArrow(rng, i)) ++made;
      }
    }
  }

  bool placeArrow(Rng& rng, size_t i) {
    Parcel& parcel = layout_.parcels[i];
    const Shape& shape = shapes_[i];
    if (!shape.rectangle || parcel.cellCount != 1 || parcel.use == Use::kRoad ||
        parcel.hole != -1) {
      return false;
    }
    const int col = shape.block.col0;
    const int row = shape.block.row0;
    const bool below = row + 1 < grid_.rows;
    const int otherRow = below ? row + 1 : row - 1;
    if (otherRow < 0) return false;
    parcel.hasArrow = true;
    parcel.extraNumber.at = grid_.cellPoint(col, otherRow, 0.5, below ? 0.2 : 0.8);
    parcel.extraNumber.reference = rng.range(1, 6);
    parcel.arrow.at = grid_.cellPoint(col, row, 0.25, below ? 0.9 : 0.12);
    // The arrow points from the number to the parcel, in the drawing's
    // frame (x = -Y, y = -X).
    const double dx = static_cast<double>(parcel.extraNumber.at.y - parcel.arrow.at.y);
    const double dy = static_cast<double>(parcel.extraNumber.at.x - parcel.arrow.at.x);
    int degrees = static_cast<int>(std::llround(atan2Degrees(dy, dx)));
    if (degrees < 0) degrees += 360;
    parcel.arrow.angle = degreesToGon(degrees % 360);
    return true;
  }

  // ---- map elements --------------------------------------------------------

  std::vector<int> addLinePoints(Rng& rng, int col, int row) {
    std::vector<int> points;
    const int middle = rng.range(0, 2);
    const double v = rng.between(0.2, 0.3);
    for (int k = 0; k <= middle + 1; ++k) {
      const double u = 0.1 + 0.8 * k / (middle + 1);
      points.push_back(addPoint(grid_.cellPoint(col, row, u, v + rng.between(-0.05, 0.05))));
    }
    return points;
  }

  void placeMapElements(Rng& rng) {
    const int parcels = static_cast<int>(layout_.parcels.size());
    // Inner drawing lines across free cells of fields and gardens.
    const int lines = std::max(1, parcels / 30);
    for (int attempt = 0; attempt < lines * 20 &&
                          static_cast<int>(layout_.innerLines.size()) < lines;
         ++attempt) {
      const auto i = static_cast<size_t>(rng.below(static_cast<uint64_t>(parcels)));
      const Shape& shape = shapes_[i];
      const Use use = layout_.parcels[i].use;
      if (!shape.rectangle || layout_.parcels[i].host != -1 || use == Use::kRoad) continue;
      const auto cell = static_cast<size_t>(grid_.cellIndex(shape.block.col0, shape.block.row0));
      if (busy_[cell]) continue;
      busy_[cell] = true;
      layout_.innerLines.push_back(addLinePoints(rng, shape.block.col0, shape.block.row0));
    }

    // Local names; the first text is the area's own name.
    const int texts = std::max(2, parcels / 50);
    for (int t = 0; t < texts; ++t) {
      MapText text;
      const int col = rng.range(0, grid_.cols - 1);
      const int row = rng.range(0, grid_.rows - 1);
      text.at.at = grid_.cellPoint(col, row, 0.5, 0.3);
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
      layout_.mapTexts.push_back(text);
    }

    // Boundary marks on some survey points, easements along some
    // boundaries, definition points of some parcels.
    for (int p = 0; p < gridPointCount_; ++p) {
      if (rng.chance(0.12)) layout_.boundaryMarks.push_back(p);
    }
    const int easements = std::max(1, parcels / 40);
    for (int e = 0; e < easements; ++e) {
      const ParcelLine& line = layout_.lines[rng.below(layout_.lines.size())];
      layout_.easements.emplace_back(line.points.begin(),
                                     line.points.begin() + std::min<ptrdiff_t>(3, static_cast<ptrdiff_t>(line.points.size())));
    }
    for (int p = 0; p < parcels; ++p) {
      if (rng.chance(0.3)) layout_.definitionPoints.push_back(p);
    }
  }

  // ---- soil-valuation units ------------------------------------------------

  static std::vector<int> cuts(Rng& rng, int count) {
    std::vector<int> at{0};
    while (at.back() + 9 < count) at.push_back(at.back() + rng.range(4, 8));
    if (at.size() == 1 && count >= 4) at.push_back(count / 2);
    at.push_back(count);
    return at;
  }

  int uniqueBpejCode(Rng& rng, std::vector<bool>& used, int climate) {
    for (int attempt = 0; attempt < 128; ++attempt) {
      int code = 0;
      if (attempt < 64) {
        code = std::clamp(climate + rng.range(-1, 1), 0, 9) * 10'000 + rng.range(1, 78) * 100 +
               rng.range(0, 7) * 10 + rng.range(0, 4);
      } else {
        code = rng.range(1, 99'999);
      }
      if (!used[static_cast<size_t>(code)]) {
        used[static_cast<size_t>(code)] = true;
        return code;
      }
    }
    return rng.range(1, 99'999);  // more units than codes: a code repeats
  }

  // Units are blocks of about six by six cells; their borders follow the
  // grid lines, with coordinates copied from the grid's vertices.
  void placeBpejUnits(Rng& rng) {
    const std::vector<int> colCuts = cuts(rng, grid_.cols);
    const std::vector<int> rowCuts = cuts(rng, grid_.rows);
    const int unitCols = static_cast<int>(colCuts.size()) - 1;
    const int unitRows = static_cast<int>(rowCuts.size()) - 1;
    std::vector<bool> used(100'000, false);
    const int climate = rng.range(1, 8);
    for (int b = 0; b < unitRows; ++b) {
      for (int a = 0; a < unitCols; ++a) {
        const Block block{colCuts[static_cast<size_t>(a)], rowCuts[static_cast<size_t>(b)],
                          colCuts[static_cast<size_t>(a) + 1] - 1,
                          rowCuts[static_cast<size_t>(b) + 1] - 1};
        BpejUnit unit;
        unit.code = uniqueBpejCode(rng, used, climate);
        unit.label = blockPoint(block, block.width() / 2.0 + 0.3, block.height() / 2.0 - 0.2);
        layout_.bpejUnits.push_back(unit);
      }
    }
    auto unitAt = [unitCols](int a, int b) { return b * unitCols + a; };
    auto addBorder = [&](int unit1, int unit2, int col, int row, int dc, int dr, int steps) {
      BpejBorder border;
      border.unit1 = unit1;
      border.unit2 = unit2;
      for (int s = 0; s <= steps; ++s) border.points.push_back(grid_.vertex(col + s * dc, row + s * dr));
      if (rng.chance(0.5)) std::reverse(border.points.begin(), border.points.end());
      layout_.bpejBorders.push_back(std::move(border));
    };
    for (int b = 0; b < unitRows; ++b) {
      const int row = rowCuts[static_cast<size_t>(b)];
      const int steps = rowCuts[static_cast<size_t>(b) + 1] - row;
      for (int a = 0; a <= unitCols; ++a) {
        const int left = a > 0 ? unitAt(a - 1, b) : -1;
        const int right = a < unitCols ? unitAt(a, b) : -1;
        addBorder(left == -1 ? right : left, left == -1 ? -1 : right, colCuts[static_cast<size_t>(a)],
                  row, 0, 1, steps);
      }
    }
    for (int b = 0; b <= unitRows; ++b) {
      const int row = rowCuts[static_cast<size_t>(b)];
      for (int a = 0; a < unitCols; ++a) {
        const int col = colCuts[static_cast<size_t>(a)];
        const int steps = colCuts[static_cast<size_t>(a) + 1] - col;
        const int above = b > 0 ? unitAt(a, b - 1) : -1;
        const int below = b < unitRows ? unitAt(a, b) : -1;
        addBorder(above == -1 ? below : above, above == -1 ? -1 : below, col, row, 1, 0, steps);
      }
    }
  }

  uint64_t seed_;
  int target_;
  Grid grid_;
  Layout layout_;
  std::vector<Shape> shapes_;  // per parcel
  std::vector<bool> busy_;     // per cell: holds a parcel, building or line already
  int gridPointCount_ = 0;
  int descriptiveNumbers_ = 0;
  int registrationNumbers_ = 0;
};

}  // namespace

UseCodes useCodes(Use use) {
  switch (use) {
    case Use::kArable: return {2, 0, 0};
    case Use::kHopField: return {3, 0, 302};
    case Use::kVineyard: return {4, 0, 303};
    case Use::kGarden: return {5, 0, 304};
    case Use::kOrchard: return {6, 0, 305};
    case Use::kMeadow: return {7, 0, 306};
    case Use::kPasture: return {8, 0, 307};
    case Use::kForest: return {10, 0, 308};
    case Use::kPark: return {14, 19, 314};
    case Use::kCemetery: return {14, 21, 315};
    case Use::kBarren: return {14, 27, 316};
    case Use::kMonument: return {14, 22, 318};
    case Use::kYard: return {14, 12, 319};
    case Use::kOtherArea: return {14, 23, 0};
    case Use::kRoad: return {14, 17, 0};
    case Use::kStream: return {11, 7, 0};
    case Use::kPond: return {11, 6, 0};
    case Use::kBuildingPlot: return {13, 0, 0};
  }
  return {2, 0, 0};
}

int32_t degreesToGon(int degrees) {
  // degrees * 400 / 360 gon, in 1e-4 gon, rounded.
  return static_cast<int32_t>((static_cast<int64_t>(degrees) * 100'000 + 4) / 9);
}

Layout makeLayout(uint64_t seed, int targetParcels) { return Builder(seed, targetParcels).build(); }

}  // namespace vfkgen

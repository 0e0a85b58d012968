#include "tools/vfk_generator/boundaries.h"

#include <algorithm>
#include <array>
#include <utility>

namespace vfkgen {

namespace {

enum Direction { kEast = 0, kSouth = 1, kWest = 2, kNorth = 3 };

constexpr std::array<int, 4> kStepCol = {1, 0, -1, 0};
constexpr std::array<int, 4> kStepRow = {0, 1, 0, -1};

Direction opposite(Direction d) { return static_cast<Direction>((d + 2) % 4); }

// The cell sides of the grid, each with the parcels on its two sides.
class SideMap {
 public:
  explicit SideMap(const Grid& grid)
      : grid_(grid),
        horizontalSeen_(static_cast<size_t>((grid.rows + 1) * grid.cols), false),
        verticalSeen_(static_cast<size_t>(grid.rows * (grid.cols + 1)), false) {}

  // Whether the side leaving vertex (col, row) in direction d separates two
  // parcels; "sides" receives them, smaller first.
  bool isBoundary(int col, int row, Direction d, std::pair<int, int>& sides) const {
    int a = 0;
    int b = 0;
    switch (d) {
      case kEast:
        if (col >= grid_.cols) return false;
        a = grid_.ownerAt(col, row - 1);
        b = grid_.ownerAt(col, row);
        break;
      case kWest:
        if (col <= 0) return false;
        a = grid_.ownerAt(col - 1, row - 1);
        b = grid_.ownerAt(col - 1, row);
        break;
      case kSouth:
        if (row >= grid_.rows) return false;
        a = grid_.ownerAt(col - 1, row);
        b = grid_.ownerAt(col, row);
        break;
      case kNorth:
        if (row <= 0) return false;
        a = grid_.ownerAt(col - 1, row - 1);
        b = grid_.ownerAt(col, row - 1);
        break;
    }
    if (a == b) return false;
    sides = {std::min(a, b), std::max(a, b)};
    return true;
  }

  std::vector<bool>::reference seen(int col, int row, Direction d) {
    switch (d) {
      case kEast: return horizontalSeen_[static_cast<size_t>(row * grid_.cols + col)];
      case kWest: return horizontalSeen_[static_cast<size_t>(row * grid_.cols + col - 1)];
      case kSouth: return verticalSeen_[static_cast<size_t>(row * (grid_.cols + 1) + col)];
      case kNorth: break;
    }
    return verticalSeen_[static_cast<size_t>((row - 1) * (grid_.cols + 1) + col)];
  }

 private:
  const Grid& grid_;
  std::vector<bool> horizontalSeen_;
  std::vector<bool> verticalSeen_;
};

// A vertex where a line must end: where other than two boundary sides meet,
// or two with different parcel pairs.
std::vector<bool> findNodes(const Grid& grid, const SideMap& sides) {
  std::vector<bool> nodes(static_cast<size_t>((grid.rows + 1) * (grid.cols + 1)), false);
  for (int row = 0; row <= grid.rows; ++row) {
    for (int col = 0; col <= grid.cols; ++col) {
      int degree = 0;
      std::pair<int, int> first;
      bool samePair = true;
      for (int d = 0; d < 4; ++d) {
        std::pair<int, int> pair;
        if (!sides.isBoundary(col, row, static_cast<Direction>(d), pair)) continue;
        if (degree == 0) first = pair;
        samePair = samePair && pair == first;
        ++degree;
      }
      nodes[static_cast<size_t>(grid.vertexIndex(col, row))] =
          degree > 0 && (degree != 2 || !samePair);
    }
  }
  return nodes;
}

// Follows the boundary from vertex (col, row) in direction d until a node,
// or until it returns to where it began.
GridLine walk(const Grid& grid, SideMap& sides, const std::vector<bool>& nodes, int col, int row,
              Direction d) {
  GridLine line;
  std::pair<int, int> pair;
  sides.isBoundary(col, row, d, pair);
  line.parcelA = pair.second;  // the larger index is never the outside
  line.parcelB = pair.first;
  const int start = grid.vertexIndex(col, row);
  line.vertices.push_back(start);
  while (true) {
    sides.seen(col, row, d) = true;
    col += kStepCol[static_cast<size_t>(d)];
    row += kStepRow[static_cast<size_t>(d)];
    const int here = grid.vertexIndex(col, row);
    line.vertices.push_back(here);
    if (nodes[static_cast<size_t>(here)] || here == start) break;
    const Direction from = opposite(d);
    for (int next = 0; next < 4; ++next) {
      std::pair<int, int> nextPair;
      if (next != from && sides.isBoundary(col, row, static_cast<Direction>(next), nextPair)) {
        d = static_cast<Direction>(next);
        break;
      }
    }
  }
  return line;
}

// Cuts a line into pieces of at most kMaxLineSides sides, as even as can be;
// a closed line into two at least.
void appendPieces(GridLine line, std::vector<GridLine>& out) {
  const int sides = static_cast<int>(line.vertices.size()) - 1;
  int pieces = (sides + kMaxLineSides - 1) / kMaxLineSides;
  if (line.vertices.front() == line.vertices.back()) pieces = std::max(pieces, 2);
  if (pieces <= 1) {
    out.push_back(std::move(line));
    return;
  }
  int begin = 0;
  for (int p = 0; p < pieces; ++p) {
    const int length = sides / pieces + (p < sides % pieces ? 1 : 0);
    GridLine piece;
    piece.parcelA = line.parcelA;
    piece.parcelB = line.parcelB;
    piece.vertices.assign(line.vertices.begin() + begin, line.vertices.begin() + begin + length + 1);
    out.push_back(std::move(piece));
    begin += length;
  }
}

}  // namespace

std::vector<GridLine> traceBoundaries(const Grid& grid) {
  SideMap sides(grid);
  const std::vector<bool> nodes = findNodes(grid, sides);
  std::vector<GridLine> lines;
  // Lines from node to node, then any ring without a node.
  for (const bool fromNodesOnly : {true, false}) {
    for (int row = 0; row <= grid.rows; ++row) {
      for (int col = 0; col <= grid.cols; ++col) {
        if (fromNodesOnly && !nodes[static_cast<size_t>(grid.vertexIndex(col, row))]) continue;
        for (int d = 0; d < 4; ++d) {
          const auto direction = static_cast<Direction>(d);
          std::pair<int, int> pair;
          if (!sides.isBoundary(col, row, direction, pair) || sides.seen(col, row, direction)) {
            continue;
          }
          appendPieces(walk(grid, sides, nodes, col, row, direction), lines);
        }
      }
    }
  }
  return lines;
}

}  // namespace vfkgen

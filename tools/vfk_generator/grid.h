// The jittered grid under a layout: column widths, row heights, corner
// vertices, and which cells are roads and streams.
#ifndef VORLANE_TOOLS_VFK_GENERATOR_GRID_H_
#define VORLANE_TOOLS_VFK_GENERATOR_GRID_H_

#include <cstdint>
#include <vector>

#include "tools/vfk_generator/geometry.h"
#include "tools/vfk_generator/random.h"

namespace vfkgen {

enum class CellKind : uint8_t { kFree, kRoadRow, kRoadColumn, kStream };

struct Grid {
  int cols = 0;
  int rows = 0;
  std::vector<int64_t> colWidth;   // centimetres
  std::vector<int64_t> rowHeight;  // centimetres
  std::vector<Coord> vertices;     // (rows + 1) * (cols + 1), row by row
  std::vector<CellKind> kind;      // rows * cols, row by row
  std::vector<int> streamOf;       // the stream of a stream cell, else -1
  std::vector<int> owner;          // the parcel of a cell, -1 until assigned

  int vertexIndex(int col, int row) const { return row * (cols + 1) + col; }
  int cellIndex(int col, int row) const { return row * cols + col; }
  const Coord& vertex(int col, int row) const {
    return vertices[static_cast<size_t>(vertexIndex(col, row))];
  }
  // The parcel of a cell; -1 outside the grid.
  int ownerAt(int col, int row) const {
    if (col < 0 || row < 0 || col >= cols || row >= rows) return -1;
    return owner[static_cast<size_t>(cellIndex(col, row))];
  }
  CellKind kindAt(int col, int row) const { return kind[static_cast<size_t>(cellIndex(col, row))]; }

  // The point at (u, v) of a cell, both in [0, 1], from its four corners.
  // A cell is a convex quadrilateral, so the point lies inside it, or on its
  // side for u or v of 0 or 1.
  Coord cellPoint(int col, int row, double u, double v) const;
};

// A grid of about "cells" cells, with road rows and columns and streams.
Grid makeGrid(Rng& rng, int cells);

}  // namespace vfkgen

#endif  // VORLANE_TOOLS_VFK_GENERATOR_GRID_H_

#include "tools/vfk_generator/grid.h"

#include <algorithm>
#include <cmath>

namespace vfkgen {

namespace {

constexpr int64_t kMetre = 100;

int64_t roundToCentimetre(double value) { return static_cast<int64_t>(std::llround(value)); }

// Road rows every 10 to 18 rows, road columns every 12 to 24 columns; a
// grid too small for them gets one road row or none.
std::vector<bool> chooseRoads(Rng& rng, int count, int minimum, int first, int gapLo, int gapHi) {
  std::vector<bool> road(static_cast<size_t>(count), false);
  if (count < minimum) return road;
  int at = rng.range(std::min(first, count - 3), std::min(count - 3, first + 10));
  while (at <= count - 3) {
    road[static_cast<size_t>(at)] = true;
    at += rng.range(gapLo, gapHi);
  }
  return road;
}

std::vector<int64_t> chooseSizes(Rng& rng, const std::vector<bool>& road, int64_t lo, int64_t hi,
                                 int64_t roadLo, int64_t roadHi) {
  std::vector<int64_t> sizes(road.size());
  for (size_t i = 0; i < road.size(); ++i) {
    sizes[i] = road[i] ? rng.range64(roadLo, roadHi) : rng.range64(lo, hi);
  }
  return sizes;
}

// Vertices move by up to a tenth of the cells they touch, so that every
// cell stays convex.
void placeVertices(Rng& rng, Grid& grid) {
  int64_t totalWidth = 0;
  for (const int64_t w : grid.colWidth) totalWidth += w;
  int64_t totalHeight = 0;
  for (const int64_t h : grid.rowHeight) totalHeight += h;
  // Y grows to the west and X to the south; the area lies in Bohemia or
  // Moravia, at S-JTSK Y 700-800 km and X 1000-1200 km where it fits.
  const int64_t spanY = std::max<int64_t>(0, 100'000 * kMetre - totalWidth);
  const int64_t spanX = std::max<int64_t>(0, 200'000 * kMetre - totalHeight);
  const int64_t originY = 700'000 * kMetre + totalWidth + rng.range64(0, spanY);
  const int64_t originX = 1'000'000 * kMetre + rng.range64(0, spanX);

  grid.vertices.resize(static_cast<size_t>((grid.rows + 1) * (grid.cols + 1)));
  int64_t x = originX;
  for (int row = 0; row <= grid.rows; ++row) {
    const auto r = static_cast<size_t>(row);
    const int64_t up = row > 0 ? grid.rowHeight[r - 1] : grid.rowHeight[r];
    const int64_t down = row < grid.rows ? grid.rowHeight[r] : grid.rowHeight[r - 1];
    const int64_t jitterX = std::min(up, down) / 10;
    int64_t y = originY;
    for (int col = 0; col <= grid.cols; ++col) {
      const auto c = static_cast<size_t>(col);
      const int64_t left = col > 0 ? grid.colWidth[c - 1] : grid.colWidth[c];
      const int64_t right = col < grid.cols ? grid.colWidth[c] : grid.colWidth[c - 1];
      const int64_t jitterY = std::min(left, right) / 10;
      Coord& vertex = grid.vertices[static_cast<size_t>(grid.vertexIndex(col, row))];
      vertex.y = y + rng.range64(-jitterY, jitterY);
      vertex.x = x + rng.range64(-jitterX, jitterX);
      if (col < grid.cols) y -= grid.colWidth[c];
    }
    if (row < grid.rows) x += grid.rowHeight[r];
  }
}

// A stream runs down a pair of narrow columns from a spring near the top to
// a point near the bottom, switching between the two now and then. Each row
// holds one run of its cells and the runs of neighbouring rows overlap, so
// every piece between two road rows is one simple shape.
void runStream(Rng& rng, Grid& grid, int stream, int firstCol) {
  const int spring = rng.range(0, grid.rows / 4);
  const int mouth = rng.range(grid.rows - 1 - grid.rows / 4, grid.rows - 1);
  int col = firstCol + rng.range(0, 1);
  auto mark = [&](int c, int r) {
    const auto cell = static_cast<size_t>(grid.cellIndex(c, r));
    grid.kind[cell] = CellKind::kStream;
    grid.streamOf[cell] = stream;
  };
  for (int row = spring; row <= mouth; ++row) {
    if (grid.kindAt(col, row) == CellKind::kRoadRow) continue;  // the road bridges it
    mark(col, row);
    if (rng.chance(0.3)) {
      col = col == firstCol ? firstCol + 1 : firstCol;
      mark(col, row);
    }
  }
}

// Streams run in the bands between road columns, in two narrow columns of
// their own: at least one stream, and about every other band has one.
// Returns the first column of each stream.
std::vector<int> chooseStreams(Rng& rng, const std::vector<bool>& roadCol) {
  const int cols = static_cast<int>(roadCol.size());
  std::vector<std::pair<int, int>> bands;
  int start = 0;
  for (int col = 0; col <= cols; ++col) {
    if (col == cols || roadCol[static_cast<size_t>(col)]) {
      if (col - start >= 4) bands.emplace_back(start, col - 1);
      start = col + 1;
    }
  }
  std::vector<int> streams;
  if (bands.empty()) return streams;
  const auto sure = static_cast<size_t>(rng.below(bands.size()));
  for (size_t b = 0; b < bands.size(); ++b) {
    if (b != sure && !rng.chance(0.45)) continue;
    const auto [lo, hi] = bands[b];
    streams.push_back(rng.range(lo + 1, hi - 2));
  }
  return streams;
}

}  // namespace

Coord Grid::cellPoint(int col, int row, double u, double v) const {
  const Coord& p00 = vertex(col, row);
  const Coord& p10 = vertex(col + 1, row);
  const Coord& p01 = vertex(col, row + 1);
  const Coord& p11 = vertex(col + 1, row + 1);
  const double w00 = (1 - u) * (1 - v);
  const double w10 = u * (1 - v);
  const double w01 = (1 - u) * v;
  const double w11 = u * v;
  auto mix = [&](int64_t a, int64_t b, int64_t c, int64_t d) {
    return roundToCentimetre(w00 * static_cast<double>(a) + w10 * static_cast<double>(b) +
                             w01 * static_cast<double>(c) + w11 * static_cast<double>(d));
  };
  return Coord{mix(p00.y, p10.y, p01.y, p11.y), mix(p00.x, p10.x, p01.x, p11.x)};
}

Grid makeGrid(Rng& rng, int cells) {
  Grid grid;
  cells = std::max(cells, 16);
  // A little wider than high, as cadastral areas tend to be drawn.
  grid.cols = std::max(4, static_cast<int>(std::sqrt(static_cast<double>(cells) * 1.25)));
  grid.rows = std::max(4, (cells + grid.cols - 1) / grid.cols);

  const std::vector<bool> roadRow = chooseRoads(rng, grid.rows, 5, 2, 10, 18);
  const std::vector<bool> roadCol = chooseRoads(rng, grid.cols, 10, 4, 12, 24);
  const std::vector<int> streams = chooseStreams(rng, roadCol);
  std::vector<bool> narrowCol = roadCol;
  for (const int col : streams) {
    narrowCol[static_cast<size_t>(col)] = true;
    narrowCol[static_cast<size_t>(col) + 1] = true;
  }
  grid.colWidth = chooseSizes(rng, narrowCol, 12 * kMetre, 40 * kMetre, 5 * kMetre, 8 * kMetre);
  grid.rowHeight = chooseSizes(rng, roadRow, 20 * kMetre, 60 * kMetre, 6 * kMetre, 10 * kMetre);
  placeVertices(rng, grid);

  const auto cellCount = static_cast<size_t>(grid.rows * grid.cols);
  grid.kind.assign(cellCount, CellKind::kFree);
  grid.streamOf.assign(cellCount, -1);
  grid.owner.assign(cellCount, -1);
  for (int row = 0; row < grid.rows; ++row) {
    for (int col = 0; col < grid.cols; ++col) {
      CellKind& kind = grid.kind[static_cast<size_t>(grid.cellIndex(col, row))];
      // A crossing belongs to the road row.
      if (roadRow[static_cast<size_t>(row)]) {
        kind = CellKind::kRoadRow;
      } else if (roadCol[static_cast<size_t>(col)]) {
        kind = CellKind::kRoadColumn;
      }
    }
  }
  for (size_t s = 0; s < streams.size(); ++s) runStream(rng, grid, static_cast<int>(s), streams[s]);
  return grid;
}

}  // namespace vfkgen

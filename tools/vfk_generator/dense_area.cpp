#include "tools/vfk_generator/dense_area.h"

#include <algorithm>
#include <array>
#include <charconv>
#include <cmath>
#include <string_view>

#include "tools/vfk_generator/geometry.h"
#include "tools/vfk_generator/random.h"

namespace vfkgen {

namespace {

constexpr int64_t kCell = 1000;   // centimetres
constexpr int64_t kJitter = 100;  // centimetres either way
constexpr Coord kNorthWest{700'000'00, 1'000'000'00};

}  // namespace

void writeDenseArea(RowWriter& w, uint64_t seed, int parcels) {
  const int squares = (parcels + 1) / 2;
  const int cols = std::max(1, static_cast<int>(std::sqrt(static_cast<double>(squares))));
  const int rows = (squares + cols - 1) / cols;
  auto point = [cols](int col, int row) {
    return static_cast<int64_t>(row) * (cols + 1) + col + 1;
  };

  w.line("&HVERZE;\"6.0\"");
  w.line("&HCODEPAGE;\"UTF-8\"");
  Rng rng(seed);
  w.beginBlock("&BSOBR;ID N30;SOURADNICE_Y N10.2;SOURADNICE_X N10.2");
  for (int row = 0; row <= rows; ++row) {
    for (int col = 0; col <= cols; ++col) {
      const int64_t y = kNorthWest.y + col * kCell + rng.range64(-kJitter, kJitter);
      const int64_t x = kNorthWest.x + row * kCell + rng.range64(-kJitter, kJitter);
      w.row().num(point(col, row)).coord(y).coord(x).end();
    }
  }

  // Triangle k: its three corners and the place of its number.
  auto corners = [&](int k) {
    const int col = k / 2 % cols;
    const int row = k / 2 / cols;
    const int64_t a = point(col, row);
    const int64_t c = point(col + 1, row + 1);
    return k % 2 == 0 ? std::array<int64_t, 3>{a, point(col + 1, row), c}
                      : std::array<int64_t, 3>{a, c, point(col, row + 1)};
  };
  w.beginBlock("&BSBP;BP_ID N30;PORADOVE_CISLO_BODU N38;HP_ID N30");
  for (int k = 0; k < parcels; ++k) {
    const std::array<int64_t, 3> triangle = corners(k);
    for (int ordinal = 1; ordinal <= 4; ++ordinal) {
      w.row().num(triangle[static_cast<size_t>(ordinal % 4 == 0 ? 0 : ordinal - 1)]).num(ordinal);
      w.num(k + 1).end();
    }
  }
  w.beginBlock("&BHP;ID N30;PAR_ID_1 N30;PAR_ID_2 N30;TYPPPD_KOD N10");
  for (int k = 0; k < parcels; ++k) w.row().num(k + 1).num(k + 1).empty().num(21900).end();
  w.beginBlock(
      "&BOP;ID N30;PAR_ID N30;OPAR_TYPE T10;TYPPPD_KOD N10;TEXT T255;SOURADNICE_Y N10.2;"
      "SOURADNICE_X N10.2");
  for (int k = 0; k < parcels; ++k) {
    const int col = k / 2 % cols;
    const int row = k / 2 / cols;
    const int64_t y = kNorthWest.y + col * kCell + (k % 2 == 0 ? 2 : 1) * kCell / 3;
    const int64_t x = kNorthWest.x + row * kCell + (k % 2 == 0 ? 1 : 2) * kCell / 3;
    char number[16];
    const char* end = std::to_chars(number, number + sizeof number, k + 1).ptr;
    w.row().num(k + 1).num(k + 1).text("PC").num(18);
    w.text(std::string_view(number, static_cast<size_t>(end - number))).coord(y).coord(x).end();
  }
  w.line("&K");
}

}  // namespace vfkgen

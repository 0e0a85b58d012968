// Soil-valuation (BPEJ) units: blocks of cells with codes, and their
// borders with coordinates of their own.
#include <algorithm>
#include <vector>

#include "tools/vfk_generator/plan.h"

namespace vfkgen {

namespace {

class BpejStage {
 public:
  explicit BpejStage(Plan& plan) : plan_(plan) {}

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
        // One after another: the order of a sum's terms is the compiler's.
        code = std::clamp(climate + rng.range(-1, 1), 0, 9) * 10'000;
        code += rng.range(1, 78) * 100;
        code += rng.range(0, 7) * 10;
        code += rng.range(0, 4);
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
    const std::vector<int> colCuts = cuts(rng, plan_.grid.cols);
    const std::vector<int> rowCuts = cuts(rng, plan_.grid.rows);
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
        unit.label = plan_.blockPoint(block, block.width() / 2.0 + 0.3, block.height() / 2.0 - 0.2);
        plan_.layout.bpejUnits.push_back(unit);
      }
    }
    auto unitAt = [unitCols](int a, int b) { return b * unitCols + a; };
    auto addBorder = [&](int unit1, int unit2, int col, int row, int dc, int dr, int steps) {
      BpejBorder border;
      border.unit1 = unit1;
      border.unit2 = unit2;
      for (int s = 0; s <= steps; ++s)
        border.points.push_back(plan_.grid.vertex(col + s * dc, row + s * dr));
      if (rng.chance(0.5)) std::reverse(border.points.begin(), border.points.end());
      plan_.layout.bpejBorders.push_back(std::move(border));
    };
    for (int b = 0; b < unitRows; ++b) {
      const int row = rowCuts[static_cast<size_t>(b)];
      const int steps = rowCuts[static_cast<size_t>(b) + 1] - row;
      for (int a = 0; a <= unitCols; ++a) {
        const int left = a > 0 ? unitAt(a - 1, b) : -1;
        const int right = a < unitCols ? unitAt(a, b) : -1;
        addBorder(left == -1 ? right : left, left == -1 ? -1 : right,
                  colCuts[static_cast<size_t>(a)], row, 0, 1, steps);
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

 private:
  Plan& plan_;
};

}  // namespace

void placeBpejUnits(Plan& plan, Rng& rng) { BpejStage(plan).placeBpejUnits(rng); }

}  // namespace vfkgen

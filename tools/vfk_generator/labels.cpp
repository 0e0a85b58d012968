// The parcels' labels: numbers, land-use symbols, and numbers written
// outside their parcel with an arrow.
#include <array>
#include <cmath>

#include "tools/vfk_generator/plan.h"

namespace vfkgen {

namespace {

class LabelStage {
 public:
  explicit LabelStage(Plan& plan) : plan_(plan) {}

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
    for (size_t i = 0; i < plan_.layout.parcels.size(); ++i) {
      Parcel& parcel = plan_.layout.parcels[i];
      const Shape& shape = plan_.shapes[i];
      const Block& block = shape.block;
      const double w = block.width();
      const double h = block.height();
      parcel.number.reference = labelReference(rng);
      if (parcel.host != -1) {
        parcel.number.at = quadPoint(shape.quad, 0.5, 0.5);
      } else if (!shape.rectangle) {
        parcel.number.at = plan_.grid.cellPoint(shape.anchorCol, shape.anchorRow, 0.5, 0.5);
        parcel.number.angle = degreesToGon(90);
      } else {
        parcel.number.at = plan_.blockPoint(block, w / 2, h / 2);
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
        parcel.symbolAt = plan_.blockPoint(block, w / 2, h / 2 + 0.3);
      }
    }
  }

  // Some one-cell parcels have their number written in the cell below (or
  // above) it, with an arrow pointing back into the parcel.
  void placeArrows(Rng& rng) {
    const int wanted = std::max(1, static_cast<int>(plan_.layout.parcels.size()) / 25);
    int made = 0;
    // A second pass takes every candidate, so that a small area has one too.
    for (const double chance : {0.3, 1.0}) {
      for (size_t i = 0; i < plan_.layout.parcels.size() && made < wanted; ++i) {
        if (!plan_.layout.parcels[i].hasArrow && rng.chance(chance) && placeArrow(rng, i)) ++made;
      }
    }
  }

  bool placeArrow(Rng& rng, size_t i) {
    Parcel& parcel = plan_.layout.parcels[i];
    const Shape& shape = plan_.shapes[i];
    if (!shape.rectangle || parcel.cellCount != 1 || parcel.use == Use::kRoad ||
        parcel.hole != -1) {
      return false;
    }
    const int col = shape.block.col0;
    const int row = shape.block.row0;
    const bool below = row + 1 < plan_.grid.rows;
    const int otherRow = below ? row + 1 : row - 1;
    if (otherRow < 0) return false;
    parcel.hasArrow = true;
    parcel.extraNumber.at = plan_.grid.cellPoint(col, otherRow, 0.5, below ? 0.2 : 0.8);
    parcel.extraNumber.reference = rng.range(1, 6);
    parcel.arrow.at = plan_.grid.cellPoint(col, row, 0.25, below ? 0.9 : 0.12);
    // The arrow points from the number to the parcel, in the drawing's
    // frame (x = -Y, y = -X).
    const double dx = static_cast<double>(parcel.extraNumber.at.y - parcel.arrow.at.y);
    const double dy = static_cast<double>(parcel.extraNumber.at.x - parcel.arrow.at.x);
    int degrees = static_cast<int>(std::llround(atan2Degrees(dy, dx)));
    if (degrees < 0) degrees += 360;
    parcel.arrow.angle = degreesToGon(degrees % 360);
    return true;
  }

 private:
  Plan& plan_;
};

}  // namespace

void placeLabels(Plan& plan, Rng& rng) {
  LabelStage stage(plan);
  stage.placeLabels(rng);
  stage.placeArrows(rng);
}

}  // namespace vfkgen

// The points of a drawing's paths as "x,y ", each point formatted once for
// all the border layers: the points of a boundary are written in the
// borders of the areas on both its sides, and where the lines of one border
// meet.
#ifndef VORLANE_SVG_POINT_TEXTS_H_
#define VORLANE_SVG_POINT_TEXTS_H_

#include <array>
#include <cstdint>
#include <span>
#include <vector>

#include "model/cadastral_model.h"
#include "svg/svg_output.h"

namespace vorlane {

class PointTexts {
 public:
  // "model" must outlive the texts. Their memory starts zeroed, and is asked
  // of the system at once rather than a page fault at a time: the borders
  // pass through most of a file's points.
  explicit PointTexts(const CadastralModel& model);
  ~PointTexts();
  PointTexts(const PointTexts&) = delete;
  PointTexts& operator=(const PointTexts&) = delete;

  // Writes the points with these indices into "points", in order.
  void write(SvgOutput& out, std::span<const int32_t> points);

 private:
  struct Text {
    // "x,y ": a map's point, "-739874.12,-1045789.34 ", has 23 characters;
    // a longer text is not kept, but written each time.
    std::array<char, 23> bytes;
    uint8_t length;
  };
  const CadastralModel& model_;
  size_t bytes_;
  Text* texts_;  // by point index
  // Which texts are made, a bit per point: a look here reads a bit rather
  // than a text's cache line.
  std::vector<uint64_t> made_;
};

}  // namespace vorlane

#endif  // VORLANE_SVG_POINT_TEXTS_H_

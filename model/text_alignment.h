// Where a text sits at its position: the label's reference point
// (VZTAZNY_BOD) 1 to 9 read as a 3 x 3 grid: 1 to 3 sit on the baseline,
// 4 to 6 hang below the position and 7 to 9 are centred on it, each row
// starting, centred or ending at the position. Every other value is centred
// both ways. Both writers place texts so.
#ifndef VORLANE_MODEL_TEXT_ALIGNMENT_H_
#define VORLANE_MODEL_TEXT_ALIGNMENT_H_

#include <cstdint>

namespace vorlane {

enum class TextAnchor : uint8_t { kStart, kMiddle, kEnd };
enum class TextBaseline : uint8_t { kBaseline, kHanging, kMiddle };

struct TextPlacement {
  TextAnchor anchor;
  TextBaseline baseline;
};

constexpr TextPlacement textPlacementOf(int32_t referencePoint) {
  if (referencePoint < 1 || referencePoint > 9) {
    return {TextAnchor::kMiddle, TextBaseline::kMiddle};
  }
  const int32_t cell = referencePoint - 1;
  return {static_cast<TextAnchor>(cell % 3), static_cast<TextBaseline>(cell / 3)};
}

}  // namespace vorlane

#endif  // VORLANE_MODEL_TEXT_ALIGNMENT_H_

// Type codes (TYPPPD_KOD) of the cadastral format that decide what is drawn
// and where: the reader stores some elements only for these codes, and the
// writers pick the elements of a layer by them.
#ifndef VORLANE_MODEL_TYPE_CODES_H_
#define VORLANE_MODEL_TYPE_CODES_H_

#include <cstdint>

namespace vorlane {

// A parcel's descriptive arrow (OP rows of kind "SPC").
constexpr int32_t kArrowTypeCode = 1033;
// A boundary line that is the border of the cadastral area.
constexpr int32_t kCadastralAreaBorderTypeCode = 20602;
// A line of the map's inner drawing (DPM rows).
constexpr int32_t kInnerDrawingTypeCode = 21800;

}  // namespace vorlane

#endif  // VORLANE_MODEL_TYPE_CODES_H_

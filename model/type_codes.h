// Type codes (TYPPPD_KOD) of the cadastral format that decide what is drawn
// and where: the reader stores some elements only for these codes, and the
// writers pick the elements of a layer by them.
#ifndef VORLANE_MODEL_TYPE_CODES_H_
#define VORLANE_MODEL_TYPE_CODES_H_

#include <cstdint>

namespace vorlane {

// A parcel's descriptive arrow (OP rows of kind "SPC"), and the line it is
// placed on, from near the number into the parcel.
constexpr int32_t kArrowTypeCode = 1033;
constexpr int32_t kArrowLineTypeCode = 1032;
// A boundary line that is the border of the cadastral area.
constexpr int32_t kCadastralAreaBorderTypeCode = 20602;
// A line of the map's inner drawing (DPM rows).
constexpr int32_t kInnerDrawingTypeCode = 21800;

// Whether a boundary line is the border of the cadastral area or of a larger
// unit that runs along it, as the exact drawing's cadastral-area layer takes
// them. The codes are those of the code list TYPPPD that cadastral exports
// carry (block TYPPPD, column VYZNAM): 20uvw, where u is the unit (1 the
// state, 3 a region, 4 a district, 5 a municipality, 6 a cadastral area), v
// the kind of border (0 standard, 1 invisible from above, 2 movable, 3 taken
// over, 4 disputed, 5 underground) and w where its sign sits (0 none,
// 2 in the middle, 3 at the start, 4 at the end, 5 at both ends).
constexpr bool isAdministrativeBorder(int32_t code) {
  const int32_t unit = code / 100 - 200;
  const int32_t kind = code / 10 % 10;
  const int32_t sign = code % 10;
  return code >= 20100 && code < 20700 && unit != 2 && kind <= 5 && sign != 1 && sign <= 5;
}

}  // namespace vorlane

#endif  // VORLANE_MODEL_TYPE_CODES_H_

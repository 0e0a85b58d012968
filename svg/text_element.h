// One SVG text element from a label, with the alignment its reference point
// selects.
#ifndef VORLANE_SVG_TEXT_ELEMENT_H_
#define VORLANE_SVG_TEXT_ELEMENT_H_

#include <optional>
#include <string_view>

#include "model/cadastral_model.h"
#include "svg/svg_output.h"

namespace vorlane {

struct TextAlignment {
  std::string_view anchor;    // text-anchor="start|middle|end"
  std::string_view baseline;  // alignment-baseline="baseline|hanging|middle"
};

// The attributes that place a text as its reference point says
// (model/text_alignment.h).
TextAlignment textAlignmentAttributes(int referencePoint);

// Writes one text element of "text", placed by the label, without indent,
// ending the line. The text is rotated about its own position when the
// label's angle exceeds 0.001 degrees. The text, and "id" when given, are
// escaped.
void writeTextElement(SvgOutput& out, const TextLabel& label, std::string_view text,
                      std::optional<std::string_view> id);

// " transform=\"rotate(angle x y)\"", the rotation of a placement about its
// own position.
void writeRotation(SvgOutput& out, float angle, double x, double y);

}  // namespace vorlane

#endif  // VORLANE_SVG_TEXT_ELEMENT_H_

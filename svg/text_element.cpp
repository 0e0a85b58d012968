#include "svg/text_element.h"

#include "model/text_alignment.h"

namespace vorlane {

TextAlignment textAlignmentAttributes(int referencePoint) {
  static constexpr std::string_view kAnchors[] = {"text-anchor=\"start\"", "text-anchor=\"middle\"",
                                                  "text-anchor=\"end\""};
  static constexpr std::string_view kBaselines[] = {"alignment-baseline=\"baseline\"",
                                                    "alignment-baseline=\"hanging\"",
                                                    "alignment-baseline=\"middle\""};
  const TextPlacement placement = textPlacementOf(referencePoint);
  return {kAnchors[static_cast<size_t>(placement.anchor)],
          kBaselines[static_cast<size_t>(placement.baseline)]};
}

void writeRotation(SvgOutput& out, float angle, double x, double y) {
  out << " transform=\"rotate(" << angle << " " << x << " " << y << ")\"";
}

void writeTextElement(SvgOutput& out, const TextLabel& label, std::string_view text,
                      std::optional<std::string_view> id) {
  const TextAlignment alignment = textAlignmentAttributes(label.referencePoint);
  out << "<text";
  if (id) out << " id=\"" << Escaped{*id} << "\"";
  // The position and alignment in one piece: most elements of an exact
  // drawing are texts.
  constexpr std::string_view kStart = " x=\"";
  constexpr std::string_view kBetween = "\" y=\"";
  constexpr std::string_view kAfterY = "\" ";
  char* p = out.room(kStart.size() + kNumberBufferSize + kBetween.size() + kNumberBufferSize +
                     kAfterY.size() + alignment.anchor.size() + 1 + alignment.baseline.size());
  p = put(p, kStart);
  p = putNumber(p, label.x);
  p = put(p, kBetween);
  p = putNumber(p, label.y);
  p = put(p, kAfterY);
  p = put(p, alignment.anchor);
  *p++ = ' ';
  out.commit(put(p, alignment.baseline));
  // Texts turn only by a positive angle above 0.001 degrees.
  if (label.angle > 0.001f) writeRotation(out, label.angle, label.x, label.y);
  out << " fill=\"black\" font-size=\"" << label.size << "\">" << Escaped{text} << "</text>\r\n";
}

}  // namespace vorlane

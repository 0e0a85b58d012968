// The output stream of one DXF drawing (platform/output_buffer.h): groups,
// each a code on one line and its value on the next, every line ending in
// CR LF on every platform. The format follows no locale.
#ifndef VORLANE_DXF_DXF_OUTPUT_H_
#define VORLANE_DXF_DXF_OUTPUT_H_

#include <cstdint>
#include <string_view>

#include "platform/output_buffer.h"

namespace vorlane {

class DxfOutput : public OutputBuffer {
 public:
  using OutputBuffer::OutputBuffer;
  using OutputBuffer::text;

  // A value of the writer's own, written as it is.
  DxfOutput& group(int code, std::string_view value);
  // A text from the model: made valid UTF-8, each control character (which
  // would end the value's line) U+FFFD.
  DxfOutput& text(int code, std::string_view text);
  // The longest string value every DXF reader takes, in bytes: AutoCAD's
  // reference gives 2049 for the string groups since AutoCAD 2000, but also
  // says that OPEN fails on a string over 256 characters; 255 is safe.
  static constexpr size_t kMaxStringBytes = 255;
  // The content of a TEXT entity: as text(), and so that a CAD program shows
  // it as typed: a "%" before another "%" is written "%%%" (the code of a
  // percent sign), for "%%u", "%%d" or "%%c" would underline or become a
  // degree or diameter sign. A text longer than kMaxStringBytes is cut at a
  // character's boundary; returns whether it was.
  bool shownText(int code, std::string_view text);
  DxfOutput& integer(int code, int64_t value);
  // A coordinate with two decimals, as the SVG drawing writes it; 0.00 for
  // a value that is not finite, which DXF cannot hold.
  DxfOutput& coordinate(int code, double value);
  // Another real number, in its shortest form that reads back exactly.
  DxfOutput& real(int code, double value);
  // An object's handle, in hexadecimal.
  DxfOutput& handle(int code, uint64_t handle);

 private:
  // The group code, right-aligned in three characters, and its line end.
  void code(int code);
  // The value of text() or, "shown", of shownText().
  bool putText(std::string_view text, bool shown);
};

}  // namespace vorlane

#endif  // VORLANE_DXF_DXF_OUTPUT_H_

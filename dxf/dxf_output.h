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
};

}  // namespace vorlane

#endif  // VORLANE_DXF_DXF_OUTPUT_H_

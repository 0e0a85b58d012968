// The output stream of one SVG drawing (platform/output_buffer.h). The format
// is fixed for the whole document and follows no locale:
//  - doubles and floats in fixed notation with two decimals and "." as the
//    decimal point (12 -> "12.00", -0.004 -> "-0.00"; non-finite values as
//    "%.2f" prints them: "inf", "-inf", "nan", "-nan");
//  - ints in plain decimal;
//  - every line ends in CR LF, on every platform, so that every platform
//    writes the same bytes. The writer's own texts carry their "\r\n";
//    texts from the model are written through Escaped, which turns an LF
//    into CR LF.
#ifndef VORLANE_SVG_SVG_OUTPUT_H_
#define VORLANE_SVG_SVG_OUTPUT_H_

#include <array>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "platform/files.h"
#include "platform/fixed_decimals.h"
#include "platform/output_buffer.h"

namespace vorlane {

// Text from the model, written with "&", "<", ">" and '"' escaped so that
// the document stays well-formed XML. Control characters that XML forbids
// (all below 0x20 but tab, LF and CR) become U+FFFD, and so does each
// maximal sequence of bytes that is not UTF-8: the document is UTF-8
// whatever bytes the file held. Well-formed UTF-8 is written as it is.
struct Escaped {
  std::string_view text;
};

class SvgOutput : public OutputBuffer {
 public:
  using OutputBuffer::OutputBuffer;

  // Text written as it is.
  SvgOutput& operator<<(std::string_view text) {
    append(text);
    return *this;
  }
  // A literal: its length is known where it is written.
  template <size_t N>
  SvgOutput& operator<<(const char (&literal)[N]) {
    return *this << std::string_view(literal, N - 1);
  }
  SvgOutput& operator<<(Escaped escaped);
  SvgOutput& operator<<(double value);
  // Floats are font sizes and angles, which repeat from element to element:
  // the last one's text is kept.
  SvgOutput& operator<<(float value);
  SvgOutput& operator<<(int value);
  // A point of a path: x, a comma, y and a space.
  SvgOutput& point(double x, double y);
  // The first "length" bytes of "bytes", copied whole so that the copy has a
  // fixed size. REQUIRES: length <= N.
  template <size_t N>
  SvgOutput& appendPrefix(const std::array<char, N>& bytes, size_t length) {
    char* at = room(N);
    std::memcpy(at, bytes.data(), N);
    commit(at + length);
    return *this;
  }
  // No other type has a format here (a char or a bool would print as a number).
  template <typename T>
  SvgOutput& operator<<(T) = delete;

 private:
  // The last float written, by its bits (0.0f and -0.0f differ), and its
  // text; a float's has at most 39 digits, a sign, "." and 2 decimals.
  uint32_t floatBits_ = 0;
  uint8_t floatLength_ = 0;  // 0 before the first
  std::array<char, 44> floatText_{};
};

// For an element written into room reserved for all of it at once: each
// copies its text to "at" and returns the end of what it wrote.
inline char* put(char* at, std::string_view text) {
  std::memcpy(at, text.data(), text.size());
  return at + text.size();
}
// REQUIRES: kNumberBufferSize bytes at "at".
inline char* putNumber(char* at, double value) { return at + formatFixed2(value, at).size(); }

// Formats a point of a path, "x,y ", into "buffer"; returns the text.
// REQUIRES: "buffer" holds kPointBufferSize characters.
constexpr size_t kPointBufferSize = 2 * kNumberBufferSize + 2;
std::string_view formatPoint(double x, double y, char* buffer);

}  // namespace vorlane

#endif  // VORLANE_SVG_SVG_OUTPUT_H_

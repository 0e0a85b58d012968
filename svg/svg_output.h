// The output stream of one drawing. Text and numbers are appended to one
// large buffer that goes to the file in big pieces. The format is fixed for
// the whole document and follows no locale:
//  - doubles and floats in fixed notation with two decimals and "." as the
//    decimal point (12 -> "12.00", -0.004 -> "-0.00"; non-finite values as
//    "%.2f" prints them: "inf", "-inf", "nan", "-nan");
//  - ints in plain decimal;
//  - every "\n" is written as CR LF, so that every platform writes the same
//    bytes.
#ifndef VORLANE_SVG_SVG_OUTPUT_H_
#define VORLANE_SVG_SVG_OUTPUT_H_

#include <string>
#include <string_view>

#include "platform/files.h"

namespace vorlane {

// Text from the model, written with "&", "<", ">" and '"' escaped so that
// the document stays well-formed XML. Control characters that XML forbids
// (all below 0x20 but tab, LF and CR) become U+FFFD.
struct Escaped {
  std::string_view text;
};

class SvgOutput {
 public:
  // Writes to "file", which must outlive the stream; a file that is not open
  // swallows everything. Without a file the text stays in memory (text()).
  explicit SvgOutput(OutputFile* file = nullptr);
  ~SvgOutput();
  SvgOutput(const SvgOutput&) = delete;
  SvgOutput& operator=(const SvgOutput&) = delete;

  SvgOutput& operator<<(std::string_view text);
  SvgOutput& operator<<(const char* text) { return *this << std::string_view(text); }
  SvgOutput& operator<<(const std::string& text) { return *this << std::string_view(text); }
  SvgOutput& operator<<(Escaped escaped);
  SvgOutput& operator<<(double value);
  SvgOutput& operator<<(float value) { return *this << static_cast<double>(value); }
  SvgOutput& operator<<(int value);
  // No other type has a format here (a char or a bool would print as a number).
  template <typename T>
  SvgOutput& operator<<(T) = delete;

  // Hands the buffered text to the file.
  void flush();

  // Everything written so far, when there is no file.
  const std::string& text() const { return buffer_; }

 private:
  void appendRaw(std::string_view bytes);

  OutputFile* file_;
  std::string buffer_;
};

// Formats "value" as the stream does, into "buffer"; returns the text.
// REQUIRES: "buffer" holds kNumberBufferSize characters.
constexpr size_t kNumberBufferSize = 400;  // DBL_MAX needs 309 digits, a sign, "." and 2 decimals
std::string_view formatFixed2(double value, char* buffer);

}  // namespace vorlane

#endif  // VORLANE_SVG_SVG_OUTPUT_H_

// RowWriter formats VFK records into a byte buffer: one call per field, no
// allocation per row. A writer made with a file hands its buffer to the file
// in large chunks; one made without keeps everything in memory.
#ifndef VORLANE_TOOLS_VFK_GENERATOR_ROW_WRITER_H_
#define VORLANE_TOOLS_VFK_GENERATOR_ROW_WRITER_H_

#include <cstdint>
#include <cstdio>
#include <string>
#include <string_view>

namespace vfkgen {

class RowWriter {
 public:
  explicit RowWriter(std::FILE* file = nullptr);
  RowWriter(const RowWriter&) = delete;
  RowWriter& operator=(const RowWriter&) = delete;

  // A whole record as given ("&HVERZE;\"5.1\""), ended with CR LF.
  void line(std::string_view record);

  // Writes a block's B record and remembers its column count: every row
  // written until the next block must have exactly that many fields.
  void beginBlock(std::string_view definition);

  // Starts a data row of the current block: "&D" and the block's name.
  RowWriter& row();

  RowWriter& num(int64_t value);
  // value / 10^decimals, written without trailing zeros ("1163974.1").
  RowWriter& fixed(int64_t scaledValue, int decimals);
  // A coordinate held in centimetres.
  RowWriter& coord(int64_t centimetres) { return fixed(centimetres, 2); }
  // A quoted text; "latin2" must hold neither quotes nor semicolons.
  RowWriter& text(std::string_view latin2);
  // A value written as given, without quotes.
  RowWriter& raw(std::string_view value);
  // An empty value ("") and an empty text ("\"\"").
  RowWriter& empty();
  RowWriter& emptyText() { return text({}); }
  // A number, or an empty value for 0.
  RowWriter& numOrEmpty(int64_t value) { return value == 0 ? empty() : num(value); }
  // Ends the row; stops the program if its field count is wrong.
  void end();

  // Bytes written so far, including those already handed to the file.
  uint64_t bytes() const { return flushed_ + buffer_.size(); }
  const std::string& buffer() const { return buffer_; }
  // Hands the buffer to the file. Throws std::runtime_error on a write error.
  void flush();

 private:
  void field() {
    buffer_ += ';';
    ++fields_;
  }

  std::FILE* file_;
  std::string buffer_;
  uint64_t flushed_ = 0;
  std::string rowStart_;  // "&DSOBR"
  int columns_ = 0;
  int fields_ = 0;
};

// Writes "bytes" to "file"; throws std::runtime_error on a write error.
void writeBytes(std::FILE* file, std::string_view bytes);

}  // namespace vfkgen

#endif  // VORLANE_TOOLS_VFK_GENERATOR_ROW_WRITER_H_

#include "tools/vfk_generator/row_writer.h"

#include <charconv>
#include <cstdlib>
#include <stdexcept>

namespace vfkgen {

namespace {

constexpr size_t kChunkBytes = size_t{1} << 20;

}  // namespace

void writeBytes(std::FILE* file, std::string_view bytes) {
  if (bytes.empty()) return;
  if (std::fwrite(bytes.data(), 1, bytes.size(), file) != bytes.size()) {
    throw std::runtime_error("cannot write the output file");
  }
}

RowWriter::RowWriter(std::FILE* file) : file_(file) {
  buffer_.reserve(file_ != nullptr ? kChunkBytes + 4096 : kChunkBytes);
}

void RowWriter::line(std::string_view record) {
  buffer_ += record;
  buffer_ += "\r\n";
}

void RowWriter::beginBlock(std::string_view definition) {
  line(definition);
  const size_t semicolon = definition.find(';');
  rowStart_ = "&D";
  rowStart_ += definition.substr(2, semicolon - 2);
  columns_ = 0;
  for (const char c : definition) columns_ += c == ';' ? 1 : 0;
}

RowWriter& RowWriter::row() {
  buffer_ += rowStart_;
  fields_ = 0;
  return *this;
}

RowWriter& RowWriter::num(int64_t value) {
  field();
  char digits[24];
  const auto result = std::to_chars(digits, digits + sizeof digits, value);
  buffer_.append(digits, result.ptr);
  return *this;
}

RowWriter& RowWriter::fixed(int64_t scaledValue, int decimals) {
  field();
  if (scaledValue < 0) {
    buffer_ += '-';
    scaledValue = -scaledValue;
  }
  int64_t scale = 1;
  for (int i = 0; i < decimals; ++i) scale *= 10;
  char digits[24];
  const auto whole = std::to_chars(digits, digits + sizeof digits, scaledValue / scale);
  buffer_.append(digits, whole.ptr);
  int64_t fraction = scaledValue % scale;
  if (fraction == 0) return *this;
  int width = decimals;
  while (fraction % 10 == 0) {
    fraction /= 10;
    --width;
  }
  buffer_ += '.';
  const auto part = std::to_chars(digits, digits + sizeof digits, fraction);
  const auto length = static_cast<int>(part.ptr - digits);
  buffer_.append(static_cast<size_t>(width - length), '0');
  buffer_.append(digits, part.ptr);
  return *this;
}

RowWriter& RowWriter::text(std::string_view latin2) {
  field();
  buffer_ += '"';
  buffer_ += latin2;
  buffer_ += '"';
  return *this;
}

RowWriter& RowWriter::raw(std::string_view value) {
  field();
  buffer_ += value;
  return *this;
}

RowWriter& RowWriter::empty() {
  field();
  return *this;
}

void RowWriter::end() {
  if (fields_ != columns_) {
    std::fprintf(stderr, "generate_vfk: internal error: %s row with %d fields, %d expected\n",
                 rowStart_.c_str(), fields_, columns_);
    std::abort();
  }
  buffer_ += "\r\n";
  if (file_ != nullptr && buffer_.size() >= kChunkBytes) flush();
}

void RowWriter::flush() {
  if (file_ == nullptr) return;
  writeBytes(file_, buffer_);
  flushed_ += buffer_.size();
  buffer_.clear();
}

}  // namespace vfkgen

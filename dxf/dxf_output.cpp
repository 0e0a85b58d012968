#include "dxf/dxf_output.h"

#include <charconv>
#include <cmath>

#include "platform/fixed_decimals.h"
#include "platform/unicode.h"

namespace vorlane {

namespace {
constexpr std::string_view kLineEnd = "\r\n";
}  // namespace

void DxfOutput::code(int code) {
  char* at = room(16);
  char digits[12];
  const auto end = std::to_chars(digits, digits + sizeof digits, code).ptr;
  const auto length = static_cast<size_t>(end - digits);
  for (size_t pad = length; pad < 3; ++pad) *at++ = ' ';
  std::memcpy(at, digits, length);
  at += length;
  std::memcpy(at, kLineEnd.data(), kLineEnd.size());
  commit(at + kLineEnd.size());
}

DxfOutput& DxfOutput::group(int code, std::string_view value) {
  this->code(code);
  append(value);
  append(kLineEnd);
  return *this;
}

DxfOutput& DxfOutput::text(int code, std::string_view text) {
  this->code(code);
  while (!text.empty()) {
    const Utf8Step step = decodeUtf8(text);
    if (step.wellFormed && step.codePoint >= 0x20) {
      append(text.substr(0, step.length));
    } else {
      append("\xEF\xBF\xBD");  // U+FFFD, the replacement character
    }
    text.remove_prefix(step.length);
  }
  append(kLineEnd);
  return *this;
}

DxfOutput& DxfOutput::integer(int code, int64_t value) {
  this->code(code);
  char* at = room(24);
  commit(std::to_chars(at, at + 24, value).ptr);
  append(kLineEnd);
  return *this;
}

DxfOutput& DxfOutput::coordinate(int code, double value) {
  this->code(code);
  char* at = room(kNumberBufferSize);
  commit(at + formatFixed2(std::isfinite(value) ? value : 0.0, at).size());
  append(kLineEnd);
  return *this;
}

DxfOutput& DxfOutput::real(int code, double value) {
  this->code(code);
  char* at = room(32);  // the shortest form of any double has at most 24 characters
  commit(std::to_chars(at, at + 32, std::isfinite(value) ? value : 0.0).ptr);
  append(kLineEnd);
  return *this;
}

DxfOutput& DxfOutput::handle(int code, uint64_t handle) {
  this->code(code);
  char* at = room(16);
  char* end = std::to_chars(at, at + 16, handle, 16).ptr;
  for (char* c = at; c != end; ++c) {
    if (*c >= 'a' && *c <= 'f') *c = static_cast<char>(*c - 'a' + 'A');
  }
  commit(end);
  append(kLineEnd);
  return *this;
}

}  // namespace vorlane

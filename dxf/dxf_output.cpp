#include "dxf/dxf_output.h"

#include <array>
#include <charconv>
#include <cmath>

#include "platform/fixed_decimals.h"
#include "platform/std_compat.h"
#include "platform/unicode.h"

namespace vorlane {

namespace {
constexpr std::string_view kLineEnd = "\r\n";

// The lines of the group codes a drawing uses, 0 to 1071, made once: a
// drawing writes one for every value.
constexpr int kTabledCodes = 1072;
struct CodeLine {
  char bytes[8];
  uint8_t length;
};
using CodeLines = std::array<CodeLine, kTabledCodes>;

constexpr CodeLines makeCodeLines() {
  CodeLines lines{};
  for (int code = 0; code < kTabledCodes; ++code) {
    CodeLine& line = lines[static_cast<size_t>(code)];
    const int digits = code < 10 ? 1 : code < 100 ? 2 : code < 1000 ? 3 : 4;
    int at = 0;
    for (int pad = digits; pad < 3; ++pad) line.bytes[at++] = ' ';
    for (int k = digits - 1, rest = code; k >= 0; --k, rest /= 10) {
      line.bytes[at + k] = static_cast<char>('0' + rest % 10);
    }
    at += digits;
    line.bytes[at++] = '\r';
    line.bytes[at++] = '\n';
    line.length = static_cast<uint8_t>(at);
  }
  return lines;
}

constexpr CodeLines kCodeLines = makeCodeLines();
}  // namespace

void DxfOutput::code(int code) {
  char* at = room(16);
  if (code >= 0 && code < kTabledCodes) {
    const CodeLine& line = kCodeLines[static_cast<size_t>(code)];
    std::memcpy(at, line.bytes, sizeof line.bytes);
    commit(at + line.length);
    return;
  }
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
  putText(text, false);
  return *this;
}

bool DxfOutput::shownText(int code, std::string_view text) {
  this->code(code);
  return putText(text, true);
}

bool DxfOutput::putText(std::string_view text, bool shown) {
  size_t written = 0;
  auto put = [&](std::string_view bytes) {
    if (shown && written + bytes.size() > kMaxStringBytes) return false;
    append(bytes);
    written += bytes.size();
    return true;
  };
  bool whole = true;
  while (!text.empty() && whole) {
    const Utf8Step step = decodeUtf8(text);
    if (!step.wellFormed || step.codePoint < 0x20) {
      whole = put("\xEF\xBF\xBD");  // U+FFFD, the replacement character
    } else if (shown && text[0] == '%' && text.size() > 1 && text[1] == '%') {
      whole = put("%%%");
    } else {
      whole = put(text.substr(0, step.length));
    }
    if (whole) text.remove_prefix(step.length);
  }
  append(kLineEnd);
  return whole;
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
  commit(toCharsShortest(at, at + 32, std::isfinite(value) ? value : 0.0).ptr);
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

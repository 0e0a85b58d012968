#include "platform/path.h"

#include "platform/unicode.h"

namespace vorlane {

std::string pathToUtf8(PathView path) {
  std::string out;
  out.reserve(path.size());
  for (size_t i = 0; i < path.size(); ++i) {
    const char32_t unit = static_cast<char16_t>(path[i]);
    const bool isHigh = unit >= 0xD800 && unit <= 0xDBFF;
    const bool isLow = unit >= 0xDC00 && unit <= 0xDFFF;
    if (isHigh && i + 1 < path.size()) {
      const char32_t next = static_cast<char16_t>(path[i + 1]);
      if (next >= 0xDC00 && next <= 0xDFFF) {
        appendUtf8(out, 0x10000 + ((unit - 0xD800) << 10) + (next - 0xDC00));
        ++i;
        continue;
      }
    }
    appendUtf8(out, isHigh || isLow ? kReplacementCharacter : unit);
  }
  return out;
}

}  // namespace vorlane

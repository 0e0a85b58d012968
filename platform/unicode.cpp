#include "platform/unicode.h"

#include <cstdint>

namespace vorlane {

void appendUtf8(std::string& out, char32_t codePoint) {
  auto byte = [&out](char32_t value) { out.push_back(static_cast<char>(value)); };
  if (codePoint < 0x80) {
    byte(codePoint);
  } else if (codePoint < 0x800) {
    byte(0xC0 | (codePoint >> 6));
    byte(0x80 | (codePoint & 0x3F));
  } else if (codePoint < 0x10000) {
    byte(0xE0 | (codePoint >> 12));
    byte(0x80 | ((codePoint >> 6) & 0x3F));
    byte(0x80 | (codePoint & 0x3F));
  } else {
    byte(0xF0 | (codePoint >> 18));
    byte(0x80 | ((codePoint >> 12) & 0x3F));
    byte(0x80 | ((codePoint >> 6) & 0x3F));
    byte(0x80 | (codePoint & 0x3F));
  }
}

Utf8Step decodeUtf8(std::string_view bytes) {
  const auto lead = static_cast<uint8_t>(bytes[0]);
  if (lead < 0x80) return {lead, 1, true};
  // The well-formed sequences (the Standard's table 3-7): how many bytes
  // follow the lead byte, and the range of the first of them, which rules
  // out overlong forms, surrogates and values above U+10FFFF.
  size_t trailing = 0;
  uint8_t low = 0x80;
  uint8_t high = 0xBF;
  if (lead >= 0xC2 && lead <= 0xDF) {
    trailing = 1;
  } else if (lead >= 0xE0 && lead <= 0xEF) {
    trailing = 2;
    if (lead == 0xE0) low = 0xA0;
    if (lead == 0xED) high = 0x9F;
  } else if (lead >= 0xF0 && lead <= 0xF4) {
    trailing = 3;
    if (lead == 0xF0) low = 0x90;
    if (lead == 0xF4) high = 0x8F;
  } else {
    return {kReplacementCharacter, 1, false};  // a continuation byte, C0, C1 or F5 to FF
  }
  char32_t codePoint = lead & (0x3F >> trailing);
  for (size_t k = 1; k <= trailing; ++k) {
    if (k >= bytes.size()) return {kReplacementCharacter, k, false};
    const auto next = static_cast<uint8_t>(bytes[k]);
    if (next < low || next > high) return {kReplacementCharacter, k, false};
    codePoint = codePoint << 6 | (next & 0x3F);
    low = 0x80;
    high = 0xBF;
  }
  return {codePoint, trailing + 1, true};
}

std::string repairUtf8(std::string_view bytes) {
  std::string out;
  out.reserve(bytes.size());
  while (!bytes.empty()) {
    const Utf8Step step = decodeUtf8(bytes);
    if (step.wellFormed) {
      out.append(bytes.substr(0, step.length));
    } else {
      appendUtf8(out, kReplacementCharacter);
    }
    bytes.remove_prefix(step.length);
  }
  return out;
}

}  // namespace vorlane

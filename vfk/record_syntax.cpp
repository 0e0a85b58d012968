#include "vfk/record_syntax.h"

#include <cstring>

namespace vorlane {

int splitFields(std::string_view line, SplitLine& row) {
  row.startAt(line.data());
  int count = 0;
  size_t cursor = 0;
  while (cursor != line.size() && count < kMaxFields) {
    const size_t semicolon = line.find(';', cursor);
    // The piece after the last semicolon is not empty, since cursor != size.
    cursor = (semicolon == std::string_view::npos ? line.size() : semicolon) + 1;
    row.bounds[static_cast<size_t>(++count)] = static_cast<uint32_t>(cursor);
    if (semicolon == std::string_view::npos) break;
  }
  row.fieldCount = count;
  return count;
}

int splitQuotedFields(std::string_view line, SplitLine& row, int maxFields) {
  const int limit = maxFields < kMaxFields ? maxFields : kMaxFields;
  row.startAt(line.data());
  if (line.size() > kMaxSplitLength) return -1;
  int count = 0;
  int separators = 0;
  size_t start = 0;
  size_t at = 0;
  while (at <= line.size()) {
    if (at < line.size() && at == start && line[at] == '"') {
      // A text: on to its closing quote; "" inside it is a quote.
      size_t close = at + 1;
      for (;; close += 2) {
        close = line.find('"', close);
        if (close == std::string_view::npos) {
          row.fieldCount = count;
          return -1;
        }
        if (close + 1 >= line.size() || line[close + 1] != '"') break;
      }
      at = close + 1;
      continue;
    }
    if (at == line.size() || line[at] == ';') {
      // The piece after the last semicolon counts when it is not empty.
      const bool counts = at < line.size() || at > start;
      if (counts && count < limit) {
        row.bounds[static_cast<size_t>(++count)] = static_cast<uint32_t>(at + 1);
      }
      if (at == line.size()) break;
      ++separators;
      start = at + 1;
    }
    ++at;
  }
  row.fieldCount = count;
  return separators;
}

std::string_view unquotedText(std::string_view value, std::string& scratch) {
  const std::string_view text = stripQuotes(value);
  if (text.find("\"\"") == std::string_view::npos) return text;
  scratch.clear();
  for (size_t k = 0; k < text.size(); ++k) {
    scratch += text[k];
    if (text[k] == '"' && k + 1 < text.size() && text[k + 1] == '"') ++k;
  }
  return scratch;
}

int findFieldIndex(const SplitLine& definition, int fieldCount, std::string_view name) {
  for (int i = 0; i < fieldCount; ++i) {
    std::string_view fieldName = definition.field(i);
    fieldName = fieldName.substr(0, fieldName.find(' '));
    if (fieldName == name) return i;
  }
  return -1;
}


std::string_view stripQuotes(std::string_view text) {
  return text.size() >= 2 ? text.substr(1, text.size() - 2) : text;
}

uint64_t idKey(std::string_view text) {
  uint64_t key = 2166136261u;
  for (const char c : text) {
    key *= 16777619u;
    // The byte is sign-extended, so one of 0x80 or above flips the upper 56
    // bits as well.
    key ^= static_cast<uint64_t>(static_cast<int64_t>(static_cast<signed char>(c)));
  }
  return key;
}

}  // namespace vorlane

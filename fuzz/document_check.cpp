#include "fuzz/document_check.h"

#include <charconv>
#include <string>
#include <vector>

#include "platform/unicode.h"

namespace vorlane::fuzz {

namespace {

// The characters of UTF-8 text, one at a time; runs of ASCII go fast. The
// checks are built without the fuzzers' coverage (fuzz/CMakeLists.txt), so
// that they cost the fuzzer little of its time.
template <typename Character>
bool everyCharacter(std::string_view text, const Character& allowed) {
  for (size_t at = 0; at < text.size();) {
    const auto byte = static_cast<unsigned char>(text[at]);
    if (byte < 0x80) {
      if (!allowed(byte)) return false;
      ++at;
      continue;
    }
    const Utf8Step step = decodeUtf8(text.substr(at));
    if (!step.wellFormed || !allowed(step.codePoint)) return false;
    at += step.length;
  }
  return true;
}

// Whether every character is one XML allows.
bool xmlCharacters(std::string_view text) {
  return everyCharacter(text, [](char32_t c) {
    return (c >= 0x20 || c == '\t' || c == '\n' || c == '\r') && c != 0xFFFE && c != 0xFFFF;
  });
}

// Whether "&" in the text starts a reference.
bool referencesOnly(std::string_view text) {
  for (size_t at = text.find('&'); at != std::string_view::npos; at = text.find('&', at + 1)) {
    const std::string_view rest = text.substr(at);
    bool named = false;
    for (const std::string_view entity : {"&amp;", "&lt;", "&gt;", "&quot;", "&apos;"}) {
      named = named || rest.starts_with(entity);
    }
    if (!named) return false;
  }
  return true;
}

bool nameCharacter(char c) {
  return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == ':' ||
         c == '-' || c == '_' || c == '.';
}

}  // namespace

std::string_view svgFault(std::string_view document) {
  if (!xmlCharacters(document)) return "a character that is not UTF-8 or not allowed in XML";
  std::vector<std::string_view> open;
  size_t at = 0;
  bool rootSeen = false;
  while (at < document.size()) {
    const size_t tag = document.find('<', at);
    const std::string_view text = document.substr(at, tag - at);
    if (!referencesOnly(text) || text.find('>') != std::string_view::npos) return "bad text";
    if (open.empty() && text.find_first_not_of(" \r\n\t") != std::string_view::npos) {
      return "text outside the root element";
    }
    if (tag == std::string_view::npos) break;
    const std::string_view rest = document.substr(tag);
    if (rest.starts_with("<?")) {
      const size_t end = rest.find("?>");
      if (end == std::string_view::npos || tag != 0) return "a bad declaration";
      at = tag + end + 2;
      continue;
    }
    if (rest.starts_with("<!--")) {
      const size_t end = rest.find("-->", 4);
      if (end == std::string_view::npos) return "an unclosed comment";
      at = tag + end + 3;
      continue;
    }
    const size_t end = rest.find('>');
    if (end == std::string_view::npos) return "an unclosed tag";
    std::string_view inside = rest.substr(1, end - 1);
    at = tag + end + 1;
    if (inside.starts_with('/')) {
      if (open.empty() || open.back() != inside.substr(1)) return "an end tag out of order";
      open.pop_back();
      continue;
    }
    const bool empty = inside.ends_with('/');
    if (empty) inside.remove_suffix(1);
    size_t k = 0;
    while (k < inside.size() && nameCharacter(inside[k])) ++k;
    if (k == 0) return "a tag without a name";
    const std::string_view name = inside.substr(0, k);
    // Attributes: name="value", separated by white space.
    while (k < inside.size()) {
      const size_t start = inside.find_first_not_of(" \r\n\t", k);
      if (start == std::string_view::npos) break;
      if (start == k) return "attributes not apart";
      const size_t equals = inside.find('=', start);
      if (equals == std::string_view::npos || equals + 1 >= inside.size() ||
          inside[equals + 1] != '"') {
        return "an attribute without a quoted value";
      }
      for (size_t n = start; n < equals; ++n) {
        if (!nameCharacter(inside[n])) return "a bad attribute name";
      }
      const size_t close = inside.find('"', equals + 2);
      if (close == std::string_view::npos) return "an unclosed attribute value";
      const std::string_view value = inside.substr(equals + 2, close - equals - 2);
      if (value.find('<') != std::string_view::npos || !referencesOnly(value)) {
        return "a bad attribute value";
      }
      k = close + 1;
    }
    if (open.empty() && rootSeen) return "a second root element";
    rootSeen = true;
    if (!empty) open.push_back(name);
  }
  if (!open.empty() || !rootSeen) return "unclosed elements";
  return "";
}

std::string_view dxfFault(std::string_view document) {
  if (!everyCharacter(document, [](char32_t) { return true; })) return "bytes that are not UTF-8";
  if (!document.ends_with("  0\r\nEOF\r\n")) return "no EOF at the end";
  for (size_t line = 0; line < document.size();) {
    const size_t codeEnd = document.find("\r\n", line);
    const size_t valueEnd = document.find("\r\n", codeEnd + 2);
    if (codeEnd == std::string_view::npos || valueEnd == std::string_view::npos) {
      return "a group without its value";
    }
    std::string_view code = document.substr(line, codeEnd - line);
    code.remove_prefix(std::min(code.find_first_not_of(' '), code.size()));
    int number = 0;
    const auto parsed = std::from_chars(code.data(), code.data() + code.size(), number);
    if (parsed.ec != std::errc() || parsed.ptr != code.data() + code.size()) {
      return "a group code that is no number";
    }
    const std::string_view value = document.substr(codeEnd + 2, valueEnd - codeEnd - 2);
    if (value.find_first_of("\r\n") != std::string_view::npos) return "a line break in a value";
    line = valueEnd + 2;
  }
  return "";
}

}  // namespace vorlane::fuzz

#include "cli/file_checks.h"

#include <algorithm>

#include "entry/conversion.h"
#include "platform/files.h"
#include "platform/unicode.h"

namespace vorlane::cli {

bool utf8ToUtf16(std::string_view text, PathString& out) {
  out.clear();
  while (!text.empty()) {
    const Utf8Step step = decodeUtf8(text);
    if (!step.wellFormed) return false;
    char32_t codePoint = step.codePoint;
    if (codePoint >= 0x10000) {
      codePoint -= 0x10000;
      out.push_back(static_cast<char16_t>(0xD800 + (codePoint >> 10)));
      out.push_back(static_cast<char16_t>(0xDC00 + (codePoint & 0x3FF)));
    } else {
      out.push_back(static_cast<char16_t>(codePoint));
    }
    text.remove_prefix(step.length);
  }
  return true;
}

bool equalIgnoringCase(std::string_view a, std::string_view b) {
  auto lower = [](char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; };
  return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(),
                                            [&](char x, char y) { return lower(x) == lower(y); });
}

std::string misplacedDrawing(const std::string& input, const std::string& drawing) {
  const size_t nameStart = input.rfind('/') == std::string::npos ? 0 : input.rfind('/') + 1;
  const size_t dot = input.rfind('.');
  if (dot == std::string::npos || dot > nameStart) return "";
  // The cut at a "./" just before the name leaves the drawing in the file's
  // folder, as does a name that starts with the dot.
  const bool dotSlashName =
      nameStart == dot + 2 && input[dot + 1] == '/' && (dot == 0 || input[dot - 1] == '/');
  const std::string where = dot == nameStart || dotSlashName ? ", without a name of its own"
                                                             : ", outside the file's folder";
  return "its drawing would be " + drawing + where +
         "; give the file a name with an extension, such as .vfk";
}

bool looksLikeVfk(PathView path) { return !InputFile(path).isOpen() || holdsVfk(path); }

}  // namespace vorlane::cli

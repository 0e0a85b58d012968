#include "vfk/text_conversion.h"

#include <utility>

#include "platform/code_page.h"
#include "platform/unicode.h"

namespace vorlane {

void convertToUtf8(std::string& text, int fromCodePage) {
  if (text.empty()) return;
  if (fromCodePage == kUtf8CodePage) {
    // Already UTF-8, or meant to be: what is not well-formed is replaced.
    text = repairUtf8(text);
    return;
  }
  std::string utf8;
  if (decodeToUtf8(fromCodePage, text, utf8)) text = std::move(utf8);
}

}  // namespace vorlane

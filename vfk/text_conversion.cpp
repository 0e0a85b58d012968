#include "vfk/text_conversion.h"

#include <utility>

#include "platform/code_page.h"

namespace vorlane {

int codePage = kAnsiCodePage;

void convertToUtf8(std::string& text) {
  if (text.empty() || codePage == kUtf8CodePage) return;
  std::string utf8;
  if (decodeToUtf8(codePage, text, utf8)) text = std::move(utf8);
}

}  // namespace vorlane

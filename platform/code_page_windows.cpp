// Decoding through Windows' own code page services.
#include <windows.h>

#include <string>

#include "platform/code_page.h"

namespace vorlane {

bool decodeToUtf8(int codePage, std::string_view bytes, std::string& out) {
  if (bytes.empty()) {
    out.clear();
    return true;
  }
  if (bytes.size() > 0x3FFFFFFF) return false;
  const int byteCount = static_cast<int>(bytes.size());
  const auto windowsCodePage = static_cast<UINT>(codePage);
  const int wideCount =
      ::MultiByteToWideChar(windowsCodePage, 0, bytes.data(), byteCount, nullptr, 0);
  if (wideCount <= 0) return false;
  std::wstring wide(static_cast<size_t>(wideCount), L'\0');
  if (::MultiByteToWideChar(windowsCodePage, 0, bytes.data(), byteCount, wide.data(),
                            wideCount) != wideCount) {
    return false;
  }
  const int utf8Count =
      ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), wideCount, nullptr, 0, nullptr, nullptr);
  if (utf8Count <= 0) return false;
  out.assign(static_cast<size_t>(utf8Count), '\0');
  return ::WideCharToMultiByte(CP_UTF8, 0, wide.data(), wideCount, out.data(), utf8Count,
                               nullptr, nullptr) == utf8Count;
}

}  // namespace vorlane

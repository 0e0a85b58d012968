// Decoding of the code pages a VFK file may be written in.
#ifndef VORLANE_PLATFORM_CODE_PAGE_H_
#define VORLANE_PLATFORM_CODE_PAGE_H_

#include <string>
#include <string_view>

namespace vorlane {

constexpr int kAnsiCodePage = 0;  // the system's ANSI code page
constexpr int kIso8859_2CodePage = 28592;
constexpr int kUtf8CodePage = 65001;

// Decodes "bytes" from the Windows code page "codePage" and writes their
// UTF-8 encoding to "out". Code page 0 is the system's ANSI code page; on a
// system that has none it is Windows-1250, the ANSI code page of Czech
// Windows. Returns false when the bytes cannot be decoded with that code page;
// "out" is then unspecified.
bool decodeToUtf8(int codePage, std::string_view bytes, std::string& out);

}  // namespace vorlane

#endif  // VORLANE_PLATFORM_CODE_PAGE_H_

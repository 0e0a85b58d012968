// The code page of VFK texts and the conversion that uses it.
#ifndef VORLANE_VFK_TEXT_CONVERSION_H_
#define VORLANE_VFK_TEXT_CONVERSION_H_

#include <string>

namespace vorlane {

// The code page a file's CODEPAGE header named last in this process: 0 (the
// system's ANSI code page) until one does, then 28592 for ISO-8859-2 or
// 65001 for UTF-8. Never reset, so a later file that names no known code page
// is decoded with the one named last. Shared by every conversion in the
// process, without a lock. Only the reader's header handling sets it; the
// reader hands the value to everything that decodes texts.
int processCodePage();
void setProcessCodePage(int codePage);

// Replaces "text", bytes in "codePage", with its UTF-8 encoding. With UTF-8
// itself, every ill-formed part becomes U+FFFD (repairUtf8); a text the
// platform cannot decode from another code page stays as it is.
void convertToUtf8(std::string& text, int codePage);

}  // namespace vorlane

#endif  // VORLANE_VFK_TEXT_CONVERSION_H_

// The code page of VFK texts and the conversion that uses it.
#ifndef VORLANE_VFK_TEXT_CONVERSION_H_
#define VORLANE_VFK_TEXT_CONVERSION_H_

#include <string>

namespace vorlane {

// Replaces "text", bytes in "codePage", with its UTF-8 encoding. With UTF-8
// itself, every ill-formed part becomes U+FFFD (repairUtf8); a text the
// platform cannot decode from another code page stays as it is.
void convertToUtf8(std::string& text, int codePage);

}  // namespace vorlane

#endif  // VORLANE_VFK_TEXT_CONVERSION_H_

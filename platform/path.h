// Paths as the library receives them: NUL-terminated UTF-16 strings.
#ifndef VORLANE_PLATFORM_PATH_H_
#define VORLANE_PLATFORM_PATH_H_

#include <string>
#include <string_view>

#include "Vorlane.h"

namespace vorlane {

using PathChar = VorlanePathChar;
using PathString = std::basic_string<PathChar>;
using PathView = std::basic_string_view<PathChar>;

// Converts a UTF-16 path to UTF-8; an unpaired surrogate becomes U+FFFD.
std::string pathToUtf8(PathView path);

}  // namespace vorlane

#endif  // VORLANE_PLATFORM_PATH_H_

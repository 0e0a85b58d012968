// What the converter makes sure of before it converts a file: that its name
// can be handed to the library, that its drawing gets a name of its own in
// its folder and does not replace the file, and that it is a VFK file.
#ifndef VORLANE_CLI_FILE_CHECKS_H_
#define VORLANE_CLI_FILE_CHECKS_H_

#include <string>
#include <string_view>

#include "platform/path.h"

namespace vorlane::cli {

// UTF-8 to UTF-16; false for bytes that are not UTF-8, which no UTF-16 path
// could name.
bool utf8ToUtf16(std::string_view text, PathString& out);

// Why the drawing of "input", beside it, would not be a file of its own in
// its folder, or "" when it would. The library cuts the path at its last
// ".", wherever it is.
std::string misplacedDrawing(const std::string& input, const std::string& drawing);

// Whether two paths name one file where file names ignore case, as on
// Windows: plan.SVG and plan.svg.
bool equalIgnoringCase(std::string_view a, std::string_view b);

// Whether the file begins as a VFK file does (holdsVfk). A file that cannot
// be opened is left to the library, which says so: true.
bool looksLikeVfk(PathView path);

}  // namespace vorlane::cli

#endif  // VORLANE_CLI_FILE_CHECKS_H_

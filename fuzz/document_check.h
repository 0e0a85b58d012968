// What every drawing must be, whatever the input: checked by the fuzzers.
#ifndef VORLANE_FUZZ_DOCUMENT_CHECK_H_
#define VORLANE_FUZZ_DOCUMENT_CHECK_H_

#include <string_view>

namespace vorlane::fuzz {

// Why the SVG drawing is not a well-formed XML document of UTF-8 characters
// (tags nested and closed, attributes quoted, "&" only in references, no
// character XML forbids), or "" when it is.
std::string_view svgFault(std::string_view document);

// Why the DXF drawing is not a document of groups (a whole number, then a
// value, on lines of UTF-8 characters) ending in EOF, or "" when it is.
std::string_view dxfFault(std::string_view document);

}  // namespace vorlane::fuzz

#endif  // VORLANE_FUZZ_DOCUMENT_CHECK_H_

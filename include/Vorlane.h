/* Vorlane: converts a Czech cadastral exchange file (VFK) into an SVG drawing
 * for import into a CAD application.
 *
 * Conventions:
 *  1. The library has one function. It runs on the caller's thread and returns
 *     when the conversion has ended. Calls must come from one thread at a time:
 *     the code page named by a file's CODEPAGE header is remembered for the
 *     rest of the process.
 *  2. Paths are NUL-terminated UTF-16 strings: wchar_t on Windows, char16_t
 *     elsewhere (where the path is handed to the file system as UTF-8).
 *  3. Nothing is allocated for the caller, and the path is neither kept nor
 *     modified.
 *  4. Warnings (missing points, an unknown code page) and the message for a
 *     file that cannot be opened are written to standard output.
 */
#ifndef VORLANE_H_
#define VORLANE_H_

#include <stdint.h>

#ifndef __cplusplus
#include <stdbool.h>
#if !defined(_WIN32)
#include <uchar.h>
#endif
#endif

#if defined(_WIN32)
#include <wchar.h>
typedef wchar_t VorlanePathChar;
#else
typedef char16_t VorlanePathChar;
#endif

#if defined(_WIN32)
#if defined(VORLANE_BUILDING_LIBRARY)
#define VORLANE_EXPORT __declspec(dllexport)
#else
#define VORLANE_EXPORT __declspec(dllimport)
#endif
#else
#define VORLANE_EXPORT __attribute__((visibility("default")))
#endif

#ifdef __cplusplus
extern "C" {
#endif

/* Reads the VFK file at vfkPath and writes its drawing beside it: the same
 * path with everything from its last "." replaced by ".svg" (".svg" is
 * appended when the path has no "."). An existing file there is replaced.
 *
 * units is written unchanged into the drawing's root element. centreOrigin
 * puts the drawing's origin at the centre of its extent; otherwise it is
 * "0 0".
 *
 * Returns false when the VFK file cannot be opened or the conversion fails
 * (for example when memory runs out); then no drawing is written, or the one
 * begun is left incomplete. Returns true when the file was read: note that
 * true is also returned when the drawing itself could not be created (a
 * missing folder, no permission), so check for the file when it matters. */
VORLANE_EXPORT bool Vorlane_ParseVfk(const VorlanePathChar* vfkPath,
                                     int32_t units, bool centreOrigin);

#ifdef __cplusplus
}
#endif

#endif /* VORLANE_H_ */

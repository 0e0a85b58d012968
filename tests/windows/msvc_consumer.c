/* A program linked as Microsoft's toolchain links one: compiled for the MSVC
 * target and linked by lld-link, without a C library, against the release
 * zip's Vorlane.lib. Converts sample.vfk in the current folder; exits 0 when
 * the call returned true. */
#include <Vorlane.h>

int mainCRTStartup(void) { return Vorlane_ParseVfk(L"sample.vfk", 1, false) ? 0 : 1; }

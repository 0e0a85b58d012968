/* consumer FILE: a Windows program built from the release zip alone, against
 * its Vorlane.h and its import library Vorlane.lib. Converts one VFK file
 * through Vorlane.dll and reports, on standard error, the header's version
 * and the call's result ("true" or "false"); exits 0 on true. */
#include <Vorlane.h>

#include <stdio.h>
#include <wchar.h>

int wmain(int argc, wchar_t** argv) {
  if (argc != 2) {
    fputs("usage: consumer FILE\n", stderr);
    return 2;
  }
  fprintf(stderr, "Vorlane.h %d.%d.%d\n", VORLANE_VERSION_MAJOR, VORLANE_VERSION_MINOR,
          VORLANE_VERSION_PATCH);
  const bool converted = Vorlane_ParseVfk(argv[1], 1, false);
  fprintf(stderr, "%s\n", converted ? "true" : "false");
  return converted ? 0 : 1;
}

/* load_vorlane FILE.vfk...: loads Vorlane.dll at run time, as a CAD
 * application does, and converts each file it is given. A starting point for
 * a host of your own; it builds with Microsoft's compiler and with MinGW:
 *
 *   cl /W4 load_vorlane.c
 *   x86_64-w64-mingw32-gcc -municode -o load_vorlane.exe load_vorlane.c
 *
 * It needs neither Vorlane.h nor Vorlane.lib: it finds the function by name.
 * Exit status: 0 when every file was converted, 1 when any was not, 2 when
 * the DLL or its function cannot be found. */
#define WIN32_LEAN_AND_MEAN
#include <stdbool.h>
#include <stdint.h>
#include <stdio.h>
#include <wchar.h>
#include <windows.h>

/* The one export: a NUL-terminated UTF-16 path, the CAD application's units
 * number, and whether the drawing's origin is the centre of its extent. */
typedef bool(__cdecl* ParseVfk)(const wchar_t* vfkPath, int32_t units, bool centreOrigin);

int wmain(int argc, wchar_t** argv) {
  if (argc < 2) {
    fputs("usage: load_vorlane FILE.vfk...\n", stderr);
    return 2;
  }
  /* Beside the program, or on the search path. */
  HMODULE library = LoadLibraryW(L"Vorlane.dll");
  if (library == NULL) {
    fprintf(stderr, "cannot load Vorlane.dll (error %lu)\n", GetLastError());
    return 2;
  }
  ParseVfk parseVfk = (ParseVfk)(void (*)(void))GetProcAddress(library, "Vorlane_ParseVfk");
  if (parseVfk == NULL) {
    fprintf(stderr, "Vorlane.dll has no Vorlane_ParseVfk (error %lu)\n", GetLastError());
    FreeLibrary(library);
    return 2;
  }
  int status = 0;
  for (int i = 1; i < argc; ++i) {
    /* The drawing goes beside the file: plan.vfk gives plan.svg. */
    const bool converted = parseVfk(argv[i], 1, false);
    fwprintf(stderr, L"%ls: %ls\n", argv[i], converted ? L"converted" : L"not converted");
    if (!converted) status = 1;
  }
  FreeLibrary(library);
  return status;
}

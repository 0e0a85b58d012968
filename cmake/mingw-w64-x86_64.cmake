# Cross-builds Vorlane for 64-bit Windows with the MinGW-w64 compilers:
#
#   cmake -S . -B build-windows -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake
#   cmake --build build-windows
#
# The result is Vorlane.dll with the compiler's own runtime linked in, so that
# it needs nothing but the DLLs every Windows has.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(VORLANE_MINGW_PREFIX x86_64-w64-mingw32)

# The "win32" thread model needs no winpthread at all; the plain names are
# whichever model the system chose.
find_program(VORLANE_MINGW_GCC NAMES ${VORLANE_MINGW_PREFIX}-gcc-win32 ${VORLANE_MINGW_PREFIX}-gcc
             REQUIRED)
find_program(VORLANE_MINGW_GXX NAMES ${VORLANE_MINGW_PREFIX}-g++-win32 ${VORLANE_MINGW_PREFIX}-g++
             REQUIRED)
find_program(VORLANE_MINGW_WINDRES NAMES ${VORLANE_MINGW_PREFIX}-windres)
set(CMAKE_C_COMPILER ${VORLANE_MINGW_GCC})
set(CMAKE_CXX_COMPILER ${VORLANE_MINGW_GXX})
if(VORLANE_MINGW_WINDRES)
  set(CMAKE_RC_COMPILER ${VORLANE_MINGW_WINDRES})
endif()

# Libraries and headers come from the cross compiler's own tree only;
# programs run during the build come from the host.
set(CMAKE_FIND_ROOT_PATH /usr/${VORLANE_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# -static puts libgcc, libstdc++ and (with the posix thread model)
# libwinpthread into every DLL and program, leaving only Windows' own DLLs
# to be found at run time.
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-static -static-libgcc -static-libstdc++")

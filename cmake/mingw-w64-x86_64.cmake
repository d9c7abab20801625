# Cross-compiles for 64-bit Windows with Debian's MinGW-w64 (the -posix
# variant, whose std::mutex GoogleTest needs), and runs what it builds under
# Wine, so that the tests run here as they would on Windows.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(D88CUT_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${D88CUT_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${D88CUT_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${D88CUT_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${D88CUT_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# Quiet (no debug channels, no hint on standard error), without the Mono
# and Gecko installs, in a prefix of the build's own.
find_program(D88CUT_WINE NAMES wine wine64)
find_program(D88CUT_WINESERVER NAMES wineserver wineserver64)
if(D88CUT_WINE)
  set(D88CUT_WINE_ENV env WINEDEBUG=-all WINEDLLOVERRIDES=mscoree,mshtml=
                      WINEPREFIX=${CMAKE_BINARY_DIR}/wine)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${D88CUT_WINE_ENV} ${D88CUT_WINE})
endif()

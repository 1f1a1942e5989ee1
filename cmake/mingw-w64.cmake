# Cross-builds static 64-bit Windows programs with MinGW-w64 (posix thread
# model) and runs them under Wine, with a Wine prefix of the build's own.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(CMAKE_C_COMPILER x86_64-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER x86_64-w64-mingw32-g++-posix)
set(CMAKE_FIND_ROOT_PATH /usr/x86_64-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# No DLLs of the compiler's run-time beside the program.
set(CMAKE_EXE_LINKER_FLAGS_INIT -static)
# Wine's environment, quiet and without desktop menu entries; the tests run
# Wine's tools under it too.
set(TAVRO_WINE env WINEPREFIX=${CMAKE_BINARY_DIR}/wine WINEDEBUG=-all
    WINEDLLOVERRIDES=winemenubuilder.exe=d)
set(CMAKE_CROSSCOMPILING_EMULATOR ${TAVRO_WINE} /usr/lib/wine/wine64)

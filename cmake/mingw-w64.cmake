# Cross-compiling for 64-bit Windows with MinGW-w64 (posix thread variant, which std::mutex and
# GoogleTest need). cmake/mingw-w64-i686.cmake reuses this file for 32-bit Windows.
if(NOT DEFINED TOLVAK_MINGW_ARCH)
    set(TOLVAK_MINGW_ARCH x86_64)
endif()
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR ${TOLVAK_MINGW_ARCH})

set(CMAKE_C_COMPILER   ${TOLVAK_MINGW_ARCH}-w64-mingw32-gcc-posix)
set(CMAKE_CXX_COMPILER ${TOLVAK_MINGW_ARCH}-w64-mingw32-g++-posix)
set(CMAKE_RC_COMPILER  ${TOLVAK_MINGW_ARCH}-w64-mingw32-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${TOLVAK_MINGW_ARCH}-w64-mingw32)
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)

# Tests and benchmarks run under Wine (64-bit only: this machine cannot run 32-bit programs).
if(TOLVAK_MINGW_ARCH STREQUAL "x86_64")
    set(CMAKE_CROSSCOMPILING_EMULATOR /usr/lib/wine/wine64)
endif()

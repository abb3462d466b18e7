# Cross-compiling for 32-bit Windows (`make build32`): compile and link only.
set(TOLVAK_MINGW_ARCH i686)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-w64.cmake)

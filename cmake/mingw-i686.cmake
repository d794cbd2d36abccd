# Cross build for 32-bit Windows with MinGW-w64: kelvane.exe itself.
set(CMAKE_SYSTEM_PROCESSOR i686)
set(KELVANE_MINGW_TRIPLE i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)

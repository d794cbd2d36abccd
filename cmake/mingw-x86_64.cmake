# Cross build of the same sources for 64-bit Windows: used to run the Windows and end-to-end
# tests on hosts that cannot run 32-bit code (see scripts/wine-env.sh).
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(KELVANE_MINGW_TRIPLE x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw-common.cmake)

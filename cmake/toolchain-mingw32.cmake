# Cross build for 32-bit Windows with Debian's MinGW-w64.  Built and checked,
# not run: there is no emulator for it on a kernel without 32-bit support.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86)
set(DAQGATE_MINGW_TRIPLE i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)

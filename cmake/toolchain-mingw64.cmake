# Cross build for 64-bit Windows with Debian's MinGW-w64 (posix threads:
# the standard library's threads and clocks), run under 64-bit Wine: its
# own loader, which Debian's wine command passes by when 32-bit Wine is
# installed too.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)
set(DAQGATE_MINGW_TRIPLE x86_64-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
find_program(DAQGATE_WINE64 NAMES wine64 wine PATHS /usr/lib/wine)
if(DAQGATE_WINE64)
  set(CMAKE_CROSSCOMPILING_EMULATOR ${DAQGATE_WINE64})
endif()

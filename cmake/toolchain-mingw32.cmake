# Cross build for 32-bit Windows with Debian's MinGW-w64, run under 32-bit
# Wine (Debian's wine32:i386, whose loader is /usr/lib/wine/wine) where
# this machine's kernel runs 32-bit programs.  Without it the build is only
# built and its DLLs checked.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86)
set(DAQGATE_MINGW_TRIPLE i686-w64-mingw32)
include(${CMAKE_CURRENT_LIST_DIR}/mingw.cmake)
# The 32-bit loader is itself a 32-bit Linux program: it starts only where
# the kernel runs 32-bit code (some kernels have it built in but off).
if(EXISTS /usr/lib/wine/wine)
  execute_process(COMMAND /usr/lib/wine/wine --version RESULT_VARIABLE daqgate_wine32_status
                  OUTPUT_QUIET ERROR_QUIET)
  if(daqgate_wine32_status EQUAL 0)
    find_program(DAQGATE_WINE32 NAMES wine)
    if(DAQGATE_WINE32)
      set(CMAKE_CROSSCOMPILING_EMULATOR ${DAQGATE_WINE32})
    endif()
  endif()
endif()

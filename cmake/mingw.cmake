# What both MinGW-w64 toolchain files share; DAQGATE_MINGW_TRIPLE names the
# target.
set(CMAKE_C_COMPILER ${DAQGATE_MINGW_TRIPLE}-gcc-posix)
set(CMAKE_CXX_COMPILER ${DAQGATE_MINGW_TRIPLE}-g++-posix)
set(CMAKE_RC_COMPILER ${DAQGATE_MINGW_TRIPLE}-windres)
set(CMAKE_DLLTOOL ${DAQGATE_MINGW_TRIPLE}-dlltool)
set(CMAKE_OBJDUMP ${DAQGATE_MINGW_TRIPLE}-objdump)
set(CMAKE_FIND_ROOT_PATH /usr/${DAQGATE_MINGW_TRIPLE})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)
# Nothing of the compiler's runtime to ship: libgcc, libstdc++ and
# winpthread are linked into every program and library.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")
set(CMAKE_SHARED_LINKER_FLAGS_INIT "-static")
set(CMAKE_MODULE_LINKER_FLAGS_INIT "-static")

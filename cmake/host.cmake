# The host whose mex.h the gateways compile against: GNU Octave by default,
# MATLAB with DAQGATE_MATLAB=ON, and in a cross build for Windows without
# MATLAB the project's stand-ins for the host's libmx.dll and libmex.dll.
# Either way the target daqgate_host carries the include directories, and
# daqgate_add_mex() makes one loadable module.
add_library(daqgate_host INTERFACE)

if(DAQGATE_MATLAB)
  find_package(Matlab REQUIRED COMPONENTS MX_LIBRARY)
  target_include_directories(daqgate_host INTERFACE ${Matlab_INCLUDE_DIRS})
  # MATLAB tells a MEX file of a pending Ctrl-C through utIsInterruptPending
  # of its libut, which no header of MATLAB's declares and FindMatlab does
  # not look for: it stands beside the MX library (bin/glnxa64/libut.so,
  # bin/maci64/libut.dylib; on Windows the import library libut.lib in the
  # folder of libmx.lib, extern/lib/win64/microsoft or .../mingw64), or in
  # MATLAB's other library folders.
  option(DAQGATE_MATLAB_INTERRUPT "Let the text link's waits end on Ctrl-C in MATLAB (libut)" ON)
  if(DAQGATE_MATLAB_INTERRUPT)
    get_filename_component(mx_folder "${Matlab_MX_LIBRARY}" DIRECTORY)
    set(ut_folders ${mx_folder})
    foreach(folder Matlab_BINARIES_DIR Matlab_EXTERN_LIBRARY_DIR Matlab_EXTERN_BINARIES_DIR)
      if(${folder})
        list(APPEND ut_folders ${${folder}})
        if(WIN32)
          list(APPEND ut_folders ${${folder}}/microsoft ${${folder}}/mingw64)
        endif()
      endif()
    endforeach()
    # MATLAB's libraries are all named lib*: on Windows libut.lib, which
    # find_library takes only by its whole name.
    find_library(DAQGATE_MATLAB_UT_LIBRARY NAMES ut libut libut.lib PATHS ${ut_folders} NO_DEFAULT_PATH)
    if(NOT DAQGATE_MATLAB_UT_LIBRARY)
      message(FATAL_ERROR "MATLAB's libut (utIsInterruptPending) not found in: ${ut_folders}; "
                          "or build without it: -DDAQGATE_MATLAB_INTERRUPT=OFF (a wait with no time limit then "
                          "hears no Ctrl-C)")
    endif()
    message(STATUS "MATLAB libut: ${DAQGATE_MATLAB_UT_LIBRARY}")
    target_compile_definitions(daqgate_host INTERFACE DAQGATE_MATLAB_INTERRUPT)
    target_link_libraries(daqgate_host INTERFACE ${DAQGATE_MATLAB_UT_LIBRARY})
  endif()
  # FindMatlab links MATLAB's libraries with the plain signature of
  # target_link_libraries, which no later keyword call may meet, and ahead
  # of the frame and the family's procedure, where --as-needed drops them:
  # they come with the host instead, behind what calls them.
  target_link_libraries(daqgate_host INTERFACE ${Matlab_MEX_LIBRARY} ${Matlab_MX_LIBRARY})
  function(daqgate_add_mex NAME)
    matlab_add_mex(NAME ${NAME} MODULE SRC ${ARGN} NO_IMPLICIT_LINK_TO_MATLAB_LIBRARIES)
    set_target_properties(${NAME} PROPERTIES LIBRARY_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/mex
                                             RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/mex)
  endfunction()
elseif(WIN32)
  # The stand-in host, made from the unit tests' host: libmx.dll (arrays,
  # storage) and libmex.dll (the error call, printing), exporting what the
  # gateways import of the host's libraries of those names.
  # DAQGATE_MATLAB_API=R2017b|R2018a: the modules as MATLAB's MinGW mex
  # makes them, and a stand-in host of that API (cmake/matlab_api.cmake).
  set(DAQGATE_MATLAB_API "" CACHE STRING "Windows: build the modules as MATLAB's mex does for this API (R2017b or R2018a)")
  set(standin ${PROJECT_SOURCE_DIR}/tests/standin)
  if(DAQGATE_MATLAB_API)
    set(standin ${PROJECT_SOURCE_DIR}/tests/standin/matlab)
  endif()
  add_library(libmx SHARED ${PROJECT_SOURCE_DIR}/tests/unit/host.cpp)
  target_compile_definitions(libmx PRIVATE DAQGATE_BUILDING_LIBMX)
  target_include_directories(libmx PUBLIC ${standin} ${PROJECT_SOURCE_DIR}/tests/unit)
  add_library(libmex SHARED ${PROJECT_SOURCE_DIR}/tests/unit/host_mex.cpp)
  target_compile_definitions(libmex PRIVATE DAQGATE_BUILDING_LIBMEX)
  target_link_libraries(libmex PRIVATE libmx)
  set_target_properties(libmx libmex PROPERTIES PREFIX "")
  target_include_directories(daqgate_host INTERFACE ${standin})
  if(DAQGATE_MATLAB_API)
    include(${CMAKE_CURRENT_LIST_DIR}/matlab_api.cmake)
  else()
    target_link_libraries(daqgate_host INTERFACE libmx libmex)
  endif()
  if(CMAKE_SIZEOF_VOID_P EQUAL 8)
    set(DAQGATE_MEX_SUFFIX .mexw64)
  else()
    set(DAQGATE_MEX_SUFFIX .mexw32)
  endif()
  # A DLL that exports mexFunction and nothing else, with the compiler's
  # runtime linked in (the toolchain's -static).
  function(daqgate_add_mex NAME)
    if(DAQGATE_MATLAB_API)
      add_library(${NAME} MODULE ${ARGN} ${DAQGATE_MATLAB_STANDIN}/mexapi_version.cpp
                  ${DAQGATE_MATLAB_STANDIN}/mexfunction.def)
    else()
      add_library(${NAME} MODULE ${ARGN} ${PROJECT_SOURCE_DIR}/frame/mexfunction.def)
    endif()
    set_target_properties(${NAME} PROPERTIES PREFIX "" SUFFIX ${DAQGATE_MEX_SUFFIX}
                                             LIBRARY_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/mex
                                             RUNTIME_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/mex)
  endfunction()
else()
  find_program(MKOCTFILE NAMES mkoctfile)
  if(NOT MKOCTFILE)
    message(FATAL_ERROR "mkoctfile not found: install Debian's liboctave-dev (Octave's mex.h)")
  endif()
  execute_process(COMMAND ${MKOCTFILE} -p OCTINCLUDEDIR
                  OUTPUT_VARIABLE OCTAVE_INCLUDE_DIR OUTPUT_STRIP_TRAILING_WHITESPACE)
  if(NOT EXISTS ${OCTAVE_INCLUDE_DIR}/mex.h)
    message(FATAL_ERROR "Octave's mex.h not found under '${OCTAVE_INCLUDE_DIR}'")
  endif()
  message(STATUS "Octave mex.h: ${OCTAVE_INCLUDE_DIR}")
  # Octave lets a gateway see a pending Ctrl-C (quit.h): the link's waits
  # end on it.
  option(DAQGATE_OCTAVE_INTERRUPT "Let the text link's waits end on Ctrl-C in Octave" ON)
  if(DAQGATE_OCTAVE_INTERRUPT)
    target_compile_definitions(daqgate_host INTERFACE DAQGATE_OCTAVE_INTERRUPT)
  endif()
  target_include_directories(daqgate_host SYSTEM INTERFACE ${OCTAVE_INCLUDE_DIR}/.. ${OCTAVE_INCLUDE_DIR})
  # Octave resolves the mx/mex operations when it loads a module; nothing
  # of Octave's is linked.
  function(daqgate_add_mex NAME)
    add_library(${NAME} MODULE ${ARGN})
    set_target_properties(${NAME} PROPERTIES PREFIX "" SUFFIX ".mex"
                                             LIBRARY_OUTPUT_DIRECTORY ${CMAKE_BINARY_DIR}/mex)
    target_link_options(${NAME} PRIVATE
                        -Wl,--version-script=${PROJECT_SOURCE_DIR}/frame/mexfunction.map)
  endfunction()
endif()

# The MATLAB-shaped Windows build (DAQGATE_MATLAB_API=R2017b|R2018a), from
# cmake/host.cmake: the gateways built as MATLAB's MinGW mex builds them.
#
# - They compile against tests/standin/matlab/mex.h, which maps each host
#   operation to the name MATLAB's libraries export for the API, and with
#   DAQGATE_MATLAB_INTERRUPT: the link's waits ask libut whether the user
#   pressed Ctrl-C.
# - They import those names from import libraries that dlltool makes from a
#   module-definition file of them (libmx.lib, libmex.lib, libut.lib in the
#   build's matlab folder), as MATLAB's MinGW import libraries present them,
#   not from the stand-in's own import libraries.
# - Each exports mexFunction and mexfilerequiredapiversion
#   (tests/standin/matlab/mexapi_version.cpp), the API's number its target.
# - The stand-in host: libmx.dll and libmex.dll compiled against the same
#   header, so exporting the API's names only, and libut.dll
#   (tests/standin/libut.cpp), whose flag a test host raises.
set(DAQGATE_MATLAB_STANDIN ${PROJECT_SOURCE_DIR}/tests/standin/matlab)
if(DAQGATE_MATLAB_API STREQUAL "R2017b")
  set(api 0x07300000)
  set(release 0x2017b)
elseif(DAQGATE_MATLAB_API STREQUAL "R2018a")
  set(api 0x08000000)
  set(release 0x2018a)
else()
  message(FATAL_ERROR "DAQGATE_MATLAB_API: R2017b or R2018a, not '${DAQGATE_MATLAB_API}'")
endif()
if(NOT CMAKE_SIZEOF_VOID_P EQUAL 8)
  message(FATAL_ERROR "DAQGATE_MATLAB_API: the MATLAB-shaped modules are 64-bit")
endif()
set(DAQGATE_MATLAB_API_NUMBER ${api})
set(DAQGATE_MATLAB_RELEASE_NUMBER ${release})

# The host operations the gateways use, by library, as mex.h names them.
set(libmex_operations mexErrMsgTxt mexPrintf)
set(libmx_operations mxArrayToString mxCreateDoubleMatrix mxCreateDoubleScalar mxCreateString mxFree
                     mxGetM mxGetN mxGetNumberOfElements mxGetPr mxGetScalar mxIsComplex mxIsDouble
                     mxIsSparse mxMalloc mxRealloc)
set(libut_operations utIsInterruptPending)
# Their names in the API: the R2017b API versions mxCreateDoubleMatrix
# alone (_730), the R2018a API every one (_800); libut's are unversioned.
function(daqgate_api_names OUT)
  set(names "")
  foreach(name IN LISTS ARGN)
    if(DAQGATE_MATLAB_API STREQUAL "R2018a")
      list(APPEND names ${name}_800)
    elseif(name STREQUAL "mxCreateDoubleMatrix")
      list(APPEND names ${name}_730)
    else()
      list(APPEND names ${name})
    endif()
  endforeach()
  set(${OUT} ${names} PARENT_SCOPE)
endfunction()
daqgate_api_names(libmex_names ${libmex_operations})
daqgate_api_names(libmx_names ${libmx_operations})
set(libut_names ${libut_operations})

set(matlab_dir ${CMAKE_BINARY_DIR}/matlab)
set(scratch ${CMAKE_BINARY_DIR}/generated/dlltool-matlab-tmp)
set(imports "")
foreach(library libmx libmex libut)
  list(JOIN ${library}_names "\n" lines)
  set(def ${matlab_dir}/${library}.def)
  file(WRITE ${def}.new "; What the modules import of ${library}.dll (${DAQGATE_MATLAB_API} API).\nEXPORTS\n${lines}\n")
  configure_file(${def}.new ${def} COPYONLY)
  # dlltool is given a temporary folder of the build's own (see driver.cmake).
  add_custom_command(OUTPUT ${matlab_dir}/${library}.lib
                     COMMAND ${CMAKE_COMMAND} -E make_directory ${scratch}
                     COMMAND ${CMAKE_COMMAND} -E env TMPDIR=${scratch}
                             ${CMAKE_DLLTOOL} -d ${def} -D ${library}.dll -l ${matlab_dir}/${library}.lib
                     COMMAND ${CMAKE_COMMAND} -E rm -rf ${scratch}
                     DEPENDS ${def}
                     COMMENT "MATLAB-shaped import library of ${library}.dll")
  list(APPEND imports ${matlab_dir}/${library}.lib)
endforeach()
add_custom_target(daqgate_matlab_imports DEPENDS ${imports})

# The stand-in host of the API, and the stand-in libut.
target_compile_definitions(libmx PUBLIC DAQGATE_MATLAB_API=${api})
add_library(libut SHARED ${PROJECT_SOURCE_DIR}/tests/standin/libut.cpp)
set_target_properties(libut PROPERTIES PREFIX "")

add_dependencies(daqgate_host daqgate_matlab_imports)
target_compile_definitions(daqgate_host INTERFACE DAQGATE_MATLAB_API=${api} DAQGATE_MATLAB_RELEASE=${release}
                                                  DAQGATE_MATLAB_INTERRUPT)
target_link_libraries(daqgate_host INTERFACE ${imports})

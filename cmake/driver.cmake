# daqgate_driver: what a gateway links to reach the board's driver.
#
# On Linux, the simulated cbw32.  On Windows, an import library made from
# a module-definition file of the driver's operations, itself made from
# their table (frame/cbw32_ops.h), as the board's own import library
# presents them: on 32-bit Windows the decorated stdcall names inside
# (_cbReadPort@12), the plain names exported by the DLL (cbReadPort).  The
# DLL's name is DAQGATE_DRIVER (a 64-bit driver may be named otherwise);
# the simulated driver takes the same name.
add_library(daqgate_driver INTERFACE)
if(WIN32)
  # Each row of the table begins with its macro, the operation's name, its
  # C++ name and its stack bytes, on one line.
  set(table ${PROJECT_SOURCE_DIR}/frame/cbw32_ops.h)
  file(STRINGS ${table} rows REGEX "^CBW32_(BOARD_)?OP\\(")
  set(definitions "; The operations of ${DAQGATE_DRIVER}.dll, made from frame/cbw32_ops.h.\nEXPORTS\n")
  foreach(row IN LISTS rows)
    if(NOT row MATCHES "^CBW32_(BOARD_)?OP\\(([A-Za-z0-9_]+), *[A-Za-z0-9_]+, *([0-9]+),")
      message(FATAL_ERROR "${table}: a row not read: ${row}")
    endif()
    if(CMAKE_SIZEOF_VOID_P EQUAL 8)
      # No stdcall on 64-bit Windows: the names stand undecorated.
      string(APPEND definitions "${CMAKE_MATCH_2}\n")
    else()
      string(APPEND definitions "${CMAKE_MATCH_2}@${CMAKE_MATCH_3}\n")
    endif()
  endforeach()
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${table})
  set(DAQGATE_DRIVER_DEF ${CMAKE_BINARY_DIR}/generated/${DAQGATE_DRIVER}.def)
  file(WRITE ${DAQGATE_DRIVER_DEF}.new "${definitions}")
  configure_file(${DAQGATE_DRIVER_DEF}.new ${DAQGATE_DRIVER_DEF} COPYONLY)
  set(import ${CMAKE_BINARY_DIR}/lib/lib${DAQGATE_DRIVER}.a)
  # dlltool leaves two empty files in the temporary folder on every run: it
  # is given a folder of the build's own as its temporary folder, removed
  # after it.
  set(scratch ${CMAKE_BINARY_DIR}/generated/dlltool-tmp)
  add_custom_command(OUTPUT ${import}
                     COMMAND ${CMAKE_COMMAND} -E make_directory ${scratch}
                     COMMAND ${CMAKE_COMMAND} -E env TMPDIR=${scratch}
                             ${CMAKE_DLLTOOL} --kill-at -d ${DAQGATE_DRIVER_DEF} -D ${DAQGATE_DRIVER}.dll -l ${import}
                     COMMAND ${CMAKE_COMMAND} -E rm -rf ${scratch}
                     DEPENDS ${DAQGATE_DRIVER_DEF}
                     COMMENT "Import library of ${DAQGATE_DRIVER}.dll")
  add_custom_target(daqgate_driver_import DEPENDS ${import})
  add_dependencies(daqgate_driver daqgate_driver_import)
  target_link_libraries(daqgate_driver INTERFACE ${import})
else()
  target_link_libraries(daqgate_driver INTERFACE cbw32)
endif()

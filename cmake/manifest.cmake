# The reader of the list of gateways (gateways.list), for CMake and for
# every script and check of the tree that needs the list.
#
# In a CMake build: daqgate_read_manifest(FILE) sets DAQGATE_NAMES (in the
# list's order), DAQGATE_FAMILIES, and DAQGATE_FAMILY_<name>,
# DAQGATE_SECTION_<name>, DAQGATE_SUMMARY_<name> and DAQGATE_OPERATIONS_<name>
# (the driver operations it calls, a CMake list, empty for none).
#
# As a script: cmake -P cmake/manifest.cmake prints the list's rows, one a
# line, their fields trimmed and joined by '|':
#   name|family|section|summary|operations
# with the operations separated by single spaces and '-' for none.  The
# package's INDEX, the checks of the lists and of the builds' imports read
# the rows from here.  (MATLAB on Windows has neither CMake nor a shell:
# scripts/gateway_list.m is the list's reader there, for build_toolbox.m,
# which also builds the Octave package.)
#
# A row is "name | family | section | summary | operations"; lines that
# start with '#' and blank lines are not rows.  A malformed row stops the
# reader with its line.

function(daqgate_manifest_rows file out)
  file(STRINGS ${file} lines)
  set(rows "")
  foreach(line IN LISTS lines)
    if(line MATCHES "^[ \t]*(#|$)")
      continue()
    endif()
    if(line MATCHES ";")
      message(FATAL_ERROR "${file}: a row holds a ';': ${line}")
    endif()
    string(REPLACE "|" ";" fields "${line}")
    list(TRANSFORM fields STRIP)
    list(LENGTH fields count)
    list(GET fields 0 name)
    if(NOT count EQUAL 5 OR NOT name MATCHES "^[A-Za-z][A-Za-z0-9_]*$")
      message(FATAL_ERROR "${file}: a row is not 'name | family | section | summary | operations': ${line}")
    endif()
    string(REGEX REPLACE "[ \t]+" " " fields "${fields}")
    list(JOIN fields "|" row)
    list(APPEND rows "${row}")
  endforeach()
  set(${out} "${rows}" PARENT_SCOPE)
endfunction()

function(daqgate_read_manifest file)
  daqgate_manifest_rows(${file} rows)
  set(names "")
  set(families "")
  foreach(row IN LISTS rows)
    string(REPLACE "|" ";" fields "${row}")
    list(GET fields 0 name)
    list(GET fields 1 family)
    list(GET fields 2 section)
    list(GET fields 3 summary)
    list(GET fields 4 operations)
    list(APPEND names ${name})
    list(APPEND families ${family})
    if(operations STREQUAL "-")
      set(operations "")
    endif()
    string(REPLACE " " ";" operations "${operations}")
    set(DAQGATE_FAMILY_${name} ${family} PARENT_SCOPE)
    set(DAQGATE_SECTION_${name} "${section}" PARENT_SCOPE)
    set(DAQGATE_SUMMARY_${name} "${summary}" PARENT_SCOPE)
    set(DAQGATE_OPERATIONS_${name} "${operations}" PARENT_SCOPE)
  endforeach()
  list(REMOVE_DUPLICATES families)
  set(DAQGATE_NAMES ${names} PARENT_SCOPE)
  set(DAQGATE_FAMILIES ${families} PARENT_SCOPE)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${file})
endfunction()

if(CMAKE_SCRIPT_MODE_FILE STREQUAL CMAKE_CURRENT_LIST_FILE)
  get_filename_component(top ${CMAKE_CURRENT_LIST_DIR} DIRECTORY)
  daqgate_manifest_rows(${top}/gateways.list rows)
  list(JOIN rows "\n" text)
  execute_process(COMMAND ${CMAKE_COMMAND} -E echo "${text}")
endif()

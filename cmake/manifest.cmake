# daqgate_read_manifest(FILE) - reads the list of gateways into the lists
# DAQGATE_NAMES, DAQGATE_FAMILY_<name>, DAQGATE_FAMILIES and
# DAQGATE_PROCEDURE_<family>.
#
# A family's procedure is made of the sources of its folder that are no
# gateway's own: the one rule by which pkg/src/Makefile and
# scripts/build_toolbox.m take them too, and which the manifest check
# holds the three builds to (tests/manifest/check_procedures).
function(daqgate_read_manifest file)
  file(STRINGS ${file} lines REGEX "^[^#].*[|]")
  set(names "")
  set(families "")
  foreach(line IN LISTS lines)
    string(REPLACE "|" ";" fields "${line}")
    list(TRANSFORM fields STRIP)
    list(GET fields 0 name)
    list(GET fields 1 family)
    list(APPEND names ${name})
    list(APPEND families ${family})
    list(APPEND own_${family} ${PROJECT_SOURCE_DIR}/${family}/${name}.cpp)
    set(DAQGATE_FAMILY_${name} ${family} PARENT_SCOPE)
  endforeach()
  list(REMOVE_DUPLICATES families)
  foreach(family IN LISTS families)
    file(GLOB sources CONFIGURE_DEPENDS ${PROJECT_SOURCE_DIR}/${family}/*.cpp)
    list(REMOVE_ITEM sources ${own_${family}})
    set(DAQGATE_PROCEDURE_${family} ${sources} PARENT_SCOPE)
  endforeach()
  set(DAQGATE_NAMES ${names} PARENT_SCOPE)
  set(DAQGATE_FAMILIES ${families} PARENT_SCOPE)
  set_property(DIRECTORY APPEND PROPERTY CMAKE_CONFIGURE_DEPENDS ${file})
endfunction()

# daqgate_gateway(NAME SOURCE [NO_DRIVER] [LIBS lib...])
#
# Builds the gateway NAME from its own SOURCE and the family libraries LIBS
# twice: as the host module mex/NAME.mex (NAME.mexw64, NAME.mexw32 on
# Windows), linked to the driver unless NO_DRIVER, and, except on Windows,
# as objects for the unit tests, where mexFunction is renamed
# gw_NAME so that every gateway can share one test binary with the test host
# and the fake driver.
set_property(GLOBAL PROPERTY DAQGATE_GATEWAYS "")

function(daqgate_gateway NAME SOURCE)
  cmake_parse_arguments(GW "NO_DRIVER" "" "LIBS" ${ARGN})
  daqgate_add_mex(${NAME} ${SOURCE})
  target_link_libraries(${NAME} PRIVATE ${GW_LIBS} daqgate_host)
  if(NOT GW_NO_DRIVER)
    target_link_libraries(${NAME} PRIVATE daqgate_driver)
  endif()

  # Help for 'help NAME': a comment-only NAME.m beside NAME.mex.
  configure_file(${PROJECT_SOURCE_DIR}/help/${NAME}.m ${CMAKE_BINARY_DIR}/mex/${NAME}.m COPYONLY)

  if(WIN32)
    # The Windows tests load the gateways' DLLs themselves.
    set_property(GLOBAL APPEND PROPERTY DAQGATE_GATEWAYS ${NAME})
    return()
  endif()
  add_library(ut_${NAME} OBJECT ${SOURCE})
  target_compile_definitions(ut_${NAME} PRIVATE mexFunction=gw_${NAME})
  target_link_libraries(ut_${NAME} PRIVATE ${GW_LIBS} daqgate_host)
  set_property(GLOBAL APPEND PROPERTY DAQGATE_GATEWAYS ${NAME})
endfunction()

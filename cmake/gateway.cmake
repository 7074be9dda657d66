# daqgate_gateway(NAME SOURCE [NO_DRIVER])
#
# Builds the gateway NAME from its own SOURCE (which includes its family's
# procedure from the headers of its folder) and the frame, in C++11,
# twice: as the host module mex/NAME.mex (NAME.mexw64, NAME.mexw32 on
# Windows), linked to the driver unless NO_DRIVER, and, except on Windows,
# as objects for the unit tests, where mexFunction is renamed
# gw_NAME so that every gateway can share one test binary with the test host
# and the fake driver.
set_property(GLOBAL PROPERTY DAQGATE_GATEWAYS "")

function(daqgate_gateway NAME SOURCE)
  cmake_parse_arguments(GW "NO_DRIVER" "" "" ${ARGN})
  get_filename_component(folder ${PROJECT_SOURCE_DIR}/${SOURCE} DIRECTORY)
  daqgate_add_mex(${NAME} ${SOURCE})
  target_include_directories(${NAME} PRIVATE ${folder})
  set_target_properties(${NAME} PROPERTIES CXX_STANDARD ${DAQGATE_GATEWAY_STANDARD})
  target_compile_options(${NAME} PRIVATE ${DAQGATE_GATEWAY_OPTIONS})
  target_link_libraries(${NAME} PRIVATE daqgate_frame daqgate_host)
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
  target_include_directories(ut_${NAME} PRIVATE ${folder})
  set_target_properties(ut_${NAME} PROPERTIES CXX_STANDARD ${DAQGATE_GATEWAY_STANDARD})
  target_compile_options(ut_${NAME} PRIVATE ${DAQGATE_GATEWAY_OPTIONS})
  target_link_libraries(ut_${NAME} PRIVATE daqgate_frame daqgate_host)
  set_property(GLOBAL APPEND PROPERTY DAQGATE_GATEWAYS ${NAME})
endfunction()

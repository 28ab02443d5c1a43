# velmo_add_layer(<name> [DEPS <targets>...])
# One library target per layer folder, made of every source in it, with the alias Velmo::<name>.
# Sources are globbed so that adding a unit to a layer needs no edit here.
function(velmo_add_layer name)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.cpp)
  file(GLOB headers CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/*.h)
  if(sources)
    add_library(velmo_${name} STATIC ${sources} ${headers})
    set(scope PUBLIC)
    set_target_properties(velmo_${name} PROPERTIES POSITION_INDEPENDENT_CODE ON)
  else()  # a layer whose units are all still to come
    add_library(velmo_${name} INTERFACE)
    set(scope INTERFACE)
  endif()
  add_library(Velmo::${name} ALIAS velmo_${name})
  set_target_properties(velmo_${name} PROPERTIES EXPORT_NAME ${name})
  target_include_directories(velmo_${name} ${scope}
    $<BUILD_INTERFACE:${CMAKE_CURRENT_SOURCE_DIR}>
    $<INSTALL_INTERFACE:${CMAKE_INSTALL_INCLUDEDIR}/velmo>)
  target_link_libraries(velmo_${name} ${scope} ${ARG_DEPS})
  install(TARGETS velmo_${name} EXPORT VelmoTargets ARCHIVE DESTINATION ${CMAKE_INSTALL_LIBDIR})
  install(FILES ${headers} DESTINATION ${CMAKE_INSTALL_INCLUDEDIR}/velmo)
endfunction()

# velmo_add_test_suite(<layer> DEPS <targets>... [GUI])
# One test executable per layer: every tests/<layer>/*.cpp, linked with GoogleTest.
# Tests are discovered when ctest runs, so GUI suites list their tests under the same display.
function(velmo_add_test_suite layer)
  cmake_parse_arguments(ARG "" "" "DEPS" ${ARGN})
  file(GLOB sources CONFIGURE_DEPENDS ${CMAKE_CURRENT_SOURCE_DIR}/${layer}/*.cpp)
  if(NOT sources)
    return()
  endif()
  add_executable(test_${layer} ${sources})
  target_link_libraries(test_${layer} PRIVATE ${ARG_DEPS} GTest::gtest GTest::gmock)
  if(NOT EXISTS ${CMAKE_CURRENT_SOURCE_DIR}/${layer}/main.cpp)
    target_link_libraries(test_${layer} PRIVATE GTest::gtest_main)
  endif()
  # The library suites paint into images only: they need no display server.
  gtest_discover_tests(test_${layer} DISCOVERY_MODE PRE_TEST DISCOVERY_TIMEOUT 60
    PROPERTIES LABELS ${layer} ENVIRONMENT QT_QPA_PLATFORM=offscreen)
endfunction()

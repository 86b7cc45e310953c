# Library helpers: a core library never sees Qt; a Qt library turns moc on for itself only.

function(zelkova_core_library name)
  add_library(${name} STATIC ${ARGN})
  target_include_directories(${name} PUBLIC ${PROJECT_SOURCE_DIR}/src)
  target_link_libraries(${name} PRIVATE zelkova_warnings)
endfunction()

function(zelkova_qt_library name)
  zelkova_core_library(${name} ${ARGN})
  set_target_properties(${name} PROPERTIES AUTOMOC ON)
endfunction()

# A GoogleTest executable registered with CTest. GUI tests get the offscreen platform. Tests find
# the repository through ZELKOVA_SOURCE_DIR, named as the test program sees it.
#
# A cross-built test program is one CTest test: discovering its cases would run it under the
# emulator at build time. Its output lists every case all the same.
function(zelkova_test name)
  cmake_parse_arguments(T "GUI" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} zelkova_warnings GTest::gtest)
  set(environment "ZELKOVA_SOURCE_DIR=${ZELKOVA_TEST_PATH_PREFIX}${PROJECT_SOURCE_DIR}")
  if(T_GUI)
    set_target_properties(${name} PROPERTIES AUTOMOC ON)
    list(PREPEND environment "QT_QPA_PLATFORM=offscreen")
  endif()
  if(CMAKE_CROSSCOMPILING)
    add_test(NAME ${name} COMMAND ${name})
    set_tests_properties(${name} PROPERTIES ENVIRONMENT "${environment}" TIMEOUT 600)
  else()
    gtest_discover_tests(${name} PROPERTIES ENVIRONMENT "${environment}" DISCOVERY_TIMEOUT 60)
  endif()
endfunction()

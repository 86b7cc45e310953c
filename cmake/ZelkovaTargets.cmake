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

# A GoogleTest executable registered with CTest. GUI tests get the offscreen platform.
function(zelkova_test name)
  cmake_parse_arguments(T "GUI" "" "SOURCES;LIBS" ${ARGN})
  add_executable(${name} ${T_SOURCES})
  target_link_libraries(${name} PRIVATE ${T_LIBS} zelkova_warnings GTest::gtest)
  if(T_GUI)
    set_target_properties(${name} PROPERTIES AUTOMOC ON)
    gtest_discover_tests(${name}
      PROPERTIES ENVIRONMENT "QT_QPA_PLATFORM=offscreen;ZELKOVA_SOURCE_DIR=${PROJECT_SOURCE_DIR}"
      DISCOVERY_TIMEOUT 60)
  else()
    gtest_discover_tests(${name}
      PROPERTIES ENVIRONMENT "ZELKOVA_SOURCE_DIR=${PROJECT_SOURCE_DIR}"
      DISCOVERY_TIMEOUT 60)
  endif()
endfunction()

# The Windows cross-build (cmake/mingw-w64-x86_64.cmake): GoogleTest from Debian's source package
# for the cross compiler, and Wine to run the tests.
#
# Qt 6 for Windows is not at hand on the build machine, so this build has the toolkit-free core,
# the Windows process launcher and their tests, and no window.

set(ZELKOVA_GTEST_SOURCE_DIR /usr/src/googletest CACHE PATH "GoogleTest's sources (Debian: googletest)")
if(NOT EXISTS ${ZELKOVA_GTEST_SOURCE_DIR}/CMakeLists.txt)
  message(FATAL_ERROR "GoogleTest's sources are not in ${ZELKOVA_GTEST_SOURCE_DIR} (install googletest)")
endif()
set(BUILD_GMOCK OFF CACHE BOOL "" FORCE)
set(INSTALL_GTEST OFF CACHE BOOL "" FORCE)
add_subdirectory(${ZELKOVA_GTEST_SOURCE_DIR} ${PROJECT_BINARY_DIR}/googletest EXCLUDE_FROM_ALL)
# (It names its libraries GTest::gtest and GTest::gtest_main itself.)

# CTest starts every test program through scripts/wine-run.sh, with a Wine prefix in the build
# folder. Tests see the build's Unix paths through Wine's drive Z:, which maps "/".
set(CMAKE_CROSSCOMPILING_EMULATOR sh ${PROJECT_SOURCE_DIR}/scripts/wine-run.sh ${PROJECT_BINARY_DIR}/wine)
set(ZELKOVA_TEST_PATH_PREFIX "Z:")

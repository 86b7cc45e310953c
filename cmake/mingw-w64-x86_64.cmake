# Cross-building for 64-bit Windows with Debian's mingw-w64 (g++-mingw-w64-x86-64-posix):
#
#   cmake -S . -B build-windows -G Ninja -DCMAKE_TOOLCHAIN_FILE=cmake/mingw-w64-x86_64.cmake
#
# `make test-windows` does this, builds the toolkit-free core with its tests and runs them under
# Wine. The posix thread model is the one whose C++ library has std::thread and std::mutex.
set(CMAKE_SYSTEM_NAME Windows)
set(CMAKE_SYSTEM_PROCESSOR x86_64)

set(ZELKOVA_MINGW_PREFIX x86_64-w64-mingw32)
set(CMAKE_C_COMPILER ${ZELKOVA_MINGW_PREFIX}-gcc-posix)
set(CMAKE_CXX_COMPILER ${ZELKOVA_MINGW_PREFIX}-g++-posix)
set(CMAKE_RC_COMPILER ${ZELKOVA_MINGW_PREFIX}-windres)

set(CMAKE_FIND_ROOT_PATH /usr/${ZELKOVA_MINGW_PREFIX})
set(CMAKE_FIND_ROOT_PATH_MODE_PROGRAM NEVER)
set(CMAKE_FIND_ROOT_PATH_MODE_LIBRARY ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_INCLUDE ONLY)
set(CMAKE_FIND_ROOT_PATH_MODE_PACKAGE ONLY)

# The C and C++ run-time libraries and winpthread linked in, so that every program runs by itself,
# with no DLL of the compiler beside it.
set(CMAKE_EXE_LINKER_FLAGS_INIT "-static")

# Optimised as the Linux build is (-O2): GCC 12 at -O3 warns falsely about std::string's insert
# (-Wrestrict, GCC bug 105329).
set(CMAKE_C_FLAGS_RELEASE "-O2 -DNDEBUG" CACHE STRING "Flags of the Release build")
set(CMAKE_CXX_FLAGS_RELEASE "-O2 -DNDEBUG" CACHE STRING "Flags of the Release build")

#!/bin/sh
# `make package`: builds the Debian package in a build folder of its own (default build-package),
# with Debian's hardening flags from dpkg-buildflags (stack protector, _FORTIFY_SOURCE, full RELRO
# with immediate binding) on top of the build type the tests run, and without the tests.
# The package lands in that folder as zelkova_<version>_<architecture>.deb.
set -eu
dir=${1:-build-package}
jobs=${JOBS:-2}

DEB_BUILD_MAINT_OPTIONS=hardening=+all
export DEB_BUILD_MAINT_OPTIONS
eval "$(dpkg-buildflags --export=sh)"
# CMake reads CFLAGS, CXXFLAGS, FFLAGS and LDFLAGS when it first configures a build folder, but not
# CPPFLAGS.
CFLAGS="$CFLAGS $CPPFLAGS"
CXXFLAGS="$CXXFLAGS $CPPFLAGS"
export CFLAGS CXXFLAGS FFLAGS LDFLAGS

cmake -S . -B "$dir" -G Ninja -DCMAKE_BUILD_TYPE=RelWithDebInfo -DBUILD_TESTING=OFF
cmake --build "$dir" --target package -j "$jobs"

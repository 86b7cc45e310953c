#!/bin/sh
# Installs what Zelkova needs to build, test and run on Debian 12, skipping what is already there.
# Safe to run again; uses sudo when not run as root.
#
#   sh scripts/setup-debian.sh           for make run and make test
#   sh scripts/setup-debian.sh windows   for make test-windows only: mingw-w64, GoogleTest's
#                                        sources, Wine, and the locale data for its Japanese locale
set -eu

if [ "${1:-}" = "windows" ]; then
    packages="cmake ninja-build googletest g++-mingw-w64-x86-64-posix wine64 locales"
else
    packages="build-essential cmake ninja-build pkg-config qt6-base-dev qt6-svg-dev qt6-translations-l10n \
libjpeg-dev zlib1g-dev libdeflate-dev libharfbuzz-dev libuemf-dev emf2svg libgtest-dev googletest fonts-ipafont-gothic \
fontconfig gfortran poppler-utils librsvg2-bin xvfb xauth clang libclang-rt-14-dev desktop-file-utils \
shared-mime-info file"
fi

missing=""
for p in $packages; do
    if ! dpkg-query -W -f='${Status}' "$p" 2>/dev/null | grep -q "install ok installed"; then
        missing="$missing $p"
    fi
done
[ -z "$missing" ] && exit 0

if [ "$(id -u)" -eq 0 ]; then sudo=""; else sudo="sudo"; fi
echo "Installing:$missing"
$sudo apt-get update
DEBIAN_FRONTEND=noninteractive $sudo apt-get install -y --no-install-recommends $missing

#!/bin/sh
# Runs a program of the Windows build under Wine, as CTest does for every test of that build:
#
#   sh scripts/wine-run.sh WINE_DIR PROGRAM.exe [ARGUMENT...]
#   sh scripts/wine-run.sh WINE_DIR --prepare      makes the Wine prefix now (make test-windows)
#
# WINE_DIR (inside the build folder) holds a Wine prefix of the build's own and a compiled
# ja_JP.UTF-8 locale. With that locale Wine answers code page 932 for the ANSI calls, as a Japanese
# Windows does, which is what CreateProcessA and the run files' names meet there.
#
# The prefix is made on first use, once, under a lock (CTest runs tests side by side): no display is
# offered, and the .NET and HTML run-times that a new prefix offers to download are switched off,
# so making it neither hangs nor shows a dialog.
set -eu

if [ $# -lt 2 ]; then
    echo "usage: wine-run.sh WINE_DIR PROGRAM [ARGUMENT...] | WINE_DIR --prepare" >&2
    exit 2
fi
dir=$1
shift
mkdir -p "$dir"
dir=$(cd "$dir" && pwd)

if command -v wine64 >/dev/null 2>&1; then
    wine=$(command -v wine64)
elif [ -x /usr/lib/wine/wine64 ]; then
    wine=/usr/lib/wine/wine64
else
    echo "wine-run.sh: wine64 is not installed" >&2
    exit 127
fi
if [ -x /usr/lib/wine/wineserver ]; then
    wineserver=/usr/lib/wine/wineserver
else
    wineserver=wineserver
fi

export WINELOADER="$wine"
export WINEPREFIX="$dir/prefix"
export WINEDEBUG=-all
export WINEDLLOVERRIDES="mscoree,mshtml=;winemenubuilder.exe=d"
unset DISPLAY WAYLAND_DISPLAY

prepare() {
    if [ ! -f "$dir/locale/ja_JP.UTF-8/LC_CTYPE" ]; then
        mkdir -p "$dir/locale"
        # localedef reports warnings with status 1 while it writes the locale all the same.
        localedef -i ja_JP -f UTF-8 "$dir/locale/ja_JP.UTF-8" >/dev/null 2>&1 || true
        if [ ! -f "$dir/locale/ja_JP.UTF-8/LC_CTYPE" ]; then
            echo "wine-run.sh: cannot compile the ja_JP.UTF-8 locale (is the locales package installed?)" >&2
            exit 1
        fi
    fi
    export LOCPATH="$dir/locale"
    export LC_ALL=ja_JP.UTF-8
    if [ ! -f "$WINEPREFIX/system.reg" ]; then
        echo "wine-run.sh: making the Wine prefix $WINEPREFIX (once, about half a minute)" >&2
        "$wine" wineboot --init >/dev/null 2>&1 </dev/null || true
        "$wineserver" -w
        if [ ! -f "$WINEPREFIX/system.reg" ]; then
            echo "wine-run.sh: Wine could not make its prefix" >&2
            exit 1
        fi
    fi
}

# One preparation at a time; a test started meanwhile waits for it.
exec 9>"$dir/.lock"
flock 9
prepare
flock -u 9
exec 9>&-

[ "$1" = "--prepare" ] && exit 0
exec "$wine" "$@"

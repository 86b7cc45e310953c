#!/bin/sh
# Times Quillon over a generated 100 MB exchange file, with the extended colour in the middle and
# with none (the case that copies the most). Uses hyperfine when it is installed.
#   run-quillon-bench.sh GENERATOR QUILLON WORK_FOLDER
set -eu
generator=$1 quillon=$2 work=$3
mkdir -p "$work"
cd "$work"
for pivot in 0.5 none; do
    [ -f "exchange-$pivot.txt" ] || "$generator" "exchange-$pivot.txt" 100 "$pivot"
    cp "exchange-$pivot.txt" JWC_TEMP.TXT
    echo "== 100 MB exchange file, extended colour: $pivot"
    if command -v hyperfine >/dev/null 2>&1; then
        hyperfine --warmup 1 --runs 10 "$quillon plot.txt"
    else
        for run in 1 2 3 4 5 6; do
            /usr/bin/time -f "%e s elapsed, %M kB peak" "$quillon" plot.txt >/dev/null
        done
    fi
done
rm -f JWC_TEMP.TXT plot.txt

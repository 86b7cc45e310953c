#!/bin/sh
# Runs the libFuzzer targets of a fuzz build one after another (the sanitizers and the fuzzer use
# all of a core each), each for SECONDS, with its dictionary, its seed corpus from the repository
# and a working corpus of its own under BUILD/fuzz-corpus that grows from one run to the next.
# Inputs that fail land in BUILD/fuzz-findings/TARGET/; copy them into the target's corpus folder
# in the repository, so that every test run replays them. Prints executions and coverage per
# target; exits 1 when a target found something.
#
# usage: scripts/run-fuzzers.sh BUILD SECONDS [TARGET...]
set -eu
build=$1
seconds=$2
shift 2
status=0
while IFS='|' read -r name dict corpus; do
    [ -n "$name" ] || continue
    if [ $# -gt 0 ]; then
        case " $* " in *" $name "*) ;; *) continue ;; esac
    fi
    work="$build/fuzz-corpus/$name"
    findings="$build/fuzz-findings/$name"
    log="$build/fuzz-logs/$name.log"
    mkdir -p "$work" "$findings" "$(dirname "$log")"
    seeds=$(printf '%s' "$corpus" | tr ',' ' ')
    echo "fuzzing $name for $seconds s (log: $log)"
    # shellcheck disable=SC2086 # the seed folders are separate arguments
    if ! "$build/bin/${name}_fuzzer" -max_total_time="$seconds" -timeout=20 -print_final_stats=1 \
        -dict="$dict" -artifact_prefix="$findings/" "$work" $seeds >"$log" 2>&1; then
        status=1
        echo "  FINDING: see $log and $findings/"
    fi
    executions=$(sed -n 's/^stat::number_of_executed_units: *//p' "$log" | tail -n 1)
    done_line=$(grep -E '^#[0-9]+[[:space:]]+(DONE|INITED|pulse|NEW|REDUCE)' "$log" | tail -n 1)
    coverage=$(printf '%s' "$done_line" | sed -n 's/.*cov: \([0-9]*\).*/\1/p')
    features=$(printf '%s' "$done_line" | sed -n 's/.*ft: \([0-9]*\).*/\1/p')
    units=$(printf '%s' "$done_line" | sed -n 's/.*corp: \([0-9]*\).*/\1/p')
    echo "  $name: ${executions:-?} executions, coverage ${coverage:-?} edges, ${features:-?} features," \
        "corpus ${units:-?} inputs"
done <"$build/fuzz-targets.txt"
exit $status

#!/usr/bin/env bash
# Runs every ctest test of the build folder $1, then once more each test that failed.
# Two lanes: the tests labelled "serial" (they need the focus, send input, move the
# cursor or read the screen) run one at a time, and all others with $2 jobs. When
# ZM_SERIAL_DISPLAY and ZM_SERIAL_PREFIX name a display and a Wine prefix of their
# own, the serial lane runs there while the other lane runs: nothing else then shares
# its focus, its cursor or its Wine server. Without them it runs after the other lane.
# A test that passes only the second time still passes the run, since a stall in
# Wine's own process start can fail any test, but it is listed at the end with the
# output of its first failure: such a test is a fault to find.
# Ends with the line "tests: N passed, N failed"; exits non-zero when any failed.
set -uo pipefail
build=${1:?usage: ctest-twice.sh BUILD JOBS}
jobs=${2:-1}
tmp=$build/Testing/Temporary
mkdir -p "$tmp"

serial_env=()
if [ -n "${ZM_SERIAL_DISPLAY:-}" ]; then
    serial_env=(env DISPLAY="$ZM_SERIAL_DISPLAY" WINEPREFIX="$ZM_SERIAL_PREFIX"
        ZM_TEST_WINEPREFIX="$ZM_SERIAL_PREFIX")
fi

# lane (serial or parallel), output file, further ctest arguments
run_lane() {
    local lane=$1 out=$2
    shift 2
    if [ "$lane" = serial ]; then
        "${serial_env[@]}" ctest --test-dir "$build" -L '^serial$' -j 1 --output-on-failure "$@" >"$out" 2>&1
    else
        ctest --test-dir "$build" -LE '^serial$' -j "$jobs" --output-on-failure "$@" 2>&1 | tee "$out"
    fi
}

# Both lanes at once, or one after the other; the serial lane's output follows.
run_lanes() { # first-run or retry suffix, then the filters of both lanes (empty: all)
    local suffix=$1 parallel_filter=$2 serial_filter=$3 pid=""
    local parallel_args=() serial_args=()
    [ "$parallel_filter" = all ] || parallel_args=(-R "$parallel_filter")
    [ "$serial_filter" = all ] || serial_args=(-R "$serial_filter")
    : >"$tmp/Parallel$suffix.out"
    : >"$tmp/Serial$suffix.out"
    if [ "$serial_filter" != none ] && [ ${#serial_env[@]} -gt 0 ]; then
        run_lane serial "$tmp/Serial$suffix.out" "${serial_args[@]}" &
        pid=$!
    fi
    [ "$parallel_filter" = none ] || run_lane parallel "$tmp/Parallel$suffix.out" "${parallel_args[@]}"
    if [ -n "$pid" ]; then
        wait "$pid"
    elif [ "$serial_filter" != none ]; then
        run_lane serial "$tmp/Serial$suffix.out" "${serial_args[@]}"
    fi
    if [ "$serial_filter" != none ]; then
        echo "== the serial lane"
        cat "$tmp/Serial$suffix.out"
    fi
}

# "100% tests passed, 0 tests failed out of 887": disabled tests are not counted.
count() {
    local n
    n=$(sed -n 's/.*tests failed out of \([0-9]*\).*/\1/p' "$1" | tail -1)
    echo "${n:-0}"
}
failed_names() { sed -n '/The following tests FAILED:/,$ s/^[[:space:]]*[0-9]* - \([^ ]*\) (.*)$/\1/p' "$1"; }
pattern_of() { # names on standard input; "none" when there are none
    local names
    names=$(sed 's/[][\.*^$()+?{}|]/\\&/g' | paste -sd'|')
    if [ -n "$names" ]; then echo "^($names)\$"; else echo none; fi
}

# Test discovery runs every program once when ctest starts and caches its list:
# done here, before the lanes, so that two runs never write those lists at once.
ctest --test-dir "$build" -N >/dev/null

run_lanes "" all all
total=$(($(count "$tmp/Parallel.out") + $(count "$tmp/Serial.out")))
if [ "$total" -eq 0 ]; then
    echo "test: ctest ran no tests" >&2
    echo "tests: 0 passed, 1 failed"
    exit 1
fi
failed_names "$tmp/Parallel.out" >"$tmp/FirstRunFailedParallel.txt"
failed_names "$tmp/Serial.out" >"$tmp/FirstRunFailedSerial.txt"
cat "$tmp/FirstRunFailedParallel.txt" "$tmp/FirstRunFailedSerial.txt" >"$tmp/FirstRunFailed.txt"
if [ ! -s "$tmp/FirstRunFailed.txt" ]; then
    echo "tests: $total passed, 0 failed"
    exit 0
fi

echo "== trying the $(wc -l <"$tmp/FirstRunFailed.txt") failed tests once more"
run_lanes Retry "$(pattern_of <"$tmp/FirstRunFailedParallel.txt")" \
    "$(pattern_of <"$tmp/FirstRunFailedSerial.txt")"
{
    failed_names "$tmp/ParallelRetry.out"
    failed_names "$tmp/SerialRetry.out"
} >"$tmp/RetryFailed.txt"
failed=$(wc -l <"$tmp/RetryFailed.txt")
retried=$(grep -v -x -F -f "$tmp/RetryFailed.txt" "$tmp/FirstRunFailed.txt")

if [ -n "$retried" ]; then
    echo
    echo "== $(echo "$retried" | wc -l) tests failed at first and passed when tried again:"
    while read -r name; do
        echo "---- $name: its first failure"
        cat "$tmp/Parallel.out" "$tmp/Serial.out" | awk -v n="$name" '
            /^ *[0-9]+\/[0-9]+ Test +#[0-9]+: / {f = ($4 == n)} f'
    done <<<"$retried"
fi
echo "tests: $((total - failed)) passed, $failed failed"
[ "$failed" -eq 0 ]

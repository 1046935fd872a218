#!/usr/bin/env bash
# Runs every ctest test of the build folder $1 with $2 jobs, then once more each
# test that failed. A test that passes only the second time still passes the run,
# since a stall in Wine's own process start can fail any test, but it is listed at
# the end with the output of its first failure: such a test is a fault to find.
# Ends with the line "tests: N passed, N failed"; exits non-zero when any failed.
set -uo pipefail
build=${1:?usage: ctest-twice.sh BUILD JOBS}
jobs=${2:-1}
tmp=$build/Testing/Temporary
mkdir -p "$tmp"

rm -f "$tmp/LastTestsFailed.log"
ctest --test-dir "$build" -j "$jobs" --output-on-failure | tee "$tmp/FirstRun.out"
first=${PIPESTATUS[0]}
# "100% tests passed, 0 tests failed out of 887": disabled tests are not counted.
total=$(sed -n 's/.*tests failed out of \([0-9]*\).*/\1/p' "$tmp/FirstRun.out" | tail -1)
if [ -z "$total" ]; then
    echo "test: ctest ran no tests" >&2
    echo "tests: 0 passed, 1 failed"
    exit 1
fi
if [ "$first" -eq 0 ]; then
    echo "tests: $total passed, 0 failed"
    exit 0
fi
cp "$tmp/LastTest.log" "$tmp/FirstRun.log"
cut -d: -f2- "$tmp/LastTestsFailed.log" >"$tmp/FirstRunFailed.txt"

echo "== trying the $(wc -l <"$tmp/FirstRunFailed.txt") failed tests once more"
pattern="^($(sed 's/[][\.*^$()+?{}|]/\\&/g' "$tmp/FirstRunFailed.txt" | paste -sd'|'))\$"
rm -f "$tmp/LastTestsFailed.log"
ctest --test-dir "$build" -j "$jobs" -R "$pattern" --output-on-failure
touch "$tmp/LastTestsFailed.log"
failed=$(wc -l <"$tmp/LastTestsFailed.log")
retried=$(cut -d: -f2- "$tmp/LastTestsFailed.log" | grep -v -x -F -f - "$tmp/FirstRunFailed.txt")

if [ -n "$retried" ]; then
    echo
    echo "== $(echo "$retried" | wc -l) tests failed at first and passed when tried again:"
    while read -r name; do
        echo "---- $name: its first failure"
        awk -v n="$name" '/^[0-9]+\/[0-9]+ Test: / {f = (substr($0, index($0, ": ") + 2) == n)}
            f' "$tmp/FirstRun.log" | sed -n '/^Output:/,/^Test time/p'
    done <<<"$retried"
fi
echo "tests: $((total - failed)) passed, $failed failed"
[ "$failed" -eq 0 ]

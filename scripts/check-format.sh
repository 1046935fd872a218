#!/usr/bin/env bash
# Checks that every C++ source and header git knows of is as clang-format (with the
# tree's .clang-format) would write it; lists the files that are not. With --fix,
# formats them instead.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
cd "$root"
mapfile -t files < <(git ls-files '*.cpp' '*.h')
[ ${#files[@]} -gt 0 ] || exit 0
if [ "${1:-}" = "--fix" ]; then
    printf '%s\0' "${files[@]}" | xargs -0 -n 50 -P "$(nproc)" clang-format -i
    exit 0
fi
bad=$(printf '%s\0' "${files[@]}" |
    xargs -0 -n 50 -P "$(nproc)" clang-format --dry-run 2>&1 |
    sed -n 's/^\([^: ]*\):[0-9]*:[0-9]*: .*clang-format-violations.*/\1/p' | sort -u)
if [ -n "$bad" ]; then
    echo "format: these files are not clang-formatted (bash scripts/check-format.sh --fix):" >&2
    echo "$bad" | sed 's/^/  /' >&2
    exit 1
fi

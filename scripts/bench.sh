#!/usr/bin/env bash
# Builds the tree into the folder $1 (default build-bench/) without the framework's
# assertions, as users get it, and runs every benchmark program of it under Wine;
# further arguments go to each program (for example --benchmark_filter=Sort).
# Timings depend on the machine, so CI does not run this.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$root/build-bench}
shift || true

mkdir -p "$build"
[ -f "$build/build.ninja" ] || cmake -S "$root" -B "$build" -G Ninja -DZM_AFX_DIAGNOSTICS=OFF >/dev/null
bash "$root/scripts/build.sh" "$build"
shopt -s nullglob
programs=("$build"/bench/bench_*.exe.so)
[ ${#programs[@]} -gt 0 ] || { echo "bench: no benchmark programs in $build/bench" >&2; exit 1; }
for program in "${programs[@]}"; do
    echo "== $(basename "$program" .exe.so)"
    "$build/wine-run" "$program" "$@"
done

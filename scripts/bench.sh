#!/usr/bin/env bash
# Benchmarks: print figures, check nothing. Usage: scripts/bench.sh [NAME [ARGS...]]
# Names: overhead [FILES] (default 100), idle [SECONDS] (default 30).
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
source "$root/scripts/wine-env.sh"

build="$root/build/win64"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-x86_64.cmake" \
    -DCMAKE_BUILD_TYPE=Release >/dev/null &&
    cmake --build "$build" -j2 --target Quorvane standin_detector qvprobe qvlaunchloop >/dev/null || exit 1
ensure_wine_prefix
start_xvfb
export E2E_BIN="$build/bin" E2E_OUT="$build/bench" BENCH_OUT="$build/bench"
mkdir -p "$BENCH_OUT"
source "$root/tests/e2e/lib.sh"
for f in "$root"/tests/bench/*.sh; do source "$f"; done

echo "machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //'), $(date -u +%F)"
what=${1:-all}
shift || true
case "$what" in
    overhead) bench_overhead "$@" ;;
    idle) bench_idle "$@" ;;
    all) bench_overhead 100 && bench_idle 30 ;;
    *) echo "unknown benchmark $what"; exit 2 ;;
esac

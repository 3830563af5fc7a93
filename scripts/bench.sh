#!/usr/bin/env bash
# Benchmarks: print figures, check nothing. Usage: scripts/bench.sh [NAME [ARGS...]]
# Names: overhead [FILES] (default 100), idle [SECONDS] (default 30), listing [FILES] (default 100000),
# queue [ENTRIES ...] (default 1000 10000 100000 1000000), decode [TRACKS] (default 5), picture,
# parallel [TRACKS] (default 10), estimate, all (the default: each with its defaults).
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
source "$root/scripts/wine-env.sh"

build_win64_targets Quorvane aucdtect standin_detector qvprobe qvlaunchloop qvbench_intake || exit 1
start_xvfb
export E2E_BIN="$QV_WIN64_BUILD/bin" E2E_OUT="$QV_WIN64_BUILD/bench" BENCH_OUT="$QV_WIN64_BUILD/bench"
export E2E_SCRATCH="$BENCH_OUT/scratch"
mkdir -p "$BENCH_OUT"
source "$root/tests/e2e/lib.sh"
source "$root/tests/e2e/scenarios/install.sh" # real_track and the decoders
# Xvfb parks the pointer at the screen's centre, over the window's default place, and Wine then hit-tests the
# window under it hundreds of times a second; a real desktop's idle pointer costs nothing. Benchmarks place the
# window away from it.
place_window_away_from_pointer() { reg_set_dword "Screen X" 20 && reg_set_dword "Screen Y" 20; }
for f in "$root"/scripts/bench/*.sh; do source "$f"; done

echo "machine: $(nproc) cores, $(grep -m1 'model name' /proc/cpuinfo | cut -d: -f2 | sed 's/^ //'), $(date -u +%F)"
what=${1:-all}
shift || true
case "$what" in
    overhead) bench_overhead "$@" ;;
    idle) bench_idle "$@" ;;
    listing) bench_listing "$@" ;;
    queue) bench_queue "$@" ;;
    decode) bench_decode "$@" ;;
    picture) bench_picture ;;
    parallel) bench_parallel "$@" ;;
    estimate) bench_estimate ;;
    all) bench_overhead 100 && bench_idle 30 && bench_listing && bench_queue && bench_decode && bench_picture &&
        bench_parallel && bench_estimate ;;
    *) echo "unknown benchmark $what"; exit 2 ;;
esac

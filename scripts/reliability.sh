#!/usr/bin/env bash
# Long reliability runs, separate from the test command: hard kills at random moments of a 200-file run.
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
source "$root/scripts/wine-env.sh"
build="$root/build/win64"
cmake -S "$root" -B "$build" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$root/cmake/mingw-x86_64.cmake" \
    -DCMAKE_BUILD_TYPE=Release >/dev/null &&
    cmake --build "$build" -j2 --target Quorvane standin_detector qvprobe >/dev/null || exit 1
ensure_wine_prefix
start_xvfb
export E2E_BIN="$build/bin" E2E_OUT="$build/reliability" E2E_DETECTOR="$build/bin/standin/aucdtect.exe"
mkdir -p "$E2E_OUT"
source "$root/tests/e2e/lib.sh"
for f in "$root"/tests/e2e/reliability/*.sh; do source "$f"; done
E2E_FAILURES=0
reliability_hard_kills_at_random_moments_lose_no_file
wineserver -k
[ "$E2E_FAILURES" -eq 0 ] && echo "reliability: 1 passed, 0 failed" || echo "reliability: 0 passed, 1 failed"
[ "$E2E_FAILURES" -eq 0 ]

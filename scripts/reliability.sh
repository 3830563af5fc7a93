#!/usr/bin/env bash
# Longer reliability runs than the test command's: the reliability scenarios (two starts at the same
# moment, hard kills at random moments of an 80-file run) REPEATS times. Usage: scripts/reliability.sh [REPEATS]
set -uo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
source "$root/scripts/wine-env.sh"
build_win64_targets Quorvane standin_detector qvprobe || exit 1
start_xvfb
repeats=${1:-5}
failed=0
# A failed run's files (logs, Wine's and the probe's messages) are kept under build/win64/reliability-failures/.
kept="$QV_WIN64_BUILD/reliability-failures"
rm -rf "$kept"
for i in $(seq 1 "$repeats"); do
    echo "== repeat $i of $repeats"
    for scenario in two_starts random_moments; do
        scratch=$(mktemp -d /tmp/qvXXXXXX)
        if ! E2E_SCRATCH=$scratch "$root/tests/e2e/run.sh" "$QV_WIN64_BUILD" "$scenario"; then
            failed=$((failed + 1))
            mkdir -p "$kept" && cp -r "$QV_WIN64_BUILD/e2e" "$kept/$scenario-$i" && cp -r "$scratch" "$kept/$scenario-$i/scratch"
        fi
        rm -rf "$scratch"
    done
done
echo "reliability: $((2 * repeats - failed)) passed, $failed failed"
[ "$failed" -eq 0 ]

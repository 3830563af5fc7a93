#!/usr/bin/env bash
# Runs the end-to-end scenarios against the real Quorvane.exe under Wine and Xvfb.
# Usage: tests/e2e/run.sh BUILD_DIR [NAME_FILTER]
# Expects WINEPREFIX, DISPLAY and WINEDEBUG set by the caller (scripts/test.sh does that).
# E2E_DETECTOR may name another aucdtect.exe to use in place of the stand-in.
set -u
here=$(cd "$(dirname "$0")" && pwd)
build=$(realpath "${1:?build directory}")
filter=${2:-}
export E2E_BIN="$build/bin" E2E_OUT="$build/e2e"
export E2E_DETECTOR="${E2E_DETECTOR:-$E2E_BIN/standin/aucdtect.exe}"
mkdir -p "$E2E_OUT" && : >"$E2E_OUT/probe-errors.txt"
# shellcheck source=lib.sh
source "$here/lib.sh"
# shellcheck disable=SC1090
for f in "$here"/scenarios/*.sh; do source "$f"; done

passed=0 failed=()
for name in $(declare -F | awk '{print $3}' | grep '^scenario_' | sort); do
    [[ "$name" == *"$filter"* ]] || continue
    started=$SECONDS
    E2E_FAILURES=0
    "$name"
    wineserver -k >/dev/null 2>&1 # nothing of one scenario may outlive it
    wineserver -w
    if [ "$E2E_FAILURES" -eq 0 ]; then
        passed=$((passed + 1))
        echo "  ok    $name ($((SECONDS - started)) s)"
    else
        failed+=("$name")
        echo "  FAIL  $name ($((SECONDS - started)) s)"
    fi
done
if [ ${#failed[@]} -gt 0 ]; then
    echo "failed scenarios: ${failed[*]}; their files are kept in $E2E_SCRATCH"
else
    rm -rf "$E2E_SCRATCH"
fi
echo "e2e: $passed passed, ${#failed[@]} failed"
[ ${#failed[@]} -eq 0 ]

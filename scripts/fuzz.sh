#!/usr/bin/env bash
# Longer fuzzing runs than the test command's: scripts/fuzz.sh [SECONDS] (default 600 per target).
# Targets: the open detector's WAV reader, and the program's readers of queue files, saved results,
# Estimate.log, detector output, arguments, decoder templates and decoder registry values.
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
"$root/detector/fuzz/run.sh" "${1:-600}"
"$root/tests/fuzz/run.sh" "${1:-600}"

#!/usr/bin/env bash
# Longer fuzzing runs than the test command's: scripts/fuzz.sh [SECONDS] (default 600 per target).
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
"$root/detector/fuzz/run.sh" "${1:-600}"

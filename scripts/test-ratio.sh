#!/usr/bin/env bash
# Size of the tests against the code they test: non-blank lines of .c .cpp .h .rc .sh .py files.
# Tests: tests/, detector/tests, detector/fuzz and the *Test* files of tools/. Code: src/, detector/src,
# detector/app, detector/tools and the other files of tools/. Usage: scripts/test-ratio.sh
set -euo pipefail
cd "$(dirname "$0")/.."
lines() { # files on standard input
    grep -E '\.(c|cpp|h|rc|sh|py)$' | xargs -r cat | grep -cv '^[[:space:]]*$' || true
}
files() { git ls-files --cached --others --exclude-standard -- "$@"; }
tests=$( { files tests detector/tests detector/fuzz; files tools | grep 'Test'; } | lines)
code=$( { files src detector/src detector/app detector/tools; files tools | grep -v 'Test'; } | lines)
echo "tests $tests, code $code, ratio $(awk -v t="$tests" -v c="$code" 'BEGIN { printf "%.2f", t / c }')"

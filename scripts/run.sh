#!/usr/bin/env bash
# Builds Quorvane and runs it under Wine on the given files or directories.
# The program directory is build/run/: Quorvane.exe, aucdtect.exe and the decoder folders.
# The detector is our open detector, unless QV_DETECTOR names another aucdtect.exe (for instance the
# original one). Usage: scripts/run.sh [FILE_OR_DIRECTORY ...]
set -euo pipefail
root=$(cd "$(dirname "$0")/.." && pwd)
"$root/scripts/setup.sh"
source "$root/scripts/wine-env.sh"

build_win64_targets Quorvane aucdtect

prog="$root/build/run"
mkdir -p "$prog/wav"
cp "$QV_WIN64_BUILD/bin/Quorvane.exe" "$prog/"
if [ -n "${QV_DETECTOR:-}" ]; then
    cp "$QV_DETECTOR" "$prog/aucdtect.exe"
    echo "run: using the detector $QV_DETECTOR"
else
    cp "$QV_WIN64_BUILD/bin/opendetector/aucdtect.exe" "$prog/aucdtect.exe"
    echo "run: using the open detector (set QV_DETECTOR to use another aucdtect.exe)"
fi
# Compressed types need a Windows decoder in their folder; QV_FLAC_EXE copies one in as flac\flac.exe.
if [ -n "${QV_FLAC_EXE:-}" ]; then
    mkdir -p "$prog/flac" && cp "$QV_FLAC_EXE" "$prog/flac/flac.exe"
fi

[ -n "${DISPLAY:-}" ] || start_xvfb
args=()
for a in "$@"; do
    args+=("Z:$(realpath "$a" | sed 's|/|\\|g')")
done
echo "run: program directory $prog (System.log, Detect.log there; a kelvra.NNN.log in each checked directory)"
wine "$prog/Quorvane.exe" "${args[@]}"

#!/usr/bin/env bash
# Builds Quorvane and runs it under Wine on the given files or directories.
# The program directory is build/run/: Quorvane.exe, aucdtect.exe and the decoder folders (flac\flac.exe
# and wv\wvunpack.exe built from Debian's sources by scripts/decoders.sh).
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
# FLAC and WavPack get the decoders built from Debian's sources; QV_FLAC_EXE or QV_WVUNPACK_EXE puts the
# user's own in their place.
"$root/scripts/decoders.sh" x86_64
decoders="$root/build/decoders/x86_64"
mkdir -p "$prog/flac" "$prog/wv"
cp "${QV_FLAC_EXE:-$decoders/flac.exe}" "$prog/flac/flac.exe"
cp "${QV_WVUNPACK_EXE:-$decoders/wvunpack.exe}" "$prog/wv/wvunpack.exe"

[ -n "${DISPLAY:-}" ] || start_xvfb
args=()
for a in "$@"; do
    args+=("Z:$(realpath "$a" | sed 's|/|\\|g')")
done
echo "run: program directory $prog (System.log, Detect.log there; a kelvra.NNN.log in each checked directory)"
wine "$prog/Quorvane.exe" "${args[@]}"

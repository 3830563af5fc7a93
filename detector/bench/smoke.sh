#!/bin/bash
# Quick end-to-end check of the detector on a two-original corpus of 8-second clips rendered with the small
# TimGM6mb sound font (a minute or two): builds it, prints the benchmark table and fails when a clean clip is
# called MPEG or a 128 kbps MP3 is missed.
# Usage: smoke.sh BUILD_DIR [SCRATCH_DIR]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=${1:?usage: smoke.sh BUILD_DIR [SCRATCH_DIR]}
scratch=${2:-$build/detector-smoke}
rm -rf "$scratch"
font=/usr/share/sounds/sf2/TimGM6mb.sf2
# Version 1's pieces: no original of the current version's sealed test half is rendered here.
CORPUS_VERSION=1 CORPUS_FONTS=$font CORPUS_KITS=$font bash "$here/../corpus/make-real-corpus.sh" "$scratch" 2 8 2>/dev/null
table=$(bash "$here/accuracy.sh" "$build" "$scratch" all)
echo "$table"
rm -rf "$scratch"
awk '$1 == "all" && $2 == "clean" && $5 + 0 > 0 { bad = 1 }
     $1 == "mp3-cbr128" && $4 + 0 < 100 { bad = 1 }
     END { exit bad }' <<<"$table"

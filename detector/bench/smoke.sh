#!/bin/bash
# Quick end-to-end check of the detector on a two-original corpus (about a minute): builds the corpus, runs the
# benchmark table and fails when a clean clip is called MPEG or a 128 kbps MP3 is missed.
# Usage: smoke.sh BUILD_DIR [SCRATCH_DIR]
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=${1:?usage: smoke.sh BUILD_DIR [SCRATCH_DIR]}
scratch=${2:-$build/detector-smoke}
rm -rf "$scratch"
bash "$here/../corpus/make-corpus.sh" "$scratch" 2 8 2>/dev/null
# Both originals are labelled by half; the smoke run judges all of them.
sed -i 's/^calib\t/holdout\t/' "$scratch/labels.tsv"
table=$(bash "$here/accuracy.sh" "$build" "$scratch")
echo "$table"
rm -rf "$scratch"
awk '$1 == "all" && $2 == "clean" && $5 + 0 > 0 { bad = 1 }
     $1 == "mp3-cbr128" && $4 + 0 < 100 { bad = 1 }
     END { exit bad }' <<<"$table"

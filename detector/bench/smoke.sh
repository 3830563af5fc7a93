#!/bin/bash
# Quick end-to-end check of the detector on a two-original corpus of 8-second clips rendered with the small
# TimGM6mb sound font (a minute or two): builds it, prints the benchmark table and fails when a clean clip is
# called MPEG, a 128 kbps MP3 is missed, or the gaps on CELT's frame grid do not tell Opus from the rest.
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
# The gaps on CELT's frame grid, with the real encoder and decoder: an Opus clip of full-band material shows them
# clearly, and no other clip does (their figures are noise around 0).
grid=$("$build/bin/opendetector/opendetector_features" "$scratch/labels.tsv" 0 all |
    awk -F'\t' 'NR > 1 { if ($3 ~ /^opus/) { if ($23 > opus) opus = $23 } else if ($23 > other) other = $23 }
                END { printf "%.3f %.3f", opus, other }')
echo "grid gaps at -m0, highest: Opus ${grid% *}, other clips ${grid#* }"
rm -rf "$scratch"
awk -v grid="$grid" '$1 == "all" && $2 == "clean" && $5 + 0 > 0 { bad = 1 }
     $1 == "mp3-cbr128" && $4 + 0 < 100 { bad = 1 }
     END { split(grid, g, " "); if (g[1] < 0.4 || g[2] > 0.15) bad = 1; exit bad }' <<<"$table"

#!/bin/bash
# Fits the detector's model on the calibration half of the corpus and rewrites detector/src/Calibration.h.
# Usage: calibrate.sh BUILD_DIR CORPUS_DIR [CLEAN_WEIGHT [MORE_CORPUS_DIR...]]   (weight default 3: a false alarm
#   costs three misses)
#   BUILD_DIR: a native build with the opendetector_features and opendetector_calibrate tools
#   CORPUS_DIR: made by detector/corpus/make-real-corpus.sh (the validation and test splits are never read here)
#   MORE_CORPUS_DIR: other versions of the corpus, fitted on together with the first
# CALIBRATION_SPLITS (default calib) names the splits fitted on: "calib valid" fits on both once the validation
# half has been looked at, and "calib valid test" on a whole version whose test half has been used, while a newer
# version's sealed test half is left to judge the result.
# Features of modes 0 and 1 both go into the fit, the modes of Quorvane's first two passes.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=${1:?usage: calibrate.sh BUILD_DIR CORPUS_DIR [CLEAN_WEIGHT [MORE_CORPUS_DIR...]]}
corpus=${2:?usage: calibrate.sh BUILD_DIR CORPUS_DIR [CLEAN_WEIGHT [MORE_CORPUS_DIR...]]}
weight=${3:-3}
corpora=("$corpus" "${@:4}")
bin=$build/bin/opendetector
features=$corpus/features-calib.tsv

splits=${CALIBRATION_SPLITS:-calib}
: >"$features"
described=()
for dir in "${corpora[@]}"; do
    for split in $splits; do
        for mode in 0 1; do
            nice -n 10 "$bin/opendetector_features" "$dir/labels.tsv" "$mode" "$split" >>"$features"
        done
    done
    read -r version seed <"$dir/version"
    described+=("version $version, seed $seed, $(($(sed -n '$=' "$dir/labels.tsv") - 1)) clips")
done
nice -n 10 "$bin/opendetector_calibrate" "$features" "$weight" >"$features.h"
{
    sed '/^\/\/ Reproduce/,$d' "$features.h"
    echo "// Corpus: make-real-corpus.sh, splits $splits, modes 0 and 1:"
    printf '//   %s\n' "${described[@]}"
    sed -n '/^\/\/ Reproduce/,$p' "$features.h"
} >"$here/../src/Calibration.h"
# The weights' columns are aligned as the tree's format has them.
clang-format -i "$here/../src/Calibration.h"
rm -f "$features.h"
echo "wrote $here/../src/Calibration.h; rebuild before benchmarking" >&2

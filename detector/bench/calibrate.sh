#!/bin/bash
# Fits the detector's model on the calibration half of the corpus and rewrites detector/src/Calibration.h.
# Usage: calibrate.sh BUILD_DIR CORPUS_DIR [CLEAN_WEIGHT]   (default 3: a false alarm costs three misses)
#   BUILD_DIR: a native build with the opendetector_features and opendetector_calibrate tools
#   CORPUS_DIR: made by detector/corpus/make-real-corpus.sh (the validation and test splits are never read here)
# CALIBRATION_SPLITS (default calib) names the splits fitted on: "calib valid" fits on both once the validation
# half has been looked at and a newer corpus version's sealed test half is left to judge the result.
# Features of modes 0 and 1 both go into the fit, the modes of Quorvane's first two passes.
set -euo pipefail
here=$(cd "$(dirname "$0")" && pwd)
build=${1:?usage: calibrate.sh BUILD_DIR CORPUS_DIR [CLEAN_WEIGHT]}
corpus=${2:?usage: calibrate.sh BUILD_DIR CORPUS_DIR [CLEAN_WEIGHT]}
weight=${3:-3}
bin=$build/bin/opendetector
features=$corpus/features-calib.tsv

splits=${CALIBRATION_SPLITS:-calib}
: >"$features"
for split in $splits; do
    for mode in 0 1; do
        nice -n 10 "$bin/opendetector_features" "$corpus/labels.tsv" "$mode" "$split" >>"$features"
    done
done
read -r version seed <"$corpus/version"
nice -n 10 "$bin/opendetector_calibrate" "$features" "$weight" >"$features.h"
labels=$(($(sed -n '$=' "$corpus/labels.tsv") - 1))
sed "/^\/\/ Reproduce/i // Corpus: make-real-corpus.sh version $version, seed $seed, $labels clips; splits $splits; modes 0 and 1." \
    "$features.h" >"$here/../src/Calibration.h"
rm -f "$features.h"
echo "wrote $here/../src/Calibration.h; rebuild before benchmarking" >&2

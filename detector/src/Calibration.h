#pragma once
// Weights of the lossy-source model, written by opendetector_calibrate; do not edit by hand.
// Fitted on 352 measurements of the calibration half (80 clean, 272 lossy),
// clean weight 3, ridge 0.0001.
// Corpus: make-real-corpus.sh version 1, seed 20261206, 704 clips; modes 0 and 1.
// Reproduce with detector/bench/calibrate.sh (corpus, seed and version are named there).
namespace qvdet {
inline constexpr double kCalibratedWeights[] = {
    4.528990, 4.510283, -0.269086, 0.100418, 0.524338,
};
inline constexpr double kCalibratedBias = -1.764987;
} // namespace qvdet

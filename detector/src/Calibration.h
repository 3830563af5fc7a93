#pragma once
// Weights of the lossy-source model, written by opendetector_calibrate; do not edit by hand.
// Fitted on 704 measurements (160 clean, 544 lossy),
// clean weight 3, ridge 0.0001.
// Corpus: make-real-corpus.sh version 2, seed 20277044, 704 clips; splits calib valid; modes 0 and 1.
// Reproduce with detector/bench/calibrate.sh (corpus, seed and version are named there).
namespace qvdet {
inline constexpr double kCalibratedWeights[] = {
    6.267671, 6.412839, 1.616719, -0.310805, 0.379432, -0.417057, 15.364193, 3.496664,
};
inline constexpr double kCalibratedBias = -2.118830;
} // namespace qvdet

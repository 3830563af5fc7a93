#pragma once
// Weights of the lossy-source model, written by opendetector_calibrate; do not edit by hand.
// Fitted on 704 measurements (160 clean, 544 lossy),
// clean weight 4, ridge 0.0001.
// Corpus: make-real-corpus.sh version 2, seed 20277044, 704 clips; splits calib valid; modes 0 and 1.
// Reproduce with detector/bench/calibrate.sh (corpus, seed and version are named there).
namespace qvdet {
inline constexpr double kCalibratedWeights[] = {
    6.495670, 6.739559, 1.671087, -0.361463, 0.391875, -0.423158, 16.071321, 3.684550,
};
inline constexpr double kCalibratedBias = -2.395171;
} // namespace qvdet

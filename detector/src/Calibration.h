#pragma once
// Weights of the lossy-source model, written by opendetector_calibrate; do not edit by hand.
// Fitted on 352 measurements of the calibration half (80 clean, 272 lossy),
// clean weight 3, ridge 0.0001.
// Corpus: make-real-corpus.sh version 2, seed 20277044, 352 clips; modes 0 and 1.
// Reproduce with detector/bench/calibrate.sh (corpus, seed and version are named there).
namespace qvdet {
inline constexpr double kCalibratedWeights[] = {
    1.565484, 6.153180, 1.217252, -0.681748, 1.013074, -0.952218, 20.289015, 4.518471,
};
inline constexpr double kCalibratedBias = -2.108961;
} // namespace qvdet

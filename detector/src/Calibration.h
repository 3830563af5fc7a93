#pragma once
// Weights of the lossy-source model, written by opendetector_calibrate; do not edit by hand.
// Fitted on 2816 measurements (640 clean, 2176 lossy),
// clean weight 4, ridge 0.0001.
// Corpus: make-real-corpus.sh version 3, seed 20284963, 704 clips; version 2, seed 20277044, 704 clips; splits calib valid test; modes 0 and 1.
// Reproduce with detector/bench/calibrate.sh (corpus, seed and version are named there).
namespace qvdet {
inline constexpr double kCalibratedWeights[] = {
    1.728197, 5.162258, 0.000000, -0.470203, -0.182763, 1.006238, 18.493839, 0.000000, 11.335467,
};
inline constexpr double kCalibratedBias = -2.951758;
} // namespace qvdet

#pragma once
// Weights of the lossy-source model, written by opendetector_calibrate; do not edit by hand.
// Fitted on 2816 measurements (640 clean, 2176 lossy),
// clean weight 4, ridge 0.0001.
// Corpus: make-real-corpus.sh, splits calib valid test, modes 0 and 1:
//   version 3, seed 20284963, 704 clips
//   version 2, seed 20277044, 704 clips
// Reproduce with detector/bench/calibrate.sh (corpus, seed and version are named there).
namespace qvdet {
inline constexpr double kCalibratedWeights[] = {
    0.931747, 5.157666, 0.016300, -0.062390, -0.280070, 1.264857, 19.745425, 0.000000, 11.010097,
};
inline constexpr double kCalibratedBias = -3.125391;
} // namespace qvdet

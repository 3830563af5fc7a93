#pragma once
// Weights of the lossy-source model, written by opendetector_calibrate; do not edit by hand.
// Fitted on 4224 measurements (960 clean, 3264 lossy),
// clean weight 4, ridge 0.0001.
// Corpus: make-real-corpus.sh, splits calib valid test, modes 0 and 1:
//   version 5, seed 20300801, 352 clips
//   version 4, seed 20292882, 352 clips
//   version 3, seed 20284963, 704 clips
//   version 2, seed 20277044, 704 clips
// Reproduce with detector/bench/calibrate.sh (corpus, seed and version are named there).
namespace qvdet {
inline constexpr double kCalibratedWeights[] = {
    0.498698, 0.550180, 0.000000,  -0.434287, -0.442084, 2.597583,
    7.472672, 0.227592, 10.543313, 4.206743,  3.435577,  0.000000,
};
inline constexpr double kCalibratedBias = -3.975879;
} // namespace qvdet

#pragma once
// Weights of the lossy-source model, written by opendetector_calibrate; do not edit by hand.
// Fitted on 4928 measurements (1120 clean, 3808 lossy),
// clean weight 4, ridge 0.0001.
// Corpus: make-real-corpus.sh, splits calib valid test, modes 0 and 1:
//   version 6, seed 20308720, 352 clips
//   version 5, seed 20300801, 352 clips
//   version 4, seed 20292882, 352 clips
//   version 3, seed 20284963, 704 clips
//   version 2, seed 20277044, 704 clips
// Reproduce with detector/bench/calibrate.sh (corpus, seed and version are named there).
namespace qvdet {
inline constexpr double kCalibratedWeights[] = {
    0.733987, 0.556328, 0.588761,  -0.624876, -0.278538, 0.737828,
    2.339552, 0.000000, 10.669981, 1.071269,  3.502101,  8.645277,
};
inline constexpr double kCalibratedBias = -4.189643;
} // namespace qvdet

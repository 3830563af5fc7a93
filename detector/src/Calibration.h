#pragma once
// Weights of the lossy-source model, written by opendetector_calibrate; do not edit by hand.
// Fitted on 816 measurements of the calibration half (240 clean, 576 lossy),
// clean weight 3, ridge 0.0001.
// Corpus: make-corpus.sh version 5, seed 20240611, 816 clips; modes 0 and 1.
// Reproduce with detector/bench/calibrate.sh (corpus, seed and version are named there).
namespace qvdet {
inline constexpr double kCalibratedWeights[] = {
    2.267488,
    -1.941126,
    2.153766,
    3.830812,
    -1.909026,
    -2.709678,
    12.284392,
};
inline constexpr double kCalibratedBias = -6.969833;
} // namespace qvdet

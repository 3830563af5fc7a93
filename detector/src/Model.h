#pragma once
// From measured features to the probability that a track passed through a lossy encoder.
#include "TrackAnalysis.h"

#include <array>
#include <cstddef>

namespace qvdet {

inline constexpr std::size_t kModelInputs = 12;
using ModelInput = std::array<double, kModelInputs>;

// The transformed, bounded inputs of the logistic model; the calibration fits weights over these.
ModelInput modelInput(const Features& features);

// Which inputs are an encoder's marks: more of a mark never makes a track look cleaner, so the calibration keeps
// their weights at zero or above. The others (how sparse the top band is) may weigh either way.
inline constexpr std::array<bool, kModelInputs> kInputIsMark = {true, true, true, false, false, true,
                                                                true, true, true, true,  true,  true};

struct ModelWeights {
    std::array<double, kModelInputs> weights{};
    double bias = 0.0;
};

double lossyProbability(const ModelInput& input, const ModelWeights& model);

// The fitted weights shipped with the detector.
const ModelWeights& calibratedModel();

// The verdict line for a pass: a percentage from the probability, or the could-not-qualify line.
std::string verdictLine(const TrackAnalysis& analysis);

} // namespace qvdet

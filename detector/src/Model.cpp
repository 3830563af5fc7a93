#include "Model.h"

#include "Calibration.h"

#include <algorithm>
#include <cmath>

namespace qvdet {
namespace {
double clampTo(double value, double low, double high) { return std::max(low, std::min(high, value)); }
} // namespace

ModelInput modelInput(const Features& f) {
    const double depth = clampTo(f.depthDb, 0.0, 60.0) / 10.0;
    const double slope = clampTo(f.slopeDb, 0.0, 60.0) / 10.0;
    // An edge counts as a wall only as far as it is both deep and steep; a gentle roll-off into the floor is deep
    // but not steep.
    const double wall = std::min(depth, 2.0 * slope);
    // Kilohertz below 22: encoders cut at 11 to 20.5 kHz, full-band content reaches past 21. Where the edge lies
    // and how steady it is only mean something when there is a wall, so both enter weighted by it.
    const double lowness = clampTo(22.0 - f.edgeHz / 1000.0, 0.0, 3.0);
    const double holes = std::log10(clampTo(f.holeRatio, 0.0, 1.0) + 1e-4) + 4.0;
    // Gaps above 16 kHz, on their own and against the band below, which shows how sparse the music itself is.
    const double high = clampTo(f.sparseHigh, 0.0, 1.0) + 0.003;
    const double mid = clampTo(f.sparseMid, 0.0, 1.0) + 0.003;
    return {depth,
            slope,
            wall * lowness,
            holes,
            wall * clampTo(f.stability, 0.0, 1.0),
            std::log10(high) + 2.5,
            std::log10(high / mid)};
}

double lossyProbability(const ModelInput& input, const ModelWeights& model) {
    double z = model.bias;
    for (std::size_t i = 0; i < kModelInputs; ++i) {
        z += model.weights[i] * input[i];
    }
    z = clampTo(z, -40.0, 40.0);
    return 1.0 / (1.0 + std::exp(-z));
}

const ModelWeights& calibratedModel() {
    static const ModelWeights model = [] {
        ModelWeights m;
        for (std::size_t i = 0; i < kModelInputs; ++i) {
            m.weights[i] = kCalibratedWeights[i];
        }
        m.bias = kCalibratedBias;
        return m;
    }();
    return model;
}

std::string verdictLine(const TrackAnalysis& analysis) {
    if (analysis.outcome != Outcome::Qualified) {
        return "Could not qualify the source of this track";
    }
    const double lossy = lossyProbability(modelInput(analysis.features), calibratedModel());
    if (lossy > 0.5) {
        return "This track looks like MPEG with probability " + std::to_string(std::lround(lossy * 100.0)) + "%";
    }
    return "This track looks like CDDA with probability " + std::to_string(std::lround((1.0 - lossy) * 100.0)) + "%";
}

} // namespace qvdet

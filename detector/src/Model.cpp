#include "Model.h"

#include "Calibration.h"

#include <algorithm>
#include <cmath>

namespace qvdet {
namespace {
double clampTo(double value, double low, double high) {
    return std::max(low, std::min(high, value));
}
// Marks this faint are found in clean masters too (sparse tonal music, reverb tails): they do not make a wall in
// the mastering band an encoder's. A log ratio of 0.15 is 40% more gaps above 16 kHz than below; 1 is 1% holes.
constexpr double kSlightExcess = 0.15;
constexpr double kSlightHoles = 1.0;
} // namespace

ModelInput modelInput(const Features& f) {
    const double depth = clampTo(f.depthDb, 0.0, 60.0) / 10.0;
    const double slope = clampTo(f.slopeDb, 0.0, 60.0) / 10.0;
    // An edge counts as a wall only as far as it is both deep and steep; a gentle roll-off into the floor is deep
    // but not steep.
    const double wall = std::min(depth, 2.0 * slope);
    const double kHz = f.edgeHz / 1000.0;
    // Gaps above 16 kHz, on their own and against the band below, which shows how sparse the music itself is:
    // MP3 codes that band without scale factors and leaves gaps there even when it keeps the band.
    const double high = clampTo(f.sparseHigh, 0.0, 1.0) + 0.003;
    const double mid = clampTo(f.sparseMid, 0.0, 1.0) + 0.003;
    const double sparseExcess = clampTo(std::log10(high / mid), 0.0, 1.5);
    // Bounded, so that a few persistent holes cannot outvote everything else.
    const double holes = clampTo(std::log10(clampTo(f.holeRatio, 0.0, 1.0) + 1e-3) + 3.0, 0.0, 2.0);
    // The band above the wall holding nothing but the rounding noise of the last conversion: a decoder writes its
    // output without dither, while a master is dithered after its filters (TPDF dither alone lifts the floor by
    // 4.8 dB, shaped dither by more).
    const double bareFloor = clampTo((3.0 - f.aboveDb) / 2.0, 0.0, 1.0);
    // Mastering anti-alias filters stand between 19.8 and 21.5 kHz and are as steep as an encoder's low-pass, and
    // band-limited masters end lower still: a wall says nothing by itself. How far below 22 kHz it stands weighs
    // only with the marks of an encoder.
    const double position = wall * clampTo(22.0 - kHz, 0.0, 2.5);
    return {position * (std::max(0.0, sparseExcess - kSlightExcess) + std::max(0.0, holes - kSlightHoles) / 2.0),
            position * bareFloor, holes, std::log10(high) + 2.5, std::log10(high / mid)};
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

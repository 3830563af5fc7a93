#include "Model.h"

#include "Calibration.h"

#include <algorithm>
#include <array>
#include <cmath>

namespace qvdet {
namespace {
double clampTo(double value, double low, double high) {
    return std::max(low, std::min(high, value));
}
// How far a mark counts: nothing up to `from`, fully from `to` on, linearly between; `to` lies below `from` for a
// mark that grows as the value falls.
double ramp(double value, double from, double to) {
    return clampTo((value - from) / (to - from), 0.0, 1.0);
}
// Marks this faint are found in clean masters too (sparse tonal music, reverb tails): they do not make a wall in
// the mastering band an encoder's. A log ratio of 0.15 is 40% more gaps above 16 kHz than below; 1 is 1% holes.
constexpr double kSlightExcess = 0.15;
constexpr double kSlightHoles = 1.0;
// Opus's CELT codes bands up to exactly 20 kHz; its decoder output keeps the wall within a few bins of it.
constexpr double kOpusWallKHz = 20.15;
constexpr double kOpusWallReachKHz = 0.4;
constexpr double kSlightCoupling = 0.1;
// Channels alike at 2 to 5 kHz in this share of bands or more are near-mono material: the few uncoupled bands left
// make the ratio unsteady, and alike channels high up say nothing of joint stereo. The mark fades out from
// kNearMonoFrom to kMono.
constexpr double kNearMonoFrom = 0.6;
constexpr double kMono = 0.9;
// Where ffmpeg's AAC encoder puts its low-pass at 128 and 192 kbps (44.1 and 48 kHz), below the band where
// mastering filters stand: kHz and reach.
constexpr std::array<std::array<double, 2>, 3> kAacWalls = {{{17.35, 0.25}, {18.25, 0.15}, {19.42, 0.2}}};
// Dithered masters keep hardly any of their quiet cells from 16 kHz up at the rounding floor (at most 1.1% in the
// corpus); a decoder's undithered output, from a third to three quarters. A share from fewer quiet cells than
// kEnoughQuietCells (about a third of a second of the whole band from 16 kHz up) counts for less.
constexpr double kSlightBareShare = 0.05;
constexpr double kClearBareShare = 0.2;
constexpr double kEnoughQuietCells = 200.0;
// CELT's cut at 20 kHz: of the corpus's 480 clean clips seven drop by 7 dB or more across it (filters and
// instruments ending near there) and one steps cleanly by more than 4.5 dB; a decoded file's cut stands 10 to
// 20 dB over its decoder's dither, 2 to 8 dB where the coded band held only the master's dither.
constexpr double kSlightCliffDrop = 7.0;
constexpr double kClearCliffDrop = 12.0;
constexpr double kSlightCliffStep = 1.5;
constexpr double kClearCliffStep = 4.5;
// Gaps on CELT's frame grid: clean and other lossy clips stay within 0.13 of none either way (the ratio's noise
// from a few hundred transforms); decoded Opus shows 0.2 to 5 where the band held music.
constexpr double kSlightGridGaps = 0.15;
constexpr double kClearGridGaps = 0.4;

double nearness(double kHz, double at, double reach) {
    return clampTo(1.0 - std::abs(kHz - at) / reach, 0.0, 1.0);
}
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
    const double bareFloor = ramp(f.aboveDb, 3.0, 1.0);
    // Mastering anti-alias filters stand between 19.8 and 21.5 kHz and are as steep as an encoder's low-pass, and
    // band-limited masters end lower still: a wall says nothing by itself. How far below 22 kHz it stands weighs
    // only with the marks of an encoder.
    const double position = wall * clampTo(22.0 - kHz, 0.0, 2.5);
    // Joint stereo: how much more of the 8 to 14 kHz band than of the 2 to 5 kHz band has left and right spectra
    // of one shape, as uncoupled shares, so that mono and near-mono material (coupled everywhere) shows little.
    // Clean masters reach a log ratio of kSlightCoupling (fewer sources sound high up); only more counts.
    const double uncoupledRatio =
        std::log10((1.02 - clampTo(f.coupledLow, 0.0, 1.0)) / (1.02 - clampTo(f.coupledHigh, 0.0, 1.0)));
    const double stereoEnough = ramp(f.coupledLow, kMono, kNearMonoFrom);
    const double coupling = std::max(0.0, clampTo(uncoupledRatio, 0.0, 1.0) - kSlightCoupling) * stereoEnough;
    // A wall where CELT's last band ends weighs only together with joint stereo; its decoder dithers above the
    // wall, so the wall is shallow: 10 dB of depth is enough, and a deeper one says no more.
    const double atOpusWall = nearness(kHz, kOpusWallKHz, kOpusWallReachKHz);
    // A steep wall where an AAC encoder cuts.
    double atAacWall = 0.0;
    for (const auto& [at, reach] : kAacWalls) {
        atAacWall = std::max(atAacWall, nearness(kHz, at, reach));
    }
    // Quiet cells holding nothing but the rounding noise of an undithered conversion, wall or no wall: the decoder
    // wrote zeros wherever the encoder coded nothing, where a master would carry its dither.
    const double bareCells =
        ramp(f.bareShare, kSlightBareShare, kClearBareShare) * clampTo(f.quietCells / kEnoughQuietCells, 0.0, 1.0);
    // A brick wall at exactly 20.0 kHz: deep, or a clean step between flat floors (a shallow one, where the coded
    // band held little more than the master's dither).
    const double cliffDrop = ramp(f.cliffDropDb, kSlightCliffDrop, kClearCliffDrop);
    const double cliffStep = ramp(f.cliffStepDb, kSlightCliffStep, kClearCliffStep);
    // More gaps in the spectrum on CELT's frame grid than beside it.
    const double gridGaps = ramp(f.celtGapExcess, kSlightGridGaps, kClearGridGaps);
    // The wall's marks weigh only through it: sparse, quiet masters have persistent holes of their own, and with no
    // wall they say nothing. Joint stereo, the AAC walls, bare cells, the cliff and the grid's gaps weigh by
    // themselves.
    return {position * std::max(0.0, sparseExcess - kSlightExcess),
            position * bareFloor,
            position * std::max(0.0, holes - kSlightHoles),
            std::log10(high) + 2.5,
            std::log10(high / mid),
            coupling,
            std::min(wall, 1.0) * atOpusWall * coupling,
            std::min(wall, 3.0) * atAacWall,
            bareCells,
            cliffDrop,
            cliffStep,
            gridGaps};
}

double lossyProbability(const ModelInput& input, const ModelWeights& model) {
    double z = model.bias;
    for (std::size_t i = 0; i < kModelInputs; ++i) {
        z += model.weights[i] * input[i];
    }
    z = clampTo(z, -40.0, 40.0);
    return 1.0 / (1.0 + std::exp(-z));
}

static_assert(sizeof(kCalibratedWeights) / sizeof(kCalibratedWeights[0]) == kModelInputs,
              "the calibration was fitted for another set of inputs: run detector/bench/calibrate.sh");

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

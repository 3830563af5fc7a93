#include "Model.h"
#include "Signals.h"
#include "Spectrum.h"
#include "TrackAnalysis.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <random>

namespace qvdet {
namespace {

using namespace qvdet::test;

constexpr unsigned kRate = 44100;
constexpr unsigned kLog2Length = 17; // about 3 s at 44.1 kHz

TrackAnalysis analyseNoise(const Response& response, int mode = 0, unsigned rate = kRate) {
    const unsigned log2Length = kLog2Length + (rate > 48000 ? 1 : 0);
    SignalSource source(stereo(shapedNoise(log2Length, rate, response, 1), shapedNoise(log2Length, rate, response, 2)),
                        2, rate);
    return analyseTrack(source, mode);
}

// What a lossy encoder leaves: nothing above 16 kHz and an empty band at 11 to 13.5 kHz.
Response encoderLike() {
    return [](double f) { return f < 16000.0 && (f < 11000.0 || f > 13500.0) ? 1.0 : 0.0; };
}

// A single-pole roll-off from 15 kHz, as a mastering or analogue filter would leave.
Response gentle() {
    return [](double f) { return 1.0 / std::sqrt(1.0 + (f / 15000.0) * (f / 15000.0)); };
}

TEST(TrackAnalysis, BrickWallIsFoundWhereItIsAndIsDeepAndSteep) {
    for (double cutoff : {11000.0, 16000.0, 19500.0, 20500.0}) {
        const TrackAnalysis a = analyseNoise(brickWall(cutoff));
        ASSERT_EQ(a.outcome, Outcome::Qualified);
        EXPECT_NEAR(a.features.edgeHz, cutoff, 250.0) << cutoff;
        EXPECT_GT(a.features.depthDb, 40.0) << cutoff;
        EXPECT_GT(a.features.slopeDb, 20.0) << cutoff;
        EXPECT_LT(a.features.aboveDb, 6.0) << cutoff;
        EXPECT_GT(a.features.stability, 0.9) << cutoff;
    }
}

TEST(TrackAnalysis, FullBandAndGentleRollOffShowNoEdge) {
    for (const auto& [name, response] : {std::pair<const char*, Response>{"flat", [](double) { return 1.0; }},
                                         std::pair<const char*, Response>{"gentle", gentle()}}) {
        const TrackAnalysis a = analyseNoise(response);
        ASSERT_EQ(a.outcome, Outcome::Qualified) << name;
        EXPECT_LT(a.features.depthDb, 6.0) << name;
        EXPECT_LT(a.features.slopeDb, 6.0) << name;
        EXPECT_LT(a.features.holeRatio, 0.001) << name;
    }
}

// CELT's cut: the band up to exactly 20 kHz, a decoder's dither 30 dB under it above. Against it, the same cut
// 300 Hz higher, and a filter falling 30 dB over 600 Hz through 20 kHz.
TEST(TrackAnalysis, ACutAtExactly20kHzIsACliffAndAFilterSlopeThroughItIsNot) {
    const auto cutAt = [](double hz) { return [hz](double f) { return f < hz ? 1.0 : 0.03; }; };
    for (unsigned rate : {44100u, 96000u}) {
        const TrackAnalysis cut = analyseNoise(cutAt(20000.0), 0, rate);
        ASSERT_EQ(cut.outcome, Outcome::Qualified);
        EXPECT_GT(cut.features.cliffDropDb, 25.0) << rate;
        EXPECT_GT(cut.features.cliffStepDb, 20.0) << rate;
    }
    const TrackAnalysis higher = analyseNoise(cutAt(20300.0));
    // Three seconds of noise leave the levels a dB or two apart by chance.
    EXPECT_LT(std::abs(higher.features.cliffDropDb), 2.5);
    EXPECT_LT(higher.features.cliffStepDb, 1.5);
    const TrackAnalysis slope =
        analyseNoise([](double f) { return std::pow(10.0, -1.5 * std::clamp((f - 19700.0) / 600.0, 0.0, 1.0)); });
    EXPECT_GT(slope.features.cliffDropDb, 4.0);
    EXPECT_LT(slope.features.cliffStepDb, 0.0);
}

// Noise that swells and fades by 30 dB every half second, rounded to 16 bits again: content that rises over its
// own floor, as music does. Rounded plainly, as a decoder writes its output, or with TPDF dither, as a master is.
TrackAnalysis analysePulsedNoise(const Response& response, bool dithered = false) {
    std::vector<double> samples = shapedNoise(kLog2Length, kRate, response, 5);
    std::mt19937 random(7);
    std::uniform_real_distribution<double> half(-0.5, 0.5);
    for (std::size_t i = 0; i < samples.size(); ++i) {
        const double gain = (i / (kRate / 4)) % 2 ? 0.03 : 1.0;
        const double dither = dithered ? half(random) + half(random) : 0.0;
        samples[i] = std::round(samples[i] * gain * 32768.0 + dither) / 32768.0;
    }
    SignalSource source(samples, 1, kRate);
    return analyseTrack(source, 0);
}

TEST(TrackAnalysis, EmptyBandUnderContentCountsAsHoles) {
    const TrackAnalysis holes = analysePulsedNoise(encoderLike());
    const TrackAnalysis none = analysePulsedNoise(brickWall(16000.0));
    EXPECT_GT(holes.features.holeRatio, 0.1);
    EXPECT_LT(none.features.holeRatio, 0.001);
}

TEST(TrackAnalysis, QuietCellsAtTheRoundingFloorAreBareOnlyWithoutDither) {
    const TrackAnalysis decoded = analysePulsedNoise(brickWall(16000.0));
    const TrackAnalysis mastered = analysePulsedNoise(brickWall(16000.0), true);
    EXPECT_GT(decoded.features.quietCells, 1000.0);
    EXPECT_GT(decoded.features.bareShare, 0.5);
    EXPECT_GT(mastered.features.quietCells, 1000.0);
    EXPECT_LT(mastered.features.bareShare, 0.15);
}

TEST(TrackAnalysis, HighRatesLookAtTheSameBandAsCdRates) {
    for (unsigned rate : {48000u, 96000u}) {
        const TrackAnalysis a = analyseNoise(brickWall(16000.0), 0, rate);
        ASSERT_EQ(a.outcome, Outcome::Qualified) << rate;
        EXPECT_NEAR(a.features.edgeHz, 16000.0, 250.0) << rate;
        EXPECT_GT(a.features.depthDb, 40.0) << rate;
    }
}

TEST(TrackAnalysis, JointStereoCouplesTheHighBandOnly) {
    const auto noise = [](const Response& response, unsigned seed) {
        return shapedNoise(kLog2Length, kRate, response, seed);
    };
    const auto above = [](double hz) { return [hz](double f) { return f > hz ? 1.0 : 0.0; }; };
    const std::vector<double> left = noise([](double) { return 1.0; }, 1);
    // Joint stereo codes the high band once for both channels: the right one is the left one's high band, scaled,
    // over its own low band.
    std::vector<double> joint = noise(brickWall(7000.0), 2);
    const std::vector<double> leftHigh = noise(above(8000.0), 1);
    std::vector<double> panned(left.size());
    for (std::size_t i = 0; i < left.size(); ++i) {
        joint[i] += 0.5 * leftHigh[i];
        panned[i] = std::round(left[i] * 0.5 * 32768.0) / 32768.0;
    }
    struct Case {
        const char* name;
        std::vector<double> right;
        bool coupledHigh;
        bool coupledLow;
    };
    const Case cases[] = {
        {"independent channels", noise([](double) { return 1.0; }, 3), false, false},
        {"one source panned", panned, true, true},
        {"joint stereo above 8 kHz", joint, true, false},
    };
    for (const Case& c : cases) {
        SignalSource source(stereo(left, c.right), 2, kRate);
        const Features f = analyseTrack(source, 0).features;
        EXPECT_EQ(f.coupledHigh > 0.9, c.coupledHigh) << c.name << ": " << f.coupledHigh;
        EXPECT_LT(f.coupledHigh, c.coupledHigh ? 1.01 : 0.1) << c.name;
        EXPECT_EQ(f.coupledLow > 0.9, c.coupledLow) << c.name << ": " << f.coupledLow;
        EXPECT_LT(f.coupledLow, c.coupledLow ? 1.01 : 0.1) << c.name;
    }
}

TEST(TrackAnalysis, ShippedModelJudgesTheClearCases) {
    EXPECT_EQ(verdictLine(analyseNoise(encoderLike())).rfind("This track looks like MPEG with probability ", 0), 0u);
    EXPECT_EQ(verdictLine(analyseNoise(brickWall(16000.0))).rfind("This track looks like MPEG", 0), 0u);
    EXPECT_EQ(verdictLine(analyseNoise([](double) { return 1.0; })).rfind("This track looks like CDDA", 0), 0u);
    EXPECT_EQ(verdictLine(analyseNoise(gentle())).rfind("This track looks like CDDA", 0), 0u);
}

TEST(TrackAnalysis, ModesMeasureDifferentFrames) {
    SignalSource source(shapedNoise(19, kRate, gentle(), 4), 1, kRate);
    const Features m0 = analyseTrack(source, 0).features;
    const Features m1 = analyseTrack(source, 1).features;
    const Features m2 = analyseTrack(source, 2).features;
    EXPECT_GT(m0.segments, m1.segments);
    EXPECT_NE(m1.depthDb, m2.depthDb);
    EXPECT_NE(m0.depthDb, m1.depthDb);
}

TEST(TrackAnalysis, TracksThatCannotBeJudged) {
    struct Case {
        const char* name;
        std::vector<double> samples;
        unsigned rate;
        Outcome expected;
    };
    const std::vector<double> noise = shapedNoise(
        17, kRate, [](double) { return 1.0; }, 3);
    std::vector<double> mostlySilent(kRate * 10, 0.0);
    std::copy(noise.begin(), noise.begin() + kRate / 4, mostlySilent.begin() + kRate * 5);
    std::vector<double> veryQuiet(noise.size());
    for (std::size_t i = 0; i < noise.size(); ++i) {
        veryQuiet[i] = noise[i] > 0.25 ? 1.0 / 32768 : 0.0; // a few stray bits of dither
    }
    const Case cases[] = {
        {"half a second", std::vector<double>(noise.begin(), noise.begin() + kRate / 2), kRate, Outcome::TooShort},
        {"digital silence", std::vector<double>(kRate * 5, 0.0), kRate, Outcome::Silent},
        {"a quarter second of sound", mostlySilent, kRate, Outcome::Silent},
        {"dither only", veryQuiet, kRate, Outcome::Silent},
        {"32 kHz", noise, 32000, Outcome::RateTooLow},
    };
    for (const Case& c : cases) {
        SignalSource source(c.samples, 1, c.rate);
        const TrackAnalysis a = analyseTrack(source, 0);
        EXPECT_EQ(a.outcome, c.expected) << c.name;
        EXPECT_EQ(verdictLine(a), "Could not qualify the source of this track") << c.name;
    }
}

TEST(Spectrum, EdgeSearchIgnoresATonalPeakWithContentAboveIt) {
    const BinLayout layout = binLayoutFor(kRate);
    std::vector<double> levels(layout.frameSize / 2, 30.0);
    // A loud peak at 12 kHz and quiet but real content up to the top: no brick wall anywhere.
    for (std::size_t k = 0; k < levels.size(); ++k) {
        const double hz = static_cast<double>(k) * layout.binHz;
        levels[k] = hz > 11900 && hz < 12100 ? 60.0 : (hz > 12100 ? 25.0 : 30.0);
    }
    EXPECT_LT(findEdge(levels, layout).depthDb, 10.0);
    // Once nothing lies above 12.1 kHz, the same peak ends the content.
    for (std::size_t k = 0; k < levels.size(); ++k) {
        if (static_cast<double>(k) * layout.binHz > 12100) {
            levels[k] = 0.0;
        }
    }
    const Edge edge = findEdge(levels, layout);
    EXPECT_GT(edge.depthDb, 25.0);
    EXPECT_NEAR(static_cast<double>(edge.bin) * layout.binHz, 12100.0, 200.0);
}

} // namespace
} // namespace qvdet

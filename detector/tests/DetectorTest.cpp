#include "Detector.h"
#include "DetectorRun.h"
#include "Signals.h"
#include "WavBuilder.h"

#include <gtest/gtest.h>

namespace qvdet {
namespace {

using namespace qvdet::test;

Bytes noiseWav(double cutoffHz) {
    const auto left = shapedNoise(18, 44100, brickWall(cutoffHz), 5);
    const auto right = shapedNoise(18, 44100, brickWall(cutoffHz), 6);
    return wav({1, 2, 44100, 16}, stereo(left, right));
}

TEST(Detector, PrintsExactlyOneVerdictLineOnStandardOutput) {
    const ScratchDir dir;
    struct Case {
        const char* name;
        Bytes bytes;
        const char* verdictPrefix;
    };
    const Case cases[] = {
        {"full band.wav", noiseWav(30000.0), "This track looks like CDDA with probability "},
        {"cut at 16 kHz \xc3\xa9.wav", noiseWav(16000.0), "This track looks like MPEG with probability "},
        {"short.wav", wav({1, 2, 44100, 16}, std::vector<double>(2000, 0.1)),
         "Could not qualify the source of this track"},
    };
    for (const Case& c : cases) {
        const RunResult r = runOn(dir.write(c.name, c.bytes));
        EXPECT_EQ(r.exitCode, 0) << c.name << ": " << r.err;
        ASSERT_EQ(r.out.rfind(c.verdictPrefix, 0), 0u) << c.name << ": " << r.out;
        EXPECT_EQ(r.out.find('\n'), r.out.size() - 1) << c.name;
        if (r.out.rfind("This track", 0) == 0) {
            const int percent = std::atoi(r.out.c_str() + std::string(c.verdictPrefix).size());
            EXPECT_GE(percent, 50) << c.name;
            EXPECT_LE(percent, 100) << c.name;
            EXPECT_EQ(r.out.substr(r.out.size() - 2), "%\n") << c.name;
        }
    }
}

} // namespace
} // namespace qvdet

#include "SegmentPlan.h"

#include <gtest/gtest.h>

#include <set>

namespace qvdet {
namespace {

constexpr std::uint64_t kSecond = 44100;

std::vector<Segment> plan(std::uint64_t totalFrames, int mode) {
    return planSegments(totalFrames, static_cast<unsigned>(kSecond), mode);
}

TEST(SegmentPlan, EveryModeStaysInsideTracksOfAnyLengthAndModeZeroCoversThem) {
    EXPECT_TRUE(plan(0, 0).empty());
    for (std::uint64_t total :
         {std::uint64_t{1}, kSecond - 1, kSecond, kSecond + 1, 3 * kSecond + 17, 10 * kSecond, 600 * kSecond + 123}) {
        for (int mode : {0, 1, 2, 7, 13, 39, 40, 41, 1000000}) {
            const auto segments = plan(total, mode);
            const std::string what = "total " + std::to_string(total) + " mode " + std::to_string(mode);
            ASSERT_FALSE(segments.empty()) << what;
            if (total < kSecond || mode == 0) {
                EXPECT_EQ(segments.size(), std::max<std::uint64_t>(1, total / kSecond)) << what;
            }
            std::uint64_t end = 0;
            for (const Segment& segment : segments) {
                EXPECT_GE(segment.firstFrame, end) << what;
                EXPECT_EQ(segment.frameCount, std::min(total, kSecond)) << what;
                end = segment.firstFrame + segment.frameCount;
            }
            EXPECT_LE(end, total) << what;
        }
    }
}

TEST(SegmentPlan, HigherModesLookAtLessAndStartAtDifferentFrames) {
    const std::uint64_t total = 240 * kSecond + 500;
    std::size_t previous = plan(total, 0).size();
    for (int mode = 1; mode <= 40; ++mode) {
        const std::size_t count = plan(total, mode).size();
        EXPECT_LE(count, mode == 1 ? previous - 1 : previous + 1) << mode;
        previous = std::min(previous, count);
    }
    EXPECT_LE(plan(total, 40).size(), 240u / 8 + 1);
    for (std::uint64_t length : {5 * kSecond, 200 * kSecond}) {
        std::set<std::uint64_t> starts;
        for (int mode = 0; mode <= 40; ++mode) {
            starts.insert(plan(length, mode).front().firstFrame % kSecond);
        }
        EXPECT_GE(starts.size(), 35u) << length;
    }
}

} // namespace
} // namespace qvdet

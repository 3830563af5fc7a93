#include "SegmentPlan.h"

#include <gtest/gtest.h>

#include <set>

namespace qvdet {
namespace {

constexpr unsigned kRate = 44100;

void expectWithinAndOrdered(const std::vector<Segment>& segments, std::uint64_t total, const std::string& what) {
    ASSERT_FALSE(segments.empty()) << what;
    for (std::size_t i = 0; i < segments.size(); ++i) {
        EXPECT_GT(segments[i].frameCount, 0u) << what;
        EXPECT_LE(segments[i].firstFrame + segments[i].frameCount, total) << what << " segment " << i;
        if (i > 0) {
            EXPECT_GE(segments[i].firstFrame, segments[i - 1].firstFrame + segments[i - 1].frameCount) << what;
        }
    }
}

TEST(SegmentPlan, EveryModeStaysInsideTracksOfAnyLength) {
    for (std::uint64_t total :
         {std::uint64_t{1}, std::uint64_t{kRate - 1}, std::uint64_t{kRate}, std::uint64_t{kRate + 1},
          std::uint64_t{3 * kRate + 17}, std::uint64_t{10 * kRate}, std::uint64_t{600} * kRate + 123}) {
        for (int mode : {0, 1, 2, 7, 13, 39, 40, 41, 1000000}) {
            expectWithinAndOrdered(planSegments(total, kRate, mode), total,
                                   "total " + std::to_string(total) + " mode " + std::to_string(mode));
        }
    }
}

TEST(SegmentPlan, ModeZeroCoversTheTrackAndHigherModesLookAtLess) {
    const std::uint64_t total = 240 * std::uint64_t{kRate} + 500;
    EXPECT_EQ(planSegments(total, kRate, 0).size(), 240u);
    std::size_t previous = planSegments(total, kRate, 1).size();
    EXPECT_LT(previous, 240u);
    for (int mode = 2; mode <= 40; ++mode) {
        const std::size_t count = planSegments(total, kRate, mode).size();
        EXPECT_LE(count, previous + 1) << mode;
        previous = std::min(previous, count);
    }
    EXPECT_LE(planSegments(total, kRate, 40).size(), 240u / 8 + 1);
}

TEST(SegmentPlan, RepeatedPassesStartAtDifferentFrames) {
    for (std::uint64_t total : {std::uint64_t{5} * kRate, std::uint64_t{200} * kRate}) {
        std::set<std::uint64_t> starts;
        for (int mode = 0; mode <= 40; ++mode) {
            starts.insert(planSegments(total, kRate, mode).front().firstFrame % kRate);
        }
        EXPECT_GE(starts.size(), 35u) << total;
    }
}

TEST(SegmentPlan, ShortTrackIsOneSegment) {
    const auto segments = planSegments(1000, kRate, 5);
    ASSERT_EQ(segments.size(), 1u);
    EXPECT_EQ(segments[0].firstFrame, 0u);
    EXPECT_EQ(segments[0].frameCount, 1000u);
    EXPECT_TRUE(planSegments(0, kRate, 0).empty());
}

} // namespace
} // namespace qvdet

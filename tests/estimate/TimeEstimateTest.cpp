#include "estimate/TimeEstimate.h"

#include <gtest/gtest.h>

#include <limits>

using namespace qv;

namespace {

// 100 kB in 40 s and 300 kB in 160 s; the average file, 200 kB in 100 s, lies on the line between them.
const TypeRecord kFlac{"flac", 3, 100, 40, 300, 160, 600, 300};
// The same ends, but the average file (200 kB in 140 s) lies above that line, so level 3 and 2 differ.
const TypeRecord kBowed{"flac", 3, 100, 40, 300, 160, 600, 420};
// Three files of this run, 150 s in all.
const RunTotals kRun{150, 3};

struct FileCase {
    const char* what;
    TypeRecord record;
    int level;
    int64_t sizeKb;
    int32_t expected;
};

} // namespace

TEST(EstimateFileSeconds, EachLevelFallsThroughToTheNextWhenItsFiguresAreMissing) {
    const FileCase cases[] = {
        {"level 3 below the average", kFlac, 3, 150, 70},
        {"level 3 above the average", kFlac, 3, 250, 130},
        {"level 3 at the average", kBowed, 3, 200, 140},
        {"level 3 bends at the average", kBowed, 3, 150, 90},
        {"level 3 extrapolates above the maximum", kFlac, 3, 400, 220},
        {"level 2 ignores the average", kBowed, 2, 150, 70},
        {"level 2 extrapolates", kBowed, 2, 500, 280},
        {"level 1 is the type's mean", kBowed, 1, 999, 140},
        {"level 0 is the run's mean", kBowed, 0, 150, 50},
        {"level 3 with two files uses level 2", {"flac", 2, 100, 40, 300, 160, 400, 280}, 3, 150, 70},
        {"level 3 with the average at the minimum uses level 2", {"flac", 3, 100, 40, 300, 160, 300, 300}, 3, 150, 70},
        {"level 2 with equal sizes uses level 1", {"flac", 3, 200, 90, 200, 110, 600, 300}, 2, 400, 100},
        {"level 3 with one file gives its time", {"flac", 1, 200, 95, 200, 95, 200, 95}, 3, 999, 95},
        {"a record with no files uses the run's mean", {"flac", 0, 0, 0, 0, 0, 0, 0}, 1, 100, 50},
        {"an unknown type uses the run's mean", {"ape", 3, 100, 40, 300, 160, 600, 300}, 3, 150, 50},
        {"a level above 3 is no estimate", kFlac, 4, 150, -2},
    };
    for (const auto& c : cases)
        EXPECT_EQ(estimateFileSeconds({c.record}, kRun, c.level, c.sizeKb, "flac"), c.expected) << c.what;
}

TEST(EstimateFileSeconds, RunMeanNeedsFinishedFiles) {
    EXPECT_EQ(estimateFileSeconds({}, RunTotals{0, 0}, 3, 100, "flac"), -1);
    EXPECT_EQ(estimateFileSeconds({}, RunTotals{120, 1}, 3, 100, "flac"), 120);
    EXPECT_EQ(estimateFileSeconds({}, RunTotals{181, 2}, 0, 100, "flac"), 91);
}

TEST(EstimateFileSeconds, LargeFilesWithLongTimesStayExactAndClamp) {
    // One second per kB up to 2 GiB: the 32-bit products overflow, but the line itself is exact.
    const TypeRecord twoFiles{"wav", 2, 1000, 1000, 2097152, 2097152, 2098152, 2098152};
    const TypeRecord threeFiles{"wav", 3, 1000, 1000, 2097152, 2097152, 3147228, 3147228};
    EXPECT_EQ(estimateFileSeconds({twoFiles}, {}, 2, 1500000, "wav"), 1500000);
    EXPECT_EQ(estimateFileSeconds({threeFiles}, {}, 3, 1500000, "wav"), 1500000);

    const TypeRecord steep{"wav", 2, 1, 1, 2, 2000000000, 3, 2000000001};
    EXPECT_EQ(estimateFileSeconds({steep}, {}, 2, 2097152, "wav"), std::numeric_limits<int32_t>::max());
    EXPECT_EQ(estimateFileSeconds({steep}, {}, 2, -2097152, "wav"), std::numeric_limits<int32_t>::min());
}

TEST(EstimateQueuedType, SumsQueuedFilesOfOneType) {
    struct Case {
        const char* what;
        int level;
        const char* type;
        uint32_t sizeKb, count;
        RunTotals run;
        int32_t expected;
    };
    const Case cases[] = {
        {"nothing queued", 3, "flac", 0, 2, kRun, 0},
        {"three files at their mean size", 3, "flac", 450, 3, kRun, 270},
        {"an unknown type at a type level", 3, "ape", 300, 1, kRun, -1},
        {"a type without files at a type level", 1, "wv", 300, 2, kRun, -1},
        {"an unknown type at level 0", 0, "ape", 300, 2, kRun, 100},
        {"no data for three files stays negative", 0, "ape", 300, 3, RunTotals{}, -3},
        {"queued sizes above 2^31 kB count as sizes", 1, "flac", 3000000000u, 2, kRun, 280},
        {"a long queue clamps", 1, "flac", 4000000000u, 4000000000u, kRun, std::numeric_limits<int32_t>::max()},
    };
    const std::vector<TypeRecord> records{kBowed, {"wv", 0, 0, 0, 0, 0, 0, 0}};
    for (const auto& c : cases)
        EXPECT_EQ(estimateQueuedType(records, c.run, c.level, c.type, c.sizeKb, c.count), c.expected) << c.what;
}

TEST(EstimateText, ShowsSpecialValuesMinutesAndHours) {
    struct Case {
        int32_t seconds;
        bool paused, intelligent;
        const char* text;
    };
    const Case cases[] = {
        {-2, false, false, "N/A"},         {-1, false, false, "Estimate"},
        {0, false, false, "Ready!"},       {1, false, false, "Almost"},
        {75, true, false, "N/A"},          {75, false, false, "01:15"},
        {1799, false, false, "29:59"},     {1800, false, false, "30 mins"},
        {2000, false, false, "33 mins"},   {2000, false, true, "33:20"},
        {5400, false, true, "90 mins"},    {5999, false, false, "100 mins"},
        {54000, false, false, "15 hours"}, {55799, false, true, "15 hours"},
        {55800, false, false, "16 hours"}, {std::numeric_limits<int32_t>::max(), false, false, "596523 hours"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(estimateText(c.seconds, c.paused, c.intelligent), c.text) << c.seconds;
}

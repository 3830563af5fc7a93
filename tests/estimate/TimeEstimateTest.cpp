#include "estimate/TimeEstimate.h"

#include <gtest/gtest.h>

#include <limits>

using namespace qv;

namespace {

constexpr int32_t kMax = std::numeric_limits<int32_t>::max();
// 100 kB in 40 s and 300 kB in 160 s; the average file, 200 kB in 100 s, lies on the line between them.
const TypeRecord kFlac{"flac", 3, 100, 40, 300, 160, 600, 300};
// The same ends, but the average file (200 kB in 140 s) lies above that line, so level 3 and 2 differ.
const TypeRecord kBowed{"flac", 3, 100, 40, 300, 160, 600, 420};
const TypeRecord kOtherType{"ape", 3, 100, 40, 300, 160, 600, 300};
// Three files of this run, 150 s in all.
const RunTotals kRun{150, 3};

} // namespace

TEST(EstimateFileSeconds, EachLevelFallsThroughToTheNextWhenItsFiguresAreMissing) {
    const std::tuple<const char*, TypeRecord, RunTotals, int, int64_t, int32_t> cases[] = {
        {"3 above the average", kFlac, kRun, 3, 250, 130},
        {"3 at the average", kBowed, kRun, 3, 200, 140},
        {"3 bends at the average", kBowed, kRun, 3, 150, 90},
        {"2 ignores the average", kBowed, kRun, 2, 150, 70},
        {"1 is the type's mean", kBowed, kRun, 1, 999, 140},
        {"0 is the run's mean", kBowed, kRun, 0, 150, 50},
        {"3 with two files uses 2", {"flac", 2, 100, 40, 300, 160, 400, 280}, kRun, 3, 150, 70},
        {"3 with the average at the minimum uses 2", {"flac", 3, 100, 40, 300, 160, 300, 300}, kRun, 3, 150, 70},
        {"2 with equal sizes uses 1", {"flac", 3, 200, 90, 200, 110, 600, 300}, kRun, 2, 400, 100},
        {"3 with one file gives its time", {"flac", 1, 200, 95, 200, 95, 200, 95}, kRun, 3, 999, 95},
        {"1 without files uses the run's mean", {"flac", 0, 0, 0, 0, 0, 0, 0}, kRun, 1, 100, 50},
        {"3 for an unknown type uses the run's mean", kOtherType, kRun, 3, 150, 50},
        {"the run's mean rounds", kOtherType, {181, 2}, 3, 150, 91},
        {"no file of the run", kOtherType, {}, 3, 150, -1},
        {"4 is no estimate", kFlac, kRun, 4, 150, -2},
        // One second per kB up to 2 GiB: the 32-bit products overflow, but the line itself is exact.
        {"3 near 2 GiB", {"flac", 3, 1000, 1000, 2097152, 2097152, 3147228, 3147228}, {}, 3, 1500000, 1500000},
        {"2 on a steep line clamps", {"flac", 2, 1, 1, 2, 2000000000, 3, 2000000001}, {}, 2, 2097152, kMax},
    };
    for (const auto& [what, record, run, level, sizeKb, expected] : cases)
        EXPECT_EQ(estimateFileSeconds({record}, run, level, sizeKb, "flac"), expected) << "level " << what;
}

TEST(EstimateQueuedType, SumsQueuedFilesOfOneType) {
    const std::tuple<const char*, int, const char*, uint32_t, uint32_t, RunTotals, int32_t> cases[] = {
        {"nothing queued", 3, "flac", 0, 2, kRun, 0},
        {"three files at their mean size", 3, "flac", 450, 3, kRun, 270},
        {"an unknown type at a type level", 3, "ape", 300, 1, kRun, -1},
        {"a type without files at a type level", 1, "wv", 300, 2, kRun, -1},
        {"no data for three files stays negative", 0, "ape", 300, 3, RunTotals{}, -3},
        {"queued sizes above 2^31 kB count as sizes", 1, "flac", 3000000000u, 2, kRun, 280},
        {"a long queue clamps", 1, "flac", 4000000000u, 4000000000u, kRun, kMax},
    };
    const std::vector<TypeRecord> records{kBowed, {"wv", 0, 0, 0, 0, 0, 0, 0}};
    for (const auto& [what, level, type, sizeKb, count, run, expected] : cases)
        EXPECT_EQ(estimateQueuedType(records, run, level, type, sizeKb, count), expected) << what;
}

TEST(EstimateText, ShowsSpecialValuesMinutesAndHours) {
    const std::tuple<int32_t, bool, bool, const char*> cases[] = {
        {-2, false, false, "N/A"},         {-1, false, false, "Estimate"},
        {0, false, false, "Ready!"},       {1, false, false, "Almost"},
        {75, true, false, "N/A"},          {75, false, false, "01:15"},
        {1799, false, false, "29:59"},     {1800, false, false, "30 mins"},
        {2000, false, false, "33 mins"},   {2000, false, true, "33:20"},
        {5400, false, true, "90 mins"},    {5999, false, false, "100 mins"},
        {54000, false, false, "15 hours"}, {55799, false, true, "15 hours"},
        {55800, false, false, "16 hours"}, {kMax, false, false, "596523 hours"},
    };
    for (const auto& [seconds, paused, intelligent, text] : cases)
        EXPECT_EQ(estimateText(seconds, paused, intelligent), text) << seconds;
}

// Inputs the fuzz targets once broke the readers with, kept at their smallest.
#include "engine/VerdictReader.h"

#include <gtest/gtest.h>

#include <limits>

using namespace qv;

TEST(FuzzRegression, MpegComplementOfAnyNumberFitsAndStaysOutsideThePercentRangeWhenHuge) {
    const int32_t max = std::numeric_limits<int32_t>::max();
    const std::pair<const char*, int32_t> cases[] = {
        {"-2147483648", max},       // overflowed 100 - number in 32 bits
        {"-29999999147i", max},     // saturates to the 32-bit minimum first
        {"-2147483547", max},       // the largest complement that fits exactly
        {"-2147483548", max},       // one past it
        {"99999999999", 100 - max}, // the other end fits as it is
        {"-5", 105},                // outside 0..100 but exact, for the caller to refuse
    };
    for (const auto& [number, verdict] : cases)
        EXPECT_EQ(readVerdict(std::string(kMpegPrefix) + number + "\n"), verdict) << number;
}

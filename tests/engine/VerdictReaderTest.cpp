#include "engine/VerdictReader.h"

#include <gtest/gtest.h>

#include <limits>

using namespace qv;

TEST(ReadVerdict, TakesTheFirstVerdictLineOnly) {
    const std::string cdda = kCddaPrefix;
    const std::string mpeg = kMpegPrefix;
    const std::string unqualified = kUnqualifiedPrefix;
    const int32_t max = std::numeric_limits<int32_t>::max();
    const std::pair<std::string, std::optional<int32_t>> cases[] = {
        {cdda + "97%\r\n", 97},
        {mpeg + "80%\r\n", 20},
        {cdda + "\r\n", 0}, // no digits: a valid verdict of 0
        {cdda, 0},          // nothing after the prefix, no line end
        {unqualified + "\r\n" + cdda + "90%\r\n", std::nullopt},
        {"noise\r\n" + cdda + "55%\r\n" + mpeg + "10%\r\n", 55},
        {"xx " + cdda + "97%\r\n", std::nullopt}, // a prefix behind other text is not recognised
        {"this track looks like CDDA with probability 97%", std::nullopt}, // case-sensitive
        {std::string("bin\x1a\0ary\n", 9) + cdda + "64%", 64},
        {cdda + "  +42 %", 42},
        {std::string(3 << 20, 'x') + "\r\n" + mpeg + "3%\r\n", 97},
        // Inputs the fuzz targets once broke the reader with: the complement fits, and stays outside 0..100.
        {mpeg + "-2147483648\n", max},
        {mpeg + "-29999999147i\n", max}, // saturates to the 32-bit minimum first
        {mpeg + "-2147483547\n", max},   // the largest complement that fits exactly
        {mpeg + "-2147483548\n", max},
        {mpeg + "99999999999\n", 100 - max},
        {mpeg + "-5\n", 105},
    };
    for (const auto& [output, verdict] : cases)
        EXPECT_EQ(readVerdict(output), verdict) << output.substr(0, 80);
}

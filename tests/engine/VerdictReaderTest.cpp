#include "engine/VerdictReader.h"

#include <gtest/gtest.h>

using namespace qv;

TEST(ReadVerdict, TakesTheFirstVerdictLineOnly) {
    struct Case {
        std::string output;
        std::optional<int32_t> verdict;
    };
    const std::string cdda = kCddaPrefix;
    const std::string mpeg = kMpegPrefix;
    const std::string unqualified = kUnqualifiedPrefix;
    const Case cases[] = {
        {cdda + "97%\r\n", 97},
        {mpeg + "80%\r\n", 20},
        {cdda + "\r\n", 0}, // no digits: a valid verdict of 0
        {cdda, 0},          // nothing after the prefix, no line end
        {unqualified + "\r\n" + cdda + "90%\r\n", std::nullopt},
        {"noise\r\n" + cdda + "55%\r\n" + mpeg + "10%\r\n", 55},
        {"xx " + cdda + "97%\r\n", std::nullopt}, // a prefix behind other text is not recognised
        {"this track looks like CDDA with probability 97%", std::nullopt}, // case-sensitive
        {"", std::nullopt},
        {std::string("bin\x1a\0ary\n", 9) + cdda + "64%", 64},
        {cdda + "  +42 %", 42},
    };
    for (const Case& c : cases)
        EXPECT_EQ(readVerdict(c.output), c.verdict) << c.output;
}

TEST(ReadVerdict, FindsAVerdictAfterMegabytesOfOtherOutput) {
    std::string output;
    for (int i = 0; i < 20000; ++i)
        output += "progress line of some length that is not a verdict at all ...\r\n";
    output += std::string(kMpegPrefix) + "3%\r\n";
    EXPECT_EQ(readVerdict(output), 97);
}

#include "common/Text.h"

#include <gtest/gtest.h>

using namespace qv;

TEST(SplitArgument, FollowsTheTableOfCommandLineCases) {
    const std::tuple<const char*, const char*, const char*> cases[] = {
        {"", "", ""},
        {"a", "a", ""},
        {"a b c", "a", "b c"},
        {"a    b", "a", "b"},
        {"\"D:\\My Music\" x.flac", "D:\\My Music", "x.flac"},
        {"\"a\"b c", "a", "b c"},                    // text right after the closing quote stays in the rest
        {"\"unclosed rest", "\"unclosed rest", ""},  // malformed: the whole text, quote included
        {"\"\" x", "\"\" x", ""},                    // empty quoted argument is malformed
        {" leading", " leading", ""},                // a blank at position 0 is malformed
        {"tab\tinside next", "tab\tinside", "next"}, // only the blank separates
    };
    for (const auto& [text, first, rest] : cases) {
        const SplitResult split = splitArgument(text);
        EXPECT_EQ(std::make_pair(split.first, split.rest), std::make_pair(std::string(first), std::string(rest)))
            << "[" << text << "]";
    }
}

TEST(PathParts, NameDirectoryExtensionTypeAndCaseFreeComparison) {
    EXPECT_EQ(fileNamePart("C:\\A\\x.wav"), "x.wav");
    EXPECT_EQ(directoryPart("C:\\A\\x.wav"), "C:\\A");
    EXPECT_EQ(directoryPart("x.wav"), "");
    EXPECT_EQ(directoryPart("C:\\ABCDEF\\x", 4), "C:\\");
    EXPECT_EQ(extensionOf("D:\\x.y\\a.FLAC"), "FLAC");
    EXPECT_EQ(extensionOf("noext"), "");
    std::string type;
    EXPECT_TRUE(fileTypeOf("D:\\A\\x.FLAC", type));
    EXPECT_EQ(type, "FLAC");
    EXPECT_FALSE(fileTypeOf("C:\\x.y\\noext", type)); // the dot lies in a directory name
    EXPECT_FALSE(fileTypeOf("C:\\A\\noext", type));
    EXPECT_TRUE(equalsIgnoreCase("Flac", "fLaC"));
    EXPECT_FALSE(equalsIgnoreCase("flac", "flac2"));
}

TEST(Numbers, ParseLikeAtoiWithoutOverflowAndRoundHalvesUp) {
    EXPECT_EQ(parseDecimal("97%"), 97);
    EXPECT_EQ(parseDecimal("  -12x"), -12);
    EXPECT_EQ(parseDecimal("+5"), 5);
    EXPECT_EQ(parseDecimal("abc"), 0);
    EXPECT_EQ(parseDecimal("99999999999999999999"), 2147483647);
    EXPECT_EQ(parseDecimal("-99999999999999999999"), -2147483647 - 1);
    EXPECT_EQ(roundedMean(199, 2), 100);
    EXPECT_EQ(roundedMean(151, 3), 50);
}

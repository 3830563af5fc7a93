#include "common/Text.h"

#include <gtest/gtest.h>

using namespace qv;

namespace {

struct SplitCase {
    const char* text;
    const char* first;
    const char* rest;
};

} // namespace

TEST(SplitArgument, FollowsTheTableOfCommandLineCases) {
    const SplitCase cases[] = {
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
        {"\"Z:\\path\\Quorvane.exe\" a \"b c\"", "Z:\\path\\Quorvane.exe", "a \"b c\""},
        {"x   ", "x", ""},
    };
    for (const auto& c : cases) {
        SplitResult r = splitArgument(c.text);
        EXPECT_EQ(r.first, c.first) << "text: [" << c.text << "]";
        EXPECT_EQ(r.rest, c.rest) << "text: [" << c.text << "]";
    }
}

TEST(PathParts, NameDirectoryAndExtension) {
    EXPECT_EQ(fileNamePart("C:\\A\\x.wav"), "x.wav");
    EXPECT_EQ(fileNamePart("x.wav"), "x.wav");
    EXPECT_EQ(fileNamePart("C:\\A\\"), "");
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
}

TEST(EqualsIgnoreCase, FoldsAsciiLettersOnly) {
    EXPECT_TRUE(equalsIgnoreCase("flac", "FLAC"));
    EXPECT_TRUE(equalsIgnoreCase("Flac", "fLaC"));
    EXPECT_FALSE(equalsIgnoreCase("flac", "flac2"));
    EXPECT_FALSE(equalsIgnoreCase("\xc3\xa9", "\xc3\x89")); // é and É are different bytes in UTF-8
}

TEST(ParseDecimal, ReadsLikeAtoiAndNeverOverflows) {
    EXPECT_EQ(parseDecimal("97%"), 97);
    EXPECT_EQ(parseDecimal("  -12x"), -12);
    EXPECT_EQ(parseDecimal("+5"), 5);
    EXPECT_EQ(parseDecimal(""), 0);
    EXPECT_EQ(parseDecimal("abc"), 0);
    EXPECT_EQ(parseDecimal("99999999999999999999"), 2147483647);
    EXPECT_EQ(parseDecimal("-99999999999999999999"), -2147483647 - 1);
}

TEST(RoundedMean, ExactHalvesRoundUp) {
    EXPECT_EQ(roundedMean(199, 2), 100);
    EXPECT_EQ(roundedMean(197, 2), 99);
    EXPECT_EQ(roundedMean(101, 2), 51);
    EXPECT_EQ(roundedMean(151, 3), 50);
    EXPECT_EQ(roundedMean(87, 1), 87);
}

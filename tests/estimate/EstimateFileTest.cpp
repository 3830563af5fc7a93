#include "estimate/EstimateFile.h"

#include <gtest/gtest.h>

#include <limits>

using namespace qv;

TEST(ParseEstimateLine, ReadsMalformedLinesAsFarAsTheyGo) {
    struct Case {
        const char* what;
        std::string line;
        TypeRecord expected;
    };
    const int32_t max = std::numeric_limits<int32_t>::max();
    const Case cases[] = {
        {"a whole line", "flac\t1\t2\t3\t4\t5\t6\t7", {"flac", 1, 2, 3, 4, 5, 6, 7}},
        {"more than seven TABs: the last field is the total time",
         "flac\t1\t2\t3\t4\t5\t6\t7\t8\t9",
         {"flac", 1, 2, 3, 4, 5, 6, 9}},
        {"missing fields read from the start of the line", "12x\t5\t6", {"12x", 5, 6, 12, 12, 12, 12, 12}},
        {"a type without leading digits gives 0", "flac\t5", {"flac", 5, 0, 0, 0, 0, 0, 0}},
        {"blanks, signs, stray text and empty fields", "flac\tx\t-3\t 4\t+5\t6z\t\t7", {"flac", 0, -3, 4, 5, 6, 0, 7}},
        {"an empty type is kept", "\t1\t2\t3\t4\t5\t6\t7", {"", 1, 2, 3, 4, 5, 6, 7}},
        {"numbers beyond 32 bits saturate", "flac\t99999999999\t1\t1\t1\t1\t1\t1", {"flac", max, 1, 1, 1, 1, 1, 1}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(parseEstimateLine(c.line), c.expected) << c.what;
}

TEST(ParseEstimateFile, SkipsCommentsAndKeepsDuplicatesWithAnyLineEnds) {
    std::string content =
        ";\r\n# note\r\n\r\nflac\t1\t2\t3\t4\t5\t6\t7\rFLAC\t2\t2\t3\t4\t5\t6\t7\n\nwav\t3\t2\t3\t4\t5\t6\t7";
    auto records = parseEstimateFile(content);
    ASSERT_EQ(records.size(), 3u);
    EXPECT_EQ(records[0].type, "flac");
    EXPECT_EQ(records[1].type, "FLAC");
    EXPECT_EQ(findType(records, "Flac"), 0); // the duplicate is never found

    EXPECT_TRUE(parseEstimateFile(";\r\n; only comments\r\n\r\n#\r\n").empty());
}

TEST(FormatEstimateFile, WritesOneLinePerRecordAndACountedFooter) {
    struct Case {
        std::vector<TypeRecord> records;
        const char* body;
    };
    const Case cases[] = {
        {{}, ";\r\n; No filetypes yet\r\n;\r\n"},
        {{{"flac", 3, 100, 40, 300, 160, 600, 300}},
         "flac\t3\t100\t40\t300\t160\t600\t300\r\n;\r\n; 1 filetype listed\r\n;\r\n"},
        {{{"flac", 1, 2, 3, 4, 5, 6, 7}, {"wav", -1, 0, 0, 0, 0, 0, 0}},
         "flac\t1\t2\t3\t4\t5\t6\t7\r\nwav\t-1\t0\t0\t0\t0\t0\t0\r\n;\r\n; 2 filetypes listed\r\n;\r\n"},
    };
    for (const auto& c : cases) {
        std::string text = formatEstimateFile(c.records);
        // Header: ";", product and version, a time stamp of 19 characters, ";".
        const std::string head = ";\r\n; Quorvane v0.33\r\n; ";
        ASSERT_EQ(text.compare(0, head.size(), head), 0);
        std::size_t body = head.size() + 19;
        EXPECT_EQ(text.substr(body, 5), "\r\n;\r\n");
        EXPECT_EQ(text.substr(body + 5), c.body);
        EXPECT_EQ(parseEstimateFile(text), c.records);
    }
}

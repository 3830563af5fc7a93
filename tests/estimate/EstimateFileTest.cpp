#include "estimate/EstimateFile.h"

#include <gtest/gtest.h>

#include <limits>

using namespace qv;

TEST(EstimateFile, ReadsMalformedLinesAsFarAsTheyGo) {
    const std::pair<const char*, TypeRecord> cases[] = {
        {"flac\t1\t2\t3\t4\t5\t6\t7", {"flac", 1, 2, 3, 4, 5, 6, 7}},
        {"flac\t1\t2\t3\t4\t5\t6\t7\t8\t9", {"flac", 1, 2, 3, 4, 5, 6, 9}}, // past seven TABs the last is the time
        {"12x\t5\t6", {"12x", 5, 6, 12, 12, 12, 12, 12}}, // missing fields read from the start of the line
        {"flac\tx\t-3\t 4\t+5\t6z\t\t7", {"flac", 0, -3, 4, 5, 6, 0, 7}},
        {"\t1\t2\t3\t4\t5\t6\t7", {"", 1, 2, 3, 4, 5, 6, 7}},
        {"flac\t99999999999\t1\t1\t1\t1\t1\t1", {"flac", std::numeric_limits<int32_t>::max(), 1, 1, 1, 1, 1, 1}},
    };
    for (const auto& [line, record] : cases)
        EXPECT_EQ(parseEstimateLine(line), record) << line;
    EXPECT_EQ(parseEstimateFile(";\r\n# note\r\n\r\nflac\t1\t2\t3\t4\t5\t6\t7\rFLAC\t2\n\nwav\t3\t2\t3\t4\t5\t6\t7"),
              (std::vector<TypeRecord>{
                  {"flac", 1, 2, 3, 4, 5, 6, 7}, {"FLAC", 2, 0, 0, 0, 0, 0, 0}, {"wav", 3, 2, 3, 4, 5, 6, 7}}));
}

TEST(EstimateFile, WritesOneLinePerRecordAndACountedFooterThatReadsBack) {
    const std::pair<std::vector<TypeRecord>, const char*> cases[] = {
        {{}, ";\r\n; No filetypes yet\r\n;\r\n"},
        {{{"flac", 3, 100, 40, 300, 160, 600, 300}},
         "flac\t3\t100\t40\t300\t160\t600\t300\r\n;\r\n; 1 filetype listed\r\n;\r\n"},
        {{{"flac", 1, 2, 3, 4, 5, 6, 7}, {"wav", -1, 0, 0, 0, 0, 0, 0}},
         "flac\t1\t2\t3\t4\t5\t6\t7\r\nwav\t-1\t0\t0\t0\t0\t0\t0\r\n;\r\n; 2 filetypes listed\r\n;\r\n"},
    };
    const std::string head = ";\r\n; Quorvane v0.33\r\n; "; // then a time stamp of 19 characters
    for (const auto& [records, body] : cases) {
        const std::string text = formatEstimateFile(records);
        EXPECT_EQ(text.substr(0, head.size()), head);
        EXPECT_EQ(text.substr(head.size() + 19), std::string("\r\n;\r\n") + body);
        EXPECT_EQ(parseEstimateFile(text), records);
    }
}

#include "logs/DirectoryResults.h"
#include "logs/SavedResults.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

using namespace qv;

namespace {

// Everything but the third header line, which carries the time of writing.
std::string withoutTimestamp(const std::string& text) {
    std::size_t third = text.find("\r\n", text.find("\r\n") + 2) + 2;
    return text.substr(0, third) + text.substr(text.find("\r\n", third) + 2);
}

const char* const kSaved = ";\r\n; Quorvane v0.33\r\n; 2010-10-12 21:05:33\r\n;\r\n"
                           "D:\\Music\\Album\r\n"
                           "91\t2\t2\t01 One.flac\r\n"
                           "-1\t0\t12\t02 Two.flac\r\n"
                           ";\r\n; 2 files listed\r\n;\r\n";

} // namespace

TEST(SavedResults, LoadingDeletesTheFileAndSavingWritesItBackUnchanged) {
    qvtest::TempDir dir;
    std::string path = dir.file("Recent.log");
    qvtest::writeFile(path, kSaved);
    DirectoryResults results;
    ASSERT_TRUE(results.loadResults(path));
    EXPECT_FALSE(qvtest::fileExists(path));
    EXPECT_EQ(results.directory(), "D:\\Music\\Album");
    EXPECT_EQ(results.paths(),
              (std::vector<std::string>{"D:\\Music\\Album\\01 One.flac", "D:\\Music\\Album\\02 Two.flac"}));
    EXPECT_EQ(results.unknownCount(), 1);
    EXPECT_EQ(results.nameWidth(), 11);
    ASSERT_TRUE(results.saveResults());
    EXPECT_EQ(withoutTimestamp(qvtest::readFile(path)), withoutTimestamp(kSaved));
}

TEST(SavedResults, AFirstRunWithoutTheFileStillSavesToItsPath) {
    qvtest::TempDir dir;
    DirectoryResults results;
    EXPECT_FALSE(results.saveResults());
    EXPECT_FALSE(results.loadResults(dir.file("Recent.log")));
    results.add("D:\\m\\a.wav", 2, 2, 40);
    ASSERT_TRUE(results.saveResults());
    EXPECT_EQ(withoutTimestamp(qvtest::readFile(dir.file("Recent.log"))),
              ";\r\n; Quorvane v0.33\r\n;\r\n\r\n40\t2\t2\ta.wav\r\n;\r\n; 1 file listed\r\n;\r\n");
    EXPECT_EQ(withoutTimestamp(formatSavedResults(ResultSet())),
              ";\r\n; Quorvane v0.33\r\n;\r\n\r\n;\r\n; No files in queue\r\n;\r\n");
}

TEST(SavedResults, MissingFieldsReadAsTheFirstAndExtraTabsLoseTheMiddle) {
    const std::pair<const char*, ResultRow> cases[] = {
        {"87\t2\t3\tsong.wav", {"D:\\m\\song.wav", 3, 2, 87}},
        {"87", {"D:\\m\\87", 87, 87, 87}},
        {"87\t2", {"D:\\m\\87", 87, 2, 87}},
        {"87\t2\t3", {"D:\\m\\87", 3, 2, 87}},
        {"87\t2\t3\tlost\tkept.wav", {"D:\\m\\kept.wav", 3, 2, 87}},
        {"x\t\ty\tname.wav", {"D:\\m\\name.wav", 0, 0, 0}},
        // Damaged percentages count as unknown instead of reaching the summary and the log's name.
        {"-5\t2\t2\tlow.wav", {"D:\\m\\low.wav", 2, 2, -1}},
        {"101\t2\t2\thigh.wav", {"D:\\m\\high.wav", 2, 2, -1}},
    };
    for (const auto& [line, row] : cases) {
        ResultSet set = parseSavedResults(std::string("D:\\m\tignored\r\n") + line + "\r\n");
        EXPECT_EQ(set.directory, "D:\\m");
        ASSERT_EQ(set.rows.size(), 1u) << line;
        EXPECT_EQ(set.rows[0].path, row.path) << line;
        EXPECT_EQ(set.rows[0].totalPasses, row.totalPasses) << line;
        EXPECT_EQ(set.rows[0].validPasses, row.validPasses) << line;
        EXPECT_EQ(set.rows[0].percent, row.percent) << line;
    }
}

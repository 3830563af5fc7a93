#include "logs/DirectoryResults.h"
#include "logs/SavedResults.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <chrono>
#include <thread>

using namespace qv;

namespace {

// Everything but the third line, which carries the time of writing.
std::string withoutTimestamp(const std::string& text) {
    std::size_t third = text.find("\r\n", text.find("\r\n") + 2) + 2;
    return text.substr(0, third) + text.substr(text.find("\r\n", third) + 2);
}

} // namespace

TEST(DirectoryResults, AverageRoundsHalvesUpOverKnownPercentagesOnly) {
    const std::pair<std::vector<int32_t>, int32_t> cases[] = {
        {{}, -1}, {{-1}, -1}, {{50, 51}, 51}, {{50, 50, 51}, 50}, {{-1, 80, -1}, 80}, {{0, 1}, 1},
    };
    for (const auto& [percents, average] : cases) {
        ResultSet set;
        for (int32_t percent : percents)
            set.add("D:\\a.wav", 2, 2, percent);
        EXPECT_EQ(set.average(), average) << testing::PrintToString(percents);
    }
}

TEST(DirectoryResults, RowsMarkPassCountsOtherThanTheMinimum) {
    const std::tuple<int32_t, int32_t, int32_t, const char*> cases[] = {
        {2, 2, 2, ""}, {3, 2, 2, "  (2/3 pass)"}, {3, 3, 2, "  (3/3 pass)"}, {12, 0, 2, "  (0/12 pass)"}, {3, 3, 3, ""},
    };
    for (const auto& [total, valid, minimum, suffix] : cases) {
        ResultSet set;
        set.add("D:\\m\\a.wav", total, valid, 80);
        std::string row;
        set.writeRows(row, minimum);
        EXPECT_EQ(row, std::string("01   a.wav    80%") + suffix + "\r\n")
            << valid << "/" << total << " of " << minimum;
    }
}

TEST(DirectoryResults, ReadersSeeConsistentCopiesWhileTheWorkerAdds) {
    DirectoryResults results;
    std::thread worker([&results] {
        for (int i = 0; i < 2000; ++i)
            results.add("D:\\m\\" + std::to_string(i) + ".wav", 2, 2, i % 3 == 0 ? -1 : 50);
    });
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    for (ResultSet copy; copy.fileCount() < 2000 && std::chrono::steady_clock::now() < deadline;) {
        copy = results.snapshot();
        ASSERT_EQ(copy.unknownCount, std::count_if(copy.rows.begin(), copy.rows.end(),
                                                   [](const ResultRow& row) { return row.percent == -1; }));
    }
    worker.join();
}

TEST(SavedResults, LoadDeletesTheFileAndSaveWritesItBackOrAFreshOneWhereNoneWas) {
    const std::string saved = ";\r\n; Quorvane v0.33\r\n; 2010-10-12 21:05:33\r\n;\r\nD:\\Music\\Album\r\n"
                              "91\t2\t2\t01 One.flac\r\n-1\t0\t12\t02 Two.flac\r\n;\r\n; 2 files listed\r\n;\r\n";
    qvtest::TempDir dir;
    qvtest::writeFile(dir.file("Recent.log"), saved);
    DirectoryResults results;
    ASSERT_TRUE(results.loadResults(dir.file("Recent.log")));
    EXPECT_FALSE(qvtest::fileExists(dir.file("Recent.log")));
    ASSERT_TRUE(results.saveResults());
    EXPECT_EQ(withoutTimestamp(qvtest::readFile(dir.file("Recent.log"))), withoutTimestamp(saved));

    DirectoryResults fresh;
    EXPECT_FALSE(fresh.loadResults(dir.file("New.log")));
    fresh.add("D:\\m\\a.wav", 2, 2, 40);
    ASSERT_TRUE(fresh.saveResults());
    EXPECT_EQ(withoutTimestamp(qvtest::readFile(dir.file("New.log"))),
              ";\r\n; Quorvane v0.33\r\n;\r\n\r\n40\t2\t2\ta.wav\r\n;\r\n; 1 file listed\r\n;\r\n");
    EXPECT_EQ(withoutTimestamp(formatSavedResults(ResultSet())),
              ";\r\n; Quorvane v0.33\r\n;\r\n\r\n;\r\n; No files in queue\r\n;\r\n");
}

TEST(SavedResults, MissingFieldsReadAsTheFirstExtraTabsLoseTheMiddleAndDamagedPercentsAreUnknown) {
    const std::pair<const char*, ResultRow> cases[] = {
        {"87\t2\t3\tsong.wav", {"D:\\m\\song.wav", 3, 2, 87}},
        {"87", {"D:\\m\\87", 87, 87, 87}},
        {"87\t2\t3", {"D:\\m\\87", 3, 2, 87}},
        {"87\t2\t3\tlost\tkept.wav", {"D:\\m\\kept.wav", 3, 2, 87}},
        {"x\t\ty\tname.wav", {"D:\\m\\name.wav", 0, 0, 0}},
        {"-5\t2\t2\tlow.wav", {"D:\\m\\low.wav", 2, 2, -1}},
        {"100\t2\t2\thigh.wav", {"D:\\m\\high.wav", 2, 2, 100}},
        {"101\t2\t2\thigh.wav", {"D:\\m\\high.wav", 2, 2, -1}},
    };
    for (const auto& [line, row] : cases) {
        ResultSet set = parseSavedResults(std::string("D:\\m\tignored\r\n") + line + "\r\n");
        ASSERT_EQ(set.rows.size(), 1u) << line;
        const ResultRow& got = set.rows[0];
        EXPECT_EQ(std::make_tuple(got.path, got.totalPasses, got.validPasses, got.percent, set.unknownCount),
                  std::make_tuple(row.path, row.totalPasses, row.validPasses, row.percent, row.percent == -1 ? 1 : 0))
            << line;
    }
}

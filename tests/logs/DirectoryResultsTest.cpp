#include "logs/DirectoryResults.h"

#include "common/Utf8.h"

#include <gtest/gtest.h>

#include <chrono>
#include <thread>

using namespace qv;

namespace {

std::string rowsOf(const std::vector<ResultRow>& rows, int32_t minimumValidPasses = 2) {
    ResultSet set;
    for (const ResultRow& row : rows)
        set.add(row.path, row.totalPasses, row.validPasses, row.percent);
    std::string out;
    set.writeRows(out, minimumValidPasses);
    return out;
}

} // namespace

TEST(DirectoryResults, AverageRoundsHalvesUpOverKnownPercentagesOnly) {
    const std::pair<std::vector<int32_t>, int32_t> cases[] = {
        {{}, -1}, {{-1}, -1}, {{87}, 87}, {{50, 51}, 51}, {{50, 50, 51}, 50}, {{-1, 80, -1}, 80}, {{0, 1}, 1},
    };
    for (const auto& [percents, average] : cases) {
        ResultSet set;
        for (int32_t percent : percents)
            set.add("D:\\a.wav", 2, 2, percent);
        EXPECT_EQ(set.average(), average) << testing::PrintToString(percents);
    }
}

TEST(DirectoryResults, RowsPadPercentagesToFourCharactersAndMarkOtherPassCounts) {
    EXPECT_EQ(rowsOf({{"D:\\m\\a.wav", 2, 2, 5},
                      {"D:\\m\\b.wav", 2, 2, 50},
                      {"D:\\m\\c.wav", 2, 2, 100},
                      {"D:\\m\\d.wav", 2, 2, -1}}),
              "01   a.wav     5%\r\n02   b.wav    50%\r\n03   c.wav   100%\r\n04   d.wav    N/A\r\n");

    const std::tuple<int32_t, int32_t, int32_t, const char*> cases[] = {
        {2, 2, 2, ""}, {3, 2, 2, "  (2/3 pass)"}, {3, 3, 2, "  (3/3 pass)"}, {12, 0, 2, "  (0/12 pass)"}, {3, 3, 3, ""},
    };
    for (const auto& [total, valid, minimum, suffix] : cases) {
        EXPECT_EQ(rowsOf({{"D:\\m\\a.wav", total, valid, 80}}, minimum),
                  std::string("01   a.wav    80%") + suffix + "\r\n")
            << valid << "/" << total << " with minimum " << minimum;
    }
}

TEST(DirectoryResults, PercentColumnLinesUpUntilRowHundred) {
    std::vector<ResultRow> rows;
    for (int i = 1; i <= 101; ++i)
        rows.push_back({"D:\\m\\" + std::string(static_cast<std::size_t>(i % 7 + 1), 'n') + ".wav", 2, 2, 70});
    std::string text = rowsOf(rows);
    std::vector<std::size_t> columns;
    for (std::size_t start = 0; start < text.size(); start = text.find("\r\n", start) + 2)
        columns.push_back(text.find(" 70%", start) - start);
    ASSERT_EQ(columns.size(), 101u);
    for (std::size_t i = 1; i < 99; ++i)
        EXPECT_EQ(columns[i], columns[0]) << "row " << i + 1;
    EXPECT_EQ(columns[99], columns[0] + 1);
    EXPECT_EQ(columns[100], columns[0] + 1);
}

TEST(DirectoryResults, PercentColumnLinesUpInDisplayColumnsForEveryScript) {
    // Decomposed "o" with a combining diaeresis, precomposed "ö", and wide East Asian characters.
    const std::string text = rowsOf({{"D:\\m\\Fjord.wav", 2, 2, 91},
                                     {"D:\\m\\Fj\xC3\xB6rd.wav", 2, 2, 90},
                                     {"D:\\m\\Fjo\xCC\x88rd.wav", 2, 2, 89},
                                     {"D:\\m\\\xE6\x9D\xB1\xE4\xBA\xAC.wav", 2, 2, 88}});
    std::vector<int32_t> columns;
    for (std::size_t start = 0; start < text.size(); start = text.find("\r\n", start) + 2)
        columns.push_back(displayColumns(text.substr(start, text.find('%', start) - start)));
    EXPECT_EQ(columns, std::vector<int32_t>(4, 20)) << text;
}

TEST(DirectoryResults, ReadersSeeConsistentCopiesWhileTheWorkerAdds) {
    DirectoryResults results;
    constexpr int kRows = 2000;
    std::thread worker([&results] {
        for (int i = 0; i < kRows; ++i)
            results.add("D:\\m\\" + std::to_string(i) + ".wav", 2, 2, i % 3 == 0 ? -1 : 50);
    });
    int lastCount = 0;
    auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(20);
    while (lastCount < kRows && std::chrono::steady_clock::now() < deadline) {
        ResultSet copy = results.snapshot();
        int32_t unknown = 0;
        for (const ResultRow& row : copy.rows)
            unknown += row.percent == -1 ? 1 : 0;
        ASSERT_EQ(copy.unknownCount, unknown);
        lastCount = copy.fileCount();
    }
    worker.join();
    EXPECT_EQ(lastCount, kRows);
}

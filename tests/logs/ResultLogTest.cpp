#include "logs/ResultLog.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>

using namespace qv;

namespace {

using Names = std::vector<std::string>;

class ResultLogTest : public testing::Test {
protected:
    ResultLogTest() {
        std::filesystem::create_directory(albumPath);
        log.setPaths(root.file("System.log"), root.file("Detect.log"));
    }

    std::string albumFile(const std::string& name) const { return (albumPath / name).string(); }
    Names albumFiles() const {
        Names names;
        for (const auto& entry : std::filesystem::directory_iterator(albumPath))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    qvtest::TempDir root;
    std::filesystem::path albumPath = root.path() / "Album 1";
    std::string album = root.str() + "\\Album 1"; // as the program spells it
    SharedSettings settings;
    ResultSet rows;
    RecentDirectories recent;
    DiagnosticLog log;
    ResultLogWriter writer{recent, settings, log, [] { return int64_t{1286913933}; }};
};

} // namespace

TEST_F(ResultLogTest, WritesTheLogNamedWithThePercentageInPlaceOfThoseOfEarlierRuns) {
    for (const char* name :
         {"kelvra.050.log", "KELVRA.100.LOG", "kelvra..log", "kelvra.txt", "kelvra.050.log.bak", "my kelvra.050.log"})
        qvtest::writeFile(albumFile(name), "earlier run");
    std::filesystem::create_directory(albumFile("kelvra.1.log"));
    // Names of other scripts: the percentages line up by display columns (East Asian characters take two).
    rows.add(album + "\\01 Opening.flac", 2, 2, 91);
    rows.add(album + "\\02 \xE6\x9D\xB1\xE4\xBA\xAC.flac", 12, 0, -1);
    rows.add(album + "\\03 Fjo\xCC\x88rd.flac", 2, 2, 5);
    rows.add(album + "\\04 Finale.flac", 2, 2, 100);
    writer.writeResultLog(album, rows);

    EXPECT_EQ(albumFiles(),
              (Names{"kelvra.050.log.bak", "kelvra.065.log", "kelvra.1.log", "kelvra.txt", "my kelvra.050.log"}));
    EXPECT_EQ(qvtest::readFile(albumFile("kelvra.065.log")),
              "Quorvane by the Quorvane developers v0.33 *** BETA ***\r\n" + localTimestamp(1286913933) +
                  "\r\n\r\nDirectory: Album 1\r\n\r\n"
                  "01   01 Opening.flac    91%\r\n"
                  "02   02 \xE6\x9D\xB1\xE4\xBA\xAC.flac       N/A  (0/12 pass)\r\n"
                  "03   03 Fjo\xCC\x88rd.flac       5%\r\n"
                  "04   04 Finale.flac    100%\r\n"
                  "\r\nTotal file(s): 4\r\nUnknown file(s): 1\r\n\r\nSummary: 65% CDDA\r\n");
}

TEST_F(ResultLogTest, SwitchesAndMissingVerdictsKeepThePlainNameOrWriteNothing) {
    qvtest::writeFile(albumFile("kelvra.050.log"), "old");
    rows.add(album + "\\a.wav", 2, 2, 80);
    settings.savePercentToLogName = 0;
    settings.saveFullDirectoryToLog = 1;
    writer.writeResultLog(album, rows);
    EXPECT_EQ(albumFiles(), (Names{"kelvra.050.log", "kelvra.log"}));
    EXPECT_NE(qvtest::readFile(albumFile("kelvra.log")).find("\r\nDirectory: " + album + "\r\n"), std::string::npos);

    settings.savePercentToLogName = 1;
    rows = ResultSet();
    rows.add(album + "\\a.wav", 12, 0, -1);
    writer.writeResultLog(album, rows);
    const std::string text = qvtest::readFile(albumFile("kelvra.log"));
    EXPECT_EQ(text.substr(text.find("01   ")),
              "01   a.wav    N/A  (0/12 pass)\r\n\r\nTotal file(s): 1\r\nUnknown file(s): 1\r\n");

    std::filesystem::remove(albumFile("kelvra.log"));
    settings.saveLogToDirectory = 0;
    writer.writeResultLog(album, rows);
    EXPECT_EQ(albumFiles(), Names{"kelvra.050.log"});
    EXPECT_EQ(recent.percents(), (std::vector<int32_t>{80, -1, -1}));
}

TEST_F(ResultLogTest, ALogThatCannotBeOpenedOrWrittenWholeIsNeitherRenamedNorCounted) {
    rows.add(album + "\\a.wav", 2, 2, 80);
    std::filesystem::create_directory(albumFile("kelvra.log"));
    writer.writeResultLog(album, rows);
    std::filesystem::remove(albumFile("kelvra.log"));
    std::error_code error;
    std::filesystem::create_symlink("/dev/full", albumFile("kelvra.log"), error);
    if (!error && std::filesystem::exists("/dev/full")) // a full device behind a link: native build only
        writer.writeResultLog(album, rows);
    EXPECT_FALSE(qvtest::fileExists(albumFile("kelvra.080.log")));
    EXPECT_EQ(recent.percents(), std::vector<int32_t>(recent.percents().size(), -1));
}

TEST_F(ResultLogTest, HistoryIsTrimmedToItsSizeWhileLimited) {
    const std::tuple<int32_t, int32_t, std::size_t> cases[] = {{0, 10, 11}, {1, 10, 10}, {5, 10, 10}, {1, -1, 0}};
    settings.saveLogToDirectory = 0;
    for (const auto& [limit, size, kept] : cases) {
        settings.limitHistory = limit;
        settings.historySize = size;
        for (int i = 1; i <= 11; ++i)
            writer.writeResultLog("D:\\dir" + std::to_string(i), rows);
        EXPECT_EQ(recent.directories().size(), kept) << limit << " " << size;
        EXPECT_TRUE(kept != 10 || recent.directories().front() == "D:\\dir2");
    }
}

TEST_F(ResultLogTest, GatheredRowsCloseWhenTheNextEntryLiesElsewhereOrNoneFollows) {
    const std::string file = album + "\\a.wav";
    const std::tuple<std::optional<std::string>, bool, bool> cases[] = {
        {album + "\\b.wav", true, false},
        {album + "\\sub\\b.wav", true, true},
        {root.str() + "\\ALBUM 1\\b.wav", true, true},
        {std::nullopt, true, true},
        {std::nullopt, false, false},
    };
    for (const auto& [next, hasRows, closes] : cases) {
        rows = ResultSet();
        if (hasRows)
            rows.add(file, 2, 2, 60);
        EXPECT_EQ(writer.closeDirectoryIfEnded(file, next, rows), closes) << next.value_or("(none)");
    }
    EXPECT_EQ(recent.directories(), (Names{album, album, album})); // one log written for each
    EXPECT_EQ(albumFiles(), Names{"kelvra.060.log"});
}

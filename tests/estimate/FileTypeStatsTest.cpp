#include "estimate/FileTypeStats.h"

#include "logs/DiagnosticLog.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <regex>

using namespace qv;

namespace {

using Records = std::vector<TypeRecord>;

class FileTypeStatsTest : public ::testing::Test {
protected:
    FileTypeStatsTest() { log.setPaths(dir.file("System.log"), dir.file("Detect.log")); }

    void timeFile(const std::string& type, uint32_t sizeKb, int64_t seconds) {
        stats.start(type, sizeKb);
        clock += seconds;
        stats.finish();
    }
    void load(FileTypeStats& into, const std::string& lines) {
        qvtest::writeFile(path, lines);
        into.load(path);
    }
    // System.log with each line's time stamp as "@".
    std::string systemLog() const {
        static const std::regex stamp(R"((^|\n)\d{4}-\d\d-\d\d \d\d:\d\d:\d\d)");
        return std::regex_replace(qvtest::readFile(dir.file("System.log")), stamp, "$1@");
    }

    qvtest::TempDir dir;
    std::string path = dir.file("Estimate.log");
    DiagnosticLog log;
    int64_t clock = 1000000;
    FileTypeStats stats{&log, [this] { return clock; }};
};

} // namespace

TEST_F(FileTypeStatsTest, FoldsFilesIntoOneRecordPerTypeMovingItsEndsOnlyForStrictlyLargerOrSmaller) {
    timeFile("flac", 30000, 95);
    timeFile("FLAC", 30000, 80); // as large and as small as the one seen: neither end moves
    timeFile("Flac", 40000, 120);
    timeFile("flac", 10000, 30);
    EXPECT_EQ(stats.records(), (Records{{"flac", 4, 10000, 30, 40000, 120, 110000, 325}}));
    EXPECT_EQ(stats.runTotals().seconds, 325);
    EXPECT_EQ(systemLog(),
              "@ - New maximum size 40000 kB, time 120 sec\r\n@ - New minimum size 10000 kB, time 30 sec\r\n");
}

TEST_F(FileTypeStatsTest, ScalesACrowdedRecordDownByTheSetShareBeforeCountingTheFile) {
    stats.setDivision(6, 25);
    load(stats, "flac\t65\t800\t20\t8000\t200\t260000\t6500\r\n");
    timeFile("FLAC", 5000, 150);
    EXPECT_EQ(stats.records(), (Records{{"flac", 50, 1000, 25, 6000, 150, 200000, 5025}}));
    EXPECT_EQ(systemLog(), "@ - Altering [flac] Min/Max/Total values by 25%\r\n"
                           "@ - Old total size: 260000kB, total time: 6500 sec\r\n"
                           "@ - Old average size: 4000kB, average time: 100 sec\r\n"
                           "@ - Lowering total file count from 65 to 49\r\n"
                           "@ - Lowering maximum size from 8000kB to 6000kB\r\n"
                           "@ - Lowering maximum time from 200 sec to 150 sec\r\n"
                           "@ - Raising minimum size from 800kB to 1000kB\r\n"
                           "@ - Raising minimum time from 20 sec to 25 sec\r\n"
                           "@ - Lowering total size from 260000kB to 195000kB\r\n"
                           "@ - Lowering total time from 6500 sec to 4875 sec\r\n"
                           "@ - New total size: 195000kB, total time: 4875 sec\r\n"
                           "@ - New average size: 3980kB, average time: 99 sec\r\n");

    auto countAfter = [](int32_t count, Division division) {
        Records records{{"flac", count, 100, 10, 100, 10, 100, 10}};
        recordFile(records, "flac", 100, 10, division);
        return records[0].count;
    };
    EXPECT_EQ(countAfter(64, {6, 50}), 65); // not yet crowded
    EXPECT_EQ(countAfter(65, {6, 100}), 2); // a whole cut keeps one file so the averages can divide
    EXPECT_EQ(countAfter(1, {-1, 50}), 2);  // a negative exponent keeps one file too
}

TEST_F(FileTypeStatsTest, TimesTheFileInWorkLeavingPausedTimeOutAndIgnoringCallsOutOfTurn) {
    EXPECT_EQ(stats.estimateCurrent(3), -2); // idle, nothing finished
    stats.start("ape", 2000);
    EXPECT_EQ(stats.estimateCurrent(3), -1); // no data at all
    stats.pause();
    stats.abandon(); // also from a paused timing; records nothing

    load(stats, "flac\t3\t100\t40\t300\t160\t600\t300\r\n");
    stats.start("flac", 200);
    clock += 40;
    EXPECT_EQ(stats.estimateCurrent(3), 60);
    EXPECT_EQ(stats.estimateCurrent(9), 60);  // levels beyond the range use the nearest one
    EXPECT_EQ(stats.estimateCurrent(-5), -1); // level 0 has no finished file of this run yet
    stats.pause();
    clock += 600;
    stats.pause();
    stats.finish(); // ignored while paused
    EXPECT_EQ(stats.estimateCurrent(3), -2);
    stats.resume();
    stats.start("wav", 5); // ignored while a file is timed
    clock += 60;
    EXPECT_EQ(stats.estimateCurrent(3), 1); // overdue
    stats.finish();
    stats.finish();
    EXPECT_EQ(stats.estimateCurrent(3), 0);

    stats.start("wav", 5);
    clock -= 300; // the clock set back: the file counts as instant, not as negative time
    stats.finish();
    EXPECT_EQ(stats.records(), (Records{{"flac", 4, 100, 40, 300, 160, 800, 400}, {"wav", 1, 5, 0, 5, 0, 5, 0}}));
}

TEST_F(FileTypeStatsTest, SavesToTheLoadedPathWholeAndCheckpointsOnlyChanges) {
    load(stats, "flac\t1\t100\t10\t100\t10\t100\t10\r\n");
    EXPECT_FALSE(qvtest::fileExists(path));
    ASSERT_TRUE(stats.checkpoint()); // load deleted the file: it is written back at once

    std::filesystem::remove(path);
    ASSERT_TRUE(stats.checkpoint()); // nothing changed, nothing written
    EXPECT_FALSE(qvtest::fileExists(path));
    timeFile("flac", 300, 30);
    ASSERT_TRUE(stats.checkpoint());
    FileTypeStats reloaded;
    reloaded.load(path);
    EXPECT_EQ(reloaded.records(), (Records{{"flac", 2, 100, 10, 300, 30, 400, 40}}));

    std::filesystem::create_directory(path); // a directory where the file belongs
    EXPECT_FALSE(stats.save());
}

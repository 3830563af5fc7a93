#include "estimate/FileTypeStats.h"

#include "estimate/TimeEstimate.h"
#include "logs/DiagnosticLog.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

using namespace qv;

namespace {

class FileTypeStatsTest : public ::testing::Test {
protected:
    FileTypeStatsTest() { log.setPaths(dir.file("System.log"), dir.file("Detect.log")); }

    void timeFile(const std::string& type, uint32_t sizeKb, int64_t seconds) {
        stats.start(type, sizeKb);
        clock += seconds;
        stats.finish();
    }

    void loadRecords(const std::string& lines) {
        qvtest::writeFile(estimatePath, ";\r\n" + lines);
        stats.load(estimatePath);
    }

    // System.log messages without their time stamps.
    std::vector<std::string> systemLogMessages() const {
        std::vector<std::string> messages;
        std::string text = qvtest::readFile(dir.file("System.log"));
        const std::size_t stampLength = std::string("2010-10-12 21:05:33 - ").size();
        for (std::size_t pos = 0, end; (end = text.find("\r\n", pos)) != std::string::npos; pos = end + 2)
            messages.push_back(text.substr(pos + stampLength, end - pos - stampLength));
        return messages;
    }

    qvtest::TempDir dir;
    std::string estimatePath = dir.file("Estimate.log");
    DiagnosticLog log;
    int64_t clock = 1000000;
    FileTypeStats stats{&log, [this] { return clock; }};
};

} // namespace

TEST_F(FileTypeStatsTest, FoldsFilesIntoOneRecordPerTypeReplacingOnlyStrictlyLargerOrSmaller) {
    timeFile("flac", 30000, 95);
    ASSERT_EQ(stats.records(), (std::vector<TypeRecord>{{"flac", 1, 30000, 95, 30000, 95, 30000, 95}}));

    timeFile("FLAC", 30000, 80); // as large and as small as the one seen: neither end moves
    timeFile("Flac", 40000, 120);
    timeFile("flac", 10000, 30);
    EXPECT_EQ(stats.records(), (std::vector<TypeRecord>{{"flac", 4, 10000, 30, 40000, 120, 110000, 325}}));
    EXPECT_EQ(systemLogMessages(), (std::vector<std::string>{"New maximum size 40000 kB, time 120 sec",
                                                             "New minimum size 10000 kB, time 30 sec"}));
    EXPECT_EQ(stats.runTotals().seconds, 325);
}

TEST_F(FileTypeStatsTest, LeavesPausedTimeOutAndIgnoresCallsOutOfTurn) {
    stats.start("flac", 1000);
    clock += 100;
    stats.pause();
    clock += 600; // ten minutes paused
    stats.pause();
    stats.finish(); // ignored while paused
    EXPECT_TRUE(stats.isTiming());
    EXPECT_TRUE(stats.isPaused());
    stats.resume();
    stats.start("wav", 5); // ignored while a file is timed
    clock += 20;
    stats.finish();
    stats.finish();
    EXPECT_FALSE(stats.isTiming());
    EXPECT_EQ(stats.records(), (std::vector<TypeRecord>{{"flac", 1, 1000, 120, 1000, 120, 1000, 120}}));

    stats.start("wav", 5);
    clock -= 300; // the clock set back: the file counts as instant, not as negative time
    stats.finish();
    EXPECT_EQ(stats.records().at(1).totalTime, 0);
}

TEST_F(FileTypeStatsTest, AbandonEndsATimingWithoutRecordingSoTheNextFileCounts) {
    stats.start("flac", 1000);
    stats.abandon();
    stats.start("ape", 2000);
    stats.pause();
    stats.abandon(); // also from a paused timing
    EXPECT_FALSE(stats.isTiming() || stats.isPaused());

    timeFile("wav", 500, 30);
    EXPECT_EQ(stats.records(), (std::vector<TypeRecord>{{"wav", 1, 500, 30, 500, 30, 500, 30}}));
    EXPECT_EQ(stats.runTotals().files, 1);
}

TEST_F(FileTypeStatsTest, ScalesACrowdedRecordDownBeforeCountingTheFile) {
    loadRecords("flac\t65\t800\t20\t8000\t200\t260000\t6500\r\n");
    timeFile("FLAC", 5000, 150);
    EXPECT_EQ(stats.records(), (std::vector<TypeRecord>{{"flac", 33, 1200, 30, 5000, 150, 135000, 3400}}));
    EXPECT_EQ(systemLogMessages(), (std::vector<std::string>{
                                       "Altering [flac] Min/Max/Total values by 50%",
                                       "Old total size: 260000kB, total time: 6500 sec",
                                       "Old average size: 4000kB, average time: 100 sec",
                                       "Lowering total file count from 65 to 32",
                                       "Lowering maximum size from 8000kB to 4000kB",
                                       "Lowering maximum time from 200 sec to 100 sec",
                                       "Raising minimum size from 800kB to 1200kB",
                                       "Raising minimum time from 20 sec to 30 sec",
                                       "Lowering total size from 260000kB to 130000kB",
                                       "Lowering total time from 6500 sec to 3250 sec",
                                       "New total size: 130000kB, total time: 3250 sec",
                                       "New average size: 4063kB, average time: 102 sec",
                                       "New maximum size 5000 kB, time 150 sec",
                                   }));
}

TEST_F(FileTypeStatsTest, DivisionSettingsDecideWhenAndHowMuchToScale) {
    struct Case {
        const char* what;
        int32_t exponent, percent, count, countAfter;
    };
    const Case cases[] = {
        {"64 files are not yet crowded", 6, 50, 64, 65},
        {"a whole cut keeps one file so the averages can divide", 6, 100, 65, 2},
        {"a negative exponent keeps one file too", -1, 50, 1, 2},
    };
    for (const auto& c : cases) {
        FileTypeStats local(nullptr, [this] { return clock; });
        local.setDivision(c.exponent, c.percent);
        qvtest::writeFile(estimatePath, "flac\t" + std::to_string(c.count) + "\t100\t10\t100\t10\t100\t10\r\n");
        local.load(estimatePath);
        local.start("flac", 100);
        local.finish();
        EXPECT_EQ(local.records().at(0).count, c.countAfter) << c.what;
    }
}

TEST_F(FileTypeStatsTest, CurrentFileCountsDownFromItsEstimateAtStart) {
    EXPECT_EQ(stats.estimateCurrent(3), -2); // idle, nothing finished: "N/A"
    stats.start("flac", 200);
    EXPECT_EQ(stats.estimateCurrent(3), -1); // no data at all: "Estimate"
    stats.abandon();

    loadRecords("flac\t3\t100\t40\t300\t160\t600\t300\r\n");
    stats.start("flac", 200);
    clock += 40;
    EXPECT_EQ(estimateText(stats.estimateCurrent(3), false, true), "01:00");
    EXPECT_EQ(stats.estimateCurrent(9), 60);  // levels beyond the range use the nearest one
    EXPECT_EQ(stats.estimateCurrent(-5), -1); // level 0 has no finished file of this run yet
    stats.pause();
    clock += 600;
    EXPECT_EQ(stats.estimateCurrent(3), -2);
    stats.resume();
    clock += 60;
    EXPECT_EQ(estimateText(stats.estimateCurrent(3), false, true), "Almost");
    stats.finish();
    EXPECT_EQ(estimateText(stats.estimateCurrent(3), false, true), "Ready!");
}

TEST_F(FileTypeStatsTest, SavesToTheLoadedPathWholeAndCheckpointsOnlyChanges) {
    EXPECT_FALSE(stats.save()); // no path yet
    loadRecords("flac\t1\t100\t10\t100\t10\t100\t10\r\n");
    EXPECT_FALSE(qvtest::fileExists(estimatePath));
    ASSERT_TRUE(stats.checkpoint()); // load deleted the file: it is written back at once

    stats.start("flac", 300);
    clock += 10;
    std::filesystem::remove(estimatePath);
    ASSERT_TRUE(stats.checkpoint()); // nothing changed, nothing written, the timing runs on
    EXPECT_FALSE(qvtest::fileExists(estimatePath));
    clock += 20;
    stats.finish();
    ASSERT_TRUE(stats.checkpoint());
    FileTypeStats reloaded;
    reloaded.load(estimatePath);
    EXPECT_EQ(reloaded.records(), (std::vector<TypeRecord>{{"flac", 2, 100, 10, 300, 30, 400, 40}}));

    std::filesystem::create_directory(estimatePath); // a directory where the file belongs
    EXPECT_FALSE(stats.save());
    EXPECT_EQ(stats.records().size(), 1u);
}

#include "queue/HandOffIntake.h"

#include "common/HostFileSystem.h"
#include "queue/Listing.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <chrono>
#include <filesystem>

using namespace qv;

namespace {

std::vector<std::string> drain(QueueStore& store) {
    std::vector<std::string> paths;
    for (; !store.isEmpty(); store.removeHead())
        paths.push_back(store.headPath());
    return paths;
}

void writeHandOff(const qvtest::TempDir& dir, const std::string& name, int rows = 1) {
    std::vector<QueueEntry> entries;
    for (int i = 0; i < rows; ++i)
        entries.push_back(QueueEntry{"C:\\" + name + std::to_string(i), "wav", 3});
    qvtest::writeFile(dir.file(name), formatQueueFile(entries));
}

struct Intake {
    explicit Intake(const qvtest::TempDir& dir)
        : intake(dir.str(), [this](const std::string& line) { lines.push_back(line); }) {}
    std::vector<std::string> lines;
    HandOffIntake intake;
};

} // namespace

TEST(HandOffPickup, ReadsEachMatchingFileOnceAndDeletesItOnlyAfterTheQueueWasSaved) {
    qvtest::TempDir dir;
    const char* handOffs[] = {"Queue_1_1.log", "Queue_2_a.log", "Queue_1f_2.log"};
    // Not hand-off files: one still being written, the saved queue, and a directory that matches.
    for (const char* name : {"Queue_1_1.log", "Queue_2_a.log", "Queue_1f_2.log", "Queue_1_2.log.part", "Queue.log"})
        writeHandOff(dir, name);
    std::filesystem::create_directory(dir.path() / "Queue_3_3.log");

    std::vector<DirectoryEntry> listed;
    ASSERT_TRUE(listDirectory(dir.str() + "\\" + kHandOffPattern, listed));
    std::vector<std::string> expected;
    for (const DirectoryEntry& entry : listed) {
        if (!entry.isDirectory)
            expected.push_back("C:\\" + entry.name + "0");
    }

    QueueStore store;
    Intake intake(dir);
    EXPECT_EQ(intake.intake.pickUp(store), 3);
    // Until a saved queue holds their rows, the files stay, and a later pick-up does not read them again.
    EXPECT_TRUE(intake.intake.hasUnsaved());
    EXPECT_EQ(intake.intake.pickUp(store), 0);
    for (const char* name : handOffs)
        EXPECT_TRUE(qvtest::fileExists(dir.file(name))) << name;
    EXPECT_EQ(drain(store), expected);

    intake.intake.queueSaved();
    EXPECT_FALSE(intake.intake.hasUnsaved());
    for (const char* name : handOffs)
        EXPECT_FALSE(qvtest::fileExists(dir.file(name))) << name;
    EXPECT_TRUE(qvtest::fileExists(dir.file("Queue_1_2.log.part")));
    EXPECT_TRUE(qvtest::fileExists(dir.file("Queue.log")));
    EXPECT_TRUE(std::filesystem::is_directory(dir.path() / "Queue_3_3.log"));
    EXPECT_TRUE(intake.lines.empty());

    // The same name again is a new file.
    writeHandOff(dir, "Queue_1_1.log", 2);
    EXPECT_EQ(intake.intake.pickUp(store), 1);
    EXPECT_EQ(store.count(), 2);
}

TEST(HandOffPickup, AStartAfterACrashBetweenSaveAndDeleteQueuesTheRowsOnce) {
    struct Case {
        const char* what;
        int rowsWhenStartedAgain; // the file the next start finds under the saved name
        int expectedRead;
    };
    const Case cases[] = {
        {"the saved file: its rows are in the saved queue", 2, 0},
        {"another file under the same name: read", 3, 1},
    };
    for (const Case& c : cases) {
        qvtest::TempDir dir;
        writeHandOff(dir, "Queue_5_1.log", 2);
        QueueStore crashed;
        Intake before(dir);
        ASSERT_EQ(before.intake.pickUp(crashed), 1);
        ASSERT_TRUE(crashed.saveToFile(dir.file("Queue.log"), before.intake.takenLines()));
        if (c.rowsWhenStartedAgain != 2)
            writeHandOff(dir, "Queue_5_1.log", c.rowsWhenStartedAgain);

        QueueStore restarted;
        Intake after(dir);
        std::string saved = qvtest::readFile(dir.file("Queue.log"));
        restarted.loadContent(saved);
        after.intake.restoreTaken(saved);
        EXPECT_EQ(after.intake.pickUp(restarted), c.expectedRead) << c.what;
        EXPECT_EQ(restarted.count(), 2 + (c.expectedRead == 1 ? c.rowsWhenStartedAgain : 0)) << c.what;
        EXPECT_EQ(qvtest::fileExists(dir.file("Queue_5_1.log")), c.expectedRead == 1) << c.what;
    }
}

TEST(HandOffPickup, OnlyPartFilesLeftUnchangedForAMinuteAreRemovedAtStartUp) {
    struct Case {
        const char* name;
        int ageSeconds;
        bool removed;
    };
    const Case cases[] = {
        {"Queue_1_1.log.part", 0, false},
        {"Queue_1_2.log.part", kStalePartSeconds - 5, false},
        {"Queue_1_3.log.part", kStalePartSeconds + 5, true},
        {"Queue.log.1.part", 3600, false}, // the saved queue's own scratch file is not a hand-off file
    };
    qvtest::TempDir dir;
    const auto now = std::filesystem::file_time_type::clock::now();
    for (const Case& c : cases) {
        qvtest::writeFile(dir.file(c.name), "1\twav\tC:\\a.wav\r\n");
        std::filesystem::last_write_time(dir.path() / c.name, now - std::chrono::seconds(c.ageSeconds));
    }
    Intake intake(dir);
    const int64_t nowSeconds =
        std::chrono::duration_cast<std::chrono::seconds>(std::chrono::system_clock::now().time_since_epoch()).count();
    EXPECT_EQ(intake.intake.removeStaleParts(nowSeconds), 1);
    for (const Case& c : cases)
        EXPECT_EQ(qvtest::fileExists(dir.file(c.name)), !c.removed) << c.name;
    ASSERT_EQ(intake.lines.size(), 1u);
    EXPECT_NE(intake.lines[0].find("Queue_1_3.log.part"), std::string::npos);
}

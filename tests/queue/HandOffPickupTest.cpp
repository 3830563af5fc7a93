#include "queue/HandOffIntake.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <algorithm>

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
    const std::vector<std::string> handOffs = {"Queue_1_1.log", "Queue_2_a.log", "Queue_1f_2.log"};
    // Not hand-off files: one still being written, and the saved queue.
    const std::vector<std::string> others = {"Queue_1_2.log.part", "Queue.log"};
    for (const auto& names : {handOffs, others}) {
        for (const std::string& name : names)
            writeHandOff(dir, name);
    }
    auto present = [&](const std::vector<std::string>& names) {
        return std::count_if(names.begin(), names.end(),
                             [&](auto& name) { return qvtest::fileExists(dir.file(name)); });
    };

    QueueStore store;
    Intake intake(dir);
    EXPECT_EQ(intake.intake.pickUp(store), 3);
    // Until a saved queue holds their rows, the files stay, and a later pick-up does not read them again.
    EXPECT_TRUE(intake.intake.hasUnsaved());
    EXPECT_EQ(intake.intake.pickUp(store), 0);
    EXPECT_EQ(present(handOffs), 3);
    std::vector<std::string> paths = drain(store);
    std::sort(paths.begin(), paths.end());
    EXPECT_EQ(paths, (std::vector<std::string>{"C:\\Queue_1_1.log0", "C:\\Queue_1f_2.log0", "C:\\Queue_2_a.log0"}));

    intake.intake.queueSaved();
    EXPECT_FALSE(intake.intake.hasUnsaved());
    EXPECT_EQ(present(handOffs), 0);
    EXPECT_EQ(present(others), 2);
    EXPECT_TRUE(intake.lines.empty());
}

TEST(HandOffPickup, AStartAfterACrashBetweenSaveAndDeleteQueuesTheRowsOnce) {
    qvtest::TempDir dir;
    writeHandOff(dir, "Queue_5_1.log", 2);
    QueueStore crashed;
    Intake before(dir);
    ASSERT_EQ(before.intake.pickUp(crashed), 1);
    ASSERT_TRUE(crashed.saveToFile(dir.file("Queue.log"), before.intake.takenLines()));

    QueueStore restarted;
    Intake after(dir);
    std::string saved = qvtest::readFile(dir.file("Queue.log"));
    restarted.loadContent(saved);
    after.intake.restoreTaken(saved);
    EXPECT_EQ(after.intake.pickUp(restarted), 0) << "its rows are in the saved queue";
    EXPECT_FALSE(qvtest::fileExists(dir.file("Queue_5_1.log")));
    writeHandOff(dir, "Queue_5_1.log", 3);
    EXPECT_EQ(after.intake.pickUp(restarted), 1) << "another file under the same name";
    EXPECT_EQ(restarted.count(), 5);
}

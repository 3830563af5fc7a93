#include "queue/HandOffIntake.h"

#include "common/Clock.h"
#include "support/TempDir.h"
#include "win/Handles.h"

#include <gtest/gtest.h>

#include <windows.h>

#include <tuple>

using namespace qv;

namespace {

struct HandOffIntakeTest : testing::Test {
    HandOffIntakeTest() : intake(dir.str(), [this](const std::string& line) { lines.push_back(line); }) {}

    // Held the way another program holds a file it reads: others may read it, not delete it.
    win::UniqueHandle holdOpen(const std::string& name, DWORD share) {
        return win::UniqueHandle(CreateFileA(dir.file(name).c_str(), GENERIC_READ | GENERIC_WRITE, share, nullptr,
                                             OPEN_EXISTING, FILE_ATTRIBUTE_NORMAL, nullptr));
    }

    qvtest::TempDir dir;
    std::vector<std::string> lines;
    HandOffIntake intake;
};

} // namespace

TEST_F(HandOffIntakeTest, AFileThatCannotBeDeletedIsQueuedOnceReportedOnceAndDeletedWhenLetGo) {
    qvtest::writeFile(dir.file("Queue_7_1.log"), formatQueueFile({{"C:\\a.wav", "wav", 1}, {"C:\\b.wav", "wav", 1}}));
    win::UniqueHandle held = holdOpen("Queue_7_1.log", FILE_SHARE_READ | FILE_SHARE_WRITE);
    ASSERT_TRUE(held.valid());

    QueueStore store;
    EXPECT_EQ(intake.pickUp(store), 1);
    for (int heartbeat = 0; heartbeat < 2; ++heartbeat) {
        intake.queueSaved();
        EXPECT_EQ(intake.pickUp(store), 0) << heartbeat;
    }
    EXPECT_EQ(store.count(), 2);
    ASSERT_EQ(lines.size(), 1u);
    EXPECT_NE(lines[0].find("Cannot delete " + dir.file("Queue_7_1.log")), std::string::npos) << lines[0];

    held.reset();
    EXPECT_EQ(intake.pickUp(store), 0);
    EXPECT_FALSE(qvtest::fileExists(dir.file("Queue_7_1.log")));
    EXPECT_EQ(store.count(), 2);
}

TEST_F(HandOffIntakeTest, OnlyPartFilesLeftUnchangedForAMinuteAreRemovedAndNotWhileTheirWriterHoldsThem) {
    // Name, age in seconds, held by its writer, removed.
    const std::tuple<const char*, int64_t, bool, bool> cases[] = {
        {"Queue_1_2.log.part", kStalePartSeconds - 5, false, false},
        {"Queue_1_3.log.part", kStalePartSeconds + 5, false, true},
        {"Queue.log.1.part", 3600, false, false}, // the saved queue's own scratch file is not a hand-off file
        {"Queue_9_1.log.part", 2 * kStalePartSeconds, true, true},
    };
    const int64_t now = nowSeconds();
    win::UniqueHandle writer;
    for (const auto& [name, ageSeconds, held, removed] : cases) {
        qvtest::writeFile(dir.file(name), "1\twav\tC:\\a.wav\r\n");
        win::UniqueHandle file = holdOpen(name, 0);
        ULARGE_INTEGER time;
        time.QuadPart = static_cast<uint64_t>(now - ageSeconds + 11644473600LL) * 10000000u;
        FILETIME written{time.LowPart, time.HighPart};
        ASSERT_TRUE(SetFileTime(file.get(), nullptr, nullptr, &written)) << name;
        if (held)
            writer = std::move(file);
    }
    EXPECT_EQ(intake.removeStaleParts(now), 1);
    EXPECT_TRUE(qvtest::fileExists(dir.file("Queue_9_1.log.part")));
    writer.reset();
    EXPECT_EQ(intake.removeStaleParts(now), 1);
    for (const auto& [name, ageSeconds, held, removed] : cases)
        EXPECT_EQ(qvtest::fileExists(dir.file(name)), !removed) << name;
    ASSERT_EQ(lines.size(), 2u);
    EXPECT_NE(lines[0].find("Queue_1_3.log.part"), std::string::npos);
}

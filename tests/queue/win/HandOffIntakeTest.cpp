#include "queue/HandOffIntake.h"

#include "common/Clock.h"
#include "support/TempDir.h"
#include "win/Handles.h"

#include <gtest/gtest.h>

#include <windows.h>

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
    for (int heartbeat = 0; heartbeat < 5; ++heartbeat) {
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
    EXPECT_EQ(lines.size(), 1u);
}

TEST_F(HandOffIntakeTest, AStalePartFileIsKeptWhileItsWriterHoldsIt) {
    qvtest::writeFile(dir.file("Queue_9_1.log.part"), "1\twav\tC:\\a.wav\r\n");
    win::UniqueHandle writer = holdOpen("Queue_9_1.log.part", 0);
    ASSERT_TRUE(writer.valid());
    ULARGE_INTEGER old;
    old.QuadPart = static_cast<uint64_t>(nowSeconds() - 2 * kStalePartSeconds + 11644473600LL) * 10000000u;
    FILETIME written{old.LowPart, old.HighPart};
    ASSERT_TRUE(SetFileTime(writer.get(), nullptr, nullptr, &written));

    EXPECT_EQ(intake.removeStaleParts(nowSeconds()), 0);
    EXPECT_TRUE(qvtest::fileExists(dir.file("Queue_9_1.log.part")));
    writer.reset();
    EXPECT_EQ(intake.removeStaleParts(nowSeconds()), 1);
    EXPECT_FALSE(qvtest::fileExists(dir.file("Queue_9_1.log.part")));
}

#include "queue/QueueStore.h"

#include "common/HostFileSystem.h"
#include "queue/Listing.h"
#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <filesystem>

using namespace qv;

TEST(HandOffPickup, ReadsEveryMatchingFileInListingOrderAndDeletesIt) {
    qvtest::TempDir dir;
    const char* handOffs[] = {"Queue_1_1.log", "Queue_2_a.log", "Queue_1f_2.log"};
    // Not hand-off files: one still being written, the saved queue, and a directory that matches.
    for (const char* name : {"Queue_1_1.log", "Queue_2_a.log", "Queue_1f_2.log", "Queue_1_2.log.part", "Queue.log"})
        qvtest::writeFile(dir.file(name), formatQueueFile({QueueEntry{std::string("C:\\") + name, "wav", 3}}));
    std::filesystem::create_directory(dir.path() / "Queue_3_3.log");

    std::vector<DirectoryEntry> listed;
    ASSERT_TRUE(listDirectory(dir.str() + "\\" + kHandOffPattern, listed));
    std::vector<std::string> expected;
    for (const DirectoryEntry& entry : listed) {
        if (!entry.isDirectory)
            expected.push_back("C:\\" + entry.name);
    }

    QueueStore store;
    EXPECT_EQ(store.loadHandOffFiles(dir.str(), kHandOffPattern), 3);
    std::vector<std::string> queued;
    for (; !store.isEmpty(); store.removeHead())
        queued.push_back(store.headPath());
    EXPECT_EQ(queued.size(), 3u);
    EXPECT_EQ(queued, expected);
    for (const char* name : handOffs)
        EXPECT_FALSE(qvtest::fileExists(dir.file(name))) << name;
    EXPECT_TRUE(qvtest::fileExists(dir.file("Queue_1_2.log.part")));
    EXPECT_TRUE(qvtest::fileExists(dir.file("Queue.log")));
    EXPECT_TRUE(std::filesystem::is_directory(dir.path() / "Queue_3_3.log"));
}

#include "queue/QueueStore.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <thread>
#include <tuple>
#include <utility>
#include <vector>

using namespace qv;

TEST(QueueStore, NewDirectoryFlagFollowsTheHeadsDirectoryAndAnEmptiedStoreIsNeutral) {
    // Behind C:\A\1.wav; directories compare case-sensitively.
    const std::pair<const char*, bool> cases[] = {
        {"C:\\A\\2.wav", false}, {"C:\\B\\2.wav", true}, {"c:\\a\\2.wav", true}};
    for (const auto& [second, flagAfterRemovingFirst] : cases) {
        QueueStore store;
        store.addEntry(1, "wav", "C:\\A\\1.wav");
        store.addEntry(1, "wav", second);
        EXPECT_TRUE(store.newDirectoryFlag()); // a second entry does not change it
        QueueEntry behind;
        EXPECT_TRUE(store.entryBehindHead(behind) && behind.path == second);
        store.removeHead();
        EXPECT_EQ(store.newDirectoryFlag(), flagAfterRemovingFirst) << second;
        EXPECT_FALSE(store.entryBehindHead(behind));
        store.removeHead();
        store.removeHead(); // harmless on an empty store
        EXPECT_FALSE(store.newDirectoryFlag());
        EXPECT_TRUE(store.isEmpty());
        EXPECT_EQ(std::make_tuple(store.count(), store.totalSizeKb(), store.headSizeKb()), std::make_tuple(0, 0u, 0u));
    }
}

TEST(QueueStore, PerTypeTotalsShareOneRowAcrossLetterCaseAndOutliveTheirEntries) {
    QueueStore store;
    store.addEntry(10, "flac", "C:\\A\\1.flac");
    store.addEntry(20, "FLAC", "C:\\A\\2.FLAC");
    store.addEntry(30, "Flac", "C:\\A\\3.Flac");
    store.addEntry(5, "wav", "C:\\A\\4.wav");
    EXPECT_EQ(std::make_tuple(store.typeCount("flac"), store.typeSizeKb("FLAC"), store.typeCount("ape")),
              std::make_tuple(3u, 60u, 0u));
    for (int i = 0; i < 3; ++i)
        store.removeHead();
    EXPECT_EQ(store.typeCount("flac") + store.typeSizeKb("flac"), 0u);
    EXPECT_EQ(store.findType("FLAC"), 0); // the row stays
    EXPECT_EQ(store.headType(), "wav");
    EXPECT_EQ(store.totalSizeKb(), 5u);
}

TEST(QueueStore, SurvivesConcurrentProducerAndConsumer) {
    QueueStore store;
    const int total = 2000;
    std::thread producer([&store] {
        for (int i = 0; i < total; ++i)
            store.addEntry(1, "wav", "C:\\D" + std::to_string(i % 7) + "\\f.wav");
    });
    for (int removed = 0; removed < total;) {
        if (!store.isEmpty()) {
            store.removeHead();
            ++removed;
        }
    }
    producer.join();
    EXPECT_EQ(std::make_tuple(store.count(), store.totalSizeKb(), store.typeCount("wav")), std::make_tuple(0, 0u, 0u));
}

TEST(QueueStore, ASavedQueueLoadsInOrderInChunksAndItsFileGoesUnlessKept) {
    qvtest::TempDir dir;
    const std::string path = dir.file("Queue.log");
    std::vector<QueueEntry> entries;
    for (int i = 0; i < 2500; ++i)
        entries.push_back({"C:\\D" + std::to_string(i / 1000) + "\\" + std::to_string(i) + ".wav", "wav", 2});
    entries[0] = {"D:\\My Music\\x.FLAC", "FLAC", 2048};
    QueueStore saved;
    saved.addEntries(entries);
    ASSERT_TRUE(saved.saveToFile(path));

    QueueStore kept;
    ASSERT_TRUE(kept.loadFile(path, true));
    EXPECT_EQ(kept.count(), 2500);
    QueueStore store;
    int notifications = 0;
    store.setNotifyTarget([&notifications](int32_t, uint32_t) { ++notifications; });
    ASSERT_TRUE(store.loadFile(path));
    EXPECT_FALSE(qvtest::fileExists(path));
    EXPECT_FALSE(store.loadFile(path)) << "a missing file adds nothing";
    EXPECT_EQ(notifications, 4); // at registration, then one per chunk, not one per entry
    EXPECT_EQ(store.totalSizeKb(), 2048u + 2 * 2499);
    EXPECT_EQ(std::make_tuple(store.headPath(), store.headType(), store.headSizeKb()),
              std::make_tuple(std::string("D:\\My Music\\x.FLAC"), std::string("FLAC"), 2048u));
    for (int i = 0; i < 1000; ++i)
        store.removeHead();
    EXPECT_EQ(store.headPath(), "C:\\D1\\1000.wav");
    EXPECT_TRUE(store.newDirectoryFlag());
    EXPECT_EQ(store.changeCount(), 3500u);
}

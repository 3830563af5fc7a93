#include "queue/QueueStore.h"

#include "support/TempDir.h"

#include <gtest/gtest.h>

#include <thread>
#include <tuple>
#include <utility>
#include <vector>

using namespace qv;

TEST(QueueStore, NewDirectoryFlagFollowsTheHeadsDirectoryAndAnEmptiedStoreIsNeutral) {
    struct Case {
        const char* first;
        const char* second;
        bool flagAfterRemovingFirst;
    };
    const Case cases[] = {
        {"C:\\A\\1.wav", "C:\\A\\2.wav", false},
        {"C:\\A\\1.wav", "C:\\B\\2.wav", true},
        {"C:\\A\\1.wav", "c:\\a\\2.wav", true}, // directories compare case-sensitively
    };
    for (const Case& c : cases) {
        QueueStore store;
        store.addEntry(1, "wav", c.first);
        EXPECT_TRUE(store.newDirectoryFlag());
        store.addEntry(1, "wav", c.second);
        EXPECT_TRUE(store.newDirectoryFlag()); // a second entry does not change it
        QueueEntry behind;
        EXPECT_TRUE(store.entryBehindHead(behind));
        EXPECT_EQ(behind.path, c.second);
        store.removeHead();
        EXPECT_EQ(store.newDirectoryFlag(), c.flagAfterRemovingFirst) << c.first << " then " << c.second;
        EXPECT_FALSE(store.entryBehindHead(behind));
        store.removeHead();
        store.removeHead(); // harmless on an empty store
        EXPECT_FALSE(store.newDirectoryFlag());
        EXPECT_TRUE(store.isEmpty());
        EXPECT_EQ(std::make_tuple(store.count(), store.totalSizeKb(), store.headSizeKb()), std::make_tuple(0, 0u, 0u));
        EXPECT_EQ(store.headPath() + store.headDirectory(), "");
    }
}

TEST(QueueStore, PerTypeTotalsShareOneRowAcrossLetterCaseAndOutliveTheirEntries) {
    QueueStore store;
    store.addEntry(10, "flac", "C:\\A\\1.flac");
    store.addEntry(20, "FLAC", "C:\\A\\2.FLAC");
    store.addEntry(30, "Flac", "C:\\A\\3.Flac");
    store.addEntry(5, "wav", "C:\\A\\4.wav");
    EXPECT_EQ(store.typeCount("flac"), 3u);
    EXPECT_EQ(store.typeSizeKb("FLAC"), 60u);
    EXPECT_EQ(store.totalSizeKb(), 65u);
    EXPECT_EQ(store.typeCount("ape"), 0u);
    for (int i = 0; i < 3; ++i)
        store.removeHead();
    EXPECT_EQ(store.typeCount("flac"), 0u);
    EXPECT_EQ(store.typeSizeKb("flac"), 0u);
    EXPECT_EQ(store.findType("FLAC"), 0); // the row stays
    EXPECT_EQ(store.headType(), "wav");
    EXPECT_EQ(store.totalSizeKb(), 5u);
}

TEST(QueueStore, NotifiesOnceAfterEveryChangeAndAtRegistration) {
    QueueStore store;
    store.addEntry(7, "wav", "C:\\A\\1.wav"); // before registration: nothing to tell
    std::vector<std::pair<int32_t, uint32_t>> seen;
    store.setNotifyTarget([&seen](int32_t count, uint32_t total) { seen.emplace_back(count, total); });
    store.addEntry(3, "wav", "C:\\A\\2.wav");
    store.removeHead();
    std::vector<std::pair<int32_t, uint32_t>> expected = {{1, 7}, {2, 10}, {1, 3}};
    EXPECT_EQ(seen, expected);
}

TEST(QueueStore, SurvivesConcurrentProducerAndConsumer) {
    QueueStore store;
    const int total = 2000;
    std::thread producer([&store] {
        for (int i = 0; i < total; ++i)
            store.addEntry(1, "wav", "C:\\D" + std::to_string(i % 7) + "\\f.wav");
    });
    int removed = 0;
    while (removed < total) {
        if (!store.isEmpty()) {
            store.removeHead();
            ++removed;
        }
    }
    producer.join();
    EXPECT_TRUE(store.isEmpty());
    EXPECT_EQ(store.count(), 0);
    EXPECT_EQ(store.totalSizeKb(), 0u);
    EXPECT_EQ(store.typeCount("wav"), 0u);
}

TEST(QueueStore, SaveAndLoadRoundTripKeepsOrderAndDeletesTheFileUnlessToldToKeepIt) {
    qvtest::TempDir dir;
    std::string path = dir.file("Queue.log");
    QueueStore out;
    out.addEntry(2048, "FLAC", "D:\\x.FLAC");
    out.addEntry(1, "wav", "D:\\My Music\\y.wav");
    ASSERT_TRUE(out.saveToFile(path));

    QueueStore kept;
    ASSERT_TRUE(kept.loadFile(path, true));
    EXPECT_EQ(kept.count(), 2);
    QueueStore in;
    ASSERT_TRUE(in.loadFile(path));
    EXPECT_FALSE(qvtest::fileExists(path));
    EXPECT_FALSE(in.loadFile(path)) << "a missing file adds nothing";
    ASSERT_EQ(in.count(), 2);
    EXPECT_EQ(in.headPath(), "D:\\x.FLAC");
    EXPECT_EQ(in.headType(), "FLAC");
    EXPECT_EQ(in.headSizeKb(), 2048u);
    in.removeHead();
    EXPECT_EQ(in.headPath(), "D:\\My Music\\y.wav");
}

TEST(QueueStore, BulkLoadKeepsOrderTotalsAndCountsEveryChange) {
    qvtest::TempDir dir;
    std::vector<QueueEntry> entries;
    for (int i = 0; i < 2500; ++i)
        entries.push_back({"C:\\D" + std::to_string(i / 1000) + "\\" + std::to_string(i) + ".wav", "wav", 2});
    qvtest::writeFile(dir.file("big.log"), formatQueueFile(entries));
    QueueStore store;
    int notifications = 0;
    store.setNotifyTarget([&notifications](int32_t, uint32_t) { ++notifications; });
    notifications = 0;
    ASSERT_TRUE(store.loadFile(dir.file("big.log")));
    EXPECT_EQ(store.count(), 2500);
    EXPECT_EQ(store.totalSizeKb(), 5000u);
    EXPECT_EQ(store.changeCount(), 2500u);
    EXPECT_EQ(notifications, 3); // one per chunk, not one per entry
    for (int i = 0; i < 1000; ++i)
        store.removeHead();
    EXPECT_EQ(store.headPath(), "C:\\D1\\1000.wav");
    EXPECT_TRUE(store.newDirectoryFlag());
    EXPECT_EQ(store.changeCount(), 3500u);
}

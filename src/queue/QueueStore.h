#pragma once
// The one queue of files waiting for detection, shared by the worker and the user interface.
// Every operation holds the store's lock for its whole body; change notifications go out after it.
#include "common/EventLock.h"
#include "queue/QueueFile.h"

#include <cstdint>
#include <deque>
#include <functional>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace qv {

class QueueStore {
public:
    // Told (count, total size in kB) after every change; the Windows layer posts it to the status window.
    using Notifier = std::function<void(int32_t count, uint32_t totalSizeKb)>;

    void addEntry(uint32_t sizeKb, const std::string& type, const std::string& path);
    // Appends entries in order under one lock and notifies once: the bulk form of addEntry.
    void addEntries(const std::vector<QueueEntry>& entries);
    // Removes the head entry; does nothing on an empty store.
    void removeHead();

    bool isEmpty() const;
    int32_t count() const;
    uint32_t totalSizeKb() const;
    std::string headPath() const;
    std::string headType() const;
    uint32_t headSizeKb() const;
    std::string headDirectory() const;
    // The head entry read under one lock; false when the store is empty.
    bool head(QueueEntry& entry) const;
    // The entry behind the head, read under one lock; false when there is none.
    bool entryBehindHead(QueueEntry& entry) const;
    bool newDirectoryFlag() const;
    // Grows by one with every entry added or removed; tells a checkpoint whether anything changed.
    uint64_t changeCount() const;

    // Index of the per-type row for type (case-insensitive), or -1.
    int findType(const std::string& type, bool takeLock = true) const;
    uint32_t typeSizeKb(const std::string& type) const;
    uint32_t typeCount(const std::string& type) const;

    void setNotifyTarget(Notifier notifier);
    void notify() const;

    // Writes the whole queue as a queue file, whole or not at all, with comment lines after it (each ending
    // in CR LF). False when it could not be written.
    bool saveToFile(const std::string& path, const std::string& comments = std::string()) const;
    // Reads a queue file into the store and, unless told to keep it, deletes it. False when it could not be
    // opened. The saved queue is kept: checkpoints replace it, and deleting it would leave nothing on disk
    // until the first checkpoint, so a crash in that moment would lose the whole queue.
    bool loadFile(const std::string& path, bool keepFile = false);
    // Adds the rows of a queue file's content. Entries go in in chunks, each under one lock, so the worker
    // can start on the first ones while later ones follow.
    void loadContent(const std::string& content);

private:
    // The body of addEntry; the caller holds the lock.
    void appendLocked(uint32_t sizeKb, const std::string& type, const std::string& path);

    struct TypeTotals {
        std::string key; // spelling of the first entry that brought it
        uint32_t sizeKb = 0;
        uint32_t count = 0;
    };

    mutable EventLock lock_;
    std::deque<QueueEntry> entries_;
    uint32_t totalSizeKb_ = 0;
    int32_t count_ = 0;
    uint32_t removedCount_ = 0;
    uint32_t addedCount_ = 0;
    std::vector<TypeTotals> types_;
    bool newDirectory_ = false;

    mutable std::mutex notifierMutex_;
    Notifier notifier_;
};

} // namespace qv

#include "queue/QueueStore.h"

#include "common/StateFile.h"
#include "common/Text.h"

namespace qv {

void QueueStore::addEntry(uint32_t sizeKb, const std::string& type, const std::string& path) {
    {
        EventLockGuard guard(lock_);
        appendLocked(sizeKb, type, path);
    }
    notify();
}

void QueueStore::addEntries(const std::vector<QueueEntry>& entries) {
    if (entries.empty())
        return;
    {
        EventLockGuard guard(lock_);
        for (const QueueEntry& entry : entries)
            appendLocked(entry.sizeKb, entry.type, entry.path);
    }
    notify();
}

void QueueStore::appendLocked(uint32_t sizeKb, const std::string& type, const std::string& path) {
    ++addedCount_;
    int row = findType(type, false);
    if (row < 0) {
        types_.push_back(TypeTotals{type, sizeKb, 1});
    } else {
        types_[row].sizeKb += sizeKb;
        ++types_[row].count;
    }
    totalSizeKb_ += sizeKb;
    if (++count_ == 1)
        newDirectory_ = true;
    entries_.push_back(QueueEntry{path, type, sizeKb});
}

void QueueStore::removeHead() {
    {
        EventLockGuard guard(lock_);
        if (entries_.empty())
            return;
        ++removedCount_;
        const QueueEntry& head = entries_.front();
        int row = findType(head.type, false);
        if (row >= 0) {
            types_[row].sizeKb -= head.sizeKb;
            --types_[row].count;
        }
        totalSizeKb_ -= head.sizeKb;
        --count_;
        std::string leavingDirectory = directoryPart(head.path);
        entries_.pop_front();
        newDirectory_ = count_ >= 1 && directoryPart(entries_.front().path) != leavingDirectory;
    }
    notify();
}

bool QueueStore::isEmpty() const {
    EventLockGuard guard(lock_);
    return removedCount_ == addedCount_;
}

int32_t QueueStore::count() const {
    EventLockGuard guard(lock_);
    return count_;
}

uint32_t QueueStore::totalSizeKb() const {
    EventLockGuard guard(lock_);
    return totalSizeKb_;
}

std::string QueueStore::headPath() const {
    EventLockGuard guard(lock_);
    return entries_.empty() ? std::string() : entries_.front().path;
}

std::string QueueStore::headType() const {
    EventLockGuard guard(lock_);
    return entries_.empty() ? std::string() : entries_.front().type;
}

uint32_t QueueStore::headSizeKb() const {
    EventLockGuard guard(lock_);
    return entries_.empty() ? 0 : entries_.front().sizeKb;
}

std::string QueueStore::headDirectory() const {
    EventLockGuard guard(lock_);
    return entries_.empty() ? std::string() : directoryPart(entries_.front().path);
}

bool QueueStore::head(QueueEntry& entry) const {
    EventLockGuard guard(lock_);
    if (entries_.empty())
        return false;
    entry = entries_.front();
    return true;
}

bool QueueStore::entryBehindHead(QueueEntry& entry) const {
    EventLockGuard guard(lock_);
    if (entries_.size() < 2)
        return false;
    entry = entries_[1];
    return true;
}

uint64_t QueueStore::changeCount() const {
    EventLockGuard guard(lock_);
    return static_cast<uint64_t>(addedCount_) + removedCount_;
}

bool QueueStore::newDirectoryFlag() const {
    EventLockGuard guard(lock_);
    return newDirectory_;
}

int QueueStore::findType(const std::string& type, bool takeLock) const {
    if (takeLock)
        lock_.enter();
    int found = -1;
    for (std::size_t i = 0; i < types_.size(); ++i) {
        if (equalsIgnoreCase(types_[i].key, type)) {
            found = static_cast<int>(i);
            break;
        }
    }
    if (takeLock)
        lock_.leave();
    return found;
}

uint32_t QueueStore::typeSizeKb(const std::string& type) const {
    EventLockGuard guard(lock_);
    int row = findType(type, false);
    return row < 0 ? 0 : types_[row].sizeKb;
}

uint32_t QueueStore::typeCount(const std::string& type) const {
    EventLockGuard guard(lock_);
    int row = findType(type, false);
    return row < 0 ? 0 : types_[row].count;
}

void QueueStore::setNotifyTarget(Notifier notifier) {
    {
        std::lock_guard<std::mutex> guard(notifierMutex_);
        notifier_ = std::move(notifier);
    }
    notify();
}

void QueueStore::notify() const {
    Notifier notifier;
    {
        std::lock_guard<std::mutex> guard(notifierMutex_);
        notifier = notifier_;
    }
    if (notifier)
        notifier(count(), totalSizeKb());
}

bool QueueStore::saveToFile(const std::string& path, const std::string& comments) const {
    std::string content;
    {
        EventLockGuard guard(lock_);
        content = formatQueueFile(std::vector<QueueEntry>(entries_.begin(), entries_.end()));
    }
    return writeFileAtomically(path, content + comments);
}

bool QueueStore::loadFile(const std::string& path, bool keepFile) {
    std::string content;
    if (!readWholeFile(path, content))
        return false;
    loadContent(content);
    if (!keepFile)
        removeFile(path);
    return true;
}

void QueueStore::loadContent(const std::string& content) {
    // Chunks keep the lock short for the worker and the number of lock round trips small for big files.
    constexpr std::size_t kChunk = 1024;
    std::vector<QueueEntry> entries = parseQueueFile(content);
    for (std::size_t from = 0; from < entries.size(); from += kChunk) {
        std::size_t to = from + kChunk < entries.size() ? from + kChunk : entries.size();
        addEntries(std::vector<QueueEntry>(entries.begin() + static_cast<std::ptrdiff_t>(from),
                                           entries.begin() + static_cast<std::ptrdiff_t>(to)));
    }
}

} // namespace qv

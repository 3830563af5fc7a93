#include "queue/HandOffIntake.h"

#include "common/HostFileSystem.h"
#include "common/StateFile.h"
#include "common/Text.h"
#include "queue/Listing.h"

#include <algorithm>
#include <cstdlib>

namespace qv {

namespace {

// A comment line, so every reader of queue files skips it.
constexpr const char* kTakenPrefix = "; Picked up\t";

std::vector<std::string> splitAtTabs(const std::string& text) {
    std::vector<std::string> fields;
    std::size_t from = 0;
    for (std::size_t tab; (tab = text.find('\t', from)) != std::string::npos; from = tab + 1)
        fields.push_back(text.substr(from, tab - from));
    fields.push_back(text.substr(from));
    return fields;
}

} // namespace

HandOffIntake::HandOffIntake(std::string directory, Reporter report)
    : directory_(std::move(directory)), report_(std::move(report)) {}

int HandOffIntake::pickUp(QueueStore& queue) {
    std::vector<DirectoryEntry> listed;
    if (!listDirectory(directory_ + "\\" + kHandOffPattern, listed))
        return 0;
    auto sameFile = [](const Taken& taken, const DirectoryEntry& entry) {
        return taken.name == entry.name && taken.size == entry.size && taken.writeTime == entry.writeTime;
    };
    auto isListed = [&](const Taken& taken) {
        return std::any_of(listed.begin(), listed.end(),
                           [&](const DirectoryEntry& entry) { return sameFile(taken, entry); });
    };
    auto isTaken = [&](const DirectoryEntry& entry) {
        return std::any_of(taken_.begin(), taken_.end(), [&](const Taken& taken) { return sameFile(taken, entry); });
    };
    // A file gone from the listing is forgotten; a new file under the same name is another file.
    taken_.erase(std::remove_if(taken_.begin(), taken_.end(), [&](const Taken& taken) { return !isListed(taken); }),
                 taken_.end());
    deleteSaved();
    int read = 0;
    for (const DirectoryEntry& entry : listed) {
        if (entry.isDirectory || isTaken(entry))
            continue;
        std::string content;
        if (!readWholeFile(toHostPath(directory_ + "\\" + entry.name), content))
            continue;
        queue.loadContent(content);
        taken_.push_back(Taken{entry.name, entry.size, entry.writeTime});
        ++read;
    }
    return read;
}

bool HandOffIntake::hasUnsaved() const {
    return std::any_of(taken_.begin(), taken_.end(), [](const Taken& taken) { return !taken.saved; });
}

std::string HandOffIntake::takenLines() const {
    std::string lines;
    for (const Taken& taken : taken_) {
        lines += kTakenPrefix + taken.name +
                 formatText("\t%llu\t%lld\r\n", static_cast<unsigned long long>(taken.size),
                            static_cast<long long>(taken.writeTime));
    }
    return lines;
}

void HandOffIntake::restoreTaken(const std::string& savedQueue) {
    const std::string prefix = kTakenPrefix;
    std::size_t from = 0;
    while (from < savedQueue.size()) {
        std::size_t end = savedQueue.find('\n', from);
        std::string line = savedQueue.substr(from, end == std::string::npos ? std::string::npos : end - from);
        from = end == std::string::npos ? savedQueue.size() : end + 1;
        if (!line.empty() && line.back() == '\r')
            line.pop_back();
        if (line.compare(0, prefix.size(), prefix) != 0)
            continue;
        std::vector<std::string> fields = splitAtTabs(line.substr(prefix.size()));
        if (fields.size() != 3 || fields[0].empty())
            continue;
        Taken taken{fields[0], std::strtoull(fields[1].c_str(), nullptr, 10),
                    std::strtoll(fields[2].c_str(), nullptr, 10)};
        taken.saved = true;
        taken_.push_back(taken);
    }
}

void HandOffIntake::queueSaved() {
    for (Taken& taken : taken_)
        taken.saved = true;
    deleteSaved();
}

void HandOffIntake::deleteSaved() {
    for (Taken& taken : taken_) {
        if (!taken.saved || taken.deleted)
            continue;
        const std::string path = directory_ + "\\" + taken.name;
        uint32_t error = deleteFile(path);
        // Deleted, it may still be listed while another program holds it open; it stays taken until gone.
        taken.deleted = error == 0;
        if (error != 0 && !taken.failureReported) {
            report_(formatText("Cannot delete %s (error %u); its files are queued once, it is deleted later",
                               path.c_str(), static_cast<unsigned>(error)));
            taken.failureReported = true;
        }
    }
}

int HandOffIntake::removeStaleParts(int64_t nowSeconds) {
    std::vector<DirectoryEntry> listed;
    if (!listDirectory(directory_ + "\\" + handOffTemporaryName(kHandOffPattern), listed))
        return 0;
    int removed = 0;
    for (const DirectoryEntry& entry : listed) {
        if (entry.isDirectory || nowSeconds - entry.writeTime / kTicksPerSecond < kStalePartSeconds)
            continue;
        const std::string path = directory_ + "\\" + entry.name;
        if (deleteFile(path) == 0) {
            report_("Removed the unfinished hand-off file " + path);
            ++removed;
        }
    }
    return removed;
}

} // namespace qv

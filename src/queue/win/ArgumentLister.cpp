#include "queue/win/ArgumentLister.h"

#include "common/Text.h"
#include "common/Version.h"
#include "queue/Listing.h"
#include "queue/win/HandOffFile.h"
#include "win/Handles.h"

#include <windows.h>

#include <cstring>
#include <functional>
#include <utility>
#include <vector>

namespace qv {

namespace {

struct FoundEntry {
    std::string name;
    bool isDirectory = false;
    uint64_t sizeBytes = 0;
};

uint64_t combinedSize(DWORD high, DWORD low) {
    return (static_cast<uint64_t>(high) << 32) | low;
}

bool isDotEntry(const char* name) {
    return std::strcmp(name, ".") == 0 || std::strcmp(name, "..") == 0;
}

// The whole directory is read once and walked twice, so both passes see the same entries in the same order.
bool readDirectory(const std::string& pattern, std::vector<FoundEntry>& entries) {
    WIN32_FIND_DATAA data;
    win::UniqueFindHandle find(FindFirstFileA(pattern.c_str(), &data));
    if (!find)
        return false;
    do {
        if (!isDotEntry(data.cFileName))
            entries.push_back({data.cFileName, (data.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0,
                               combinedSize(data.nFileSizeHigh, data.nFileSizeLow)});
    } while (FindNextFileA(find.get(), &data));
    return true;
}

// A relative argument would mean another directory to the running instance; an absolute one stays as given.
std::string absolutePath(const std::string& argument) {
    if (isAbsolutePath(argument))
        return argument;
    DWORD needed = GetFullPathNameA(argument.c_str(), 0, nullptr, nullptr);
    if (needed == 0)
        return argument;
    std::string full(needed, '\0');
    DWORD length = GetFullPathNameA(argument.c_str(), needed, &full[0], nullptr);
    if (length == 0 || length >= needed)
        return argument;
    full.resize(length);
    return full;
}

// Where each accepted file goes: a hand-off file, or a list in memory.
using RowSink = std::function<void(const QueueEntry& entry)>;

class Lister {
public:
    Lister(const ListerSetup& setup, RowSink sink) : setup_(setup), sink_(std::move(sink)) {}
    ~Lister() { flushLog(); }
    Lister(const Lister&) = delete;
    Lister& operator=(const Lister&) = delete;

    uint32_t listed() const { return listed_; }

    // Boxes show the argument as the user gave it, not the path it was made into.
    void listArgument(const std::string& argument) {
        std::string path = absolutePath(argument);
        if (!fits(path)) {
            tellUser("Path too long, skipped:\n\n" + argument);
            return;
        }
        WIN32_FILE_ATTRIBUTE_DATA info;
        if (!GetFileAttributesExA(path.c_str(), GetFileExInfoStandard, &info)) {
            tellUser("File not found:\n\n" + argument);
            return;
        }
        if ((info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY) != 0)
            listed_ += scanDirectory(path);
        else
            listed_ += listFile(path, combinedSize(info.nFileSizeHigh, info.nFileSizeLow));
    }

private:
    // Subdirectories first, then the directory's own files, each in listing order.
    uint32_t scanDirectory(const std::string& directory) {
        std::string pattern = directory + "\\*";
        if (!fits(pattern))
            return 0;
        std::vector<FoundEntry> entries;
        if (!readDirectory(pattern, entries))
            return 0;
        uint32_t count = 0;
        for (const FoundEntry& entry : entries) {
            std::string path = directory + "\\" + entry.name;
            if (entry.isDirectory && fits(path))
                count += scanDirectory(path);
        }
        for (const FoundEntry& entry : entries) {
            std::string path = directory + "\\" + entry.name;
            if (!entry.isDirectory && fits(path))
                count += listFile(path, entry.sizeBytes);
        }
        return count;
    }

    uint32_t listFile(const std::string& path, uint64_t sizeBytes) {
        std::optional<QueueEntry> entry = acceptedEntry(path, sizeBytes, setup_.decoders);
        if (!entry)
            return 0;
        sink_(*entry);
        logLine("File added: " + path);
        return 1;
    }

    void tellUser(const std::string& text) {
        flushLog(); // the log is complete up to the moment the box appears
        if (setup_.report)
            setup_.report(text);
    }

    // The lines go out in batches, in order: one open of the log per line was most of a listing's time.
    void logLine(std::string text) {
        pendingLines_.push_back(std::move(text));
        if (pendingLines_.size() >= kLinesPerBatch)
            flushLog();
    }

    void flushLog() {
        setup_.log.writeSystemLogLines(pendingLines_);
        pendingLines_.clear();
    }

    // Paths travel in MAX_PATH buffers on the way to the detector; one that does not fit is left out, not cut.
    bool fits(const std::string& path) {
        if (fitsPathBuffer(path))
            return true;
        logLine("Path too long, skipped: " + path);
        return false;
    }

    static constexpr std::size_t kLinesPerBatch = 1000;

    const ListerSetup& setup_;
    RowSink sink_;
    uint32_t listed_ = 0;
    std::vector<std::string> pendingLines_;
};

uint32_t listEachArgument(const ListerSetup& setup, const std::string& argumentText, RowSink sink) {
    Lister lister(setup, std::move(sink));
    for (SplitResult split = splitArgument(argumentText); !split.first.empty(); split = splitArgument(split.rest))
        lister.listArgument(split.first);
    return lister.listed();
}

} // namespace

HandOffListing listArguments(const ListerSetup& setup, const std::string& argumentText) {
    HandOffListing result;
    HandOffFile file(setup.programDirectory, setup.processId);
    result.path = file.finalPath();
    if (!file.isOpen()) {
        setup.log.writeSystemLog("Cannot create hand-off file " + file.temporaryPath());
        return result;
    }
    result.filesListed =
        listEachArgument(setup, argumentText, [&file](const QueueEntry& entry) { file.addRow(entry); });
    result.written = file.complete(result.filesListed);
    result.path = file.finalPath();
    if (!result.written)
        setup.log.writeSystemLog("Cannot write hand-off file " + result.path);
    return result;
}

std::vector<QueueEntry> listArgumentsInMemory(const ListerSetup& setup, const std::string& argumentText) {
    std::vector<QueueEntry> entries;
    listEachArgument(setup, argumentText, [&entries](const QueueEntry& entry) { entries.push_back(entry); });
    return entries;
}

} // namespace qv

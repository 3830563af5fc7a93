// Prints intake throughput: files listed per second from a generated tree, and hand-off rows picked up per
// second into a queue store. Usage: qvbench_intake [files (default 2000)] [rows (default 100000)]
#include "common/StateFile.h"
#include "common/Text.h"
#include "queue/Listing.h"
#include "queue/QueueStore.h"
#include "queue/win/ArgumentLister.h"
#include "win/Handles.h"

#include <windows.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <vector>

using namespace qv;

namespace {

constexpr uint32_t kFilesPerDirectory = 100;

double secondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void printRate(const char* what, uint32_t count, const char* unit, double seconds) {
    std::printf("%-34s %8u %s in %8.3f s: %10.0f %s/s\n", what, count, unit, seconds,
                seconds > 0 ? count / seconds : 0.0, unit);
}

bool makeTree(const std::string& root, uint32_t files) {
    if (!CreateDirectoryA(root.c_str(), nullptr))
        return false;
    std::string directory;
    for (uint32_t i = 0; i < files; ++i) {
        if (i % kFilesPerDirectory == 0) {
            directory = root + formatText("\\d%05u", i / kFilesPerDirectory);
            if (!CreateDirectoryA(directory.c_str(), nullptr))
                return false;
        }
        std::string path = directory + formatText("\\f%06u.%s", i, i % 2 == 0 ? "wav" : "flac");
        win::UniqueHandle file(CreateFileA(path.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_NEW, 0, nullptr));
        if (!file)
            return false;
    }
    return true;
}

std::string scratchDirectory() {
    char buffer[MAX_PATH];
    DWORD length = GetTempPathA(MAX_PATH, buffer);
    std::string temp(buffer, length < MAX_PATH ? length : 0);
    return temp + formatText("qvbench-intake-%lu", GetCurrentProcessId());
}

} // namespace

int main(int argc, char** argv) {
    uint32_t files = argc > 1 ? static_cast<uint32_t>(parseDecimal(argv[1])) : 2000;
    uint32_t rows = argc > 2 ? static_cast<uint32_t>(parseDecimal(argv[2])) : 100000;
    std::string scratch = scratchDirectory();
    std::string program = scratch + "\\program";
    std::string tree = scratch + "\\tree";
    if (!CreateDirectoryA(scratch.c_str(), nullptr) || !CreateDirectoryA(program.c_str(), nullptr) ||
        !makeTree(tree, files)) {
        std::fprintf(stderr, "cannot make the scratch tree under %s\n", scratch.c_str());
        return 1;
    }

    DecoderTable decoders;
    decoders.append({false, "wav", "", ""});
    decoders.append({true, "flac", program + "\\flac\\flac.exe", "-d -f -o {T} {F}"});
    DiagnosticLog withLog;
    withLog.setPaths(program + "\\System.log", program + "\\Detect.log");
    DiagnosticLog withoutLog;

    auto start = std::chrono::steady_clock::now();
    HandOffListing listing = listArguments({program, decoders, withLog, nullptr, GetCurrentProcessId()}, tree);
    printRate("listing (with System.log lines)", listing.filesListed, "files", secondsSince(start));
    removeFile(listing.path);

    start = std::chrono::steady_clock::now();
    listing = listArguments({program, decoders, withoutLog, nullptr, GetCurrentProcessId()}, tree);
    printRate("listing (without log lines)", listing.filesListed, "files", secondsSince(start));
    removeFile(listing.path);

    std::vector<QueueEntry> entries;
    entries.reserve(rows);
    for (uint32_t i = 0; i < rows; ++i)
        entries.push_back({tree + formatText("\\d%05u\\f%06u.flac", i / kFilesPerDirectory, i), "flac", 1 + i % 50000});
    std::string handOff = handOffFileName(program, 1, 1);
    if (!writeFileAtomically(handOff, formatQueueFile(entries))) {
        std::fprintf(stderr, "cannot write the hand-off file\n");
        return 1;
    }
    // The same file read and parsed without the store, to tell the file's share from the store's locking.
    start = std::chrono::steady_clock::now();
    std::string content;
    readWholeFile(handOff, content);
    std::size_t parsed = parseQueueFile(content).size();
    printRate("pick-up, reading and parsing only", static_cast<uint32_t>(parsed), "rows", secondsSince(start));

    QueueStore store;
    start = std::chrono::steady_clock::now();
    store.loadHandOffFiles(program, kHandOffPattern);
    printRate("pick-up into the queue store", static_cast<uint32_t>(store.count()), "rows", secondsSince(start));

    std::error_code ignored;
    std::filesystem::remove_all(scratch, ignored);
    return 0;
}

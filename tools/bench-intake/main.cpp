// Prints intake and queue figures; checks nothing.
//   qvbench_intake listing TREE          files listed per second from an existing tree
//   qvbench_intake queue N [N ...]       per queue size N: pick-up time, memory per entry, the cost of a
//                                        checkpoint's save and of removeHead at that size
#include "common/StateFile.h"
#include "common/Text.h"
#include "queue/HandOffIntake.h"
#include "queue/Listing.h"
#include "queue/QueueStore.h"
#include "queue/win/ArgumentLister.h"

#include <windows.h>
#include <psapi.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <string>
#include <vector>

using namespace qv;

namespace {

double secondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

std::string scratchDirectory() {
    char buffer[MAX_PATH];
    DWORD length = GetTempPathA(MAX_PATH, buffer);
    std::string temp(buffer, length < MAX_PATH ? length : 0);
    return temp + formatText("qvbench-intake-%lu", GetCurrentProcessId());
}

// Bytes of memory committed to this process alone (PrivateUsage; Wine fills in only PagefileUsage, which
// Windows sets to the same value).
double privateBytes() {
    PROCESS_MEMORY_COUNTERS_EX counters{};
    counters.cb = sizeof counters;
    GetProcessMemoryInfo(GetCurrentProcess(), reinterpret_cast<PROCESS_MEMORY_COUNTERS*>(&counters), sizeof counters);
    return static_cast<double>(counters.PagefileUsage);
}

int benchListing(const std::string& tree) {
    std::string program = scratchDirectory();
    if (!CreateDirectoryA(program.c_str(), nullptr)) {
        std::fprintf(stderr, "cannot make %s\n", program.c_str());
        return 1;
    }
    DecoderTable decoders;
    decoders.append({false, "wav", "", ""});
    decoders.append({true, "flac", program + "\\flac\\flac.exe", "-d -f -o {T} {F}"});
    DiagnosticLog withLog;
    withLog.setPaths(program + "\\System.log", program + "\\Detect.log");
    DiagnosticLog withoutLog;
    const struct {
        const char* name;
        const DiagnosticLog& log;
    } runs[] = {{"with System.log lines", withLog}, {"without log lines", withoutLog}};
    for (const auto& run : runs) {
        auto start = std::chrono::steady_clock::now();
        HandOffListing listing =
            listArguments({program, decoders, run.log, nullptr, GetCurrentProcessId()}, "\"" + tree + "\"");
        double seconds = secondsSince(start);
        std::printf("listing %-24s %8u files %8.2f s %10.0f files/s\n", run.name, listing.filesListed, seconds,
                    seconds > 0 ? listing.filesListed / seconds : 0.0);
        removeFile(listing.path);
    }
    std::error_code ignored;
    std::filesystem::remove_all(program, ignored);
    return 0;
}

// One queue size: the rows travel the way a second start's files do, through a hand-off file.
void benchQueueSize(const std::string& program, uint32_t rows) {
    std::string handOff = handOffFileName(program, 1, rows);
    {
        std::vector<QueueEntry> entries;
        entries.reserve(rows);
        for (uint32_t i = 0; i < rows; ++i)
            entries.push_back({formatText("C:\\Music\\Artist %04u\\Album\\%02u - Track title.flac", i / 12, i % 12),
                               "flac", 20000 + i % 30000});
        if (!writeFileAtomically(handOff, formatQueueFile(entries))) {
            std::fprintf(stderr, "cannot write %s\n", handOff.c_str());
            return;
        }
    }
    double memoryBefore = privateBytes();
    QueueStore store;
    auto start = std::chrono::steady_clock::now();
    HandOffIntake(program, [](const std::string&) {}).pickUp(store);
    double pickUp = secondsSince(start);
    removeFile(handOff);
    double bytesPerEntry = (privateBytes() - memoryBefore) / rows;

    std::string saved = program + "\\Queue.log";
    start = std::chrono::steady_clock::now();
    store.saveToFile(saved);
    double save = secondsSince(start);
    removeFile(saved);

    // Removal at the queue's full size, then from its second half: the same cost at every length.
    uint32_t sample = rows / 2 < 100000 ? rows / 2 : 100000;
    start = std::chrono::steady_clock::now();
    for (uint32_t i = 0; i < sample; ++i)
        store.removeHead();
    double removeFull = secondsSince(start) / sample;
    while (store.count() > static_cast<int32_t>(sample))
        store.removeHead();
    start = std::chrono::steady_clock::now();
    for (uint32_t i = 0; i < sample; ++i)
        store.removeHead();
    double removeSmall = secondsSince(start) / sample;

    std::printf("%9u %10.3f %10.0f %9.0f %10.3f %12.0f %12.0f\n", rows, pickUp, rows / pickUp, bytesPerEntry, save,
                removeFull * 1e9, removeSmall * 1e9);
}

int benchQueue(const std::vector<uint32_t>& sizes) {
    std::string program = scratchDirectory();
    if (!CreateDirectoryA(program.c_str(), nullptr)) {
        std::fprintf(stderr, "cannot make %s\n", program.c_str());
        return 1;
    }
    std::printf("%9s %10s %10s %9s %10s %12s %12s\n", "entries", "pick-up s", "rows/s", "B/entry", "save s",
                "remove ns", "remove ns");
    std::printf("%9s %10s %10s %9s %10s %12s %12s\n", "", "", "", "", "", "(full)", "(last ones)");
    for (uint32_t rows : sizes)
        benchQueueSize(program, rows);
    std::error_code ignored;
    std::filesystem::remove_all(program, ignored);
    return 0;
}

} // namespace

int main(int argc, char** argv) {
    std::string mode = argc > 1 ? argv[1] : "";
    if (mode == "listing" && argc == 3)
        return benchListing(argv[2]);
    if (mode == "queue" && argc > 2) {
        std::vector<uint32_t> sizes;
        for (int i = 2; i < argc; ++i)
            sizes.push_back(static_cast<uint32_t>(parseDecimal(argv[i])));
        return benchQueue(sizes);
    }
    std::fprintf(stderr, "usage: qvbench_intake listing TREE | queue N [N ...]\n");
    return 2;
}

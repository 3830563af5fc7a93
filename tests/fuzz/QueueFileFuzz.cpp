// libFuzzer target: "Queue.log" and hand-off file content through the parser and through QueueStore::loadFile.
#include "FuzzSupport.h"

#include "common/StateFile.h"
#include "common/Text.h"
#include "queue/QueueFile.h"
#include "queue/QueueStore.h"

#include <unistd.h>

#include <map>

using qvfuzz::require;

namespace {

std::string foldedAscii(std::string text) {
    for (char& c : text) {
        if (c >= 'A' && c <= 'Z')
            c = static_cast<char>(c - 'A' + 'a');
    }
    return text;
}

void checkFields(const std::vector<qv::QueueEntry>& entries) {
    for (const qv::QueueEntry& entry : entries) {
        require(entry.type.find_first_of("\t\r\n") == std::string::npos, "a type holds no tab or line end");
        require(entry.path.find_first_of("\t\r\n") == std::string::npos, "a path holds no tab or line end");
        require(entry.path.size() <= qv::kMaxDataLine, "a path fits one data line");
    }
}

// Rows this program wrote must read back as they were; rows longer than a data line cannot, and are left out.
void checkRoundTrip(const std::vector<qv::QueueEntry>& entries) {
    std::vector<qv::QueueEntry> fitting;
    for (const qv::QueueEntry& entry : entries) {
        if (qv::formatQueueRow(entry).size() <= qv::kMaxDataLine + 2)
            fitting.push_back(entry);
    }
    std::vector<qv::QueueEntry> back = qv::parseQueueFile(qv::formatQueueFile(fitting));
    require(back.size() == fitting.size(), "a written queue reads back with as many rows");
    for (std::size_t i = 0; i < back.size(); ++i) {
        require(back[i].path == fitting[i].path, "a written path reads back unchanged");
        require(back[i].type == fitting[i].type, "a written type reads back unchanged");
        require(back[i].sizeKb == fitting[i].sizeKb, "a written size reads back unchanged");
    }
}

// The store holds exactly the parsed rows, in order, with matching totals, and hands them all back out.
void checkStore(const std::string& content, const std::vector<qv::QueueEntry>& parsed) {
    static const std::string path = "fuzz-queue-" + std::to_string(getpid()) + ".log";
    std::FILE* file = std::fopen(path.c_str(), "wb");
    require(file != nullptr, "the scratch queue file can be created");
    require(std::fwrite(content.data(), 1, content.size(), file) == content.size(), "the scratch file is written");
    std::fclose(file);

    qv::QueueStore store;
    require(store.loadFile(path), "an existing queue file loads");
    std::FILE* left = std::fopen(path.c_str(), "rb");
    require(left == nullptr, "a loaded queue file is deleted");

    uint32_t totalKb = 0;
    std::map<std::string, uint32_t> perType;
    for (const qv::QueueEntry& entry : parsed) {
        totalKb += entry.sizeKb;
        ++perType[foldedAscii(entry.type)];
    }
    require(store.count() == static_cast<int32_t>(parsed.size()), "the store counts every row");
    require(store.totalSizeKb() == totalKb, "the store's total is the rows' sum");
    for (const auto& [type, count] : perType)
        require(store.typeCount(type) == count, "each type counts its rows, letter case aside");

    for (const qv::QueueEntry& expected : parsed) {
        qv::QueueEntry head;
        require(store.head(head), "a counted row is there to take");
        require(head.path == expected.path && head.type == expected.type && head.sizeKb == expected.sizeKb,
                "rows come out in file order, unchanged");
        store.removeHead();
    }
    require(store.isEmpty() && store.count() == 0 && store.totalSizeKb() == 0, "a drained store is empty");
    for (const auto& entry : perType)
        require(store.typeCount(entry.first) == 0 && store.typeSizeKb(entry.first) == 0,
                "a drained store keeps no per-type figures");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string content = qvfuzz::asText(data, size);
    const std::vector<qv::QueueEntry> entries = qv::parseQueueFile(content);
    checkFields(entries);
    checkRoundTrip(entries);
    checkStore(content, entries);
    return 0;
}

// libFuzzer target: "Queue.log" and hand-off file content through the parser and QueueStore::loadFile.
#include "FuzzSupport.h"

#include "common/StateFile.h"
#include "queue/QueueFile.h"
#include "queue/QueueStore.h"

#include <algorithm>
#include <tuple>
#include <unistd.h>

using qvfuzz::require;

namespace {

bool sameRows(const std::vector<qv::QueueEntry>& a, const std::vector<qv::QueueEntry>& b) {
    return std::equal(a.begin(), a.end(), b.begin(), b.end(), [](const qv::QueueEntry& x, const qv::QueueEntry& y) {
        return std::tie(x.path, x.type, x.sizeKb) == std::tie(y.path, y.type, y.sizeKb);
    });
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string content = qvfuzz::asText(data, size);
    const std::vector<qv::QueueEntry> parsed = qv::parseQueueFile(content);
    std::vector<qv::QueueEntry> fitting; // rows longer than a data line cannot read back
    uint32_t totalKb = 0;
    for (const qv::QueueEntry& entry : parsed) {
        require((entry.type + entry.path).find_first_of("\t\r\n") == std::string::npos,
                "fields hold no tab or line end");
        totalKb += entry.sizeKb;
        if (qv::formatQueueRow(entry).size() <= qv::kMaxDataLine + 2)
            fitting.push_back(entry);
    }
    require(sameRows(qv::parseQueueFile(qv::formatQueueFile(fitting)), fitting), "written rows read back unchanged");

    static const std::string path = "fuzz-queue-" + std::to_string(getpid()) + ".log";
    std::FILE* file = std::fopen(path.c_str(), "wb");
    require(file && std::fwrite(content.data(), 1, content.size(), file) == content.size(), "scratch file written");
    std::fclose(file);
    qv::QueueStore store;
    require(store.loadFile(path) && access(path.c_str(), F_OK) != 0, "a queue file loads and is deleted");
    require(store.count() == static_cast<int32_t>(parsed.size()) && store.totalSizeKb() == totalKb,
            "the store counts every row and sums their sizes");
    std::vector<qv::QueueEntry> drained;
    for (qv::QueueEntry head; store.head(head); store.removeHead())
        drained.push_back(head);
    require(sameRows(drained, parsed) && store.isEmpty() && store.totalSizeKb() == 0, "rows come out in file order");
    return 0;
}

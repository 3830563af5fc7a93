#include "queue/QueueFile.h"

#include "common/StateFile.h"
#include "common/Text.h"

namespace qv {

std::string formatQueueRow(const QueueEntry& entry) {
    return formatText("%d\t", static_cast<int>(entry.sizeKb)) + entry.type + "\t" + entry.path + "\r\n";
}

std::string queueFileFooter(std::size_t rowCount) {
    if (rowCount == 0)
        return "; No files in queue\r\n;\r\n";
    return ";\r\n" + formatText("; %d file%s listed\r\n", static_cast<int>(rowCount), rowCount > 1 ? "s" : "") +
           ";\r\n";
}

std::string formatQueueFile(const std::vector<QueueEntry>& entries) {
    std::string content = stateFileHeader();
    for (const QueueEntry& entry : entries)
        content += formatQueueRow(entry);
    return content + queueFileFooter(entries.size());
}

std::vector<QueueEntry> parseQueueFile(const std::string& content) {
    std::vector<QueueEntry> entries;
    for (const std::string& line : readDataLines(content, LineEnds::CrSkipsNext)) {
        std::size_t firstTab = line.find('\t');
        std::string first = line.substr(0, firstTab);
        QueueEntry entry;
        // The lister never writes a size outside 0 .. 2 GiB in kB; a hand-edited or damaged file could, and a
        // negative size would wrap the queue's totals round to four billion.
        const int32_t size = parseDecimal(first);
        entry.sizeKb = static_cast<uint32_t>(size < 0 ? 0 : (size > kMaxSizeKb ? kMaxSizeKb : size));
        if (firstTab == std::string::npos) {
            entry.type = first;
            entry.path = first;
        } else {
            std::size_t secondTab = line.find('\t', firstTab + 1);
            entry.type = line.substr(firstTab + 1,
                                     secondTab == std::string::npos ? std::string::npos : secondTab - firstTab - 1);
            entry.path = secondTab == std::string::npos ? first : line.substr(line.rfind('\t') + 1);
        }
        entries.push_back(std::move(entry));
    }
    return entries;
}

} // namespace qv

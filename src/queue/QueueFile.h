#pragma once
// The queue file format shared by "Queue.log" and the hand-off files: rows of size, type and path.
#include "engine/QueueEntry.h"

#include <string>
#include <vector>

namespace qv {

// "%d\t%s\t%s\r\n".
std::string formatQueueRow(const QueueEntry& entry);

// ";" then "; N file(s) listed", or "; No files in queue" without rows; then ";".
std::string queueFileFooter(std::size_t rowCount);

// Header, rows and footer of a whole queue file.
std::string formatQueueFile(const std::vector<QueueEntry>& entries);

// Rows of a queue file's content. A tab ends a field: the size runs to the first tab, the type from
// there to the next tab, the path from the last tab on; a missing field reads as the first field.
// Sizes are bounded to 0 .. kMaxSizeKb.
std::vector<QueueEntry> parseQueueFile(const std::string& content);

} // namespace qv

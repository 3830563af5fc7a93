#pragma once
// One hand-off file being written: it exists only under a temporary name until it is complete, so a pick-up
// never reads half a listing, and it never replaces a hand-off file that is still waiting.
#include "queue/QueueFile.h"
#include "win/Handles.h"

#include <cstdint>
#include <string>

namespace qv {

class HandOffFile {
public:
    // Forms the next name of this process in directory and creates the temporary file for it.
    HandOffFile(const std::string& directory, uint32_t processId);
    // An incomplete file is removed.
    ~HandOffFile();
    HandOffFile(const HandOffFile&) = delete;
    HandOffFile& operator=(const HandOffFile&) = delete;

    bool isOpen() const { return file_.valid(); }
    // The name the file takes when complete; complete() may move on to a later sequence number.
    const std::string& finalPath() const { return finalPath_; }
    const std::string& temporaryPath() const { return temporaryPath_; }

    void addRow(const QueueEntry& entry);
    // Writes the footer, closes the file and gives it its final name. False when anything failed; the
    // temporary file is then gone.
    [[nodiscard]] bool complete(uint32_t rowCount);

private:
    bool flush();

    std::string directory_;
    uint32_t processId_;
    std::string finalPath_;
    std::string temporaryPath_;
    win::UniqueHandle file_;
    std::string buffer_;
    bool failed_ = false;
};

} // namespace qv

#include "queue/win/HandOffFile.h"

#include "common/StateFile.h"
#include "queue/Listing.h"

#include <atomic>

namespace qv {

namespace {

// One counter per process, so a process never forms the same name twice.
uint32_t nextSequence() {
    static std::atomic<uint32_t> sequence{0};
    return ++sequence;
}

constexpr std::size_t kFlushSize = 64 * 1024;

// A waiting hand-off file of an earlier process with the same id is skipped rather than replaced; the bound
// only guards against a directory that refuses every name.
constexpr int kNameAttempts = 1000;

} // namespace

HandOffFile::HandOffFile(const std::string& directory, uint32_t processId)
    : directory_(directory), processId_(processId), finalPath_(handOffFileName(directory, processId, nextSequence())),
      temporaryPath_(handOffTemporaryName(finalPath_)) {
    file_.reset(
        CreateFileA(temporaryPath_.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS, FILE_ATTRIBUTE_NORMAL, nullptr));
    if (isOpen())
        buffer_ = stateFileHeader();
}

HandOffFile::~HandOffFile() {
    if (isOpen()) {
        file_.reset();
        DeleteFileA(temporaryPath_.c_str());
    }
}

void HandOffFile::addRow(const QueueEntry& entry) {
    if (!isOpen())
        return;
    buffer_ += formatQueueRow(entry);
    if (buffer_.size() >= kFlushSize)
        flush();
}

bool HandOffFile::flush() {
    const char* data = buffer_.data();
    std::size_t left = buffer_.size();
    while (left > 0 && !failed_) {
        DWORD written = 0;
        if (!WriteFile(file_.get(), data, static_cast<DWORD>(left), &written, nullptr) || written == 0)
            failed_ = true;
        data += written;
        left -= written;
    }
    buffer_.clear();
    return !failed_;
}

bool HandOffFile::complete(uint32_t rowCount) {
    if (!isOpen())
        return false;
    buffer_ += queueFileFooter(rowCount);
    bool written = flush();
    file_.reset();
    if (written) {
        for (int attempt = 0; attempt < kNameAttempts; ++attempt) {
            if (MoveFileA(temporaryPath_.c_str(), finalPath_.c_str()))
                return true;
            DWORD error = GetLastError();
            if (error != ERROR_ALREADY_EXISTS && error != ERROR_FILE_EXISTS)
                break;
            finalPath_ = handOffFileName(directory_, processId_, nextSequence());
        }
    }
    DeleteFileA(temporaryPath_.c_str());
    return false;
}

} // namespace qv

#pragma once
// Takes hand-off files into the queue so that each file's rows are queued once. A taken file is remembered by
// name, size and write time until it is gone from the directory, so one that cannot be deleted (held open,
// read-only) is not read again. It is deleted only after a saved queue holds its rows; that saved queue names
// it too, so a start after a crash between the save and the delete does not queue its rows a second time.
// The caller serializes every call with the saves of the queue.
#include "queue/QueueStore.h"

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

namespace qv {

// A half-written hand-off file this many seconds old belongs to a start that ended while listing.
inline constexpr int64_t kStalePartSeconds = 60;

class HandOffIntake {
public:
    // Told each line worth a System.log entry.
    using Reporter = std::function<void(const std::string&)>;

    HandOffIntake(std::string directory, Reporter report);

    // Reads the directory's hand-off files that were not taken yet into queue, in listing order, and retries
    // deleting taken files whose rows were saved. Returns how many files were read.
    int pickUp(QueueStore& queue);
    // True when a taken file waits for a saved queue to hold its rows.
    bool hasUnsaved() const;
    // Comment lines naming the taken files, for the saved queue.
    std::string takenLines() const;
    // Takes the files that a saved queue's content names as taken, their rows saved.
    void restoreTaken(const std::string& savedQueue);
    // The queue holding the rows of every taken file was saved, or erased at the user's word: deletes them.
    void queueSaved();
    // Removes hand-off files that starts which ended while listing left half-written: those unchanged for
    // kStalePartSeconds. A writer holds its file open without sharing, so a slow listing's file is not deleted.
    // Returns how many were removed.
    int removeStaleParts(int64_t nowSeconds);

private:
    struct Taken {
        std::string name;
        uint64_t size = 0;
        int64_t writeTime = 0;
        bool saved = false;
        bool deleted = false;
        bool failureReported = false;
    };

    void deleteSaved();

    std::string directory_;
    Reporter report_;
    std::vector<Taken> taken_;
};

} // namespace qv

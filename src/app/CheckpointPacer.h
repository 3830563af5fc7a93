#pragma once
// How often the queue and results may be saved. A checkpoint rewrites the whole queue file while the worker
// waits to record its next row; with a queue of a million entries that takes about a second, so saving every
// second would stall the worker. The pacer keeps saving to a tenth of the time at most; a crash then costs
// re-checking a few more files, never losing one.
#include <cstdint>

namespace qv {

class CheckpointPacer {
public:
    // Whether a checkpoint may save at nowMs (any monotonic millisecond clock).
    bool isDue(uint64_t nowMs) const { return nowMs >= nextDueMs_; }
    // A save ran from startMs to endMs: the next one waits nine times as long as it took.
    void saved(uint64_t startMs, uint64_t endMs);

    static constexpr uint64_t kQuietFactor = 9;

private:
    uint64_t nextDueMs_ = 0;
};

} // namespace qv

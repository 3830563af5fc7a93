#include "app/CheckpointPacer.h"

namespace qv {

void CheckpointPacer::saved(uint64_t startMs, uint64_t endMs) {
    // A clock that went back (it should not, but a wrong one must not stop saving for good) counts as free.
    uint64_t cost = endMs > startMs ? endMs - startMs : 0;
    nextDueMs_ = endMs + kQuietFactor * cost;
}

} // namespace qv

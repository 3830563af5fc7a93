#include "app/InstanceFreshness.h"

namespace qv {

uint32_t recordStamp(int64_t secondsSinceEpoch) {
    return static_cast<uint32_t>(secondsSinceEpoch);
}

bool isFreshStamp(uint32_t stamp, uint32_t now) {
    // The difference read as signed 32 bits is negative for a stamp in the future; as unsigned, that
    // is 2^31 or more, so one comparison covers both.
    uint32_t age = now - stamp;
    return stamp != 0 && age < kStaleAfterSeconds;
}

bool namesLiveInstance(uint32_t recordedProcessId, uint32_t ownProcessId, uint32_t stamp, uint32_t now) {
    return recordedProcessId != 0 && recordedProcessId != ownProcessId && isFreshStamp(stamp, now);
}

} // namespace qv

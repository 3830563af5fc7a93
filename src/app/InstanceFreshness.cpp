#include "app/InstanceFreshness.h"

namespace qv {

uint32_t recordStamp(int64_t secondsSinceEpoch) {
    return static_cast<uint32_t>(secondsSinceEpoch);
}

} // namespace qv

#include "ui/TotalEstimate.h"

namespace qv {

int32_t totalEstimate(const EstimateParts& parts) {
    int64_t remaining = 0;
    for (int32_t estimate : parts.queuedTypes) {
        if (estimate < 0)
            return estimate;
        remaining += estimate;
    }
    const int64_t total = remaining + parts.current;
    return total > INT32_MAX ? INT32_MAX : static_cast<int32_t>(total);
}

} // namespace qv

#include "ui/ConfigLimits.h"

namespace qv {

// Stored values come from the registry unchecked, so all arithmetic here is done in 64 bits.

SpinStep stepWithinRange(int32_t position, int32_t delta, ValueRange range) {
    return {range.clamp(static_cast<int64_t>(position) + delta), false};
}

SpinStep stepMaximumTotalPasses(int32_t position, int32_t delta, int32_t minimumValidPasses) {
    int64_t value = static_cast<int64_t>(position) + delta;
    int64_t floor = 2 * static_cast<int64_t>(minimumValidPasses);
    bool cancelled = value < floor;
    if (cancelled)
        value = floor;
    // The cap comes last: a hand-stored minimum above 20 must not push the maximum beyond what the spin offers.
    if (value > rangeOf(setting::kDetectMaximumTotalPasses).upper)
        value = rangeOf(setting::kDetectMaximumTotalPasses).upper;
    return {static_cast<int32_t>(value), cancelled};
}

SpinStep stepMinimumValidPasses(int32_t position, int32_t delta, int32_t maximumTotalPasses) {
    int64_t value = static_cast<int64_t>(position) + delta;
    int64_t ceiling = maximumTotalPasses / 2;
    bool cancelled = value > ceiling;
    if (cancelled)
        value = ceiling;
    if (value < rangeOf(setting::kDetectMinimumValidPasses).lower)
        value = rangeOf(setting::kDetectMinimumValidPasses).lower;
    return {static_cast<int32_t>(value), cancelled};
}

} // namespace qv

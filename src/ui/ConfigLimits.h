#pragma once
// The rules that keep a stepped setting in its range and the two pass counts consistent with each other while
// their spin controls are stepped.
#include "settings/Settings.h"

#include <cstdint>

namespace qv {

// The outcome of one spin step: the setting's new value, and whether the spin control must stay where it was.
struct SpinStep {
    int32_t value;
    bool cancelled;
};

// A plain stepped setting: the step goes through and the value is held within its range.
SpinStep stepWithinRange(int32_t position, int32_t delta, ValueRange range);

// Stepping below twice the minimum valid passes is refused and lands on that double; the result never exceeds 40.
SpinStep stepMaximumTotalPasses(int32_t position, int32_t delta, int32_t minimumValidPasses);

// Stepping above half the maximum total passes is refused and lands on that half; the result is never below 2.
SpinStep stepMinimumValidPasses(int32_t position, int32_t delta, int32_t maximumTotalPasses);

} // namespace qv

#pragma once
// What the configuration dialog lets the user choose: the range of each stepped setting, and the rules that keep
// the two pass counts consistent with each other while their spin controls are stepped.
#include <cstdint>

namespace qv {

struct ValueRange {
    int32_t lower;
    int32_t upper;

    constexpr int32_t clamp(int64_t value) const {
        return value < lower ? lower : (value > upper ? upper : static_cast<int32_t>(value));
    }
};

inline constexpr ValueRange kDivideCountExponentRange{3, 9};
inline constexpr ValueRange kDividePercentValueRange{25, 75};
inline constexpr ValueRange kMultiLinearLevelRange{1, 3};
inline constexpr ValueRange kMaximumTotalPassesRange{4, 40};
inline constexpr ValueRange kMinimumValidPassesRange{2, 20};
inline constexpr ValueRange kHistorySizeRange{1, 99};

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

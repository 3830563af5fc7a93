#include "ui/ConfigLimits.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>

using namespace qv;

namespace {

using Rule = SpinStep (*)(int32_t position, int32_t delta, int32_t other);

SpinStep maximum(int32_t position, int32_t delta, int32_t minimum) {
    return stepMaximumTotalPasses(position, delta, minimum);
}
SpinStep minimum(int32_t position, int32_t delta, int32_t maximum) {
    return stepMinimumValidPasses(position, delta, maximum);
}
SpinStep history(int32_t position, int32_t delta, int32_t) {
    return stepWithinRange(position, delta, rangeOf(setting::kHistorySize));
}
SpinStep exponent(int32_t position, int32_t delta, int32_t) {
    return stepWithinRange(position, delta, rangeOf(setting::kEtaDivideCountExponent));
}

constexpr int32_t kHuge = std::numeric_limits<int32_t>::max();

} // namespace

TEST(ConfigLimits, SpinStepsStayInRangeAndKeepThePassCountsConsistent) {
    struct Case {
        const char* what;
        Rule rule;
        int32_t position;
        int32_t delta;
        int32_t other; // the minimum valid passes for the maximum, and the other way round
        int32_t value;
        bool cancelled;
    };
    const Case cases[] = {
        {"maximum down below twice the minimum is refused", maximum, 12, -1, 6, 12, true},
        {"maximum down onto twice the minimum", maximum, 13, -1, 6, 12, false},
        {"maximum up from twice the minimum", maximum, 12, 1, 6, 13, false},
        {"maximum down from the spin's floor", maximum, 4, -1, 2, 4, true},
        {"maximum up at 40", maximum, 40, 1, 2, 40, false},
        {"an accelerated maximum step lands on the cap", maximum, 38, 5, 2, 40, false},
        {"a stored minimum above 20 still caps the maximum at 40", maximum, 40, -1, 25, 40, true},
        {"a huge stored minimum does not overflow", maximum, 40, -1, kHuge, 40, true},
        {"minimum up past half the maximum is refused", minimum, 6, 1, 12, 6, true},
        {"minimum up onto half the maximum", minimum, 5, 1, 12, 6, false},
        {"half of an odd maximum rounds down", minimum, 6, 1, 13, 6, true},
        {"minimum down below 2", minimum, 2, -1, 12, 2, false},
        {"a stored maximum below 4 still keeps the minimum at 2", minimum, 2, 1, 3, 2, true},
        {"history up from 99", history, 99, 1, 0, 99, false},
        {"history down from 1", history, 1, -1, 0, 1, false},
        {"a huge position does not overflow", history, kHuge, 1, 0, 99, false},
        // A stored exponent of 12 leaves its spin at the top of 3..9; the first step either way comes back in.
        {"exponent 12 stepped down", exponent, rangeOf(setting::kEtaDivideCountExponent).clamp(12), -1, 0, 8, false},
        {"exponent 12 stepped up", exponent, rangeOf(setting::kEtaDivideCountExponent).clamp(12), 1, 0, 9, false},
    };
    for (const Case& c : cases) {
        SpinStep step = c.rule(c.position, c.delta, c.other);
        EXPECT_EQ(step.value, c.value) << c.what;
        EXPECT_EQ(step.cancelled, c.cancelled) << c.what;
    }
}

#include "ui/ConfigLimits.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <utility>

using namespace qv;

TEST(ConfigLimits, SpinStepsStayInRangeAndKeepThePassCountsConsistent) {
    constexpr int32_t kHuge = std::numeric_limits<int32_t>::max();
    const int32_t storedExponent = rangeOf(setting::kEtaDivideCountExponent).clamp(12); // the spin's top
    struct Case {
        const char* what;
        setting::Index spin;
        int32_t position;
        int32_t delta;
        int32_t other; // the minimum valid passes for the maximum, and the other way round
        int32_t value;
        bool cancelled;
    };
    const Case cases[] = {
        {"maximum below twice the minimum", setting::kDetectMaximumTotalPasses, 12, -1, 6, 12, true},
        {"maximum onto twice the minimum", setting::kDetectMaximumTotalPasses, 13, -1, 6, 12, false},
        {"maximum up at 40", setting::kDetectMaximumTotalPasses, 40, 1, 2, 40, false},
        {"a huge stored minimum caps the maximum at 40", setting::kDetectMaximumTotalPasses, 40, -1, kHuge, 40, true},
        {"minimum past half the maximum", setting::kDetectMinimumValidPasses, 6, 1, 12, 6, true},
        {"minimum onto half the maximum", setting::kDetectMinimumValidPasses, 5, 1, 12, 6, false},
        {"half of an odd maximum rounds down", setting::kDetectMinimumValidPasses, 6, 1, 13, 6, true},
        {"minimum down below 2", setting::kDetectMinimumValidPasses, 2, -1, 12, 2, false},
        {"a stored maximum below 4 keeps the minimum at 2", setting::kDetectMinimumValidPasses, 2, 1, 3, 2, true},
        {"history up from 99", setting::kHistorySize, 99, 1, 0, 99, false},
        {"history down from 1", setting::kHistorySize, 1, -1, 0, 1, false},
        {"a huge position does not overflow", setting::kHistorySize, kHuge, 1, 0, 99, false},
        {"a stored exponent of 12 comes back in", setting::kEtaDivideCountExponent, storedExponent, -1, 0, 8, false},
    };
    for (const Case& c : cases) {
        const SpinStep step =
            c.spin == setting::kDetectMaximumTotalPasses   ? stepMaximumTotalPasses(c.position, c.delta, c.other)
            : c.spin == setting::kDetectMinimumValidPasses ? stepMinimumValidPasses(c.position, c.delta, c.other)
                                                           : stepWithinRange(c.position, c.delta, rangeOf(c.spin));
        EXPECT_EQ(std::make_pair(step.value, step.cancelled), std::make_pair(c.value, c.cancelled)) << c.what;
    }
}

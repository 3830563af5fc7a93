#include "app/InstanceFreshness.h"

#include <gtest/gtest.h>

#include <tuple>

using namespace qv;

TEST(InstanceFreshness, StampIsFreshForLessThanSixSecondsAcrossEveryWrap) {
    const uint32_t t = 1700000000;
    const std::tuple<uint32_t, uint32_t, bool> cases[] = {
        {t - 5, t, true},
        {t - 6, t, false},
        {t + 1, t, false}, // the clock was set back
        {0, t, false},
        {0, 3, false},                  // no record, even right after a wrap
        {0x7FFFFFFE, 0x80000002, true}, // 2038: the signed reading turns negative
        {0x7FFFFFFC, 0x80000002, false},
        {0x80000002, 0x7FFFFFFE, false},
        {0xFFFFFFFF, 3, true}, // 2106: the unsigned reading wraps
        {0xFFFFFFFD, 3, false},
        {3, 0xFFFFFFFF, false},
        {t - 0x80000000u, t, false}}; // half the range away counts as the future
    for (const auto& [stamp, now, fresh] : cases)
        EXPECT_EQ(isFreshStamp(stamp, now), fresh) << std::hex << stamp << " at " << now;
    EXPECT_EQ(recordStamp((int64_t{1} << 32) + (int64_t{1} << 31) + 5), 0x80000005u);
}

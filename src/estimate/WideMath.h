#pragma once
// 64-bit helpers for the statistics and the estimates: their 32-bit figures overflow in products for
// files near 2 GiB with long times, so intermediates are wide and results are brought back into 32 bits.
#include <cstdint>
#include <limits>

namespace qv {

inline int32_t clampToInt32(int64_t value) {
    if (value > std::numeric_limits<int32_t>::max())
        return std::numeric_limits<int32_t>::max();
    if (value < std::numeric_limits<int32_t>::min())
        return std::numeric_limits<int32_t>::min();
    return static_cast<int32_t>(value);
}

inline int64_t addSaturated(int64_t a, int64_t b) {
    if (b > 0 && a > std::numeric_limits<int64_t>::max() - b)
        return std::numeric_limits<int64_t>::max();
    if (b < 0 && a < std::numeric_limits<int64_t>::min() - b)
        return std::numeric_limits<int64_t>::min();
    return a + b;
}

} // namespace qv

#pragma once
// The persistent settings with their defaults. The shared group is read by the worker thread while the
// user-interface thread changes it, so each value is a single atomic 32-bit number.
#include <atomic>
#include <cstdint>

namespace qv {

inline constexpr int32_t kPriorityIdle = 89;
inline constexpr int32_t kPriorityBelow = 90;
inline constexpr int32_t kPriorityNormal = 91;
inline constexpr int32_t kPriorityAbove = 92;
inline constexpr int32_t kPriorityHigh = 93;

// Held by the application object, read by the worker, the result log and the estimates.
struct SharedSettings {
    std::atomic<int32_t> saveLogToDirectory{1};
    std::atomic<int32_t> savePercentToLogName{1};
    std::atomic<int32_t> saveFullDirectoryToLog{0};
    std::atomic<int32_t> alwaysOnTop{1};
    std::atomic<int32_t> divideCountExponent{6};
    std::atomic<int32_t> dividePercentValue{50};
    std::atomic<int32_t> multiLinearLevel{3};
    std::atomic<int32_t> maximumTotalPasses{12};
    std::atomic<int32_t> minimumValidPasses{2};
    std::atomic<int32_t> historySize{10};
    std::atomic<int32_t> limitHistory{1}; // the stored number, non-zero means on
    // Seconds after which a detector pass is ended and counts as a pass without a verdict; 0 turns it off.
    std::atomic<int32_t> detectPassTimeout{1800};
};

// Held by the status window, on the user-interface thread only.
struct WindowSettings {
    int32_t screenX = 600;
    int32_t screenY = 400;
    bool paused = false;
    bool startHidden = false;
    bool hidden = false;
    int32_t priority = kPriorityIdle;
    bool intelligentEstimate = false;
};

} // namespace qv

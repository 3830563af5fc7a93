#pragma once
// The persistent settings, their registry names and defaults. The shared group is read by the worker thread
// while the user-interface thread changes it, so each value is a single atomic 32-bit number.
#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>

namespace qv {

inline constexpr int32_t kPriorityIdle = 89;
inline constexpr int32_t kPriorityBelow = 90;
inline constexpr int32_t kPriorityNormal = 91;
inline constexpr int32_t kPriorityAbove = 92;
inline constexpr int32_t kPriorityHigh = 93;

// Every setting is stored as a number; booleans as 0 or 1, and only exactly 1 reads back as true.
struct SettingDefinition {
    const char* name;
    int32_t defaultValue;
};

// Indexes of kSettingsTable, in the order in which the settings are loaded and saved.
namespace setting {
enum Index : std::size_t {
    kScreenX,
    kScreenY,
    kPaused,
    kHidden,
    kPriority,
    kUseIntelligentEta,
    kSaveLogfileToDirectory,
    kSavePercentToLogfileName,
    kSaveFullDirectoryToLogfile,
    kStatusDialogAlwaysOnTop,
    kEtaDivideCountExponent,
    kEtaDividePercentValue,
    kEtaMultiLinearLevel,
    kDetectMaximumTotalPasses,
    kDetectMinimumValidPasses,
    kHistorySize,
    kLimitHistorySize,
    kDetectPassTimeout,
    kDetectParallelPasses,
    kCount
};
} // namespace setting

inline constexpr std::size_t kSettingCount = setting::kCount;

// The one place of the defaults: the structs below and the configuration dialog's values start from them.
inline constexpr std::array<SettingDefinition, kSettingCount> kSettingsTable = {{
    {"Screen X", 600},
    {"Screen Y", 400},
    {"Paused", 0},
    {"Hidden", 0},
    {"Priority", kPriorityIdle},
    {"Use Intelligent ETA", 0},
    {"Save Logfile To Directory", 1},
    {"Save Percent To Logfile Name", 1},
    {"Save Full Directory To Logfile", 0},
    {"Status Dialog Always On Top", 1},
    {"ETA Divide Count Exponent", 6},
    {"ETA Divide Percent Value", 50},
    {"ETA Multi Linear Level", 3},
    {"Detect Maximum Total Passes", 12},
    {"Detect Minimum Valid Passes", 2},
    {"History Size", 10},
    {"Limit History Size", 1},
    {"Detect Pass Timeout", 1800},
    {"Detect Parallel Passes", 0},
}};

constexpr int32_t defaultOf(setting::Index index) {
    return kSettingsTable[index].defaultValue;
}
constexpr bool defaultFlag(setting::Index index) {
    return kSettingsTable[index].defaultValue == 1;
}

// Held by the application object, read by the worker, the result log and the estimates.
struct SharedSettings {
    std::atomic<int32_t> saveLogToDirectory{defaultOf(setting::kSaveLogfileToDirectory)};
    std::atomic<int32_t> savePercentToLogName{defaultOf(setting::kSavePercentToLogfileName)};
    std::atomic<int32_t> saveFullDirectoryToLog{defaultOf(setting::kSaveFullDirectoryToLogfile)};
    std::atomic<int32_t> alwaysOnTop{defaultOf(setting::kStatusDialogAlwaysOnTop)};
    std::atomic<int32_t> divideCountExponent{defaultOf(setting::kEtaDivideCountExponent)};
    std::atomic<int32_t> dividePercentValue{defaultOf(setting::kEtaDividePercentValue)};
    std::atomic<int32_t> multiLinearLevel{defaultOf(setting::kEtaMultiLinearLevel)};
    std::atomic<int32_t> maximumTotalPasses{defaultOf(setting::kDetectMaximumTotalPasses)};
    std::atomic<int32_t> minimumValidPasses{defaultOf(setting::kDetectMinimumValidPasses)};
    std::atomic<int32_t> historySize{defaultOf(setting::kHistorySize)};
    std::atomic<int32_t> limitHistory{defaultOf(setting::kLimitHistorySize)}; // the stored number, non-zero means on
    // Seconds after which a detector pass is ended and counts as a pass without a verdict; 0 turns it off.
    std::atomic<int32_t> detectPassTimeout{defaultOf(setting::kDetectPassTimeout)};
    // How many passes of a file run side by side; 0 (or less): one per processor.
    std::atomic<int32_t> parallelPasses{defaultOf(setting::kDetectParallelPasses)};
};

// Held by the status window, on the user-interface thread only.
struct WindowSettings {
    int32_t screenX = defaultOf(setting::kScreenX);
    int32_t screenY = defaultOf(setting::kScreenY);
    bool paused = defaultFlag(setting::kPaused);
    bool startHidden = defaultFlag(setting::kHidden);
    bool hidden = false;
    int32_t priority = defaultOf(setting::kPriority);
    bool intelligentEstimate = defaultFlag(setting::kUseIntelligentEta);
};

} // namespace qv

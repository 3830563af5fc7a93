#pragma once
// The persistent settings. One table describes each of them (registry name, kind, default, range, the message
// that changes it) and drives loading, storing, the configuration dialog and the status window; adding a
// setting is one row here plus its control. The worker thread reads the values while the user-interface thread
// changes them, so each is a single atomic 32-bit number.
#include <array>
#include <atomic>
#include <cstddef>
#include <cstdint>
#include <limits>

namespace qv {

inline constexpr int32_t kPriorityIdle = 89;
inline constexpr int32_t kPriorityBelow = 90;
inline constexpr int32_t kPriorityNormal = 91;
inline constexpr int32_t kPriorityAbove = 92;
inline constexpr int32_t kPriorityHigh = 93;

struct ValueRange {
    int32_t lower;
    int32_t upper;

    constexpr bool contains(int64_t value) const { return value >= lower && value <= upper; }
    constexpr int32_t clamp(int64_t value) const {
        return value < lower ? lower : (value > upper ? upper : static_cast<int32_t>(value));
    }
};

inline constexpr ValueRange kAnyNumber{std::numeric_limits<int32_t>::min(), std::numeric_limits<int32_t>::max()};
inline constexpr ValueRange kFlagRange{0, 1};

struct SharedSettings {
    // Every setting at its default.
    SharedSettings();

    std::atomic<int32_t> screenX;
    std::atomic<int32_t> screenY;
    std::atomic<int32_t> paused;
    // Whether the window was hidden at exit; the window takes it at start as "start hidden".
    std::atomic<int32_t> hidden;
    std::atomic<int32_t> priority;
    std::atomic<int32_t> intelligentEstimate;
    std::atomic<int32_t> saveLogToDirectory;
    std::atomic<int32_t> savePercentToLogName;
    std::atomic<int32_t> saveFullDirectoryToLog;
    std::atomic<int32_t> alwaysOnTop;
    std::atomic<int32_t> divideCountExponent;
    std::atomic<int32_t> dividePercentValue;
    std::atomic<int32_t> multiLinearLevel;
    std::atomic<int32_t> maximumTotalPasses;
    std::atomic<int32_t> minimumValidPasses;
    std::atomic<int32_t> historySize;
    std::atomic<int32_t> limitHistory; // the stored number, non-zero means on
    // Seconds after which a detector pass is ended and counts as a pass without a verdict; 0 turns it off.
    std::atomic<int32_t> detectPassTimeout;
    // How many passes of a file run side by side; 0 (or less): one per processor.
    std::atomic<int32_t> parallelPasses;
};

enum SettingKind {
    kNumber, // kept as stored
    kFlag,   // 0 or 1; a stored value reads as 1 only when it is exactly 1
};

struct SettingDefinition {
    const char* name;
    SettingKind kind;
    int32_t defaultValue;
    // What a message may set; values read from the registry are taken unchecked.
    ValueRange range;
    // The status window's message that sets it, as an offset from WM_APP; 0 for none.
    uint32_t messageOffset;
    std::atomic<int32_t> SharedSettings::*value;
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

inline constexpr std::array<SettingDefinition, kSettingCount> kSettingsTable = {{
    {"Screen X", kNumber, 600, kAnyNumber, 0, &SharedSettings::screenX},
    {"Screen Y", kNumber, 400, kAnyNumber, 0, &SharedSettings::screenY},
    {"Paused", kFlag, 0, kFlagRange, 5, &SharedSettings::paused}, // its message toggles, whatever it carries
    {"Hidden", kFlag, 0, kFlagRange, 0, &SharedSettings::hidden},
    {"Priority", kNumber, kPriorityIdle, {kPriorityIdle, kPriorityHigh}, 6, &SharedSettings::priority},
    {"Use Intelligent ETA", kFlag, 0, kFlagRange, 11, &SharedSettings::intelligentEstimate},
    {"Save Logfile To Directory", kFlag, 1, kFlagRange, 7, &SharedSettings::saveLogToDirectory},
    {"Save Percent To Logfile Name", kFlag, 1, kFlagRange, 8, &SharedSettings::savePercentToLogName},
    {"Save Full Directory To Logfile", kFlag, 0, kFlagRange, 9, &SharedSettings::saveFullDirectoryToLog},
    {"Status Dialog Always On Top", kFlag, 1, kFlagRange, 10, &SharedSettings::alwaysOnTop},
    {"ETA Divide Count Exponent", kNumber, 6, {3, 9}, 12, &SharedSettings::divideCountExponent},
    {"ETA Divide Percent Value", kNumber, 50, {25, 75}, 14, &SharedSettings::dividePercentValue},
    {"ETA Multi Linear Level", kNumber, 3, {1, 3}, 13, &SharedSettings::multiLinearLevel},
    {"Detect Maximum Total Passes", kNumber, 12, {4, 40}, 15, &SharedSettings::maximumTotalPasses},
    {"Detect Minimum Valid Passes", kNumber, 2, {2, 20}, 16, &SharedSettings::minimumValidPasses},
    {"History Size", kNumber, 10, {1, 99}, 17, &SharedSettings::historySize},
    {"Limit History Size", kNumber, 1, kAnyNumber, 18, &SharedSettings::limitHistory},
    {"Detect Pass Timeout",
     kNumber,
     1800,
     {0, std::numeric_limits<int32_t>::max()},
     0,
     &SharedSettings::detectPassTimeout},
    {"Detect Parallel Passes", kNumber, 0, kAnyNumber, 0, &SharedSettings::parallelPasses},
}};

constexpr int32_t defaultOf(setting::Index index) {
    return kSettingsTable[index].defaultValue;
}
constexpr ValueRange rangeOf(setting::Index index) {
    return kSettingsTable[index].range;
}
constexpr uint32_t messageOffsetOf(setting::Index index) {
    return kSettingsTable[index].messageOffset;
}

inline SharedSettings::SharedSettings() {
    for (const SettingDefinition& row : kSettingsTable)
        (this->*row.value).store(row.defaultValue);
}

} // namespace qv

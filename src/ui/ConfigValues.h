#pragma once
// The settings the configuration dialog shows: the status window's own state and the shared settings, copied
// when the dialog opens.
#include "settings/Settings.h"

#include <cstdint>

namespace qv {

struct ConfigValues {
    int32_t priority = kPriorityIdle;
    bool paused = false;
    bool intelligentEstimate = false;
    bool saveLogToDirectory = true;
    bool savePercentToLogName = true;
    bool saveFullDirectoryToLog = false;
    bool alwaysOnTop = true;
    int32_t divideCountExponent = 6;
    int32_t dividePercentValue = 50;
    int32_t multiLinearLevel = 3;
    int32_t maximumTotalPasses = 12;
    int32_t minimumValidPasses = 2;
    int32_t historySize = 10;
    int32_t limitHistory = 1; // the stored number, non-zero means on
};

ConfigValues configValuesFrom(const WindowSettings& window, const SharedSettings& shared);

} // namespace qv

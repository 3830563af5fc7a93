#pragma once
// The settings the configuration dialog shows: the status window's own state and the shared settings, copied
// when the dialog opens.
#include "settings/Settings.h"

#include <cstdint>

namespace qv {

struct ConfigValues {
    int32_t priority = defaultOf(setting::kPriority);
    bool paused = defaultFlag(setting::kPaused);
    bool intelligentEstimate = defaultFlag(setting::kUseIntelligentEta);
    bool saveLogToDirectory = defaultFlag(setting::kSaveLogfileToDirectory);
    bool savePercentToLogName = defaultFlag(setting::kSavePercentToLogfileName);
    bool saveFullDirectoryToLog = defaultFlag(setting::kSaveFullDirectoryToLogfile);
    bool alwaysOnTop = defaultFlag(setting::kStatusDialogAlwaysOnTop);
    int32_t divideCountExponent = defaultOf(setting::kEtaDivideCountExponent);
    int32_t dividePercentValue = defaultOf(setting::kEtaDividePercentValue);
    int32_t multiLinearLevel = defaultOf(setting::kEtaMultiLinearLevel);
    int32_t maximumTotalPasses = defaultOf(setting::kDetectMaximumTotalPasses);
    int32_t minimumValidPasses = defaultOf(setting::kDetectMinimumValidPasses);
    int32_t historySize = defaultOf(setting::kHistorySize);
    int32_t limitHistory = defaultOf(setting::kLimitHistorySize); // the stored number, non-zero means on
};

ConfigValues configValuesFrom(const WindowSettings& window, const SharedSettings& shared);

} // namespace qv

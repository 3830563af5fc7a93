#include "settings/SettingsTable.h"

namespace qv {

namespace {

bool isOne(int32_t value) {
    return value == 1;
}
int32_t asNumber(bool value) {
    return value ? 1 : 0;
}

} // namespace

void applyStoredValues(const SettingValues& stored, WindowSettings& window, SharedSettings& shared,
                       StatisticsScaling& statistics) {
    window.screenX = stored[setting::kScreenX];
    window.screenY = stored[setting::kScreenY];
    window.paused = isOne(stored[setting::kPaused]);
    window.startHidden = isOne(stored[setting::kHidden]);
    window.priority = stored[setting::kPriority];
    window.intelligentEstimate = isOne(stored[setting::kUseIntelligentEta]);
    shared.saveLogToDirectory = asNumber(isOne(stored[setting::kSaveLogfileToDirectory]));
    shared.savePercentToLogName = asNumber(isOne(stored[setting::kSavePercentToLogfileName]));
    shared.saveFullDirectoryToLog = asNumber(isOne(stored[setting::kSaveFullDirectoryToLogfile]));
    shared.alwaysOnTop = asNumber(isOne(stored[setting::kStatusDialogAlwaysOnTop]));
    shared.divideCountExponent = stored[setting::kEtaDivideCountExponent];
    shared.dividePercentValue = stored[setting::kEtaDividePercentValue];
    shared.multiLinearLevel = stored[setting::kEtaMultiLinearLevel];
    shared.maximumTotalPasses = stored[setting::kDetectMaximumTotalPasses];
    shared.minimumValidPasses = stored[setting::kDetectMinimumValidPasses];
    shared.historySize = stored[setting::kHistorySize];
    shared.limitHistory = stored[setting::kLimitHistorySize];
    shared.detectPassTimeout = stored[setting::kDetectPassTimeout];
    shared.parallelPasses = stored[setting::kDetectParallelPasses];
    statistics.divideCountExponent = stored[setting::kEtaDivideCountExponent];
    statistics.dividePercentValue = stored[setting::kEtaDividePercentValue];
}

SettingValues valuesToStore(const WindowSettings& window, const SharedSettings& shared) {
    SettingValues values{};
    values[setting::kScreenX] = window.screenX;
    values[setting::kScreenY] = window.screenY;
    values[setting::kPaused] = asNumber(window.paused);
    values[setting::kHidden] = asNumber(window.hidden);
    values[setting::kPriority] = window.priority;
    values[setting::kUseIntelligentEta] = asNumber(window.intelligentEstimate);
    values[setting::kSaveLogfileToDirectory] = asNumber(shared.saveLogToDirectory.load() != 0);
    values[setting::kSavePercentToLogfileName] = asNumber(shared.savePercentToLogName.load() != 0);
    values[setting::kSaveFullDirectoryToLogfile] = asNumber(shared.saveFullDirectoryToLog.load() != 0);
    values[setting::kStatusDialogAlwaysOnTop] = asNumber(shared.alwaysOnTop.load() != 0);
    values[setting::kEtaDivideCountExponent] = shared.divideCountExponent.load();
    values[setting::kEtaDividePercentValue] = shared.dividePercentValue.load();
    values[setting::kEtaMultiLinearLevel] = shared.multiLinearLevel.load();
    values[setting::kDetectMaximumTotalPasses] = shared.maximumTotalPasses.load();
    values[setting::kDetectMinimumValidPasses] = shared.minimumValidPasses.load();
    values[setting::kHistorySize] = shared.historySize.load();
    values[setting::kLimitHistorySize] = shared.limitHistory.load();
    values[setting::kDetectPassTimeout] = shared.detectPassTimeout.load();
    values[setting::kDetectParallelPasses] = shared.parallelPasses.load();
    return values;
}

} // namespace qv

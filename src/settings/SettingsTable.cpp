#include "settings/SettingsTable.h"

namespace qv {

namespace {

enum Index : std::size_t {
    ScreenX,
    ScreenY,
    Paused,
    Hidden,
    Priority,
    UseIntelligentEta,
    SaveLogfileToDirectory,
    SavePercentToLogfileName,
    SaveFullDirectoryToLogfile,
    StatusDialogAlwaysOnTop,
    EtaDivideCountExponent,
    EtaDividePercentValue,
    EtaMultiLinearLevel,
    DetectMaximumTotalPasses,
    DetectMinimumValidPasses,
    HistorySize,
    LimitHistorySize,
    DetectPassTimeout,
};

bool isOne(int32_t value) {
    return value == 1;
}
int32_t asNumber(bool value) {
    return value ? 1 : 0;
}

} // namespace

const std::array<SettingDefinition, kSettingCount> kSettingsTable = {{
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
}};

void applyStoredValues(const SettingValues& stored, WindowSettings& window, SharedSettings& shared,
                       StatisticsScaling& statistics) {
    window.screenX = stored[ScreenX];
    window.screenY = stored[ScreenY];
    window.paused = isOne(stored[Paused]);
    window.startHidden = isOne(stored[Hidden]);
    window.priority = stored[Priority];
    window.intelligentEstimate = isOne(stored[UseIntelligentEta]);
    shared.saveLogToDirectory = asNumber(isOne(stored[SaveLogfileToDirectory]));
    shared.savePercentToLogName = asNumber(isOne(stored[SavePercentToLogfileName]));
    shared.saveFullDirectoryToLog = asNumber(isOne(stored[SaveFullDirectoryToLogfile]));
    shared.alwaysOnTop = asNumber(isOne(stored[StatusDialogAlwaysOnTop]));
    shared.divideCountExponent = stored[EtaDivideCountExponent];
    shared.dividePercentValue = stored[EtaDividePercentValue];
    shared.multiLinearLevel = stored[EtaMultiLinearLevel];
    shared.maximumTotalPasses = stored[DetectMaximumTotalPasses];
    shared.minimumValidPasses = stored[DetectMinimumValidPasses];
    shared.historySize = stored[HistorySize];
    shared.limitHistory = stored[LimitHistorySize];
    shared.detectPassTimeout = stored[DetectPassTimeout];
    statistics.divideCountExponent = stored[EtaDivideCountExponent];
    statistics.dividePercentValue = stored[EtaDividePercentValue];
}

SettingValues valuesToStore(const WindowSettings& window, const SharedSettings& shared) {
    SettingValues values{};
    values[ScreenX] = window.screenX;
    values[ScreenY] = window.screenY;
    values[Paused] = asNumber(window.paused);
    values[Hidden] = asNumber(window.hidden);
    values[Priority] = window.priority;
    values[UseIntelligentEta] = asNumber(window.intelligentEstimate);
    values[SaveLogfileToDirectory] = asNumber(shared.saveLogToDirectory.load() != 0);
    values[SavePercentToLogfileName] = asNumber(shared.savePercentToLogName.load() != 0);
    values[SaveFullDirectoryToLogfile] = asNumber(shared.saveFullDirectoryToLog.load() != 0);
    values[StatusDialogAlwaysOnTop] = asNumber(shared.alwaysOnTop.load() != 0);
    values[EtaDivideCountExponent] = shared.divideCountExponent.load();
    values[EtaDividePercentValue] = shared.dividePercentValue.load();
    values[EtaMultiLinearLevel] = shared.multiLinearLevel.load();
    values[DetectMaximumTotalPasses] = shared.maximumTotalPasses.load();
    values[DetectMinimumValidPasses] = shared.minimumValidPasses.load();
    values[HistorySize] = shared.historySize.load();
    values[LimitHistorySize] = shared.limitHistory.load();
    values[DetectPassTimeout] = shared.detectPassTimeout.load();
    return values;
}

} // namespace qv

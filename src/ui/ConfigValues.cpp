#include "ui/ConfigValues.h"

namespace qv {

ConfigValues configValuesFrom(const WindowSettings& window, const SharedSettings& shared) {
    ConfigValues values;
    values.priority = window.priority;
    values.paused = window.paused;
    values.intelligentEstimate = window.intelligentEstimate;
    values.saveLogToDirectory = shared.saveLogToDirectory.load() != 0;
    values.savePercentToLogName = shared.savePercentToLogName.load() != 0;
    values.saveFullDirectoryToLog = shared.saveFullDirectoryToLog.load() != 0;
    values.alwaysOnTop = shared.alwaysOnTop.load() != 0;
    values.divideCountExponent = shared.divideCountExponent.load();
    values.dividePercentValue = shared.dividePercentValue.load();
    values.multiLinearLevel = shared.multiLinearLevel.load();
    values.maximumTotalPasses = shared.maximumTotalPasses.load();
    values.minimumValidPasses = shared.minimumValidPasses.load();
    values.historySize = shared.historySize.load();
    values.limitHistory = shared.limitHistory.load();
    return values;
}

} // namespace qv

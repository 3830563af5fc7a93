#include "ui/StatusTexts.h"

#include "common/Text.h"

namespace qv {

std::string queueFieldText(int32_t count) {
    return count == 0 ? std::string("Empty") : fileCountText(count);
}

std::string sizeFieldText(uint32_t sizeKb) {
    return sizeKb > 0 ? formatText("%d kB", static_cast<int>(sizeKb)) : std::string("N/A");
}

std::string percentFieldText(int32_t average) {
    return average < 0 ? std::string("N/A") : formatText("%d%%", average);
}

std::string workerStateText(WorkerState state) {
    switch (state.phase) {
    case WorkerPhase::Decompressing:
        return "Decompressing";
    case WorkerPhase::Detecting:
        if (state.lastPass > state.pass)
            return formatText("Checking (Pass %d-%d)", state.pass, state.lastPass);
        return formatText("Checking (Pass %d)", state.pass);
    case WorkerPhase::Idle:
        break;
    }
    return "Idle";
}

std::string trayTipText(WorkerState state, const std::string& currentFile, bool paused) {
    const std::string status = workerStateText(state);
    std::string tip;
    if (currentFile.empty() || currentFile == "N/A" || (!paused && state.phase == WorkerPhase::Idle))
        tip = status;
    else if (paused)
        tip = "Paused: " + fileNamePart(currentFile);
    else
        tip = status + ": " + fileNamePart(currentFile);
    if (tip.size() > kTrayTipLength)
        tip.resize(kTrayTipLength);
    return tip;
}

} // namespace qv

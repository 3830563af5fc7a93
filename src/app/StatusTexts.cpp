#include "app/StatusTexts.h"

#include "common/Text.h"

namespace qv {

std::string queueFieldText(int32_t count) {
    if (count == 0)
        return "Empty";
    return formatText("%d file%s", count, count == 1 ? "" : "s");
}

std::string sizeFieldText(uint32_t sizeKb) {
    return sizeKb > 0 ? formatText("%d kB", static_cast<int>(sizeKb)) : std::string("N/A");
}

std::string percentFieldText(int32_t average) { return average < 0 ? std::string("N/A") : formatText("%d%%", average); }

std::string trayTipText(const std::string& statusText, const std::string& currentFile, bool paused) {
    std::string name = fileNamePart(currentFile);
    std::string tip;
    if (currentFile.empty() || currentFile == "N/A")
        tip = statusText;
    else if (paused)
        tip = "Paused: " + name;
    else if (statusText.empty())
        tip = name;
    else if (equalsIgnoreCase(statusText, "Idle"))
        tip = statusText;
    else
        tip = statusText + ": " + name;
    if (tip.size() > kTrayTipLength)
        tip.resize(kTrayTipLength);
    return tip;
}

} // namespace qv

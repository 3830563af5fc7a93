#include "ui/PercentRows.h"

#include "common/Text.h"

namespace qv {

std::string rowNumberText(std::size_t row) {
    return formatText("%02lu", static_cast<unsigned long>(row + 1));
}

std::string percentCellText(int32_t percent) {
    return percent > 0 ? formatText("%3d%%", static_cast<int>(percent)) : std::string(" N/A");
}

} // namespace qv

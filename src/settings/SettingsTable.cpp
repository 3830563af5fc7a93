#include "settings/SettingsTable.h"

namespace qv {

int32_t loadedValue(const SettingDefinition& row, int32_t stored) {
    if (row.kind == kFlag)
        return stored == 1 ? 1 : 0;
    return stored;
}

std::optional<int32_t> acceptedValue(const SettingDefinition& row, int32_t carried) {
    if (row.kind == kFlag)
        return carried != 0 ? 1 : 0;
    if (!row.range.contains(carried))
        return std::nullopt;
    return carried;
}

std::optional<setting::Index> settingOfMessage(uint32_t offset) {
    for (std::size_t i = 0; i < kSettingCount; ++i) {
        if (offset != 0 && kSettingsTable[i].messageOffset == offset)
            return static_cast<setting::Index>(i);
    }
    return std::nullopt;
}

SettingValues currentValues(const SharedSettings& settings) {
    SettingValues values{};
    for (std::size_t i = 0; i < kSettingCount; ++i)
        values[i] = (settings.*kSettingsTable[i].value).load();
    return values;
}

} // namespace qv

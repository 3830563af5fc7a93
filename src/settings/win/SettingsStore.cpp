#include "settings/win/SettingsStore.h"

namespace qv {

void loadSettings(const RegistryKey& key, WindowSettings& window, SharedSettings& shared,
                  StatisticsScaling& statistics) {
    // Deleting under the root actually in use: the other root is either not writable (that is why it was
    // passed over) or holds another configuration that is not ours to clean.
    if (key.isOpen()) {
        for (const char* subkey : kObsoleteSubkeys)
            deleteSubkey(key.root(), key.path() + subkey);
    }
    SettingValues stored{};
    for (std::size_t i = 0; i < kSettingCount; ++i)
        stored[i] = key.readNumber(kSettingsTable[i].name, kSettingsTable[i].defaultValue);
    applyStoredValues(stored, window, shared, statistics);
}

void saveSettings(RegistryKey& key, const WindowSettings& window, const SharedSettings& shared) {
    SettingValues values = valuesToStore(window, shared);
    for (std::size_t i = 0; i < kSettingCount; ++i)
        key.writeNumber(kSettingsTable[i].name, values[i]);
}

} // namespace qv

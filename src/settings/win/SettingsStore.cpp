#include "settings/win/SettingsStore.h"

namespace qv {

void loadSettings(const RegistryKey& key, SharedSettings& settings) {
    // Deleting under the root actually in use: the other root is either not writable (that is why it was
    // passed over) or holds another configuration that is not ours to clean.
    if (key.isOpen()) {
        for (const char* subkey : kObsoleteSubkeys)
            deleteSubkey(key.root(), key.path() + subkey);
    }
    for (const SettingDefinition& row : kSettingsTable)
        (settings.*row.value).store(loadedValue(row, key.readNumber(row.name, row.defaultValue)));
}

void saveSettings(RegistryKey& key, const SharedSettings& settings) {
    for (const SettingDefinition& row : kSettingsTable)
        key.writeNumber(row.name, (settings.*row.value).load());
}

} // namespace qv

#pragma once
// Loading and saving the settings through the status window's registry key.
#include "settings/Settings.h"
#include "settings/SettingsTable.h"
#include "settings/win/RegistryKey.h"

namespace qv {

// Deletes the obsolete subkeys beside the key (under the root it was opened in), then reads every setting in
// table order; each missing or unreadable value takes its default.
void loadSettings(const RegistryKey& key, SharedSettings& settings);

// Writes every setting back in table order; does nothing when the key is not open.
void saveSettings(RegistryKey& key, const SharedSettings& settings);

} // namespace qv

#pragma once
// How the registry values behind the settings (named in kSettingsTable) map onto the settings structs.
#include "settings/Settings.h"

#include <array>
#include <cstddef>
#include <cstdint>

namespace qv {

using SettingValues = std::array<int32_t, kSettingCount>;

// The statistics keep their own copies of these two, taken at load.
struct StatisticsScaling {
    int32_t divideCountExponent = defaultOf(setting::kEtaDivideCountExponent);
    int32_t dividePercentValue = defaultOf(setting::kEtaDividePercentValue);
};

// Stores values read in table order into the settings, booleans normalised. "Hidden" becomes start hidden.
void applyStoredValues(const SettingValues& stored, WindowSettings& window, SharedSettings& shared,
                       StatisticsScaling& statistics);

// The values to write back, in table order. "Hidden" comes from hidden, not from start hidden.
SettingValues valuesToStore(const WindowSettings& window, const SharedSettings& shared);

// Subkeys of the program's key that earlier versions left behind; deleted at every start.
inline constexpr std::array<const char*, 3> kObsoleteSubkeys = {"\\ETA", "\\Queue", "\\Recent"};

// Values kept by other parts of the program, named here so that the whole key is described in one place.
inline constexpr const char* kValuePercentWindowX = "Percent Window X";
inline constexpr const char* kValuePercentWindowY = "Percent Window Y";
inline constexpr const char* kValuePercentWindowWidth = "Percent Window Width";
inline constexpr const char* kValuePercentWindowHeight = "Percent Window Height";
inline constexpr const char* kValuePercentWindowNumberWidth = "Percent Window # Width";
inline constexpr const char* kValuePercentWindowNameWidth = "Percent Window Name Width";
inline constexpr const char* kValuePercentWindowPercentWidth = "Percent Window % Width";
inline constexpr const char* kValueStatusDialogId = "Status Dialog ID";
inline constexpr const char* kValueProcessTimestamp = "Process Timestamp";
inline constexpr const char* kValueProcessId = "Process ID";
inline constexpr const char* kValueProgramVersion = "Program Version";
inline constexpr const char* kValueProgramHomeDirectory = "Program Home Directory";

} // namespace qv

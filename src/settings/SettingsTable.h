#pragma once
// How stored values and messages become setting values, and the other values of the program's registry key.
#include "settings/Settings.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <optional>

namespace qv {

using SettingValues = std::array<int32_t, kSettingCount>;

// The value a setting takes from what the registry holds: a flag is on only for exactly 1.
int32_t loadedValue(const SettingDefinition& row, int32_t stored);

// The value a setting takes from what its message carries: a flag is on for anything but 0; a number outside the
// setting's range is refused.
std::optional<int32_t> acceptedValue(const SettingDefinition& row, int32_t carried);

// The setting that the message WM_APP + offset sets, if any.
std::optional<setting::Index> settingOfMessage(uint32_t offset);

// Every setting's current value, in table order.
SettingValues currentValues(const SharedSettings& settings);

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

#pragma once
// The product's name and version as they appear in captions, logs and state files.

namespace qv {

inline constexpr const char* kProductName = "Quorvane";
inline constexpr const char* kVersion = "v0.33";
inline constexpr const char* kVersionBanner = "v0.33 *** BETA ***";
inline constexpr const char* kRegistryKeyPath = "SOFTWARE\\Quorvane";

} // namespace qv

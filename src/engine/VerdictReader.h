#pragma once
// Reads the detector's verdict from what it printed: the first line that starts with one of the three
// verdict prefixes decides.
#include <cstdint>
#include <optional>
#include <string>

namespace qv {

inline constexpr const char* kCddaPrefix = "This track looks like CDDA with probability ";
inline constexpr const char* kMpegPrefix = "This track looks like MPEG with probability ";
inline constexpr const char* kUnqualifiedPrefix = "Could not qualify the source of this track";

// The CDDA percentage of the first verdict line (an MPEG verdict counts as its complement to 100, held to the
// 32-bit maximum), or nothing when the first verdict line says the track could not be qualified, or there is none.
std::optional<int32_t> readVerdict(const std::string& detectorOutput);

} // namespace qv

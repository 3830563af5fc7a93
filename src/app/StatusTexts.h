#pragma once
// The texts of the status window's fields and of the tray tip, from plain values.
#include <cstdint>
#include <string>

namespace qv {

// "Empty", "1 file", "%d files".
std::string queueFieldText(int32_t count);
// "%d kB", or "N/A" for 0.
std::string sizeFieldText(uint32_t sizeKb);
// "%d%%", or "N/A" without an average.
std::string percentFieldText(int32_t average);

// The tray tip: the first rule that applies, cut to 63 characters.
std::string trayTipText(const std::string& statusText, const std::string& currentFile, bool paused);

inline constexpr std::size_t kTrayTipLength = 63;

} // namespace qv

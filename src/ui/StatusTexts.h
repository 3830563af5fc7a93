#pragma once
// The texts of the status window's fields and of the tray tip, from plain values.
#include "engine/WorkerPhase.h"

#include <cstdint>
#include <string>

namespace qv {

// "Empty", "1 file", "%d files".
std::string queueFieldText(int32_t count);
// "%d kB", or "N/A" for 0.
std::string sizeFieldText(uint32_t sizeKb);
// "%d%%", or "N/A" without an average.
std::string percentFieldText(int32_t average);
// "Idle", "Decompressing", "Checking (Pass %d)", "Checking (Pass %d-%d)" while passes run side by side.
std::string workerStateText(WorkerState state);

// The tray tip has room for this many characters.
inline constexpr std::size_t kTrayTipLength = 63;

// The tray tip: the first rule that applies, cut to kTrayTipLength characters.
std::string trayTipText(WorkerState state, const std::string& currentFile, bool paused);

} // namespace qv

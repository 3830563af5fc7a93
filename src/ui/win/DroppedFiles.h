#pragma once
// Files and directories dropped on the status window.
#include <windows.h>
#include <shellapi.h>

#include <functional>
#include <string>

namespace qv {

// Calls queueOne with each dropped item, in drop order, as a quoted argument text, then releases the drop.
// Each item thus makes and consumes a hand-off file of its own.
void queueDroppedFiles(HDROP drop, const std::function<void(const std::string& argumentText)>& queueOne);

} // namespace qv

#pragma once
// Window messages of the status window. Other processes may post some of these, so the numbers are fixed; those
// that change a setting are numbered in the settings table.
#include "settings/Settings.h"

#include <windows.h>

namespace qv {

enum : UINT {
    WM_APP_TRAY = WM_APP + 1,
    WM_APP_CONFIRM_EXIT = WM_APP + 2,
    WM_APP_SHOW_ABOUT = WM_APP + 3,
    WM_APP_SHOW_WINDOW = WM_APP + 4,
    WM_APP_RESULTS_CHANGED = WM_APP + 19,
    WM_APP_QUEUE_COUNT = WM_APP + 22,
    WM_APP_PICKUP_QUEUE_FILES = WM_APP + 23,
    // Internal: the worker's latest status text is waiting to be shown (the text itself is held by the
    // status window, so posts coalesce and nothing is allocated per message).
    WM_APP_STATUS_TEXT = WM_APP + 64,
};

// The message that sets a setting; it carries the new value in wParam.
constexpr UINT settingMessage(setting::Index index) {
    return WM_APP + messageOffsetOf(index);
}

} // namespace qv

#pragma once
// Window messages of the status window. Other processes may post some of these, so the numbers are fixed.
#include <windows.h>

namespace qv {

enum : UINT {
    WM_APP_TRAY = WM_APP + 1,
    WM_APP_CONFIRM_EXIT = WM_APP + 2,
    WM_APP_SHOW_ABOUT = WM_APP + 3,
    WM_APP_SHOW_WINDOW = WM_APP + 4,
    WM_APP_TOGGLE_PAUSE = WM_APP + 5,
    WM_APP_SET_PRIORITY = WM_APP + 6,
    WM_APP_SET_SAVE_LOG = WM_APP + 7,
    WM_APP_SET_PERCENT_IN_NAME = WM_APP + 8,
    WM_APP_SET_FULL_DIRECTORY = WM_APP + 9,
    WM_APP_SET_ON_TOP = WM_APP + 10,
    WM_APP_SET_INTELLIGENT_ETA = WM_APP + 11,
    WM_APP_SET_DIVIDE_EXPONENT = WM_APP + 12,
    WM_APP_SET_MULTI_LINEAR_LEVEL = WM_APP + 13,
    WM_APP_SET_DIVIDE_PERCENT = WM_APP + 14,
    WM_APP_SET_MAX_PASSES = WM_APP + 15,
    WM_APP_SET_MIN_VALID_PASSES = WM_APP + 16,
    WM_APP_SET_HISTORY_SIZE = WM_APP + 17,
    WM_APP_SET_LIMIT_HISTORY = WM_APP + 18,
    WM_APP_RESULTS_CHANGED = WM_APP + 19,
    WM_APP_QUEUE_COUNT = WM_APP + 22,
    WM_APP_PICKUP_QUEUE_FILES = WM_APP + 23,
    // Internal: the worker's latest status text is waiting to be shown (the text itself is held by the
    // status window, so posts coalesce and nothing is allocated per message).
    WM_APP_STATUS_TEXT = WM_APP + 64,
};

} // namespace qv

#pragma once
// The notification-area icon shown while the status window is hidden, and its popup menu.
#include "settings/Settings.h"
#include "win/Handles.h"

#include <shellapi.h>
#include <string>

namespace qv {

// Menu commands; the priority commands are also the stored priority levels.
enum TrayCommand : UINT {
    kTrayExit = 85,
    kTrayAbout = 86,
    kTrayShowHide = 87,
    kTrayPause = 88,
    kTrayPriorityIdle = kPriorityIdle,
    kTrayPriorityHigh = kPriorityHigh,
};

class TrayIcon {
public:
    // The record describes the icon for owner; nothing is shown until add.
    void prepare(HWND owner, UINT id, UINT callbackMessage, HICON icon);
    // Adding a present icon or removing an absent one does nothing.
    void add();
    void remove();
    // After the taskbar was created anew, which holds none of the old icons: adds the icon again if it was shown.
    void restore();
    void setTip(const std::string& tip);
    bool shown() const { return shown_; }

private:
    NOTIFYICONDATAA data_{};
    bool shown_ = false;
};

class TrayMenu {
public:
    void build(int priority, bool paused);
    void markPriority(int priority);
    void markPaused(bool paused);
    // Item 87 reads "Show" while the window is hidden and "Hide" while it is shown.
    void setWindowHidden(bool hidden);
    // Tracks the menu with point as its bottom-right corner; returns the chosen command or 0.
    UINT track(HWND owner, POINT point) const;
    HMENU handle() const { return menu_.get(); }

private:
    win::UniqueMenu menu_;
};

} // namespace qv

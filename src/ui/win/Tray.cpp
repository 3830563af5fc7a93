#include "ui/win/Tray.h"

#include "ui/StatusTexts.h"

#include <cstring>

namespace qv {

void TrayIcon::prepare(HWND owner, UINT id, UINT callbackMessage, HICON icon) {
    data_ = NOTIFYICONDATAA{};
    // The original record without later extensions: its tip holds 64 bytes.
    data_.cbSize = NOTIFYICONDATAA_V1_SIZE;
    data_.hWnd = owner;
    data_.uID = id;
    data_.uFlags = NIF_MESSAGE | NIF_ICON | NIF_TIP;
    data_.uCallbackMessage = callbackMessage;
    data_.hIcon = icon;
}

void TrayIcon::add() {
    if (shown_)
        return;
    data_.szTip[0] = '\0';
    shown_ = Shell_NotifyIconA(NIM_ADD, &data_) != FALSE;
}

void TrayIcon::remove() {
    if (!shown_)
        return;
    Shell_NotifyIconA(NIM_DELETE, &data_);
    shown_ = false;
}

void TrayIcon::restore() {
    if (shown_)
        shown_ = Shell_NotifyIconA(NIM_ADD, &data_) != FALSE;
}

void TrayIcon::setTip(const std::string& tip) {
    if (!shown_)
        return;
    static_assert(kTrayTipLength < sizeof data_.szTip, "the tip and its terminator fit the record");
    std::size_t length = tip.size() < kTrayTipLength ? tip.size() : kTrayTipLength;
    std::memcpy(data_.szTip, tip.data(), length);
    data_.szTip[length] = '\0';
    Shell_NotifyIconA(NIM_MODIFY, &data_);
}

void TrayMenu::build(int priority, bool paused) {
    menu_.reset(CreatePopupMenu());
    const struct {
        UINT command;
        const char* text;
    } items[] = {{kPriorityIdle, "Idle"},
                 {kPriorityBelow, "Below"},
                 {kPriorityNormal, "Normal"},
                 {kPriorityAbove, "Above"},
                 {kPriorityHigh, "High"}};
    for (const auto& item : items)
        AppendMenuA(menu_.get(), MF_STRING, item.command, item.text);
    AppendMenuA(menu_.get(), MF_SEPARATOR, 0, nullptr);
    AppendMenuA(menu_.get(), MF_STRING, kTrayPause, "Pause");
    AppendMenuA(menu_.get(), MF_STRING, kTrayShowHide, "Hide");
    AppendMenuA(menu_.get(), MF_SEPARATOR, 0, nullptr);
    AppendMenuA(menu_.get(), MF_STRING, kTrayAbout, "About");
    AppendMenuA(menu_.get(), MF_STRING, kTrayExit, "Exit");
    markPriority(priority);
    markPaused(paused);
}

void TrayMenu::markPriority(int priority) {
    for (UINT command = kTrayPriorityIdle; command <= kTrayPriorityHigh; ++command)
        CheckMenuItem(menu_.get(), command,
                      MF_BYCOMMAND | (static_cast<int>(command) == priority ? MF_CHECKED : MF_UNCHECKED));
}

void TrayMenu::markPaused(bool paused) {
    CheckMenuItem(menu_.get(), kTrayPause, MF_BYCOMMAND | (paused ? MF_CHECKED : MF_UNCHECKED));
}

void TrayMenu::setWindowHidden(bool hidden) {
    ModifyMenuA(menu_.get(), kTrayShowHide, MF_BYCOMMAND | MF_STRING, kTrayShowHide, hidden ? "Show" : "Hide");
}

UINT TrayMenu::track(HWND owner, POINT point) const {
    // The menu only closes on a click elsewhere when its owner is the foreground window.
    SetForegroundWindow(owner);
    UINT command =
        static_cast<UINT>(TrackPopupMenu(menu_.get(), TPM_RIGHTALIGN | TPM_BOTTOMALIGN | TPM_NONOTIFY | TPM_RETURNCMD,
                                         point.x, point.y, 0, owner, nullptr));
    PostMessageA(owner, WM_NULL, 0, 0);
    return command;
}

} // namespace qv

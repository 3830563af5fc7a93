#include "ui/win/Tray.h"

#include <gtest/gtest.h>

#include <memory>

using namespace qv;

namespace {

std::string itemText(HMENU menu, UINT command) {
    char text[32] = {};
    GetMenuStringA(menu, command, text, sizeof text, MF_BYCOMMAND);
    return text;
}

bool checked(HMENU menu, UINT command) {
    return (GetMenuState(menu, command, MF_BYCOMMAND) & MF_CHECKED) != 0;
}

} // namespace

TEST(Tray, MenuMarksOnePriorityThePauseAndNamesTheWindowAction) {
    TrayMenu menu;
    menu.build(91, true);
    HMENU handle = menu.handle();
    for (UINT command = 89; command <= 93; ++command)
        EXPECT_EQ(checked(handle, command), command == 91) << command;
    EXPECT_TRUE(checked(handle, kTrayPause));
    EXPECT_EQ(itemText(handle, kTrayShowHide), "Hide");

    menu.markPriority(93);
    menu.markPaused(false);
    menu.setWindowHidden(true);
    for (UINT command = 89; command <= 93; ++command)
        EXPECT_EQ(checked(handle, command), command == 93) << command;
    EXPECT_FALSE(checked(handle, kTrayPause));
    EXPECT_EQ(itemText(handle, kTrayShowHide), "Show");
    EXPECT_EQ(itemText(handle, kTrayPause), "Pause"); // only its mark changes

    menu.markPriority(95); // outside the menu: nothing marked
    for (UINT command = 89; command <= 93; ++command)
        EXPECT_FALSE(checked(handle, command)) << command;
    EXPECT_EQ(GetMenuItemCount(handle), 11);
}

TEST(Tray, IconIsAddedAndRemovedOnceWhateverTheCallOrder) {
    const std::unique_ptr<HWND__, BOOL(WINAPI*)(HWND)> owner(
        CreateWindowExA(0, "STATIC", "tray test", WS_POPUP, 0, 0, 10, 10, nullptr, nullptr, nullptr, nullptr),
        &DestroyWindow);
    TrayIcon icon;
    icon.prepare(owner.get(), 0x51, WM_APP + 1, LoadIconA(nullptr, reinterpret_cast<LPCSTR>(IDI_APPLICATION)));
    icon.setTip("ignored while absent");
    EXPECT_FALSE(icon.shown());
    icon.add();
    ASSERT_TRUE(icon.shown());
    icon.add();
    icon.setTip(std::string(100, 'x')); // longer than the tip holds: cut, never overrun
    icon.remove();
    EXPECT_FALSE(icon.shown());
    icon.remove();
    EXPECT_FALSE(icon.shown());
}

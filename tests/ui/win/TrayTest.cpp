#include "ui/win/Tray.h"

#include <gtest/gtest.h>

#include <string>

using namespace qv;

namespace {

// The marked items' commands and the window action's text, e.g. "88 91 Hide".
std::string menuState(HMENU menu) {
    std::string state;
    for (UINT command = kTrayExit; command <= kTrayPriorityHigh; ++command)
        if ((GetMenuState(menu, command, MF_BYCOMMAND) & MF_CHECKED) != 0)
            state += std::to_string(command) + " ";
    char text[32] = {};
    GetMenuStringA(menu, kTrayShowHide, text, sizeof text, MF_BYCOMMAND);
    return state + text;
}

} // namespace

TEST(Tray, MenuMarksOnePriorityThePauseAndNamesTheWindowAction) {
    TrayMenu menu;
    menu.build(91, true);
    EXPECT_EQ(menuState(menu.handle()), "88 91 Hide");
    menu.markPriority(93);
    menu.markPaused(false);
    menu.setWindowHidden(true);
    EXPECT_EQ(menuState(menu.handle()), "93 Show");
    menu.markPriority(95); // outside the menu: nothing marked
    EXPECT_EQ(menuState(menu.handle()), "Show");
    EXPECT_EQ(GetMenuItemCount(menu.handle()), 11);
}

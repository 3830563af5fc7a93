#include "ui/win/AboutDialog.h"

#include "ui/win/DialogIds.h"
#include "ui/win/ResourceIds.h"
#include "ui/win/DialogDriver.h"

#include <gtest/gtest.h>

#include <string>

using namespace qv;
using qvtest::itemText;
using qvtest::itemVisible;

namespace {

// The icon's top-left corner in the box's client coordinates, and where the template puts it.
POINT iconCorner(HWND dialog) {
    RECT rect{};
    GetWindowRect(GetDlgItem(dialog, IDC_ABOUT_ICON), &rect);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
    return {rect.left, rect.top};
}

POINT iconHome(HWND dialog) {
    RECT rect{170, 5, 190, 25};
    MapDialogRect(dialog, &rect);
    return {rect.left, rect.top};
}

// Extra opens a message box that blocks the box's thread until answered, so the click is posted, not sent.
std::string answerExtra(HWND dialog) {
    PostMessageA(GetDlgItem(dialog, IDC_ABOUT_EXTRA), BM_CLICK, 0, 0);
    HWND box = nullptr;
    DWORD thread = GetWindowThreadProcessId(dialog, nullptr);
    if (!qvtest::waitUntil([&] { return (box = qvtest::findWindow(thread, "Quorvane")) != nullptr; }))
        return "(no message box)";
    std::string text = itemText(box, 0xFFFF);
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    qvtest::waitUntil([&] { return !IsWindow(box); });
    return text;
}

void runAbout(AboutDialog& dialog, qvtest::ModalDriver::Drive drive) {
    qvtest::ModalDriver driver("About Quorvane", std::move(drive));
    driver.run(dialog);
}

} // namespace

TEST(AboutDialog, ShowsNameVersionCreditAndTheIconAtHomeAndInDiagnosticModeTheRecordsUntilCleared) {
    QV_REQUIRE_DIALOG(IDD_ABOUT);
    for (bool diagnostic : {false, true}) {
        AboutDialog dialog(diagnostic);
        dialog.setExtraText("3 files: 2 mins/5 mins --> 1 min/4 mins");
        runAbout(dialog, [diagnostic](HWND about, qvtest::MessageSink&) {
            EXPECT_EQ(itemText(about, IDC_ABOUT_PRODUCT), "Quorvane");
            EXPECT_EQ(itemText(about, IDC_ABOUT_VERSION), "v0.33");
            EXPECT_EQ(itemText(about, IDC_ABOUT_AUTHOR), kAuthorCredit);
            EXPECT_EQ(itemVisible(about, IDC_ABOUT_EXTRA), diagnostic);
            EXPECT_EQ(itemVisible(about, IDC_ABOUT_CLEAR), diagnostic);
            EXPECT_NE(SendDlgItemMessageA(about, IDC_ABOUT_ICON, STM_GETICON, 0, 0), 0);
            EXPECT_EQ(iconCorner(about).x, iconHome(about).x);
            EXPECT_EQ(iconCorner(about).y, iconHome(about).y);
            if (diagnostic) {
                EXPECT_EQ(answerExtra(about), "Extra text:\n\n3 files: 2 mins/5 mins --> 1 min/4 mins");
                SendDlgItemMessageA(about, IDC_ABOUT_CLEAR, BM_CLICK, 0, 0);
                EXPECT_EQ(answerExtra(about), "No extra text");
            }
        });
        EXPECT_EQ(dialog.cleared(), diagnostic);
        dialog.setExtraText("new");
        EXPECT_FALSE(dialog.cleared());
    }
}

TEST(AboutDialog, AfterTheWaitTheIconWandersWithinItsBand) {
    QV_REQUIRE_DIALOG(IDD_ABOUT);
    AboutDialog dialog(false, IconWalkTimings{50, 10});
    runAbout(dialog, [](HWND about, qvtest::MessageSink&) {
        const POINT home = iconHome(about);
        POINT last = home;
        int moves = 0;
        bool outside = false;
        qvtest::waitUntil([&] {
            POINT now = iconCorner(about);
            outside |= now.x < home.x - 30 || now.x > home.x || now.y < home.y || now.y > home.y + 10;
            moves += now.x != last.x || now.y != last.y;
            last = now;
            return moves >= 20;
        });
        EXPECT_GE(moves, 20);
        EXPECT_FALSE(outside);
    });
}

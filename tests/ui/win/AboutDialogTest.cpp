#include "ui/win/AboutDialog.h"

#include "ui/win/DialogIds.h"
#include "ui/win/ResourceIds.h"
#include "ui/win/DialogDriver.h"

#include <gtest/gtest.h>

#include <string>

using namespace qv;
using qvtest::itemText;

namespace {

// The icon's top-left corner in the box's client coordinates.
POINT iconCorner(HWND dialog) {
    RECT rect{};
    GetWindowRect(GetDlgItem(dialog, IDC_ABOUT_ICON), &rect);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
    return {rect.left, rect.top};
}

// Extra opens a message box that blocks the box's thread until answered, so the click is posted, not sent.
std::string answerExtra(HWND dialog) {
    PostMessageA(GetDlgItem(dialog, IDC_ABOUT_EXTRA), BM_CLICK, 0, 0);
    HWND box = nullptr;
    if (!qvtest::waitUntil([&] { return (box = qvtest::findWindow("Quorvane")) != nullptr; }))
        return "(no message box)";
    std::string text = itemText(box, 0xFFFF);
    PostMessageA(box, WM_COMMAND, IDOK, 0);
    qvtest::waitUntil([&] { return !IsWindow(box); });
    return text;
}

} // namespace

TEST(AboutDialog, ShowsNameVersionCreditAndTheIconAtHomeAndInDiagnosticModeTheRecordsUntilCleared) {
    QV_REQUIRE_DIALOG(IDD_ABOUT);
    for (bool diagnostic : {false, true}) {
        AboutDialog dialog(diagnostic);
        dialog.setExtraText("3 files: 2 mins/5 mins --> 1 min/4 mins");
        qvtest::runModal(
            "About Quorvane", [&](HWND) -> Dialog& { return dialog; },
            [diagnostic](HWND about, HWND) {
                EXPECT_EQ(itemText(about, IDC_ABOUT_PRODUCT) + " " + itemText(about, IDC_ABOUT_VERSION) + " " +
                              itemText(about, IDC_ABOUT_AUTHOR),
                          std::string("Quorvane v0.33 ") + kAuthorCredit);
                EXPECT_EQ(qvtest::itemVisible(about, IDC_ABOUT_EXTRA), diagnostic);
                EXPECT_EQ(qvtest::itemVisible(about, IDC_ABOUT_CLEAR), diagnostic);
                EXPECT_NE(SendDlgItemMessageA(about, IDC_ABOUT_ICON, STM_GETICON, 0, 0), 0);
                RECT home{170, 5, 190, 25};
                MapDialogRect(about, &home);
                EXPECT_EQ(std::make_pair(iconCorner(about).x, iconCorner(about).y),
                          std::make_pair(home.left, home.top));
                if (!diagnostic)
                    return;
                EXPECT_EQ(answerExtra(about), "Extra text:\n\n3 files: 2 mins/5 mins --> 1 min/4 mins");
                SendDlgItemMessageA(about, IDC_ABOUT_CLEAR, BM_CLICK, 0, 0);
                EXPECT_EQ(answerExtra(about), "No extra text");
            });
        EXPECT_EQ(dialog.cleared(), diagnostic);
        dialog.setExtraText("new");
        EXPECT_FALSE(dialog.cleared());
    }
}

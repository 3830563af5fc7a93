#include "ui/win/PercentWindow.h"

#include "settings/SettingsTable.h"
#include "settings/win/RegistryKey.h"
#include "settings/win/ScratchKey.h"
#include "ui/win/DialogIds.h"
#include "ui/win/ResourceIds.h"
#include "ui/win/DialogDriver.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <string>
#include <tuple>
#include <vector>

using namespace qv;

namespace {

// The row's cells, "|"-joined; row -1: the column widths.
std::string rowText(HWND list, int row) {
    std::string cells;
    for (int column = 0; column < 3; ++column) {
        char text[256] = {};
        if (row >= 0)
            ListView_GetItemText(list, row, column, text, sizeof text);
        cells += (column == 0 ? "" : "|") + (row >= 0 ? text : std::to_string(ListView_GetColumnWidth(list, column)));
    }
    return cells;
}

// A control's rectangle in its dialog's client coordinates.
RECT controlRect(HWND dialog, int id) {
    RECT rect{};
    GetWindowRect(GetDlgItem(dialog, id), &rect);
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

} // namespace

// A position counts as stored when either coordinate is non-zero.
TEST(PercentWindow, ShowsNumberedRowsInTheStoredGeometryAndWritesItBackAtClosing) {
    QV_REQUIRE_DIALOG(IDD_PERCENT);
    qvtest::ScratchKey scratch;
    RegistryKey key(scratch.path());
    // Each value as stored, and as written back at closing.
    const std::tuple<const char*, int32_t, int32_t> geometry[] = {{kValuePercentWindowX, 0, 0},
                                                                  {kValuePercentWindowY, 120, 120},
                                                                  {kValuePercentWindowWidth, 640, 700},
                                                                  {kValuePercentWindowHeight, 320, 330},
                                                                  {kValuePercentWindowNumberWidth, 40, 40},
                                                                  {kValuePercentWindowNameWidth, 0, 100},
                                                                  {kValuePercentWindowPercentWidth, 60, 60}};
    for (const auto& [name, stored, written] : geometry)
        key.writeNumber(name, stored);
    std::vector<std::string> names;
    for (int i = 0; i < 101; ++i)
        names.push_back("D:\\Music\\Album " + std::to_string(i));
    std::vector<int32_t> percentages = {95, 100};
    percentages.resize(100, 50); // one name more than percentages: the surplus name is dropped
    PercentWindow window(scratch.path());
    window.setTitle("Recent directories");
    window.setLists(names, percentages);
    RECT opened{};
    qvtest::runModal(
        "Quorvane - v0.33 - Recent directories", [&](HWND) -> Dialog& { return window; },
        [&](HWND dialog, HWND) {
            GetWindowRect(dialog, &opened);
            HWND list = GetDlgItem(dialog, IDC_PERCENT_LIST);
            ASSERT_EQ(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0), 100);
            EXPECT_EQ(rowText(list, 1), "02|D:\\Music\\Album 1|100%");
            EXPECT_EQ(rowText(list, 99), "100|D:\\Music\\Album 99| 50%");
            EXPECT_EQ(rowText(list, -1), "40|288|60") << "a width stored as 0 shows its default";
            SendMessageA(list, LVM_SETCOLUMNWIDTH, 1, 100);
            const RECT before = controlRect(dialog, IDC_PERCENT_CLOSE);
            SetWindowPos(dialog, nullptr, 0, 0, 700, 330, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
            const RECT after = controlRect(dialog, IDC_PERCENT_CLOSE);
            EXPECT_EQ(std::make_pair(after.left - before.left, after.top - before.top), std::make_pair(60L, 10L))
                << "growing keeps Close in the bottom-right corner";
        });
    EXPECT_EQ(std::vector<LONG>({opened.left, opened.top, opened.right, opened.bottom}),
              std::vector<LONG>({0, 120, 640, 440}));
    for (const auto& [name, stored, written] : geometry)
        EXPECT_EQ(key.readNumber(name, -1), written) << name;
}

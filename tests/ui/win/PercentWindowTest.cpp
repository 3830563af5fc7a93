#include "ui/win/PercentWindow.h"

#include "settings/SettingsTable.h"
#include "settings/win/RegistryKey.h"
#include "settings/win/ScratchKey.h"
#include "ui/win/DialogIds.h"
#include "ui/win/ResourceIds.h"
#include "ui/win/DialogDriver.h"

#include <commctrl.h>
#include <gtest/gtest.h>

#include <array>
#include <string>
#include <vector>

using namespace qv;

namespace {

const char* const kGeometryValues[] = {kValuePercentWindowX,           kValuePercentWindowY,
                                       kValuePercentWindowWidth,       kValuePercentWindowHeight,
                                       kValuePercentWindowNumberWidth, kValuePercentWindowNameWidth,
                                       kValuePercentWindowPercentWidth};
using Geometry = std::array<int32_t, 7>; // in the order above

void store(const std::string& keyPath, const Geometry& geometry) {
    RegistryKey key(keyPath);
    for (std::size_t i = 0; i < geometry.size(); ++i)
        key.writeNumber(kGeometryValues[i], geometry[i]);
}

Geometry stored(const std::string& keyPath) {
    RegistryKey key(keyPath);
    Geometry geometry{};
    for (std::size_t i = 0; i < geometry.size(); ++i)
        geometry[i] = key.readNumber(kGeometryValues[i], -1);
    return geometry;
}

std::string cellText(HWND list, int row, int column) {
    char text[256] = {};
    LVITEMA item{};
    item.iSubItem = column;
    item.pszText = text;
    item.cchTextMax = sizeof text;
    SendMessageA(list, LVM_GETITEMTEXTA, static_cast<WPARAM>(row), reinterpret_cast<LPARAM>(&item));
    return text;
}

std::vector<int> columnWidths(HWND list) {
    std::vector<int> widths;
    for (int column = 0; column < 3; ++column)
        widths.push_back(static_cast<int>(SendMessageA(list, LVM_GETCOLUMNWIDTH, column, 0)));
    return widths;
}

RECT windowRect(HWND window) {
    RECT rect{};
    GetWindowRect(window, &rect);
    return rect;
}

// A control's rectangle in its dialog's client coordinates.
RECT controlRect(HWND dialog, int id) {
    RECT rect = windowRect(GetDlgItem(dialog, id));
    MapWindowPoints(nullptr, dialog, reinterpret_cast<POINT*>(&rect), 2);
    return rect;
}

void resize(HWND window, LONG width, LONG height) {
    SetWindowPos(window, nullptr, 0, 0, width, height, SWP_NOMOVE | SWP_NOZORDER | SWP_NOACTIVATE);
}

// Opens a window on keyPath with the given lists and returns its rectangle as it opened.
RECT runPercent(const std::string& keyPath, const std::string& caption, qvtest::ModalDriver::Drive drive,
                const std::string& title = "", const std::vector<std::string>& names = {},
                const std::vector<int32_t>& percentages = {}) {
    RECT opened{};
    qvtest::ModalDriver driver(caption, [&](HWND dialog, qvtest::MessageSink& sink) {
        opened = windowRect(dialog);
        drive(dialog, sink);
    });
    PercentWindow window(keyPath);
    window.setTitle(title);
    window.setLists(names, percentages);
    driver.run(window);
    return opened;
}

} // namespace

TEST(PercentWindow, RowsAreNumberedAndShowTheirShareInFourCharacters) {
    QV_REQUIRE_DIALOG(IDD_PERCENT);
    qvtest::ScratchKey scratch;
    std::vector<std::string> names;
    for (int i = 0; i < 101; ++i)
        names.push_back("D:\\Music\\Album " + std::to_string(i));
    std::vector<int32_t> percentages = {95, 100};
    percentages.resize(100, 50); // one name more than percentages: the surplus name is dropped
    auto drive = [](HWND dialog, qvtest::MessageSink&) {
        HWND list = GetDlgItem(dialog, IDC_PERCENT_LIST);
        ASSERT_EQ(SendMessageA(list, LVM_GETITEMCOUNT, 0, 0), 100);
        const std::array<const char*, 3> second = {"02", "D:\\Music\\Album 1", "100%"};
        for (int column = 0; column < 3; ++column)
            EXPECT_EQ(cellText(list, 1, column), second[column]) << column;
        EXPECT_EQ(cellText(list, 99, 0), "100");
        EXPECT_EQ(columnWidths(list), std::vector<int>({24, 288, 48}));
    };
    runPercent(scratch.path(), "Quorvane - v0.33 - Recent directories", drive, "Recent directories", names,
               percentages);
}

TEST(PercentWindow, StoredGeometryIsRestoredAndTheGeometryAtClosingWrittenBack) {
    QV_REQUIRE_DIALOG(IDD_PERCENT);
    qvtest::ScratchKey scratch;
    store(scratch.path(), {100, 120, 640, 320, 40, 0, 60});
    RECT opened = runPercent(scratch.path(), "Quorvane - v0.33", [](HWND dialog, qvtest::MessageSink&) {
        HWND list = GetDlgItem(dialog, IDC_PERCENT_LIST);
        // A width stored as 0 shows its default.
        EXPECT_EQ(columnWidths(list), std::vector<int>({40, 288, 60}));
        SendMessageA(list, LVM_SETCOLUMNWIDTH, 1, 0);
        // Growing keeps the list's margins and Close in the bottom-right corner.
        const RECT listBefore = controlRect(dialog, IDC_PERCENT_LIST);
        const RECT closeBefore = controlRect(dialog, IDC_PERCENT_CLOSE);
        resize(dialog, 700, 330);
        const RECT listAfter = controlRect(dialog, IDC_PERCENT_LIST);
        const RECT closeAfter = controlRect(dialog, IDC_PERCENT_CLOSE);
        EXPECT_EQ(listAfter.right - listBefore.right, 60);
        EXPECT_EQ(listAfter.bottom - listBefore.bottom, 10);
        EXPECT_EQ(closeAfter.left - closeBefore.left, 60);
        EXPECT_EQ(closeAfter.top - closeBefore.top, 10);
        EXPECT_EQ(closeAfter.right - closeAfter.left, closeBefore.right - closeBefore.left);
    });
    EXPECT_EQ(std::vector<LONG>({opened.left, opened.top, opened.right, opened.bottom}),
              std::vector<LONG>({100, 120, 740, 440}));
    EXPECT_EQ(stored(scratch.path()), (Geometry{100, 120, 700, 330, 40, 0, 60}));
}

TEST(PercentWindow, APositionCountsAsStoredWhenEitherCoordinateIsNonZero) {
    QV_REQUIRE_DIALOG(IDD_PERCENT);
    qvtest::ScratchKey unstoredKey;
    const RECT unstored = runPercent(unstoredKey.path(), "Quorvane - v0.33", [](HWND, qvtest::MessageSink&) {});
    const std::pair<POINT, POINT> cases[] = {
        {{0, 0}, {unstored.left, unstored.top}}, {{0, 50}, {0, 50}}, {{70, 0}, {70, 0}}};
    for (const auto& [position, expected] : cases) {
        qvtest::ScratchKey scratch;
        store(scratch.path(), {position.x, position.y, 0, 0, 0, 0, 0});
        RECT opened = runPercent(scratch.path(), "Quorvane - v0.33", [](HWND, qvtest::MessageSink&) {});
        EXPECT_EQ(opened.left, expected.x) << position.x << "," << position.y;
        EXPECT_EQ(opened.top, expected.y) << position.x << "," << position.y;
        EXPECT_EQ(opened.right - opened.left, unstored.right - unstored.left);
    }
}

#include "ui/win/ConfigDialog.h"

#include "ui/win/DialogIds.h"
#include "app/win/Messages.h"
#include "ui/win/ResourceIds.h"
#include "ui/win/DialogDriver.h"

#include <gtest/gtest.h>

#include <optional>
#include <vector>

using namespace qv;

namespace {

using Ids = std::vector<int>;
const Ids kPriorities = {IDC_CONFIG_PRIORITY_IDLE, IDC_CONFIG_PRIORITY_BELOW, IDC_CONFIG_PRIORITY_NORMAL,
                         IDC_CONFIG_PRIORITY_ABOVE, IDC_CONFIG_PRIORITY_HIGH};
const Ids kIntelligent = {IDC_CONFIG_DIVIDE_LABEL,   IDC_CONFIG_DIVIDE_EXPONENT,     IDC_CONFIG_DIVIDE_EXPONENT_SPIN,
                          IDC_CONFIG_DIVIDE_PERCENT, IDC_CONFIG_DIVIDE_PERCENT_SPIN, IDC_CONFIG_PERCENT_SIGN,
                          IDC_CONFIG_POINTS_LABEL,   IDC_CONFIG_MULTI_LINEAR,        IDC_CONFIG_MULTI_LINEAR_SPIN};
const Ids kHistory = {IDC_CONFIG_HISTORY_SIZE, IDC_CONFIG_HISTORY_SIZE_SPIN, IDC_CONFIG_DIRECTORIES_LABEL};

// Clicks a toggle (step 0), or presses the mouse on a spin's upper or lower arrow, so that the spin itself asks
// the dialog through UDN_DELTAPOS and moves only when the dialog lets it.
void work(HWND dialog, int id, int step) {
    HWND control = GetDlgItem(dialog, id);
    if (step == 0) {
        SendMessageA(control, BM_CLICK, 0, 0);
        return;
    }
    RECT client{};
    GetClientRect(control, &client);
    const LPARAM at = MAKELPARAM(client.right / 2, step > 0 ? client.bottom / 4 : client.bottom * 3 / 4);
    SendMessageA(control, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageA(control, WM_LBUTTONUP, 0, at);
}

// A toggle's state and caption, or a spin's place and the number beside it (the control before it).
std::string shown(HWND dialog, int id, int step) {
    HWND control = GetDlgItem(dialog, id);
    char text[64] = {};
    GetWindowTextA(step == 0 ? control : GetWindow(control, GW_HWNDPREV), text, sizeof text);
    if (step == 0)
        return (SendMessageA(control, BM_GETCHECK, 0, 0) == BST_CHECKED ? "pressed " : "released ") + std::string(text);
    return std::to_string(SendMessageA(control, UDM_GETPOS32, 0, 0)) + " " + text;
}

} // namespace

TEST(ConfigDialog, EachControlPostsItsNewValueAtOnceAndShowsItAndItsEffect) {
    QV_REQUIRE_DIALOG(IDD_CONFIG);
    struct Case {
        int id;
        int step; // 0 for a toggle
        setting::Index setting;
        WPARAM value; // posted
        const char* shown;
        Ids visible = {};
        Ids hidden = {};
    };
    const Case cases[] = {
        {IDC_CONFIG_INTELLIGENT_ETA, 0, setting::kUseIntelligentEta, 1, "pressed Intelligent", kIntelligent},
        {IDC_CONFIG_PAUSE, 0, setting::kPaused, 1, "pressed Resume", {}, kPriorities},
        {IDC_CONFIG_PAUSE, 0, setting::kPaused, 0, "released Pause", kPriorities},
        {IDC_CONFIG_SAVE_LOG, 0, setting::kSaveLogfileToDirectory, 0, "released Save", {}, {IDC_CONFIG_FULL_DIRECTORY}},
        {IDC_CONFIG_PERCENT_IN_NAME, 0, setting::kSavePercentToLogfileName, 0, "released Percent"},
        {IDC_CONFIG_ON_TOP, 0, setting::kStatusDialogAlwaysOnTop, 0, "released On Top"},
        {IDC_CONFIG_LIMIT_HISTORY, 0, setting::kLimitHistorySize, 0, "released Limit History", {}, kHistory},
        {IDC_CONFIG_PRIORITY_HIGH, 0, setting::kPriority, kPriorityHigh, "pressed High"},
        {IDC_CONFIG_PRIORITY_HIGH, 0, setting::kPriority, kPriorityHigh, "pressed High"},    // the pressed one again
        {IDC_CONFIG_PRIORITY_ABOVE, 0, setting::kPriority, kPriorityAbove, "pressed Above"}, // below the highest
        {IDC_CONFIG_MAX_PASSES_SPIN, -1, setting::kDetectMaximumTotalPasses, 12, "12 12"},   // onto twice the minimum
        {IDC_CONFIG_MIN_VALID_SPIN, 1, setting::kDetectMinimumValidPasses, 6, "6 6"},        // past half the maximum
        {IDC_CONFIG_HISTORY_SIZE_SPIN, 1, setting::kHistorySize, 99, "99 99"},
        {IDC_CONFIG_DIVIDE_EXPONENT_SPIN, -1, setting::kEtaDivideCountExponent, 8, "8 8"}, // stored 12, shown so
    };
    SettingValues seed = currentValues(SharedSettings());
    seed[setting::kPriority] = kPriorityNormal;
    seed[setting::kLimitHistorySize] = 5; // any non-zero number means on
    seed[setting::kDetectMinimumValidPasses] = 6;
    seed[setting::kHistorySize] = 99;
    seed[setting::kEtaDivideCountExponent] = 12;
    std::optional<ConfigDialog> config;
    qvtest::runModal(
        "Quorvane - v0.33 - Configuration", [&](HWND sink) -> Dialog& { return config.emplace(sink, seed); },
        [&](HWND dialog, HWND sink) {
            EXPECT_EQ(qvtest::itemText(dialog, IDC_CONFIG_INTELLIGENT_ETA), "Simple");
            EXPECT_EQ(qvtest::itemText(dialog, IDC_CONFIG_DIVIDE_EXPONENT), "12");
            for (const Case& c : cases) {
                work(dialog, c.id, c.step);
                EXPECT_EQ(qvtest::takePosted(sink),
                          std::vector<qvtest::Posted>({{settingMessage(c.setting), c.value, 0}}))
                    << c.id;
                EXPECT_EQ(shown(dialog, c.id, c.step), c.shown) << c.id;
                for (int id : c.visible)
                    EXPECT_TRUE(qvtest::itemVisible(dialog, id)) << c.id << ": " << id;
                for (int id : c.hidden)
                    EXPECT_FALSE(qvtest::itemVisible(dialog, id)) << c.id << ": " << id;
            }
            for (int id : kPriorities)
                EXPECT_EQ(shown(dialog, id, 0).rfind("pressed", 0) == 0, id == IDC_CONFIG_PRIORITY_ABOVE) << id;
        });
    EXPECT_EQ(config->values()[setting::kPriority], kPriorityAbove) << "closed as Esc closes it, the changes stay";
}

#include "ui/win/ConfigDialog.h"

#include "ui/win/DialogIds.h"
#include "app/win/Messages.h"
#include "ui/win/ResourceIds.h"
#include "ui/win/DialogDriver.h"

#include <gtest/gtest.h>

#include <vector>

using namespace qv;
using qvtest::itemText;
using qvtest::itemVisible;
using qvtest::Posted;

namespace {

using Ids = std::vector<int>;
const Ids kPriorities = {IDC_CONFIG_PRIORITY_IDLE, IDC_CONFIG_PRIORITY_BELOW, IDC_CONFIG_PRIORITY_NORMAL,
                         IDC_CONFIG_PRIORITY_ABOVE, IDC_CONFIG_PRIORITY_HIGH};
const Ids kIntelligent = {IDC_CONFIG_DIVIDE_LABEL,   IDC_CONFIG_DIVIDE_EXPONENT,     IDC_CONFIG_DIVIDE_EXPONENT_SPIN,
                          IDC_CONFIG_DIVIDE_PERCENT, IDC_CONFIG_DIVIDE_PERCENT_SPIN, IDC_CONFIG_PERCENT_SIGN,
                          IDC_CONFIG_POINTS_LABEL,   IDC_CONFIG_MULTI_LINEAR,        IDC_CONFIG_MULTI_LINEAR_SPIN};
const Ids kHistory = {IDC_CONFIG_HISTORY_SIZE, IDC_CONFIG_HISTORY_SIZE_SPIN, IDC_CONFIG_DIRECTORIES_LABEL};
const Ids kLogName = {IDC_CONFIG_PERCENT_IN_NAME, IDC_CONFIG_FULL_DIRECTORY};

bool pressed(HWND dialog, int id) {
    return SendDlgItemMessageA(dialog, id, BM_GETCHECK, 0, 0) == BST_CHECKED;
}

// Presses the mouse on the spin's upper or lower arrow, so the control itself asks the dialog through
// UDN_DELTAPOS and moves only when the dialog lets it.
void stepSpin(HWND dialog, int id, int direction) {
    HWND spin = GetDlgItem(dialog, id);
    RECT client{};
    GetClientRect(spin, &client);
    LPARAM at = MAKELPARAM(client.right / 2, direction > 0 ? client.bottom / 4 : client.bottom * 3 / 4);
    SendMessageA(spin, WM_LBUTTONDOWN, MK_LBUTTON, at);
    SendMessageA(spin, WM_LBUTTONUP, 0, at);
}

std::vector<Posted> one(UINT message, WPARAM value) {
    return {Posted{message, value, 0}};
}

SettingValues runConfig(const SettingValues& values, qvtest::ModalDriver::Drive drive) {
    qvtest::ModalDriver driver("Quorvane - v0.33 - Configuration", std::move(drive));
    ConfigDialog dialog(driver.sink(), values);
    driver.run(dialog);
    return dialog.values();
}

} // namespace

TEST(ConfigDialog, EachToggleClickPostsItsNewStateAtOnceAndShowsOrHidesItsControls) {
    QV_REQUIRE_DIALOG(IDD_CONFIG);
    struct Case {
        const char* what;
        int id;
        setting::Index setting;
        WPARAM value;
        const char* caption; // null when the caption stays
        Ids shown;
        Ids hidden;
    };
    const std::vector<Case> cases = {
        {"Simple pressed", IDC_CONFIG_INTELLIGENT_ETA, setting::kUseIntelligentEta, 1, "Intelligent", kIntelligent, {}},
        {"Simple again", IDC_CONFIG_INTELLIGENT_ETA, setting::kUseIntelligentEta, 0, "Simple", {}, kIntelligent},
        {"pause", IDC_CONFIG_PAUSE, setting::kPaused, 1, "Resume", {}, kPriorities},
        {"resume", IDC_CONFIG_PAUSE, setting::kPaused, 0, "Pause", kPriorities, {}},
        {"log off", IDC_CONFIG_SAVE_LOG, setting::kSaveLogfileToDirectory, 0, nullptr, {}, kLogName},
        {"log on", IDC_CONFIG_SAVE_LOG, setting::kSaveLogfileToDirectory, 1, nullptr, kLogName, {}},
        {"percent in name off", IDC_CONFIG_PERCENT_IN_NAME, setting::kSavePercentToLogfileName, 0, nullptr, {}, {}},
        {"full directory on", IDC_CONFIG_FULL_DIRECTORY, setting::kSaveFullDirectoryToLogfile, 1, nullptr, {}, {}},
        {"on top off", IDC_CONFIG_ON_TOP, setting::kStatusDialogAlwaysOnTop, 0, nullptr, {}, {}},
        {"limit history off", IDC_CONFIG_LIMIT_HISTORY, setting::kLimitHistorySize, 0, nullptr, {}, kHistory},
        {"high priority", IDC_CONFIG_PRIORITY_HIGH, setting::kPriority, kPriorityHigh, nullptr, {}, {}},
        {"the pressed priority again", IDC_CONFIG_PRIORITY_HIGH, setting::kPriority, kPriorityHigh, nullptr, {}, {}},
    };
    SettingValues seed = currentValues(SharedSettings());
    seed[setting::kPriority] = kPriorityNormal;
    seed[setting::kLimitHistorySize] = 5; // any non-zero number means on
    SettingValues closed = runConfig(seed, [&](HWND dialog, qvtest::MessageSink& sink) {
        EXPECT_TRUE(sink.take().empty()) << "opening posts nothing";
        EXPECT_EQ(itemText(dialog, IDC_CONFIG_INTELLIGENT_ETA), "Simple");
        for (int id : kIntelligent)
            EXPECT_FALSE(itemVisible(dialog, id)) << id;
        EXPECT_TRUE(pressed(dialog, IDC_CONFIG_LIMIT_HISTORY));
        for (const Case& c : cases) {
            SendDlgItemMessageA(dialog, c.id, BM_CLICK, 0, 0);
            EXPECT_EQ(sink.take(), one(settingMessage(c.setting), c.value)) << c.what;
            EXPECT_EQ(pressed(dialog, c.id), c.value != 0) << c.what;
            EXPECT_TRUE(c.caption == nullptr || itemText(dialog, c.id) == c.caption) << c.what;
            for (int id : c.shown)
                EXPECT_TRUE(itemVisible(dialog, id)) << c.what << ": " << id;
            for (int id : c.hidden)
                EXPECT_FALSE(itemVisible(dialog, id)) << c.what << ": " << id;
        }
        for (int id : kPriorities)
            EXPECT_EQ(pressed(dialog, id), id == IDC_CONFIG_PRIORITY_HIGH) << id;
    });
    // Closed the way Esc closes it: the changes stay.
    EXPECT_EQ(closed[setting::kPriority], kPriorityHigh);
    EXPECT_EQ(closed[setting::kLimitHistorySize], 0);
}

TEST(ConfigDialog, SpinStepsKeepTheirSettingsInRangeAndThePassCountsConsistent) {
    QV_REQUIRE_DIALOG(IDD_CONFIG);
    struct Case {
        const char* what;
        int spin;
        int direction;
        int text;
        const char* shown;
        setting::Index setting;
        WPARAM value;
        int position; // where the spin is afterwards
    };
    const Case cases[] = {
        {"maximum down onto twice the minimum", IDC_CONFIG_MAX_PASSES_SPIN, -1, IDC_CONFIG_MAX_PASSES, "12",
         setting::kDetectMaximumTotalPasses, 12, 12},
        {"minimum up past half the maximum", IDC_CONFIG_MIN_VALID_SPIN, 1, IDC_CONFIG_MIN_VALID, "6",
         setting::kDetectMinimumValidPasses, 6, 6},
        {"percent down", IDC_CONFIG_DIVIDE_PERCENT_SPIN, -1, IDC_CONFIG_DIVIDE_PERCENT, "49",
         setting::kEtaDividePercentValue, 49, 49},
        {"history up from 99", IDC_CONFIG_HISTORY_SIZE_SPIN, 1, IDC_CONFIG_HISTORY_SIZE, "99", setting::kHistorySize,
         99, 99},
        {"stored exponent 12 stepped", IDC_CONFIG_DIVIDE_EXPONENT_SPIN, -1, IDC_CONFIG_DIVIDE_EXPONENT, "8",
         setting::kEtaDivideCountExponent, 8, 8},
        {"level up from 3", IDC_CONFIG_MULTI_LINEAR_SPIN, 1, IDC_CONFIG_MULTI_LINEAR, "3",
         setting::kEtaMultiLinearLevel, 3, 3},
    };
    SettingValues seed = currentValues(SharedSettings());
    seed[setting::kUseIntelligentEta] = 1;
    seed[setting::kDetectMinimumValidPasses] = 6;
    seed[setting::kHistorySize] = 99;
    seed[setting::kEtaDivideCountExponent] = 12;
    runConfig(seed, [&](HWND dialog, qvtest::MessageSink& sink) {
        EXPECT_EQ(itemText(dialog, IDC_CONFIG_DIVIDE_EXPONENT), "12") << "a stored value shows as stored";
        for (const Case& c : cases) {
            stepSpin(dialog, c.spin, c.direction);
            EXPECT_EQ(itemText(dialog, c.text), c.shown) << c.what;
            EXPECT_EQ(sink.take(), one(settingMessage(c.setting), c.value)) << c.what;
            EXPECT_EQ(SendDlgItemMessageA(dialog, c.spin, UDM_GETPOS32, 0, 0), c.position) << c.what;
        }
        SendDlgItemMessageA(dialog, IDC_CONFIG_OK, BM_CLICK, 0, 0);
        EXPECT_TRUE(qvtest::waitUntil([&] { return !IsWindow(dialog); })) << "Ok closes the dialog";
    });
}

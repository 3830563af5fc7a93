#include "ui/win/ConfigDialog.h"

#include "app/win/Messages.h"
#include "common/Text.h"
#include "common/Version.h"
#include "ui/ConfigLimits.h"
#include "ui/win/DialogIds.h"
#include "ui/win/ResourceIds.h"

#include <initializer_list>

namespace qv {

namespace {

constexpr std::initializer_list<int> kPriorityToggles = {IDC_CONFIG_PRIORITY_IDLE, IDC_CONFIG_PRIORITY_BELOW,
                                                         IDC_CONFIG_PRIORITY_NORMAL, IDC_CONFIG_PRIORITY_ABOVE,
                                                         IDC_CONFIG_PRIORITY_HIGH};

// The toggles lie in priority order, so a toggle's identifier and its priority number differ by a constant.
constexpr int kPriorityToToggle = IDC_CONFIG_PRIORITY_IDLE - kPriorityIdle;

// A setting shown as one toggle button, with the controls that show only while it is on (or, for pausing, off).
struct Toggle {
    setting::Index index;
    int id;
    const char* onCaption; // null when the caption stays
    const char* offCaption;
    std::initializer_list<int> dependents;
    bool dependentsShownWhenOn;
};

const Toggle kToggles[] = {
    {setting::kPaused, IDC_CONFIG_PAUSE, "Resume", "Pause", kPriorityToggles, false},
    {setting::kUseIntelligentEta,
     IDC_CONFIG_INTELLIGENT_ETA,
     "Intelligent",
     "Simple",
     {IDC_CONFIG_DIVIDE_LABEL, IDC_CONFIG_DIVIDE_EXPONENT, IDC_CONFIG_DIVIDE_EXPONENT_SPIN, IDC_CONFIG_DIVIDE_PERCENT,
      IDC_CONFIG_DIVIDE_PERCENT_SPIN, IDC_CONFIG_PERCENT_SIGN, IDC_CONFIG_POINTS_LABEL, IDC_CONFIG_MULTI_LINEAR,
      IDC_CONFIG_MULTI_LINEAR_SPIN},
     true},
    {setting::kSaveLogfileToDirectory,
     IDC_CONFIG_SAVE_LOG,
     nullptr,
     nullptr,
     {IDC_CONFIG_PERCENT_IN_NAME, IDC_CONFIG_FULL_DIRECTORY},
     true},
    {setting::kSavePercentToLogfileName, IDC_CONFIG_PERCENT_IN_NAME, nullptr, nullptr, {}, true},
    {setting::kSaveFullDirectoryToLogfile, IDC_CONFIG_FULL_DIRECTORY, nullptr, nullptr, {}, true},
    {setting::kStatusDialogAlwaysOnTop, IDC_CONFIG_ON_TOP, nullptr, nullptr, {}, true},
    {setting::kLimitHistorySize,
     IDC_CONFIG_LIMIT_HISTORY,
     nullptr,
     nullptr,
     {IDC_CONFIG_HISTORY_SIZE, IDC_CONFIG_HISTORY_SIZE_SPIN, IDC_CONFIG_DIRECTORIES_LABEL},
     true},
};

void loadCommonControls() {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_UPDOWN_CLASS};
    InitCommonControlsEx(&controls);
}

} // namespace

ConfigDialog::ConfigDialog(HWND target, const SettingValues& values)
    : Dialog(IDD_CONFIG), target_(target), values_(values),
      spins_{{{setting::kEtaDivideCountExponent, IDC_CONFIG_DIVIDE_EXPONENT, IDC_CONFIG_DIVIDE_EXPONENT_SPIN, false},
              {setting::kEtaDividePercentValue, IDC_CONFIG_DIVIDE_PERCENT, IDC_CONFIG_DIVIDE_PERCENT_SPIN, false},
              {setting::kEtaMultiLinearLevel, IDC_CONFIG_MULTI_LINEAR, IDC_CONFIG_MULTI_LINEAR_SPIN, false},
              {setting::kDetectMaximumTotalPasses, IDC_CONFIG_MAX_PASSES, IDC_CONFIG_MAX_PASSES_SPIN, false},
              {setting::kDetectMinimumValidPasses, IDC_CONFIG_MIN_VALID, IDC_CONFIG_MIN_VALID_SPIN, false},
              {setting::kHistorySize, IDC_CONFIG_HISTORY_SIZE, IDC_CONFIG_HISTORY_SIZE_SPIN, false}}} {
    loadCommonControls();
}

void ConfigDialog::setValue(setting::Index index, int32_t value, Change change) {
    values_[index] = value;
    if (hwnd() != nullptr)
        showValue(index, value);
    if (change == Change::ShowAndPost && target_ != nullptr)
        PostMessageA(target_, settingMessage(index), static_cast<WPARAM>(value), 0);
}

void ConfigDialog::showValue(setting::Index index, int32_t value) {
    if (index == setting::kPriority) {
        for (int id : kPriorityToggles)
            press(id, id - kPriorityToToggle == value);
    }
    for (const Toggle& toggle : kToggles) {
        if (toggle.index != index)
            continue;
        press(toggle.id, value != 0);
        if (toggle.onCaption != nullptr)
            setItemText(toggle.id, value != 0 ? toggle.onCaption : toggle.offCaption);
        for (int id : toggle.dependents)
            showItem(id, (value != 0) == toggle.dependentsShownWhenOn);
    }
    for (SpinField& field : spins_) {
        if (field.index == index)
            showSpinValue(field, value);
    }
}

INT_PTR ConfigDialog::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        onInitDialog();
        return TRUE;
    case WM_COMMAND:
        if (HIWORD(wParam) == BN_CLICKED)
            onCommand(LOWORD(wParam));
        return TRUE;
    case WM_NOTIFY: {
        const auto* header = reinterpret_cast<const NMHDR*>(lParam);
        if (header->code != UDN_DELTAPOS)
            return FALSE;
        bool cancel = onSpinStep(*reinterpret_cast<const NMUPDOWN*>(lParam));
        SetWindowLongPtrA(hwnd(), DWLP_MSGRESULT, cancel ? TRUE : FALSE);
        return TRUE;
    }
    default:
        return FALSE;
    }
}

void ConfigDialog::onInitDialog() {
    SetWindowTextA(hwnd(), formatText("%s - %s - Configuration", kProductName, kVersion).c_str());
    for (std::size_t i = 0; i < kSettingCount; ++i)
        showValue(static_cast<setting::Index>(i), values_[i]);
}

void ConfigDialog::onCommand(int id) {
    if (id >= IDC_CONFIG_PRIORITY_IDLE && id <= IDC_CONFIG_PRIORITY_HIGH) {
        // Clicking the pressed toggle releases it; showing the value presses it again.
        setValue(setting::kPriority, id - kPriorityToToggle, Change::ShowAndPost);
        return;
    }
    for (const Toggle& toggle : kToggles) {
        if (toggle.id == id) {
            setValue(toggle.index, isPressed(id) ? 1 : 0, Change::ShowAndPost);
            return;
        }
    }
    if (id == IDC_CONFIG_OK || id == IDOK || id == IDCANCEL)
        EndDialog(hwnd(), IDOK);
}

bool ConfigDialog::onSpinStep(const NMUPDOWN& step) {
    for (const SpinField& field : spins_) {
        if (static_cast<UINT_PTR>(field.spinId) != step.hdr.idFrom)
            continue;
        SpinStep result{0, false};
        if (field.index == setting::kDetectMaximumTotalPasses)
            result = stepMaximumTotalPasses(step.iPos, step.iDelta, values_[setting::kDetectMinimumValidPasses]);
        else if (field.index == setting::kDetectMinimumValidPasses)
            result = stepMinimumValidPasses(step.iPos, step.iDelta, values_[setting::kDetectMaximumTotalPasses]);
        else
            result = stepWithinRange(step.iPos, step.iDelta, rangeOf(field.index));
        setValue(field.index, result.value, Change::ShowAndPost);
        return result.cancelled;
    }
    return false;
}

bool ConfigDialog::isPressed(int id) const {
    return IsDlgButtonChecked(hwnd(), id) == BST_CHECKED;
}

void ConfigDialog::press(int id, bool pressed) const {
    CheckDlgButton(hwnd(), id, pressed ? BST_CHECKED : BST_UNCHECKED);
}

void ConfigDialog::showSpinValue(SpinField& field, int32_t value) {
    if (!field.rangeSet) {
        const ValueRange range = rangeOf(field.index);
        SendDlgItemMessageA(hwnd(), field.spinId, UDM_SETRANGE32, static_cast<WPARAM>(range.lower), range.upper);
        SendDlgItemMessageA(hwnd(), field.spinId, UDM_SETPOS32, 0, range.clamp(value));
        field.rangeSet = true;
    }
    setItemText(field.textId, formatText("%d", static_cast<int>(value)).c_str());
}

} // namespace qv

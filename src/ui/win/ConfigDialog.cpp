#include "ui/win/ConfigDialog.h"

#include "common/Text.h"
#include "common/Version.h"
#include "ui/win/DialogIds.h"
#include "app/win/Messages.h"
#include "ui/win/ResourceIds.h"

#include <array>

namespace qv {

namespace {

constexpr std::array<int, 5> kPriorityToggles = {IDC_CONFIG_PRIORITY_IDLE, IDC_CONFIG_PRIORITY_BELOW,
                                                 IDC_CONFIG_PRIORITY_NORMAL, IDC_CONFIG_PRIORITY_ABOVE,
                                                 IDC_CONFIG_PRIORITY_HIGH};

// The toggles lie in priority order, so a toggle's identifier and its priority number differ by a constant.
constexpr int kPriorityToToggle = IDC_CONFIG_PRIORITY_IDLE - kPriorityIdle;

void loadCommonControls() {
    INITCOMMONCONTROLSEX controls{sizeof controls, ICC_UPDOWN_CLASS};
    InitCommonControlsEx(&controls);
}

} // namespace

ConfigDialog::ConfigDialog(HWND target, const ConfigValues& values)
    : Dialog(IDD_CONFIG), target_(target), values_(values) {
    loadCommonControls();
}

void ConfigDialog::setPriority(int32_t value, bool updateControls, bool notify) {
    values_.priority = value;
    if (canUpdate(updateControls)) {
        for (int id : kPriorityToggles)
            press(id, id - kPriorityToToggle == value);
    }
    post(WM_APP_SET_PRIORITY, value, notify);
}

void ConfigDialog::setPaused(bool value, bool updateControls, bool notify) {
    values_.paused = value;
    if (canUpdate(updateControls)) {
        press(IDC_CONFIG_PAUSE, value);
        setItemText(IDC_CONFIG_PAUSE, value ? "Resume" : "Pause");
        for (int id : kPriorityToggles)
            showItem(id, !value);
    }
    post(WM_APP_TOGGLE_PAUSE, value, notify);
}

void ConfigDialog::setIntelligentEstimate(bool value, bool updateControls, bool notify) {
    values_.intelligentEstimate = value;
    if (canUpdate(updateControls)) {
        press(IDC_CONFIG_INTELLIGENT_ETA, value);
        setItemText(IDC_CONFIG_INTELLIGENT_ETA, value ? "Intelligent" : "Simple");
        showItems({IDC_CONFIG_DIVIDE_LABEL, IDC_CONFIG_DIVIDE_EXPONENT, IDC_CONFIG_DIVIDE_EXPONENT_SPIN,
                   IDC_CONFIG_DIVIDE_PERCENT, IDC_CONFIG_DIVIDE_PERCENT_SPIN, IDC_CONFIG_PERCENT_SIGN,
                   IDC_CONFIG_POINTS_LABEL, IDC_CONFIG_MULTI_LINEAR, IDC_CONFIG_MULTI_LINEAR_SPIN},
                  value);
    }
    post(WM_APP_SET_INTELLIGENT_ETA, value, notify);
}

void ConfigDialog::setSaveLogToDirectory(bool value, bool updateControls, bool notify) {
    values_.saveLogToDirectory = value;
    if (canUpdate(updateControls)) {
        press(IDC_CONFIG_SAVE_LOG, value);
        showItems({IDC_CONFIG_PERCENT_IN_NAME, IDC_CONFIG_FULL_DIRECTORY}, value);
    }
    post(WM_APP_SET_SAVE_LOG, value, notify);
}

void ConfigDialog::setSavePercentToLogName(bool value, bool updateControls, bool notify) {
    values_.savePercentToLogName = value;
    if (canUpdate(updateControls))
        press(IDC_CONFIG_PERCENT_IN_NAME, value);
    post(WM_APP_SET_PERCENT_IN_NAME, value, notify);
}

void ConfigDialog::setSaveFullDirectoryToLog(bool value, bool updateControls, bool notify) {
    values_.saveFullDirectoryToLog = value;
    if (canUpdate(updateControls))
        press(IDC_CONFIG_FULL_DIRECTORY, value);
    post(WM_APP_SET_FULL_DIRECTORY, value, notify);
}

void ConfigDialog::setAlwaysOnTop(bool value, bool updateControls, bool notify) {
    values_.alwaysOnTop = value;
    if (canUpdate(updateControls))
        press(IDC_CONFIG_ON_TOP, value);
    post(WM_APP_SET_ON_TOP, value, notify);
}

void ConfigDialog::setDivideCountExponent(int32_t value, bool updateControls, bool notify) {
    values_.divideCountExponent = value;
    if (canUpdate(updateControls))
        showSpinValue(divideCountExponent_, value);
    post(WM_APP_SET_DIVIDE_EXPONENT, value, notify);
}

void ConfigDialog::setDividePercentValue(int32_t value, bool updateControls, bool notify) {
    values_.dividePercentValue = value;
    if (canUpdate(updateControls))
        showSpinValue(dividePercentValue_, value);
    post(WM_APP_SET_DIVIDE_PERCENT, value, notify);
}

void ConfigDialog::setMultiLinearLevel(int32_t value, bool updateControls, bool notify) {
    values_.multiLinearLevel = value;
    if (canUpdate(updateControls))
        showSpinValue(multiLinearLevel_, value);
    post(WM_APP_SET_MULTI_LINEAR_LEVEL, value, notify);
}

void ConfigDialog::setMaximumTotalPasses(int32_t value, bool updateControls, bool notify) {
    values_.maximumTotalPasses = value;
    if (canUpdate(updateControls))
        showSpinValue(maximumTotalPasses_, value);
    post(WM_APP_SET_MAX_PASSES, value, notify);
}

void ConfigDialog::setMinimumValidPasses(int32_t value, bool updateControls, bool notify) {
    values_.minimumValidPasses = value;
    if (canUpdate(updateControls))
        showSpinValue(minimumValidPasses_, value);
    post(WM_APP_SET_MIN_VALID_PASSES, value, notify);
}

void ConfigDialog::setHistorySize(int32_t value, bool updateControls, bool notify) {
    values_.historySize = value;
    if (canUpdate(updateControls))
        showSpinValue(historySize_, value);
    post(WM_APP_SET_HISTORY_SIZE, value, notify);
}

void ConfigDialog::setLimitHistory(int32_t value, bool updateControls, bool notify) {
    values_.limitHistory = value;
    if (canUpdate(updateControls)) {
        press(IDC_CONFIG_LIMIT_HISTORY, value != 0);
        showItems({IDC_CONFIG_HISTORY_SIZE, IDC_CONFIG_HISTORY_SIZE_SPIN, IDC_CONFIG_DIRECTORIES_LABEL}, value != 0);
    }
    post(WM_APP_SET_LIMIT_HISTORY, value, notify);
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
    setPriority(values_.priority, true, false);
    setPaused(values_.paused, true, false);
    setIntelligentEstimate(values_.intelligentEstimate, true, false);
    setSaveLogToDirectory(values_.saveLogToDirectory, true, false);
    setSavePercentToLogName(values_.savePercentToLogName, true, false);
    setSaveFullDirectoryToLog(values_.saveFullDirectoryToLog, true, false);
    setAlwaysOnTop(values_.alwaysOnTop, true, false);
    setDivideCountExponent(values_.divideCountExponent, true, false);
    setDividePercentValue(values_.dividePercentValue, true, false);
    setMultiLinearLevel(values_.multiLinearLevel, true, false);
    setMaximumTotalPasses(values_.maximumTotalPasses, true, false);
    setMinimumValidPasses(values_.minimumValidPasses, true, false);
    setHistorySize(values_.historySize, true, false);
    setLimitHistory(values_.limitHistory, true, false);
}

void ConfigDialog::onCommand(int id) {
    switch (id) {
    case IDC_CONFIG_PRIORITY_IDLE:
    case IDC_CONFIG_PRIORITY_BELOW:
    case IDC_CONFIG_PRIORITY_NORMAL:
    case IDC_CONFIG_PRIORITY_ABOVE:
    case IDC_CONFIG_PRIORITY_HIGH:
        // Clicking the pressed toggle releases it; the setter presses it again.
        setPriority(id - kPriorityToToggle, true, true);
        break;
    case IDC_CONFIG_PAUSE:
        setPaused(isPressed(id), true, true);
        break;
    case IDC_CONFIG_INTELLIGENT_ETA:
        setIntelligentEstimate(isPressed(id), true, true);
        break;
    case IDC_CONFIG_SAVE_LOG:
        setSaveLogToDirectory(isPressed(id), true, true);
        break;
    case IDC_CONFIG_PERCENT_IN_NAME:
        setSavePercentToLogName(isPressed(id), true, true);
        break;
    case IDC_CONFIG_FULL_DIRECTORY:
        setSaveFullDirectoryToLog(isPressed(id), true, true);
        break;
    case IDC_CONFIG_ON_TOP:
        setAlwaysOnTop(isPressed(id), true, true);
        break;
    case IDC_CONFIG_LIMIT_HISTORY:
        setLimitHistory(isPressed(id) ? 1 : 0, true, true);
        break;
    case IDC_CONFIG_OK:
    case IDOK:
    case IDCANCEL:
        EndDialog(hwnd(), IDOK);
        break;
    default:
        break;
    }
}

bool ConfigDialog::onSpinStep(const NMUPDOWN& step) {
    SpinStep result{0, false};
    switch (step.hdr.idFrom) {
    case IDC_CONFIG_DIVIDE_EXPONENT_SPIN:
        result = stepWithinRange(step.iPos, step.iDelta, kDivideCountExponentRange);
        setDivideCountExponent(result.value, true, true);
        break;
    case IDC_CONFIG_DIVIDE_PERCENT_SPIN:
        result = stepWithinRange(step.iPos, step.iDelta, kDividePercentValueRange);
        setDividePercentValue(result.value, true, true);
        break;
    case IDC_CONFIG_MULTI_LINEAR_SPIN:
        result = stepWithinRange(step.iPos, step.iDelta, kMultiLinearLevelRange);
        setMultiLinearLevel(result.value, true, true);
        break;
    case IDC_CONFIG_HISTORY_SIZE_SPIN:
        result = stepWithinRange(step.iPos, step.iDelta, kHistorySizeRange);
        setHistorySize(result.value, true, true);
        break;
    case IDC_CONFIG_MAX_PASSES_SPIN:
        result = stepMaximumTotalPasses(step.iPos, step.iDelta, values_.minimumValidPasses);
        setMaximumTotalPasses(result.value, true, true);
        break;
    case IDC_CONFIG_MIN_VALID_SPIN:
        result = stepMinimumValidPasses(step.iPos, step.iDelta, values_.maximumTotalPasses);
        setMinimumValidPasses(result.value, true, true);
        break;
    default:
        break;
    }
    return result.cancelled;
}

bool ConfigDialog::isPressed(int id) const {
    return IsDlgButtonChecked(hwnd(), id) == BST_CHECKED;
}

void ConfigDialog::press(int id, bool pressed) const {
    CheckDlgButton(hwnd(), id, pressed ? BST_CHECKED : BST_UNCHECKED);
}

void ConfigDialog::showItems(std::initializer_list<int> ids, bool show) const {
    for (int id : ids)
        showItem(id, show);
}

void ConfigDialog::showSpinValue(SpinField& field, int32_t value) {
    if (!field.rangeSet) {
        SendDlgItemMessageA(hwnd(), field.spinId, UDM_SETRANGE32, static_cast<WPARAM>(field.range.lower),
                            field.range.upper);
        SendDlgItemMessageA(hwnd(), field.spinId, UDM_SETPOS32, 0, field.range.clamp(value));
        field.rangeSet = true;
    }
    setItemText(field.textId, formatText("%d", static_cast<int>(value)).c_str());
}

void ConfigDialog::post(UINT message, int32_t value, bool notify) const {
    if (notify && target_ != nullptr)
        PostMessageA(target_, message, static_cast<WPARAM>(value), 0);
}

} // namespace qv

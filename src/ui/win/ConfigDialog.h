#pragma once
// The configuration dialog: every change takes effect at once through a message posted to the status window;
// there is nothing to apply or cancel. Ok, Enter and Esc just close it.
#include "ui/ConfigLimits.h"
#include "ui/ConfigValues.h"
#include "ui/win/Dialog.h"
#include "ui/win/DialogIds.h"

#include <commctrl.h>

#include <cstdint>
#include <initializer_list>

namespace qv {

class ConfigDialog : public Dialog {
public:
    // target receives one posted message per change (the new value in wParam, 0 in lParam); with a null target
    // nothing is posted. values seeds the controls.
    ConfigDialog(HWND target, const ConfigValues& values);

    const ConfigValues& values() const { return values_; }

    // One setter per setting: store the value, bring the controls up to date when asked (and the window exists),
    // post the setting's message when asked.
    void setPriority(int32_t value, bool updateControls, bool notify);
    void setPaused(bool value, bool updateControls, bool notify);
    void setIntelligentEstimate(bool value, bool updateControls, bool notify);
    void setSaveLogToDirectory(bool value, bool updateControls, bool notify);
    void setSavePercentToLogName(bool value, bool updateControls, bool notify);
    void setSaveFullDirectoryToLog(bool value, bool updateControls, bool notify);
    void setAlwaysOnTop(bool value, bool updateControls, bool notify);
    void setDivideCountExponent(int32_t value, bool updateControls, bool notify);
    void setDividePercentValue(int32_t value, bool updateControls, bool notify);
    void setMultiLinearLevel(int32_t value, bool updateControls, bool notify);
    void setMaximumTotalPasses(int32_t value, bool updateControls, bool notify);
    void setMinimumValidPasses(int32_t value, bool updateControls, bool notify);
    void setHistorySize(int32_t value, bool updateControls, bool notify);
    void setLimitHistory(int32_t value, bool updateControls, bool notify);

protected:
    INT_PTR handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    // A number shown in a sunken text beside its spin control. The spin's range and position are set the first
    // time only; afterwards the spin moves by its own steps.
    struct SpinField {
        int textId;
        int spinId;
        ValueRange range;
        bool rangeSet;
    };

    void onInitDialog();
    void onCommand(int id);
    // Returns true when the spin must not move.
    bool onSpinStep(const NMUPDOWN& step);

    bool canUpdate(bool updateControls) const { return updateControls && hwnd() != nullptr; }
    bool isPressed(int id) const;
    void press(int id, bool pressed) const;
    void showItems(std::initializer_list<int> ids, bool show) const;
    void showSpinValue(SpinField& field, int32_t value);
    void post(UINT message, int32_t value, bool notify) const;

    HWND target_;
    ConfigValues values_;
    SpinField divideCountExponent_{IDC_CONFIG_DIVIDE_EXPONENT, IDC_CONFIG_DIVIDE_EXPONENT_SPIN,
                                   kDivideCountExponentRange, false};
    SpinField dividePercentValue_{IDC_CONFIG_DIVIDE_PERCENT, IDC_CONFIG_DIVIDE_PERCENT_SPIN, kDividePercentValueRange,
                                  false};
    SpinField multiLinearLevel_{IDC_CONFIG_MULTI_LINEAR, IDC_CONFIG_MULTI_LINEAR_SPIN, kMultiLinearLevelRange, false};
    SpinField maximumTotalPasses_{IDC_CONFIG_MAX_PASSES, IDC_CONFIG_MAX_PASSES_SPIN, kMaximumTotalPassesRange, false};
    SpinField minimumValidPasses_{IDC_CONFIG_MIN_VALID, IDC_CONFIG_MIN_VALID_SPIN, kMinimumValidPassesRange, false};
    SpinField historySize_{IDC_CONFIG_HISTORY_SIZE, IDC_CONFIG_HISTORY_SIZE_SPIN, kHistorySizeRange, false};
};

} // namespace qv

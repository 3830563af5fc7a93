#pragma once
// The configuration dialog: every change takes effect at once through a message posted to the status window;
// there is nothing to apply or cancel. Ok, Enter and Esc just close it.
#include "settings/SettingsTable.h"
#include "ui/win/Dialog.h"

#include <commctrl.h>

#include <array>
#include <cstdint>

namespace qv {

class ConfigDialog : public Dialog {
public:
    // target receives one posted message per change (the setting's message, the new value in wParam, 0 in
    // lParam); with a null target nothing is posted. values seeds the controls.
    ConfigDialog(HWND target, const SettingValues& values);

    const SettingValues& values() const { return values_; }

    enum class Change { ShowOnly, ShowAndPost };
    // Stores a setting's value and brings its controls up to date once the window exists; posts the setting's
    // message when asked.
    void setValue(setting::Index index, int32_t value, Change change);

protected:
    INT_PTR handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    // A number shown in a sunken text beside its spin control. The spin's range and position are set the first
    // time only; afterwards the spin moves by its own steps.
    struct SpinField {
        setting::Index index;
        int textId;
        int spinId;
        bool rangeSet;
    };

    void onInitDialog();
    void onCommand(int id);
    // Returns true when the spin must not move.
    bool onSpinStep(const NMUPDOWN& step);
    void showValue(setting::Index index, int32_t value);
    void showSpinValue(SpinField& field, int32_t value);

    bool isPressed(int id) const;
    void press(int id, bool pressed) const;

    HWND target_;
    SettingValues values_;
    std::array<SpinField, 6> spins_;
};

} // namespace qv

#pragma once
// The about box: name, version, credit and the program icon, which starts to wander a little once the box has been
// open for a while. In diagnostic mode it also shows the status window's diagnostic records (Extra) and lets the
// user drop them (Clear).
#include "ui/win/Dialog.h"

#include <random>
#include <string>

namespace qv {

inline constexpr const char* kAuthorCredit = "Quorvane team";

// How long the icon keeps still, then how often it steps; tests shorten them.
struct IconWalkTimings {
    UINT waitMs = 12500;
    UINT stepMs = 100;
};

class AboutDialog : public Dialog {
public:
    explicit AboutDialog(bool diagnosticMode, IconWalkTimings timings = {});

    void setExtraText(const std::string& text);
    // True once Clear was pressed after the extra text was last set; the opener then drops its records.
    bool cleared() const { return cleared_; }

protected:
    INT_PTR handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void onInitDialog();
    void onTimer(UINT_PTR id);
    void onCommand(int id);
    void stepIcon();
    void killTimers();

    bool diagnosticMode_;
    IconWalkTimings timings_;
    std::string extraText_;
    bool cleared_ = false;
    POINT iconHome_{};
    POINT iconPosition_{};
    bool waitTimerRunning_ = false;
    bool stepTimerRunning_ = false;
    std::minstd_rand random_;
};

} // namespace qv

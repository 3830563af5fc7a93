#include "ui/win/AboutDialog.h"

#include "common/Version.h"
#include "ui/win/DialogIds.h"
#include "ui/win/ResourceIds.h"

#include <algorithm>
#include <ctime>

namespace qv {

namespace {

enum : UINT_PTR { kIconWaitTimer = 1, kIconStepTimer = 2 };

// The icon wanders within a band from 30 pixels left of its home to home, and from home to 10 pixels below it.
constexpr LONG kIconBandWidth = 30;
constexpr LONG kIconBandHeight = 10;

POINT nextIconPosition(POINT current, POINT home, int stepX, int stepY) {
    POINT next{};
    next.x = std::clamp<LONG>(current.x + stepX, home.x - kIconBandWidth, home.x);
    next.y = std::clamp<LONG>(current.y + stepY, home.y, home.y + kIconBandHeight);
    return next;
}

} // namespace

AboutDialog::AboutDialog(bool diagnosticMode, IconWalkTimings timings)
    : Dialog(IDD_ABOUT), diagnosticMode_(diagnosticMode), timings_(timings) {}

void AboutDialog::setExtraText(const std::string& text) {
    extraText_ = text;
    cleared_ = false;
}

INT_PTR AboutDialog::handleMessage(UINT message, WPARAM wParam, [[maybe_unused]] LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        onInitDialog();
        return TRUE;
    case WM_TIMER:
        onTimer(wParam);
        return TRUE;
    case WM_COMMAND:
        if (HIWORD(wParam) == BN_CLICKED)
            onCommand(LOWORD(wParam));
        return TRUE;
    case WM_DESTROY:
        killTimers();
        return FALSE;
    default:
        return FALSE;
    }
}

void AboutDialog::onInitDialog() {
    random_.seed(static_cast<std::minstd_rand::result_type>(std::time(nullptr)));
    RECT icon{};
    GetWindowRect(GetDlgItem(hwnd(), IDC_ABOUT_ICON), &icon);
    MapWindowPoints(nullptr, hwnd(), reinterpret_cast<POINT*>(&icon), 2);
    iconHome_ = {icon.left, icon.top};
    iconPosition_ = iconHome_;
    waitTimerRunning_ = SetTimer(hwnd(), kIconWaitTimer, timings_.waitMs, nullptr) != 0;
    SetWindowTextA(hwnd(), (std::string("About ") + kProductName).c_str());
    setItemText(IDC_ABOUT_PRODUCT, kProductName);
    setItemText(IDC_ABOUT_VERSION, kVersion);
    setItemText(IDC_ABOUT_AUTHOR, kAuthorCredit);
    showItem(IDC_ABOUT_EXTRA, diagnosticMode_);
    showItem(IDC_ABOUT_CLEAR, diagnosticMode_);
}

void AboutDialog::onTimer(UINT_PTR id) {
    if (id == kIconWaitTimer) {
        KillTimer(hwnd(), kIconWaitTimer);
        waitTimerRunning_ = false;
        stepTimerRunning_ = SetTimer(hwnd(), kIconStepTimer, timings_.stepMs, nullptr) != 0;
    } else if (id == kIconStepTimer) {
        stepIcon();
    }
}

void AboutDialog::onCommand(int id) {
    switch (id) {
    case IDC_ABOUT_EXTRA:
        MessageBoxA(nullptr, extraText_.empty() ? "No extra text" : ("Extra text:\n\n" + extraText_).c_str(),
                    kProductName, MB_OK);
        break;
    case IDC_ABOUT_CLEAR:
        extraText_.clear();
        cleared_ = true;
        break;
    case IDC_ABOUT_OK:
    case IDOK:
    case IDCANCEL:
        EndDialog(hwnd(), IDOK);
        break;
    default:
        break;
    }
}

void AboutDialog::stepIcon() {
    std::uniform_int_distribution<int> step(-1, 1);
    int stepX = step(random_);
    int stepY = step(random_);
    iconPosition_ = nextIconPosition(iconPosition_, iconHome_, stepX, stepY);
    SetWindowPos(GetDlgItem(hwnd(), IDC_ABOUT_ICON), nullptr, iconPosition_.x, iconPosition_.y, 0, 0,
                 SWP_NOSIZE | SWP_NOZORDER | SWP_NOACTIVATE);
}

void AboutDialog::killTimers() {
    if (waitTimerRunning_)
        KillTimer(hwnd(), kIconWaitTimer);
    if (stepTimerRunning_)
        KillTimer(hwnd(), kIconStepTimer);
    waitTimerRunning_ = false;
    stepTimerRunning_ = false;
}

} // namespace qv

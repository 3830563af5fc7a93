#include "ui/StatusDialog.h"

#include "app/win/Application.h"
#include "common/Text.h"
#include "common/Version.h"
#include "ui/Messages.h"
#include "ui/ResourceIds.h"

namespace qv {

StatusDialog::StatusDialog(Application& app) : Dialog(IDD_STATUS), app_(app) {}

void StatusDialog::setStatus(const std::string& text) {
    if (GetCurrentThreadId() == windowThreadId_.load()) {
        applyStatus(text);
        return;
    }
    HWND target = windowHandle_.load();
    if (target == nullptr)
        return;
    {
        std::lock_guard<std::mutex> guard(pendingMutex_);
        pendingStatus_ = text;
    }
    PostMessageA(target, WM_APP_STATUS_TEXT, 0, 0);
}

void StatusDialog::post(UINT message) {
    HWND target = windowHandle_.load();
    if (target != nullptr)
        PostMessageA(target, message, 0, 0);
}

INT_PTR StatusDialog::handleMessage(UINT message, WPARAM wParam, [[maybe_unused]] LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        onInitDialog();
        return TRUE;
    case WM_COMMAND:
        onCommand(LOWORD(wParam));
        return TRUE;
    case WM_CLOSE:
        return TRUE;
    case WM_APP_STATUS_TEXT: {
        std::string text;
        {
            std::lock_guard<std::mutex> guard(pendingMutex_);
            text = pendingStatus_;
        }
        applyStatus(text);
        return TRUE;
    }
    case WM_APP_QUEUE_COUNT:
        showQueueCount(static_cast<int32_t>(wParam));
        return TRUE;
    case WM_APP_RESULTS_CHANGED:
        refreshPercentField();
        return TRUE;
    case WM_APP_CONFIRM_EXIT:
        confirmExit();
        return TRUE;
    case WM_APP_TOGGLE_PAUSE:
        togglePause();
        return TRUE;
    case WM_APP_SET_PRIORITY:
        window_.priority = static_cast<int32_t>(wParam);
        app_.setWorkerPriority(window_.priority);
        return TRUE;
    case WM_DESTROY:
        windowHandle_ = nullptr;
        windowThreadId_ = 0;
        return FALSE;
    default:
        return FALSE;
    }
}

void StatusDialog::onInitDialog() {
    windowThreadId_ = GetCurrentThreadId();
    windowHandle_ = hwnd();
    HICON icon = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_QUORVANE));
    SendMessageA(hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon));
    SendMessageA(hwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon));
    SetWindowTextA(hwnd(), formatText("%s - %s - Status", kProductName, kVersion).c_str());
    applyStatus("Idle");
    refreshPercentField();
    SetWindowPos(hwnd(), HWND_TOPMOST, window_.screenX, window_.screenY, 0, 0,
                 SWP_NOSIZE | (app_.settings().alwaysOnTop.load() != 0 ? 0 : SWP_NOZORDER));
    HWND self = hwnd();
    app_.queue().setNotifyTarget([self](int32_t count, uint32_t totalSizeKb) {
        PostMessageA(self, WM_APP_QUEUE_COUNT, static_cast<WPARAM>(count), static_cast<LPARAM>(totalSizeKb));
    });
    showItem(IDC_STATUS_SKIP1, app_.diagnosticMode());
    showItem(IDC_STATUS_SKIP2, app_.diagnosticMode());
}

void StatusDialog::onCommand(int id) {
    switch (id) {
    case IDC_STATUS_EXIT:
    case IDOK:
    case IDCANCEL:
        confirmExit();
        break;
    case IDC_STATUS_PAUSE:
        togglePause();
        break;
    default:
        break;
    }
}

void StatusDialog::applyStatus(const std::string& text) {
    statusText_ = text;
    setItemText(IDC_STATUS_STATE, window_.paused ? "Paused" : statusText_.c_str());
    if (app_.queue().newDirectoryFlag())
        refreshPercentField();
    QueueEntry head;
    bool haveHead = app_.queue().head(head);
    std::string directory = haveHead ? directoryPart(head.path) : std::string();
    currentDirectory_ = directory.empty() ? "N/A" : directory;
    currentFile_ = haveHead && !head.path.empty() ? head.path : "N/A";
    currentSizeKb_ = haveHead ? head.sizeKb : 0;
    setItemText(IDC_STATUS_DIRECTORY, currentDirectory_.c_str());
    setItemText(IDC_STATUS_FILENAME, fileNamePart(currentFile_).c_str());
    setItemText(IDC_STATUS_SIZE, currentSizeKb_ > 0 ? formatText("%d kB", static_cast<int>(currentSizeKb_)).c_str() : "N/A");
}

void StatusDialog::showQueueCount(int32_t count) {
    queueCount_ = count;
    setItemText(IDC_STATUS_QUEUE, count == 0 ? "Empty" : formatText("%d file%s", count, count == 1 ? "" : "s").c_str());
}

void StatusDialog::refreshPercentField() {
    int32_t average = app_.results().average();
    setItemText(IDC_STATUS_PERCENT, average < 0 ? "N/A" : formatText("%d%%", average).c_str());
}

void StatusDialog::togglePause() {
    window_.paused = !window_.paused;
    setItemText(IDC_STATUS_PAUSE, window_.paused ? "Resume" : "Pause");
    if (window_.paused)
        app_.pauseWorker();
    else
        app_.resumeWorker();
    applyStatus(statusText_);
}

void StatusDialog::confirmExit() {
    bool erase = false;
    if (app_.queue().isEmpty()) {
        if (MessageBoxA(hwnd(), formatText("Really exit %s?", kProductName).c_str(), "Confirm exit", MB_YESNO) != IDYES)
            return;
        erase = true;
    } else {
        int32_t n = app_.queue().count();
        std::string text = n == 1 ? std::string("Erase last entry from detector queue?")
                                   : formatText("Erase %d entries from detector queue?", n);
        int answer = MessageBoxA(hwnd(), text.c_str(), "Confirm exit", MB_YESNOCANCEL);
        if (answer == IDCANCEL)
            return;
        erase = (answer == IDYES);
    }
    app_.setEraseQueue(erase);
    if (!window_.hidden)
        recordPosition();
    EndDialog(hwnd(), 1);
}

void StatusDialog::recordPosition() {
    RECT rect{};
    if (GetWindowRect(hwnd(), &rect)) {
        window_.screenX = rect.left;
        window_.screenY = rect.top;
    }
}

} // namespace qv

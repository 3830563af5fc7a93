#include "ui/win/StatusDialog.h"

#include "ui/StatusTexts.h"
#include "common/Text.h"
#include "common/Version.h"
#include "estimate/TimeEstimate.h"
#include "ui/TotalEstimate.h"
#include "ui/win/AboutDialog.h"
#include "ui/win/ConfigDialog.h"
#include "ui/win/DroppedFiles.h"
#include "ui/win/PercentWindow.h"
#include "ui/win/SpectrumWindow.h"
#include "app/win/Messages.h"
#include "settings/SettingsTable.h"
#include "ui/win/ResourceIds.h"
#include "ui/win/ShortenedField.h"

#include <optional>

namespace qv {

namespace {

enum : UINT_PTR {
    TIMER_START_HIDDEN = 1,
    TIMER_SHOW,
    TIMER_ABOUT,
    TIMER_TRAY_MENU,
    TIMER_REFRESH,
    TIMER_APPLY_PRIORITY,
};

// The estimates show whole seconds; refreshing as fast as timer messages come (about 100 a second) kept an
// idle instance at several per cent of a core for no visible change.
constexpr UINT kRefreshMilliseconds = 500;

constexpr UINT TRAY_ICON_ID = 0x51;
constexpr std::size_t kMaxDiagnosticRecords = 32;

} // namespace

StatusDialog::StatusDialog(ApplicationControl& app)
    : Dialog(IDD_STATUS), app_(app), settings_(app.settings()), startHidden_(settings_.hidden != 0),
      taskbarCreatedMessage_(RegisterWindowMessageA("TaskbarCreated")) {
    // Stored again from whether the window is hidden at exit.
    settings_.hidden = 0;
    trayMenu_.build(settings_.priority, settings_.paused != 0);
}

StatusDialog::~StatusDialog() {
    tray_.remove();
}

void StatusDialog::workerStateChanged(WorkerState state) {
    if (GetCurrentThreadId() == windowThreadId_.load()) {
        applyState(state);
        return;
    }
    {
        std::lock_guard<std::mutex> guard(pendingMutex_);
        pendingState_ = state;
    }
    // Before the window is up the state waits for onInitDialog, which reads it after publishing the handle.
    HWND target = windowHandle_.load();
    if (target != nullptr)
        PostMessageA(target, WM_APP_STATUS_TEXT, 0, 0);
}

void StatusDialog::resultsChanged() {
    HWND target = windowHandle_.load();
    if (target != nullptr)
        PostMessageA(target, WM_APP_RESULTS_CHANGED, 0, 0);
}

INT_PTR StatusDialog::handleMessage(UINT message, WPARAM wParam, LPARAM lParam) {
    switch (message) {
    case WM_INITDIALOG:
        onInitDialog();
        return TRUE;
    case WM_COMMAND:
        onCommand(LOWORD(wParam), HIWORD(wParam));
        return TRUE;
    case WM_TIMER:
        onTimer(wParam);
        return TRUE;
    case WM_CLOSE:
        hide(true);
        return TRUE;
    case WM_SHOWWINDOW:
        // Whatever made the window appear or disappear, the tray icon and the menu follow it.
        if (wParam != FALSE)
            show(false);
        else
            hide(false);
        return FALSE;
    case WM_APP_TRAY:
        onTray(wParam, lParam);
        return TRUE;
    case WM_APP_CONFIRM_EXIT:
        confirmExit();
        return TRUE;
    case WM_APP_SHOW_ABOUT:
        openAbout();
        return TRUE;
    case WM_APP_SHOW_WINDOW:
        if (IsIconic(hwnd()))
            ShowWindow(hwnd(), SW_RESTORE);
        show(true);
        return TRUE;
    case WM_APP_RESULTS_CHANGED:
        refreshPercentField();
        return TRUE;
    case WM_APP_PICKUP_QUEUE_FILES:
        app_.requestPickUp();
        return TRUE;
    case WM_DROPFILES:
        onDropFiles(reinterpret_cast<HDROP>(wParam));
        return TRUE;
    case WM_DRAWITEM:
        // Long directories keep their last folders, long file names their start and end.
        if (wParam == IDC_STATUS_DIRECTORY)
            drawShortenedField(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam), Shortening::Path);
        else if (wParam == IDC_STATUS_FILENAME)
            drawShortenedField(*reinterpret_cast<const DRAWITEMSTRUCT*>(lParam), Shortening::FileName);
        else
            return FALSE;
        return TRUE;
    case WM_APP_QUEUE_COUNT:
        showQueueCount(app_.takeQueueCount());
        return TRUE;
    case WM_APP_STATUS_TEXT:
        applyState(takePendingState());
        return TRUE;
    case WM_QUERYENDSESSION:
        // Nothing to ask: the end of the session saves what an exit keeps.
        SetWindowLongPtrA(hwnd(), DWLP_MSGRESULT, TRUE);
        return TRUE;
    case WM_ENDSESSION:
        if (wParam != FALSE)
            onEndSession();
        return TRUE;
    case WM_DESTROY:
        KillTimer(hwnd(), TIMER_REFRESH);
        app_.attachQueueDisplay(nullptr, 0);
        app_.statusWindowGone();
        windowHandle_ = nullptr;
        windowThreadId_ = 0;
        return FALSE;
    default:
        if (message == taskbarCreatedMessage_ && message != 0) {
            // A restarted taskbar holds none of the icons it had.
            tray_.restore();
            return TRUE;
        }
        return onSettingMessage(message, wParam) ? TRUE : FALSE;
    }
}

void StatusDialog::onInitDialog() {
    windowThreadId_ = GetCurrentThreadId();
    windowHandle_ = hwnd();
    icon_ = LoadIconA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDI_QUORVANE));
    SendMessageA(hwnd(), WM_SETICON, ICON_BIG, reinterpret_cast<LPARAM>(icon_));
    SendMessageA(hwnd(), WM_SETICON, ICON_SMALL, reinterpret_cast<LPARAM>(icon_));
    tray_.prepare(hwnd(), TRAY_ICON_ID, WM_APP_TRAY, icon_);
    SetWindowTextA(hwnd(), formatText("%s - %s - Status", kProductName, kVersion).c_str());
    if (settings_.paused != 0)
        pause();
    applyState(takePendingState());
    refreshPercentField();
    bool onTop = settings_.alwaysOnTop != 0;
    SetWindowPos(hwnd(), onTop ? HWND_TOPMOST : nullptr, settings_.screenX, settings_.screenY, 0, 0,
                 SWP_NOSIZE | (onTop ? 0 : SWP_NOZORDER));
    app_.attachQueueDisplay(hwnd(), WM_APP_QUEUE_COUNT);
    if (startHidden_)
        startTimer(TIMER_START_HIDDEN, 1500);
    startTimer(TIMER_REFRESH, kRefreshMilliseconds);
    startTimer(TIMER_APPLY_PRIORITY, 1200);
    app_.statusWindowReady(hwnd());
}

void StatusDialog::onCommand(int id, int notification) {
    switch (id) {
    case IDC_STATUS_HIDE:
        hide(true);
        break;
    case IDC_STATUS_EXIT:
    case IDOK:
    case IDCANCEL:
        confirmExit();
        break;
    case IDC_STATUS_PAUSE:
        togglePause();
        break;
    case IDC_STATUS_ABOUT:
        openAbout();
        break;
    case IDC_STATUS_CONFIG:
        openConfig();
        break;
    case IDC_STATUS_PERCENT:
        if (notification == STN_CLICKED)
            openRecentFiles();
        break;
    case IDC_STATUS_DIRECTORY:
        if (notification == STN_CLICKED)
            openRecentDirectories();
        break;
    default:
        // The tray menu's commands, when they come as a menu's usual WM_COMMAND.
        if (id >= static_cast<int>(kTrayExit) && id <= static_cast<int>(kTrayPriorityHigh))
            onTrayCommand(static_cast<UINT>(id));
        break;
    }
}

void StatusDialog::openAbout() {
    AboutDialog about(app_.diagnosticMode());
    std::string extra;
    for (const std::string& record : diagnosticRecords_)
        extra += (extra.empty() ? "" : "\n") + record;
    about.setExtraText(extra);
    if (runOwned(about) && about.cleared())
        diagnosticRecords_.clear();
}

void StatusDialog::openConfig() {
    ConfigDialog config(hwnd(), currentValues(settings_));
    runOwned(config);
}

void StatusDialog::openRecentFiles() {
    openPercentWindow("Recent files", app_.recentFiles(), PercentRole::Files);
}

void StatusDialog::openRecentDirectories() {
    openPercentWindow("Recent directories", app_.recentDirectories(), PercentRole::Directories);
}

void StatusDialog::openPercentWindow(const std::string& title, const std::vector<PercentEntry>& entries,
                                     PercentRole role) {
    std::vector<std::string> names;
    std::vector<int32_t> percents;
    for (const PercentEntry& entry : entries) {
        names.push_back(entry.name);
        percents.push_back(entry.percent);
    }
    PercentWindow window;
    window.setTitle(title);
    window.setLists(names, percents);
    std::vector<std::string> types;
    const SpectrumTools tools = app_.spectrumTools();
    for (const DecoderRow& row : tools.decoders.rows())
        types.push_back(row.type);
    // Spectrum windows belong to the status window: they outlive the percent window and go at exit.
    window.setSpectrum(role, types,
                       [this](const std::string& file) { SpectrumWindow::open(hwnd(), app_.spectrumTools(), file); });
    runOwned(window);
}

bool StatusDialog::runOwned(Dialog& dialog) {
    // The status window is disabled beneath its dialog, but the tray menu and other programs' messages still
    // reach it: a second dialog would open on top of the first.
    if (openDialog_ != nullptr) {
        SetForegroundWindow(openDialog_->hwnd());
        return false;
    }
    openDialog_ = &dialog;
    dialog.runModal(hwnd());
    openDialog_ = nullptr;
    return true;
}

void StatusDialog::onTimer(UINT_PTR id) {
    switch (id) {
    case TIMER_START_HIDDEN:
        KillTimer(hwnd(), id);
        hide(true);
        break;
    case TIMER_SHOW:
        KillTimer(hwnd(), id);
        show(true);
        break;
    case TIMER_TRAY_MENU:
        KillTimer(hwnd(), id);
        onTrayMenu();
        break;
    case TIMER_ABOUT:
        KillTimer(hwnd(), id);
        openAbout();
        break;
    case TIMER_REFRESH:
        refreshEstimates();
        break;
    case TIMER_APPLY_PRIORITY:
        KillTimer(hwnd(), id);
        setPriority(settings_.priority);
        break;
    default:
        break;
    }
}

void StatusDialog::onDropFiles(HDROP drop) {
    queueDroppedFiles(drop, [this](const std::string& argumentText) { app_.queueArguments(argumentText); });
}

void StatusDialog::onTray(WPARAM id, LPARAM event) {
    if (id != TRAY_ICON_ID)
        return;
    if (event == WM_LBUTTONDOWN)
        startTimer(TIMER_SHOW, 250);
    else if (event == WM_RBUTTONDOWN)
        startTimer(TIMER_TRAY_MENU, 250);
}

void StatusDialog::onTrayMenu() {
    POINT point{};
    GetCursorPos(&point);
    onTrayCommand(trayMenu_.track(hwnd(), point));
}

void StatusDialog::onTrayCommand(UINT command) {
    switch (command) {
    case kTrayExit:
        confirmExit();
        break;
    case kTrayAbout:
        startTimer(TIMER_ABOUT, 0);
        break;
    case kTrayShowHide:
        startTimer(TIMER_SHOW, 0);
        break;
    case kTrayPause:
        togglePause();
        break;
    default:
        if (command >= kTrayPriorityIdle && command <= kTrayPriorityHigh)
            setPriority(static_cast<int32_t>(command));
        break;
    }
}

bool StatusDialog::onSettingMessage(UINT message, WPARAM wParam) {
    if (message <= WM_APP)
        return false;
    const std::optional<setting::Index> index = settingOfMessage(message - WM_APP);
    if (!index)
        return false;
    if (*index == setting::kPaused) {
        togglePause();
        return true;
    }
    const std::optional<int32_t> value = acceptedValue(kSettingsTable[*index], static_cast<int32_t>(wParam));
    if (!value)
        return true;
    if (*index == setting::kPriority) {
        setPriority(*value);
        return true;
    }
    (settings_.*kSettingsTable[*index].value) = *value;
    if (*index == setting::kStatusDialogAlwaysOnTop)
        SetWindowPos(hwnd(), *value != 0 ? HWND_TOPMOST : HWND_NOTOPMOST, 0, 0, 0, 0, SWP_NOMOVE | SWP_NOSIZE);
    return true;
}

WorkerState StatusDialog::takePendingState() {
    std::lock_guard<std::mutex> guard(pendingMutex_);
    return pendingState_;
}

void StatusDialog::applyState(WorkerState state) {
    state_ = state;
    setItemText(IDC_STATUS_STATE, settings_.paused != 0 ? "Paused" : workerStateText(state_).c_str());
    if (app_.newDirectory())
        refreshPercentField();
    QueueEntry head;
    bool haveHead = app_.queueHead(head);
    std::string directory = haveHead ? directoryPart(head.path) : std::string();
    currentDirectory_ = directory.empty() ? "N/A" : directory;
    currentFile_ = haveHead && !head.path.empty() ? head.path : "N/A";
    currentSizeKb_ = haveHead ? head.sizeKb : 0;
    setItemText(IDC_STATUS_DIRECTORY, currentDirectory_.c_str());
    setItemText(IDC_STATUS_FILENAME, fileNamePart(currentFile_).c_str());
    setItemText(IDC_STATUS_SIZE, sizeFieldText(currentSizeKb_).c_str());
    tray_.setTip(trayTipText(state_, currentFile_, settings_.paused != 0));
}

void StatusDialog::showQueueCount(int32_t count) {
    queueCount_ = count;
    setItemText(IDC_STATUS_QUEUE, queueFieldText(count).c_str());
}

void StatusDialog::refreshPercentField() {
    setItemText(IDC_STATUS_PERCENT, percentFieldText(app_.averagePercent()).c_str());
}

void StatusDialog::refreshEstimates() {
    const bool intelligent = settings_.intelligentEstimate != 0;
    const int level = intelligent ? settings_.multiLinearLevel.load() : 0;
    const EstimateParts parts = app_.estimates(level);
    const int32_t current = parts.current;
    const int32_t total = totalEstimate(parts);

    std::string record;
    const bool recording =
        app_.diagnosticMode() && (current > previousCurrentEstimate_ || total > previousTotalEstimate_);
    if (recording)
        record = itemText(IDC_STATUS_QUEUE) + ": " + itemText(IDC_STATUS_FILE_ETA) + "/" +
                 itemText(IDC_STATUS_TOTAL_ETA) + " --> ";
    if (current != previousCurrentEstimate_) {
        setItemText(IDC_STATUS_FILE_ETA, estimateText(current, settings_.paused != 0, intelligent).c_str());
        setItemText(IDC_STATUS_TOTAL_ETA, estimateText(total, settings_.paused != 0, intelligent).c_str());
    }
    previousCurrentEstimate_ = current;
    previousTotalEstimate_ = total;
    if (recording) {
        diagnosticRecords_.push_back(record + itemText(IDC_STATUS_FILE_ETA) + "/" + itemText(IDC_STATUS_TOTAL_ETA));
        if (diagnosticRecords_.size() > kMaxDiagnosticRecords)
            diagnosticRecords_.pop_front();
    }
}

void StatusDialog::pause() {
    settings_.paused = 1;
    trayMenu_.markPaused(true);
    setItemText(IDC_STATUS_PAUSE, "Resume");
    app_.pauseWorker();
    applyState(state_);
}

void StatusDialog::resume() {
    settings_.paused = 0;
    trayMenu_.markPaused(false);
    setItemText(IDC_STATUS_PAUSE, "Pause");
    app_.resumeWorker();
    applyState(state_);
}

void StatusDialog::togglePause() {
    if (settings_.paused != 0)
        resume();
    else
        pause();
}

void StatusDialog::setPriority(int32_t priority) {
    trayMenu_.markPriority(priority);
    settings_.priority = priority;
    app_.setWorkerPriority(priority);
}

void StatusDialog::hide(bool changeVisibility) {
    recordPosition();
    if (changeVisibility)
        ShowWindow(hwnd(), SW_HIDE);
    settings_.hidden = 1;
    trayMenu_.setWindowHidden(true);
    tray_.add();
    applyState(state_);
}

void StatusDialog::show(bool changeVisibility) {
    settings_.hidden = 0;
    if (changeVisibility)
        ShowWindow(hwnd(), SW_SHOW);
    trayMenu_.setWindowHidden(false);
    tray_.remove();
    SetForegroundWindow(hwnd());
}

void StatusDialog::confirmExit() {
    // Exit may be asked again while the box waits (from the tray menu, or posted by another process); the box that
    // is open answers for it. A second box inside the first one's loop would leave the first waiting after Yes.
    if (confirmingExit_)
        return;
    confirmingExit_ = true;
    const std::optional<bool> erase = askExit();
    confirmingExit_ = false;
    if (!erase)
        return;
    app_.setEraseQueue(*erase);
    if (settings_.hidden == 0)
        recordPosition();
    tray_.remove();
    EndDialog(hwnd(), 1);
}

std::optional<bool> StatusDialog::askExit() {
    if (app_.queueCount() == 0) {
        if (MessageBoxA(hwnd(), formatText("Really exit %s?", kProductName).c_str(), "Confirm exit", MB_YESNO) != IDYES)
            return std::nullopt;
        return true;
    }
    int32_t n = app_.queueCount();
    std::string text = n == 1 ? std::string("Erase last entry from detector queue?")
                              : formatText("Erase %d entries from detector queue?", n);
    int answer = MessageBoxA(hwnd(), text.c_str(), "Confirm exit", MB_YESNOCANCEL);
    if (answer == IDCANCEL)
        return std::nullopt;
    return answer == IDYES;
}

void StatusDialog::onEndSession() {
    if (settings_.hidden == 0)
        recordPosition();
    app_.endSession();
    // Everything is saved; if Windows lets the process live on, it ends as after an exit that keeps the queue.
    tray_.remove();
    EndDialog(hwnd(), 1);
}

void StatusDialog::recordPosition() {
    RECT rect{};
    if (GetWindowRect(hwnd(), &rect)) {
        settings_.screenX = rect.left;
        settings_.screenY = rect.top;
    }
}

void StatusDialog::startTimer(UINT_PTR id, UINT milliseconds) {
    SetTimer(hwnd(), id, milliseconds, nullptr);
}

std::string StatusDialog::itemText(int id) const {
    char text[256] = {};
    GetDlgItemTextA(hwnd(), id, text, sizeof text);
    return text;
}

} // namespace qv

#pragma once
// The main window of the running instance: what is being checked, the queue and its estimates, the
// CDDA share of the current directory; pause, hide to the tray, the other dialogs, and exit.
#include "app/win/ApplicationControl.h"
#include "app/win/StatusView.h"
#include "settings/Settings.h"
#include "ui/win/Dialog.h"
#include "ui/win/PercentWindow.h"
#include "ui/win/Tray.h"

#include <shellapi.h>

#include <atomic>
#include <cstdint>
#include <deque>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace qv {

class StatusDialog : public Dialog, public StatusView {
public:
    explicit StatusDialog(ApplicationControl& app);
    // Removes the tray icon.
    ~StatusDialog() override;

    // StatusView, safe from any thread: off the window's thread the news is handed over with a posted
    // message, so only the window's own thread ever touches the controls.
    void workerStateChanged(WorkerState state) override;
    void resultsChanged() override;

protected:
    INT_PTR handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void onInitDialog();
    void onCommand(int id, int notification);
    void onTimer(UINT_PTR id);
    void onTray(WPARAM id, LPARAM event);
    void onDropFiles(HDROP drop);
    void onTrayMenu();
    void onTrayCommand(UINT command);
    bool onSettingMessage(UINT message, WPARAM value);
    WorkerState takePendingState();
    void applyState(WorkerState state);
    void showQueueCount(int32_t count);
    void refreshPercentField();
    void refreshEstimates();
    void pause();
    void resume();
    void togglePause();
    void setPriority(int32_t priority);
    void hide(bool changeVisibility);
    void show(bool changeVisibility);
    void confirmExit();
    // The exit question: whether to erase the queue, or nothing when the user stays.
    std::optional<bool> askExit();
    // Windows may end the process as soon as the window has answered: everything an exit keeps is saved now.
    void onEndSession();
    void openAbout();
    void openConfig();
    void openRecentFiles();
    void openRecentDirectories();
    void openPercentWindow(const std::string& title, const std::vector<PercentEntry>& entries, PercentRole role);
    // Runs dialog owned by this window; while another of its dialogs is open, brings that one forward instead
    // and returns false.
    bool runOwned(Dialog& dialog);
    void recordPosition();
    void startTimer(UINT_PTR id, UINT milliseconds);
    std::string itemText(int id) const;

    ApplicationControl& app_;
    SharedSettings& settings_;
    const bool startHidden_;
    HICON icon_ = nullptr;
    TrayIcon tray_;
    TrayMenu trayMenu_;
    std::atomic<DWORD> windowThreadId_{0};
    std::atomic<HWND> windowHandle_{nullptr};
    // Broadcast when the taskbar is created anew (Explorer restarted); 0 when it could not be registered.
    const UINT taskbarCreatedMessage_;
    Dialog* openDialog_ = nullptr;
    bool confirmingExit_ = false;

    std::mutex pendingMutex_;
    WorkerState pendingState_;

    // Window-thread state.
    WorkerState state_;
    std::string currentDirectory_ = "N/A";
    std::string currentFile_ = "N/A";
    uint32_t currentSizeKb_ = 0;
    int32_t queueCount_ = 0;
    int32_t previousCurrentEstimate_ = -3;
    int32_t previousTotalEstimate_ = -3;
    std::deque<std::string> diagnosticRecords_;
};

} // namespace qv

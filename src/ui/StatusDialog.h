#pragma once
// The main window of the running instance: what is being checked, the queue, and the exit confirmation.
#include "settings/Settings.h"
#include "ui/Dialog.h"

#include <atomic>
#include <cstdint>
#include <mutex>
#include <string>

namespace qv {

class Application;

class StatusDialog : public Dialog {
public:
    explicit StatusDialog(Application& app);

    // Safe from any thread: off the window's thread the text is handed over with a posted message,
    // so only the window's own thread ever touches the controls.
    void setStatus(const std::string& text);
    // Posts a message to the window when it exists; safe from any thread.
    void post(UINT message);

protected:
    INT_PTR handleMessage(UINT message, WPARAM wParam, LPARAM lParam) override;

private:
    void onInitDialog();
    void onCommand(int id);
    void applyStatus(const std::string& text);
    void showQueueCount(int32_t count);
    void refreshPercentField();
    void togglePause();
    void confirmExit();
    void recordPosition();

    Application& app_;
    WindowSettings window_;
    std::atomic<DWORD> windowThreadId_{0};
    std::atomic<HWND> windowHandle_{nullptr};

    std::mutex pendingMutex_;
    std::string pendingStatus_;

    // Window-thread state.
    std::string statusText_ = "Idle";
    std::string currentDirectory_ = "N/A";
    std::string currentFile_ = "N/A";
    uint32_t currentSizeKb_ = 0;
    int32_t queueCount_ = 0;
};

} // namespace qv

#include "app/win/Application.h"

#include "common/Text.h"
#include "common/Version.h"
#include "app/win/InstanceRecord.h"
#include "app/win/StartUpLock.h"
#include "engine/win/DecoderTableBuilder.h"
#include "queue/Listing.h"
#include "queue/win/ArgumentLister.h"
#include "settings/win/RegistryKey.h"
#include "ui/SendToShortcut.h"
#include "ui/Messages.h"
#include "ui/StatusDialog.h"

#include <windows.h>
#include <commctrl.h>
#include <ole2.h>

#include <optional>

namespace qv {

namespace {

// Taken before looking for a running instance and let go once this instance's status window is up and
// its record fresh, so a start at the same moment waits and then hands its files over. A minute covers a
// first start that lists a large tree from its command line.
constexpr const char* kStartUpLockName = "Quorvane Start-Up";
constexpr uint32_t kStartUpLockTimeoutMs = 60000;

std::string environmentVariable(const char* name) {
    char buffer[260] = {};
    DWORD length = GetEnvironmentVariableA(name, buffer, sizeof buffer);
    return (length > 0 && length < sizeof buffer) ? std::string(buffer, length) : std::string();
}

bool isExistingFile(const std::string& path) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

// OLE for the main thread, for the life of the run.
class OleSession {
public:
    OleSession() : initialised_(SUCCEEDED(OleInitialize(nullptr))) {}
    ~OleSession() {
        if (initialised_)
            OleUninitialize();
    }
    OleSession(const OleSession&) = delete;
    OleSession& operator=(const OleSession&) = delete;

private:
    bool initialised_;
};

} // namespace

Application::Application(const std::string& commandLine) : resultLog_(results_, recent_, settings_, log_), stats_(&log_) {
    SplitResult split = splitArgument(commandLine);
    std::string programPath = split.first;
    arguments_ = split.rest;
    programDirectory_ = directoryPart(programPath, 2048);
    programFileName_ = fileNamePart(programPath);
    formPaths();
    diagnosticMode_ = environmentVariable("COMPUTERNAME") == kDiagnosticMachineName;
    log_.setOpenFailureReporter(
        [](const std::string& text) { MessageBoxA(nullptr, text.c_str(), kProductName, MB_OK); });
}

Application::~Application() = default;

void Application::formPaths() {
    systemLogPath_ = programDirectory_ + "\\System.log";
    detectLogPath_ = programDirectory_ + "\\Detect.log";
    recentLogPath_ = programDirectory_ + "\\Recent.log";
    queueLogPath_ = programDirectory_ + "\\Queue.log";
    estimateLogPath_ = programDirectory_ + "\\Estimate.log";
    detectorPath_ = programDirectory_ + "\\aucdtect.exe";
    log_.setPaths(systemLogPath_, detectLogPath_);
}

int Application::run() {
    OleSession ole;
    log_.writeSystemLog(formatText("%s %s", kProductName, kVersion));
    if (!isExistingFile(detectorPath_)) {
        // Nothing else is written or registered: the title line stays the only trace of this start.
        MessageBoxA(nullptr, ("Missing file:\n\n" + detectorPath_).c_str(), kProductName, MB_OK);
        return 0;
    }
    if (startUp()) {
        statusDialog_ = std::make_unique<StatusDialog>(*this);
        {
            std::lock_guard<std::mutex> guard(statusDialogMutex_);
            liveStatusDialog_ = statusDialog_.get();
        }
        statusDialog_->runModal(nullptr);
        startUpLock_.reset(); // in case the window never came up
        shutDown();
        {
            std::lock_guard<std::mutex> guard(statusDialogMutex_);
            liveStatusDialog_ = nullptr;
        }
        statusDialog_.reset();
    }
    log_.writeSystemLog("Done");
    log_.writeSystemLog("");
    return 0;
}

bool Application::startUp() {
    INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    {
        RegistryKey key(kRegistryKeyPath);
        decoders_ = buildDecoderTable(programDirectory_, key);
    }
    if (programDirectory_.find("\\Debug") == std::string::npos &&
        !createSendToShortcut(programDirectory_ + "\\" + programFileName_))
        log_.writeSystemLog("Cannot write the SendTo shortcut");

    startUpLock_ = std::make_unique<StartUpLock>(kStartUpLockName, kStartUpLockTimeoutMs);
    if (!startUpLock_->held())
        log_.writeSystemLog("Starting without the start-up lock");
    InstanceRecord instance(kRegistryKeyPath, GetCurrentProcessId(), log_);
    std::string runningDirectory = programDirectory_;
    std::optional<HWND> running = instance.findRunningInstance(runningDirectory);
    // Hand-off files must land where the running instance looks for them; this process's own logs stay.
    programDirectory_ = runningDirectory;
    if (running) {
        startUpLock_.reset();
        if (!arguments_.empty()) {
            listArguments(arguments_);
            // An instance whose window is not up yet takes the file on its first heartbeat.
            if (*running != nullptr)
                PostMessageA(*running, WM_APP_PICKUP_QUEUE_FILES, 0, 0);
        }
        return false;
    }
    instance.registerInstance(programDirectory_);

    // Both saved files stay on disk until a checkpoint or the shut-down replaces them: a crash right after
    // start-up must not lose them.
    results_.loadResults(recentLogPath_, true);
    if (!arguments_.empty())
        listArguments(arguments_);

    worker_ = std::make_unique<Worker>(*this, queue_, decoders_, settings_, log_,
                                       WorkerConfig{programDirectory_, detectorPath_, GetCurrentProcessId()});
    if (!worker_->start())
        log_.writeSystemLog(formatText("Cannot start the worker thread (error %lu)", GetLastError()));
    paused_ = false;

    queue_.loadFile(queueLogPath_, true);
    pickUpHandOffFiles();
    stats_.load(estimateLogPath_);
    return true;
}

void Application::shutDown() {
    {
        std::lock_guard<std::mutex> guard(stateMutex_);
        if (!eraseQueue_) {
            if (!results_.saveResults())
                log_.writeSystemLog("Cannot write " + recentLogPath_);
            if (!queue_.saveToFile(queueLogPath_))
                log_.writeSystemLog("Cannot write " + queueLogPath_);
        } else {
            // Checkpoints may have written them; an erased queue leaves neither behind.
            DeleteFileA(recentLogPath_.c_str());
            DeleteFileA(queueLogPath_.c_str());
        }
    }
    if (!stats_.save())
        log_.writeSystemLog("Cannot write " + estimateLogPath_);
    if (worker_) {
        worker_->finish();
        log_.writeSystemLog(worker_->waitFinished(20000) ? "Worker thread finished normally"
                                                          : "Timeout on finishing worker thread!");
    }
    InstanceRecord(kRegistryKeyPath, GetCurrentProcessId(), log_).unregisterInstance();
}

void Application::statusWindowReady() { startUpLock_.reset(); }

void Application::pickUpHandOffFiles() { queue_.loadHandOffFiles(programDirectory_, kHandOffPattern); }

void Application::listArguments(const std::string& argumentText) {
    qv::listArguments({programDirectory_, decoders_, log_, showMessageBox, GetCurrentProcessId()}, argumentText);
}

void Application::checkpoint() {
    {
        std::lock_guard<std::mutex> guard(stateMutex_);
        uint64_t change = queue_.changeCount();
        if (change != checkpointedChange_) {
            bool saved = queue_.saveToFile(queueLogPath_);
            saved = results_.saveResults() && saved;
            if (saved)
                checkpointedChange_ = change;
        }
    }
    (void)stats_.checkpoint();
}

void Application::pauseWorker() {
    if (!worker_ || paused_)
        return;
    worker_->pause();
    stats_.pause();
    paused_ = true;
}

void Application::resumeWorker() {
    if (!worker_ || !paused_)
        return;
    worker_->resume();
    stats_.resume();
    paused_ = false;
}

void Application::setWorkerPriority(int32_t level) {
    if (worker_)
        worker_->setPriority(level);
}

void Application::attachQueueDisplay(HWND window, UINT message) {
    if (window == nullptr) {
        queue_.setNotifyTarget(nullptr);
        return;
    }
    queueCountPosted_ = false;
    queue_.setNotifyTarget([this, window, message](int32_t count, uint32_t totalSizeKb) {
        if (!queueCountPosted_.exchange(true))
            PostMessageA(window, message, static_cast<WPARAM>(count), static_cast<LPARAM>(totalSizeKb));
    });
}

int32_t Application::takeQueueCount() {
    queueCountPosted_ = false;
    return queue_.count();
}

void Application::entryTaken(const QueueEntry& entry) { results_.setDirectory(directoryPart(entry.path)); }

void Application::timingStarted(const QueueEntry& entry) { stats_.start(entry.type, entry.sizeKb); }

void Application::entryFinished(const QueueEntry& entry, int32_t passes, int32_t validPasses, int32_t average) {
    {
        std::lock_guard<std::mutex> guard(stateMutex_);
        queue_.removeHead();
        results_.add(entry.path, passes, validPasses, average);
        log_.writeDetectResult(average, validPasses, passes, entry.path);
        postToStatusWindow(WM_APP_RESULTS_CHANGED);
        closeDirectoryIfEnded(entry);
    }
    stats_.finish();
}

void Application::entryDropped(const QueueEntry& entry, bool timingWasStarted) {
    {
        std::lock_guard<std::mutex> guard(stateMutex_);
        queue_.removeHead();
        closeDirectoryIfEnded(entry);
    }
    if (timingWasStarted)
        stats_.abandon();
}

void Application::closeDirectoryIfEnded(const QueueEntry& removed) {
    QueueEntry next;
    std::optional<std::string> nextHeadPath;
    if (queue_.head(next))
        nextHeadPath = next.path;
    resultLog_.closeDirectoryIfEnded(removed.path, nextHeadPath);
}

void Application::setStatus(const std::string& text) {
    std::lock_guard<std::mutex> guard(statusDialogMutex_);
    if (liveStatusDialog_ != nullptr)
        liveStatusDialog_->setStatus(text);
}

void Application::queueDrained() { postToStatusWindow(WM_APP_RESULTS_CHANGED); }

void Application::postToStatusWindow(UINT message) {
    std::lock_guard<std::mutex> guard(statusDialogMutex_);
    if (liveStatusDialog_ != nullptr)
        liveStatusDialog_->post(message);
}

} // namespace qv

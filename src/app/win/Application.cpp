#include "app/win/Application.h"

#include "common/Text.h"
#include "common/Version.h"
#include "app/win/InstanceRecord.h"
#include "app/win/NamedLock.h"
#include "engine/win/DecoderTableBuilder.h"
#include "queue/Listing.h"
#include "queue/win/ArgumentLister.h"
#include "settings/win/RegistryKey.h"
#include "win/Handles.h"
#include "app/win/SendToShortcut.h"
#include "app/win/Messages.h"

#include <windows.h>
#include <commctrl.h>
#include <ole2.h>

#include <optional>

namespace qv {

namespace {

// Taken before looking for a running instance and let go once this instance's status window is up and
// its record fresh, so a start at the same moment waits and then hands its files over. A minute covers a
// first start that lists a large tree from its command line; a holder that hangs longer must not stop
// every later start for good, so they go on without it.
constexpr const char* kStartUpLockName = "Quorvane Start-Up";
constexpr uint32_t kStartUpLockTimeoutMs = 60000;

// Held by the first instance for its whole run. A crashed instance's record stays fresh for seconds and
// names a process id that may be in use again by then; only while this lock is held elsewhere can the
// record name a running instance.
constexpr const char* kInstanceLockName = "Quorvane Instance";

std::string environmentVariable(const char* name) {
    char buffer[260] = {};
    DWORD length = GetEnvironmentVariableA(name, buffer, sizeof buffer);
    return (length > 0 && length < sizeof buffer) ? std::string(buffer, length) : std::string();
}

bool isExistingFile(const std::string& path) {
    DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY) == 0;
}

// Whether a file can be made in directory. Installed where its user may not write, the program still
// checks files: its scratch files then go to the temporary directory.
bool canWriteIn(const std::string& directory) {
    std::string probe = formatText("%s\\KelvrA_%lu.tmp", directory.c_str(), GetCurrentProcessId());
    win::UniqueHandle file(CreateFileA(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                       FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr));
    return file.valid();
}

std::string temporaryDirectory() {
    char buffer[MAX_PATH + 1] = {};
    DWORD length = GetTempPathA(sizeof buffer, buffer);
    std::string directory(buffer, length < sizeof buffer ? length : 0);
    while (!directory.empty() && directory.back() == '\\')
        directory.pop_back();
    return directory;
}

} // namespace

Application::Application(const std::string& commandLine)
    : resultLog_(results_, recent_, settings_, log_), stats_(&log_) {
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

Application::~Application() {
    log_.writeSystemLog("Done");
    log_.writeSystemLog("");
    if (oleInitialised_)
        OleUninitialize();
}

void Application::formPaths() {
    systemLogPath_ = programDirectory_ + "\\System.log";
    detectLogPath_ = programDirectory_ + "\\Detect.log";
    recentLogPath_ = programDirectory_ + "\\Recent.log";
    queueLogPath_ = programDirectory_ + "\\Queue.log";
    estimateLogPath_ = programDirectory_ + "\\Estimate.log";
    detectorPath_ = programDirectory_ + "\\aucdtect.exe";
    log_.setPaths(systemLogPath_, detectLogPath_);
}

bool Application::startUp() {
    // OLE for the main thread, for the life of the run.
    oleInitialised_ = SUCCEEDED(OleInitialize(nullptr));
    log_.writeSystemLog(formatText("%s %s", kProductName, kVersion));
    if (!isExistingFile(detectorPath_)) {
        // Nothing else is written or registered: the title line stays the only trace of this start.
        MessageBoxA(nullptr, ("Missing file:\n\n" + detectorPath_).c_str(), kProductName, MB_OK);
        return false;
    }
    return becomeRunningInstance();
}

void Application::attachView(StatusView* view) {
    std::lock_guard<std::mutex> guard(viewMutex_);
    view_ = view;
}

bool Application::becomeRunningInstance() {
    INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    {
        RegistryKey key(kRegistryKeyPath);
        decoders_ = buildDecoderTable(programDirectory_, key);
    }
    if (programDirectory_.find("\\Debug") == std::string::npos &&
        !createSendToShortcut(programDirectory_ + "\\" + programFileName_))
        log_.writeSystemLog("Cannot write the SendTo shortcut");

    startUpLock_ = std::make_unique<NamedLock>(kStartUpLockName, kStartUpLockTimeoutMs);
    if (!startUpLock_->held())
        log_.writeSystemLog("Starting without the start-up lock");
    instanceLock_ = std::make_unique<NamedLock>(kInstanceLockName, 0);
    InstanceRecord instance(kRegistryKeyPath, GetCurrentProcessId(), log_);
    std::string runningDirectory = programDirectory_;
    std::optional<HWND> running;
    if (!instanceLock_->held())
        running = instance.findRunningInstance(runningDirectory);
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
    registered_ = true;

    // Both saved files stay on disk until a checkpoint or the shut-down replaces them: a crash right after
    // start-up must not lose them.
    results_.loadResults(recentLogPath_, true);
    if (!arguments_.empty())
        listArguments(arguments_);

    std::string scratchDirectory = programDirectory_;
    if (!canWriteIn(programDirectory_)) {
        scratchDirectory = temporaryDirectory();
        log_.writeSystemLog("Program directory cannot be written; scratch files go to " + scratchDirectory);
    }
    worker_ = std::make_unique<Worker>(
        *this, decoders_, settings_, log_,
        WorkerConfig{programDirectory_, scratchDirectory, detectorPath_, GetCurrentProcessId()});
    if (!worker_->start())
        log_.writeSystemLog(formatText("Cannot start the worker thread (error %lu)", GetLastError()));
    paused_ = false;

    queue_.loadFile(queueLogPath_, true);
    pickUpHandOffFiles();
    stats_.load(estimateLogPath_);
    return true;
}

void Application::shutDown() {
    startUpLock_.reset(); // in case the window never came up
    int32_t unsavedEntries = 0;
    {
        std::lock_guard<std::mutex> guard(stateMutex_);
        if (!eraseQueue_) {
            if (!results_.saveResults())
                log_.writeSystemLog("Cannot write " + recentLogPath_);
            if (!queue_.saveToFile(queueLogPath_)) {
                log_.writeSystemLog("Cannot write " + queueLogPath_);
                unsavedEntries = queue_.count();
            }
        } else {
            // Checkpoints may have written them; an erased queue leaves neither behind.
            DeleteFileA(recentLogPath_.c_str());
            DeleteFileA(queueLogPath_.c_str());
        }
    }
    // The user asked to keep the queue; losing it must not go unnoticed (the log may not be writable either).
    if (unsavedEntries > 0)
        showMessageBox(formatText("Cannot write %s\n\nThe queue (%s) is not kept for the next start.",
                                  queueLogPath_.c_str(), fileCountText(unsavedEntries).c_str()));
    if (!stats_.save())
        log_.writeSystemLog("Cannot write " + estimateLogPath_);
    if (worker_) {
        worker_->finish();
        log_.writeSystemLog(worker_->waitFinished(20000) ? "Worker thread finished normally"
                                                         : "Timeout on finishing worker thread!");
    }
    InstanceRecord(kRegistryKeyPath, GetCurrentProcessId(), log_).unregisterInstance();
    instanceLock_.reset();
}

void Application::statusWindowReady() {
    startUpLock_.reset();
}

void Application::pickUpHandOffFiles() {
    queue_.loadHandOffFiles(programDirectory_, kHandOffPattern);
    if (!entriesWithoutHandOff_.empty()) {
        queue_.addEntries(entriesWithoutHandOff_);
        entriesWithoutHandOff_.clear();
    }
}

void Application::listArguments(const std::string& argumentText) {
    ListerSetup setup{programDirectory_, decoders_, log_, showMessageBox, GetCurrentProcessId()};
    HandOffListing listing = qv::listArguments(setup, argumentText);
    if (listing.written)
        return;
    if (!registered_) {
        // A second start has no other way into the running instance's queue.
        showMessageBox("Cannot write " + listing.path + "\n\nThe files were not handed over to the running instance.");
        return;
    }
    // This instance's own files: held until the next pick-up, where the hand-off file would have been read.
    std::vector<QueueEntry> entries = listArgumentsInMemory(setup, argumentText);
    log_.writeSystemLog(formatText("%u files kept in memory instead", static_cast<unsigned>(entries.size())));
    entriesWithoutHandOff_.insert(entriesWithoutHandOff_.end(), entries.begin(), entries.end());
}

void Application::checkpoint() {
    if (checkpointPacer_.isDue(GetTickCount64())) {
        std::lock_guard<std::mutex> guard(stateMutex_);
        uint64_t change = queue_.changeCount();
        if (change != checkpointedChange_) {
            uint64_t start = GetTickCount64();
            bool saved = queue_.saveToFile(queueLogPath_);
            saved = results_.saveResults() && saved;
            if (saved)
                checkpointedChange_ = change;
            checkpointPacer_.saved(start, GetTickCount64());
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

bool Application::nextEntry(QueueEntry& entry) {
    if (!queue_.head(entry))
        return false;
    results_.setDirectory(directoryPart(entry.path));
    return true;
}

void Application::timingStarted(const QueueEntry& entry) {
    stats_.start(entry.type, entry.sizeKb);
}

void Application::entryFinished(const QueueEntry& entry, int32_t passes, int32_t validPasses, int32_t average) {
    {
        std::lock_guard<std::mutex> guard(stateMutex_);
        queue_.removeHead();
        results_.add(entry.path, passes, validPasses, average);
        log_.writeDetectResult(average, validPasses, passes, entry.path);
        closeDirectoryIfEnded(entry);
    }
    stats_.finish();
    std::lock_guard<std::mutex> guard(viewMutex_);
    if (view_ != nullptr)
        view_->resultsChanged();
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

void Application::stateChanged(WorkerState state) {
    std::lock_guard<std::mutex> guard(viewMutex_);
    if (view_ != nullptr)
        view_->workerStateChanged(state);
}

void Application::queueDrained() {
    std::lock_guard<std::mutex> guard(viewMutex_);
    if (view_ != nullptr)
        view_->resultsChanged();
}

} // namespace qv

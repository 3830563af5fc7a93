#include "app/win/Application.h"

#include "app/InstanceFreshness.h"

#include "common/Text.h"
#include "common/Version.h"
#include "app/win/InstanceRecord.h"
#include "app/win/NamedLock.h"
#include "engine/win/DecoderTableBuilder.h"
#include "common/Clock.h"
#include "common/StateFile.h"
#include "queue/Listing.h"
#include "queue/win/ArgumentLister.h"
#include "settings/win/RegistryKey.h"
#include "settings/win/SettingsStore.h"
#include "win/Handles.h"
#include "win/Helpers.h"
#include "app/win/SendToShortcut.h"
#include "app/win/Messages.h"

#include <windows.h>
#include <commctrl.h>
#include <ole2.h>

#include <chrono>
#include <optional>

namespace qv {

namespace {

// Held by the running instance for its whole run, taken before anything else is registered: while another
// process holds it, an instance runs, whatever its record's heartbeat says. Windows lets go of it when its
// holder ends in any way, so a crashed instance never keeps a later start from running.
constexpr const char* kInstanceLockName = "Quorvane Instance";
// How often a start that waits for the running instance's record looks again (it also waits on the lock).
constexpr uint32_t kInstanceWaitMs = 100;

// The housekeeping thread's tick; the checkpoint comes every second tick, so a crash loses at most the file
// in work and about a second of queue changes.
constexpr std::chrono::milliseconds kHousekeepingTick{500};
constexpr uint64_t kCheckpointMilliseconds = 1000;

// Windows gives a window a few seconds to answer the end of the session; the worker ends its detector and
// removes its scratch files in far less, unless a box holds it.
constexpr uint32_t kSessionEndWorkerWaitMs = 2000;

// Whether a file can be made in directory. Installed where its user may not write, the program still
// checks files: its scratch files then go to the temporary directory.
bool canWriteIn(const std::string& directory) {
    std::string probe = formatText("%s\\%s_%lu.tmp", directory.c_str(), kScratchPrefix, GetCurrentProcessId());
    win::UniqueHandle file(CreateFileA(probe.c_str(), GENERIC_WRITE, 0, nullptr, CREATE_ALWAYS,
                                       FILE_ATTRIBUTE_TEMPORARY | FILE_FLAG_DELETE_ON_CLOSE, nullptr));
    return file.valid();
}

} // namespace

Application::Application(const std::string& commandLine)
    : resultLog_(recent_, settings_, log_), stats_(&log_), housekeeping_([this] { houseKeep(); }, kHousekeepingTick) {
    SplitResult split = splitArgument(commandLine);
    std::string programPath = split.first;
    arguments_ = split.rest;
    programDirectory_ = directoryPart(programPath, 2048);
    programFileName_ = fileNamePart(programPath);
    formPaths();
    diagnosticMode_ = win::environmentVariable("COMPUTERNAME") == kDiagnosticMachineName;
    log_.setOpenFailureReporter(win::showMessageBox);
}

Application::~Application() {
    if (!detectorMissing_) {
        log_.writeSystemLog("Done");
        log_.writeSystemLog("");
    }
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
    if (!win::isExistingFile(detectorPath_)) {
        // Nothing else is written or registered: the title line stays the only trace of this start.
        detectorMissing_ = true;
        win::showMessageBox("Missing file:\n\n" + detectorPath_);
        return false;
    }
    return becomeRunningInstance();
}

void Application::attachView(StatusView* view) {
    std::lock_guard<std::mutex> guard(viewMutex_);
    view_ = view;
    // The worker starts before the window exists: its first state must not be lost.
    if (view_ != nullptr)
        view_->workerStateChanged(workerState_);
}

bool Application::becomeRunningInstance() {
    INITCOMMONCONTROLSEX controls{sizeof(INITCOMMONCONTROLSEX), ICC_BAR_CLASSES};
    InitCommonControlsEx(&controls);
    {
        RegistryKey key(kRegistryKeyPath);
        decoders_ = buildDecoderTable(programDirectory_, key);
    }
    // Before the worker starts: a stored "Paused" must hold from the first file on.
    loadSettings(RegistryKey(kRegistryKeyPath), settings_);
    // The statistics keep the division they were loaded with.
    stats_.setDivision(settings_.divideCountExponent, settings_.dividePercentValue);
    if (programDirectory_.find("\\Debug") == std::string::npos &&
        !createSendToShortcut(programDirectory_ + "\\" + programFileName_))
        log_.writeSystemLog("Cannot write the SendTo shortcut");

    instance_ = std::make_unique<InstanceRecord>(kRegistryKeyPath, GetCurrentProcessId(), log_);
    std::string runningDirectory = programDirectory_;
    std::optional<HWND> running = waitForLockOrRunningInstance(runningDirectory);
    if (running) {
        // Hand-off files must land where the running instance looks for them; this process's own logs stay.
        programDirectory_ = runningDirectory;
        if (!arguments_.empty()) {
            listArguments(arguments_);
            // An instance whose window is not up yet takes the file on its next heartbeat.
            if (*running != nullptr)
                PostMessageA(*running, WM_APP_PICKUP_QUEUE_FILES, 0, 0);
        } else if (*running != nullptr) {
            // Started again with nothing to check, the user wants to see the program: bring its window up.
            DWORD runningProcessId = 0;
            GetWindowThreadProcessId(*running, &runningProcessId);
            AllowSetForegroundWindow(runningProcessId);
            PostMessageA(*running, WM_APP_SHOW_WINDOW, 0, 0);
        }
        return false;
    }
    instance_->registerInstance(programDirectory_);
    registered_ = true;
    handOffs_ = std::make_unique<HandOffIntake>(programDirectory_,
                                                [this](const std::string& line) { log_.writeSystemLog(line); });

    // Both saved files stay on disk until a checkpoint or the shut-down replaces them: a crash right after
    // start-up must not lose them.
    results_.loadResults(recentLogPath_, true);

    scratchDirectory_ = programDirectory_;
    if (!canWriteIn(programDirectory_)) {
        scratchDirectory_ = win::temporaryDirectory();
        log_.writeSystemLog("Program directory cannot be written; scratch files go to " + scratchDirectory_);
    }
    worker_ = std::make_unique<Worker>(
        *this, decoders_, settings_, log_,
        WorkerConfig{programDirectory_, scratchDirectory_, detectorPath_, GetCurrentProcessId()});
    if (settings_.paused != 0) {
        worker_->pause();
        stats_.pause();
        paused_ = true;
    }
    if (!worker_->start())
        log_.writeSystemLog(formatText("Cannot start the worker thread (error %lu)", GetLastError()));

    std::string savedQueue;
    if (readWholeFile(queueLogPath_, savedQueue)) {
        queue_.loadContent(savedQueue);
        handOffs_->restoreTaken(savedQueue);
    }
    handOffs_->removeStaleParts(nowSeconds());
    pickUpHandOffFiles();
    stats_.load(estimateLogPath_);
    // A large tree on the command line is listed while the window is already up.
    intake_.start();
    if (!arguments_.empty())
        queueArguments(arguments_);
    housekeeping_.start();
    return true;
}

std::optional<HWND> Application::waitForLockOrRunningInstance(std::string& runningDirectory) {
    for (bool told = false;; told = true) {
        instanceLock_ = std::make_unique<NamedLock>(kInstanceLockName, told ? kInstanceWaitMs : 0);
        if (instanceLock_->held())
            return std::nullopt;
        std::optional<HWND> running = instance_->findRunningInstance(runningDirectory);
        if (running)
            return running;
        // Starting up, or ending, or its record was cleared: its heartbeat writes the record again.
        if (!told)
            log_.writeSystemLog("Waiting for the running instance to start up");
    }
}

void Application::shutDown() {
    // What was dropped before the exit still reaches the saved queue.
    intake_.stop();
    housekeeping_.stop();
    // From here on a later start waits for the lock instead of handing files to an instance that would not
    // pick them up; the next run does.
    instance_->unregisterInstance();
    const int32_t unsavedEntries = saveState();
    // The user asked to keep the queue; losing it must not go unnoticed (the log may not be writable either).
    if (unsavedEntries > 0)
        win::showMessageBox(formatText("Cannot write %s\n\nThe queue (%s) is not kept for the next start.",
                                       queueLogPath_.c_str(), fileCountText(unsavedEntries).c_str()));
    if (worker_) {
        worker_->finish();
        log_.writeSystemLog(worker_->waitFinished(20000) ? "Worker thread finished normally"
                                                         : "Timeout on finishing worker thread!");
    }
    storeSettings();
    // Last: a start waiting for it reads what this run saved.
    instanceLock_.reset();
}

void Application::endSession() {
    log_.writeSystemLog("Ending with the session");
    // No box: nobody may be there to answer it before the process is ended.
    (void)saveState();
    storeSettings();
    if (worker_) {
        worker_->finish();
        (void)worker_->waitFinished(kSessionEndWorkerWaitMs);
    }
}

int32_t Application::saveState() {
    int32_t unsavedEntries = 0;
    {
        std::lock_guard<std::mutex> guard(stateMutex_);
        if (!eraseQueue_) {
            if (!results_.saveResults())
                log_.writeSystemLog("Cannot write " + recentLogPath_);
            if (!saveQueue()) {
                log_.writeSystemLog("Cannot write " + queueLogPath_);
                unsavedEntries = queue_.count();
            }
        } else {
            // Checkpoints may have written them; an erased queue leaves neither behind.
            DeleteFileA(recentLogPath_.c_str());
            DeleteFileA(queueLogPath_.c_str());
            // The rows of the hand-off files already taken go with the queue.
            handOffs_->queueSaved();
        }
    }
    if (!stats_.save())
        log_.writeSystemLog("Cannot write " + estimateLogPath_);
    return unsavedEntries;
}

void Application::storeSettings() {
    RegistryKey key(kRegistryKeyPath);
    saveSettings(key, settings_);
}

void Application::statusWindowReady(HWND window) {
    instance_->publishStatusWindow(window);
}

void Application::statusWindowGone() {
    instance_->publishStatusWindow(nullptr);
}

void Application::queueArguments(const std::string& argumentText) {
    intake_.post([this, argumentText] {
        listArguments(argumentText);
        pickUpHandOffFiles();
    });
}

void Application::requestPickUp() {
    intake_.post([this] { pickUpHandOffFiles(); });
}

void Application::houseKeep() {
    const uint64_t now = GetTickCount64();
    if (now >= nextHeartbeatTick_) {
        nextHeartbeatTick_ = now + kHeartbeatMilliseconds;
        instance_->writeHeartbeat();
        // A pick-up message can be lost (posted to a window that was not up yet): never let a hand-off
        // file wait for the next start.
        requestPickUp();
    }
    if (now >= nextCheckpointTick_) {
        nextCheckpointTick_ = now + kCheckpointMilliseconds;
        checkpoint();
    }
}

void Application::pickUpHandOffFiles() {
    // A checkpoint must see all of a hand-off file's rows or none.
    std::lock_guard<std::mutex> guard(stateMutex_);
    handOffs_->pickUp(queue_);
    if (!entriesWithoutHandOff_.empty()) {
        queue_.addEntries(entriesWithoutHandOff_);
        entriesWithoutHandOff_.clear();
    }
    // Saved at once, so the files taken are deleted at once: a kill from here on loses none of their rows.
    if (handOffs_->hasUnsaved())
        (void)saveQueue();
}

bool Application::saveQueue() {
    if (!queue_.saveToFile(queueLogPath_, handOffs_->takenLines()))
        return false;
    handOffs_->queueSaved();
    return true;
}

void Application::listArguments(const std::string& argumentText) {
    ListerSetup setup{programDirectory_, decoders_, log_, win::showMessageBox, GetCurrentProcessId()};
    HandOffListing listing = qv::listArguments(setup, argumentText);
    if (listing.written)
        return;
    if (!registered_) {
        // A second start has no other way into the running instance's queue.
        win::showMessageBox("Cannot write " + listing.path +
                            "\n\nThe files were not handed over to the running instance.");
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
            bool saved = saveQueue();
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

EstimateParts Application::estimates(int32_t level) const {
    EstimateParts parts;
    parts.current = stats_.estimateCurrent(level);
    const std::string headType = queue_.headType();
    for (const DecoderRow& row : decoders_.rows()) {
        uint32_t count = queue_.typeCount(row.type);
        // The head is the file in work, counted in current.
        if (count > 0 && equalsIgnoreCase(headType, row.type))
            --count;
        parts.queuedTypes.push_back(stats_.estimateQueuedType(level, row.type, queue_.typeSizeKb(row.type), count));
    }
    return parts;
}

std::vector<PercentEntry> Application::recentFiles() const {
    std::vector<PercentEntry> entries;
    for (const ResultRow& row : results_.snapshot().rows)
        entries.push_back({row.path, row.percent});
    return entries;
}

std::vector<PercentEntry> Application::recentDirectories() const {
    std::vector<PercentEntry> entries;
    for (const RecentDirectory& entry : recent_.snapshot())
        entries.push_back({entry.directory, entry.percent});
    return entries;
}

bool Application::nextEntry(QueueEntry& entry) {
    if (!queue_.head(entry))
        return false;
    results_.setDirectory(directoryPart(entry.path));
    return true;
}

bool Application::entryAfterNext(QueueEntry& entry) {
    return queue_.entryBehindHead(entry);
}

void Application::timingStarted(const QueueEntry& entry) {
    stats_.start(entry.type, entry.sizeKb);
}

void Application::entryFinished(const QueueEntry& entry, int32_t passes, int32_t validPasses, int32_t average,
                                bool timed) {
    const ResultRow row{entry.path, passes, validPasses, average};
    leaveQueue(entry, &row);
    // A file whose decoder or detector could not run would otherwise become its type's fastest or slowest.
    if (timed)
        stats_.finish();
    else
        stats_.abandon();
    std::lock_guard<std::mutex> guard(viewMutex_);
    if (view_ != nullptr)
        view_->resultsChanged();
}

void Application::entryDropped(const QueueEntry& entry, bool timingWasStarted) {
    leaveQueue(entry, nullptr);
    if (timingWasStarted)
        stats_.abandon();
}

void Application::leaveQueue(const QueueEntry& entry, const ResultRow* row) {
    // The logs are written first and without the state lock: a box about a log that cannot be opened, or a
    // result log on a slow network folder, must not hold up checkpoints, pick-ups and the heartbeat. Only the
    // worker changes the head and the rows, so nothing moves meanwhile. A crash before the entry leaves the
    // queue only checks its file again (its lines are written twice, none is lost); a checkpoint sees the
    // entry either queued or among the rows, never both and never neither.
    ResultSet rows = results_.snapshot();
    if (row != nullptr) {
        log_.writeDetectResult(row->percent, row->validPasses, row->totalPasses, row->path);
        rows.add(row->path, row->totalPasses, row->validPasses, row->percent);
    }
    QueueEntry next;
    const bool closed = resultLog_.closeDirectoryIfEnded(
        entry.path, queue_.entryBehindHead(next) ? std::optional<std::string>(next.path) : std::nullopt, rows);
    std::lock_guard<std::mutex> guard(stateMutex_);
    queue_.removeHead();
    if (closed)
        results_.reset();
    else if (row != nullptr)
        results_.add(row->path, row->totalPasses, row->validPasses, row->percent);
}

void Application::stateChanged(WorkerState state) {
    std::lock_guard<std::mutex> guard(viewMutex_);
    workerState_ = state;
    if (view_ != nullptr)
        view_->workerStateChanged(state);
}

void Application::queueDrained() {
    std::lock_guard<std::mutex> guard(viewMutex_);
    if (view_ != nullptr)
        view_->resultsChanged();
}

} // namespace qv

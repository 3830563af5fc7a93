#pragma once
// The one object of a running instance: owns the settings, the queue, the worker and every long-lived part,
// runs start-up and shut-down in order, and keeps the instance's record, the checkpoints and the intake of
// files going on threads of their own. Its window sees it through ApplicationControl only.
#include "app/CheckpointPacer.h"
#include "app/JobThread.h"
#include "app/win/ApplicationControl.h"
#include "app/win/StatusView.h"
#include "engine/DecoderTable.h"
#include "engine/win/Worker.h"
#include "estimate/FileTypeStats.h"
#include "logs/DiagnosticLog.h"
#include "logs/DirectoryResults.h"
#include "logs/RecentDirectories.h"
#include "logs/ResultLog.h"
#include "queue/HandOffIntake.h"
#include "queue/QueueStore.h"
#include "settings/Settings.h"

#include <algorithm>
#include <atomic>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace qv {

class InstanceRecord;
class NamedLock;

class Application : public WorkerHost, public ApplicationControl {
public:
    // commandLine is the process's whole command line, program path first.
    explicit Application(const std::string& commandLine);
    ~Application() override;

    // False when this process ends at once: the detector is missing, or another instance runs and has
    // been handed this start's files.
    bool startUp();
    // Saves what must survive and stops the threads, after the status window has closed.
    void shutDown();
    // The status window that hears the worker's news, or null.
    void attachView(StatusView* view);

    // ApplicationControl, on the user-interface thread.
    SharedSettings& settings() override { return settings_; }
    bool diagnosticMode() const override { return diagnosticMode_; }
    void pauseWorker() override;
    void resumeWorker() override;
    void setWorkerPriority(int32_t level) override;
    void setEraseQueue(bool erase) override { eraseQueue_ = erase; }
    void endSession() override;
    void queueArguments(const std::string& argumentText) override;
    void requestPickUp() override;
    void statusWindowReady(HWND window) override;
    void statusWindowGone() override;
    void attachQueueDisplay(HWND window, UINT message) override;
    int32_t takeQueueCount() override;
    bool queueHead(QueueEntry& entry) const override { return queue_.head(entry); }
    int32_t queueCount() const override { return queue_.count(); }
    bool newDirectory() const override { return queue_.newDirectoryFlag(); }
    EstimateParts estimates(int32_t level) const override;
    int32_t averagePercent() const override { return results_.average(); }
    std::vector<PercentEntry> recentFiles() const override;
    std::vector<PercentEntry> recentDirectories() const override;
    SpectrumTools spectrumTools() const override {
        return {programDirectory_, detectorPath_, scratchDirectory_, decoders_,
                static_cast<uint64_t>(std::max(settings_.detectPassTimeout.load(), 0)) * 1000};
    }

    // The machine name whose COMPUTERNAME turns diagnostic mode on.
    static constexpr const char* kDiagnosticMachineName = "QV-DIAGNOSTICS";

private:
    // WorkerHost, called on the worker thread.
    bool nextEntry(QueueEntry& entry) override;
    bool entryAfterNext(QueueEntry& entry) override;
    void timingStarted(const QueueEntry& entry) override;
    void entryFinished(const QueueEntry& entry, int32_t passes, int32_t validPasses, int32_t average,
                       bool timed) override;
    void entryDropped(const QueueEntry& entry, bool timingWasStarted) override;
    void stateChanged(WorkerState state) override;
    void queueDrained() override;

    void formPaths();
    // False when another instance runs; this start's files are handed to it then.
    bool becomeRunningInstance();
    // Empty once this process holds the instance lock; else the running instance's window (null while it is
    // not up). Waits while the lock is held but no record names its holder, and says so in System.log.
    std::optional<HWND> waitForLockOrRunningInstance(std::string& runningDirectory);
    // Saves the queue with the hand-off files it holds the rows of, then deletes those. stateMutex_ held.
    [[nodiscard]] bool saveQueue();
    // Reads every hand-off file of the program directory into the queue. On the intake thread once it runs.
    void pickUpHandOffFiles();
    // Lists one argument text into a hand-off file (or memory). On the intake thread once it runs.
    void listArguments(const std::string& argumentText);
    // On the housekeeping thread: saves the queue, the current directory's results and the statistics when
    // they changed, so that a crash loses at most the file in work; keeps the instance record fresh.
    void houseKeep();
    void checkpoint();
    // Saves the queue, the current directory's rows and the statistics for the next start (or removes the
    // saved queue when the user chose to erase it). Returns how many queued entries could not be saved.
    int32_t saveState();
    void storeSettings();
    // Takes the head entry out of the queue with its verdict row (null when it has none), after writing its
    // verdict line and, when its directory ends with it, the directory's result log.
    void leaveQueue(const QueueEntry& entry, const ResultRow* row);

    std::string programDirectory_;
    std::string programFileName_;
    std::string arguments_;
    std::string systemLogPath_;
    std::string detectLogPath_;
    std::string recentLogPath_;
    std::string queueLogPath_;
    std::string estimateLogPath_;
    std::string detectorPath_;
    std::string scratchDirectory_;
    bool diagnosticMode_ = false;
    bool paused_ = false;
    bool eraseQueue_ = false;
    bool oleInitialised_ = false;
    bool detectorMissing_ = false;
    // This process is the running instance (it registered), not a start that hands its files over.
    bool registered_ = false;
    // Listed files that no hand-off file could take (the program directory cannot be written); the next
    // pick-up adds them. Used on the intake thread only.
    std::vector<QueueEntry> entriesWithoutHandOff_;
    // Held while an entry leaves the queue and its row is recorded, and while a checkpoint saves, so a
    // checkpoint never sees a file in neither place nor in both.
    std::mutex stateMutex_;
    uint64_t checkpointedChange_ = UINT64_MAX;
    CheckpointPacer checkpointPacer_;
    uint64_t nextHeartbeatTick_ = 0;
    uint64_t nextCheckpointTick_ = 0;

    DiagnosticLog log_;
    SharedSettings settings_;
    QueueStore queue_;
    DirectoryResults results_;
    RecentDirectories recent_;
    ResultLogWriter resultLog_;
    FileTypeStats stats_;
    DecoderTable decoders_;
    std::atomic<bool> queueCountPosted_{false};
    std::unique_ptr<InstanceRecord> instance_;
    std::unique_ptr<Worker> worker_;
    std::unique_ptr<HandOffIntake> handOffs_;
    std::unique_ptr<NamedLock> instanceLock_;
    // Listing and pick-up; the heartbeat and checkpoints. Apart, so a long listing never lets the record age.
    JobThread intake_;
    JobThread housekeeping_;
    // The worker reaches the status window through this pointer; the lock keeps the window object alive
    // for the length of each call.
    std::mutex viewMutex_;
    StatusView* view_ = nullptr;
    WorkerState workerState_;
};

} // namespace qv
